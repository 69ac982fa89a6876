// The EME planner: the week's common-window search for one DX, and the figures the window refreshes once
// a second.
#include <benchmark/benchmark.h>

#include "app/settings/plannersettings.h"
#include "navlib/commonwindow.h"
#include "navlib/planner.h"
#include "navlib/timecal.h"

namespace {

// Connecticut (FN31pr) and Berlin (JO62qm), with each ephemeris.
const nav::PlannerSite kHome = nav::MakePlannerSite(41.729166666666667, -72.708333333333333, 50);
const nav::PlannerSite kDx = nav::MakePlannerSite(52.520833333333333, 13.375, 40);
nav::ObserverSite PreciseEngine() {
    nav::ObserverSite engine;
    engine.ephemeris = nav::Ephemeris::Precise;
    return engine;
}
const nav::PlannerSite kPreciseHome = nav::MakePlannerSite(41.729166666666667, -72.708333333333333, 50, PreciseEngine());
const nav::PlannerSite kPreciseDx = nav::MakePlannerSite(52.520833333333333, 13.375, 40, PreciseEngine());

// The common windows of `days` days, a day later at each iteration, each search on a sky that has kept
// nothing from the one before.
void RunCommonWindows(benchmark::State& state, const nav::PlannerSite& home, const nav::PlannerSite& dx, int days) {
    int day = nav::DayNumber(2026, 12, 7);
    for (auto _ : state) {
        nav::SkyState sky;
        benchmark::DoNotOptimize(nav::FindCommonWindows(sky, home, dx, day, days, 0));
        day = day < nav::DayNumber(2027, 12, 7) ? day + 1 : nav::DayNumber(2026, 12, 7);
    }
}

// Today and the next six days, as the planner window's table shows them.
void BM_CommonWindowsSevenDays(benchmark::State& state) { RunCommonWindows(state, kHome, kDx, 7); }
BENCHMARK(BM_CommonWindowsSevenDays)->Unit(benchmark::kMillisecond);

void BM_CommonWindowsSevenDaysPrecise(benchmark::State& state) { RunCommonWindows(state, kPreciseHome, kPreciseDx, 7); }
BENCHMARK(BM_CommonWindowsSevenDaysPrecise)->Unit(benchmark::kMillisecond);

// A year, the longest span skyrel-ephem --windows searches.
void BM_CommonWindowsYear(benchmark::State& state) { RunCommonWindows(state, kHome, kDx, 365); }
BENCHMARK(BM_CommonWindowsYear)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CommonWindowsYearPrecise(benchmark::State& state) { RunCommonWindows(state, kPreciseHome, kPreciseDx, 365); }
BENCHMARK(BM_CommonWindowsYearPrecise)->Unit(benchmark::kMillisecond)->Iterations(1);

// Both stations' Moon at t - 1 s and t, Doppler, polarisation, sky temperature and degradation.
void BM_PlannerFigures(benchmark::State& state) {
    const nav::SkySurvey& survey = skyrel::ShippedSkySurvey();
    nav::SkyState sky;
    const int day = nav::DayNumber(2026, 12, 19);
    long long second = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            nav::ComputePlannerFigures(sky, kHome, kDx, day, second, survey, nav::kDefaultReceiverKelvin));
        second = (second + 1) % nav::kSecondsPerDay;
    }
}
BENCHMARK(BM_PlannerFigures)->Unit(benchmark::kMicrosecond);

}  // namespace
