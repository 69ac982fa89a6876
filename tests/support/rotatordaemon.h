// Hamlib's network rotator and radio daemons with their dummy devices, on loopback, as real processes of
// the test; and Hamlib's own client reading the rotator's position from its daemon.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibsession.h"

class QTcpServer;

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

// A rotator daemon of the test's own on loopback, in the protocol Hamlib's network model speaks, for
// answers the real one never gives: the state query gets the range -180..450 / 0..90, a position query
// gets `reportedAzimuth` as it is typed ("0.00", "inf", "nan", "1e300") and elevation 0, a position
// command succeeds. It answers on the test's thread, while the test waits in the event loop.
class FakeRotatorDaemon {
public:
    enum class Mode {
        Answer,     // as a rotator
        HoldSets,   // position commands stay unanswered until release()
        HangUp,     // every connection is closed as soon as it is accepted
    };
    explicit FakeRotatorDaemon(Mode mode = Mode::Answer, const QByteArray& reportedAzimuth = "0.00");

    // The options of the network model at this daemon, enabled.
    HamlibSettings settings() const;
    int connections() const { return connections_; }
    // The position commands received so far ("P 10.000000 20.000000" as Hamlib writes them).
    const QByteArrayList& positionCommands() const { return positionCommands_; }
    // Answers the position commands held so far, and those that come later.
    void release();

private:
    void answer(QTcpSocket* client);

    QTcpServer server_;
    Mode mode_;
    QByteArray reportedAzimuth_;
    int connections_ = 0;
    QByteArrayList positionCommands_;
    QList<QTcpSocket*> waiting_;  // clients whose position command is held
};

// Hamlib's network radio daemon with its dummy radio on loopback, as a real process of the test, asked
// directly in the daemon's own protocol (Hamlib's network client reads the split frequency back from the
// wrong VFO).
class RadioDaemon {
public:
    // Chooses a TCP port that is free on loopback now; start() after kill() uses the same one.
    RadioDaemon();
    ~RadioDaemon();

    // Starts `rigctld -m 1` on 127.0.0.1 at the port and waits until it accepts connections.
    bool start();
    // SIGKILL, as a radio computer cut off.
    void kill();

    // The options of the network model at this daemon, enabled.
    RadioSettings settings() const;
    // The dummy's receive dial ("f") and split transmit dial ("i") in Hz; none when it did not answer.
    std::optional<double> receiveDial();
    std::optional<double> transmitDial();
    // Sets the receive dial as an operator's hand on the knob would ("F"), and PTT ("T"); false when
    // refused.
    bool turnKnob(double hz);
    bool key(bool transmitting);

private:
    QByteArray ask(const QByteArray& command);

    QProcess process_;
    int port_ = 0;
};

// `rotctl -m 2 -r <address> p`: the position the daemon's rotator reports, or none.
std::optional<RotatorPosition> ReadPositionWithRotctl(const QString& address);

}  // namespace skyrel::test
