// Constants shared by the whole engine, each named once with its unit.
#pragma once

#include <cmath>

namespace nav {

// The engine's value of pi. Every degree<->radian conversion uses it, so that positions, rise and set
// times and map pixels agree digit for digit with the published figures; it is deliberately not M_PI.
inline constexpr double kPi = 3.14159265359;

// WGS-84 equatorial radius (km) and flattening (dimensionless).
inline constexpr double kEarthRadiusKm = 6378.137;
inline constexpr double kEarthFlattening = 0.0033528106598350155;

// Obliquity of the ecliptic (radians), held fixed: the series below are good for decades around their
// 1995 epoch, where its drift is far below the engine's accuracy.
inline constexpr double kObliquityRad = 0.40910343;

// Time and frequency units.
inline constexpr int kSecondsPerDay = 86400;
inline constexpr double kSecondsPerHour = 3600;
inline constexpr double kHoursPerDay = 24;
inline constexpr double kHzPerMHz = 1e6;

// Degrees to radians and back, with the engine's pi.
inline double Radians(double degrees) { return degrees * kPi * (1.0 / 180.0); }
inline double Degrees(double radians) { return radians * 180.0 / kPi; }

// An angle in degrees brought into [0, 360) by whole turns, in constant time for any input.
//   in:  degrees, any value
//   out: degrees in [0, 360); exactly the value turns taken off or added one at a time would give (fmod is
//        exact), so a value a hair below 0 rounds up to 360 itself as the series expect. Not finite: NaN.
inline double ReducedDegrees(double degrees) {
    double reduced = std::fmod(degrees, 360.0);
    if (reduced < 0) reduced += 360;
    return reduced;
}

// Whole turns taken off an angle in degrees above 360 until it is at most 360; one at or below 360 stays
// as it is (360 itself stays 360). Constant time; exact.
inline double ReducedFromAbove(double degrees) {
    if (!(degrees > 360)) return degrees;
    const double reduced = std::fmod(degrees, 360.0);
    return reduced == 0 ? 360 : reduced;
}

}  // namespace nav
