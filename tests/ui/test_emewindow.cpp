// The EME window's labels from the figures of the cycle: first pass, receding and approaching Moon,
// path loss and echo delay, and the window's own life (hidden, not destroyed; position on close).
#include <gtest/gtest.h>

#include <QTest>

#include "app/radio/radiofollower.h"
#include "app/settings/settingsstore.h"
#include "navlib/eme.h"
#include "tests/support/fakeclock.h"
#include "ui/emewindow.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

QStringList DopplerTexts(const TSMForm4& w) {
    QStringList texts;
    for (const RightAlignedLabel* label : w.doppler) texts << label->text();
    return texts;
}

// Two passes one clock second apart, the Moon moving by `kmPerSecond`.
nav::EmeFigures TwoPasses(double distance, double kmPerSecond) {
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, 43200.0 / 86400, distance);
    nav::ComputeEmeFigures(eme, 43201.0 / 86400, distance + kmPerSecond);
    return eme;
}

TEST(EmeWindow, FirstPassShowsZeroRangeRateAndDoppler) {
    MemorySettingsStore store;
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, 0.71875, 381371.1);
    TSMForm4 w(eme, store);
    EXPECT_EQ(w.rangeRate->text(), "0.000");
    EXPECT_EQ(DopplerTexts(w), (QStringList{"0", "0", "0", "0", "0"}));
}

TEST(EmeWindow, DopplerOfARecedingAndAnApproachingMoon) {
    MemorySettingsStore store;
    nav::EmeFigures eme = TwoPasses(384400, 0.5);
    TSMForm4 w(eme, store);
    EXPECT_EQ(w.rangeRate->text(), "0.500");
    EXPECT_EQ(DopplerTexts(w), (QStringList{"-480", "-1451", "-4323", "-7739", "-34584"}));

    eme = TwoPasses(384400, -0.3);
    w.Timer1Timer();
    EXPECT_EQ(w.doppler[4]->text(), "20750");
    EXPECT_EQ(w.rangeRate->text(), "-0.300");
}

TEST(EmeWindow, PathLossAndEchoDelay) {
    MemorySettingsStore store;
    nav::EmeFigures eme;
    nav::ComputeEmeFigures(eme, 0.5, 384400);
    TSMForm4 w(eme, store);
    EXPECT_EQ(w.pathLoss->text(), "-1.31");
    EXPECT_EQ(w.echoDelay->text(), "2.56");
    nav::ComputeEmeFigures(eme, 0.5 + 1.0 / 86400, 406000);
    w.Timer1Timer();
    EXPECT_EQ(w.pathLoss->text(), "-2.26");
    EXPECT_EQ(w.echoDelay->text(), "2.71");
}

TEST(EmeWindow, TheCycleKeepsTheRangeRateContinuousOverMidnight) {
    test::FakeClock clock(2005, 9, 21, 23, 59, 58);
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();
    TSMForm1 main(station);
    clock.advance(1);
    main.Timer1Timer();
    const double before = state.eme.moonRangeRate;
    clock.advance(1);
    main.Timer1Timer();
    EXPECT_NEAR(state.eme.cycleSeconds, 1.0, 1e-6);
    EXPECT_NEAR(state.eme.moonRangeRate, before, 0.01);
    EXPECT_GT(std::abs(state.eme.moonRangeRate), 0.01);
}

TEST(EmeWindow, LayoutCloseButtonAndStoredPosition) {
    MemorySettingsStore store;
    nav::EmeFigures eme;
    TSMForm4 w(eme, store);
    EXPECT_EQ(w.windowTitle(), "  EME");
    EXPECT_EQ(w.size(), QSize(237, 314));
    EXPECT_FALSE(w.Timer1().isActive());  // hidden, it refreshes nothing
    EXPECT_EQ(w.rangeRate->geometry().right() + 1, 209);
    EXPECT_EQ(w.doppler[0]->geometry().right() + 1, 177);
    EXPECT_EQ(w.pos(), QPoint(20, 20));
    EXPECT_EQ(w.parentWidget(), nullptr);
    // The radio's line: a lost radio in the warning colour, black again once it answers.
    EXPECT_EQ(w.radioStatus->text(), kRadioOffText);
    w.showRadio(kRadioNotReachable, true);
    EXPECT_EQ(TextColour(*w.radioStatus), kWarningColour);
    w.showRadio(QStringLiteral("Radio: RX 1296.047040 (-2960 Hz)  TX 1296.050000 (0 Hz)  Own Echo"), false);
    EXPECT_EQ(TextColour(*w.radioStatus), QColor(0, 0, 0));

    eme.moonRangeRate = 0.25;
    w.show();
    EXPECT_EQ(w.rangeRate->text(), "0.250");  // the latest figures as it comes into sight
    EXPECT_TRUE(w.Timer1().isActive());
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(store.read(kPositionsGroup, "Form4.Top"), "");  // "Close" stores nothing

    w.show();
    w.showMinimized();
    w.close();
    EXPECT_EQ(store.read(kPositionsGroup, "Form4.Top"), "");

    w.showNormal();
    w.move(70, 90);
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(store.read(kPositionsGroup, "Form4.Left"), QString::number(w.pos().x()));
    EXPECT_FALSE(w.Timer1().isActive());
}

TEST(EmeWindow, APositionOffEveryScreenIsNotUsed) {
    MemorySettingsStore store;
    store.write(kPositionsGroup, "Form4.Top", "-5000");
    store.write(kPositionsGroup, "Form4.Left", "-5000");
    nav::EmeFigures eme;
    TSMForm4 away(eme, store);
    EXPECT_EQ(away.pos(), QPoint(20, 20));
    store.write(kPositionsGroup, "Form4.Top", "60");
    store.write(kPositionsGroup, "Form4.Left", "90");
    TSMForm4 onScreen(eme, store);
    EXPECT_EQ(onScreen.pos(), QPoint(90, 60));
}

}  // namespace
}  // namespace skyrel
