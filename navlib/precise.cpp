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

// Days of TT from the frame's evaluation to the instant.
double DaysSinceFrame(const PreciseFrameCache& frame, const PreciseInstant& t) {
    return (t.tt1 - frame.tt1) + (t.tt2 - frame.tt2);
}

// ERFA's prototypes take their arrays without const, so the frame is handed on as it is kept.

// Epv00 is the dearest call of the step (about 33 us) and the matrix the next; neither moves visibly
// in a minute, so the cycle evaluates them once a minute and the rise/set search every other step.
PreciseFrameCache& FrameFor(PreciseFrameCache& frame, const PreciseInstant& t) {
    if (frame.valid && std::fabs(DaysSinceFrame(frame, t)) * ERFA_DAYSEC <= kPreciseFrameReuseSeconds) return frame;
    eraEpv00(t.tt1, t.tt2, frame.earthHeliocentric, frame.earthBarycentric);
    double dpsi, deps, epsa, rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
    eraPn00b(t.tt1, t.tt2, &dpsi, &deps, &epsa, rb, rp, rbp, rn, frame.npb);
    frame.trueObliquity = epsa + deps;
    frame.tt1 = t.tt1;
    frame.tt2 = t.tt2;
    frame.valid = true;
    return frame;
}

// The geocentric fields of a body from its apparent direction and distance in the GCRS.
void SetGeocentric(BodyState& body, double gcrs[3], PreciseFrameCache& frame) {
    double distanceAu, direction[3], ofDate[3];
    eraPn(gcrs, &distanceAu, direction);
    eraRxp(frame.npb, direction, ofDate);
    body.geoEquatorialDir = {ofDate[0], ofDate[1], ofDate[2]};
    body.geoDistance = distanceAu * kKmPerAu;
    const SphericalAngles equatorial = VectorToAngles(body.geoEquatorialDir);
    body.geoRightAscension = equatorial.longitude;
    body.geoDeclination = equatorial.latitude;
    const SphericalAngles ecliptic =
        VectorToAngles(TransposeTimesVector(EclipticToEquatorialRotation(frame.trueObliquity), body.geoEquatorialDir));
    body.eclipticLongitude = ecliptic.longitude;
    body.eclipticLatitude = ecliptic.latitude;
}

// The Moon as seen from the Earth's centre: Moon98 at the instant less the light time (1.3 s), carried
// back along the Moon's velocity (its acceleration moves that by millimetres). No annual aberration:
// the Moon shares the Earth's motion about the Sun, and applying it would shift the Moon by 20".
void ComputeMoon(BodyState& moon, const PreciseInstant& t, PreciseFrameCache& frame) {
    double pv[2][3];
    eraMoon98(t.tt1, t.tt2, pv);
    const double lightDays = eraPm(pv[0]) * kLightDaysPerAu;
    double emitted[3];
    for (int i = 0; i < 3; ++i) emitted[i] = pv[0][i] - pv[1][i] * lightDays;
    SetGeocentric(moon, emitted, frame);
}

// The Sun: the Earth's heliocentric vector carried from the frame's evaluation along its velocity
// (metres off after a minute), reversed, then annual aberration from the Earth's barycentric velocity.
// The Sun's own light time is left out: it moves 7 km about the barycentre in those 8.3 minutes (0.01").
void ComputeSun(BodyState& sun, const PreciseInstant& t, PreciseFrameCache& frame) {
    const double days = DaysSinceFrame(frame, t);
    double geometric[3], velocityC[3];
    for (int i = 0; i < 3; ++i) {
        geometric[i] = -(frame.earthHeliocentric[0][i] + frame.earthHeliocentric[1][i] * days);
        velocityC[i] = frame.earthBarycentric[1][i] * kLightDaysPerAu;
    }
    double distanceAu, direction[3], apparent[3];
    eraPn(geometric, &distanceAu, direction);
    eraAb(direction, velocityC, distanceAu, std::sqrt(1 - eraPm(velocityC) * eraPm(velocityC)), apparent);
    for (double& component : apparent) component *= distanceAu;
    SetGeocentric(sun, apparent, frame);
}

}  // namespace

void ComputePreciseGeocentric(SkyState& sky, double dut1Seconds) {
    const PreciseInstant t = PreciseInstantOf(sky.clock.utcDay, sky.clock.utcFraction, dut1Seconds);
    PreciseFrameCache& frame = FrameFor(sky.preciseFrame, t);
    ComputeMoon(sky.moon, t, frame);
    ComputeSun(sky.sun, t, frame);
    ComputeMoonElongation(sky);
    sky.clock.gmst = eraGst06(t.ut11, t.ut12, t.tt1, t.tt2, frame.npb);
}

}  // namespace nav
