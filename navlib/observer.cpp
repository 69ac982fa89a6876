#include "navlib/observer.h"

#include <cmath>

#include "navlib/constants.h"
#include "navlib/ephemeris.h"
#include "navlib/geometry.h"
#include "navlib/iers.h"
#include "navlib/precise.h"
#include "navlib/timecal.h"

namespace nav {
namespace {

// Fixed atmosphere for refraction: pressure (mbar) and temperature (degC); no setting behind them.
constexpr double kPressureMbar = 1010.0;
constexpr double kTemperatureC = 10.0;
// Refraction is taken as 0 below this apparent elevation (degrees).
constexpr double kRefractionFloorDeg = -5;
// From this apparent elevation (degrees) up, Bennett's formula replaces the rational fit.
constexpr double kBennettFromDeg = 15;
// The iteration of RefractionForTrue stops when two values differ by less than this (degrees).
constexpr double kRefractionToleranceDeg = 0.00001;

constexpr double kMetresToKm = 0.001;

// Topocentric part of the position step for one body. G is the sidereal time in degrees, reduced once.
void ComputeTopocentric(BodyState& body, const SkyState& sky, double siderealDeg, double longitudeDeg) {
    body.earthFixedDir = ToEarthFixed(sky, body.geoEquatorialDir);
    const Vec3& dir = body.earthFixedDir;
    const Vec3& site = sky.observerFrame.position;
    const Vec3 t{body.geoDistance * dir[0] - site[0], body.geoDistance * dir[1] - site[1],
                 body.geoDistance * dir[2] - site[2]};

    const SphericalAngles equatorial = VectorToAngles(FromEarthFixed(sky, t));
    body.declination = equatorial.latitude;
    body.rightAscension = equatorial.longitude;

    const double ra = ReducedFromAbove(Degrees(body.rightAscension));
    body.hourAngle = ReducedDegrees(siderealDeg - ra + longitudeDeg);

    body.distance = VectorLength(t);
    const double length = body.distance == 0 ? 1.0 : body.distance;
    const Vec3 unit{t[0] / length, t[1] / length, t[2] / length};
    const SphericalAngles horizontal = VectorToAngles(MatrixTimesVector(sky.observerFrame.horizonMatrix, unit));
    body.elevation = Degrees(horizontal.latitude);
    body.azimuth = Degrees(horizontal.longitude);
}

// The geocentric half of the standard position step: the series, their equatorial directions, the
// elongation and mean sidereal time.
void ComputeSeriesGeocentric(SkyState& sky) {
    // A constant rotation: made once, not at each of the search's and the map's many steps.
    static const Mat3 eclipticRotation = EclipticToEquatorialRotation();
    ComputeEphemeris(sky);
    EclipticToEquatorial(sky.moon, eclipticRotation);
    EclipticToEquatorial(sky.sun, eclipticRotation);
    ComputeMoonElongation(sky);
    ComputeGmst(sky.clock);
}

}  // namespace

void SetObserver(ObserverFrame& frame, double latitudeDeg, double longitudeDeg, double heightMetres) {
    const double phi = Radians(latitudeDeg);
    const double lambda = Radians(longitudeDeg);
    double h = heightMetres * kMetresToKm;
    const double a = kEarthRadiusKm;
    const double b = kEarthRadiusKm * (1 - kEarthFlattening);
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double cosLambda = std::cos(lambda), sinLambda = std::sin(lambda);

    double w = std::sqrt(std::fabs(a * a * cosPhi * cosPhi + b * b * sinPhi * sinPhi));
    if (w + h == 0) {
        w = 1;
        h = 1;
    }
    const double equatorialRadius = a * a / w + h;
    const double polarRadius = b * b / w + h;
    frame.position = {equatorialRadius * cosPhi * cosLambda, equatorialRadius * cosPhi * sinLambda,
                      polarRadius * sinPhi};
    frame.horizonMatrix = {-sinPhi * cosLambda, -sinPhi * sinLambda, cosPhi,   // north
                           -sinLambda,          cosLambda,           0,        // east
                           cosPhi * cosLambda,  cosPhi * sinLambda,  sinPhi};  // up
}

void ComputePositions(SkyState& sky, const ObserverSite& site, Bodies bodies) {
    if (site.ephemeris == Ephemeris::Precise) {
        ComputePreciseGeocentric(sky, Dut1For(site, sky.clock.utcDay, sky.clock.utcFraction).seconds, bodies);
    } else {
        ComputeSeriesGeocentric(sky);
    }
    ComputeTopocentricPositions(sky, site, bodies);
}

void ComputeTopocentricPositions(SkyState& sky, const ObserverSite& site, Bodies bodies) {
    const double g = sky.clock.gmst;
    sky.earthRotation = {std::cos(-g), -std::sin(-g), 0, std::sin(-g), std::cos(-g), 0, 0, 0, 1};

    // Reduced from above only: sidereal times before 2000 stay negative and the hour angle loop lifts them.
    const double sidereal = ReducedFromAbove(Degrees(g));

    ComputeTopocentric(sky.moon, sky, sidereal, site.longitude);
    if (bodies == Bodies::SunAndMoon) ComputeTopocentric(sky.sun, sky, sidereal, site.longitude);
}

Vec3 ToEarthFixed(const SkyState& sky, const Vec3& v) { return MatrixTimesVector(sky.earthRotation, v); }

Vec3 FromEarthFixed(const SkyState& sky, const Vec3& v) { return TransposeTimesVector(sky.earthRotation, v); }

double Refraction(double apparentElevationDeg) {
    const double h = apparentElevationDeg;
    const double P = kPressureMbar;
    const double T = kTemperatureC;
    if (h < kRefractionFloorDeg) return 0;
    if (h >= kBennettFromDeg) return (0.28 * P / (T + 273)) * 0.0167 / std::tan(Radians(h + 7.31 / (h + 4.4)));
    return (P / (T + 273)) * (0.1594 + 0.0196 * h + 0.00002 * h * h) / (1 + 0.505 * h + 0.0845 * h * h);
}

double RefractionForTrue(double trueElevationDeg) {
    // A NaN elevation would never meet the stopping test and would hang the cycle.
    if (std::isnan(trueElevationDeg)) return 0;
    double r = 0;
    for (;;) {
        const double c = Refraction(trueElevationDeg + r);
        if (c == 0) return 0;
        if (std::fabs(c - r) < kRefractionToleranceDeg) return c;
        r = c;
    }
}

void AddRefraction(SkyState& sky) {
    sky.sun.elevation += RefractionForTrue(sky.sun.elevation);
    sky.moon.elevation += RefractionForTrue(sky.moon.elevation);
}

}  // namespace nav
