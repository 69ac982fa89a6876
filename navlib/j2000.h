// Directions of date brought back to the J2000 equator and equinox (the GCRS to well under an
// arcsecond), for catalogues and surveys drawn in J2000 such as the 408 MHz sky survey.
#pragma once

#include "navlib/skystate.h"

namespace nav {

// ToJ2000 - a direction of date in the J2000 frame.
//   in:  ofDate (unit vector, equatorial frame of date as the ephemeris leaves it: the mean equator and
//        equinox of date for Ephemeris::Standard, the true ones for Ephemeris::Precise), utcDay and
//        utcFraction (day number and fraction of the instant), ephemeris
//   out: unit vector, J2000 equator and equinox. Standard undoes the IAU 2000 bias-precession
//        (eraPmat00), Precise also the IAU 2000B nutation (eraPnm00b, the matrix the precise ephemeris
//        applies). UTC stands for TT: the ~70 s between them move the pole by a milliarcsecond.
Vec3 ToJ2000(const Vec3& ofDate, int utcDay, double utcFraction, Ephemeris ephemeris);

// FromJ2000 - the inverse: a J2000 direction (unit vector) in the equatorial frame of date the
// ephemeris works in, by the same matrix; what ToJ2000 undoes, exactly.
Vec3 FromJ2000(const Vec3& j2000, int utcDay, double utcFraction, Ephemeris ephemeris);

}  // namespace nav
