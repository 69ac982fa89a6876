#include "navlib/ephemeris.h"

#include <cmath>

#include "navlib/constants.h"
#include "navlib/geometry.h"

namespace nav {
namespace {

// Day number of 1994 December 31, 0h UT: the series count days from there.
constexpr int kSeriesEpochDay = 728308;

// Astronomical unit (km) and the eccentricity of the Earth's orbit (dimensionless).
constexpr double kAstronomicalUnitKm = 149597870;
constexpr double kEarthOrbitEccentricity = 0.01670743;

// Substitutes for the degenerate cases: a parallax whose sine is 0 (radians), a Moon or Sun distance of 0 (km).
constexpr double kDegenerateParallaxRad = kPi * 0.5;
constexpr double kDegenerateMoonDistanceKm = 1.0;
constexpr double kDegenerateSunDistanceKm = 10000.0;

// Mean element c0 + c1 * d, formed in degrees, returned in radians; deliberately not reduced to one turn.
double MeanElement(double c0Deg, double c1DegPerDay, double d) { return Radians(c0Deg + c1DegPerDay * d); }

}  // namespace

Mat3 EclipticToEquatorialRotation(double obliquityRad) {
    const double c = std::cos(obliquityRad);
    const double s = std::sin(obliquityRad);
    return {1, 0, 0, 0, c, -s, 0, s, c};
}

void ComputeEphemeris(SkyState& sky) {
    const double d = sky.clock.utcDay - kSeriesEpochDay + sky.clock.utcFraction;

    const double L = MeanElement(258.4515, 13.1764, d);        // Moon mean longitude
    const double Mm = MeanElement(18.6882, 13.06499, d);       // Moon mean anomaly
    const double M = MeanElement(356.3409, 0.98560028, d);     // Sun mean anomaly
    const double F = MeanElement(36.6351, 13.22935, d);        // Moon argument of latitude
    const double D = MeanElement(339.2561, 12.19075, d);       // mean elongation of the Moon
    const double Ls = MeanElement(279.1954, 0.98564736, d);    // Sun mean longitude

    // Moon longitude: the terms are summed in this order, in degrees.
    double s = 6.289 * std::sin(Mm);
    s += -1.274 * std::sin(Mm - 2 * D);
    s += 0.658 * std::sin(2 * D);
    s += 0.214 * std::sin(2 * Mm);
    s += -0.186 * std::sin(M);
    s += -0.114 * std::sin(2 * F);
    s += -0.059 * std::sin(2 * (Mm - D));
    s += -0.057 * std::sin(Mm + M - 2 * D);
    s += 0.053 * std::sin(Mm + 2 * D);
    s += -0.046 * std::sin(M - 2 * D);
    s += 0.041 * std::sin(Mm - M);
    s += -0.035 * std::sin(D);
    sky.moon.eclipticLongitude = Radians(s) + L;

    // Moon latitude, in degrees, in this order.
    double b = 5.128 * std::sin(F);
    b += 0.281 * std::sin(Mm + F);
    b += -0.278 * std::sin(F - Mm);
    b += -0.173 * std::sin(F - 2 * D);
    b += 0.055 * std::sin(2 * D + F - Mm);
    b += 0.046 * std::sin(2 * D - Mm - F);
    b += 0.033 * std::sin(2 * D + F);
    sky.moon.eclipticLatitude = Radians(b);

    // Moon distance from the horizontal parallax (degrees, summed in this order).
    double p = Radians(0.9507 + 0.0518 * std::cos(Mm) + 0.0095 * std::cos(Mm - 2 * D) + 0.0078 * std::cos(2 * D) +
                       0.0028 * std::cos(2 * Mm) + 0.0009 * std::cos(2 * D + Mm));
    if (std::sin(p) == 0) p = kDegenerateParallaxRad;
    sky.moon.geoDistance = kEarthRadiusKm / std::sin(p);
    if (sky.moon.geoDistance == 0) sky.moon.geoDistance = kDegenerateMoonDistanceKm;

    // Sun: equation of centre on the mean longitude; distance from the Kepler ellipse.
    sky.sun.eclipticLongitude = Radians(1.9149 * std::sin(M) + 0.02 * std::sin(2 * M) + 0.00029 * std::sin(3 * M)) + Ls;
    sky.sun.eclipticLatitude = 0;
    const double e = kEarthOrbitEccentricity;
    sky.sun.geoDistance = (1 - e * e) * kAstronomicalUnitKm / (1 + e * std::cos(M));
    if (sky.sun.geoDistance == 0) sky.sun.geoDistance = kDegenerateSunDistanceKm;
}

void EclipticToEquatorial(BodyState& body, const Mat3& rotation) {
    const Vec3 ecliptic = AnglesToVector(body.eclipticLatitude, body.eclipticLongitude);
    body.geoEquatorialDir = MatrixTimesVector(rotation, ecliptic);
    const SphericalAngles angles = VectorToAngles(body.geoEquatorialDir);
    body.geoRightAscension = angles.longitude;
    body.geoDeclination = angles.latitude;
}

void ComputeMoonElongation(SkyState& sky) {
    // Two one-sided corrections rather than a symmetric reduction: -180 can never come out, +180 can.
    double x = Degrees(sky.moon.geoRightAscension - sky.sun.geoRightAscension);
    if (x < 180) x += 360;
    if (x > 180) x -= 360;
    sky.moonElongation = x;
}

}  // namespace nav
