#include "demo_fixture.h"

using namespace demotest;

namespace {

const QString kFar = Rec().target(3000, 2000, 600, 300);  // centre (3300, 2150)

} // namespace

TEST_F(DemoTest, LoadPlacesTheWindowOverTheNormalPracticeWindowAndShowsTheTextAsItIs) {
    script({kFar, endRecord()});
    FrmYanShi& y = start();
    EXPECT_TRUE(y.visible());
    EXPECT_EQ(y.left(), 1500);
    EXPECT_EQ(y.top(), 600);
    EXPECT_EQ(y.width(), 12000);
    EXPECT_EQ(y.height(), 9000);
    EXPECT_EQ(y.ImgLogo.caption(), QString::fromUtf8("题目|第二行"));
    EXPECT_EQ(session().RunMode, RunGuided);
    EXPECT_EQ(step(), 1);
    EXPECT_EQ(demo::demoMembers().flight.pointerX, 7680);
    EXPECT_EQ(demo::demoMembers().flight.pointerY, 5760);
    EXPECT_TRUE(y.Timer2.enabled());
    EXPECT_GT(y.LPoint[0].y1(), 9000) << "the pointer is drawn at the first flight tick";
    d.advance(100);
    EXPECT_NEAR(y.LPoint[0].x1(), demo::demoMembers().flight.pointerX + 60, 0.01);
}

TEST_F(DemoTest, OverAMaximisedPracticeWindowTheWindowIsCentred) {
    script({kFar, endRecord()});
    practice()().setWindowState(StateMaximized);
    FrmYanShi& y = start();
    EXPECT_EQ(y.left(), (1280 * 15 - 12000) / 2);
    EXPECT_EQ(y.top(), (1024 * 15 - 9000) / 2);
}

TEST_F(DemoTest, EveryIntervalIsTheBaseTimesTheSpeed) {
    script({kFar, endRecord()});
    for (int speed : {1, 2}) {
        FrmYanShi& y = start(speed);
        const int bases[] = {500, 100, 1000, 200, 100, 100, 200, 100, 100, 100, 100, 100, 100, 100, 100};
        const auto timers = y.playbackTimers();
        ASSERT_EQ(timers.size(), 15u);
        for (size_t i = 0; i < timers.size(); ++i) {
            EXPECT_EQ(timers[i].base, bases[i]);
            EXPECT_EQ(timers[i].timer->interval(), bases[i] * speed) << timers[i].timer->name().toStdString();
        }
        y.unload();
    }
}

TEST_F(DemoTest, EndRecordClosesAfterFourEndTicksAndHandsBack) {
    for (int speed : {1, 2}) {
        script({endRecord()});
        practice()().hide();
        question()().hide();
        reloads = 0;
        FrmYanShi& y = start(speed);
        EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("操作成功！"));
        EXPECT_FALSE(y.Shape1.visible());
        EXPECT_FALSE(y.PicMenu.visible());
        EXPECT_TRUE(y.TimEnd.enabled());
        d.advance(400 * speed - 1);
        ASSERT_TRUE(running()) << speed;
        d.advance(1);
        EXPECT_FALSE(running()) << speed;
        EXPECT_FALSE(session().DemoRunning);
        EXPECT_EQ(step(), 1);
        EXPECT_TRUE(practice()().visible());
        EXPECT_TRUE(question()().visible());
        EXPECT_EQ(reloads, 1);
    }
}

TEST_F(DemoTest, ClicksAdvanceOrBranchOnArrival) {
    // Step 1 branches to 3 on arrival, 3 is a double click whose branch does
    // not count, 4 a click with a shift code, 5 the end.
    script({QString(Rec().target(3000, 2000, 600, 300).branch("3")), kFar, Rec("0002").target(600, 600, 300, 300).branch("2"),
            Rec("9101").target(9000, 7000, 600, 300), endRecord()});
    FrmYanShi& y = start();
    std::vector<int> seen{step()};
    for (int t = 0; t < 400 && running(); ++t) {
        d.advance(100);
        if (running() && step() != seen.back()) seen.push_back(step());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_FALSE(running());
    (void)y;
}

TEST_F(DemoTest, RingIsSeenAfterABranchButNotAfterANextStep) {
    script({QString(Rec().target(7680, 5760, 30, 30).branch("2")), kFar, endRecord()});
    FrmYanShi& y = start();
    d.advance(100);  // arrival at the first tick: the jump to step 2, the ring blinks on
    EXPECT_EQ(step(), 2);
    EXPECT_TRUE(y.Timer5.enabled());
    EXPECT_FALSE(y.Shape5.visible());
    d.advance(100);
    EXPECT_TRUE(y.Shape5.visible()) << "seen one interval after the arrival";
    d.advance(100);
    EXPECT_FALSE(y.Shape5.visible());
    // Step 2 ends with doNext: its blink stops before it shows.
    bool seen = false;
    while (running() && step() == 2) {
        d.advance(100);
        seen = seen || y.Shape5.visible();
    }
    for (int i = 0; i < 3 && running(); ++i) {
        d.advance(100);
        seen = seen || y.Shape5.visible();
    }
    EXPECT_FALSE(seen);
}

TEST_F(DemoTest, RingColourFollowsTheCode) {
    for (const auto& [code, colour] : std::vector<std::pair<QString, uint32_t>>{
             {"0002", 65280u}, {"0003", 65535u}, {"3521", 65535u}, {"5432", 255u}, {"0001", 255u}}) {
        script({Rec(code).target(3000, 2000, 600, 300), endRecord()});
        FrmYanShi& y = start();
        d.advance(100);
        EXPECT_EQ(y.Shape5.borderColor(), colour) << code.toStdString();
        y.unload();
    }
}

TEST_F(DemoTest, TypingShowsOneCharacterPerTick) {
    textTable({"001abc|xyz", "002ab"});
    script({Rec("0020").input(1000, 1000, 3000, 300, "000").answer("001"), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("输入 "));
    const auto& f = demo::demoMembers().flight;
    EXPECT_EQ(f.targetX, 1300);
    EXPECT_EQ(f.targetY, 1150);
    while (!y.Timer1.enabled() && running()) d.advance(100);
    ASSERT_TRUE(y.Timer1.enabled());
    EXPECT_EQ(y.Text1.text(), "");
    d.advance(500);
    EXPECT_EQ(y.Text1.text(), "a");
    d.advance(500);
    EXPECT_EQ(y.Text1.text(), "ab");
    EXPECT_EQ(y.Text1.selStart(), 2);
    EXPECT_EQ(step(), 1);
    d.advance(500);
    EXPECT_EQ(y.Text1.text(), "abc");
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoTest, TypingIntoTheRenameBoxAfterAPrefixAndOfNothing) {
    textTable({"001abc", "002ab", "003zz"});
    script({Rec("0021").input(1000, 1000, 3000, 300, "003").answer("001"),
            Rec("0020").input(1000, 1000, 3000, 300, "002").answer("001"),
            Rec("0020").input(1000, 1000, 3000, 300, "001").answer("000"), Rec("0023").input(1000, 1000, 3000, 300, "001").answer("001"),
            endRecord()});
    FrmYanShi& y = start();
    EXPECT_TRUE(y.Text2.visible());
    EXPECT_FALSE(y.Text1.visible());
    EXPECT_EQ(y.Text2.text(), "zz");
    while (!y.Timer1.enabled()) d.advance(100);
    d.advance(1500);
    EXPECT_EQ(step(), 2) << "three characters into the rename box";
    EXPECT_EQ(y.Text1.text(), "ab") << "the next step's start text";

    // The box holds "ab": the first tick completes "abc".
    while (!y.Timer1.enabled()) d.advance(100);
    d.advance(500);
    EXPECT_EQ(y.Text1.text(), "abc");
    EXPECT_EQ(step(), 3);

    // Nothing to type: the box is cleared at the first tick.
    while (!y.Timer1.enabled()) d.advance(100);
    d.advance(500);
    EXPECT_EQ(step(), 4);
    EXPECT_EQ(y.Text1.text(), "abc") << "the next step's start text";

    // A selection types nothing and ends at its first tick.
    while (!y.Timer1.enabled()) d.advance(100);
    d.advance(500);
    EXPECT_EQ(y.Text1.text(), "abc");
    EXPECT_FALSE(running() && step() == 4);
}

TEST_F(DemoTest, HoldsLastFiveHoldTicks) {
    for (int speed : {1, 2}) {
        script({Rec("6013").target(3000, 2000, 600, 300), Rec("8888"), kFar, endRecord()});
        FrmYanShi& y = start(speed);
        const auto before = demo::demoMembers().flight;
        EXPECT_FALSE(y.Timer2.enabled());
        EXPECT_TRUE(y.Timer4.enabled());
        d.advance(1000 * speed - 1);
        EXPECT_EQ(step(), 1);
        d.advance(1);
        EXPECT_EQ(step(), 2);
        d.advance(1000 * speed);
        EXPECT_EQ(step(), 3);
        EXPECT_EQ(demo::demoMembers().flight.pointerX, before.pointerX);
        EXPECT_EQ(demo::demoMembers().flight.pointerY, before.pointerY);
        y.unload();
    }
}

TEST_F(DemoTest, BlinkIsSeenOnlyWhenItStartsFromZero) {
    script({Rec("8888"), endRecord()});
    FrmYanShi& y = start();
    y.Timer4.setEnabled(false);
    for (int startCount : {0, 1, 2}) {
        demo::demoMembers().TickCount = int16_t(startCount);
        y.Timer5.setEnabled(true);
        std::vector<bool> seen;
        for (int i = 0; i < 4 && y.Timer5.enabled(); ++i) {
            d.advance(100);
            seen.push_back(y.Shape5.visible());
        }
        if (startCount == 0)
            EXPECT_EQ(seen, (std::vector<bool>{true, false, false}));
        else
            EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 0) << startCount;
        EXPECT_FALSE(y.Timer5.enabled());
        EXPECT_EQ(demo::demoMembers().TickCount, 0);
    }
}

TEST_F(DemoTest, DragsTakeASecondLegWithTheDragCursor) {
    script({Rec("0041").source(1000, 1000, 600, 300).target(6000, 5000, 600, 300), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(demo::demoMembers().flight.targetX, 1300);
    while (!y.secondLeg() && running()) d.advance(100);
    ASSERT_TRUE(y.secondLeg());
    EXPECT_TRUE(y.Shape6.visible());
    EXPECT_TRUE(y.ImgICO.visible());
    EXPECT_EQ(demo::demoMembers().flight.targetX, 6300);
    EXPECT_EQ(demo::demoMembers().flight.targetY, 5150);
    d.advance(300);
    EXPECT_GT(y.Shape6.width(), 1000) << "the outline grows toward the pointer";
    while (step() == 1 && running()) d.advance(100);
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoTest, LookInStepOpensTheListAndFliesToTheRow) {
    script({Rec("K012"), endRecord()});
    FrmYanShi& y = start();
    int16_t opened = 0;
    double rowY = 0;
    while (step() == 1 && running()) {
        d.advance(100);
        if (!opened && y.PicList.height() > 330) {
            opened = 1;
            rowY = demo::demoMembers().flight.targetY;
            EXPECT_TRUE(y.ImgLiN[12].visible());
        }
    }
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rowY, y.PicList.top() + 13 * 255);
    EXPECT_EQ(step(), 2);
}

TEST_F(DemoTest, ImageDropMovesStraightUpOneStepPerSecond) {
    picture("500001", 40, 20);
    script({Rec("8001").overlay(5, 2000, 3000, "500001").drop(0, 2400), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(demo::demoMembers().flight.targetX, 2300);
    EXPECT_EQ(demo::demoMembers().flight.targetY, 3150);
    while (!y.Timer3.enabled() && running()) d.advance(100);
    ASSERT_TRUE(y.Timer3.enabled());
    EXPECT_FALSE(y.Timer2.enabled());
    EXPECT_EQ(demo::demoMembers().flight.targetY, 2400);
    d.advance(1000);
    const double left = y.Image5.left(), top = y.Image5.top();
    d.advance(999);
    EXPECT_EQ(y.Image5.top(), top);
    d.advance(1);
    EXPECT_LT(y.Image5.top(), top);
    EXPECT_NEAR(y.Image5.left(), left, 30) << "up, back over its own centre";
    while (step() == 1 && running()) d.advance(1000);
    EXPECT_EQ(step(), 2);
    EXPECT_NEAR(y.Image5.left() + y.Image5.width() / 2, 2300, 120);
    EXPECT_NEAR(y.Image5.top() + y.Image5.height() / 2, 2400, 120);
}

TEST_F(DemoTest, DoubleClickOnAnOverlayOrEscapeStops) {
    picture("300001", 40, 20);
    script({Rec().overlay(3, 3000, 4000, "300001").target(9000, 7000, 600, 300), endRecord()});
    FrmYanShi& y = start();
    d.advance(200);
    d.dblClick(y.Label1);
    d.key(y, 65);
    EXPECT_FALSE(y.TimEnd.enabled());
    d.dblClick(y.Image3);
    EXPECT_TRUE(y.TimEnd.enabled());
    d.advance(399);
    EXPECT_TRUE(running());
    d.dblClick(y.Image3);  // a second stop does not postpone the end
    d.advance(1);
    EXPECT_FALSE(running());

    script({kFar, endRecord()});
    FrmYanShi& z = start();
    d.advance(100);
    d.key(z, 27);
    d.advance(400);
    EXPECT_FALSE(running());
}

TEST_F(DemoTest, AStepBeyondTheScriptEndsTheDemonstration) {
    script({Rec().target(7680, 5760, 30, 30).branch("9")});
    start();
    EXPECT_LT(runToEnd(), 2000);
    EXPECT_FALSE(session().DemoRunning);
}

TEST_F(DemoTest, ABranchLoopIsStoppedWithinFourEndTicks) {
    // Step 1 jumps to itself at every arrival.
    script({QString(Rec().target(7680, 5760, 30, 30).branch("1")), endRecord()});
    FrmYanShi& y = start();
    d.advance(1000);
    ASSERT_TRUE(running());
    d.key(y, 13);
    d.advance(400);
    EXPECT_FALSE(running());
}

TEST_F(DemoTest, AnUnknownCodeEndsItsStepLikeAClick) {
    script({Rec("A123").target(3000, 2000, 600, 300), endRecord()});
    start();
    EXPECT_LT(runToEnd(), 3000);
}

TEST_F(DemoTest, SceneSetUpFromTheRecord) {
    picture("310001", 100, 80);
    picture("320001", 10, 10);
    textTable({"001提示|两行"});
    QString bars = Rec().target(3000, 2000, 600, 0).hint(600, 7800, "001");
    bars.replace(5, 2, "A3").replace(3, 2, "B4");
    script({bars, Rec().overlay(6, 100, 100, "ABCDEF").overlay(1, 100, 100, "320001"), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(y.picture().widthPixels(), 100) << "step 1 keeps no picture: 310001";
    EXPECT_TRUE(y.PicMenu.visible());
    EXPECT_TRUE(y.PicTool.visible());
    EXPECT_TRUE(y.PicHui.visible());
    EXPECT_EQ(y.Label1.width(), 1) << "a target of height 0 has no frame";
    EXPECT_FALSE(y.Shape1.visible());
    EXPECT_EQ(y.LHelp.caption(), QString::fromUtf8("提示\r\n两行"));
    EXPECT_TRUE(y.LHelp.visible());
    // The menu bar's hot-spots lie on the window.
    EXPECT_EQ(y.LblZHU[1].left(), 135);
    EXPECT_EQ(y.LblZHU[1].top(), 420);

    y.doNext();
    EXPECT_FALSE(y.Image6.visible()) << "letters read 0";
    EXPECT_TRUE(y.Image1.visible());
    EXPECT_FALSE(y.PicMenu.visible());
}

TEST_F(DemoTest, MenuStepFramesTheHotSpotAndAdvancesOnTheClick) {
    script({Rec("7000").put(125, "H0300000000").put(6, "A1"), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(demo::demoMembers().OpenMenu, 3);
    EXPECT_TRUE(y.Shape1.visible());
    EXPECT_EQ(y.Shape1.left(), y.LblZHU[3].left());
    EXPECT_EQ(demo::demoMembers().flight.targetX,
              int(y.LblZHU[3].left() + y.LblZHU[3].width() / 2));
    EXPECT_LT(runToEnd(), 3000);
}
