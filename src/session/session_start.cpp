#include "session/session_start.h"

#include <QStringList>
#include <algorithm>
#include <vector>

#include "core/forms.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/bank.h"
#include "session/frm_end.h"
#include "session/frm_logon.h"
#include "session/frm_tm.h"
#include "session/records.h"

namespace session {

using namespace core;

const char* const kNoWrongQuestions =
    "本套试题没有生成错题！\n你可能是还没有做本套试题，或者上次得分为0。\n请点“开始考试”做本套试题。";
const char* const kScoreWithoutWrongQuestions = "本次考试没有错题。";
const char* const kBankUnreadable = "无法读取本模块的题库文件，不能开始练习。请重新安装本模块。";
const char* const kRecordsUnreadable = "无法读取考生的练习记录文件，不能开始练习。";
const char* const kSessionNotWritable = "无法在题库文件夹中写入练习文件，不能开始练习。请检查该文件夹是否可写。";
const char* const kUnitWithoutQuestions = "本单元没有题目，不能开始练习。";

namespace {

constexpr int PaperCodes = 40;

void refuse(const char* text) { MsgBox(QString::fromUtf8(text), MbOkOnly); }

// Line n (1-based) of a file's lines; empty when the file is shorter.
QString lineOf(const QStringList& lines, int n) { return n >= 1 && n <= lines.size() ? lines[n - 1] : QString(); }

// The unit progress file, or nullopt (after a message) when it cannot be read.
std::optional<QStringList> progressLines() {
    auto lines = readLines(unitProgressFile());
    if (!lines) refuse(kRecordsUnreadable);
    return lines;
}

// Assembles the session files; false, after the message that fits the
// failure, when they could not be made.
bool assemble(const QString& codes, int slot) {
    bool notWritable = false;
    if (InitShiTi(codes, slot, &notWritable)) return true;
    refuse(notWritable ? kSessionNotWritable : kBankUnreadable);
    return false;
}

// The trimmed progress line of a unit; nullopt (after a message) when the
// file or its line is missing.
std::optional<QString> progressLine(int unit) {
    auto lines = progressLines();
    if (!lines) return std::nullopt;
    if (unit + 1 > lines->size()) {
        refuse(kRecordsUnreadable);
        return std::nullopt;
    }
    return lineOf(*lines, unit + 1);
}

// QuestionResult "F" and QuestionState 0 for questions 1..QuestionCount.
void clearQuestions(SessionState& s) {
    const int n = std::clamp<int>(s.QuestionCount, 0, SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i) {
        s.QuestionResult[i] = "F";
        s.QuestionState[i] = 0;
    }
}

// Hides the grid buttons of the question window above QuestionCount (this
// loads the window when some are hidden).
void hideUnusedGridButtons(int questionCount) {
    for (int i = std::max(1, questionCount + 1); i <= SessionState::MaxQuestions; ++i)
        frmTm()().CmTNO(i).setVisible(false);
}

// Session files of the session's slot and the steps of its questions; false
// when its question list cannot be read.
bool prepareSessionFiles(SessionState& s) {
    s.TextTableFile = config().dataFile("288890");
    const int slot = sessionSlot(s.SetNo, s.ListKind);
    s.ScriptFile = stepScriptFile(slot);
    s.QuestionFile = questionListFile(slot);
    s.CurrentStep = 1;
    s.MinutesLeft = 50;
    return computeStepStart(s);
}

void unloadCover() {
    if (windows().unloadCover) windows().unloadCover();
}

void showPracticeWindow() {
    if (windows().practiceWindow) windows().practiceWindow().show();
}

// Runs the common start; on failure the session state goes back to `before`.
void startOrRestore(const SessionState& before) {
    if (!startLianXi()) core::session() = before;
}

} // namespace

void LblStartKs_Click(int paper) {
    SessionState& s = core::session();
    auto catalogue = PaperCatalog::read();
    if (!catalogue) return refuse(kBankUnreadable);
    const QString line = lineOf(catalogue->lines(), paper + 3);
    if (codeGroups(line).size() != PaperCodes) return refuse(kBankUnreadable);
    const SessionState before = s;
    if (!assemble(line.left(4 * PaperCodes), paper)) return;
    s.SetNo = static_cast<int16_t>(paper);
    s.QuestionCount = PaperCodes;
    s.RunMode = RunExam;
    s.CurrentQuestion = 1;
    s.ListKind = ListPaper;
    clearQuestions(s);
    startOrRestore(before);
}

void LblErr_Click(int paper) {
    SessionState& s = core::session();
    const QStringList groups = codeGroups(trimSpaces(readWrongList(paper)));
    if (groups.isEmpty()) return refuse(kNoWrongQuestions);
    // The list is the candidate's record, written from the paper's codes: more
    // codes than a paper has, or one that is not the paper's, means it is
    // damaged. A shorter last piece is dropped, as the end of practice does.
    auto catalogue = PaperCatalog::read();
    if (!catalogue) return refuse(kBankUnreadable);
    const QStringList paperCodes = codeGroups(lineOf(catalogue->lines(), paper + 3));
    if (paperCodes.isEmpty()) return refuse(kBankUnreadable);
    if (groups.size() > PaperCodes) return refuse(kRecordsUnreadable);
    for (const QString& code : groups)
        if (!paperCodes.contains(code)) return refuse(kRecordsUnreadable);
    const SessionState before = s;
    if (!assemble(groups.join(QString()), ReviewSlot)) return;
    s.QuestionCount = static_cast<int16_t>(groups.size());
    s.RunMode = RunPractice;
    s.ListKind = ListPaperWrong;
    s.ReviewUnit = static_cast<int16_t>(paper);
    s.CurrentQuestion = 1;
    s.SetNo = 17;
    clearQuestions(s);
    startOrRestore(before);
}

void LblJinRuXX_Click(int unit) {
    SessionState& s = core::session();
    // Units past the last one would name other files of the data folder.
    if (unit < 0 || unit > MaxUnit) return refuse(kBankUnreadable);
    const auto stored = progressLine(unit);
    if (!stored) return;
    const QString line = trimSpaces(*stored);
    if (line.isEmpty()) return refuse(kUnitWithoutQuestions);
    const SessionState before = s;
    s.RunMode = RunPractice;
    s.CurrentQuestion = 1;
    s.ListKind = ListUnit;
    s.SetNo = static_cast<int16_t>(unit);
    s.QuestionCount = static_cast<int16_t>(std::min<qsizetype>(line.size(), SessionState::MaxQuestions));
    for (int i = 1; i <= s.QuestionCount; ++i) s.QuestionResult[i] = mid(*stored, i, 1);
    for (int i = 1; i <= SessionState::MaxQuestions; ++i) {
        s.QuestionState[i] = s.QuestionResult[i] == QStringLiteral("T") ? 4 : 0;
        s.QuestionId[i] = static_cast<int16_t>(unit * 100 + i);
    }
    startOrRestore(before);
}

void LblUWrong_Click(int unit) {
    SessionState& s = core::session();
    const auto stored = progressLine(unit);
    if (!stored) return;
    const QString line = trimSpaces(*stored);
    const QString codes = trimSpaces(unitUnsolvedCodes(unit, line));
    if (codes.isEmpty()) return;  // every question solved, or none
    const SessionState before = s;
    if (!assemble(codes, ReviewSlot)) return;
    s.RunMode = RunPractice;
    s.CurrentQuestion = 1;
    s.ListKind = ListUnitWrong;
    s.ReviewUnit = static_cast<int16_t>(unit);
    s.SetNo = 13;
    clearQuestions(s);
    startOrRestore(before);
}

bool startLianXi() {
    SessionState& s = core::session();
    const SessionState before = s;
    s.AllowCloseQuestion = false;
    s.SessionEnded = false;
    if (!prepareSessionFiles(s)) {
        s = before;
        refuse(kBankUnreadable);
        return false;
    }

    // Flagged questions; codes match only as whole groups.
    const QString flagged = readFlaggedList();
    for (int i = 1; i <= SessionState::MaxQuestions; ++i)
        if (hasCode(flagged, questionCode(s.QuestionId[i]))) s.QuestionState[i] += 2;

    hideUnusedGridButtons(s.QuestionCount);
    unloadCover();

    if (s.ListKind == ListPaper) {
        // The login loads the question window when it ends.
        frmLogon()().show();
        return true;
    }
    FrmTm& tm = frmTm()();
    tm.TimerREDO.setEnabled(true);
    tm.TimKsModel.setEnabled(true);
    tm.show();
    showPracticeWindow();
    return true;
}

bool startScoreReview(Form* scoreWindow) {
    SessionState& s = core::session();
    const QString codes = readWrongList(s.SetNo);
    if (codeGroups(codes).isEmpty()) {
        refuse(kScoreWithoutWrongQuestions);
        return false;
    }
    const SessionState before = s;
    if (!assemble(codes, ReviewSlot)) return false;
    s.ListKind = ListUnit;
    s.RunMode = RunPractice;
    s.SetNo = -1;  // slot 19 with ListKind 20
    s.AllowCloseQuestion = false;
    s.SessionEnded = false;
    s.CurrentQuestion = 1;
    if (!prepareSessionFiles(s)) {
        s = before;
        refuse(kBankUnreadable);
        return false;
    }
    const int n = std::clamp<int>(s.QuestionCount, 0, SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i) s.QuestionResult[i] = "F";
    hideUnusedGridButtons(s.QuestionCount);

    FrmTm& tm = frmTm()();
    tm.TimKsModel.setEnabled(true);
    tm.LblUnit.setCaption(QString());
    s.CurrentQuestion = 1;
    tm.TimerREDO.setEnabled(true);

    if (scoreWindow) scoreWindow->unload();
    showPracticeWindow();
    tm.show();
    if (windows().practiceWindow) tm.dockAtPracticeWindow();
    tm.TimeKS.setEnabled(false);

    s.ListKind = ListPaperWrong;
    s.SetNo = 17;
    for (int i = 1; i <= n; ++i) s.QuestionState[i] = 0;
    return true;
}

void registerSessionWindows() {
    Windows& w = windows();
    w.questionWindow = []() -> Form& { return frmTm()(); };
    w.questionWindowLoaded = [] { return frmTm().loaded(); };
    w.showUnsolvedQuestions = [](const QString& list) { frmTm()().showUnsolvedQuestions(list); };
    w.markQuestionCompleted = [] { frmTm()().markQuestionCompleted(); };
    w.sessionWindowClosed = [] {
        if (frmTm().loaded()) frmTm()().desktopClose();
    };
    w.startLianXi = [] { startLianXi(); };
    w.startPaperExam = LblStartKs_Click;
    w.reviewPaperWrong = LblErr_Click;
    w.startUnit = LblJinRuXX_Click;
    w.reviewUnitWrong = LblUWrong_Click;
    w.startDemonstration = [] { frmTm()().armDemonstrationStart(); };
    w.questionText = [] { return frmTm()().RtbTM.text(); };
    // After the hand-in a reload would make a fresh question window (and a
    // second clock) over the score report.
    w.reloadQuestionLater = [] {
        if (!core::session().SessionEnded) frmTm()().TimerREDO.setEnabled(true);
    };
    registerExamDialogs();
}

} // namespace session
