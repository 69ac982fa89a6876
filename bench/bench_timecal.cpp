#include <benchmark/benchmark.h>

#include "navlib/formatfixed.h"
#include "navlib/timecal.h"

namespace {

void BM_FormatDayNumber(benchmark::State& state) {
    int day = 730135;
    for (auto _ : state) benchmark::DoNotOptimize(nav::FormatDayNumber(day++ % 800000));
}
BENCHMARK(BM_FormatDayNumber);

void BM_FormatFixed(benchmark::State& state) {
    double value = -34583.92;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nav::formatFixed(value, 5, 0));
        value += 0.01;
    }
}
BENCHMARK(BM_FormatFixed);

}  // namespace
