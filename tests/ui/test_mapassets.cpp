// The embedded pictures as the program loads them: sizes and formats, and that each shows what it should
// where the map's projections put it.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSet>
#include <QtEndian>

#include "ui/mapprojection.h"

namespace skyrel {
namespace {

QPoint Earth(double longitude, double latitude) {
    return {MapColumn(Projection::Earth, longitude), MapRow(Projection::Earth, latitude)};
}
QPoint Sky(double rightAscensionHours, double declination) {
    return {MapColumn(Projection::Sky, rightAscensionHours * 15), MapRow(Projection::Sky, declination)};
}

TEST(MapAssets, WorldMapIsAnUncompressed24BitBitmapWithSeaLandAndIce) {
    QFile file(QStringLiteral(":/worldmap.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    const auto* header = reinterpret_cast<const uchar*>(bytes.constData());
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(qFromLittleEndian<qint32>(header + 18), 516);  // width
    EXPECT_EQ(qFromLittleEndian<qint32>(header + 22), 260);  // height, stored bottom-up
    EXPECT_EQ(qFromLittleEndian<quint16>(header + 28), 24);  // bits per pixel
    EXPECT_EQ(qFromLittleEndian<quint32>(header + 30), 0u);  // no compression
    EXPECT_EQ(bytes.size(), 54 + 516 * 3 * 260);

    const QImage map(QStringLiteral(":/worldmap.bmp"));
    ASSERT_EQ(map.size(), QSize(516, 260));
    const auto isSea = [&](QPoint p) { return qBlue(map.pixel(p)) > qRed(map.pixel(p)) + 60; };
    const auto isIce = [&](QPoint p) { return qMin(qRed(map.pixel(p)), qBlue(map.pixel(p))) > 220; };
    const auto isGreen = [&](QPoint p) {
        return qGreen(map.pixel(p)) > qRed(map.pixel(p)) + 20 && qGreen(map.pixel(p)) > qBlue(map.pixel(p)) + 20;
    };
    const auto isTan = [&](QPoint p) { return qRed(map.pixel(p)) > 160 && qRed(map.pixel(p)) > qBlue(map.pixel(p)) + 50; };

    for (QPoint sea : {Earth(-150, 0), Earth(-30, 30), Earth(80, -20), Earth(179, 10), Earth(-179, -40)})
        EXPECT_TRUE(isSea(sea)) << sea.x() << "," << sea.y();
    for (QPoint green : {Earth(-60, -5), Earth(20, 0), Earth(100, 60), Earth(-85, 40), Earth(10, 50)})
        EXPECT_TRUE(isGreen(green)) << green.x() << "," << green.y();
    for (QPoint desert : {Earth(10, 23), Earth(133, -25), Earth(47, 22)})
        EXPECT_TRUE(isTan(desert)) << desert.x() << "," << desert.y();
    for (QPoint ice : {Earth(0, -80), Earth(120, -85), Earth(-40, 72)})
        EXPECT_TRUE(isIce(ice)) << ice.x() << "," << ice.y();
    // Coasts where the projection puts them: Gibraltar strait, Cape Horn, Cape of Good Hope.
    EXPECT_TRUE(isSea(Earth(-6, 36)) || isSea(Earth(-7, 36)));
    EXPECT_FALSE(isSea(Earth(-4, 40)));
    EXPECT_FALSE(isSea(Earth(20, -32)));
    EXPECT_TRUE(isSea(Earth(20, -38)));
}

TEST(MapAssets, CelestialGridHasDashedBlueLinesOnBlack) {
    const QImage grid(QStringLiteral(":/celestialgrid.jpg"));
    ASSERT_EQ(grid.size(), QSize(516, 264));
    // JPEG keeps colour at half resolution, so a one-pixel blue line comes back dimmer than it was drawn.
    const auto isBlue = [&](int c, int r) {
        const QRgb p = grid.pixel(c, r);
        return qBlue(p) > 80 && qBlue(p) > qRed(p) + 50 && qBlue(p) > qGreen(p) + 50;
    };
    for (double declination : {30.0, 15.0, 0.0, -15.0, -30.0}) {
        const int row = MapRow(Projection::Sky, declination);
        int blue = 0;
        for (int c = 40; c < 516; ++c) blue += isBlue(c, row);
        // Dashed: well over a third of the row, well under all of it.
        EXPECT_GT(blue, 476 / 3) << declination;
        EXPECT_LT(blue, 476 * 9 / 10) << declination;
    }
    for (double hours : {18.0, 12.0, 6.0}) {
        const int column = MapColumn(Projection::Sky, hours * 15);
        int blue = 0;
        for (int r = 0; r < 250; ++r) blue += isBlue(column, r);
        EXPECT_GT(blue, 250 / 3) << hours;
    }
    int strayBlue = 0;
    for (int c = 40; c < 516; ++c) strayBlue += isBlue(c, MapRow(Projection::Sky, 22.5));
    EXPECT_LT(strayBlue, 10);
    const QRgb empty = grid.pixel(Sky(15, 37).x(), Sky(15, 37).y());
    EXPECT_LT(qRed(empty) + qGreen(empty) + qBlue(empty), 40);
}

TEST(MapAssets, SkyNoiseChartShowsTheMilkyWayWhereTheSkyHasIt) {
    const QImage chart(QStringLiteral(":/skynoise.jpg"));
    ASSERT_EQ(chart.size(), QSize(516, 264));
    // The Galactic centre (17h45m, -29) is the brightest: yellow. Cygnus (20h, +40) is bright too.
    const QRgb centre = chart.pixel(Sky(17.75, -29));
    EXPECT_GE(qRed(centre), 240);
    EXPECT_GE(qGreen(centre), 200);
    const QRgb cygnus = chart.pixel(Sky(20, 40));
    EXPECT_GE(qRed(cygnus), 240);
    EXPECT_GE(qGreen(cygnus), 150);
    // Far from the band, at 10h +35, the sky is quiet: dark brownish red.
    const QRgb quiet = chart.pixel(Sky(10, 35));
    EXPECT_LT(qRed(quiet), 110);
    EXPECT_LT(qGreen(quiet), 40);
    EXPECT_GT(qRed(quiet), 2 * qBlue(quiet));
}

TEST(MapAssets, IconIsSixteenColoursDayAboveNightBelow) {
    const QImage icon = QImage(QStringLiteral(":/skyrel-icon.png"));
    ASSERT_EQ(icon.size(), QSize(32, 32));
    const QImage rgb = icon.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) colours.insert(rgb.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(rgb.pixel(i, 31 - i), qRgb(255, 255, 255)) << i;
    EXPECT_EQ(rgb.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(rgb.pixel(31, 31), qRgb(0, 0, 0));
    EXPECT_EQ(rgb.pixel(10, 10), qRgb(255, 255, 0));
    EXPECT_EQ(rgb.pixel(10, 4), qRgb(255, 0, 0));  // the Sun's rim
    int grey = 0, stars = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (x + y > 32) {
                grey += rgb.pixel(x, y) == qRgb(128, 128, 128);
                stars += rgb.pixel(x, y) == qRgb(255, 255, 255);
            }
    EXPECT_GT(grey, 20);
    EXPECT_GE(stars, 4);
}

}  // namespace
}  // namespace skyrel
