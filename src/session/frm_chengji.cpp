#include "session/frm_chengji.h"

#include <QDir>
#include <QFileInfo>

#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/bank.h"
#include "session/end_practice.h"
#include "session/frm_tm.h"
#include "session/records.h"
#include "session/session_start.h"

namespace session {

using namespace core;

namespace {

constexpr int PaperCodes = 40;
constexpr uint32_t kRed = 255;
constexpr uint32_t kGreen = 65280;

// The lines of a record file: none when it does not exist, nullopt when it
// exists but cannot be read (it must not be rewritten then).
std::optional<QStringList> readRecord(const QString& path) {
    if (!QFileInfo::exists(path)) return QStringList();
    return readLines(path);
}

bool writeRecord(const QString& path, const QStringList& lines) {
    return QDir().mkpath(config().recordsDir()) && writeLines(path, lines);
}

void unloadPracticeWindow() {
    Windows& w = windows();
    if (w.practiceWindowLoaded && w.practiceWindowLoaded()) w.practiceWindow().unload();
}

} // namespace

int scoreHalfPoints(const SessionState& s) {
    int halves = 0;
    for (int i = 1; i <= SessionState::MaxQuestions; ++i)
        if (s.QuestionState[i] >= 4) halves += 5;
    return halves;
}

QString halfPointsText(int halfPoints) {
    return QString::number(halfPoints / 2) + (halfPoints % 2 ? QStringLiteral(".5") : QString());
}

QString scoreLine(int paper, int halfPoints) {
    return "第" + QString::number(paper + 1) + "套得分：" + halfPointsText(halfPoints) + "分";
}

QString scoreTooltipText(const QString& listLine) {
    const QString text = mid(listLine, 7);
    return text.startsWith(QStringLiteral("picture")) ? mid(listLine, 20) : text;
}

FrmChengji::FrmChengji()
    : Form("FrmChengji"),
      Timer1(addTimer("Timer1", 100, true)),
      Picture1(add(Kind::PictureBox, "Picture1")),
      Command3(add(Kind::CommandButton, "Command3", &Picture1)),
      Command1(add(Kind::CommandButton, "Command1", &Picture1)),
      Command2(add(Kind::CommandButton, "Command2", &Picture1)),
      Label1(add(Kind::Label, "Label1", &Picture1)),
      Frame1(add(Kind::Frame, "Frame1", &Picture1)) {
    setBorderStyle(0);
    setBackColor(0xFEF9F6);
    setCaption(QStringLiteral("考试成绩"));
    Picture1.setBorderStyle(0);
    Picture1.move(0, 0, 12000, 9000);
    Command3.setCaption(QStringLiteral("本次错题复习"));
    Command1.setCaption(QStringLiteral("本次考题复习"));
    Command2.setCaption(QStringLiteral("退出"));
    Label1.setBackStyle(0);
    Label1.setAutoSize(true);
    Label1.setFontName(QStringLiteral("宋体"));
    Label1.setFontSize(12);
    Label1.setFontBold(true);
    Frame1.setBorderStyle(0);
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        Control& b = addElement(Kind::CommandButton, "CmTNO", i, &Frame1);
        b.setGraphicalStyle(true);
    }

    onLoad = [this] { Form_Load(); };
    Timer1.onTimer = [this](Timer&) { Timer1_Timer(); };
    Command1.onClick = [this](Control&) { Command1_Click(); };
    Command2.onClick = [this](Control&) { Command2_Click(); };
    Command3.onClick = [this](Control&) { Command3_Click(); };
    // Closed by the user (the desktop can close a borderless window): back
    // to the cover, as "退出", so that the program keeps a window.
    onDesktopClose = [this] { Command2_Click(); };
}

void FrmChengji::Form_Load() {
    const ModuleConfig& cfg = config();
    const double sx = cfg.ScaleX, sy = cfg.ScaleY;
    SessionState& s = core::session();

    // Both are normally closed already.
    unloadPracticeWindow();
    if (frmTm().loaded()) frmTm()().unload();

    maximiseOnWorkArea(*this);

    Command3.setVisible(true);
    // A missing page shows a plain page.
    if (auto page = pictureStore().load(joinPath(cfg.DataDir, "9l0058.rar"))) Picture1.setPicture(*page);
    Command3.move(2880 * sx, 4080 * sy, 2175 * sx, 495 * sy);
    Command1.move(5160 * sx, 4080 * sy, 2175 * sx, 495 * sy);
    Command2.move(7440 * sx, 4080 * sy, 1095 * sx, 495 * sy);
    for (Control* b : {&Command3, &Command1, &Command2}) {
        b->setFontName(QStringLiteral("宋体"));
        b->setFontSize(12 * sx);
    }
    Label1.move(5010 * sx, 5040 * sy);
    Frame1.move(3900 * sx, 5520 * sy);

    // The grid and the score.
    ScoreHalves = 0;
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        Control& b = CmTNO(i);
        b.setCaption(QString::number(i));
        b.move(((i - 1) % 10) * 430 * sx, ((i - 1) / 10) * 430 * sy, 430 * sx, 430 * sy);
        const bool right = s.QuestionState[i] >= 4;
        b.setBackColor(right ? kGreen : kRed);
        if (right) ScoreHalves += 5;
        b.setFontBold(true);
    }
    Control& last = CmTNO(SessionState::MaxQuestions);
    Frame1.setWidth(last.left() + last.width() + 30 * sx);
    Frame1.setHeight(last.top() + last.height() + 30 * sy);
    Frame1.setEnabled(true);
    Label1.setCaption(scoreLine(s.SetNo, ScoreHalves));

    writeRecords();

    // Tooltips: the question texts of the session's list.
    const QStringList lines = readLines(s.QuestionFile).value_or(QStringList());
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        const QString text = i <= lines.size() ? scoreTooltipText(lines[i - 1]) : QString();
        CmTNO(i).setToolTipText("第" + QString::number(i) + "题： " + text);
    }
}

void FrmChengji::writeRecords() {
    SessionState& s = core::session();
    const int paper = s.SetNo;
    auto failed = [this] { RecordsFailed = true; };

    // Flagged list: the exam's flags are added; an unreadable list is kept.
    if (auto flagged = readRecord(flaggedListFile())) {
        const QString codes = trimSpaces(flagged->value(0));
        if (!writeFlaggedList(flaggedAdded(codes, s))) failed();
    } else {
        failed();
    }

    // Wrong questions of the paper, from the paper's line of the catalogue;
    // without a whole line the stored list stays.
    const auto catalogue = PaperCatalog::read();
    const QString paperLine = catalogue ? catalogue->paperCodes(paper) : QString();
    if (codeGroups(paperLine).size() == PaperCodes) {
        if (!writeWrongList(paper, wrongCodesAtHandIn(paperLine, s))) failed();
    } else {
        qWarning("FrmChengji: no line of 40 codes for paper %d in the catalogue", paper);
    }

    // Score history: the hand-in time and the best score of this paper.
    if (auto history = readRecord(scoreHistoryFile())) {
        QStringList lines = history->mid(0, ScoreHistoryLines);
        lines = scoreHistoryAtHandIn(lines, paper, ScoreHalves / 2.0, s.ExamStartTime, platform().now(),
                                     s.PaperCount);
        lines << QString();
        if (!writeRecord(scoreHistoryFile(), lines)) failed();
    } else {
        failed();
    }
    s.ExamStartTime = QDateTime();
}

void FrmChengji::Timer1_Timer() {
    Picture1.move((width() - Picture1.width()) / 2, (height() - Picture1.height()) / 2);
    Timer1.setEnabled(false);
    if (RecordsFailed) {
        RecordsFailed = false;
        MsgBox(QString::fromUtf8(kRecordsNotSaved), MbOkOnly | MbExclamation);
    }
}

void FrmChengji::Command1_Click() {
    SessionState& s = core::session();
    s.RunMode = RunPractice;
    s.AllowCloseQuestion = false;
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) s.QuestionResult[i] = "F";
    unload();
    s.ReviewUnit = s.SetNo;
    s.SessionEnded = false;
    // A fresh question window, with the practice buttons.
    FrmTm& tm = frmTm()();
    tm.TimKsModel.setEnabled(true);
    if (windows().practiceWindow) windows().practiceWindow().show();
    tm.show();
    tm.LblUnit.setCaption(QString());
    s.CurrentQuestion = 1;
    tm.TimerREDO.setEnabled(true);
    if (windows().practiceWindow) tm.dockAtPracticeWindow();
    // The review has no clock.
    tm.TimeKS.setEnabled(false);
}

void FrmChengji::Command2_Click() {
    unloadPracticeWindow();
    unload();
    if (windows().showCover) windows().showCover();
}

void FrmChengji::Command3_Click() {
    SessionState& s = core::session();
    s.ReviewUnit = s.SetNo;
    s.RunMode = RunPractice;
    InitShiTi();
}

bool FrmChengji::InitShiTi() { return startScoreReview(this); }

core::FormSlot<FrmChengji>& frmChengji() {
    static core::FormSlot<FrmChengji> slot;
    return slot;
}

} // namespace session
