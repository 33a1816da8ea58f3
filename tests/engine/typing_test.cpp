// Typed text: the answer rules, the checks of the input, rename and overlay
// boxes, their confirmation by Enter or a click, the selection check and the
// keyboard layout of a box that gets the focus.
#include <gtest/gtest.h>

#include "core/keyboard_layout.h"
#include "core/keys.h"
#include "engine/text_table.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;
using engine::AnswerAlternatives;

namespace {

// Answer "a|b": first and second alternative; without "|" both are the whole.
AnswerAlternatives alt(const QString& whole) {
    const qsizetype bar = whole.indexOf(u'|');
    return {whole, bar < 0 ? whole : whole.left(bar), bar < 0 ? whole : whole.mid(bar + 1)};
}

// A step that nothing here completes; it has no input box.
Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

QStringList withIdle(QStringList first, int total = 6) {
    while (first.size() < total) first << idle();
    return first;
}

// A typing step: input box at (300, 300), pre-fill and answer references.
Rec typing(const QString& code, const QString& answer, const QString& prefill = "000") {
    return Rec().put(8, code).input(300, 300, 3000, 300, prefill).put(109, answer);
}

QStringList* g_log = nullptr;
void captureLog(QtMsgType, const QMessageLogContext&, const QString& m) {
    if (g_log) g_log->append(m);
}

class TypingTest : public DrivenTest {
protected:
    std::shared_ptr<FakeKeyboardLayouts> layouts = std::make_shared<FakeKeyboardLayouts>();

    void SetUp() override {
        DrivenTest::SetUp();
        setKeyboardLayouts(layouts);
    }
    void TearDown() override {
        DrivenTest::TearDown();
        setKeyboardLayouts(nullptr);
    }
    // The candidate's edit of a box: its whole text replaced at once.
    void edit(Control& box, const QString& text) { box.form()->userEdit(box, text, int(text.size())); }
};

} // namespace

// ------------------------------------------------------------------ rules

TEST(AnswerRules, LooseAndExactMatch) {
    const struct {
        const char* answer;
        const char* entry;
        bool loose, exact;
    } cases[] = {
        {"abc", " ABC ", true, false},   {"abc", " abc  ", true, true},   {"abc", "abc\t", false, false},
        {"abc", "a bc", false, false},   {"abc", "　abc", false, false},  // full-width blank stays
        {"x|y", "X", true, false},       {"x|y", " y ", true, true},      {"x|y", "x|y", false, false},
        {"a|b|c", "b|c", true, true},    {"a|b|c", "c", false, false},    {"a|b|c", "A", true, false},
        {"", "", true, true},            {"", "   ", true, true},         {"", "x", false, false},
        {" Word ", "word", true, false}, {" Word ", "Word", true, true},   {"练习1|练习1.doc", "练习1.DOC", true, false},
        {"网络知识", " 网络知识 ", true, true},                            {"网络知识", "网络", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << " / " << c.entry);
        const AnswerAlternatives a = alt(QString::fromUtf8(c.answer));
        EXPECT_EQ(engine::LooseAnswerMatch(QString::fromUtf8(c.entry), a), c.loose);
        EXPECT_EQ(engine::ExactAnswerMatch(QString::fromUtf8(c.entry), a), c.exact);
    }
}

TEST(AnswerRules, ReducedEntryKeepsPrintableAsciiOnly) {
    const struct {
        const char* text;
        const char* reduced;
    } cases[] = {
        {"a b", "ab"}, {"  75 % ", "75%"}, {"黑体", ""}, {"Word文档.doc", "Word.doc"}, {"~!", "~!"},
        {"a\tb", "ab"}, {"ａｂ", ""},  // full-width letters are double-byte
    };
    for (const auto& c : cases) EXPECT_EQ(engine::ReducedEntry(QString::fromUtf8(c.text)), QString::fromUtf8(c.reduced));
}

TEST_F(TypingTest, AnswerTextOfThreeParts) {
    textTable({"001a|b|c", "002abc"});
    const AnswerAlternatives a = engine::AnswerText("001");
    EXPECT_EQ(a.first, "a");
    EXPECT_EQ(a.second, "b|c");
    const AnswerAlternatives none = engine::AnswerText("000");
    EXPECT_TRUE(none.whole.isEmpty());
    EXPECT_TRUE(none.first.isEmpty());
    EXPECT_TRUE(none.second.isEmpty());
}

// ------------------------------------------------------------------ live checks

TEST_F(TypingTest, LiveChecksOnEveryChange) {
    textTable({"001abc", "002x|y", "003网络知识", "004原文"});
    const struct {
        const char* code;
        const char* answer;
        const char* entry;
        bool advances;
    } cases[] = {
        {"0020", "001", " ABC ", true},  {"0020", "001", "ab", false},     {"0025", "001", " abc ", true},
        {"0025", "001", "ABC", false},   {"0020", "002", "X", true},       {"0020", "002", " y ", true},
        {"0020", "002", "x|y", false},   {"0025", "002", "Y", false},      {"0020", "003", "网络知识", true},
        {"0020", "000", "  ", true},     {"0020", "000", "a", false},
        // Steps that Enter or a click confirm do not look at a change.
        {"0022", "001", "abc", false},   {"0024", "001", "abc", false},    {"0026", "001", "abc", false},
        {"0028", "001", "abc", false},   {"0023", "001", "abc", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.entry);
        script(withIdle({typing(c.code, c.answer, "004")}));
        FrmMain& f = step(1);
        ASSERT_EQ(s().CurrentStep, 1);
        f.StepCode = 0;
        edit(f.Text1, QString::fromUtf8(c.entry));
        EXPECT_EQ(s().CurrentStep, c.advances ? 2 : 1);
        if (!c.advances) {
            EXPECT_EQ(f.StepCode, QString(c.code).toInt()) << "the check sets the step's code again";
        }
    }
}

TEST_F(TypingTest, TypingThroughTheDriverAdvancesOnTheLastCharacter) {
    textTable({"001Word"});
    script(withIdle({typing("0020", "001"), typing("0020", "001")}));
    FrmMain& f = step(1);
    d.type(f.Text1, "wor");
    EXPECT_EQ(s().CurrentStep, 1);
    d.type(f.Text1, "D");
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_TRUE(f.Text1.text().isEmpty()) << "the next step fills the box afresh";
}

TEST_F(TypingTest, CommittedInputMethodTextIsTheUsersChange) {
    textTable({"001网络知识"});
    script(withIdle({typing("0020", "001")}));
    FrmMain& f = step(1);
    d.type(f.Text1, QString::fromUtf8("网络"));  // characters one by one
    EXPECT_EQ(s().CurrentStep, 1);
    f.userEdit(f.Text1, QString::fromUtf8("网络知识"), 4);  // a committed phrase
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(TypingTest, CodeIsReadOnceByTheChangeCheck) {
    // The live check advances to an exact-match step without an input box
    // (the box keeps its text): that step is not judged by the same change.
    textTable({"001abc"});
    script(withIdle({typing("0020", "001"), Rec().put(8, "0025").put(109, "001")}));
    FrmMain& f = step(1);
    edit(f.Text1, "abc");
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(f.Text1.text(), "abc");
}

TEST_F(TypingTest, PrefilledAnswerAdvancesInsideTheSetUp) {
    textTable({"001网络知识", "002网络知识|其余"});
    // The step after it asks for the same text but has no box of its own:
    // one change of the box advances one step only. A rename or overlay
    // step copies the box into its own box again, and that assignment runs
    // its check once more.
    const struct {
        const char* code;
        const char* prefill;
        int16_t step;
    } cases[] = {
        {"0020", "001", 2}, {"0025", "002", 2}, {"0021", "001", 3},
        {"0027", "001", 3}, {"0024", "001", 1}, {"0020", "000", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        script(withIdle({typing(c.code, "001", c.prefill), Rec().put(8, c.code).put(109, "001")}));
        core::unloadAllForms();  // a fresh, empty box
        step(1);
        EXPECT_EQ(s().CurrentStep, c.step);
    }
}

TEST_F(TypingTest, SamePrefillInTwoStepsRunsBothChecks) {
    // The second step fills the box with the text it already holds: the
    // assignment still raises the change, so that step completes too.
    textTable({"001网络知识"});
    for (const char* second : {"0020", "0025"}) {
        SCOPED_TRACE(second);
        script(withIdle({typing("0020", "001", "001"), typing(second, "001", "001")}));
        core::unloadAllForms();
        step(1);
        EXPECT_EQ(s().CurrentStep, 3);
    }
}

// ------------------------------------------------------------------ Enter

TEST_F(TypingTest, EnterCheckOnKeyRelease) {
    textTable({"001ab", "002黑体", "003a|B"});
    const struct {
        const char* code;
        const char* answer;
        const char* entry;
        int key, shift;
        bool advances;
        const char* left;  // Text1 afterwards when not advanced
    } cases[] = {
        {"0024", "001", "a b", KeyReturn, 0, true, ""},      {"0024", "001", "AB", KeyReturn, 0, true, ""},
        {"0024", "001", "ab文档", KeyReturn, 0, true, ""},   {"0024", "001", "abc", KeyReturn, 0, false, ""},
        {"0024", "001", "ab", KeyReturn, 1, true, ""},       {"0024", "001", "ab", KeyTab, 0, false, "ab"},
        {"0024", "002", "黑体", KeyReturn, 0, true, ""},     {"0024", "002", "黑 体", KeyReturn, 0, false, ""},
        {"0024", "000", "中文", KeyReturn, 0, true, ""},     {"0024", "000", "a", KeyReturn, 0, false, ""},
        {"0022", "003", " b ", KeyReturn, 0, true, ""},      {"0028", "003", "A", KeyReturn, 0, true, ""},
        {"0028", "003", "c", KeyReturn, 0, false, ""},       {"0020", "001", "a b", KeyReturn, 0, false, "a b"},
        {"0026", "001", "ab", KeyReturn, 0, false, "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " '" << c.entry << "' key " << c.key);
        script(withIdle({typing(c.code, c.answer)}));
        FrmMain& f = step(1);
        edit(f.Text1, QString::fromUtf8(c.entry));
        ASSERT_EQ(f.activeControl(), &f.Text1);
        d.key(f, c.key, c.shift);
        EXPECT_EQ(s().CurrentStep, c.advances ? 2 : 1);
        if (!c.advances) {
            EXPECT_EQ(f.Text1.text(), QString::fromUtf8(c.left));
        }
    }
}

TEST_F(TypingTest, ConfirmationByClickOnTheTarget) {
    textTable({"0012 磅|2磅"});
    for (const char* code : {"0022", "0026", "0028"}) {
        SCOPED_TRACE(code);
        script(withIdle({typing(code, "001", "000").target(4000, 2000, 1000, 300)}));
        FrmMain& f = step(1);
        d.type(f.Text1, "2");
        d.click(f.Label1);
        EXPECT_EQ(s().CurrentStep, 1) << "a wrong entry";
        EXPECT_EQ(f.Text1.text(), "2") << "a click does not empty the box";
        d.type(f.Text1, QString::fromUtf8("磅"));
        d.click(f.Label1, core::RightButton);
        EXPECT_EQ(s().CurrentStep, 1) << "the right button";
        d.click(f.Label1);
        EXPECT_EQ(s().CurrentStep, 2);
    }
}

TEST_F(TypingTest, MissingTextTableLeavesTheEntryAndIsLogged) {
    s().TextTableFile = dir.filePath("none.rar");
    script(withIdle({typing("0024", "001"), typing("0020", "001")}));
    QStringList log;
    g_log = &log;
    const QtMessageHandler old = qInstallMessageHandler(captureLog);
    FrmMain& f = step(1);
    edit(f.Text1, "abc");
    d.key(f, KeyReturn);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_EQ(f.Text1.text(), "abc") << "not emptied as a wrong Enter would";
    EXPECT_EQ(log.filter("KeyUp").size(), 1);

    // The live check: in the set-up's emptying of the box and at the edit.
    step(2);
    edit(f.Text1, "x");
    qInstallMessageHandler(old);
    g_log = nullptr;
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(f.Text1.text(), "x");
    EXPECT_EQ(log.filter("Change").size(), 2);
    EXPECT_EQ(log.filter("text table").size(), log.size());
}

// ------------------------------------------------------------------ selection

TEST_F(TypingTest, SelectionCheckOnRelease) {
    textTable({"001计算机网络基础知识", "002基础知识", "003Word", "004Microsoft Word 2003", "005word processing"});
    const struct {
        const char* hint;
        const char* prefill;
        int from, len, button;
        bool advances;
    } cases[] = {
        {"002", "001", 5, 4, 1, true},   {"002", "001", 5, 3, 1, false}, {"002", "001", 4, 5, 2, false},
        {"002", "001", 5, 4, 2, true},   {"003", "004", 10, 4, 1, true},  {"003", "004", 9, 5, 1, true},
        {"003", "005", 0, 4, 1, true},   {"003", "004", 0, 0, 1, false},  {"000", "004", 0, 0, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hint << " " << c.from << "+" << c.len);
        script(withIdle({typing("0023", "002", c.prefill).hint(600, 7000, c.hint)}));
        FrmMain& f = step(1);
        ASSERT_EQ(f.Text1.selLength(), 0) << "the step starts without a selection";
        const double x = testsupport::Driver::centreX(f.Text1), y = testsupport::Driver::centreY(f.Text1);
        d.press(f, x, y, c.button);
        f.Text1.setSelStart(c.from);
        f.Text1.setSelLength(c.len);
        d.release(f, x, y, c.button);
        EXPECT_EQ(s().CurrentStep, c.advances ? 2 : 1);
    }

    // A release in another step's box changes nothing.
    script(withIdle({typing("0020", "003", "004").hint(600, 7000, "003")}));
    FrmMain& f = step(1);
    f.Text1.setSelStart(10);
    f.Text1.setSelLength(4);
    d.click(f.Text1);
    EXPECT_EQ(s().CurrentStep, 1);
}

// ------------------------------------------------------------------ rename and overlay

TEST_F(TypingTest, RenameBoxNeedsTheWholeAnswer) {
    textTable({"001通知.doc", "002会议通知.doc|会议通知", "003Notice.doc"});
    const struct {
        const char* answer;
        const char* entry;
        bool advances;
    } cases[] = {
        {"002", "会议通知.doc|会议通知", true}, {"002", " 会议通知.doc|会议通知 ", true},
        {"002", "会议通知.doc", false},         {"003", "notice.doc", false},
        {"003", "Notice.doc ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        script(withIdle({typing("0021", c.answer, "001")}));
        FrmMain& f = step(1);
        ASSERT_TRUE(f.Text2.visible());
        EXPECT_EQ(f.Text2.text(), QString::fromUtf8("通知.doc"));
        d.type(f.Text2, QString());  // a click into the box
        EXPECT_EQ(f.activeControl(), &f.Text2);
        d.key(f, KeyReturn);
        EXPECT_EQ(s().CurrentStep, 1) << "Enter does nothing in the rename box";
        edit(f.Text2, QString::fromUtf8(c.entry));
        EXPECT_EQ(s().CurrentStep, c.advances ? 2 : 1);
    }
}

TEST_F(TypingTest, OverlayBoxTakesTheLooseRule) {
    textTable({"001网络安全|Network", "002原文"});
    script(withIdle({typing("0027", "001", "002")}));
    FrmMain& f = step(1);
    ASSERT_TRUE(f.Text3.visible());
    ASSERT_FALSE(f.Text1.visible());
    d.type(f.Text3, QString());
    d.key(f, KeyReturn);
    EXPECT_EQ(s().CurrentStep, 1);
    edit(f.Text3, " NETWORK");
    EXPECT_EQ(s().CurrentStep, 2);
}

// ------------------------------------------------------------------ focus and layout

TEST_F(TypingTest, OverlayStepMovesTheFocusWithTheInputMethodOn) {
    textTable({"001网络安全", "002原文"});
    s().ImeLayout = "fcitx5:pinyin";
    script(withIdle({idle(), typing("0027", "001", "002"), typing("0027", "001", "002")}));

    // Option off: no layout is touched; the overlay box waits for a click.
    s().ImeSimEnabled = 0;
    FrmMain& f = step(1);
    step(2);
    EXPECT_EQ(f.activeControl(), nullptr);
    EXPECT_TRUE(layouts->activated.isEmpty());
    d.type(f.Text3, QString());  // a click into the box
    edit(f.Text3, QString::fromUtf8("网络安全"));
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_TRUE(layouts->activated.isEmpty());

    // Option on: the input box's focus goes on to the overlay box, and the
    // chosen layout is activated; in the next overlay step too.
    s().ImeSimEnabled = -1;
    step(1);
    step(2);
    EXPECT_EQ(f.activeControl(), &f.Text3);
    EXPECT_FALSE(f.Text1.visible());
    ASSERT_FALSE(layouts->activated.isEmpty());
    EXPECT_EQ(layouts->activated.last(), "fcitx5:pinyin");
    layouts->activated.clear();
    edit(f.Text3, QString::fromUtf8("网络安全"));
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_EQ(f.activeControl(), &f.Text3);
    EXPECT_FALSE(layouts->activated.isEmpty());
}

TEST_F(TypingTest, InputBoxActivatesTheChosenLayout) {
    textTable({"001abc"});
    script(withIdle({idle(), typing("0020", "001"), idle()}));
    FrmMain& f = step(1);
    s().ImeLayout = "fcitx5:keyboard-us";
    s().ImeSimEnabled = -1;
    layouts->activateResult = false;  // a layout that cannot be activated is no error
    step(2);
    EXPECT_EQ(f.activeControl(), &f.Text1);
    EXPECT_EQ(layouts->activated, QStringList{"fcitx5:keyboard-us"});

    // Each time the box gets the focus again.
    step(3);
    EXPECT_EQ(f.activeControl(), nullptr);
    step(2);
    EXPECT_EQ(layouts->activated.size(), 2);
    f.Text2.setVisible(true);
    f.Text2.setFocus();
    EXPECT_EQ(layouts->activated.size(), 2) << "the rename box has no focus handler";
}
