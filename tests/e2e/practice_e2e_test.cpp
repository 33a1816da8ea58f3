// Every question of every unit of the sample module, practised as a
// candidate would: the unit is started from the cover's starter, and each
// step's expected action is performed on the practice window until the
// question reads answered. Steps of kinds the program cannot judge yet are
// reported as skipped, question by question.
#include <gtest/gtest.h>
#include <QSet>
#include <memory>
#include <vector>

#include "chrome/zones.h"
#include "context_menu/context_menu_file.h"
#include "core/errors.h"
#include "core/forms.h"
#include "core/keys.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "engine/text_table.h"
#include "e2e/module_fixture.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/driver.h"

namespace {

using engine::StepRecord;

struct Case {
    int unit = -1;      // counted from 0
    int question = 0;   // counted from 1
    bool keys = false;  // menu steps by their shortcut keys instead of clicks
};

using e2e::settingsOf;
using e2e::unitCounts;

// Step records of question q (1-based) of unit u of the bank.
QStringList questionSteps(const QString& programDir, int u, int q) {
    const QStringList settings = settingsOf(programDir);
    const QString data = programDir + "/" + settings.value(2) + "/";
    const QString slot = core::padDigits(20 + u, 2), list = core::padDigits(70 + u, 2);
    const QStringList questions = core::readLines(data + "2888" + list + ".rar").value_or(QStringList());
    const QStringList script = core::readLines(data + "2888" + slot + ".rar").value_or(QStringList());
    int first = 0;
    for (int i = 0; i + 1 < q && i < questions.size(); ++i) first += core::val16(core::mid(questions[i], 5, 2));
    const int n = q - 1 < questions.size() ? core::val16(core::mid(questions[q - 1], 5, 2)) : 0;
    return script.mid(first, n);
}

// Whether a question has a menu step that a shortcut key performs.
bool hasMenuShortcut(const QStringList& steps) {
    for (const QString& line : steps) {
        const StepRecord r(line);
        if (r.action() != engine::ActionMenuStep) continue;
        for (int n = 1; n <= 3; ++n)
            if (const auto path = r.menuPath(n); path && engine::menuShortcut(path->mmii)) return true;
    }
    return false;
}

std::vector<Case> sampleCases() {
    std::vector<Case> out;
    const std::vector<int> counts = unitCounts(e2e::sampleDir());
    for (int u = 0; u < int(counts.size()); ++u)
        for (int q = 1; q <= counts[u]; ++q) {
            out.push_back({u, q});
            if (hasMenuShortcut(questionSteps(e2e::sampleDir(), u, q))) out.push_back({u, q, true});
        }
    if (out.empty()) out.push_back({});  // reported as a failure: no module
    return out;
}

class PracticeE2E : public e2e::QuestionFixture<Case> {
protected:
    // Typed text and keys: the answer typed over the box's text and confirmed
    // as the step expects, a selection of the hint's text, the step's key,
    // its first key slot or its menu shortcut. False for other steps.
    bool performTypingOrKey(testsupport::Driver& d, const StepRecord& r) {
        engine::FrmMain& f = engine::frmMain()();
        auto press = [&](int keyCode, int shift) {
            EXPECT_NE(f.activeControl(), &f.Text1) << "a key step with the focus in the input box";
            d.key(f, keyCode, shift);
        };
        for (int n = 1; n <= 3; ++n) {
            if (const auto slot = r.keySlot(n)) {
                const int kk = slot->key();
                press(n != 2 && kk <= 20 ? kk + 100 : kk, slot->modifiers());
                return true;
            }
        }
        auto retype = [&](core::Control& box, const QString& text) {
            EXPECT_TRUE(box.shown()) << qPrintable(box.name()) << " is hidden";
            if (f.activeControl() != &box) d.click(box);
            box.setSelStart(0);
            box.setSelLength(int(box.text().size()));
            d.type(box, text);
        };
        auto clickTarget = [&] {
            const double x = testsupport::Driver::centreX(f.Label1), y = testsupport::Driver::centreY(f.Label1);
            EXPECT_TRUE(f.Label1.shown() && f.hitTest(x, y) == &f.Label1) << "the target does not take the mouse";
            d.click(f.Label1);
        };
        switch (r.action()) {
        case engine::ActionKey:
            press(r.codeKey() == 12 ? int(core::KeyF1) : int(r.codeKey()), r.codeModifiers());
            return true;
        case engine::ActionMenuStep:
            if (!GetParam().keys) return false;
            for (int n = 1; n <= 3; ++n) {
                const auto path = r.menuPath(n);
                if (const auto key = path ? engine::menuShortcut(path->mmii) : std::nullopt) {
                    press(key->keyCode, key->shift);
                    return true;
                }
            }
            return false;
        case engine::ActionTypeLive:
        case engine::ActionTypeLiveExact:
            retype(f.Text1, engine::AnswerText(r.answerLine()).first);
            return true;
        case engine::ActionTypeRename:
            retype(f.Text2, engine::AnswerText(r.answerLine()).whole);
            return true;
        case engine::ActionTypeOverlay:
            retype(f.Text3, engine::AnswerText(r.answerLine()).first);
            return true;
        case engine::ActionTypeEnter:
        case engine::ActionTypeCell:
            retype(f.Text1, engine::AnswerText(r.answerLine()).first);
            d.key(f, core::KeyReturn);
            return true;
        case engine::ActionTypeEnterOrBox:
        case engine::ActionTypeThenBox:
            retype(f.Text1, engine::AnswerText(r.answerLine()).first);
            clickTarget();
            return true;
        case engine::ActionSelectText: {
            // Drag over the hint's text in the box.
            const QString wanted = engine::TextTableLookup(r.hintLine());
            const int at = int(f.Text1.text().indexOf(wanted));
            EXPECT_GE(at, 0) << "the box does not hold the text to select";
            const double x = testsupport::Driver::centreX(f.Text1), y = testsupport::Driver::centreY(f.Text1);
            d.press(f, x, y);
            f.Text1.setSelStart(std::max(at, 0));
            f.Text1.setSelLength(int(wanted.size()));
            d.release(f, x, y);
            return true;
        }
        default: return false;
        }
    }

    // Dialog steps: the first visit of a step with a back code clicks the
    // back hot-spot; a tab dialog's right tab is clicked before the action;
    // list rows, look-in rows and drags. True when the step was played.
    bool performDialogStep(testsupport::Driver& d, const StepRecord& r) {
        engine::FrmMain& f = engine::frmMain()();
        const core::SessionState& s = core::session();
        auto takesMouse = [&](core::Control& c) {
            const double x = testsupport::Driver::centreX(c), y = testsupport::Driver::centreY(c);
            EXPECT_TRUE(c.shown() && f.hitTest(x, y) == &c) << qPrintable(c.name()) << " does not take the mouse";
            return c.shown() && f.hitTest(x, y) == &c;
        };
        if (r.backSteps() && !backedSteps_.contains(s.CurrentStep)) {
            backedSteps_.insert(s.CurrentStep);
            if (takesMouse(f.LblXXK[0])) d.click(f.LblXXK[0]);
            return true;
        }
        if (const auto dc = r.dialogCode(); dc && dc->shownTab != dc->targetTab) {
            EXPECT_LT(f.Label1.width(), 2) << "the target is live before its tab is chosen";
            if (takesMouse(f.LblXXK[dc->targetTab])) d.click(f.LblXXK[dc->targetTab]);
            EXPECT_GT(f.Label1.width(), 1) << "the right tab did not open the target";
        }
        const int shift = r.dragModifiers();
        switch (r.action()) {
        case engine::ActionListChoice:
            if (takesMouse(f.LstLA)) d.clickListRow(f.LstLA, r.answerLineNo());
            return true;
        case engine::ActionLookIn: {
            if (!takesMouse(f.LblADDmyXZ)) return true;
            d.click(f.LblADDmyXZ);
            core::Control& row = f.LblADD[r.lookInRow()];
            d.hover(row);
            EXPECT_TRUE(f.ImgLiN[r.lookInRow()].shown());
            if (takesMouse(row)) d.click(row);
            return true;
        }
        case engine::ActionDragFrame:
        case engine::ActionDragMove: {
            if (!takesMouse(f.Label4)) return true;
            const double x0 = testsupport::Driver::centreX(f.Label4), y0 = testsupport::Driver::centreY(f.Label4);
            const double x1 = testsupport::Driver::centreX(f.Label1), y1 = testsupport::Driver::centreY(f.Label1);
            d.press(f, x0, y0, core::LeftButton, shift);
            d.moveTo(f, (x0 + x1) / 2, (y0 + y1) / 2, core::LeftButton, shift);
            d.moveTo(f, x1, y1, core::LeftButton, shift);
            d.release(f, x1, y1, core::LeftButton, shift);
            return true;
        }
        case engine::ActionDragImage: {
            if (!takesMouse(f.Image5)) return true;
            // Past the drop point in the code's direction; each move halves
            // the distance to the pointer.
            const int dir = r.stepCode() % 10;
            const double tx = f.DropX * core::config().ScaleX, ty = f.DropY * core::config().ScaleY;
            double x = testsupport::Driver::centreX(f.Image5), y = testsupport::Driver::centreY(f.Image5);
            if (dir == 1 || dir == 6 || dir == 8) x = tx - 300;
            if (dir == 2 || dir == 7 || dir == 9) x = tx + 300;
            if (dir == 3 || dir == 8 || dir == 9) y = ty - 300;
            if (dir == 4 || dir == 6 || dir == 7) y = ty + 300;
            d.press(f, testsupport::Driver::centreX(f.Image5), testsupport::Driver::centreY(f.Image5));
            for (int i = 0; i < 12; ++i) d.moveTo(f, x, y);
            d.release(f, x, y);
            return true;
        }
        default: return false;
        }
    }
    QSet<int> backedSteps_;

    // A menu or toolbar step done as a candidate does: the hint frame on the
    // expected hot-spot, then hover and click the hot-spot, its row and its
    // submenu row (a pre-opened drop-down only needs its row).
    QString performMenuStep(testsupport::Driver& d, const StepRecord& r) {
        engine::FrmMain& f = engine::frmMain()();
        int main = 0, item = 0, sub = 0;
        for (int n = 1; n <= 3 && main == 0; ++n)
            if (const auto path = r.menuPath(n)) main = path->main, item = path->item, sub = path->sub;
        if (main == 0)
            if (const auto special = r.specialItem()) main = special->main, item = special->item;
        if (main == 0) return QStringLiteral("a menu step without a menu path");

        auto point = [&](core::Control& c) {
            // The extra area's hot-spot is larger than its picture.
            if (chrome::zoneOf(c.index()) == chrome::Zone::ExtraArea && &c == &f.LblZHU[c.index()])
                return QPointF(f.PicElse.formX() + f.PicElse.width() / 2, f.PicElse.formY() + f.PicElse.height() / 2);
            return QPointF(testsupport::Driver::centreX(c), testsupport::Driver::centreY(c));
        };
        auto act = [&](core::Control& c, bool click) {
            const QPointF p = point(c);
            EXPECT_TRUE(c.shown() && f.hitTest(p.x(), p.y()) == &c)
                << qPrintable(c.name()) << " " << c.index() << " does not take the mouse";
            if (click)
                d.click(f, p.x(), p.y());
            else
                d.hover(f, p.x(), p.y());
        };

        d.advance(100);  // the hint frame's timer (and a pre-opened drop-down's rows)
        if (main == 33 || main == 34) {
            EXPECT_EQ(f.OpenMenu, main) << "the drop-down is not open";
        } else {
            core::Control* frame = nullptr;
            switch (chrome::zoneOf(main)) {
            case chrome::Zone::MenuBar: frame = &f.ShapeMenu; break;
            case chrome::Zone::Toolbar: frame = &f.ShapeTool; break;
            case chrome::Zone::DrawingBar: frame = &f.ShapeHui; break;
            case chrome::Zone::ExtraArea: frame = &f.ShapeElse; break;
            default: break;
            }
            if (frame) {
                const core::Control& h = f.LblZHU[main];
                EXPECT_EQ(frame->visible(), f.LHelp.visible());
                EXPECT_TRUE(frame->shown()) << "no hint frame in guided mode";
                if (chrome::zoneOf(main) == chrome::Zone::ExtraArea) {
                    EXPECT_DOUBLE_EQ(frame->left(), h.left() + 15);
                } else {
                    EXPECT_DOUBLE_EQ(frame->left(), h.left());
                    EXPECT_NEAR(frame->top(), h.top(), 15);
                    EXPECT_DOUBLE_EQ(frame->width(), h.width());
                }
            }
            act(f.LblZHU[main], false);
            EXPECT_FALSE(zoneLook(f, main).picture().isNull()) << "no hover look on " << main;
            if (item == 0 && sub == 0) {
                act(f.LblZHU[main], true);
                return {};
            }
            act(f.LblZHU[main], true);
            EXPECT_TRUE(f.Pic1J.shown()) << "the drop-down did not open";
            EXPECT_FALSE(f.Pic1J.picture().isNull()) << "the drop-down has no picture";
        }
        act(f.Lbl1J[item], false);
        EXPECT_FALSE(f.Img1J.picture().isNull()) << "no highlight on row " << item;
        act(f.Lbl1J[item], true);
        if (sub == 0) return {};
        EXPECT_TRUE(f.Pic2J.shown()) << "the submenu did not open";
        act(f.Lbl2J[sub], false);
        EXPECT_FALSE(f.Img2J.picture().isNull()) << "no highlight on submenu row " << sub;
        act(f.Lbl2J[sub], true);
        return {};
    }
    static core::Control& zoneLook(engine::FrmMain& f, int main) {
        switch (chrome::zoneOf(main)) {
        case chrome::Zone::Toolbar: return f.ImgTool;
        case chrome::Zone::DrawingBar: return f.ImgHui;
        case chrome::Zone::ExtraArea: return f.ImgElse;
        case chrome::Zone::ChartBar: return f.ImgTuBiao;
        default: return f.ImgMenu;
        }
    }

    // Performs the expected action of the current step; returns why the
    // step cannot be played yet (empty when it was played).
    QString perform(testsupport::Driver& d, const StepRecord& r) {
        engine::FrmMain& f = engine::frmMain()();
        const QString code = r.actionCode();
        const engine::ActionKind kind = r.action();
        const auto alt = r.altMenuCode();
        const bool menuByAlt = alt && context_menu::namesContextMenu(alt->value);

        auto onTarget = [&]() -> bool {
            const double x = testsupport::Driver::centreX(f.Label1), y = testsupport::Driver::centreY(f.Label1);
            EXPECT_TRUE(f.Label1.shown()) << "the target is hidden";
            EXPECT_EQ(f.hitTest(x, y), &f.Label1) << "the target does not take the mouse at its centre";
            return f.Label1.shown() && f.hitTest(x, y) == &f.Label1;
        };
        auto chooseFromMenu = [&](int16_t menuCode) {
            const auto block = context_menu::readBlock(context_menu::contextMenuFile(), context_menu::codeSet(menuCode),
                                                       context_menu::codeMenu(menuCode));
            const QString entry = block ? context_menu::entryText(*block, menuCode).value_or(QString()) : QString();
            EXPECT_FALSE(entry.isEmpty()) << "code " << menuCode << " names no entry";
            d.ui.expectPopup("wm100", entry);
            if (onTarget()) d.rightClick(f.Label1);
            EXPECT_FALSE(d.ui.pending()) << "the context menu did not open";
        };

        if (performDialogStep(d, r)) return {};
        if (menuByAlt) {
            chooseFromMenu(alt->value);
            return {};
        }
        if (performTypingOrKey(d, r)) return {};
        switch (kind) {
        case engine::ActionClick:
            if (onTarget()) d.click(f.Label1);
            return {};
        case engine::ActionDoubleClick:
            if (onTarget()) d.dblClick(f.Label1);
            return {};
        case engine::ActionRightClick:
            if (onTarget()) d.rightClick(f.Label1);
            return {};
        case engine::ActionHover:
            if (onTarget()) d.hover(f.Label1);
            return {};
        case engine::ActionClickShift:
            if (onTarget()) d.click(f.Label1, r.codeButtons(), r.codeModifiers());
            return {};
        case engine::ActionContextMenu:
            chooseFromMenu(r.stepCode());
            return {};
        case engine::ActionWait:
            d.advance(1000);
            return {};
        case engine::ActionDemoClick:
            if (r.redBoxBranch() != QStringLiteral("0")) {
                if (onTarget()) d.click(f.Label1);
                return {};
            }
            return QStringLiteral("a demonstration-only click");
        case engine::ActionMenuStep: return performMenuStep(d, r);
        default: return "step code " + code + " has no expected action";
        }
    }

};

TEST_P(PracticeE2E, QuestionIsAnsweredStepByStep) {
    const Case c = GetParam();
    testsupport::Driver& d = driver();
    core::SessionState& s = core::session();

    ASSERT_TRUE(openQuestion(c.unit, c.question));
    session::FrmTm& tm = session::frmTm()();
    engine::FrmMain& f = engine::frmMain()();
    ASSERT_EQ(s.CurrentStep, 1);
    ASSERT_TRUE(f.visible());
    EXPECT_TRUE(tm.LblBiao.caption().contains(QString::fromUtf8("(未完成)")));
    // Hint mode: the hints and the menus' hint frames are shown.
    d.advance(600);
    EXPECT_TRUE(tm.CmdGN(6).shown()) << "no hint button";
    d.click(tm.CmdGN(6));
    ASSERT_EQ(s.RunMode, core::RunGuided);

    const QString label = QStringLiteral("unit %1 question %2").arg(c.unit).arg(c.question);
    for (int action = 0; !(s.QuestionState[c.question] & 4); ++action) {
        ASSERT_LT(action, 80) << qPrintable(label) << ": the question never ends";
        const StepRecord r(s.StepLine);
        const QString where = label + " step " + QString::number(s.CurrentStep) + " (" + r.actionCode() + ")";
        SCOPED_TRACE(qPrintable(where));
        if (r.action() == engine::ActionEnd) FAIL() << "at the end record without the question answered";

        const int16_t stepBefore = s.CurrentStep;
        const QString lineBefore = s.StepLine;
        const QString skip = perform(d, r);
        if (!skip.isEmpty()) GTEST_SKIP() << qPrintable(where) << ": " << qPrintable(skip);
        ASSERT_FALSE(HasFailure());
        ASSERT_TRUE(s.CurrentStep != stepBefore || s.StepLine != lineBefore || (s.QuestionState[c.question] & 4))
            << "the expected action did not advance the step";
    }

    EXPECT_TRUE(f.LblSuccess.shown());
    EXPECT_EQ(f.LblSuccess.caption(), QString::fromUtf8("操作成功！"));
    EXPECT_EQ(StepRecord(s.StepLine).actionCode(), "9999");
    EXPECT_TRUE(tm.LblBiao.caption().contains(QString::fromUtf8("(已完成)")));
    EXPECT_FALSE(tm.LblUnit.caption().split(u' ').contains(QString::number(c.question)));
    EXPECT_TRUE(d.ui.unexpected.empty());
}

// A pointer that moves over a scene and comes to rest changes nothing: a
// second move to the same point finds every property as the first left it
// (the view repaints nothing then). Checked on the first scene of every
// question, over the practice window and the question window.
TEST_P(PracticeE2E, PointerAtRestOverAStillSceneChangesNothing) {
    const Case c = GetParam();
    testsupport::Driver& d = driver();
    core::SessionState& s = core::session();
    ASSERT_TRUE(openQuestion(c.unit, c.question));
    session::FrmTm& tm = session::frmTm()();
    engine::FrmMain& f = engine::frmMain()();
    // A hover step advances at the first move over its target.
    if (StepRecord(s.StepLine).actionCode() == "0030") GTEST_SKIP() << "hover step";

    for (core::Form* form : {static_cast<core::Form*>(&f), static_cast<core::Form*>(&tm)}) {
        const double w = form->scaleWidth(), h = form->scaleHeight();
        for (int iy = 0; iy < 12; ++iy)
            for (int ix = 0; ix < 16; ++ix) {
                const double x = (ix + 0.5) * w / 16, y = (iy + 0.5) * h / 12;
                d.hover(*form, x, y);
                const uint64_t before = form->revision();
                const uint64_t all = core::modelRevision();
                d.hover(*form, x, y);
                EXPECT_EQ(form->revision(), before) << qPrintable(form->name()) << " at " << x << ", " << y;
                EXPECT_EQ(core::modelRevision(), all) << qPrintable(form->name()) << " at " << x << ", " << y;
            }
    }
    EXPECT_TRUE(d.ui.unexpected.empty());
}

INSTANTIATE_TEST_SUITE_P(Sample, PracticeE2E, ::testing::ValuesIn(sampleCases()),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             if (i.param.unit < 0) return std::string("NoModule");
                             return "Unit" + std::to_string(i.param.unit) + "Question" +
                                    (i.param.question < 10 ? "0" : "") + std::to_string(i.param.question) +
                                    (i.param.keys ? "ByKeys" : "");
                         });

} // namespace
