// The map window: its layers and view switch, the overlay's transparent white, its stored position, and
// the redraws from the main window's menu and from the one-second cycle.
#include <gtest/gtest.h>

#include <QTest>

#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/fakeclock.h"
#include "ui/mainwindow.h"
#include "ui/mapwindow.h"

namespace skyrel {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);

bool AllWhite(const QImage& image) {
    for (int r = 0; r < image.height(); ++r)
        for (int c = 0; c < image.width(); ++c)
            if (image.pixel(c, r) != kWhite) return false;
    return true;
}

// Which base picture the window shows: Image1 world map, Image2 celestial grid, Image4 sky-noise chart.
QString ShownPicture(const TSMForm3& map) {
    QStringList shown;
    for (QLabel* layer : {map.Image1, map.Image2, map.Image4})
        if (layer->isVisibleTo(&map)) shown << layer->objectName();
    return shown.join(QLatin1Char(' '));
}

class MapWindowTest : public ::testing::Test {
protected:
    MemorySettingsStore store;
    AppState state;

    MapWindowTest() {
        state.settings.site = {38.02, -78.63, 100, "FN28"};
        nav::SetObserver(state.sky.observerFrame, 38.02, -78.63, 100);
        const test::FakeClock clock(2005, 9, 21, 17, 15, 0);
        nav::ReadClock(state.sky.clock, clock, true, 0);
        nav::ComputePositions(state.sky, state.settings.site);
    }
};

TEST_F(MapWindowTest, CreatedHiddenInTheEarthViewWithAWhiteOverlay) {
    TSMForm3 map(state, store);
    EXPECT_FALSE(map.isVisible());
    EXPECT_TRUE(map.isWindow());
    EXPECT_EQ(map.parentWidget(), nullptr);
    EXPECT_EQ(map.windowTitle(), "  MAP                                  Skyrel / Brenlo");
    EXPECT_EQ(map.mapView(), MapView::Earth);
    EXPECT_EQ(map.OuterHeight(), 280);
    EXPECT_EQ(ShownPicture(map), "Image1");
    EXPECT_EQ(map.Image3->toolTip(), " Double click to switch between earth, celestial, and sky noise views. ");
    EXPECT_EQ(map.overlay().size(), QSize(516, 264));
    EXPECT_TRUE(AllWhite(map.overlay()));
    EXPECT_EQ(map.pos(), QPoint(20, 20));
    // The pictures are embedded and decode (the two JPEGs through Qt's image plugin).
    EXPECT_EQ(map.Image1->pixmap().size(), QSize(516, 260));
    EXPECT_EQ(map.Image2->pixmap().size(), QSize(516, 264));
    EXPECT_EQ(map.Image4->pixmap().size(), QSize(516, 264));
    EXPECT_EQ(map.Image4->height(), 260);
}

TEST_F(MapWindowTest, ThreeDoubleClicksReturnToEarthAtHeight280) {
    TSMForm3 map(state, store);
    map.show();
    const int earthClientHeight = map.height();
    EXPECT_EQ(map.width(), 515);

    QTest::mouseDClick(map.Image3, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(map.mapView(), MapView::Celestial);
    EXPECT_EQ(map.OuterHeight(), 290);
    EXPECT_EQ(map.height(), 264);  // the whole grid picture with its hour labels
    EXPECT_EQ(map.height(), earthClientHeight + 10);
    EXPECT_EQ(ShownPicture(map), "Image2");

    QTest::mouseDClick(map.Image3, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(map.mapView(), MapView::SkyNoise);
    EXPECT_EQ(map.OuterHeight(), 280);
    EXPECT_EQ(map.height(), earthClientHeight);
    EXPECT_EQ(ShownPicture(map), "Image4");

    QTest::mouseDClick(map.Image3, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(map.mapView(), MapView::Earth);
    EXPECT_EQ(map.OuterHeight(), 280);
    EXPECT_EQ(map.height(), earthClientHeight);
    EXPECT_EQ(ShownPicture(map), "Image1");
    EXPECT_EQ(map.width(), 515);
}

TEST_F(MapWindowTest, OverlayWhiteIsTransparentAndTheBottomRowsStayWhite) {
    state.settings.sunShadow = true;
    TSMForm3 map(state, store);
    map.RenderMap();
    const QImage shown = map.Image3->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(516, 264));
    // Noon at 80.5 W is drawn white and shows the map; midnight at 99.5 E covers it.
    const QPoint noon(MapColumn(Projection::Earth, -80), MapRow(Projection::Earth, 0));
    const QPoint midnight(MapColumn(Projection::Earth, 100), MapRow(Projection::Earth, 0));
    EXPECT_EQ(map.overlay().pixel(noon), kWhite);
    EXPECT_EQ(qAlpha(shown.pixel(noon)), 0);
    EXPECT_NE(map.overlay().pixel(midnight), kWhite);
    EXPECT_EQ(qAlpha(shown.pixel(midnight)), 255);
    EXPECT_EQ(shown.pixel(midnight) & 0xFFFFFF, map.overlay().pixel(midnight) & 0xFFFFFF);
    for (int r = 260; r < 264; ++r)
        for (int c = 0; c < 516; ++c) ASSERT_EQ(qAlpha(shown.pixel(c, r)), 0);
}

TEST_F(MapWindowTest, RenderKeepsTheRefractedElevations) {
    state.sky.sun.elevation = 52.42;
    state.sky.moon.elevation = -20.5;
    state.settings.sunShadow = state.settings.sunHorizon = state.settings.sunSubPoint = true;
    TSMForm3 map(state, store);
    for (int view = 0; view < 3; ++view) {
        map.Image3DblClick();
        EXPECT_EQ(state.sky.sun.elevation, 52.42);
        EXPECT_EQ(state.sky.moon.elevation, -20.5);
    }
}

TEST_F(MapWindowTest, PositionStoredOnlyWhenClosedInTheNormalState) {
    store.write(kPositionsGroup, QStringLiteral("Form3.Top"), QStringLiteral("120"));
    store.write(kPositionsGroup, QStringLiteral("Form3.Left"), QStringLiteral("240"));
    {
        TSMForm3 map(state, store);
        EXPECT_EQ(map.pos(), QPoint(240, 120));
        map.show();
        map.move(300, 200);
        map.close();
        EXPECT_FALSE(map.isVisible());
    }
    EXPECT_EQ(LoadWindowPosition(store, 3), QPoint(300, 200));
    {
        TSMForm3 map(state, store);
        map.show();
        map.move(50, 60);
        map.setWindowState(Qt::WindowMinimized);
        map.close();
    }
    EXPECT_EQ(LoadWindowPosition(store, 3), QPoint(300, 200));
}

// The main window's cycle and menu with a real map window beside it.
class MapRedrawTest : public ::testing::Test {
protected:
    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();

    MapRedrawTest() {
        store.write(kOptionsGroup, QStringLiteral("Sun Sub Pt"), QStringLiteral("true"));
    }
};

TEST_F(MapRedrawTest, CycleRedrawsAtEveryFourthMinuteOnlyWhileVisible) {
    TSMForm1 main(station);
    main.Timer1().stop();
    TSMForm3 map(state, store);
    main.setCompanions(nullptr, &map, nullptr);

    // Hidden at a four-minute mark: nothing is drawn.
    clock.setUtc(2005, 9, 21, 17, 16, 0);
    main.Timer1Timer();
    EXPECT_TRUE(AllWhite(map.overlay()));

    // Visible, but not at a mark.
    map.show();
    for (auto [minute, second] : {std::pair{17, 0}, {16, 1}, {18, 59}}) {
        clock.setUtc(2005, 9, 21, 17, minute, second);
        main.Timer1Timer();
        EXPECT_TRUE(AllWhite(map.overlay())) << minute << ":" << second;
    }

    clock.setUtc(2005, 9, 21, 17, 20, 0);
    main.Timer1Timer();
    EXPECT_FALSE(AllWhite(map.overlay()));
    // The cycle's own refraction survives the redraw in its middle.
    nav::SkyState expected = state.sky;
    nav::ComputePositions(expected, state.settings.site);
    nav::AddRefraction(expected);
    EXPECT_EQ(state.sky.sun.elevation, expected.sun.elevation);
    EXPECT_EQ(state.sky.moon.elevation, expected.moon.elevation);
}

TEST_F(MapRedrawTest, NoRedrawBeforeTheMapWindowExists) {
    // Start-up exactly at a four-minute mark: the main window's first cycles run before the map exists.
    clock.setUtc(2005, 9, 21, 17, 16, 0);
    TSMForm1 main(station);
    main.Timer1().stop();
    EXPECT_GE(main.cycleCount(), 2);

    TSMForm3 map(state, store);
    main.setCompanions(nullptr, &map, nullptr);
    main.Timer1Timer();
    EXPECT_TRUE(AllWhite(map.overlay()));
    // Once the map exists and is shown, the same mark draws it.
    map.show();
    main.Timer1Timer();
    EXPECT_FALSE(AllWhite(map.overlay()));
}

TEST_F(MapRedrawTest, MapCommandShowsAndDrawsAtOnceThenHides) {
    TSMForm1 main(station);
    main.Timer1().stop();
    TSMForm3 map(state, store);
    main.setCompanions(nullptr, &map, nullptr);

    main.Map1->trigger();  // 17:15:00 is no four-minute mark
    EXPECT_TRUE(map.isVisible());
    EXPECT_FALSE(AllWhite(map.overlay()));
    main.Map1->trigger();
    EXPECT_FALSE(map.isVisible());
}

}  // namespace
}  // namespace skyrel
