#include "navlib/j2000.h"

#include <erfa.h>

namespace nav {
namespace {

// Day number + this = Julian date of 0h on that day.
constexpr double kJulianDateOfDayNumberZero = 1721409.5;

// A direction turned by the rotation from J2000 to the frame of date the ephemeris works in, or back by
// its transpose.
Vec3 Turned(const Vec3& direction, int utcDay, double utcFraction, Ephemeris ephemeris, bool toJ2000) {
    const double date1 = utcDay + kJulianDateOfDayNumberZero;
    double toDate[3][3];
    if (ephemeris == Ephemeris::Precise)
        eraPnm00b(date1, utcFraction, toDate);
    else
        eraPmat00(date1, utcFraction, toDate);
    double v[3] = {direction[0], direction[1], direction[2]}, turned[3];
    if (toJ2000)
        eraTrxp(toDate, v, turned);
    else
        eraRxp(toDate, v, turned);
    return {turned[0], turned[1], turned[2]};
}

}  // namespace

Vec3 ToJ2000(const Vec3& ofDate, int utcDay, double utcFraction, Ephemeris ephemeris) {
    return Turned(ofDate, utcDay, utcFraction, ephemeris, true);
}

Vec3 FromJ2000(const Vec3& j2000, int utcDay, double utcFraction, Ephemeris ephemeris) {
    return Turned(j2000, utcDay, utcFraction, ephemeris, false);
}

}  // namespace nav
