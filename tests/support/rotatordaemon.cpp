#include "tests/support/rotatordaemon.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <utility>

#include "app/settings/numbertext.h"
#include "tests/support/toolrun.h"

namespace skyrel::test {
namespace {

constexpr int kStartWaitMs = 20000;
constexpr int kConnectPollMs = 50;

int FreeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Starts one of Hamlib's daemons with its dummy device on loopback at `port` and waits until it accepts
// connections.
bool StartDummyDaemon(QProcess& process, const QString& program, int port, const QStringList& more) {
    process.start(program, QStringList{QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                       QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(port)} +
                               more);
    if (!process.waitForStarted(kStartWaitMs)) return false;
    for (int waited = 0; waited < kStartWaitMs; waited += kConnectPollMs) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(kConnectPollMs)) return true;
        if (process.state() == QProcess::NotRunning) return false;
        QThread::msleep(kConnectPollMs);
    }
    return false;
}

}  // namespace

RotatorDaemon::RotatorDaemon() : port_(FreeLoopbackPort()) {}

RotatorDaemon::~RotatorDaemon() { kill(); }

bool RotatorDaemon::start(bool logCommands) {
    // -vvvv makes the daemon log "rot_set_position called az=... el=..." for every command and
    // "rot_stop called" for every stop.
    return StartDummyDaemon(process_, QStringLiteral("rotctld"), port_,
                            logCommands ? QStringList{QStringLiteral("-vvvv")} : QStringList{});
}

void RotatorDaemon::kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(kStartWaitMs);
    log_ += process_.readAllStandardError();
}

QString RotatorDaemon::address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

HamlibSettings RotatorDaemon::settings() const {
    HamlibSettings settings;
    settings.enabled = true;
    settings.model = kHamlibNetworkModel;
    settings.device = address();
    return settings;
}

QList<RotatorPosition> RotatorDaemon::commandedPositions() {
    log_ += process_.readAllStandardError();
    static const QRegularExpression command(QStringLiteral("rot_set_position called az=(\\S+) el=(\\S+)"));
    QList<RotatorPosition> positions;
    for (auto match = command.globalMatch(QString::fromLatin1(log_)); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        positions.append({ParseReal(m.captured(1)).value_or(-999), ParseReal(m.captured(2)).value_or(-999)});
    }
    return positions;
}

FakeRotatorDaemon::FakeRotatorDaemon(Mode mode, const QByteArray& reportedAzimuth)
    : mode_(mode), reportedAzimuth_(reportedAzimuth) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* client = server_.nextPendingConnection()) {
            ++connections_;
            if (mode_ == Mode::HangUp) {
                client->abort();
                client->deleteLater();
                continue;
            }
            QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] { answer(client); });
            QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

HamlibSettings FakeRotatorDaemon::settings() const {
    HamlibSettings settings;
    settings.enabled = true;
    settings.model = kHamlibNetworkModel;
    settings.device = QStringLiteral("127.0.0.1:%1").arg(server_.serverPort());
    return settings;
}

void FakeRotatorDaemon::release() {
    mode_ = Mode::Answer;
    for (QTcpSocket* client : std::exchange(waiting_, {})) {
        client->write("RPRT 0\n");
        answer(client);
    }
}

void FakeRotatorDaemon::answer(QTcpSocket* client) {
    // A held client's later lines wait with it, in order.
    while (!waiting_.contains(client) && client->canReadLine()) {
        const QByteArray line = client->readLine().trimmed();
        if (line == "\\dump_state") {
            client->write("1\n1\nmin_az=-180.000000\nmax_az=450.000000\nmin_el=0.000000\nmax_el=90.000000\n"
                          "south_zero=0\nrot_type=AzEl\ndone\n");
        } else if (line == "p") {
            client->write(reportedAzimuth_ + "\n0.00\n");
        } else if (line == "S") {
            client->write("RPRT 0\n");
        } else if (line.startsWith("P ")) {
            positionCommands_.append(line);
            if (mode_ == Mode::HoldSets) waiting_.append(client);
            else client->write("RPRT 0\n");
        } else {
            client->write("RPRT -1\n");
        }
    }
}

int RotatorDaemon::stopCount() {
    log_ += process_.readAllStandardError();
    // Hamlib's own line, not the dummy's "dummy_rot_stop called" that follows it.
    static const QRegularExpression stop(QStringLiteral("^rot_stop called"), QRegularExpression::MultilineOption);
    return static_cast<int>(QString::fromLatin1(log_).count(stop));
}

std::optional<RotatorPosition> ReadPositionWithRotctl(const QString& address) {
    const ToolRun run = RunTool(QStringLiteral("rotctl"), {QStringLiteral("-m"), QStringLiteral("2"),
                                                           QStringLiteral("-r"), address, QStringLiteral("p")});
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    if (run.exitCode != 0 || lines.size() != 2) return std::nullopt;
    const auto azimuth = ParseReal(QString::fromLatin1(lines[0]));
    const auto elevation = ParseReal(QString::fromLatin1(lines[1]));
    if (!azimuth || !elevation) return std::nullopt;
    return RotatorPosition{*azimuth, *elevation};
}

RadioDaemon::RadioDaemon() : port_(FreeLoopbackPort()) {}

RadioDaemon::~RadioDaemon() { kill(); }

// "-P RIG": the dummy radio keeps a PTT of its own, as a radio on CAT does.
bool RadioDaemon::start() {
    return StartDummyDaemon(process_, QStringLiteral("rigctld"), port_, {QStringLiteral("-P"), QStringLiteral("RIG")});
}

void RadioDaemon::kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(kStartWaitMs);
}

RadioSettings RadioDaemon::settings() const {
    RadioSettings settings;
    settings.enabled = true;
    settings.model = kHamlibNetworkModel;
    settings.device = QStringLiteral("127.0.0.1:%1").arg(port_);
    return settings;
}

QByteArray RadioDaemon::ask(const QByteArray& command) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port_);
    if (!socket.waitForConnected(kStartWaitMs)) return {};
    socket.write(command + '\n');
    QByteArray reply;
    while (!reply.endsWith('\n') && socket.waitForReadyRead(kStartWaitMs)) reply += socket.readAll();
    return reply.trimmed();
}

std::optional<double> RadioDaemon::receiveDial() { return ParseReal(QString::fromLatin1(ask("f"))); }

std::optional<double> RadioDaemon::transmitDial() { return ParseReal(QString::fromLatin1(ask("i"))); }

bool RadioDaemon::turnKnob(double hz) { return ask("F " + QByteArray::number(hz, 'f', 0)) == "RPRT 0"; }

bool RadioDaemon::key(bool transmitting) { return ask(transmitting ? "T 1" : "T 0") == "RPRT 0"; }

}  // namespace skyrel::test
