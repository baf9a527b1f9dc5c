#pragma once

// The main of a benchmark that drives the program's windows: an offscreen application, then
// the cases, reported by reporter (the console's when null).

#include <benchmark/benchmark.h>
#include <QApplication>

inline int RunWithWidgets(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return 0;
}
