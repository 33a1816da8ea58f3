// Steps that complete themselves inside their set-up: a run of them, one
// found again past the end of a script cut short, and the step laid out
// after one.
#include <gtest/gtest.h>

#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;

namespace {

// Look-in step whose starting row is its row to choose ("K" d rr, d = rr).
Rec lookInDone() { return Rec().put(8, "K101").input(900, 1200, 3000, 315, "000"); }
// List step whose first selection is its answer.
Rec listDone() { return Rec().put(8, "L004").input(1500, 2400, 2400, 1200, "000").num(106, 3, 1).num(109, 3, 1); }
// Rename and overlay steps whose pre-fill is their answer.
Rec typingDone(const QString& code) { return Rec().put(8, code).input(300, 300, 3000, 300, "001").put(109, "001"); }
// Steps with a target and the hint of text line 002.
Rec clickStep() { return Rec().put(8, "0001").target(3000, 3000, 600, 300).hint(300, 4000, "002"); }
Rec typingStep() { return Rec().put(8, "0020").input(300, 300, 3000, 300, "000").put(109, "003").hint(300, 4000, "002"); }
Rec lookInOpen() { return Rec().put(8, "K105").input(900, 1200, 3000, 315, "000"); }
Rec endStep() { return Rec().put(8, "9999"); }

class SelfCompletingTest : public DrivenTest {
protected:
    void SetUp() override {
        DrivenTest::SetUp();
        textTable({"001abc", QString::fromUtf8("002点这里"), "003xyz", "004abc|def"});
    }
};

} // namespace

TEST_F(SelfCompletingTest, OneRecordScriptFoundAgainPastTheEndStaysWhereItIs) {
    // A script of one record without its end record (a file cut short):
    // reading past the end gives that record again.
    for (const Rec& r : {lookInDone(), listDone()}) {
        SCOPED_TRACE(QString(r).mid(7, 4).toStdString());
        script({r});
        step(1);
        EXPECT_EQ(s().CurrentStep, 2);
        EXPECT_EQ(s().QuestionStep[1], 2);
        EXPECT_EQ(s().StepLine, QString(r));
        // The candidate's next action on it ends the same way.
        step(2);
        EXPECT_EQ(s().CurrentStep, 2);
        core::unloadAllForms();
    }
}

TEST_F(SelfCompletingTest, ScriptCutInItsLastRecordAfterAClickStep) {
    // The record cut at column 80 still completes itself (its code lies in
    // columns 8-11); the click on step 1's target reaches it.
    script({clickStep(), QString(lookInDone()).left(80)});
    FrmMain& f = step(1);
    d.click(f.Label1);
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_TRUE(f.PicList.visible());
    d.click(f.Label1);
    EXPECT_EQ(s().CurrentStep, 3);
}

TEST_F(SelfCompletingTest, TenThousandInARowDoNotNest) {
    QStringList lines;
    const QString done = QString(lookInDone()).left(11);
    for (int i = 0; i < 10000; ++i) lines << done;
    lines << endStep();
    script(lines);
    s().QuestionState[1] = 0;
    step(1);
    EXPECT_EQ(s().CurrentStep, 10001);
    EXPECT_EQ(s().StepLine, QString(endStep()));
    EXPECT_EQ(s().QuestionState[1], 4);
}

TEST_F(SelfCompletingTest, StepAfterATypingStepThatCompletedItselfIsLaidOutOnce) {
    const QString hint = QString::fromUtf8("点这里");
    const QString typeIt = QString::fromUtf8("输入 ");
    for (const char* code : {"0021", "0027"}) {
        for (bool nextTyping : {false, true}) {
            SCOPED_TRACE(testing::Message() << code << (nextTyping ? " then 0020" : " then 0001"));
            script({typingDone(code), nextTyping ? typingStep() : clickStep(), endStep()});
            FrmMain& f = step(1);
            ASSERT_EQ(s().CurrentStep, 2);
            EXPECT_EQ(f.LHelp.caption(), nextTyping ? typeIt + hint : hint);
            if (!nextTyping) {
                EXPECT_TRUE(f.Shape1.visible());
            }
            core::unloadAllForms();
        }
    }
}

TEST_F(SelfCompletingTest, LookInStepAfterAListStepThatCompletedItself) {
    script({listDone(), lookInOpen(), endStep()});
    FrmMain& f = step(1);
    ASSERT_EQ(s().CurrentStep, 2);
    EXPECT_TRUE(f.PicList.visible());
    EXPECT_FALSE(f.LstLA.visible());
    // Row 5 is chosen as a candidate does: open the list, click the row.
    d.click(f.LblADDmyXZ);
    d.click(f.LblADD[5]);
    EXPECT_EQ(s().CurrentStep, 3);
}
