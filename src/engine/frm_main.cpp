#include "engine/frm_main.h"
#include "engine/frm_main_util.h"

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

// ------------------------------------------------------------------ load

void FrmMain::Form_Load() {
    const core::ScreenInfo scr = core::platform().screen();

    // Maximised, or 800 x 600 pixels centred on a screen higher than
    // 650 pixels. A maximised window covers the work area the desktop's
    // panels leave, and the docking below uses that place and size.
    core::maximiseOnWorkArea(*this);
    if (screenHeightPixels() > 650 * sy()) {
        setWindowState(core::StateNormal);
        setWidth(12000 * sx());
        setHeight(9000 * sy());
        move((scr.widthTwips - width()) / 2, (scr.heightTwips - height()) / 2);
    }

    // The question window sits at the bottom-right corner.
    dockQuestionWindow();

    // Target caption and logo; a missing logo leaves the image empty.
    Label1.setCaption(QString());
    ImgLogo.move(10200 * sx(), 8235 * sy(), 1740 * sx(), 345 * sy());
    if (auto logo = core::pictureStore().load(core::config().dataFile("l62009"))) ImgLogo.setPicture(*logo);

    // Fonts.
    LHelp.setFontSize(11 * sx());
    LstLA.setFontSize(9 * sx());
    LblXXK[0].setFontSize(9 * sx());

    // Every question of a new run starts at its first step.
    for (int q = 1; q <= 40; ++q) core::session().QuestionStep[q] = 1;

    // Context-menu entries 1-10, row by row for each i.
    for (int i = 1; i <= 10; ++i) {
        for (int n = 1; n <= 4; ++n) sVemoInde[n]->load(i);
        for (int n = 1; n <= 5; ++n) sVemoSub[n]->load(i);
    }

    // Folder of the chrome pictures.
    ExamDataPath = core::normalizePath(core::config().ProgramDir + QStringLiteral("/examdata/"));
    chrome_.examDataPath = ExamDataPath;

    // Look-in list rows and the closed list.
    for (int i = 0; i <= 13; ++i) {
        Control& row = LblADD[i];
        row.setTop((345 + 240 * i) * sy());
        row.setLeft(0);
        row.setWidth(3900 * sx());
        row.setHeight(240 * sy());
        row.setCaption(QString());
        Control& pic = ImgLiN[i];
        pic.setVisible(false);
        pic.setLeft(0);
        pic.setTop(row.top());
    }
    ImgSelAD.move(-120 * sx(), 45 * sy());
    LblADDmyXZ.move(0, 0, 3900 * sx(), 330 * sy());
    PicList.setHeight(330 * sy());
    PicList.setVisible(false);

    // Tooltips of the toolbars, then of the drawing bar.
    for (int i = 41; i <= 88; ++i) LblZHU[i].setToolTipText(chrome::hotSpotToolTip(i));
    for (int i = 14; i <= 31; ++i) LblZHU[i].setToolTipText(chrome::hotSpotToolTip(i));

    // Title bar and success label.
    LblMove.move(1440 * sx(), 0, 9495 * sx(), 375 * sy());
    LblSuccess.setFontSize(72 * sx());
    LblSuccess.move(2640 * sx(), 3840 * sy());
    LblSuccess.setVisible(false);

    // The bars and their hot-spots.
    ToolCSH();
}

void FrmMain::dockQuestionWindow() {
    auto& w = core::windows();
    if (!w.questionWindow) return;
    core::Form& tm = w.questionWindow();
    tm.setLeft(left() + width() - tm.width());
    tm.setTop(top() + height() - tm.height());
}

void FrmMain::Form_MouseMove() { frmCsh(); }

void FrmMain::LblMove_MouseDown(int button) {
    if (screenHeightPixels() < 650 * sy()) return;
    if (button == core::LeftButton) {
        releaseCapture();
        auto& move = core::windows().startWindowMove;
        if (move) {
            // The move ends later; re-dock then, if this window is still
            // the practice window.
            FrmMain* self = this;
            move(*this, [self] {
                if (frmMain().peek() != self) return;
                self->dispatch("LblMove_MouseDown", [self] { self->dockQuestionWindow(); });
            });
            return;
        }
    }
    dockQuestionWindow();
}

// ------------------------------------------------------------------ chrome

void FrmMain::frmCsh() { chrome::frmCsh(chrome_, OpenMenu); }
void FrmMain::ToolCSH() { chrome::ToolCSH(chrome_); }

void FrmMain::orderWindows() {
    auto& w = core::windows();
    if (w.questionWindow) resumeNext([&] { w.questionWindow().setTopmost(true); });
    // On top of the other windows (a request to raise it when shown).
    resumeNext([&] {
        if (visible()) show();
    });
}

// ------------------------------------------------------------------ advance

void FrmMain::doNext() {
    // The step already changed inside the set-up under way: what is left of
    // it belonged to the step before.
    if (setupCut()) return;
    frmCsh();
    OpenMenu = 0;
    OpenItem = 0;
    core::SessionState& s = core::session();
    if (rec().actionCode() == QStringLiteral("9999")) {
        int16_t& state = s.QuestionState[questionIndex(s.CurrentQuestion, 40)];
        if (state < 4) state += 4;
    } else {
        s.CurrentStep += 1;
        setData();
    }
    orderWindows();
}

void FrmMain::GoStep(const QString& code) {
    if (code == QStringLiteral("0")) return;
    resumeNext([&] { core::session().CurrentStep = branchStep(code); });
    resumeNext([&] { setData(); });
}

void FrmMain::Timer3_Timer() {
    // Only on this window's own wait step: another window (the
    // demonstration) may have put its record into StepLine meanwhile.
    const core::SessionState& s = core::session();
    if (StepCode != 8888 || s.DemoRunning || s.StepLine != ownStepLine_) return;
    doNext();
}

// ------------------------------------------------------------------ target actions

void FrmMain::acceptStep(const QString& branch) {
    if (branch == QStringLiteral("0"))
        doNext();
    else
        GoStep(branch);
}

void FrmMain::Image_Click(int k) { GoStep(rec().imageBranch(k)); }

void FrmMain::Label1_DblClick() {
    if (rec().actionCode() == QStringLiteral("0002")) acceptStep(rec().redBoxBranch());
}

void FrmMain::Label1_MouseMove() {
    const QString code = rec().actionCode();
    if (code == QStringLiteral("0030")) doNext();
    // Drags by the code read above; otherwise the pointer of the record
    // current now (after a hover, the next one's).
    const QString lead = core::left(code, 3);
    if (lead == QStringLiteral("004") || lead == QStringLiteral("005")) {
        Label1.setMousePointer(core::PtrDefault);
        return;
    }
    setTargetPointer();
}

bool FrmMain::answerIsRight() { return LooseAnswerMatch(Text1.text(), AnswerText(rec().answerLine())); }

void FrmMain::openContextMenu(int16_t code, double x, double y) {
    ContextMenuNo = int16_t(context_menu::codeMenu(code));
    systemMenu();
    core::ui().popupMenu(*this, wm100, x, y, core::PopupLeftAlign);
}

void FrmMain::Label1_MouseUp(const core::MouseArgs& a) {
    const QString branch = rec().redBoxBranch();
    const double px = Label1.formX() + a.x, py = Label1.formY() + a.y;

    // A context menu named in the alternative menu code.
    if (auto alt = rec().altMenuCode()) {
        StepCode = alt->value;
        if (context_menu::namesContextMenu(StepCode) && a.button == core::RightButton)
            openContextMenu(StepCode, px, py);
    }

    // The rules of the code current now (the next step's after an advance).
    StepCode = rec().stepCode();
    const int code = StepCode;
    if (code >= 9000 && code <= 9999) {
        if (a.button == code % 100 && a.shift == (code % 1000) / 100) acceptStep(branch);
    } else if (code == 3) {
        if (a.button == core::RightButton) acceptStep(branch);
    } else if (code >= 3000 && code <= 6000) {
        if (a.button == core::RightButton) openContextMenu(StepCode, px, py);
    } else if (code == 1) {
        if (a.button == core::LeftButton && a.shift == 0) acceptStep(branch);
    } else if (code == 22 || code == 26 || code == 28) {
        if (a.button == core::LeftButton && answerIsRight()) doNext();
    } else if (branch != QStringLiteral("0") && code != 2) {
        GoStep(branch);
    }
}

// ------------------------------------------------------------------ context menu

void FrmMain::systemMenu() {
    for (int n = 1; n <= 5; ++n) {
        sVemoMain[n]->setVisible(false);
        for (const auto& [i, m] : sVemoSub[n]->elements()) m->setVisible(false);
    }
    for (int n = 1; n <= 4; ++n)
        for (const auto& [i, m] : sVemoInde[n]->elements()) m->setVisible(false);

    StepCode = context_menu::contextCode(core::session().StepLine);
    const auto block =
        context_menu::readBlock(context_menu::contextMenuFile(), context_menu::codeSet(StepCode), ContextMenuNo);
    if (!block) throw core::RuntimeError(core::ErrFileNotFound, "the context-menu file cannot be read");

    auto fill = [](core::MenuArray& arr, const QStringList& entries) {
        for (int j = 0; j < entries.size(); ++j) {
            core::Menu& m = arr[j];
            m.setCaption(core::shownText(entries[j]));
            m.setVisible(true);
        }
    };
    for (const context_menu::Row& row : context_menu::rowsOf(*block)) {
        if (!row.present) continue;
        switch (row.contextRow) {
        case 2: fill(*sVemoInde[1], row.entries); break;
        case 4: fill(*sVemoInde[2], row.entries); break;
        case 6: fill(*sVemoInde[3], row.entries); break;
        case 9: fill(*sVemoInde[4], row.entries); break;
        default: {
            const int n = row.contextRow == 1 ? 1 : row.contextRow == 3 ? 2 : row.contextRow == 5 ? 3
                                                   : row.contextRow == 7 ? 4 : 5;
            sVemoMain[n]->setCaption(core::shownText(row.caption));
            sVemoMain[n]->setVisible(true);
            fill(*sVemoSub[n], row.entries);
        }
        }
    }
}

void FrmMain::contextEntry_Click(int rowDigit, int index) {
    StepCode = context_menu::contextCode(core::session().StepLine);
    if (context_menu::codeEntry(StepCode) == index && context_menu::codeMenu(StepCode) == ContextMenuNo &&
        context_menu::codeRow(StepCode) == rowDigit)
        doNext();
}

// ------------------------------------------------------------------ hint frame

void FrmMain::TimerDisFK_Timer() {
    for (Control* f : {&ShapeMenu, &ShapeTool, &ShapeHui, &ShapeElse, &ShapeTuBiao}) f->setVisible(false);
    const StepRecord r = rec();
    const QString slotText[3] = {r.actionSlot3(), r.actionSlot2(), r.actionSlot1()};
    for (int k = 0; k < 3; ++k) {
        const QString lead = core::left(slotText[k], 1);
        if (lead != u"H" && !(k == 0 && lead == u"D")) continue;
        const int n = core::val16(core::mid(slotText[k], 2, 2));
        Control* frame = nullptr;
        switch (chrome::zoneOf(n)) {
        case chrome::Zone::MenuBar: frame = &ShapeMenu; break;
        case chrome::Zone::Toolbar: frame = &ShapeTool; break;
        case chrome::Zone::DrawingBar: frame = &ShapeHui; break;
        case chrome::Zone::ExtraArea: frame = &ShapeElse; break;
        case chrome::Zone::ChartBar: frame = &ShapeTuBiao; break;
        default: break;
        }
        if (!frame) continue;
        const Control& h = LblZHU[n];
        switch (chrome::zoneOf(n)) {
        case chrome::Zone::MenuBar:
            frame->move(h.left(), h.top() + 15 * sy(), h.width(), h.height() - 15 * sy());
            break;
        case chrome::Zone::ExtraArea:
            frame->move(h.left() + 15 * sx(), h.top() + 15 * sy(), PicElse.width() - 30 * sx(),
                        PicElse.height() - 30 * sy());
            break;
        default: frame->move(h.left(), h.top(), h.width(), h.height()); break;
        }
        frame->setVisible(LHelp.visible());
    }
    TimerDisFK.setEnabled(false);
}

// ------------------------------------------------------------------ access

core::FormSlot<FrmMain>& frmMain() {
    static core::FormSlot<FrmMain> slot;
    return slot;
}

void FrmMain::showScenePicture(int k, const core::Picture& picture) {
    if (k == 0)
        setPicture(picture);
    else
        overlay(k).setPicture(picture);
}

void FrmMain::armSetUp() {
    Timer2.setEnabled(true);
    // The set-up waits 100 ms: time enough to decode its pictures.
    const core::SessionState& s = core::session();
    const long t = long(s.StepStart[questionIndex(s.CurrentQuestion, 45)]) + s.CurrentStep - 1;
    const auto lines = core::readLines(s.ScriptFile);
    if (lines && t >= 1 && t <= lines->size()) prefetchStepPictures(lines->at(t - 1));
}

void FrmMain::showHint() {
    for (Control* c : {&LHelp, &Shape1, &Shape4, &Shape2}) c->setVisible(true);
    TimerDisFK.setEnabled(true);
}

void registerPracticeWindow() {
    auto& w = core::windows();
    w.practiceWindow = []() -> core::Form& { return frmMain()(); };
    w.practiceWindowLoaded = [] { return frmMain().loaded(); };
    w.showPracticeScene = [](int k, const core::Picture& p) { frmMain()().showScenePicture(k, p); };
    w.armPracticeSetUp = [] { frmMain()().armSetUp(); };
    w.showPracticeHint = [] { frmMain()().showHint(); };
    w.focusPracticeInput = [] {
        // A hidden box (a step without input) takes no focus.
        FrmMain* m = frmMain().peek();
        if (m && m->Text1.shown() && m->Text1.enabled()) m->Text1.setFocus();
    };
}

} // namespace engine
