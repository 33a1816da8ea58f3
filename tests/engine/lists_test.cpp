// The simulated list box of list steps and the look-in drop-down, driven as
// a user would.
#include <gtest/gtest.h>

#include "engine/text_table.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;

namespace {

// A step that no set-up check completes.
Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

// A list step: entries from text line `ref`, first selection `initial`,
// the row to choose `answer`; the list lies over the input rectangle.
Rec listStep(const QString& ref, int initial, int answer) {
    return Rec().put(8, "L" + ref).input(1500, 2400, 2400, 1200, "000").num(106, 3, initial).num(109, 3, answer);
}

// A look-in step: the box over an input rectangle at (900, 1200).
Rec lookIn(const QString& code) { return Rec().put(8, code).input(900, 1200, 3000, 315, "000"); }

class ListTest : public DrivenTest {
protected:
    QStringList items(FrmMain& f) { return f.LstLA.items(); }
};

} // namespace

TEST_F(ListTest, ChoiceFromThreeEntries) {
    textTable({"001一", "002左对齐|居中|右对齐"});
    script({listStep("002", 0, 2), idle()});
    FrmMain& f = step(1);

    EXPECT_TRUE(f.LstLA.visible());
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_EQ(items(f), QStringList({"左对齐", "居中", "右对齐"}));
    EXPECT_EQ(f.LstLA.listIndex(), 0);
    EXPECT_EQ(f.LblXXK[0].caption(), "左对齐");
    EXPECT_DOUBLE_EQ(f.LblXXK[0].width(), 2400);
    // The list over the input rectangle, framed by four 15-twip bars.
    EXPECT_DOUBLE_EQ(f.LstLA.left(), 1500);
    EXPECT_DOUBLE_EQ(f.LstLA.top(), 2400);
    EXPECT_DOUBLE_EQ(f.LstLA.width(), 2400);
    EXPECT_DOUBLE_EQ(f.LstLA.height(), 1200);
    const struct {
        const Control* bar;
        double l, t, w, h;
    } bars[] = {{&f.PicLeft, 1500, 2400, 15, 1200},
                {&f.PicRight, 3885, 2400, 15, 1200},
                {&f.PicTop, 1500, 2400, 2400, 15},
                {&f.PicBottom, 1500, 3585, 2400, 15}};
    for (const auto& b : bars) {
        SCOPED_TRACE(b.bar->name().toStdString());
        EXPECT_TRUE(b.bar->visible());
        EXPECT_DOUBLE_EQ(b.bar->left(), b.l);
        EXPECT_DOUBLE_EQ(b.bar->top(), b.t);
        EXPECT_DOUBLE_EQ(b.bar->width(), b.w);
        EXPECT_DOUBLE_EQ(b.bar->height(), b.h);
        EXPECT_EQ(b.bar->backColor(), core::rgbValue(127, 157, 185));
    }

    // A click on the second row only changes the caption.
    f.LstLA.setListIndex(1);
    EXPECT_EQ(f.LblXXK[0].caption(), "居中");
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_TRUE(f.LstLA.visible());

    // The third: the list goes and the step advances.
    f.LstLA.setListIndex(2);
    EXPECT_EQ(s().CurrentStep, 2);
    for (const Control* c : {&f.LstLA, &f.PicLeft, &f.PicTop, &f.PicRight, &f.PicBottom}) EXPECT_FALSE(c->visible());
    EXPECT_EQ(f.LblXXK[0].caption(), "");
}

TEST_F(ListTest, EntriesFromTheTextTable) {
    textTable({"001甲|乙|", "002单独", "003a||b", "004", "005最后|一行"});
    const struct {
        QString ref;
        QStringList entries;
    } cases[] = {
        {"001", {"甲", "乙", ""}},              // a trailing "|" gives an empty last entry
        {"002", {"单独"}},                       // no "|": one entry
        {"003", {"a", "", "b"}},
        {"004", {""}},                           // empty text: one empty entry
        {"000", {"最后", "一行"}},               // no line count is 0: the last line
        {"009", {"最后", "一行"}},               // beyond the end: the last line
        {"0x1", {"最后", "一行"}},               // no number: the last line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ref.toStdString());
        script({listStep(c.ref, 0, 9), idle()});
        FrmMain& f = step(1);
        EXPECT_EQ(items(f), c.entries);
        EXPECT_EQ(s().CurrentStep, 1);
    }
    // The list's own rule differs from the lookup of typed texts on "000".
    EXPECT_EQ(engine::TextTableLookup("000"), "");
}

TEST_F(ListTest, FirstSelectionAndTheBackHotSpot) {
    textTable({"001红|绿|蓝"});
    // The right row selected at set-up completes the step at once.
    script({listStep("001", 1, 1), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_FALSE(f.LstLA.visible());
    EXPECT_EQ(f.LblXXK[0].caption(), "") << "nothing of the finished list is left on the next step";

    // A first selection outside the list: none selected, empty caption.
    script({listStep("001", 7, 2), idle()});
    step(1);
    EXPECT_EQ(f.LstLA.listIndex(), -1);
    EXPECT_EQ(f.LblXXK[0].caption(), "");
    EXPECT_EQ(s().CurrentStep, 1);

    // With a back code the hot-spot shows the choice where the record puts
    // it, as wide as the list; a click on it steps back.
    script({idle(), listStep("001", 0, 2).put(125, "Q0000").num(167, 5, 1500).num(172, 5, 2100), idle()});
    step(2);
    EXPECT_EQ(f.LblXXK[0].caption(), "红");
    EXPECT_DOUBLE_EQ(f.LblXXK[0].left(), 1500);
    EXPECT_DOUBLE_EQ(f.LblXXK[0].top(), 2100);
    EXPECT_DOUBLE_EQ(f.LblXXK[0].width(), 2400);
    EXPECT_DOUBLE_EQ(f.LblXXK[0].height(), 285);
    f.LstLA.setListIndex(1);
    EXPECT_EQ(f.LblXXK[0].caption(), "绿");
    d.click(f.LblXXK[0]);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_FALSE(f.LstLA.visible());
    EXPECT_EQ(f.LblXXK[0].caption(), "");
}

TEST_F(ListTest, LookInRowsOpenHoverAndChoose) {
    script({lookIn("K507"), idle()});
    FrmMain& f = step(1);
    EXPECT_TRUE(f.PicList.visible());
    EXPECT_DOUBLE_EQ(f.PicList.left(), 900);
    EXPECT_DOUBLE_EQ(f.PicList.top(), 1200);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
    EXPECT_DOUBLE_EQ(f.ImgSelAD.left(), -270);
    EXPECT_EQ(f.ImgSelAD.picture(), f.ImgLiN[5].picture());
    EXPECT_EQ(f.PicList.picture().widthPixels(), 216);
    EXPECT_EQ(f.PicList.picture().heightPixels(), 248);

    // The box opens; the row under the pointer is highlighted.
    d.click(f.LblADDmyXZ);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 3720);
    d.hover(f.LblADD[7]);
    for (int i = 0; i <= 13; ++i) EXPECT_EQ(f.ImgLiN[i].visible(), i == 7) << i;
    d.hover(f.LblADD[3]);
    EXPECT_TRUE(f.ImgLiN[3].visible());
    EXPECT_FALSE(f.ImgLiN[7].visible());

    // A wrong row closes the list and shows that row.
    d.click(f.LblADD[3]);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
    EXPECT_DOUBLE_EQ(f.ImgSelAD.left(), -120);
    EXPECT_EQ(f.ImgSelAD.picture(), f.ImgLiN[3].picture());
    EXPECT_EQ(s().CurrentStep, 1);

    // Open again, choose row 7: the step advances and the list goes.
    d.click(f.LblADDmyXZ);
    d.click(f.LblADD[7]);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_FALSE(f.PicList.visible());
}

TEST_F(ListTest, LookInBoxShiftsOpeningAndClosing) {
    script({lookIn("K099"), idle()});  // row 99: no row completes the step
    FrmMain& f = step(1);
    EXPECT_DOUBLE_EQ(f.ImgSelAD.left(), 30);
    const double shift[14] = {30, 30, -120, -120, -270, -270, -270, -270, -270, -270, -270, -270, -270, -120};
    for (int i = 0; i <= 13; ++i) {
        f.ImgLiN_Click(i);
        EXPECT_DOUBLE_EQ(f.ImgSelAD.left(), shift[i]) << i;
        EXPECT_EQ(f.ImgSelAD.picture(), f.ImgLiN[i].picture()) << i;
    }
    EXPECT_EQ(s().CurrentStep, 1);

    // Two clicks on the box open and close it; the bare window closes it too.
    d.click(f.LblADDmyXZ);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 3720);
    d.click(f.LblADDmyXZ);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
    d.click(f.LblADDmyXZ);
    ASSERT_EQ(f.hitTest(9000, 7000), nullptr);
    d.hover(f, 9000, 7000);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
}

TEST_F(ListTest, LookInStartRowThatIsTheTargetCompletesAtSetUp) {
    script({lookIn("K404"), idle()});
    FrmMain& f = step(1);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_FALSE(f.PicList.visible());
}

TEST_F(ListTest, OtherStepsHideBothLists) {
    textTable({"001a|b"});
    script({listStep("001", 0, 1).put(8, "L001"), lookIn("K109"), idle()});
    FrmMain& f = step(1);
    f.LstLA.setListIndex(0);  // still on step 1
    ASSERT_TRUE(f.LstLA.visible());
    f.LstLA.setListIndex(1);
    ASSERT_EQ(s().CurrentStep, 2);
    EXPECT_TRUE(f.PicList.visible());
    EXPECT_FALSE(f.LstLA.visible());
    step(3);
    EXPECT_FALSE(f.PicList.visible());
    EXPECT_FALSE(f.LstLA.visible());
    EXPECT_EQ(f.LblXXK[0].caption(), "");
}
