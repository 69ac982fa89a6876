// The EME planner's day chart: the Moon's elevation over one UTC day at home and at the DX, the common
// windows shaded, the minimum elevation, the sky temperature at 144 MHz on a second axis and the present
// time.
#pragma once

#include <QChart>
#include <optional>
#include <vector>

#include "navlib/commonwindow.h"
#include "navlib/planner.h"

namespace skyrel {

// Series names, the chart's legend.
inline const QString kHomeSeriesName = QStringLiteral("Home");
inline const QString kDxSeriesName = QStringLiteral("DX");
inline const QString kMinimumSeriesName = QStringLiteral("Minimum elevation");
inline const QString kSkySeriesName = QStringLiteral("Tsky 144 MHz (K)");
inline const QString kNowSeriesName = QStringLiteral("Now");
inline const QString kWindowSeriesName = QStringLiteral("Common window");

// BuildDayChart - replaces everything in `chart` by the day's curves.
//   in:  profile (ComputeDayProfile of the day), windows (FindCommonWindows of that one day, seconds from
//        its 00:00 UTC), minElevation (degrees), nowHours (hours since 00:00 UTC when the day is today)
//   The x axis runs 0-24 h; elevations on the left axis (-90..90 deg), Tsky on the right axis. Each
//   window is one shaded area from its start to its end over the whole elevation range.
void BuildDayChart(QChart& chart, const nav::DayProfile& profile, const std::vector<nav::CommonWindow>& windows,
                   double minElevation, std::optional<double> nowHours);

// MoveNowLine - puts the present-time line of a chart made by BuildDayChart at `nowHours`, or takes it
// away; the other series stay as they are.
void MoveNowLine(QChart& chart, std::optional<double> nowHours);

}  // namespace skyrel
