// The Hamlib rotator as the tracker drives it: every Hamlib call runs on a worker thread of its own
// (HamlibWorker), so the one-second cycle never waits on a rotator. Each second the cycle hands over what
// it wants; when the worker is still busy, a newer request replaces the one waiting (the latest wins).
// The position is commanded only when RotatorMotion says so (a step moved, or the rotator stopped short),
// and read back every second. Stopping, a restart with new options and the end of the object halt the
// rotator before it is closed. A rotator that cannot be opened or stops answering is reported once,
// closed, and tried again every 5 seconds until it answers.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/rotator/hamlibsession.h"
#include "app/rotator/hamlibsettings.h"
#include "app/rotator/hamlibworker.h"
#include "app/rotator/rotatormotion.h"

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

    // The rotator as HamlibWorker drives it.
    struct PassToPlan {
        std::uint64_t serial = 0;  // counts planPass()
        std::vector<double> path;
    };
    struct Following {
        std::unique_ptr<HamlibSession> session;
        RotatorMotion motion{0};
        std::optional<double> lastAzimuth;  // commanded last, or where a planned pass begins
        std::optional<RotatorPosition> lastReported;
        std::uint64_t planSerial = 0;  // the pass planned last
    };
    struct Device {
        using Settings = HamlibSettings;
        using Second = RotatorRequest;
        using Extra = PassToPlan;
        using Report = RotatorReport;
        using Following = HamlibRotator::Following;
        // The position is read every second, also of a rotator just opened.
        static constexpr bool kServesUnasked = true;
        static Following Fresh(const HamlibSettings& settings);
        // A pass planned since the last second, once.
        static std::optional<std::vector<double>> TakeWork(Following& f, const PassToPlan& pass);
        static bool Open(Following& f, const HamlibSettings& settings, QString& error);
        static bool Serve(Following& f, const HamlibSettings& settings, const RotatorRequest& request,
                          const std::optional<std::vector<double>>& newPlan, RotatorReport& report, QString& error);
        static void Close(Following& f);
        static QString Unreachable(const QString& reason);
    };

public:
    static constexpr std::chrono::seconds kRetryInterval = HamlibWorker<Device>::kRetryInterval;
    static constexpr std::chrono::seconds kStopWait = HamlibWorker<Device>::kStopWait;

    // Halts and closes the rotator at its end, waiting at most kStopWait for it; a rotator that does not
    // answer in that time is left to its worker, which ends with the process.
    explicit HamlibRotator(QObject* parent = nullptr);

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
    bool active() const { return worker_.active(); }

signals:
    // Delivered on the thread that owns this object, like every signal here.
    void reported(const skyrel::RotatorReport& report);
    // The rotator could not be opened or stopped answering; once until it answers again.
    void unreachable(const QString& message);

private:
    // Takes the worker's outbox on this object's thread and emits what it held.
    void deliver();

    HamlibWorker<Device> worker_;
};

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::RotatorReport)
