#include "navlib/j2000.h"

#include <erfa.h>

namespace nav {
namespace {

// Day number + this = Julian date of 0h on that day.
constexpr double kJulianDateOfDayNumberZero = 1721409.5;

}  // namespace

Vec3 ToJ2000(const Vec3& ofDate, int utcDay, double utcFraction, Ephemeris ephemeris) {
    const double date1 = utcDay + kJulianDateOfDayNumberZero;
    double toDate[3][3];
    if (ephemeris == Ephemeris::Precise)
        eraPnm00b(date1, utcFraction, toDate);
    else
        eraPmat00(date1, utcFraction, toDate);
    double v[3] = {ofDate[0], ofDate[1], ofDate[2]}, j2000[3];
    eraTrxp(toDate, v, j2000);
    return {j2000[0], j2000[1], j2000[2]};
}

}  // namespace nav
