// The Sun and Moon series and the ecliptic-to-equatorial step.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/constants.h"
#include "navlib/ephemeris.h"
#include "navlib/geometry.h"
#include "navlib/timecal.h"

namespace {

nav::SkyState SkyAt(int utcDay, double utcFraction) {
    nav::SkyState sky;
    sky.clock.utcDay = utcDay;
    sky.clock.utcFraction = utcFraction;
    nav::ComputeEphemeris(sky);
    return sky;
}

TEST(Ephemeris, SunDistanceAtTheSunsMeanAnomalyZeroIsThePerihelionDistance) {
    // M = 356.3409 + 0.98560028 d reaches 360 degrees at d = 3.6591 / 0.98560028 days after the epoch.
    const double d = 3.6591 / 0.98560028;
    const nav::SkyState sky = SkyAt(728308, d);
    EXPECT_NEAR(sky.sun.geoDistance, 147098474.06, 0.01);
    EXPECT_EQ(sky.sun.eclipticLatitude, 0);
}

TEST(Ephemeris, DistancesStayWithinTheirOrbitsOverTwoCenturies) {
    for (int day = nav::DayNumber(1901, 3, 1); day < nav::DayNumber(2100, 2, 28); day += 97) {
        const nav::SkyState sky = SkyAt(day, 0.3);
        EXPECT_GT(sky.sun.geoDistance, 147.0e6) << day;
        EXPECT_LT(sky.sun.geoDistance, 152.2e6) << day;
        EXPECT_GT(sky.moon.geoDistance, 355000) << day;
        EXPECT_LT(sky.moon.geoDistance, 407500) << day;
        EXPECT_LT(std::abs(nav::Degrees(sky.moon.eclipticLatitude)), 5.4) << day;
    }
}

TEST(Ephemeris, LongitudesAreNotReducedToOneTurn) {
    const nav::SkyState sky = SkyAt(nav::DayNumber(2030, 1, 1), 0);
    EXPECT_GT(sky.moon.eclipticLongitude, 100 * 2 * nav::kPi);
    EXPECT_GT(sky.sun.eclipticLongitude, 10 * 2 * nav::kPi);
}

TEST(EclipticToEquatorial, TheSolsticePointLiesAtTheObliquity) {
    nav::BodyState body;
    body.eclipticLatitude = 0;
    body.eclipticLongitude = nav::kPi / 2;
    nav::EclipticToEquatorial(body, nav::EclipticToEquatorialRotation());
    EXPECT_NEAR(body.geoDeclination, nav::kObliquityRad, 1e-15);
    EXPECT_NEAR(body.geoRightAscension, nav::kPi / 2, 1e-12);
    EXPECT_NEAR(nav::VectorLength(body.geoEquatorialDir), 1, 1e-15);

    // The ecliptic pole is the obliquity away from the celestial pole, at right ascension 270 degrees.
    body.eclipticLatitude = nav::kPi / 2;
    body.eclipticLongitude = 0;
    nav::EclipticToEquatorial(body, nav::EclipticToEquatorialRotation());
    EXPECT_NEAR(body.geoDeclination, nav::kPi / 2 - nav::kObliquityRad, 1e-12);
    EXPECT_NEAR(nav::Degrees(body.geoRightAscension), 270, 1e-9);
}

TEST(MoonElongation, LiesInTheHalfOpenRangeAndNeverGivesMinus180) {
    nav::SkyState sky;
    const auto elongation = [&sky](double moonDeg, double sunDeg) {
        sky.moon.geoRightAscension = nav::Radians(moonDeg);
        sky.sun.geoRightAscension = nav::Radians(sunDeg);
        nav::ComputeMoonElongation(sky);
        return sky.moonElongation;
    };
    EXPECT_NEAR(elongation(100, 10), 90, 1e-9);    // first quarter: Moon east of the Sun
    EXPECT_NEAR(elongation(10, 100), -90, 1e-9);   // last quarter
    EXPECT_NEAR(elongation(10, 300), 70, 1e-9);    // across the equinox
    EXPECT_NEAR(elongation(300, 10), -70, 1e-9);
    // Around half a turn, either way round, the result never comes out as -180.
    double difference = nav::kPi;
    for (int i = 0; i < 40; ++i) difference = std::nextafter(difference, 0.0);
    for (int i = 0; i < 80; ++i, difference = std::nextafter(difference, 4.0)) {
        for (const double sign : {1.0, -1.0}) {
            sky.moon.geoRightAscension = 3.0 + sign * difference / 2;
            sky.sun.geoRightAscension = 3.0 - sign * difference / 2;
            nav::ComputeMoonElongation(sky);
            EXPECT_GT(sky.moonElongation, -180) << i;
            EXPECT_LE(sky.moonElongation, 180) << i;
            EXPECT_NEAR(std::abs(sky.moonElongation), 180, 1e-9) << i;
        }
    }
    EXPECT_EQ(elongation(200, 200), 0);
}

}  // namespace
