// Hamlib's network rotator daemon with its dummy rotator on loopback: one command and the read-back of
// the position, as the worker does each second; directly, and through the worker thread and back. How
// many commands an hour of Moon tracking costs at the default step, and how long a stop takes to reach
// the daemon.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

#include "app/rotator/hamlibrotator.h"
#include "app/rotator/rotatormotion.h"
#include "app/station/passplan.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
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

// One hour of the Moon, a second a cycle, the second hour of its pass over a mid-European site: the commands
// the step of 0.1 degrees lets through (every second, 3,600, without it). The rotator is taken to follow
// each command at once, so only the step decides.
void BM_HamlibCommandsPerHourTrackingTheMoon(benchmark::State& state) {
    constexpr int kSecondsPerHour = 3600;
    constexpr double kSecondsPerDay = 86400;
    nav::ObserverSite site;
    site.latitude = 52.0;
    site.longitude = 5.0;
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    sky.clock.utcDay = nav::DayNumber(2026, 12, 21);
    const PassPlan pass = PlanPass(sky, site, TrackMode::Moon);
    if (pass.path.size() < 2 * 60) {
        state.SkipWithError("no two hours of the Moon on that day");
        return;
    }
    const double start = pass.riseAt.value_or(UtcDays(sky.clock)) + 1.0 / 24;
    int commands = 0;
    for (auto _ : state) {
        RotatorMotion motion(HamlibSettings().step);
        commands = 0;
        for (int second = 0; second < kSecondsPerHour; ++second) {
            const double instant = start + second / kSecondsPerDay;
            sky.clock.utcDay = static_cast<int>(instant);
            sky.clock.utcFraction = instant - sky.clock.utcDay;
            nav::ComputePositions(sky, site);
            nav::AddRefraction(sky);
            const RotatorPosition target{sky.moon.azimuth, sky.moon.elevation};
            const auto now = RotatorMotion::Clock::time_point(std::chrono::seconds(second));
            if (motion.due(target, now)) {
                motion.commanded(target, now);
                motion.reported(target, now);
                ++commands;
            }
        }
    }
    state.counters["commands_per_hour"] = commands;
}
BENCHMARK(BM_HamlibCommandsPerHourTrackingTheMoon)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the tracker's stop (as on TRACK_OFF) to the daemon's log of the stop: the worker's wake-up, the
// stop's round trip and the log line read back.
void BM_HamlibStopReachesTheDaemon(benchmark::State& state) {
    test::RotatorDaemon daemon;
    if (!daemon.start()) {
        state.SkipWithError("rotctld did not start");
        return;
    }
    HamlibRotator rotator;
    int reports = 0;
    QObject::connect(&rotator, &HamlibRotator::reported, [&reports] { ++reports; });
    int stops = 0;
    for (auto _ : state) {
        rotator.start(daemon.settings());
        const int before = reports;
        rotator.request({RotatorPosition{10, 20}});
        while (reports == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto stopped = std::chrono::steady_clock::now();
        rotator.stop();
        ++stops;
        while (daemon.stopCount() < stops) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - stopped).count());
    }
}
BENCHMARK(BM_HamlibStopReachesTheDaemon)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
