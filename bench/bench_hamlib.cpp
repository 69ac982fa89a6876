// Hamlib's network rotator daemon with its dummy rotator on loopback: one command and the read-back of
// the position, as the worker does each second; directly, and through the worker thread and back.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "app/rotator/hamlibrotator.h"
#include "tests/support/rotatordaemon.h"

namespace {

using namespace skyrel;

// The daemon without its command log, which would cost it time on every command.
bool StartDaemon(test::RotatorDaemon& daemon, benchmark::State& state) {
    if (daemon.start(false)) return true;
    state.SkipWithError("rotctld did not start");
    return false;
}

void BM_HamlibSetThenGetOnLoopbackDaemon(benchmark::State& state) {
    test::RotatorDaemon daemon;
    if (!StartDaemon(daemon, state)) return;
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
    test::RotatorDaemon daemon;
    if (!StartDaemon(daemon, state)) return;
    HamlibRotator rotator;
    int reports = 0;
    QObject::connect(&rotator, &HamlibRotator::reported, [&reports] { ++reports; });
    rotator.start(daemon.settings());
    rotator.request({RotatorPosition{10, 20}});
    while (reports == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    double azimuth = 10;
    for (auto _ : state) {
        const int before = reports;
        azimuth = azimuth > 300 ? 10 : azimuth + 0.1;
        rotator.request({RotatorPosition{azimuth, 20}});
        while (reports == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
BENCHMARK(BM_HamlibRotatorPointToReport)->Unit(benchmark::kMicrosecond);

}  // namespace
