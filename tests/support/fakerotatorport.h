// A serial link in memory that counts what the tracker asks of it, for the tests that are about when the
// port is opened, closed and written rather than about the bytes on a device.
#pragma once

#include <QByteArrayList>

#include "app/rotator/rotatorport.h"

namespace skyrel::test {

class FakeRotatorPort : public RotatorPort {
public:
    bool open(int portNumber, int baudRate) override {
        ++openCalls;
        lastPortNumber = portNumber;
        lastBaudRate = baudRate;
        open_ = deviceAvailable;
        return open_;
    }
    bool isOpen() const override { return open_; }
    void close() override {
        if (open_) ++closes;
        open_ = false;
    }
    bool write(const QByteArray& bytes) override {
        ++writeCalls;
        if (writesFail) return false;
        lines.append(bytes);
        return true;
    }
    QString errorString() const override { return writesFail ? QStringLiteral("Input/output error") : QString(); }

    bool deviceAvailable = true;
    bool writesFail = false;
    int openCalls = 0;
    int closes = 0;
    int writeCalls = 0;
    int lastPortNumber = -1;
    int lastBaudRate = -1;
    QByteArrayList lines;

private:
    bool open_ = false;
};

}  // namespace skyrel::test
