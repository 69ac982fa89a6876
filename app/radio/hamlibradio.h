// The Hamlib radio as the Doppler correction drives it, on a worker thread of its own so that the
// one-second cycle never waits on a radio. Each second the cycle hands over the Moon's range rates and the
// mode; when the worker is still busy, a newer second replaces the one waiting (the latest wins). The
// worker reads the receive dial and PTT, adopts a turn of the knob, and sends the dials that moved a step
// (RadioTuner). A radio that cannot be opened or stops answering is reported once, closed, and tried again
// every 5 seconds; its sky frequencies, adopted ones included, are kept across the loss.
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

#include "app/radio/radiotuner.h"

namespace skyrel {

// One second's answer of the radio.
struct RadioReport {
    nav::RadioMode mode = nav::RadioMode::Off;
    RadioStep step;             // this second's dials and corrections
    double rxSky = 0, txSky = 0;  // Hz: the sky frequencies in effect
    bool transmitting = false;
    bool split = false;         // the transmit dial goes to the radio
};

class HamlibRadio : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kRetryInterval{5};
    // The longest the end of the object waits for a radio call to return.
    static constexpr std::chrono::seconds kStopWait{2};

    explicit HamlibRadio(QObject* parent = nullptr);
    // Closes the radio, waiting at most kStopWait; a radio call that does not return in that time is left
    // to its worker, which ends with the process.
    ~HamlibRadio() override;

    // Opens the radio these options name, in the background, closing one that is open; the sky
    // frequencies start from the options. No report of the radio used before arrives after this call.
    void start(const RadioSettings& settings);
    // This second's range rates and mode (RadioSecond; the dial and PTT come from the radio).
    void request(nav::RadioMode mode, double homeRangeRate, double dxRangeRate);
    // A program that keys the radio itself says it transmits (or no longer does).
    void setKeyed(bool keyed);
    // Closes the radio in the background, leaving its dials where they are; nothing more is reported.
    void stop();
    bool active() const { return active_; }

signals:
    void reported(const skyrel::RadioReport& report);
    // The radio could not be opened or stopped answering; once until it answers again.
    void unreachable(const QString& message);

private:
    struct Request {
        std::uint64_t generation = 0;  // counts start() and stop()
        bool active = false;
        RadioSettings settings;
        RadioSecond second;
        bool pending = false;
        bool keyed = false;
        bool quit = false;
    };
    // As the rotator's: only the newest waits; start() and stop() empty it.
    struct Outbox {
        std::optional<QString> failure;
        std::optional<RadioReport> report;
        bool posted = false;
        void drop() {
            failure.reset();
            report.reset();
        }
    };
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable finishedChanged;
        Request request;
        Outbox outbox;
        bool finished = false;
    };

    void run(std::shared_ptr<Shared> shared);
    void post(const RadioReport& report);
    void post(const QString& failure);
    void queueDelivery();
    void deliver();

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    bool active_ = false;
    std::thread worker_;
};

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::RadioReport)
