// The demonstration's menu and toolbar steps: the press on the main
// hot-spot, the drop-down and submenu it opens, the flights to their rows,
// the row clicks and how the step ends; the reset between steps.
#include "demo_fixture.h"

#include "chrome/picture_cache.h"
#include "chrome/rows.h"

using namespace demotest;

namespace {

class DemoMenuTest : public DemoTest {
protected:
    void SetUp() override {
        DemoTest::SetUp();
        QDir(dir.path()).mkpath("examdata");
        chrome::chromePictures().clear();
    }
    void TearDown() override {
        chrome::chromePictures().clear();
        DemoTest::TearDown();
    }
    // A chrome picture of w x h pixels (15 twips each).
    void chromePic(const QString& code, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::gray);
        ASSERT_TRUE(img.save(dir.path() + "/examdata/" + code + ".rar", "BMP"));
    }
    // A menu step whose path "H" MM II SS "00" branch lies in slot 1, with
    // the bars `bars` ("A" + mask).
    static Rec menuStep(int menu, int item, int sub = 0, const QString& branch = "0", const QString& bars = "A7") {
        const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
        Rec r("7000");
        r.put(125, "H" + two(menu) + two(item) + two(sub) + "00" + branch).put(6, bars);
        return r;
    }
    // Advances the clock in 10 ms steps until `done` holds (at most 20 s).
    template <class F>
    bool until(F done) {
        for (int t = 0; t < 2000; ++t) {
            if (done()) return true;
            d.advance(10);
        }
        return done();
    }
    static const demo::Flight& flight() { return demo::demoMembers().flight; }
    static QRectF rect(const Control& c) { return QRectF(c.left(), c.top(), c.width(), c.height()); }
};

} // namespace

TEST_F(DemoMenuTest, AStepThatNamesNoRowEndsAtTheHotSpot) {
    chromePic("030099", 60, 20);
    chromePic("030077", 200, 300);
    script({menuStep(3, 0), endRecord()});
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return step() == 2; }));
    EXPECT_TRUE(y.ImgMenu.picture().isNull()) << "no pressed picture";
    EXPECT_TRUE(y.Pic1J.picture().isNull()) << "no drop-down";
    EXPECT_FALSE(y.Timer6.enabled());
    EXPECT_EQ(y.Shape5.left(), flight().pointerX - 180) << "the ring is the only sign";
}

TEST_F(DemoMenuTest, MenuBarRowOpensBelowTheTitleAndIsHighlightedOnArrival) {
    chromePic("030099", 60, 20);
    chromePic("030077", 200, 300);
    chromePic("030500", 190, 22);
    script({menuStep(3, 5), endRecord()});
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    EXPECT_FALSE(y.Timer2.enabled());
    const Control& h = y.LblZHU[3];
    EXPECT_EQ(y.ImgMenu.left(), h.left());
    EXPECT_EQ(y.ImgMenu.top(), h.top());
    EXPECT_EQ(y.ImgMenu.width(), 900) << "the pressed picture 030099";
    EXPECT_TRUE(y.Pic1J.visible());
    EXPECT_EQ(y.Pic1J.left(), h.left());
    EXPECT_EQ(y.Pic1J.top(), h.top() + h.height()) << "the top edge on the title's bottom edge";
    EXPECT_EQ(y.Pic1J.width(), 3000);
    // Row 5 of menu 3 ("55232"): the group rows are the picture less 30 wide,
    // moved by the drop-down's origin.
    const Control& r = y.Lbl1J[5];
    EXPECT_EQ(r.left(), y.Pic1J.left() + 30);
    EXPECT_EQ(r.top(), y.Pic1J.top() + 30 + 4 * 345);
    EXPECT_EQ(r.width(), 2970);
    EXPECT_EQ(rect(y.Shape1), rect(r));
    EXPECT_EQ(flight().targetX, int(r.left() + r.width() / 2));
    EXPECT_EQ(flight().targetY, int(r.top() + r.height() / 2));
    EXPECT_TRUE(y.Lbl1J[18].width() == 0 && y.Lbl1J[18].left() == y.Pic1J.left() - 100) << "parked, moved";

    ASSERT_TRUE(until([&] { return step() == 2; }));
    EXPECT_FALSE(y.Timer6.enabled());
    EXPECT_FALSE(y.Timer7.enabled());
    EXPECT_EQ(y.Img1J.left(), r.left());
    EXPECT_EQ(y.Img1J.top(), r.top());
    EXPECT_EQ(y.Img1J.width(), 190 * 15) << "the row highlight 030500";
    EXPECT_FALSE(y.Img1J.visible()) << "hidden by the next step's set-up";
    EXPECT_FALSE(y.Pic1J.visible());
    EXPECT_EQ(y.Shape5.left(), flight().pointerX - 180) << "the ring at the row";
}

TEST_F(DemoMenuTest, DrawingBarPaletteOpensUpwardAndHighlightsCellsAndRows) {
    chromePic("240099", 34, 22);
    chromePic("240077", 150, 200);
    chromePic("499912", 18, 18);
    chromePic("244100", 140, 22);
    for (const auto& [row, code, width] :
         std::vector<std::tuple<int, QString, int>>{{12, "499912", 18}, {41, "244100", 140}}) {
        script({menuStep(24, row), endRecord()});
        FrmYanShi& y = start();
        ASSERT_TRUE(until([&] { return y.Timer6.enabled(); })) << row;
        EXPECT_EQ(y.ImgHui.left(), y.LblZHU[24].left());
        EXPECT_EQ(y.ImgHui.width(), 34 * 15);
        EXPECT_EQ(y.Pic1J.left(), y.LblZHU[24].left());
        EXPECT_EQ(y.Pic1J.top() + y.Pic1J.height(), y.PicHui.top()) << "its bottom edge on the bar's top edge";
        EXPECT_EQ(y.PicHui.top(), 8280);
        EXPECT_EQ(rect(y.Shape1), rect(y.Lbl1J[row]));
        ASSERT_TRUE(until([&] { return step() == 2; }));
        EXPECT_EQ(y.Img1J.width(), width * 15) << code.toStdString();
        y.unload();
    }
}

TEST_F(DemoMenuTest, ToolbarDropDownsOpenBelowThePressedPicture) {
    chromePic("860099", 34, 25);
    chromePic("860077", 160, 200);
    chromePic("499903", 18, 18);
    chromePic("640077", 60, 300);  // no pressed picture of 64
    script({menuStep(86, 3), menuStep(64, 2), endRecord()});
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    const Control& h = y.LblZHU[86];
    EXPECT_EQ(y.ImgTool.left(), h.left());
    EXPECT_EQ(y.Pic1J.left(), h.left() - 825) << "825 left of the button";
    EXPECT_EQ(y.Pic1J.top(), h.top() + 25 * 15) << "below the pressed picture";
    // Palette cell 3 of 86: PaletteGrid from (60, 600).
    EXPECT_EQ(y.Lbl1J[3].left(), y.Pic1J.left() + 60 + 2 * 270);
    EXPECT_EQ(y.Lbl1J[3].top(), y.Pic1J.top() + 600);
    ASSERT_TRUE(until([&] { return step() == 2; }));
    EXPECT_EQ(y.Img1J.width(), 18 * 15) << "the palette cell highlight 499903";

    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    EXPECT_EQ(y.Pic1J.top(), y.LblZHU[64].top() + y.LblZHU[64].height()) << "by the hot-spot without a pressed picture";
    EXPECT_TRUE(y.ImgTool.picture().isNull());
}

TEST_F(DemoMenuTest, ExtraAreaDropDownsAndTheVariantPressedPicture) {
    chromePic("320000", 177, 20);
    chromePic("320099", 177, 21);
    chromePic("XX0399", 177, 23);
    chromePic("320077", 120, 200);
    chromePic("370000", 22, 57);
    chromePic("370077", 200, 300);
    struct Case {
        QString alt;
        int menu;
        int pressedHeight;
        double leftOfElse;
    };
    for (const Case& c : std::vector<Case>{{"X3", 32, 23, 750}, {"X4", 32, 21, 750}, {"00", 32, 21, 750},
                                           {"00", 37, 0, -2400}}) {
        // The path in slot 2 names the extra picture too; 37 at the record's place.
        Rec r("7000");
        r.put(86, "H" + QString::number(c.menu) + "02000000").put(6, "A3").put(4, c.alt);
        if (c.menu == 37) r.num(96, 5, 6240).num(102, 4, 420);
        script({r, endRecord()});
        FrmYanShi& y = start();
        EXPECT_EQ(demo::demoMembers().OpenMenu, c.menu);
        ASSERT_TRUE(until([&] { return y.Timer6.enabled(); })) << c.alt.toStdString();
        EXPECT_EQ(y.ImgElse.left(), y.LblZHU[c.menu].left());
        if (c.pressedHeight == 0)
            EXPECT_TRUE(y.ImgElse.picture().isNull());
        else
            EXPECT_EQ(y.ImgElse.height(), c.pressedHeight * 15) << c.alt.toStdString() << c.menu;
        EXPECT_EQ(y.Pic1J.left(), y.PicElse.left() + c.leftOfElse);
        EXPECT_EQ(y.Pic1J.top(), y.PicElse.top() + y.PicElse.height());
        EXPECT_EQ(rect(y.Shape1), rect(y.Lbl1J[2]));
        ASSERT_TRUE(until([&] { return step() == 2; }));
        y.unload();
        chrome::chromePictures().clear();
    }
}

TEST_F(DemoMenuTest, SubmenuOpensBesideTheRowOrIsKeptInsideTheWindow) {
    struct Case {
        int dropWidth, subWidth, subHeight;
        bool raised, onLeft;
    };
    for (const Case& c : std::vector<Case>{{200, 180, 200, false, false}, {600, 300, 580, true, true}}) {
        chrome::chromePictures().clear();
        chromePic("050099", 60, 20);
        chromePic("050077", c.dropWidth, 500);
        chromePic("051277", c.subWidth, c.subHeight);
        script({menuStep(5, 12, 3), endRecord()});
        FrmYanShi& y = start();
        ASSERT_TRUE(until([&] { return y.Timer7.enabled(); }));
        EXPECT_FALSE(y.Timer6.enabled());
        EXPECT_TRUE(y.Pic2J.visible());
        const double right = y.Pic1J.left() + y.Pic1J.width() - 15;
        if (c.onLeft)
            EXPECT_EQ(y.Pic2J.left(), y.Pic1J.left() - y.Pic2J.width() + 15);
        else
            EXPECT_EQ(y.Pic2J.left(), right) << "over the drop-down's right edge";
        if (c.raised)
            EXPECT_EQ(y.Pic2J.top() + y.Pic2J.height(), 8820);
        else
            EXPECT_EQ(y.Pic2J.top(), y.Lbl1J[12].top()) << "level with the row";
        // Submenu 512: palette cell 3 from (375, 465), on the window.
        const Control& s = y.Lbl2J[3];
        EXPECT_EQ(s.left(), y.Pic2J.left() + 375 + 2 * 270);
        EXPECT_EQ(s.top(), y.Pic2J.top() + 465);
        EXPECT_EQ(y.Lbl2J[41].width(), 2550);
        EXPECT_EQ(rect(y.Shape1), rect(s));
        EXPECT_EQ(flight().targetX, int(s.left() + s.width() / 2));
        ASSERT_TRUE(until([&] { return step() == 2; }));
        EXPECT_FALSE(y.Timer7.enabled());
        EXPECT_FALSE(y.Img1J.visible());
        y.unload();
    }
}

TEST_F(DemoMenuTest, ARowWithoutASubmenuOpensNone) {
    chromePic("010077", 200, 500);
    chromePic("010100", 190, 22);
    chromePic("010177", 100, 100);
    script({menuStep(1, 1), endRecord()});
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return step() == 2; }));
    EXPECT_TRUE(y.Pic2J.picture().isNull());
    EXPECT_FALSE(y.Pic2J.visible());
}

TEST_F(DemoMenuTest, ABranchFromADropDownRowAdvancesOnce) {
    // Row 12 of menu 5 opens a submenu, but the step names no submenu row and
    // jumps to step 11 ("B"), a long hold.
    chromePic("050077", 200, 500);
    chromePic("051277", 180, 200);
    QStringList lines{menuStep(5, 12, 0, "B")};
    for (int i = 2; i <= 10; ++i) lines << endRecord();
    lines << QString(Rec("8888")) << endRecord();
    script(lines);
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return step() == 11; }));
    EXPECT_FALSE(y.Timer7.enabled()) << "no flight to submenu row 0";
    EXPECT_FALSE(y.Pic2J.picture().isNull());
    d.advance(700);
    EXPECT_EQ(step(), 11);
}

TEST_F(DemoMenuTest, ARowBeyondTheMenuFliesToThePreviousTargetThenEndsTheStep) {
    chromePic("030077", 200, 300);
    // Row 86 of the path is read as 57: no such row.
    script({menuStep(3, 86), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(demo::demoMembers().OpenItem, 57);
    const int tx = flight().targetX, ty = flight().targetY;
    const QRectF frame = rect(y.Shape1);
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    EXPECT_EQ(flight().targetX, tx);
    EXPECT_EQ(flight().targetY, ty);
    EXPECT_EQ(rect(y.Shape1), frame);
    ASSERT_TRUE(until([&] { return step() == 2; }));
    EXPECT_TRUE(y.Img1J.picture().isNull());
}

TEST_F(DemoMenuTest, SpecialItemHighlightsOnlyItsOwnRow) {
    chromePic("050077", 200, 500);
    chromePic("050300", 190, 22);
    chromePic("050400", 190, 22);
    chromePic("880100", 150, 30);
    for (const auto& [row, width] : std::vector<std::pair<int, int>>{{3, 150}, {4, 190}}) {
        script({menuStep(5, row).put(96, "D0503x8801"), endRecord()});
        FrmYanShi& y = start();
        ASSERT_TRUE(until([&] { return step() == 2; }));
        EXPECT_EQ(y.Img1J.width(), width * 15) << row;
        y.unload();
    }
}

TEST_F(DemoMenuTest, RowFlightsTickAtTheSpeedsIntervals) {
    chromePic("050077", 200, 500);
    chromePic("051277", 180, 200);
    script({menuStep(5, 12, 3), endRecord()});
    FrmYanShi& y = start(2);
    EXPECT_EQ(y.Timer6.interval(), 200);
    EXPECT_EQ(y.Timer7.interval(), 400);
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    for (core::Timer* t : {&y.Timer6, &y.Timer7}) {
        ASSERT_TRUE(until([&] { return t->enabled(); }));
        const int x = flight().pointerX, yy = flight().pointerY;
        d.advance(t->interval() - 10);
        EXPECT_EQ(flight().pointerX, x);
        EXPECT_EQ(flight().pointerY, yy);
        d.advance(10);
        EXPECT_NE(QPoint(flight().pointerX, flight().pointerY), QPoint(x, yy)) << t->name().toStdString();
    }
    ASSERT_TRUE(until([&] { return step() == 2; }));
}

TEST_F(DemoMenuTest, PreOpenedPaletteStaysAndThePointerGoesOnToTheCell) {
    chromePic("330077", 230, 170);
    // The extra code H33 opens the palette at (3000, 2400); the path names cell 3.
    script({menuStep(33, 3, 0, "0", "00").put(86, "H33").num(96, 5, 3000).num(102, 4, 2400), endRecord()});
    FrmYanShi& y = start();
    EXPECT_TRUE(y.Pic1J.visible());
    EXPECT_EQ(y.Pic1J.left(), 3000);
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    EXPECT_TRUE(y.Pic1J.visible());
    EXPECT_EQ(y.Pic1J.left(), 3000);
    EXPECT_EQ(y.Pic1J.top(), 2400);
    // Cell 3 of 33: PaletteGrid from (60, 480).
    EXPECT_EQ(y.Lbl1J[3].left(), 3000 + 60 + 2 * 270);
    EXPECT_EQ(y.Lbl1J[3].top(), 2400 + 480);
    EXPECT_EQ(rect(y.Shape1), rect(y.Lbl1J[3]));
    ASSERT_TRUE(until([&] { return step() == 2; }));
}

TEST_F(DemoMenuTest, HotSpotsWithoutADropDownShowThePressAndEndTheStep) {
    chromePic("420099", 23, 22);
    chromePic("120099", 60, 22);
    chromePic("420077", 100, 100);
    struct Case {
        int menu;
        int pressedWidth;  // 0: no pressed picture anywhere
    };
    for (const Case& c : std::vector<Case>{{42, 23}, {12, 60}, {10, 0}, {35, 0}, {89, 0}, {99, 0}}) {
        script({menuStep(c.menu, 3), endRecord()});
        FrmYanShi& y = start();
        bool flew = false;
        for (int t = 0; t < 500 && running() && step() == 1; ++t) {
            d.advance(10);
            flew = flew || y.Timer6.enabled();
        }
        EXPECT_EQ(step(), 2) << c.menu;
        EXPECT_FALSE(flew) << c.menu;
        const int shown = std::max({y.ImgTool.picture().widthPixels(), y.ImgHui.picture().widthPixels()});
        EXPECT_EQ(shown, c.pressedWidth) << c.menu;
        EXPECT_TRUE(y.Pic1J.picture().isNull()) << c.menu;
        y.unload();
    }
}

TEST_F(DemoMenuTest, ResetHidesWhatTheStepLeftOpen) {
    script({QString(Rec("8888")), endRecord()});
    FrmYanShi& y = start();
    auto openEverything = [&] {
        y.Pic1J.setVisible(true);
        y.Pic2J.setVisible(true);
        y.ImgMenu.setPicture(Picture(QImage(10, 10, QImage::Format_RGB32)));
        y.ImgElse.setPicture(Picture(QImage(10, 10, QImage::Format_RGB32)));
        y.ImgTool.setPicture(Picture(QImage(10, 10, QImage::Format_RGB32)));
        y.PicList.setHeight(3720);
    };
    struct Case {
        bool running;
        int openMenu;
        bool pic1JStays;
    };
    for (const Case& c : std::vector<Case>{{true, 0, false}, {true, 33, true}, {true, 34, true}, {true, 3, false}}) {
        openEverything();
        demo::demoMembers().OpenMenu = int16_t(c.openMenu);
        session().DemoRunning = c.running;
        y.CSH();
        EXPECT_EQ(y.Pic1J.visible(), c.pic1JStays) << c.openMenu;
        EXPECT_FALSE(y.Pic2J.visible());
        EXPECT_TRUE(y.ImgMenu.picture().isNull());
        EXPECT_TRUE(y.ImgElse.picture().isNull());
        EXPECT_FALSE(y.ImgTool.picture().isNull()) << "the other highlights stay";
        EXPECT_EQ(y.PicList.height(), 330);
        EXPECT_EQ(demo::demoMembers().OpenMenu, c.openMenu);
        const QRectF p1 = rect(y.Pic1J);
        y.CSH();
        EXPECT_EQ(y.Pic1J.visible(), c.pic1JStays) << "twice is once";
        EXPECT_EQ(rect(y.Pic1J), p1);
        EXPECT_EQ(y.PicList.height(), 330);
    }
    // Outside a demonstration nothing changes.
    openEverything();
    demo::demoMembers().OpenMenu = 0;
    session().DemoRunning = false;
    y.CSH();
    EXPECT_TRUE(y.Pic1J.visible());
    EXPECT_TRUE(y.Pic2J.visible());
    EXPECT_FALSE(y.ImgMenu.picture().isNull());
    EXPECT_EQ(y.PicList.height(), 3720);
}

TEST_F(DemoMenuTest, LongQuestionAndHintTextsAreCutForTheScreen) {
    const QString longText(MaxShownText + 500, u'字');
    windows().questionText = [longText] { return longText; };
    textTable({"001" + longText});
    script({Rec().target(3000, 2000, 600, 300).hint(600, 7800, "001"), endRecord()});
    FrmYanShi& y = start();
    EXPECT_EQ(y.ImgLogo.caption().size(), MaxShownText);
    EXPECT_EQ(y.LHelp.caption().size(), MaxShownText);
}

TEST_F(DemoMenuTest, DesignOffsetsFollowTheScale) {
    config().ScaleX = 1.25;
    config().ScaleY = 1.25;
    chromePic("860077", 160, 200);
    chromePic("050077", 200, 500);
    chromePic("051277", 180, 200);
    script({menuStep(86, 3), menuStep(5, 12, 3), endRecord()});
    FrmYanShi& y = start();
    ASSERT_TRUE(until([&] { return y.Timer6.enabled(); }));
    EXPECT_DOUBLE_EQ(y.Pic1J.left(), y.LblZHU[86].left() - 825 * 1.25);
    EXPECT_DOUBLE_EQ(y.Lbl1J[3].left(), y.Pic1J.left() + (60 + 2 * 270) * 1.25);
    ASSERT_TRUE(until([&] { return y.Timer7.enabled(); }));
    EXPECT_DOUBLE_EQ(y.Pic2J.left(), y.Pic1J.left() + y.Pic1J.width() - 15 * 1.25);
    EXPECT_DOUBLE_EQ(y.Lbl2J[41].width(), 2550 * 1.25);
    ASSERT_TRUE(until([&] { return step() == 3; }));
}

TEST_F(DemoMenuTest, HotSpotsZeroAndTenLieAtTheWindowsCorner) {
    // Never laid out: (0, 0), 495 x 375 at any scale; the pointer flies to
    // the middle of that rectangle and the frame lies on it.
    for (int menu : {0, 10}) {
        config().ScaleX = config().ScaleY = menu == 0 ? 1.0 : 1.25;
        script({menuStep(menu, 0), endRecord()});
        FrmYanShi& y = start();
        EXPECT_EQ(rect(y.LblZHU[menu]), QRectF(0, 0, 495, 375)) << menu;
        EXPECT_EQ(rect(y.Shape1), QRectF(0, 0, 495, 375)) << menu;
        EXPECT_EQ(flight().targetX, 248) << menu;
        EXPECT_EQ(flight().targetY, 188) << menu;
        ASSERT_TRUE(until([&] { return step() == 2; })) << menu;
        y.unload();
    }
}
