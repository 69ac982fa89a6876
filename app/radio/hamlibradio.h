// The Hamlib radio as the Doppler correction drives it, on a worker thread of its own (HamlibWorker) so
// that the one-second cycle never waits on a radio. Each second the cycle hands over the Moon's range rates and the
// mode; when the worker is still busy, a newer second replaces the one waiting (the latest wins). The
// worker reads the receive dial and PTT, adopts a turn of the knob, and sends the dials that moved a step
// (RadioTuner). A radio that cannot be opened or stops answering is reported once, closed, and tried again
// every 5 seconds; its sky frequencies, adopted ones included, are kept across the loss.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

#include "app/radio/radiosession.h"
#include "app/radio/radiotuner.h"
#include "app/rotator/hamlibworker.h"

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

    // The radio as HamlibWorker drives it.
    struct Following {
        std::unique_ptr<RadioSession> session;
        RadioTuning tuning;
    };
    struct Device {
        using Settings = RadioSettings;
        using Second = RadioSecond;
        using Extra = bool;  // a program keying the radio itself says it transmits
        using Report = RadioReport;
        using Following = HamlibRadio::Following;
        // Opening alone reads nothing: a radio just opened answers the next second's request.
        static constexpr bool kServesUnasked = false;
        static Following Fresh(const RadioSettings& settings);
        static bool TakeWork(Following&, bool keyed) { return keyed; }
        static bool Open(Following& f, const RadioSettings& settings, QString& error);
        static bool Serve(Following& f, const RadioSettings& settings, const RadioSecond& second, bool keyed,
                          RadioReport& report, QString& error);
        static void Close(Following& f) { f.session.reset(); }
        static QString Unreachable(const QString& reason);
    };

public:
    static constexpr std::chrono::seconds kRetryInterval = HamlibWorker<Device>::kRetryInterval;
    static constexpr std::chrono::seconds kStopWait = HamlibWorker<Device>::kStopWait;

    // Closes the radio at its end, waiting at most kStopWait; a radio call that does not return in that
    // time is left to its worker, which ends with the process.
    explicit HamlibRadio(QObject* parent = nullptr);

    // Opens the radio these options name, in the background, closing one that is open; the sky
    // frequencies start from the options. No report of the radio used before arrives after this call.
    void start(const RadioSettings& settings) { worker_.start(settings); }
    // This second's range rates and mode (RadioSecond; the dial and PTT come from the radio).
    void request(nav::RadioMode mode, double homeRangeRate, double dxRangeRate);
    // A program that keys the radio itself says it transmits (or no longer does).
    void setKeyed(bool keyed);
    // Closes the radio in the background, leaving its dials where they are; nothing more is reported.
    void stop() { worker_.stop(); }
    bool active() const { return worker_.active(); }

signals:
    void reported(const skyrel::RadioReport& report);
    // The radio could not be opened or stopped answering; once until it answers again.
    void unreachable(const QString& message);

private:
    void deliver();

    HamlibWorker<Device> worker_;
};

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::RadioReport)
