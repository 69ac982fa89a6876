// The main window at a known instant and site, its display switches, the cycle's clock labels and
// rise/set search, start-up errors and the stored window position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include "app/settings/settingsstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/uitest.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// 2005-09-21 17:15:00 UTC at 38.02 N, 78.63 W, 100 m: the default site of an empty store.
class MainWindowTest : public ::testing::Test {
protected:
    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();

    std::unique_ptr<TSMForm1> Open() { return std::make_unique<TSMForm1>(station); }
};

using test::FindMessageBox;

TEST_F(MainWindowTest, WorkedExampleInAllThreeCoordinateDisplays) {
    auto w = Open();
    EXPECT_EQ(w->Label1->text(), "Observer");
    EXPECT_EQ(w->Label2->text(), "Lat: 38.02   Lon: -78.63");
    EXPECT_EQ(w->Label4->text(), "2005 Sep 21 [Wed]");
    EXPECT_EQ(w->Label5->text(), "17:15:00 (UTC)");

    EXPECT_EQ(w->Label7->text(), "Azimuth:");
    EXPECT_EQ(w->Label9->text(), "Elevation:");
    EXPECT_EQ(w->Label8->text(), "183.08");
    EXPECT_EQ(w->Label10->text(), "52.42");  // 52.41 geometric, refraction added
    EXPECT_EQ(w->Label23->text(), "317.25");
    EXPECT_EQ(w->Label25->text(), "-20.69");
    EXPECT_EQ(w->Label8->textColour(), kRed);
    EXPECT_EQ(w->Label25->textColour(), kBlack);

    EXPECT_EQ(w->Label12->text(), "150,087,586");
    EXPECT_EQ(w->Label27->text(), "381,371");
    EXPECT_EQ(w->Label29->text(), "135.4 v");
    EXPECT_EQ(w->Label40->text(), "47/256");
    EXPECT_EQ(w->Label5->toolTip(), " Click to switch from LOCAL to UTC display. ");
    EXPECT_EQ(w->Label10->toolTip(), "  Click to switch between Az/El, RA/Dec, LHA/Dec  ");
    EXPECT_EQ(w->Label40->toolTip(), " Perigee = 0, Apogee = 128 ");

    QTest::mouseClick(w->Label23, Qt::LeftButton);  // any coordinate value switches both panels
    EXPECT_EQ(w->Label7->text(), "Right Asc:");
    EXPECT_EQ(w->Label22->text(), "Right Asc:");
    EXPECT_EQ(w->Label24->text(), "Declination:");
    EXPECT_EQ(w->Label8->text(), "11:55:41");
    EXPECT_EQ(w->Label10->text(), "0.47");
    EXPECT_EQ(w->Label23->text(), "02:51:49");
    EXPECT_EQ(w->Label25->text(), "18.88");

    QTest::mouseClick(w->Label10, Qt::LeftButton);
    EXPECT_EQ(w->Label7->text(), "Loc.Hr.Ang:");
    EXPECT_EQ(w->Label8->text(), "1.88");
    EXPECT_EQ(w->Label23->text(), "137.84");
    EXPECT_EQ(w->Label25->text(), "18.88");

    QTest::mouseClick(w->Label8, Qt::LeftButton);
    EXPECT_EQ(w->coordinateDisplay(), CoordinateDisplay::AzEl);
    EXPECT_EQ(w->Label8->text(), "183.08");
}

TEST_F(MainWindowTest, RiseSetRowsOfBothPanels) {
    auto w = Open();
    const auto rows = [](QLabel* c1, QLabel* t1, QLabel* c2, QLabel* t2, QLabel* tc, QLabel* tt, QLabel* mm) {
        return QStringList{c1->text(), t1->text(), c2->text(), t2->text(), tc->text(), tt->text(), mm->text()};
    };
    EXPECT_EQ(rows(w->Label13, w->Label14, w->Label15, w->Label16, w->Label17, w->Label18, w->Label20),
              (QStringList{"Rise (UTC):", " 11:01", "Set (UTC):", "23:12", "Transit (UTC):", "17:07", "52.4 / -51.3"}));
    EXPECT_EQ(rows(w->Label30, w->Label31, w->Label32, w->Label33, w->Label34, w->Label35, w->Label37),
              (QStringList{"Rise (UTC):", "00:41", "Set (UTC):", "15:03", "Transit (UTC):", "07:46", "69.2 / -32.6"}));
    // Every value keeps its right edge at x = 153 of its panel.
    for (QLabel* value : {static_cast<QLabel*>(w->Label8), static_cast<QLabel*>(w->Label12),
                          static_cast<QLabel*>(w->Label14), static_cast<QLabel*>(w->Label37)})
        EXPECT_EQ(value->geometry().right() + 1, 153) << value->objectName().toStdString();
}

TEST_F(MainWindowTest, DistancesSwitchBetweenKilometresAndMilesAtOnce) {
    auto w = Open();
    const int cycles = w->cycleCount();
    QTest::mouseClick(w->Label27, Qt::LeftButton);
    EXPECT_EQ(w->cycleCount(), cycles + 1);
    EXPECT_EQ(w->Label11->text(), "Dist (mi):");
    EXPECT_EQ(w->Label26->text(), "Dist (mi):");
    EXPECT_EQ(w->Label12->text(), "93,259,821");
    EXPECT_EQ(w->Label27->text(), "236,972");
    EXPECT_DOUBLE_EQ(state.sky.moon.distance, 381371.1226213465);  // the shared distance stays in km
    QTest::mouseClick(w->Label12, Qt::LeftButton);
    EXPECT_EQ(w->Label11->text(), "Dist (km):");
    EXPECT_EQ(w->Label27->text(), "381,371");
}

TEST_F(MainWindowTest, StartUpRunsTheCycleTwiceThenOnceASecond) {
    auto w = Open();
    EXPECT_EQ(w->cycleCount(), 2);
    EXPECT_TRUE(w->Timer1().isActive());
    EXPECT_EQ(w->Timer1().interval(), 1000);
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->cycleCount() >= 3; }, 5000));
}

TEST_F(MainWindowTest, LocalDisplayFollowsTheZoneAndSearchesTheLocalDay) {
    clock.setUtcOffsetMinutes(330);
    auto w = Open();
    EXPECT_DOUBLE_EQ(state.settings.clockOffset, 5.5);
    QTest::mouseClick(w->Label5, Qt::LeftButton);
    EXPECT_FALSE(state.showUtc);
    // The rise/set rows change at once; the date and time labels at the next cycle.
    EXPECT_TRUE(w->Label13->text().endsWith("(LOC):"));
    EXPECT_TRUE(w->Label15->text().endsWith("(LOC):"));
    EXPECT_EQ(w->Label17->text(), "Transit (LOC):");
    EXPECT_EQ(w->Label34->text(), "Transit (LOC):");
    EXPECT_EQ(w->Label5->text(), "17:15:00 (UTC)");
    w->Timer1Timer();
    EXPECT_EQ(w->Label4->text(), "2005 Sep 21 [Wed]");
    EXPECT_EQ(w->Label5->text(), "22:45:00 (LOC)");
    clock.setUtcOffsetMinutes(-300);
    w->Timer1Timer();
    EXPECT_EQ(w->Label5->text(), "12:15:00 (LOC)");
}

TEST_F(MainWindowTest, ManualClockShowsUtcDerivedFromTheLocalClock) {
    store.write(kOptionsGroup, "Auto Time", "false");
    store.write(kOptionsGroup, "TimeOff", "5.0");
    clock.setUtc(2004, 12, 31, 20, 30, 0);
    clock.setUtcOffsetMinutes(300);
    auto w = Open();
    EXPECT_EQ(w->Label4->text(), "2004 Dec 31 [Fri]");
    EXPECT_EQ(w->Label5->text(), "20:30:00 (UTC)");
    EXPECT_EQ(state.sky.clock.utcDay, 731961);
}

TEST_F(MainWindowTest, AMidnightRollOverSearchesTheNewDay) {
    clock.setUtc(2005, 9, 21, 23, 59, 59);
    auto w = Open();
    const QString moonTransit = w->Label35->text();
    EXPECT_EQ(moonTransit, "07:46");
    clock.advance(1);
    w->Timer1Timer();
    EXPECT_EQ(w->Label4->text(), "2005 Sep 22 [Thu]");
    EXPECT_EQ(w->Label5->text(), "00:00:00 (UTC)");
    EXPECT_NE(w->Label35->text(), moonTransit);
    EXPECT_TRUE(w->Timer1().isActive());
    // The search restores the present: the cycle's own figures are those of the new second.
    EXPECT_EQ(state.sky.clock.utcDay, 732226);
    EXPECT_EQ(state.sky.clock.utcFraction, 0);
}

TEST_F(MainWindowTest, AStoredNumberThatFailsShowsTheMessageAndTheProgramRuns) {
    store.write(kOptionsGroup, "Observer Latitude", "abc");
    store.write(kOptionsGroup, "Com Port", "0");
    store.write(kOptionsGroup, "Output Format", "Nova");
    auto w = Open();
    QMessageBox* box = FindMessageBox("ErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Observer Latitude in memory: 'abc' is not a valid floating point value; using 38.02");
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(w->Timer1().isActive());
    EXPECT_EQ(w->Label4->text(), "2005 Sep 21 [Wed]");
    // Read after the failure as stored: the format, and port 0, so tracking goes to the endpoint.
    EXPECT_DOUBLE_EQ(state.settings.site.latitude, 38.02);
    EXPECT_EQ(state.settings.outputFormat, "Nova");
    w->Sun1->trigger();
    EXPECT_TRUE(state.tracking.trackingActive);
    EXPECT_TRUE(state.tracking.ddeOutput);
    EXPECT_EQ(FindMessageBox("PortFailureBox"), nullptr);
}

TEST_F(MainWindowTest, ValuesTurnBlueInTwilight) {
    auto w = Open();
    EXPECT_EQ(w->Label23->textColour(), kBlack);
    // The Moon rises at 00:41 UTC on the next day's search; step back from rise-time until it is in twilight.
    clock.setUtc(2005, 9, 21, 0, 0, 0);
    for (int minute = 0; minute < 60 && !(state.sky.moon.elevation < 0 && state.sky.moon.elevation > -6); ++minute) {
        clock.advance(60);
        w->Timer1Timer();
    }
    ASSERT_GT(state.sky.moon.elevation, -6);
    ASSERT_LT(state.sky.moon.elevation, 0);
    EXPECT_EQ(w->Label23->textColour(), QColor(0, 0, 255));
    EXPECT_EQ(w->Label25->textColour(), QColor(0, 0, 255));
    EXPECT_EQ(w->Label7->palette().color(QPalette::WindowText), kBlack);
}

TEST_F(MainWindowTest, AboutBoxHasItsLinesAndSaysWhereDut1CameFrom) {
    auto w = Open();
    w->About1Click();
    QMessageBox* box = FindMessageBox("AboutBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Skyrel");
    const QStringList lines = box->text().split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Skyrel ver# 5.5  Sun-Moon Tracker");
    EXPECT_TRUE(lines[1].startsWith(QString(11, ' ')) && lines[1][11] != ' ');
    EXPECT_TRUE(lines[2].startsWith(QString(6, ' ')) && lines[2][6] != ' ');
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "        Last update 2005-09-21");
    EXPECT_EQ(lines[5], "        Standard ephemeris");
    EXPECT_EQ(lines[6], "        DUT1 0.0000 s, stored (no IERS file named)");
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    box->close();
}

// The menu item switches the positions at once, keeps the range rate sane across the switch, is stored,
// and comes back checked at the next start; the About box names the ephemeris in use.
TEST_F(MainWindowTest, PreciseEphemerisSwitchesAtOnceAndIsStored) {
    {
        auto w = Open();
        w->Timer1().stop();
        EXPECT_FALSE(w->PreciseEphemeris1->isChecked());
        const double standardMoonAzimuth = state.sky.moon.azimuth;
        w->PreciseEphemeris1->trigger();
        EXPECT_TRUE(w->PreciseEphemeris1->isChecked());
        EXPECT_EQ(store.read(kOptionsGroup, "Ephemeris"), "Precise");
        EXPECT_EQ(state.settings.site.ephemeris, nav::Ephemeris::Precise);
        clock.advance(1);
        w->Timer1Timer();
        // The series is off by up to 0.13 deg for the Moon; a second of motion is 0.004 deg.
        EXPECT_NE(state.sky.moon.azimuth, standardMoonAzimuth);
        EXPECT_NEAR(state.sky.moon.azimuth, standardMoonAzimuth, 0.2);
        // The Moon's range rate never exceeds 1.2 km/s; the two ephemerides' distances differ by hundreds of km.
        EXPECT_LT(std::abs(state.eme.moonRangeRate), 1.2);
        w->About1Click();
        QMessageBox* box = FindMessageBox("AboutBox");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->text().contains("\r\n        Precise ephemeris\r\n"));
        box->close();
    }
    auto again = Open();
    EXPECT_TRUE(again->PreciseEphemeris1->isChecked());
    again->PreciseEphemeris1->trigger();
    EXPECT_EQ(store.read(kOptionsGroup, "Ephemeris"), "Standard");
    EXPECT_EQ(state.settings.site.ephemeris, nav::Ephemeris::Standard);
}

TEST_F(MainWindowTest, PositionIsStoredOnlyWhenClosedInTheNormalState) {
    {
        auto w = Open();
        w->show();
        w->showMinimized();
        w->close();
        EXPECT_EQ(store.read(kPositionsGroup, "Form1.Top"), "");
    }
    auto w = Open();
    w->show();
    w->move(40, 60);
    w->close();
    EXPECT_EQ(store.read(kPositionsGroup, "Form1.Left"), QString::number(w->pos().x()));
    EXPECT_EQ(store.read(kPositionsGroup, "Form1.Top"), QString::number(w->pos().y()));
}

TEST_F(MainWindowTest, MenusCarryTheirItems) {
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Skyrel / Brenlo");
    // Left to right on the bar, top to bottom in each menu.
    const QList<QAction*> bar = w->menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0]->text(), "Menu");
    EXPECT_EQ(bar[2]->text(), "Track");
    ASSERT_NE(bar[0]->menu(), nullptr);
    ASSERT_NE(bar[2]->menu(), nullptr);
    EXPECT_EQ(bar[0]->menu()->actions(),
              (QList<QAction*>{w->Exit1, w->MapSetup1, w->Map1, w->EME1, w->Planner1, w->PreciseEphemeris1,
                               w->Rotator1, w->Radio1, w->WebPage1, w->Calibration1}));
    const QList<QAction*> track = bar[2]->menu()->actions();
    ASSERT_EQ(track.size(), 5);
    EXPECT_EQ(track.first(4), (QList<QAction*>{w->Sun1, w->Moon1, w->Park1, w->off1}));
    ASSERT_NE(track[4]->menu(), nullptr);
    const QList<QAction*> sources = track[4]->menu()->actions();
    EXPECT_EQ(sources, (QList<QAction*>(w->sourceActions.begin(), w->sourceActions.end())));
    QStringList texts;
    for (QAction* item : bar[0]->menu()->actions() + track + sources) texts << item->text();
    EXPECT_EQ(texts, (QStringList{"Exit", "Setup", "Map", "EME", "EME Planner", "Precise Ephemeris",
                                  QStringLiteral("Rotator…"), QStringLiteral("Radio…"), QStringLiteral("Web Page…"),
                                  "Calibration", "Sun", "Moon", "Park", "off", "Source", "Cas A", "Cyg A", "Tau A",
                                  "Vir A"}));
    // "About" has no menu: the item on the bar acts itself.
    EXPECT_EQ(bar[1], w->About1);
    EXPECT_EQ(w->About1->text(), "About");
    EXPECT_EQ(w->About1->menu(), nullptr);
    w->About1->trigger();
    EXPECT_NE(FindMessageBox("AboutBox"), nullptr);
    // The Track items carry tick marks, and only "off" is ticked at start.
    for (QAction* item : track.first(4) + sources) EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(w->off1->isChecked());
    EXPECT_FALSE(w->Sun1->isChecked() || w->Moon1->isChecked() || w->Park1->isChecked());
    for (QAction* item : sources) EXPECT_FALSE(item->isChecked());

    // A source chosen is stored and tracked, and only its item ticked; the Sun takes the tick away.
    state.settings.comPort = 0;
    state.tracking.ddeOutput = true;
    sources[3]->trigger();
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Source);
    EXPECT_EQ(state.settings.source, nav::RadioSource::VirA);
    EXPECT_EQ(store.read(kOptionsGroup, "Source"), "vira");
    EXPECT_TRUE(sources[3]->isChecked());
    EXPECT_FALSE(sources[0]->isChecked() || w->off1->isChecked());
    sources[1]->trigger();
    EXPECT_TRUE(sources[1]->isChecked());
    EXPECT_FALSE(sources[3]->isChecked());
    w->Sun1->trigger();
    EXPECT_TRUE(w->Sun1->isChecked());
    for (QAction* item : sources) EXPECT_FALSE(item->isChecked());
}

TEST_F(MainWindowTest, ObserverPanelOfASiteFarEastAndSouth) {
    store.write(kOptionsGroup, "Observer Latitude", "-33.87");
    store.write(kOptionsGroup, "Observer Longitude", "151.21");
    store.write(kOptionsGroup, "Observer Name", "SYDNEY");
    auto w = Open();
    EXPECT_EQ(w->Label1->text(), "SYDNEY");
    EXPECT_EQ(w->Label2->text(), "Lat: -33.87   Lon: 151.21");
}

}  // namespace
}  // namespace skyrel
