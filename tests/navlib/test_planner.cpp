// The EME planner's engine: locators and the DX entry, Doppler and polarisation against independent
// figures, the sky temperature behind the Moon, and common windows against a one-second scan.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "navlib/commonwindow.h"
#include "navlib/constants.h"
#include "navlib/eme.h"
#include "navlib/locator.h"
#include "navlib/planner.h"
#include "navlib/timecal.h"

namespace {

nav::SkySurvey LoadSurvey() {
    std::ifstream file(SKYREL_SOURCE_DIR "/assets/tsky408.dat", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return *nav::SkySurvey::FromBytes(bytes);
}

nav::PlannerSite SiteAt(const char* locator, double height = 0, nav::Ephemeris ephemeris = nav::Ephemeris::Standard) {
    std::string error;
    const nav::GeoPoint p = *nav::ParseLocator(locator, error);
    nav::ObserverSite engine;
    engine.ephemeris = ephemeris;
    return nav::MakePlannerSite(p.latitude, p.longitude, height, engine);
}

TEST(Locator, ReferenceSquaresRoundTripsAndBadLocators) {
    // Centres worked by hand from the field, square and subsquare sizes (20 x 10, 2 x 1, 5' x 2.5').
    const struct {
        const char* text;
        double latitude, longitude;
    } squares[] = {{"FN31pr", 41.729166666667, -72.708333333333},
                   {"JO62qm", 52.520833333333, 13.375},
                   {"QF56od", -33.854166666667, 151.208333333333},
                   {"RE78ir", -41.270833333333, 174.708333333333}};
    std::string error;
    for (const auto& s : squares) {
        const auto p = nav::ParseLocator(s.text, error);
        ASSERT_TRUE(p) << s.text << ": " << error;
        EXPECT_NEAR(p->latitude, s.latitude, 1e-9) << s.text;
        EXPECT_NEAR(p->longitude, s.longitude, 1e-9) << s.text;
        EXPECT_EQ(nav::LocatorOf(p->latitude, p->longitude), s.text);
    }
    // Either case; 4 and 8 characters; the 8-character square is 30" x 15" around its centre.
    EXPECT_EQ(nav::ParseLocator("fn31PR", error)->latitude, nav::ParseLocator("FN31pr", error)->latitude);
    EXPECT_NEAR(nav::ParseLocator("FN31", error)->longitude, -73, 1e-12);
    EXPECT_NEAR(nav::ParseLocator("FN31", error)->latitude, 41.5, 1e-12);
    EXPECT_NEAR(nav::ParseLocator("JO62qm47", error)->longitude, 13 + 20.0 / 60 + 4 * 0.5 / 60 + 0.25 / 60, 1e-12);

    // Any point: its 8-character square holds it, and each shorter locator is a prefix.
    std::mt19937 random(15);
    std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180);
    for (int i = 0; i < 2000; ++i) {
        const double la = lat(random), lo = lon(random);
        const std::string eight = nav::LocatorOf(la, lo, 8);
        const auto centre = nav::ParseLocator(eight, error);
        ASSERT_TRUE(centre) << eight;
        EXPECT_LE(std::fabs(centre->longitude - lo), 0.5 / 60 / 2 + 1e-9) << eight;
        EXPECT_LE(std::fabs(centre->latitude - la), 0.25 / 60 / 2 + 1e-9) << eight;
        EXPECT_EQ(nav::LocatorOf(la, lo, 4), eight.substr(0, 4));
        EXPECT_EQ(nav::LocatorOf(centre->latitude, centre->longitude, 8), eight);
    }
    EXPECT_EQ(nav::LocatorOf(90, 180), "RR99xx");
    EXPECT_EQ(nav::LocatorOf(-90, -180), "AA00aa");

    // One bad locator of each kind: length, field, square, subsquare, extended square, stray character.
    const struct {
        const char* text;
        const char* says;
    } bad[] = {{"FN3", "4, 6 or 8"},        {"FN31p", "4, 6 or 8"},  {"SN31", "A to R"},
               {"FN3X", "two digits"},      {"FN31py", "A to X"},    {"FN31pr4x", "two digits"},
               {"", "4, 6 or 8"},           {"FN 31", "4, 6 or 8"}};
    for (const auto& b : bad) {
        error.clear();
        EXPECT_FALSE(nav::ParseLocator(b.text, error)) << b.text;
        EXPECT_NE(error.find(b.says), std::string::npos) << b.text << ": " << error;
        EXPECT_NE(error.find(std::string("'") + b.text + "'"), std::string::npos) << error;
    }
    // A control character in the text is quoted escaped: the message stays one line.
    EXPECT_FALSE(nav::ParseLocator("FN\n31", error));
    EXPECT_NE(error.find("'FN\\x0A31'"), std::string::npos) << error;
}

TEST(Locator, DxEntryReadsCallPositionAndHeight) {
    std::string error;
    auto dx = nav::ParseDxEntry("  n0call  fn20QI 30 ", error);
    ASSERT_TRUE(dx) << error;
    EXPECT_EQ(dx->callSign, "N0CALL");
    EXPECT_EQ(dx->position, "FN20qi");
    EXPECT_EQ(dx->height, 30);
    EXPECT_EQ(nav::DxEntryText(*dx), "N0CALL FN20qi 30");

    dx = nav::ParseDxEntry("-33.85, 151.21", error);
    ASSERT_TRUE(dx) << error;
    EXPECT_EQ(dx->callSign, "");
    EXPECT_EQ(dx->point.latitude, -33.85);
    EXPECT_EQ(dx->point.longitude, 151.21);
    EXPECT_EQ(nav::DxEntryText(*dx), "-33.85,151.21");
    const auto again = nav::ParseDxEntry(nav::DxEntryText(*dx), error);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->point.longitude, 151.21);

    dx = nav::ParseDxEntry("VK2/N0CALL 52.5,13.4 -12.5", error);
    ASSERT_TRUE(dx) << error;
    EXPECT_EQ(dx->height, -12.5);
    EXPECT_EQ(nav::DxEntryText(*dx), "VK2/N0CALL 52.5,13.4 -12.5");
    // A height too small for plain digits to be the shortest form is still written as the entry reads it.
    dx = nav::ParseDxEntry("W FN31pr 0.0000000131", error);
    ASSERT_TRUE(dx) << error;
    EXPECT_EQ(nav::DxEntryText(*dx), "W FN31pr 0.0000000131");

    const struct {
        const char* text;
        const char* says;
    } bad[] = {{"", "[CALL]"},
               {"N0CALL", "not a locator"},
               {"N0CALL FN20qz", "A to X"},
               {"N0CALL 91,0", "-90 to 90"},
               {"N0CALL 1.2.3,4", "LAT,LON"},
               {"N0CALL FN20qi high", "height"},
               {"N0CALL FN20qi 9001", "height"},
               {"FN20qi 30 40", "nothing may follow"},
               {"K1-JT FN20qi", "call sign"},
               {"A B C D", "[CALL]"}};
    for (const auto& b : bad) {
        error.clear();
        EXPECT_FALSE(nav::ParseDxEntry(b.text, error)) << b.text;
        EXPECT_NE(error.find(b.says), std::string::npos) << b.text << ": " << error;
    }
    // Positions as numbers are read whatever the locale: only '.' is a decimal point.
    EXPECT_FALSE(nav::ParsePosition("52,5,13,4", error));
    EXPECT_FALSE(nav::ParsePosition("nan,0", error));
}

// The planner's Doppler and polarisation at two instants for a real pair, FN31pr and JO62qm, each checked
// against a figure computed another way: the EME window's own echo Doppler for each station, and the
// parallactic angle from the azimuth, sin q = -sin A cos(phi) / cos(delta).
TEST(PlannerFigures, DopplerAndPolarisationAgreeWithIndependentFigures) {
    const nav::SkySurvey survey = LoadSurvey();
    const nav::PlannerSite home = SiteAt("FN31pr", 50), dx = SiteAt("JO62qm", 40);
    nav::SkyState sky;
    const int day = nav::DayNumber(2026, 12, 19);
    for (const long long second : {3600LL, 70000LL}) {
        const nav::PlannerFigures f =
            nav::ComputePlannerFigures(sky, home, dx, day, second, survey, nav::kDefaultReceiverKelvin);
        const auto emeWindow = [&](const nav::PlannerSite& station) {
            nav::EmeFigures eme;
            for (const long long s : {second - 1, second}) {
                const nav::BodyState moon = nav::MoonAt(sky, station, day, s);
                nav::ComputeEmeFigures(eme, double(s) / nav::kSecondsPerDay, moon.distance);
            }
            return eme;
        };
        const nav::EmeFigures homeEme = emeWindow(home), dxEme = emeWindow(dx);
        // The window's Doppler is (f (1 - 2 r / c) - f) 1e6: rounding differs by microhertz.
        for (std::size_t i = 0; i < nav::kBandCount; ++i) {
            EXPECT_NEAR(f.homeEchoDoppler[i], homeEme.dopplerShift[i], 1e-4) << i;
            EXPECT_NEAR(f.dxEchoDoppler[i], dxEme.dopplerShift[i], 1e-4) << i;
            // One way each: the cross shift is the mean of the two echoes.
            EXPECT_NEAR(f.crossDoppler[i], (homeEme.dopplerShift[i] + dxEme.dopplerShift[i]) / 2, 1e-4) << i;
        }
        EXPECT_NEAR(f.home.rangeRate, homeEme.moonRangeRate, 1e-9);
        EXPECT_GT(std::fabs(f.home.rangeRate - f.dx.rangeRate), 0.01) << "the stations see different rates";

        for (const auto& [station, moon] : {std::pair{home, f.home}, std::pair{dx, f.dx}}) {
            const double sinQ = -std::sin(nav::Radians(moon.azimuth)) * std::cos(nav::Radians(station.site.latitude)) /
                                std::cos(moon.declination);
            EXPECT_NEAR(std::sin(nav::Radians(moon.parallacticAngle)), sinQ, 1e-9);
        }
        double offset = f.home.parallacticAngle - f.dx.parallacticAngle;
        offset = std::remainder(offset, 180.0);
        EXPECT_NEAR(f.polarisationOffset, offset == -90 ? 90 : offset, 1e-9);
        EXPECT_NEAR(f.polarisationLoss, std::min(30.0, -10 * std::log10(std::pow(std::cos(nav::Radians(offset)), 2))),
                    1e-9);
    }
    // Hand values: 0.5 km/s receding on 10368 MHz, 0.3 and -0.1 km/s one way on 144 MHz.
    EXPECT_NEAR(nav::EchoDoppler(0.5)[4], -34583.92, 0.01);
    EXPECT_NEAR(nav::CrossDoppler(0.3, -0.1)[0], -96.066, 0.001);
    // The offset is a linear polarisation's: half turns fold, 90 stays and -90 becomes 90.
    EXPECT_DOUBLE_EQ(nav::PolarisationOffset(170, -10), 0);
    EXPECT_DOUBLE_EQ(nav::PolarisationOffset(100, 0), -80);
    EXPECT_DOUBLE_EQ(nav::PolarisationOffset(-90, 0), 90);
    EXPECT_DOUBLE_EQ(nav::PolarisationOffset(0, -90), 90);
    EXPECT_DOUBLE_EQ(nav::PolarisationOffset(1e20 + 30, 0), std::fmod(1e20 + 30, 180.0) - 180);
    EXPECT_NEAR(nav::PolarisationLoss(60), 6.0206, 1e-4);
    EXPECT_EQ(nav::PolarisationLoss(90), 30);
    EXPECT_EQ(nav::PolarisationLoss(-89.99), 30);
}

TEST(SkyTemperature, GalacticCentreAndColdestSkyNearTheEcliptic) {
    const nav::SkySurvey survey = LoadSurvey();
    // The Galactic centre, J2000 RA 17h45m37.2s, Dec -28 56' 10": the survey's hottest sample.
    const nav::GalacticAngles centre = nav::EquatorialToGalactic(266.405, -28.936);
    EXPECT_NEAR(centre.longitude < 180 ? centre.longitude : centre.longitude - 360, 0, 0.01);
    EXPECT_NEAR(centre.latitude, 0, 0.01);
    EXPECT_EQ(survey.temperature({0, 0}), 887.5);
    // Less the cosmic background, scaled, the background added: (887.5 - 2.725) x (144 / 408)^-2.6
    // + 2.725 = 884.775 x 14.996 + 2.725, by hand. At 10368 MHz the coldest sky the Moon can stand in is
    // 2.725 + 10.575 x (10368 / 408)^-2.6 = 2.7274 K, not the 0.003 K of scaling the background too.
    EXPECT_NEAR(nav::SkyTemperatureAt(887.5, 144), 13270.8, 0.1);
    EXPECT_NEAR(nav::SkyTemperatureAt(13.3, 10368), 2.7274, 1e-4);
    // Between grid points the survey is bilinear: the centre (l -0.056, b -0.046) lies among the samples
    // at l 359/0, b -1/0; halfway between (0, 0) and (1, 0) is the mean of the two.
    EXPECT_LT(survey.temperature(centre), 887.5);
    EXPECT_NEAR(survey.temperature({0.5, 0}), (survey.temperature({0, 0}) + survey.temperature({1, 0})) / 2, 1e-9);

    // The whole sky's coldest sample (12.3 K at l 198, b +48) lies 30 deg off the ecliptic; the Moon's
    // coldest possible sky is 13.3 K at l 219, b +35 (ecliptic latitude -5.6).
    EXPECT_EQ(survey.minimum(), 12.3);
    EXPECT_GT(std::fabs(nav::EclipticLatitudeOfGalactic({198, 48})), 6);
    EXPECT_EQ(survey.coldestNearEcliptic(), 13.3);
    EXPECT_EQ(survey.temperature({219, 35}), 13.3);
    EXPECT_NEAR(nav::EclipticLatitudeOfGalactic({219, 35}), -5.62, 0.01);
    // The ecliptic pole (RA 18h, Dec 66.56) is 90 deg from the ecliptic; the equinox on it.
    EXPECT_NEAR(nav::EclipticLatitudeOfGalactic(nav::EquatorialToGalactic(270, 66.560708)), 90, 1e-6);
    EXPECT_NEAR(nav::EclipticLatitudeOfGalactic(nav::EquatorialToGalactic(0, 0)), 0, 1e-6);

    // Degradation: the path loss, plus the noise against the coldest sky with the band's Trx.
    nav::SkyState sky;
    const nav::PlannerFigures f = nav::ComputePlannerFigures(sky, SiteAt("FN31pr"), SiteAt("JO62qm"),
                                                             nav::DayNumber(2026, 12, 19), 3600, survey,
                                                             nav::kDefaultReceiverKelvin);
    const double pathLoss = nav::PathLossVsPerigee(f.home.distance);
    const double tsky144 = f.sky.skyTemperature[0];
    EXPECT_NEAR(tsky144, nav::SkyTemperatureAt(survey.temperature(f.sky.galactic), 144), 1e-9);
    EXPECT_NEAR(f.sky.degradation[0], pathLoss - 10 * std::log10((100 + tsky144) / (100 + 161.31)), 0.01);
    EXPECT_LT(f.sky.degradation[0], f.sky.degradation[4]) << "sky noise matters most on the lowest band";
    EXPECT_GT(f.sky.skyTemperature[4], nav::kCosmicBackgroundKelvin);
}

// Every second of the span, both stations' refracted Moon elevation: the windows by definition.
std::vector<nav::CommonWindow> ScanEverySecond(const nav::PlannerSite& home, const nav::PlannerSite& dx, int day,
                                               int days, double minimum) {
    nav::SkyState sky;
    std::vector<nav::CommonWindow> windows;
    bool inside = false;
    const long long last = days * 86400LL - 1;
    for (long long s = 0; s <= last; ++s) {
        const double h = nav::MoonAt(sky, home, day, s).elevation;
        const double d = nav::MoonAt(sky, dx, day, s).elevation;
        const bool both = h >= minimum && d >= minimum;
        if (both && !inside) windows.push_back({s, s, h, d});
        if (both) {
            windows.back().end = s;
            windows.back().homeMaxElevation = std::max(windows.back().homeMaxElevation, h);
            windows.back().dxMaxElevation = std::max(windows.back().dxMaxElevation, d);
        }
        inside = both;
    }
    return windows;
}

void ExpectSameWindows(const std::vector<nav::CommonWindow>& got, const std::vector<nav::CommonWindow>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].start, expected[i].start) << i;
        EXPECT_EQ(got[i].end, expected[i].end) << i;
        EXPECT_NEAR(got[i].homeMaxElevation, expected[i].homeMaxElevation, 0.05) << i;
        EXPECT_NEAR(got[i].dxMaxElevation, expected[i].dxMaxElevation, 0.05) << i;
    }
}

TEST(CommonWindows, AgreeWithAOneSecondScan) {
    nav::SkyState sky;
    // Western Spain and Wellington stand almost antipodal: no common Moon on 2026 December 7.
    const nav::PlannerSite spain = SiteAt("IN71ig"), wellington = SiteAt("RE78ir");
    const int december7 = nav::DayNumber(2026, 12, 7);
    EXPECT_TRUE(nav::FindCommonWindows(sky, spain, wellington, december7, 1, 0).empty());
    EXPECT_TRUE(ScanEverySecond(spain, wellington, december7, 1, 0).empty());

    // Connecticut and Berlin on 2026 December 19: one window runs into the day from the evening before,
    // another runs out of it into the next day, so the day has two windows, both cut at midnight.
    const nav::PlannerSite connecticut = SiteAt("FN31pr"), berlin = SiteAt("JO62qm");
    const int december19 = nav::DayNumber(2026, 12, 19);
    const auto day = nav::FindCommonWindows(sky, connecticut, berlin, december19, 1, 0);
    ASSERT_EQ(day.size(), 2u);
    EXPECT_EQ(day[0].start, 0);
    EXPECT_EQ(day[1].end, 86399);
    ExpectSameWindows(day, ScanEverySecond(connecticut, berlin, december19, 1, 0));

    // Over two days from December 18 the window across the midnight is one window; with a higher
    // minimum the windows shrink.
    const auto twoDays = nav::FindCommonWindows(sky, connecticut, berlin, december19 - 1, 2, 0);
    ASSERT_EQ(twoDays.size(), 2u);
    EXPECT_LT(twoDays[0].start, 86400);
    EXPECT_GT(twoDays[0].end, 86400);
    EXPECT_EQ(twoDays[1].end, 2 * 86400 - 1);
    ExpectSameWindows(nav::FindCommonWindows(sky, connecticut, berlin, december19, 1, 15),
                      ScanEverySecond(connecticut, berlin, december19, 1, 15));

    // With the precise ephemeris the search reads the day's series its workspace keeps, and the second
    // station the first one's geocentric Moon; the scan computes each station on its own.
    const nav::PlannerSite preciseConnecticut = SiteAt("FN31pr", 0, nav::Ephemeris::Precise);
    const nav::PlannerSite preciseBerlin = SiteAt("JO62qm", 0, nav::Ephemeris::Precise);
    nav::SkyState preciseSky;
    ExpectSameWindows(nav::FindCommonWindows(preciseSky, preciseConnecticut, preciseBerlin, december19, 1, 15),
                      ScanEverySecond(preciseConnecticut, preciseBerlin, december19, 1, 15));
}

}  // namespace
