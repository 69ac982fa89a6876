// Colours as the generators blend them: channels as doubles, mixed linearly, eased with a smooth step.
#pragma once

#include <algorithm>

namespace skyrel::assets {

struct Rgb {
    double r, g, b;
};

// a at t = 0 to b at t = 1; t is held to [0, 1].
inline Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// 0 below `from`, 1 above `to`, and an S-shaped rise between with no kink at either end.
inline double SmoothStep(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace skyrel::assets
