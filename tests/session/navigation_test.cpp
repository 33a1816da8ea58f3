#include "question_window_fixture.h"

#include "engine/frm_main.h"

using namespace core;
using namespace session;

namespace {

// The practice window with the hint label, its frames and the hint-frame
// timer.
struct HintPractice : qwtest::PracticeStandIn {
    HintPractice() {
        add(Kind::Label, "LHelp").setVisible(false);
        for (const char* n : {"Shape1", "Shape2", "Shape4", "Shape6"}) add(Kind::Shape, n).setVisible(false);
        hintFrame.onTimer = [this](Timer& t) {
            ++frameTicks;
            t.setEnabled(false);
        };
    }
    // As the practice window: the hint, its frames and the target frame.
    void showHint() {
        for (const char* n : {"LHelp", "Shape1", "Shape4", "Shape2"}) control(n).setVisible(true);
        hintFrame.setEnabled(true);
    }
    Timer& hintFrame = addTimer("TimerDisFK", 100, false);
    int frameTicks = 0;
};

core::FormSlot<HintPractice>& hintPractice() {
    static core::FormSlot<HintPractice> slot;
    return slot;
}

struct NavigationTest : qwtest::Fixture {
    void SetUp() override {
        Fixture::SetUp();
        usePractice(hintPractice());
    }

    HintPractice& pw() { return hintPractice()(); }
    // Whether a question load ran since the last call (it arms the practice
    // window's scene set-up).
    bool reloaded() {
        Timer& t = pw().setUp;
        const bool on = t.enabled();
        t.setEnabled(false);
        return on;
    }
    // The question whose text the window shows.
    int shownQuestion() {
        for (int q = 1; q <= 40; ++q)
            if (tm().RtbTM.text().startsWith(QString::fromUtf8("第0单元第%1题\r\n").arg(q))) return q;
        return 0;
    }
};

} // namespace

TEST_F(NavigationTest, PreviousAndNextStopAtTheEnds) {
    FrmTm& w = startSession(3);
    reloaded();

    // First question: previous cannot be pressed.
    EXPECT_FALSE(w.CmdGN(0).enabled());
    d.click(w.CmdGN(0));
    EXPECT_EQ(s().CurrentQuestion, 1);
    EXPECT_FALSE(reloaded());

    d.click(w.CmdGN(1));
    EXPECT_EQ(s().CurrentQuestion, 2);
    EXPECT_EQ(shownQuestion(), 2);
    EXPECT_TRUE(reloaded());
    EXPECT_TRUE(w.CmdGN(0).enabled());
    d.click(w.CmdGN(1));
    EXPECT_EQ(shownQuestion(), 3);
    EXPECT_TRUE(reloaded());

    // Last question: next cannot be pressed.
    EXPECT_FALSE(w.CmdGN(1).enabled());
    d.click(w.CmdGN(1));
    EXPECT_EQ(s().CurrentQuestion, 3);
    EXPECT_FALSE(reloaded());

    d.click(w.CmdGN(0));
    EXPECT_EQ(shownQuestion(), 2);
    EXPECT_EQ(s().QuestionState[2], 1);  // opened

    // Called anyway, they reload the same question.
    s().CurrentQuestion = 3;
    w.CmdGN_Click(1);
    EXPECT_EQ(s().CurrentQuestion, 3);
    EXPECT_TRUE(reloaded());
    s().CurrentQuestion = 1;
    w.CmdGN_Click(0);
    EXPECT_EQ(s().CurrentQuestion, 1);
    EXPECT_TRUE(reloaded());
}

TEST_F(NavigationTest, SingleQuestionHasNoNavigation) {
    FrmTm& w = startSession(1);
    reloaded();
    EXPECT_FALSE(w.CmdGN(0).enabled());
    EXPECT_FALSE(w.CmdGN(1).enabled());
    d.click(w.CmdGN(0));
    d.click(w.CmdGN(1));
    EXPECT_EQ(s().CurrentQuestion, 1);
    EXPECT_FALSE(reloaded());
}

TEST_F(NavigationTest, GridColoursAndPick) {
    s().QuestionState = {0, 0, 2, 4, 5, 0, 7, 1, 6};  // questions 1..8
    FrmTm& w = startSession(8);
    d.click(w.CmdGN(3));  // question 1 (opened): flagged
    EXPECT_EQ(s().QuestionState[1], 3);

    d.click(w.CmdGN(4));
    ASSERT_TRUE(w.FrmSelect.visible());
    const uint32_t face = 0x8000000F, green = 65280, red = 255;
    const uint32_t expected[] = {0, red, red, face, green, face, red, green, red};
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(w.CmTNO(i).backColor(), expected[i]) << i;

    // The grid lies over the panel: a pick loads the question.
    reloaded();
    d.click(w.CmTNO(5));
    EXPECT_FALSE(w.FrmSelect.visible());
    EXPECT_EQ(s().CurrentQuestion, 5);
    EXPECT_EQ(shownQuestion(), 5);
    EXPECT_TRUE(reloaded());
    EXPECT_EQ(s().QuestionState[5], 1);

    // The return button changes nothing.
    d.click(w.CmdGN(4));
    EXPECT_EQ(w.CmTNO(5).backColor(), green);
    d.click(w.CmdSelFH);
    EXPECT_FALSE(w.FrmSelect.visible());
    EXPECT_EQ(s().CurrentQuestion, 5);
    EXPECT_FALSE(reloaded());
}

TEST_F(NavigationTest, FlagTogglesOnlyTheFlagBit) {
    FrmTm& w = startSession(2);
    s().CurrentQuestion = 2;
    reloaded();
    const QString title = w.LblBiao.caption();
    struct Case { int16_t before, after; } cases[] = {{0, 2}, {1, 3}, {2, 0}, {3, 1}, {4, 6},
                                                      {5, 7}, {6, 4}, {7, 5}, {8, 8}, {-1, -1}};
    for (const auto& c : cases) {
        s().QuestionState[2] = c.before;
        d.click(w.CmdGN(3));
        EXPECT_EQ(s().QuestionState[2], c.after) << c.before;
        d.click(w.CmdGN(3));
        EXPECT_EQ(s().QuestionState[2], c.before) << c.before;
    }
    // No reload, nothing else on the window changes.
    EXPECT_FALSE(reloaded());
    EXPECT_EQ(w.LblBiao.caption(), title);
    EXPECT_FALSE(w.FrmSelect.visible());
}

TEST_F(NavigationTest, RedoResumesAtStepOneAndKeepsTheAnswer) {
    FrmTm& w = startSession(3);
    s().QuestionState[2] = 4;
    s().QuestionStep[2] = 3;
    d.click(w.CmdGN(1));
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_EQ(s().QuestionState[2], 5);
    reloaded();

    d.click(w.CmdGN(2));
    EXPECT_EQ(s().QuestionStep[2], 1);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_EQ(s().QuestionState[2], 5);
    EXPECT_EQ(shownQuestion(), 2);
    EXPECT_TRUE(reloaded());
    EXPECT_EQ(w.LblUnit.caption(), QString::fromUtf8("未完成的题目 1 3"));
}

TEST_F(NavigationTest, HintModeShowsTheFramesUntilTheNextLoad) {
    FrmTm& w = startSession(3);
    HintPractice& p = pw();
    p.setWindowState(StateMinimized);
    p.hide();

    d.click(w.CmdGN(6));
    EXPECT_EQ(s().RunMode, RunGuided);
    for (const char* n : {"LHelp", "Shape1", "Shape2", "Shape4"}) EXPECT_TRUE(p.control(n).visible()) << n;
    EXPECT_FALSE(p.control("Shape6").visible());
    EXPECT_EQ(p.windowState(), StateNormal);
    EXPECT_TRUE(p.visible());
    EXPECT_TRUE(p.timer("TimerDisFK").enabled());
    d.advance(100);
    EXPECT_EQ(p.frameTicks, 1);
    EXPECT_EQ(s().RunMode, RunGuided);

    d.click(w.CmdGN(1));
    EXPECT_EQ(s().RunMode, RunPractice);
}

TEST_F(NavigationTest, HintModeOnThePracticeWindow) {
    engine::registerPracticeWindow();
    write(unitProgressFile(), {"FFFFFFFFFFFF"});
    windows().startUnit(0);
    ASSERT_TRUE(engine::frmMain().loaded());
    engine::FrmMain& p = engine::frmMain()();
    p.setWindowState(StateMinimized);
    d.click(tm().CmdGN(6));
    EXPECT_EQ(s().RunMode, RunGuided);
    for (Control* c : {&p.LHelp, &p.Shape1, &p.Shape2, &p.Shape4}) EXPECT_TRUE(c->visible()) << c->name().toStdString();
    EXPECT_TRUE(p.TimerDisFK.enabled());
    EXPECT_EQ(p.windowState(), StateNormal);
}

TEST_F(NavigationTest, FacesFollowPressAndHover) {
    for (int i = 0; i <= 10; ++i) {
        picture(functionFacePicture("l012", i), 40, 24);
        if (i == 3) continue;  // no pressed or hover face for button 3
        picture(functionFacePicture("l010", i), 60 + i, 24);
        picture(functionFacePicture("l011", i), 80 + i, 24);
    }
    FrmTm& w = startSession(3);
    const Control& b1 = w.CmdGN(1);
    const Control& b2 = w.CmdGN(2);

    d.hover(w.CmdGN(2));
    EXPECT_DOUBLE_EQ(w.ImgMove.left(), b2.left());
    EXPECT_DOUBLE_EQ(w.ImgMove.top(), b2.top());
    EXPECT_EQ(w.ImgMove.picture().widthPixels(), 82);
    EXPECT_TRUE(w.ImgMove.visible());

    d.press(w, testsupport::Driver::centreX(b2), testsupport::Driver::centreY(b2));
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), b2.left());
    EXPECT_DOUBLE_EQ(w.ImgDown.top(), b2.top());
    EXPECT_EQ(w.ImgDown.picture().widthPixels(), 62);
    EXPECT_TRUE(w.ImgDown.visible());
    d.moveTo(w, testsupport::Driver::centreX(b2) + 15, testsupport::Driver::centreY(b2));  // captured by the pressed button
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), b2.left());
    d.release(w, testsupport::Driver::centreX(b2) + 15, testsupport::Driver::centreY(b2));

    // The pressed face goes at the second move over another button.
    d.hover(w.CmdGN(1));
    EXPECT_DOUBLE_EQ(w.ImgMove.left(), b1.left());
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), b2.left());
    d.hover(w.CmdGN(1));
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), 6000);

    // Missing faces are not shown; the button still works.
    d.hover(w.CmdGN(3));
    EXPECT_FALSE(w.ImgMove.visible());
    d.click(w.CmdGN(3));
    EXPECT_FALSE(w.ImgDown.visible());
    EXPECT_EQ(s().QuestionState[1], 3);
    EXPECT_EQ(w.ImgGN(3).picture().widthPixels(), 40);
    d.hover(w.CmdGN(4));
    EXPECT_TRUE(w.ImgMove.visible());
    EXPECT_EQ(w.ImgMove.picture().widthPixels(), 84);

    // The bare panel parks both.
    d.hover(w, 2000, 450 + 2740);
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), 6000);
    EXPECT_DOUBLE_EQ(w.ImgMove.left(), 6030);
}

TEST_F(NavigationTest, DemoSpeedIsChosenAtTheRelease) {
    FrmTm& w = startSession(3);
    struct Case { int index, button, shift, speed; } cases[] = {
        {7, LeftButton, 0, 1},        {7, RightButton, 0, 2},  {7, LeftButton, ShiftMod, 2},
        {7, LeftButton, CtrlMod, 2},  {7, LeftButton, AltMod, 2}, {2, RightButton, 0, 1},
        {2, LeftButton, ShiftMod, 1}, {3, RightButton, CtrlMod, 1},
    };
    for (const auto& c : cases) {
        w.DemoSpeed = c.speed == 1 ? 2 : 1;
        d.click(w.CmdGN(c.index), c.button, c.shift);
        EXPECT_EQ(w.DemoSpeed, c.speed) << c.index << " " << c.button << " " << c.shift;
    }

    // A right click on another button acts like a left click.
    reloaded();
    d.click(w.CmdGN(1), RightButton);
    EXPECT_EQ(s().CurrentQuestion, 2);
    EXPECT_TRUE(reloaded());
    EXPECT_EQ(w.DemoSpeed, 1);
}

TEST_F(NavigationTest, ExamSetPanelsAndConfirmations) {
    picture(config().dataFile("000123"), 100, 80);
    QStringList lines = qwtest::unitList(0, 3);
    lines[0] = "000102picture000123看图";
    FrmTm& w = startSession(40, ListPaper, lines);
    for (int i = 8; i <= 10; ++i) ASSERT_TRUE(w.CmdGN(i).visible()) << i;

    // Candidate panel.
    d.click(w.CmdGN(9));
    EXPECT_TRUE(w.FrmKSXX.visible());
    d.click(w.CmdKSFH);
    EXPECT_FALSE(w.FrmKSXX.visible());

    // View answer closes the picture popup first, then opens its warning.
    d.click(w.Image2);
    ASSERT_TRUE(frmPicture()().visible());
    bool popupHidden = false;
    d.ui.expectModal("FrmCZTS", [&](Form&) { popupHidden = !frmPicture()().visible(); });
    d.click(w.CmdGN(10));
    EXPECT_TRUE(popupHidden);
    EXPECT_FALSE(d.ui.pending());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));
    EXPECT_TRUE(w.visible());

    // Hand in: the window moves away and hides behind the confirmation.
    bool hiddenAtOpen = false;
    handInConfirmation().open = [&] {
        ++handInOpened;
        hiddenAtOpen = !w.visible() && w.left() == 0 && w.top() == 0;
    };
    d.click(w.CmdGN(8));
    EXPECT_EQ(handInOpened, 1);
    EXPECT_TRUE(hiddenAtOpen);
}

TEST_F(NavigationTest, HelpButtonMinimisesTheWindowThenOpensTheHelp) {
    FrmTm& w = startSession(3);
    bool barWhileOpen = false;
    d.ui.expectModal("FrmIME", [&](Form&) {
        barWhileOpen = w.FrmZXH.visible() && w.width() == 810 && w.left() == pw().left();
    });
    d.click(w.CmdEn);
    EXPECT_TRUE(barWhileOpen);
    // Closing the help brings the full window back.
    EXPECT_FALSE(w.FrmZXH.visible());
    EXPECT_DOUBLE_EQ(w.width(), 4980);
}
