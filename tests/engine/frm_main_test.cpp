#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "chrome/design_pictures.h"
#include "chrome/zones.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "engine/text_table.h"
#include "frm_main_fixture.h"
#include "support/driver.h"

using namespace core;
using engine::FrmMain;
using engine::frmMain;

using namespace enginetest;

// ------------------------------------------------------------------ load

TEST_F(FrmMainTest, LoadGeometryByScreenSize) {
    testsupport::Driver d;
    struct Case {
        int w, h;
        int state;
        double left, top, width, height;
        double tmLeft, tmTop;
    } cases[] = {
        {1024, 768, StateNormal, 1680, 1260, 12000, 9000, 8700, 6630},
        {800, 600, StateMaximized, 0, 0, 12000, 9000, 7020, 5370},
        {1024, 600, StateMaximized, 0, 0, 15360, 9000, 10380, 5370},
        {1024, 650, StateMaximized, 0, 0, 15360, 9750, 10380, 6120},   // exactly 650: stays maximised
        {1024, 651, StateNormal, 1680, 382.5, 12000, 9000, 8700, 5752.5},
        {700, 768, StateNormal, -750, 1260, 12000, 9000, 6270, 6630},  // narrower than the window
    };
    for (const auto& c : cases) {
        setScreen(c.w, c.h);
        FrmMain& f = frmMain()();
        const Form& tm = standIn()();
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        EXPECT_EQ(f.windowState(), c.state);
        EXPECT_DOUBLE_EQ(f.left(), c.left);
        EXPECT_DOUBLE_EQ(f.top(), c.top);
        EXPECT_DOUBLE_EQ(f.width(), c.width);
        EXPECT_DOUBLE_EQ(f.height(), c.height);
        EXPECT_DOUBLE_EQ(tm.left(), c.tmLeft);
        EXPECT_DOUBLE_EQ(tm.top(), c.tmTop);
        EXPECT_DOUBLE_EQ(tm.width(), 4980);
        f.unload();
        standIn()().unload();
    }
}

TEST_F(FrmMainTest, LoadWithoutQuestionWindowSkipsDocking) {
    testsupport::Driver d;
    windows().questionWindow = nullptr;
    FrmMain& f = frmMain()();
    EXPECT_FALSE(standIn().loaded());
    EXPECT_EQ(f.ExamDataPath, dir.path() + "/examdata/");
}

TEST_F(FrmMainTest, LoadSetsUpControlsMenusAndTooltips) {
    testsupport::Driver d;
    picture("l62009", 116, 23);
    for (int q = 1; q <= 40; ++q) core::session().QuestionStep[q] = 7;
    ASSERT_TRUE(windows().practiceWindow);
    Form& loaded = windows().practiceWindow();
    EXPECT_TRUE(windows().practiceWindowLoaded());
    FrmMain& f = frmMain()();
    ASSERT_EQ(&loaded, &f);

    EXPECT_EQ(f.borderStyle(), 0);
    EXPECT_TRUE(f.Label1.caption().isEmpty());
    EXPECT_FALSE(f.ImgLogo.picture().isNull());
    EXPECT_DOUBLE_EQ(f.ImgLogo.left(), 10200);
    EXPECT_DOUBLE_EQ(f.ImgLogo.top(), 8235);
    EXPECT_DOUBLE_EQ(f.ImgLogo.width(), 1740);
    EXPECT_DOUBLE_EQ(f.ImgLogo.height(), 345);
    EXPECT_DOUBLE_EQ(f.LHelp.fontSize(), 11);
    EXPECT_DOUBLE_EQ(f.LstLA.fontSize(), 9);
    EXPECT_DOUBLE_EQ(f.LblXXK[0].fontSize(), 9);
    for (int q = 1; q <= 40; ++q) EXPECT_EQ(core::session().QuestionStep[q], 1) << q;
    EXPECT_EQ(f.ExamDataPath, dir.path() + "/examdata/");

    // Context menu: elements 0-10 of each entry array, in their rows' order.
    QStringList order;
    for (const Menu* m : f.wm100.items()) {
        QString entry = m->name() + (m->index() >= 0 ? QString::number(m->index()) : QString());
        if (m->name().startsWith("sVemoMain"))
            entry += "[" + m->items().front()->name() + QString::number(m->items().size()) + "]";
        order << entry;
    }
    QStringList want;
    auto cascade = [&](int n) { want << QString("sVemoMain%1[sVemoSub%1%2]").arg(n).arg(11); };
    auto entries = [&](int n) {
        for (int i = 0; i <= 10; ++i) want << QString("sVemoInde%1%2").arg(n).arg(i);
    };
    cascade(1), entries(1), cascade(2), entries(2), cascade(3), entries(3), cascade(4), cascade(5), entries(4);
    EXPECT_EQ(order, want);
    EXPECT_FALSE(f.wm100.visible());
    EXPECT_FALSE(f.mIme.visible());
    EXPECT_EQ(f.mIme.items().size(), 11u);

    // Look-in rows and the closed list.
    for (int i = 0; i <= 13; ++i) {
        EXPECT_DOUBLE_EQ(f.LblADD[i].top(), 345 + 240 * i);
        EXPECT_DOUBLE_EQ(f.LblADD[i].left(), 0);
        EXPECT_DOUBLE_EQ(f.LblADD[i].width(), 3900);
        EXPECT_DOUBLE_EQ(f.LblADD[i].height(), 240);
        EXPECT_DOUBLE_EQ(f.ImgLiN[i].top(), f.LblADD[i].top());
        EXPECT_FALSE(f.ImgLiN[i].visible());
    }
    EXPECT_DOUBLE_EQ(f.LblADD[13].top() + f.LblADD[13].height(), 3705);
    EXPECT_DOUBLE_EQ(f.ImgSelAD.left(), -120);
    EXPECT_DOUBLE_EQ(f.ImgSelAD.top(), 45);
    EXPECT_DOUBLE_EQ(f.LblADDmyXZ.height(), 330);
    EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
    EXPECT_FALSE(f.PicList.visible());
    EXPECT_EQ(f.ImgFuGai.picture().widthPixels(), 5);

    // Tooltips only on the toolbar and drawing-bar buttons.
    for (int i = 0; i <= 99; ++i) EXPECT_EQ(f.LblZHU[i].toolTipText(), chrome::hotSpotToolTip(i)) << i;
    EXPECT_EQ(f.LblZHU[26].toolTipText(), QString::fromUtf8("字体颜色"));
    EXPECT_EQ(f.LblZHU[86].toolTipText(), QString::fromUtf8("字体颜色"));
    EXPECT_EQ(f.LblZHU[41].toolTipText(), QString::fromUtf8("新建"));

    EXPECT_DOUBLE_EQ(f.LblMove.left(), 1440);
    EXPECT_DOUBLE_EQ(f.LblMove.top(), 0);
    EXPECT_DOUBLE_EQ(f.LblMove.width(), 9495);
    EXPECT_DOUBLE_EQ(f.LblMove.height(), 375);
    EXPECT_DOUBLE_EQ(f.LblSuccess.fontSize(), 72);
    EXPECT_DOUBLE_EQ(f.LblSuccess.left(), 2640);
    EXPECT_DOUBLE_EQ(f.LblSuccess.top(), 3840);
    EXPECT_FALSE(f.LblSuccess.visible());
    EXPECT_EQ(f.LblSuccess.caption(), QString::fromUtf8("操作成功！"));

    // The bars and hot-spots are laid out; 0 and 10 keep their design place.
    EXPECT_DOUBLE_EQ(f.PicTool.top(), 750);
    EXPECT_DOUBLE_EQ(f.PicHui.top(), 8295);
    EXPECT_DOUBLE_EQ(f.LblZHU[88].left(), 11340);
    EXPECT_DOUBLE_EQ(f.LblZHU[0].left(), 3720);
    EXPECT_DOUBLE_EQ(f.LblZHU[10].left(), 8250);
    EXPECT_EQ(f.PicMenu.picture().widthPixels(), 551);
    EXPECT_DOUBLE_EQ(f.PicTool.width(), 12000);
    EXPECT_DOUBLE_EQ(f.PicTuBiao.height(), 49 * 15);
    EXPECT_EQ(f.Timer2.interval(), 100);
    EXPECT_FALSE(f.Timer2.enabled());
    EXPECT_EQ(f.Timer3.interval(), 1000);
}

TEST_F(FrmMainTest, MissingLogoStillRunsEveryLaterStep) {
    testsupport::Driver d;
    core::session().QuestionStep[3] = 9;
    FrmMain& f = frmMain()();
    EXPECT_TRUE(f.ImgLogo.picture().isNull());
    EXPECT_EQ(core::session().QuestionStep[3], 1);
    EXPECT_EQ(f.sVemoSub[5]->ubound(), 10);
    EXPECT_EQ(f.ExamDataPath, dir.path() + "/examdata/");
    EXPECT_EQ(f.LblZHU[31].toolTipText(), QString::fromUtf8("三维效果样式"));
    EXPECT_DOUBLE_EQ(f.LblMove.width(), 9495);
    EXPECT_DOUBLE_EQ(f.LblZHU[99].left(), 5265);
}

TEST_F(FrmMainTest, SecondRunStartsEveryQuestionAtStepOne) {
    testsupport::Driver d;
    frmMain()();
    core::session().QuestionStep[4] = 6;
    frmMain()().unload();
    frmMain()();
    EXPECT_EQ(core::session().QuestionStep[4], 1);
}

TEST_F(FrmMainTest, HotSpotsTakeTheMouseOverTheirButtons) {
    testsupport::Driver d;
    FrmMain& f = frmMain()();
    for (Control* bar : {&f.PicMenu, &f.PicTool, &f.PicHui}) bar->setVisible(true);
    f.PicTuBiao.setVisible(false);
    f.PicElse.setVisible(false);
    // A highlight picture on a hot-spot does not take its mouse.
    f.ImgTool.setPicture(Picture(chrome::hotSpotPicture(71, chrome::Look::Hover)));
    f.ImgTool.move(f.LblZHU[71].left(), f.LblZHU[71].top());
    auto centreHits = [&](int i) {
        const Control& c = f.LblZHU[i];
        return f.hitTest(c.formX() + c.width() / 2, c.formY() + c.height() / 2) == &c;
    };
    for (int i = 1; i <= 88; ++i) {
        if (i == 10 || (i >= 32 && i <= 40)) continue;
        EXPECT_TRUE(centreHits(i)) << i;
    }
    f.PicTuBiao.setVisible(true);
    for (int i = 89; i <= 99; ++i) EXPECT_TRUE(centreHits(i)) << i;
    // The chart bar lies over the menu bar and the first toolbar row.
    EXPECT_FALSE(centreHits(9));
}

// ------------------------------------------------------------------ title bar, mouse move

TEST_F(FrmMainTest, TitleBarDragRedocksWhenTheMoveEnds) {
    testsupport::Driver d;
    int started = 0;
    std::function<void()> afterMove;
    windows().startWindowMove = [&](Form& w, std::function<void()> after) {
        EXPECT_EQ(w.name(), "FrmMain");
        ++started;
        afterMove = std::move(after);
    };
    FrmMain& f = frmMain()();
    Form& tm = standIn()();
    const double x = testsupport::Driver::centreX(f.LblMove), y = testsupport::Driver::centreY(f.LblMove);

    tm.move(0, 0);
    d.press(f, x, y);
    EXPECT_EQ(started, 1);
    EXPECT_DOUBLE_EQ(tm.left(), 0);  // not before the move has ended
    f.move(300, 450);
    ASSERT_TRUE(afterMove);
    afterMove();
    d.release(f, x, y);
    EXPECT_DOUBLE_EQ(tm.left(), 300 + 12000 - 4980);
    EXPECT_DOUBLE_EQ(tm.top(), 450 + 9000 - 3630);

    // Right button: no move, docked at once.
    tm.move(0, 0);
    d.click(f, x, y, RightButton);
    EXPECT_EQ(started, 1);
    EXPECT_DOUBLE_EQ(tm.left(), 300 + 12000 - 4980);

    // Without a move service the question window is docked at once.
    windows().startWindowMove = nullptr;
    tm.move(0, 0);
    d.click(f, x, y);
    EXPECT_DOUBLE_EQ(tm.top(), 450 + 9000 - 3630);
}

TEST_F(FrmMainTest, TitleBarDragByScreenHeight) {
    testsupport::Driver d;
    int started = 0;
    windows().startWindowMove = [&](Form&, std::function<void()> after) {
        ++started;
        after();
    };
    // Lower than 650 pixels: nothing at all.
    setScreen(800, 600);
    FrmMain& f = frmMain()();
    Form& tm = standIn()();
    tm.move(1, 1);
    d.click(f.LblMove);
    d.click(f.LblMove, RightButton);
    EXPECT_EQ(started, 0);
    EXPECT_DOUBLE_EQ(tm.left(), 1);
    f.unload();

    // Exactly 650: maximised at load, yet the press moves and re-docks.
    setScreen(1024, 650);
    FrmMain& g = frmMain()();
    tm.move(1, 1);
    d.click(g.LblMove);
    EXPECT_EQ(started, 1);
    EXPECT_DOUBLE_EQ(tm.left(), 15360 - 4980);
}

TEST_F(FrmMainTest, MoveEndingAfterUnloadDoesNothing) {
    testsupport::Driver d;
    std::function<void()> afterMove;
    windows().startWindowMove = [&](Form&, std::function<void()> after) { afterMove = std::move(after); };
    FrmMain& f = frmMain()();
    d.press(f, testsupport::Driver::centreX(f.LblMove), testsupport::Driver::centreY(f.LblMove));
    ASSERT_TRUE(afterMove);
    Form& tm = standIn()();
    tm.move(5, 5);
    f.unload();
    collectUnloadedForms();
    afterMove();
    EXPECT_DOUBLE_EQ(tm.left(), 5);
}

TEST_F(FrmMainTest, MouseOverBareWindowClosesMenus) {
    testsupport::Driver d;
    FrmMain& f = frmMain()();
    ASSERT_EQ(f.hitTest(6000, 5000), nullptr);
    for (int16_t open : {int16_t(5), int16_t(33)}) {
        f.OpenMenu = open;
        f.Pic1J.setVisible(true);
        f.Pic2J.setVisible(true);
        f.ImgHui.setPicture(Picture(QImage(3, 3, QImage::Format_RGB32)));
        f.PicList.setHeight(3000);
        d.hover(f, 6000, 5000);
        EXPECT_EQ(f.OpenMenu, open == 33 ? 33 : 0);
        EXPECT_EQ(f.Pic1J.visible(), open == 33);
        EXPECT_FALSE(f.Pic2J.visible());
        EXPECT_TRUE(f.ImgHui.picture().isNull());
        EXPECT_DOUBLE_EQ(f.PicList.height(), 330);
    }
}

// ------------------------------------------------------------------ text table

TEST_F(FrmMainTest, TextTableLookup) {
    textTable({"001第一行|其余", "002abc", "0", "004最后"});
    struct Case {
        const char* ref;
        const char* text;
    } cases[] = {
        {"000", ""},  {"001", "第一行|其余"}, {"002", "abc"}, {"003", ""},  // a line shorter than 4 characters
        {"009", "最后"},                                                  // beyond the end: the last line
        {"abc", "最后"},                                                  // no number: read to the end
        {"", "最后"},
    };
    for (const auto& c : cases) {
        bool readable = false;
        EXPECT_EQ(engine::TextTableLookup(QString::fromUtf8(c.ref), &readable), QString::fromUtf8(c.text)) << c.ref;
        EXPECT_TRUE(readable);
    }
    textTable({});
    EXPECT_EQ(engine::TextTableLookup("001"), "");
    core::session().TextTableFile = dir.filePath("none.rar");
    bool readable = true;
    EXPECT_EQ(engine::TextTableLookup("001", &readable), "");
    EXPECT_FALSE(readable);
    EXPECT_EQ(engine::TextTableLookup("000", &readable), "");  // the file is not needed
    EXPECT_TRUE(readable);
}

// ------------------------------------------------------------------ scene set-up

TEST_F(FrmMainTest, ResetAndClosingOfEveryStep) {
    testsupport::Driver d;
    script({Rec()});
    FrmMain& f = frmMain()();
    f.LblSuccess.setVisible(true);
    f.Pic1J.move(0, 0);
    for (Control* c : {&f.PicMenu, &f.PicTool, &f.PicHui, &f.PicElse, &f.PicTuBiao, &f.Shape6}) c->setVisible(true);
    f.LblXXK[3].move(100, 100, 500, 500);
    f.LblXXK[3].setCaption("x");
    f.Label4.setMousePointer(PtrCross);
    f.Text2.setFontSize(20);
    f.OpenMenu = 7;
    f.LblZHU[35].move(10, 10, 10, 10);
    standIn()().setTopmost(false);

    step(1);
    EXPECT_FALSE(f.LblSuccess.visible());
    EXPECT_DOUBLE_EQ(f.Pic1J.left(), 30000);
    EXPECT_DOUBLE_EQ(f.Pic1J.top(), 30000);
    for (Control* c : {&f.PicMenu, &f.PicTool, &f.PicHui, &f.PicElse, &f.PicTuBiao, &f.Shape6})
        EXPECT_FALSE(c->visible()) << c->name().toStdString();
    for (int i = 0; i <= 13; ++i) {
        const Control& t = f.LblXXK[i];
        EXPECT_DOUBLE_EQ(t.left(), -1);
        EXPECT_DOUBLE_EQ(t.top(), -1);
        EXPECT_DOUBLE_EQ(t.width(), 1);
        EXPECT_DOUBLE_EQ(t.height(), 1);
        EXPECT_TRUE(t.caption().isEmpty());
    }
    EXPECT_EQ(f.Label4.mousePointer(), PtrDefault);
    EXPECT_DOUBLE_EQ(f.Text2.fontSize(), 9);
    EXPECT_TRUE(standIn()().topmost());
    EXPECT_EQ(f.OpenMenu, 0);
    EXPECT_DOUBLE_EQ(f.LblZHU[35].width(), 0);
    EXPECT_EQ(f.DropX, 0);
    EXPECT_EQ(core::session().QuestionStep[1], 1);
}

TEST_F(FrmMainTest, ScreenshotByStep) {
    testsupport::Driver d;
    picture("310001", 10, 10);
    picture("320005", 20, 20);
    script({Rec(), Rec(), Rec().screenshot("320005"), Rec().screenshot("399999")});
    SessionState& s = core::session();

    FrmMain& f = step(1);
    EXPECT_EQ(f.picture().widthPixels(), 10);
    EXPECT_EQ(s.QuestionPictures[1][0], "310001");

    s.QuestionPictures[1][0] = "kept";
    step(2);
    EXPECT_EQ(f.picture().widthPixels(), 10);
    EXPECT_EQ(s.QuestionPictures[1][0], "kept");
    EXPECT_EQ(s.QuestionStep[1], 2);

    step(3);
    EXPECT_EQ(f.picture().widthPixels(), 20);
    EXPECT_EQ(s.QuestionPictures[1][0], "320005");

    // A missing picture: the number is recorded, the old picture stays.
    step(4);
    EXPECT_EQ(f.picture().widthPixels(), 20);
    EXPECT_EQ(s.QuestionPictures[1][0], "399999");
}

TEST_F(FrmMainTest, OverlaysByPictureField) {
    testsupport::Driver d;
    picture("330001", 11, 11);
    picture("330002", 12, 12);
    picture("330005", 15, 15);
    picture("330006", 16, 16);
    script({
        Rec().overlay(1, 100, 200, "330001").overlay(4, 300, 400, "888888").overlay(5, 1500, 2500, "330005")
            .overlay(6, 50, 60, "00000A"),
        Rec().overlay(1, 700, 800, "888888").overlay(2, 900, 950, "330002").overlay(5, 10, 20, "000000")
            .overlay(6, 50, 60, "330006"),
        Rec().overlay(1, 5, 5, "000000"),
    });
    SessionState& s = core::session();

    FrmMain& f = step(1);
    EXPECT_TRUE(f.Image1.visible());
    EXPECT_DOUBLE_EQ(f.Image1.left(), 100);
    EXPECT_DOUBLE_EQ(f.Image1.top(), 200);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 11);
    EXPECT_EQ(s.QuestionPictures[1][1], "330001");
    EXPECT_FALSE(f.Image2.visible());
    EXPECT_FALSE(f.Image3.visible());
    EXPECT_TRUE(f.Image4.visible());  // "888888" at step 1: moved, picture emptied
    EXPECT_DOUBLE_EQ(f.Image4.left(), 300);
    EXPECT_TRUE(f.Image4.picture().isNull());
    EXPECT_EQ(f.DragLeft, 1500);
    EXPECT_EQ(f.DragTop, 2500);
    EXPECT_EQ(s.QuestionPictures[1][5], "330005");
    EXPECT_FALSE(f.Image6.visible());  // zeros and a letter read as 0
    EXPECT_TRUE(s.QuestionPictures[1][6].isEmpty());

    step(2);
    EXPECT_DOUBLE_EQ(f.Image1.left(), 700);
    EXPECT_DOUBLE_EQ(f.Image1.top(), 800);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 11);
    EXPECT_TRUE(f.Image2.visible());
    EXPECT_EQ(f.Image2.picture().widthPixels(), 12);
    EXPECT_FALSE(f.Image5.visible());  // hidden: position, picture and DragLeft stay
    EXPECT_DOUBLE_EQ(f.Image5.left(), 1500);
    EXPECT_EQ(f.Image5.picture().widthPixels(), 15);
    EXPECT_EQ(f.DragLeft, 1500);
    EXPECT_EQ(s.QuestionPictures[1][5], "330005");
    EXPECT_TRUE(f.Image6.visible());
    EXPECT_DOUBLE_EQ(f.Image6.width(), 16 * 15);
    EXPECT_FALSE(f.Image4.visible());

    step(3);
    EXPECT_FALSE(f.Image1.visible());
    EXPECT_DOUBLE_EQ(f.Image1.left(), 700);
    EXPECT_EQ(f.Image1.picture().widthPixels(), 11);
    EXPECT_EQ(s.QuestionPictures[1][1], "330001");

    // Back at step 1 every overlay picture is emptied first.
    s.StepStart[1] = 3;
    step(1);
    EXPECT_TRUE(f.Image1.picture().isNull());
    EXPECT_TRUE(f.Image2.picture().isNull());
    EXPECT_TRUE(f.Image6.picture().isNull());
    EXPECT_EQ(s.QuestionPictures[1][1], "330001");
}

TEST_F(FrmMainTest, RecordIsReadFromTheTopAtEveryStep) {
    testsupport::Driver d;
    SessionState& s = core::session();
    script({Rec().put(4, "A1"), Rec().put(4, "A2"), Rec().put(4, "A3")});
    s.StepStart[2] = 2;
    s.CurrentQuestion = 2;
    step(1);
    EXPECT_EQ(engine::StepRecord(s.StepLine).altSetCode(), "A2");
    EXPECT_EQ(s.QuestionStep[2], 1);

    // Beyond the end of the script: the last line.
    step(9);
    EXPECT_EQ(engine::StepRecord(s.StepLine).altSetCode(), "A3");

    // The file is read again, not remembered.
    script({Rec().put(4, "B1"), Rec().put(4, "B2")});
    step(1);
    EXPECT_EQ(engine::StepRecord(s.StepLine).altSetCode(), "B2");

    // An unreadable script or a question outside the tables leaves the
    // record, and the rest of the step is still laid out.
    FrmMain& f = frmMain()();
    s.ScriptFile = dir.filePath("missing.rar");
    f.LblSuccess.setVisible(true);
    step(2);
    EXPECT_EQ(engine::StepRecord(s.StepLine).altSetCode(), "B2");
    EXPECT_FALSE(f.LblSuccess.visible());
    EXPECT_EQ(s.QuestionStep[2], 2);

    s.CurrentQuestion = 0;
    s.QuestionStep[0] = 0;
    f.LblSuccess.setVisible(true);
    step(1);
    EXPECT_EQ(s.QuestionStep[0], 0);
    EXPECT_FALSE(f.LblSuccess.visible());
}

TEST_F(FrmMainTest, InputBoxTextAndFormat) {
    testsupport::Driver d;
    textTable({"001你好|世界", "002abc"});
    script({
        Rec().input(1200, 300, 2400, 330, "001").format("0105M03321"),
        Rec().put(86, "H0102000000000000000"),
        Rec().input(100, 100, 500, 300, "000").format("0000001200"),
        Rec().input(100, 100, 500, 300, "002").format("0000L09999"),
    });

    FrmMain& f = step(1);
    EXPECT_TRUE(f.Text1.visible());
    EXPECT_DOUBLE_EQ(f.Text1.left(), 1200);
    EXPECT_DOUBLE_EQ(f.Text1.top(), 300);
    EXPECT_DOUBLE_EQ(f.Text1.width(), 2400);
    EXPECT_DOUBLE_EQ(f.Text1.height(), 330);
    EXPECT_EQ(f.Text1.text(), QString::fromUtf8("你好"));
    EXPECT_EQ(f.Text1.selStart(), 0);
    EXPECT_EQ(f.Text1.selLength(), 2);
    EXPECT_EQ(f.activeControl(), &f.Text1);
    EXPECT_DOUBLE_EQ(f.Text1.fontSize(), 10.5);
    EXPECT_EQ(f.Text1.alignment(), 2);
    EXPECT_TRUE(f.Text1.fontBold());
    EXPECT_TRUE(f.Text1.fontItalic());
    EXPECT_FALSE(f.Text1.fontUnderline());
    EXPECT_EQ(f.Text1.fontName(), QString::fromUtf8("黑体"));
    EXPECT_EQ(f.Text1.foreColor(), 255u);
    EXPECT_EQ(f.Text1.backColor(), 0xFF0000u);

    // A menu path in the shared columns: no input box.
    f.Text2.setVisible(true);
    step(2);
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_FALSE(f.Text2.visible());
    EXPECT_DOUBLE_EQ(f.Text1.fontSize(), 9);
    EXPECT_TRUE(f.Text1.fontBold());  // the format of the earlier step stays

    step(3);
    EXPECT_TRUE(f.Text1.text().isEmpty());
    EXPECT_DOUBLE_EQ(f.Text1.fontSize(), 9);
    EXPECT_EQ(f.Text1.alignment(), 0);
    EXPECT_TRUE(f.Text1.fontBold());
    EXPECT_FALSE(f.Text1.fontItalic());
    EXPECT_EQ(f.Text1.fontName(), "Times New Roman");
    EXPECT_EQ(f.Text1.foreColor(), 0u);
    EXPECT_EQ(f.Text1.backColor(), 0xFFFFFFu);

    // Style, font and text colour 9 lie outside their tables and leave the
    // properties as they were.
    step(4);
    EXPECT_EQ(f.Text1.text(), "abc");
    EXPECT_EQ(f.Text1.alignment(), 0);
    EXPECT_TRUE(f.Text1.fontBold());
    EXPECT_EQ(f.Text1.fontName(), "Times New Roman");
    EXPECT_EQ(f.Text1.foreColor(), 0u);
    EXPECT_EQ(f.Text1.backColor(), 0xE1FFFFu);
}

TEST_F(FrmMainTest, PrefilledTextRunsTheBoxCheckDuringSetUp) {
    testsupport::Driver d;
    textTable({"001abc"});
    script({Rec().input(100, 100, 500, 300, "001"), Rec().put(4, "S2")});
    FrmMain& f = frmMain()();
    QStringList seen;
    f.Text1.onChange = [&](Control& box) { seen << box.text() + "@" + core::mid(core::session().StepLine, 4, 2); };
    step(1);
    EXPECT_EQ(seen, QStringList{"abc@00"});
}

TEST_F(FrmMainTest, HintLabelAndGuidedMode) {
    testsupport::Driver d;
    textTable({"001", "002", "003提示|第二行"});
    script({Rec().hint(600, 7000, "003"), Rec().hint(900, 7100, "000"), Rec(), Rec().hint(1, 2, "003")});
    SessionState& s = core::session();

    FrmMain& f = step(1);
    EXPECT_DOUBLE_EQ(f.LHelp.left(), 600);
    EXPECT_DOUBLE_EQ(f.LHelp.top(), 7000);
    EXPECT_EQ(f.LHelp.caption(), QString::fromUtf8("提示\r\n第二行"));  // "|" is a line break
    EXPECT_EQ(f.HintText, QString::fromUtf8("提示|第二行"));
    EXPECT_TRUE(f.LHelp.visible());
    EXPECT_TRUE(f.Shape2.visible());
    EXPECT_TRUE(f.Shape4.visible());

    step(2);
    EXPECT_DOUBLE_EQ(f.LHelp.left(), 900);
    EXPECT_TRUE(f.LHelp.caption().isEmpty());
    EXPECT_EQ(f.HintText, QString::fromUtf8("提示|第二行"));

    f.LHelp.setCaption("kept");
    step(3);  // no hint position: the label stays as it is
    EXPECT_DOUBLE_EQ(f.LHelp.left(), 900);
    EXPECT_EQ(f.LHelp.caption(), "kept");

    // Practice mode hides the hint and every frame, whatever the record.
    s.RunMode = RunPractice;
    step(4);
    for (Control* c : {&f.LHelp, &f.Shape1, &f.Shape2, &f.Shape4}) EXPECT_FALSE(c->visible()) << c->name().toStdString();
    EXPECT_DOUBLE_EQ(f.LHelp.left(), 1);
}

TEST_F(FrmMainTest, LongBankTextsAreCutForDisplay) {
    testsupport::Driver d;
    const QString huge(1 << 20, u'y');
    textTable({"001" + huge, "002a|" + huge});
    script({Rec().hint(600, 7000, "001"),
            Rec().put(8, "L002").input(1500, 2400, 2400, 1200, "000").num(106, 3, 1).num(109, 3, 0)});
    FrmMain& f = step(1);
    EXPECT_EQ(f.LHelp.caption(), huge.left(MaxShownText));
    EXPECT_EQ(f.HintText, huge.left(MaxShownText));
    step(2);
    EXPECT_EQ(f.LstLA.items(), QStringList({"a", huge.left(MaxShownText - 2)}));
}

TEST_F(FrmMainTest, UnreadableTextTableGivesEmptyTexts) {
    testsupport::Driver d;
    script({Rec().input(100, 100, 500, 300, "001").hint(10, 10, "002")});
    FrmMain& f = frmMain()();
    f.HintText = "old";
    f.Text1.setText("old");
    f.LHelp.setCaption("old");
    step(1);
    EXPECT_TRUE(f.Text1.text().isEmpty());
    EXPECT_TRUE(f.LHelp.caption().isEmpty());
    EXPECT_TRUE(f.HintText.isEmpty());
}

TEST_F(FrmMainTest, TargetAndRedFrame) {
    testsupport::Driver d;
    script({Rec().target(1000, 2000, 3000, 300), Rec(), Rec().target(500, 600, 700, 0)});

    FrmMain& f = step(1);
    EXPECT_TRUE(f.Label1.visible());
    EXPECT_DOUBLE_EQ(f.Label1.left(), 1000);
    EXPECT_DOUBLE_EQ(f.Label1.top(), 2000);
    EXPECT_DOUBLE_EQ(f.Label1.width(), 3000);
    EXPECT_DOUBLE_EQ(f.Label1.height(), 300);
    EXPECT_FALSE(f.Label1.autoSize());
    EXPECT_TRUE(f.Shape1.visible());
    EXPECT_DOUBLE_EQ(f.Shape1.left(), 1000);
    EXPECT_DOUBLE_EQ(f.Shape1.width(), 3000);
    EXPECT_DOUBLE_EQ(f.Shape1.height(), 300);
    EXPECT_EQ(f.RedBoxW, 3000);
    EXPECT_EQ(f.RedBoxH, 300);
    EXPECT_EQ(f.hitTest(2500, 2150), &f.Label1);

    // No target: hidden, the sizes of the last target stay.
    step(2);
    EXPECT_FALSE(f.Label1.visible());
    EXPECT_FALSE(f.Shape1.visible());
    EXPECT_EQ(f.RedBoxW, 3000);
    EXPECT_EQ(f.RedBoxH, 300);
    EXPECT_DOUBLE_EQ(f.Label1.width(), 1);

    // Height 0: a target of no size, auto-sized, without frame.
    step(3);
    EXPECT_TRUE(f.Label1.visible());
    EXPECT_DOUBLE_EQ(f.Label1.left(), 500);
    EXPECT_DOUBLE_EQ(f.Label1.top(), 600);
    EXPECT_DOUBLE_EQ(f.Label1.width(), 1);
    EXPECT_DOUBLE_EQ(f.Label1.height(), 1);
    EXPECT_TRUE(f.Label1.autoSize());
    EXPECT_FALSE(f.Shape1.visible());
    EXPECT_EQ(f.RedBoxW, 700);
    EXPECT_EQ(f.RedBoxH, 0);
    EXPECT_DOUBLE_EQ(f.Shape1.left(), 500);
    EXPECT_DOUBLE_EQ(f.Shape1.width(), 1);
}

TEST_F(FrmMainTest, ScaledSceneAndDropPoint) {
    testsupport::Driver d;
    config().ScaleX = 0.8;
    config().ScaleY = 0.8;
    script({Rec().target(1000, 2000, 3000, 300).overlay(5, 1500, 2500, "888888").num(167, 5, 4321).num(172, 5, 1234)});
    FrmMain& f = step(1);
    EXPECT_DOUBLE_EQ(f.Label1.left(), 800);
    EXPECT_DOUBLE_EQ(f.Label1.height(), 240);
    EXPECT_EQ(f.RedBoxW, 3000);  // design values, not scaled
    EXPECT_DOUBLE_EQ(f.Image5.left(), 1200);
    EXPECT_EQ(f.DragLeft, 1200);  // where the image stands
    EXPECT_EQ(f.DragTop, 2000);
    EXPECT_EQ(f.DropX, 4321);
    EXPECT_EQ(f.DropY, 1234);
    EXPECT_DOUBLE_EQ(f.Pic1J.left(), 24000);
}
