// Common Moon windows: the stretches of time in which two stations both see the Moon at or above a
// minimum elevation, over a span of whole UTC days.
#pragma once

#include <vector>

#include "navlib/planner.h"

namespace nav {

// The minimum elevation the planner accepts (degrees): below -5 the refraction rule gives nothing.
inline constexpr double kLowestMinimumElevationDeg = -5;
inline constexpr double kHighestMinimumElevationDeg = 60;

struct CommonWindow {
    long long start = 0;  // first whole second with both stations at or above the minimum, counted from
                          // 00:00 UTC of the span's first day
    long long end = 0;    // last such second (start <= end)
    double homeMaxElevation = 0, dxMaxElevation = 0;  // degrees, refraction included, highest inside
    double minutes() const { return double(end - start) / 60; }
};

// FindCommonWindows - every common window of `days` UTC days from 00:00 UTC of `firstUtcDay`.
//   in:  sky (workspace; carries the ephemeris choice), the two stations, minElevationDeg (degrees,
//        compared with the elevation as the main window shows it, refraction included)
//   out: the windows in time order. A window open at either end of the span is cut there; one across
//        a midnight inside the span is one window. Start and end are exact to the second; the highest
//        elevations are those of whole seconds (their error is far below 0.05 deg).
//   Method: each station's elevation is sampled every two minutes, the two stations at each sampled
//   instant from one geocentric Moon (MoonAtSameInstant); with the precise ephemeris every step reads
//   the day's series that sky.preciseFrame keeps across the search. Each station's turning points are
//   found to the second by ternary search, so between two of these points the elevation is monotonic and each
//   threshold crossing is found to the second by bisection. The windows are the overlaps of the two
//   stations' intervals above the minimum.
std::vector<CommonWindow> FindCommonWindows(SkyState& sky, const PlannerSite& home, const PlannerSite& dx,
                                            int firstUtcDay, int days, double minElevationDeg);

}  // namespace nav
