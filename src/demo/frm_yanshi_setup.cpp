// The demonstration's scene set-up: its own reading of the step record,
// with the shared decoders. Nothing here judges or records.
#include "demo/frm_yanshi.h"
#include "demo/frm_yanshi_util.h"

#include "core/errors.h"
#include "core/text.h"
#include "core/windows.h"
#include "demo/step_rules.h"
#include "engine/input_box.h"
#include "engine/text_table.h"

namespace demo {

using core::Control;
using detail::rec;
using detail::st;
using detail::sx;
using detail::sy;
using engine::PictureUse;

void FrmYanShi::setData() {
    // Asked for inside a set-up (a look-in step that starts on its row to
    // choose): the set-up under way ends and the new step is laid out once
    // it has returned, so a run of such steps does not nest.
    if (settingUp_) {
        setupAgain_ = true;
        return;
    }
    settingUp_ = true;
    struct Done {
        FrmYanShi* f;
        ~Done() { f->settingUp_ = f->setupAgain_ = false; }
    } done{this};
    do {
        setupAgain_ = false;
        layOutStep();
    } while (setupAgain_);
}

void FrmYanShi::layOutStep() {
    core::SessionState& s = core::session();
    auto& w = core::windows();

    // Window order: the question window topmost, this one in the normal order.
    st([&] {
        if (w.questionWindowLoaded && w.questionWindowLoaded()) w.questionWindow().setTopmost(true);
    });
    st([&] { setTopmost(false); });

    st([&] { Shape5.setBorderColor(255); });
    st([&] { CSH(); });
    m.TypePos = 0;
    st([&] { Img1J.setVisible(false); });
    st([&] { Text1.setFontSize(9 * sx()); });
    st([&] { Text2.setFontSize(9 * sx()); });
    for (Control* bar : {&PicMenu, &PicTool, &PicHui, &PicElse}) st([&] { bar->setVisible(false); });
    m.TickCount = 0;
    st([&] { Shape6.move(Shape6.left(), Shape6.top(), 10, 10); });
    m.Dragging = false;
    m.OpenMenu = m.OpenItem = m.OpenSubItem = 0;
    m.JumpStep = QStringLiteral("0");

    readRecordStage();
    if (!recordFound_) {
        // No record for this step: the demonstration ends here rather than
        // laying out another record again.
        for (core::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7})
            st([&] { t->setEnabled(false); });
        startEnd();
        return;
    }
    for (int i = 0; i <= 13; ++i) {
        st([&] { LblXXK[i].move(-1 * sx(), -1 * sy(), 1, 1); });
        st([&] { LblXXK[i].setCaption(QString()); });
    }

    pictureStage();
    st([&] { m.DropX = rec().dropX(); });
    st([&] { m.DropY = rec().dropY(); });
    inputBoxStage();
    hintStage();
    const bool guided = s.RunMode == core::RunGuided;
    for (Control* c : {&LHelp, &Shape1, &Shape4}) st([&] { c->setVisible(guided); });
    targetStage();
    sourceStage();

    st([&] { m.StepCode = rec().stepCode(); });
    st([&] { Timer3.setEnabled(false); });
    if (rec().actionCode().startsWith(u"80"))
        for (Control* c : {&Label1, &Label4}) st([&] { c->move(c->left(), c->top(), 1, 1); });

    if (rec().actionCode() == u"9999") {
        st([&] { LHelp.setCaption(QString::fromUtf8("操作成功！")); });
        st([&] { Shape1.setVisible(false); });
        startEnd();
        return;
    }

    st([&] { Shape1.setVisible(LHelp.visible()); });
    wordingStage();
    st([&] { listStage(); });
    if (setupAgain_) return;  // the step completed itself: the next one is laid out
    cursorStage();
    barsStage();
    menuPathStage();
    st([&] {
        QString c = LHelp.caption();
        c.replace(u'|', QStringLiteral("\r\n"));
        LHelp.setCaption(c);
    });

    st([&] { CSH(); });
    st([&] { ToolCSH(); });
    st([&] { ElseToolCSH(); });
    st([&] { MuBiaoWei(); });
}

void FrmYanShi::readRecordStage() {
    core::SessionState& s = core::session();
    recordFound_ = false;
    st([&] {
        const int q = s.CurrentQuestion;
        if (q < 1 || q > 45) return;
        const long line = long(s.StepStart[q]) + m.DemoStep - 1;
        const auto lines = core::readLines(s.ScriptFile);
        if (!lines || line < 1 || line > lines->size()) return;
        s.StepLine = (*lines)[line - 1];
        recordFound_ = true;
    });
}

void FrmYanShi::pictureStage() {
    const QString code = rec().formPicture();
    if (code == u"888888") {
        if (m.DemoStep == 1) st([&] { setPicture(dataPicture(QStringLiteral("310001"))); });
    } else {
        st([&] { setPicture(dataPicture(code)); });
    }
    for (int k = 1; k <= 6; ++k) {
        Control& img = overlay(k);
        const PictureUse use = rec().imagePictureUse(k);
        if (use == engine::PictureHide) {
            st([&] { img.setVisible(false); });
            continue;
        }
        st([&] { img.setLeft(rec().imageX(k) * sx()); });
        st([&] { img.setTop(rec().imageY(k) * sy()); });
        if (use == engine::PictureShow) st([&] { img.setPicture(dataPicture(rec().imagePicture(k))); });
        st([&] { img.setVisible(true); });
    }
}

void FrmYanShi::inputBoxStage() {
    if (!rec().hasInputBox()) {
        st([&] { Text1.setVisible(false); });
        st([&] { Text2.setVisible(false); });
        return;
    }
    st([&] { Text1.setVisible(true); });
    st([&] { Text1.move(rec().inputX() * sx(), rec().inputY() * sy(), rec().inputW() * sx(), rec().inputH() * sy()); });
    st([&] { Text1.setText(engine::initialInputText(rec().inputTextLine())); });
    st([&] { Text1.setFocus(); });
    st([&] { Text1.setSelStart(int(Text1.text().size())); });
    engine::applyInputFormat(Text1, st);
}

void FrmYanShi::hintStage() {
    if (!rec().hasHintPosition()) return;  // the hint of the step before stays
    st([&] { LHelp.move(rec().hintX() * sx(), rec().hintY() * sy()); });
    st([&] {
        const QString ref = rec().hintLine();
        if (ref == u"000") {
            LHelp.setCaption(QString());
            return;
        }
        const QString hint = core::shownText(engine::TextTableLookup(ref));
        LHelp.setCaption(hint);
        m.HintText = hint;
    });
}

void FrmYanShi::targetStage() {
    st([&] { Label1.move(Label1.left(), Label1.top(), 1, 1); });
    if (!rec().hasTarget()) {
        st([&] { Label1.setVisible(false); });
        st([&] { Shape1.setVisible(false); });
    } else {
        st([&] { Label1.setVisible(true); });
        st([&] { Label1.move(rec().redBoxX() * sx(), rec().redBoxY() * sy()); });
        st([&] { m.RedBoxW = rec().redBoxW(); });
        st([&] { Label1.setWidth(m.RedBoxW * sx()); });
        st([&] { m.RedBoxH = rec().redBoxH(); });
        st([&] {
            if (m.RedBoxH != 0) {
                Label1.setAutoSize(false);
                Label1.setHeight(m.RedBoxH * sy());
            } else {
                Label1.setAutoSize(true);
            }
        });
        if (m.RedBoxH == 0) {
            st([&] { Label1.move(Label1.left(), Label1.top(), 1, 1); });
            st([&] { Shape1.setVisible(false); });
        }
    }
    st([&] { Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height()); });
    st([&] { tabStage(); });
}

void FrmYanShi::sourceStage() {
    if (rec().hasSource()) {
        st([&] { Label4.setVisible(true); });
        st([&] {
            Label4.move(rec().sourceX() * sx(), rec().sourceY() * sy(), rec().sourceW() * sx(), rec().sourceH() * sy());
        });
    } else {
        st([&] { Label4.move(-1, Label4.top(), 1, 1); });
    }
    st([&] { Shape4.move(Label4.left(), Label4.top(), Label4.width(), Label4.height()); });
}

void FrmYanShi::wordingStage() {
    const QString code = rec().actionCode();
    if (code == u"0021") {
        st([&] { Text2.setText(Text1.text()); });
        st([&] { Text2.move(Text1.left(), Text1.top(), Text1.width(), Text1.height()); });
        st([&] { Text2.setVisible(true); });
        st([&] { Text1.setVisible(false); });
    } else {
        st([&] { Text2.setVisible(false); });
    }

    const HintWording wd = hintWording(code, LHelp.caption());
    if (wd.clearsSelection) st([&] { Text1.setSelLength(0); });
    st([&] { LHelp.setCaption(wd.caption); });
    if (wd.frame == FrameRule::Hidden) st([&] { Shape1.setVisible(false); });
    if (wd.frame == FrameRule::FollowsHint) st([&] { Shape1.setVisible(LHelp.visible()); });

    if (code == u"0028") {
        st([&] { Text4.move(2880 * sx(), 1560 * sy(), 8865 * sx(), 225 * sy()); });
        st([&] { Text4.setFontSize(11 * sx()); });
        st([&] { Text4.setVisible(true); });
    } else {
        st([&] { Text4.setVisible(false); });
    }
}

void FrmYanShi::cursorStage() {
    st([&] {
        if (Label1.height() <= 10 || !Label1.visible()) Shape1.setVisible(false);
    });
    st([&] { Label1.setMousePointer(0); });
    st([&] {
        const QString c = rec().field(101, 5);
        if (c.startsWith(u'S')) Label1.setMousePointer(core::val16(c.right(2)));
        if (c.startsWith(u'M')) {
            Label1.setMousePointer(core::PtrCustom);
            Label1.setMouseIcon(engine::cursorFile(c.right(2)));
        }
    });
}

void FrmYanShi::barsStage() {
    for (const QString& code : {rec().barsCode(), rec().altSetCode()}) {
        if (!code.startsWith(u'A') && !code.startsWith(u'B')) continue;
        const QString bits = code.mid(1, 1);
        const int mask = bits.size() == 1 && bits[0] >= u'1' && bits[0] <= u'7' ? bits[0].unicode() - u'0' : 0;
        if (mask & 1) st([&] { PicMenu.setVisible(true); });
        if (mask & 2) st([&] { PicTool.setVisible(true); });
        if (mask & 4) st([&] { PicHui.setVisible(true); });
        if (code.startsWith(u'B')) st([&] { PicElse.setVisible(true); });
    }
}

void FrmYanShi::menuPathStage() {
    if (rec().actionCode() != u"7000") return;
    st([&] {
        const QString slot1 = rec().actionSlot1();
        const QString path = slot1.startsWith(u'H') ? slot1 : rec().actionSlot2();
        m.OpenMenu = core::val16(core::mid(path, 2, 2));
        m.OpenItem = core::val16(core::mid(path, 4, 2));
        m.OpenSubItem = core::val16(core::mid(path, 6, 2));
        m.JumpStep = core::mid(path, 10, 1);
        if (m.JumpStep.isEmpty()) m.JumpStep = QStringLiteral("0");
        if (m.OpenItem == 86) m.OpenItem = 57;
    });
}

} // namespace demo
