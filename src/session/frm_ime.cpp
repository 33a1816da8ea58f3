#include "session/frm_ime.h"

#include <QDir>

#include "core/errors.h"
#include "core/hand_cursor.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/frm_tm.h"
#include "session/option_box.h"

namespace session {

using namespace core;

const char* const kImeHelpCaption = "输入法问题";
const char* const kImeHelpText =
    "如果输入文字时出现计算机考试***.exe遇到问题需要关闭时，说明您另外安装的输入法和本软件不兼容，您可以取消调用输入法，"
    "在您需要输入汉字时，可以按Ctrl+Shift键切换，或者点击电脑右下角的输入法按钮。";
const char* const kImeCheckCaption = "调用输入法";
const char* const kFirstPage = "已经到第一页";

QString imeOptionFile() { return config().recordFile("288890"); }

bool imeOptionTicked(const std::optional<QString>& firstLine) {
    return firstLine && *firstLine == QLatin1String("1");
}

QString infoPagePicture(int page) {
    return joinPath(config().DataDir, "9l00" + ("0" + QString::number(page)).right(2) + ".rar");
}

namespace {

// The session the help was opened from still runs: it has not ended (hand-in
// or end of practice), its question window is loaded and shown (as its bar)
// beside the practice window, and no hand-in confirmation is open.
bool sessionStillRunning() {
    if (core::session().SessionEnded) return false;
    FrmTm* tm = frmTm().peek();
    if (!tm || !tm->visible()) return false;
    if (!windows().practiceWindowLoaded || !windows().practiceWindowLoaded()) return false;
    const HandInConfirmation& h = handInConfirmation();
    return !(h.isOpen && h.isOpen());
}

} // namespace

FrmIME::FrmIME()
    : Form("FrmIME"),
      Label1(add(Kind::Label, "Label1")),
      Check1(add(Kind::CheckBox, "Check1")),
      LblLast(add(Kind::Label, "LblLast")),
      LblNext(add(Kind::Label, "LblNext")) {
    setBorderStyle(1);
    setCaption(QString::fromUtf8(kImeHelpCaption));
    setBackColor(0x00FFFFFF);
    Label1.setBackStyle(0);
    Label1.setCaption(QString::fromUtf8(kImeHelpText));
    Check1.setCaption(QString::fromUtf8(kImeCheckCaption));
    Check1.setForeColor(255);
    Check1.setBackColor(0x00FFFFFF);
    for (Control* c : {&LblLast, &LblNext}) {
        c->setBackStyle(0);
        c->setMousePointer(PtrCustom);
        c->setMouseIcon(handCursorFile());
    }
    // The page buttons lie in front of the help text.
    LblLast.zOrder(0);
    LblNext.zOrder(0);

    onLoad = [this] { Form_Load(); };
    onUnload = [this](int&) { Form_Unload(); };
    Check1.onClick = [this](Control&) { Check1_Click(); };
    LblLast.onClick = [this](Control&) { LblLast_Click(); };
    LblNext.onClick = [this](Control&) { LblNext_Click(); };
}

void FrmIME::Form_Load() {
    const double sx = config().ScaleX, sy = config().ScaleY;
    move(left(), top(), 12000 * sx, 8745 * sy);
    const ScreenInfo scr = platform().screen();
    move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    Label1.move(240 * sx, 7440 * sy, 6375 * sx, 855 * sy);
    Check1.move(5160 * sx, 7860 * sy, 1455 * sx, 255 * sy);
    LblLast.move(7320 * sx, 7650 * sy, 1635 * sx, 495 * sy);
    LblNext.move(9405 * sx, 7650 * sy, 1635 * sx, 495 * sy);
    Label1.setFontSize(9 * sx);
    Check1.setFontSize(9 * sx);

    HelpPage = 16;
    showPage();

    // Ticking the box runs its click: the file is written again and the
    // option turned on. Left unticked, the option keeps the cover's value.
    option_.show(imeOptionTicked(readFirstLine(imeOptionFile())));
}

void FrmIME::showPage() {
    // A page that cannot be read shows a plain page.
    auto pic = pictureStore().load(infoPagePicture(HelpPage));
    setPicture(pic ? *pic : Picture());
    Label1.setVisible(HelpPage < 4 || HelpPage > 14);
}

void FrmIME::Check1_Click() {
    const bool ticked = Check1.value() == 1;
    const bool kept = option_.save([](bool on) {
        // The records folder may be missing on a fresh module folder.
        QDir().mkpath(config().recordsDir());
        return writeLines(imeOptionFile(), {on ? QStringLiteral("1") : QStringLiteral("0")});
    });
    if (kept) core::session().ImeSimEnabled = ticked ? -1 : 0;
}

void FrmIME::LblLast_Click() {
    if (HelpPage > 1)
        HelpPage -= 1;
    else
        MsgBox(QString::fromUtf8(kFirstPage), MbOkOnly);
    showPage();
}

void FrmIME::LblNext_Click() {
    HelpPage = HelpPage < 16 ? HelpPage + 1 : 1;
    showPage();
}

void FrmIME::Form_Unload() {
    // Undoes the shrinking the help button did, while the session that
    // opened the help is still running (a hand-in may have ended it).
    if (!sessionStillRunning()) return;
    resumeNext([] { frmTm().peek()->Command2_Click(); });
}

core::FormSlot<FrmIME>& frmIme() {
    static core::FormSlot<FrmIME> slot;
    return slot;
}

} // namespace session
