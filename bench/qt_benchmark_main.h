#pragma once
// The main of a benchmark program that needs a Qt application: on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. ready() runs
// before the benchmarks; when it fails the program ends with status 1 (it
// says why on stderr). The windows go before the application object, as in
// the program's main.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "view/view_host.h"

#define QT_BENCHMARK_MAIN(ready)                                                         \
    int main(int argc, char** argv) {                                                    \
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1); \
        QApplication app(argc, argv);                                                    \
        benchmark::Initialize(&argc, argv);                                              \
        if (!(ready)()) return 1;                                                        \
        benchmark::RunSpecifiedBenchmarks();                                             \
        benchmark::Shutdown();                                                           \
        view::ViewHost::shutDown();                                                      \
        return 0;                                                                        \
    }                                                                                    \
    int main(int, char**)
