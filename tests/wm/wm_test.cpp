// The real program under an X server of its own, with and without a window
// manager: what the candidate sees of its windows when the window manager
// moves, stacks, minimises and resizes them. Every position and size is read
// from the X server, never from the program.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "wm/program_probe.h"
#include "wm/x_session.h"


namespace {
std::string str(QPoint p) { return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")"; }
std::string str(QSize s) { return std::to_string(s.width()) + "x" + std::to_string(s.height()); }
std::string str(QRect r) { return str(r.topLeft()) + " " + str(r.size()); }
} // namespace

// Readable values in the failures.
void PrintTo(const QSize& s, std::ostream* os) { *os << str(s); }
void PrintTo(const QPoint& p, std::ostream* os) { *os << str(p); }
void PrintTo(const QRect& r, std::ostream* os) { *os << str(r); }

namespace wmtest {
void PrintTo(Wm wm, std::ostream* os) { *os << wmName(wm); }
} // namespace wmtest

namespace {

using namespace std::chrono_literals;

// How long the window manager and the program get to carry out a change
// (they take a few tens of milliseconds here); a failing check waits that
// long.
constexpr std::chrono::milliseconds kSettle = 1500ms;
using wmtest::eventually;
using wmtest::FormInfo;
using wmtest::Wm;
using wmtest::XSession;
using wmtest::XWindow;

// The point just past the bottom-right corner.
QPoint farCorner(QRect r) { return r.topLeft() + QPoint(r.width(), r.height()); }

std::string wmParamName(const ::testing::TestParamInfo<Wm>& i) {
    switch (i.param) {
    case Wm::None: return "NoWindowManager";
    case Wm::Openbox: return "Openbox";
    case Wm::Metacity: return "Metacity";
    case Wm::Xfwm4: return "Xfwm4";
    case Wm::Mutter: return "Mutter";
    case Wm::Kwin: return "Kwin";
    }
    return "Unknown";
}

// A form on screen: the program's view of it and the server's.
struct Seen {
    FormInfo form;
    XWindow x;
};

class WindowManagerTest : public ::testing::Test {
protected:
    // With WM_TEST_SCREENSHOTS naming a folder, a failed test leaves a
    // picture of the screen there as it was at the test's end.
    void TearDown() override {
        const QString folder = qEnvironmentVariable("WM_TEST_SCREENSHOTS");
        if (folder.isEmpty() || !HasFailure()) return;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString name = QString("%1.%2.png").arg(info->test_suite_name(), info->name()).replace('/', '_');
        x.screenshot(folder + "/" + name);
    }

    // The server (and window manager) and the program on its cover; skips
    // where a program the test needs is not installed.
    void launch(const XSession::Options& o) {
        if (o.wm == Wm::Kwin && !wmtest::kwinCasesEnabled())
            GTEST_SKIP() << "kwin cases run with WM_TEST_KWIN=1 (and the kwin-x11 package)";
        const QString missing = wmtest::missingTools(o.wm);
        if (!missing.isEmpty()) {
            if (wmtest::missingToolsFail())
                FAIL() << "not installed, and CI=true runs every case (scripts/install-deps.sh installs them): "
                       << missing.toStdString();
            wmtest::noteSkipped(missing);
            GTEST_SKIP() << "not installed (scripts/install-deps.sh installs them): " << missing.toStdString();
        }
        QString why;
        ASSERT_TRUE(x.start(o, &why)) << why.toStdString();
        ASSERT_TRUE(p.start(x, &why)) << why.toStdString();
    }

    void run(const QString& cmd, int timeoutMs = 30000) {
        QString error;
        ASSERT_TRUE(p.command(cmd, nullptr, &error, timeoutMs)) << cmd.toStdString() << ": " << error.toStdString();
    }

    // The forms on screen, with the server's geometry of their windows.
    std::map<QString, Seen> look() {
        std::map<QString, Seen> out;
        for (const auto& [name, f] : p.forms())
            if (const auto w = x.window(f.xid)) out[name] = Seen{f, *w};
        return out;
    }
    std::optional<Seen> seen(const QString& form) {
        auto all = look();
        const auto it = all.find(form);
        return it == all.end() ? std::nullopt : std::optional<Seen>(it->second);
    }
    std::optional<QRect> rectOf(const QString& form) {
        const auto s = seen(form);
        return s ? std::optional<QRect>(s->x.rect) : std::nullopt;
    }

    // Whether `under`, as the pointer query names it, is the client window
    // `xid` or the window manager's frame around it.
    bool isWindowOf(quint64 under, quint64 xid) const { return under && (under == xid || under == x.topLevelOf(xid)); }

    // Which of the program's windows `under` is, for the messages.
    std::string whose(quint64 under) {
        if (!under) return "nothing";
        static const std::map<QString, std::string> names = {{"FrmMain", "the practice window"},
                                                             {"FrmTm", "the question window"},
                                                             {"FrmChengji", "the score report"},
                                                             {"FrmYanShi", "the demonstration window"}};
        for (const auto& [name, s] : look())
            if (isWindowOf(under, s.form.xid))
                return names.count(name) ? names.at(name) : "the window of " + name.toStdString();
        return "window " + std::to_string(under) + ", none of the program's";
    }

    // The question window takes the mouse at its centre: the window under
    // the pointer there is the question window's. `where` gets what is
    // there instead.
    bool questionWindowReachable(std::string* where) {
        const auto tm = seen("FrmTm");
        if (!tm || !tm->x.viewable) {
            *where = "the question window is not on screen";
            return false;
        }
        const QPoint c = tm->x.rect.center();
        const quint64 under = x.windowAt(c.x(), c.y());
        if (isWindowOf(under, tm->form.xid)) return true;
        *where = "at the question window's centre " + str(c) + " the pointer meets " + whose(under);
        return false;
    }

    // The question window reachable as it is, and again after a click into
    // the practice window at `into`.
    void expectReachableAlsoAfterAClick(const std::string& when, QPoint into) {
        for (const bool clicked : {false, true}) {
            if (clicked) x.click(into.x(), into.y());
            const std::string phase = when + (clicked ? ", after a click into the practice window at " + str(into) : "");
            std::string where;
            EXPECT_TRUE(eventually([&] { return questionWindowReachable(&where); }, kSettle)) << phase << ": " << where;
        }
    }

    XSession x;
    wmtest::ProgramProbe p;  // after the server: it ends first
};

#define LAUNCH(...)                                  \
    launch(__VA_ARGS__);                             \
    if (IsSkipped() || HasFatalFailure()) return

// ---------------------------------------------------------------- docking

// The question window docked at the practice window's bottom-right corner.
bool docked(QRect practice, QRect question) {
    const QPoint d = farCorner(practice) - farCorner(question);
    return std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1;
}
QPoint dockedAt(QRect practice, QSize question) {
    return farCorner(practice) - QPoint(question.width(), question.height());
}

class Docking : public WindowManagerTest, public ::testing::WithParamInterface<Wm> {
protected:
    // Both session windows; false when one is not on screen.
    bool pair(QRect* practice, QRect* question) {
        const auto m = rectOf("FrmMain"), t = rectOf("FrmTm");
        if (!m || !t) return false;
        *practice = *m;
        *question = *t;
        return true;
    }

    // Drags the practice window by its title bar (LblMove: pixels 96..729
    // of 0..25) by `by`; asserts that the window went there.
    void dragPractice(QPoint by, QRect* now) {
        QRect m, t;
        ASSERT_TRUE(pair(&m, &t)) << kNoPair;
        const QPoint grip = m.topLeft() + QPoint(400, 12);
        x.drag(grip, grip + by);
        const QRect want = m.translated(by);
        ASSERT_TRUE(eventually([&] { return rectOf("FrmMain") == want; }, kSettle))
            << "the practice window dragged by its title bar from " << str(m.topLeft()) << " by " << str(by)
            << " stands at " << str(rectOf("FrmMain").value_or(QRect())) << ", not at " << str(want.topLeft());
        *now = want;
    }

    // Expects the question window docked at the practice window within a
    // while.
    void expectDocked(const std::string& after) {
        QRect m, t;
        const bool ok = eventually([&] { return pair(&m, &t) && docked(m, t); }, kSettle);
        EXPECT_TRUE(ok) << "the question window is at " << str(t.topLeft()) << " " << after
                        << "; docked at the practice window at " << str(m.topLeft()) << " it would be at "
                        << str(dockedAt(m, t.size()));
    }

    static constexpr const char* kNoPair = "the practice and question windows are not both on screen";
};

TEST_P(Docking, TheQuestionWindowFollowsTheTitleBarDragsOfThePracticeWindow) {
    LAUNCH({1024, 768, GetParam()});
    run("practice 0");
    QRect m, t;
    ASSERT_TRUE(pair(&m, &t)) << kNoPair;
    ASSERT_EQ(m, QRect(112, 84, 800, 600)) << "the practice window is 800x600 in the middle of a 1024x768 screen";
    ASSERT_TRUE(docked(m, t)) << "at the start the question window stands at " << str(t);

    for (const QPoint by : {QPoint(-100, -70), QPoint(60, 40)}) {
        QRect now;
        dragPractice(by, &now);
        if (HasFatalFailure()) return;
        expectDocked("after the practice window was dragged by " + str(by) + " to " + str(now.topLeft()));
    }

    // Taken away by its own title strip, the question window comes back
    // with a right-click on the practice window's title bar.
    ASSERT_TRUE(pair(&m, &t)) << kNoPair;
    const QPoint strip = t.topLeft() + QPoint(100, 12);
    x.drag(strip, strip + QPoint(-250, -150));
    EXPECT_TRUE(eventually([&] { return rectOf("FrmTm") && !docked(m, *rectOf("FrmTm")); }, kSettle))
        << "the question window dragged by its title strip stayed docked at " << str(t.topLeft());
    x.click(m.left() + 400, m.top() + 12, 3);
    expectDocked("after a right-click on the title bar of the practice window at " + str(m.topLeft()));
}

TEST_P(Docking, TheDemonstrationOpensAndHandsBackWhereThePracticeWindowStands) {
    LAUNCH({1024, 768, GetParam()});
    run("practice 0");
    QRect stand;
    dragPractice(QPoint(-100, -70), &stand);
    if (HasFatalFailure()) return;

    run("demo");
    const auto demo = rectOf("FrmYanShi");
    ASSERT_TRUE(demo) << "the demonstration window is not on screen";
    EXPECT_TRUE(demo->topLeft() == stand.topLeft())
        << "the demonstration opened at " << str(demo->topLeft()) << ", the practice window stood at "
        << str(stand.topLeft());

    run("demoend 120", 150000);
    EXPECT_TRUE(eventually([&] { return rectOf("FrmMain") == stand; }, kSettle))
        << "after the demonstration the practice window is at " << str(rectOf("FrmMain").value_or(QRect()))
        << "; it stood at " << str(stand) << " before";
    expectDocked("after the demonstration");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, Docking, ::testing::Values(Wm::None, Wm::Openbox), wmParamName);

// ---------------------------------------------------------------- stacking on small screens

class SmallScreen : public WindowManagerTest, public ::testing::WithParamInterface<QSize> {};

// On a screen too low for the 800x600 window the practice window is
// maximised; the question window stays above it in every kind of session,
// also after the candidate clicks into the practice window, restores the
// question window from its minimise bar, closes the input-method help or
// watches a demonstration.
TEST_P(SmallScreen, TheQuestionWindowStaysAboveTheMaximisedPracticeWindow) {
    const QSize screen = GetParam();
    LAUNCH({screen.width(), screen.height(), Wm::Openbox});
    const QPoint intoPractice(screen.width() / 4, screen.height() / 2);

    auto check = [&](const std::string& when) {
        ASSERT_TRUE(rectOf("FrmMain")) << when << ": the practice window is not on screen";
        expectReachableAlsoAfterAClick(when, intoPractice);
    };

    run("practice 0");
    check("in a unit's practice");
    if (HasFatalFailure()) return;

    // The question window's minimise button (pixels (268, 12) of it) makes
    // it a bar at the practice window's bottom-left corner; a click on the
    // bar restores it.
    const auto tm = rectOf("FrmTm");
    ASSERT_TRUE(tm) << "the question window is not on screen";
    x.click(tm->left() + 268, tm->top() + 12);
    std::optional<QRect> bar;
    ASSERT_TRUE(eventually([&] { return (bar = rectOf("FrmTm")) && bar->height() < tm->height(); }, kSettle))
        << "the question window's minimise button left it at " << str(bar.value_or(QRect()));
    x.click(bar->center().x(), bar->center().y());
    ASSERT_TRUE(eventually([&] { return rectOf("FrmTm") == tm; }, kSettle))
        << "the minimise bar restored the question window to " << str(rectOf("FrmTm").value_or(QRect()));
    check("after the minimise bar was restored");
    if (HasFatalFailure()) return;

    // The input-method help from the question window's "?" (pixels
    // (313, 222) of it), closed as the desktop closes a window.
    x.click(tm->left() + 313, tm->top() + 222);
    std::optional<Seen> help;
    ASSERT_TRUE(eventually([&] { return (help = seen("FrmIME")) && help->x.viewable; }, kSettle))
        << "the input-method help did not open";
    x.close(help->form.xid);
    ASSERT_TRUE(eventually([&] { return !seen("FrmIME"); }, kSettle)) << "the input-method help did not close";
    check("after the input-method help closed");
    if (HasFatalFailure()) return;

    run("demo");
    run("demoend 120", 150000);
    check("after a demonstration");
    if (HasFatalFailure()) return;
    run("endpractice");
    run("exam 0");
    check("in the mock exam");
    if (HasFatalFailure()) return;
    run("handin");
    run("review");
    check("in the review after the score");
}

INSTANTIATE_TEST_SUITE_P(Screens, SmallScreen, ::testing::Values(QSize(800, 600), QSize(1024, 600)),
                         [](const ::testing::TestParamInfo<QSize>& i) { return "Screen" + str(i.param); });

TEST_F(WindowManagerTest, TheQuestionWindowLiesAboveABottomPanel) {
    LAUNCH({1024, 600, Wm::Openbox, 30});
    run("practice 0");
    for (const bool clicked : {false, true}) {
        if (clicked) x.click(256, 300);
        const std::string phase = clicked ? "after a click into the practice window" : "at the practice's start";
        std::optional<QRect> t;
        EXPECT_TRUE(eventually([&] { return (t = rectOf("FrmTm")) && t->top() + t->height() <= 570; }, kSettle))
            << phase << ": the question window " << str(t.value_or(QRect())) << " reaches down to y "
            << (t ? t->top() + t->height() : -1) << ", into the 30-pixel panel below y 570";
        std::string where;
        EXPECT_TRUE(eventually([&] { return questionWindowReachable(&where); }, kSettle)) << phase << ": " << where;
    }
}

// ---------------------------------------------------------------- the score report

class ScoreReport : public WindowManagerTest, public ::testing::WithParamInterface<Wm> {};

TEST_P(ScoreReport, TheMaximisedReportFillsALowScreen) {
    LAUNCH({1024, 600, GetParam()});
    run("exam 0");
    run("handin");
    std::optional<QRect> r;
    EXPECT_TRUE(eventually([&] { return (r = rectOf("FrmChengji")) == QRect(0, 0, 1024, 600); }, kSettle))
        << "the maximised score report covers " << str(r.value_or(QRect())) << " of the 1024x600 screen";
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, ScoreReport, ::testing::Values(Wm::None, Wm::Xfwm4), wmParamName);

// ---------------------------------------------------------------- modal boxes minimised

struct BoxCase {
    const char* name;
    const char* what;  // for the messages
    std::vector<const char*> open;
    const char* form;  // nullptr: a message box
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.what; }

class ModalBox : public WindowManagerTest, public ::testing::WithParamInterface<BoxCase> {
protected:
    // The box's X window as the program has it now (0: none).
    quint64 boxWindow() {
        const BoxCase& c = GetParam();
        if (c.form) {
            const auto f = p.forms();
            const auto it = f.find(c.form);
            return it == f.end() ? 0 : it->second.xid;
        }
        const auto boxes = p.messageBoxes();
        return boxes.empty() ? 0 : boxes.back();
    }
    bool boxViewable() {
        const quint64 id = boxWindow();
        const auto w = id ? x.window(id) : std::nullopt;
        return w && w->viewable;
    }
};

// The program waits for the box's answer: minimised by the window manager,
// it comes back at once, or nothing of the program could be used.
TEST_P(ModalBox, ComesBackAtOnceWhenTheWindowManagerMinimisesIt) {
    const BoxCase& c = GetParam();
    LAUNCH({1024, 768, Wm::Openbox});
    for (const char* cmd : c.open) run(cmd);
    const quint64 id = boxWindow();
    ASSERT_NE(id, 0u) << c.what << " is not open";
    ASSERT_TRUE(boxViewable()) << c.what << " is not on screen";

    wmtest::XWatch watch(x, id);
    x.minimise(id);
    QElapsedTimer t;
    t.start();
    // Off screen first: the window manager takes its time.
    ASSERT_TRUE(eventually([&] { return watch.unmapped(); }, 2s)) << "the window manager did not minimise " << c.what;
    const bool back = eventually([&] { return boxViewable(); }, kSettle);
    EXPECT_TRUE(back) << c.what << " minimised by the window manager is still off screen after " << t.elapsed()
                      << " ms";
    if (back) {
        EXPECT_TRUE(!eventually([&] { return !boxViewable(); }, 500ms))
            << c.what << " came back and went off screen again";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ModalBox,
    ::testing::Values(BoxCase{"AboutBox", "the about box", {"about"}, "FrmAbout"},
                      BoxCase{"CloseQuestion", "the cover's close question", {"quitbox"}, nullptr},
                      BoxCase{"HandInConfirmation", "the hand-in confirmation (重要提示)", {"exam 0", "handinbox"}, "FrmEnd1"},
                      BoxCase{"ViewAnswerWarning", "the view-answer warning (操作提示)", {"exam 0", "viewanswer"}, "FrmCZTS"}),
    [](const ::testing::TestParamInfo<BoxCase>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------- resizing borderless windows

struct ResizeCase {
    const char* name;
    const char* form;
    const char* what;
    QSize size;  // as the program lays the window out
    bool wmctrl;
};
void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class Resize : public WindowManagerTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(Resize, TheBorderlessWindowKeepsItsSize) {
    const ResizeCase& c = GetParam();
    LAUNCH({1024, 768, Wm::Openbox});
    run("practice 0");
    const auto before = seen(c.form);
    ASSERT_TRUE(before) << c.what << " is not on screen";
    ASSERT_EQ(before->x.rect.size(), c.size) << c.what << " at the start";

    wmtest::XWatch watch(x, before->form.xid);
    if (c.wmctrl)
        x.resizeByWmctrl(before->form.xid, 900, 700);
    else
        x.resizeByXdotool(before->form.xid, 900, 700);
    // The window manager resizes the window and the program sets its size
    // again, or the window manager keeps to the size the program fixed in
    // the window's size hints.
    const bool resized = eventually([&] { return watch.resized(c.size).has_value(); }, 1s);
    if (!resized) {
        const auto hints = x.sizeHints(before->form.xid);
        ASSERT_TRUE(hints && hints->first == c.size && hints->second == c.size)
            << "the window manager did not resize " << c.what << ", and its size hints do not fix it at " << str(c.size)
            << " (min " << str(hints.value_or(std::pair<QSize, QSize>()).first) << ", max "
            << str(hints.value_or(std::pair<QSize, QSize>()).second) << ")";
    }
    std::optional<QRect> r;
    const auto keeps = [&] { return (r = rectOf(c.form)) && r->size() == c.size; };
    EXPECT_TRUE(eventually(keeps, kSettle) && !eventually([&] { return !keeps(); }, 300ms))
        << c.what << ", resized to 900x700 by the window manager (" << (c.wmctrl ? "wmctrl" : "xdotool") << "), is "
        << str(r.value_or(QRect()).size()) << " instead of " << str(c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Resize,
    ::testing::Values(ResizeCase{"QuestionWindowByXdotool", "FrmTm", "the question window", {332, 242}, false},
                      ResizeCase{"QuestionWindowByWmctrl", "FrmTm", "the question window", {332, 242}, true},
                      ResizeCase{"PracticeWindowByXdotool", "FrmMain", "the practice window", {800, 600}, false},
                      ResizeCase{"PracticeWindowByWmctrl", "FrmMain", "the practice window", {800, 600}, true}),
    [](const ::testing::TestParamInfo<ResizeCase>& i) { return std::string(i.param.name); });

// ---------------------------------------------------------------- a tap is not a drag

class Tap : public Docking {};

// A touchpad's tap (press and release at once) on the cover's body or on
// the practice window's title bar, then a move of the pointer, moves
// nothing; a placement by the window manager and a real drag still re-dock
// the question window.
TEST_P(Tap, ATapMovesNoWindowAndTheQuestionWindowFollowsMovesThatAreMade) {
    // Three taps at `grip` (a little further right each time), each followed
    // by a move of the pointer; `after` checks more after each.
    const auto taps = [&](const char* form, QPoint grip, const std::string& where, const std::function<void(int)>& after) {
        const auto before = rectOf(form);
        ASSERT_TRUE(before) << where << " is not on screen";
        for (int i = 0; i < 3; ++i) {
            const QPoint at = before->topLeft() + grip + QPoint(10 * i, 0);
            x.tap(at.x(), at.y());
            x.pointerTo(at.x() + 24, at.y() + 18);
            EXPECT_FALSE(eventually([&] { return rectOf(form) != before; }, 400ms))
                << "tap " << i + 1 << " on " << where << " at " << str(at) << " and a move of the pointer moved it from "
                << str(before->topLeft()) << " to " << str(rectOf(form).value_or(QRect()).topLeft());
            if (after) after(i);
        }
    };

    LAUNCH({1024, 768, GetParam()});
    taps("FrmFengmian", QPoint(400, 400), "the cover's body", nullptr);

    run("practice 0");
    QRect m, t;
    ASSERT_TRUE(pair(&m, &t)) << kNoPair;
    ASSERT_TRUE(docked(m, t)) << "at the start the question window stands at " << str(t);
    taps("FrmMain", QPoint(400, 12), "the practice window's title bar", [&](int i) {
        expectDocked("after tap " + std::to_string(i + 1) + " on the practice window's title bar");
    });
    if (HasFailure()) return;

    // The window manager places the practice window; a right-click on its
    // title bar docks the question window there.
    const auto main = seen("FrmMain");
    ASSERT_TRUE(main) << kNoPair;
    x.moveWindow(main->form.xid, 60, 50);
    QRect placed;
    ASSERT_TRUE(eventually([&] { return pair(&placed, &t) && placed.topLeft() != m.topLeft(); }, kSettle))
        << "the window manager did not move the practice window";
    x.click(placed.left() + 400, placed.top() + 12, 3);
    expectDocked("after the window manager placed the practice window at " + str(placed.topLeft()) +
                 " and a right-click on its title bar");

    QRect now;
    dragPractice(QPoint(60, 40), &now);
    if (HasFatalFailure()) return;
    expectDocked("after the practice window was dragged by its title bar to " + str(now.topLeft()));

    // A window manager's own move right after the drag ends is the drag's
    // end too.
    x.moveWindow(main->form.xid, now.left() + 30, now.top() + 20);
    ASSERT_TRUE(eventually([&] { return pair(&placed, &t) && placed.topLeft() != now.topLeft(); }, kSettle))
        << "the window manager did not move the practice window";
    expectDocked("after the window manager moved the practice window to " + str(placed.topLeft()) +
                 " right after a drag");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, Tap, ::testing::Values(Wm::Openbox, Wm::Metacity, Wm::Xfwm4, Wm::Mutter, Wm::Kwin),
                         wmParamName);

// ---------------------------------------------------------------- the window manager's restore

struct RestoreCase {
    Wm wm;
    QSize screen;
    bool key;            // the window manager's un-maximise key (Alt+F5), else wmctrl
    bool cover = false;  // the cover, else the practice window
};
void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << wmtest::wmName(c.wm) << " " << str(c.screen) << (c.cover ? " cover" : "");
}

class Restore : public WindowManagerTest, public ::testing::WithParamInterface<RestoreCase> {};

// On a low screen the practice window (and at 800x600 the cover) is
// maximised on the program's behalf: a restore or a resize asked of the
// window manager leaves it covering the screen, and the question window
// docked above it.
TEST_P(Restore, TheWindowKeepsCoveringALowScreen) {
    const RestoreCase& c = GetParam();
    LAUNCH({c.screen.width(), c.screen.height(), c.wm});
    const char* form = c.cover ? "FrmFengmian" : "FrmMain";
    const std::string what = c.cover ? "the cover" : "the practice window";
    if (!c.cover) run("practice 0");
    const QRect full(QPoint(0, 0), c.screen);
    const auto main = seen(form);
    ASSERT_TRUE(main) << what << " is not on screen";
    ASSERT_EQ(main->x.rect, full) << what << " at the start";

    const auto expectCovering = [&](const std::string& after) {
        std::optional<QRect> r;
        EXPECT_TRUE(eventually([&] { return (r = rectOf(form)) == full; }, kSettle) &&
                    !eventually([&] { return rectOf(form) != full; }, 300ms))
            << after << ", " << what << " covers " << str(r.value_or(QRect())) << " of the " << str(c.screen)
            << " screen";
        if (c.cover) return;
        std::optional<QRect> t;
        EXPECT_TRUE(eventually([&] { return (t = rectOf("FrmTm")) && docked(full, *t); }, kSettle))
            << after << ", the question window stands at " << str(t.value_or(QRect())) << ", not docked";
        expectReachableAlsoAfterAClick(after, QPoint(c.screen.width() / 4, c.screen.height() / 2));
    };

    // Only a window the window manager holds maximised can be restored.
    ASSERT_TRUE(eventually([&] { return x.netWmState(main->form.xid).contains("_NET_WM_STATE_MAXIMIZED_VERT"); }, kSettle))
        << "the window manager does not hold " << what << " maximised";
    wmtest::XWatch watch(x, main->form.xid);
    if (c.key) {
        // Into the window first, so that the key goes to it: the practice
        // window's document, the cover's empty middle.
        x.click(c.screen.width() / 4, c.screen.height() / 2);
        x.key("alt+F5");
    } else {
        x.unmaximise(main->form.xid);
    }
    ASSERT_TRUE(eventually([&] { return watch.propertyChanged("_NET_WM_STATE") || watch.resized(c.screen); }, 2s))
        << "the window manager did not restore " << what;
    expectCovering(std::string("after the window manager's restore (") + (c.key ? "Alt+F5" : "wmctrl") + ")");

    x.resizeByXdotool(main->form.xid, 600, 400);
    expectCovering("after a resize to 600x400 (xdotool)");

    if (c.cover) return;
    run("next");
    expectCovering("after 下一题");
}

INSTANTIATE_TEST_SUITE_P(
    WindowManagers, Restore,
    ::testing::Values(RestoreCase{Wm::Openbox, {800, 600}, false}, RestoreCase{Wm::Openbox, {1024, 600}, false},
                      RestoreCase{Wm::Openbox, {800, 600}, false, true}, RestoreCase{Wm::Metacity, {800, 600}, true},
                      RestoreCase{Wm::Metacity, {800, 600}, true, true}, RestoreCase{Wm::Xfwm4, {800, 600}, false},
                      RestoreCase{Wm::Mutter, {800, 600}, false}, RestoreCase{Wm::Kwin, {800, 600}, false}),
    [](const ::testing::TestParamInfo<RestoreCase>& i) {
        return wmParamName({i.param.wm, i.index}) + "Screen" + str(i.param.screen) + (i.param.cover ? "Cover" : "");
    });

// ---------------------------------------------------------------- the question window and the taskbar

class QuestionWindow : public Docking {};

// The question window has no taskbar button; minimised by the window
// manager it is back at once, docked, and the program does not hold it
// minimised.
TEST_P(QuestionWindow, HasNoTaskbarButtonAndComesBackWhenMinimised) {
    LAUNCH({1024, 768, GetParam()});
    run("practice 0");
    const auto tm = seen("FrmTm");
    ASSERT_TRUE(tm) << "the question window is not on screen";
    QStringList state;
    EXPECT_TRUE(eventually([&] { return (state = x.netWmState(tm->form.xid)).contains("_NET_WM_STATE_SKIP_TASKBAR"); }, kSettle))
        << "the question window's _NET_WM_STATE is " << state.join(", ").toStdString()
        << ", without _NET_WM_STATE_SKIP_TASKBAR: taskbars show a button for it";

    // Mutter minimises a utility window only with the window it belongs to.
    if (GetParam() == Wm::Mutter) return;
    wmtest::XWatch watch(x, tm->form.xid);
    x.minimise(tm->form.xid);
    ASSERT_TRUE(eventually([&] { return watch.unmapped(); }, 2s)) << "the window manager did not minimise the question window";
    std::optional<Seen> back;
    EXPECT_TRUE(eventually([&] { return (back = seen("FrmTm")) && back->x.viewable && back->form.state == 0; }, kSettle))
        << "minimised by the window manager, the question window is "
        << (back && back->x.viewable ? "on screen" : "off screen") << ", and the program has it "
        << (back && back->form.state == 1 ? "minimised" : "not minimised");
    expectDocked("after the window manager minimised the question window");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, QuestionWindow,
                         ::testing::Values(Wm::Openbox, Wm::Metacity, Wm::Xfwm4, Wm::Mutter, Wm::Kwin), wmParamName);

// ---------------------------------------------------------------- the active window

class ActiveWindow : public WindowManagerTest, public ::testing::WithParamInterface<Wm> {
protected:
    void expectPracticeActive(const std::string& when) {
        quint64 active = 0;
        std::optional<Seen> main;
        EXPECT_TRUE(eventually([&] { return (main = seen("FrmMain")) && (active = x.activeWindow()) == main->form.xid; }, kSettle))
            << when << ": the active window is " << whose(active) << ", not the practice window";
    }
};

// After every question load the simulated window is the active one: the
// candidate's first keys go to it.
TEST_P(ActiveWindow, ThePracticeWindowIsActiveAfterEveryQuestionLoad) {
    LAUNCH({1024, 768, GetParam()});
    run("practice 0");
    expectPracticeActive("at the unit's start");
    run("next");
    expectPracticeActive("after 下一题");
    run("next");
    expectPracticeActive("after 下一题 again");
    run("prev");
    expectPracticeActive("after 上一题");
    run("endpractice");
    run("exam 0");
    expectPracticeActive("at the exam's start");
    run("next");
    expectPracticeActive("after 下一题 in the exam");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, ActiveWindow,
                         ::testing::Values(Wm::Openbox, Wm::Metacity, Wm::Xfwm4, Wm::Mutter, Wm::Kwin), wmParamName);

// ---------------------------------------------------------------- the score page

struct PageCase {
    Wm wm;
    int panel;
};
void PrintTo(const PageCase& c, std::ostream* os) { *os << wmtest::wmName(c.wm) << " panel " << c.panel; }

class ScorePage : public WindowManagerTest, public ::testing::WithParamInterface<PageCase> {};

// The 800x600 score page stands in the middle of the maximised report: its
// blue heading band runs from x 112 to 911 on a 1024-wide screen.
TEST_P(ScorePage, IsCentredOnALowScreen) {
    const PageCase& c = GetParam();
    LAUNCH({1024, 600, c.wm, c.panel});
    run("exam 0");
    run("handin");
    const auto isBand = [](uint32_t p) {
        const int r = int(p >> 16 & 0xff), b = int(p & 0xff);
        return b > 120 && b > r + 50;
    };
    int left = -1, right = -1;
    const bool centred = eventually(
        [&] {
            const std::vector<uint32_t> row = x.screenRow(20);
            left = right = -1;
            for (int i = 0; i < int(row.size()); ++i)
                if (isBand(row[size_t(i)])) {
                    if (left < 0) left = i;
                    right = i;
                }
            return std::abs(left - 112) <= 1 && std::abs(right - 911) <= 1;
        },
        kSettle);
    EXPECT_TRUE(centred) << "the score page's heading runs from x " << left << " to " << right
                         << " of the 1024-wide screen; centred it runs from 112 to 911";
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, ScorePage,
                         ::testing::Values(PageCase{Wm::None, 0}, PageCase{Wm::None, 30}, PageCase{Wm::Metacity, 0},
                                           PageCase{Wm::Openbox, 30}, PageCase{Wm::Xfwm4, 30}),
                         [](const ::testing::TestParamInfo<PageCase>& i) {
                             return wmParamName({i.param.wm, i.index}) + (i.param.panel ? "WithPanel" : "");
                         });

} // namespace
