#include "navlib/anomaly.h"

#include <cmath>

#include "navlib/constants.h"

namespace nav {
namespace {

// Julian date minus day number at the same instant (days).
constexpr double kJulianDateOffsetDays = 1721409.5;
// 1/365.25: day number to approximate calendar year.
constexpr double kYearsPerDay = 0.0027378507871321013;
// Perigees per year (13.2555) and the year of perigee number 0 (1999.97).
constexpr double kPerigeesPerYear = 13.2555;
constexpr double kPerigeeZeroYear = 1999.97;
// 1/1325.55: perigee number to Julian centuries.
constexpr double kCenturiesPerPerigee = 0.0007544038323714685;
// Mean anomalistic month (days) and its reciprocal.
constexpr double kAnomalisticMonthDays = 27.55454988;
constexpr double kMonthsPerDay = 0.03629164709113369;
// Full scale of the phase: 256ths of a month.
constexpr double kPhaseUnits = 256;

}  // namespace

double AnomalyPhase(int utcDay, double utcFraction) {
    const double jd = utcDay + utcFraction + kJulianDateOffsetDays;
    const double year = utcDay * kYearsPerDay + 1;
    const double k = std::trunc((year - kPerigeeZeroYear) * kPerigeesPerYear);

    const double T = k * kCenturiesPerPerigee;
    const double T2 = T * T;
    const double T3 = T2 * T;
    const double T4 = T3 * T;

    const double meanPerigee =
        2451534.6698 + kAnomalisticMonthDays * k - 0.0006886 * T2 - 1.098e-6 * T3 + 5.2e-9 * T4;
    const double D = Radians(ReducedDegrees(171.9179 + 335.9106046 * k - 0.010025 * T2 - 1.156e-5 * T3 + 5.5e-8 * T4));
    const double M = Radians(ReducedDegrees(347.3477 + 27.1577721 * k - 0.0008323 * T2 - 1e-6 * T3));

    // Perigee correction (days), the terms in this order.
    double c = -1.6769 * std::sin(2 * D);
    c += 0.4589 * std::sin(4 * D);
    c += -0.1856 * std::sin(6 * D);
    c += 0.0883 * std::sin(8 * D);
    c += (0.00019 * T - 0.0773) * std::sin(2 * D - M);
    c += (0.0502 - 0.00013 * T) * std::sin(M);
    c += -0.046 * std::sin(10 * D);

    const double perigee = meanPerigee + c;
    double phase = (jd - perigee) * kMonthsPerDay * kPhaseUnits;
    // Lifted by whole months from below only, in constant time.
    if (phase < 0) phase = std::fmod(phase, kPhaseUnits) + kPhaseUnits;
    return phase;
}

}  // namespace nav
