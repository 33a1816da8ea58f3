// Dragging a window: a borderless one by its body, a bordered one by the
// title bar the view draws where no window manager does.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "view/form_window.h"
#include "view/view_host.h"
#include "view/window_frame.h"

namespace view {

namespace {

// The last move that ended, for a window manager's move right after it.
struct EndedMove {
    QPointer<FormWindow> win;
    core::Form* form = nullptr;
    std::function<void()> after;
    QElapsedTimer since;
};
EndedMove& endedMove() {
    static EndedMove m;
    return m;
}
// How long after a move a window manager's own move of the window still
// counts as part of it.
constexpr int kEndedMoveMs = 1000;

// Runs a move's afterMove, if the form is still the window's.
void runAfterMove(FormWindow* w, core::Form* form, const std::function<void()>& after) {
    if (after && w && w->form() == form && w->alive()) form->dispatch("Move", after);
}

// Watches the mouse from the press until the move ends. The window moves
// only once the mouse has gone the drag distance with the button held: a
// click or a tap moves nothing. Then the window manager carries the move
// where one runs, else the window follows the mouse. The mouse events of
// the move belong to it, not to the form.
class WindowMover : public QObject {
public:
    WindowMover(FormWindow* w, core::Form* f, std::function<void()> after, QPointF startGlobal)
        : win_(w), form_(f), after_(std::move(after)), start_(startGlobal), startPos_(w->pos()) {
        // The window manager's move takes the pointer: the program hears of
        // its release only from the X server.
        connect(&poll_, &QTimer::timeout, this, [this] {
            const std::optional<bool> down = phase_ == Phase::System && win_ ? leftButtonDown(win_) : std::nullopt;
            if (!down.value_or(QGuiApplication::mouseButtons() & Qt::LeftButton)) buttonUp(false);
        });
        poll_.start(30);
    }

    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (!(me->buttons() & Qt::LeftButton)) {
                buttonUp(false);
                return false;
            }
            follow(me->globalPosition());
            return true;
        }
        case QEvent::MouseButtonRelease: buttonUp(true); return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: finish(); return false;
        default: return false;
        }
    }

    void finish() {
        if (done_) return;
        done_ = true;
        poll_.stop();
        qApp->removeEventFilter(this);
        deleteLater();
        if (!win_ || win_->form() != form_ || !win_->alive()) return;
        // Where a window manager carried the move, the X server has the
        // window's place before the toolkit hears of it.
        QPoint at = win_->pos();
        if (phase_ == Phase::System) serverClientPosition(win_, &at);
        InputScope scope(win_);
        win_->writeBackPosition(at);
        EndedMove& ended = endedMove();
        ended = {win_, form_, after_, {}};
        ended.since.start();
        if (ViewHost::isLoaded(form_)) runAfterMove(win_, form_, after_);
    }

    // Whether w is the window this move carries.
    bool carries(const QWidget* w) const { return !done_ && win_ == w; }

    static QPointer<WindowMover>& current() {
        static QPointer<WindowMover> c;
        return c;
    }

private:
    enum class Phase { Pressed, Manual, System };

    void follow(QPointF global) {
        if (!win_) return;
        const QPoint by = (global - start_).toPoint();
        if (phase_ == Phase::Pressed) {
            if (by.manhattanLength() < QApplication::startDragDistance()) return;
            // Without a window manager nobody carries out the move. The
            // window manager's move starts from the press, so that the
            // window keeps its offset to the pointer.
            phase_ = windowManagerFrames() && startWindowManagerMove(win_, start_.toPoint()) ? Phase::System
                                                                                              : Phase::Manual;
        }
        if (phase_ == Phase::Manual) win_->move(startPos_ + by);
    }

    // The button is up. `released`: the release came to the program, so
    // the window manager had not taken the pointer yet and might still
    // start the move it was asked for, with the button up.
    void buttonUp(bool released) {
        if (done_) return;
        if (released && phase_ == Phase::System && win_) cancelWindowManagerMove(win_);
        finish();
    }

    QPointer<FormWindow> win_;
    core::Form* form_;
    std::function<void()> after_;
    QPointF start_;
    QPoint startPos_;
    Phase phase_ = Phase::Pressed;
    bool done_ = false;
    QTimer poll_;
};

} // namespace

bool windowMoveRunning(const QWidget* w) {
    WindowMover* m = WindowMover::current();
    return m && m->carries(w);
}

void windowManagerMoved(FormWindow* w) {
    EndedMove& ended = endedMove();
    if (!w || ended.win != w || !ended.since.isValid() || ended.since.elapsed() > kEndedMoveMs) return;
    ended.since.invalidate();
    runAfterMove(w, ended.form, ended.after);
}

void startWindowMove(core::Form& form, std::function<void()> afterMove) {
    // The press that started the move gets no release.
    form.releaseCapture();
    if (WindowMover* m = WindowMover::current()) m->finish();
    ViewHost* h = ViewHost::instance();
    FormWindow* w = h ? h->windowOf(form) : nullptr;
    if (!w || !w->alive()) {
        // Nothing on screen to move: the move is over at once.
        if (afterMove) form.dispatch("Move", afterMove);
        return;
    }
    auto* m = new WindowMover(w, &form, std::move(afterMove), h->lastGlobalMouse());
    WindowMover::current() = m;
    qApp->installEventFilter(m);
}

} // namespace view
