// Pointing corrections and the four line formats, on their own (no port): limits, wraps, feed and static
// offsets, the hour-angle rule, rounding ties and the scientific form.
#include <gtest/gtest.h>

#include "app/station/antennastatus.h"
#include "app/station/pointing.h"
#include "navlib/constants.h"

namespace skyrel {
namespace {

Settings NoOffsets(const QString& format = QStringLiteral("EasyComm1")) {
    Settings s;
    s.outputFormat = format;
    s.activeFeed = Feed::L;
    return s;
}

struct Pair {
    double first;
    double second;
};

Pair ParkAzEl(double parkAz, double parkEl, double staticAz = 0, double staticEl = 0) {
    Settings s = NoOffsets();
    s.parkAz = parkAz;
    s.parkEl = parkEl;
    s.offsetAz[0] = staticAz;
    s.offsetEl[0] = staticEl;
    // The raw values are ignored for the park position.
    Pair p{-999, -999};
    CorrectAzEl(p.first, p.second, TrackMode::Park, s);
    return p;
}

nav::SkyState Sky(double sunHourAngle, double sunDeclinationDeg, double moonHourAngle, double moonDeclinationDeg) {
    nav::SkyState sky;
    sky.sun.hourAngle = sunHourAngle;
    sky.sun.declination = nav::Radians(sunDeclinationDeg);
    sky.moon.hourAngle = moonHourAngle;
    sky.moon.declination = nav::Radians(moonDeclinationDeg);
    return sky;
}

TEST(CorrectAzElTest, ElevationLimitsOnTheParkPosition) {
    EXPECT_EQ(ParkAzEl(10, -0.3).second, 0.0);
    EXPECT_EQ(ParkAzEl(10, 90).second, 90.0);
    EXPECT_EQ(ParkAzEl(10, 95.0).second, 95.0);
    EXPECT_EQ(ParkAzEl(10, 95.1).second, 90.0);
    EXPECT_EQ(ParkAzEl(10, 120).second, 90.0);
    // The static offset is added before the limits.
    EXPECT_EQ(ParkAzEl(10, 3, 0, -5).second, 0.0);
    EXPECT_EQ(ParkAzEl(10, 93, 0, 3).second, 90.0);
}

TEST(CorrectAzElTest, AzimuthWrapsOnceEachWayAndKeeps360) {
    EXPECT_EQ(ParkAzEl(361, 10).first, 1.0);
    EXPECT_EQ(ParkAzEl(-1, 10).first, 359.0);
    EXPECT_EQ(ParkAzEl(360, 10).first, 360.0);
    EXPECT_EQ(ParkAzEl(0, 10).first, 0.0);
    // One subtraction only: an absurd offset is not folded further.
    EXPECT_EQ(ParkAzEl(700, 10).first, 340.0);
    EXPECT_EQ(ParkAzEl(750, 10).first, 390.0);
    EXPECT_EQ(ParkAzEl(350, 10, 20).first, 10.0);
}

TEST(CorrectAzElTest, BodyElevationBelowTheHorizonIsCommandedAtZero) {
    const Settings s = NoOffsets();
    double az = 10, el = -0.3;
    CorrectAzEl(az, el, TrackMode::Sun, s);
    EXPECT_EQ(el, 0.0);
    Settings lowered = NoOffsets();
    lowered.offsetEl[1] = -1;
    az = 10;
    el = 0.7;
    CorrectAzEl(az, el, TrackMode::Moon, lowered);
    EXPECT_EQ(el, 0.0);
}

TEST(CorrectAzElTest, ParkPositionTakesTheStaticOffsetButNeverTheFeedOffset) {
    Settings s = NoOffsets();
    s.parkAz = 100;
    s.parkEl = 20;
    s.offsetAz = {1.5, 7, 8, 9};
    s.offsetEl = {-2.5, 3, 4, 5};
    for (Feed feed : {Feed::None, Feed::L, Feed::S, Feed::X}) {
        s.activeFeed = feed;
        double az = 0, el = 0;
        CorrectAzEl(az, el, TrackMode::Park, s);
        EXPECT_EQ(az, 101.5);
        EXPECT_EQ(el, 17.5);
    }
}

TEST(CorrectAzElTest, BodyPassesUnchangedWithoutOffsets) {
    const Settings s = NoOffsets();
    // asin(sin e) gives e back to rounding, which grows near the zenith where asin is steep.
    for (Pair raw : {Pair{123.46, 45.67}, Pair{0.5, 0.2}, Pair{359.5, 89.9}, Pair{200, 12.5}}) {
        double az = raw.first, el = raw.second;
        CorrectAzEl(az, el, TrackMode::Sun, s);
        EXPECT_EQ(az, raw.first);
        EXPECT_NEAR(el, raw.second, 1e-9);
    }
}

TEST(CorrectAzElTest, FeedAzimuthOffsetIsACrossElevationAngle) {
    Settings s = NoOffsets();
    s.offsetAz[1] = 2;
    double az = 100, el = 60;
    CorrectAzEl(az, el, TrackMode::Moon, s);
    // atan(tan 2 deg / cos 60 deg) = 3.9951...; asin(cos 2 deg sin 60 deg) = 59.9396...
    EXPECT_NEAR(az, 100 + 3.995137964486663, 1e-9);
    EXPECT_NEAR(el, 59.939601288372366, 1e-9);
}

TEST(CorrectAzElTest, ActiveFeedChoosesTheOffsetAndTheOthersAddPlainly) {
    Settings s = NoOffsets();
    s.offsetAz = {0.25, 2, 1.5, 4};
    s.offsetEl = {-0.5, 1, 0.75, 3};
    const auto corrected = [&](Feed feed) {
        s.activeFeed = feed;
        Pair p{200, 30};
        CorrectAzEl(p.first, p.second, TrackMode::Sun, s);
        return p;
    };
    // Values at elevation 30: dAz 2 -> 2.3090..., 1.5 -> 1.7319..., 4 -> 4.6163...
    const Pair none = corrected(Feed::None);
    EXPECT_NEAR(none.first, 200.25, 1e-12);
    EXPECT_NEAR(none.second, 29.5, 1e-12);
    const Pair l = corrected(Feed::L);
    EXPECT_NEAR(l.first, 200 + 2.3090885696043735 + 0.25, 1e-9);
    EXPECT_NEAR(l.second, 29.979850765104327 - 0.5 + 1, 1e-9);
    const Pair sFeed = corrected(Feed::S);
    EXPECT_NEAR(sFeed.first, 200 + 1.7319189405088775 + 0.25, 1e-9);
    EXPECT_NEAR(sFeed.second, 29.98866504869367 - 0.5 + 0.75, 1e-9);
    const Pair x = corrected(Feed::X);
    EXPECT_NEAR(x.first, 200 + 4.61630574456033 + 0.25, 1e-9);
    EXPECT_NEAR(x.second, 29.919452093209912 - 0.5 + 3, 1e-9);
}

TEST(CorrectLhaDecTest, HourAngleTurnsBy180AndDeclinationRisesBy45) {
    const Settings s = NoOffsets(QStringLiteral("EasyLHA"));
    const nav::SkyState sky = Sky(200, -10, 170, 20);
    double first = 123, second = 45;  // the raw azimuth and elevation are replaced
    CorrectLhaDec(first, second, TrackMode::Sun, s, sky);
    EXPECT_NEAR(first, 20, 1e-12);
    EXPECT_NEAR(second, 35, 1e-12);
    CorrectLhaDec(first, second, TrackMode::Moon, s, sky);
    EXPECT_NEAR(first, 350, 1e-12);
    EXPECT_NEAR(second, 65, 1e-12);
    // On the meridian: 180 gives 0 (360 is folded back).
    const nav::SkyState meridian = Sky(180, 0, 0, 0);
    CorrectLhaDec(first, second, TrackMode::Sun, s, meridian);
    EXPECT_EQ(first, 0.0);
    EXPECT_NEAR(second, 45, 1e-12);
    CorrectLhaDec(first, second, TrackMode::Moon, s, meridian);
    EXPECT_EQ(first, 180.0);
}

TEST(CorrectLhaDecTest, StaticOffsetComesAfterTheWrapAndNoFeedOffsetApplies) {
    Settings s = NoOffsets(QStringLiteral("NovaLHA"));
    s.offsetAz = {20, 5, 5, 5};
    s.offsetEl = {-3, 5, 5, 5};
    double first = 0, second = 0;
    CorrectLhaDec(first, second, TrackMode::Sun, s, Sky(170, 60, 0, 0));
    EXPECT_NEAR(first, 370, 1e-12);   // 350 + 20, not folded again
    EXPECT_NEAR(second, 102, 1e-12);  // 60 + 45 - 3, no limit
}

TEST(CorrectLhaDecTest, ParkValuesAreSentAsStored) {
    Settings s = NoOffsets(QStringLiteral("EasyLHA"));
    s.parkAz = 20;
    s.parkEl = 105.37;
    s.offsetAz = {11, 12, 13, 14};
    s.offsetEl = {21, 22, 23, 24};
    double first = 1, second = 2;
    CorrectLhaDec(first, second, TrackMode::Park, s, Sky(200, -10, 0, 0));
    EXPECT_EQ(first, 20.0);
    EXPECT_EQ(second, 105.37);
}

TEST(PointingLineTest, TheFourLineExamples) {
    EXPECT_EQ(FormatPointing(123.46, 45.67, TrackMode::Sun, QStringLiteral("EasyComm1")).line,
              "AZ123.5 EL45.7 UP000000000 UUU DN000000000 DDD\r\n");
    EXPECT_EQ(FormatPointing(5.04, 7.25, TrackMode::Moon, QStringLiteral("Nova")).line, "Moon AZ:5.0 EL:7.3\r\n");
    EXPECT_EQ(FormatPointing(180, 0, TrackMode::Park, QStringLiteral("Nova")).line, "Park AZ:180.0 EL:0.0\r\n");
    EXPECT_EQ(FormatPointing(20, 105.37, TrackMode::Park, QStringLiteral("EasyLHA")).line,
              "AZ20.0 EL105.0 UP000000000 UUU DN000000000 DDD\r\n");
}

TEST(PointingLineTest, TargetWordsAndFamilies) {
    EXPECT_EQ(FormatPointing(1, 2, TrackMode::Sun, QStringLiteral("Nova")).line, "Sun AZ:1.0 EL:2.0\r\n");
    EXPECT_EQ(FormatPointing(1, 2, TrackMode::Sun, QStringLiteral("NovaLHA")).line, "Sun AZ:1.0 EL:2.0\r\n");
    EXPECT_EQ(FormatPointing(1, 2, TrackMode::Moon, QStringLiteral("NovaLHA")).line, "Moon AZ:1.0 EL:2.0\r\n");
    EXPECT_EQ(FormatPointing(1, 2, TrackMode::Park, QStringLiteral("NovaLHA")).line, "Park AZ:1.0 EL:2.0\r\n");
    // The Easy lines carry no target word, in both families.
    for (TrackMode target : {TrackMode::Sun, TrackMode::Moon, TrackMode::Park})
        for (const char* format : {"EasyComm1", "EasyLHA"})
            EXPECT_EQ(FormatPointing(1, 2, target, QLatin1String(format)).line,
                      "AZ1.0 EL2.0 UP000000000 UUU DN000000000 DDD\r\n");
}

TEST(PointingLineTest, StatusTextsNameThePair) {
    const PointingLine azEl = FormatPointing(123.46, 45.67, TrackMode::Sun, QStringLiteral("Nova"));
    EXPECT_EQ(azEl.statusFirst, QStringLiteral("Az: 123.5"));
    EXPECT_EQ(azEl.statusSecond, QStringLiteral("El: 45.7"));
    for (const char* format : {"EasyLHA", "NovaLHA"}) {
        const PointingLine lha = FormatPointing(20, 105.37, TrackMode::Park, QLatin1String(format));
        EXPECT_EQ(lha.statusFirst, QStringLiteral("LHA: 20.0"));
        EXPECT_EQ(lha.statusSecond, QStringLiteral("Dec: 105.0"));
    }
}

TEST(PointingLineTest, TiesRoundAwayFromZero) {
    const auto line = [](double first, double second) {
        return FormatPointing(first, second, TrackMode::Park, QStringLiteral("Nova")).line;
    };
    EXPECT_EQ(line(12.25, 7.25), "Park AZ:12.3 EL:7.3\r\n");
    EXPECT_EQ(line(359.96, 9.96), "Park AZ:360.0 EL:10.0\r\n");
    EXPECT_EQ(line(0.04, 0.05), "Park AZ:0.0 EL:0.1\r\n");
    EXPECT_EQ(line(-0.04, -1.25), "Park AZ:0.0 EL:-1.3\r\n");
    // Three significant digits leave no decimal from 100 on; the ".0" stays.
    EXPECT_EQ(line(999.94, 99.96), "Park AZ:999.9 EL:100.0\r\n");
    EXPECT_EQ(line(1000.04, 105.5), "Park AZ:1000.0 EL:106.0\r\n");
}

TEST(PointingLineTest, RoundingTiesOnTheParkPath) {
    Settings s = NoOffsets(QStringLiteral("Nova"));
    s.parkAz = 359.96;
    s.parkEl = 7.25;
    EXPECT_EQ(MakePointing(0, 0, TrackMode::Park, s, {}).line, "Park AZ:360.0 EL:7.3\r\n");
    s.parkAz = 0.04;
    s.parkEl = 9.96;
    EXPECT_EQ(MakePointing(0, 0, TrackMode::Park, s, {}).line, "Park AZ:0.0 EL:10.0\r\n");
}

TEST(PointingLineTest, AbsurdOffsetsGiveTheScientificForm) {
    Settings s = NoOffsets(QStringLiteral("EasyComm1"));
    s.offsetAz[0] = 12345;
    // 12345 - 360 = 11985, four significant digits: 1.199E4.
    EXPECT_EQ(MakePointing(0, 0, TrackMode::Park, s, {}).line,
              "AZ1.199E4 EL0.0 UP000000000 UUU DN000000000 DDD\r\n");
    EXPECT_EQ(FormatPointing(20, 1000, TrackMode::Park, QStringLiteral("NovaLHA")).line, "Park AZ:20.0 EL:1E3\r\n");
    EXPECT_EQ(FormatPointing(-12000, 12.3, TrackMode::Moon, QStringLiteral("Nova")).line,
              "Moon AZ:-1.2E4 EL:12.3\r\n");
}

TEST(PointingLineTest, StaticOffsetOnTheParkPositionOnlyInTheAzElFormats) {
    Settings s = NoOffsets();
    s.parkAz = 20;
    s.parkEl = 30;
    s.offsetAz[0] = 1;
    s.offsetEl[0] = 2;
    s.outputFormat = QStringLiteral("Nova");
    EXPECT_EQ(MakePointing(0, 0, TrackMode::Park, s, {}).line, "Park AZ:21.0 EL:32.0\r\n");
    s.outputFormat = QStringLiteral("NovaLHA");
    EXPECT_EQ(MakePointing(0, 0, TrackMode::Park, s, {}).line, "Park AZ:20.0 EL:30.0\r\n");
}

TEST(PointingLineTest, UnknownFormatSendsNothingAndShowsAzElOfTheHourAngleRule) {
    const Settings s = NoOffsets(QStringLiteral("Easycomm1"));
    EXPECT_FALSE(IsAzElFormat(s.outputFormat));
    const PointingLine p = MakePointing(123.46, 45.67, TrackMode::Sun, s, Sky(200, -10, 0, 0));
    EXPECT_TRUE(p.line.isEmpty());
    EXPECT_EQ(p.statusFirst, QStringLiteral("Az: 20.0"));
    EXPECT_EQ(p.statusSecond, QStringLiteral("El: 35.0"));
    EXPECT_TRUE(MakePointing(0, 0, TrackMode::Park, NoOffsets(QString()), {}).line.isEmpty());
}

TEST(PointingLineTest, FormatNamesAreExact) {
    EXPECT_TRUE(IsAzElFormat(QStringLiteral("EasyComm1")));
    EXPECT_TRUE(IsAzElFormat(QStringLiteral("Nova")));
    EXPECT_FALSE(IsAzElFormat(QStringLiteral("EasyLHA")));
    EXPECT_FALSE(IsAzElFormat(QStringLiteral("NovaLHA")));
    EXPECT_FALSE(IsAzElFormat(QStringLiteral("nova")));
    EXPECT_TRUE(FormatPointing(1, 2, TrackMode::Sun, QStringLiteral("nova")).line.isEmpty());
    EXPECT_TRUE(FormatPointing(1, 2, TrackMode::Sun, QStringLiteral("EasyComm1 ")).line.isEmpty());
}

// The reported azimuth as the antenna item and the status box show it: rounded to a tenth first, then
// reduced into 0..360, so that a hair below 0 (or 360) shows 0.0; a rotator's overlap (-180..450) shows
// its azimuth on the compass.
TEST(AntennaTexts, TheAzimuthIsRoundedBeforeItIsReduced) {
    const std::pair<double, const char*> cases[] = {
        {-0.04, "0.0"}, {359.96, "0.0"}, {360.04, "0.0"}, {-0.06, "359.9"}, {-60, "300.0"}, {450, "90.0"}, {123.44, "123.4"}};
    for (const auto& [azimuth, shown] : cases) {
        RotatorReport report;
        report.reported = {azimuth, 12.34};
        EXPECT_EQ(AntennaItemText(report, {}), QByteArray("AZ") + shown + " EL12.3") << azimuth;
        EXPECT_EQ(ReportStatus(report).position, QStringLiteral("Antenna: %1 / 12.3").arg(QLatin1String(shown)))
            << azimuth;
    }
}

}  // namespace
}  // namespace skyrel
