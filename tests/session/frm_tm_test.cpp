#include "question_window_fixture.h"

#include "engine/frm_main.h"

using namespace core;
using namespace session;
using qwtest::Fixture;

namespace {

struct QuestionWindowTest : Fixture {
    void unitSession() {
        write(unitProgressFile(), {"FFFFFFFFFFFF"});
        windows().startUnit(0);
        ASSERT_TRUE(tmLoaded());
    }
    void faces() {
        const int widths[] = {58, 58, 58, 0, 58, 70, 50, 66, 40, 40, 40};  // face 3 missing
        for (int i = 0; i <= 10; ++i)
            if (widths[i]) picture(functionFacePicture("l012", i), widths[i], 24);
    }
    void reload() {
        tm().TimerREDO.setEnabled(true);
        d.advance(100);
    }
};

} // namespace

TEST_F(QuestionWindowTest, LayoutAtBothScales) {
    faces();
    for (double sc : {1.0, 0.8}) {
        SCOPED_TRACE(sc);
        unloadAllForms();
        config().ScaleX = config().ScaleY = sc;
        useList(qwtest::unitList(0, 12), 40);
        FrmTm& w = tm();

        EXPECT_DOUBLE_EQ(w.width(), 4980 * sc);
        EXPECT_DOUBLE_EQ(w.height(), 3630 * sc);
        EXPECT_DOUBLE_EQ(w.width() / (15 * sc), 332);
        EXPECT_DOUBLE_EQ(w.left(), 15360 * sc - w.width());
        EXPECT_DOUBLE_EQ(w.top(), 9000 * sc - w.height());
        EXPECT_TRUE(w.topmost());
        EXPECT_EQ(w.borderStyle(), 0);

        // Question grid: ten columns by four rows of touching squares.
        const double cell = w.width() / 10.15;
        for (int i : {1, 10, 11, 40}) {
            EXPECT_NEAR(w.CmTNO(i).left(), 30 * sc + cell * ((i - 1) % 10), 1e-9) << i;
            EXPECT_NEAR(w.CmTNO(i).top(), 150 * sc + cell * ((i - 1) / 10), 1e-9) << i;
            EXPECT_DOUBLE_EQ(w.CmTNO(i).width(), cell);
            EXPECT_DOUBLE_EQ(w.CmTNO(i).height(), cell);
            EXPECT_EQ(w.CmTNO(i).caption(), QString::number(i));
        }
        if (sc == 1.0) {
            EXPECT_NEAR(w.CmTNO(10).left(), 4445.8, 0.05);
            EXPECT_NEAR(w.CmTNO(11).top(), 640.6, 0.05);
            EXPECT_NEAR(w.CmTNO(40).top(), 1621.9, 0.05);
            EXPECT_NEAR(w.CmdSelFH.left(), 1747.2, 0.05);
            EXPECT_NEAR(w.CmdSelFH.top(), 2352.6, 0.05);
            EXPECT_DOUBLE_EQ(w.left(), 10380);
            EXPECT_DOUBLE_EQ(w.top(), 5370);
        }
        EXPECT_FALSE(w.FrmSelect.visible());
        EXPECT_FALSE(w.FrmKSXX.visible());
        EXPECT_FALSE(w.FrmZXH.visible());
        EXPECT_FALSE(w.ImgZXH.visible());

        // Faces keep their pictures' sizes; the exam set lies on the practice set.
        EXPECT_DOUBLE_EQ(w.ImgGN(0).left(), 90 * sc);
        EXPECT_DOUBLE_EQ(w.ImgGN(0).top(), 15 * sc);
        EXPECT_DOUBLE_EQ(w.ImgGN(0).width(), 58 * 15 * sc);
        EXPECT_DOUBLE_EQ(w.ImgGN(3).width(), 615);  // no picture: design size
        EXPECT_DOUBLE_EQ(w.ImgGN(3).height(), 375);
        EXPECT_DOUBLE_EQ(w.ImgGN(3).left(), 3030 * sc);
        for (int i = 8; i <= 10; ++i) {
            EXPECT_DOUBLE_EQ(w.ImgGN(i).left(), w.ImgGN(i - 3).left());
            EXPECT_DOUBLE_EQ(w.ImgGN(i).top(), 2355 * sc);
        }
        for (int i = 0; i <= 10; ++i) {
            EXPECT_DOUBLE_EQ(w.CmdGN(i).left(), w.ImgGN(i).left());
            EXPECT_DOUBLE_EQ(w.CmdGN(i).top(), w.ImgGN(i).top());
            EXPECT_DOUBLE_EQ(w.CmdGN(i).width(), w.ImgGN(i).width());
            EXPECT_DOUBLE_EQ(w.CmdGN(i).height(), w.ImgGN(i).height());
        }
        EXPECT_DOUBLE_EQ(w.ImgDown.left(), 6000 * sc);
        EXPECT_DOUBLE_EQ(w.ImgMove.left(), 6030 * sc);

        // Text, status row and buttons.
        EXPECT_DOUBLE_EQ(w.RtbTM.left(), 90 * sc);
        EXPECT_DOUBLE_EQ(w.RtbTM.top(), 450 * sc);
        EXPECT_DOUBLE_EQ(w.RtbTM.width(), 4770 * sc);
        EXPECT_DOUBLE_EQ(w.RtbTM.fontSize(), 11 * sc);
        EXPECT_DOUBLE_EQ(w.PicUnit.left(), 90 * sc);
        EXPECT_DOUBLE_EQ(w.PicUnit.top(), 2760 * sc);
        EXPECT_DOUBLE_EQ(w.PicUnit.width(), 4080 * sc);
        EXPECT_DOUBLE_EQ(w.PTime.height(), 285 * sc);
        EXPECT_DOUBLE_EQ(w.CmdEn.left() + w.CmdEn.width(), w.LblIME.left() + w.LblIME.width());
        EXPECT_DOUBLE_EQ(w.Command2.left(), (810 - 645 * sc) / 2);
        EXPECT_DOUBLE_EQ(w.KsSFZ1.top(), 120 * sc + 5 * 315 * sc);
        EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8("剩余50分钟"));
        EXPECT_DOUBLE_EQ(w.LblTimeJD.width(), 0);
        EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));
        EXPECT_EQ(w.DemoSpeed, 1);
    }
}

TEST_F(QuestionWindowTest, LoadMarksQuestionOneOpened) {
    struct Case { int16_t before, after; } cases[] = {{0, 1}, {2, 3}, {1, 1}, {3, 3}, {5, 5}, {7, 7}, {4, 5}};
    for (const auto& c : cases) {
        unloadAllForms();
        useList(qwtest::unitList(0, 3), 3);
        s().CurrentQuestion = 2;  // the rule is for question 1 whatever the current one
        s().QuestionState[1] = c.before;
        tm();
        EXPECT_EQ(s().QuestionState[1], c.after) << c.before;
    }
}

TEST_F(QuestionWindowTest, EveryLoadStartsAtDemoSpeedOne) {
    useList(qwtest::unitList(0, 3), 3);
    tm().DemoSpeed = 2;
    unloadAllForms();
    EXPECT_EQ(tm().DemoSpeed, 1);  // loaded again
    EXPECT_FALSE(tm().showInTaskbar());
    EXPECT_FALSE(frmPicture()().showInTaskbar());
}

TEST(QuestionTitleTest, PerListKind) {
    SessionState st;
    st.CurrentQuestion = 5;
    st.QuestionCount = 12;
    st.QuestionId[5] = 5;
    st.SetNo = 2;
    st.ReviewUnit = 2;
    struct Case { int16_t kind; const char* result; std::optional<QString> title; } cases[] = {
        {ListPaper, "F", QString::fromUtf8("name 3套第5题(0105)")},
        {ListPaperWrong, "F", QString::fromUtf8("name 错3-5/12(0105)(未完成)")},
        {ListUnitWrong, "F", QString::fromUtf8("name 错5/12(0105)(未完成)")},
        {ListFlagged, "T", QString::fromUtf8("name 标5/12(0105)(已完成)")},
        {ListUnit, "F", QString::fromUtf8("name 3单元5/12题(未完成)")},
        {ListUnit, "", QString::fromUtf8("name 3单元5/12题(已完成)")},
        {7, "F", std::nullopt},
    };
    for (const auto& c : cases) {
        st.ListKind = c.kind;
        st.QuestionResult[5] = c.result;
        EXPECT_EQ(questionTitle(st, "name"), c.title) << c.kind;
    }
    st.QuestionId[5] = 1904;
    st.ListKind = ListPaper;
    EXPECT_EQ(questionTitle(st, "M"), QString::fromUtf8("M 3套第5题(2004)"));
}

TEST(UnsolvedListTest, ListsQuestionsNotAnswered) {
    SessionState st;
    st.QuestionCount = 5;
    st.QuestionState = {0, 0, 5, 3, 2, 4};  // question 1..5
    EXPECT_EQ(unsolvedList(st), QString::fromUtf8("未完成的题目 1 3 4"));
    st.QuestionState = {0, 4, 5, 6, 7, 4};
    EXPECT_EQ(unsolvedList(st), QString::fromUtf8("未完成的题目"));
    st.QuestionCount = 40;
    st.QuestionState = {};
    QString all = QString::fromUtf8("未完成的题目");
    for (int i = 1; i <= 40; ++i) all += " " + QString::number(i);
    EXPECT_EQ(unsolvedList(st), all);
}

TEST_F(QuestionWindowTest, QuestionTextNavigationAndPictureOffer) {
    picture(config().dataFile("000123"), 100, 80);
    useList({"000102第一行|第二行", "000202picture000123看图|保留竖线", "000302picture999999缺图"}, 4);
    FrmTm& w = tm();
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("第一行\r\n第二行"));
    EXPECT_FALSE(w.Image2.visible());
    EXPECT_FALSE(w.CmdGN(0).enabled());
    EXPECT_TRUE(w.CmdGN(1).enabled());
    EXPECT_EQ(w.LblBiao.caption(), QString::fromUtf8("字处理 1单元1/4题(未完成)"));
    EXPECT_EQ(w.LblUnit.caption(), QString::fromUtf8("未完成的题目 1 2 3 4"));

    s().CurrentQuestion = 2;
    w.DqExam();
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("看图|保留竖线"));
    EXPECT_TRUE(w.Image2.visible());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));
    EXPECT_EQ(frmPicture()().Image1.picture().widthPixels(), 100);
    EXPECT_FALSE(frmPicture()().visible());
    EXPECT_TRUE(w.CmdGN(0).enabled());
    EXPECT_TRUE(w.CmdGN(1).enabled());

    // A missing picture keeps the old one; the button is still offered.
    s().CurrentQuestion = 3;
    w.DqExam();
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("缺图"));
    EXPECT_TRUE(w.Image2.visible());
    EXPECT_EQ(frmPicture()().Image1.picture().widthPixels(), 100);

    // No line for the question: an empty text, not the previous one.
    s().CurrentQuestion = 4;
    w.DqExam();
    EXPECT_EQ(w.RtbTM.text(), "");
    EXPECT_FALSE(w.Image2.visible());
    EXPECT_TRUE(w.CmdGN(0).enabled());
    EXPECT_FALSE(w.CmdGN(1).enabled());
    EXPECT_EQ(s().QuestionLine, "");

    s().QuestionCount = 1;
    s().CurrentQuestion = 1;
    w.DqExam();
    EXPECT_FALSE(w.CmdGN(0).enabled());
    EXPECT_FALSE(w.CmdGN(1).enabled());

    // A list kind without a title leaves the caption.
    s().ListKind = 7;
    const QString title = w.LblBiao.caption();
    w.DqExam();
    EXPECT_EQ(w.LblBiao.caption(), title);
}

TEST_F(QuestionWindowTest, LongQuestionTextIsCutForDisplay) {
    // A megabyte without a break opportunity: what is shown stops at the
    // display limit.
    const QString huge(1 << 20, u'x');
    useList({"000102" + huge, "000202picture000123" + huge}, 2);
    FrmTm& w = tm();
    EXPECT_EQ(w.RtbTM.text(), huge.left(MaxShownText));
    s().CurrentQuestion = 2;
    w.DqExam();
    EXPECT_EQ(w.RtbTM.text(), huge.left(MaxShownText));
    // The stored line stays whole.
    EXPECT_EQ(s().QuestionLine.size(), 19 + huge.size());
}

TEST_F(QuestionWindowTest, QuestionLoadRestoresSceneStepAndMode) {
    picture(config().dataFile("310001"), 40, 30);
    picture(config().dataFile("320001"), 10, 10);
    useList(qwtest::unitList(0, 3), 3);
    s().QuestionPictures[2] = {"310001", "320001", "", "399999", "", "", "320001"};
    s().QuestionStep[2] = 3;
    s().QuestionState[2] = 2;
    FrmTm& w = tm();
    qwtest::PracticeStandIn& pw = qwtest::practice()();
    d.advance(100);  // the set-up of the load
    const int setUps = pw.setUps;
    pw.setWindowState(StateMinimized);
    s().RunMode = RunGuided;

    s().CurrentQuestion = 2;
    w.DqExam();
    EXPECT_EQ(pw.picture().widthPixels(), 40);
    EXPECT_EQ(pw.overlays[1]->picture().widthPixels(), 10);
    EXPECT_TRUE(pw.overlays[2]->picture().isNull());
    EXPECT_TRUE(pw.overlays[3]->picture().isNull());
    EXPECT_EQ(pw.overlays[6]->picture().widthPixels(), 10);
    EXPECT_EQ(s().CurrentStep, 3);
    EXPECT_EQ(s().QuestionState[2], 3);
    EXPECT_EQ(s().RunMode, RunPractice);
    EXPECT_EQ(pw.windowState(), StateNormal);
    EXPECT_TRUE(pw.visible());
    EXPECT_TRUE(pw.setUp.enabled());
    d.advance(100);
    EXPECT_EQ(pw.setUps, setUps + 1);

    w.DqExam();
    EXPECT_EQ(s().QuestionState[2], 3);  // opened once

    // A paper being practised re-arms the button set; a mock exam does not.
    s().ListKind = ListPaper;
    w.TimKsModel.setEnabled(false);
    s().RunMode = RunExam;
    w.DqExam();
    EXPECT_EQ(s().RunMode, RunExam);
    EXPECT_FALSE(w.TimKsModel.enabled());
    s().RunMode = RunGuided;
    w.DqExam();
    EXPECT_EQ(s().RunMode, RunPractice);
    EXPECT_TRUE(w.TimKsModel.enabled());
}

TEST_F(QuestionWindowTest, ReloadAndButtonSetTimers) {
    unitSession();
    FrmTm& w = tm();
    s().CurrentQuestion = 2;
    d.advance(99);
    EXPECT_TRUE(w.RtbTM.text().startsWith(QString::fromUtf8("第0单元第1题")));
    EXPECT_TRUE(w.TimerREDO.enabled());
    d.advance(1);
    EXPECT_TRUE(w.RtbTM.text().startsWith(QString::fromUtf8("第0单元第2题")));
    EXPECT_FALSE(w.TimerREDO.enabled());

    for (int i = 5; i <= 10; ++i) EXPECT_TRUE(w.CmdGN(i).visible());
    d.advance(399);
    EXPECT_TRUE(w.CmdGN(8).visible());
    d.advance(1);
    for (int i = 5; i <= 10; ++i) {
        EXPECT_EQ(w.ImgGN(i).visible(), i <= 7) << i;
        EXPECT_EQ(w.CmdGN(i).visible(), i <= 7) << i;
    }
    EXPECT_TRUE(w.PicUnit.visible());
    EXPECT_FALSE(w.TimKsModel.enabled());
    for (int i = 0; i <= 4; ++i) EXPECT_TRUE(w.CmdGN(i).visible());

    // The exam set.
    s().RunMode = RunExam;
    w.TimKsModel.setEnabled(true);
    d.advance(500);
    for (int i = 5; i <= 10; ++i) EXPECT_EQ(w.CmdGN(i).visible(), i > 7) << i;
    EXPECT_FALSE(w.PicUnit.visible());
}

TEST_F(QuestionWindowTest, ExamClockCountsDownToZeroOnce) {
    useList(qwtest::unitList(0, 3), 40, ListPaper);
    size_t shownAtHandIn = 0;
    handInConfirmation().open = [&] {
        ++handInOpened;
        shownAtHandIn = d.ui.shown.size();
    };
    FrmTm& w = tm();
    d.advance(49 * 60000);
    EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8("剩余1分钟"));
    EXPECT_DOUBLE_EQ(w.LblTimeJD.width(), 49 * w.PTime.width() / 50);
    EXPECT_EQ(handInOpened, 0);

    d.ui.expectMsgBox(QString::fromUtf8("时间已到，自动交卷！"), MrOk);
    d.advance(60000);
    EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8("剩余0分钟"));
    EXPECT_DOUBLE_EQ(w.LblTimeJD.width(), w.PTime.width());
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].title, QString::fromUtf8("字处理"));
    EXPECT_EQ(d.ui.shown[0].style, MbOkOnly);
    EXPECT_EQ(handInOpened, 1);
    EXPECT_EQ(shownAtHandIn, 1u);  // after the message

    d.advance(5 * 60000);
    EXPECT_EQ(s().MinutesLeft, 0);
    EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8("剩余0分钟"));
    EXPECT_EQ(handInOpened, 1);
    EXPECT_EQ(d.ui.shown.size(), 1u);
}

TEST_F(QuestionWindowTest, ExamClockLeavesAnOpenHandInAlone) {
    useList(qwtest::unitList(0, 3), 40, ListPaper);
    s().MinutesLeft = 1;
    handInOpen = true;
    tm();
    d.ui.expectMsgBox(QString::fromUtf8("时间已到"), MrOk);
    d.advance(60000);
    EXPECT_EQ(handInOpened, 0);
    EXPECT_FALSE(d.ui.pending());
}

TEST_F(QuestionWindowTest, PracticeListsStopTheClock) {
    unitSession();
    FrmTm& w = tm();
    d.advance(60000);
    EXPECT_FALSE(w.TimeKS.enabled());
    EXPECT_EQ(s().MinutesLeft, 50);
    EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8("剩余50分钟"));
}

TEST_F(QuestionWindowTest, MinimiseAndRestoreDockAtThePracticeWindow) {
    unitSession();
    FrmTm& w = tm();
    Form& pw = qwtest::practice()();
    d.click(w.LblZXH);
    EXPECT_DOUBLE_EQ(w.width(), 810);
    EXPECT_DOUBLE_EQ(w.height(), 870);
    EXPECT_DOUBLE_EQ(w.left(), pw.left());
    EXPECT_DOUBLE_EQ(w.top(), pw.top() + pw.height() - 870);
    EXPECT_TRUE(w.FrmZXH.visible());

    // Hover faces of the restore button.
    d.hover(w.Command2);
    EXPECT_EQ(w.Command2.borderStyle(), 1);
    d.hover(w, 20, 850);
    EXPECT_EQ(w.Command2.borderStyle(), 0);

    // Drag the bar elsewhere; the statements after the move run when it ends.
    d.hover(w.Command2);
    pw.setWindowState(StateMinimized);
    d.press(w, 100, 100);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], &w);
    EXPECT_EQ(w.Command2.borderStyle(), 1);
    EXPECT_EQ(pw.windowState(), StateMinimized);
    w.move(300, 300);
    endMoves();
    EXPECT_EQ(w.Command2.borderStyle(), 0);
    EXPECT_EQ(pw.windowState(), StateNormal);
    d.release(w, 100, 100);

    // Restore: full size at the practice window's bottom-right corner.
    pw.setWindowState(StateMinimized);
    d.click(w.Command2);
    EXPECT_DOUBLE_EQ(w.width(), 4980);
    EXPECT_DOUBLE_EQ(w.height(), 3630);
    EXPECT_DOUBLE_EQ(w.left(), pw.left() + pw.width() - 4980);
    EXPECT_DOUBLE_EQ(w.top(), pw.top() + pw.height() - 3630);
    EXPECT_FALSE(w.FrmZXH.visible());
    EXPECT_EQ(pw.windowState(), StateNormal);
}

TEST_F(QuestionWindowTest, DragStripAndActivationHandBack) {
    unitSession();
    FrmTm& w = tm();
    Form& pw = qwtest::practice()();

    pw.setWindowState(StateMinimized);
    d.press(w, 1000, 200, RightButton);  // no move, the practice window comes forward
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(pw.windowState(), StateNormal);
    d.release(w, 1000, 200, RightButton);

    pw.setWindowState(StateMinimized);
    d.press(w, 1000, 200);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(pw.windowState(), StateMinimized);
    endMoves();
    EXPECT_EQ(pw.windowState(), StateNormal);
    d.release(w, 1000, 200);

    // Without a window mover the statements after the move run at once.
    windows().startWindowMove = nullptr;
    pw.setWindowState(StateMinimized);
    d.press(w, 1000, 200);
    EXPECT_EQ(pw.windowState(), StateNormal);
    d.release(w, 1000, 200);

    // A key released on the window hands the activation back.
    w.setActiveControl(nullptr);
    pw.setWindowState(StateMinimized);
    d.key(w, 65);
    EXPECT_EQ(pw.windowState(), StateNormal);
}

TEST_F(QuestionWindowTest, HoverFacesTextSelectionAndUnitTooltip) {
    unitSession();
    FrmTm& w = tm();
    d.hover(w.LblZXH);
    EXPECT_TRUE(w.ImgZXH.visible());
    w.ImgDown.setLeft(90);
    w.ImgMove.setLeft(1020);
    d.hover(w, 2000, 450 + 2740);  // the bare main panel
    EXPECT_FALSE(w.ImgZXH.visible());
    EXPECT_DOUBLE_EQ(w.ImgDown.left(), 6000);
    EXPECT_DOUBLE_EQ(w.ImgMove.left(), 6030);

    d.hover(w.LblZXH);
    d.hover(w, 4500, 420);  // the bare title strip
    EXPECT_FALSE(w.ImgZXH.visible());

    // The question text never keeps a selection.
    w.RtbTM.setSelStart(0);
    w.RtbTM.setSelLength(3);
    d.dblClick(w.RtbTM);
    EXPECT_EQ(w.RtbTM.selLength(), 0);
    w.RtbTM.setSelLength(3);
    d.drag(w, 200, 1000, 1500, 1200);
    EXPECT_EQ(w.RtbTM.selLength(), 0);

    d.hover(w.LblUnit);
    EXPECT_EQ(w.LblUnit.toolTipText(), w.LblUnit.caption());
    EXPECT_TRUE(w.LblUnit.toolTipText().startsWith(QString::fromUtf8("未完成的题目 1 2")));
}

TEST_F(QuestionWindowTest, CloseIsRefusedUntilAllowed) {
    // The guard is of the program's unloads (a close by the desktop acts as
    // the end button: see the desktop-close tests).
    unitSession();
    EXPECT_FALSE(tm().unload());
    EXPECT_TRUE(tmLoaded());

    // The end of practice allows it; the next session guards again.
    s().AllowCloseQuestion = true;
    EXPECT_TRUE(tm().unload());
    EXPECT_FALSE(tmLoaded());
    qwtest::cover()();
    windows().startUnit(0);
    EXPECT_FALSE(s().AllowCloseQuestion);
    EXPECT_FALSE(tm().unload());
    EXPECT_TRUE(tmLoaded());
}

TEST_F(QuestionWindowTest, PicturePopupToggles) {
    picture(config().dataFile("000123"), 100, 80);
    useList({"000102picture000123看图", "000202第二题"}, 2);
    FrmTm& w = tm();
    FrmPicture& pop = frmPicture()();
    d.advance(100);
    EXPECT_FALSE(pop.visible());

    d.click(w.Image2);
    EXPECT_TRUE(pop.visible());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("隐藏图片"));
    d.advance(100);
    EXPECT_DOUBLE_EQ(pop.width(), 1500 + 120);
    EXPECT_DOUBLE_EQ(pop.height(), 1200 + 120);
    EXPECT_DOUBLE_EQ(pop.left(), (1024 * 15 - pop.width()) / 2);
    EXPECT_DOUBLE_EQ(pop.top(), (768 * 15 - pop.height()) / 2);
    EXPECT_DOUBLE_EQ(pop.Image1.left(), 60);
    EXPECT_TRUE(pop.topmost());
    EXPECT_FALSE(pop.Timer1.enabled());

    // The popup drags by its picture.
    d.press(pop, 300, 300);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], &pop);
    endMoves();
    d.release(pop, 300, 300);

    d.click(w.Image2);
    EXPECT_FALSE(pop.visible());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));

    // A question load hides a shown popup and resets the button.
    d.click(w.Image2);
    ASSERT_TRUE(pop.visible());
    reload();
    EXPECT_FALSE(pop.visible());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));
}


TEST_F(QuestionWindowTest, RealPracticeWindowDocksTheQuestionWindowAtItsLoad) {
    engine::registerPracticeWindow();
    write(unitProgressFile(), {"FFFFFFFFFFFF"});
    windows().startUnit(0);
    ASSERT_TRUE(engine::frmMain().loaded());
    FrmTm& w = tm();
    Form& pw = engine::frmMain()();
    EXPECT_TRUE(w.visible());
    EXPECT_TRUE(pw.visible());
    EXPECT_DOUBLE_EQ(w.left(), pw.left() + pw.width() - w.width());
    EXPECT_DOUBLE_EQ(w.top(), pw.top() + pw.height() - w.height());
    EXPECT_TRUE(pw.timer("Timer2").enabled());

    // Minimise and restore against the real window.
    d.click(w.LblZXH);
    EXPECT_DOUBLE_EQ(w.left(), pw.left());
    d.click(w.Command2);
    EXPECT_DOUBLE_EQ(w.left(), pw.left() + pw.width() - w.width());
}

TEST_F(QuestionWindowTest, CandidatePanelShowsTheCandidateDataOfTheLoad) {
    struct Candidate { const char *name, *seat, *session, *admission, *idCard; } runs[] = {
        {"张三", "07", "18", "888888", "110101199001011234"},
        {"李四", "23", "18", "888888", "110101199001015678"},
    };
    for (const auto& c : runs) {
        SCOPED_TRACE(c.name);
        unloadAllForms();
        useList(qwtest::unitList(0, 3), 40, ListPaper);
        s().CandidateName = QString::fromUtf8(c.name);
        s().SeatNo = c.seat;
        s().SessionNo = c.session;
        s().AdmissionNo = c.admission;
        s().IdCardNo = c.idCard;
        FrmTm& w = tm();
        w.show();
        d.advance(500);  // the exam set
        d.click(w.CmdGN(9));
        ASSERT_TRUE(w.FrmKSXX.visible());

        // Each value sits on its caption's row.
        const Control* values[] = {&w.KsName1, &w.KsZWH1, &w.KsCC1, &w.KsDAH1, &w.KsKM1, &w.KsSFZ1};
        const QString expected[] = {QString::fromUtf8(c.name), c.seat, c.session, c.admission,
                                    QString::fromUtf8("字处理"), c.idCard};
        for (int k = 0; k <= 5; ++k) {
            EXPECT_EQ(values[k]->caption(), expected[k]) << k;
            EXPECT_TRUE(values[k]->shown()) << k;
            EXPECT_DOUBLE_EQ(values[k]->top(), w.Label1(k).top()) << k;
        }
        EXPECT_EQ(w.LblName.caption(), QString::fromUtf8(c.name));
    }
}

TEST_F(QuestionWindowTest, ClockCountsForPapersWhateverTheRunMode) {
    struct Case { int16_t listKind, runMode; bool counts; } cases[] = {
        {ListPaper, RunExam, true},      {ListPaper, RunPractice, true},  // the answer was viewed
        {ListUnit, RunExam, false},      {ListPaperWrong, RunPractice, false},
        {ListFlagged, RunGuided, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.listKind << " " << c.runMode);
        unloadAllForms();
        useList(qwtest::unitList(0, 3), 3, c.listKind);
        FrmTm& w = tm();
        s().RunMode = c.runMode;
        d.advance(2 * 60000);
        EXPECT_EQ(s().MinutesLeft, c.counts ? 48 : 50);
        EXPECT_EQ(w.LblTime.caption(), QString::fromUtf8(c.counts ? "剩余48分钟" : "剩余50分钟"));
        EXPECT_EQ(w.TimeKS.enabled(), c.counts);
    }
}

TEST_F(QuestionWindowTest, DemonstrationButtonArmsTheStartAndShowsTheDemonstrationAtTheSecondTick) {
    picture(config().dataFile("000123"), 100, 80);
    useList({"000102第一行|第二行", "000202picture000123看图|保留竖线"}, 2);
    FrmTm& w = tm();
    qwtest::PracticeStandIn& pw = qwtest::practice()();
    d.advance(600);  // set-up and button set
    std::vector<int> shown;
    windows().showDemonstration = [&](int16_t speed) {
        EXPECT_FALSE(w.visible());
        EXPECT_FALSE(pw.visible());
        shown.push_back(speed);
    };
    w.show();
    pw.show();

    // A left click: the text as stored, "|" kept; speed 1.
    ASSERT_TRUE(w.CmdGN(7).shown());
    d.click(w.CmdGN(7));
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("第一行|第二行"));
    EXPECT_FALSE(w.Image2.visible());
    EXPECT_TRUE(s().DemoRunning);
    EXPECT_TRUE(w.TimStartYS.enabled());
    d.advance(100);
    EXPECT_TRUE(shown.empty()) << "shown at the first tick";
    EXPECT_TRUE(w.visible());
    d.advance(100);
    ASSERT_EQ(shown, std::vector<int>{1});
    EXPECT_FALSE(w.TimStartYS.enabled());
    EXPECT_EQ(w.DemoStartTicks, 0);
    EXPECT_TRUE(s().DemoRunning);
    d.advance(1000);
    EXPECT_EQ(shown.size(), 1u);

    // The reload after the demonstration shows the line breaks again.
    windows().reloadQuestionLater();
    d.advance(100);
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("第一行\r\n第二行"));

    // A picture question, started with the right button: the text from its
    // 14th character and the picture button; speed 2.
    w.show();
    s().CurrentQuestion = 2;
    d.rightClick(w.CmdGN(7));
    EXPECT_EQ(w.DemoSpeed, 2);
    EXPECT_EQ(w.RtbTM.text(), QString::fromUtf8("看图|保留竖线"));
    EXPECT_TRUE(w.Image2.visible());
    EXPECT_EQ(w.Image2.caption(), QString::fromUtf8("显示图片"));
    d.advance(200);
    EXPECT_EQ(shown, (std::vector<int>{1, 2}));
}

TEST_F(QuestionWindowTest, DemonstrationSpeedFollowsTheReleaseOfButtonSeven) {
    useList(qwtest::unitList(0, 3), 3);
    FrmTm& w = tm();
    d.advance(600);
    std::vector<int> shown;
    windows().showDemonstration = [&](int16_t speed) { shown.push_back(speed); };
    d.click(w.CmdGN(7));
    d.advance(200);
    d.click(w.CmdGN(7), LeftButton, ShiftMod);
    d.advance(200);
    d.click(w.CmdGN(7), LeftButton, CtrlMod | AltMod);
    d.advance(200);
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 2}));

    // An unreadable question list leaves the line and the text as they were.
    const QString line = s().QuestionLine, text = w.RtbTM.text();
    s().QuestionFile = config().dataFile("nosuch");
    d.click(w.CmdGN(7));
    EXPECT_EQ(s().QuestionLine, line);
    EXPECT_EQ(w.RtbTM.text(), text);
}

TEST_F(QuestionWindowTest, WithoutADemonstrationWindowThePracticeGoesOn) {
    useList(qwtest::unitList(0, 3), 3);
    FrmTm& w = tm();
    qwtest::PracticeStandIn& pw = qwtest::practice()();
    d.advance(600);
    w.show();
    pw.show();
    windows().startDemonstration();
    EXPECT_TRUE(s().DemoRunning);
    d.advance(200);
    EXPECT_FALSE(s().DemoRunning);
    EXPECT_TRUE(w.visible());
    EXPECT_TRUE(pw.visible());
}
