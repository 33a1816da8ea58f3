#include "session/frm_logon.h"

#include "core/platform.h"
#include "core/windows.h"

namespace session {

// Until the login is built this window only says so; closing it goes back to
// the cover, as the login's own way out does.
FrmLogon::FrmLogon() : Form("FrmLogon") {
    setBorderStyle(3);
    setCaption(QStringLiteral("考生登录"));
    move(0, 0, 6000, 2400);
    core::Control& note = add(core::Kind::Label, "LblNote");
    note.setBackStyle(0);
    note.setFontName(QStringLiteral("宋体"));
    note.setFontSize(10.5);
    note.move(480, 600, 5000, 900);
    note.setCaption(QStringLiteral("模拟考试的登录尚未提供。\n关闭本窗口返回首页。"));
    core::Control& back = add(core::Kind::CommandButton, "CmdExit");
    back.move(4320, 1200, 1200, 420);
    back.setCaption(QStringLiteral("返回"));
    back.onClick = [this](core::Control&) { unload(); };
    onLoad = [this] {
        const core::ScreenInfo scr = core::platform().screen();
        move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    };
    onUnload = [](int&) {
        if (core::windows().showCover) core::windows().showCover();
    };
}

core::FormSlot<FrmLogon>& frmLogon() {
    static core::FormSlot<FrmLogon> slot;
    return slot;
}

} // namespace session
