// The cover's frame, button faces and tabs: moving and closing the window,
// hover and press faces of the command buttons, the update option.
#include "cover/frm_fengmian.h"

#include "core/errors.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "cover/frm_fengmian_util.h"
#include "session/bank.h"
#include "session/records.h"

namespace cover {

using namespace core;
using namespace detail;

// ------------------------------------------------------ frame, faces, tabs

void FrmFengmian::Form_MouseDown(const MouseArgs& a) {
    if (a.button != LeftButton) return;
    if (windows().startWindowMove) windows().startWindowMove(*this, {});
}

void FrmFengmian::LblCaption_MouseDown(const MouseArgs& a) { Form_MouseDown(a); }

void FrmFengmian::showTabFace(int tab, int face) {
    Control* const faces[2][3] = {{&ImgTiKu, &ImgTiKu1, &ImgTiKu2}, {&ImgKaCH, &ImgKaCH1, &ImgKaCH2}};
    for (int t = UnitTab; t <= PaperTab; ++t)
        for (int f = NormalFace; f <= PressedFace; ++f) faces[t][f]->setVisible(f == (t == tab ? face : NormalFace));
}

void FrmFengmian::Form_MouseMove() {
    ImgTiKu.setVisible(true);
    ImgKaCH.setVisible(true);
    for (Control* c : {&ImgTiKu1, &ImgTiKu2, &ImgKaCH1, &ImgKaCH2, &ImgClose}) c->setVisible(false);
    MouseMove();
}

void FrmFengmian::LblClose_Click() {
    if (PicPro.visible()) {
        PicPro.setVisible(false);
        return;
    }
    const int answer = MsgBox(tr8(kQuitQuestion), MbYesNo | MbQuestion | MbDefaultButton2, tr8(kQuitTitle));
    if (answer == MrYes) {
        // Ends the program; nothing of the cover is touched after this.
        if (windows().exitProgram) windows().exitProgram(0);
        return;
    }
    ImgClose.setVisible(false);
}

QString detail::faceFile(int index, const QString& kind) {
    return joinPath(config().DataDir, kind + session::twoDigits(index) + ".rar");
}

void FrmFengmian::setFace(int index, const QString& kind) {
    if (auto p = pictureStore().load(faceFile(index, kind))) imgReg[index].setPicture(*p);
}

void FrmFengmian::CmdReg_MouseMove(int index) {
    if (HoverButton == index) return;
    if (HoverButton < 0) HoverButton = 0;
    setFace(HoverButton, QStringLiteral("l020"));
    HoverButton = static_cast<int16_t>(index);
    setFace(index, QStringLiteral("l021"));
}

void FrmFengmian::CmdReg_MouseDown(int index) {
    if (HoverButton < 0) HoverButton = 0;
    setFace(HoverButton, QStringLiteral("l020"));
    HoverButton = static_cast<int16_t>(index);
    setFace(index, QStringLiteral("l022"));
}

void FrmFengmian::MouseMove() {
    for (int i = 0; i <= 4; ++i) {
        LblPro[i].setForeColor(kPlainInfoColour);
        LblPro[i].setFontUnderline(false);
    }
    for (int i = 1; i <= 15; ++i) setFace(i, QStringLiteral("l020"));
    HoverButton = -1;
}

void FrmFengmian::Check1_Click() {
    updateOption_.save([](bool on) { return writeLines(config().programFile("updata.txt"), {on ? "1" : "0"}); });
}
} // namespace cover
