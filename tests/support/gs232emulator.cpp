#include "tests/support/gs232emulator.h"

#include <poll.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>

namespace skyrel::test {
namespace {

constexpr int kPollMs = 50;

// `value` moved towards `target` by at most `step`.
double Towards(double value, double target, double step) {
    return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

}  // namespace

Gs232Emulator::Gs232Emulator() : thread_([this] { serve(); }) {}

Gs232Emulator::~Gs232Emulator() {
    quit_ = true;
    thread_.join();
}

HamlibSettings Gs232Emulator::settings() const {
    HamlibSettings settings;
    settings.enabled = true;
    settings.model = kModel;
    settings.device = terminal_.devicePath();
    settings.speed = 9600;
    return settings;
}

QByteArrayList Gs232Emulator::commands() const {
    const std::lock_guard lock(mutex_);
    return commands_;
}

QList<int> Gs232Emulator::commandedAzimuths() const {
    QList<int> azimuths;
    for (const QByteArray& command : commands())
        if (command.startsWith('W')) azimuths.append(command.mid(1, 3).toInt());
    return azimuths;
}

void Gs232Emulator::serve() {
    QByteArray pending;
    std::array<char, 256> buffer{};
    while (!quit_) {
        pollfd p{terminal_.masterDescriptor(), POLLIN, 0};
        // Until the driver opens the device the master reports a hang-up: wait without spinning.
        if (::poll(&p, 1, kPollMs) <= 0 || !(p.revents & POLLIN)) {
            if (p.revents & POLLHUP) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
            continue;
        }
        const ssize_t n = ::read(terminal_.masterDescriptor(), buffer.data(), buffer.size());
        if (n <= 0) continue;
        pending.append(buffer.data(), n);
        for (qsizetype end = pending.indexOf('\r'); end >= 0; end = pending.indexOf('\r')) {
            answer(pending.left(end));
            pending.remove(0, end + 1);
        }
    }
}

void Gs232Emulator::answer(const QByteArray& command) {
    const std::lock_guard lock(mutex_);
    commands_.append(command);
    turn();
    if (command.startsWith('W')) {
        const QList<QByteArray> values = command.mid(1).split(' ');
        targetAzimuth_ = values.value(0).toInt();
        targetElevation_ = values.value(1).toInt();
    } else if (command == "S") {
        targetAzimuth_ = azimuth_;
        targetElevation_ = elevation_;
    } else if (command == "C2") {
        const QByteArray reply = QStringLiteral("+0%1+0%2\r\n")
                                     .arg(std::lround(azimuth_), 3, 10, QLatin1Char('0'))
                                     .arg(std::lround(elevation_), 3, 10, QLatin1Char('0'))
                                     .toLatin1();
        [[maybe_unused]] const ssize_t written = ::write(terminal_.masterDescriptor(), reply.data(), reply.size());
    }
}

void Gs232Emulator::turn() {
    const Clock::time_point now = Clock::now();
    const double step = kDegreesPerSecond * std::chrono::duration<double>(now - turnedAt_).count();
    turnedAt_ = now;
    azimuth_ = Towards(azimuth_, targetAzimuth_, step);
    elevation_ = Towards(elevation_, targetElevation_, step);
}

}  // namespace skyrel::test
