// A GS-232A rotator controller on a pseudo-terminal, for Hamlib's model 601 driving it as it would a
// real one: "Waaa eee" turns towards that azimuth (0..450) and elevation, "C2" answers "+0aaa+0eee" with
// the position it has reached, "S" halts it. Every command it receives is kept, in order, so a test can
// read what reached the controller after Hamlib's own conversions.
#pragma once

#include <QByteArrayList>
#include <QList>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/rotator/hamlibsettings.h"
#include "tests/support/pseudoterminal.h"

namespace skyrel::test {

class Gs232Emulator {
public:
    static constexpr int kModel = 601;
    // Faster than a real controller (about 1 degree a second), so that tests do not wait for it.
    static constexpr double kDegreesPerSecond = 30;

    Gs232Emulator();
    ~Gs232Emulator();
    Gs232Emulator(const Gs232Emulator&) = delete;
    Gs232Emulator& operator=(const Gs232Emulator&) = delete;

    bool isOpen() const { return terminal_.isOpen(); }
    // Model 601 on the device, enabled.
    HamlibSettings settings() const;
    // Every command received so far, without its carriage return.
    QByteArrayList commands() const;
    // The azimuths of the "W" commands received so far, as the controller got them.
    QList<int> commandedAzimuths() const;

private:
    using Clock = std::chrono::steady_clock;

    void serve();
    void answer(const QByteArray& command);
    // Moves the position towards the target by the time passed since the last call.
    void turn();

    PseudoTerminal terminal_;
    std::atomic<bool> quit_{false};
    mutable std::mutex mutex_;
    QByteArrayList commands_;
    double azimuth_ = 0, elevation_ = 0;
    double targetAzimuth_ = 0, targetElevation_ = 0;
    Clock::time_point turnedAt_ = Clock::now();
    std::thread thread_;
};

}  // namespace skyrel::test
