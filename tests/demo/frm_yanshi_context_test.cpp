// The demonstration's drawn context menu and its cascade: which block and
// row a step names, the layout, the edges, the frames and the flights.
#include "demo_fixture.h"

#include <functional>

#include "context_menu/context_menu_file.h"

using namespace demotest;

namespace {

using Lines = std::array<QString, 15>;

demo::DemoMembers& mem() { return demo::demoMembers(); }
QRectF rect(const Control& c) { return QRectF(c.left(), c.top(), c.width(), c.height()); }
int32_t centreX(const Control& c) { return int32_t(roundHalfEven(c.left() + c.width() / 2)); }
int32_t centreY(const Control& c) { return int32_t(roundHalfEven(c.top() + c.height() / 2)); }

class DemoContextTest : public DemoTest {
protected:
    // Every block: group 1 "SvMma|SvMmb|SvMmc", every other row absent;
    // `edit` changes blocks (set 1-4, menu 1-9, lines 1-15).
    void menuFile(const std::function<void(int set, int menu, Lines&)>& edit = {}) {
        QStringList out;
        for (int v = 1; v <= 4; ++v)
            for (int m = 1; m <= 9; ++m) {
                Lines b;
                b.fill("0");
                b[0] = QString("T%1%2").arg(v).arg(m);
                const QString p = QString("S%1M%2").arg(v).arg(m);
                b[3] = p + "a|" + p + "b|" + p + "c";
                if (edit) edit(v, m, b);
                for (const QString& l : b) out << l;
            }
        ASSERT_TRUE(writeLines(config().programFile("sMenu.sys"), out));
    }
    // Block set 1, menu 1 only.
    void menu11(const std::function<void(Lines&)>& edit) {
        menuFile([&](int v, int m, Lines& b) {
            if (v == 1 && m == 1) edit(b);
        });
    }
    // A demonstration on the right-click step `code` (with `alt` at column
    // 86), its flight stopped and the pointer put at (px, py), then the
    // menu drawn as on the flight's arrival.
    FrmYanShi& menuAt(const QString& code, int px, int py, const QString& alt = QString()) {
        Rec r(code);
        r.target(px, py, 30, 30);
        if (!alt.isEmpty()) r.put(86, alt);
        script({r, endRecord()});
        FrmYanShi& y = start();
        y.Timer2.setEnabled(false);
        mem().flight.pointerX = px;
        mem().flight.pointerY = py;
        y.RightKeyMenu();
        return y;
    }
    // Plays until the drawn menu's flight runs (the right click arrived).
    FrmYanShi& playToMenu(const QString& code, const QString& alt = QString()) {
        Rec r(code);
        r.target(3000, 2000, 600, 300);
        if (!alt.isEmpty()) r.put(86, alt);
        script({r, Rec().target(9000, 7000, 600, 300), endRecord()});
        FrmYanShi& y = start();
        while (!y.TimerRM.enabled() && running() && step() == 1) d.advance(10);
        return y;
    }
};

} // namespace

TEST_F(DemoContextTest, CodeNamesSetMenuRowAndEntry) {
    menuFile([](int v, int m, Lines& b) {
        if (v == 4 && m == 1) b[14] = "g4a|g4b|g4c|g4d";
    });
    struct Case {
        const char* code;
        const char* alt;
        int16_t stepCode, menuNo;
        const char* row;  // the array of the target
        int entry;
        const char* text;
    };
    for (const Case& c : {Case{"3521", "R5432", 5432, 4, "LRM2", 1, "S1M4b"},  // "3" wins over set 3
                          Case{"5593", "RA123", 6123, 1, "LRM9", 3, "g4d"},    // set 4 from RA, row 9 from 5593
                          Case{"4321", "", 4321, 3, "LRM2", 1, "S2M3b"},
                          Case{"5322", "R4222", 4222, 2, "LRM2", 2, "S2M2c"}}) {
        SCOPED_TRACE(c.code);
        FrmYanShi& y = playToMenu(c.code, c.alt);
        ASSERT_TRUE(y.TimerRM.enabled());
        EXPECT_FALSE(y.Timer2.enabled());
        EXPECT_EQ(mem().StepCode, c.stepCode);
        EXPECT_EQ(mem().ContextMenuNo, c.menuNo);
        const Control& target = y.array(c.row)[c.entry];
        EXPECT_EQ(target.caption(), c.text);
        EXPECT_TRUE(target.visible());
        EXPECT_EQ(mem().flight.targetX, centreX(target));
        EXPECT_EQ(mem().flight.targetY, centreY(target));
        EXPECT_EQ(y.LRightMMenu.left(), mem().flight.pointerX) << "drawn at the right-click point";
        // The click on the entry: the ring at the pointer, the next step.
        while (step() == 1 && running()) d.advance(10);
        EXPECT_EQ(step(), 2);
        EXPECT_FALSE(y.TimerRM.enabled());
        EXPECT_EQ(y.Shape5.left(), mem().flight.pointerX - 180);
        EXPECT_LE(std::abs(mem().flight.pointerY - centreY(target)), 120);
        EXPECT_FALSE(y.LRightMMenu.visible()) << "the next step starts without the menu";
        EXPECT_EQ(target.caption(), "");
        y.unload();
    }
}

TEST_F(DemoContextTest, RowsSeparatorsAndWidths) {
    menu11([](Lines& b) {
        b[1] = QString::fromUtf8("很长的级联标题很长的级联标题");  // cascade 1: wider than every entry
        b[2] = "p|q";
        b[3] = QString::fromUtf8("甲|-|乙乙乙");  // group 1
        b[14] = QString::fromUtf8("丙");          // group 4
    });
    FrmYanShi& y = menuAt("3122", 1000, 1000);
    EXPECT_EQ(y.LRMJL[1].top(), 1090);
    EXPECT_EQ(y.LRMJL[1].left(), 1300);
    EXPECT_TRUE(y.ImgJLSanjiao[1].visible());
    EXPECT_EQ(y.ImgJLSanjiao[1].top(), 1120);
    EXPECT_EQ(y.LRM2[0].top(), 1360);
    EXPECT_FALSE(y.LRM2[1].visible()) << "the separator's entry number has no label";
    EXPECT_TRUE(y.LRFGX[0].visible());
    EXPECT_EQ(y.LRFGX[0].y1(), 1630);
    EXPECT_EQ(y.LRFGX[0].y2(), 1630);
    EXPECT_FALSE(y.LRFGX[1].visible());
    EXPECT_EQ(y.LRM2[2].top(), 1765);
    EXPECT_EQ(y.LRM9[0].top(), 2035) << "absent rows take no room";
    for (int r : {3, 5, 7, 8}) EXPECT_FALSE(y.LRMJL[r].visible()) << r;
    EXPECT_FALSE(y.LRM4[0].visible());

    const double widest = std::max({y.LRM2[0].width(), y.LRM2[2].width(), y.LRM9[0].width()});
    EXPECT_GT(y.LRMJL[1].width(), widest);
    const double w = roundHalfEven(widest) + 690;
    EXPECT_EQ(rect(y.LRightMMenu), QRectF(1000, 1000, w, 2305 - 1000));
    EXPECT_EQ(rect(y.ShapeRMain), rect(y.LRightMMenu));
    EXPECT_TRUE(y.ShapeRMain.visible());
    EXPECT_EQ(y.ImgJLSanjiao[1].left(), 1000 + w - 180);
    EXPECT_EQ(y.LRFGX[0].x1(), 1060);
    EXPECT_EQ(y.LRFGX[0].x2(), 1060 + w - 120);

    // Entry 2 of row 2: the third item; the band across the menu.
    EXPECT_EQ(mem().flight.targetX, centreX(y.LRM2[2]));
    EXPECT_EQ(mem().flight.targetY, centreY(y.LRM2[2]));
    EXPECT_EQ(rect(y.Shape1), QRectF(1000, mem().flight.targetY - 135, w, 270));
    EXPECT_TRUE(y.TimerRM.enabled());
}

TEST_F(DemoContextTest, GroupLinesCutAtTenItemsAndCascadeRowsOnly) {
    menu11([](Lines& b) { b[3] = "a|b|c|d|e|f|g|h|i|j|k"; });
    FrmYanShi& y = menuAt("3129", 1000, 1000);
    EXPECT_EQ(y.LRM2[9].caption(), "j");
    EXPECT_EQ(y.LRightMMenu.height(), 90 + 10 * 270);
    y.unload();

    // Eleven separators: ten lines, eleven gaps.
    menu11([](Lines& b) { b[3] = "-|-|-|-|-|-|-|-|-|-|-"; });
    FrmYanShi& z = menuAt("3120", 1000, 1000);
    for (int k = 0; k <= 9; ++k) EXPECT_TRUE(z.LRFGX[k].visible()) << k;
    EXPECT_EQ(z.LRightMMenu.height(), 90 + 10 * 135);
    z.unload();

    // Only cascade rows: no entry sets the width.
    menu11([](Lines& b) {
        b[3] = "0";
        b[4] = "CAPTION";
        b[5] = "x";
    });
    FrmYanShi& c = menuAt("3131", 1000, 1000);
    EXPECT_EQ(c.LRightMMenu.width(), 690);
    EXPECT_EQ(c.LRightMMenu.height(), 90 + 270);
}

TEST_F(DemoContextTest, MissingFileDrawsEveryRowEmpty) {
    FrmYanShi& y = menuAt("3121", 1000, 1000);
    for (int r : {1, 3, 5, 7, 8}) EXPECT_TRUE(y.LRMJL[r].visible()) << r;
    for (const char* a : {"LRM2", "LRM4", "LRM6", "LRM9"}) {
        EXPECT_TRUE(y.array(a)[0].visible()) << a;
        EXPECT_EQ(y.array(a)[0].caption(), "");
    }
    EXPECT_EQ(y.LRightMMenu.height(), 90 + 9 * 270);
    EXPECT_EQ(y.LRightMMenu.width(), 690);
}

TEST_F(DemoContextTest, KeptInsideTheWindowAtTheRightAndBottomEdges) {
    menuFile();
    FrmYanShi& probe = menuAt("3121", 1000, 1000);
    const double w = probe.LRightMMenu.width(), h = probe.LRightMMenu.height();
    ASSERT_EQ(h, 90 + 3 * 270);
    probe.unload();

    struct Case {
        int px, py;
        double left, top;
    };
    const int atRight = int(12000 - 2 * w), atBottom = int(9000 - 300 - h);
    for (const Case& c : {Case{atRight - 1, 1000, atRight - 1.0, 1000}, Case{atRight, 1000, atRight - w, 1000},
                          Case{1000, atBottom - 1, 1000, atBottom - 1.0}, Case{1000, atBottom, 1000, 9000 - 600 - h},
                          Case{atRight, 8800, atRight - w, 9000 - 600 - h}}) {
        SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
        FrmYanShi& y = menuAt("3121", c.px, c.py);
        EXPECT_EQ(y.LRightMMenu.left(), c.left);
        EXPECT_EQ(y.LRightMMenu.top(), c.top);
        EXPECT_EQ(rect(y.ShapeRMain), rect(y.LRightMMenu));
        // Every part moves with the body.
        EXPECT_EQ(y.LRM2[1].left(), c.left + 300);
        EXPECT_EQ(y.LRM2[1].top(), c.top + 90 + 270);
        EXPECT_EQ(mem().flight.targetY, centreY(y.LRM2[1]));
        EXPECT_EQ(y.Shape1.left(), c.left);
        y.unload();
    }
}

TEST_F(DemoContextTest, CascadeBesideTheCaptionRowWithSeparatorsAndTrailingEntries) {
    struct Case {
        const char* entries;
        const char* code;
        int texts, separators;
        int target;  // LRS element
    };
    for (const Case& c : {Case{"A|-|B", "3172", 2, 1, 2}, Case{"a|b|", "3172", 3, 0, 2}, Case{"one", "3170", 1, 0, 0},
                          Case{"a|b|c|d|e|f|g|h|i|j|k", "3179", 10, 0, 9}}) {
        SCOPED_TRACE(c.entries);
        menu11([&](Lines& b) {
            b[10] = QString::fromUtf8("同义词(Y)");  // cascade 4, row 7
            b[11] = c.entries;
        });
        FrmYanShi& y = menuAt(c.code, 1000, 1000);
        y.TimerRM.setEnabled(false);
        const double T = y.LRMJL[7].top();
        y.RightKeySub();
        const Control& body = y.LRightSub;
        EXPECT_TRUE(body.visible());
        EXPECT_EQ(body.left(), y.LRightMMenu.left() + y.LRightMMenu.width() - 60);
        EXPECT_EQ(body.top(), T);
        EXPECT_EQ(body.height(), 135 + 270 * c.texts + 135 * c.separators);
        double widest = 0;
        for (int j = 0; j <= 9; ++j)
            if (y.LRS[j].visible()) widest = std::max(widest, y.LRS[j].width());
        EXPECT_EQ(body.width(), roundHalfEven(widest) + 690);
        EXPECT_EQ(rect(y.ShapeRSUB), rect(body));
        const Control& t = y.LRS[c.target];
        EXPECT_TRUE(t.visible());
        EXPECT_EQ(t.left(), body.left() + 300);
        EXPECT_EQ(mem().flight.targetX, centreX(t));
        EXPECT_EQ(mem().flight.targetY, centreY(t));
        EXPECT_EQ(rect(y.Shape1), QRectF(body.left(), t.top() - 60, body.width(), 285));
        EXPECT_TRUE(y.TimerRS.enabled());
        if (c.separators) {
            EXPECT_EQ(y.LRS[0].top(), T + 135);
            EXPECT_FALSE(y.LRS[1].visible());
            EXPECT_EQ(y.LRSFgx[0].y1(), T + 405);
            EXPECT_EQ(y.LRSFgx[0].x1(), body.left() + 60);
            EXPECT_EQ(y.LRSFgx[0].x2(), body.left() + 60 + body.width() - 120);
            EXPECT_EQ(y.LRS[2].top(), T + 540);
            EXPECT_EQ(y.LRS[2].caption(), "B");
        }
        if (c.texts == 3) {
            EXPECT_EQ(y.LRS[2].caption(), "");
        }
        if (c.texts == 10) {
            EXPECT_EQ(y.LRS[9].caption(), "j");
        }
        y.unload();
    }
}

TEST_F(DemoContextTest, CascadeIsNeverMovedInsideTheWindow) {
    menu11([](Lines& b) {
        b[3] = "0";
        b[10] = "C";  // cascade 4 only: the menu is 690 wide and 360 high
        b[11] = QString::fromUtf8("很宽的一个条目很宽的一个条目|二|三|四|五|六|七|八");
    });
    // The menu stays where it was drawn; the cascade runs past both edges.
    FrmYanShi& y = menuAt("3171", 12000 - 2 * 690 - 1, 9000 - 300 - 360 - 1);
    ASSERT_EQ(y.LRightMMenu.left(), 12000 - 2 * 690 - 1);
    y.TimerRM.setEnabled(false);
    y.RightKeySub();
    EXPECT_EQ(y.LRightSub.left(), y.LRightMMenu.left() + 690 - 60);
    EXPECT_EQ(y.LRightSub.top(), y.LRMJL[7].top());
    EXPECT_GT(y.LRightSub.left() + y.LRightSub.width(), 12000);
    EXPECT_GT(y.LRightSub.top() + y.LRightSub.height(), 9000);
}

TEST_F(DemoContextTest, FramesAtAScaleOfOnePointTwoFive) {
    config().ScaleX = config().ScaleY = 1.25;
    menu11([](Lines& b) {
        b[10] = "C";
        b[11] = "x|y";
    });
    FrmYanShi& y = menuAt("3121", 1000, 1000);
    // The menu's lengths are plain twips; the band is scaled.
    EXPECT_EQ(y.LRM2[1].top(), 1000 + 90 + 270);
    EXPECT_EQ(y.Shape1.height(), 270 * 1.25);
    EXPECT_EQ(y.Shape1.top(), mem().flight.targetY - 135 * 1.25);
    y.unload();

    FrmYanShi& z = menuAt("3171", 1000, 1000);
    z.TimerRM.setEnabled(false);
    z.RightKeySub();
    EXPECT_EQ(z.Shape1.height(), 285);
    EXPECT_EQ(z.Shape1.top(), z.LRS[1].top() - 60);
}

TEST_F(DemoContextTest, CascadeStepPlaysThroughBothFlights) {
    menu11([](Lines& b) {
        b[10] = QString::fromUtf8("同义词(Y)");
        b[11] = QString::fromUtf8("(无建议)|-|同义词库(T)...|阅读");
    });
    for (int speed : {1, 2}) {
        SCOPED_TRACE(speed);
        script({Rec("3173").target(3000, 2000, 600, 300), Rec().target(9000, 7000, 600, 300), endRecord()});
        FrmYanShi& y = start(speed);
        while (!y.TimerRM.enabled() && running()) d.advance(10);
        ASSERT_TRUE(y.TimerRM.enabled());
        EXPECT_EQ(y.Shape5.borderColor(), 65535u) << "a right click's ring is yellow";
        const double ringX = y.Shape5.left();
        EXPECT_EQ(mem().flight.targetX, centreX(y.LRMJL[7]));
        int64_t t = 0;
        while (!y.TimerRS.enabled() && running()) {
            d.advance(10);
            t += 10;
        }
        ASSERT_TRUE(y.TimerRS.enabled());
        EXPECT_EQ(t % (100 * speed), 0);
        EXPECT_FALSE(y.TimerRM.enabled());
        EXPECT_EQ(y.Shape5.left(), ringX) << "no ring on the caption row";
        EXPECT_TRUE(y.LRightMMenu.visible()) << "the menu stays open beside the cascade";
        EXPECT_EQ(y.LRS[3].caption(), QString::fromUtf8("阅读"));
        while (step() == 1 && running()) d.advance(10);
        EXPECT_EQ(step(), 2);
        EXPECT_FALSE(y.TimerRS.enabled());
        EXPECT_EQ(y.Shape5.left(), mem().flight.pointerX - 180);
        EXPECT_FALSE(y.LRightSub.visible());
        EXPECT_EQ(y.LRS[3].caption(), "");
        EXPECT_LT(runToEnd(), 10000 * speed);
    }
}

TEST_F(DemoContextTest, NothingWhileNoDemonstrationRuns) {
    menuFile();
    FrmYanShi& y = menuAt("3121", 1000, 1000);
    ASSERT_TRUE(y.LRightMMenu.visible());
    session().DemoRunning = false;
    const double px = mem().flight.pointerX;
    y.CSH();
    EXPECT_TRUE(y.LRightMMenu.visible()) << "CSH leaves everything outside a demonstration";
    EXPECT_EQ(y.LRM2[1].caption(), "S1M1b");
    d.advance(500);
    EXPECT_EQ(mem().flight.pointerX, px) << "the flight does not move";
    EXPECT_TRUE(y.TimerRM.enabled());
    y.LRightMMenu.setVisible(false);
    y.RightKeyMenu();
    EXPECT_FALSE(y.LRightMMenu.visible());
    y.RightKeySub();
    EXPECT_FALSE(y.LRightSub.visible());
}

TEST_F(DemoContextTest, ClearingHidesAndEmptiesButKeepsPlaces) {
    menu11([](Lines& b) {
        b[3] = "a|-|b";
        b[10] = "C";
        b[11] = "x|-|y";
    });
    FrmYanShi& y = menuAt("3172", 1000, 1000);
    y.TimerRM.setEnabled(false);
    y.RightKeySub();
    const QRectF entry = rect(y.LRM2[2]), sub = rect(y.LRightSub);
    const double sepY = y.LRSFgx[0].y1();
    for (int pass = 0; pass < 2; ++pass) {
        y.CSH();
        for (Control* c : {&y.LRightMMenu, &y.ShapeRMain, &y.LRightSub, &y.ShapeRSUB, &y.LRM2[2], &y.LRMJL[7],
                           &y.ImgJLSanjiao[7], &y.LRFGX[0], &y.LRS[2], &y.LRSFgx[0]})
            EXPECT_FALSE(c->visible()) << c->name().toStdString() << c->index();
        EXPECT_EQ(y.LRM2[2].caption(), "");
        EXPECT_EQ(y.LRMJL[7].caption(), "");
        EXPECT_EQ(y.LRS[2].caption(), "");
        EXPECT_EQ(rect(y.LRightSub), sub);
        EXPECT_EQ(y.LRSFgx[0].y1(), sepY);
        EXPECT_EQ(y.LRM2[2].left(), entry.left());
        EXPECT_EQ(y.LRM2[2].top(), entry.top());
    }
}

TEST_F(DemoContextTest, StepsNamingNoDrawnRowStillEnd) {
    // Row 0, an absent cascade, an entry past the group's items, a separator,
    // and no context-menu file at all: the pointer flies somewhere and the
    // step ends.
    for (const char* code : {"3101", "3131", "3128", "3123", "5999"}) {
        SCOPED_TRACE(code);
        if (QString(code) == "5999")
            QFile::remove(config().programFile("sMenu.sys"));
        else
            menu11([](Lines& b) { b[3] = "a|b|c|-"; });
        script({Rec(code).target(3000, 2000, 600, 300), Rec().target(9000, 7000, 600, 300), endRecord()});
        FrmYanShi& y = start();
        int64_t t = 0;
        while (step() == 1 && running() && t < 20000) {
            d.advance(100);
            t += 100;
        }
        EXPECT_EQ(step(), 2);
        y.unload();
    }
}

TEST_F(DemoContextTest, AnAmpersandIsNotShownAndTakesNoWidth) {
    // "剪切(&T)" shows "剪切(T)" with the T underlined.
    struct Case {
        const char* withMnemonic;
        const char* shown;
    };
    for (const Case& c : {Case{"剪切(&T)", "剪切(T)"}, Case{"&Paste", "Paste"}}) {
        SCOPED_TRACE(c.withMnemonic);
        double width[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const QString entry = QString::fromUtf8(k == 0 ? c.withMnemonic : c.shown);
            menu11([&](Lines& b) { b[3] = entry; });
            FrmYanShi& y = menuAt("3120", 1000, 1000);
            width[k] = y.LRM2[0].width();
            EXPECT_EQ(y.LRightMMenu.width(), roundHalfEven(width[k]) + 690);
            y.unload();
        }
        EXPECT_EQ(width[0], width[1]);
    }
}
