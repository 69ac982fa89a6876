// Observer geometry: the site on the WGS-84 ellipsoid, the whole position step from the clock to the
// topocentric Sun and Moon, the Earth-rotation frame change, and atmospheric refraction.
//
// Refraction is added after the position step, never inside it: the cycle adds RefractionForTrue to both
// elevations, while the rise/set search and the map work with the geometric elevations.
#pragma once

#include "navlib/skystate.h"

namespace nav {

// SetObserver - the site's Earth-fixed position and its north/east/up frame.
//   in:  latitudeDeg (north positive), longitudeDeg (east positive), heightMetres above the ellipsoid
//   out: frame.position (km, Earth-fixed: x to latitude 0 / longitude 0, z to the north pole);
//        frame.horizonMatrix rows north, east, up (unit vectors in the Earth-fixed frame)
//   A degenerate ellipsoid term (w + h exactly 0) is replaced by w = 1, h = 1.
void SetObserver(ObserverFrame& frame, double latitudeDeg, double longitudeDeg, double heightMetres);

// ComputePositions - one whole position step for the instant in sky.clock, with the ephemeris the site
// names: the geocentric Sun and Moon and sidereal time from the series (Standard) or from ERFA
// (Precise, precise.h), then the same topocentric step for both.
//   in:  sky.clock.utcDay, sky.clock.utcFraction, sky.observerFrame, site.longitude (degrees),
//        site.ephemeris, site.dut1Seconds (Precise only); sky.preciseFrame (Precise only); bodies
//        (Bodies::Moon: the Sun is not brought to the instant, see skystate.h)
//   out: sky.sun and sky.moon (every field; elevations geometric, without refraction; azimuth and hour
//        angle in degrees [0, 360), right ascension and declination topocentric in radians, distances
//        in km), sky.moonElongation, sky.clock.gmst, sky.earthRotation; sky.preciseFrame (Precise only)
//   accuracy: Standard, that of the series (ComputeEphemeris), with the Moon's diurnal parallax
//   included; Precise, the Moon's direction to about 2" and the Sun's to 1" (apparent, true equator
//   and equinox of date), the Moon's distance to a few km.
void ComputePositions(SkyState& sky, const ObserverSite& site, Bodies bodies = Bodies::SunAndMoon);

// ComputeTopocentricPositions - the second half of ComputePositions alone: the bodies of the instant a
// ComputePositions just computed, seen from another site. Two sites at one instant share the geocentric
// step this way.
//   in:  sky.clock.gmst and the geocentric fields of sky.moon (and sky.sun) as ComputePositions left
//        them, sky.observerFrame (the other site's), site.longitude (degrees), bodies
//   out: sky.earthRotation and the topocentric fields of sky.moon (and sky.sun), as ComputePositions
void ComputeTopocentricPositions(SkyState& sky, const ObserverSite& site, Bodies bodies = Bodies::SunAndMoon);

// ToEarthFixed - earthRotation v: an equatorial vector in the Earth-fixed frame.
Vec3 ToEarthFixed(const SkyState& sky, const Vec3& v);
// FromEarthFixed - transpose(earthRotation) v: an Earth-fixed vector in the equatorial frame.
Vec3 FromEarthFixed(const SkyState& sky, const Vec3& v);

// Refraction - atmospheric refraction at 1010 mbar and 10 degC for an apparent elevation.
//   in:  apparentElevationDeg
//   out: degrees to subtract from the apparent elevation to get the true one; 0 below -5 deg.
//   A rational fit below 15 deg, Bennett's formula from 15 deg: the two differ by about 0.0014 deg at
//   15 deg, and near the zenith the Bennett branch goes slightly negative (-0.0000226 deg at 90).
double Refraction(double apparentElevationDeg);

// RefractionForTrue - refraction to add to a true (geometric) elevation, by fixed-point iteration of
// Refraction until two successive values differ by less than 0.00001 deg.
//   in:  trueElevationDeg
//   out: degrees; 0 where Refraction gives exactly 0
double RefractionForTrue(double trueElevationDeg);

// AddRefraction - the cycle's refraction step, run after every ComputePositions of the cycle (the
// rise/set search and the map work with geometric elevations and never run it).
//   in/out: sky.sun.elevation, then sky.moon.elevation, each raised by RefractionForTrue of itself
void AddRefraction(SkyState& sky);

}  // namespace nav
