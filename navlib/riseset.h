// The daily rise, set and transit search and the day's highest and lowest elevations of the Sun and the
// Moon, as the label texts of the main window's two panels.
#pragma once

#include <optional>
#include <string>

#include "navlib/skystate.h"

namespace nav {

// One panel's texts in display order. Row 1 is the earlier of rise and set (a missing event counts as
// time 0); the transit caption and time; "highest / lowest" elevation with one decimal. Beside each
// time text the minute it shows, counted from 00:00 of the searched day on the displayed clock (Moon
// events after midnight beyond 1440), or nothing where the text shows no time.
struct RiseSetPanel {
    std::string row1Caption, row1Text, row2Caption, row2Text, transitCaption, transitText, maxMin;
    std::optional<int> row1Minute, row2Minute, transitMinute;
};

struct RiseSetTexts {
    RiseSetPanel sun, moon;
};

// FindRiseSet - brute-force search of one day in 1585 one-minute steps (00:00 to 26:24), a whole
// ComputePositions at each step, geometric elevations (no refraction).
//   in:  sky.clock.utcDay/utcFraction (the present instant), sky.observerFrame, site.longitude,
//        clockOffset (hours, local minus UTC), showUtc (true: the UTC date from 00:00 UTC, captions
//        " (UTC)"; false: the local date from local midnight, captions " (LOC)")
//   out: the fourteen texts. Rise/set threshold -0.83 deg; an event is the first step at or after the
//        crossing, never interpolated, shown as the minute within which it happened; Moon rise/set after
//        24:00 as "** HH:MM", Sun times unwrapped; a missing rise/set " ++++" (above 0 all day) or
//        " -----"; a missing transit "-----".
//   Moves sky.clock through the day and restores utcDay, utcFraction, both bodies' elevation, azimuth
//   and distance, and moonElongation. Every other SkyState field keeps the value of the last step, and
//   localDay/localFraction are left as the search set them. The caller stops its one-second timer for
//   the duration of the call and starts it again afterwards.
RiseSetTexts FindRiseSet(SkyState& sky, const ObserverSite& site, double clockOffset, bool showUtc);

}  // namespace nav
