#include "app/hamlibsession.h"

#include <hamlib/rotator.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>

#include "app/hamlibmodels.h"
#include "navlib/constants.h"

namespace skyrel {
namespace {

constexpr double kFullCircle = 360;

QString HamlibErrorText(int code) { return QString::fromUtf8(rigerror2(code)).trimmed(); }

// How far `value` lies outside [low, high]; 0 inside.
double DistanceOutside(double value, double low, double high) {
    if (value < low) return low - value;
    if (value > high) return value - high;
    return 0;
}

bool SetConf(ROT* rot, const char* name, const QByteArray& value) {
    return rot_set_conf(rot, rot_token_lookup(rot, name), value.constData()) == RIG_OK;
}

QString ModelName(int number) {
    const HamlibModel* model = FindHamlibModel(number);
    return model ? HamlibModelText(*model) : QStringLiteral("model %1").arg(number);
}

}  // namespace

LimitedPosition ClampToLimits(RotatorPosition wanted, const RotatorLimits& limits, std::optional<double> previous) {
    const std::array<double, 3> turns = {wanted.azimuth, wanted.azimuth - kFullCircle, wanted.azimuth + kFullCircle};
    const double reference = previous.value_or(wanted.azimuth);
    double best = turns[0];
    for (const double candidate : turns) {
        const double outside = DistanceOutside(candidate, limits.minAzimuth, limits.maxAzimuth);
        const double bestOutside = DistanceOutside(best, limits.minAzimuth, limits.maxAzimuth);
        if (outside < bestOutside ||
            (outside == bestOutside && std::abs(candidate - reference) < std::abs(best - reference)))
            best = candidate;
    }
    LimitedPosition out;
    out.position.azimuth = std::clamp(best, limits.minAzimuth, limits.maxAzimuth);
    out.position.elevation = std::clamp(wanted.elevation, limits.minElevation, limits.maxElevation);
    out.clamped = out.position.azimuth != best || out.position.elevation != wanted.elevation;
    return out;
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
    // A daemon that goes away mid-command must cost an error on this thread, not the program.
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
    const QString name = ModelName(settings.model);
    ROT* rot = nullptr;
    {
        const auto lock = LockHamlib();
        rot = rot_init(settings.model);
    }
    if (!rot) {
        error = QStringLiteral("the installed Hamlib knows no rotator model %1").arg(settings.model);
        return nullptr;
    }
    std::unique_ptr<HamlibSession> session(new HamlibSession(rot));
    const HamlibLink link = LinkOfPortType(rot->caps->port_type);
    const HamlibDevice device = ParseHamlibDevice(settings.device.toStdString(), link);
    if (!device.valid) {
        error = QStringLiteral("%1: %2").arg(name, QString::fromStdString(device.error));
        return nullptr;
    }
    if (link != HamlibLink::None && !SetConf(rot, "rot_pathname", QByteArray::fromStdString(device.pathname))) {
        error = QStringLiteral("%1: Hamlib refused the device %2").arg(name, settings.device);
        return nullptr;
    }
    if (link == HamlibLink::Device && settings.speed > 0 &&
        !SetConf(rot, "serial_speed", QByteArray::number(settings.speed))) {
        error = QStringLiteral("%1: Hamlib refused the speed %2").arg(name).arg(settings.speed);
        return nullptr;
    }
    int code = RIG_OK;
    {
        const auto lock = LockHamlib();
        code = rot_open(rot);
    }
    session->description_ = link == HamlibLink::None
                                ? name
                                : QStringLiteral("%1 at %2").arg(name, QString::fromStdString(device.pathname));
    if (code != RIG_OK) {
        error = QStringLiteral("%1: %2").arg(session->description_, HamlibErrorText(code));
        return nullptr;
    }
    session->limits_ = {rot->state.min_az, rot->state.max_az, rot->state.min_el, rot->state.max_el};
    return session;
}

HamlibSession::HamlibSession(s_rot* rot) : rot_(rot) {}

HamlibSession::~HamlibSession() {
    const auto lock = LockHamlib();
    // Closing a rotator that never opened is refused by Hamlib and harmless.
    rot_close(rot_);
    rot_cleanup(rot_);
}

bool HamlibSession::setPosition(RotatorPosition position, QString& error) {
    const int code = rot_set_position(rot_, static_cast<azimuth_t>(position.azimuth),
                                      static_cast<elevation_t>(position.elevation));
    if (code == RIG_OK) return true;
    error = QStringLiteral("%1: %2").arg(description_, HamlibErrorText(code));
    return false;
}

std::optional<RotatorPosition> HamlibSession::position(QString& error) {
    azimuth_t azimuth = 0;
    elevation_t elevation = 0;
    if (const int code = rot_get_position(rot_, &azimuth, &elevation); code != RIG_OK) {
        error = QStringLiteral("%1: %2").arg(description_, HamlibErrorText(code));
        return std::nullopt;
    }
    return RotatorPosition{azimuth, elevation};
}

RotatorProbe ProbeRotator(const HamlibSettings& settings) {
    RotatorProbe probe;
    const std::unique_ptr<HamlibSession> session = HamlibSession::Open(settings, probe.error);
    if (session) probe.position = session->position(probe.error);
    return probe;
}

}  // namespace skyrel
