#include <gtest/gtest.h>

#include <cmath>

#include "demo/flight.h"
#include "demo/step_rules.h"

using demo::ArrivalCase;
using demo::Flight;
using demo::TargetKind;

namespace {

// Flies from p to t; returns the tick of arrival (0 when none within 100).
int fly(Flight& f, double scale = 1) {
    demo::FlightSetup(f);
    for (int tick = 1; tick <= 100; ++tick) {
        demo::FlightMove(f);
        if (demo::ArrivalTest(f, scale)) return tick;
    }
    return 0;
}

Flight from(int px, int py, int tx, int ty) {
    Flight f;
    f.pointerX = px;
    f.pointerY = py;
    f.targetX = tx;
    f.targetY = ty;
    return f;
}

} // namespace

TEST(FlightTest, WorkedCases) {
    struct Case {
        int px, py, tx, ty;
        double len;
        int dx, dy, tick, ax, ay;
    };
    const Case cases[] = {
        {7680, 5760, 1000, 5760, 445.33, -445, 0, 14, 1450, 5760},
        {7680, 5760, 4680, 2760, 282.84, -283, -283, 10, 4850, 2930},  // a diagonal counts as vertical
        {7680, 5760, 100, 100, 630.67, -631, -471, 11, 739, 579},
        {7680, 5760, 7780, 5760, 6.67, 7, 0, 1, 7687, 5760},            // closer than 120
        {1000, 1000, 2500, 700, 101.98, 102, -20, 14, 2428, 720},
        {1000, 1000, 1300, 1100, 21.08, 21, 7, 9, 1189, 1063},     // a cascade entry: within 120 at tick 9
    };
    for (const Case& c : cases) {
        Flight f = from(c.px, c.py, c.tx, c.ty);
        demo::FlightSetup(f);
        EXPECT_NEAR(f.stepLen, c.len, 0.01) << c.tx;
        EXPECT_EQ(f.stepDX, c.dx) << c.tx;
        EXPECT_EQ(f.stepDY, c.dy) << c.tx;
        Flight g = from(c.px, c.py, c.tx, c.ty);
        EXPECT_EQ(fly(g), c.tick) << c.tx;
        EXPECT_EQ(g.pointerX, c.ax) << c.tx;
        EXPECT_EQ(g.pointerY, c.ay) << c.tx;
    }
}

TEST(FlightTest, StraightDownAndZeroLength) {
    Flight f = from(3000, 1000, 3000, 4000);
    demo::FlightSetup(f);
    EXPECT_EQ(f.stepDX, 0);
    EXPECT_EQ(f.stepDY, 200);

    // A flight of length 0 arrives at once, whatever the previous steps.
    Flight z = from(3000, 1000, 3000, 1000);
    z.stepDX = 445;
    z.stepDY = -12;
    EXPECT_EQ(fly(z), 1);
    EXPECT_EQ(z.pointerX, 3000);
    EXPECT_EQ(z.pointerY, 1000);
}

TEST(FlightTest, AtScaleOnePointTwoFive) {
    // 120 x 1.25 = 150 twips is the distance floor.
    Flight f = from(9600, 7200, 1250, 7200);
    EXPECT_EQ(fly(f, 1.25), 14);
    EXPECT_EQ(f.pointerX, 9600 - 557 * 14);
    Flight g = from(9600, 7200, 9740, 7200);
    EXPECT_EQ(fly(g, 1.25), 1);
    Flight h = from(9600, 7200, 9760, 7200);
    EXPECT_GT(fly(h, 1.0), 1) << "160 twips is beyond the floor at scale 1";
}

TEST(FlightTest, EveryFlightArrivesWithinFourteenTicks) {
    const int starts[][2] = {{0, 0}, {7680, 5760}, {-500, -500}, {17000, 13000}, {123, 9876}};
    for (double scale : {0.8, 1.0, 1.25, 1.5}) {
        for (const auto& s : starts) {
            for (int tx = -600; tx <= 18000; tx += 173) {
                for (int ty = -600; ty <= 14000; ty += 191) {
                    Flight f = from(s[0], s[1], tx, ty);
                    const int tick = fly(f, scale);
                    ASSERT_GE(tick, 1) << s[0] << "," << s[1] << " -> " << tx << "," << ty << " at " << scale;
                    ASSERT_LE(tick, 14) << s[0] << "," << s[1] << " -> " << tx << "," << ty << " at " << scale;
                }
            }
        }
    }
}

TEST(StepRulesTest, TargetByActionCode) {
    struct Case {
        const char* code;
        const char* dialog;
        TargetKind kind;
    };
    const Case cases[] = {
        {"0001", "00000", TargetKind::Target},      {"0002", "00000", TargetKind::Target},
        {"0003", "00000", TargetKind::Target},      {"0004", "00000", TargetKind::Target},
        {"0030", "00000", TargetKind::Target},      {"3521", "00000", TargetKind::Target},
        {"4101", "00000", TargetKind::Target},      {"5432", "00000", TargetKind::Target},
        {"9101", "00000", TargetKind::Target},      {"0041", "00000", TargetKind::Source},
        {"0050", "00000", TargetKind::Source},      {"0020", "00000", TargetKind::TextBox},
        {"0028", "00000", TargetKind::TextBox},     {"8003", "00000", TargetKind::Image5},
        {"7000", "00000", TargetKind::MenuHotSpot}, {"6013", "00000", TargetKind::KeyHold},
        {"8888", "00000", TargetKind::WaitHold},    {"L012", "00000", TargetKind::List},
        {"K305", "00000", TargetKind::LookIn},      {"0010", "00000", TargetKind::Previous},
        {"A123", "00000", TargetKind::Previous},    {"0001", "XA135", TargetKind::Tab},
        {"7000", "XA134", TargetKind::Tab},         {"0001", "XA335", TargetKind::Target},
        {"0020", "YA135", TargetKind::TextBox},
    };
    for (const Case& c : cases)
        EXPECT_EQ(demo::targetKind(c.code, c.dialog), c.kind) << c.code << " " << c.dialog;
}

TEST(StepRulesTest, ArrivalCasesInTheirOrder) {
    struct Case {
        const char* code;
        const char* dialog;
        bool secondLeg;
        ArrivalCase what;
    };
    const Case cases[] = {
        {"0001", "XA135", false, ArrivalCase::TabReached}, {"7000", "XA135", true, ArrivalCase::Advance},
        {"0001", "00000", false, ArrivalCase::Advance},    {"0030", "00000", false, ArrivalCase::Advance},
        {"L012", "00000", false, ArrivalCase::Advance},    {"0041", "00000", true, ArrivalCase::Advance},
        {"0041", "00000", false, ArrivalCase::DragSource}, {"0052", "00000", false, ArrivalCase::DragSource},
        {"K312", "00000", false, ArrivalCase::LookInOpen}, {"9000", "00000", false, ArrivalCase::ClickShift},
        {"9998", "00000", false, ArrivalCase::ClickShift}, {"3521", "00000", false, ArrivalCase::ContextMenu},
        {"0022", "00000", false, ArrivalCase::Typing},     {"8001", "00000", false, ArrivalCase::Drop},
        {"9999", "00000", false, ArrivalCase::End},        {"7000", "00000", false, ArrivalCase::Menu},
        {"0010", "00000", false, ArrivalCase::NoCase},     {"6013", "00000", false, ArrivalCase::NoCase},
    };
    for (const Case& c : cases)
        EXPECT_EQ(demo::arrivalCase(c.code, c.dialog, c.secondLeg), c.what) << c.code << " " << c.dialog;
}

TEST(StepRulesTest, RingColours) {
    EXPECT_EQ(demo::ringColour("0001"), 255u);
    EXPECT_EQ(demo::ringColour("0002"), 65280u);
    EXPECT_EQ(demo::ringColour("0003"), 65535u);
    EXPECT_EQ(demo::ringColour("3521"), 65535u);
    EXPECT_EQ(demo::ringColour("4101"), 65535u);
    EXPECT_EQ(demo::ringColour("5432"), 255u);
}

TEST(StepRulesTest, HintWording) {
    using demo::FrameRule;
    struct Case {
        const char* code;
        const char* caption;
        const char* wording;
        FrameRule frame;
    };
    const Case cases[] = {
        {"0020", "abc", "输入 abc", FrameRule::Hidden},
        {"0021", "a|b", "输入 a或  b", FrameRule::Hidden},
        {"0022", "a|b", "输入 a或  b 并按回车键或点红色方框处", FrameRule::FollowsHint},
        {"0023", "abc", "请选中 abc", FrameRule::Hidden},
        {"0024", "abc", "输入 abc 并按回车键", FrameRule::Hidden},
        {"0025", "a|b", "a或  b", FrameRule::Hidden},
        {"0026", "abc", "输入 abc 并点击红色方框处", FrameRule::FollowsHint},
        {"0027", "abc", "输入 abc", FrameRule::Hidden},
        {"0028", "abc", "在单元格或编辑栏中输入 abc 并按回车键或点编辑区或点“√”", FrameRule::FollowsHint},
        {"0001", "a|b", "a|b", FrameRule::Unchanged},
    };
    for (const Case& c : cases) {
        const demo::HintWording w = demo::hintWording(c.code, QString::fromUtf8(c.caption));
        EXPECT_EQ(w.caption, QString::fromUtf8(c.wording)) << c.code;
        EXPECT_EQ(w.frame, c.frame) << c.code;
    }
}

TEST(StepRulesTest, BranchTargets) {
    EXPECT_EQ(demo::branchTarget("0"), 0);
    EXPECT_EQ(demo::branchTarget("7"), 7);
    EXPECT_EQ(demo::branchTarget("B"), 11);
    EXPECT_EQ(demo::branchTarget("Z"), 35);
    EXPECT_EQ(demo::branchTarget("b"), 9);
    EXPECT_EQ(demo::branchTarget("#"), 9);
}
