#include "app/rotator/rotatormotion.h"

#include <algorithm>
#include <cmath>

namespace skyrel {

double AxisDistance(RotatorPosition a, RotatorPosition b) {
    return std::max(std::abs(a.azimuth - b.azimuth), std::abs(a.elevation - b.elevation));
}

bool RotatorMotion::stalled(Clock::time_point now) const {
    if (!lastCommand_ || !lastReported_) return false;
    if (now - std::max(stillSince_, commandedAt_) < kStallTime) return false;
    if (AxisDistance(*lastReported_, *lastCommand_) <= std::max(step_, kStillTolerance)) return false;
    // Sent again once from here already: a controller that cannot resolve the last fraction of a degree,
    // or an antenna held by hand, is not commanded again and again.
    return !retriedAt_ || AxisDistance(*retriedAt_, *lastReported_) > kStillTolerance;
}

bool RotatorMotion::due(RotatorPosition target, Clock::time_point now) const {
    if (!lastCommand_ || step_ <= 0) return true;
    return AxisDistance(target, *lastCommand_) >= step_ || stalled(now);
}

void RotatorMotion::commanded(RotatorPosition target, Clock::time_point now) {
    const bool sameCommand = lastCommand_ && AxisDistance(target, *lastCommand_) < step_;
    retriedAt_ = sameCommand ? lastReported_ : std::nullopt;
    lastCommand_ = target;
    commandedAt_ = now;
}

void RotatorMotion::reported(RotatorPosition position, Clock::time_point now) {
    if (lastReported_ && AxisDistance(position, *lastReported_) <= kStillTolerance) return;
    lastReported_ = position;
    stillSince_ = now;
}

}  // namespace skyrel
