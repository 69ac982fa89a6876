#include "app/radio/radiotuner.h"

#include <cmath>

namespace skyrel {
namespace {

nav::RadioDials DialsAt(const RadioTuning& tuning, const RadioSettings& settings, const RadioSecond& second) {
    return nav::RadioDialsAt(second.mode, tuning.rxSky, tuning.txSky, second.homeRangeRate, second.dxRangeRate,
                             settings.rx, settings.tx, settings.step);
}

}  // namespace

RadioTuning StartTuning(const RadioSettings& settings) {
    RadioTuning tuning;
    tuning.rxSky = settings.rxSky;
    tuning.txSky = settings.txSky;
    return tuning;
}

RadioStep NextRadioStep(RadioTuning& tuning, const RadioSettings& settings, const RadioSecond& second) {
    RadioStep step;
    const bool split = settings.split == RadioSplit::Rig;
    if (tuning.rxDialSet && std::fabs(second.rxDialRead - *tuning.rxDialSet) > settings.step) {
        // The correction scales with the frequency; at the size of a knob's turn the correction of the
        // old sky frequency is good to far below a step.
        const double adopted = nav::SkyOfDial(second.rxDialRead, DialsAt(tuning, settings, second).rxCorrection, settings.rx);
        if (split) tuning.txSky += adopted - tuning.rxSky;
        tuning.rxSky = adopted;
        tuning.rxDialSet = second.rxDialRead;
        step.knobTurned = true;
    }
    step.dials = DialsAt(tuning, settings, second);
    if (second.transmitting) return step;
    if (!step.knobTurned && step.dials.rxDial != tuning.rxDialSet) step.setRx = tuning.rxDialSet = step.dials.rxDial;
    if (split && step.dials.txDial != tuning.txDialSet) step.setTx = tuning.txDialSet = step.dials.txDial;
    return step;
}

}  // namespace skyrel
