// Hamlib's network rotator daemon with its dummy rotator on loopback: one command and the read-back of
// the position, as the worker does each second; directly, and through the worker thread and back.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include "app/hamlibrotator.h"

namespace {

using namespace skyrel;

constexpr int kDaemonStartMs = 20000;

// rotctld -m 1 on a free loopback port for the life of the object.
class Daemon {
public:
    Daemon() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
        probe.close();
        process_.start(QStringLiteral("rotctld"), {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                                   QStringLiteral("127.0.0.1"), QStringLiteral("-t"),
                                                   QString::number(port_)});
        process_.waitForStarted(kDaemonStartMs);
        for (int waited = 0; waited < kDaemonStartMs; waited += 50) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            if (socket.waitForConnected(50)) break;
            QThread::msleep(50);
        }
    }
    ~Daemon() {
        process_.kill();
        process_.waitForFinished(kDaemonStartMs);
    }
    HamlibSettings settings() const {
        HamlibSettings s;
        s.enabled = true;
        s.model = kHamlibNetworkModel;
        s.device = QStringLiteral("127.0.0.1:%1").arg(port_);
        return s;
    }

private:
    QProcess process_;
    int port_ = 0;
};

void BM_HamlibSetThenGetOnLoopbackDaemon(benchmark::State& state) {
    Daemon daemon;
    QString error;
    const std::unique_ptr<HamlibSession> session = HamlibSession::Open(daemon.settings(), error);
    if (!session) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    double azimuth = 10;
    for (auto _ : state) {
        azimuth = azimuth > 300 ? 10 : azimuth + 0.1;
        session->setPosition({azimuth, 20}, error);
        benchmark::DoNotOptimize(session->position(error));
    }
}
BENCHMARK(BM_HamlibSetThenGetOnLoopbackDaemon)->Unit(benchmark::kMicrosecond);

// From the cycle's hand-over to the report on the cycle's thread: the worker's wake-up and the queued
// delivery added to the round trip.
void BM_HamlibRotatorPointToReport(benchmark::State& state) {
    Daemon daemon;
    HamlibRotator rotator;
    int reports = 0;
    QObject::connect(&rotator, &HamlibRotator::reported, [&reports] { ++reports; });
    rotator.start(daemon.settings());
    rotator.point({10, 20});
    while (reports == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    double azimuth = 10;
    for (auto _ : state) {
        const int before = reports;
        azimuth = azimuth > 300 ? 10 : azimuth + 0.1;
        rotator.point({azimuth, 20});
        while (reports == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(BM_HamlibRotatorPointToReport)->Unit(benchmark::kMicrosecond);

}  // namespace
