#pragma once
// The Qt view of the form/control model: a top-level window per visible
// form, a child widget per windowed control, windowless controls painted by
// their container. The host keeps the widgets in step with the model and
// hands user input back to it. The model tells the host when it changes; the
// host brings the windows up to date once, on the next turn of the event
// loop, and repaints only what the change touched.
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "core/forms.h"

class QWidget;

namespace view {

class FormWindow;

class ViewHost : public QObject {
public:
    ViewHost();
    ~ViewHost() override;
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    // The program's host: creates it and installs the Qt prompt service and
    // the window-move service.
    static ViewHost* install();
    // The current host, nullptr when there is none.
    static ViewHost* instance();
    // At the program's end, before the application object goes: deletes
    // the host and every window it made, and takes the Qt prompt service
    // out of use.
    static void shutDown();

    // Brings every window up to date with the model (only the forms that
    // changed since the last sync, unless forced).
    void sync(bool force = false);
    // Called after every sync until it returns false (a modal loop waits
    // for its form this way).
    void watchSyncs(std::function<bool()> stillWatching);

    // A modal form or message box is open while this lives: the open ones
    // stay above every window, the innermost (the one that takes input) on
    // top and active. Pass the form, or the box widget.
    class ModalScope {
    public:
        explicit ModalScope(const core::Form* form, QWidget* box = nullptr);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        QPointer<ViewHost> host_;
    };
    // The visible windows of the forms and the message boxes, bottom to
    // top, as the view stacked them (a window shown or raised goes on top).
    std::vector<QWidget*> stackingOrder() const;

    FormWindow* windowOf(const core::Form& f) const;
    QWidget* widgetOf(const core::Control& c) const;
    bool syncing() const { return syncing_; }

    // Whether f is a loaded form (f may point to a freed form: it is only
    // compared, never read).
    static bool isLoaded(const core::Form* f);

    // Bookkeeping of the widgets' input handlers: while one runs, no widget
    // is deleted; the outermost one syncs when it ends.
    void enterInput() { ++inputDepth_; }
    void leaveInput();
    int inputDepth() const { return inputDepth_; }
    // Last mouse event seen by a form window (for pointers and moves).
    void noteMouse(QWidget* receiver, QPointF global);
    QPointF lastGlobalMouse() const { return lastGlobal_; }

private:
    void retire(QWidget* w);
    void purge();
    void applyRaises();
    // The window went on top (shown, or raised by the view).
    void cameForward(QWidget* w);
    void raiseWindow(QWidget* w);
    // The model changed: one sync on the next turn of the event loop.
    void schedule();

    std::map<const core::Form*, FormWindow*> windows_;
    std::vector<QPointer<QWidget>> retired_;  // hidden; deleted when no handler runs
    std::vector<std::function<bool()>> watchers_;
    bool scheduled_ = false;
    uint64_t synced_ = 0;
    int inputDepth_ = 0;
    bool stackingChanged_ = false;
    std::vector<QPointer<QWidget>> stack_;  // bottom to top
    struct Modal {
        const core::Form* form;
        QPointer<QWidget> box;
    };
    std::vector<Modal> modal_;  // outermost first
    bool syncing_ = false;
    QPointer<QWidget> hover_;
    QPointF lastGlobal_;
    friend class FormWindow;
};

// Drags the form's window with the mouse until the button is released
// (a system move where the platform offers one, else the window follows
// the mouse); then the form's Left and Top are updated and afterMove runs.
void startWindowMove(core::Form& form, std::function<void()> afterMove);
// Whether w is being moved that way now.
bool windowMoveRunning(const QWidget* w);
// A window manager moved w on its own: right after a move of w ended, that
// is the end of the move too, and its afterMove runs again.
void windowManagerMoved(FormWindow* w);

// The form as it looks on screen (rendered offscreen when it has no window).
QImage renderForm(core::Form& form);

// Qt cursor of a standard pointer number (unknown numbers: arrow).
Qt::CursorShape pointerShape(int pointer);
// Cursor of a pointer number; 0 gives `dflt`, 99 the cursor file (arrow
// when it cannot be read).
QCursor pointerCursor(int pointer, const QString& iconFile, Qt::CursorShape dflt = Qt::ArrowCursor);
// The pointer shown over a control (nullptr: the form's bare surface).
QCursor cursorOver(const core::Form& form, const core::Control* c);
// Font of a control; a font name that is not installed gives a CJK font.
QFont controlFont(const core::Control& c);

// Where and how the caption of a label, command button, check box or frame
// is drawn: the rectangle in the control's own pixels, the drawText flags
// and the font. The font is the control's; but where the font named is not
// installed and the caption does not fit the rectangle in its stand-in, it
// is a stand-in of closer metrics that fits where one is installed, else
// the stand-in at the largest size that fits.
struct CaptionLayout {
    QRect rect;
    int flags = 0;
    QFont font;
};
CaptionLayout captionLayout(const core::Control& c);
// Whether a caption that does not fit may take a closer stand-in (on by
// default; off, captions shrink as on a machine without those fonts).
void useCloserStandIns(bool on);

} // namespace view
