// Step advance, action set-up, target actions, the context menu and the hint
// frame of the practice window, driven as a user would.
#include <gtest/gtest.h>
#include <QFile>
#include <map>

#include "chrome/zones.h"
#include "context_menu/context_menu_file.h"
#include "engine/question_captions.h"
#include "engine/text_table.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;
using engine::StepRecord;
using testsupport::Driver;

namespace {

// A step acted on the target at (1000, 2000), 3000 x 300 twips.
Rec onTarget(const QString& code, const QString& branch = "0") {
    return Rec().put(8, code).target(1000, 2000, 3000, 300).put(71, branch);
}
// A step that no release on the target changes (its target lies elsewhere).
Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

// `first` followed by idle steps up to `total` records.
QStringList scriptOf(QStringList first, int total = 36) {
    while (first.size() < total) first << idle();
    return first;
}

class StepEngineTest : public DrivenTest {
protected:
    FrmMain& f() { return frmMain()(); }
    void click(int button = 1, int shift = 0) { d.click(f().Label1, button, shift); }

    // The context-menu file: every line "0" except the blocks given, each
    // keyed by set and menu and holding its 15 lines.
    void menuFile(const std::map<std::pair<int, int>, QStringList>& blocks) {
        QStringList lines(context_menu::FileLines, "0");
        for (const auto& [key, block] : blocks) {
            const int base = (key.first - 1) * 135 + (key.second - 1) * 15;
            for (int i = 0; i < block.size() && i < 15; ++i) lines[base + i] = block[i];
        }
        ASSERT_TRUE(writeLines(config().programFile("sMenu.sys"), lines));
    }
    // Word's text menu as menu 1 of set 1, a table menu as menu 2 of set 4.
    void wordMenus() {
        menuFile({
            {{1, 1},
             {"文字", "0", "0", "剪切(T)|复制(C)|粘贴(P)", "0", "0", "字体(F)...|-|段落(P)...", "0", "0", "0",
              "同义词(Y)", "(无建议)", "0", "0", "翻译(A)"}},
            {{1, 2}, {"其他", "0", "0", "0", "0", "0", "另一组(Q)", "0", "0", "0", "0", "0", "0", "0", "0"}},
            {{4, 2},
             {"表格", "自动调整(A)",
              "根据内容调整表格(F)|根据窗口调整表格(W)|固定列宽(X)|-|平均分布各行(N)|平均分布各列(Y)",
              "剪切(T)|复制(C)|粘贴(P)", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}},
        });
    }
};

} // namespace

// ------------------------------------------------------------------ advance

TEST_F(StepEngineTest, GoStepBranchTable) {
    QStringList lines;
    for (int i = 1; i <= 36; ++i) lines << Rec().put(4, core::padDigits(i, 2));
    script(lines);
    FrmMain& w = step(7);
    const struct {
        QString code;
        int step;
    } cases[] = {{"1", 1}, {"5", 5}, {"9", 9}, {"A", 10}, {"Z", 35}, {"a", 9}, {"z", 9},
                 {"#", 9}, {" ", 9}, {"", 10}, {QString::fromUtf8("中"), 9}};
    for (const auto& c : cases) {
        w.GoStep(c.code);
        EXPECT_EQ(s().CurrentStep, c.step) << c.code.toStdString();
        EXPECT_EQ(StepRecord(s().StepLine).altSetCode(), core::padDigits(c.step, 2)) << "the step is set up";
    }

    // "0": nothing at all, not even a set-up.
    s().CurrentStep = 4;
    w.LblSuccess.setVisible(true);
    w.GoStep("0");
    EXPECT_EQ(s().CurrentStep, 4);
    EXPECT_TRUE(w.LblSuccess.visible());
}

TEST_F(StepEngineTest, DoNextAdvancesOrMarksTheEnd) {
    script({onTarget("0001"), Rec().put(4, "S2"), Rec().put(8, "9999")});
    FrmMain& w = step(1);
    w.OpenMenu = 5;
    w.OpenItem = 3;
    w.Pic2J.setVisible(true);
    w.doNext();
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(StepRecord(s().StepLine).altSetCode(), "S2");
    EXPECT_EQ(w.OpenMenu, 0);
    EXPECT_EQ(w.OpenItem, 0);
    EXPECT_FALSE(w.Pic2J.visible());

    // The end record: the state gains 4 once; no step follows, no set-up.
    step(3);
    const struct {
        int16_t before, after;
    } states[] = {{0, 4}, {1, 5}, {2, 6}, {3, 7}, {4, 4}, {5, 5}, {6, 6}, {7, 7}};
    for (const auto& c : states) {
        s().QuestionState[1] = c.before;
        w.LblSuccess.setVisible(false);
        w.doNext();
        EXPECT_EQ(s().QuestionState[1], c.after) << c.before;
        EXPECT_EQ(s().CurrentStep, 3);
        EXPECT_FALSE(w.LblSuccess.visible());
    }
}

TEST_F(StepEngineTest, WaitStepsGoOnOncePerSecond) {
    s().RunMode = RunPractice;
    script({Rec().put(8, "8888"), Rec().put(8, "8888"), Rec().put(8, "8888"), Rec().put(8, "9999")});
    FrmMain& w = step(1);
    EXPECT_TRUE(w.Timer3.enabled());
    d.advance(2000);
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_EQ(s().QuestionState[1], 0);
    d.advance(1000);
    EXPECT_EQ(s().CurrentStep, 4);
    EXPECT_EQ(s().QuestionState[1], 4);
    EXPECT_TRUE(w.LblSuccess.visible());
    EXPECT_FALSE(w.Timer3.enabled());
    d.advance(5000);
    EXPECT_EQ(s().CurrentStep, 4);
}

TEST_F(StepEngineTest, WaitTimerActsOnlyOnItsOwnStep) {
    script({Rec().put(8, "8888"), onTarget("0001")});
    step(1);
    // A demonstration writes its own records into StepLine; when it ends on
    // its end record, the practice window's tick must not take that record
    // for its own.
    const QString demoEnd = Rec().put(8, "9999");
    s().StepLine = demoEnd;
    s().DemoRunning = true;
    d.advance(1000);
    s().DemoRunning = false;
    d.advance(1000);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_EQ(s().QuestionState[1], 0);
    EXPECT_EQ(s().StepLine, demoEnd);

    // A handler that overwrites StepCode stops the automatic advance too.
    FrmMain& w = step(1);
    w.StepCode = 3121;
    d.advance(1000);
    EXPECT_EQ(s().CurrentStep, 1);
    step(1);
    d.advance(1000);
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(StepEngineTest, EndRecordInPracticeAndInMockExam) {
    textTable({"001提示"});
    script({onTarget("0001").hint(600, 7000, "001"), Rec().put(8, "9999").target(100, 100, 600, 300)});
    for (int16_t mode : {RunGuided, RunPractice, RunExam}) {
        SCOPED_TRACE(mode);
        s().RunMode = mode;
        s().QuestionCount = 17;
        for (int q = 1; q <= 40; ++q) s().QuestionState[q] = 4;
        s().QuestionState[2] = 0;
        s().QuestionState[5] = 3;
        s().QuestionState[17] = 1;
        s().QuestionState[3] = 2;  // flagged, the question played
        s().CurrentQuestion = 3;
        s().StepStart[3] = 1;
        Control& title = standIn()().title;
        title.setCaption(QString::fromUtf8("字处理 1单元3/17题(未完成)(未完成)"));

        FrmMain& w = step(1);
        EXPECT_EQ(w.Shape1.visible(), mode == RunGuided) << "the frame follows the hint";
        w.doNext();
        EXPECT_EQ(s().QuestionState[3], 6);
        EXPECT_FALSE(w.Shape1.visible());
        EXPECT_EQ(w.LblSuccess.visible(), mode != RunExam);
        EXPECT_EQ(w.LblSuccess.caption(), QString::fromUtf8("操作成功！"));
        EXPECT_FALSE(w.LHelp.visible());
        EXPECT_EQ(standIn()().unsolved.caption(), QString::fromUtf8("未完成的题目 2 5 17"));
        EXPECT_EQ(title.caption(), QString::fromUtf8("字处理 1单元3/17题(已完成)(已完成)"));

        // Loading the question again at its end: the state is not raised twice.
        step(2);
        EXPECT_EQ(s().QuestionState[3], 6);
        EXPECT_EQ(w.LblSuccess.visible(), mode != RunExam);
        w.unload();
    }
}

TEST_F(StepEngineTest, EndRecordWithEveryQuestionAnswered) {
    script({Rec().put(8, "9999")});
    s().QuestionCount = 3;
    for (int q = 1; q <= 3; ++q) s().QuestionState[q] = 4;
    s().QuestionState[1] = 1;
    step(1);
    EXPECT_EQ(standIn()().unsolved.caption(), QString::fromUtf8("未完成的题目"));
}

TEST_F(StepEngineTest, CaptionHelpers) {
    SessionState st;
    st.QuestionCount = 40;
    for (int q = 1; q <= 40; ++q) st.QuestionState[q] = q == 2 || q == 17 || q == 40 ? 3 : 4 + q % 4;
    EXPECT_EQ(engine::unsolvedList(st), QString::fromUtf8("未完成的题目 2 17 40"));
    st.QuestionCount = 0;
    EXPECT_EQ(engine::unsolvedList(st), QString::fromUtf8("未完成的题目"));
    EXPECT_EQ(engine::completedTitle(QString::fromUtf8("a(未完成)b(未完成)(未完成")),
              QString::fromUtf8("a(已完成)b(已完成)(未完成"));
}

// ------------------------------------------------------------------ target actions

TEST_F(StepEngineTest, ReleaseRulesOnTheTarget) {
    const struct {
        const char* code;
        const char* branch;
        int button, shift;
        int step;  // step shown afterwards
    } cases[] = {
        {"0001", "0", 1, 0, 2},  {"0001", "0", 1, 1, 1},  {"0001", "3", 2, 0, 1},  {"0001", "3", 1, 0, 3},
        {"0001", "0", 4, 0, 1},  {"0003", "0", 2, 2, 2},  {"0003", "0", 1, 0, 1},  {"0003", "C", 2, 0, 12},
        {"9101", "0", 1, 1, 2},  {"9101", "0", 1, 0, 1},  {"9101", "4", 1, 1, 4},  {"9101", "0", 2, 1, 1},
        {"9602", "0", 2, 6, 2},  {"0004", "0", 1, 0, 1},  {"0004", "0", 2, 0, 1},  {"0004", "3", 1, 0, 3},
        {"0004", "3", 2, 4, 3},  {"7000", "0", 1, 0, 1},  {"7000", "0", 2, 0, 1},  {"7000", "2", 2, 0, 2},
        {"7000", "2", 1, 5, 2},  {"9999", "3", 1, 0, 1},  {"0002", "3", 1, 0, 1},  {"K005", "3", 1, 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " branch " << c.branch << " button " << c.button << " shift "
                                        << c.shift);
        script(scriptOf({onTarget(c.code, c.branch)}));
        step(1);
        click(c.button, c.shift);
        EXPECT_EQ(s().CurrentStep, c.step);
    }
}

TEST_F(StepEngineTest, DoubleClickAndItsTrailingRelease) {
    // Step 5 lies under the pointer: the release that ends the double click
    // is judged against it.
    for (const char* fifth : {"0001", "0004"}) {
        SCOPED_TRACE(fifth);
        script(scriptOf({onTarget("0002", "5"), idle(), idle(), idle(), onTarget(fifth)}));
        step(1);
        click();
        click(2);
        EXPECT_EQ(s().CurrentStep, 1) << "single releases do nothing";
        d.dblClick(f().Label1);
        EXPECT_EQ(s().CurrentStep, QString(fifth) == "0001" ? 6 : 5);
    }
    // Without a branch the double click goes to the next step.
    script(scriptOf({onTarget("0002")}));
    step(1);
    d.dblClick(f().Label1);
    EXPECT_EQ(s().CurrentStep, 2);
    // Another code ignores the double click.
    script(scriptOf({onTarget("0004", "5")}));
    step(1);
    f().mouseDblPress(Driver::centreX(f().Label1), Driver::centreY(f().Label1), 1);
    EXPECT_EQ(s().CurrentStep, 1);
}

TEST_F(StepEngineTest, HoverAdvancesAndThePointerFollowsTheRecord) {
    ASSERT_TRUE([&] {
        QFile cur(config().programFile("ico03.CUR"));
        return cur.open(QIODevice::WriteOnly) && cur.write(cursorBytes()) > 0;
    }());
    script({onTarget("0030").put(101, "S0003"), onTarget("0001").put(101, "S0011"),
            onTarget("0001").put(101, "M0003"), onTarget("0001").put(101, "M0004"), onTarget("0041").put(101, "S0011"),
            onTarget("0001").put(101, "X0011")});
    FrmMain& w = step(1);
    EXPECT_EQ(w.Label1.mousePointer(), PtrIBeam);
    d.hover(w.Label1);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(w.Label1.mousePointer(), PtrHourglass) << "the next step's pointer";
    d.hover(w.Label1);
    EXPECT_EQ(s().CurrentStep, 2) << "only a hover step advances";

    step(3);
    EXPECT_EQ(w.Label1.mousePointer(), PtrCustom);
    EXPECT_EQ(w.Label1.mouseIcon(), config().programFile("ico03.CUR"));
    d.hover(w.Label1);
    EXPECT_EQ(w.Label1.mousePointer(), PtrCustom);

    // A cursor file that cannot be read: the default pointer.
    step(4);
    EXPECT_EQ(w.Label1.mousePointer(), PtrDefault);
    d.hover(w.Label1);
    EXPECT_EQ(w.Label1.mousePointer(), PtrDefault);

    // Drags: the default pointer over the target whatever the record holds.
    step(5);
    EXPECT_EQ(w.Label1.mousePointer(), PtrHourglass);
    d.hover(w.Label1);
    EXPECT_EQ(w.Label1.mousePointer(), PtrDefault);

    step(6);
    EXPECT_EQ(w.Label1.mousePointer(), PtrDefault);

    // A hover into a drag step: the hover step's code decides, so the drag
    // step's own pointer is shown until the next move over the target.
    script({onTarget("0030"), onTarget("0041").put(101, "S0011")});
    step(1);
    d.hover(w.Label1);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(w.Label1.mousePointer(), PtrHourglass);
    d.hover(w.Label1);
    EXPECT_EQ(w.Label1.mousePointer(), PtrDefault);
}

TEST_F(StepEngineTest, OverlayClickTakesItsBranch) {
    picture("330001", 40, 40);
    script(scriptOf({Rec().put(8, "7000").overlay(1, 3000, 3000, "330001").put(23, "B").overlay(2, 6000, 3000, "330001")}));
    FrmMain& w = step(1);
    d.click(w.Image2);
    EXPECT_EQ(s().CurrentStep, 1) << "branch 0";
    d.click(w.Image1);
    EXPECT_EQ(s().CurrentStep, 11);
}

TEST_F(StepEngineTest, TypedAnswerConfirmedOnTheTarget) {
    textTable({"001a|B", "002Word", "003 x|y|z "});
    const Rec box = Rec().input(100, 100, 2000, 300, "000");
    const struct {
        const char* code;
        const char* answer;
        const char* typed;
        int button;
        bool accepted;
    } cases[] = {
        {"0022", "001", "  b ", 1, true},  {"0022", "001", "A", 1, true},   {"0022", "001", "c", 1, false},
        {"0022", "001", "a|B", 1, false},  {"0022", "001", "a", 2, false},  {"0026", "000", "   ", 1, true},
        {"0026", "000", "", 1, true},      {"0026", "000", "x", 1, false},  {"0026", "002", "WORD", 1, true},
        {"0028", "003", "Y|Z", 1, true},   {"0028", "003", "x", 1, true},   {"0028", "003", "y", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.typed);
        script(scriptOf({Rec(box).put(8, c.code).target(1000, 2000, 3000, 300).put(109, c.answer).put(71, "5")}));
        FrmMain& w = step(1);
        w.Text1.setText(QString::fromUtf8(c.typed));
        click(c.button);
        EXPECT_EQ(s().CurrentStep, c.accepted ? 2 : 1) << "a right answer goes on to the next step";
        if (!c.accepted) {
            EXPECT_EQ(w.Text1.text(), QString::fromUtf8(c.typed));
        }
    }

    // Without its text table the check cannot run: nothing happens.
    s().TextTableFile = dir.filePath("none.rar");
    script(scriptOf({Rec(box).put(8, "0022").target(1000, 2000, 3000, 300).put(109, "001")}));
    FrmMain& w = step(1);
    w.Text1.setText("a");
    click();
    EXPECT_EQ(s().CurrentStep, 1);
}

TEST_F(StepEngineTest, AnswerTextAndLooseMatch) {
    textTable({"001a|B|c", "002 Abc "});
    const engine::AnswerAlternatives two = engine::AnswerText("001");
    EXPECT_EQ(two.whole, "a|B|c");
    EXPECT_EQ(two.first, "a");
    EXPECT_EQ(two.second, "B|c");
    EXPECT_TRUE(engine::LooseAnswerMatch(" b|C  ", two));
    EXPECT_FALSE(engine::LooseAnswerMatch("b", two));
    const engine::AnswerAlternatives one = engine::AnswerText("002");
    EXPECT_EQ(one.first, one.second);
    EXPECT_TRUE(engine::LooseAnswerMatch("ABC", one));
    EXPECT_FALSE(engine::LooseAnswerMatch("\tabc", one)) << "only blanks are trimmed";
    EXPECT_TRUE(engine::LooseAnswerMatch("  ", engine::AnswerText("000")));
    s().TextTableFile = dir.filePath("none.rar");
    EXPECT_THROW(engine::AnswerText("001"), RuntimeError);
    EXPECT_NO_THROW(engine::AnswerText("000"));
}

// ------------------------------------------------------------------ context menu

TEST_F(StepEngineTest, AlternativeMenuCodeOpensMenuTwoOfSetFour) {
    wordMenus();
    script(scriptOf({onTarget("7000").put(86, "RA215")}));
    FrmMain& w = step(1);
    click();  // the left button opens nothing
    EXPECT_EQ(s().CurrentStep, 1);

    d.ui.expectPopup("wm100", QString::fromUtf8("平均分布各列(Y)"));
    const double x = Driver::centreX(w.Label1), y = Driver::centreY(w.Label1);
    click(2);
    EXPECT_FALSE(d.ui.pending());
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(w.ContextMenuNo, 2);
    EXPECT_DOUBLE_EQ(d.ui.lastPopupX, x) << "at the pointer";
    EXPECT_DOUBLE_EQ(d.ui.lastPopupY, y);
    EXPECT_EQ(d.ui.lastPopupFlags, PopupLeftAlign);
    // The menu as it was filled: cascade 1 and group 1 only.
    EXPECT_TRUE(w.sVemoMain[1]->visible());
    EXPECT_EQ(w.sVemoMain[1]->caption(), QString::fromUtf8("自动调整(A)"));
    for (int j = 0; j <= 10; ++j) EXPECT_EQ((*w.sVemoSub[1])[j].visible(), j <= 5) << j;
    EXPECT_TRUE((*w.sVemoSub[1])[3].isSeparator());
    for (int j = 0; j <= 10; ++j) EXPECT_EQ((*w.sVemoInde[1])[j].visible(), j <= 2) << j;
    for (int n = 2; n <= 5; ++n) EXPECT_FALSE(w.sVemoMain[n]->visible()) << n;
    for (int n = 2; n <= 4; ++n) EXPECT_FALSE((*w.sVemoInde[n])[0].visible()) << n;
}

TEST_F(StepEngineTest, ContextMenuEntriesMatchTheCode) {
    wordMenus();
    const struct {
        const char* code;
        const char* choose;  // empty: the menu is closed without a choice
        int step;
    } cases[] = {
        {"3121", "", 1},           {"3121", "剪切(T)", 1},        {"3121", "复制(C)", 2},
        {"3142", "段落(P)...", 2}, {"3141", "段落(P)...", 1},     {"3172", "(无建议)", 1},
        {"3170", "(无建议)", 2},   {"3190", "翻译(A)", 2},        {"3120", "剪切(T)", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.choose);
        script(scriptOf({onTarget(c.code)}));
        FrmMain& w = step(1);
        d.ui.expectPopup("wm100", QString::fromUtf8(c.choose));
        click(2);
        EXPECT_FALSE(d.ui.pending());
        EXPECT_EQ(s().CurrentStep, c.step);
        EXPECT_EQ(w.ContextMenuNo, 1);
    }

    // A group absent in this menu stays hidden after a menu that showed it.
    script(scriptOf({onTarget("3240")}));
    FrmMain& w = step(1);
    d.ui.expectPopup("wm100", QString::fromUtf8("另一组(Q)"));
    click(2);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_FALSE((*w.sVemoInde[1])[0].visible());
    EXPECT_FALSE(w.sVemoMain[4]->visible());
}

TEST_F(StepEngineTest, ReleaseGoesOnWithTheNextStepAfterAMenuChoice) {
    // The release that opened the menu is judged again against the step
    // the chosen entry led to.
    wordMenus();
    script(scriptOf({onTarget("0004").put(86, "R3121"), onTarget("0003"), onTarget("0003")}));
    step(1);
    d.ui.expectPopup("wm100", QString::fromUtf8("复制(C)"));
    click(2);
    EXPECT_EQ(s().CurrentStep, 3);
}

TEST_F(StepEngineTest, MissingContextMenuFileOpensNothing) {
    script(scriptOf({onTarget("3121"), onTarget("0003")}));
    FrmMain& w = step(1);
    (*w.sVemoInde[1])[2].setVisible(true);
    click(2);
    EXPECT_TRUE(d.ui.shown.empty()) << "no popup with stale entries";
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_FALSE((*w.sVemoInde[1])[2].visible());

    // The release ends there: the next rule is not applied either.
    script(scriptOf({onTarget("0003").put(86, "R3121")}));
    step(1);
    click(2);
    EXPECT_EQ(s().CurrentStep, 1);

    // The program goes on: with the file back, the same step works.
    wordMenus();
    script(scriptOf({onTarget("3121")}));
    step(1);
    d.ui.expectPopup("wm100", QString::fromUtf8("复制(C)"));
    click(2);
    EXPECT_EQ(s().CurrentStep, 2);
}

// ------------------------------------------------------------------ action set-up

TEST_F(StepEngineTest, TypingHintsAndFrames) {
    textTable({"001a|b", "002abc"});
    const struct {
        const char* code;
        const char* caption;
        bool frame;
    } cases[] = {
        {"0020", "输入 a或  b", false},
        {"0021", "输入 a或  b", false},
        {"0022", "输入 a或  b 并按回车键或点红色方框处", true},
        {"0023", "请选中 a或  b", false},
        {"0024", "输入 a或  b 并按回车键", false},
        {"0025", "输入 a或  b", false},
        {"0026", "输入 a或  b 并点击红色方框处", true},
        {"0027", "输入 a或  b", false},
        {"0028", "a或  b", false},
        {"0029", "a或  b", false},
        {"0001", "a\r\nb", true},
    };
    for (int16_t mode : {RunGuided, RunPractice}) {
        s().RunMode = mode;
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.code << " mode " << mode);
            script({Rec().put(8, c.code).target(1000, 2000, 3000, 300).hint(600, 7000, "001").input(100, 100, 900, 300, "002")});
            FrmMain& w = step(1);
            EXPECT_EQ(w.LHelp.caption(), QString::fromUtf8(c.caption));
            EXPECT_EQ(w.Shape1.visible(), c.frame && mode == RunGuided);
            const bool keepsSelection = QString(c.code) == "0028" || QString(c.code) == "0029" || QString(c.code) == "0001";
            EXPECT_EQ(w.Text1.selLength(), keepsSelection ? 3 : 0);
            EXPECT_EQ(w.Shape2.visible(), mode == RunGuided);
        }
    }

    // Without a hint position the prefix goes before the caption left.
    s().RunMode = RunGuided;
    script({Rec().hint(600, 7000, "001"), Rec().put(8, "0024")});
    FrmMain& w = step(1);
    step(2);
    EXPECT_EQ(w.LHelp.caption(), QString::fromUtf8("输入 a\r\nb 并按回车键"));
}

TEST_F(StepEngineTest, RenameAndOverlayBoxes) {
    textTable({"001abc"});
    script({Rec().put(8, "0021").input(150, 300, 2400, 330, "001").format("0120M03321"),
            Rec().put(8, "0027").input(450, 600, 1200, 345, "001").format("0140R01321"), Rec()});
    FrmMain& w = step(1);
    EXPECT_TRUE(w.Text2.visible());
    EXPECT_FALSE(w.Text1.visible());
    EXPECT_EQ(w.Text2.text(), "abc");
    EXPECT_DOUBLE_EQ(w.Text2.left(), 150);
    EXPECT_DOUBLE_EQ(w.Text2.top(), 300);
    EXPECT_DOUBLE_EQ(w.Text2.width(), 2400);
    EXPECT_DOUBLE_EQ(w.Text2.height(), 330);
    EXPECT_DOUBLE_EQ(w.Text2.fontSize(), 9) << "the rename box keeps its own font";
    EXPECT_FALSE(w.Text3.visible());

    step(2);
    EXPECT_FALSE(w.Text2.visible());
    EXPECT_TRUE(w.Text3.visible());
    EXPECT_FALSE(w.Text1.visible());
    EXPECT_FALSE(w.Shape1.visible());
    EXPECT_EQ(w.Text3.text(), "abc");
    EXPECT_DOUBLE_EQ(w.Text3.left(), 450);
    EXPECT_DOUBLE_EQ(w.Text3.width(), 1200);
    EXPECT_DOUBLE_EQ(w.Text3.height(), 345);
    EXPECT_DOUBLE_EQ(w.Text3.fontSize(), 14);
    EXPECT_EQ(w.Text3.fontName(), QString::fromUtf8("黑体"));
    EXPECT_TRUE(w.Text3.fontBold());
    EXPECT_EQ(w.Text3.foreColor(), w.Text1.foreColor());
    EXPECT_EQ(w.Text3.backColor(), w.Text1.backColor());

    step(3);
    EXPECT_FALSE(w.Text3.visible());
}

TEST_F(StepEngineTest, ImageDragsShrinkTheTargets) {
    script({Rec().put(8, "8003").target(1000, 2000, 3000, 300).num(177, 5, 500).num(183, 4, 500).num(187, 5, 900).num(192, 5, 900),
            Rec().put(8, "8888").target(1000, 2000, 3000, 300)});
    FrmMain& w = step(1);
    w.Label4.move(500, 500, 900, 900);
    step(1);
    EXPECT_EQ(w.StepCode, 8003);
    EXPECT_FALSE(w.Timer3.enabled());
    EXPECT_DOUBLE_EQ(w.Label1.width(), 1);
    EXPECT_DOUBLE_EQ(w.Label1.height(), 1);
    EXPECT_DOUBLE_EQ(w.Label1.left(), 1000);
    EXPECT_DOUBLE_EQ(w.Label4.width(), 1);
    EXPECT_DOUBLE_EQ(w.Label4.height(), 1);
    EXPECT_DOUBLE_EQ(w.Label4.left(), 500);
    EXPECT_FALSE(w.Shape1.visible()) << "a target of 10 twips or less has no frame";
    step(2);
    EXPECT_EQ(w.StepCode, 8888);
    EXPECT_TRUE(w.Timer3.enabled());
}

TEST_F(StepEngineTest, RedFrameNeedsATallEnoughTarget) {
    script({onTarget("0001").target(1000, 2000, 3000, 10), onTarget("0001").target(1000, 2000, 3000, 11)});
    FrmMain& w = step(1);
    EXPECT_FALSE(w.Shape1.visible());
    step(2);
    EXPECT_TRUE(w.Shape1.visible());
}

TEST_F(StepEngineTest, BarsOfBarsCode) {
    QDir(dir.path()).mkpath("examdata");
    QImage chart(60, 20, QImage::Format_RGB32);
    chart.fill(Qt::gray);
    ASSERT_TRUE(chart.save(chrome::chromePictureFile(dir.path() + "/examdata/", "010000"), "BMP"));
    const struct {
        const char* bars;
        bool menu, tool, hui, tubiao;
    } cases[] = {
        {"A5", true, false, true, false}, {"A7", true, true, true, false}, {"C2", false, true, false, true},
        {"A0", false, false, false, false}, {"A8", false, false, false, false}, {"D3", false, false, false, false},
        {"B1", true, false, false, false}, {"a1", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bars);
        script({Rec().put(6, c.bars)});
        FrmMain& w = step(1);
        EXPECT_EQ(w.PicMenu.visible(), c.menu);
        EXPECT_EQ(w.PicTool.visible(), c.tool);
        EXPECT_EQ(w.PicHui.visible(), c.hui);
        EXPECT_EQ(w.PicTuBiao.visible(), c.tubiao);
        EXPECT_FALSE(w.PicElse.visible()) << "the extra area decides PicElse";
        EXPECT_EQ(w.Image6.visible(), c.tubiao);
        if (c.tubiao) {
            EXPECT_DOUBLE_EQ(w.Image6.left(), 5520);
            EXPECT_DOUBLE_EQ(w.Image6.top(), 750);
            EXPECT_EQ(w.Image6.picture().widthPixels(), 60);
        }
    }

    // Without the chart picture Image6 keeps its picture and is shown.
    QFile::remove(chrome::chromePictureFile(dir.path() + "/examdata/", "010000"));
    pictureStore().clear();
    picture("330006", 16, 16);
    script({Rec().overlay(6, 50, 60, "330006"), Rec().put(6, "C0").overlay(6, 50, 60, "888888")});
    FrmMain& w = step(1);
    step(2);
    EXPECT_TRUE(w.Image6.visible());
    EXPECT_TRUE(w.PicTuBiao.visible());
    EXPECT_EQ(w.Image6.picture().widthPixels(), 16);
    EXPECT_DOUBLE_EQ(w.Image6.left(), 5520);
}

// ------------------------------------------------------------------ hint frame

TEST_F(StepEngineTest, HintFramesOverTheNamedHotSpots) {
    const struct {
        const char* slot1;  // columns 125-134
        const char* slot2;  // 86-95
        const char* slot3;  // 96-105
        std::vector<std::pair<const char*, int>> frames;  // shape, hot-spot
    } cases[] = {
        {"H060000000", "0000000000", "0000000000", {{"ShapeMenu", 6}}},
        {"0000000000", "0000000000", "D050000000", {{"ShapeMenu", 5}}},
        {"0000000000", "D050000000", "0000000000", {}},
        {"H450000000", "H060000000", "0000000000", {{"ShapeTool", 45}, {"ShapeMenu", 6}}},
        {"H500000000", "0000000000", "H420000000", {{"ShapeTool", 50}}},
        {"0000000000", "H420000000", "H500000000", {{"ShapeTool", 42}}},
        {"0000000000", "0000000000", "H200000000", {{"ShapeHui", 20}}},
        {"0000000000", "0000000000", "H950000000", {{"ShapeTuBiao", 95}}},
        {"0000000000", "H350000000", "0000000000", {{"ShapeElse", 35}}},
        {"H000000000", "H100000000", "HAB0000000", {}},
        {"0000000000", "0000000000", "0000000000", {}},
    };
    const QStringList shapes = {"ShapeMenu", "ShapeTool", "ShapeHui", "ShapeElse", "ShapeTuBiao"};
    for (int16_t mode : {RunGuided, RunPractice}) {
        s().RunMode = mode;
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.slot1 << " " << c.slot2 << " " << c.slot3 << " mode " << mode);
            script({Rec().put(125, c.slot1).put(86, c.slot2).put(96, c.slot3)});
            FrmMain& w = step(1);
            for (const QString& n : shapes) w.control(n).move(1, 1, 1, 1);
            d.advance(100);
            EXPECT_FALSE(w.TimerDisFK.enabled());
            for (const QString& n : shapes) {
                const Control& shape = w.control(n);
                int hot = -1;
                for (const auto& [name, h] : c.frames)
                    if (n == name) hot = h;
                EXPECT_EQ(shape.visible(), hot >= 0 && mode == RunGuided) << n.toStdString();
                if (hot < 0) continue;
                const Control& h = w.LblZHU[hot];
                double l = h.left(), t = h.top(), wd = h.width(), ht = h.height();
                if (n == "ShapeMenu") t += 15, ht -= 15;
                if (n == "ShapeElse") l += 15, t += 15, wd = w.PicElse.width() - 30, ht = w.PicElse.height() - 30;
                EXPECT_DOUBLE_EQ(shape.left(), l) << n.toStdString();
                EXPECT_DOUBLE_EQ(shape.top(), t) << n.toStdString();
                EXPECT_DOUBLE_EQ(shape.width(), wd) << n.toStdString();
                EXPECT_DOUBLE_EQ(shape.height(), ht) << n.toStdString();
                EXPECT_EQ(shape.container(), h.container()) << "the frame lies in the hot-spot's bar";
            }
        }
    }

    // The frames keep their place until the next tick.
    s().RunMode = RunGuided;
    script({Rec().put(125, "H060000000")});
    FrmMain& w = step(1);
    d.advance(100);
    w.LHelp.setVisible(false);
    d.advance(1000);
    EXPECT_TRUE(w.ShapeMenu.visible());
    w.TimerDisFK.setEnabled(true);  // the hint button
    w.LHelp.setVisible(true);
    d.advance(100);
    EXPECT_TRUE(w.ShapeMenu.visible());
}
