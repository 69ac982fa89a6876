// The Hamlib rotator as the tracker drives it: every Hamlib call runs on a worker thread of its own, so
// the one-second cycle never waits on a rotator. The cycle hands over the position it wants; when a
// command is still under way, a newer position replaces the one waiting (the latest wins, there is no
// queue). After each command the rotator's position is read back and reported. A rotator that cannot be
// opened or stops answering is reported once, closed, and tried again every 5 seconds until it answers.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "app/rotator/hamlibsession.h"
#include "app/rotator/hamlibsettings.h"

namespace skyrel {

// One command answered by the rotator.
struct RotatorReport {
    // As sent, after the limits (degrees); none when the rotator was only read (reopened before any
    // position was asked for).
    std::optional<RotatorPosition> commanded;
    bool clamped = false;                // the wanted position lay outside the rotator's limits
    RotatorPosition reported;            // where the rotator says it points (degrees)
    std::optional<double> pointingError; // degrees between commanded and reported
};

class HamlibRotator : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kRetryInterval{5};

    explicit HamlibRotator(QObject* parent = nullptr);
    // Waits for a Hamlib call under way to end, then closes the rotator.
    ~HamlibRotator() override;

    // Opens the rotator these options name, in the background, closing one that is open; no report of
    // the rotator used before arrives after this call.
    void start(const HamlibSettings& settings);
    // The position to command next (azimuth 0..360, elevation; degrees).
    void point(RotatorPosition wanted);
    // Closes the rotator in the background; nothing more is reported.
    void stop();
    bool active() const { return active_; }

signals:
    // Delivered on the thread that owns this object, like every signal here.
    void reported(const skyrel::RotatorReport& report);
    // The rotator could not be opened or stopped answering; once until it answers again.
    void unreachable(const QString& message);

private:
    // What the window's thread asks of the worker; guarded by mutex_.
    struct Request {
        std::uint64_t generation = 0;  // counts start() and stop(); a report of an older one is dropped
        bool active = false;
        HamlibSettings settings;
        std::optional<RotatorPosition> wanted;
        bool quit = false;
    };

    void run();
    // Sends `report` or the failure to this object's thread, unless the request changed meanwhile.
    void deliverReport(std::uint64_t generation, const RotatorReport& report);
    void deliverFailure(std::uint64_t generation, const QString& message);

    std::mutex mutex_;
    std::condition_variable wake_;
    Request request_;
    // The window's thread's own copies, read without the lock.
    std::uint64_t generation_ = 0;
    bool active_ = false;
    std::thread worker_;
};

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::RotatorReport)
