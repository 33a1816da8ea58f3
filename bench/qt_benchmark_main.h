#pragma once
// The main of a benchmark program that needs a Qt application: on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#define QT_BENCHMARK_MAIN()                                                              \
    int main(int argc, char** argv) {                                                    \
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1); \
        QApplication app(argc, argv);                                                    \
        benchmark::Initialize(&argc, argv);                                              \
        benchmark::RunSpecifiedBenchmarks();                                             \
        benchmark::Shutdown();                                                           \
        return 0;                                                                        \
    }                                                                                    \
    int main(int, char**)
