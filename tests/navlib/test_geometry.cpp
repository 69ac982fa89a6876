// Vector and angle helpers: quadrants, degenerate inputs and round trips.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/constants.h"
#include "navlib/geometry.h"

namespace {

using nav::kPi;

TEST(FullCircleAngle, CoversEveryQuadrantAndTheAxes) {
    EXPECT_DOUBLE_EQ(nav::FullCircleAngle(0, 1), 0);
    EXPECT_DOUBLE_EQ(nav::FullCircleAngle(1, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(nav::FullCircleAngle(0, -1), kPi);
    EXPECT_DOUBLE_EQ(nav::FullCircleAngle(-1, 0), 3 * kPi / 2);
    // Off the axes atan gives the true pi/4; only the quadrant corrections use the engine's pi.
    EXPECT_NEAR(nav::FullCircleAngle(1, 1), kPi / 4, 1e-11);
    EXPECT_NEAR(nav::FullCircleAngle(1, -1), 3 * kPi / 4, 1e-11);
    EXPECT_NEAR(nav::FullCircleAngle(-1, -1), 5 * kPi / 4, 1e-11);
    EXPECT_NEAR(nav::FullCircleAngle(-1, 1), 7 * kPi / 4, 1e-11);
    // No direction at all still gives pi/2: the zenith of a horizon frame has azimuth 90.
    EXPECT_DOUBLE_EQ(nav::FullCircleAngle(0, 0), kPi / 2);
}

TEST(FullCircleAngle, StaysInOneTurnAllRoundTheCircle) {
    for (int i = -720; i <= 720; ++i) {
        const double a = i * 0.5 * kPi / 180;
        const double angle = nav::FullCircleAngle(std::sin(a), std::cos(a));
        EXPECT_GE(angle, 0) << i;
        EXPECT_LE(angle, 2 * kPi) << i;
    }
}

// Reductions take constant time whatever the angle: a reported or stored value of 1e300 must not spin.
// Exact values (fmod is exact), so no tolerance.
TEST(ReducedDegrees, AnyAngleComesBackAtOnceAndNonFiniteIsNaN) {
    EXPECT_EQ(nav::ReducedDegrees(725), 5);
    EXPECT_EQ(nav::ReducedDegrees(-0.5), 359.5);
    EXPECT_EQ(nav::ReducedDegrees(-720), 0);
    EXPECT_EQ(nav::ReducedDegrees(-1e-20), 360);  // a hair below 0 rounds up, as one added turn gives
    EXPECT_EQ(nav::ReducedDegrees(1e300), std::fmod(1e300, 360.0));
    EXPECT_EQ(nav::ReducedDegrees(-1e30), std::fmod(-1e30, 360.0) + 360);
    for (const double bad : {HUGE_VAL, -HUGE_VAL, std::nan("")}) EXPECT_TRUE(std::isnan(nav::ReducedDegrees(bad)));
    EXPECT_EQ(nav::ReducedFromAbove(360), 360);
    EXPECT_EQ(nav::ReducedFromAbove(720), 360);
    EXPECT_EQ(nav::ReducedFromAbove(1e20 + 40), std::fmod(1e20 + 40, 360.0));
    EXPECT_EQ(nav::ReducedFromAbove(-400), -400);
}

TEST(VectorToAngles, ZeroAndTinyVectorsHaveNoDirection) {
    const nav::SphericalAngles zero = nav::VectorToAngles({0, 0, 0});
    EXPECT_EQ(zero.latitude, 0);
    EXPECT_EQ(zero.longitude, 0);
    const nav::SphericalAngles tiny = nav::VectorToAngles({1e-40, -1e-40, 1e-40});
    EXPECT_EQ(tiny.latitude, 0);
    EXPECT_EQ(tiny.longitude, 0);
}

TEST(VectorToAngles, ZenithHasElevation90AndAzimuth90) {
    const nav::SphericalAngles up = nav::VectorToAngles({0, 0, 1});
    // asin(1) is the true pi/2; turned into degrees with the engine's pi it falls 6e-12 short of 90.
    EXPECT_NEAR(nav::Degrees(up.latitude), 90, 1e-11);
    EXPECT_DOUBLE_EQ(nav::Degrees(up.longitude), 90);
}

TEST(VectorToAngles, UndoesAnglesToVectorAtAnyLengthOverTheSphere) {
    for (int lat = -85; lat <= 85; lat += 17) {
        for (int lon = 0; lon < 360; lon += 23) {
            const nav::Vec3 unit = nav::AnglesToVector(nav::Radians(lat), nav::Radians(lon));
            EXPECT_NEAR(nav::VectorLength(unit), 1, 1e-15);
            const nav::Vec3 scaled{unit[0] * 384400, unit[1] * 384400, unit[2] * 384400};
            const nav::SphericalAngles back = nav::VectorToAngles(scaled);
            EXPECT_NEAR(nav::Degrees(back.latitude), lat, 1e-10) << lat << " " << lon;
            EXPECT_NEAR(nav::Degrees(back.longitude), lon, 1e-10) << lat << " " << lon;
        }
    }
}

TEST(MatrixProducts, RowsAndColumnsOfARowMajorMatrix) {
    const nav::Mat3 m{1, 2, 3, 4, 5, 6, 7, 8, 10};
    const nav::Vec3 v{1, -1, 2};
    EXPECT_EQ(nav::MatrixTimesVector(m, v), (nav::Vec3{5, 11, 19}));
    EXPECT_EQ(nav::TransposeTimesVector(m, v), (nav::Vec3{11, 13, 17}));
    EXPECT_EQ(nav::DotProduct({1, 2, 3}, {4, -5, 6}), 12);
    EXPECT_EQ(nav::VectorLength({2, 3, 6}), 7);
}

TEST(MatrixProducts, TransposeUndoesARotation) {
    const double g = 4.321;
    const nav::Mat3 r{std::cos(-g), -std::sin(-g), 0, std::sin(-g), std::cos(-g), 0, 0, 0, 1};
    const nav::Vec3 v{0.3, -0.5, 0.8};
    const nav::Vec3 back = nav::TransposeTimesVector(r, nav::MatrixTimesVector(r, v));
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], v[i], 1e-15);
}

TEST(ArcFunctions, AgreeWithTheLibraryInsideTheDomain) {
    for (double x = -0.99; x <= 0.99; x += 0.01) {
        EXPECT_NEAR(nav::ArcCosine(x), std::acos(x), 1e-14) << x;
        EXPECT_DOUBLE_EQ(nav::ArcSine(x), std::asin(x)) << x;
    }
    // The map passes 6378.137 / distance, far from the ends; exactly at them the formula gives 0.
    EXPECT_EQ(nav::ArcCosine(1), 0);
    EXPECT_EQ(nav::ArcCosine(-1), 0);
    EXPECT_NEAR(nav::ArcCosine(6378.137 / 384400), std::acos(6378.137 / 384400), 1e-15);
}

}  // namespace
