// Input of forms: the hit-test, mouse capture and the click order, key
// routing through KeyPreview and the focused control, and user edits.
#include "core/forms.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace core {

// ---------------------------------------------------------------- Container

Control* Container::childAt(double x, double y) const {
    for (int pass = 0; pass < 2; ++pass) {
        const bool wantWindowless = pass == 1;
        for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
            Control* c = *it;
            if (isWindowless(c->kind()) != wantWindowless) continue;
            if (!c->visible()) continue;
            if (c->kind() == Kind::Shape || c->kind() == Kind::Line) continue;
            if (!c->contains(x, y)) continue;
            if (!c->enabled()) {
                if (wantWindowless) continue;  // the mouse goes to what lies below
                return c;                      // a disabled window swallows it
            }
            if (isContainer(c->kind())) {
                double in = c->clientInset();
                if (Control* inner = c->childAt(x - c->left() - in, y - c->top() - in)) return inner;
            }
            return c;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- Form

Control* Form::hitTest(double x, double y) const { return childAt(x, y); }

void Form::setActiveControl(Control* c) {
    if (active_ == c) return;
    Control* old = active_;
    active_ = c;
    noteChange();
    if (old && old->onLostFocus) dispatch("LostFocus", [&] { old->onLostFocus(*old); });
    if (c && c->onGotFocus) dispatch("GotFocus", [&] { c->onGotFocus(*c); });
}

void Form::releaseCapture() {
    capture_ = nullptr;
    captureIsForm_ = false;
    captureButton_ = 0;
}

namespace {
enum { EvDown, EvMove, EvUp };
bool clickTakesAnyButton(Kind k) {
    return !(k == Kind::CommandButton || k == Kind::CheckBox || k == Kind::ListBox);
}
}

void Form::deliverMouse(Control* target, int which, double x, double y, int button, int shift) {
    if (!target) {
        MouseArgs a{button, shift, x, y};
        const auto& h = which == EvDown ? onMouseDown : which == EvMove ? onMouseMove : onMouseUp;
        if (h) dispatch("Mouse", [&] { h(a); });
        return;
    }
    MouseArgs a{button, shift, x - target->formX(), y - target->formY()};
    const auto& h = which == EvDown ? target->onMouseDown : which == EvMove ? target->onMouseMove : target->onMouseUp;
    target->raiseMouse(h, a);
}

bool Form::capturePress(double x, double y, int button, Control*& target) {
    if (!enabled_ || unloading_) return false;
    Control* t = hitTest(x, y);
    if (t && !t->enabled()) return false;
    capture_ = t;
    captureIsForm_ = t == nullptr;
    captureButton_ = button;
    target = t;
    return true;
}

void Form::mouseDown(double x, double y, int button, int shift) {
    Control* t = nullptr;
    if (!capturePress(x, y, button, t)) return;
    if (t && !isWindowless(t->kind()) && t->tabStop() && (t->kind() == Kind::TextBox || t->kind() == Kind::ListBox ||
                                                        t->kind() == Kind::PictureBox || t->kind() == Kind::CommandButton ||
                                                        t->kind() == Kind::CheckBox))
        setActiveControl(t);
    deliverMouse(t, EvDown, x, y, button, shift);
}

void Form::mouseMove(double x, double y, int button, int shift) {
    if (!enabled_ || unloading_) return;
    if (captureButton_ && (capture_ || captureIsForm_)) {
        deliverMouse(capture_, EvMove, x, y, button, shift);
        return;
    }
    Control* t = hitTest(x, y);
    if (t && !t->enabled()) return;
    deliverMouse(t, EvMove, x, y, 0, shift);
}

void Form::mouseUp(double x, double y, int button, int shift) {
    if (!enabled_ || unloading_) return;
    bool hadCapture = captureButton_ != 0;
    Control* t = hadCapture ? capture_ : hitTest(x, y);
    if (!hadCapture && t && !t->enabled()) return;
    bool doubleRelease = lastWasDblPress_;
    lastWasDblPress_ = false;
    releaseCapture();
    deliverMouse(t, EvUp, x, y, button, shift);
    if (!hadCapture || doubleRelease) return;
    // Click when released over the pressed control.
    if (t) {
        if (!t->form() || !t->shown()) return;
        double lx = x - t->formX(), ly = y - t->formY();
        bool inside = lx >= 0 && ly >= 0 && lx < t->width() && ly < t->height();
        if (!inside) return;
        if (button != LeftButton && !clickTakesAnyButton(t->kind())) return;
        if (t->kind() == Kind::ListBox) return;  // the selection raises Click
        if (t->kind() == Kind::CheckBox && button == LeftButton) {
            t->setValue(t->value() == 1 ? 0 : 1);  // raises Click
            return;
        }
        t->raiseClick();
    } else if (onClick) {
        dispatch("Click", onClick);
    }
}

void Form::mouseDblPress(double x, double y, int button, int /*shift*/) {
    Control* t = nullptr;
    if (!capturePress(x, y, button, t)) return;
    lastWasDblPress_ = true;
    if (t) {
        t->raiseDblClick();
    } else if (onDblClick) {
        dispatch("DblClick", onDblClick);
    }
}

// A key event: the form first when it previews keys (a code set to 0 stops
// it there), then the focused control, else the form itself.
template <class FormHandler, class ControlHandler>
int Form::routeKey(const char* what, const FormHandler& formHandler, ControlHandler Control::*controlHandler,
                   int code, std::optional<int> shift) {
    if (!enabled_ || unloading_) return 0;
    auto callForm = [&] {
        if constexpr (std::is_invocable_v<FormHandler, int&, int>)
            formHandler(code, shift.value_or(0));
        else
            formHandler(code);
    };
    if (keyPreview_ && formHandler) {
        dispatch(what, callForm);
        if (code == 0) return 0;
    }
    Control* c = active_;
    if (c && c->*controlHandler) {
        dispatch(what, [&] {
            if constexpr (std::is_invocable_v<ControlHandler, Control&, int&, int>)
                (c->*controlHandler)(*c, code, shift.value_or(0));
            else
                (c->*controlHandler)(*c, code);
        });
    } else if (!c && !keyPreview_ && formHandler) {
        dispatch(what, callForm);
    }
    return code;
}

void Form::keyDown(int keyCode, int shift) { routeKey("KeyDown", onKeyDown, &Control::onKeyDown, keyCode, shift); }

int Form::keyPress(int keyAscii) { return routeKey("KeyPress", onKeyPress, &Control::onKeyPress, keyAscii, {}); }

void Form::keyUp(int keyCode, int shift) { routeKey("KeyUp", onKeyUp, &Control::onKeyUp, keyCode, shift); }

void Form::userEdit(Control& box, const QString& newText, int cursor) {
    if (box.locked() || unloading_) return;
    QString nt = (box.maxLength_ > 0 && newText.size() > box.maxLength_) ? newText.left(box.maxLength_) : newText;
    box.selStart_ = std::clamp(cursor, 0, static_cast<int>(nt.size()));
    box.selLength_ = 0;
    if (box.text_ == nt) return;
    box.text_ = nt;
    box.propertyChanged();
    box.raiseChange();
}

} // namespace core
