#pragma once
// The main of a benchmark program that needs a Qt application: on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. ready() runs
// before the benchmarks; when it fails the program ends with status 1 (it
// says why on stderr). The windows go before the application object, as in
// the program's main.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "view/view_host.h"

namespace benchsupport {

// The benchmarks print their results only: the notes of a platform about
// what it cannot do (raise a window, pass size hints on) and about the
// session's environment are dropped; everything else goes through.
inline QtMessageHandler& passedOn() {
    static QtMessageHandler h = nullptr;
    return h;
}

inline void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && (text.startsWith(QLatin1String("This plugin does not support")) ||
                                 text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))))
        return;
    if (passedOn())
        passedOn()(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace benchsupport

#define QT_BENCHMARK_MAIN(ready)                                                         \
    int main(int argc, char** argv) {                                                    \
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1); \
        benchsupport::passedOn() = qInstallMessageHandler(benchsupport::quietPlatformNotes); \
        QApplication app(argc, argv);                                                    \
        benchmark::Initialize(&argc, argv);                                              \
        if (!(ready)()) return 1;                                                        \
        benchmark::RunSpecifiedBenchmarks();                                             \
        benchmark::Shutdown();                                                           \
        view::ViewHost::shutDown();                                                      \
        return 0;                                                                        \
    }                                                                                    \
    int main(int, char**)
