// skyrel-make-assets as a real process: a small hand-made topology (quantised, delta-coded, a shared arc
// walked backwards, an island across the date line) and the real 408 MHz survey, then bad input.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/toolrun.h"
#include "ui/mapprojection.h"

namespace {

using skyrel::MapColumn;
using skyrel::MapRow;
using skyrel::Projection;

const QString kTool = QStringLiteral(SKYREL_TOOLS_DIR "/make-assets/skyrel-make-assets");
const QString kSurvey = QStringLiteral(SKYREL_SOURCE_DIR "/assets/tsky408.dat");

// Positions quantised to half a degree from (-180, -90). Land: a 40 x 20 degree block north-east of
// (0, 0) made of two squares sharing the arc on 20 E (the second walks it backwards as ~1), and an island
// from 170 E to 170 W between 30 S and 20 S, written as Natural Earth writes date-line crossings.
const char* const kTopology = R"({"type":"Topology",
 "transform":{"scale":[0.5,0.5],"translate":[-180,-90]},
 "objects":{"land":{"type":"GeometryCollection","geometries":[
   {"type":"MultiPolygon","arcs":[[[0,1]],[[2,-2]]]},
   {"type":"Polygon","arcs":[[3]]}]}},
 "arcs":[[[400,180],[-40,0],[0,40],[40,0]],
         [[400,220],[0,-40]],
         [[400,220],[40,0],[0,-40],[-40,0]],
         [[700,120],[20,0],[-720,0],[20,0],[0,20],[-20,0],[720,0],[-20,0],[0,-20]]]})";

using skyrel::test::ToolRun;

ToolRun RunGenerator(const QStringList& args) { return skyrel::test::RunTool(kTool, args); }

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(content);
    return file.fileName();
}

class MakeAssets : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString land = WriteFile(dir, QStringLiteral("land.json"), kTopology);
    QString out = dir.filePath(QStringLiteral("out"));
};

TEST_F(MakeAssets, DrawsTheLandOfATopologyInTheEarthProjection) {
    const ToolRun r = RunGenerator({"--land", land, "--survey", kSurvey, "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    QFile bmp(out + QStringLiteral("/worldmap.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(54);
    EXPECT_EQ(header.left(2), "BM");
    EXPECT_EQ(header[28], 24);
    EXPECT_EQ(header[30], 0);

    const QImage map(out + QStringLiteral("/worldmap.bmp"));
    ASSERT_EQ(map.size(), QSize(516, 260));
    const auto pixel = [&](double longitude, double latitude) {
        return map.pixel(MapColumn(Projection::Earth, longitude), MapRow(Projection::Earth, latitude));
    };
    const auto isSea = [&](QRgb p) { return qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p); };

    // Both squares are land, and so is their shared edge: no seam between them.
    for (double longitude : {5.0, 10.0, 20.0, 30.0, 35.0})
        EXPECT_FALSE(isSea(pixel(longitude, 10))) << longitude;
    for (double longitude : {-5.0, 45.0}) EXPECT_TRUE(isSea(pixel(longitude, 10))) << longitude;
    EXPECT_TRUE(isSea(pixel(20, 25)));
    EXPECT_TRUE(isSea(pixel(20, -5)));

    // The island shows at both edges, and no band of land joins them across the map.
    EXPECT_FALSE(isSea(pixel(175, -25)));
    EXPECT_FALSE(isSea(pixel(-175, -25)));
    const int row = MapRow(Projection::Earth, -25);
    for (int c = 20; c < 496; ++c) ASSERT_TRUE(isSea(map.pixel(c, row))) << c;
    // Without land near the South Pole there is no ice sheet there, only sea.
    EXPECT_TRUE(isSea(pixel(0, -70)));
}

TEST_F(MakeAssets, SkyChartsAndIconFromTheSurvey) {
    const ToolRun r = RunGenerator({"--land", land, "--survey", kSurvey, "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QImage noise(out + QStringLiteral("/skynoise.jpg"));
    ASSERT_EQ(noise.size(), QSize(516, 264));
    const auto sky = [&](double hours, double declination) {
        return noise.pixel(MapColumn(Projection::Sky, hours * 15), MapRow(Projection::Sky, declination));
    };
    // The survey's hottest point, the Galactic centre (RA 17h45.6m, dec -28.94), ends up yellow; the
    // Galactic anticentre (5h46m, +28.9) and the sky far from the plane stay dark red.
    EXPECT_GE(qGreen(sky(17.76, -28.94)), 200);
    EXPECT_LT(qGreen(sky(10, 35)), 40);
    EXPECT_GT(qGreen(sky(17.76, -28.94)), qGreen(sky(5.77, 28.9)) + 80);
    // Cassiopeia A (23h23m, +58.8) lies off the chart; Cygnus X (20h20m, +40) is on it and bright.
    EXPECT_GE(qGreen(sky(20.33, 40)), 150);

    const QImage grid(out + QStringLiteral("/celestialgrid.jpg"));
    EXPECT_EQ(grid.size(), QSize(516, 264));

    const QImage icon(out + QStringLiteral("/skyrel-icon.png"));
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.format(), QImage::Format_Indexed8);
    EXPECT_LE(icon.colorCount(), 16);
}

TEST_F(MakeAssets, RefusesMissingOrMalformedInput) {
    ToolRun r = RunGenerator({"--land", dir.filePath("missing.json"), "--survey", kSurvey, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("missing.json")) << r.err.toStdString();

    const QString notTopology = WriteFile(dir, QStringLiteral("plain.json"), R"({"type":"FeatureCollection"})");
    r = RunGenerator({"--land", notTopology, "--survey", kSurvey, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("not a TopoJSON topology")) << r.err.toStdString();

    const QString truncated = WriteFile(dir, QStringLiteral("short.dat"), QByteArray(1000, '\0'));
    r = RunGenerator({"--land", land, "--survey", truncated, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("not a 360 x 180 grid")) << r.err.toStdString();

    const QString noSky = WriteFile(dir, QStringLiteral("zero.dat"), QByteArray(360 * 180 * 2, '\0'));
    r = RunGenerator({"--land", land, "--survey", noSky, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("positive temperatures")) << r.err.toStdString();

    r = RunGenerator({"--land", land, "--out", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QDir(out).exists(QStringLiteral("worldmap.bmp")));
}

}  // namespace
