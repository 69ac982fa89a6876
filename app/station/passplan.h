// The pass an antenna is about to follow: when the Sun, the Moon or a radio source rises (if it is down
// now), where, and the azimuths it runs through until it sets. A Hamlib rotator with more than a circle of
// azimuth chooses from them the turn to begin on (PlanPassTurn), so that the whole pass fits without
// unwinding.
#pragma once

#include <optional>
#include <vector>

#include "app/station/trackingstate.h"
#include "navlib/radiosource.h"
#include "navlib/skystate.h"

namespace skyrel {

struct PassPlan {
    TrackMode body = TrackMode::Off;
    nav::RadioSource source = nav::RadioSource::CasA;  // the source searched, for TrackMode::Source
    std::optional<double> riseAt;  // UTC day number and fraction of the rise; none when up at the search
    double riseAzimuth = 0;        // degrees 0..360 at riseAt
    // Azimuths (degrees) a minute apart from the rise (or the search) to the set, unwrapped: consecutive
    // values never differ by a whole turn, the first in 0..360. Empty when no rise is found.
    std::vector<double> path;
    double endsAt = 0;  // UTC day number and fraction of the set, or of the search's end
};

// PlanPass - one search ahead of the present instant in one-minute steps, as the day's rise/set search
// steps, over at most its 1585 minutes.
//   in:  sky    the cycle's record (clock, observer frame); not changed
//        site   the site and ephemeris
//        body   Sun, Moon or Source (then `source`)
//   out: the plan; "up" means an elevation above 0 with refraction, as the cycle tracks. The rise and set
//        are the first minutes at or after the crossing (not interpolated).
PassPlan PlanPass(const nav::SkyState& sky, const nav::ObserverSite& site, TrackMode body,
                  nav::RadioSource source = nav::RadioSource::CasA);

// The present instant of the record as a UTC day number and fraction.
double UtcDays(const nav::ClockState& clock);

}  // namespace skyrel
