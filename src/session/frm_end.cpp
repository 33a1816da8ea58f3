#include "session/frm_end.h"

#include <vector>

#include "core/keys.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/frm_chengji.h"
#include "session/frm_picture.h"
#include "session/frm_tm.h"

namespace session {

using namespace core;

const char* const kViewAnswerWarning =
    "1.正式考试时不能看答案。\n\n"
    "2.如果有不会做的题目，在结束考试后，可以点“本次错题复习”或者“本次考题复习”，这时，所有试题都可以查看答案"
    "（手把手教和操作演示都可以）。\n\n"
    "3.如果你等不及了，可以点“我想立即看答案”。";
const char* const kViewAnswerQuestion =
    "立即看答案将不能测试您的实际水平，如果你坚持现在看答案，成绩将不记入本次练习记录！\n您现在就要看答案吗？";
const char* const kViewAnswerTitle = "不建议您立即看答案";
const char* const kAttentionLine = "您还有题目未做或仍处于标识状态！";
const char* const kHandInQuestion = "您是否确定交卷?";
const char* const kFinalHandIn = "按“交卷”后您将退出本场考试，并且不能重新登录!\n\n是否确定交卷?";

namespace {

// Outer size of a fixed dialog whose client area is w x h twips.
void setClientSize(Form& f, double w, double h) {
    f.setWidth(w + 2 * f.frameLeft());
    f.setHeight(h + f.frameTop() + f.frameLeft());
}

void centreOnScreen(Form& f) {
    const ScreenInfo scr = platform().screen();
    f.move((scr.widthTwips - f.width()) / 2, (scr.heightTwips - f.height()) / 2);
}

// Enter presses the focused button (else `byDefault`), Esc the cancelling one.
void answerKeys(Form& f, Control& byDefault, const std::function<void()>& cancel) {
    f.setKeyPreview(true);
    f.onKeyDown = [&f, &byDefault, cancel](int& key, int) {
        if (key == KeyEscape) {
            key = 0;
            cancel();
        } else if (key == KeyReturn || key == KeySpace) {
            key = 0;
            Control* c = f.activeControl();
            if (!c || c->kind() != Kind::CommandButton) c = &byDefault;
            c->raiseClick();
        }
    };
}

} // namespace

bool needsAttention(int16_t state) { return state % 2 == 0 || state == 3 || state == 7; }

QString handInQuestion(const SessionState& s) {
    bool attention = false;
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) attention = attention || needsAttention(s.QuestionState[i]);
    if (attention) return QString::fromUtf8(kAttentionLine) + "\n\n" + QString::fromUtf8(kHandInQuestion);
    return "\n" + QString::fromUtf8(kHandInQuestion);
}

// ---------------------------------------------------------------- view answer

FrmCZTS::FrmCZTS()
    : Form("FrmCZTS"),
      Shape1(add(Kind::Shape, "Shape1")),
      Shape2(add(Kind::Shape, "Shape2")),
      Label3(add(Kind::Label, "Label3")),
      Label2(add(Kind::Label, "Label2")),
      Command1(add(Kind::CommandButton, "Command1")),
      Command2(add(Kind::CommandButton, "Command2")) {
    setBorderStyle(3);
    setShowInTaskbar(false);
    setCaption(QStringLiteral("操作提示"));
    setClientSize(*this, 4815, 5130);

    // An etched frame around the text.
    Shape1.setBorderColor(0x808080);
    Shape1.move(60, 60, 4695, 5010);
    Shape2.setBorderColor(0xFFFFFF);
    Shape2.move(75, 75, 4695, 5010);

    Label3.setCaption(QStringLiteral("请注意!!!"));
    Label3.setForeColor(0xFF0000);
    Label3.setFontName(QStringLiteral("宋体"));
    Label3.setFontSize(12);
    Label3.setBackStyle(0);
    Label3.move(240, 360);
    Label3.setAutoSize(true);

    Label2.setCaption(QString::fromUtf8(kViewAnswerWarning));
    Label2.setForeColor(0x0000FF);
    Label2.setFontName(QStringLiteral("宋体"));
    Label2.setFontSize(15);
    Label2.setBackStyle(0);
    Label2.move(240, 840, 4380, 3540);

    Command1.setCaption(QStringLiteral("我先独立完成"));
    Command1.move(360, 4440, 1815, 375);
    Command2.setCaption(QStringLiteral("我想立即看答案"));
    Command2.move(2520, 4440, 1815, 375);

    Command1.onClick = [this](Control&) { Command1_Click(); };
    Command2.onClick = [this](Control&) { Command2_Click(); };
    Label2.onClick = [this](Control&) { Command1_Click(); };
    Label3.onClick = [this](Control&) { Command1_Click(); };
    onClick = [this] { Command1_Click(); };
    answerKeys(*this, Command1, [this] { Command1_Click(); });

    onLoad = [this] {
        centreOnScreen(*this);
        setTopmost(true);
        setActiveControl(&Command1);
    };
}

void FrmCZTS::Command1_Click() { unload(); }

void FrmCZTS::Command2_Click() {
    const int answer = MsgBox(QString::fromUtf8(kViewAnswerQuestion), MbYesNo, QString::fromUtf8(kViewAnswerTitle));
    SessionState& s = core::session();
    // The clock may have ended the exam while the question was open: the
    // hand-in closed this dialog, and the answer comes too late.
    if (answer != MrYes || !loaded() || s.SessionEnded) return;
    s.RunMode = RunPractice;
    // The practice set in place of the exam set.
    if (frmTm().loaded()) {
        FrmTm& tm = frmTm()();
        tm.PicUnit.setVisible(true);
        for (int i = 5; i <= 10; ++i) {
            tm.ImgGN(i).setVisible(i <= 7);
            tm.CmdGN(i).setVisible(i <= 7);
        }
    }
    s.AllowCloseQuestion = false;
    // The exam no longer counts for the best score.
    s.ExamStartTime = QDateTime();
    unload();
    Windows& w = windows();
    if (w.practiceWindow) w.practiceWindow().show();
    // The demonstration replays the question from step 1; without a
    // demonstration window the candidate's own step stays.
    if (w.showDemonstration) s.CurrentStep = 1;
    if (w.startDemonstration) w.startDemonstration();
    if (frmTm().loaded()) frmTm()().TimKsModel.setEnabled(true);
}

// ---------------------------------------------------------------- hand-in

HandInDialog::HandInDialog(const QString& name)
    : Form(name),
      Frame1(add(Kind::Frame, "Frame1")),
      Label1(add(Kind::Label, "Label1", &Frame1)),
      Command1(add(Kind::CommandButton, "Command1")),
      Command2(add(Kind::CommandButton, "Command2")) {
    constexpr uint32_t back = 0xD8E9EB;
    setBorderStyle(3);
    setShowInTaskbar(false);
    setCaption(QStringLiteral("重要提示"));
    setClientSize(*this, 4410, 2670);
    setBackColor(back);

    Frame1.setBackColor(back);
    Frame1.move(90, 60, 4215, 1935);
    Label1.setForeColor(0x0000FF);
    Label1.setFontName(QStringLiteral("楷体_GB2312"));
    Label1.setFontSize(15);
    Label1.setFontBold(true);
    Label1.setBackStyle(0);
    Label1.move(150, 240, 3855, 1575);
    for (Control* b : {&Command1, &Command2}) {
        b->setBackColor(back);
        b->setFontName(QStringLiteral("楷体_GB2312"));
        b->setFontSize(10.5);
    }
    Command1.setCaption(QStringLiteral("交卷"));
    Command1.move(600, 2160, 1335, 420);
    Command2.setCaption(QStringLiteral("继续考试"));
    Command2.move(2400, 2160, 1335, 420);

    Command1.onClick = [this](Control&) { Command1_Click(); };
    Command2.onClick = [this](Control&) { Command2_Click(); };
    answerKeys(*this, Command2, [this] { Command2_Click(); });
    // Closed any other way than "交卷": the exam goes on.
    onQueryUnload = [](int&, int unloadMode) {
        if (unloadMode == 0) continueExam();
    };
}

void HandInDialog::Command2_Click() {
    unload();
    continueExam();
}

FrmEnd1::FrmEnd1() : HandInDialog("FrmEnd1") {
    onLoad = [this] {
        centreOnScreen(*this);
        setTopmost(true);
        Label1.setCaption(handInQuestion(core::session()));
        setActiveControl(&Command1);
    };
}

void FrmEnd1::Command1_Click() {
    unload();
    frmEnd2()().show(true);
}

FrmEnd2::FrmEnd2() : HandInDialog("FrmEnd2") {
    Label1.setCaption(QString::fromUtf8(kFinalHandIn));
    onLoad = [this] {
        centreOnScreen(*this);
        setTopmost(true);
        setActiveControl(&Command2);
    };
}

void FrmEnd2::Command1_Click() { handInExam(); }

core::FormSlot<FrmCZTS>& frmCZTS() {
    static core::FormSlot<FrmCZTS> slot;
    return slot;
}

core::FormSlot<FrmEnd1>& frmEnd1() {
    static core::FormSlot<FrmEnd1> slot;
    return slot;
}

core::FormSlot<FrmEnd2>& frmEnd2() {
    static core::FormSlot<FrmEnd2> slot;
    return slot;
}

void continueExam() {
    // The window is the exam's; a fresh one is never made here.
    if (!frmTm().loaded() || core::session().SessionEnded) return;
    FrmTm& tm = frmTm()();
    tm.dockAtPracticeWindow();
    tm.show();
}

void handInExam() {
    SessionState& s = core::session();
    s.AllowCloseQuestion = true;
    s.SessionEnded = true;
    // Every dialog of the session still open: this one, the first
    // confirmation, the view-answer warning, the input-method help.
    const std::vector<Form*> open = loadedForms();
    for (Form* f : open)
        if (f->loaded() && f->modal()) f->unload();
    if (frmEnd2().loaded()) frmEnd2()().unload();
    Windows& w = windows();
    if (w.stopDemonstration) w.stopDemonstration();
    if (frmPicture().loaded()) frmPicture()().hide();
    if (frmTm().loaded()) frmTm()().unload();
    if (w.practiceWindowLoaded && w.practiceWindowLoaded()) w.practiceWindow().unload();
    frmChengji()().show();
}

void registerExamDialogs() {
    HandInConfirmation& h = handInConfirmation();
    // The view-answer warning, and with it its question.
    h.begin = [] {
        if (frmCZTS().loaded()) frmCZTS()().unload();
    };
    h.open = [] { frmEnd1()().show(true); };
    h.isOpen = [] { return frmEnd1().loaded() || frmEnd2().loaded(); };
}

} // namespace session
