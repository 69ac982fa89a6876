// The time scales of the precise ephemeris: the clock's UTC day and fraction to ERFA's UTC, TT and UT1,
// leap seconds and the years before UTC included.
#pragma once

namespace nav {

// DeltaTBefore1960 - TT - UT1 (s) for a decimal year before 1960 from the polynomials of Espenak and
// Meeus (Five Millennium Canon of Solar Eclipses, 2006): 1900-1920, 1920-1941 and 1941-1961; earlier
// years use the first. Accuracy about a second over the century (the model's own fit to observations).
double DeltaTBefore1960(double year);

}  // namespace nav
