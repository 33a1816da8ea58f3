// What the screen costs: click to next scene rendered, repaints under
// pointer moves, wake-ups of an idle program, memory after a whole session.
// Runs on a copy of the sample module, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <cstdlib>

#include "core/pictures.h"
#include "core/state.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "sample_module.h"
#include "session/frm_tm.h"
#include "view/form_window.h"
#include "view/view_host.h"
#include "qt_benchmark_main.h"

namespace {

using benchsupport::setUpModule;

// Runs the event loop for ms milliseconds.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Resident memory in MiB.
double residentMiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

bool atEnd() { return engine::StepRecord(core::session().StepLine).action() == engine::ActionEnd; }

// Every step of every question of every unit set up once, as a candidate
// going through all units in one session would see them.
void BM_MemoryAfterWholeSession(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    int steps = 0;
    for (auto _ : st) {
        core::windows().showCover();
        for (int unit = 0; unit < 6; ++unit) {
            session::LblJinRuXX_Click(unit);
            if (!session::frmTm().loaded()) return st.SkipWithError("a unit did not start");
            session::FrmTm& tm = session::frmTm()();
            const int questions = core::session().QuestionCount;
            for (int q = 1; q <= questions; ++q) {
                core::session().CurrentQuestion = int16_t(q);
                tm.DqExam();
                engine::FrmMain& fm = engine::frmMain()();
                for (int step = 1; step <= 60; ++step) {
                    core::session().CurrentStep = int16_t(step);
                    fm.setData();
                    ++steps;
                    if (atEnd()) break;
                }
            }
        }
    }
    st.counters["steps"] = steps;
    st.counters["rss_MiB"] = residentMiB();
    st.counters["cache_MiB"] = double(core::pictureStore().cachedBytes()) / (1 << 20);
}
BENCHMARK(BM_MemoryAfterWholeSession)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first question of unit 1 whose first step is a click on the target
// that leads to a step with a screenshot of its own, shown at step 1; false
// when there is none. The choice is kept, so every run clicks the same step
// (a click saves the question's progress, which a fresh search would skip).
bool clickStepScene() {
    static int16_t chosen = 0;
    core::windows().showCover();
    session::LblJinRuXX_Click(0);
    if (!session::frmTm().loaded()) return false;
    session::FrmTm& tm = session::frmTm()();
    auto showStepOne = [&](int16_t q) {
        core::session().CurrentQuestion = q;
        core::session().CurrentStep = 1;
        tm.DqExam();
        core::session().CurrentStep = 1;
        engine::frmMain()().setData();
    };
    if (chosen) {
        showStepOne(chosen);
        return true;
    }
    for (int16_t q = 1; q <= core::session().QuestionCount; ++q) {
        showStepOne(q);
        const engine::StepRecord first(core::session().StepLine);
        if (first.action() != engine::ActionClick) continue;
        engine::FrmMain& fm = engine::frmMain()();
        const double x = fm.Label1.formX() + fm.Label1.width() / 2, y = fm.Label1.formY() + fm.Label1.height() / 2;
        fm.mouseDown(x, y, core::LeftButton, 0);
        fm.mouseUp(x, y, core::LeftButton, 0);
        const engine::StepRecord next(core::session().StepLine);
        if (core::session().CurrentStep == 2 && !next.formPictureKeeps() &&
            next.formPicture() != first.formPicture()) {
            chosen = q;
            showStepOne(q);
            return true;
        }
    }
    return false;
}

// A click on the step's target, the next step set up, the practice window
// rendered offscreen; with the next screenshot new (not decoded yet) or cached.
void BM_ClickToSceneRendered(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    const bool cached = st.range(0) == 1;
    if (!clickStepScene()) return st.SkipWithError("no click step");
    engine::FrmMain& fm = engine::frmMain()();
    const int16_t question = core::session().CurrentQuestion;
    for (auto _ : st) {
        st.PauseTiming();
        core::session().CurrentQuestion = question;
        core::session().CurrentStep = 1;
        fm.setData();
        if (!cached) core::pictureStore().clear();
        const double x = fm.Label1.formX() + fm.Label1.width() / 2, y = fm.Label1.formY() + fm.Label1.height() / 2;
        st.ResumeTiming();
        fm.mouseDown(x, y, core::LeftButton, 0);
        fm.mouseUp(x, y, core::LeftButton, 0);
        benchmark::DoNotOptimize(view::renderForm(fm));
    }
    if (core::session().CurrentStep == 1) st.SkipWithError("the click did not advance");
}
BENCHMARK(BM_ClickToSceneRendered)->Arg(0)->Arg(1)->ArgNames({"cached"})->Unit(benchmark::kMillisecond);

// Counts paint events and painted pixels of every widget.
struct PaintCounter : QObject {
    long events = 0;
    double pixels = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++events;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) pixels += double(r.width()) * r.height();
        }
        return false;
    }
};

// The program's own windows and prompts, shown for real (offscreen).
view::ViewHost* host() {
    static view::ViewHost* h = [] {
        core::setClock(nullptr);
        view::ViewHost* installed = view::ViewHost::install();
        benchsupport::guardPrompts();  // over the Qt prompts
        return installed;
    }();
    return h;
}

// Moves the pointer over a still window at 100 moves a second (3 pixels
// apart, as a hand does) and counts what gets repainted.
void pointerMoves(benchmark::State& st, core::Form& form) {
    QWidget* w = host()->windowOf(form);
    if (!w) return st.SkipWithError("the window is not shown");
    runFor(300);
    PaintCounter count;
    qApp->installEventFilter(&count);
    int moves = 0;
    for (auto _ : st) {
        for (int i = 0; i < 100; ++i, ++moves) {
            const QPoint local(20 + (moves * 3) % std::max(1, w->width() - 40), w->height() / 2 + (moves % 7));
            QWidget* target = w->childAt(local) ? w->childAt(local) : w;
            const QPoint at = target->mapFrom(w, local);
            QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
            runFor(10);
        }
    }
    qApp->removeEventFilter(&count);
    st.counters["paints_per_100_moves"] = 100.0 * count.events / std::max(1, moves);
    st.counters["kpixels_per_100_moves"] = count.pixels / 10.0 / std::max(1, moves);
}

void BM_RepaintsUnderPointerMoves_Cover(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    host();
    core::windows().showCover();
    runFor(300);
    pointerMoves(st, cover::frmFengmian()());
}
BENCHMARK(BM_RepaintsUnderPointerMoves_Cover)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_RepaintsUnderPointerMoves_Practice(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    host();
    if (!clickStepScene()) return st.SkipWithError("no practice scene");
    engine::FrmMain& fm = engine::frmMain()();
    fm.show();
    runFor(300);
    pointerMoves(st, fm);
}
BENCHMARK(BM_RepaintsUnderPointerMoves_Practice)->Iterations(2)->Unit(benchmark::kMillisecond);

// Times the process woke up (the event loop left a wait) during ms.
long wakeUps(int ms, const std::function<void()>& during = {}) {
    long n = 0;
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    auto c = QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, [&] { ++n; });
    if (during)
        during();
    else
        runFor(ms);
    QObject::disconnect(c);
    return n;
}

// The cover shown and nothing happening, for 10 s.
void BM_WakeUpsIdleCover(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    host();
    for (auto _ : st) {
        core::windows().showCover();
        runFor(500);
        st.counters["wakeups_in_10s"] = double(wakeUps(10000));
    }
}
BENCHMARK(BM_WakeUpsIdleCover)->Iterations(1)->Unit(benchmark::kMillisecond);

// A message box open over the cover for 10 s.
void BM_WakeUpsMessageBox(benchmark::State& st) {
    if (!setUpModule()) return st.SkipWithError("no sample module");
    host();
    for (auto _ : st) {
        core::windows().showCover();
        runFor(500);
        const long n = wakeUps(10000, [] {
            QTimer::singleShot(10000, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
            });
            benchsupport::AllowPrompt allow;
            core::ui().msgBox(QStringLiteral("idle"), core::MbOkOnly, QStringLiteral("bench"));
        });
        st.counters["wakeups_in_10s"] = double(n);
    }
}
BENCHMARK(BM_WakeUpsMessageBox)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

QT_BENCHMARK_MAIN(benchsupport::setUpModule);
