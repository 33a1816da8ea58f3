// Session assembly, question load and step set-up on a copy of the sample
// module (the build tree's sample-module/, or $EXAMSIM_SAMPLE).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "engine/frm_main.h"
#include "session/bank.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "qt_benchmark_main.h"
#include "sample_module.h"

namespace {

using benchsupport::setUpModule;

void BM_CoverLoad(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    for (auto _ : st) {
        cover::frmFengmian()();
        cover::frmFengmian()().unload();
    }
}
BENCHMARK(BM_CoverLoad)->Unit(benchmark::kMillisecond);

void BM_AssemblePaper(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    auto cat = session::PaperCatalog::read();
    if (!cat) return st.SkipWithError("no catalogue");
    const QString codes = cat->paperCodes(0);
    for (auto _ : st) benchmark::DoNotOptimize(session::InitShiTi(codes, 0));
}
BENCHMARK(BM_AssemblePaper)->Unit(benchmark::kMicrosecond);

void BM_QuestionLoad(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    core::windows().showCover();  // the cover's load prepares the unit records
    session::LblJinRuXX_Click(0);
    if (!session::frmTm().loaded()) return st.SkipWithError("the unit did not start");
    session::FrmTm& tm = session::frmTm()();
    int q = 1;
    for (auto _ : st) {
        core::session().CurrentQuestion = static_cast<int16_t>(q);
        tm.DqExam();
        q = q % core::session().QuestionCount + 1;
    }
}
BENCHMARK(BM_QuestionLoad)->Unit(benchmark::kMicrosecond);

void BM_StepSetUp(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    if (!session::frmTm().loaded()) {
        core::windows().showCover();
        session::LblJinRuXX_Click(0);
    }
    engine::FrmMain& fm = engine::frmMain()();
    int q = 1;
    for (auto _ : st) {
        core::session().CurrentQuestion = static_cast<int16_t>(q);
        core::session().CurrentStep = 1;
        fm.setData();
        q = q % core::session().QuestionCount + 1;
    }
}
BENCHMARK(BM_StepSetUp)->Unit(benchmark::kMicrosecond);

} // namespace

QT_BENCHMARK_MAIN(benchsupport::setUpModule);
