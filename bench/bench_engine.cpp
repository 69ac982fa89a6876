#include <benchmark/benchmark.h>

#include "navlib/anomaly.h"
#include "navlib/observer.h"
#include "navlib/riseset.h"

namespace {

const nav::ObserverSite kSite{38.02, -78.63, 100, ""};

nav::SkyState ExampleSky() {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, kSite.latitude, kSite.longitude, kSite.height);
    sky.clock.utcDay = 732225;
    sky.clock.utcFraction = 0.71875;
    return sky;
}

// One position step, as each cycle, each search step and each map point runs it.
void BM_ComputePositions(benchmark::State& state) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) {
        nav::ComputePositions(sky, kSite);
        benchmark::DoNotOptimize(sky.moon.elevation);
        sky.clock.utcFraction = sky.clock.utcFraction < 0.99 ? sky.clock.utcFraction + 1.0 / 86400 : 0;
    }
}
BENCHMARK(BM_ComputePositions);

// The whole rise/set search of one day: 1585 position steps and the fourteen texts.
void BM_FindRiseSet(benchmark::State& state) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) benchmark::DoNotOptimize(nav::FindRiseSet(sky, kSite, -4.0, false));
}
BENCHMARK(BM_FindRiseSet)->Unit(benchmark::kMillisecond);

const nav::ObserverSite kPreciseSite{38.02, -78.63, 100, "", nav::Ephemeris::Precise, 0};

// The precise position step as the cycle runs it: one second on, the Earth's orbit and the
// precession-nutation matrix kept from the last minute's evaluation.
void BM_PrecisePositionsCached(benchmark::State& state) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) {
        nav::ComputePositions(sky, kPreciseSite);
        benchmark::DoNotOptimize(sky.moon.elevation);
        sky.clock.utcFraction = sky.clock.utcFraction < 0.99 ? sky.clock.utcFraction + 1.0 / 86400 : 0;
    }
}
BENCHMARK(BM_PrecisePositionsCached);

// Two minutes on at each step: every step evaluates the Earth's orbit and the matrix afresh.
void BM_PrecisePositionsUncached(benchmark::State& state) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) {
        nav::ComputePositions(sky, kPreciseSite);
        benchmark::DoNotOptimize(sky.moon.elevation);
        sky.clock.utcFraction = sky.clock.utcFraction < 0.99 ? sky.clock.utcFraction + 120.0 / 86400 : 0;
    }
}
BENCHMARK(BM_PrecisePositionsUncached);

// The day's search with the precise ephemeris: steps a minute apart, so every other one reuses the frame.
void BM_FindRiseSetPrecise(benchmark::State& state) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) benchmark::DoNotOptimize(nav::FindRiseSet(sky, kPreciseSite, -4.0, false));
}
BENCHMARK(BM_FindRiseSetPrecise)->Unit(benchmark::kMillisecond);

void BM_AnomalyPhase(benchmark::State& state) {
    double fraction = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nav::AnomalyPhase(732225, fraction));
        fraction = fraction < 0.99 ? fraction + 1.0 / 86400 : 0;
    }
}
BENCHMARK(BM_AnomalyPhase);

}  // namespace
