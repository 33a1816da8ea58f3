#include "session/frm_picture.h"

#include "core/platform.h"
#include "core/state.h"
#include "core/windows.h"
#include "session/frm_tm.h"

namespace session {

using namespace core;

void moveWindowWithMouse(Form& form, std::function<void()> afterMove) {
    form.releaseCapture();
    if (windows().startWindowMove) {
        windows().startWindowMove(form, std::move(afterMove));
        return;
    }
    if (afterMove) afterMove();
}

FrmPicture::FrmPicture()
    : Form("FrmPicture"), Image1(add(Kind::Image, "Image1")), Timer1(addTimer("Timer1", 100, true)) {
    setBorderStyle(0);
    setShowInTaskbar(false);
    onLoad = [this] { Form_Load(); };
    Timer1.onTimer = [this](Timer&) { Timer1_Timer(); };
    auto drag = [this](int button) {
        if (button == LeftButton) moveWindowWithMouse(*this);
    };
    onMouseDown = [drag](const MouseArgs& a) { drag(a.button); };
    Image1.onMouseDown = [drag](Control&, const MouseArgs& a) { drag(a.button); };
    // Closed by the desktop: hidden, as by the question window's picture
    // button (the popup is never unloaded).
    onDesktopClose = [this] {
        if (frmTm().loaded())
            frmTm()().closePicture();
        else
            hide();
    };
}

void FrmPicture::Form_Load() {
    Image1.setLeft(60 * config().ScaleX);
    Image1.setTop(60 * config().ScaleY);
    Timer1.setEnabled(true);
}

void FrmPicture::Timer1_Timer() {
    // Fits the popup to its picture with a margin and centres it on the screen.
    setWidth(Image1.width() + 120 * config().ScaleX);
    setHeight(Image1.height() + 120 * config().ScaleY);
    setTopmost(true);
    const ScreenInfo scr = platform().screen();
    move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    Timer1.setEnabled(false);
}

core::FormSlot<FrmPicture>& frmPicture() {
    static core::FormSlot<FrmPicture> slot;
    return slot;
}

} // namespace session
