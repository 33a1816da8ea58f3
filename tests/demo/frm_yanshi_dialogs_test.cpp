// The demonstration's tab strips, back hot-spot, list and look-in steps.
#include "demo_fixture.h"

#include <pthread.h>

#include <functional>

#include "engine/tab_layout.h"

using namespace demotest;

namespace {

const demo::Flight& flight() { return demo::demoMembers().flight; }

// Runs f to its end on a thread of the given stack size; the caller waits.
void onSmallStack(size_t bytes, std::function<void()> f) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, bytes);
    pthread_t t;
    auto body = [](void* p) -> void* {
        (*static_cast<std::function<void()>*>(p))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&t, &attr, body, &f), 0);
    pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
}

// A tab step: the dialog in overlay `image` at (x, y), the target box at
// (5000, 4000) 600 x 300, the hint of text line 001.
Rec tabStep(const QString& dialogCode, int image = 2, int x = 1200, int y = 900) {
    return Rec().overlay(image, x, y, "700001").target(5000, 4000, 600, 300).hint(600, 7800, "001").put(130, dialogCode);
}

class DemoDialogTest : public DemoTest {
protected:
    void SetUp() override {
        DemoTest::SetUp();
        textTable({QString::fromUtf8("001选好后单击确定"), "002x", "003a|b|c", "004only"});
        picture("700001", 200, 150);  // the step's own dialog picture
        // The pages of layouts A and D, each of its own width.
        for (int n = 1; n <= 4; ++n) picture(QString("10100%1").arg(n), 100 + n, 80);
        for (int n = 1; n <= 12; ++n) picture(QString("1040%1").arg(n, 2, 10, QChar('0')), 300 + n, 80);
    }
    // Starts a demonstration and stops its flight clock (the set-up is done).
    FrmYanShi& setUp(const QStringList& lines) {
        script(lines);
        return start();
    }
};

} // namespace

TEST_F(DemoDialogTest, LayoutAStripAndBackHotSpotOnTheDialogImage) {
    FrmYanShi& y = setUp({tabStep("XA142"), endRecord()});
    const auto& m = demo::demoMembers();
    EXPECT_EQ(m.TabCount, 4);
    EXPECT_EQ(m.TargetTab, 4);
    EXPECT_EQ(m.TabBaseX, 1200);
    EXPECT_EQ(m.TabBaseY, 900);
    const int lefts[] = {0, 150, 930, 1770, 2550};
    const int widths[] = {0, 780, 840, 780, 930};
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(y.LblXXK[i].left(), 1200 + lefts[i]);
        EXPECT_EQ(y.LblXXK[i].width(), widths[i]);
        EXPECT_EQ(y.LblXXK[i].top(), 900 + 540);
        EXPECT_EQ(y.LblXXK[i].height(), 300);
    }
    EXPECT_EQ(y.LblXXK[5].left(), -1) << "tabs past the count stay parked";
    const Control& back = y.LblXXK[0];
    EXPECT_EQ(QRectF(back.left(), back.top(), back.width(), back.height()), QRectF(1200 + 4530, 900 + 6090, 1080, 270));

    // The first leg: the shown tab's page, the prompt, the box waiting at 1 x 1.
    EXPECT_EQ(y.Image2.picture().widthPixels(), 101);
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("请选择第4个选项卡"));
    EXPECT_EQ(y.Label1.width(), 1);
    EXPECT_FALSE(y.Shape1.visible()) << "the tab is shown by the pointer and the hint only";
    EXPECT_FALSE(y.Shape4.visible());
    EXPECT_EQ(flight().targetX, int(1200 + 2550 + 930 / 2));
    EXPECT_EQ(flight().targetY, 900 + 540 + 150);

    // At the tab: the step's own page, the target box and the hint; then on.
    while (!y.secondLeg() && running()) d.advance(100);
    ASSERT_TRUE(y.secondLeg());
    EXPECT_EQ(y.Image2.picture().widthPixels(), 200);
    EXPECT_EQ(y.Label1.width(), 600);
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("选好后单击确定"));
    EXPECT_EQ(flight().targetX, 5300);
    while (step() == 1 && running()) d.advance(100);
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoDialogTest, LayoutDTwoRowsFollowTheShownTab) {
    for (const auto& [code, frontFrom, shownPage] : std::vector<std::tuple<QString, int, int>>{
             {"XD3A2", 1, 303}, {"XDB12", 7, 311}}) {
        SCOPED_TRACE(code.toStdString());
        FrmYanShi& y = setUp({tabStep(code), endRecord()});
        EXPECT_EQ(demo::demoMembers().TabCount, 12);
        for (int i = 1; i <= 12; ++i) {
            const bool front = i >= frontFrom && i < frontFrom + 6;
            EXPECT_EQ(y.LblXXK[i].top(), 900 + 510 + (front ? 300 : 0)) << i;
            EXPECT_EQ(y.LblXXK[i].height(), 285);
        }
        // Widths: the last tab of each row 990, tab 7 this window's 1050.
        EXPECT_EQ(y.LblXXK[6].width(), 990);
        EXPECT_EQ(y.LblXXK[12].width(), 990);
        EXPECT_EQ(y.LblXXK[7].width(), 1050);
        EXPECT_EQ(y.LblXXK[8].width(), 1005);
        EXPECT_EQ(y.LblXXK[13].width(), 1485);
        EXPECT_EQ(y.Image2.picture().widthPixels(), shownPage);
        y.unload();
    }
}

TEST_F(DemoDialogTest, TargetTabLettersCountFromTen) {
    FrmYanShi& y = setUp({tabStep("XD1A2"), endRecord()});
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("请选择第10个选项卡"));
    EXPECT_EQ(demo::demoMembers().TargetTab, 10);
    const Control& t = y.LblXXK[10];
    EXPECT_EQ(flight().targetX, roundHalfEven(t.left() + t.width() / 2));
    EXPECT_EQ(flight().targetY, roundHalfEven(t.top() + t.height() / 2));
}

TEST_F(DemoDialogTest, ShownTabEqualToTargetIsAOneLegStepOnTheBox) {
    FrmYanShi& y = setUp({tabStep("XA332"), endRecord()});
    EXPECT_EQ(y.Image2.picture().widthPixels(), 200) << "no page replaced";
    EXPECT_EQ(y.Label1.width(), 600);
    EXPECT_EQ(y.Label1.height(), 300);
    EXPECT_TRUE(y.Shape1.visible());
    EXPECT_EQ(y.Shape1.left(), 5000);
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("选好后单击确定"));
    EXPECT_EQ(flight().targetX, 5300);
    int legs = 0;
    while (step() == 1 && running()) {
        d.advance(100);
        legs += y.secondLeg();
    }
    EXPECT_EQ(legs, 0);
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoDialogTest, UnknownKeyKeepsTheLayoutOfTheTabStepBefore) {
    FrmYanShi& y = setUp({tabStep("XA332"), tabStep("XZ333", 3, 2000, 1500), endRecord()});
    y.doNext();
    ASSERT_EQ(step(), 2);
    EXPECT_EQ(demo::demoMembers().ActiveTabLayout.left(1), "A");
    EXPECT_EQ(y.LblXXK[1].left(), 2000 + 150);
    EXPECT_EQ(y.LblXXK[0].top(), 1500 + 6090);
}

TEST_F(DemoDialogTest, BackHotSpotOfAQStepLiesAtTheDropPoint) {
    FrmYanShi& y = setUp({Rec().target(5000, 4000, 600, 300).put(125, "Q0002").drop(3000, 6000), endRecord()});
    const Control& back = y.LblXXK[0];
    EXPECT_EQ(QRectF(back.left(), back.top(), back.width(), back.height()), QRectF(3000, 6000, 1095, 285));
}

TEST_F(DemoDialogTest, ListStepTakesTheInputBoxPlaceAndItsItems) {
    FrmYanShi& y = setUp({Rec("L003").input(1500, 2400, 2400, 1200, "002"), Rec().target(3000, 2000, 600, 300), endRecord()});
    EXPECT_TRUE(y.LstLA.visible());
    EXPECT_FALSE(y.Text1.visible());
    EXPECT_EQ(y.LstLA.items(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(y.LstLA.listIndex(), 2);
    EXPECT_EQ(y.LblXXK[0].caption(), "c");
    EXPECT_EQ(y.LblXXK[0].width(), 2400);
    EXPECT_EQ(QRectF(y.LstLA.left(), y.LstLA.top(), y.LstLA.width(), y.LstLA.height()), QRectF(1500, 2400, 2400, 1200));
    EXPECT_EQ(QRectF(y.PicRight.left(), y.PicRight.top(), y.PicRight.width(), y.PicRight.height()),
              QRectF(1500 + 2400 - 15, 2400, 15, 1200));
    EXPECT_EQ(y.PicBottom.top(), 2400 + 1200 - 15);
    for (const Control* bar : {&y.PicLeft, &y.PicRight, &y.PicTop, &y.PicBottom}) EXPECT_TRUE(bar->visible());
    EXPECT_EQ(flight().targetX, 2700);
    EXPECT_EQ(flight().targetY, 3000);
    while (step() == 1 && running()) d.advance(100);
    EXPECT_EQ(step(), 2);
    EXPECT_FALSE(y.LstLA.visible()) << "the next step is not a list step";
    EXPECT_EQ(y.LblXXK[0].caption(), "");
}

TEST_F(DemoDialogTest, ListSelectionPastTheItemsOrOfOneItem) {
    FrmYanShi& y = setUp({Rec("L003").input(1500, 2400, 2400, 1200, "007"), Rec("L004").input(1500, 2400, 2400, 1200, "000"),
                          endRecord()});
    EXPECT_EQ(y.LstLA.listIndex(), -1);
    EXPECT_EQ(y.LblXXK[0].caption(), "");
    y.doNext();
    EXPECT_EQ(y.LstLA.items(), QStringList({"only"}));
    EXPECT_EQ(y.LblXXK[0].caption(), "only");
}

TEST_F(DemoDialogTest, LookInStartsOnItsRowAndEndsOnTheRowToChoose) {
    FrmYanShi& y = setUp({Rec("K305").input(900, 1200, 3000, 315, "000"), endRecord()});
    EXPECT_TRUE(y.PicList.visible());
    EXPECT_EQ(y.PicList.left(), 900);
    EXPECT_EQ(y.PicList.top(), 1200);
    EXPECT_EQ(y.PicList.height(), 330);
    EXPECT_EQ(y.ImgSelAD.left(), -120);
    EXPECT_TRUE(y.ImgSelAD.picture() == y.ImgLiN[3].picture());
    bool opened = false;
    while (step() == 1 && running()) {
        d.advance(100);
        if (!opened && y.PicList.height() > 330) {
            opened = true;
            EXPECT_EQ(flight().targetY, 1200 + 6 * 255);
            EXPECT_TRUE(y.ImgLiN[5].visible());
        }
    }
    EXPECT_TRUE(opened);
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoDialogTest, AClickOnTheShownLookInRowChoosesIt) {
    // Start row 3, row to choose 5: once the list is open, row 5 is shown
    // while the pointer flies to it.
    struct Case {
        const char* name;
        std::function<Control&(FrmYanShi&)> at;
        bool advances;
    } cases[] = {
        {"the shown row's picture", [](FrmYanShi& y) -> Control& { return y.ImgLiN[5]; }, true},
        {"the shown row", [](FrmYanShi& y) -> Control& { return y.LblADD[5]; }, true},
        {"a row not shown", [](FrmYanShi& y) -> Control& { return y.LblADD[8]; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrmYanShi& y = setUp({Rec("K305").input(900, 1200, 3000, 315, "000"), Rec("0001").target(3000, 2000, 600, 300),
                              endRecord()});
        while (step() == 1 && y.PicList.height() == 330) d.advance(100);
        ASSERT_EQ(step(), 1);
        ASSERT_TRUE(y.ImgLiN[5].visible());
        d.click(c.at(y));
        EXPECT_EQ(step(), c.advances ? 2 : 1);
        if (c.advances) {
            EXPECT_TRUE(y.ImgSelAD.picture() == y.ImgLiN[5].picture());
            EXPECT_FALSE(y.PicList.visible());
        }
        EXPECT_TRUE(running());
        y.unload();
    }
}

TEST_F(DemoDialogTest, LookInStartingOnItsRowAdvancesInTheSetUpOnce) {
    picture("310001", 40, 40);
    FrmYanShi& y = setUp({Rec("K505").input(900, 1200, 3000, 315, "000"), Rec().target(3000, 2000, 600, 300), endRecord()});
    EXPECT_EQ(step(), 2);
    EXPECT_FALSE(y.PicList.visible());
    EXPECT_TRUE(y.Timer2.enabled());
    EXPECT_EQ(flight().targetX, 3300);
    EXPECT_EQ(flight().targetY, 2150);
    while (running() && step() == 2) d.advance(100);
    EXPECT_EQ(step(), 3);
}

TEST_F(DemoDialogTest, RunsOfSelfCompletingLookInStepsDoNotNest) {
    // Four thousand in a row, played on a thread with a 1 MB stack: nested
    // set-ups would need several times that.
    const int run = 4000;
    QStringList lines;
    const QString done = QString(Rec("K101")).left(11);
    for (int i = 0; i < run; ++i) lines << done;
    lines << endRecord();
    script(lines);
    int16_t reached = 0;
    bool ending = false;
    onSmallStack(1 << 20, [&] {
        FrmYanShi& y = start();
        reached = step();
        ending = y.TimEnd.enabled();
    });
    EXPECT_EQ(reached, run + 1);
    EXPECT_EQ(session().StepLine, endRecord());
    EXPECT_TRUE(ending);
    EXPECT_LT(runToEnd(), 1000);
}

TEST_F(DemoDialogTest, ASelfCompletingLastRecordEndsTheDemonstration) {
    // No end record: the step after it lies past the script's end.
    script({Rec("K101")});
    FrmYanShi& y = start();
    EXPECT_EQ(step(), 2);
    EXPECT_TRUE(y.TimEnd.enabled());
    EXPECT_FALSE(y.Timer2.enabled());
    EXPECT_LT(runToEnd(), 1000);
    EXPECT_FALSE(session().DemoRunning);
}
