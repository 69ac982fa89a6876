// EME figures over successive cycles: range rate, Doppler, path loss, echo delay, as the window shows them.
#include <gtest/gtest.h>

#include "navlib/eme.h"
#include "navlib/formatfixed.h"
#include "navlib/planner.h"
#include "navlib/radiodoppler.h"

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

// Worked by hand at 1296 MHz with the Moon receding from home at 0.5 km/s and approaching the DX at
// 0.2 km/s, c = 299792.5 km/s: d1 = -1296e6 * 0.5 / c = -2161.4950 Hz, ds = -4322.9901 Hz,
// dx1 = +864.5980 Hz, dd = -1296.8970 Hz. Each convention's pair follows from those four.
TEST(RadioDoppler, TheFiveConventionsAtAWorkedRangeRate) {
    const nav::MoonDoppler d = nav::MoonDopplerAt(1296e6, 0.5, -0.2);
    constexpr double kHz = 1e-3;  // the hand figures carry four decimals
    EXPECT_NEAR(d.ownOneWay, -2161.4950, kHz);
    EXPECT_NEAR(d.ownEcho, -4322.9901, kHz);
    EXPECT_NEAR(d.dxOneWay, 864.5980, kHz);
    EXPECT_NEAR(d.cross, -1296.8970, kHz);
    const struct {
        nav::RadioMode mode;
        double receive, transmit;
        bool needsDx;
    } modes[] = {{nav::RadioMode::Off, 0, 0, false},
                 {nav::RadioMode::OwnEcho, -4322.9901, 0, false},
                 {nav::RadioMode::ConstantOnMoon, -2161.4950, 2161.4950, false},
                 {nav::RadioMode::FullToDx, -1296.8970, 1296.8970, true},
                 {nav::RadioMode::OnDxEcho, -1296.8970, 3026.0930, true},
                 {nav::RadioMode::CallDx, 0, 4322.9901, true}};
    for (const auto& m : modes) {
        EXPECT_NEAR(nav::ReceiveCorrection(m.mode, d), m.receive, kHz) << int(m.mode);
        EXPECT_NEAR(nav::TransmitCorrection(m.mode, d), m.transmit, kHz) << int(m.mode);
        EXPECT_EQ(nav::NeedsDxStation(m.mode), m.needsDx) << int(m.mode);
    }
    // The same shifts as the planner shows on its 1296 MHz column (band index 2).
    EXPECT_DOUBLE_EQ(d.ownEcho, nav::EchoDoppler(0.5)[2]);
    EXPECT_DOUBLE_EQ(d.cross, nav::CrossDoppler(0.5, -0.2)[2]);
}

// 10368.1 MHz on a 144 MHz radio, own echo at 0.5 km/s receding (ds = -34584.2541 Hz): through a
// 10224 MHz LO the dial is 144.0654157 MHz; through an inverting 10512 MHz LO it is 143.9345843 MHz.
// Rounded to 10 Hz, the dial read back gives the sky frequency within half a step.
TEST(RadioDoppler, DialThroughAConverterAndBack) {
    const double sky = 10368.1e6;
    const double correction = nav::MoonDopplerAt(sky, 0.5, 0).ownEcho;
    EXPECT_NEAR(correction, -34584.2541, 1e-3);
    const struct {
        nav::Converter converter;
        double dial;
    } cases[] = {{{10224e6, false}, 144065420}, {{10512e6, true}, 143934580}, {{0, false}, 10368065420}};
    for (const auto& c : cases) {
        const double dial = nav::DialOf(sky, correction, c.converter, 10);
        EXPECT_DOUBLE_EQ(dial, c.dial) << c.converter.loHz;
        EXPECT_NEAR(nav::SkyOfDial(dial, correction, c.converter), sky, 5) << c.converter.loHz;
    }
    EXPECT_NEAR(nav::DialOf(sky, correction, {10224e6, false}, 0), 144065415.7459, 1e-3);
}

}  // namespace
