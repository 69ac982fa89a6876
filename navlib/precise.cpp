#include "navlib/precise.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "navlib/ephemeris.h"
#include "navlib/geometry.h"

namespace nav {
namespace {

constexpr double kKmPerAu = ERFA_DAU / 1000;
// Light time across one astronomical unit, in days: also the factor from au/day to units of c.
constexpr double kLightDaysPerAu = ERFA_AULT / ERFA_DAYSEC;

// The turns of one instant from the GCRS to the true equator and equinox of date, and from there to
// the true ecliptic of date.
struct OfDateFrame {
    Mat3 npb;
    Mat3 eclipticToEquatorial;
};

// The geocentric fields of a body from its apparent position in the GCRS (au).
void SetGeocentric(BodyState& body, const Vec3& gcrs, const OfDateFrame& frame) {
    const double distanceAu = VectorLength(gcrs);
    const Vec3 ofDate = MatrixTimesVector(frame.npb, {gcrs[0] / distanceAu, gcrs[1] / distanceAu, gcrs[2] / distanceAu});
    body.geoEquatorialDir = ofDate;
    body.geoDistance = distanceAu * kKmPerAu;
    const SphericalAngles equatorial = VectorToAngles(body.geoEquatorialDir);
    body.geoRightAscension = equatorial.longitude;
    body.geoDeclination = equatorial.latitude;
    const SphericalAngles ecliptic =
        VectorToAngles(TransposeTimesVector(frame.eclipticToEquatorial, body.geoEquatorialDir));
    body.eclipticLongitude = ecliptic.longitude;
    body.eclipticLatitude = ecliptic.latitude;
}

// The Moon as seen from the Earth's centre: Moon98 at the instant less the light time (1.3 s), carried
// back along the Moon's velocity (its acceleration moves that by millimetres). No annual aberration:
// the Moon shares the Earth's motion about the Sun, and applying it would shift the Moon by 20".
void ComputeMoon(BodyState& moon, const SlowQuantities& slow, const OfDateFrame& frame) {
    const double lightDays = VectorLength(slow.moonPosition) * kLightDaysPerAu;
    Vec3 emitted;
    for (int i = 0; i < 3; ++i) emitted[i] = slow.moonPosition[i] - slow.moonVelocity[i] * lightDays;
    SetGeocentric(moon, emitted, frame);
}

// The Sun: the Earth's heliocentric vector reversed, then annual aberration from the Earth's barycentric
// velocity. The Sun's own light time is left out: it moves 7 km about the barycentre in those 8.3
// minutes (0.01").
void ComputeSun(BodyState& sun, const SlowQuantities& slow, const OfDateFrame& frame) {
    double geometric[3], velocityC[3];
    for (int i = 0; i < 3; ++i) {
        geometric[i] = -slow.earthHeliocentric[i];
        velocityC[i] = slow.earthBarycentricVelocity[i] * kLightDaysPerAu;
    }
    double distanceAu, direction[3], apparent[3];
    eraPn(geometric, &distanceAu, direction);
    eraAb(direction, velocityC, distanceAu, std::sqrt(1 - eraPm(velocityC) * eraPm(velocityC)), apparent);
    SetGeocentric(sun, {apparent[0] * distanceAu, apparent[1] * distanceAu, apparent[2] * distanceAu}, frame);
}

}  // namespace

void SetPreciseGeocentric(SkyState& sky, const SlowQuantities& slow, const PreciseInstant& t, Bodies bodies) {
    const OfDateFrame frame{slow.npb, EclipticToEquatorialRotation(slow.trueObliquity)};
    ComputeMoon(sky.moon, slow, frame);
    if (bodies == Bodies::SunAndMoon) {
        ComputeSun(sky.sun, slow, frame);
        ComputeMoonElongation(sky);
    }
    sky.clock.gmst = eraAnp(eraEra00(t.ut11, t.ut12) - slow.equationOfOrigins);
}

void ComputePreciseGeocentric(SkyState& sky, double dut1Seconds, Bodies bodies) {
    const PreciseInstant t = PreciseInstantOf(sky.clock.utcDay, sky.clock.utcFraction, dut1Seconds);
    const bool withEarthOrbit = bodies == Bodies::SunAndMoon;
    SetPreciseGeocentric(sky, InterpolatedSlowQuantities(sky.preciseFrame, t.tt1, t.tt2, withEarthOrbit), t, bodies);
}

}  // namespace nav
