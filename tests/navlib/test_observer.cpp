// Observer geometry: the site frame, the whole position step, refraction.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/constants.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"

namespace {

const nav::ObserverSite kVirginia{38.02, -78.63, 100, ""};

nav::SkyState PositionsAt(const nav::ObserverSite& site, int utcDay, double utcFraction) {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    sky.clock.utcDay = utcDay;
    sky.clock.utcFraction = utcFraction;
    nav::ComputePositions(sky, site);
    return sky;
}

TEST(SetObserver, OnTheEquatorAtLongitudeZero) {
    nav::ObserverFrame frame;
    nav::SetObserver(frame, 0, 0, 0);
    EXPECT_NEAR(frame.position[0], 6378.137, 1e-9);
    EXPECT_EQ(frame.position[1], 0);
    EXPECT_EQ(frame.position[2], 0);
    const nav::Mat3 expected{0, 0, 1, 0, 1, 0, 1, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(frame.horizonMatrix[i], expected[i], 1e-15) << i;
}

TEST(SetObserver, AtTheNorthPoleTheSiteIsOnThePolarRadius) {
    nav::ObserverFrame frame;
    nav::SetObserver(frame, 90, 0, 0);
    EXPECT_NEAR(frame.position[0], 0, 1e-6);
    EXPECT_NEAR(frame.position[1], 0, 1e-6);
    EXPECT_NEAR(frame.position[2], 6356.7523142765, 1e-9);
    // Up is the pole; north points back along -x.
    EXPECT_NEAR(frame.horizonMatrix[6 + 2], 1, 1e-15);
    EXPECT_NEAR(frame.horizonMatrix[0], -1, 1e-15);
}

TEST(SetObserver, HeightAddsAlongTheVerticalAndTheFrameIsOrthonormal) {
    nav::ObserverFrame low, high;
    nav::SetObserver(low, 38.02, -78.63, 0);
    nav::SetObserver(high, 38.02, -78.63, 1000);
    const nav::Vec3 up{high.horizonMatrix[6], high.horizonMatrix[7], high.horizonMatrix[8]};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(high.position[i] - low.position[i], up[i], 1e-9) << i;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double dot = 0;
            for (int k = 0; k < 3; ++k) dot += high.horizonMatrix[3 * r + k] * high.horizonMatrix[3 * c + k];
            EXPECT_NEAR(dot, r == c ? 1 : 0, 1e-15) << r << c;
        }
}

TEST(ComputePositions, WorkedExampleVirginia2005September21At1715) {
    const nav::SkyState sky = PositionsAt(kVirginia, 732225, 0.71875);
    EXPECT_NEAR(sky.sun.elevation, 52.41, 0.005);
    EXPECT_NEAR(sky.sun.azimuth, 183.08, 0.005);
    EXPECT_NEAR(sky.sun.hourAngle, 1.88, 0.005);
    EXPECT_NEAR(sky.sun.rightAscension, 3.1227, 0.00005);
    EXPECT_NEAR(sky.sun.declination, 0.00815, 0.000005);
    EXPECT_NEAR(sky.moon.elevation, -20.69, 0.005);
    EXPECT_NEAR(sky.moon.azimuth, 317.25, 0.005);
    EXPECT_NEAR(sky.moon.distance, 381371, 0.5);
    EXPECT_NEAR(sky.moonElongation, -135.42, 0.005);
    // The topocentric Moon is displaced by the diurnal parallax, the Sun hardly at all.
    EXPECT_GT(std::abs(sky.moon.declination - sky.moon.geoDeclination), 0.005);
    EXPECT_LT(std::abs(sky.sun.declination - sky.sun.geoDeclination), 0.0001);
    EXPECT_NEAR(sky.moon.geoDistance - sky.moon.distance, 0, 6500);
}

TEST(ComputePositions, EarthFixedDirectionIsTheSubPoint) {
    const nav::SkyState sky = PositionsAt(kVirginia, 732225, 0.71875);
    for (const nav::BodyState* body : {&sky.sun, &sky.moon}) {
        EXPECT_NEAR(body->earthFixedDir[2], std::sin(body->geoDeclination), 1e-15);
        // The sub-point's longitude is the right ascension minus sidereal time.
        const double lon = std::atan2(body->earthFixedDir[1], body->earthFixedDir[0]);
        EXPECT_NEAR(std::remainder(lon - (body->geoRightAscension - sky.clock.gmst), 2 * nav::kPi), 0, 1e-9);
    }
}

TEST(ComputePositions, HourAngleAndElongationStayInRangeOverManyInstants) {
    const int first = nav::DayNumber(1901, 3, 1);
    const int last = nav::DayNumber(2100, 2, 28);
    int instants = 0;
    for (int day = first; day <= last; day += 7) {
        const double fraction = (day % 1440) / 1440.0;
        const nav::ObserverSite site{(day % 179) - 89.0, (day % 359) - 179.0, 100, ""};
        const nav::SkyState sky = PositionsAt(site, day, fraction);
        for (const nav::BodyState* body : {&sky.sun, &sky.moon}) {
            ASSERT_GE(body->hourAngle, 0) << day;
            ASSERT_LT(body->hourAngle, 360) << day;
            ASSERT_GE(body->azimuth, 0) << day;
            ASSERT_LT(body->azimuth, 360) << day;
            ASSERT_GE(body->rightAscension, 0) << day;
            ASSERT_LE(body->rightAscension, 2 * nav::kPi) << day;
        }
        ASSERT_GT(sky.moonElongation, -180) << day;
        ASSERT_LE(sky.moonElongation, 180) << day;
        ++instants;
    }
    EXPECT_GT(instants, 10000);
}

TEST(ComputePositions, ABodyOnTheMeridianHasHourAngleNearZeroOr360) {
    // Step through the example day; at the Sun's culmination the azimuth passes 180 and the hour angle 0.
    for (int minute = 0; minute < 1440; ++minute) {
        const nav::SkyState sky = PositionsAt(kVirginia, 732225, minute / 1440.0);
        if (std::abs(sky.sun.azimuth - 180) < 0.5) {
            EXPECT_TRUE(sky.sun.hourAngle < 1 || sky.sun.hourAngle > 359) << minute << " " << sky.sun.hourAngle;
        }
    }
}

TEST(Refraction, ValuesOfBothBranchesAndTheJumpAt15Degrees) {
    EXPECT_NEAR(nav::Refraction(-5), 0.37603, 0.000005);
    EXPECT_EQ(nav::Refraction(-5.0001), 0);
    EXPECT_EQ(nav::Refraction(-30), 0);
    EXPECT_NEAR(nav::Refraction(0), 0.56888, 0.000005);
    EXPECT_NEAR(nav::Refraction(15), 0.06068, 0.000005);
    EXPECT_NEAR(nav::Refraction(14.9999999), 0.05924, 0.000005);
    EXPECT_NEAR(nav::Refraction(15) - nav::Refraction(14.9999999), 0.0014, 0.0001);
    // Near the zenith the tangent's argument passes 90 degrees and the correction turns slightly negative.
    EXPECT_NEAR(nav::Refraction(90), -0.0000226, 0.0000001);
}

TEST(RefractionForTrue, IsTheFixedPointOfRefractionAtTheApparentElevation) {
    for (double h = -4.5; h <= 89; h += 0.25) {
        const double r = nav::RefractionForTrue(h);
        EXPECT_NEAR(nav::Refraction(h + r), r, 0.00001) << h;
    }
    EXPECT_EQ(nav::RefractionForTrue(-6), 0);
    EXPECT_EQ(nav::RefractionForTrue(std::nan("")), 0);
    // At the horizon the true elevation is about half a degree below the apparent one.
    EXPECT_NEAR(nav::RefractionForTrue(-0.5), 0.58, 0.05);
}

}  // namespace
