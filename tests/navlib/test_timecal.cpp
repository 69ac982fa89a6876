// Day numbers, clock readings, sidereal time and the clock text.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

#include "navlib/constants.h"
#include "navlib/timecal.h"
#include "tests/support/fakeclock.h"

namespace {

using skyrel::test::FakeClock;

TEST(DayNumber, FixedPointsAndLeapDays) {
    EXPECT_EQ(nav::DayNumber(2000, 1, 1), 730135);
    EXPECT_EQ(nav::DayNumber(1994, 12, 31), 728308);
    EXPECT_EQ(nav::DayNumber(2004, 3, 1) - nav::DayNumber(2004, 2, 28), 2);
    EXPECT_EQ(nav::DayNumber(2000, 3, 1) - nav::DayNumber(2000, 2, 28), 2);
    EXPECT_EQ(nav::DayNumber(2005, 3, 1) - nav::DayNumber(2005, 2, 28), 1);
    EXPECT_EQ(nav::FormatDayNumber(730135), "2000 Jan 01 [Sat]");
    EXPECT_EQ(nav::FormatDayNumber(728308), "1994 Dec 31 [Sat]");
    EXPECT_EQ(nav::FormatDayNumber(nav::DayNumber(2004, 2, 29)), "2004 Feb 29 [Sun]");
}

TEST(DayNumber, RoundTripsWithTheRightWeekdayForEveryDayFrom1901To2099) {
    using namespace std::chrono;
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    int previous = nav::DayNumber(1900, 12, 31);
    for (sys_days d = sys_days{year{1901} / 1 / 1}; d <= sys_days{year{2099} / 12 / 31}; d += days{1}) {
        const year_month_day ymd{d};
        const int y = static_cast<int>(ymd.year());
        const unsigned m = static_cast<unsigned>(ymd.month());
        const unsigned dd = static_cast<unsigned>(ymd.day());
        const int n = nav::DayNumber(y, static_cast<int>(m), static_cast<int>(dd));
        ASSERT_EQ(n, previous + 1) << y << "-" << m << "-" << dd;
        previous = n;
        char expected[32];
        std::snprintf(expected, sizeof expected, "%d %s %02u [%s]", y, kMonths[m - 1], dd,
                      kWeekdays[weekday{d}.c_encoding()]);
        ASSERT_EQ(nav::FormatDayNumber(n), expected);
    }
}

TEST(FormatTimeOfDay, EveryWholeSecondOfTheDayPrintsExactly) {
    EXPECT_EQ(nav::FormatTimeOfDay(0.5), "12:00:00");
    EXPECT_EQ(nav::FormatTimeOfDay(59.0 / 86400), "00:00:59");
    EXPECT_EQ(nav::FormatTimeOfDay(0), "00:00:00");
    for (int s = 0; s < 86400; ++s) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        const double fraction = (s / 3600 + (s / 60 % 60) * (1.0 / 60) + (s % 60) * (1.0 / 3600)) * (1.0 / 24);
        ASSERT_EQ(nav::FormatTimeOfDay(fraction), expected) << s;
    }
}

TEST(ComputeGmst, AtJ2000IsTheIauSiderealTime) {
    nav::ClockState clock;
    clock.utcDay = 730135;
    clock.utcFraction = 0.5;
    nav::ComputeGmst(clock);
    EXPECT_NEAR(nav::Degrees(std::fmod(clock.gmst, 2 * nav::kPi)), 280.4606, 0.00005);
    // A day later: whole turns drop out of the day term, leaving the 0.9856 degrees a solar day gains.
    nav::ClockState next = clock;
    next.utcDay += 1;
    nav::ComputeGmst(next);
    EXPECT_NEAR(nav::Degrees(next.gmst - clock.gmst), 0.9856, 0.0001);
}

TEST(ReadClock, ManualModeDerivesUtcFromTheLocalClockAndTheOffset) {
    const FakeClock clock(2004, 12, 31, 20, 30, 0, 300);  // local 2005-01-01 01:30:00 at UTC+5
    nav::ClockState state;
    nav::ReadClock(state, clock, false, 5.0);
    EXPECT_EQ(state.year, 2005);
    EXPECT_EQ(state.hour, 1);
    EXPECT_EQ(state.localDay, nav::DayNumber(2005, 1, 1));
    EXPECT_EQ(state.utcDay, nav::DayNumber(2004, 12, 31));
    EXPECT_NEAR(state.utcFraction, 20.5 / 24, 1e-9);
    EXPECT_EQ(nav::ClockText(state, clock, true, false, 5.0), "2004 Dec 31 [Fri]  20:30:00");
}

TEST(ReadClock, AutomaticModeLeavesTheLocalDayAlone) {
    const FakeClock clock(2005, 9, 21, 17, 15, 0, -240);
    nav::ClockState state;
    state.localDay = 12345;
    state.localFraction = 0.25;
    nav::ReadClock(state, clock, true, -4.0);
    EXPECT_EQ(state.utcDay, 732225);
    EXPECT_NEAR(state.utcFraction, 0.71875, 1e-15);
    EXPECT_EQ(state.hour, 17);
    EXPECT_EQ(state.localDay, 12345);
    EXPECT_EQ(state.localFraction, 0.25);
}

TEST(LocalAndUtc, ConvertBothWaysAcrossMidnight) {
    nav::ClockState clock;
    clock.utcDay = 732225;
    clock.utcFraction = 0.1;
    nav::UtcToLocal(clock, -5.0);
    EXPECT_EQ(clock.localDay, 732224);
    EXPECT_NEAR(clock.localFraction, 0.1 + 19.0 / 24, 1e-12);
    clock.utcDay = 0;
    clock.utcFraction = 0;
    nav::LocalToUtc(clock, -5.0);
    EXPECT_EQ(clock.utcDay, 732225);
    EXPECT_NEAR(clock.utcFraction, 0.1, 1e-12);
    clock.localFraction = 0.95;
    nav::LocalToUtc(clock, -5.0);
    EXPECT_EQ(clock.utcDay, 732225);
    EXPECT_NEAR(clock.utcFraction, 0.95 + 5.0 / 24 - 1, 1e-12);

    // Many days in one step: 1e6 hours is 41666 days and 16 hours.
    nav::UtcToLocal(clock, 1e6);
    EXPECT_EQ(clock.localDay, 732225 + 41666);
    EXPECT_NEAR(clock.localFraction, clock.utcFraction + 16.0 / 24, 1e-9);
    // An offset beyond every calendar ends at the end of the day numbers instead of stepping for ever.
    for (const double hours : {1e308, -1e308}) {
        nav::UtcToLocal(clock, hours);
        EXPECT_EQ(clock.localDay, hours > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min());
        nav::LocalToUtc(clock, hours);
        EXPECT_EQ(clock.utcDay, hours > 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max());
    }
}

TEST(AutoClockOffset, WholeAndHalfHourZones) {
    EXPECT_DOUBLE_EQ(nav::AutoClockOffset(FakeClock(2005, 9, 21, 17, 15, 0, -300)), -5.0);
    EXPECT_DOUBLE_EQ(nav::AutoClockOffset(FakeClock(2005, 9, 21, 17, 15, 0, 330)), 5.5);
    EXPECT_DOUBLE_EQ(nav::AutoClockOffset(FakeClock(2005, 9, 21, 23, 50, 0, 330)), 5.5);  // local date ahead
    EXPECT_DOUBLE_EQ(nav::AutoClockOffset(FakeClock(2005, 9, 21, 0, 10, 0, -300)), -5.0);  // local date behind
    EXPECT_DOUBLE_EQ(nav::AutoClockOffset(FakeClock(2005, 9, 21, 12, 0, 0, 0)), 0.0);
}

TEST(ClockText, LayoutForEveryDisplayAndClockChoice) {
    const FakeClock clock(2005, 9, 21, 14, 3, 9, -240);  // local 10:03:09
    nav::ClockState state;
    const std::string utcAuto = nav::ClockText(state, clock, true, true, -4.0);
    const std::string localAuto = nav::ClockText(state, clock, false, true, -4.0);
    const std::string localManual = nav::ClockText(state, clock, false, false, -4.0);
    const std::string utcManual = nav::ClockText(state, clock, true, false, -4.0);
    EXPECT_EQ(utcAuto, "2005 Sep 21 [Wed]  14:03:09");
    EXPECT_EQ(localAuto, "2005 Sep 21 [Wed]  10:03:09");
    EXPECT_EQ(localManual, localAuto);
    EXPECT_EQ(utcManual, utcAuto);
    for (const std::string& text : {utcAuto, localAuto, utcManual}) {
        ASSERT_EQ(text.size(), 27u);
        EXPECT_EQ(text.substr(17, 2), "  ");
        EXPECT_EQ(text[21], ':');
        EXPECT_EQ(text[24], ':');
    }
    // In manual mode the UTC text is derived from the local clock and the offset, whatever the system says.
    EXPECT_EQ(nav::ClockText(state, clock, true, false, -3.0), "2005 Sep 21 [Wed]  13:03:09");
}

}  // namespace
