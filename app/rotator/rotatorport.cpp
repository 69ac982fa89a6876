#include "app/rotator/rotatorport.h"

#include <poll.h>

namespace skyrel {
namespace {
constexpr int kHighestPortNumber = 12;

// Whether the device's output queue is full: it would neither take a byte nor report an error now. A
// controller that stops reading fills the queue; writing then fails with "Resource temporarily
// unavailable", which is no fault of the device. A device that went away reports a hang-up or an error
// here, and its write is tried so that the error is seen.
bool QueueIsFull(int descriptor) {
    pollfd device{descriptor, POLLOUT, 0};
    return ::poll(&device, 1, 0) == 0;
}
}  // namespace

QString PortDeviceName(const SettingsStore& store, int portNumber) {
    if (portNumber < 1 || portNumber > kHighestPortNumber) return {};
    const QString configured = store.read(kPortsGroup, QString::number(portNumber));
    if (!configured.isEmpty()) return configured;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

SerialRotatorPort::SerialRotatorPort(const SettingsStore& store, QObject* parent) : QObject(parent), store_(store) {
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialRotatorPort::onError);
}

SerialRotatorPort::~SerialRotatorPort() = default;

bool SerialRotatorPort::open(int portNumber, int baudRate) {
    if (isOpen()) return true;
    const QString device = PortDeviceName(store_, portNumber);
    if (device.isEmpty()) {
        errorString_ = QStringLiteral("No device for port %1").arg(portNumber);
        return false;
    }
    device_ = device;
    port_.setPortName(device);
    port_.setBaudRate(baudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::WriteOnly)) {
        errorString_ = systemFailure();
        return false;
    }
    // Devices without modem lines, pseudo-terminals among them, refuse DTR and RTS; they still carry
    // the bytes, so a refusal is not a failed open.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    port_.clearError();
    errorString_.clear();
    return true;
}

void SerialRotatorPort::close() {
    lostWriteError_.clear();
    if (port_.isOpen()) port_.close();
}

bool SerialRotatorPort::write(const QByteArray& bytes) {
    if (!lostWriteError_.isEmpty()) {
        errorString_ = lostWriteError_;
        lostWriteError_.clear();
        return false;
    }
    if (!port_.isOpen()) {
        errorString_ = QStringLiteral("The port is not open");
        return false;
    }
    // A full queue drops this second's line; the next second's line takes its place. Bytes still waiting
    // in the port's own buffer go first, so lines are never interleaved.
    if (QueueIsFull(port_.handle())) return true;
    port_.clearError();
    // Hand the bytes to the device now, so that a device gone away is reported to this caller. A full
    // device queue is no error: the rest leaves in the background.
    writing_ = true;
    const bool sent = port_.write(bytes) == bytes.size() && (port_.flush() || port_.error() == QSerialPort::NoError);
    writing_ = false;
    if (!sent) {
        errorString_ = systemFailure();
        // Qt keeps retrying the unsent bytes as fast as the event loop turns; a closed port stops that.
        port_.close();
        return false;
    }
    return true;
}

QString SerialRotatorPort::systemFailure() const { return QStringLiteral("%1: %2").arg(device_, port_.errorString()); }

void SerialRotatorPort::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::WriteError && error != QSerialPort::ResourceError) return;
    if (writing_ || !port_.isOpen()) return;
    // Bytes left over from an earlier write failed in the background: let go of the device to stop the
    // retry loop, and report the error at the next write.
    lostWriteError_ = systemFailure();
    port_.close();
}

}  // namespace skyrel
