// Linked into a copy of the program: reads commands from standard input,
// one a line, carries them out as the candidate or the program's own calls
// would, and answers on standard output with the command's lines and a last
// line "ok" or "error <what>". Real input (clicks, drags, minimising,
// resizing) comes from outside, through the X server.
//
//   ready              the cover is on screen
//   practice U         unit U's practice started; its windows on screen
//   exam P             paper P's mock exam started, logged in as the login page offers; its windows on screen
//   handin             the hand-in button and both confirmations; the score report on screen
//   review             the report's review of the wrong questions; its windows on screen
//   endpractice        the question window's end button; the cover on screen
//   next / prev        the question window's 下一题 / 上一题 button; the other question loaded
//   demo               the question window's demonstration button; the demonstration on screen
//   demoend [S]        waits (at most S seconds, 120) until the demonstration has handed back
//   about              the cover's about line: the about box open
//   quitbox            the cover's close button: its question open
//   handinbox          the hand-in button: its first confirmation (重要提示) open
//   viewanswer         the view-answer button: its warning (操作提示) open
//   windows            a line per window on screen:
//                        form NAME XID LEFT TOP WIDTH HEIGHT STATE TOPMOST  (model, pixels)
//                        box XID TITLE                                      (message box)
//   quit               ends the program
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

#include "core/forms.h"
#include "core/state.h"
#include "cover/frm_about.h"
#include "cover/frm_fengmian.h"
#include "demo/frm_yanshi.h"
#include "engine/frm_main.h"
#include "session/frm_chengji.h"
#include "session/frm_end.h"
#include "session/frm_logon.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/window_click.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

void say(const QString& line) {
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fflush(stdout);
}

view::FormWindow* windowOf(const core::Form* f) {
    view::ViewHost* host = view::ViewHost::instance();
    return host && f ? host->windowOf(*f) : nullptr;
}

// The form is loaded, visible, and its window shown and exposed.
template <class Slot>
bool onScreen(Slot& slot) {
    core::Form* f = slot.peek();
    if (!f || !f->visible()) return false;
    view::FormWindow* w = windowOf(f);
    return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
}

// The visible message box on top, if any.
QMessageBox* openBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

using testsupport::clickThroughWindow;

int px(double twips) { return int(std::lround(twips / 15)); }

// One step of a command: an action, then a condition waited for.
struct Step {
    std::function<void()> act;
    std::function<bool()> until;
    int timeoutMs = 20000;
    QString what;  // what did not happen, for the error line
};

Step waitFor(std::function<bool()> until, QString what, int timeoutMs = 20000) {
    return Step{{}, std::move(until), timeoutMs, std::move(what)};
}
Step act(std::function<void()> a) { return Step{std::move(a), [] { return true; }, 0, {}}; }
// A pause, for the windows and the window manager to settle.
Step settle(int ms) {
    auto start = std::make_shared<QElapsedTimer>();
    return Step{[start] { start->start(); }, [start, ms] { return start->isValid() && start->elapsed() >= ms; },
                ms + 1000, "settling"};
}

// The practice and question windows on screen, the question loaded and the
// buttons of the run mode set.
bool sessionOnScreen() {
    if (!onScreen(engine::frmMain()) || !onScreen(session::frmTm())) return false;
    session::FrmTm& tm = *session::frmTm().peek();
    return !tm.TimKsModel.enabled() && !tm.TimerREDO.enabled();
}

// Clicks a control of a loaded form once it is shown.
template <class Slot, class Get>
void clickWhenShown(std::deque<Step>& s, Slot& slot, Get get, const QString& what) {
    auto control = [&slot, get]() -> core::Control* {
        auto* f = slot.peek();
        return f ? &get(*f) : nullptr;
    };
    s.push_back(waitFor(
        [control] {
            core::Control* c = control();
            return c && c->shown() && c->enabled();
        },
        what + " is not shown"));
    s.push_back(act([control] {
        if (core::Control* c = control()) clickThroughWindow(*c);
    }));
}

class Driver : public QObject {
public:
    Driver() : QObject(qApp), in_(STDIN_FILENO, QSocketNotifier::Read) {
        ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
        connect(&in_, &QSocketNotifier::activated, this, [this] { readInput(); });
        connect(&poll_, &QTimer::timeout, this, [this] { advance(); });
        poll_.setInterval(20);
    }

private:
    void readInput() {
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n > 0) {
                buf_.append(chunk, n);
                continue;
            }
            if (n == 0) {
                // The other end is gone: so is the program.
                in_.setEnabled(false);
                QCoreApplication::exit(0);
            } else if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (qsizetype nl; (nl = buf_.indexOf('\n')) >= 0;) {
            lines_.push_back(QString::fromUtf8(buf_.left(nl)).trimmed());
            buf_.remove(0, nl + 1);
        }
        next();
    }

    // Starts the next command when none runs.
    void next() {
        while (steps_.empty() && !lines_.empty()) {
            const QString line = lines_.front();
            lines_.pop_front();
            if (line.isEmpty()) continue;
            QString error;
            steps_ = plan(line.split(' ', Qt::SkipEmptyParts), &error);
            if (!error.isEmpty()) {
                steps_.clear();
                say("error " + error);
                continue;
            }
            startStep();
        }
    }

    void startStep() {
        if (steps_.empty()) {
            poll_.stop();
            say("ok");
            // Outside the poll's own tick.
            QTimer::singleShot(0, this, [this] { next(); });
            return;
        }
        since_.start();
        if (steps_.front().act) {
            // Queued: an action that opens a box runs its loop outside the
            // driver's handlers, which go on serving in it.
            QTimer::singleShot(0, qApp, [a = steps_.front().act] { a(); });
            steps_.front().act = nullptr;
        }
        poll_.start();
    }

    void advance() {
        if (steps_.empty()) return;
        Step& s = steps_.front();
        if (s.until()) {
            steps_.pop_front();
            startStep();
        } else if (since_.elapsed() > s.timeoutMs) {
            const QString what = s.what;
            steps_.clear();
            poll_.stop();
            say("error " + what);
            QTimer::singleShot(0, this, [this] { next(); });
        }
    }

    // The steps of a command.
    static std::deque<Step> plan(const QStringList& w, QString* error) {
        const QString cmd = w.value(0);
        const int arg = w.value(1).toInt();
        std::deque<Step> s;
        auto sessionUp = [&](const char* what) {
            s.push_back(waitFor(sessionOnScreen, what));
            s.push_back(settle(300));
        };
        // The hand-in button, up to its first confirmation (重要提示).
        auto handInBox = [&] {
            clickWhenShown(s, session::frmTm(), [](auto& f) -> core::Control& { return f.CmdGN(8); }, "the hand-in button");
            s.push_back(waitFor([] { return onScreen(session::frmEnd1()); }, "the first confirmation did not come"));
        };
        if (cmd == "ready") {
            s.push_back(waitFor([] { return onScreen(cover::frmFengmian()); }, "the cover did not come"));
        } else if (cmd == "practice") {
            s.push_back(act([arg] { session::LblJinRuXX_Click(arg); }));
            sessionUp("the practice windows did not come");
        } else if (cmd == "exam") {
            s.push_back(act([arg] { session::LblStartKs_Click(arg); }));
            s.push_back(waitFor(
                [] { return onScreen(session::frmLogon()) && session::frmLogon().peek()->Picture1.visible(); },
                "the login did not come"));
            // The seat and number the login page shows.
            s.push_back(act([] { clickThroughWindow(session::frmLogon()().CmdLog); }));
            sessionUp("the exam windows did not come after the login");
        } else if (cmd == "handin") {
            handInBox();
            s.push_back(act([] { clickThroughWindow(session::frmEnd1()().Command1); }));
            s.push_back(waitFor([] { return onScreen(session::frmEnd2()); }, "the second confirmation did not come"));
            s.push_back(act([] { clickThroughWindow(session::frmEnd2()().Command1); }));
            s.push_back(waitFor(
                [] { return onScreen(session::frmChengji()) && !session::frmChengji().peek()->Timer1.enabled(); },
                "the score report did not come"));
            s.push_back(settle(300));
        } else if (cmd == "review") {
            clickWhenShown(s, session::frmChengji(), [](auto& f) -> core::Control& { return f.Command3; }, "the review button");
            sessionUp("the review windows did not come");
        } else if (cmd == "endpractice") {
            clickWhenShown(s, session::frmTm(), [](auto& f) -> core::Control& { return f.CmdGN(5); }, "the end button");
            s.push_back(waitFor([] { return onScreen(cover::frmFengmian()); }, "the cover did not come back"));
            s.push_back(settle(300));
        } else if (cmd == "next" || cmd == "prev") {
            const int button = cmd == "next" ? 1 : 0;
            auto from = std::make_shared<int>(0);
            s.push_back(act([from] { *from = core::session().CurrentQuestion; }));
            clickWhenShown(s, session::frmTm(), [button](auto& f) -> core::Control& { return f.CmdGN(button); },
                           cmd == "next" ? "下一题" : "上一题");
            s.push_back(waitFor([from] { return core::session().CurrentQuestion != *from && sessionOnScreen(); },
                                "the other question did not load"));
            s.push_back(settle(300));
        } else if (cmd == "demo") {
            clickWhenShown(s, session::frmTm(), [](auto& f) -> core::Control& { return f.CmdGN(7); }, "the demonstration button");
            s.push_back(waitFor([] { return onScreen(demo::frmYanShi()); }, "the demonstration did not come"));
            s.push_back(settle(300));
        } else if (cmd == "demoend") {
            const int seconds = arg > 0 ? arg : 120;
            s.push_back(waitFor([] { return !demo::frmYanShi().loaded() && sessionOnScreen(); },
                                "the demonstration did not hand back", seconds * 1000));
            s.push_back(settle(300));
        } else if (cmd == "about") {
            clickWhenShown(s, cover::frmFengmian(), [](auto& f) -> core::Control& { return f.LblAbout; }, "the cover's about line");
            s.push_back(waitFor([] { return onScreen(cover::frmAbout()); }, "the about box did not come"));
        } else if (cmd == "quitbox") {
            clickWhenShown(s, cover::frmFengmian(), [](auto& f) -> core::Control& { return f.LblClose; }, "the cover's close button");
            s.push_back(waitFor([] { return openBox() != nullptr; }, "the close question did not come"));
        } else if (cmd == "handinbox") {
            handInBox();
        } else if (cmd == "viewanswer") {
            clickWhenShown(s, session::frmTm(), [](auto& f) -> core::Control& { return f.CmdGN(10); }, "the view-answer button");
            s.push_back(waitFor([] { return onScreen(session::frmCZTS()); }, "the view-answer warning did not come"));
        } else if (cmd == "windows") {
            s.push_back(act(listWindows));
        } else if (cmd == "quit") {
            s.push_back(act([] { QCoreApplication::exit(0); }));
        } else {
            *error = "unknown command " + cmd;
        }
        return s;
    }

    static void listWindows() {
        for (core::Form* f : core::loadedForms()) {
            view::FormWindow* w = windowOf(f);
            if (!f->visible() || !w || !w->isVisible()) continue;
            say(QStringLiteral("form %1 %2 %3 %4 %5 %6 %7 %8")
                    .arg(f->name())
                    .arg(quint64(w->winId()))
                    .arg(px(f->left()))
                    .arg(px(f->top()))
                    .arg(px(f->width()))
                    .arg(px(f->height()))
                    .arg(f->windowState())
                    .arg(f->topmost() ? 1 : 0));
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                say(QStringLiteral("box %1 %2").arg(quint64(box->winId())).arg(box->windowTitle()));
    }

    QSocketNotifier in_;
    QByteArray buf_;
    std::deque<QString> lines_;
    std::deque<Step> steps_;
    QTimer poll_;
    QElapsedTimer since_;
};

void drive() { new Driver; }

const bool registered = [] {
    qAddPreRoutine(drive);
    return true;
}();

} // namespace
