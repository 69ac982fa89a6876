// skyrel-ephem as a real process: its JSON against the reference figures, the stored site, bad input.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "app/settings/settingsstore.h"
#include "tests/support/golden_data.h"
#include "tests/support/toolrun.h"

namespace {

const QString kTool = QStringLiteral(SKYREL_TOOLS_DIR "/skyrel-ephem/skyrel-ephem");

using skyrel::test::ToolRun;

ToolRun RunTool(const QStringList& args) { return skyrel::test::RunTool(kTool, args); }

using skyrel::test::CloseTo;

QJsonObject FirstLine(const QString& fileName) { return skyrel::test::ReadJsonLines(fileName).at(0); }

TEST(SkyrelEphem, JsonOfOneInstantMatchesTheReferenceFigures) {
    const QJsonObject line = FirstLine(QStringLiteral("golden-positions.jsonl"));
    ASSERT_FALSE(line.isEmpty());
    const ToolRun r = RunTool({QStringLiteral("--lat"), QString::number(line["lat"].toDouble(), 'g', 17),
                           QStringLiteral("--lon"), QString::number(line["lon"].toDouble(), 'g', 17),
                           QStringLiteral("--height"), QString::number(line["height"].toDouble(), 'g', 17),
                           QStringLiteral("--utc"), line["utc"].toString(), QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject got = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();

    const QStringList topKeys{"anomalyPhase", "eme", "moon", "moonElongation", "sky", "sun", "utcDay", "utcFraction"};
    EXPECT_EQ(got.keys(), topKeys);
    const QJsonObject expect = line["expect"].toObject();
    EXPECT_EQ(got["utcDay"].toInt(), expect["utcDay"].toInt());
    for (const QString& key : {QStringLiteral("utcFraction"), QStringLiteral("moonElongation"),
                               QStringLiteral("anomalyPhase")})
        EXPECT_PRED2(CloseTo, got[key].toDouble(), expect[key].toDouble()) << key.toStdString();
    for (const QString& body : {QStringLiteral("sun"), QStringLiteral("moon")}) {
        const QJsonObject g = got[body].toObject();
        const QJsonObject e = expect[body].toObject();
        EXPECT_EQ(g.keys(), e.keys()) << body.toStdString();
        for (const QString& key : e.keys())
            EXPECT_PRED2(CloseTo, g[key].toDouble(), e[key].toDouble()) << (body + "." + key).toStdString();
    }

    // The EME figures of two cycles one second apart: Doppler follows the range rate on every band.
    const QJsonObject eme = got["eme"].toObject();
    const QStringList emeKeys{"dopplerShift", "echoDelay", "pathLossVsPerigee", "rangeRate"};
    EXPECT_EQ(eme.keys(), emeKeys);
    const double rate = eme["rangeRate"].toDouble();
    EXPECT_GT(std::abs(rate), 0.0);
    EXPECT_LT(std::abs(rate), 1.2);
    const QJsonArray shifts = eme["dopplerShift"].toArray();
    ASSERT_EQ(shifts.size(), 5);
    EXPECT_NEAR(shifts[4].toDouble(), -rate * 2 / 299792.5 * 10368e6, 1e-3);
    const double distance = got["moon"].toObject()["distance"].toDouble();
    EXPECT_NEAR(eme["echoDelay"].toDouble(), distance * 2 / 299792.5, 1e-12);
}

// The planner's figures of one instant for Connecticut and a DX in Berlin, and the common windows of a day
// (found to the second by a one-second scan in the engine's tests): two, cut at the day's two ends.
TEST(SkyrelEphem, DxFiguresAndCommonWindowsAsJson) {
    const QStringList home{"--lat", "41.729166666666667", "--lon", "-72.708333333333333", "--height", "0"};
    ToolRun r = RunTool(home + QStringList{"--utc", "2026-12-19T01:00:00", "--dx", "jo62QM", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject got = QJsonDocument::fromJson(r.out).object();
    const QJsonObject dx = got["dx"].toObject();
    const QStringList dxKeys{"azimuth",  "crossDoppler", "echoDoppler",        "elevation",        "latitude",
                             "locator",  "longitude",    "polarisationLoss",   "polarisationOffset", "rangeRate"};
    EXPECT_EQ(dx.keys(), dxKeys);
    EXPECT_EQ(dx["locator"].toString(), "JO62qm");
    EXPECT_NEAR(dx["latitude"].toDouble(), 52.520833, 1e-6);
    EXPECT_NEAR(dx["elevation"].toDouble(), 2.2, 0.2);
    // The cross Doppler is one way from each station: the mean of the two echoes on every band.
    const QJsonArray homeEcho = got["eme"].toObject()["dopplerShift"].toArray();
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(dx["crossDoppler"].toArray()[i].toDouble(),
                    (homeEcho[i].toDouble() + dx["echoDoppler"].toArray()[i].toDouble()) / 2, 1e-3) << i;
    const QJsonObject sky = got["sky"].toObject();
    EXPECT_EQ(sky.keys(), (QStringList{"degradation", "galacticLatitude", "galacticLongitude", "tsky"}));
    EXPECT_GT(sky["tsky"].toArray()[0].toDouble(), sky["tsky"].toArray()[4].toDouble());

    // Before 1970 too, a DX at the home site sees the home station's Moon of the same second.
    r = RunTool(home + QStringList{"--utc", "1969-07-20T20:17:40", "--dx", "41.729166666666667,-72.708333333333333",
                                   "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    got = QJsonDocument::fromJson(r.out).object();
    for (const char* key : {"azimuth", "elevation"})
        EXPECT_NEAR(got["dx"].toObject()[key].toDouble(), got["moon"].toObject()[key].toDouble(), 1e-9) << key;

    r = RunTool(home + QStringList{"--windows", "--dx", "JO62qm", "--date", "2026-12-19", "--min-elevation", "0",
                                   "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    got = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(got.keys(), (QStringList{"dx", "home", "minElevation", "windows"}));
    EXPECT_EQ(got["home"].toObject()["locator"].toString(), "FN31pr");
    const QJsonArray windows = got["windows"].toArray();
    ASSERT_EQ(windows.size(), 2) << r.out.toStdString();
    EXPECT_EQ(windows[0].toObject()["start"].toString(), "2026-12-19T00:00:00");
    EXPECT_EQ(windows[0].toObject()["end"].toString(), "2026-12-19T01:17:42");
    EXPECT_EQ(windows[1].toObject()["start"].toString(), "2026-12-19T17:41:55");
    EXPECT_EQ(windows[1].toObject()["end"].toString(), "2026-12-19T23:59:59");
    EXPECT_NEAR(windows[0].toObject()["minutes"].toDouble(), 77.7, 0.01);
    EXPECT_NEAR(windows[0].toObject()["homeMaxElevation"].toDouble(), 58.9, 0.05);

    // The same windows as text: the sites and the minimum above a table of the same figures.
    r = RunTool(home + QStringList{"--windows", "--dx", "JO62qm", "--date", "2026-12-19", "--min-elevation", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> text = r.out.trimmed().split('\n');
    ASSERT_EQ(text.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(text[0].startsWith("Home FN31pr 41.7292 -72.7083 0 m, DX JO62qm 52.5208 13.3750 0 m,")) << text[0].toStdString();
    EXPECT_TRUE(text[0].contains(" 0.0 deg")) << text[0].toStdString();
    EXPECT_EQ(text[2].simplified().split(' ').mid(1), (QList<QByteArray>{"2026-12-19T01:17:42", "77.7", "58.9", "10.5"}));
    EXPECT_EQ(text[3].simplified().split(' ').mid(1), (QList<QByteArray>{"2026-12-19T23:59:59", "378.1", "62.4", "52.5"}));

    // The stored minimum applies without the flag: at 20 deg the evening window opens at 19:08:44, not
    // 17:16:31 as at 0 deg, and ends before the midnight.
    skyrel::NativeSettingsStore store;
    store.write(QStringLiteral("Planner"), QStringLiteral("Min Elevation"), QStringLiteral("20"));
    ASSERT_TRUE(store.sync());
    r = RunTool(home + QStringList{"--windows", "--dx", "52.520833333333333,13.375", "--date", "2026-12-18", "--days",
                                   "2", "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = r.out.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 3) << r.out.toStdString();
    EXPECT_EQ(rows[0], "start,end,minutes,homeMaxElevation,dxMaxElevation");
    EXPECT_TRUE(rows[1].startsWith("2026-12-18T19:08:44,2026-12-18T22:53:48,225.066")) << rows[1].toStdString();
}

TEST(SkyrelEphem, RiseSetJsonGivesTheWindowTexts) {
    const ToolRun r = RunTool({"--lat", "38.02", "--lon", "-78.63", "--height", "100", "--riseset", "--date",
                           "2005-09-21", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject got = QJsonDocument::fromJson(r.out).object();
    const QJsonObject sun = got["sun"].toObject();
    EXPECT_EQ(sun["rows"].toArray()[0].toArray()[1].toString(), " 11:01");
    EXPECT_EQ(sun["rows"].toArray()[1].toArray()[0].toString(), "Set (UTC):");
    EXPECT_EQ(sun["transit"].toArray()[1].toString(), "17:07");
    EXPECT_EQ(got["moon"].toObject()["maxMin"].toString(), "69.2 / -32.6");
}

TEST(SkyrelEphem, LocalRiseSetMatchesAReferenceDay) {
    const auto days = skyrel::test::ReadJsonLines(QStringLiteral("golden-riseset.jsonl"));
    const auto local = std::find_if(days.begin(), days.end(),
                                    [](const QJsonObject& day) { return day.contains(QStringLiteral("localOffset")); });
    ASSERT_NE(local, days.end());
    const QJsonObject line = *local;
    const ToolRun r = RunTool({"--lat", QString::number(line["lat"].toDouble(), 'g', 17), "--lon",
                           QString::number(line["lon"].toDouble(), 'g', 17), "--height",
                           QString::number(line["height"].toDouble(), 'g', 17), "--riseset", "--date",
                           line["date"].toString(), "--local-offset",
                           QString::number(line["localOffset"].toDouble(), 'g', 17), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object(), line["expect"].toObject()) << r.out.toStdString();
}

TEST(SkyrelEphem, UsesTheStoredSiteAndFallsBackOnBadValues) {
    skyrel::NativeSettingsStore store;
    store.write(skyrel::kOptionsGroup, QStringLiteral("Observer Latitude"), QStringLiteral("-33.5"));
    store.write(skyrel::kOptionsGroup, QStringLiteral("Observer Longitude"), QStringLiteral("garbage"));
    store.write(skyrel::kOptionsGroup, QStringLiteral("Observer Height"), QStringLiteral("250"));
    ASSERT_TRUE(store.sync());
    const QStringList instant{"--utc", "2005-09-21T17:15:00", "--json"};
    const ToolRun stored = RunTool(instant);
    const ToolRun given = RunTool(QStringList{"--lat", "-33.5", "--lon", "-78.63", "--height", "250"} + instant);
    ASSERT_EQ(stored.exitCode, 0) << stored.err.toStdString();
    EXPECT_EQ(stored.out, given.out);
    EXPECT_FALSE(stored.out.isEmpty());
}

// --ephemeris precise reaches the figures (a line of the high-precision reference, within the precise
// ephemeris's 0.005 deg for the Moon and 0.002 deg for the Sun), reads the stored DUT1, and standard is
// the default.
TEST(SkyrelEphem, EphemerisOptionSelectsThePreciseFiguresAndStandardIsTheDefault) {
    const QJsonObject line = FirstLine(QStringLiteral("precise-golden.jsonl"));
    const QStringList instant{"--lat",    QString::number(line["lat"].toDouble(), 'g', 17),
                              "--lon",    QString::number(line["lon"].toDouble(), 'g', 17),
                              "--height", QString::number(line["height"].toDouble(), 'g', 17),
                              "--utc",    line["utc"].toString(),
                              "--json"};
    const auto run = [&instant](const QStringList& more) {
        const ToolRun r = RunTool(instant + more);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    };
    const QJsonObject precise = run({"--ephemeris", "precise"});
    for (const auto& [body, toleranceDeg] : {std::pair{QStringLiteral("moon"), 0.005}, {QStringLiteral("sun"), 0.002}}) {
        const QJsonObject got = precise[body].toObject(), want = line[body].toObject();
        // Geometric elevations: refraction is added after the position step and the reference has none.
        EXPECT_NEAR(got["geometricElevation"].toDouble(), want["elevation"].toDouble(), toleranceDeg);
        const double cosElevation = std::cos(want["elevation"].toDouble() * M_PI / 180);
        EXPECT_NEAR(std::remainder(got["azimuth"].toDouble() - want["azimuth"].toDouble(), 360) * cosElevation, 0,
                    toleranceDeg)
            << body.toStdString();
    }
    EXPECT_EQ(run({"--ephemeris", "standard"}), run({}));

    // A DX station at the home site sees the home station's Moon: both follow the chosen ephemeris.
    const QString here = QString::number(line["lat"].toDouble(), 'g', 17) + "," +
                         QString::number(line["lon"].toDouble(), 'g', 17);
    const QJsonObject withDx =
        run({"--ephemeris", "precise", "--dx", here, "--dx-height", QString::number(line["height"].toDouble(), 'g', 17)});
    for (const char* key : {"azimuth", "elevation"})
        EXPECT_NEAR(withDx["dx"].toObject()[key].toDouble(), withDx["moon"].toObject()[key].toDouble(), 1e-9) << key;

    // UT1 half a second ahead: the Sun's hour angle grows by 0.5 s x 360.9856 deg/day.
    skyrel::NativeSettingsStore store;
    store.write(skyrel::kOptionsGroup, QStringLiteral("DUT1"), QStringLiteral("0.5"));
    ASSERT_TRUE(store.sync());
    const double turned = run({"--ephemeris", "precise"})["sun"].toObject()["hourAngle"].toDouble();
    EXPECT_NEAR(turned - precise["sun"].toObject()["hourAngle"].toDouble(), 0.5 * 360.98565 / 86400, 1e-6);
}

TEST(SkyrelEphem, TableHasOneRowPerInstantAndCsvAHeader) {
    const ToolRun r = RunTool({"--utc", "2005-09-21T23:59:00", "--every", "30", "--count", "4", "--csv", "--lat", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = r.out.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows[0].startsWith("utc,sunAzimuth,"));
    EXPECT_TRUE(rows[4].startsWith("2005-09-22T00:00:30,"));
    EXPECT_EQ(rows[1].count(','), 11);

    // A table may end on the last instant of the calendar, not one second later (see the bad input).
    const ToolRun last = RunTool({"--utc", "2100-02-28T23:58:59", "--every", "60", "--count", "2", "--csv"});
    ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_TRUE(last.out.trimmed().split('\n').last().startsWith("2100-02-28T23:59:59,")) << last.out.toStdString();
    // And may start on the calendar's first instant.
    const ToolRun first = RunTool({"--utc", "1901-03-01T00:00:00", "--every", "60", "--count", "1", "--csv"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.trimmed().split('\n').last().startsWith("1901-03-01T00:00:00,")) << first.out.toStdString();
    for (const char* day : {"1901-03-01", "2100-02-28"})
        EXPECT_EQ(RunTool({"--riseset", "--date", day}).exitCode, 0) << day;
}

TEST(SkyrelEphem, BadInputNamesTheFlagAndExitsWith2) {
    const QList<std::pair<QStringList, QByteArray>> cases{
        {{"--lat", "91"}, "--lat"},
        {{"--lat", "abc"}, "--lat"},
        {{"--lon", "-180.5"}, "--lon"},
        {{"--utc", "2005-02-30T00:00:00"}, "--utc"},
        {{"--utc", "2005-09-21 17:15"}, "--utc"},
        {{"--riseset", "--date", "2005-13-01"}, "--date"},
        {{"--riseset", "--local-offset", "x"}, "--local-offset"},
        {{"--every", "0", "--count", "3"}, "--every"},
        {{"--frobnicate"}, "--frobnicate"},
        {{"--lat", "1\n2"}, "\"1\\x0A2\""},
        {{"--height"}, "--height"},
        // Tables that would run past the calendar name its last instant.
        {{"--utc", "2100-02-28T23:59:00", "--every", "60", "--count", "2"}, "2100-02-28T23:59:59"},
        {{"--utc", "2100-01-01T00:00:00", "--every", "31622400", "--count", "30660"}, "2100-02-28T23:59:59"},
        {{"--dx", "SN31"}, "--dx"},
        {{"--dx", "52.5,181"}, "--dx"},
        {{"--windows", "--dx", "FN31", "--days", "367"}, "--days"},
        {{"--windows", "--dx", "FN31", "--min-elevation", "61"}, "--min-elevation"},
        {{"--windows"}, "--dx"},
        {{"--dx-height", "30"}, "--dx-height"},
        // The calendar's first and last days (allowed below) and one day beyond each.
        {{"--riseset", "--date", "1901-02-28"}, "--date"},
        {{"--utc", "2100-03-01T00:00:00"}, "--utc"},
        {{"--ephemeris", "fast"}, "--ephemeris"},
        {{"--riseset", "--ephemeris", "Precise"}, "--ephemeris"},
        {{"--ephemeris"}, "--ephemeris"},
    };
    for (const auto& [args, flag] : cases) {
        const ToolRun r = RunTool(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(flag)) << r.err.toStdString();
    }
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* flag : {"--lat", "--lon", "--height", "--utc", "--json", "--riseset", "--date",
                             "--local-offset", "--every", "--count", "--csv", "--dx", "--dx-height", "--windows",
                             "--days", "--min-elevation", "--ephemeris"})
        EXPECT_TRUE(help.out.contains(flag)) << flag;
}

}  // namespace
