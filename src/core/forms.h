#pragma once
// The form/control model: plain objects that hold what the program reads and
// writes of its windows, raise the program's events with their original
// arguments, and answer "which control is at (x, y)". The Qt view shows them;
// tests drive them directly.
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/errors.h"
#include "core/clock.h"
#include "core/pictures.h"

namespace core {

class Form;
class Control;
class Timer;
class Menu;

enum class Kind { Label, Image, Shape, Line, PictureBox, TextBox, ListBox, CommandButton, CheckBox, Frame };

// Windowless controls are drawn by their container, below its windowed ones.
bool isWindowless(Kind k);
// Controls that hold other controls.
bool isContainer(Kind k);
// A caption as a label shows it: "&x" gives x (underlined), "&&" one "&".
QString mnemonicShown(const QString& caption);

// Mouse buttons and modifier sum as the program's events carry them.
enum MouseButton { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
enum ShiftMask { ShiftMod = 1, CtrlMod = 2, AltMod = 4 };

struct MouseArgs {
    int button = LeftButton;
    int shift = 0;
    double x = 0;  // twips, relative to the control
    double y = 0;
};

// Standard pointer numbers; 99 is a custom pointer from a cursor file.
enum Pointer { PtrDefault = 0, PtrArrow = 1, PtrCross = 2, PtrIBeam = 3, PtrIcon = 4, PtrSize = 5, PtrSizeNESW = 6,
               PtrSizeNS = 7, PtrSizeNWSE = 8, PtrSizeWE = 9, PtrUpArrow = 10, PtrHourglass = 11, PtrNoDrop = 12,
               PtrArrowHourglass = 13, PtrArrowQuestion = 14, PtrSizeAll = 15, PtrCustom = 99 };


// Bumped by every change of any form or control the view shows.
uint64_t modelRevision();
// Bumps the revision and tells the listener.
void touchModel();
// The view's hook: told at every change (it schedules its refresh; the
// call must stay cheap). nullptr removes it.
void setModelListener(std::function<void()> listener);

// The properties a form and a control both have. Every setter stores a
// different value and reports it through propertyChanged(); setting the
// value a property already has is no change.
class Properties {
public:
    virtual ~Properties() = default;

    // Geometry in twips (a control's relative to its container's client area).
    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void setLeft(double v) { assign(left_, v, true); }
    void setTop(double v) { assign(top_, v, true); }
    void move(double l, double t) {
        setLeft(l);
        setTop(t);
    }

    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool v) { assign(enabled_, v); }
    const QString& caption() const { return caption_; }
    uint32_t backColor() const { return backColor_; }
    void setBackColor(uint32_t c) { assign(backColor_, c); }
    const Picture& picture() const { return picture_; }
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int v) { assign(borderStyle_, v); }
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int p) { assign(mousePointer_, p); }
    // Cursor file of pointer 99.
    const QString& mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QString& path) { assign(mouseIcon_, path); }

protected:
    // Stores v when it differs and reports the change (before and after
    // the store when the change moves or resizes the object). Returns
    // whether it stored.
    template <class T, class V>
    bool assign(T& member, const V& v, bool moves = false) {
        if (member == v) return false;
        if (moves) propertyChanged();
        member = v;
        propertyChanged();
        return true;
    }
    virtual void propertyChanged() = 0;

    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    QString caption_;
    uint32_t backColor_ = 0x8000000F;
    Picture picture_;
    int borderStyle_ = 0;
    int mousePointer_ = 0;
    QString mouseIcon_;
};

// Something that holds controls: a form or a container control.
class Container {
public:
    virtual ~Container() = default;
    // Children back to front.
    const std::vector<Control*>& children() const { return children_; }
    // The control at (x, y) of this container's client area, or nullptr.
    // Windowed controls lie above windowless ones; within each group the
    // later in z-order wins. Shapes and lines never take the mouse, hidden
    // controls take nothing, a disabled windowless control lets the mouse
    // through, a disabled windowed one blocks it.
    Control* childAt(double x, double y) const;

protected:
    friend class Control;
    friend class Form;
    friend class ControlArray;
    std::vector<Control*> children_;
};

class Control : public Container, public Properties {
public:
    Control(Form* form, Kind kind, QString name, int index);
    ~Control() override;

    Kind kind() const { return kind_; }
    const QString& name() const { return name_; }
    int index() const { return index_; }
    Form* form() const { return form_; }
    // The container control, or nullptr when the form holds it directly.
    Control* container() const { return container_; }
    void setContainer(Control* c);

    // Geometry: see Properties.
    void setWidth(double v);
    void setHeight(double v);
    using Properties::move;
    void move(double l, double t, double w, double h);
    // Offset of the client area inside the control (its border).
    double clientInset() const;

    void setVisible(bool v);
    // Visible and all containers visible.
    bool shown() const;

    void setCaption(const QString& c);

    // Text box text; every assignment raises Change, also of the same text.
    const QString& text() const { return text_; }
    void setText(const QString& t);
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    void setSelStart(int v);
    void setSelLength(int v);
    QString selText() const;
    void setSelText(const QString& t);
    bool locked() const { return locked_; }
    void setLocked(bool v);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool v);
    int maxLength() const { return maxLength_; }
    void setMaxLength(int v);
    // Scroll bars of a multi-line text box: 0 none, 1 horizontal, 2 vertical, 3 both.
    int scrollBars() const { return scrollBars_; }
    void setScrollBars(int v);

    // Pictures: an image without Stretch and an AutoSize picture box take
    // the picture's size.
    void setPicture(Picture p);
    void clearPicture() { setPicture(Picture()); }
    bool stretch() const { return stretch_; }
    void setStretch(bool v);
    bool autoSize() const { return autoSize_; }
    // AutoSize labels take the size of their caption (without wrapping).
    void setAutoSize(bool v);
    // Sizes the control to its caption in its font, at 96 dpi.
    void fitToCaption();

    uint32_t foreColor() const { return foreColor_; }
    void setForeColor(uint32_t c);
    int backStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
    void setBackStyle(int v);
    int appearance() const { return appearance_; }  // 0 flat, 1 3D
    void setAppearance(int v);
    int alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
    void setAlignment(int v);
    bool graphicalStyle() const { return graphical_; }
    void setGraphicalStyle(bool v);

    const QString& fontName() const { return fontName_; }
    void setFontName(const QString& f);
    double fontSize() const { return fontSize_; }
    void setFontSize(double s);
    bool fontBold() const { return bold_; }
    void setFontBold(bool v);
    bool fontItalic() const { return italic_; }
    void setFontItalic(bool v);
    bool fontUnderline() const { return underline_; }
    void setFontUnderline(bool v);

    const QString& toolTipText() const { return toolTip_; }
    void setToolTipText(const QString& t);

    // Shapes: 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle.
    int shape() const { return shape_; }
    void setShape(int v);
    uint32_t borderColor() const { return borderColor_; }
    void setBorderColor(uint32_t c);
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    int fillStyle() const { return fillStyle_; }  // 0 solid, 1 transparent
    void setFillStyle(int v);
    uint32_t fillColor() const { return fillColor_; }
    void setFillColor(uint32_t c);
    // Lines: end points in the container's coordinates.
    double x1() const { return left_; }
    double y1() const { return top_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }
    void setLine(double x1, double y1, double x2, double y2);

    // List box items; assigning a different ListIndex raises Click.
    const QStringList& items() const { return items_; }
    void addItem(const QString& s);
    void clearItems();
    int listCount() const { return static_cast<int>(items_.size()); }
    int listIndex() const { return listIndex_; }
    void setListIndex(int i);

    // Check box value (0, 1, 2) or button value; assigning raises Click.
    int value() const { return value_; }
    void setValue(int v);

    bool tabStop() const { return tabStop_; }
    void setTabStop(bool v);
    // A windowless control of the form drawn above its windowed controls too
    // (a drawn pointer); it takes the mouse as before.
    bool aboveWindowed() const { return aboveWindowed_; }
    void setAboveWindowed(bool v);

    // Z-order: 0 brings to the front of its group, 1 sends to the back.
    void zOrder(int pos = 0);

    // Position of the control's top-left corner in its form's client area.
    double formX() const;
    double formY() const;
    bool contains(double x, double y) const { return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_; }

    // Program-made focus: raises LostFocus on the old control and GotFocus.
    void setFocus();

    // Events. Every handler receives the control that raised it (its index
    // tells an array element).
    std::function<void(Control&)> onClick;
    std::function<void(Control&)> onDblClick;
    std::function<void(Control&)> onChange;
    std::function<void(Control&)> onGotFocus;
    std::function<void(Control&)> onLostFocus;
    std::function<void(Control&, const MouseArgs&)> onMouseDown;
    std::function<void(Control&, const MouseArgs&)> onMouseUp;
    std::function<void(Control&, const MouseArgs&)> onMouseMove;
    std::function<void(Control&, int& keyCode, int shift)> onKeyDown;
    std::function<void(Control&, int& keyCode, int shift)> onKeyUp;
    std::function<void(Control&, int& keyAscii)> onKeyPress;

    // Raising events (through the event boundary of the form).
    void raiseClick();
    void raiseDblClick();
    void raiseChange();
    void raiseMouse(const std::function<void(Control&, const MouseArgs&)>& h, const MouseArgs& a);

    // Copies design properties and handlers from another control (for new
    // array elements).
    void copyFrom(const Control& o);

    // The area the control paints, in its form's client coordinates (twips).
    QRectF formBounds() const;

protected:
    // Marks the control's area for repainting.
    void propertyChanged() override;

private:
    friend class Form;
    friend class ControlArray;
    Form* form_;
    Kind kind_;
    QString name_;
    int index_;
    Control* container_ = nullptr;

    double x2_ = 0, y2_ = 0;
    QString text_;
    int selStart_ = 0, selLength_ = 0;
    bool locked_ = false, multiLine_ = false;
    int maxLength_ = 0;
    int scrollBars_ = 0;
    bool stretch_ = false, autoSize_ = false;
    uint32_t foreColor_ = 0x80000012;
    int backStyle_ = 1, appearance_ = 1, alignment_ = 0;
    bool graphical_ = false;
    QString fontName_ = QStringLiteral("宋体");
    double fontSize_ = 9;
    bool bold_ = false, italic_ = false, underline_ = false;
    QString toolTip_;
    int shape_ = 0;
    uint32_t borderColor_ = 0x80000008;
    int borderWidth_ = 1, fillStyle_ = 1;
    uint32_t fillColor_ = 0;
    QStringList items_;
    int listIndex_ = -1;
    int value_ = 0;
    bool tabStop_ = true;
    bool aboveWindowed_ = false;
};

// An indexed set of controls of one name; elements are created at run time
// as copies of the lowest element (hidden).
class ControlArray {
public:
    ControlArray(Form* form, QString name) : form_(form), name_(std::move(name)) {}
    // Throws RuntimeError 340 when the element does not exist.
    Control& operator[](int i) const;
    Control* find(int i) const;
    bool exists(int i) const { return elems_.count(i) != 0; }
    // Creates element i (error 360 if it exists already).
    Control& load(int i);
    void unload(int i);
    int lbound() const;
    int ubound() const;
    int count() const { return static_cast<int>(elems_.size()); }
    const std::map<int, Control*>& elements() const { return elems_; }
    const QString& name() const { return name_; }

private:
    friend class Form;
    Form* form_;
    QString name_;
    std::map<int, Control*> elems_;
};

// Menus and menu items; an item whose caption is "-" is a separator.
class Menu {
public:
    Menu(Form* form, QString name, int index, Menu* parent);
    const QString& name() const { return name_; }
    int index() const { return index_; }
    Menu* parent() const { return parent_; }
    Form* form() const { return form_; }
    const std::vector<Menu*>& items() const { return items_; }

    const QString& caption() const { return caption_; }
    void setCaption(const QString& c);
    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool checked() const { return checked_; }
    void setChecked(bool v);
    bool isSeparator() const { return caption_ == QStringLiteral("-"); }

    std::function<void(Menu&)> onClick;
    // Runs the click handler through the event boundary.
    void raiseClick();

private:
    friend class Form;
    friend class MenuArray;
    Form* form_;
    QString name_;
    int index_;
    Menu* parent_;
    std::vector<Menu*> items_;
    QString caption_;
    bool visible_ = true, enabled_ = true, checked_ = false;
};

class MenuArray {
public:
    MenuArray(Form* form, QString name) : form_(form), name_(std::move(name)) {}
    Menu& operator[](int i) const;
    bool exists(int i) const { return elems_.count(i) != 0; }
    // Creates element i after the last element, a copy of the lowest one.
    Menu& load(int i);
    int ubound() const;
    const std::map<int, Menu*>& elements() const { return elems_; }

private:
    friend class Form;
    Form* form_;
    QString name_;
    std::map<int, Menu*> elems_;
};

enum WindowState { StateNormal = 0, StateMinimized = 1, StateMaximized = 2 };

class Form : public Container, public Properties {
public:
    explicit Form(QString name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& name() const { return name_; }

    // ---- design-time construction (used by form constructors) ----
    Control& add(Kind kind, const QString& name, Control* container = nullptr);
    // Element `index` of array `name` (the array is created on first use).
    Control& addElement(Kind kind, const QString& name, int index, Control* container = nullptr);
    ControlArray& array(const QString& name);
    Control& control(const QString& name) const;  // a single control by name
    Timer& addTimer(const QString& name, int interval = 0, bool enabled = false);
    Timer& timer(const QString& name) const;
    Menu& addMenu(const QString& name, Menu* parent = nullptr, int index = -1);
    MenuArray& menuArray(const QString& name);
    Menu& menu(const QString& name) const;
    const std::vector<Menu*>& topMenus() const { return topMenus_; }
    const std::vector<std::unique_ptr<Timer>>& timers() const { return timers_; }
    // Every control, in creation order.
    std::vector<Control*> allControls() const;

    // ---- properties (the shared ones: see Properties) ----
    void setCaption(const QString& c) { assign(caption_, c); }
    // Width and height changes of a loaded form raise Resize.
    void setWidth(double v);
    void setHeight(double v);
    using Properties::move;
    void move(double l, double t, double w, double h);
    // Client area (outer size less frame and title bar).
    double scaleWidth() const;
    double scaleHeight() const;
    double frameLeft() const;
    double frameTop() const;

    // Borders: 0 none, 1 fixed single, 2 sizable, 3 fixed dialog.
    void setVisible(bool v);
    int windowState() const { return windowState_; }
    void setWindowState(int s);
    bool topmost() const { return topmost_; }
    void setTopmost(bool v);
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool v);
    void setPicture(Picture p);
    bool showInTaskbar() const { return showInTaskbar_; }
    void setShowInTaskbar(bool v);

    // ---- changes, for the view ----
    // Grows with every change of the form or of its controls.
    uint64_t revision() const { return revision_; }
    // What to repaint: the whole client area, or rectangles of it (twips).
    struct Damage {
        bool all = false;
        std::vector<QRectF> rects;
        bool empty() const { return !all && rects.empty(); }
    };
    // The damage since the last call, which clears it.
    Damage takeDamage();
    // Something shown changed that needs no repaint of the form (focus,
    // selection, a window attribute).
    void noteChange();
    void noteDamage(const QRectF& r);
    void noteDamageAll();

    // ---- lifecycle ----
    bool loaded() const { return loaded_; }
    // Shows the form; modal forms run through the UI service and return
    // when the form is hidden or unloaded.
    void show(bool modal = false);
    void hide();
    // Unloads: QueryUnload and Unload may cancel; then the form is hidden,
    // its timers stop, and the next reference makes a fresh one. The object
    // itself is freed once no handler runs any more.
    bool unload();
    // Raised by the view when the user closes the window (unloadMode 0).
    void requestClose();
    bool modal() const { return modal_; }
    void setModal(bool v) { modal_ = v; }

    // ---- input, in the form's client coordinates (twips) ----
    Control* hitTest(double x, double y) const;
    void mouseDown(double x, double y, int button, int shift);
    void mouseMove(double x, double y, int button, int shift);
    void mouseUp(double x, double y, int button, int shift);
    // The second press of a double click (DblClick instead of MouseDown).
    void mouseDblPress(double x, double y, int button, int shift = 0);
    void keyDown(int keyCode, int shift);
    // Returns the character as the handlers left it (0: discarded).
    int keyPress(int keyAscii);
    // Whether a character typed into c meets a KeyPress handler (the form's,
    // when it previews keys, or c's own).
    bool handlesKeyPress(const Control& c) const { return (keyPreview_ && onKeyPress) || c.onKeyPress; }
    void keyUp(int keyCode, int shift);
    // Typed text into the focused text box (a user edit).
    void userEdit(Control& textBox, const QString& newText, int cursor);
    Control* activeControl() const { return active_; }
    void setActiveControl(Control* c);
    Control* captured() const { return capture_; }
    // Ends the mouse capture without a MouseUp (the mouse went to a system
    // move, a popup or another window).
    void releaseCapture();
    // Sequence number of the program's latest request to bring this window
    // forward (showing it while visible, setting Topmost), 0 for none; later
    // requests of any form have higher numbers. The view raises the window.
    uint64_t raiseRequest() const { return raiseRequest_; }

    // ---- events ----
    std::function<void()> onLoad;
    std::function<void()> onActivate;
    std::function<void()> onResize;
    // unloadMode 0: closed by the user; 1: by the program.
    std::function<void(int& cancel, int unloadMode)> onQueryUnload;
    // When set, a close by the user runs this instead of the unload: the
    // window does what its own close control does (or nothing, to refuse).
    std::function<void()> onDesktopClose;
    std::function<void(int& cancel)> onUnload;
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseUp;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyCode, int shift)> onKeyUp;
    std::function<void(int& keyAscii)> onKeyPress;

    // Runs fn as an event handler of this form: errors stop at this
    // boundary and are logged; an unloaded form is freed after the last
    // handler returns.
    void dispatch(const char* what, const std::function<void()>& fn);
    // Runs the load: used by FormSlot.
    void runLoad();
    // Called by the owner slot when the form unloads.
    std::function<void()> onReleased;
    // How many handlers of this form are on the stack.
    int handlerDepth() const { return depth_; }

private:
    friend class Control;
    friend class ControlArray;
    friend class MenuArray;
    friend class HandlerScope;
    Control& create(Kind kind, const QString& name, int index, Control* container);
    template <class FormHandler, class ControlHandler>
    int routeKey(const char* what, const FormHandler& formHandler, ControlHandler Control::*controlHandler, int code,
                 std::optional<int> shift);
    void deliverMouse(Control* target, int which, double x, double y, int button, int shift);
    // A press at (x, y): the control under it (nullptr: the form) takes the
    // capture. False, and nothing happens, when the form or that control
    // does not take the mouse.
    bool capturePress(double x, double y, int button, Control*& target);
    void propertyChanged() override { noteDamageAll(); }

    QString name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<QString, Control*> named_;
    std::map<QString, std::unique_ptr<ControlArray>> arrays_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<std::unique_ptr<Menu>> menus_;
    std::vector<Menu*> topMenus_;
    std::map<QString, std::unique_ptr<MenuArray>> menuArrays_;

    int windowState_ = 0;
    bool topmost_ = false, keyPreview_ = false, showInTaskbar_ = true, modal_ = false;
    uint64_t revision_ = 1;
    Damage damage_;

    bool loaded_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool unloading_ = false;
    int depth_ = 0;
    Control* capture_ = nullptr;
    int captureButton_ = 0;
    bool lastWasDblPress_ = false;
    bool captureIsForm_ = false;
    Control* active_ = nullptr;
    uint64_t raiseRequest_ = 0;
};

// Marks a handler of a form as running: the form (and every unloaded form)
// stays alive until the last such scope ends, which frees unloaded forms.
class HandlerScope {
public:
    explicit HandlerScope(Form* f);
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    Form* f_;
};

// The form whose handler runs innermost now (nullptr: none).
Form* handlerForm();

// Maximises the form over the screen's work area, as a window manager
// maximises a window.
void maximiseOnWorkArea(Form& f);

// All loaded forms, in load order (the view shows the visible ones).
const std::vector<Form*>& loadedForms();
// Frees unloaded forms whose handlers have all returned.
void collectUnloadedForms();
// Unloads every form (end of the program).
void unloadAllForms();

// One accessor per form: the first reference creates the form and runs its
// load (the slot holds the instance before Load runs, so a nested reference
// during Load gets the loading form); after an unload the next reference
// makes a fresh form.
template <class T>
class FormSlot {
public:
    T& operator()() { return get(); }
    T& get() {
        if (!inst_) {
            inst_ = new T();
            inst_->onReleased = [this] { inst_ = nullptr; };
            inst_->runLoad();
        }
        return *inst_;
    }
    T* peek() const { return inst_; }
    bool loaded() const { return inst_ != nullptr; }
    FormSlot() = default;
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;
    // A slot that goes away forgets its form (which may outlive it).
    ~FormSlot() {
        if (inst_) inst_->onReleased = nullptr;
    }

private:
    T* inst_ = nullptr;
};

// Converts between twips and pixels with the current scale factors.
double twipsPerPixelX();
double twipsPerPixelY();
// A picture's size in twips at the current scale.
double pictureWidthTwips(const QImage& img);
double pictureHeightTwips(const QImage& img);

// Colour values: &H00BBGGRR; top bit set names a system colour.
uint32_t rgbValue(int r, int g, int b);
QRgb toQRgb(uint32_t colour);

} // namespace core
