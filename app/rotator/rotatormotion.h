// When a rotator is commanded: only when the position wanted has moved by at least a step from the last
// command, or when the rotator has stopped short of that command. Real controllers restart their
// motion (and click their relays and brakes) on every command, and Hamlib's dummy restarts its motion
// clock, so a command repeated while the rotator still turns towards it only keeps it from arriving.
#pragma once

#include <chrono>
#include <optional>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {

// AxisDistance - the larger of the azimuth and elevation differences (degrees), as the rotator counts
// them: a turn of the circle counts as the motion it is.
double AxisDistance(RotatorPosition a, RotatorPosition b);

class RotatorMotion {
public:
    using Clock = std::chrono::steady_clock;
    // A rotator whose reported position stays put this long while it is more than a step from its
    // command has stopped short: moved by hand, stalled, or stopped by its controller.
    static constexpr std::chrono::seconds kStallTime{3};
    // Reported positions closer than this (degrees) count as unchanged.
    static constexpr double kStillTolerance = 0.01;

    // `step` in degrees; 0 (or less) commands every time.
    explicit RotatorMotion(double step) : step_(step) {}

    // Whether `target` (within the limits) is to be commanded at `now`: nothing was commanded yet, it
    // differs from the last command by at least a step, or the rotator stopped short of the last
    // command. A stop short is answered once for each place the rotator stands still at.
    bool due(RotatorPosition target, Clock::time_point now) const;
    // Whether the rotator stands still short of the last command (see kStallTime).
    bool stalled(Clock::time_point now) const;
    // `target` went out at `now`.
    void commanded(RotatorPosition target, Clock::time_point now);
    // The rotator said it stands at `position` at `now`.
    void reported(RotatorPosition position, Clock::time_point now);

    std::optional<RotatorPosition> lastCommand() const { return lastCommand_; }

private:
    double step_;
    std::optional<RotatorPosition> lastCommand_;
    Clock::time_point commandedAt_{};
    std::optional<RotatorPosition> lastReported_;
    Clock::time_point stillSince_{};  // when the rotator last reported a new position
    // Where it stood when a stop short was answered with the same command again.
    std::optional<RotatorPosition> retriedAt_;
};

}  // namespace skyrel
