// RenderMap's drawing in the two heavy cases: the Earth view with the night shading, moonlight, both
// horizon circles and all markers, and the Celestial view with its 282 position steps.
#include <benchmark/benchmark.h>

#include <QImage>

#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/fakeclock.h"
#include "ui/maprenderer.h"

namespace {

struct MapScene {
    skyrel::Settings settings;
    nav::SkyState sky;
    QImage worldMap = QImage(QStringLiteral(":/worldmap.bmp")).convertToFormat(QImage::Format_RGB32);

    MapScene() {
        settings.site = {38.02, -78.63, 100, "FN28"};
        settings.sunShadow = settings.moonShadow = settings.sunHorizon = settings.moonHorizon = true;
        settings.sunSubPoint = settings.moonSubPoint = true;
        nav::SetObserver(sky.observerFrame, settings.site.latitude, settings.site.longitude, settings.site.height);
        const skyrel::test::FakeClock clock(2005, 9, 21, 17, 15, 0);
        nav::ReadClock(sky.clock, clock, true, 0);
        nav::ComputePositions(sky, settings.site);
    }
};

void BM_RenderMapEarthEverySwitchOn(benchmark::State& state) {
    MapScene scene;
    for (auto _ : state)
        benchmark::DoNotOptimize(skyrel::DrawMap(scene.sky, scene.settings, skyrel::MapView::Earth, scene.worldMap));
}
BENCHMARK(BM_RenderMapEarthEverySwitchOn)->Unit(benchmark::kMillisecond);

void BM_RenderMapCelestial(benchmark::State& state) {
    MapScene scene;
    for (auto _ : state)
        benchmark::DoNotOptimize(skyrel::DrawMap(scene.sky, scene.settings, skyrel::MapView::Celestial, scene.worldMap));
}
BENCHMARK(BM_RenderMapCelestial)->Unit(benchmark::kMillisecond);

}  // namespace
