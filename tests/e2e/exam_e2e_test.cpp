// A mock exam of the sample module, as a candidate sits it: the paper is
// started from the cover, the candidate logs in, answers some questions,
// flags one and hands in through both confirmations; the score report and the
// records are checked against the rules, and the wrong questions are
// practised. A second exam of the other paper is left to run out of time.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/forms.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "demo/frm_yanshi.h"
#include "e2e/module_fixture.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "session/bank.h"
#include "session/frm_chengji.h"
#include "session/frm_end.h"
#include "session/frm_logon.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/records.h"
#include "session/session_start.h"
#include "support/driver.h"

namespace {

using engine::StepRecord;

class ExamE2E : public e2e::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        pf->clock = QDateTime(QDate(2024, 5, 6), QTime(14, 0, 0));
    }

    static core::SessionState& s() { return core::session(); }
    QString record(const QString& name) { return recordsDir() + "/" + name + ".rar"; }
    QStringList read(const QString& path) { return core::readLines(path).value_or(QStringList{"<missing>"}); }
    QString paperLine(int k) { return read(root() + "/wdata/288891.rar").value(k + 2); }

    // From the cover to a running exam of paper k.
    void sitPaper(testsupport::Driver& d, int paper) {
        cover::FrmFengmian& c = cover::frmFengmian()();
        d.click(c.LblKaCH);
        d.click(c.LblStartKs[paper]);
        ASSERT_TRUE(session::frmLogon().loaded());
        d.advance(100);
        logOn();
        ASSERT_FALSE(session::frmLogon().loaded());
        ASSERT_TRUE(session::frmTm().loaded());
        d.advance(600);
        ASSERT_TRUE(session::frmTm()().CmdGN(8).visible());
        ASSERT_TRUE(engine::frmMain().loaded());
    }

    // Steps played by a plain mouse action on the target, a wait or nothing
    // else; other kinds leave the question unanswered.
    static bool plainStep(const StepRecord& r) {
        for (int n = 1; n <= 3; ++n)
            if (r.keySlot(n)) return false;
        if (r.backSteps() || r.altMenuCode()) return false;
        if (const auto dc = r.dialogCode(); dc && dc->shownTab != dc->targetTab) return false;
        switch (r.action()) {
        case engine::ActionClick:
        case engine::ActionDoubleClick:
        case engine::ActionHover:
        case engine::ActionClickShift:
        case engine::ActionWait: return true;
        default: return false;
        }
    }

    // Opens question q through the grid and plays it while its steps are
    // plain; true when it ends answered.
    bool answer(testsupport::Driver& d, int q) {
        session::FrmTm& tm = session::frmTm()();
        d.click(tm.CmdGN(4));
        d.click(tm.CmTNO(q));
        d.advance(200);
        engine::FrmMain& f = engine::frmMain()();
        for (int action = 0; action < 40 && !(s().QuestionState[q] & 4); ++action) {
            const StepRecord r(s().StepLine);
            if (!plainStep(r)) return false;
            switch (r.action()) {
            case engine::ActionClick: d.click(f.Label1); break;
            case engine::ActionDoubleClick: d.dblClick(f.Label1); break;
            case engine::ActionHover: d.hover(f.Label1); break;
            case engine::ActionClickShift: d.click(f.Label1, r.codeButtons(), r.codeModifiers()); break;
            default: d.advance(1000);
            }
        }
        return s().QuestionState[q] & 4;
    }
};

} // namespace

TEST_F(ExamE2E, SitHandInReviewAndRunOutOfTime) {
    testsupport::Driver& d = driver();
    session::frmStart()();
    d.advance(200);
    ASSERT_TRUE(cover::frmFengmian().loaded());

    sitPaper(d, 0);
    if (HasFatalFailure()) return;
    const QDateTime started = pf->clock;
    pf->clock = pf->clock.addSecs(1200);

    // Some questions answered, question 2 flagged.
    QList<int> answered;
    for (int q = 1; q <= 40 && answered.size() < 4; ++q)
        if (answer(d, q)) answered << q;
    ASSERT_GE(answered.size(), 2) << "the sample paper has too few plain questions";
    session::FrmTm& tm = session::frmTm()();
    d.click(tm.CmdGN(4));
    d.click(tm.CmTNO(2));
    d.click(tm.CmdGN(3));
    const std::array<int16_t, 41> states = s().QuestionState;
    EXPECT_TRUE(states[2] & 2);

    // Hand in through both confirmations.
    QString firstQuestion;
    d.ui.expectModal("FrmEnd1", [&](core::Form&) {
        firstQuestion = session::frmEnd1()().Label1.caption();
        d.click(session::frmEnd1()().Command1);
    });
    d.ui.expectModal("FrmEnd2", [&](core::Form&) { d.click(session::frmEnd2()().Command1); });
    d.click(tm.CmdGN(8));
    ASSERT_FALSE(d.ui.pending());
    EXPECT_TRUE(firstQuestion.startsWith(QString::fromUtf8("您还有题目未做或仍处于标识状态！")));
    ASSERT_TRUE(session::frmChengji().loaded());
    EXPECT_FALSE(session::frmTm().loaded());
    EXPECT_FALSE(engine::frmMain().loaded());

    // The report and the records, as the rules compute them.
    const QString paper = paperLine(0);
    int halves = 0;
    QString wrong;
    for (int i = 1; i <= 40; ++i) {
        if (states[i] >= 4)
            halves += 5;
        else
            wrong += paper.mid(4 * (i - 1), 4);
    }
    EXPECT_EQ(halves, 5 * answered.size());
    session::FrmChengji& report = session::frmChengji()();
    EXPECT_EQ(report.Label1.caption(), session::scoreLine(0, halves));
    for (int i = 1; i <= 40; ++i)
        EXPECT_EQ(report.CmTNO(i).backColor(), states[i] >= 4 ? 65280u : 255u) << i;
    EXPECT_EQ(read(record("182400")), QStringList{wrong});
    EXPECT_EQ(read(record("288862")), QStringList{paper.mid(4, 4)});
    const QStringList history = read(record("288892"));
    ASSERT_EQ(history.size(), 7);  // two papers and a closing empty line
    EXPECT_EQ(history[0], started.toString("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(history[1], session::halfPointsText(halves));
    EXPECT_EQ(history[6], "");

    // The wrong questions, exactly, are practised.
    d.click(report.Command3);
    ASSERT_TRUE(session::frmTm().loaded());
    EXPECT_FALSE(session::frmChengji().loaded());
    EXPECT_EQ(s().ListKind, core::ListPaperWrong);
    ASSERT_EQ(s().QuestionCount, 40 - answered.size());
    QString reviewed;
    for (int i = 1; i <= s().QuestionCount; ++i) reviewed += session::questionCode(s().QuestionId[i]);
    EXPECT_EQ(reviewed, wrong);
    d.advance(700);
    const QStringList list = read(s().QuestionFile);
    ASSERT_EQ(list.size(), s().QuestionCount);
    EXPECT_TRUE(list[0].startsWith(wrong.left(4)));
    EXPECT_FALSE(session::frmTm()().TimeKS.enabled());
    for (int i = 5; i <= 10; ++i) EXPECT_EQ(session::frmTm()().CmdGN(i).visible(), i <= 7) << i;
    d.click(session::frmTm()().CmdGN(5));
    ASSERT_TRUE(cover::frmFengmian().loaded());
    EXPECT_TRUE(cover::frmFengmian()().LblKSInFo[0].caption().contains(history[1]));

    // The other paper, left to run out: the message and the first
    // confirmation come once, then the hand-in gives its report.
    sitPaper(d, 1);
    if (HasFatalFailure()) return;
    const size_t before = d.ui.shown.size();
    d.ui.expectMsgBox(QString::fromUtf8("时间已到，自动交卷！"), core::MrOk);
    d.ui.expectModal("FrmEnd1", [&](core::Form&) { d.click(session::frmEnd1()().Command1); });
    d.ui.expectModal("FrmEnd2", [&](core::Form&) { d.click(session::frmEnd2()().Command1); });
    d.advance(50 * 60000);
    ASSERT_FALSE(d.ui.pending());
    ASSERT_EQ(d.ui.shown.size(), before + 3);
    ASSERT_TRUE(session::frmChengji().loaded());
    EXPECT_EQ(session::frmChengji()().Label1.caption(), QString::fromUtf8("第2套得分：0分"));
    d.advance(60 * 60000);
    EXPECT_EQ(d.ui.shown.size(), before + 3);
    const QStringList after = read(record("288892"));
    ASSERT_EQ(after.size(), 7);
    EXPECT_EQ(after.mid(0, 3), history.mid(0, 3));
    EXPECT_FALSE(after[3].isEmpty());
    EXPECT_EQ(after[4], "");
    EXPECT_EQ(read(record("182401")), QStringList{paperLine(1)});
    d.click(session::frmChengji()().Command2);
    EXPECT_TRUE(cover::frmFengmian().loaded());
    EXPECT_TRUE(d.ui.unexpected.empty());
}

TEST_F(ExamE2E, TimeRunsOutDuringTheAnswersDemonstration) {
    testsupport::Driver& d = driver();
    session::frmStart()();
    d.advance(200);
    sitPaper(d, 0);
    if (HasFatalFailure()) return;
    // Just before the last minute ends (the clock runs from the question
    // window's load, 600 ms ago), the answer is viewed.
    d.advance(49 * 60000 + 58000);
    ASSERT_EQ(s().MinutesLeft, 1);
    d.ui.expectModal("FrmCZTS", [&](core::Form&) {
        d.ui.expectMsgBox(QString::fromUtf8("您现在就要看答案吗？"), core::MrYes);
        d.click(session::frmCZTS()().Command2);
    });
    d.click(session::frmTm()().CmdGN(10));
    ASSERT_FALSE(d.ui.pending());
    d.advance(300);
    ASSERT_TRUE(demo::frmYanShi().loaded());
    EXPECT_TRUE(demo::frmYanShi()().visible());
    EXPECT_FALSE(session::frmTm()().visible());

    // The time runs out over the demonstration; the hand-in ends both.
    bool demoAtHandIn = false;
    d.ui.expectMsgBox(QString::fromUtf8("时间已到，自动交卷！"), core::MrOk);
    d.ui.expectModal("FrmEnd1", [&](core::Form&) {
        demoAtHandIn = demo::frmYanShi().loaded() && s().DemoRunning;
        d.click(session::frmEnd1()().Command1);
    });
    d.ui.expectModal("FrmEnd2", [&](core::Form&) { d.click(session::frmEnd2()().Command1); });
    d.advance(1500);
    ASSERT_FALSE(d.ui.pending());
    EXPECT_TRUE(demoAtHandIn);
    EXPECT_FALSE(demo::frmYanShi().loaded());
    EXPECT_FALSE(s().DemoRunning);
    ASSERT_TRUE(session::frmChengji().loaded());

    // Nothing of the exam comes back over the report.
    const size_t prompts = d.ui.shown.size();
    d.advance(30 * 60000);
    EXPECT_FALSE(session::frmTm().loaded());
    EXPECT_FALSE(engine::frmMain().loaded());
    EXPECT_TRUE(session::frmChengji()().visible());
    EXPECT_EQ(d.ui.shown.size(), prompts);
    // Viewed answer: the hand-in time is recorded, no best score.
    const QStringList history = read(record("288892"));
    ASSERT_GE(history.size(), 2);
    EXPECT_EQ(history[1], "");
}
