// Start to cover painted: the program's start form (settings, splash, its
// 100 ms wait) up to the first paint of the cover's window, against a
// minimal Qt program of the same shape: the same splash picture for 100 ms,
// then a window with the cover's background picture. Both run in this
// process on a warm application object; each iteration starts with nothing
// decoded. Offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "core/clock.h"
#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "sample_module.h"
#include "session/frm_start.h"
#include "view/form_window.h"
#include "view/view_host.h"
#include "qt_benchmark_main.h"

namespace {

// Runs the event loop until done() holds (checked at every paint) or 5 s pass;
// the milliseconds from t0, or -1.
struct PaintWatch : QObject {
    std::function<bool(QWidget*)> done;
    QEventLoop loop;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() && done(static_cast<QWidget*>(o)))
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        return false;
    }
    bool wait(int timeoutMs) {
        bool timedOut = false;
        QTimer::singleShot(timeoutMs, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        qApp->installEventFilter(this);
        loop.exec();
        qApp->removeEventFilter(this);
        return !timedOut;
    }
};


view::ViewHost* host() {
    static view::ViewHost* h = [] {
        core::setClock(nullptr);
        view::ViewHost* installed = view::ViewHost::install();
        benchsupport::guardPrompts();  // over the Qt prompts
        return installed;
    }();
    return h;
}

QImage decodeFile(const QString& path) {
    QImageReader r(path);
    r.setDecideFormatFromContent(true);
    return r.read();
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Phases of one start of the program, in ms from its beginning; -1 when the
// cover was not painted.
struct ProgramStart {
    double splashPainted = -1, coverShown = -1, coverShowTook = -1, coverPainted = -1;
    int prefetchLeft = 0;
};

// The program: the start form as main() shows it, on a copy of the module,
// nothing decoded yet.
ProgramStart startProgram() {
    ProgramStart r;
    core::unloadAllForms();
    QCoreApplication::processEvents();
    core::pictureStore().clear();
    QElapsedTimer t;
    const auto showCover = core::windows().showCover;
    core::windows().showCover = [&] {
        r.coverShown = t.nsecsElapsed() / 1e6;
        r.prefetchLeft = core::pictureStore().pendingPrefetch();
        showCover();
        r.coverShowTook = t.nsecsElapsed() / 1e6 - r.coverShown;
    };
    PaintWatch watch;
    watch.done = [&](QWidget* w) {
        core::Form* start = session::frmStart().peek();
        if (r.splashPainted < 0 && start && host()->windowOf(*start) == w->window())
            r.splashPainted = t.nsecsElapsed() / 1e6;
        cover::FrmFengmian* c = cover::frmFengmian().peek();
        if (!c || host()->windowOf(*c) != w->window()) return false;
        r.coverPainted = t.nsecsElapsed() / 1e6;
        return true;
    };
    t.start();
    session::FrmStart& start = session::frmStart()();
    if (!start.refused) {
        start.show();
        if (!watch.wait(5000)) r.coverPainted = -1;
    }
    core::windows().showCover = showCover;
    core::unloadAllForms();
    QCoreApplication::processEvents();
    return r;
}

// The minimal program: the splash, centred, for 100 ms; then a window with
// the cover's background picture. Ms to that window's first paint.
double startMinimal(const QString& data) {
    QElapsedTimer t;
    t.start();
    auto splash = std::make_unique<QLabel>(nullptr, Qt::FramelessWindowHint);
    splash->setPixmap(QPixmap::fromImage(decodeFile(data + "9l0059.rar")));
    splash->adjustSize();
    splash->move(splash->screen()->geometry().center() - splash->rect().center());
    splash->show();
    std::unique_ptr<QLabel> window;
    QTimer::singleShot(100, [&] {
        splash->hide();
        window = std::make_unique<QLabel>(nullptr, Qt::FramelessWindowHint);
        window->setPixmap(QPixmap::fromImage(decodeFile(data + "9l0050.rar")));
        window->adjustSize();
        window->show();
    });
    PaintWatch watch;
    watch.done = [&](QWidget* w) { return window && w->window() == window.get(); };
    return watch.wait(5000) ? t.nsecsElapsed() / 1e6 : -1;
}

// Starts of the program and of the minimal program in turns (so that the
// load of a shared machine falls on both alike); the time is the program's,
// the counters give medians and their ratio.
void BM_StartToCoverPaintedVsMinimalQt(benchmark::State& st) {
    if (!benchsupport::setUpModule()) return st.SkipWithError("no sample module");
    const QString data = core::config().DataDir;
    if (decodeFile(data + "9l0059.rar").isNull()) return st.SkipWithError("no splash picture");
    host();
    auto pf = std::make_shared<core::FakePlatform>();
    pf->folder = core::config().ProgramDir;
    core::setPlatform(pf);
    core::setRegistryStore(std::make_shared<core::MemoryRegistryStore>());
    std::vector<double> program, minimal, ratio, splash, shown, took;
    int prefetchLeft = 0;
    for (auto _ : st) {
        const ProgramStart r = startProgram();
        if (r.coverPainted < 0) return st.SkipWithError("the cover was not painted");
        const double m = startMinimal(data);
        if (m < 0) return st.SkipWithError("the minimal window was not painted");
        st.SetIterationTime(r.coverPainted / 1e3);
        program.push_back(r.coverPainted);
        minimal.push_back(m);
        ratio.push_back(r.coverPainted / m);
        splash.push_back(r.splashPainted);
        shown.push_back(r.coverShown);
        took.push_back(r.coverShowTook);
        prefetchLeft += r.prefetchLeft;
    }
    st.counters["program_median_ms"] = median(program);
    st.counters["minimal_median_ms"] = median(minimal);
    st.counters["ratio"] = median(ratio);  // of the pairs
    st.counters["splash_painted_ms"] = median(splash);
    st.counters["cover_shown_at_ms"] = median(shown);
    st.counters["cover_load_ms"] = median(took);
    st.counters["prefetch_left_at_show"] = prefetchLeft;
    core::unloadAllForms();
    core::setPlatform(nullptr);
    core::setRegistryStore(nullptr);
}
BENCHMARK(BM_StartToCoverPaintedVsMinimalQt)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

QT_BENCHMARK_MAIN(benchsupport::setUpModule);
