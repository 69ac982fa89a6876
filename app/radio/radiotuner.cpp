#include "app/radio/radiotuner.h"

#include <cmath>

namespace skyrel {
namespace {

double ReceiveCorrectionAt(double skyHz, const RadioSecond& second) {
    return nav::ReceiveCorrection(second.mode, nav::MoonDopplerAt(skyHz, second.homeRangeRate, second.dxRangeRate));
}

double TransmitCorrectionAt(double skyHz, const RadioSecond& second) {
    return nav::TransmitCorrection(second.mode, nav::MoonDopplerAt(skyHz, second.homeRangeRate, second.dxRangeRate));
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
        const double adopted = nav::SkyOfDial(second.rxDialRead, ReceiveCorrectionAt(tuning.rxSky, second), settings.rx);
        if (split) tuning.txSky += adopted - tuning.rxSky;
        tuning.rxSky = adopted;
        tuning.rxDialSet = second.rxDialRead;
        step.knobTurned = true;
    }
    step.rxCorrection = ReceiveCorrectionAt(tuning.rxSky, second);
    step.txCorrection = TransmitCorrectionAt(tuning.txSky, second);
    step.rxDial = nav::DialOf(tuning.rxSky, step.rxCorrection, settings.rx, settings.step);
    step.txDial = nav::DialOf(tuning.txSky, step.txCorrection, settings.tx, settings.step);
    if (second.transmitting) return step;
    if (!step.knobTurned && step.rxDial != tuning.rxDialSet) step.setRx = tuning.rxDialSet = step.rxDial;
    if (split && step.txDial != tuning.txDialSet) step.setTx = tuning.txDialSet = step.txDial;
    return step;
}

}  // namespace skyrel
