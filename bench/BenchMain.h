// The entry point of the benchmarks that run inside a Qt application: offscreen unless a
// display is given, with the system's font substitutions, then Google Benchmark.
#pragma once

#include "platform/Fonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int RunBenchmarksInApplication(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
