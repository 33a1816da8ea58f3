// Tab strips of the simulated dialogs and the back hot-spot, driven as a
// user would.
#include <gtest/gtest.h>

#include "core/text.h"
#include "engine/tab_layout.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;
using engine::TabLayout;

namespace {

// The dialog picture lies in Image1 at (600, 900); the target at
// (2000, 3000), 900 x 300 twips.
constexpr int kDlgX = 600, kDlgY = 900;

Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

Rec tabStep(const QString& dialogCode) {
    return Rec()
        .put(8, "0001")
        .overlay(1, kDlgX, kDlgY, "500001")
        .target(2000, 3000, 900, 300)
        .hint(300, 300, "001")
        .put(130, dialogCode);
}

class TabStripTest : public DrivenTest {
protected:
    void SetUp() override {
        DrivenTest::SetUp();
        textTable({"001单击“确定”"});
        picture("500001", 40, 30);  // the step's own picture
        for (int n = 1; n <= 4; ++n) picture("10100" + QString::number(n), 10 * n, 10);
        for (int n = 1; n <= 12; ++n) picture("1040" + core::padDigits(n, 2), n, 5);
    }
    static QRectF rect(const Control& c) { return QRectF(c.left(), c.top(), c.width(), c.height()); }
};

// The fields of every built-in layout: tab count, row, height, left edges and
// resulting widths, back rectangle.
struct LayoutCase {
    const char* key;
    int count, rowY, height;
    std::vector<int> widths;
    int back[4];
};

const LayoutCase kLayouts[] = {
    {"A", 4, 540, 300, {780, 840, 780, 930}, {4530, 6090, 1080, 270}},
    {"B", 3, 555, 300, {900, 1230, 1290}, {4935, 6000, 1170, 270}},
    {"C", 3, 555, 285, {1050, 870, 930}, {4710, 4845, 1095, 285}},
    {"D", 12, 510, 285, {1185, 855, 1035, 855, 1035, 1050, 975, 1005, 1005, 1005, 1005, 1050}, {5070, 5925, 1080, 270}},
    {"E", 3, 555, 285, {1410, 1470, 1170}, {4800, 6135, 1080, 270}},
    {"F", 6, 555, 285, {1140, 810, 810, 810, 810, 750}, {5025, 4965, 1080, 270}},
    {"G", 2, 585, 285, {930, 1230}, {4980, 5355, 1080, 270}},
    {"H", 4, 555, 285, {1230, 900, 1290, 1200}, {5250, 4650, 1080, 270}},
    {"I", 3, 555, 285, {840, 1290, 840}, {6690, 5235, 1080, 270}},
    {"J", 4, 540, 300, {855, 795, 870, 990}, {4170, 5415, 1080, 270}},
    {"K", 4, 570, 300, {765, 855, 780, 765}, {4560, 1260, 1080, 270}},
    {"L", 5, 540, 300, {750, 720, 705, 765, 660}, {4455, 6285, 1095, 285}},
    {"M", 4, 540, 300, {900, 900, 1245, 1305}, {6465, 5010, 1080, 270}},
    {"N", 2, 540, 300, {840, 960}, {6420, 60, 330, 330}},
};

} // namespace

TEST_F(TabStripTest, EveryBuiltInLayoutLaysOutItsStrip) {
    ASSERT_EQ(engine::TabKeyTable().size(), 14);
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.key);
        const auto layout = engine::builtInTabLayout(c.key);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->record().size(), TabLayout::Length);
        EXPECT_EQ(layout->key(), c.key);
        EXPECT_EQ(layout->tabCount(), c.count);

        // Shown and target tab 1: the strip as the step lays it out.
        script({tabStep(QStringLiteral("X") + c.key + "111"), idle()});
        FrmMain& f = step(1);
        EXPECT_EQ(f.TabCount, c.count);
        EXPECT_EQ(f.ActiveTabLayout, layout->record());
        for (int i = 1; i <= c.count; ++i) {
            const Control& t = f.LblXXK[i];
            SCOPED_TRACE(i);
            EXPECT_DOUBLE_EQ(t.left(), kDlgX + layout->tabLeft(i));
            EXPECT_DOUBLE_EQ(t.width(), c.widths[i - 1]);
            EXPECT_DOUBLE_EQ(t.height(), c.height);
            const bool front = c.count >= 10 && i <= 6;  // shown tab 1: the first row in front
            EXPECT_DOUBLE_EQ(t.top(), kDlgY + c.rowY + (front ? 300 : 0));
        }
        for (int i = c.count + 1; i <= 13; ++i) EXPECT_LT(f.LblXXK[i].left() + f.LblXXK[i].width(), 1060) << i;
        EXPECT_EQ(rect(f.LblXXK[0]), QRectF(kDlgX + c.back[0], kDlgY + c.back[1], c.back[2], c.back[3]));
    }
    EXPECT_FALSE(engine::builtInTabLayout("O"));
    EXPECT_FALSE(engine::builtInTabLayout("a"));
    EXPECT_FALSE(engine::builtInTabLayout(""));
}

TEST_F(TabStripTest, WidthRuleOfTheLayoutRecord) {
    // Lefts 150, 900, 900 and a last left 0: widths 750, 0 and (negative) 990.
    QString rec = engine::TabKeyTable().at(1);  // B: 3 tabs
    rec.replace(25, 4, "0900");                 // tab 2 left
    rec.replace(35, 4, "0900");                 // tab 3 left
    rec.replace(45, 4, "0000");                 // end
    const TabLayout l(rec);
    EXPECT_EQ(l.tabWidth(1), 750);
    EXPECT_EQ(l.tabWidth(2), 0);
    EXPECT_EQ(l.tabWidth(3), 990);
    EXPECT_EQ(TabLayout().tabCount(), 0);
}

TEST_F(TabStripTest, WrongTabShownFirstThenTheRightOne) {
    script({tabStep("XA211"), idle()});
    FrmMain& f = step(1);
    // Page 2 shown, tab 1 framed, the target closed.
    EXPECT_EQ(f.Image1.picture().widthPixels(), 20);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_DOUBLE_EQ(f.Label1.width(), 1);
    EXPECT_DOUBLE_EQ(f.Label1.height(), 1);
    EXPECT_DOUBLE_EQ(f.Label1.left(), 2000);
    EXPECT_EQ(rect(f.Shape1), rect(f.LblXXK[1]));
    EXPECT_EQ(f.DialogLeft, kDlgX);
    EXPECT_EQ(f.DialogTop, kDlgY);

    // A wrong tab: its page, the tab hint stays.
    d.click(f.LblXXK[3]);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 30);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_DOUBLE_EQ(f.Label1.width(), 1);

    // The right tab: the step's own picture, target and step hint back; no
    // advance.
    d.click(f.LblXXK[1]);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 40);
    EXPECT_EQ(rect(f.Label1), QRectF(2000, 3000, 900, 300));
    EXPECT_EQ(f.LHelp.caption(), "单击“确定”");
    EXPECT_EQ(rect(f.Shape1), rect(f.Label1));
    EXPECT_EQ(s().CurrentStep, 1);

    // A wrong tab after the right one hides the target again.
    d.click(f.LblXXK[4]);
    EXPECT_DOUBLE_EQ(f.Label1.width(), 1);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_EQ(rect(f.Shape1), rect(f.LblXXK[1]));
    d.click(f.LblXXK[1]);
    d.click(f.Label1);
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(TabStripTest, RightTabShownAtOnce) {
    script({tabStep("XA221"), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 40);
    EXPECT_EQ(rect(f.Label1), QRectF(2000, 3000, 900, 300));
    EXPECT_EQ(f.LHelp.caption(), "单击“确定”");
    EXPECT_EQ(rect(f.Shape1), rect(f.Label1));
    EXPECT_TRUE(f.Shape1.visible());
    d.click(f.Label1);
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(TabStripTest, TwoRowStripSwapsRowsOnAClick) {
    script({tabStep("XD831"), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(f.TabFrontRow, 2);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 8);
    for (int i = 1; i <= 12; ++i) EXPECT_DOUBLE_EQ(f.LblXXK[i].top(), kDlgY + (i >= 7 ? 810 : 510)) << i;
    EXPECT_DOUBLE_EQ(f.LblXXK[6].width(), 1050);
    EXPECT_DOUBLE_EQ(f.LblXXK[12].width(), 1050);

    d.click(f.LblXXK[3]);
    EXPECT_EQ(f.TabFrontRow, 1);
    for (int i = 1; i <= 12; ++i) EXPECT_DOUBLE_EQ(f.LblXXK[i].top(), kDlgY + (i <= 6 ? 810 : 510)) << i;
    EXPECT_EQ(rect(f.Label1), QRectF(2000, 3000, 900, 300));

    d.click(f.LblXXK[11]);
    EXPECT_EQ(f.TabFrontRow, 2);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 11);
    EXPECT_DOUBLE_EQ(f.LblXXK[11].top(), kDlgY + 810);
    EXPECT_DOUBLE_EQ(f.LblXXK[3].top(), kDlgY + 510);
    EXPECT_DOUBLE_EQ(f.LblXXK[12].left(), kDlgX + 5145);
}

TEST_F(TabStripTest, CodesThatNameNoTabShowNoDialog) {
    const char* codes[] = {"XA511", "XA151", "XA011", "XA216", "XA210", "XAB11"};
    for (const char* code : codes) {
        SCOPED_TRACE(code);
        script({tabStep(code), idle()});
        FrmMain& f = step(1);
        EXPECT_TRUE(f.ActiveTabLayout.isEmpty());
        EXPECT_EQ(f.LHelp.caption(), "单击“确定”");
        EXPECT_EQ(rect(f.Label1), QRectF(2000, 3000, 900, 300));
        EXPECT_EQ(rect(f.Shape1), rect(f.Label1));
        EXPECT_EQ(f.Image1.picture().widthPixels(), 40);
        for (int i = 0; i <= 13; ++i) EXPECT_LT(f.LblXXK[i].left(), 0) << i;
    }
    // An unknown key after a tab step keeps the layout of that step.
    script({tabStep("XD111"), tabStep("XZ211"), idle()});
    FrmMain& f = step(1);
    step(2);
    EXPECT_EQ(f.ActiveTabLayout, engine::TabKeyTable().at(3));
    EXPECT_EQ(f.TabCount, 12);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 2);
}

TEST_F(TabStripTest, UnknownKeyInTheFirstTabStepGivesADialogWithoutTabs) {
    script({tabStep("XZ211"), idle()});
    FrmMain& f = step(1);
    EXPECT_TRUE(f.ActiveTabLayout.isEmpty());
    EXPECT_EQ(f.TabCount, 0);
    EXPECT_EQ(f.TargetTab, 1);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_EQ(f.Label1.width(), 1);
    EXPECT_EQ(f.Label1.height(), 1);
    for (int i = 1; i <= 13; ++i) EXPECT_LT(f.LblXXK[i].left(), 0) << i;  // no tab to click
    EXPECT_EQ(rect(f.Shape1), rect(f.LblXXK[1]));
    EXPECT_EQ(rect(f.LblXXK[0]), QRectF(kDlgX, kDlgY, 0, 0));
    EXPECT_EQ(f.Image1.picture().widthPixels(), 40);  // no page picture to show
}

TEST_F(TabStripTest, UnreadablePagePictureKeepsTheShownOne) {
    script({tabStep("XA311"), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 30);
    QFile::remove(config().dataFile("101002"));
    pictureStore().clear();
    d.click(f.LblXXK[2]);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 30);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    QFile::remove(config().dataFile("500001"));
    d.click(f.LblXXK[1]);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 10);  // page 1; the own picture is gone
    EXPECT_EQ(rect(f.Label1), QRectF(2000, 3000, 900, 300));
}

TEST_F(TabStripTest, BackStepsByTheirCount) {
    QStringList lines;
    for (int i = 1; i <= 8; ++i) lines << Rec().put(4, core::padDigits(i, 2)).target(6000, 6000, 600, 300);
    const struct {
        int at;
        QString back;
        int to;
    } cases[] = {
        {5, "Q0003", 2}, {5, "Q0000", 4}, {5, "Q000x", 4}, {5, "Q0001", 4},
        {5, "Q0005", 1},  // past the first step: stops there
        {2, "Q0009", 1}, {1, "Q0000", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.back.toStdString() + " at " + std::to_string(c.at));
        QStringList l = lines;
        l[c.at - 1] = Rec()
                          .put(4, core::padDigits(c.at, 2))
                          .target(6000, 6000, 600, 300)
                          .put(125, c.back)
                          .num(167, 5, 300)
                          .num(172, 5, 450);
        script(l);
        FrmMain& f = step(c.at);
        EXPECT_EQ(f.BackStepCode, c.back);
        EXPECT_EQ(rect(f.LblXXK[0]), QRectF(300, 450, 1095, 285));
        d.click(f.LblXXK[0]);
        EXPECT_EQ(s().CurrentStep, c.to);
        EXPECT_EQ(engine::StepRecord(s().StepLine).altSetCode(), core::padDigits(c.to, 2)) << "the step is set up";
    }
}

TEST_F(TabStripTest, BackHotSpotOfTheDialogAndOfABackCode) {
    // Without a back code: the layout's place; one step back, none at step 1.
    script({tabStep("XA111"), tabStep("XA111"), idle()});
    FrmMain& f = step(2);
    EXPECT_EQ(f.BackStepCode, "NONO");
    EXPECT_EQ(rect(f.LblXXK[0]), QRectF(kDlgX + 4530, kDlgY + 6090, 1080, 270));
    d.click(f.LblXXK[0]);
    EXPECT_EQ(s().CurrentStep, 1);
    f.Label1.setWidth(5);
    d.click(f.LblXXK[0]);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_DOUBLE_EQ(f.Label1.width(), 900) << "the step is laid out again";

    // A back code in a tab step: the code's place and size win.
    script({idle(), tabStep("XA211").put(125, "Q0001").num(167, 5, 7000).num(172, 5, 8000)});
    step(2);
    EXPECT_EQ(rect(f.LblXXK[0]), QRectF(7000, 8000, 1095, 285));
    EXPECT_EQ(f.LblXXK[1].left(), kDlgX + 150);

    // Steps without either keep it parked.
    script({idle()});
    step(1);
    EXPECT_EQ(f.BackStepCode, "NONO");
    EXPECT_EQ(rect(f.LblXXK[0]), QRectF(-1, -1, 1, 1));
}

TEST_F(TabStripTest, ScaledStrip) {
    config().ScaleX = 0.8;
    config().ScaleY = 0.8;
    script({tabStep("XD211"), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(f.DialogLeft, 480);
    EXPECT_EQ(f.DialogTop, 720);
    EXPECT_DOUBLE_EQ(f.LblXXK[2].left(), 480 + 1335 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXXK[2].width(), 855 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXXK[6].width(), 1050 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXXK[2].top(), 720 + 810 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXXK[8].top(), 720 + 510 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXXK[0].height(), 270 * 0.8);
}

TEST_F(TabStripTest, HiddenHintAndFrameStillFollowTheTabs) {
    // Without the guided hints the label and the frame are hidden, but their
    // captions and places change as in guided mode.
    s().RunMode = RunPractice;
    script({tabStep("XA211"), idle()});
    FrmMain& f = step(1);
    EXPECT_FALSE(f.LHelp.visible());
    EXPECT_FALSE(f.Shape1.visible());
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_EQ(rect(f.Shape1), rect(f.LblXXK[1]));

    d.click(f.LblXXK[1]);
    EXPECT_EQ(f.LHelp.caption(), "单击“确定”");
    EXPECT_EQ(rect(f.Shape1), QRectF(2000, 3000, 900, 300));
    EXPECT_FALSE(f.LHelp.visible());
    EXPECT_FALSE(f.Shape1.visible());

    d.click(f.LblXXK[2]);
    EXPECT_EQ(f.LHelp.caption(), "请选择第1个选项卡");
    EXPECT_EQ(rect(f.Shape1), rect(f.LblXXK[1]));
    EXPECT_FALSE(f.Shape1.visible());
}
