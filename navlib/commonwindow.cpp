#include "navlib/commonwindow.h"

#include <algorithm>

namespace nav {
namespace {

// Far shorter than the half day between two turning points of the Moon's elevation, so no two of them
// fall between neighbouring samples.
constexpr long long kCoarseStepSeconds = 120;

// The Moon's elevation at one station over the span, and whether it is at or above the minimum.
struct ElevationTrack {
    SkyState& sky;
    const PlannerSite& station;
    int firstUtcDay;
    double minimum;

    double at(long long second) const { return MoonAt(sky, station, firstUtcDay, second).elevation; }
    // At the instant of another track's `at` just before: that track's geocentric Moon is shared.
    double atSameInstant() const { return MoonAtSameInstant(sky, station).elevation; }
    bool above(double elevation) const { return elevation >= minimum; }
};

struct Sample {
    long long second;
    double elevation;
};

struct Interval {
    long long start, end;
};

// What one station contributes: its intervals at or above the minimum and its highest points.
struct StationPasses {
    std::vector<Interval> above;
    std::vector<Sample> maxima;
};

// The whole second of [a, b] where the elevation is highest (or lowest), the elevation there being
// unimodal on [a, b]: ternary search, then the last few seconds one by one.
Sample TurningPoint(const ElevationTrack& track, long long a, long long b, bool highest) {
    const auto better = [highest](double x, double y) { return highest ? x > y : x < y; };
    while (b - a > 3) {
        const long long m1 = a + (b - a) / 3, m2 = b - (b - a) / 3;
        if (better(track.at(m2), track.at(m1))) a = m1;
        else b = m2;
    }
    Sample best{a, track.at(a)};
    for (long long s = a + 1; s <= b; ++s) {
        const double e = track.at(s);
        if (better(e, best.elevation)) best = {s, e};
    }
    return best;
}

// Both stations' elevations every kCoarseStepSeconds to the span's last second, the two at each instant
// one after the other so that they share its geocentric Moon.
struct CoarseSamples {
    std::vector<Sample> home, dx;
};

CoarseSamples SampleBoth(const ElevationTrack& home, const ElevationTrack& dx, long long lastSecond) {
    CoarseSamples samples;
    for (long long s = 0;; s += kCoarseStepSeconds) {
        const long long second = std::min(s, lastSecond);
        samples.home.push_back({second, home.at(second)});
        samples.dx.push_back({second, dx.atSameInstant()});
        if (second == lastSecond) break;
    }
    return samples;
}

// The coarse samples with each turning point between them added at its exact second: between two
// neighbours of the result the elevation is monotonic.
std::vector<Sample> MonotonicBreakpoints(const ElevationTrack& track, const std::vector<Sample>& samples,
                                         std::vector<Sample>& maxima) {
    std::vector<Sample> points{samples.front()};
    for (std::size_t k = 1; k + 1 < samples.size(); ++k) {
        const double rise = samples[k].elevation - samples[k - 1].elevation;
        const double next = samples[k + 1].elevation - samples[k].elevation;
        if (rise * next <= 0) {
            const bool highest = rise >= 0;
            const Sample turn = TurningPoint(track, samples[k - 1].second, samples[k + 1].second, highest);
            if (highest) maxima.push_back(turn);
            if (turn.second > points.back().second) points.push_back(turn);
        }
        if (samples[k].second > points.back().second) points.push_back(samples[k]);
    }
    if (samples.back().second > points.back().second) points.push_back(samples.back());
    return points;
}

// Between a and b the elevation is monotonic and crosses the minimum: the last second on a's side.
long long LastSecondLike(const ElevationTrack& track, Sample a, Sample b) {
    const bool aboveAtA = track.above(a.elevation);
    long long lo = a.second, hi = b.second;
    while (hi - lo > 1) {
        const long long mid = lo + (hi - lo) / 2;
        if (track.above(track.at(mid)) == aboveAtA) lo = mid;
        else hi = mid;
    }
    return lo;
}

StationPasses FindPasses(const ElevationTrack& track, const std::vector<Sample>& samples, long long lastSecond) {
    StationPasses passes;
    const std::vector<Sample> points = MonotonicBreakpoints(track, samples, passes.maxima);
    bool inside = track.above(points.front().elevation);
    long long start = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool above = track.above(points[i].elevation);
        if (above == inside) continue;
        const long long lastLike = LastSecondLike(track, points[i - 1], points[i]);
        if (above) start = lastLike + 1;
        else passes.above.push_back({start, lastLike});
        inside = above;
    }
    if (inside) passes.above.push_back({start, lastSecond});
    return passes;
}

// The highest elevation at whole seconds of [start, end]: at an end or at a turning point inside.
double HighestWithin(const ElevationTrack& track, const StationPasses& passes, long long start, long long end) {
    double highest = std::max(track.at(start), track.at(end));
    for (const Sample& m : passes.maxima)
        if (m.second > start && m.second < end) highest = std::max(highest, m.elevation);
    return highest;
}

}  // namespace

std::vector<CommonWindow> FindCommonWindows(SkyState& sky, const PlannerSite& home, const PlannerSite& dx,
                                            int firstUtcDay, int days, double minElevationDeg) {
    const long long lastSecond = static_cast<long long>(days) * kSecondsPerDay - 1;
    const ElevationTrack homeTrack{sky, home, firstUtcDay, minElevationDeg};
    const ElevationTrack dxTrack{sky, dx, firstUtcDay, minElevationDeg};
    const CoarseSamples samples = SampleBoth(homeTrack, dxTrack, lastSecond);
    const StationPasses homePasses = FindPasses(homeTrack, samples.home, lastSecond);
    const StationPasses dxPasses = FindPasses(dxTrack, samples.dx, lastSecond);

    std::vector<CommonWindow> windows;
    std::size_t h = 0, d = 0;
    while (h < homePasses.above.size() && d < dxPasses.above.size()) {
        const Interval& a = homePasses.above[h];
        const Interval& b = dxPasses.above[d];
        const long long start = std::max(a.start, b.start), end = std::min(a.end, b.end);
        if (start <= end)
            windows.push_back({start, end, HighestWithin(homeTrack, homePasses, start, end),
                               HighestWithin(dxTrack, dxPasses, start, end)});
        if (a.end < b.end) ++h;
        else ++d;
    }
    return windows;
}

}  // namespace nav
