// One open Hamlib radio: opened from the radio's options (split turned on when the transmit frequency goes
// to the radio), its receive dial and PTT read, its dials set. Every call may block; a session lives on
// the radio's worker thread, or serves a one-off test away from the window's thread.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibmodule.h"

namespace skyrel {

class RadioSession {
public:
    // Opens model `settings.model` on `settings.device` at `settings.speed`; none with the reason in
    // `error` (as HamlibSession::Open), also when the radio refuses split and split is wanted.
    static std::unique_ptr<RadioSession> Open(const RadioSettings& settings, QString& error);
    ~RadioSession();
    RadioSession(const RadioSession&) = delete;
    RadioSession& operator=(const RadioSession&) = delete;

    // Each false or none with the reason in `error`, which names the radio.
    std::optional<double> receiveDial(QString& error);  // Hz
    std::optional<bool> transmitting(QString& error);
    bool setReceiveDial(double hz, QString& error);
    bool setTransmitDial(double hz, QString& error);

private:
    explicit RadioSession(std::unique_ptr<HamlibRadioDevice> radio);
    bool succeeded(const QString& failure, QString& error) const;

    std::unique_ptr<HamlibRadioDevice> radio_;
    QString description_;
};

// What a one-off test of the options found: the receive dial read, or the reason in words.
struct RadioProbe {
    std::optional<double> receiveDial;  // Hz
    QString error;
};

// Opens the radio, reads its receive dial and closes it again. Blocks for as long as the radio takes.
RadioProbe ProbeRadio(const RadioSettings& settings);

}  // namespace skyrel
