// The EME planner window: the DX entry and its recent list in the "Planner" settings, the limits boxes,
// the live figures, the windows table, the day chart against the day's windows, and the stored size.
#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings/plannersettings.h"
#include "app/settings/settingsstore.h"
#include "navlib/timecal.h"
#include "ui/displaytext.h"
#include "ui/plannerchart.h"
#include "ui/plannerwindow.h"

namespace skyrel {
namespace {

// Connecticut at FN31pr, 2026 December 19, 01:00:00 UTC: a common Moon window with Berlin is open.
struct PlannerFixture : ::testing::Test {
    PlannerFixture() {
        home.latitude = 41.729166666666667;
        home.longitude = -72.708333333333333;
        sky.clock.utcDay = nav::DayNumber(2026, 12, 19);
        sky.clock.utcFraction = 3600.0 / 86400;
    }
    nav::SkyState sky;
    nav::ObserverSite home;
    MemorySettingsStore store;
};

QLineSeries* Line(QChart* chart, const QString& name) {
    for (QAbstractSeries* s : chart->series())
        if (s->name() == name) return qobject_cast<QLineSeries*>(s);
    return nullptr;
}

// The window's two stations as navlib takes them: the DX with the home station's ephemeris.
struct Stations {
    nav::PlannerSite home, dx;
};
Stations StationsOf(const nav::ObserverSite& home, const nav::DxStation& dx) {
    return {nav::MakePlannerSite(home.latitude, home.longitude, home.height, home),
            nav::MakePlannerSite(dx.point.latitude, dx.point.longitude, dx.height, home)};
}

QList<QAreaSeries*> Areas(QChart* chart) {
    QList<QAreaSeries*> areas;
    for (QAbstractSeries* s : chart->series())
        if (auto* area = qobject_cast<QAreaSeries*>(s)) areas.append(area);
    return areas;
}

TEST_F(PlannerFixture, DxEntryRecentListLimitsAndLiveFigures) {
    PlannerWindow w(sky, home, store);
    EXPECT_FALSE(w.dxStation());
    EXPECT_TRUE(w.dxMessage->text().contains("[CALL]"));
    EXPECT_TRUE(w.homeLabel->text().contains("FN31pr")) << w.homeLabel->text().toStdString();

    w.dxBox->setEditText(QStringLiteral("dl0call jo62qm 40"));
    QTest::mouseClick(w.setDxButton, Qt::LeftButton);
    ASSERT_TRUE(w.dxStation());
    EXPECT_EQ(w.dxStation()->callSign, "DL0CALL");
    EXPECT_TRUE(w.dxMessage->text().isEmpty());
    // The window from the evening before runs to 01:17:42; the table starts with it, cut at 00:00.
    ASSERT_GE(w.windowsTable->rowCount(), 7);
    EXPECT_EQ(w.windowsTable->item(0, 0)->text(), "2026-12-19 00:00:00");
    EXPECT_EQ(w.windowsTable->item(0, 1)->text(), "2026-12-19 01:17:42");
    EXPECT_TRUE(w.dxMoonLabel->text().contains("El 2.")) << w.dxMoonLabel->text().toStdString();
    // Each figure and each window's highest elevations in their own row and column, as navlib has them.
    // The DX's own echo, and the DX maximum, differ from what belongs there, so a swap shows.
    const Stations stations = StationsOf(home, *w.dxStation());
    nav::SkyState workspace = sky;
    const nav::PlannerFigures f = nav::ComputePlannerFigures(workspace, stations.home, stations.dx, sky.clock.utcDay,
                                                             3600, ShippedSkySurvey(), w.settings().receiverKelvin);
    for (int band = 0; band < int(nav::kBandCount); ++band) {
        EXPECT_EQ(w.figuresTable->item(0, band)->text(), FixedText(f.homeEchoDoppler[band], 0)) << band;
        EXPECT_EQ(w.figuresTable->item(1, band)->text(), FixedText(f.crossDoppler[band], 0)) << band;
    }
    EXPECT_NE(FixedText(f.crossDoppler[4], 0), FixedText(f.dxEchoDoppler[4], 0));
    const auto windows = nav::FindCommonWindows(workspace, stations.home, stations.dx, sky.clock.utcDay,
                                                PlannerWindow::kWindowDays, w.settings().minElevation);
    ASSERT_EQ(w.windowsTable->rowCount(), int(windows.size()));
    for (int row = 0; row < int(windows.size()); ++row) {
        EXPECT_EQ(w.windowsTable->item(row, 3)->text(), FixedText(windows[row].homeMaxElevation, 1)) << row;
        EXPECT_EQ(w.windowsTable->item(row, 4)->text(), FixedText(windows[row].dxMaxElevation, 1)) << row;
    }
    EXPECT_NE(w.windowsTable->item(0, 3)->text(), w.windowsTable->item(0, 4)->text());
    EXPECT_TRUE(w.polarisationLabel->text().contains(" dB")) << w.polarisationLabel->text().toStdString();

    // A bad entry says why beside the box and keeps the station.
    w.dxBox->setEditText(QStringLiteral("N0CALL FN20qz"));
    QTest::keyClick(w.dxBox->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(w.dxMessage->text().contains("A to X")) << w.dxMessage->text().toStdString();
    EXPECT_EQ(w.dxStation()->callSign, "DL0CALL");

    // Good entries go first in the recent list, an entry chosen again moves up, the list keeps ten.
    for (int i = 0; i < 11; ++i) w.applyDxEntry(QStringLiteral("W%1AA FN20").arg(i));
    w.applyDxEntry(QStringLiteral("W5AA FN20"));
    EXPECT_EQ(w.dxBox->count(), kRecentDxCount);
    EXPECT_EQ(w.dxBox->itemText(0), "W5AA FN20");
    EXPECT_EQ(w.dxBox->itemText(1), "W10AA FN20");
    EXPECT_FALSE(w.settings().recentDx.contains("DL0CALL JO62qm 40"));

    // Limits: a bad Trx box says why and gets its value back; a good minimum is stored and applied.
    w.trxBoxes[0]->setText(QStringLiteral("1,5"));
    w.minElevationBox->setText(QStringLiteral("61"));
    w.applyLimits();
    EXPECT_FALSE(w.limitsMessage->text().isEmpty());
    EXPECT_EQ(w.trxBoxes[0]->text(), "100");
    EXPECT_EQ(w.minElevationBox->text(), "0");
    w.trxBoxes[0]->setText(QStringLiteral("250"));
    w.applyDxEntry(QStringLiteral("DL0CALL JO62qm 40"));
    const int rowsAtZero = w.windowsTable->rowCount();
    const auto firstAtZero = w.windows().front();
    w.minElevationBox->setText(QStringLiteral("10"));
    w.applyLimits();
    EXPECT_TRUE(w.limitsMessage->text().isEmpty());
    EXPECT_LE(w.windowsTable->rowCount(), rowsAtZero);
    EXPECT_LT(w.windows().front().end - w.windows().front().start, firstAtZero.end - firstAtZero.start);

    // All of it stored under "Planner": a new window starts where this one left off.
    const PlannerSettings stored = LoadPlannerSettings(store);
    EXPECT_EQ(stored.recentDx.front(), "DL0CALL JO62qm 40");
    EXPECT_EQ(stored.minElevation, 10);
    EXPECT_EQ(stored.receiverKelvin[0], 250);
    EXPECT_EQ(stored.receiverKelvin[1], 60);
    PlannerWindow again(sky, home, store);
    ASSERT_TRUE(again.dxStation());
    EXPECT_EQ(again.dxStation()->callSign, "DL0CALL");
    EXPECT_EQ(again.minElevationBox->text(), "10");
}

TEST_F(PlannerFixture, DayChartShadesTheDaysWindowsAndSavesAsPng) {
    store.write(kPlannerGroup, QStringLiteral("DX 1"), QStringLiteral("DL0CALL JO62qm"));
    PlannerWindow w(sky, home, store);
    QChart* chart = w.chartView->chart();
    // Every 5 minutes from 00:00 to 24:00 both included.
    const int points = 86400 / PlannerWindow::kChartStepSeconds + 1;
    for (const QString& name : {kHomeSeriesName, kDxSeriesName, kSkySeriesName}) {
        ASSERT_TRUE(Line(chart, name)) << name.toStdString();
        EXPECT_EQ(Line(chart, name)->count(), points) << name.toStdString();
    }
    // Each curve is navlib's day profile of its own station.
    const Stations stations = StationsOf(home, *w.dxStation());
    nav::SkyState workspace = sky;
    const nav::DayProfile profile = nav::ComputeDayProfile(workspace, stations.home, stations.dx, sky.clock.utcDay,
                                                           PlannerWindow::kChartStepSeconds, ShippedSkySurvey());
    for (const auto& [name, values] : {std::pair{kHomeSeriesName, &profile.homeElevation},
                                       std::pair{kDxSeriesName, &profile.dxElevation},
                                       std::pair{kSkySeriesName, &profile.skyTemperature}}) {
        int differing = 0;
        for (int i = 0; i < points; ++i) differing += Line(chart, name)->at(i) != QPointF(profile.hours[i], (*values)[i]);
        EXPECT_EQ(differing, 0) << name.toStdString();
    }
    EXPECT_EQ(Line(chart, kMinimumSeriesName)->count(), 2);
    // The present time, 01:00 UTC.
    ASSERT_EQ(Line(chart, kNowSeriesName)->count(), 2);
    EXPECT_DOUBLE_EQ(Line(chart, kNowSeriesName)->at(0).x(), 1.0);

    // The day has two windows, cut at its two ends: one shaded area each, from start to end.
    const QList<QAreaSeries*> areas = Areas(chart);
    ASSERT_EQ(areas.size(), 2);
    const double hours[][2] = {{0, 4662 / 3600.0}, {63715 / 3600.0, 86399 / 3600.0}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(areas[i]->upperSeries()->at(0).x(), hours[i][0], 1e-9) << i;
        EXPECT_NEAR(areas[i]->upperSeries()->at(1).x(), hours[i][1], 1e-9) << i;
    }

    // The UTC day turns while the chart shows today: the chart turns with it, to the new day's windows.
    sky.clock.utcDay = nav::DayNumber(2026, 12, 20);
    w.refresh();
    EXPECT_EQ(w.chartDay->date(), QDate(2026, 12, 20));
    const auto nextDay = nav::FindCommonWindows(workspace, stations.home, stations.dx, sky.clock.utcDay, 1, 0);
    ASSERT_EQ(Areas(chart).size(), nextDay.size());
    for (std::size_t i = 0; i < nextDay.size(); ++i)
        EXPECT_NEAR(Areas(chart)[int(i)]->upperSeries()->at(0).x(), nextDay[i].start / 3600.0, 1e-9) << i;
    EXPECT_EQ(Line(chart, kNowSeriesName)->count(), 2);

    // Another day: no present-time line, the windows of that day.
    w.chartDay->setDate(QDate(2026, 12, 7));
    EXPECT_EQ(Line(chart, kNowSeriesName)->count(), 0);
    EXPECT_EQ(Areas(chart).size(), 1);
    EXPECT_NEAR(Areas(chart)[0]->upperSeries()->at(0).x(), 39747 / 3600.0, 1e-9);

    // A new minimum elevation moves the chart's minimum line to it.
    w.minElevationBox->setText(QStringLiteral("10"));
    w.applyLimits();
    EXPECT_EQ(Line(chart, kMinimumSeriesName)->at(0), QPointF(0, 10));
    EXPECT_EQ(Line(chart, kMinimumSeriesName)->at(1), QPointF(24, 10));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.png"));
    w.resize(800, 700);
    ASSERT_TRUE(w.saveChart(path));
    const QImage picture(path);
    EXPECT_GT(picture.width(), 300);
    EXPECT_FALSE(w.saveChart(dir.filePath(QStringLiteral("missing/day.png"))));
}

TEST_F(PlannerFixture, StoresItsSizeAndPositionWhenClosedAndRefreshesOnlyInSight) {
    {
        PlannerWindow w(sky, home, store);
        EXPECT_FALSE(w.refreshTimer().isActive());  // hidden at start-up, it computes nothing each second
        w.show();
        EXPECT_TRUE(w.refreshTimer().isActive());
        w.resize(1010, 830);
        w.move(140, 90);
        QTest::qWait(50);
        w.close();
        EXPECT_FALSE(w.refreshTimer().isActive());
    }
    EXPECT_EQ(store.read(kPositionsGroup, QStringLiteral("Form5.Width")), "1010");
    EXPECT_EQ(store.read(kPositionsGroup, QStringLiteral("Form5.Height")), "830");
    PlannerWindow again(sky, home, store);
    EXPECT_EQ(again.size(), QSize(1010, 830));
}

// Without a stored size the window fits the screen's available area at its default place (a 1366 x 768
// laptop cut off the chart's time axis), the chart keeps its readable height inside the window, and the
// week's common windows are all in sight or the table shows its scroll bar.
TEST_F(PlannerFixture, ADefaultWindowFitsTheScreenWithTheChartAndTheWeekInSight) {
    store.write(kPlannerGroup, QStringLiteral("DX 1"), QStringLiteral("DL0CALL JO62qm"));
    PlannerWindow w(sky, home, store);
    w.show();
    QTest::qWait(50);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.geometry())) << area.height() << " " << w.geometry().bottom();
    EXPECT_GE(w.chartView->height(), 280);
    EXPECT_LE(w.chartView->geometry().bottom(), w.height());
    const QTableWidget* table = w.windowsTable;
    ASSERT_GE(table->rowCount(), 7);
    const int last = table->rowCount() - 1;
    const bool allInSight = table->rowViewportPosition(last) + table->rowHeight(last) <= table->viewport()->height();
    EXPECT_TRUE(allInSight || table->verticalScrollBar()->isVisible());
}

}  // namespace
}  // namespace skyrel
