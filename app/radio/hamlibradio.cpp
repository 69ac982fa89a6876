#include "app/radio/hamlibradio.h"

#include <utility>

#include "app/radio/radiosession.h"

namespace skyrel {
namespace {

using Clock = std::chrono::steady_clock;

QString UnreachableMessage(const QString& reason) { return QStringLiteral("Radio not reachable: %1").arg(reason); }

// What the worker keeps from one second to the next for one start of the radio.
struct Following {
    std::unique_ptr<RadioSession> session;
    RadioTuning tuning;
    bool failing = false;
    Clock::time_point nextAttempt{};
};

// Reads the radio, works out the second and sends what moved. False (with the reason in `error`) when
// the radio did not answer.
bool Serve(Following& f, const RadioSettings& settings, RadioSecond second, bool keyed, RadioReport& report,
           QString& error) {
    RadioSession& session = *f.session;
    const std::optional<double> dial = session.receiveDial(error);
    if (!dial) return false;
    const std::optional<bool> transmitting = session.transmitting(error);
    if (!transmitting) return false;
    second.rxDialRead = *dial;
    second.transmitting = *transmitting || keyed;
    const RadioStep step = NextRadioStep(f.tuning, settings, second);
    if (step.setRx && !session.setReceiveDial(*step.setRx, error)) return false;
    if (step.setTx && !session.setTransmitDial(*step.setTx, error)) return false;
    report.mode = second.mode;
    report.step = step;
    report.rxSky = f.tuning.rxSky;
    report.txSky = f.tuning.txSky;
    report.transmitting = second.transmitting;
    report.split = settings.split == RadioSplit::Rig;
    return true;
}

}  // namespace

HamlibRadio::HamlibRadio(QObject* parent) : QObject(parent) {
    qRegisterMetaType<RadioReport>();
    worker_ = std::thread([this, shared = shared_] { run(shared); });
}

HamlibRadio::~HamlibRadio() {
    std::unique_lock lock(shared_->mutex);
    shared_->request.quit = true;
    shared_->wake.notify_one();
    const bool finished = shared_->finishedChanged.wait_for(lock, kStopWait, [this] { return shared_->finished; });
    lock.unlock();
    if (finished) worker_.join();
    else worker_.detach();
}

void HamlibRadio::start(const RadioSettings& settings) {
    {
        const std::lock_guard lock(shared_->mutex);
        Request& request = shared_->request;
        ++request.generation;
        request.active = true;
        request.settings = settings;
        request.pending = false;
        shared_->outbox.drop();
    }
    active_ = true;
    shared_->wake.notify_one();
}

void HamlibRadio::request(nav::RadioMode mode, double homeRangeRate, double dxRangeRate) {
    if (!active_) return;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->request.second = {.mode = mode, .homeRangeRate = homeRangeRate, .dxRangeRate = dxRangeRate};
        shared_->request.pending = true;
    }
    shared_->wake.notify_one();
}

void HamlibRadio::setKeyed(bool keyed) {
    const std::lock_guard lock(shared_->mutex);
    shared_->request.keyed = keyed;
}

void HamlibRadio::stop() {
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

void HamlibRadio::post(const RadioReport& report) {
    shared_->outbox.report = report;
    queueDelivery();
}

void HamlibRadio::post(const QString& failure) {
    shared_->outbox.failure = failure;
    shared_->outbox.report.reset();
    queueDelivery();
}

void HamlibRadio::queueDelivery() {
    if (std::exchange(shared_->outbox.posted, true)) return;
    QMetaObject::invokeMethod(this, &HamlibRadio::deliver, Qt::QueuedConnection);
}

void HamlibRadio::deliver() {
    Outbox taken;
    {
        const std::lock_guard lock(shared_->mutex);
        taken = std::exchange(shared_->outbox, {});
    }
    if (taken.failure) emit unreachable(*taken.failure);
    if (taken.report) emit reported(*taken.report);
}

void HamlibRadio::run(std::shared_ptr<Shared> shared) {
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
            const RadioTuning fresh = StartTuning(request.settings);
            lock.unlock();
            f = Following{};
            f.tuning = fresh;
            lock.lock();
            continue;
        }
        if (!ready()) continue;
        const RadioSettings settings = request.settings;
        const RadioSecond second = request.second;
        const bool keyed = request.keyed;
        const bool asked = std::exchange(request.pending, false);
        lock.unlock();

        QString error;
        if (!f.session) {
            f.session = RadioSession::Open(settings, error);
            // A reopened radio is set afresh: what its dials hold after the loss is unknown.
            f.tuning.rxDialSet.reset();
            f.tuning.txDialSet.reset();
        }
        RadioReport report;
        // A radio just opened answers the next second's request; opening alone reads nothing.
        const bool answered = f.session && (!asked || Serve(f, settings, second, keyed, report, error));
        if (!answered) {
            f.session.reset();
            f.nextAttempt = Clock::now() + kRetryInterval;
        }
        lock.lock();
        if (request.quit || request.generation != generation) continue;
        if (answered) {
            f.failing = false;
            if (asked) post(report);
        } else {
            if (!f.failing) post(UnreachableMessage(error));
            f.failing = true;
        }
    }
    lock.unlock();
    f.session.reset();
    lock.lock();
    shared->finished = true;
    shared->finishedChanged.notify_all();
}

}  // namespace skyrel
