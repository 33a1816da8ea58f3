// Drags from the source box onto the target and drags of Image5, driven as
// a user would.
#include <gtest/gtest.h>

#include "core/text.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;

namespace {

Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

// Source box at (1000, 1000), 2000 x 1500; target at (5000, 4000),
// 1000 x 600.
Rec onSource(const QString& code, const QString& sourceBranch = "0") {
    return Rec()
        .put(8, code)
        .target(5000, 4000, 1000, 600)
        .num(177, 5, 1000)
        .put(182, sourceBranch)
        .num(183, 4, 1000)
        .num(187, 5, 2000)
        .num(192, 5, 1500);
}

// Steps 2-9 tell themselves apart by columns 4-5.
QStringList scriptOf(const QString& first) {
    QStringList l{first};
    for (int i = 2; i <= 9; ++i) l << Rec(idle()).put(4, core::padDigits(i, 2));
    return l;
}

class DragTest : public DrivenTest {
protected:
    void SetUp() override {
        DrivenTest::SetUp();
        core::session().RunMode = RunPractice;  // no hint label over the scene
    }
};

} // namespace

TEST_F(DragTest, SourceBoxPlacement) {
    script({onSource("0040"), idle()});
    FrmMain& f = step(1);
    EXPECT_TRUE(f.Label4.visible());
    EXPECT_EQ(QRectF(f.Label4.left(), f.Label4.top(), f.Label4.width(), f.Label4.height()), QRectF(1000, 1000, 2000, 1500));
    EXPECT_EQ(QRectF(f.Shape4.left(), f.Shape4.top(), f.Shape4.width(), f.Shape4.height()), QRectF(1000, 1000, 2000, 1500));
    step(2);
    EXPECT_DOUBLE_EQ(f.Label4.width(), 1);
    EXPECT_DOUBLE_EQ(f.Label4.height(), 1);
    EXPECT_DOUBLE_EQ(f.Label4.left(), -1);
    EXPECT_DOUBLE_EQ(f.Label4.top(), 1000) << "the top stays";
    EXPECT_DOUBLE_EQ(f.Shape4.left(), -1);

    config().ScaleX = 0.8;
    config().ScaleY = 0.8;
    step(1);
    EXPECT_EQ(QRectF(f.Label4.left(), f.Label4.top(), f.Label4.width(), f.Label4.height()), QRectF(800, 800, 1600, 1200));
}

TEST_F(DragTest, SourceBoxDragsOntoTheTarget) {
    enum Where { Inside, Outside, RightBorder, BottomBorder, PastRight };
    const struct {
        const char* name;
        QString code, alt, bars, cursor, branch;
        int pressShift, moveShift, releaseShift;
        Where at;
        int step;      // after the release
        int pointer;   // Label4's pointer after the moves, -1: not checked
    } cases[] = {
        {"frame with Shift, pressed without it", "0041", "00", "00", "00000", "5", 0, 0, 0, Inside, 5, 0},
        {"frame with Shift held throughout", "0041", "00", "00", "00000", "5", 1, 1, 1, Inside, 2, -1},
        {"frame, no flag: the press advances", "0040", "00", "00", "00000", "0", 0, 0, 0, Inside, 2, -1},
        {"frame, EE in AltSetCode", "0040", "EE", "00", "00000", "0", 0, 0, 0, Inside, 2, -1},
        {"frame dropped outside", "0040", "00", "EE", "00000", "0", 0, 0, 0, Outside, 1, -1},
        {"frame on the right border", "0040", "EE", "00", "00000", "0", 0, 0, 0, RightBorder, 2, -1},
        {"frame on the bottom border", "0040", "EE", "00", "00000", "0", 0, 0, 0, BottomBorder, 2, -1},
        {"frame just past the border", "0040", "EE", "00", "00000", "0", 0, 0, 0, PastRight, 1, -1},
        {"frame with Ctrl released without it", "0042", "EE", "00", "00000", "0", 2, 2, 0, Inside, 1, -1},
        {"move with pointer 5", "0050", "EE", "00", "S0005", "0", 0, 0, 0, Inside, 2, 5},
        {"move with a drop branch", "0050", "EE", "00", "S3005", "0", 0, 0, 0, Inside, 3, 5},
        {"move whose pointer is 00", "0050", "EE", "00", "S0000", "0", 0, 0, 0, Inside, 1, 0},
        {"move with pointer 00 and a source branch", "0050", "EE", "00", "S0000", "6", 0, 0, 0, Inside, 6, 0},
        {"move with Shift, pressed without it", "0051", "EE", "00", "S0005", "0", 0, 1, 1, Inside, 1, 0},
        {"move with a missing cursor file", "0050", "EE", "00", "M0007", "0", 0, 0, 0, Inside, 2, 99},
        {"move dropped outside", "0050", "EE", "00", "S0005", "4", 0, 0, 0, Outside, 4, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        script(scriptOf(onSource(c.code, c.branch).put(4, c.alt).put(6, c.bars).put(101, c.cursor)));
        FrmMain& f = step(1);
        f.Dragging = 0;
        d.press(f, 1500, 1200, 1, c.pressShift);
        if (s().CurrentStep == 1) {
            EXPECT_EQ(f.Shape6.visible(), c.code.startsWith("004") && c.pressShift == (c.code[3].unicode() - '0'));
        }
        d.moveTo(f, 3000, 2500, 1, c.moveShift);
        d.moveTo(f, 5500, 4300, 1, c.moveShift);
        if (c.pointer >= 0) {
            EXPECT_EQ(f.Label4.mousePointer(), c.pointer);
        }
        double x = 5500, y = 4300;
        switch (c.at) {
        case Inside: break;
        case Outside: x = 4990; break;
        case RightBorder: x = 6000; break;
        case BottomBorder: y = 4600; break;
        case PastRight: x = 6001; break;
        }
        d.release(f, x, y, 1, c.releaseShift);
        EXPECT_EQ(s().CurrentStep, c.step);
        if (c.step == 1) {
            EXPECT_EQ(f.Label4.mousePointer(), c.code == "0042" ? 99 : 0);
        }
    }
}

TEST_F(DragTest, RubberBandHangsFromThePressPoint) {
    script(scriptOf(onSource("0040").put(4, "EE")));
    FrmMain& f = step(1);
    d.press(f, 2500, 2000);
    EXPECT_TRUE(f.Shape6.visible());
    EXPECT_EQ(f.DragStartX, 2500);
    EXPECT_EQ(f.DragStartY, 2000);
    EXPECT_DOUBLE_EQ(f.Shape6.width(), 15);
    d.moveTo(f, 5500, 4300);
    EXPECT_EQ(QRectF(f.Shape6.left(), f.Shape6.top(), f.Shape6.width(), f.Shape6.height()), QRectF(2500, 2000, 3000, 2300));
    // Up and to the left: still from the press point, by the distances.
    d.moveTo(f, 1200, 1100);
    EXPECT_EQ(QRectF(f.Shape6.left(), f.Shape6.top(), f.Shape6.width(), f.Shape6.height()), QRectF(2500, 2000, 1300, 900));
    d.release(f, 1200, 1100);
    EXPECT_FALSE(f.Shape6.visible());
    EXPECT_EQ(s().CurrentStep, 1);
}

TEST_F(DragTest, DragPointerFromTheCursorCode) {
    // A readable cursor: the custom pointer with its file.
    const QString file = config().programFile("ico07.CUR");
    ASSERT_TRUE(core::writeFileAtomic(file, cursorBytes()));
    ASSERT_TRUE(core::readCursorFile(file).ok);
    script(scriptOf(onSource("0050").put(4, "EE").put(101, "X0007")));
    FrmMain& f = step(1);
    d.press(f, 1500, 1200);
    d.moveTo(f, 5500, 4300);
    EXPECT_EQ(f.Label4.mousePointer(), 99);
    EXPECT_EQ(f.Label4.mouseIcon(), file);
    d.release(f, 5500, 4300);
    EXPECT_EQ(s().CurrentStep, 2);
}

TEST_F(DragTest, ReleaseOnTheSourceBoxWithoutADrag) {
    textTable({"001合计|Total"});
    const struct {
        QString code, branch, text;
        int button;
        int step;
    } cases[] = {
        {"0028", "0", "  TOTAL ", 1, 2},   // either alternative, case and blanks ignored
        {"0028", "0", "合计", 2, 2},       // any button releases
        {"0028", "4", "小计", 1, 4},       // wrong text: the source branch
        {"0028", "0", "小计", 1, 1},
        {"0001", "5", "", 2, 5},           // a release that branches
        {"0001", "0", "", 1, 2},           // a left press advances
        {"0001", "0", "", 2, 1},           // other buttons do not
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.code + "/" + c.branch + "/" + c.text).toStdString());
        script(scriptOf(onSource(c.code, c.branch).input(200, 6000, 3000, 300, "000").put(109, "001")));
        FrmMain& f = step(1);
        f.Text1.setText(c.text);
        d.click(f.Label4, c.button);
        EXPECT_EQ(s().CurrentStep, c.step);
    }
}

TEST_F(DragTest, ImageDragsByDirection) {
    // Image5 stands at (3000, 3000), 30 x 20 pixels; the drop point is 1000
    // twips away in the code's direction. One move halves the distance to the
    // pointer, so a move to twice the drop offset reaches the drop point.
    picture("500005", 30, 20);
    const struct {
        int code;
        int dx, dy;   // drop point offset
        int reachX, reachY;  // where the single move takes the corner, relative
        bool ok;
    } cases[] = {
        {8001, -1000, 0, -1000, 0, true},   {8001, -1000, 0, -998, 0, false},
        {8002, 1000, 0, 1000, 0, true},     {8002, 1000, 0, 998, 0, false},
        {8003, 0, -1000, 0, -1000, true},   {8003, 0, -1000, 0, -998, false},
        {8004, 0, 1000, 0, 1000, true},     {8004, 0, 1000, 0, 998, false},
        {8006, -1000, 1000, -1000, 1000, true}, {8006, -1000, 1000, -1000, 998, false},
        {8007, 1000, 1000, 1000, 1000, true},   {8007, 1000, 1000, 998, 1000, false},
        {8008, -1000, -1000, -1000, -1000, true}, {8008, -1000, -1000, -998, -1000, false},
        {8009, 1000, -1000, 1000, -1000, true},   {8009, 1000, -1000, 1000, -998, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << (c.ok ? " reached" : " short"));
        script(scriptOf(Rec()
                            .put(8, QString::number(c.code))
                            .target(5000, 500, 900, 300)
                            .overlay(5, 3000, 3000, "500005")
                            .num(167, 5, 3000 + c.dx)
                            .num(172, 5, 3000 + c.dy)));
        FrmMain& f = step(1);
        ASSERT_TRUE(f.Image5.visible());
        d.press(f, 3010, 3010);
        const double px = c.code == 8003 || c.code == 8004 ? 3010 : 3000 + 2 * c.reachX;
        const double py = c.code == 8001 || c.code == 8002 ? 3010 : 3000 + 2 * c.reachY;
        d.moveTo(f, px, py);
        const bool h = c.code != 8003 && c.code != 8004, v = c.code != 8001 && c.code != 8002;
        EXPECT_EQ(f.DragLeft, h ? 3000 + c.reachX : 3000);
        EXPECT_EQ(f.DragTop, v ? 3000 + c.reachY : 3000);
        d.release(f, px, py);
        EXPECT_EQ(s().CurrentStep, c.ok ? 2 : 1);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(f.Image5.left(), h ? 3000 + c.dx : 3000);
            EXPECT_DOUBLE_EQ(f.Image5.top(), v ? 3000 + c.dy : 3000);
        } else {
            // Back to the record's place on every moved axis, with the drag.
            EXPECT_DOUBLE_EQ(f.Image5.left(), 3000);
            EXPECT_DOUBLE_EQ(f.Image5.top(), 3000);
            EXPECT_EQ(f.DragLeft, 3000);
            EXPECT_EQ(f.DragTop, 3000);
        }
    }
}

TEST_F(DragTest, ImageDragNeedsTheLeftButtonAndAKnownCode) {
    picture("500005", 30, 20);
    script(scriptOf(Rec().put(8, "8002").overlay(5, 3000, 3000, "500005").num(167, 5, 4000).num(172, 5, 3000)));
    FrmMain& f = step(1);
    // Moves with another button do not move the image.
    d.press(f, 3010, 3010, 2);
    d.moveTo(f, 6000, 3010, 2);
    EXPECT_DOUBLE_EQ(f.Image5.left(), 3000);
    d.release(f, 6000, 3010, 2);
    EXPECT_EQ(s().CurrentStep, 1);
    // Several moves close in on the pointer; any button's release judges.
    d.press(f, 3010, 3010);
    for (int i = 0; i < 6; ++i) d.moveTo(f, 4300, 3010);
    EXPECT_GE(f.DragLeft, 4000);
    d.release(f, 4300, 3010, 2);
    EXPECT_EQ(s().CurrentStep, 2);
    EXPECT_DOUBLE_EQ(f.Image5.left(), 4000);

    // No code 8005: nothing moves, the release does nothing.
    script(scriptOf(Rec().put(8, "8005").overlay(5, 3000, 3000, "500005").num(167, 5, 4000)));
    step(1);
    d.press(f, 3010, 3010);
    d.moveTo(f, 6000, 3010);
    d.release(f, 6000, 3010);
    EXPECT_DOUBLE_EQ(f.Image5.left(), 3000);
    EXPECT_EQ(s().CurrentStep, 1);
}

TEST_F(DragTest, ScaledImageDragStartsWhereTheImageStands) {
    config().ScaleX = 0.8;
    config().ScaleY = 0.8;
    picture("500005", 30, 20);
    // Image5X 3000 stands at 2400, the drop point 3000 is 2400 too: a
    // release without a move is on the drop point.
    script(scriptOf(Rec().put(8, "8001").overlay(5, 3000, 3000, "500005").num(167, 5, 3000).num(172, 5, 3000)));
    FrmMain& f = step(1);
    EXPECT_EQ(f.DragLeft, 2400);
    EXPECT_EQ(f.DragTop, 2400);
    d.click(f, 2410, 2410);
    EXPECT_EQ(s().CurrentStep, 2);
}
