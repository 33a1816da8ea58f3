// The demonstration of every question of every unit of the sample module,
// at both speeds: started from the question window's button, played on the
// test clock to the question's end record, and handed back to the practice
// window with the question's progress, flags and records as they were. On
// the way, every flight to a menu row is checked where it goes and ends.
#include <gtest/gtest.h>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "demo/flight.h"
#include "demo/frm_yanshi.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "e2e/module_fixture.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/driver.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

struct Case {
    int unit = -1;
    int question = 0;
    int speed = 1;
};

using e2e::unitCounts;

std::vector<Case> demoCases() {
    std::vector<Case> out;
    const std::vector<int> counts = unitCounts(e2e::sampleDir());
    for (int u = 0; u < int(counts.size()); ++u)
        for (int q = 1; q <= counts[u]; ++q)
            for (int speed : {1, 2}) out.push_back({u, q, speed});
    if (out.empty()) out.push_back({});
    return out;
}

QRectF rectOf(const core::Control& c) { return QRectF(c.left(), c.top(), c.width(), c.height()); }

// The flights of menu steps to their drop-down and submenu rows, seen from
// outside: at the start the frame and the target lie on the row the step
// names, inside its open drop-down or submenu; at the end the pointer has
// reached that row, the ring is at the pointer, and a drop-down row shows
// its highlight.
class RowFlights {
public:
    // One look at the window; called often enough to see every flight.
    void look(demo::FrmYanShi& y) {
        const demo::DemoMembers& m = demo::demoMembers();
        watch(y, y.Timer6, y.Pic1J, y.Lbl1J, m.OpenItem, drop_, true);
        watch(y, y.Timer7, y.Pic2J, y.Lbl2J, m.OpenSubItem, sub_, false);
        // Each menu step names the rows it flies to in its menu path.
        if (m.DemoStep != step_) {
            step_ = m.DemoStep;
            const engine::StepRecord r(core::session().StepLine);
            if (r.actionCode() == u"7000") {
                const QString slot1 = r.actionSlot1();
                const QString path = slot1.startsWith(u'H') ? slot1 : r.actionSlot2();
                if (!path.startsWith(u'H')) return;
                if (core::val16(core::mid(path, 4, 2)) != 0) ++named_;
                if (core::val16(core::mid(path, 6, 2)) != 0) ++named_;
            }
        }
    }
    int reached() const { return reached_; }
    int named() const { return named_; }

private:
    struct Watch {
        bool flying = false;
        QRectF row;
        double stepLen = 0;
    };
    void watch(demo::FrmYanShi& y, const core::Timer& t, const core::Control& box, const core::ControlArray& rows,
               int index, Watch& w, bool dropDown) {
        const demo::Flight& f = demo::demoMembers().flight;
        if (t.enabled() && !w.flying) {
            ASSERT_TRUE(index >= 1 && rows.exists(index)) << "a flight to row " << index;
            w = Watch{true, rectOf(rows[index]), f.stepLen};
            EXPECT_TRUE(box.visible() && !box.picture().isNull()) << "row " << index << " over no picture";
            EXPECT_TRUE(rectOf(box).contains(w.row)) << "row " << index << " outside its menu";
            EXPECT_EQ(rectOf(y.Shape1), w.row) << "the frame is not on row " << index;
            EXPECT_EQ(QPoint(f.targetX, f.targetY),
                      QPoint(int(std::lrint(w.row.center().x())), int(std::lrint(w.row.center().y()))));
        } else if (!t.enabled() && w.flying) {
            w.flying = false;
            ++reached_;
            const QPointF at(f.pointerX, f.pointerY);
            const QPointF miss = at - w.row.center();
            EXPECT_LE(std::hypot(miss.x(), miss.y()), std::max(1.7 * w.stepLen, 120.0)) << "the pointer stopped short";
            EXPECT_EQ(QPointF(y.Shape5.left() + 180, y.Shape5.top() + 180), at) << "the ring is not at the pointer";
            if (dropDown) {
                EXPECT_EQ(y.Img1J.left(), w.row.left());
                EXPECT_EQ(y.Img1J.top(), w.row.top());
                EXPECT_FALSE(y.Img1J.picture().isNull()) << "the row has no highlight";
            }
        }
    }
    Watch drop_, sub_;
    int16_t step_ = 0;
    int reached_ = 0, named_ = 0;
};

class DemoE2E : public e2e::QuestionFixture<Case> {};

TEST_P(DemoE2E, DemonstrationPlaysToItsEndAndHandsBack) {
    const Case c = GetParam();
    testsupport::Driver& d = driver();
    core::SessionState& s = core::session();

    ASSERT_TRUE(openQuestion(c.unit, c.question, 600));
    session::FrmTm& tm = session::frmTm()();
    engine::FrmMain& f = engine::frmMain()();
    ASSERT_TRUE(f.visible());
    ASSERT_TRUE(tm.CmdGN(7).shown()) << "no demonstration button";
    d.click(tm.CmdGN(3));  // flagged before the demonstration

    const auto state = s.QuestionState;
    const auto steps = s.QuestionStep;
    const auto pictures = s.QuestionPictures;
    const int16_t currentStep = s.CurrentStep;
    const auto recordsBefore = records();

    d.click(tm.CmdGN(7), c.speed == 2 ? core::RightButton : core::LeftButton);
    d.advance(100);
    EXPECT_FALSE(demo::frmYanShi().loaded()) << "the demonstration shows at the start timer's second tick";
    d.advance(100);
    ASSERT_TRUE(demo::frmYanShi().loaded());
    demo::FrmYanShi& y = demo::frmYanShi()();
    EXPECT_TRUE(y.visible());
    EXPECT_FALSE(f.visible());
    EXPECT_FALSE(tm.visible());
    EXPECT_EQ(y.Timer1.interval(), 500 * c.speed);
    EXPECT_EQ(s.RunMode, core::RunGuided);

    // Played on the clock until the window closes; the flights to menu rows
    // are watched on the way.
    RowFlights rows;
    int64_t played = 0;
    while (demo::frmYanShi().loaded() && played < 15 * 60 * 1000) {
        rows.look(y);
        if (HasFatalFailure()) return;
        d.advance(50);
        played += 50;
    }
    ASSERT_FALSE(demo::frmYanShi().loaded()) << "the demonstration did not end";
    EXPECT_EQ(rows.reached(), rows.named()) << "menu rows named and reached";
    EXPECT_EQ(engine::StepRecord(s.StepLine).actionCode(), "9999") << "ended before the end record";
    EXPECT_FALSE(s.DemoRunning);
    EXPECT_TRUE(f.visible());
    EXPECT_TRUE(tm.visible());

    d.advance(300);  // the question reloads
    EXPECT_EQ(s.RunMode, core::RunPractice);
    EXPECT_EQ(s.QuestionState, state);
    EXPECT_EQ(s.QuestionStep, steps);
    EXPECT_EQ(s.QuestionPictures, pictures);
    EXPECT_EQ(s.CurrentStep, currentStep);
    EXPECT_EQ(records(), recordsBefore);
    EXPECT_FALSE(f.LblSuccess.shown());
    EXPECT_NE(engine::StepRecord(s.StepLine).actionCode(), "9999") << "the practice is back at its own step";
    EXPECT_TRUE(d.ui.unexpected.empty());
}

INSTANTIATE_TEST_SUITE_P(Sample, DemoE2E, ::testing::ValuesIn(demoCases()),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             if (i.param.unit < 0) return std::string("NoModule");
                             return "Unit" + std::to_string(i.param.unit) + "Question" +
                                    (i.param.question < 10 ? "0" : "") + std::to_string(i.param.question) + "Speed" +
                                    std::to_string(i.param.speed);
                         });

} // namespace

namespace {

class DemoPointerE2E : public e2e::ModuleFixture {};

// The drawn pointer: its black outline lies over its white fill, so the
// arrow keeps its edges on a white page.
TEST_F(DemoPointerE2E, OutlineIsDrawnOverTheFill) {
    nothingSolved();
    ASSERT_TRUE(openQuestion(0, 1, 600));
    testsupport::Driver& d = driver();
    d.click(session::frmTm()().CmdGN(7));
    d.advance(200);
    ASSERT_TRUE(demo::frmYanShi().loaded());
    demo::FrmYanShi& y = demo::frmYanShi()();
    d.advance(100);  // the first flight tick draws the pointer
    ASSERT_LT(y.LPoint[0].y1(), y.height());

    const QImage img = view::renderForm(y).convertToFormat(QImage::Format_RGB32);
    // A pixel of the line as drawn between its end pixels (the two lines
    // below are upright or slanted at 45 degrees: no rounding between).
    auto colourAt = [&](const core::Control& l, double t) {
        const QPoint a(view::pxX(l.x1()), view::pxY(l.y1())), b(view::pxX(l.x2()), view::pxY(l.y2()));
        const int n = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        const int k = int(std::lrint(t * n));
        return QColor(img.pixel(a + (b - a) * k / std::max(n, 1)));
    };
    // The two long edges, the left one and the slanted one, all along.
    for (int i : {0, 5})
        for (double t : {0.2, 0.35, 0.5, 0.65, 0.8})
            EXPECT_EQ(colourAt(y.LPoint[i], t), QColor(Qt::black)) << "outline " << i << " at " << t;
}

} // namespace
