#pragma once
// The main of the benchmarks that drive windows: offscreen, under a QApplication.
#include <QApplication>
#include <benchmark/benchmark.h>

namespace kx::bench {

inline int mainFinestre(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kx::bench
