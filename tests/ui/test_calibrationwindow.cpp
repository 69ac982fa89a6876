// The calibration window: its table from the stored inputs, a measured Y turned into G/T and Tsys, a bad
// box refused without a store, and the sources' positions now.
#include <gtest/gtest.h>

#include <QTableWidget>

#include "app/settings/calibrationsettings.h"
#include "app/settings/settingsstore.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "ui/calibrationwindow.h"

namespace skyrel {
namespace {

// 2026-12-24 00:00 UTC at 38.02 N 78.63 W, 100 m, a 3 m dish with 80 sfu read at 1296 MHz.
struct CalibrationFixture : ::testing::Test {
    CalibrationFixture() {
        site.latitude = 38.02;
        site.longitude = -78.63;
        site.height = 100;
        nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
        sky.clock.utcDay = nav::DayNumber(2026, 12, 24);
        nav::ComputePositions(sky, site);
        store.write(kCalibrationGroup, QStringLiteral("Solar Flux"), QStringLiteral("1296:80"));
    }
    nav::SkyState sky;
    nav::ObserverSite site;
    MemorySettingsStore store;
};

// The text of a cell in the row with that caption, in the column of band `band` (0..4).
QString Cell(const QTableWidget& table, const QString& caption, int band) {
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.verticalHeaderItem(row)->text() == caption) return table.item(row, band)->text();
    return QStringLiteral("no row ") + caption;
}

TEST_F(CalibrationFixture, MeasuredYGivesGOverTAndTsysAndABadBoxIsRefused) {
    CalibrationWindow w(sky, site, store);
    // The hand-worked 3 m dish at 1296 MHz (tests/navlib/test_calibration.cpp): beam 5.24 deg, K 0.995.
    EXPECT_EQ(Cell(*w.table, "Beamwidth (deg)", 2), "5.24");
    EXPECT_EQ(Cell(*w.table, "Sun flux (sfu)", 2), "80.0");
    EXPECT_EQ(Cell(*w.table, "Sun K", 2), "0.995");
    EXPECT_EQ(Cell(*w.table, "Cas A flux (Jy)", 4), "outside fit");
    EXPECT_EQ(Cell(*w.table, "G/T (dB/K)", 2), "-");

    // Measured 12 dB: G/T = 10.8275 dB/K and Tsys = 1120.52 / (10^1.2 - 1) = 75.46 K, by hand.
    w.measuredBoxes[2]->setText(QStringLiteral("12"));
    w.applyForm();
    EXPECT_EQ(w.message->text(), QString());
    EXPECT_EQ(Cell(*w.table, "G/T (dB/K)", 2), "10.8");
    EXPECT_EQ(Cell(*w.table, "Implied Tsys (K)", 2), "75.5");
    EXPECT_EQ(Cell(*w.table, "G/T (dB/K)", 1), "-");
    EXPECT_EQ(LoadCalibrationSettings(store).settings.measuredYDb[2], 12);

    w.diameterBox->setText(QStringLiteral("3,7"));
    w.measuredBoxes[2]->setText(QStringLiteral("13"));
    w.applyForm();
    EXPECT_EQ(w.message->text(), QStringLiteral("the dish diameter: '3,7' is not a valid floating point value"));
    EXPECT_EQ(LoadCalibrationSettings(store).settings.measuredYDb[2], 12);
    EXPECT_EQ(Cell(*w.table, "G/T (dB/K)", 2), "10.8");

    // astronomy-engine: Cas A at az 332.446, el 64.465 + 0.008 refraction.
    EXPECT_TRUE(w.sourcesLabel->text().startsWith(QStringLiteral("Now: Cas A az 332.4 el 64.5")))
        << w.sourcesLabel->text().toStdString();
}

}  // namespace
}  // namespace skyrel
