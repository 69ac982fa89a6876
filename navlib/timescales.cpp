#include "navlib/timescales.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "navlib/precise.h"

namespace nav {
namespace {

// Day number + this = Julian date of 0h on that day.
constexpr double kJulianDateOfDayNumberZero = 1721409.5;
// The first year of UTC: before it ERFA's table has no TAI - UTC and TT comes from DeltaTBefore1960.
constexpr int kFirstUtcYear = 1960;
constexpr double kMonthsPerYear = 12;

// ERFA's two-part UTC of a UTC instant, and its calendar year and month.
struct ErfaUtc {
    double utc1 = 0, utc2 = 0;
    int year = 0, month = 0;
};

// The clock counts 86400 s in every day; ERFA's UTC Julian date runs the day's seconds, 86401 of them on
// a day that ends with a leap second, across one day. Dtf2d knows which days those are.
ErfaUtc ErfaUtcOf(int utcDay, double utcFraction) {
    const double whole = std::floor(utcFraction);
    const double dayStart = utcDay + whole + kJulianDateOfDayNumberZero;
    double seconds = (utcFraction - whole) * ERFA_DAYSEC;
    int day = 0;
    double unused = 0;
    ErfaUtc t;
    eraJd2cal(dayStart, 0, &t.year, &t.month, &day, &unused);
    const int hour = int(seconds / 3600);
    seconds -= hour * 3600.0;
    const int minute = int(seconds / 60);
    seconds -= minute * 60.0;
    // Past the last year the table knows, Dtf2d answers "dubious year" and still converts.
    eraDtf2d("UTC", t.year, t.month, day, hour, minute, seconds, &t.utc1, &t.utc2);
    return t;
}

}  // namespace

double DeltaTBefore1960(double year) {
    if (year < 1920) {
        const double t = year - 1900;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
    }
    if (year < 1941) {
        const double t = year - 1920;
        return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
    }
    const double t = year - 1950;
    return 29.07 + t * (0.407 + t * (-1 / 233.0 + t / 2547.0));
}

PreciseInstant PreciseInstantOf(int utcDay, double utcFraction, double dut1Seconds) {
    const ErfaUtc utc = ErfaUtcOf(utcDay, utcFraction);
    PreciseInstant t;
    eraUtcut1(utc.utc1, utc.utc2, dut1Seconds, &t.ut11, &t.ut12);
    if (utc.year < kFirstUtcYear) {
        const double year = utc.year + (utc.month - 0.5) / kMonthsPerYear;
        t.tt1 = t.ut11;
        t.tt2 = t.ut12 + DeltaTBefore1960(year) / ERFA_DAYSEC;
        return t;
    }
    double tai1 = 0, tai2 = 0;
    eraUtctai(utc.utc1, utc.utc2, &tai1, &tai2);
    eraTaitt(tai1, tai2, &t.tt1, &t.tt2);
    return t;
}

}  // namespace nav
