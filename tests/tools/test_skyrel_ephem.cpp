// skyrel-ephem as a real process: its JSON against the reference figures, the stored site, bad input.
#include <gtest/gtest.h>

#include <QFile>
#include <QDateTime>
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

    const QStringList topKeys{"anomalyPhase", "dut1", "eme", "moon", "moonElongation", "sky", "sun", "utc"};
    EXPECT_EQ(got.keys(), topKeys);
    EXPECT_EQ(got["utc"].toString(), line["utc"].toString() + "Z");
    EXPECT_TRUE(got["dut1"].isNull()) << "the standard ephemeris uses no DUT1";
    const QJsonObject expect = line["expect"].toObject();
    for (const QString& key : {QStringLiteral("moonElongation"), QStringLiteral("anomalyPhase")})
        EXPECT_PRED2(CloseTo, got[key].toDouble(), expect[key].toDouble()) << key.toStdString();
    // The reference keeps right ascensions and declinations in radians; the JSON has every angle in
    // degrees, converted with the engine's pi (1e-13 relative from M_PI, within CloseTo's 1e-12).
    const QStringList radianKeys{"rightAscension", "declination", "geoRightAscension", "geoDeclination"};
    for (const QString& body : {QStringLiteral("sun"), QStringLiteral("moon")}) {
        const QJsonObject g = got[body].toObject();
        const QJsonObject e = expect[body].toObject();
        EXPECT_EQ(g.keys(), e.keys()) << body.toStdString();
        for (const QString& key : e.keys())
            EXPECT_PRED2(CloseTo, g[key].toDouble(), e[key].toDouble() * (radianKeys.contains(key) ? 180 / M_PI : 1))
                << (body + "." + key).toStdString();
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

    // The radio's dials at 1296 MHz, against the figures printed beside them: Own Echo receives the own
    // echo's Doppler and transmits on the sky frequency; Full To DX receives the cross Doppler and
    // transmits against it. 1 mHz: the same range rates through a different sum.
    const double sky1296 = 1296e6;
    for (const auto& [word, rx, tx] : {std::tuple{"echo", homeEcho[2].toDouble(), 0.0},
                                       std::tuple{"dx", dx["crossDoppler"].toArray()[2].toDouble(),
                                                  -dx["crossDoppler"].toArray()[2].toDouble()}}) {
        const ToolRun radioRun = RunTool(home + QStringList{"--utc", "2026-12-19T01:00:00", "--dx", "jo62QM", "--radio",
                                                            word, "--rx-sky", "1296000000", "--json"});
        ASSERT_EQ(radioRun.exitCode, 0) << radioRun.err.toStdString();
        const QJsonObject radio = QJsonDocument::fromJson(radioRun.out).object()["radio"].toObject();
        EXPECT_NEAR(radio["rxCorrection"].toDouble(), rx, 1e-3) << word;
        EXPECT_NEAR(radio["txCorrection"].toDouble(), tx, 1e-3) << word;
        EXPECT_EQ(radio["rxDial"].toDouble(), std::round(sky1296 + rx)) << word;
        EXPECT_EQ(radio["txDial"].toDouble(), std::round(sky1296 + tx)) << word;
    }
    EXPECT_GT(sky["tsky"].toArray()[0].toDouble(), sky["tsky"].toArray()[4].toDouble());

    // Before 1970 too, a DX at the home site sees the home station's Moon of the same second.
    r = RunTool(home + QStringList{"--utc", "1969-07-20T20:17:40", "--dx", "41.729166666666667,-72.708333333333333",
                                   "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    got = QJsonDocument::fromJson(r.out).object();
    for (const char* key : {"azimuth", "elevation"})
        EXPECT_NEAR(got["dx"].toObject()[key].toDouble(), got["moon"].toObject()[key].toDouble(), 1e-9) << key;
    // There the polarisation loss is -20 log10(cos 0) = -0: written as 0, never "-0" or "-0.0".
    EXPECT_FALSE(r.out.contains(": -0,") || r.out.contains(": -0}")) << r.out.toStdString();
    r = RunTool(home + QStringList{"--utc", "1969-07-20T20:17:40", "--dx", "41.729166666666667,-72.708333333333333"});
    EXPECT_TRUE(r.out.contains("Polarisation offset   0.0 deg, loss 0.0 dB\n")) << r.out.toStdString();

    r = RunTool(home + QStringList{"--windows", "--dx", "JO62qm", "--date", "2026-12-19", "--min-elevation", "0",
                                   "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    got = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(got.keys(), (QStringList{"dx", "home", "minElevation", "windows"}));
    EXPECT_EQ(got["home"].toObject()["locator"].toString(), "FN31pr");
    const QJsonArray windows = got["windows"].toArray();
    ASSERT_EQ(windows.size(), 2) << r.out.toStdString();
    EXPECT_EQ(windows[0].toObject()["start"].toString(), "2026-12-19T00:00:00Z");
    EXPECT_EQ(windows[0].toObject()["end"].toString(), "2026-12-19T01:17:42Z");
    EXPECT_EQ(windows[1].toObject()["start"].toString(), "2026-12-19T17:41:55Z");
    EXPECT_EQ(windows[1].toObject()["end"].toString(), "2026-12-19T23:59:59Z");
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
    // The text's decimals: 225.066... minutes as 225.1.
    EXPECT_TRUE(rows[1].startsWith("2026-12-18T19:08:44Z,2026-12-18T22:53:48Z,225.1,")) << rows[1].toStdString();

    // No window at all: the Moon never stands 60 deg high in Connecticut and in Antarctica together.
    r = RunTool(home + QStringList{"--windows", "--dx", "-70,0", "--date", "2026-12-18", "--min-elevation", "60"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith("\nno common window in these days\n")) << r.out.toStdString();
}

TEST(SkyrelEphem, RiseSetJsonGivesTheWindowTexts) {
    const ToolRun r = RunTool({"--lat", "38.02", "--lon", "-78.63", "--height", "100", "--riseset", "--date",
                           "2005-09-21", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject got = QJsonDocument::fromJson(r.out).object();
    const QJsonObject sun = got["sun"].toObject();
    EXPECT_EQ(sun["rows"].toArray()[0].toArray()[1].toString(), " 11:01");
    EXPECT_EQ(sun["rows"].toArray()[0].toArray()[2].toString(), "2005-09-21T11:01:00Z");
    EXPECT_EQ(sun["rows"].toArray()[1].toArray()[0].toString(), "Set (UTC):");
    EXPECT_EQ(sun["transit"].toArray()[1].toString(), "17:07");
    EXPECT_EQ(sun["transit"].toArray()[2].toString(), "2005-09-21T17:07:00Z");
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
    // The reference has the window's [caption, text] pairs; the JSON adds the UTC instant of the minute
    // shown: local text minus the offset, a Moon event after midnight ("** ") on the next day, null for
    // "++++" and "-----".
    QJsonObject got = QJsonDocument::fromJson(r.out).object();
    const double offsetHours = line["localOffset"].toDouble();
    const QDateTime localMidnight(QDate::fromString(line["date"].toString(), Qt::ISODate), QTime(0, 0), Qt::UTC);
    const auto textOnly = [&](QJsonArray entry) {
        const QString text = entry[1].toString();
        const bool next = text.startsWith("**");
        const QTime shown = QTime::fromString(text.right(5), "hh:mm");
        if (!shown.isValid()) {
            EXPECT_TRUE(entry[2].isNull()) << text.toStdString();
        } else {
            const QDateTime utc = localMidnight.addDays(next ? 1 : 0)
                                      .addSecs(QTime(0, 0).secsTo(shown) - qint64(std::llround(offsetHours * 3600)));
            EXPECT_EQ(entry[2].toString(), utc.toString("yyyy-MM-dd'T'HH:mm:ss'Z'")) << text.toStdString();
        }
        entry.removeLast();
        return entry;
    };
    for (const QString body : {"sun", "moon"}) {
        QJsonObject panel = got[body].toObject();
        QJsonArray rows;
        for (const QJsonValue row : panel["rows"].toArray()) rows.append(textOnly(row.toArray()));
        panel["rows"] = rows;
        panel["transit"] = textOnly(panel["transit"].toArray());
        got[body] = panel;
    }
    EXPECT_EQ(got, line["expect"].toObject()) << r.out.toStdString();
}

// A stored value that is no number or lies outside its range is the tracker's default, as the tracker
// reads it, and standard error names it; the JSON stays valid (no inf, no nan).
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
    EXPECT_EQ(QString::fromUtf8(stored.err), "skyrel-ephem: Observer Longitude in " + store.fileName() +
                                                 ": 'garbage' is not a valid floating point value; using -78.63\n");

    store.write(skyrel::kOptionsGroup, QStringLiteral("Observer Longitude"), QStringLiteral("1e17"));
    store.write(skyrel::kOptionsGroup, QStringLiteral("Observer Height"), QStringLiteral("1e300"));
    ASSERT_TRUE(store.sync());
    const ToolRun huge = RunTool(instant);
    ASSERT_EQ(huge.exitCode, 0) << huge.err.toStdString();
    EXPECT_EQ(huge.out, RunTool(QStringList{"--lat", "-33.5", "--lon", "-78.63", "--height", "100"} + instant).out);
    EXPECT_EQ(huge.err.count("skyrel-ephem: "), 2) << huge.err.toStdString();
    EXPECT_TRUE(huge.err.contains("Observer Longitude in ") && huge.err.contains("Observer Height in "))
        << huge.err.toStdString();
    QJsonParseError error;
    QJsonDocument::fromJson(huge.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << huge.out.toStdString();
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

// The sky behind the Moon from its J2000 direction: of date, this Moon stood at l 5.38, b -5.51. The
// survey's samples around l 5.2219, b -5.2265 are 117.5 and 120.4 K (l 5 and 6, b -6) and 140.1 and
// 144.8 K (b -5); bilinear with x 0.2219, y 0.7735: 118.14 K below, 141.14 K above, 135.93 K between,
// and at 144 MHz (135.93 - 2.725) x (144 / 408)^-2.6 + 2.725 = 133.21 x 14.996 + 2.725 = 2000.3 K. The
// nearest sample alone would give 2062.8 K. At 10368 MHz the sky is the cosmic background and a little.
// UT1 - UTC comes from the IERS file: 01:00:37 lies 3637 s into April 12, between the predicted rows
// -0.0143650 and -0.0152090 s; outside the file the stored DUT1 is used.
TEST(SkyrelEphem, PreciseSkyFromJ2000AndDut1FromTheIersFileInDegreesLikeTheText) {
    const QString iersFile = QStringLiteral(SKYREL_SOURCE_DIR "/tests/data/finals2000A-excerpt.txt");
    skyrel::NativeSettingsStore store;
    store.write(skyrel::kOptionsGroup, QStringLiteral("IERS File"), iersFile);
    store.write(skyrel::kOptionsGroup, QStringLiteral("DUT1"), QStringLiteral("0.25"));
    ASSERT_TRUE(store.sync());
    const QStringList site{"--lat", "-60.80803", "--lon", "-126.357168", "--height", "665.1", "--ephemeris", "precise"};
    const QStringList instant = site + QStringList{"--utc", "2023-04-12T01:00:37"};
    const ToolRun json = RunTool(instant + QStringList{"--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject got = QJsonDocument::fromJson(json.out).object();

    const QJsonObject sky = got["sky"].toObject();
    // 0.01 deg: the printed figures' last digit; the survey moves by 1 K per 0.01 deg here.
    EXPECT_NEAR(sky["galacticLongitude"].toDouble(), 5.22, 0.01);
    EXPECT_NEAR(sky["galacticLatitude"].toDouble(), -5.23, 0.01);
    const QJsonArray tsky = sky["tsky"].toArray();
    EXPECT_NEAR(tsky[0].toDouble(), 2000.3, 0.1);  // the hand figures above carry 0.1 K
    // 10368 MHz: the same survey point, its part above the 2.725 K background scaled from 144 MHz by
    // (10368 / 144)^-2.6 (to 1e-9 K).
    EXPECT_NEAR(tsky[4].toDouble(), (tsky[0].toDouble() - 2.725) * std::pow(10368.0 / 144, -2.6) + 2.725, 1e-9);

    const QJsonObject dut1 = got["dut1"].toObject();
    EXPECT_NEAR(dut1["seconds"].toDouble(), -0.0143650 + (-0.0152090 + 0.0143650) * 3637 / 86400, 1e-9);
    EXPECT_EQ(dut1["source"].toString(), "iers-predicted");
    EXPECT_EQ(dut1["iersFile"].toString(), iersFile);
    const ToolRun outside = RunTool(site + QStringList{"--utc", "2020-01-01T00:00:00", "--json"});
    const QJsonObject stored = QJsonDocument::fromJson(outside.out).object()["dut1"].toObject();
    EXPECT_EQ(stored["source"].toString(), "stored");
    EXPECT_EQ(stored["seconds"].toDouble(), 0.25);

    // Every angle in degrees: the Moon's declination as the text prints it (2 decimals, so within
    // 0.005), its right ascension the text's hours (4 decimals, within 0.00005 h) times 15.
    const ToolRun text = RunTool(instant);
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const auto moonColumn = [&text](const char* caption) {
        for (const QByteArray& line : text.out.split('\n'))
            if (line.startsWith(caption)) return line.mid(22 + 16, 16).trimmed().toDouble();
        ADD_FAILURE() << caption;
        return 0.0;
    };
    const QJsonObject moon = got["moon"].toObject();
    EXPECT_NEAR(moon["declination"].toDouble(), moonColumn("Declination"), 0.005);
    EXPECT_NEAR(moon["rightAscension"].toDouble() / 15, moonColumn("Right ascension"), 0.00005);
}

TEST(SkyrelEphem, TableHasOneRowPerInstantAndCsvAHeader) {
    const ToolRun r = RunTool({"--utc", "2005-09-21T23:59:00", "--every", "30", "--count", "4", "--csv", "--lat", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> rows = r.out.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows[0].startsWith("utc,sunAzimuth,"));
    EXPECT_TRUE(rows[4].startsWith("2005-09-22T00:00:30Z,"));
    EXPECT_EQ(rows[1].count(','), 11);
    // The text's decimals in every column: two for angles, none for distances.
    const ToolRun text = RunTool({"--utc", "2005-09-21T23:59:00", "--every", "30", "--count", "4", "--lat", "0"});
    const QList<QByteArray> fields = rows[4].split(',');
    const QList<QByteArray> columns = text.out.trimmed().split('\n')[4].simplified().split(' ');
    ASSERT_EQ(columns.size(), fields.size());
    for (int i = 1; i < fields.size(); ++i) EXPECT_EQ(fields[i], columns[i]) << i;

    // A table may end on the last instant of the calendar, not one second later (see the bad input).
    const ToolRun last = RunTool({"--utc", "2100-02-28T23:58:59", "--every", "60", "--count", "2", "--csv"});
    ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_TRUE(last.out.trimmed().split('\n').last().startsWith("2100-02-28T23:59:59Z,")) << last.out.toStdString();
    // And may start on the calendar's first instant.
    const ToolRun first = RunTool({"--utc", "1901-03-01T00:00:00", "--every", "60", "--count", "1", "--csv"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.trimmed().split('\n').last().startsWith("1901-03-01T00:00:00Z,")) << first.out.toStdString();
    for (const char* day : {"1901-03-01", "2100-02-28"})
        EXPECT_EQ(RunTool({"--riseset", "--date", day}).exitCode, 0) << day;

    // With --radio moon two dial columns follow; Constant On Moon corrects receive and transmit by as much
    // in opposite senses, so the two dials straddle the sky frequency (to the rounding of each, 1 Hz).
    const ToolRun radio = RunTool({"--utc", "2005-09-21T23:59:00", "--every", "30", "--count", "4", "--csv", "--lat",
                                   "0", "--radio", "moon", "--rx-sky", "432050000"});
    ASSERT_EQ(radio.exitCode, 0) << radio.err.toStdString();
    const QList<QByteArray> radioRows = radio.out.trimmed().split('\n');
    EXPECT_TRUE(radioRows[0].endsWith(",moonElongation,rxDial,txDial"));
    for (const QByteArray& row : radioRows.mid(1)) {
        const QList<QByteArray> cells = row.split(',');
        ASSERT_EQ(cells.size(), 14) << row.toStdString();
        EXPECT_NEAR(cells[12].toDouble() + cells[13].toDouble(), 2 * 432050000.0, 1) << row.toStdString();
        EXPECT_NE(cells[12].toDouble(), 432050000.0) << "a correction of 0 would prove nothing";
    }
}

// The calibration table as JSON against the hand-worked Sun of a 3 m dish (Tsun 1120.52 K at 1296 MHz
// for 80 sfu, tests/navlib/test_calibration.cpp) with the planner's default Trx, each source's position
// against astronomy-engine, the CSV's columns, and a stored dish that is refused.
TEST(SkyrelEphem, CalibrationTableAndSourcePositions) {
    const QStringList site{"--lat", "38.02", "--lon", "-78.63", "--height", "100", "--utc", "2026-12-24T00:00:00"};
    const QStringList calibration = site + QStringList{"--calibration", "--dish", "3", "--efficiency", "0.55",
                                                       "--flux", "1296:80"};
    const ToolRun r = RunTool(calibration + QStringList{"--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject got = QJsonDocument::fromJson(r.out).object();
    const QJsonArray bands = got["calibration"].toArray();
    ASSERT_EQ(bands.size(), 5);
    const QStringList bandKeys{"beamwidth", "frequency", "moonY", "sources", "sunFlux", "sunK", "sunY", "tsys"};
    EXPECT_EQ(bands[2].toObject().keys(), bandKeys);
    const QJsonObject l = bands[2].toObject();
    EXPECT_EQ(l["frequency"].toDouble(), 1296);
    // 0.1 % of the hand-worked figures; Y from the hand Tsun over the band's own Tsys.
    EXPECT_NEAR(l["beamwidth"].toDouble(), 5.24328, 5.24328e-3);
    EXPECT_NEAR(l["sunFlux"].toDouble(), 80, 80e-3);
    EXPECT_NEAR(l["sunK"].toDouble(), 0.994831, 0.994831e-3);
    const double tsys = l["tsys"].toDouble();
    EXPECT_NEAR(l["sunY"].toDouble(), 10 * std::log10(1 + 1120.52 / tsys), 13e-3);
    // Tsys = Trx + Tmin: the default Trx (60 K at 435, 50 K at 1296 MHz) and a Tmin whose galactic part
    // above the 2.725 K background falls as f^-2.6 (to 1e-9 of the ratio).
    const double tsys435 = bands[1].toObject()["tsys"].toDouble();
    EXPECT_NEAR((tsys - 50 - 2.725) / (tsys435 - 60 - 2.725), std::pow(1296.0 / 435, -2.6), 1e-9);
    // Cas A's fit ends at 4 GHz: no figure at 10368 MHz; Cyg A's reaches 12 GHz.
    const QJsonObject x = bands[4].toObject()["sources"].toObject();
    EXPECT_TRUE(x["casa"].toObject()["flux"].isNull());
    EXPECT_TRUE(x["casa"].toObject()["y"].isNull());
    // Cyg A as a point source: Y = 1 + S Ae / 2k over the band's Tsys, Ae = 0.55 pi 3^2 / 4 (to 1e-6 dB).
    const double cygaFlux = x["cyga"].toObject()["flux"].toDouble();
    const double effectiveArea = 0.55 * M_PI * 9 / 4;
    const double cygaKelvin = cygaFlux * 1e-26 * effectiveArea / (2 * 1.380649e-23);
    EXPECT_NEAR(x["cyga"].toObject()["y"].toDouble(),
                10 * std::log10(1 + cygaKelvin / bands[4].toObject()["tsys"].toDouble()), 1e-6);
    // Table 5 gives 154.383 Jy at 10 GHz; 368 MHz higher the falling spectrum stays within 5 % of it.
    EXPECT_NEAR(cygaFlux, 154.383, 154.383 * 0.05);

    // astronomy-engine: Cas A at az 332.44556, alt 64.46473 (geometric, true equator of date); the
    // standard ephemeris works on the mean equator, 0.002 deg away here: tolerance 0.005 deg, plus the
    // refraction at 64 deg (0.008 deg) in the table's elevation.
    const QJsonObject casA = got["sources"].toArray()[0].toObject();
    EXPECT_EQ(casA["name"].toString(), "Cas A");
    EXPECT_NEAR(casA["azimuth"].toDouble(), 332.44556, 0.005);
    EXPECT_NEAR(casA["elevation"].toDouble(), 64.46473 + 0.008, 0.005);
    const ToolRun one = RunTool(site + QStringList{"--source", "casa", "--json"});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    const QJsonObject source = QJsonDocument::fromJson(one.out).object()["source"].toObject();
    EXPECT_EQ(source["name"].toString(), "Cas A");
    EXPECT_EQ(source["azimuth"].toDouble(), casA["azimuth"].toDouble());
    EXPECT_NEAR(source["geometricElevation"].toDouble(), 64.46473, 0.005);
    EXPECT_NEAR(source["rightAscension"].toDouble(), 23.410400 * 15, 0.01);
    EXPECT_EQ(source["distance"].toDouble(), 0);
    // The Moon of the table is the one of that instant: 210 K over its disc at the topocentric distance.
    const double moonKm = QJsonDocument::fromJson(one.out).object()["moon"].toObject()["distance"].toDouble();
    const double moonDiameter = 2 * std::asin(1737.4 / moonKm) * 180 / M_PI;
    const double tmoon = 210 * (1 - std::exp(-std::log(2.0) * std::pow(moonDiameter / 5.24328, 2)));
    EXPECT_NEAR(l["moonY"].toDouble(), 10 * std::log10(1 + tmoon / tsys), 1e-3 * l["moonY"].toDouble());

    const ToolRun csv = RunTool(calibration + QStringList{"--csv"});
    const QList<QByteArray> lines = csv.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6) << csv.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("frequency,beamwidth,tsys,sunFlux,sunK,sunY,moonY,casaFlux,casaY,"));
    EXPECT_TRUE(lines[3].startsWith("1296,5.24,")) << lines[3].toStdString();
    EXPECT_TRUE(lines[5].contains(",outside fit,")) << lines[5].toStdString();

    skyrel::NativeSettingsStore store;
    store.write(QStringLiteral("Calibration"), QStringLiteral("Dish Diameter"), QStringLiteral("300"));
    ASSERT_TRUE(store.sync());
    const ToolRun stored = RunTool(site + QStringList{"--calibration", "--json"});
    ASSERT_EQ(stored.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(stored.out).object()["dish"].toObject()["diameter"].toDouble(), 3);
    EXPECT_EQ(QString::fromUtf8(stored.err),
              "skyrel-ephem: Calibration/Dish Diameter in " + store.fileName() +
                  ": '300' is out of range: the dish diameter must be from 0.3 to 100 m; using 3\n");
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
        // A span of windows past the calendar's end, as the table.
        {{"--windows", "--dx", "FN31", "--date", "2100-02-01", "--days", "366"}, "2100-02-28T23:59:59"},
        {{"--windows", "--dx", "FN31", "--min-elevation", "61"}, "--min-elevation"},
        {{"--windows"}, "--dx"},
        {{"--dx-height", "30"}, "--dx-height"},
        // The calendar's first and last days (allowed below) and one day beyond each.
        {{"--riseset", "--date", "1901-02-28"}, "--date"},
        {{"--utc", "2100-03-01T00:00:00"}, "--utc"},
        {{"--ephemeris", "fast"}, "--ephemeris"},
        {{"--riseset", "--ephemeris", "Precise"}, "--ephemeris"},
        {{"--ephemeris"}, "--ephemeris"},
        {{"--radio", "echo"}, "--rx-sky"},
        {{"--radio", "Own Echo", "--rx-sky", "1296000000"}, "--radio"},
        {{"--radio", "dx", "--rx-sky", "1296000000"}, "--dx"},
        {{"--radio", "echo", "--rx-sky", "1296"}, "--rx-sky"},
        {{"--riseset", "--radio", "echo", "--rx-sky", "1296000000"}, "--radio"},
        {{"--tx-sky", "1296000000"}, "--tx-sky"},
        {{"--calibration", "--dish", "0.1"}, "--dish"},
        {{"--calibration", "--flux", "2800"}, "--flux"},
        {{"--calibration", "--flux", "2800:120,2800:90"}, "given twice"},
        {{"--flux", "2800:120"}, "--flux"},
        {{"--source", "casb"}, "--source"},
        {{"--calibration", "--windows", "--dx", "FN31"}, "--calibration"},
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
                             "--days", "--min-elevation", "--ephemeris", "--calibration", "--dish", "--efficiency",
                             "--flux", "--source", "--radio", "--rx-sky", "--tx-sky"})
        EXPECT_TRUE(help.out.contains(flag)) << flag;
}

}  // namespace
