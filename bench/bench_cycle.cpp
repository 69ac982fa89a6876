// One whole cycle of the main window with its real widgets on the offscreen platform.
#include <benchmark/benchmark.h>

#include "app/settingsstore.h"
#include "tests/support/fakeclock.h"
#include "ui/mainwindow.h"

namespace {

void BM_CycleWithoutDateChange(benchmark::State& state) {
    skyrel::test::FakeClock clock(2005, 9, 21, 6, 0, 0);
    skyrel::MemorySettingsStore store;
    skyrel::AppState app;
    skyrel::TSMForm1 window(app, clock, store);
    window.Timer1().stop();
    int seconds = 0;
    for (auto _ : state) {
        // Stay inside one day so that no rise/set search runs.
        clock.advance(seconds++ % 3600 == 3599 ? -3599 : 1);
        window.Timer1Timer();
    }
}
BENCHMARK(BM_CycleWithoutDateChange)->Unit(benchmark::kMicrosecond);

void BM_CycleWithDateChange(benchmark::State& state) {
    skyrel::test::FakeClock clock(2005, 9, 21, 6, 0, 0);
    skyrel::MemorySettingsStore store;
    skyrel::AppState app;
    skyrel::TSMForm1 window(app, clock, store);
    window.Timer1().stop();
    for (auto _ : state) {
        clock.advance(86400);
        window.Timer1Timer();
    }
}
BENCHMARK(BM_CycleWithDateChange)->Unit(benchmark::kMillisecond);

}  // namespace
