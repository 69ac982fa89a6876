#include "app/rotator/hamlibrotator.h"

#include <utility>

#include "app/rotator/rotatormotion.h"

namespace skyrel {
namespace {

using Clock = std::chrono::steady_clock;

// A target closer than this (degrees) to the last command is shown as reached, not as held back.
constexpr double kShownDifference = 0.05;

QString UnreachableMessage(const QString& reason) { return QStringLiteral("Rotator not reachable: %1").arg(reason); }

// What the worker keeps from one second to the next for one start of the rotator.
struct Following {
    std::unique_ptr<HamlibSession> session;
    RotatorMotion motion{0};
    std::optional<double> lastAzimuth;  // commanded last, or where a planned pass begins
    std::optional<RotatorPosition> lastReported;
    std::uint64_t planSerial = 0;
    bool failing = false;
    Clock::time_point nextAttempt{};
};

// Halts the rotator and closes it; a rotator that does not answer the stop is closed all the same.
void StopAndClose(Following& following) {
    if (!following.session) return;
    QString ignored;
    following.session->stop(ignored);
    following.session.reset();
}

// Commands the target when it is due and may move, and reads the position back. False (with the
// reason in `error`) when the rotator did not answer.
bool Serve(Following& f, const HamlibSettings& settings, const RotatorRequest& request,
           const std::vector<double>* newPlan, RotatorReport& report, QString& error) {
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

}  // namespace

HamlibRotator::HamlibRotator(QObject* parent) : QObject(parent) {
    qRegisterMetaType<RotatorReport>();
    worker_ = std::thread([this, shared = shared_] { run(shared); });
}

HamlibRotator::~HamlibRotator() {
    std::unique_lock lock(shared_->mutex);
    shared_->request.quit = true;
    shared_->wake.notify_one();
    const bool finished = shared_->finishedChanged.wait_for(lock, kStopWait, [this] { return shared_->finished; });
    lock.unlock();
    if (finished) worker_.join();
    else worker_.detach();
}

void HamlibRotator::start(const HamlibSettings& settings) {
    {
        const std::lock_guard lock(shared_->mutex);
        Request& request = shared_->request;
        ++request.generation;
        request.active = true;
        request.settings = settings;
        request.pending = false;
        request.second = {};
        request.passPath.clear();
        shared_->outbox.drop();
    }
    active_ = true;
    shared_->wake.notify_one();
}

void HamlibRotator::request(const RotatorRequest& second) {
    if (!active_) return;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->request.second = second;
        shared_->request.pending = true;
    }
    shared_->wake.notify_one();
}

void HamlibRotator::planPass(std::vector<double> path) {
    if (!active_) return;
    const std::lock_guard lock(shared_->mutex);
    ++shared_->request.planSerial;
    shared_->request.passPath = std::move(path);
}

void HamlibRotator::stop() {
    if (!active_) return;
    {
        const std::lock_guard lock(shared_->mutex);
        Request& request = shared_->request;
        ++request.generation;
        request.active = false;
        request.pending = false;
        shared_->outbox.drop();
    }
    active_ = false;
    shared_->wake.notify_one();
}

void HamlibRotator::post(const RotatorReport& report) {
    shared_->outbox.report = report;
    queueDelivery();
}

void HamlibRotator::post(const QString& failure) {
    shared_->outbox.failure = failure;
    shared_->outbox.report.reset();
    queueDelivery();
}

void HamlibRotator::queueDelivery() {
    if (std::exchange(shared_->outbox.posted, true)) return;
    QMetaObject::invokeMethod(this, &HamlibRotator::deliver, Qt::QueuedConnection);
}

void HamlibRotator::deliver() {
    Outbox taken;
    {
        const std::lock_guard lock(shared_->mutex);
        taken = std::exchange(shared_->outbox, {});
    }
    if (taken.failure) emit unreachable(*taken.failure);
    if (taken.report) emit reported(*taken.report);
}

void HamlibRotator::run(std::shared_ptr<Shared> shared) {
    Following f;
    std::uint64_t generation = 0;
    Request& request = shared->request;

    std::unique_lock lock(shared->mutex);
    const auto ready = [&] {
        if (request.quit || request.generation != generation) return true;
        if (!request.active) return false;
        if (!f.session) return Clock::now() >= f.nextAttempt;
        return request.pending;
    };
    for (;;) {
        if (request.active && !f.session) shared->wake.wait_until(lock, f.nextAttempt, ready);
        else shared->wake.wait(lock, ready);
        if (request.quit) break;
        if (request.generation != generation) {
            generation = request.generation;
            lock.unlock();
            StopAndClose(f);
            f = Following{};
            lock.lock();
            continue;
        }
        if (!ready()) continue;
        const HamlibSettings settings = request.settings;
        const RotatorRequest second = request.second;
        request.pending = false;
        std::optional<std::vector<double>> newPlan;
        if (request.planSerial != f.planSerial) {
            f.planSerial = request.planSerial;
            newPlan = request.passPath;
        }
        lock.unlock();

        QString error;
        if (!f.session) {
            f.session = HamlibSession::Open(settings, error);
            // A reopened rotator is commanded afresh: where it stands after the loss is unknown.
            f.motion = RotatorMotion(settings.step);
        }
        RotatorReport report;
        const bool answered = f.session && Serve(f, settings, second, newPlan ? &*newPlan : nullptr, report, error);
        if (!answered) {
            f.session.reset();
            f.nextAttempt = Clock::now() + kRetryInterval;
        }
        lock.lock();
        if (request.quit || request.generation != generation) continue;
        if (answered) {
            f.failing = false;
            post(report);
        } else {
            if (!f.failing) post(UnreachableMessage(error));
            f.failing = true;
        }
    }
    lock.unlock();
    StopAndClose(f);
    lock.lock();
    shared->finished = true;
    shared->finishedChanged.notify_all();
}

}  // namespace skyrel
