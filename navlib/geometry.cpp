#include "navlib/geometry.h"

#include <cmath>

#include "navlib/constants.h"

namespace nav {

namespace {
// A vector shorter than this is treated as having no direction.
constexpr double kZeroLength = 1e-36;
}  // namespace

double FullCircleAngle(double y, double x) {
    const double sign = y >= 0 ? 1.0 : -1.0;
    double angle = x != 0 ? std::atan(y / x) : (kPi * 0.5) * sign;
    if (x < 0) angle += kPi;
    if (angle < 0) angle += 2 * kPi;
    return angle;
}

SphericalAngles VectorToAngles(const Vec3& v) {
    double r = VectorLength(v);
    if (r < kZeroLength) r = 0;
    if (r == 0) return {0.0, 0.0};
    return {ArcSine(v[2] / r), FullCircleAngle(v[1], v[0])};
}

Vec3 AnglesToVector(double latitude, double longitude) {
    return {std::cos(latitude) * std::cos(longitude), std::cos(latitude) * std::sin(longitude), std::sin(latitude)};
}

double DotProduct(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double VectorLength(const Vec3& v) { return std::sqrt(DotProduct(v, v)); }

Vec3 MatrixTimesVector(const Mat3& m, const Vec3& v) {
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

Vec3 TransposeTimesVector(const Mat3& m, const Vec3& v) {
    return {m[0] * v[0] + m[3] * v[1] + m[6] * v[2], m[1] * v[0] + m[4] * v[1] + m[7] * v[2],
            m[2] * v[0] + m[5] * v[1] + m[8] * v[2]};
}

double ArcSine(double x) { return std::asin(x); }

double ArcCosine(double x) {
    const double s = std::sqrt(std::fabs(1 - x * x));
    if (s == 0) return 0;
    return std::atan(-x / s) + 2 * std::atan(1.0);
}

}  // namespace nav
