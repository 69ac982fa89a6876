// The serial link to the antenna controller: port numbers 1..12 mapped to devices, 8N1 without flow
// control, DTR and RTS on. The program only writes to it.
#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include "app/settings/settingsstore.h"

namespace skyrel {

// The device of port number `portNumber`: the "Ports" group's value "1".."12" when one is stored, else
// "/dev/ttyS(n-1)" ("COMn" on Windows). Empty for a number outside 1..12, which no device answers to.
QString PortDeviceName(const SettingsStore& store, int portNumber);

// The operations the tracker needs of a serial link.
class RotatorPort {
public:
    virtual ~RotatorPort() = default;
    // Opens port `portNumber` at `baudRate`; false when it cannot be opened (errorString says why).
    virtual bool open(int portNumber, int baudRate) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Queues `bytes` and starts sending them; false when the device reported an error (errorString). A
    // device whose output queue is full is no error: the bytes are dropped and true is returned.
    virtual bool write(const QByteArray& bytes) = 0;
    virtual QString errorString() const = 0;
};

class SerialRotatorPort : public QObject, public RotatorPort {
    Q_OBJECT

public:
    explicit SerialRotatorPort(const SettingsStore& store, QObject* parent = nullptr);
    ~SerialRotatorPort() override;

    bool open(int portNumber, int baudRate) override;
    // A device that failed in the background stays "open" until a write has reported the failure.
    bool isOpen() const override { return port_.isOpen() || !lostWriteError_.isEmpty(); }
    void close() override;
    bool write(const QByteArray& bytes) override;
    QString errorString() const override { return errorString_; }
    // The port as it was set up. Its line settings are read back from here: a pseudo-terminal reports 8N1
    // whatever parity and character size were asked for.
    const QSerialPort& serialPort() const { return port_; }

private:
    void onError(QSerialPort::SerialPortError error);
    // "<device path>: <the system's reason>" of the port's last error.
    QString systemFailure() const;

    const SettingsStore& store_;
    QSerialPort port_;
    QString errorString_;
    QString device_;  // the path the port was last opened on
    // An error of bytes sent in the background since the last write; that write's caller learns it next.
    QString lostWriteError_;
    bool writing_ = false;
};

}  // namespace skyrel
