#include "app/rotator/hamlibrotator.h"

#include <utility>

namespace skyrel {
namespace {

using Clock = std::chrono::steady_clock;

QString UnreachableMessage(const QString& reason) { return QStringLiteral("Rotator not reachable: %1").arg(reason); }

}  // namespace

HamlibRotator::HamlibRotator(QObject* parent) : QObject(parent) {
    qRegisterMetaType<RotatorReport>();
    worker_ = std::thread([this] { run(); });
}

HamlibRotator::~HamlibRotator() {
    {
        const std::lock_guard lock(mutex_);
        request_.quit = true;
    }
    wake_.notify_one();
    worker_.join();
}

void HamlibRotator::start(const HamlibSettings& settings) {
    {
        const std::lock_guard lock(mutex_);
        ++request_.generation;
        request_.active = true;
        request_.settings = settings;
        request_.wanted.reset();
        generation_ = request_.generation;
    }
    active_ = true;
    wake_.notify_one();
}

void HamlibRotator::point(RotatorPosition wanted) {
    if (!active_) return;
    {
        const std::lock_guard lock(mutex_);
        request_.wanted = wanted;
    }
    wake_.notify_one();
}

void HamlibRotator::stop() {
    if (!active_) return;
    {
        const std::lock_guard lock(mutex_);
        ++request_.generation;
        request_.active = false;
        request_.wanted.reset();
        generation_ = request_.generation;
    }
    active_ = false;
    wake_.notify_one();
}

void HamlibRotator::deliverReport(std::uint64_t generation, const RotatorReport& report) {
    QMetaObject::invokeMethod(
        this, [this, generation, report] {
            if (generation == generation_) emit reported(report);
        },
        Qt::QueuedConnection);
}

void HamlibRotator::deliverFailure(std::uint64_t generation, const QString& message) {
    QMetaObject::invokeMethod(
        this, [this, generation, message] {
            if (generation == generation_) emit unreachable(message);
        },
        Qt::QueuedConnection);
}

void HamlibRotator::run() {
    std::unique_ptr<HamlibSession> session;
    std::uint64_t generation = 0;
    // Per start: the last position asked for (sent again after a reopen), the last azimuth commanded (to
    // choose among the turns of an overlapping range) and whether the failure was already reported.
    std::optional<RotatorPosition> lastWanted;
    std::optional<double> lastAzimuth;
    bool failing = false;
    Clock::time_point nextAttempt{};

    std::unique_lock lock(mutex_);
    const auto ready = [&] {
        if (request_.quit || request_.generation != generation) return true;
        if (!request_.active) return false;
        if (!session) return Clock::now() >= nextAttempt;
        return request_.wanted.has_value();
    };
    for (;;) {
        if (request_.active && !session) wake_.wait_until(lock, nextAttempt, ready);
        else wake_.wait(lock, ready);
        if (request_.quit) break;
        if (request_.generation != generation) {
            generation = request_.generation;
            lastWanted.reset();
            lastAzimuth.reset();
            failing = false;
            nextAttempt = {};
            lock.unlock();
            session.reset();
            lock.lock();
            continue;
        }
        if (!ready()) continue;
        const HamlibSettings settings = request_.settings;
        const bool newPosition = request_.wanted.has_value();
        if (newPosition) lastWanted = std::exchange(request_.wanted, std::nullopt);
        lock.unlock();

        QString error;
        const bool reopened = !session;
        if (reopened) session = HamlibSession::Open(settings, error);
        RotatorReport report;
        bool answered = session != nullptr;
        if (answered && lastWanted && (newPosition || reopened)) {
            const LimitedPosition limited = ClampToLimits(*lastWanted, session->limits(), lastAzimuth);
            report.commanded = limited.position;
            report.clamped = limited.clamped;
            lastAzimuth = limited.position.azimuth;
            answered = session->setPosition(limited.position, error);
        }
        std::optional<RotatorPosition> reported;
        if (answered) reported = session->position(error);
        if (reported) {
            report.reported = *reported;
            if (report.commanded) report.pointingError = PointingError(*report.commanded, *reported);
            failing = false;
            deliverReport(generation, report);
        } else {
            session.reset();
            nextAttempt = Clock::now() + kRetryInterval;
            if (!failing) deliverFailure(generation, UnreachableMessage(error));
            failing = true;
        }
        lock.lock();
    }
    lock.unlock();
    session.reset();
}

}  // namespace skyrel
