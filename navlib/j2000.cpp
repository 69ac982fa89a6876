#include "navlib/j2000.h"

#include <erfa.h>

namespace nav {
namespace {

// Day number + this = Julian date of 0h on that day.
constexpr double kJulianDateOfDayNumberZero = 1721409.5;

// The rotation from J2000 to the frame of date the ephemeris works in.
void MatrixToDate(int utcDay, double utcFraction, Ephemeris ephemeris, double toDate[3][3]) {
    const double date1 = utcDay + kJulianDateOfDayNumberZero;
    if (ephemeris == Ephemeris::Precise)
        eraPnm00b(date1, utcFraction, toDate);
    else
        eraPmat00(date1, utcFraction, toDate);
}

}  // namespace

Vec3 ToJ2000(const Vec3& ofDate, int utcDay, double utcFraction, Ephemeris ephemeris) {
    double toDate[3][3];
    MatrixToDate(utcDay, utcFraction, ephemeris, toDate);
    double v[3] = {ofDate[0], ofDate[1], ofDate[2]}, j2000[3];
    eraTrxp(toDate, v, j2000);
    return {j2000[0], j2000[1], j2000[2]};
}

Vec3 FromJ2000(const Vec3& j2000, int utcDay, double utcFraction, Ephemeris ephemeris) {
    double toDate[3][3];
    MatrixToDate(utcDay, utcFraction, ephemeris, toDate);
    double v[3] = {j2000[0], j2000[1], j2000[2]}, ofDate[3];
    eraRxp(toDate, v, ofDate);
    return {ofDate[0], ofDate[1], ofDate[2]};
}

}  // namespace nav
