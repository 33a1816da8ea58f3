// Key steps: the step's key code, the key slots and the menu shortcuts,
// pressed through the test driver with the keys the view maps from Qt.
#include <gtest/gtest.h>
#include <Qt>

#include "core/keys.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace enginetest;

namespace {

Rec idle() { return Rec().put(8, "0004").target(6000, 6000, 600, 300); }

QStringList withIdle(QStringList first, int total = 6) {
    while (first.size() < total) first << idle();
    return first;
}

// A key as the view delivers it: virtual-key code and modifier sum.
struct Key {
    int code, shift;
};
Key qtKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return {core::keyCodeFromQt(key), core::shiftFromQt(mods.toInt())};
}

const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier, Shift = Qt::ShiftModifier, Alt = Qt::AltModifier;

class KeysTest : public DrivenTest {
protected:
    // Sets up step 1 of `first` and presses the key on the window.
    bool advances(const Rec& first, Key k) {
        script(withIdle({first}));
        FrmMain& f = step(1);
        d.key(f, k.code, k.shift);
        return s().CurrentStep == 2;
    }
};

} // namespace

TEST(KeyCodes, TableCoversTheKeysOfKeySteps) {
    const struct {
        int qt;
        int code;
    } cases[] = {
        {Qt::Key_F2, 113},     {Qt::Key_F7, 118},   {Qt::Key_F9, 120},      {Qt::Key_Clear, 12},
        {Qt::Key_Help, 47},    {Qt::Key_Meta, 91},  {Qt::Key_Super_R, 92},  {Qt::Key_AltGr, 18},
        {Qt::Key_Backspace, 8}, {Qt::Key_Menu, 93}, {Qt::Key_VolumeMute, 173}, {Qt::Key_Hangul, 21},
    };
    for (const auto& c : cases) EXPECT_EQ(core::keyCodeFromQt(c.qt), c.code) << c.qt;
    EXPECT_EQ(core::shiftFromQt((Ctrl | Shift).toInt()), 3);
}

TEST_F(KeysTest, StepKeyCode) {
    const struct {
        const char* code;
        Key key;
        bool advances;
    } cases[] = {
        {"6012", qtKey(Qt::Key_F1), true},           {"6012", qtKey(Qt::Key_F1, Shift), false},
        {"6012", {12, 0}, false},                    {"6013", qtKey(Qt::Key_Return), true},
        {"6013", qtKey(Qt::Key_Enter), true},        {"6267", qtKey(Qt::Key_C, Ctrl), true},
        {"6267", qtKey(Qt::Key_C), false},           {"6267", qtKey(Qt::Key_C, Ctrl | Shift), false},
        {"6139", qtKey(Qt::Key_Right, Shift), true}, {"6470", qtKey(Qt::Key_F, Alt), true},
        {"6346", qtKey(Qt::Key_Delete, Ctrl | Shift), true}, {"6046", qtKey(Qt::Key_Delete), true},
        {"6709", qtKey(Qt::Key_Tab, Ctrl | Shift | Alt), true}, {"0001", qtKey(Qt::Key_Return), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " key " << c.key.code << "+" << c.key.shift);
        EXPECT_EQ(advances(Rec().put(8, c.code), c.key), c.advances);
    }
}

TEST_F(KeysTest, KeySlots) {
    const struct {
        int col;
        const char* slot;
        Key key;
        bool advances;
    } cases[] = {
        {86, "P6013", qtKey(Qt::Key_F2), true},    {86, "P6013", qtKey(Qt::Key_Return), false},
        {91, "P6013", qtKey(Qt::Key_Return), true}, {91, "P6013", qtKey(Qt::Key_F2), false},
        {96, "P6013", qtKey(Qt::Key_F2), true},    {86, "P6021", {21, 0}, true},
        {86, "P6021", {121, 0}, false},            {86, "P6020", qtKey(Qt::Key_F9), true},
        {96, "P6212", qtKey(Qt::Key_F1, Ctrl), true}, {96, "P6212", qtKey(Qt::Key_F1), false},
        {91, "P6108", qtKey(Qt::Key_Backspace, Shift), true}, {91, "P6209", qtKey(Qt::Key_Tab, Ctrl), true},
        {86, "P6286", qtKey(Qt::Key_V, Ctrl), true}, {86, "P5012", qtKey(Qt::Key_F1), false},
        {86, "Q6012", qtKey(Qt::Key_F1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.col << " " << c.slot);
        EXPECT_EQ(advances(Rec().put(8, "0001").put(c.col, c.slot), c.key), c.advances);
    }
}

TEST_F(KeysTest, StepCodeAfterAPressThatMatchesNothing) {
    script(withIdle({Rec().put(8, "0001").put(86, "P6013").put(91, "P6113").put(96, "P5012")}));
    FrmMain& f = step(1);
    d.key(f, core::KeyEscape);
    EXPECT_EQ(f.StepCode, 6113) << "the last slot that passed its test";
    script(withIdle({Rec().put(8, "0001").put(86, "Q6013").put(96, "P5012")}));
    step(1);
    f.StepCode = 77;
    d.key(f, core::KeyEscape);
    EXPECT_EQ(f.StepCode, 1) << "no key slot: the step's own code";
    EXPECT_EQ(s().CurrentStep, 1);
}

TEST_F(KeysTest, MenuShortcuts) {
    const struct {
        int col;
        const char* path;
        Key key;
        bool advances;
    } cases[] = {
        {125, "H010100000", qtKey(Qt::Key_N, Ctrl), true},
        {125, "H010100000", qtKey(Qt::Key_N), false},
        {125, "H010100000", qtKey(Qt::Key_N, Ctrl | Shift), false},
        {125, "H010100000", qtKey(Qt::Key_N, Ctrl | Alt), false},
        {86, "H051700000", qtKey(Qt::Key_F1, Shift), true},
        {96, "H060100000", qtKey(Qt::Key_F7), true},
        {125, "H060800005", qtKey(Qt::Key_E, Ctrl | Shift), true},  // the branch plays no part
        {125, "H030500000", qtKey(Qt::Key_F1, Ctrl), false},        // no shortcut of its own
        {96, "D010100000", qtKey(Qt::Key_N, Ctrl), false},          // a drawn menu row
        {86, "R3121", qtKey(Qt::Key_C, Ctrl), false},               // a context-menu code
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(advances(Rec().put(8, "7000").put(c.col, c.path), c.key), c.advances);
    }

    // Every row of the table.
    const struct {
        const char* mmii;
        Key key;
    } rows[] = {
        {"0101", qtKey(Qt::Key_N, Ctrl)},  {"0102", qtKey(Qt::Key_O, Ctrl)},  {"0104", qtKey(Qt::Key_S, Ctrl)},
        {"0113", qtKey(Qt::Key_P, Ctrl)},  {"0201", qtKey(Qt::Key_Z, Ctrl)},  {"0202", qtKey(Qt::Key_Y, Ctrl)},
        {"0203", qtKey(Qt::Key_X, Ctrl)},  {"0204", qtKey(Qt::Key_C, Ctrl)},  {"0206", qtKey(Qt::Key_V, Ctrl)},
        {"0210", qtKey(Qt::Key_A, Ctrl)},  {"0211", qtKey(Qt::Key_F, Ctrl)},  {"0212", qtKey(Qt::Key_H, Ctrl)},
        {"0213", qtKey(Qt::Key_G, Ctrl)},  {"0306", qtKey(Qt::Key_F1, Ctrl)}, {"0418", qtKey(Qt::Key_K, Ctrl)},
        {"0517", qtKey(Qt::Key_F1, Shift)}, {"0601", qtKey(Qt::Key_F7)},      {"0608", qtKey(Qt::Key_E, Ctrl | Shift)},
        {"0901", qtKey(Qt::Key_F1)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.mmii);
        const QString path = QStringLiteral("H%1000000").arg(r.mmii).left(10);
        EXPECT_TRUE(advances(Rec().put(8, "7000").put(125, path), r.key));
        const auto key = engine::menuShortcut(r.mmii);
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(key->keyCode, r.key.code);
        EXPECT_EQ(key->shift, r.key.shift);
    }
    EXPECT_FALSE(engine::menuShortcut("0305").has_value());
}

TEST_F(KeysTest, OnePressAdvancesOneStep) {
    script(withIdle({Rec().put(8, "6012"), Rec().put(8, "6012"), Rec().put(8, "0001").put(86, "P6012")}));
    FrmMain& f = step(1);
    d.key(f, core::KeyF1);
    EXPECT_EQ(s().CurrentStep, 2);
    d.key(f, core::KeyF1);
    EXPECT_EQ(s().CurrentStep, 3);
    d.key(f, core::KeyF1);
    EXPECT_EQ(s().CurrentStep, 4);
}

TEST_F(KeysTest, KeysReachTheCheckThroughTheWindowAndItsPictureBoxes) {
    script(withIdle({Rec().put(8, "6013")}));
    FrmMain& f = step(1);
    // Keys typed in a text box or the list never advance a key step.
    const struct {
        const char* name;
        int stepAfter;
    } cases[] = {
        {"Image6", 2}, {"Pic1J", 2},    {"Pic2J", 2},   {"PicBottom", 2}, {"PicElse", 2}, {"PicHui", 2},
        {"PicLeft", 2}, {"PicList", 2}, {"PicMenu", 2}, {"PicRight", 2},  {"PicTool", 2}, {"PicTop", 2},
        {"PicTuBiao", 2}, {"Text1", 1}, {"Text2", 1},   {"Text3", 1},     {"LstLA", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        step(1);
        Control& focus = f.control(c.name);
        focus.setVisible(true);
        focus.setFocus();
        d.key(f, core::KeyReturn);
        EXPECT_EQ(s().CurrentStep, c.stepAfter);
    }
}

TEST_F(KeysTest, InputBoxOfAKeyStepKeepsItsKeys) {
    textTable({"001abc"});
    script(withIdle({Rec().put(8, "6013").input(300, 300, 2000, 300, "001")}));
    FrmMain& f = step(1);
    ASSERT_EQ(f.activeControl(), &f.Text1);
    d.key(f, core::KeyReturn);
    EXPECT_EQ(s().CurrentStep, 1);
    // A click on the window outside the box leaves the focus in the box too.
    d.click(f, 9000, 6000);
    d.key(f, core::KeyReturn);
    EXPECT_EQ(s().CurrentStep, 1);
}
