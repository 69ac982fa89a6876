#include <benchmark/benchmark.h>

#include "navlib/anomaly.h"
#include "navlib/observer.h"
#include "navlib/riseset.h"

namespace {

const nav::ObserverSite kSite{38.02, -78.63, 100, ""};
const nav::ObserverSite kPreciseSite{38.02, -78.63, 100, "", nav::Ephemeris::Precise, 0};

nav::SkyState ExampleSky() {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, kSite.latitude, kSite.longitude, kSite.height);
    sky.clock.utcDay = 732225;
    sky.clock.utcFraction = 0.71875;
    return sky;
}

// Position steps `stepSeconds` apart on one sky, wrapping within the day; `forget` empties what the
// precise ephemeris keeps before each step.
void RunPositionSteps(benchmark::State& state, const nav::ObserverSite& site, double stepSeconds, bool forget = false) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) {
        if (forget) sky.preciseFrame = {};
        nav::ComputePositions(sky, site);
        benchmark::DoNotOptimize(sky.moon.elevation);
        sky.clock.utcFraction = sky.clock.utcFraction < 0.99 ? sky.clock.utcFraction + stepSeconds / 86400 : 0;
    }
}

// One position step, as each cycle, each search step and each map point runs it.
void BM_ComputePositions(benchmark::State& state) { RunPositionSteps(state, kSite, 1); }
BENCHMARK(BM_ComputePositions);

// The precise position step as the cycle runs it: one second on, on the sky of the step before.
void BM_PrecisePositionsCached(benchmark::State& state) { RunPositionSteps(state, kPreciseSite, 1); }
BENCHMARK(BM_PrecisePositionsCached);

// One precise step on a sky that has kept nothing: a lone instant, as a single query computes it.
void BM_PrecisePositionsUncached(benchmark::State& state) { RunPositionSteps(state, kPreciseSite, 120, true); }
BENCHMARK(BM_PrecisePositionsUncached);

// The whole rise/set search of one day: 1585 position steps and the fourteen texts. Each iteration
// starts from a sky that has kept nothing, as the first search of a new day does.
void RunRiseSetSearch(benchmark::State& state, const nav::ObserverSite& site) {
    nav::SkyState sky = ExampleSky();
    for (auto _ : state) {
        sky.preciseFrame = {};
        benchmark::DoNotOptimize(nav::FindRiseSet(sky, site, -4.0, false));
    }
}

void BM_FindRiseSet(benchmark::State& state) { RunRiseSetSearch(state, kSite); }
BENCHMARK(BM_FindRiseSet)->Unit(benchmark::kMillisecond);

void BM_FindRiseSetPrecise(benchmark::State& state) { RunRiseSetSearch(state, kPreciseSite); }
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
