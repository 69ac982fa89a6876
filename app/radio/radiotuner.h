// One second of the radio's Doppler correction, apart from any radio: from the Moon's range rates and
// what the radio reads back to the dials to set. The operator's own hand on the knob wins: a receive dial
// that moved by more than a step from the last one set is adopted as a new sky frequency.
#pragma once

#include <optional>

#include "app/radio/radiosettings.h"
#include "navlib/radiodoppler.h"

namespace skyrel {

// What the correction keeps from one second to the next while the radio stays open.
struct RadioTuning {
    double rxSky = 0, txSky = 0;      // Hz: the sky frequencies in effect (the settings', or adopted)
    std::optional<double> rxDialSet;  // Hz: the dials last sent, none before the first
    std::optional<double> txDialSet;
};

// The tuning a radio starts with: the stored sky frequencies, nothing sent yet.
RadioTuning StartTuning(const RadioSettings& settings);

// This second's input.
struct RadioSecond {
    nav::RadioMode mode = nav::RadioMode::Off;
    double homeRangeRate = 0;  // km/s, distance at t less distance at t - 1 s (positive receding)
    double dxRangeRate = 0;    // km/s, the same for the DX station; 0 when the mode needs none
    double rxDialRead = 0;     // Hz: the receive dial as the radio reports it now
    bool transmitting = false; // the radio reports PTT, or a program keying it said so
};

// This second's outcome.
struct RadioStep {
    std::optional<double> setRx, setTx;  // Hz: the dials to send now; none: leave the radio as it is
    nav::RadioDials dials;               // where the dials belong this second, rounded to the step
    bool knobTurned = false;             // the receive sky frequency was adopted from the dial
};

// NextRadioStep - the dials for one second, and the tuning for the next.
//   in:  settings (converters, step, split), second (see RadioSecond)
//   out: the corrections of the mode at the sky frequencies (MoonDopplerAt, Receive/TransmitCorrection),
//        the dials (DialOf, rounded to the step) and which of them to send: a dial is sent when it differs
//        from the one sent last, never while transmitting (a half-duplex radio must not move under the
//        operator's transmission; the transmit dial changes between transmissions only), and the transmit
//        dial only with split on the radio. A receive dial read back more than one step away from the one
//        sent is the operator's turn of the knob: the new receive sky frequency is the dial read, through
//        the converter, less the correction; the transmit sky frequency moves by as much with split on the
//        radio. `tuning` records what is to be sent as sent: the caller sends it or starts afresh.
RadioStep NextRadioStep(RadioTuning& tuning, const RadioSettings& settings, const RadioSecond& second);

}  // namespace skyrel
