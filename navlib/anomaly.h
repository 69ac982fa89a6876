// The Moon's phase in the anomalistic month: how far the instant lies past the most recent perigee.
#pragma once

namespace nav {

// AnomalyPhase - time since the perigee of perigee number k, in 256ths of the mean anomalistic month.
//   in:  utcDay (day number, 2000 January 1 = 730135), utcFraction (day fraction)
//   out: perigee = 0, apogee about 128. Raised by 256 while negative, never reduced from above: when the
//        next true perigee comes later than one mean month after the last, the value exceeds 256 (up to
//        about 264.5 between 1995 and 2030). It jumps when k changes, at fixed fractions of the year.
//   Perigee from the mean perigee polynomial and the seven largest periodic terms of the perigee
//   correction (Meeus, Astronomical Algorithms); k is chosen from the date alone, truncated toward zero.
//   accuracy: the perigee instant to a few hours, the phase to about 1 unit of 256.
double AnomalyPhase(int utcDay, double utcFraction);

}  // namespace nav
