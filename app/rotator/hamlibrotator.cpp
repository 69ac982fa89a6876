#include "app/rotator/hamlibrotator.h"

#include <utility>

#include "app/rotator/rotatormotion.h"

namespace skyrel {
namespace {

using Clock = std::chrono::steady_clock;

// A target closer than this (degrees) to the last command is shown as reached, not as held back.
constexpr double kShownDifference = 0.05;

}  // namespace

HamlibRotator::Following HamlibRotator::Device::Fresh(const HamlibSettings&) { return {}; }

std::optional<std::vector<double>> HamlibRotator::Device::TakeWork(Following& f, const PassToPlan& pass) {
    if (pass.serial == f.planSerial) return std::nullopt;
    f.planSerial = pass.serial;
    return pass.path;
}

bool HamlibRotator::Device::Open(Following& f, const HamlibSettings& settings, QString& error) {
    f.session = HamlibSession::Open(settings, error);
    // A reopened rotator is commanded afresh: where it stands after the loss is unknown.
    f.motion = RotatorMotion(settings.step);
    return f.session != nullptr;
}

// Halts the rotator and closes it; a rotator that does not answer the stop is closed all the same.
void HamlibRotator::Device::Close(Following& f) {
    if (!f.session) return;
    QString ignored;
    f.session->stop(ignored);
    f.session.reset();
}

QString HamlibRotator::Device::Unreachable(const QString& reason) {
    return QStringLiteral("Rotator not reachable: %1").arg(reason);
}

// Commands the target when it is due and may move, and reads the position back. False (with the
// reason in `error`) when the rotator did not answer.
bool HamlibRotator::Device::Serve(Following& f, const HamlibSettings& settings, const RotatorRequest& request,
                                  const std::optional<std::vector<double>>& newPlan, RotatorReport& report,
                                  QString& error) {
    HamlibSession& session = *f.session;
    const RotatorLimits limits = UserLimits(session.limits(), settings);
    if (newPlan) {
        // The turn nearest the antenna: where it was sent last, else where it stands.
        if (!f.lastAzimuth && !f.lastReported) f.lastReported = session.position(error);
        const std::optional<double> current = f.lastAzimuth ? f.lastAzimuth
                                              : f.lastReported ? std::optional(f.lastReported->azimuth)
                                                               : std::nullopt;
        if (const std::optional<double> start = PlanPassTurn(*newPlan, limits, current)) f.lastAzimuth = start;
    }
    if (request.wanted) {
        const TurnRule turn = request.planned ? TurnRule::Continuous : TurnRule::PreferInside;
        const LimitedPosition limited = ClampToLimits(*request.wanted, limits, f.lastAzimuth, turn);
        report.target = limited.position;
        report.clamped = limited.clamped;
        const Clock::time_point now = Clock::now();
        if (!f.motion.due(limited.position, now)) {
            const std::optional<RotatorPosition> last = f.motion.lastCommand();
            if (last && AxisDistance(limited.position, *last) >= kShownDifference) report.hold = MotionHold::InsideStep;
        } else if (!request.mayMove) {
            report.hold = MotionHold::MoveSeconds;
        } else {
            if (!session.setPosition(limited.position, error)) return false;
            f.motion.commanded(limited.position, now);
            f.lastAzimuth = limited.position.azimuth;
        }
    }
    const std::optional<RotatorPosition> reported = session.position(error);
    if (!reported) return false;
    f.motion.reported(*reported, Clock::now());
    f.lastReported = reported;
    report.reported = *reported;
    report.commanded = f.motion.lastCommand();
    if (report.commanded) report.pointingError = PointingError(*report.commanded, *reported);
    return true;
}

HamlibRotator::HamlibRotator(QObject* parent)
    : QObject(parent),
      worker_([this] { QMetaObject::invokeMethod(this, &HamlibRotator::deliver, Qt::QueuedConnection); }) {
    qRegisterMetaType<RotatorReport>();
}

void HamlibRotator::start(const HamlibSettings& settings) {
    worker_.start(settings, [](PassToPlan& pass) { pass.path.clear(); });
}

void HamlibRotator::request(const RotatorRequest& second) { worker_.request(second); }

void HamlibRotator::planPass(std::vector<double> path) {
    if (!worker_.active()) return;
    worker_.changeExtra([&path](PassToPlan& pass) {
        ++pass.serial;
        pass.path = std::move(path);
    });
}

void HamlibRotator::stop() { worker_.stop(); }

void HamlibRotator::deliver() {
    auto taken = worker_.take();
    if (taken.failure) emit unreachable(*taken.failure);
    if (taken.report) emit reported(*taken.report);
}

}  // namespace skyrel
