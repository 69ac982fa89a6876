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

#include "app/settingsstore.h"
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

    const QStringList topKeys{"anomalyPhase", "eme", "moon", "moonElongation", "sun", "utcDay", "utcFraction"};
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
                             "--local-offset", "--every", "--count", "--csv"})
        EXPECT_TRUE(help.out.contains(flag)) << flag;
}

}  // namespace
