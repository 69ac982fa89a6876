// Opening a Hamlib rotator or radio from its options, alike for both: the device text checked against the
// model's link, the path and speed given to Hamlib, the open under Hamlib's lock.
#pragma once

#include <QString>
#include <csignal>

#include "app/rotator/hamlibdevice.h"
#include "app/rotator/hamlibmodels.h"

namespace skyrel {

// A daemon that goes away mid-command must cost an error on the calling thread, not the program.
inline void BlockBrokenPipeOnThisThread() {
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);
}

// Where a Hamlib device is reached and how Hamlib names its port's path.
struct HamlibPort {
    QString deviceText;     // as stored: a device path, or host:port
    int speed = 0;          // baud on a serial line; 0 leaves the model's own
    const char* pathToken;  // "rot_pathname" or "rig_pathname"
    int defaultPort;        // the daemon's TCP port when the text names none
};

// OpenHamlibDevice - configures and opens a created rotator or radio (HamlibRig, HamlibRadioDevice).
//   in:  device, name (the model as messages name it), port
//   out: an empty text when open, else the reason: a device text that does not fit the model's link, a
//        path or speed Hamlib refused, or Hamlib's own error of the open, each naming the model (and the
//        device once it is known). `description` becomes "name" or "name at device" for later messages.
template <class Device>
QString OpenHamlibDevice(Device& device, const QString& name, const HamlibPort& port, QString& description) {
    description = name;
    const HamlibLink link = device.link();
    const HamlibDevice parsed = ParseHamlibDevice(port.deviceText.toStdString(), link, port.defaultPort);
    if (!parsed.valid) return QStringLiteral("%1: %2").arg(name, QString::fromStdString(parsed.error));
    if (link != HamlibLink::None && !device.setConf(port.pathToken, QByteArray::fromStdString(parsed.pathname)))
        return QStringLiteral("%1: Hamlib refused the device %2").arg(name, port.deviceText);
    if (link == HamlibLink::Device && port.speed > 0 && !device.setConf("serial_speed", QByteArray::number(port.speed)))
        return QStringLiteral("%1: Hamlib refused the speed %2").arg(name).arg(port.speed);
    if (link != HamlibLink::None) description = QStringLiteral("%1 at %2").arg(name, QString::fromStdString(parsed.pathname));
    QString openError;
    {
        const auto lock = LockHamlib();
        openError = device.open();
    }
    return openError.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(description, openError);
}

}  // namespace skyrel
