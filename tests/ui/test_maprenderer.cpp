// The map renderer drawn off-screen at known instants: night shading against the world map's pixels,
// sub-point markers, horizon circles across the date line, the Moon's path across 0h, the star slots, and
// the engine's state left as the cycle had it.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "navlib/constants.h"
#include "navlib/geometry.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/fakeclock.h"
#include "ui/maprenderer.h"

namespace skyrel {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kCyan = qRgb(0, 255, 255);

QRgb Scaled(QRgb pixel, int eighths) {
    return qRgb(qRed(pixel) * eighths / 8, qGreen(pixel) * eighths / 8, qBlue(pixel) * eighths / 8);
}

// The state of one cycle at a given UTC instant: clock read, positions computed, refraction added.
struct Scene {
    Settings settings;
    nav::SkyState sky;
    QImage worldMap = QImage(QStringLiteral(":/worldmap.bmp")).convertToFormat(QImage::Format_RGB32);

    explicit Scene(int year, int month, int day, int hour, int minute) {
        settings.site = {38.02, -78.63, 100, "FN28"};
        nav::SetObserver(sky.observerFrame, settings.site.latitude, settings.site.longitude, settings.site.height);
        const test::FakeClock clock(year, month, day, hour, minute, 0);
        nav::ReadClock(sky.clock, clock, true, 0);
        nav::ComputePositions(sky, settings.site);
        nav::AddRefraction(sky);
    }

    QImage draw(MapView view) { return DrawMap(sky, settings, view, worldMap); }
};

QPoint EarthPixel(double longitude, double latitude) {
    return {MapColumn(Projection::Earth, longitude), MapRow(Projection::Earth, latitude)};
}

// Within the observer marker at the default site (38.02 N, 78.63 W), which lies on the day side.
bool NearSite(int c, int r) {
    const QPoint site = EarthPixel(-78.63, 38.02);
    return std::abs(c - site.x()) <= 2 && std::abs(r - site.y()) <= 2;
}

// The longest run of one colour in a row of the drawing.
int LongestRun(const QImage& image, int row, QRgb colour) {
    int longest = 0, run = 0;
    for (int c = 0; c < image.width(); ++c) {
        run = image.pixel(c, row) == colour ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

void ExpectSameBody(const nav::BodyState& a, const nav::BodyState& b) {
    EXPECT_EQ(a.azimuth, b.azimuth);
    EXPECT_EQ(a.elevation, b.elevation);
    EXPECT_EQ(a.rightAscension, b.rightAscension);
    EXPECT_EQ(a.declination, b.declination);
    EXPECT_EQ(a.hourAngle, b.hourAngle);
    EXPECT_EQ(a.distance, b.distance);
    EXPECT_EQ(a.earthFixedDir, b.earthFixedDir);
    EXPECT_EQ(a.geoRightAscension, b.geoRightAscension);
    EXPECT_EQ(a.geoDeclination, b.geoDeclination);
    EXPECT_EQ(a.geoDistance, b.geoDistance);
    EXPECT_EQ(a.geoEquatorialDir, b.geoEquatorialDir);
    EXPECT_EQ(a.eclipticLongitude, b.eclipticLongitude);
    EXPECT_EQ(a.eclipticLatitude, b.eclipticLatitude);
}

void ExpectSameSky(const nav::SkyState& a, const nav::SkyState& b) {
    EXPECT_EQ(a.clock.year, b.clock.year);
    EXPECT_EQ(a.clock.month, b.clock.month);
    EXPECT_EQ(a.clock.day, b.clock.day);
    EXPECT_EQ(a.clock.hour, b.clock.hour);
    EXPECT_EQ(a.clock.minute, b.clock.minute);
    EXPECT_EQ(a.clock.second, b.clock.second);
    EXPECT_EQ(a.clock.utcDay, b.clock.utcDay);
    EXPECT_EQ(a.clock.utcFraction, b.clock.utcFraction);
    EXPECT_EQ(a.clock.localDay, b.clock.localDay);
    EXPECT_EQ(a.clock.localFraction, b.clock.localFraction);
    EXPECT_EQ(a.clock.gmst, b.clock.gmst);
    ExpectSameBody(a.sun, b.sun);
    ExpectSameBody(a.moon, b.moon);
    EXPECT_EQ(a.moonElongation, b.moonElongation);
    EXPECT_EQ(a.earthRotation, b.earthRotation);
    EXPECT_EQ(a.observerFrame.position, b.observerFrame.position);
    EXPECT_EQ(a.observerFrame.horizonMatrix, b.observerFrame.horizonMatrix);
}

TEST(MapRenderer, NightHalvesTheWorldMapAndDayStaysWhite) {
    // 2005-09-21 17:15 UT: the Sun stands over 80.5 W on the equator, so 99.5 E is at midnight.
    Scene scene(2005, 9, 21, 17, 15);
    scene.settings.sunShadow = true;
    const QImage drawing = scene.draw(MapView::Earth);
    ASSERT_EQ(drawing.size(), QSize(516, 260));

    EXPECT_EQ(drawing.pixel(EarthPixel(-80, 0)), kWhite);
    EXPECT_EQ(drawing.pixel(EarthPixel(-80, 60)), kWhite);
    const QPoint midnight = EarthPixel(100, 0);
    EXPECT_EQ(drawing.pixel(midnight), Scaled(scene.worldMap.pixel(midnight), 4));

    int night = 0;
    for (int r = 0; r < 260; ++r)
        for (int c = 0; c < 516; ++c) {
            const QRgb pixel = drawing.pixel(c, r);
            if (pixel == kWhite || NearSite(c, r)) continue;
            ++night;
            ASSERT_EQ(pixel, Scaled(scene.worldMap.pixel(c, r), 4)) << c << "," << r;
        }
    // At the equinox day and night share the Earth.
    EXPECT_GT(night, 516 * 260 * 45 / 100);
    EXPECT_LT(night, 516 * 260 * 55 / 100);
}

TEST(MapRenderer, MoonlightLightensTheNightWhereTheMoonIsUp) {
    // The Moon (RA 2h52m, dec +19) stands over about 145 E, inside the night side.
    Scene scene(2005, 9, 21, 17, 15);
    scene.settings.sunShadow = true;
    scene.settings.moonShadow = true;
    const QImage drawing = scene.draw(MapView::Earth);

    const QPoint underMoon = EarthPixel(145, 19);
    EXPECT_EQ(drawing.pixel(underMoon), Scaled(scene.worldMap.pixel(underMoon), 6));
    const QPoint moonDown = EarthPixel(30, -10);
    EXPECT_EQ(drawing.pixel(moonDown), Scaled(scene.worldMap.pixel(moonDown), 4));

    int moonlit = 0, dark = 0;
    for (int r = 0; r < 260; ++r)
        for (int c = 0; c < 516; ++c) {
            const QRgb pixel = drawing.pixel(c, r);
            if (pixel == kWhite || NearSite(c, r)) continue;
            ASSERT_LE(std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}), 191);
            const QRgb map = scene.worldMap.pixel(c, r);
            if (pixel == Scaled(map, 6) && pixel != Scaled(map, 4)) ++moonlit;
            else if (pixel == Scaled(map, 4)) ++dark;
            else ADD_FAILURE() << "pixel " << c << "," << r << " is neither 6/8 nor 4/8 of the map";
        }
    EXPECT_GT(moonlit, 10000);
    EXPECT_GT(dark, 10000);
}

TEST(MapRenderer, ShadowOffShowsThePlainMapWithTheObserver) {
    Scene scene(2005, 9, 21, 17, 15);
    const QImage drawing = scene.draw(MapView::Earth);
    const QPoint site = EarthPixel(-78.63, 38.02);
    EXPECT_EQ(drawing.pixel(site), kYellow);
    EXPECT_EQ(drawing.pixel(site.x(), site.y() - 2), kRed);  // outline of the radius-2 marker
    EXPECT_EQ(drawing.pixel(EarthPixel(103, 0)), kWhite);
}

// Rows worked by hand from the projection's formula, row = trunc(130 - latitude x 1.4444), column =
// trunc((longitude + 180) x 1.4306), and from the night shading's inverse, latitude = (130 - row) x 0.6923;
// the other map tests take their expected pixels from the projection code itself.
TEST(MapRenderer, EarthRowsWorkedFromTheProjectionFormula) {
    struct Place {
        double latitude, longitude;
        int column, row;
    };
    // 45 x 1.4444 = 64.998 lies just below a whole row, 88.62 x 1.4444 = 128.0027 just above one.
    for (const Place& p : {Place{45, 0, 257, 65}, Place{-45, 0, 257, 194}, Place{88.62, 100, 400, 1},
                           Place{-88.62, -100, 114, 258}}) {
        Scene scene(2005, 9, 21, 17, 15);
        scene.settings.site = {p.latitude, p.longitude, 100, "Site"};
        const QImage drawing = scene.draw(MapView::Earth);
        // The observer's yellow fill lies symmetric about its centre row.
        int top = -1, bottom = -1;
        for (int r = 0; r < drawing.height(); ++r)
            if (drawing.pixel(p.column, r) == kYellow) {
                if (top < 0) top = r;
                bottom = r;
            }
        EXPECT_EQ((top + bottom) / 2, p.row) << p.latitude << ", " << p.longitude;
    }

    // The December solstice, 12:00 UT: column 257 (0.36 W) has the Sun at noon, column 514 (179.29 E) at
    // midnight, and the polar night reaches down to 66.56 N (noon) and the day in the south down to 66.56 S.
    // Rows 33, 34, 226 and 227 stand at 67.15 N, 66.46 N, 66.46 S and 67.15 S.
    Scene solstice(2005, 12, 21, 12, 0);
    solstice.settings.sunShadow = true;
    const QImage shaded = solstice.draw(MapView::Earth);
    EXPECT_NE(shaded.pixel(257, 33), kWhite);
    EXPECT_EQ(shaded.pixel(257, 34), kWhite);
    EXPECT_NE(shaded.pixel(514, 226), kWhite);
    EXPECT_EQ(shaded.pixel(514, 227), kWhite);
}

TEST(MapRenderer, SubPointMarkersInTheEarthAndSkyViews) {
    Scene scene(2005, 9, 21, 17, 15);
    scene.settings.sunSubPoint = true;
    scene.settings.moonSubPoint = true;

    const nav::SphericalAngles sun = nav::VectorToAngles(scene.sky.sun.earthFixedDir);
    const nav::SphericalAngles moon = nav::VectorToAngles(scene.sky.moon.earthFixedDir);
    const QPoint subSun = EarthPixel(nav::Degrees(sun.longitude), nav::Degrees(sun.latitude));
    const QPoint subMoon = EarthPixel(nav::Degrees(moon.longitude), nav::Degrees(moon.latitude));
    // West of the site by the Sun's hour angle there (1.88 degrees), and under the Moon at about 145 E, 19 N.
    EXPECT_NEAR(subSun.x(), (180 - 78.63 - 1.88) * 1.4306, 1);
    EXPECT_NEAR(subSun.y(), 130, 1);
    EXPECT_NEAR(subMoon.x(), (180 + 145) * 1.4306, 8);
    EXPECT_NEAR(subMoon.y(), 130 - 19 * 1.4444, 3);

    const QImage earth = scene.draw(MapView::Earth);
    EXPECT_EQ(earth.pixel(subSun), kYellow);
    EXPECT_EQ(earth.pixel(subSun.x() - 6, subSun.y()), kRed);
    EXPECT_EQ(earth.pixel(subSun.x() + 6, subSun.y()), kRed);
    EXPECT_EQ(earth.pixel(subSun.x(), subSun.y() - 6), kRed);
    EXPECT_EQ(earth.pixel(subSun.x() + 8, subSun.y()), kWhite);
    EXPECT_EQ(earth.pixel(subMoon), kSilver);
    EXPECT_EQ(earth.pixel(subMoon.x() - 6, subMoon.y()), kBlue);

    // In the sky views at the geocentric right ascension and declination.
    const QPoint skySun(MapColumn(Projection::Sky, nav::Degrees(scene.sky.sun.geoRightAscension)),
                        MapRow(Projection::Sky, nav::Degrees(scene.sky.sun.geoDeclination)));
    const QPoint skyMoon(MapColumn(Projection::Sky, nav::Degrees(scene.sky.moon.geoRightAscension)),
                         MapRow(Projection::Sky, nav::Degrees(scene.sky.moon.geoDeclination)));
    EXPECT_NEAR(skySun.x(), 515 - 179 * 1.4306, 2);  // 11h56m
    EXPECT_NEAR(skyMoon.x(), 515 - 42 * 1.4306, 3);   // about 2h50m
    EXPECT_NEAR(skyMoon.y(), 130 - 19 * 2.8889, 3);
    for (MapView view : {MapView::Celestial, MapView::SkyNoise}) {
        const QImage sky = scene.draw(view);
        EXPECT_EQ(sky.pixel(skySun), kYellow);
        EXPECT_EQ(sky.pixel(skySun.x() - 6, skySun.y() + 1), kRed);
        EXPECT_EQ(sky.pixel(skyMoon), kSilver);
        EXPECT_EQ(sky.pixel(skyMoon.x(), skyMoon.y() + 6), kBlue);
    }
}

TEST(MapRenderer, SkyViewsIgnoreShadingHorizonsAndObserver) {
    Scene scene(2005, 9, 21, 17, 15);
    scene.settings.sunShadow = scene.settings.moonShadow = true;
    scene.settings.sunHorizon = scene.settings.moonHorizon = true;
    const QImage drawing = scene.draw(MapView::SkyNoise);
    const QSet<QRgb> pathColours{kWhite, kRed, kBlue};
    for (int r = 0; r < 260; ++r)
        for (int c = 0; c < 516; ++c) ASSERT_TRUE(pathColours.contains(drawing.pixel(c, r))) << c << "," << r;
}

TEST(MapRenderer, HorizonCircleIsBrokenWhereItCrossesTheDateLine) {
    // A circle of 90 degrees around 20 N, 180 E crosses the date line at 70 S and turns over the Arctic at
    // 70 N on the Greenwich meridian.
    const MapPath circle = HorizonCircle(nav::Radians(20), nav::Radians(180), 1.496e8);
    qsizetype points = 0;
    for (const QPolygon& piece : circle) {
        points += piece.size();
        for (qsizetype i = 1; i < piece.size(); ++i) EXPECT_LT(std::abs(piece[i].x() - piece[i - 1].x()), 400);
    }
    EXPECT_EQ(points, 201);
    ASSERT_EQ(circle.size(), 2);
    EXPECT_GE(std::abs(circle[1].first().x() - circle[0].last().x()), 400);
    EXPECT_NEAR(circle[0].last().y(), 130 + 70 * 1.4444, 3);
}

TEST(MapRenderer, HorizonCircleNearThePolesIsJoinedAlongTheEdge) {
    // Around a sub-point on the equator the circle runs over both poles, where its longitude swings by half a
    // turn between two points: a jump of less than 400 columns is joined, close to the top or bottom edge.
    const MapPath circle = HorizonCircle(nav::Radians(0.5), nav::Radians(100), 1.496e8);
    int swings = 0;
    for (const QPolygon& piece : circle)
        for (qsizetype i = 1; i < piece.size(); ++i)
            if (std::abs(piece[i].x() - piece[i - 1].x()) > 100) {
                ++swings;
                EXPECT_TRUE(piece[i].y() < 5 || piece[i].y() > 255) << piece[i].y();
            }
    EXPECT_GE(swings, 2);
}

TEST(MapRenderer, SunHorizonDrawnWithoutALineAcrossTheMap) {
    // Midnight UT at the June solstice: the Sun stands over 23.4 N near 180 E, so its horizon circle crosses
    // the date line at about 66.6 S (row 226) and goes round over the North Pole.
    Scene scene(2005, 6, 21, 0, 0);
    scene.settings.sunHorizon = true;
    const QImage drawing = scene.draw(MapView::Earth);
    int blackPixels = 0;
    for (int r = 0; r < 260; ++r)
        for (int c = 0; c < 516; ++c) blackPixels += drawing.pixel(c, r) == kBlack;
    EXPECT_GT(blackPixels, 300);
    for (int r = 215; r < 240; ++r)
        for (int c = 100; c < 416; ++c) ASSERT_NE(drawing.pixel(c, r), kBlack) << c << "," << r;

    scene.settings.sunHorizon = false;
    scene.settings.moonHorizon = true;
    const QImage moon = scene.draw(MapView::Earth);
    for (int r = 40; r < 220; ++r) EXPECT_LT(LongestRun(moon, r, kSilver), 200) << "row " << r;
}

TEST(MapRenderer, MoonPathIsBrokenAtZeroHours) {
    Scene scene(2005, 9, 21, 17, 15);
    nav::SkyState present = scene.sky;
    nav::ComputePositions(present, scene.settings.site);

    const MapPath path = MoonPath(scene.sky, scene.settings.site);
    qsizetype points = 0;
    for (const QPolygon& piece : path) {
        points += piece.size();
        for (qsizetype i = 1; i < piece.size(); ++i) EXPECT_LT(std::abs(piece[i].x() - piece[i - 1].x()), 10);
    }
    EXPECT_EQ(points, 280);
    // 28 days take the Moon once round the sky and across 0h at least once.
    ASSERT_GE(path.size(), 2);
    for (qsizetype i = 1; i < path.size(); ++i) EXPECT_GE(path[i].first().x() - path[i - 1].last().x(), 400);
    // It leaves the present positions (without refraction) behind.
    ExpectSameSky(scene.sky, present);

    const QImage drawing = Scene(2005, 9, 21, 17, 15).draw(MapView::Celestial);
    for (int r = 0; r < 260; ++r) EXPECT_LT(LongestRun(drawing, r, kBlue), 100) << "row " << r;
}

TEST(MapRenderer, EclipticRunsFromTheRightEdgeRoundTheChart) {
    const MapPath ecliptic = Ecliptic();
    ASSERT_EQ(ecliptic.size(), 1);
    ASSERT_EQ(ecliptic[0].size(), 360);
    EXPECT_EQ(ecliptic[0].first(), QPoint(515, 130));
    EXPECT_EQ(ecliptic[0][90], QPoint(MapColumn(Projection::Sky, 90), MapRow(Projection::Sky, 23.44)));
    EXPECT_EQ(ecliptic[0][270].y(), MapRow(Projection::Sky, -23.44));
}

TEST(MapRenderer, StarSlotsAndTheirMarkers) {
    const auto stars = StarMarkers();
    EXPECT_EQ(stars[0].radius, 3);  // size -1
    EXPECT_EQ(stars[0].fill, QColor(0, 255, 255));
    EXPECT_EQ(stars[0].centre, QPoint(371, 176));  // RA 100, dec -16
    EXPECT_EQ(stars[1].radius, 2);
    EXPECT_EQ(stars[1].fill, QColor(255, 255, 0));
    EXPECT_EQ(stars[5].radius, 1);
    EXPECT_EQ(stars[5].fill, QColor(192, 192, 192));
    // The empty slots sit at 0h, 0 degrees with the fill of the slot before them.
    for (int slot : {44, 45, 119}) {
        EXPECT_EQ(stars[slot].centre, QPoint(515, 130)) << slot;
        EXPECT_EQ(stars[slot].radius, 2) << slot;
    }
    EXPECT_EQ(stars[44].fill, QColor(255, 255, 0));
    EXPECT_EQ(stars[45].fill, QColor(255, 255, 0));
    EXPECT_EQ(stars[119].fill, QColor(192, 192, 192));

    Scene scene(2005, 9, 21, 17, 15);
    const QImage chart = scene.draw(MapView::Celestial);
    EXPECT_EQ(chart.pixel(371, 176), kCyan);
    EXPECT_EQ(chart.pixel(368, 176), kSilver);
    // Slot 119, drawn last of the three, leaves its silver marker at (515, 130) below the ecliptic's start.
    EXPECT_EQ(chart.pixel(515, 132), kSilver);
    EXPECT_EQ(chart.pixel(515, 131), kSilver);
    EXPECT_EQ(chart.pixel(514, 131), kSilver);

    const QImage noise = scene.draw(MapView::SkyNoise);
    EXPECT_EQ(noise.pixel(371, 176), kWhite);
    EXPECT_EQ(noise.pixel(515, 132), kWhite);
}

TEST(MapRenderer, SkyStateIsGivenBackWithTheCyclesRefraction) {
    for (MapView view : {MapView::Earth, MapView::Celestial, MapView::SkyNoise}) {
        Scene scene(2005, 9, 21, 17, 15);
        scene.settings.sunShadow = scene.settings.moonShadow = scene.settings.sunHorizon = true;
        scene.settings.moonHorizon = scene.settings.sunSubPoint = scene.settings.moonSubPoint = true;
        const nav::SkyState before = scene.sky;
        scene.draw(view);
        ExpectSameSky(scene.sky, before);
    }
}

TEST(MapRenderer, MarkersAtTheEdgeAreCutOffNotWrapped) {
    // The star at RA 3 (slot 40) sits at column 510; nothing of it may appear at the left edge.
    Scene scene(2005, 9, 21, 17, 15);
    const QImage chart = scene.draw(MapView::Celestial);
    const int row = MapRow(Projection::Sky, 14);
    for (int c = 0; c < 4; ++c) EXPECT_NE(chart.pixel(c, row), kSilver);
}

}  // namespace
}  // namespace skyrel
