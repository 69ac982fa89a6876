// EME figures over successive cycles: range rate, Doppler, path loss, echo delay, as the window shows them.
#include <gtest/gtest.h>

#include "navlib/eme.h"
#include "navlib/formatfixed.h"

namespace {

// Fraction of the day at hh:mm:ss, as the clock gives it.
double FractionAt(int h, int m, int s) { return (h + m * (1.0 / 60) + s * (1.0 / 3600)) * (1.0 / 24); }

// Two passes one second apart with the given distances.
nav::EmeFigures TwoPasses(double firstKm, double secondKm) {
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, FractionAt(12, 0, 0), firstKm);
    nav::ComputeEmeFigures(eme, FractionAt(12, 0, 1), secondKm);
    return eme;
}

TEST(EmeFigures, FirstPassShowsNoRangeRateAndNoDoppler) {
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, FractionAt(17, 15, 0), 381371);
    EXPECT_EQ(nav::formatFixed(eme.moonRangeRate, 4, 3), "0.000");
    for (double shift : eme.dopplerShift) EXPECT_EQ(nav::formatFixed(shift, 5, 0), "0");
    EXPECT_EQ(eme.prevMoonDistance, 381371);
}

TEST(EmeFigures, ARecedingMoonShiftsEveryBandDown) {
    const nav::EmeFigures eme = TwoPasses(384400, 384400.5);
    EXPECT_NEAR(eme.moonRangeRate, 0.5, 1e-9);
    const char* expected[] = {"-480", "-1451", "-4323", "-7739", "-34584"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(nav::formatFixed(eme.dopplerShift[i], 5, 0), expected[i]) << i;
}

TEST(EmeFigures, AnApproachingMoonShiftsUp) {
    const nav::EmeFigures eme = TwoPasses(384400, 384399.7);
    EXPECT_EQ(nav::formatFixed(eme.dopplerShift[4], 5, 0), "20750");
    EXPECT_EQ(nav::formatFixed(eme.moonRangeRate, 4, 3), "-0.300");
}

TEST(EmeFigures, PathLossAndEchoDelayAtTwoDistances) {
    nav::EmeFigures eme = TwoPasses(384400, 384400);
    EXPECT_EQ(nav::formatFixed(eme.pathLossVsPerigee, 3, 2), "-1.31");
    EXPECT_EQ(nav::formatFixed(eme.echoDelay, 3, 2), "2.56");
    eme = TwoPasses(406000, 406000);
    EXPECT_EQ(nav::formatFixed(eme.pathLossVsPerigee, 3, 2), "-2.26");
    EXPECT_EQ(nav::formatFixed(eme.echoDelay, 3, 2), "2.71");
    eme = TwoPasses(356400, 356400);
    EXPECT_EQ(eme.pathLossVsPerigee, 0);
}

TEST(EmeFigures, MidnightCountsAsOneSecondAndKeepsTheRangeRate) {
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, FractionAt(23, 59, 58), 384400);
    nav::ComputeEmeFigures(eme, FractionAt(23, 59, 59), 384400.4);
    const double before = eme.moonRangeRate;
    nav::ComputeEmeFigures(eme, FractionAt(0, 0, 0), 384400.8);
    EXPECT_NEAR(eme.cycleSeconds, 1, 1e-6);
    EXPECT_NEAR(eme.moonRangeRate, before, 1e-6);
    EXPECT_NEAR(eme.moonRangeRate, 0.4, 1e-6);
}

TEST(EmeFigures, AMissedTickSpreadsTheChangeOverBothSeconds) {
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, FractionAt(8, 0, 0), 384400);
    nav::ComputeEmeFigures(eme, FractionAt(8, 0, 2), 384401);
    EXPECT_NEAR(eme.cycleSeconds, 2, 1e-6);
    EXPECT_NEAR(eme.moonRangeRate, 0.5, 1e-6);
}

// A click on km/mi or a Save runs an extra cycle inside the same clock second: the figures stand.
TEST(EmeFigures, ASecondPassInTheSameClockSecondKeepsTheFigures) {
    nav::EmeFigures eme = TwoPasses(384400, 384400.5);
    nav::ComputeEmeFigures(eme, FractionAt(12, 0, 1), 384400.5);
    EXPECT_NEAR(eme.cycleSeconds, 1, 1e-6);
    EXPECT_NEAR(eme.moonRangeRate, 0.5, 1e-9);
    EXPECT_EQ(nav::formatFixed(eme.dopplerShift[0], 5, 0), "-480");
    nav::ComputeEmeFigures(eme, FractionAt(12, 0, 2), 384401.5);
    EXPECT_NEAR(eme.moonRangeRate, 1.0, 1e-9);  // the next second measures from the last pass
}

}  // namespace
