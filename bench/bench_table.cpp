// skyrel-ephem's table, run in-process with each ephemeris: the rows as the tool prints them, with
// their formatting, but without the start of a process.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/skyrel-ephem/run.h"

namespace {

// Minute rows from 00:00 UTC on 2026-12-07 at Charlottesville.
void RunTable(benchmark::State& state, const std::string& ephemeris, int rows) {
    const std::vector<std::string> args{"--lat",  "38.02", "--lon",   "-78.63",             "--height",
                                        "100",    "--utc", "2026-12-07T00:00:00", "--every", "60",
                                        "--count", std::to_string(rows), "--ephemeris", ephemeris};
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(ephem::Run(args, out, err));
        benchmark::DoNotOptimize(out.str().size());
    }
}

constexpr int kMinutesPerDay = 1440;
constexpr int kMinutesPerYear = 365 * kMinutesPerDay;

void BM_TableOneDay(benchmark::State& state) { RunTable(state, "standard", kMinutesPerDay); }
BENCHMARK(BM_TableOneDay)->Unit(benchmark::kMillisecond);

void BM_TableOneDayPrecise(benchmark::State& state) { RunTable(state, "precise", kMinutesPerDay); }
BENCHMARK(BM_TableOneDayPrecise)->Unit(benchmark::kMillisecond);

void BM_TableYear(benchmark::State& state) { RunTable(state, "standard", kMinutesPerYear); }
BENCHMARK(BM_TableYear)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TableYearPrecise(benchmark::State& state) { RunTable(state, "precise", kMinutesPerYear); }
BENCHMARK(BM_TableYearPrecise)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
