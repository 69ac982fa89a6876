// A pseudo-terminal pair for tests of the serial output: the program opens the slave device by its path
// like any serial port; the test reads what arrives on the master side, or closes the master to make the
// device go away as an unplugged adapter does.
#pragma once

#include <QByteArray>
#include <QString>

namespace skyrel::test {

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master_ >= 0; }
    // The slave device, e.g. "/dev/pts/4".
    QString devicePath() const { return devicePath_; }
    int masterDescriptor() const { return master_; }

    // Everything that has arrived, waiting at most `waitMs` for the first byte (0: only what is there).
    QByteArray readAvailable(int waitMs = 0);
    // Reads until `count` bytes arrived or `waitMs` passed without a new byte.
    QByteArray readBytes(int count, int waitMs = 2000);
    // Closes the master: writes to the device fail and its path goes away once nobody holds it.
    void close();

private:
    int master_ = -1;
    QString devicePath_;
};

}  // namespace skyrel::test
