#pragma once
// The window of one form and the widgets of its windowed controls.
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>
#include <functional>
#include <map>
#include <type_traits>
#include <vector>

#include "core/forms.h"

namespace view {

class ViewHost;
class FormWindow;

// Pixels of a twip length at the current scale (clamped to a sane range).
int pxX(double twips);
int pxY(double twips);

// Window flags of a form's top-level window: frame (none where the view
// draws it, `drawnFrame`), topmost, and a tool window (no taskbar entry) for
// a form not shown in the taskbar.
Qt::WindowFlags windowFlagsOf(const core::Form& f, bool drawnFrame = false);
// Title of a form's window for the taskbar and the window switcher: its
// caption, else the application title.
QString windowTitleOf(const core::Form& f);

// A box that blocks the program's other windows (a modal form does the same
// itself) comes back at once whenever a window manager minimises it: it has
// no taskbar entry to come back by.
void keepOnScreen(QWidget* box);

// The application name and desktop file name of the running program.
void setProgramIdentity();

// Paints the windowless children of a container, back to front, in the
// container's client coordinates.
// The windowless controls of a container, back to front; those drawn above
// the windowed controls only when `above` is true (and then only they).
void paintWindowless(QPainter& p, const core::Container& c, bool above = false);

// Links a control widget to its window and control.
struct ControlLink {
    FormWindow* win = nullptr;
    core::Control* ctl = nullptr;
};

// Picture box, frame, command button, check box: painted by the view.
class SurfaceWidget : public QWidget {
public:
    SurfaceWidget(FormWindow* win, core::Control* c, QWidget* parent);
    ControlLink link;
    bool pressed = false;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    bool event(QEvent* e) override;
};

// The text a middle click pastes: the platform's primary selection where it
// has one. A test may set a source of its own (nullptr: the platform's).
std::function<QString()>& primarySelectionSource();

// An editing widget of Qt whose mouse and key events go to the model
// first (through its window), then to the widget itself.
//
// In a text box with a KeyPress handler, text that comes without key
// presses (pasted, dropped, committed by an input method) is typed into it
// character by character: each one goes through KeyPress as a typed key
// would, and only what the handler lets through reaches the box.
template <class Base>
class RoutedInput : public Base {
public:
    explicit RoutedInput(QWidget* parent) : Base(parent) {}
    ControlLink link;

protected:
    static constexpr bool kTextBox = std::is_base_of_v<QLineEdit, Base> || std::is_base_of_v<QTextEdit, Base>;
    // The widget whose coordinates the mouse events carry.
    virtual QWidget* mouseSource() { return this; }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

    // Whether text arriving without keys is typed through KeyPress.
    bool typesThroughKeyPress() const;
    // Types `text` as a run of typed characters (a line break is one Enter).
    void typeText(const QString& text);
    // While set, the widget's own changes (an input method's composition
    // shown in the box) do not reach the model.
    bool holdEdits = false;
};

// Single-line text box.
class LineBox : public RoutedInput<QLineEdit> {
public:
    LineBox(FormWindow* win, core::Control* c, QWidget* parent);
    int lastSelStart = -1, lastSelLength = -1;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

// Multi-line text box.
class AreaBox : public RoutedInput<QTextEdit> {
public:
    AreaBox(FormWindow* win, core::Control* c, QWidget* parent);
    int lastSelStart = -1, lastSelLength = -1;

protected:
    QWidget* mouseSource() override { return viewport(); }
    void insertFromMimeData(const QMimeData* source) override;
};

class ListBox : public RoutedInput<QListWidget> {
public:
    ListBox(FormWindow* win, core::Control* c, QWidget* parent);
    QStringList shownItems;

protected:
    QWidget* mouseSource() override { return viewport(); }
};

class FormWindow : public QWidget {
public:
    // host may be nullptr (a window made only to render the form).
    FormWindow(ViewHost* host, core::Form* form);
    ~FormWindow() override;

    // The form, nullptr once it is gone.
    core::Form* form() const { return form_; }
    ViewHost* host() const { return host_; }
    // The form is still loaded (and the window still belongs to it).
    bool alive() const;
    // Whether c is a control of the form (guards against stale pointers).
    bool owns(const core::Control* c) const;
    // Forgets the form: the window only waits to be deleted.
    void detach();

    void syncFromModel();
    QWidget* widgetOf(const core::Control* c) const;
    uint64_t raiseSeen = 0;

    // Input from any widget of this window. `source` is the widget whose
    // coordinates the event carries.
    void routeMouse(QWidget* source, QMouseEvent* e);
    // Key down and key press; returns whether the widget may go on with its
    // own handling of the key, and in *ascii the character to use then.
    bool routeKeyPress(QKeyEvent* e, int* ascii, int* original);
    // A character that comes without a key (pasted, committed by an input
    // method) into c: KeyPress only. Returns the character as the handlers
    // left it (0: discarded).
    int routeTyped(core::Control* c, int ascii);
    // Whether characters typed into c meet a KeyPress handler.
    bool handlesKeyPress(const core::Control* c) const;
    void routeKeyRelease(QKeyEvent* e);
    void controlFocused(core::Control* c);
    void userEdited(core::Control* c, const QString& text, int cursor);
    void userSelected(core::Control* c, int selStart, int selLength);
    void userChoseRow(core::Control* c, int row);
    // Tooltip of the windowless control at a point of `source`.
    bool showToolTip(QWidget* source, QHelpEvent* e, const core::Control* self);
    // Pointer of whatever lies under the mouse at a point of `source`.
    void updatePointer(QWidget* source, QPoint pos);
    // Where the form's client area lies in the window: below and beside the
    // frame the view draws where no window manager frames the window.
    QPoint clientOrigin() const;
    // The drawn title bar's close box (empty when the view draws no frame).
    QRect closeBox() const;
    // Model's client size in twips from the window's size (maximised).
    void writeBackSize();
    void writeBackPosition();
    void writeBackPosition(QPoint outer);
    // A frameless maximised window that the platform left smaller than the
    // screen's available area when it showed it (no window manager): the
    // view gives it that area itself.
    void fillScreenIfNotMaximised();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Shown maximised: checks the size the platform gave at the first expose.
    void watchMaximisedShow();
    struct Entry {
        QWidget* widget = nullptr;
        core::Kind kind = core::Kind::Label;
        QWidget* parent = nullptr;
        bool seen = false;
    };
    void syncControls(QWidget* parentWidget, const core::Container& cont, double inset,
                      std::vector<QWidget*>& order);
    void syncWidget(Entry& e, core::Control& c, QWidget* parentWidget, double inset);
    void syncFocus();
    QWidget* createWidget(core::Control& c, QWidget* parent);

    // Over the windowed controls: the form's controls drawn above them.
    void syncAbove();
    // The drawn frame around the client area (none: no margins).
    QMargins frameMargins() const;
    QRect clientRect() const { return rect().marginsRemoved(frameMargins()); }
    // A mouse event of the window itself that belongs to the drawn frame:
    // the close box, the title bar's drag, or nothing. Returns whether it
    // did (and so the model does not see it).
    bool frameMouse(QMouseEvent* e);

    ViewHost* host_;
    core::Form* form_;
    QWidget* above_ = nullptr;
    std::map<const core::Control*, Entry> entries_;
    std::map<const QWidget*, std::vector<QWidget*>> stacking_;
    bool shown_ = false;
    int appliedState_ = -1;
    bool appliedModal_ = false;
    QRect appliedGeom_;
    QElapsedTimer sinceApply_;
    bool pendingWriteBack_ = false;
    bool checkMaximised_ = false;
    // Maximised through the window manager on behalf of a form in the
    // normal state that covers the work area; it stays so whatever the
    // window manager is asked for.
    bool maximisedOnBehalf_ = false;
    // Maximises such a window again after the window manager restored it.
    void keepMaximisedOnBehalf();
    // The view draws this window's frame (set when it is first shown).
    bool drawnFrame_ = false;
    // The mouse was pressed on the drawn frame; on its close box.
    bool framePress_ = false;
    bool closePressed_ = false;
    bool closeDown_ = false;
    uint64_t syncedRevision_ = 0;
    friend class ViewHost;
};

// Keeps the host's input depth while a widget handles an input event.
class InputScope {
public:
    explicit InputScope(FormWindow* w);
    ~InputScope();
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

private:
    QPointer<ViewHost> host_;
};

} // namespace view
