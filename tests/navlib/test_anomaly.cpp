// The lunar anomaly phase in 256ths of the anomalistic month.
#include <gtest/gtest.h>

#include "navlib/anomaly.h"
#include "navlib/timecal.h"

namespace {

TEST(AnomalyPhase, WorkedExamples) {
    EXPECT_NEAR(nav::AnomalyPhase(732225, 0.5), 45.37, 0.005);  // 2005 Sep 21, 12h UT, k = 76
    EXPECT_NEAR(nav::AnomalyPhase(730135, 0.5), 93.00, 0.005);  // 2000 Jan 1, 12h UT, k = 0
    EXPECT_NEAR(nav::AnomalyPhase(nav::DayNumber(2000, 12, 13), 0.5), 264.5, 0.05);
}

TEST(AnomalyPhase, StaysBetweenZeroAnd264AndExceeds256OnAboutEightyDays) {
    int daysAbove256 = 0;
    for (int day = nav::DayNumber(1995, 1, 1); day <= nav::DayNumber(2030, 12, 31); ++day) {
        const double phase = nav::AnomalyPhase(day, 0.5);
        ASSERT_GE(phase, 0) << day;
        ASSERT_LT(phase, 264.6) << day;
        daysAbove256 += phase > 256;
    }
    EXPECT_GT(daysAbove256, 60);
    EXPECT_LT(daysAbove256, 100);
}

TEST(AnomalyPhase, GrowsSteadilyWithinAPerigeePeriod) {
    // One hour is 256 / 27.55454988 / 24 of a unit; the series does not change k within these hours.
    const double perHour = 256 / 27.55454988 / 24;
    const int day = 732225;
    for (int hour = 1; hour < 24; ++hour) {
        const double step = nav::AnomalyPhase(day, hour / 24.0) - nav::AnomalyPhase(day, (hour - 1) / 24.0);
        EXPECT_NEAR(step, perHour, 1e-7) << hour;  // JD near 2.45e6 resolves 4e-10 day
    }
}

TEST(AnomalyPhase, BeforeTheEndOf1999ANegativePhaseIsRaisedBy256) {
    // k is truncated toward zero, so early in a perigee period of 1998 the mean perigee can lie after the
    // instant; every value still comes out in [0, 256 + a few).
    for (int day = nav::DayNumber(1998, 1, 1); day <= nav::DayNumber(1999, 12, 31); ++day) {
        const double phase = nav::AnomalyPhase(day, 0);
        ASSERT_GE(phase, 0) << day;
        ASSERT_LT(phase, 264.6) << day;
    }
}

}  // namespace
