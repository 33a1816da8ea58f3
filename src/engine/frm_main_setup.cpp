// Setting up a step: the stages that read the step record and lay out the
// scene, the question's end and the typing, frame and bar set-ups.
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/input_box.h"

#include "chrome/design_pictures.h"
#include "chrome/zones.h"
#include "context_menu/context_menu_file.h"
#include "core/errors.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/question_captions.h"
#include "engine/step_record.h"
#include "engine/text_table.h"

namespace engine {

// ------------------------------------------------------------------ step set-up

void FrmMain::setData() {
    // Asked for by a check inside a set-up (a step that completes itself):
    // the set-up under way ends and the new step is laid out once it has
    // returned, so a run of such steps does not nest.
    if (settingUp_) {
        // A record found again past the end of the script (a script cut
        // short) that completes itself would do so without end: the
        // question stays where it is.
        if (replaying_) {
            core::session().CurrentStep = ownStep_;
            return;
        }
        setupAgain_ = true;
        return;
    }
    settingUp_ = true;
    struct Done {
        FrmMain* f;
        ~Done() { f->settingUp_ = f->setupAgain_ = f->replaying_ = false; }
    } done{this};
    do {
        setupAgain_ = false;
        layOutStep();
    } while (setupAgain_);
}

void FrmMain::layOutStep() {
    takeStepRecord();
    resetStage();
    readRecordStage();
    screenshotStage();
    overlayStage();
    resumeNext([&] { DropX = rec().dropX(); });
    resumeNext([&] { DropY = rec().dropY(); });
    inputBoxStage();
    hintStage();
    targetStage();
    resumeNext([&] { setupTabDialogStage(); });
    resumeNext([&] { setupBackHotSpotStage(); });
    resumeNext([&] { setupSourceBoxStage(); });
    resumeNext([&] { setupActionStage(); });
    resumeNext([&] { setupTypingStage(); });
    resumeNext([&] { setupListStage(); });
    resumeNext([&] { setupFramesAndBarsStage(); });
    resumeNext([&] { finishSceneStage(); });
}

void FrmMain::resetStage() {
    resumeNext([&] { LblSuccess.setVisible(false); });
    orderWindows();
    resumeNext([&] { Pic1J.move(30000 * sx(), 30000 * sy()); });
    // The row highlights of the drop-down and submenu closed by the step
    // change go with them: a drop-down the new step shows pre-opened must
    // not show the old menu's row over its own picture.
    resumeNext([&] { Img1J.clearPicture(); });
    resumeNext([&] { Img2J.clearPicture(); });
    // A pre-opened drop-down armed by the step before is not laid out now.
    resumeNext([&] { TimTool.setEnabled(false); });
    for (Control* c : {&PicMenu, &PicTool, &PicHui, &PicElse, &Shape6, &PicTuBiao})
        resumeNext([&] { c->setVisible(false); });
    resumeNext([&] { Text1.setFontSize(9 * sx()); });
    resumeNext([&] { Text2.setFontSize(9 * sx()); });
    resumeNext([&] { Label4.setMousePointer(core::PtrDefault); });
}

void FrmMain::takeStepRecord() {
    core::SessionState& s = core::session();
    // The step script is read from its top at every step; reading past its
    // last line leaves that line.
    bool reached = false;
    nextStepLine_.clear();
    resumeNext([&] {
        const int q = questionIndex(s.CurrentQuestion, 45);
        const long t = long(s.StepStart[q]) + s.CurrentStep - 1;
        if (t < -32768 || t > 32767) throw core::RuntimeError(core::ErrOverflow, "overflow");
        const auto lines = core::readLines(s.ScriptFile);
        if (!lines) throw core::RuntimeError(core::ErrFileNotFound, "step script not found");
        if (lines->isEmpty()) return;
        reached = t >= 1 && t <= lines->size();
        s.StepLine = reached ? lines->at(t - 1) : lines->back();
        nextStepLine_ = reached && t < lines->size() ? lines->at(t) : QString();
    });
    // The record the question's last set-up laid out, found again where no
    // record lies (past the end of the script, or none read).
    replaying_ = !reached && ownStep_ > 0 && s.CurrentQuestion == ownQuestion_ && s.StepLine == ownStepLine_;
    ownStepLine_ = s.StepLine;
    ownQuestion_ = s.CurrentQuestion;
    ownStep_ = s.CurrentStep;
}

void FrmMain::readRecordStage() {
    core::SessionState& s = core::session();

    // Tab hot-spots are parked until a tab step places them.
    for (int i = 0; i <= 13; ++i) {
        resumeNext([&] { LblXXK[i].setHeight(1); });
        resumeNext([&] { LblXXK[i].setWidth(1); });
        resumeNext([&] { LblXXK[i].setLeft(-1 * sx()); });
        resumeNext([&] { LblXXK[i].setTop(-1 * sy()); });
        resumeNext([&] { LblXXK[i].setCaption(QString()); });
    }

    if (s.CurrentStep == 1)
        for (int k = 1; k <= 6; ++k) resumeNext([&] { overlay(k).clearPicture(); });

    resumeNext([&] { s.QuestionStep[questionIndex(s.CurrentQuestion, 40)] = s.CurrentStep; });
}

void FrmMain::screenshotStage() {
    core::SessionState& s = core::session();
    const QString code = rec().formPicture();
    if (code == QStringLiteral("888888")) {
        if (s.CurrentStep != 1) return;  // the background stays
        resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][0] = QStringLiteral("310001"); });
        resumeNext([&] { setPicture(dataPicture(QStringLiteral("310001"))); });
        return;
    }
    resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][0] = code; });
    resumeNext([&] { setPicture(dataPicture(code)); });
}

void FrmMain::overlayStage() {
    core::SessionState& s = core::session();
    for (int k = 1; k <= 6; ++k) {
        Control& img = overlay(k);
        const PictureUse use = rec().imagePictureUse(k);
        if (use == PictureHide) {
            resumeNext([&] { img.setVisible(false); });
            continue;
        }
        resumeNext([&] { img.setLeft(rec().imageX(k) * sx()); });
        resumeNext([&] { img.setTop(rec().imageY(k) * sy()); });
        if (k == 5) {
            // Where the image stands: scaled, as the drop point is.
            resumeNext([&] { DragLeft = int32_t(core::roundHalfEven(rec().imageX(5) * sx())); });
            resumeNext([&] { DragTop = int32_t(core::roundHalfEven(rec().imageY(5) * sy())); });
        }
        if (use == PictureShow) {
            const QString code = rec().imagePicture(k);
            resumeNext([&] { s.QuestionPictures[questionIndex(s.CurrentQuestion, 40)][k] = code; });
            resumeNext([&] { img.setPicture(dataPicture(code)); });
        }
        resumeNext([&] { img.setVisible(true); });
    }
}

void FrmMain::inputBoxStage() {
    if (!rec().hasInputBox()) {
        resumeNext([&] { Text1.setVisible(false); });
        resumeNext([&] { Text2.setVisible(false); });
        return;  // the box keeps the format of an earlier step
    }
    resumeNext([&] { Text1.setVisible(true); });
    resumeNext([&] { Text1.setLeft(rec().inputX() * sx()); });
    resumeNext([&] { Text1.setTop(rec().inputY() * sy()); });
    resumeNext([&] { Text1.setWidth(rec().inputW() * sx()); });
    resumeNext([&] { Text1.setHeight(rec().inputH() * sy()); });

    // Initial text: the text-table entry up to its first "|", all selected.
    // Assigning it runs the box's own checks.
    resumeNext([&] { Text1.setText(initialInputText(rec().inputTextLine())); });
    resumeNext([&] { Text1.setFocus(); });
    resumeNext([&] { Text1.setSelStart(0); });
    resumeNext([&] { Text1.setSelLength(int(Text1.text().size())); });

    applyInputFormat(Text1, [this](const std::function<void()>& statement) { resumeNext(statement); });
}

void FrmMain::hintStage() {
    if (rec().hasHintPosition()) {
        resumeNext([&] { LHelp.setLeft(rec().hintX() * sx()); });
        resumeNext([&] { LHelp.setTop(rec().hintY() * sy()); });
        resumeNext([&] {
            const QString ref = rec().hintLine();
            if (ref == QStringLiteral("000")) {
                LHelp.setCaption(QString());  // HintText stays
                return;
            }
            const QString hint = core::shownText(TextTableLookup(ref));
            LHelp.setCaption(hint);
            HintText = hint;
        });
    }

    // Guided mode shows the hint and the frames.
    const bool guided = core::session().RunMode == core::RunGuided;
    for (Control* c : {&LHelp, &Shape1, &Shape2, &Shape4}) resumeNext([&] { c->setVisible(guided); });
}

void FrmMain::targetStage() {
    resumeNext([&] { Label1.setHeight(1); });
    resumeNext([&] { Label1.setWidth(1); });
    if (!rec().hasTarget()) {
        // RedBoxW and RedBoxH keep the values of the last step with a target.
        resumeNext([&] { Label1.setHeight(1); });
        resumeNext([&] { Label1.setWidth(1); });
        resumeNext([&] { Label1.setVisible(false); });
        resumeNext([&] { Shape1.setVisible(false); });
    } else {
        resumeNext([&] { Label1.setVisible(true); });
        resumeNext([&] { Label1.setLeft(rec().redBoxX() * sx()); });
        resumeNext([&] { Label1.setTop(rec().redBoxY() * sy()); });
        resumeNext([&] { RedBoxW = rec().redBoxW(); });
        resumeNext([&] { Label1.setWidth(RedBoxW * sx()); });
        resumeNext([&] { RedBoxH = rec().redBoxH(); });
        resumeNext([&] {
            if (RedBoxH != 0) {
                Label1.setAutoSize(false);
                Label1.setHeight(RedBoxH * sy());
            } else {
                Label1.setAutoSize(true);
            }
        });
    }
    if (RedBoxH == 0) {
        resumeNext([&] { Label1.setHeight(1); });
        resumeNext([&] { Label1.setWidth(1); });
        resumeNext([&] { Shape1.setVisible(false); });
    }
    resumeNext([&] { Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height()); });
}

void FrmMain::setupActionStage() {
    // Wait steps go on by themselves after one tick of Timer3.
    resumeNext([&] { StepCode = rec().stepCode(); });
    resumeNext([&] { Timer3.setEnabled(StepCode == 8888); });

    // Image drags: the target and the source box shrink to 1 x 1 twip.
    if (rec().actionCode().startsWith(QStringLiteral("80"))) {
        for (Control* c : {&Label1, &Label4}) {
            resumeNext([&] { c->setWidth(1); });
            resumeNext([&] { c->setHeight(1); });
        }
    }

    if (rec().actionCode() == QStringLiteral("9999"))
        questionEnd();
    else
        resumeNext([&] { Shape1.setVisible(LHelp.visible()); });
}

void FrmMain::questionEnd() {
    core::SessionState& s = core::session();
    resumeNext([&] {
        int16_t& state = s.QuestionState[questionIndex(s.CurrentQuestion, 40)];
        if (state < 4) state += 4;
    });
    resumeNext([&] { Shape1.setVisible(false); });
    if (s.RunMode != core::RunExam) {
        resumeNext([&] { LblSuccess.setVisible(true); });
        resumeNext([&] { LHelp.setVisible(false); });
    }
    auto& w = core::windows();
    resumeNext([&] { w.showUnsolvedQuestions(unsolvedList(s)); });
    resumeNext([&] { w.markQuestionCompleted(); });
}

void FrmMain::setupTypingStage() {
    const QString code = rec().actionCode();

    // Rename box.
    if (code == QStringLiteral("0021")) {
        resumeNext([&] { Text2.setText(Text1.text()); });
        resumeNext([&] { Text2.setLeft(Text1.left()); });
        resumeNext([&] { Text2.setTop(Text1.top()); });
        resumeNext([&] { Text2.setHeight(Text1.height()); });
        resumeNext([&] { Text2.setWidth(Text1.width()); });
        resumeNext([&] { Text2.setVisible(true); });
        resumeNext([&] { Text1.setVisible(false); });
    } else {
        resumeNext([&] { Text2.setVisible(false); });
    }

    // Overlay box.
    if (code == QStringLiteral("0027")) {
        resumeNext([&] { Shape1.setVisible(false); });
        resumeNext([&] { Text3.setText(Text1.text()); });
        resumeNext([&] { Text3.setLeft(Text1.left()); });
        resumeNext([&] { Text3.setTop(Text1.top()); });
        resumeNext([&] { Text3.setHeight(Text1.height()); });
        resumeNext([&] { Text3.setWidth(Text1.width()); });
        resumeNext([&] { Text3.setFontSize(Text1.fontSize()); });
        resumeNext([&] { Text3.setFontName(Text1.fontName()); });
        resumeNext([&] { Text3.setForeColor(Text1.foreColor()); });
        resumeNext([&] { Text3.setBackColor(Text1.backColor()); });
        resumeNext([&] { Text3.setFontBold(Text1.fontBold()); });
        resumeNext([&] { Text3.setVisible(true); });
        // The input box took the focus before the overlay box was shown: its
        // focus move to the overlay box happens now.
        resumeNext([&] {
            if (core::session().ImeSimEnabled && activeControl() == &Text1) Text3.setFocus();
        });
        resumeNext([&] { Text1.setVisible(false); });
    } else {
        resumeNext([&] { Text3.setVisible(false); });
    }

    // Typing and selection hints: the alternatives read "a或  b".
    if (!code.startsWith(QStringLiteral("002"))) return;
    resumeNext([&] { Shape1.setVisible(false); });
    QString t;
    resumeNext([&] {
        t = LHelp.caption();
        t.replace(u'|', QStringLiteral("或  "));
        LHelp.setCaption(t);
    });
    const QString typeIt = QStringLiteral("输入 ");
    auto emptySelection = [&] { resumeNext([&] { Text1.setSelLength(0); }); };
    auto frameWithHint = [&] { resumeNext([&] { Shape1.setVisible(LHelp.visible()); }); };
    auto caption = [&](const QString& c) { resumeNext([&] { LHelp.setCaption(c); }); };
    if (code == QStringLiteral("0020") || code == QStringLiteral("0021") || code == QStringLiteral("0025") ||
        code == QStringLiteral("0027")) {
        emptySelection();
        caption(typeIt + t);
    } else if (code == QStringLiteral("0022")) {
        emptySelection();
        frameWithHint();
        caption(typeIt + t + QStringLiteral(" 并按回车键或点红色方框处"));
    } else if (code == QStringLiteral("0023")) {
        emptySelection();
        caption(QStringLiteral("请选中 ") + t);
    } else if (code == QStringLiteral("0024")) {
        emptySelection();
        caption(typeIt + t + QStringLiteral(" 并按回车键"));
    } else if (code == QStringLiteral("0026")) {
        emptySelection();
        frameWithHint();
        caption(typeIt + t + QStringLiteral(" 并点击红色方框处"));
    } else {
        caption(t);
    }
}

void FrmMain::setupFramesAndBarsStage() {
    // Frames: no red frame on a hidden or flat target; the yellow frame
    // follows the hint.
    resumeNext([&] {
        if (Label1.height() <= 10 || !Label1.visible()) Shape1.setVisible(false);
    });
    resumeNext([&] { Shape2.setVisible(LHelp.visible()); });

    resumeNext([&] { setTargetPointer(); });

    // Bars named by BarsCode: A, B or C and a mask of 1 menu bar, 2 toolbars,
    // 4 drawing bar.
    const QString bars = rec().barsCode();
    const QString kind = core::left(bars, 1);
    if (kind != u"A" && kind != u"B" && kind != u"C") return;
    const QString d = core::mid(bars, 2, 1);
    const int mask = d.size() == 1 && d[0] >= u'1' && d[0] <= u'7' ? d[0].unicode() - u'0' : 0;
    if (mask & 1) resumeNext([&] { PicMenu.setVisible(true); });
    if (mask & 2) resumeNext([&] { PicTool.setVisible(true); });
    if (mask & 4) resumeNext([&] { PicHui.setVisible(true); });
    if (kind == u"B") resumeNext([&] { PicElse.setVisible(true); });
    if (kind == u"C") {
        resumeNext([&] { PicTuBiao.setVisible(true); });
        resumeNext([&] { Image6.move(5520 * sx(), 750 * sy()); });
        resumeNext([&] {
            Image6.setPicture(core::loadPictureOrThrow(chrome::chromePictureFile(ExamDataPath, chrome::chartToolbarPictureCode())));
        });
        resumeNext([&] { Image6.setVisible(true); });
    }
}

void FrmMain::setTargetPointer() {
    // A cursor file that cannot be read gives the default pointer.
    Label1.setMousePointer(core::PtrDefault);
    const CursorCode c = rec().cursorCode();
    if (c.kind == CursorCode::Standard) {
        Label1.setMousePointer(c.number);
    } else if (c.kind == CursorCode::Custom) {
        const QString file = c.file();
        if (!core::readCursorFile(file).ok) return;
        Label1.setMousePointer(core::PtrCustom);
        Label1.setMouseIcon(file);
    }
}

void FrmMain::finishSceneStage() {
    // Hints of steps other than typing: "|" is a line break.
    resumeNext([&] {
        QString t = LHelp.caption();
        t.replace(u'|', QStringLiteral("\r\n"));
        LHelp.setCaption(t);
    });
    orderWindows();
    resumeNext([&] { frmCsh(); });
    resumeNext([&] { ElseToolCSH(); });
    resumeNext([&] { TimerDisFK.setEnabled(true); });
    prefetchStepPictures(nextStepLine_);
}

void FrmMain::prefetchStepPictures(const QString& stepLine) {
    if (stepLine.isEmpty()) return;
    const StepRecord r(stepLine);
    QStringList files;
    if (!r.formPictureKeeps()) files << core::config().dataFile(r.formPicture());
    for (int k = 1; k <= 6; ++k)
        if (r.imagePictureUse(k) == PictureShow) files << core::config().dataFile(r.imagePicture(k));
    core::pictureStore().prefetch(files);
}
} // namespace engine
