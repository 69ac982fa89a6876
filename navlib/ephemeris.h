// Geocentric Sun and Moon from short trigonometric series (epoch 1995, coefficients in degrees), and the
// ecliptic-to-equatorial step. These are the first half of the position step; ComputePositions
// (observer.h) runs them in its fixed order and they are not called on their own elsewhere.
#pragma once

#include "navlib/constants.h"
#include "navlib/skystate.h"

namespace nav {

// EclipticToEquatorialRotation - [[1, 0, 0], [0, cos e, -sin e], [0, sin e, cos e]] for the obliquity e
// (radians; the series use the fixed kObliquityRad). Turns an ecliptic vector into an equatorial one.
Mat3 EclipticToEquatorialRotation(double obliquityRad = kObliquityRad);

// ComputeEphemeris - ecliptic longitude and latitude (radians) and geocentric distance (km) of the Moon
// and the Sun at sky.clock.utcDay + sky.clock.utcFraction.
//   in:  sky.clock.utcDay, sky.clock.utcFraction (the fraction may exceed 1; the day count is continuous)
//   out: sky.moon and sky.sun .eclipticLongitude (not reduced to one turn), .eclipticLatitude (the Sun's
//        is 0), .geoDistance
//   accuracy: about 0.3 deg in Moon longitude, 0.01 deg for the Sun, a few hundred km in Moon distance,
//   over the decades around 1995. Guards: a parallax with sine exactly 0 becomes 90 deg, a distance of
//   exactly 0 becomes 1 km (Moon) or 10000 km (Sun); ordinary instants never reach them.
void ComputeEphemeris(SkyState& sky);

// EclipticToEquatorial - geocentric equatorial direction of a body from its ecliptic coordinates.
//   in:  body.eclipticLatitude, body.eclipticLongitude (radians); rotation from
//        EclipticToEquatorialRotation()
//   out: body.geoEquatorialDir (unit vector), body.geoRightAscension (radians, [0, 2pi)),
//        body.geoDeclination (radians)
void EclipticToEquatorial(BodyState& body, const Mat3& rotation);

// ComputeMoonElongation - geocentric right ascension of the Moon minus that of the Sun.
//   in:  sky.moon.geoRightAscension, sky.sun.geoRightAscension
//   out: sky.moonElongation, degrees in (-180, 180]: positive while the Moon is east of the Sun (waxing);
//        a difference of exactly +-180 gives +180
void ComputeMoonElongation(SkyState& sky);

}  // namespace nav
