// The Earth-Moon-Earth figures of each cycle: range rate, echo Doppler on five bands, path loss relative
// to perigee, echo delay.
#pragma once

#include <array>

namespace nav {

// One record, written by the cycle, read by the EME window; never reset.
struct EmeFigures {
    double prevUtcHours = 0;      // hours, utcFraction * 24 of the previous pass
    double cycleSeconds = 0;      // s since the previous pass, from the clock
    double prevMoonDistance = 0;  // km, 0 until the first pass
    double moonRangeRate = 0;     // km/s, positive while the Moon recedes
    double dopplerFactor = 0;     // two-way factor 1 - 2 v / c
    std::array<double, 5> dopplerShift{};  // Hz on kEmeBandsMHz, negative while the Moon recedes
    double pathLossVsPerigee = 0;          // dB, 0 at 356400 km, negative beyond
    double echoDelay = 0;                  // s, two-way light time
};

// Band frequencies (MHz) of dopplerShift: V, U, L, S and X band.
inline constexpr std::array<double, 5> kEmeBandsMHz{144, 435, 1296, 2320, 10368};

// The speed of light of every EME figure (km/s).
inline constexpr double kSpeedOfLightKmPerS = 299792.5;

// PathLossVsPerigee - the two-way path loss (dB) at a Moon distance (km) relative to that at perigee
// (356400 km): 0 there, negative beyond, 40 dB per decade of distance.
double PathLossVsPerigee(double moonDistanceKm);

// ComputeEmeFigures - one pass, after the positions of the cycle.
//   in:  utcFraction (day fraction, whole-second resolution), moonDistanceKm (topocentric)
//   out: every field of eme. The range rate is the distance change since the previous pass divided by
//        the clock seconds between them when at least 1 s passed (a missed tick spreads it over both).
//        A pass at the same clock second as the previous one changes nothing: the figures of that pass
//        stand. UTC midnight counts 24 h on. The first pass leaves the range rate at 0.
void ComputeEmeFigures(EmeFigures& eme, double utcFraction, double moonDistanceKm);

}  // namespace nav
