// Hamlib's network rotator daemon with its dummy rotator, on loopback, as a real process of the test;
// and Hamlib's own client reading the position from it.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <optional>

#include "app/rotator/hamlibsession.h"

namespace skyrel::test {

class RotatorDaemon {
public:
    // Chooses a TCP port that is free on loopback now.
    RotatorDaemon();
    ~RotatorDaemon();

    // Starts `rotctld -m 1` on 127.0.0.1 at the port and waits until it accepts connections. With
    // `logCommands` it logs every command it gets, for commandedPositions().
    bool start(bool logCommands = true);
    // SIGKILL: the daemon goes away without a word, as a crashed or cut-off dish computer would.
    void kill();

    int port() const { return port_; }
    // "127.0.0.1:<port>", the device text of the network model.
    QString address() const;
    // The options of the network model at that address, enabled.
    HamlibSettings settings() const;
    // The positions the daemon was commanded so far, in order, from its own log (two decimals).
    QList<RotatorPosition> commandedPositions();
    // The stops the daemon was sent so far, from its log.
    int stopCount();

private:
    QProcess process_;
    int port_ = 0;
    QByteArray log_;
};

// `rotctl -m 2 -r <address> p`: the position the daemon's rotator reports, or none.
std::optional<RotatorPosition> ReadPositionWithRotctl(const QString& address);

}  // namespace skyrel::test
