// The radio's Doppler correction for EME: from the Moon's range rates at the home and the DX station to
// the receive and transmit corrections of the five conventions operators share, and from a sky frequency
// to the dial of a radio behind a transverter and back.
//
// Conventions (receive correction, transmit correction), with d1 the home station's one-way shift, ds its
// own echo's shift, dx1 the DX station's one-way shift and dd = d1 + dx1 what each hears of the other:
//   Own Echo          ds, 0        hear one's own echo; transmit on the sky frequency
//   Constant On Moon  d1, -d1      every station that does this meets the others on the Moon's frequency
//   Full To DX        dd, -dd      the home station takes the whole correction of the path to the DX
//   On DX Echo        dd, dd - ds  the DX hears its own echo frequency
//   Call DX           0, -ds       the home station calls so that the DX hears it on the sky frequency
// Two stations using the same convention hear each other where they expect.
#pragma once

namespace nav {

enum class RadioMode { Off, OwnEcho, ConstantOnMoon, FullToDx, OnDxEcho, CallDx };

// Whether a mode needs the DX station's range rate.
bool NeedsDxStation(RadioMode mode);

// The Moon's Doppler shifts at one sky frequency (Hz). A receding Moon gives negative shifts.
struct MoonDoppler {
    double ownOneWay = 0;  // d1 = -F r'home / c
    double ownEcho = 0;    // ds = 2 d1
    double dxOneWay = 0;   // dx1 = -F r'dx / c
    double cross = 0;      // dd = d1 + dx1
};

// MoonDopplerAt - the four shifts at one frequency.
//   in:  skyHz F (Hz); homeRangeRate r'home and dxRangeRate r'dx (km/s: the distance at t less the
//        distance at t - 1 s, positive while the Moon recedes), c = kSpeedOfLightKmPerS
//   out: Hz, exact to the rounding of double arithmetic
MoonDoppler MoonDopplerAt(double skyHz, double homeRangeRate, double dxRangeRate);

// The corrections (Hz) a mode adds to the receive and to the transmit sky frequency. RadioMode::Off
// corrects nothing.
double ReceiveCorrection(RadioMode mode, const MoonDoppler& atReceiveFrequency);
double TransmitCorrection(RadioMode mode, const MoonDoppler& atTransmitFrequency);

// A frequency converter between the antenna and the radio: loHz is the signed local-oscillator offset
// (0 without one); inverting converters (high-side LO) turn the band over.
struct Converter {
    double loHz = 0;
    bool inverting = false;
};

// DialOf - the radio's dial (Hz) for a corrected sky frequency: sky + correction - LO, or
// LO - (sky + correction) through an inverting converter; rounded to the nearest whole stepHz (stepHz
// <= 0 leaves it unrounded).
double DialOf(double skyHz, double correctionHz, const Converter& converter, double stepHz);

// SkyOfDial - the inverse: the sky frequency (Hz) a dial reading means under a correction, as when the
// operator turns the knob and the program adopts the new frequency.
double SkyOfDial(double dialHz, double correctionHz, const Converter& converter);

// The dials of one second for a mode: the corrections at each sky frequency and the dials through the
// converters.
struct RadioDials {
    double rxCorrection = 0, txCorrection = 0;  // Hz
    double rxDial = 0, txDial = 0;              // Hz
};

// RadioDialsAt - the receive and transmit corrections of `mode` (MoonDopplerAt at each sky frequency) and
// the dials (DialOf, rounded to stepHz).
//   in:  rxSkyHz, txSkyHz (Hz); homeRangeRate, dxRangeRate (km/s, as MoonDopplerAt); the converters
//   out: Hz
RadioDials RadioDialsAt(RadioMode mode, double rxSkyHz, double txSkyHz, double homeRangeRate, double dxRangeRate,
                        const Converter& rx, const Converter& tx, double stepHz);

}  // namespace nav
