// One open Hamlib rotator: opening it from the stored options, commanding and reading its position, and
// the rules for a position beyond its limits. Every call may block (a serial timeout, a silent network
// peer): a session lives on a worker thread, or serves a one-off test away from the window's thread.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "app/rotator/hamlibmodule.h"
#include "app/rotator/hamlibsettings.h"

namespace skyrel {

struct LimitedPosition {
    RotatorPosition position;
    bool clamped = false;  // the wanted position lay outside the limits and was moved onto them
};

// How ClampToLimits chooses among the turns of an azimuth.
//   PreferInside  a turn inside the range before one outside; of those, the one nearest `previous`
//   Continuous    the turn nearest `previous` whether or not it lies inside, then clamped: a planned pass
//                 never unwinds halfway, it waits at the limit
enum class TurnRule { PreferInside, Continuous };

// ClampToLimits - the position to command for a wanted one.
//   in:  wanted    azimuth 0..360, elevation in degrees
//        limits    the rotator's range
//        previous  the azimuth commanded last (or where a planned pass begins), if any
//        turn      see TurnRule
//   out: the azimuth as wanted or turned by a whole circle (az - 360, az + 360) as `turn` chooses, with
//        PreferInside the one nearest `previous` of those inside (so a rotator with overlap follows a body
//        across its stop), else the one as wanted; an azimuth outside is clamped to the nearer end, the
//        elevation to its range. `clamped` tells whether either had to be clamped.
LimitedPosition ClampToLimits(RotatorPosition wanted, const RotatorLimits& limits, std::optional<double> previous,
                              TurnRule turn = TurnRule::PreferInside);

// NearestTurn - `azimuth` turned by whole circles (degrees) to lie nearest `reference`.
double NearestTurn(double azimuth, double reference);

// UserLimits - the range commanded positions are held in.
//   in:  rotator   the range the open rotator reports
//        settings  the user's limits (each none: the rotator's own) and the model
//   out: each user limit clamped into the rotator's range; a minimum azimuth left to the rotator is 0 for
//        a model that folds negative azimuths (FoldsNegativeAzimuth). A range whose minimum ends up above
//        its maximum is the rotator's own on that axis.
RotatorLimits UserLimits(const RotatorLimits& rotator, const HamlibSettings& settings);

// PlanPassTurn - the azimuth to begin a pass at, so that the pass needs no unwinding.
//   in:  path     the pass's azimuths from its start to its set (degrees), unwrapped: consecutive values
//                 never jump by a whole turn, the first in 0..360
//        limits   the azimuth range
//        current  the azimuth the rotator stands at or was commanded last, if known
//   out: path[0] turned by whole circles so that every azimuth of the path lies inside the range; of
//        several turns that fit, the one starting nearest `current` (else nearest path[0]). When none fits,
//        the turn leaving the least outside (the pass then waits at the limit instead of unwinding).
//        None for an empty path.
std::optional<double> PlanPassTurn(const std::vector<double>& path, const RotatorLimits& limits,
                                   std::optional<double> current);

// PointingError - the angle between two pointings (degrees), along the great circle through both
//   in:  a, b  azimuth/elevation in degrees
//   out: degrees in [0, 180]; exact to rounding (haversine form, good also for small angles)
double PointingError(RotatorPosition a, RotatorPosition b);

class HamlibSession {
public:
    // Opens model `settings.model` on `settings.device` at `settings.speed`. On failure returns none and
    // puts the reason in words in `error`: the Hamlib module cannot be loaded, an unknown model, a device
    // text that does not fit the model, or Hamlib's own error of the open.
    static std::unique_ptr<HamlibSession> Open(const HamlibSettings& settings, QString& error);
    ~HamlibSession();
    HamlibSession(const HamlibSession&) = delete;
    HamlibSession& operator=(const HamlibSession&) = delete;

    const RotatorLimits& limits() const { return limits_; }

    // Commands the position; false with the reason in `error` (which names the rotator) when the rotator
    // refused or did not answer.
    bool setPosition(RotatorPosition position, QString& error);
    // The position the rotator reports, or none with the reason in `error`: also when an angle is not
    // finite or lies beyond +-1000 degrees ("rotator reports an invalid position").
    std::optional<RotatorPosition> position(QString& error);
    // Halts the rotator; false with the reason in `error` when it refused or did not answer.
    bool stop(QString& error);

private:
    explicit HamlibSession(std::unique_ptr<HamlibRig> rig);

    std::unique_ptr<HamlibRig> rig_;
    RotatorLimits limits_;
    QString description_;  // "maker / model / number at device", as failure messages name the rotator
};

// What a one-off test of the options found: the position read and the limits the rotator would be held
// in with no limit of the user's (UserLimits), or the reason in words.
struct RotatorProbe {
    std::optional<RotatorPosition> position;
    std::optional<RotatorLimits> limits;
    QString error;
};

// Opens the rotator, reads its position and limits and closes it again. Blocks for as long as the
// rotator takes.
RotatorProbe ProbeRotator(const HamlibSettings& settings);

}  // namespace skyrel
