#include "navlib/eme.h"

#include <cmath>

#include "navlib/constants.h"

namespace nav {
namespace {

// Moon distance at perigee taken as the path-loss reference (km).
constexpr double kPerigeeDistanceKm = 356400;
// Radar equation: two-way loss grows with the fourth power of distance, 40 dB per decade.
constexpr double kPathLossDbPerDecade = 40;

}  // namespace

double PathLossVsPerigee(double moonDistanceKm) {
    return std::log10(moonDistanceKm * (1 / kPerigeeDistanceKm)) * (-kPathLossDbPerDecade);
}

void ComputeEmeFigures(EmeFigures& eme, double utcFraction, double moonDistanceKm) {
    const double hours = utcFraction * kHoursPerDay;
    double elapsedHours = hours - eme.prevUtcHours;
    if (elapsedHours < 0) elapsedHours += kHoursPerDay;
    // A second pass within the same clock second has no time to measure a range rate over; its figures
    // would read 0 where the last pass's still hold.
    if (elapsedHours == 0 && eme.prevMoonDistance != 0) return;
    eme.cycleSeconds = elapsedHours * kSecondsPerHour;
    eme.prevUtcHours = hours;

    if (eme.prevMoonDistance != 0) eme.moonRangeRate = moonDistanceKm - eme.prevMoonDistance;
    eme.prevMoonDistance = moonDistanceKm;
    if (eme.cycleSeconds >= 1) eme.moonRangeRate = eme.moonRangeRate / eme.cycleSeconds;

    eme.dopplerFactor = 1 - eme.moonRangeRate * 2 * (1 / kSpeedOfLightKmPerS);
    for (std::size_t i = 0; i < kEmeBandsMHz.size(); ++i) {
        const double f = kEmeBandsMHz[i];
        eme.dopplerShift[i] = (f * eme.dopplerFactor - f) * kHzPerMHz;
    }
    eme.pathLossVsPerigee = PathLossVsPerigee(moonDistanceKm);
    eme.echoDelay = moonDistanceKm * 2 * (1 / kSpeedOfLightKmPerS);
}

}  // namespace nav
