// Vector and angle helpers of the engine: 3-vectors, row-major 3x3 matrices and the angle conventions
// shared by the position step and the map.
#pragma once

#include "navlib/skystate.h"

namespace nav {

// A direction as two angles (radians): latitude-like in [-pi/2, pi/2], longitude-like in [0, 2pi).
struct SphericalAngles {
    double latitude;
    double longitude;
};

// FullCircleAngle - the angle of the point (x, y) from the +x axis, counter-clockwise.
//   in:  y, x  any finite values; (0, 0) gives pi/2, so the zenith has azimuth 90
//   out: radians in [0, 2pi) with the engine's pi (a result that rounds up to 2pi is left as it is)
// Built from atan(y / x) with quadrant fixes rather than atan2, so that results agree to the last bit
// with the published figures.
double FullCircleAngle(double y, double x);

// VectorToAngles - the direction of v.
//   in:  v  any 3-vector; a length below 1e-36 counts as zero
//   out: latitude = asin(v.z / |v|), longitude = FullCircleAngle(v.y, v.x); (0, 0) for a zero vector
// For a body's Earth-fixed direction this is the sub-point: latitude and east longitude.
SphericalAngles VectorToAngles(const Vec3& v);

// AnglesToVector - unit vector (cos lat cos lon, cos lat sin lon, sin lat); angles in radians.
Vec3 AnglesToVector(double latitude, double longitude);

// DotProduct - a.x b.x + a.y b.y + a.z b.z, summed in that order.
double DotProduct(const Vec3& a, const Vec3& b);

// VectorLength - sqrt(v . v).
double VectorLength(const Vec3& v);

// MatrixTimesVector - M v: component i is row i of M (row-major) dotted with v.
Vec3 MatrixTimesVector(const Mat3& m, const Vec3& v);

// TransposeTimesVector - M^T v: component i is column i of M dotted with v. For a rotation this undoes
// MatrixTimesVector.
Vec3 TransposeTimesVector(const Mat3& m, const Vec3& v);

// ArcSine - asin(x), radians; x in [-1, 1].
double ArcSine(double x);

// ArcCosine - atan(-x / sqrt|1 - x^2|) + 2 atan(1), radians in (0, pi) for x in (-1, 1).
//   At x = +-1 (sqrt term exactly 0) it returns 0; callers never rely on those two values.
double ArcCosine(double x);

}  // namespace nav
