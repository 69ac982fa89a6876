// One whole cycle of the main window with its real widgets on the offscreen platform.
#include <benchmark/benchmark.h>

#include "app/settings/settingsstore.h"
#include "tests/support/fakeclock.h"
#include "ui/mainwindow.h"

namespace {

// The main window at 06:00 UTC with its own timer stopped: the benchmark drives the cycle.
struct CycleBench {
    skyrel::test::FakeClock clock{2005, 9, 21, 6, 0, 0};
    skyrel::MemorySettingsStore store;
    skyrel::Station station{clock, store};
    skyrel::TSMForm1 window{station};

    CycleBench() { window.Timer1().stop(); }
};

// One cycle a second, staying inside one day so that no rise/set search runs.
void RunCyclesWithinOneDay(benchmark::State& state, CycleBench& bench) {
    int seconds = 0;
    for (auto _ : state) {
        bench.clock.advance(seconds++ % 3600 == 3599 ? -3599 : 1);
        bench.window.Timer1Timer();
    }
}

void BM_CycleWithoutDateChange(benchmark::State& state) {
    CycleBench bench;
    RunCyclesWithinOneDay(state, bench);
}
BENCHMARK(BM_CycleWithoutDateChange)->Unit(benchmark::kMicrosecond);

// The same with "Precise Ephemeris" chosen from the menu, as an operator would.
void BM_CycleWithoutDateChangePrecise(benchmark::State& state) {
    CycleBench bench;
    bench.window.PreciseEphemeris1->trigger();
    RunCyclesWithinOneDay(state, bench);
}
BENCHMARK(BM_CycleWithoutDateChangePrecise)->Unit(benchmark::kMicrosecond);

void BM_CycleWithDateChange(benchmark::State& state) {
    CycleBench bench;
    for (auto _ : state) {
        bench.clock.advance(86400);
        bench.window.Timer1Timer();
    }
}
BENCHMARK(BM_CycleWithDateChange)->Unit(benchmark::kMillisecond);

}  // namespace
