#include "navlib/timecal.h"

#include <cmath>
#include <limits>

#include "navlib/constants.h"

namespace nav {
namespace {

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr char kWeekdayNames[] = "SunMonTueWedThuFriSat";

// The range of day numbers the ClockState's int fields hold.
constexpr double kFirstDayNumber = std::numeric_limits<int>::min();
constexpr double kLastDayNumber = std::numeric_limits<int>::max();

// Half a second as a fraction of a day.
constexpr double kHalfSecondDays = 5.787037037037037e-6;

// As "%02d" writes it, without the formatted-output machinery: the clock's text is made every second.
std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    if (value >= 0 && value < 10) text.insert(text.begin(), '0');
    return text;
}

std::string MonthName(int month) { return std::string(kMonthNames + 3 * (month - 1), 3); }
std::string WeekdayName(int weekday) { return std::string(kWeekdayNames + 3 * weekday, 3); }

// "YYYY Mon DD [Www]": the 17 characters of the date label for four-digit years.
std::string DateText(int year, int month, int day, int weekday) {
    return std::to_string(year) + " " + MonthName(month) + " " + TwoDigits(day) + " [" + WeekdayName(weekday) + "]";
}

double DayFraction(int hour, int minute, int second) {
    return (hour + minute * (1.0 / 60) + second * (1.0 / 3600)) * (1.0 / 24);
}

// The manual clock: the local reading as localDay and localFraction, and UTC as the continuous day count
// local minus clockOffset (hours).
double UtcOfLocalReading(ClockState& clock, const ClockReading& local, double clockOffset) {
    clock.localDay = DayNumber(local.year, local.month, local.day);
    clock.localFraction = DayFraction(local.hour, local.minute, local.second);
    return clock.localDay + clock.localFraction - clockOffset * (1.0 / 24);
}

// Moves the whole days of `fraction` into `day` in one step, whatever their number, leaving the fraction
// in [0, 1). A day beyond the range of day numbers stops at its end: no calendar date lies there.
void CarryWholeDays(int& day, double& fraction) {
    double whole = std::floor(fraction);
    fraction -= whole;
    // A fraction a hair below zero, plus one, rounds to exactly 1: the start of the next day.
    if (fraction >= 1) {
        fraction -= 1;
        whole += 1;
    }
    // fmin and fmax also bring a not-a-number to the end of the range.
    const double shifted = std::fmax(kFirstDayNumber, std::fmin(kLastDayNumber, day + whole));
    day = static_cast<int>(shifted);
}

}  // namespace

int DayNumber(int year, int month, int day) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    // 30.6 is the double just above 30.6, so trunc(30.6 * 5) = 153 and trunc(30.6 * 10) = 306.
    return static_cast<int>(std::trunc(365.25 * year)) + static_cast<int>(std::trunc(30.6 * (month + 1))) + day -
           428;
}

std::string FormatDayNumber(int dayNumber) {
    const double x = dayNumber + 428.0;
    const int weekday = static_cast<int>(std::trunc(std::fmod(dayNumber + 433.0, 7.0)));
    int year = static_cast<int>(std::trunc((x - 122.1) * (1.0 / 365.25)));
    const double c = std::trunc(x - std::floor(year * 365.25));
    // The month split divides by 30.61, the day by 30.6: together they land on the right day of every month.
    int month = static_cast<int>(std::trunc(c * (1.0 / 30.61)));
    const int day = static_cast<int>(std::trunc(c - std::floor(month * 30.6)));
    month -= 1;
    if (month > 12) {
        month -= 12;
        year += 1;
    }
    return DateText(year, month, day, weekday);
}

long long SecondOfDay(const ClockState& clock) {
    return std::llround(clock.utcFraction * kSecondsPerDay) % kSecondsPerDay;
}

std::string FormatTimeOfDay(double fraction) {
    const double t = (fraction + kHalfSecondDays) * 24;
    const double h = std::floor(t);
    const double m = std::floor((t - h) * 60);
    const double s = std::floor(((t - h) * 60 - m) * 60);
    return TwoDigits(static_cast<int>(h)) + ":" + TwoDigits(static_cast<int>(m)) + ":" +
           TwoDigits(static_cast<int>(s));
}

void ReadClock(ClockState& clock, const ClockSource& source, bool autoTime, double clockOffset) {
    const ClockReading r = autoTime ? source.utcNow() : source.localNow();
    clock.year = r.year;
    clock.month = r.month;
    clock.day = r.day;
    clock.hour = r.hour;
    clock.minute = r.minute;
    clock.second = r.second;
    if (autoTime) {
        clock.utcDay = DayNumber(r.year, r.month, r.day);
        clock.utcFraction = DayFraction(r.hour, r.minute, r.second);
        return;
    }
    const double x = UtcOfLocalReading(clock, r, clockOffset);
    clock.utcDay = static_cast<int>(std::floor(x));
    clock.utcFraction = x - std::trunc(x);
}

void LocalToUtc(ClockState& clock, double clockOffset) {
    clock.utcDay = clock.localDay;
    clock.utcFraction = clock.localFraction - clockOffset / 24;
    CarryWholeDays(clock.utcDay, clock.utcFraction);
}

void UtcToLocal(ClockState& clock, double clockOffset) {
    clock.localDay = clock.utcDay;
    clock.localFraction = clock.utcFraction + clockOffset / 24;
    CarryWholeDays(clock.localDay, clock.localFraction);
}

double AutoClockOffset(const ClockSource& source) {
    const ClockReading utc = source.utcNow();
    const ClockReading local = source.localNow();
    const double u = DayNumber(utc.year, utc.month, utc.day) + (utc.hour + utc.minute / 60.0) / 24;
    const double l = DayNumber(local.year, local.month, local.day) + (local.hour + local.minute / 60.0) / 24;
    double tenths = (l - u) * 240;
    tenths = std::trunc(tenths >= 0 ? tenths + 0.5 : tenths - 0.5);
    return tenths * 0.1;
}

void ComputeGmst(ClockState& clock) {
    const double t0 = clock.utcDay + std::trunc(clock.utcFraction);
    const double f = clock.utcFraction - std::trunc(clock.utcFraction);
    // Julian centuries from J2000.0; the factor is 1/36525.
    const double T = (t0 - 730135.5) * 2.7378507871321012e-05;
    const double twoPi = 2 * kPi;
    clock.gmst = twoPi * (T * (T * (-6.2e-6 * T + 0.093104) + 184.812866) * (1.0 / 86400) + 100 * T + 0.2790572733) +
                 f * (twoPi + twoPi / 365.2421874);
}

std::string ClockText(ClockState& clock, const ClockSource& source, bool showUtc, bool autoTime,
                      double clockOffset) {
    // One reading of the clock the text needs: a local reading costs the system a look at the zone file.
    const ClockReading r = (showUtc && autoTime) ? source.utcNow() : source.localNow();
    if (!showUtc || autoTime) {
        return DateText(r.year, r.month, r.day, r.dayOfWeek) + "  " + TwoDigits(r.hour) + ":" +
               TwoDigits(r.minute) + ":" + TwoDigits(r.second);
    }
    const double x = UtcOfLocalReading(clock, r, clockOffset);
    return FormatDayNumber(static_cast<int>(std::floor(x))) + " " + " " + FormatTimeOfDay(x - std::trunc(x));
}

}  // namespace nav
