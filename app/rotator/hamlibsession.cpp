#include "app/rotator/hamlibsession.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/rotator/hamlibloader.h"
#include "app/rotator/hamlibmodels.h"
#include "app/rotator/hamlibopen.h"
#include "navlib/constants.h"

namespace skyrel {
namespace {

constexpr double kFullCircle = 360;
// No rotator turns this far either way: a report beyond it (or not finite) is a fault of the rotator or of
// its daemon, and must never reach the displays or the angle arithmetic.
constexpr double kLargestReportedDegrees = 1000;

bool IsPlausibleAngle(double degrees) { return std::isfinite(degrees) && std::fabs(degrees) <= kLargestReportedDegrees; }

// Turns of a whole circle tried for a pass: a range of Hamlib's spans at most two circles.
constexpr int kMaxTurns = 2;

// How far `value` lies outside [low, high]; 0 inside.
double DistanceOutside(double value, double low, double high) {
    if (value < low) return low - value;
    if (value > high) return value - high;
    return 0;
}

}  // namespace

LimitedPosition ClampToLimits(RotatorPosition wanted, const RotatorLimits& limits, std::optional<double> previous,
                              TurnRule turn) {
    const double reference = previous.value_or(wanted.azimuth);
    double best = wanted.azimuth;
    if (turn == TurnRule::Continuous) {
        best = NearestTurn(wanted.azimuth, reference);
    } else {
        const std::array<double, 3> turns = {wanted.azimuth, wanted.azimuth - kFullCircle,
                                             wanted.azimuth + kFullCircle};
        for (const double candidate : turns) {
            const double outside = DistanceOutside(candidate, limits.minAzimuth, limits.maxAzimuth);
            const double bestOutside = DistanceOutside(best, limits.minAzimuth, limits.maxAzimuth);
            if (outside < bestOutside ||
                (outside == bestOutside && std::abs(candidate - reference) < std::abs(best - reference)))
                best = candidate;
        }
    }
    LimitedPosition out;
    out.position.azimuth = std::clamp(best, limits.minAzimuth, limits.maxAzimuth);
    out.position.elevation = std::clamp(wanted.elevation, limits.minElevation, limits.maxElevation);
    out.clamped = out.position.azimuth != best || out.position.elevation != wanted.elevation;
    return out;
}

double NearestTurn(double azimuth, double reference) {
    return azimuth + kFullCircle * std::round((reference - azimuth) / kFullCircle);
}

RotatorLimits UserLimits(const RotatorLimits& rotator, const HamlibSettings& settings) {
    const auto limited = [](std::optional<double> wanted, double fallback, double low, double high) {
        return std::clamp(wanted.value_or(fallback), low, high);
    };
    const double defaultMinAzimuth =
        FoldsNegativeAzimuth(settings.model) ? std::max(0.0, rotator.minAzimuth) : rotator.minAzimuth;
    RotatorLimits out;
    out.minAzimuth = limited(settings.minAzimuth, defaultMinAzimuth, rotator.minAzimuth, rotator.maxAzimuth);
    out.maxAzimuth = limited(settings.maxAzimuth, rotator.maxAzimuth, rotator.minAzimuth, rotator.maxAzimuth);
    out.minElevation = limited(settings.minElevation, rotator.minElevation, rotator.minElevation, rotator.maxElevation);
    out.maxElevation = limited(settings.maxElevation, rotator.maxElevation, rotator.minElevation, rotator.maxElevation);
    if (out.minAzimuth > out.maxAzimuth) {
        out.minAzimuth = rotator.minAzimuth;
        out.maxAzimuth = rotator.maxAzimuth;
    }
    if (out.minElevation > out.maxElevation) {
        out.minElevation = rotator.minElevation;
        out.maxElevation = rotator.maxElevation;
    }
    return out;
}

std::optional<double> PlanPassTurn(const std::vector<double>& path, const RotatorLimits& limits,
                                   std::optional<double> current) {
    if (path.empty()) return std::nullopt;
    const auto [lowest, highest] = std::minmax_element(path.begin(), path.end());
    const double reference = current.value_or(path.front());
    std::optional<double> best;
    double bestOutside = 0;
    for (int turn = -kMaxTurns; turn <= kMaxTurns; ++turn) {
        const double offset = turn * kFullCircle;
        const double outside = DistanceOutside(*lowest + offset, limits.minAzimuth, limits.maxAzimuth) +
                               DistanceOutside(*highest + offset, limits.minAzimuth, limits.maxAzimuth);
        const double start = path.front() + offset;
        if (!best || outside < bestOutside ||
            (outside == bestOutside && std::abs(start - reference) < std::abs(*best - reference))) {
            best = start;
            bestOutside = outside;
        }
    }
    return best;
}

double PointingError(RotatorPosition a, RotatorPosition b) {
    const double halfElevation = std::sin(nav::Radians(b.elevation - a.elevation) / 2);
    const double halfAzimuth = std::sin(nav::Radians(b.azimuth - a.azimuth) / 2);
    const double haversine = halfElevation * halfElevation + std::cos(nav::Radians(a.elevation)) *
                                                                 std::cos(nav::Radians(b.elevation)) * halfAzimuth *
                                                                 halfAzimuth;
    return nav::Degrees(2 * std::asin(std::sqrt(std::min(1.0, haversine))));
}

std::unique_ptr<HamlibSession> HamlibSession::Open(const HamlibSettings& settings, QString& error) {
    HamlibLibrary* const hamlib = HamlibModule().library;
    if (!hamlib) {
        error = HamlibModule().error;
        return nullptr;
    }
    BlockBrokenPipeOnThisThread();
    const QString name = HamlibModelText(settings.model, HamlibKind::Rotator);
    std::unique_ptr<HamlibRig> rig;
    {
        const auto lock = LockHamlib();
        rig = hamlib->create(settings.model);
    }
    if (!rig) {
        error = QStringLiteral("the installed Hamlib knows no rotator model %1").arg(settings.model);
        return nullptr;
    }
    std::unique_ptr<HamlibSession> session(new HamlibSession(std::move(rig)));
    HamlibRig& opened = *session->rig_;
    const HamlibPort port{settings.device, settings.speed, "rot_pathname", kDefaultRotatorDaemonPort};
    if (const QString failure = OpenHamlibDevice(opened, name, port, session->description_); !failure.isEmpty()) {
        error = failure;
        return nullptr;
    }
    session->limits_ = opened.limits();
    return session;
}

HamlibSession::HamlibSession(std::unique_ptr<HamlibRig> rig) : rig_(std::move(rig)) {}

HamlibSession::~HamlibSession() {
    const auto lock = LockHamlib();
    rig_.reset();
}

bool HamlibSession::setPosition(RotatorPosition position, QString& error) {
    const QString failure = rig_->setPosition(position);
    if (failure.isEmpty()) return true;
    error = QStringLiteral("%1: %2").arg(description_, failure);
    return false;
}

std::optional<RotatorPosition> HamlibSession::position(QString& error) {
    RotatorPosition position;
    if (const QString failure = rig_->readPosition(position); !failure.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(description_, failure);
        return std::nullopt;
    }
    if (!IsPlausibleAngle(position.azimuth) || !IsPlausibleAngle(position.elevation)) {
        error = QStringLiteral("%1: rotator reports an invalid position (azimuth %2, elevation %3)")
                    .arg(description_)
                    .arg(position.azimuth)
                    .arg(position.elevation);
        return std::nullopt;
    }
    return position;
}

bool HamlibSession::stop(QString& error) {
    const QString failure = rig_->stop();
    if (failure.isEmpty()) return true;
    error = QStringLiteral("%1: %2").arg(description_, failure);
    return false;
}

RotatorProbe ProbeRotator(const HamlibSettings& settings) {
    RotatorProbe probe;
    const std::unique_ptr<HamlibSession> session = HamlibSession::Open(settings, probe.error);
    if (!session) return probe;
    probe.position = session->position(probe.error);
    HamlibSettings ownLimits;
    ownLimits.model = settings.model;
    probe.limits = UserLimits(session->limits(), ownLimits);
    return probe;
}

}  // namespace skyrel
