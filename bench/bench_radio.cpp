// The radio's Doppler path: what one second costs the station (the range rate from home, the dials of
// the convention) with and without a dial to send, and how often a radio is set in an hour of the Moon.
#include <benchmark/benchmark.h>

#include "app/radio/radiotuner.h"
#include "app/station/passplan.h"
#include "navlib/observer.h"
#include "navlib/planner.h"
#include "navlib/skystate.h"
#include "navlib/timecal.h"

namespace skyrel {
namespace {

constexpr double kSecondsPerDay = 86400;

struct RadioBench {
    nav::ObserverSite site;
    nav::PlannerSite home;
    nav::SkyState sky;

    RadioBench() {
        site.latitude = 52.0;
        site.longitude = 5.0;
        home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site);
        nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
        at(nav::DayNumber(2026, 12, 21) + 3.0 / 24);
    }
    void at(double utcDays) {
        sky.clock.utcDay = static_cast<int>(utcDays);
        sky.clock.utcFraction = utcDays - sky.clock.utcDay;
    }
    // The home range rate as the station takes it each second (two Moon positions).
    double homeRate() {
        nav::SkyState workspace = sky;
        return nav::StationMoonAt(workspace, home, sky.clock.utcDay, nav::SecondOfDay(sky.clock)).rangeRate;
    }
};

RadioSettings OwnEchoAt(double skyHz, double stepHz) {
    RadioSettings settings;
    settings.rxSky = settings.txSky = skyHz;
    settings.step = stepHz;
    return settings;
}

// The radio reads back what was set: nothing moves, nothing is sent.
void BM_RadioSecondWithoutChange(benchmark::State& state) {
    RadioBench bench;
    const RadioSettings settings = OwnEchoAt(1296.05e6, 1);
    RadioTuning tuning = StartTuning(settings);
    RadioSecond second{.mode = nav::RadioMode::OwnEcho, .homeRangeRate = bench.homeRate()};
    second.rxDialRead = *NextRadioStep(tuning, settings, second).setRx;
    for (auto _ : state) {
        second.homeRangeRate = bench.homeRate();
        benchmark::DoNotOptimize(NextRadioStep(tuning, settings, second));
    }
}
BENCHMARK(BM_RadioSecondWithoutChange)->Unit(benchmark::kMicrosecond);

// Every second a new dial: the range rate alternates between two seconds a minute apart.
void BM_RadioSecondWithChange(benchmark::State& state) {
    RadioBench bench;
    const RadioSettings settings = OwnEchoAt(1296.05e6, 1);
    RadioTuning tuning = StartTuning(settings);
    const double first = UtcDays(bench.sky.clock);
    RadioSecond second{.mode = nav::RadioMode::OwnEcho};
    bool later = false;
    for (auto _ : state) {
        bench.at(first + (later ? 60 / kSecondsPerDay : 0));
        later = !later;
        second.homeRangeRate = bench.homeRate();
        const RadioStep step = NextRadioStep(tuning, settings, second);
        second.rxDialRead = step.setRx.value_or(second.rxDialRead);
        benchmark::DoNotOptimize(step);
    }
}
BENCHMARK(BM_RadioSecondWithChange)->Unit(benchmark::kMicrosecond);

// The second hour of the Moon's pass over a mid-European site (as the rotator's commands are counted), a
// second at a time, Own Echo with a 1 Hz
// step, the radio following every set: the sets that go out.
void BM_RadioSetsPerHour(benchmark::State& state) {
    constexpr int kSecondsPerHour = 3600;
    const double skyHz = static_cast<double>(state.range(0)) * 1e6;
    RadioBench bench;
    const RadioSettings settings = OwnEchoAt(skyHz, 1);
    bench.at(nav::DayNumber(2026, 12, 21));
    const PassPlan pass = PlanPass(bench.sky, bench.site, TrackMode::Moon);
    if (pass.path.size() < 2 * 60) {
        state.SkipWithError("no two hours of the Moon on that day");
        return;
    }
    const double start = pass.riseAt.value_or(UtcDays(bench.sky.clock)) + 1.0 / 24;
    int sets = 0;
    for (auto _ : state) {
        RadioTuning tuning = StartTuning(settings);
        RadioSecond second{.mode = nav::RadioMode::OwnEcho};
        sets = 0;
        for (int s = 0; s < kSecondsPerHour; ++s) {
            bench.at(start + s / kSecondsPerDay);
            second.homeRangeRate = bench.homeRate();
            const RadioStep step = NextRadioStep(tuning, settings, second);
            if (step.setRx) {
                second.rxDialRead = *step.setRx;
                ++sets;
            }
        }
    }
    state.counters["sets_per_hour"] = sets;
}
BENCHMARK(BM_RadioSetsPerHour)->Arg(144)->Arg(10368)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace skyrel
