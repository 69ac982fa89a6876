// The worker thread a Hamlib rotator or radio is driven from, so that the one-second cycle never waits on
// a device. The owner's thread hands over what it wants each second; when the worker is still busy, a
// newer request replaces the one waiting (the latest wins, there is no queue). A device that cannot be
// opened or stops answering is reported once, closed, and tried again every kRetryInterval until it
// answers. What the worker has to say waits in an outbox that likewise holds only the newest; the owner
// takes it under the same lock, which is also what orders the worker's writes before the owner reads them.
//
// Device describes one kind of device:
//   types     Settings; Second (one second's request); Extra (what else the owner keeps beside the request);
//             Work (what a second takes along from Extra); Report; Following (what the worker keeps for
//             one start, with its open `session`)
//   Fresh(const Settings&) -> Following                      a new start
//   TakeWork(Following&, const Extra&) -> Work               under the lock, before a second is served
//   Open(Following&, const Settings&, QString& error) -> bool
//   Serve(Following&, const Settings&, const Second&, const Work&, Report&, QString& error) -> bool
//   Close(Following&)                                         halts the device where that means anything, closes it
//   Unreachable(const QString& reason) -> QString             the message of a loss
//   kServesUnasked                                            a device just opened is served without a request
#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace skyrel {

template <class Device>
class HamlibWorker {
public:
    using Settings = typename Device::Settings;
    using Second = typename Device::Second;
    using Extra = typename Device::Extra;
    using Report = typename Device::Report;

    static constexpr std::chrono::seconds kRetryInterval{5};
    // The longest the end of the worker's owner waits for the device to take its stop and close.
    static constexpr std::chrono::seconds kStopWait{2};

    // What waits for the owner: a failure drops the report before it; start() and stop() empty it, so
    // nothing of a device used before is delivered.
    struct Outbox {
        std::optional<QString> failure;
        std::optional<Report> report;  // after the failure, when both wait
        bool posted = false;           // the owner was asked to take() and has not yet
        void drop() {
            failure.reset();
            report.reset();
        }
    };

    // `queueDelivery` asks the owner's thread to call take(); the worker calls it with the lock held, only
    // before the end of the worker began, and only when the outbox was not posted already.
    explicit HamlibWorker(std::function<void()> queueDelivery) {
        shared_->queueDelivery = std::move(queueDelivery);
        worker_ = std::thread([shared = shared_] { Run(shared); });
    }

    // Halts and closes the device, waiting at most kStopWait; a device that does not answer in that time
    // is left to the worker, which ends with the process.
    ~HamlibWorker() {
        std::unique_lock lock(shared_->mutex);
        shared_->quit = true;
        shared_->wake.notify_one();
        const bool finished = shared_->finishedChanged.wait_for(lock, kStopWait, [this] { return shared_->finished; });
        lock.unlock();
        if (finished) worker_.join();
        else worker_.detach();
    }
    HamlibWorker(const HamlibWorker&) = delete;
    HamlibWorker& operator=(const HamlibWorker&) = delete;

    // Opens the device these options name, in the background, closing one that is open. `changeExtra`
    // runs on the extra data in the same step.
    template <class Change>
    void start(const Settings& settings, Change changeExtra) {
        {
            const std::lock_guard lock(shared_->mutex);
            ++shared_->generation;
            shared_->active = true;
            shared_->settings = settings;
            shared_->pending = false;
            shared_->second = {};
            changeExtra(shared_->extra);
            shared_->outbox.drop();
        }
        active_ = true;
        shared_->wake.notify_one();
    }
    void start(const Settings& settings) {
        start(settings, [](Extra&) {});
    }

    // This second's request; nothing while stopped.
    void request(const Second& second) {
        if (!active_) return;
        {
            const std::lock_guard lock(shared_->mutex);
            shared_->second = second;
            shared_->pending = true;
        }
        shared_->wake.notify_one();
    }

    template <class Change>
    void changeExtra(Change change) {
        const std::lock_guard lock(shared_->mutex);
        change(shared_->extra);
    }

    // Halts and closes the device in the background; nothing more is reported.
    void stop() {
        if (!active_) return;
        {
            const std::lock_guard lock(shared_->mutex);
            ++shared_->generation;
            shared_->active = false;
            shared_->pending = false;
            shared_->outbox.drop();
        }
        active_ = false;
        shared_->wake.notify_one();
    }

    // On the owner's thread: what waits, the outbox emptied.
    Outbox take() {
        const std::lock_guard lock(shared_->mutex);
        return std::exchange(shared_->outbox, {});
    }

    bool active() const { return active_; }

private:
    using Clock = std::chrono::steady_clock;
    using Following = typename Device::Following;

    // Shared with the worker, which may outlive its owner by the stop it waits for.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finishedChanged;
        std::function<void()> queueDelivery;
        std::uint64_t generation = 0;  // counts start() and stop(); a report of an older one is dropped
        bool active = false;
        Settings settings{};
        Second second{};
        bool pending = false;  // a request() not yet served
        Extra extra{};
        Outbox outbox;
        bool quit = false;
        bool finished = false;
    };

    static void Post(Shared& shared, std::optional<Report> report, std::optional<QString> failure) {
        if (failure) {
            shared.outbox.failure = std::move(failure);
            shared.outbox.report.reset();
        }
        if (report) shared.outbox.report = std::move(report);
        if (!std::exchange(shared.outbox.posted, true)) shared.queueDelivery();
    }

    static void Run(std::shared_ptr<Shared> shared) {
        Following f = Device::Fresh(Settings{});
        bool failing = false;
        Clock::time_point nextAttempt{};
        std::uint64_t generation = 0;
        Shared& s = *shared;

        std::unique_lock lock(s.mutex);
        const auto ready = [&] {
            if (s.quit || s.generation != generation) return true;
            if (!s.active) return false;
            if (!f.session) return Clock::now() >= nextAttempt;
            return s.pending;
        };
        for (;;) {
            if (s.active && !f.session) s.wake.wait_until(lock, nextAttempt, ready);
            else s.wake.wait(lock, ready);
            if (s.quit) break;
            if (s.generation != generation) {
                generation = s.generation;
                Following fresh = Device::Fresh(s.settings);
                lock.unlock();
                Device::Close(f);
                f = std::move(fresh);
                failing = false;
                nextAttempt = {};
                lock.lock();
                continue;
            }
            if (!ready()) continue;
            const Settings settings = s.settings;
            const Second second = s.second;
            const bool asked = std::exchange(s.pending, false);
            const auto work = Device::TakeWork(f, s.extra);
            lock.unlock();

            QString error;
            bool answered = f.session || Device::Open(f, settings, error);
            Report report;
            const bool serve = answered && (asked || Device::kServesUnasked);
            if (serve) answered = Device::Serve(f, settings, second, work, report, error);
            if (!answered) {
                // A device that did not answer is not asked to halt: it is closed and tried again later.
                f.session.reset();
                nextAttempt = Clock::now() + kRetryInterval;
            }
            lock.lock();
            if (s.quit || s.generation != generation) continue;
            if (answered) {
                failing = false;
                if (serve) Post(s, std::move(report), std::nullopt);
            } else {
                if (!failing) Post(s, std::nullopt, Device::Unreachable(error));
                failing = true;
            }
        }
        lock.unlock();
        Device::Close(f);
        lock.lock();
        s.finished = true;
        s.finishedChanged.notify_all();
    }

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    // The owner's thread's own copy, read without the lock.
    bool active_ = false;
    std::thread worker_;
};

}  // namespace skyrel
