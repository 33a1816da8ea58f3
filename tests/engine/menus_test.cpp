// The simulated menus of the practice window, driven as a user would:
// hover and press of the main hot-spots, drop-downs and submenus, their
// rows, pre-opened drop-downs, extra pictures and the matching of clicks.
#include <gtest/gtest.h>
#include <QDir>
#include <map>

#include "chrome/picture_cache.h"
#include "chrome/rows.h"
#include "chrome/zones.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;
using testsupport::Driver;

namespace {

// A menu step ("7000") with every bar shown and slot 1 holding `slot1`.
Rec menuStep(const QString& slot1 = "0000000000") { return Rec().put(6, "A7").put(8, "7000").put(125, slot1); }
// A step that no menu click changes.
Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }
QStringList scriptOf(QStringList first, int total = 36) {
    while (first.size() < total) first << idle();
    return first;
}

class MenusTest : public DrivenTest {
protected:
    std::map<QString, int> loads;

    void SetUp() override {
        DrivenTest::SetUp();
        QDir(dir.path()).mkpath("examdata");
        chrome::chromePictures().clear();
        chrome::chromePictures().setLoader([this](const QString& path) {
            ++loads[QFileInfo(path).fileName()];
            return core::pictureStore().load(path);
        });
    }
    void TearDown() override {
        DrivenTest::TearDown();
        chrome::chromePictures().setLoader({});
        chrome::chromePictures().clear();
    }
    // A chrome picture w x h pixels.
    void chromePic(const QString& code, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        ASSERT_TRUE(img.save(dir.filePath("examdata/" + code + ".rar"), "BMP"));
    }
    FrmMain& f() { return frmMain()(); }
    Control& spot(int i) { return f().LblZHU[i]; }
    void hover(int i) { d.hover(spot(i)); }
    void press(int i, int button = 1) { d.click(spot(i), button); }
    void row(int i) { d.click(f().Lbl1J[i]); }
    // The extra area's hot-spot is larger than its picture, which clips it.
    void hoverExtra() { d.hover(f(), f().PicElse.left() + 30, f().PicElse.top() + 30); }
    void pressExtra() { d.click(f(), f().PicElse.left() + 30, f().PicElse.top() + 30); }
    void subRow(int i) { d.click(f().Lbl2J[i]); }
};

// ------------------------------------------------------------------ hover and press

TEST_F(MenusTest, HoverAndPressOfAMenuTitle) {
    chromePic("050088", 58, 19);
    chromePic("050099", 58, 19);
    chromePic("050077", 200, 300);
    chromePic("060088", 58, 19);
    script(scriptOf({menuStep()}));
    FrmMain& w = step(1);

    hover(5);
    EXPECT_EQ(w.ImgMenu.picture().widthPixels(), 58);
    EXPECT_DOUBLE_EQ(w.ImgMenu.left(), spot(5).left());
    hover(5);
    hover(5);
    EXPECT_EQ(loads["050088.rar"], 1) << "hover reads a picture once";

    press(5);
    EXPECT_EQ(w.OpenMenu, 5);
    EXPECT_TRUE(w.Pic1J.visible());
    EXPECT_EQ(w.Pic1J.picture().widthPixels(), 200);
    EXPECT_DOUBLE_EQ(w.Pic1J.left(), w.PicMenu.left() + spot(5).left());
    EXPECT_DOUBLE_EQ(w.Pic1J.top(), w.PicMenu.top() + spot(5).height());
    // The rows of menu 5: 18 rows, 3900 wide, from Top 30.
    EXPECT_DOUBLE_EQ(w.Lbl1J[1].top(), 30);
    EXPECT_DOUBLE_EQ(w.Lbl1J[18].width(), 3900);
    EXPECT_DOUBLE_EQ(w.Lbl1J[19].left(), -100);

    // Moving over the open title changes nothing; another title closes it.
    hover(5);
    EXPECT_TRUE(w.Pic1J.visible());
    EXPECT_EQ(w.OpenMenu, 5);
    hover(6);
    EXPECT_FALSE(w.Pic1J.visible());
    EXPECT_EQ(w.OpenMenu, 0);
    EXPECT_EQ(w.ImgMenu.picture().widthPixels(), 58);
    EXPECT_EQ(loads["050077.rar"], 1);
}

TEST_F(MenusTest, MissingPicturesKeepTheBoxUsable) {
    chromePic("010077", 200, 300);
    script(scriptOf({menuStep("H020300000")}));
    FrmMain& w = step(1);
    press(1);
    EXPECT_EQ(w.Pic1J.picture().widthPixels(), 200);
    // Menu 2 has no pictures at all: no stale drop-down of menu 1, the box
    // keeps its size and rows, and the row still advances.
    hover(2);
    press(2);
    EXPECT_TRUE(w.Pic1J.picture().isNull());
    EXPECT_TRUE(w.Pic1J.visible());
    EXPECT_DOUBLE_EQ(w.Pic1J.width(), 3000);
    EXPECT_TRUE(w.ImgMenu.picture().isNull());
    d.hover(w.Lbl1J[3]);
    EXPECT_TRUE(w.Img1J.picture().isNull());
    row(3);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_EQ(loads["020077.rar"], 1);
}

TEST_F(MenusTest, DropDownAnchors) {
    chromePic("240077", 150, 100);
    chromePic("860077", 150, 100);
    chromePic("860099", 34, 24);
    chromePic("320077", 150, 100);
    chromePic("320000", 100, 30);
    chromePic("730077", 150, 100);
    // (Slot 2 is "H32-...": no path of the hot-spot itself.)
    script(scriptOf({menuStep(), menuStep().put(86, "H32-").num(96, 5, 1500).num(102, 4, 900)}));
    FrmMain& w = step(1);

    press(24);  // upward: the bottom on the hot-spot's top edge
    EXPECT_DOUBLE_EQ(w.Pic1J.top() + w.Pic1J.height(), w.PicHui.top() + spot(24).top());
    EXPECT_DOUBLE_EQ(w.Pic1J.left(), spot(24).left());

    press(86);  // 825 to the left, below the pressed picture
    EXPECT_DOUBLE_EQ(w.Pic1J.left(), spot(86).left() - 825);
    EXPECT_DOUBLE_EQ(w.Pic1J.top(), w.PicTool.top() + spot(86).top() + 24 * 15);

    press(73);  // no pressed picture: the hot-spot's height
    EXPECT_DOUBLE_EQ(w.Pic1J.top(), w.PicTool.top() + spot(73).top() + spot(73).height());

    step(2);  // extra picture 32 at its fixed place
    EXPECT_DOUBLE_EQ(w.PicElse.left(), 9090);
    pressExtra();
    EXPECT_DOUBLE_EQ(w.Pic1J.left(), 9090 + 750);
    EXPECT_DOUBLE_EQ(w.Pic1J.top(), 1605 + 30 * 15);
    EXPECT_DOUBLE_EQ(w.Lbl1J[14].top(), 4605);
}

TEST_F(MenusTest, ExtraAreaLooksAndPresses) {
    chromePic("360000", 58, 18);
    chromePic("360088", 58, 18);
    chromePic("XX0388", 40, 10);
    script(scriptOf({menuStep().put(4, "X3").put(86, "H36"), menuStep().put(4, "X4").put(86, "H36"),
                     menuStep().put(86, "H33").put(125, "H330000000")}));
    FrmMain& w = step(1);
    EXPECT_DOUBLE_EQ(w.PicElse.left(), 6510);
    EXPECT_DOUBLE_EQ(spot(36).width(), 8100);
    hoverExtra();
    EXPECT_EQ(w.ImgElse.picture().widthPixels(), 40) << "the X-variant after the hover look";
    step(2);
    hoverExtra();
    EXPECT_EQ(w.ImgElse.picture().widthPixels(), 58) << "a missing variant leaves the hover look";

    // A press on 33 shows nothing but is matched.
    step(3);
    w.PicElse.setVisible(true);
    pressExtra();
    EXPECT_TRUE(w.ImgElse.picture().isNull());
    EXPECT_EQ(s().CurrentStep, 4);
}

TEST_F(MenusTest, RightClickRanges) {
    const struct {
        const char* code;
        bool onSpot;
        int menu;  // 0: nothing opens
    } cases[] = {{"3300", true, 0}, {"3400", true, 0}, {"3301", true, 3}, {"3399", true, 3}, {"4512", true, 0},
                 {"3000", false, 0}, {"6000", false, 0}, {"4512", false, 5}, {"3001", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << (c.onSpot ? " hot-spot" : " toolbar"));
        script(scriptOf({menuStep().put(8, c.code)}));
        FrmMain& w = step(1);
        w.ContextMenuNo = 0;
        // No context-menu file: the menu is chosen but nothing pops up.
        if (c.onSpot)
            press(5, 2);
        else
            d.click(f(), w.PicTool.left() + 11900, w.PicTool.top() + 300, 2);
        EXPECT_EQ(w.ContextMenuNo, c.menu);
        EXPECT_EQ(s().CurrentStep, 1);
    }
}

// ------------------------------------------------------------------ rows and matching

TEST_F(MenusTest, MenuPathsOneClickPerLevel) {
    chromePic("050077", 200, 420);
    chromePic("051177", 280, 120);
    chromePic("051102", 90, 20);
    chromePic("051100", 150, 20);
    script(scriptOf({menuStep("H050300000"), menuStep("H051102000"), menuStep("H05000000B"), menuStep("H060100000")}));
    FrmMain& w = step(1);

    press(5);
    EXPECT_EQ(s().CurrentStep, 1) << "the title alone is not the step";
    row(3);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_FALSE(w.Pic1J.visible());
    EXPECT_EQ(w.OpenMenu, 0);

    // A row that opens a submenu beside the drop-down, level with the row.
    press(5);
    d.hover(w.Lbl1J[11]);
    EXPECT_EQ(w.Img1J.picture().widthPixels(), 150);
    row(11);
    EXPECT_TRUE(w.Pic2J.visible());
    EXPECT_DOUBLE_EQ(w.Pic2J.left(), w.Pic1J.left() + w.Pic1J.width() - 15);
    EXPECT_DOUBLE_EQ(w.Pic2J.top(), w.Pic1J.top() + w.Lbl1J[11].top());
    EXPECT_EQ(s().CurrentStep, 2);
    d.hover(w.Lbl2J[2]);
    EXPECT_EQ(w.Img2J.picture().widthPixels(), 90);
    // Another row closes the submenu; its own row does not reopen it.
    d.hover(w.Lbl1J[10]);
    EXPECT_FALSE(w.Pic2J.visible());
    row(11);
    subRow(1);
    EXPECT_EQ(s().CurrentStep, 2);
    subRow(2);
    EXPECT_EQ(s().CurrentStep, 3);

    // A title path with a branch.
    press(5);
    EXPECT_EQ(s().CurrentStep, 11);
}

TEST_F(MenusTest, SpecialItemRow) {
    chromePic("010077", 200, 480);
    chromePic("880177", 180, 22);
    chromePic("880100", 170, 22);
    chromePic("011600", 160, 22);
    script(scriptOf({menuStep().put(96, "D0116x8801"), menuStep().put(96, "D0145x8801"),
                     menuStep().put(125, "H011600003").put(96, "D0116x8801")}));
    FrmMain& w = step(1);
    press(1);
    EXPECT_TRUE(w.Img1jBK.visible());
    EXPECT_DOUBLE_EQ(w.Img1jBK.top(), w.Lbl1J[16].top());
    EXPECT_EQ(w.Img1jBK.picture().widthPixels(), 180);
    d.hover(w.Lbl1J[16]);
    EXPECT_EQ(w.Img1J.picture().widthPixels(), 170) << "the special row's own hover look";
    d.hover(w.Lbl1J[15]);
    EXPECT_TRUE(w.Img1J.picture().isNull());
    row(16);
    EXPECT_EQ(s().CurrentStep, 2);

    // A row above 44 shows no background.
    press(1);
    EXPECT_FALSE(w.Img1jBK.visible());
    // Slot 1 and the SpecialItem name the same row: one advance (branch 3).
    step(3);
    press(1);
    row(16);
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_EQ(engine::StepRecord(s().StepLine).actionSlot1(), "H011600003");
}

TEST_F(MenusTest, PaletteHighlights) {
    chromePic("240077", 150, 200);
    chromePic("499907", 18, 18);
    chromePic("244100", 140, 22);
    script(scriptOf({menuStep("H240700000")}));
    FrmMain& w = step(1);
    press(24);
    d.hover(w.Lbl1J[7]);
    EXPECT_EQ(w.Img1J.picture().widthPixels(), 18);
    d.hover(w.Lbl1J[41]);
    EXPECT_EQ(w.Img1J.picture().widthPixels(), 140);
    row(7);
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(MenusTest, SubmenuClampsAtTheirBoundaries) {
    // Menu 1, row 14 (key 0114): the submenu's top is 690 + 4665 = 5355.
    chromePic("010077", 140, 480);
    chromePic("070077", 140, 300);
    const struct {
        int menu, row, w, h;
        double left, top;
    } cases[] = {
        {1, 14, 50, 231, 135 + 2100 - 15, 5355},             // ends on 8820: stays
        {1, 14, 50, 232, 135 + 2100 - 15, 8820 - 232 * 15},  // one pixel more: raised
        {7, 2, 294, 20, 5355 + 2100 - 15, 690 + 405},        // ends on 11850: stays
        {7, 2, 295, 20, 5355 - 295 * 15 + 15, 690 + 405},    // one pixel more: on the left
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.menu << "/" << c.row << " " << c.w << "x" << c.h);
        chrome::chromePictures().clear();
        chromePic(chrome::submenuPictureCode(c.menu, c.row), c.w, c.h);
        script(scriptOf({menuStep()}));
        FrmMain& w = step(1);
        press(c.menu);
        row(c.row);
        EXPECT_DOUBLE_EQ(w.Pic2J.left(), c.left);
        EXPECT_DOUBLE_EQ(w.Pic2J.top(), c.top);
    }
}

// ------------------------------------------------------------------ pre-opened drop-downs

TEST_F(MenusTest, PreOpenedDropDown) {
    chromePic("330077", 150, 150);
    chromePic("330000", 150, 150);
    script(scriptOf({menuStep("H330500000").put(86, "H33").num(96, 5, 2000).num(102, 4, 1500), menuStep()}));
    FrmMain& w = step(1);
    EXPECT_TRUE(w.Pic1J.visible());
    EXPECT_FALSE(w.PicElse.visible());
    EXPECT_DOUBLE_EQ(w.Pic1J.left(), 2000);
    EXPECT_DOUBLE_EQ(w.Pic1J.top(), 1500);
    EXPECT_EQ(w.OpenMenu, 0);
    d.advance(100);
    EXPECT_EQ(w.OpenMenu, 33);
    EXPECT_DOUBLE_EQ(w.Lbl1J[1].left(), 60);
    EXPECT_DOUBLE_EQ(w.Lbl1J[1].top(), 480);
    // The document does not close it.
    d.hover(f(), 6000, 6000);
    EXPECT_TRUE(w.Pic1J.visible());
    EXPECT_EQ(w.OpenMenu, 33);
    row(5);
    EXPECT_EQ(s().CurrentStep, 2);

    // A step change inside the 100 ms lays out nothing.
    step(1);
    step(2);
    d.advance(200);
    EXPECT_EQ(w.OpenMenu, 0);
}

// The row that was clicked belongs to the closed drop-down: the next step's
// pre-opened drop-down shows its own picture without that row's highlight,
// from the step change on (not only once its rows are laid out).
TEST_F(MenusTest, NoRowHighlightOfAClosedDropDownOverTheNextScene) {
    chromePic("050077", 200, 420);
    chromePic("050400", 190, 22);
    chromePic("051100", 190, 22);
    chromePic("051177", 280, 120);
    chromePic("051102", 90, 20);
    chromePic("330077", 150, 150);
    chromePic("330000", 150, 150);
    const Rec preOpened = menuStep("H330500000").put(86, "H33").num(96, 5, 2000).num(102, 4, 1500);
    const struct {
        const char* path;
        int row, sub;
    } cases[] = {{"H050400000", 4, 0}, {"H051102000", 11, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        script(scriptOf({menuStep(c.path), preOpened}));
        FrmMain& w = step(1);
        press(5);
        d.hover(w.Lbl1J[c.row]);
        ASSERT_FALSE(w.Img1J.picture().isNull());
        row(c.row);
        if (c.sub) {
            d.hover(w.Lbl2J[c.sub]);
            ASSERT_FALSE(w.Img2J.picture().isNull());
            subRow(c.sub);
        }
        ASSERT_EQ(s().CurrentStep, 2);
        ASSERT_TRUE(w.Pic1J.visible());
        EXPECT_TRUE(w.Img1J.picture().isNull()) << "the clicked row's highlight over the pre-opened drop-down";
        EXPECT_TRUE(w.Img2J.picture().isNull());
        d.advance(100);
        EXPECT_EQ(w.OpenMenu, 33);
        EXPECT_TRUE(w.Img1J.picture().isNull());
    }
}

TEST_F(MenusTest, ExtraPictures) {
    chromePic("350000", 100, 40);
    chromePic("360000", 100, 40);
    chromePic("XX0500", 70, 40);
    chromePic("320000", 100, 40);
    const struct {
        Rec rec;
        bool shown;
        double left, top;
        int width;  // pixels of the picture shown
        int spot;
    } cases[] = {
        {menuStep().put(86, "H36").num(96, 5, 1).num(102, 4, 2), true, 6510, 420, 100, 36},
        {menuStep().put(86, "H35").put(96, "01500").put(102, "0900"), true, 1500, 900, 100, 35},
        {menuStep().put(4, "X5").put(86, "H32"), true, 9090, 1605, 70, 32},
        {menuStep().put(86, "H41"), false, 0, 0, 0, 0},
        {menuStep().put(86, "H3A"), false, 0, 0, 0, 0},
        {menuStep().put(86, "G36"), false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString(c.rec).mid(85, 3).toStdString());
        script(scriptOf({c.rec}));
        FrmMain& w = step(1);
        EXPECT_EQ(w.PicElse.visible(), c.shown);
        for (int i = 32; i <= 40; ++i) EXPECT_EQ(spot(i).width() > 0, i == c.spot) << i;
        if (!c.shown) continue;
        EXPECT_DOUBLE_EQ(w.PicElse.left(), c.left);
        EXPECT_DOUBLE_EQ(w.PicElse.top(), c.top);
        EXPECT_EQ(w.PicElse.picture().widthPixels(), c.width);
        EXPECT_DOUBLE_EQ(spot(c.spot).height(), 6000);
    }
}

TEST_F(MenusTest, HintFrameOnTheExpectedHotSpot) {
    script(scriptOf({menuStep("H060100000")}));
    FrmMain& w = step(1);
    d.advance(100);
    EXPECT_TRUE(w.ShapeMenu.visible());
    EXPECT_DOUBLE_EQ(w.ShapeMenu.left(), spot(6).left());
}

} // namespace
