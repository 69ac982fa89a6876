// The daily rise/set/transit search: worked example, reference texts, polar cases and what it restores.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <cmath>
#include <string>
#include <utility>

#include "navlib/observer.h"
#include "navlib/riseset.h"
#include "navlib/timecal.h"
#include "tests/support/golden_data.h"

namespace {

// A sky at noon of the displayed day (UTC, or local at clockOffset), as the cycle leaves it.
nav::SkyState SkyAtNoon(const nav::ObserverSite& site, int year, int month, int day, double clockOffset,
                        bool showUtc) {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    const double utc = nav::DayNumber(year, month, day) + 0.5 - (showUtc ? 0 : clockOffset / 24);
    sky.clock.utcDay = static_cast<int>(std::floor(utc));
    sky.clock.utcFraction = utc - std::floor(utc);
    nav::ComputePositions(sky, site);
    nav::AddRefraction(sky);
    return sky;
}

nav::RiseSetTexts Search(const nav::ObserverSite& site, int year, int month, int day, double clockOffset = 0,
                         bool showUtc = true) {
    nav::SkyState sky = SkyAtNoon(site, year, month, day, clockOffset, showUtc);
    return nav::FindRiseSet(sky, site, clockOffset, showUtc);
}

void ExpectPanel(const nav::RiseSetPanel& p, const QJsonObject& e, const std::string& where) {
    const QJsonArray rows = e["rows"].toArray();
    EXPECT_EQ(p.row1Caption, rows[0].toArray()[0].toString().toStdString()) << where;
    EXPECT_EQ(p.row1Text, rows[0].toArray()[1].toString().toStdString()) << where;
    EXPECT_EQ(p.row2Caption, rows[1].toArray()[0].toString().toStdString()) << where;
    EXPECT_EQ(p.row2Text, rows[1].toArray()[1].toString().toStdString()) << where;
    EXPECT_EQ(p.transitCaption, e["transit"].toArray()[0].toString().toStdString()) << where;
    EXPECT_EQ(p.transitText, e["transit"].toArray()[1].toString().toStdString()) << where;
    EXPECT_EQ(p.maxMin, e["maxMin"].toString().toStdString()) << where;
}

TEST(FindRiseSet, WorkedExampleVirginia2005September21InUtc) {
    const nav::RiseSetTexts t = Search({38.02, -78.63, 100, ""}, 2005, 9, 21);
    EXPECT_EQ(t.sun.row1Caption, "Rise (UTC):");
    EXPECT_EQ(t.sun.row1Text, " 11:01");
    EXPECT_EQ(t.sun.row2Caption, "Set (UTC):");
    EXPECT_EQ(t.sun.row2Text, "23:12");
    EXPECT_EQ(t.sun.transitCaption, "Transit (UTC):");
    EXPECT_EQ(t.sun.transitText, "17:07");
    EXPECT_EQ(t.sun.maxMin, "52.4 / -51.3");
    EXPECT_EQ(t.moon.row1Caption, "Rise (UTC):");
    EXPECT_EQ(t.moon.row1Text, "00:41");
    EXPECT_EQ(t.moon.row2Caption, "Set (UTC):");
    EXPECT_EQ(t.moon.row2Text, "15:03");
    EXPECT_EQ(t.moon.transitCaption, "Transit (UTC):");
    EXPECT_EQ(t.moon.transitText, "07:46");
    EXPECT_EQ(t.moon.maxMin, "69.2 / -32.6");
}

TEST(FindRiseSet, EveryReferenceDayGivesTheSameFourteenTexts) {
    const auto lines = skyrel::test::ReadJsonLines(QStringLiteral("golden-riseset.jsonl"));
    ASSERT_EQ(lines.size(), 24u);
    int wrappedMoonEvents = 0, localDays = 0, southernSites = 0;
    for (const QJsonObject& line : lines) {
        const QStringList date = line["date"].toString().split(QLatin1Char('-'));
        const bool showUtc = !line.contains(QStringLiteral("localOffset"));
        const double offset = line["localOffset"].toDouble();
        const nav::ObserverSite site{line["lat"].toDouble(), line["lon"].toDouble(), line["height"].toDouble(), ""};
        const nav::RiseSetTexts t =
            Search(site, date[0].toInt(), date[1].toInt(), date[2].toInt(), offset, showUtc);
        const QJsonObject e = line["expect"].toObject();
        const std::string where = line["date"].toString().toStdString() + " at " + std::to_string(site.latitude);
        EXPECT_EQ(e["showUtc"].toBool(), showUtc) << where;
        ExpectPanel(t.sun, e["sun"].toObject(), where + " sun");
        ExpectPanel(t.moon, e["moon"].toObject(), where + " moon");
        wrappedMoonEvents += t.moon.row1Text.starts_with("** ") + t.moon.row2Text.starts_with("** ");
        localDays += !showUtc;
        southernSites += site.latitude < 0;
    }
    // The reference days cover Moon events after midnight, local display and the southern hemisphere.
    EXPECT_GT(wrappedMoonEvents, 0);
    EXPECT_GT(localDays, 0);
    EXPECT_GT(southernSites, 0);
}

TEST(FindRiseSet, PolarDayShowsPlusMarkersInRiseSetOrder) {
    const nav::RiseSetTexts t = Search({80, 15, 0, ""}, 2010, 6, 21);
    EXPECT_EQ(t.sun.row1Caption, "Rise (UTC):");
    EXPECT_EQ(t.sun.row1Text, " ++++");
    EXPECT_EQ(t.sun.row2Caption, "Set (UTC):");
    EXPECT_EQ(t.sun.row2Text, " ++++");
    EXPECT_NE(t.sun.transitText, "-----");
    const double highest = std::stod(t.sun.maxMin.substr(0, t.sun.maxMin.find(" / ")));
    const double lowest = std::stod(t.sun.maxMin.substr(t.sun.maxMin.find(" / ") + 3));
    EXPECT_GT(highest, lowest);
    EXPECT_GT(lowest, 0);
}

TEST(FindRiseSet, PolarNightShowsMinusMarkersAndNoTransit) {
    const nav::RiseSetTexts t = Search({80, 15, 0, ""}, 2010, 12, 21);
    EXPECT_EQ(t.sun.row1Text, " -----");
    EXPECT_EQ(t.sun.row2Text, " -----");
    EXPECT_EQ(t.sun.transitText, "-----");
    EXPECT_EQ(t.sun.maxMin.find('-'), 0u);
}

TEST(FindRiseSet, SouthernSiteSeesTheSunCulminateInTheNorth) {
    const nav::ObserverSite site{-35, 0, 0, ""};
    const nav::RiseSetTexts t = Search(site, 2005, 9, 21);
    ASSERT_EQ(t.sun.transitText.size(), 5u);
    const int minute = std::stoi(t.sun.transitText.substr(0, 2)) * 60 + std::stoi(t.sun.transitText.substr(3));
    // Around the equinox the Sun culminates over longitude 0 near 11:53 UTC.
    EXPECT_NEAR(minute, 11 * 60 + 53, 3);
    // The transit is the minute within which the azimuth passed from below 1 to above 359.
    nav::SkyState sky = SkyAtNoon(site, 2005, 9, 21, 0, true);
    sky.clock.utcFraction = minute / 1440.0;
    nav::ComputePositions(sky, site);
    const double before = sky.sun.azimuth;
    sky.clock.utcFraction = (minute + 1) / 1440.0;
    nav::ComputePositions(sky, site);
    EXPECT_LT(before, 1);
    EXPECT_GT(sky.sun.azimuth, 359);
}

TEST(FindRiseSet, LocalDisplayUsesLocCaptions) {
    const nav::RiseSetTexts t = Search({38.02, -78.63, 100, ""}, 2005, 9, 21, -4, false);
    EXPECT_EQ(t.sun.transitCaption, "Transit (LOC):");
    EXPECT_TRUE(t.sun.row1Caption == "Rise (LOC):" || t.sun.row1Caption == "Set (LOC):");
    // The local transit is the UTC one four hours earlier.
    EXPECT_EQ(t.sun.transitText, "13:07");
}

TEST(FindRiseSet, RestoresExactlyTheFieldsItSavedAndLeavesTheRest) {
    const nav::ObserverSite site{38.02, -78.63, 100, ""};
    nav::SkyState sky = SkyAtNoon(site, 2005, 9, 21, -4, false);
    sky.clock.utcFraction = 0.71875;
    nav::ComputePositions(sky, site);
    nav::AddRefraction(sky);
    const nav::SkyState before = sky;

    nav::FindRiseSet(sky, site, -4, false);

    EXPECT_EQ(sky.clock.utcDay, before.clock.utcDay);
    EXPECT_EQ(sky.clock.utcFraction, before.clock.utcFraction);
    for (auto [now, then] : {std::pair{&sky.sun, &before.sun}, std::pair{&sky.moon, &before.moon}}) {
        EXPECT_EQ(now->elevation, then->elevation);
        EXPECT_EQ(now->azimuth, then->azimuth);
        EXPECT_EQ(now->distance, then->distance);
        // Everything else is left at the last search step, 26:23 local time.
        EXPECT_NE(now->hourAngle, then->hourAngle);
        EXPECT_NE(now->rightAscension, then->rightAscension);
    }
    EXPECT_EQ(sky.moonElongation, before.moonElongation);
    EXPECT_NE(sky.clock.gmst, before.clock.gmst);
    EXPECT_EQ(sky.clock.localDay, nav::DayNumber(2005, 9, 21));
    EXPECT_GT(sky.clock.localFraction, 1.1);
    EXPECT_LT(sky.clock.localFraction, 1.1 + 0.0007);
}

TEST(FindRiseSet, ASearchIsRepeatable) {
    const nav::ObserverSite site{-61.4271, 86.4814, 1365.1, ""};
    nav::SkyState sky = SkyAtNoon(site, 2023, 1, 15, -8, false);
    const nav::RiseSetTexts first = nav::FindRiseSet(sky, site, -8, false);
    const nav::RiseSetTexts second = nav::FindRiseSet(sky, site, -8, false);
    EXPECT_EQ(first.moon.row2Text, second.moon.row2Text);
    EXPECT_EQ(first.sun.maxMin, second.sun.maxMin);
    EXPECT_EQ(first.moon.row2Text, "** 01:08");
}

}  // namespace
