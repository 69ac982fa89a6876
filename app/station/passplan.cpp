#include "app/station/passplan.h"

#include <cmath>

#include "app/rotator/hamlibsession.h"
#include "navlib/observer.h"
#include "navlib/radiosource.h"

namespace skyrel {
namespace {

constexpr int kSearchMinutes = 1585;
constexpr double kMinutesPerDay = 1440;

void SetUtcDays(nav::ClockState& clock, double utcDays) {
    const double day = std::floor(utcDays);
    clock.utcDay = static_cast<int>(day);
    clock.utcFraction = utcDays - day;
}

}  // namespace

double UtcDays(const nav::ClockState& clock) { return clock.utcDay + clock.utcFraction; }

PassPlan PlanPass(const nav::SkyState& sky, const nav::ObserverSite& site, TrackMode body, nav::RadioSource source) {
    PassPlan plan;
    plan.body = body;
    plan.source = source;
    nav::SkyState search = sky;
    const double start = UtcDays(sky.clock);
    plan.endsAt = start + kSearchMinutes / kMinutesPerDay;
    for (int minute = 0; minute <= kSearchMinutes; ++minute) {
        const double instant = start + minute / kMinutesPerDay;
        SetUtcDays(search.clock, instant);
        nav::ComputePositions(search, site);
        nav::AddRefraction(search);
        if (body == TrackMode::Source) nav::ComputeSourcePosition(search, site, source);
        const nav::BodyState& position = *TrackedBody(body, search);
        const bool up = position.elevation > 0;
        if (!up) {
            if (!plan.path.empty()) {
                plan.endsAt = instant;
                break;
            }
            continue;
        }
        if (plan.path.empty()) {
            if (minute > 0) {
                plan.riseAt = instant;
                plan.riseAzimuth = position.azimuth;
            }
            plan.path.push_back(position.azimuth);
        } else {
            plan.path.push_back(NearestTurn(position.azimuth, plan.path.back()));
        }
    }
    return plan;
}

}  // namespace skyrel
