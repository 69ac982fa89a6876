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

}  // namespace

RotatorDaemon::RotatorDaemon() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port_ = probe.serverPort();
}

RotatorDaemon::~RotatorDaemon() { kill(); }

bool RotatorDaemon::start(bool logCommands) {
    QStringList args = {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                        QStringLiteral("-t"), QString::number(port_)};
    // -vvvv makes the daemon log "rot_set_position called az=... el=..." for every command and
    // "rot_stop called" for every stop.
    if (logCommands) args.append(QStringLiteral("-vvvv"));
    process_.start(QStringLiteral("rotctld"), args);
    if (!process_.waitForStarted(kStartWaitMs)) return false;
    for (int waited = 0; waited < kStartWaitMs; waited += kConnectPollMs) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port_);
        if (socket.waitForConnected(kConnectPollMs)) return true;
        if (process_.state() == QProcess::NotRunning) return false;
        QThread::msleep(kConnectPollMs);
    }
    return false;
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

}  // namespace skyrel::test
