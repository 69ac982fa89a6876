// The precise ephemeris: the geocentric Sun and Moon and the Earth's rotation from the IAU routines (ERFA),
// the first half of the position step when the site asks for Ephemeris::Precise. ComputePositions
// (observer.h) runs it and then the same topocentric step as for the series.
//
// The result is the apparent place, true equator and equinox of date: the Moon from ERFA's Moon98 at the
// instant less its light time, the Sun from the Earth's heliocentric vector (Epv00) with annual
// aberration, the bias-precession-nutation matrix of IAU 2000B (Pn00b) and apparent sidereal time as
// Gst06 forms it. Those slow quantities come from daily Chebyshev series (preciseframe.h); the Earth's
// rotation, light time and aberration are computed at each instant. The site is SetObserver's, the
// same WGS-84 geodetic-to-geocentric step as ERFA's Gd2gc. Polar motion is left out (under 0.5").
#pragma once

#include "navlib/preciseframe.h"
#include "navlib/skystate.h"

namespace nav {

// A UTC instant on the two time scales ERFA works in, each a Julian date in two parts (whole day first).
struct PreciseInstant {
    double tt1 = 0, tt2 = 0;    // Terrestrial Time
    double ut11 = 0, ut12 = 0;  // UT1
};

// PreciseInstantOf - TT through the leap-second table, UT1 as UTC + dut1 (timescales.cpp).
//   in:  utcDay (day number, 2000 January 1 = 730135), utcFraction (seconds / 86400, may exceed 1; the
//        count is continuous), dut1Seconds (UT1 - UTC, s)
//   out: TT and UT1. On a day that ends with a leap second the seconds count against 86401, as ERFA's
//        UTC does (the clock's 23:59:59 is 86399 s into a day of 86401). Before 1960 TT is
//        UT1 + DeltaTBefore1960 (timescales.h). Past the last year ERFA's table knows, the last
//        TAI - UTC is kept: a tracker pointing today wants the leap seconds as they stand, not a guess at
//        future ones.
PreciseInstant PreciseInstantOf(int utcDay, double utcFraction, double dut1Seconds);

// SetPreciseGeocentric - the apparent geocentric Sun and Moon and sidereal time from the slow
// quantities of the instant: light time, aberration, the turn to the true equator of date and the Earth
// rotation angle, all exact at the instant.
//   in:  slow (preciseframe.h: interpolated, or direct from ERFA), t (the instant), bodies
//   out: sky.moon (and with Bodies::SunAndMoon sky.sun) .geoEquatorialDir (unit vector, true equator and
//        equinox of date), .geoRightAscension, .geoDeclination (radians, apparent), .geoDistance (km; the
//        Moon's at the instant its light left), .eclipticLongitude and .eclipticLatitude (radians, true
//        ecliptic of date, longitude in [0, 2pi)); sky.moonElongation (SunAndMoon only); sky.clock.gmst
//        (Greenwich apparent sidereal time, radians [0, 2pi))
//   accuracy: that of the slow quantities; the steps themselves add under a milliarcsecond.
void SetPreciseGeocentric(SkyState& sky, const SlowQuantities& slow, const PreciseInstant& t, Bodies bodies);

// ComputePreciseGeocentric - the geocentric half of the precise position step.
//   in:  sky.clock.utcDay, sky.clock.utcFraction, dut1Seconds (UT1 - UTC, s), bodies; sky.preciseFrame,
//        the fitted days kept from earlier steps (fitted here when missing)
//   out: as SetPreciseGeocentric, with the slow quantities read off the day's series
//   accuracy: the Moon within about 2" and 3 km of JPL's ephemerides, the Sun within 1", from 2000 on;
//   the series add under 0.0001" and 5 mm. About 1 us a step once the day is fitted; fitting a day
//   costs about 0.1 ms, 0.25 ms with the Sun.
void ComputePreciseGeocentric(SkyState& sky, double dut1Seconds, Bodies bodies);

}  // namespace nav
