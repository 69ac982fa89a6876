// The Hamlib rotator as the tracker drives it: every Hamlib call runs on a worker thread of its own, so
// the one-second cycle never waits on a rotator. Each second the cycle hands over what it wants; when the
// worker is still busy, a newer request replaces the one waiting (the latest wins, there is no queue).
// The position is commanded only when RotatorMotion says so (a step moved, or the rotator stopped short),
// and read back every second. Stopping, a restart with new options and the end of the object halt the
// rotator before it is closed. A rotator that cannot be opened or stops answering is reported once,
// closed, and tried again every 5 seconds until it answers.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/rotator/hamlibsession.h"
#include "app/rotator/hamlibsettings.h"

namespace skyrel {

// What the cycle asks of the rotator for one second.
struct RotatorRequest {
    std::optional<RotatorPosition> wanted;  // azimuth 0..360, elevation (degrees); none: only read it
    bool mayMove = true;                    // false outside the move seconds: a command due waits
    bool planned = false;  // the target follows a planned pass: its turn is kept, never unwound halfway
};

// Why the target was not commanded this second although it differs from the last command.
enum class MotionHold { None, InsideStep, MoveSeconds };

// One second's answer of the rotator.
struct RotatorReport {
    std::optional<RotatorPosition> target;     // what was wanted, within the limits (degrees)
    std::optional<RotatorPosition> commanded;  // the last command sent, this second or before (degrees)
    bool clamped = false;                      // the wanted position lay outside the limits
    RotatorPosition reported;                  // where the rotator says it points (degrees)
    std::optional<double> pointingError;       // degrees between commanded and reported
    MotionHold hold = MotionHold::None;
};

class HamlibRotator : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kRetryInterval{5};
    // The longest the end of the object waits for a rotator to take its stop and close.
    static constexpr std::chrono::seconds kStopWait{2};

    explicit HamlibRotator(QObject* parent = nullptr);
    // Halts and closes the rotator, waiting at most kStopWait for it; a rotator that does not answer in
    // that time is left to its worker, which ends with the process.
    ~HamlibRotator() override;

    // Opens the rotator these options name, in the background, halting and closing one that is open; no
    // report of the rotator used before arrives after this call.
    void start(const HamlibSettings& settings);
    // This second's request.
    void request(const RotatorRequest& request);
    // The azimuths of the pass about to be followed (see PlanPassTurn): the turn it starts on is chosen
    // before the next command.
    void planPass(std::vector<double> path);
    // Halts and closes the rotator in the background; nothing more is reported.
    void stop();
    bool active() const { return active_; }

signals:
    // Delivered on the thread that owns this object, like every signal here.
    void reported(const skyrel::RotatorReport& report);
    // The rotator could not be opened or stopped answering; once until it answers again.
    void unreachable(const QString& message);

private:
    // What the window's thread asks of the worker.
    struct Request {
        std::uint64_t generation = 0;  // counts start() and stop(); a report of an older one is dropped
        bool active = false;
        HamlibSettings settings;
        RotatorRequest second;
        bool pending = false;  // a request() not yet served
        std::uint64_t planSerial = 0;
        std::vector<double> passPath;
        bool quit = false;
    };
    // What the worker has to say and this object's thread has not yet taken. Like the request it holds
    // only the newest: a report waiting when a newer one comes is dropped, and a failure drops the report
    // before it. start() and stop() empty it, so nothing of a rotator used before is delivered.
    struct Outbox {
        std::optional<QString> failure;
        std::optional<RotatorReport> report;  // after the failure, when both wait
        bool posted = false;                  // a call of deliver() is queued
        // What waits is dropped; a queued call stays queued and finds nothing.
        void drop() {
            failure.reset();
            report.reset();
        }
    };
    // Shared with the worker, which may outlive this object by the stop it waits for.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finishedChanged;
        Request request;
        Outbox outbox;
        bool finished = false;
    };

    void run(std::shared_ptr<Shared> shared);
    // Puts the report or the failure into the outbox and queues deliver() unless it is queued already.
    // Called by the worker with the lock held and only before quit, so this object is still there.
    void post(const RotatorReport& report);
    void post(const QString& failure);
    void queueDelivery();
    // On this object's thread: takes the outbox under the lock, then emits what it held. Taking the lock
    // is also what orders the worker's writes before everything this thread does with them.
    void deliver();

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    // The window's thread's own copy, read without the lock.
    bool active_ = false;
    std::thread worker_;
};

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::RotatorReport)
