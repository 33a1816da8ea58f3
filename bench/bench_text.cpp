#include <benchmark/benchmark.h>
#include "core/text.h"

static void BM_DecodeGbkLines(benchmark::State& st) {
    QString line = QString::fromUtf8("0001051打开文档，把标题设为黑体|然后保存。").repeated(4);
    QByteArray bytes;
    for (int i = 0; i < 200; ++i) bytes += core::toGbk(line) + "\r\n";
    for (auto _ : st) {
        auto lines = core::splitLines(core::fromGbk(bytes));
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_DecodeGbkLines);
BENCHMARK_MAIN();
