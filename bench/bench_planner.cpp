// The EME planner: the week's common-window search for one DX, and the figures the window refreshes once
// a second.
#include <benchmark/benchmark.h>

#include "app/settings/plannersettings.h"
#include "navlib/commonwindow.h"
#include "navlib/planner.h"
#include "navlib/timecal.h"

namespace {

// Connecticut (FN31pr) and Berlin (JO62qm).
const nav::PlannerSite kHome = nav::MakePlannerSite(41.729166666666667, -72.708333333333333, 50);
const nav::PlannerSite kDx = nav::MakePlannerSite(52.520833333333333, 13.375, 40);

// Today and the next six days, as the planner window's table shows them.
void BM_CommonWindowsSevenDays(benchmark::State& state) {
    nav::SkyState sky;
    int day = nav::DayNumber(2026, 12, 7);
    for (auto _ : state) {
        benchmark::DoNotOptimize(nav::FindCommonWindows(sky, kHome, kDx, day, 7, 0));
        day = day < nav::DayNumber(2027, 12, 7) ? day + 1 : nav::DayNumber(2026, 12, 7);
    }
}
BENCHMARK(BM_CommonWindowsSevenDays)->Unit(benchmark::kMillisecond);

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
