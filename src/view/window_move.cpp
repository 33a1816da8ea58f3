// Dragging a window: a borderless one by its body, a bordered one by the
// title bar the view draws where no window manager does.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "view/form_window.h"
#include "view/view_host.h"
#include "view/window_frame.h"

namespace view {

namespace {

// Watches the mouse until the move ends; in the manual mode it also moves
// the window. The mouse events of the move belong to it, not to the form.
class WindowMover : public QObject {
public:
    WindowMover(FormWindow* w, core::Form* f, std::function<void()> after, bool manual, QPointF startGlobal)
        : win_(w), form_(f), after_(std::move(after)), manual_(manual), start_(startGlobal), startPos_(w->pos()) {
        if (!manual_) {
            // The platform may end its move without sending the release to
            // the window; its button state still tells.
            connect(&poll_, &QTimer::timeout, this, [this] {
                if (settling_) {
                    if (settled()) finish();
                } else if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
                    settle();
                }
            });
            poll_.start(30);
        }
    }

    bool eventFilter(QObject*, QEvent* e) override {
        if (settling_) {
            // The button is up; a new press ends the wait for the window.
            if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) finish();
            return false;
        }
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (!(me->buttons() & Qt::LeftButton)) {
                settle();
                return false;
            }
            if (manual_ && win_) win_->move(startPos_ + (me->globalPosition() - start_).toPoint());
            return true;
        }
        case QEvent::MouseButtonRelease: settle(); return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: finish(); return false;
        default: return false;
        }
    }

    // The button is up. A window manager that carried out the move may tell
    // the window where it put it only after that: the move ends once the
    // window knows the place the X server has for it, or a while later.
    void settle() {
        if (settling_ || done_) return;
        if (manual_) {
            finish();
            return;
        }
        settling_ = true;
        settleTime_.start();
        if (win_) endWindowManagerMove(win_);
        if (settled()) {
            finish();
            return;
        }
        poll_.start(10);
    }

    bool settled() const {
        QPoint at;
        if (!win_ || settleTime_.elapsed() > kSettleMs || !serverClientPosition(win_, &at)) return true;
        return at == win_->geometry().topLeft();
    }

    void finish() {
        if (done_) return;
        done_ = true;
        poll_.stop();
        qApp->removeEventFilter(this);
        deleteLater();
        if (!win_ || win_->form() != form_ || !win_->alive()) return;
        InputScope scope(win_);
        win_->writeBackPosition();
        if (after_ && ViewHost::isLoaded(form_)) form_->dispatch("Move", after_);
    }

    // Whether w is the window this move carries.
    bool carries(const QWidget* w) const { return !done_ && win_ == w; }

    static QPointer<WindowMover>& current() {
        static QPointer<WindowMover> c;
        return c;
    }

private:
    QPointer<FormWindow> win_;
    core::Form* form_;
    std::function<void()> after_;
    bool manual_;
    QPointF start_;
    QPoint startPos_;
    bool done_ = false;
    bool settling_ = false;
    QElapsedTimer settleTime_;
    static constexpr int kSettleMs = 500;
    QTimer poll_;
};

} // namespace

bool windowMoveRunning(const QWidget* w) {
    WindowMover* m = WindowMover::current();
    return m && m->carries(w);
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
    QWindow* handle = w->windowHandle();
    // Without a window manager nobody carries out a system move.
    const bool system = handle && windowManagerFrames() && handle->startSystemMove();
    auto* m = new WindowMover(w, &form, std::move(afterMove), !system, h->lastGlobalMouse());
    WindowMover::current() = m;
    qApp->installEventFilter(m);
}

} // namespace view
