// The main function of a benchmark program over Qt widgets: Qt's offscreen platform
// unless the caller chose another, one QApplication for every benchmark, then Google
// Benchmark as BENCHMARK_MAIN runs it.
#pragma once

#include <benchmark/benchmark.h>

#include <QtCore/QtGlobal>
#include <QtWidgets/QApplication>

#define ZE_QT_BENCHMARK_MAIN()                                                                   \
  int main(int argc, char** argv) {                                                              \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
    QApplication app(argc, argv);                                                                \
    benchmark::Initialize(&argc, argv);                                                          \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;                            \
    benchmark::RunSpecifiedBenchmarks();                                                         \
    benchmark::Shutdown();                                                                       \
    return 0;                                                                                    \
  }
