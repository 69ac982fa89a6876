// Benchmarks run inside a QApplication on the offscreen platform, so window cycles can be measured too.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/settings/numbertext.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    skyrel::UseCNumbers();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
