// The mock exam: login, the hand-in and view-answer dialogs, the score report
// and the reviews it starts.
#include "question_window_fixture.h"

#include <QFile>

#include "core/hand_cursor.h"
#include "core/keys.h"
#include "core/pictures.h"
#include "session/end_practice.h"
#include "session/frm_chengji.h"
#include "session/frm_end.h"

using namespace core;
using namespace session;

namespace {

const QDateTime kMorning(QDate(2024, 3, 5), QTime(9, 0, 0));

struct ExamTest : qwtest::Fixture {
    int demoStarts = 0;
    int demoStops = 0;

    void SetUp() override {
        Fixture::SetUp();
        registerExamDialogs();
        windows().showCover = [] { qwtest::cover()().show(); };
        windows().startDemonstration = [this] { ++demoStarts; };
        windows().stopDemonstration = [this] { ++demoStops; };
        pf->clock = kMorning;
    }

    FrmLogon& logon() { return frmLogon()(); }
    qwtest::PracticeStandIn& pw() { return qwtest::practice()(); }

    // The login of paper k, centred.
    FrmLogon& openLogin(int paper = 0) {
        windows().startPaperExam(paper);
        EXPECT_TRUE(frmLogon().loaded());
        d.advance(100);
        return logon();
    }
    // A running exam of paper k: logged in, question 1 loaded, exam buttons.
    FrmTm& startExam(int paper = 0) {
        FrmLogon& l = openLogin(paper);
        d.click(l.CmdLog);
        d.advance(700);
        EXPECT_FALSE(frmLogon().loaded());
        d.advance(500);
        EXPECT_TRUE(tm().CmdGN(8).visible());
        return tm();
    }
    bool docked() {
        return tm().left() == pw().left() + pw().width() - tm().width() &&
               tm().top() == pw().top() + pw().height() - tm().height();
    }
    // Both confirmations answered "交卷".
    void expectHandIn() {
        d.ui.expectModal("FrmEnd1", [this](Form&) { d.click(frmEnd1()().Command1); });
        d.ui.expectModal("FrmEnd2", [this](Form&) { d.click(frmEnd2()().Command1); });
    }
    void handIn() {
        expectHandIn();
        d.click(tm().CmdGN(8));
        ASSERT_FALSE(d.ui.pending());
    }
    // The score report of a finished exam of paper k with these states (the
    // paper's questions are those of the fixture's catalogue).
    FrmChengji& report(int paper, const std::array<int16_t, 41>& states, const QDateTime& start = kMorning) {
        s().SetNo = static_cast<int16_t>(paper);
        s().ListKind = ListPaper;
        s().QuestionCount = 40;
        s().PaperCount = 4;
        s().QuestionState = states;
        s().ExamStartTime = start;
        s().QuestionFile = questionListFile(paper);
        const auto catalogue = PaperCatalog::read();
        const QString codes = catalogue ? catalogue->paperCodes(paper) : QString();
        for (int i = 1; i <= 40; ++i) s().QuestionId[i] = codeAt(codes, i);
        return frmChengji()();
    }
    static std::array<int16_t, 41> statesOf(int16_t value) {
        std::array<int16_t, 41> a{};
        a.fill(value);
        return a;
    }
    QStringList history() { return read(scoreHistoryFile()); }
};

} // namespace

// ---------------------------------------------------------------- login

TEST(LoginRules, EntriesAreBroughtToTheirWidths) {
    const struct {
        const char* entry;
        const char* seat;
    } seats[] = {{"", "00"}, {"7", "07"}, {"07", "07"}, {"123", "23"}, {" 5 ", "05"}, {"18", "18"}};
    for (const auto& c : seats) EXPECT_EQ(seatNumber(QString::fromUtf8(c.entry)), QString::fromUtf8(c.seat)) << c.entry;

    const QString sample = QString::fromLatin1(kSampleIdCard);
    EXPECT_EQ(idCardNumber(""), sample);
    EXPECT_EQ(idCardNumber("123456789012345"), sample.left(3) + "123456789012345");
    EXPECT_EQ(idCardNumber("123456789012345"), sample.right(3) + "123456789012345");
    EXPECT_EQ(idCardNumber("1234567890"), sample.right(8) + "1234567890");
    EXPECT_EQ(idCardNumber("12345678901234567X"), "12345678901234567X");
    EXPECT_EQ(idCardNumber("  42  "), sample.right(16) + "42");

    EXPECT_EQ(loginDate(QDate(2024, 3, 5)), QString::fromUtf8("2024年03月05日"));
    EXPECT_EQ(loginDate(QDate(2031, 12, 24)), QString::fromUtf8("2031年12月24日"));
}

TEST(LoginRules, IdentityKeyFilter) {
    const struct {
        int key, lengthBefore, passed;
    } cases[] = {
        {'0', 0, '0'},  {'9', 17, '9'}, {8, 18, 8},        {'X', 17, 'X'}, {'x', 18, 'x'},
        {'X', 5, 0},    {'x', 16, 0},   {'A', 17, 0},      {'y', 17, 0},   {' ', 3, 0},
        {13, 3, 0},     {27, 3, 0},     {0x4E2D, 3, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(idCardKey(c.key, c.lengthBefore), c.passed) << c.key << " " << c.lengthBefore;
}

TEST_F(ExamTest, LoginLeadsIntoTheExam) {
    s().CandidateName = QString::fromUtf8("张三");
    FrmLogon& l = openLogin(3);
    EXPECT_TRUE(l.Picture1.visible());
    EXPECT_FALSE(l.Picture2.visible());
    EXPECT_DOUBLE_EQ(l.Picture1.left(), (l.width() - 12000) / 2);
    EXPECT_DOUBLE_EQ(l.Picture1.top(), (l.height() - 9000) / 2);
    EXPECT_DOUBLE_EQ(l.Picture2.left(), l.Picture1.left());
    EXPECT_EQ(s().ScriptFile, stepScriptFile(3));
    EXPECT_EQ(s().QuestionFile, questionListFile(3));

    // The entries, as a candidate types them: the identity box drops a
    // letter until it holds 17 characters.
    d.click(l.TxtZwh);
    l.TxtZwh.setSelStart(0);
    l.TxtZwh.setSelLength(2);
    d.type(l.TxtZwh, "7");
    d.click(l.TxtSFZ);
    l.TxtSFZ.setSelStart(0);
    l.TxtSFZ.setSelLength(18);
    d.type(l.TxtSFZ, "12345x67890123456");
    EXPECT_EQ(l.TxtSFZ.text(), "1234567890123456");
    d.type(l.TxtSFZ, "7X");
    EXPECT_EQ(l.TxtSFZ.text(), "12345678901234567X");

    d.click(l.CmdLog);
    EXPECT_FALSE(l.Picture1.visible());
    EXPECT_TRUE(l.Picture2.visible());
    EXPECT_EQ(s().SeatNo, "07");
    EXPECT_EQ(s().SessionNo, "18");
    EXPECT_EQ(s().IdCardNo, "12345678901234567X");
    EXPECT_EQ(s().AdmissionNo, "888888");
    EXPECT_FALSE(s().AllowCloseQuestion);
    EXPECT_EQ(l.LblName.caption(), QString::fromUtf8("张三"));
    EXPECT_EQ(l.LblZwh.caption(), "07");
    EXPECT_EQ(l.LblCC.caption(), "18");
    EXPECT_EQ(l.LblKm.caption(), QString::fromUtf8("字处理"));
    EXPECT_EQ(l.LblSfz.caption(), "12345678901234567X");
    EXPECT_EQ(l.LblDah.caption(), "888888");
    EXPECT_EQ(l.LblDate.caption(), QString::fromUtf8("2024年03月05日"));

    // The bar passes the strip on the 7th tick; the exam starts then, and its
    // start time is taken then.
    pf->clock = kMorning.addSecs(5);
    d.advance(600);
    ASSERT_TRUE(frmLogon().loaded());
    EXPECT_DOUBLE_EQ(l.LJD.width(), 255 + 6 * 1500);
    EXPECT_FALSE(tmLoaded());
    d.advance(100);
    EXPECT_FALSE(frmLogon().loaded());
    EXPECT_EQ(s().ExamStartTime, kMorning.addSecs(5));
    ASSERT_TRUE(tmLoaded());
    EXPECT_TRUE(tm().visible());
    EXPECT_TRUE(pw().visible());
    EXPECT_TRUE(tm().TimeKS.enabled());
    d.advance(100);
    EXPECT_EQ(pw().setUps, 1);
    EXPECT_EQ(s().CurrentQuestion, 1);
    d.advance(500);
    for (int i = 5; i <= 10; ++i) EXPECT_EQ(tm().CmdGN(i).visible(), i >= 8) << i;
    EXPECT_EQ(tm().KsZWH1.caption(), "07");
    EXPECT_EQ(tm().KsSFZ1.caption(), "12345678901234567X");
    EXPECT_EQ(tm().KsCC1.caption(), "18");
}

TEST_F(ExamTest, QuitQuestionOnTheLoginPage) {
    FrmLogon& l = openLogin(0);
    const QString seat = l.TxtZwh.text(), id = l.TxtSFZ.text();
    const QString list = s().QuestionFile;

    d.ui.expectMsgBox(QString::fromUtf8("确实要退出考试系统吗？"), MrNo);
    d.click(l.CmdExit);
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].title, QString::fromUtf8("Tesmar软件"));
    EXPECT_EQ(d.ui.shown[0].style, MbYesNo | MbQuestion | MbDefaultButton2);
    ASSERT_TRUE(frmLogon().loaded());
    EXPECT_TRUE(l.Picture1.visible());
    EXPECT_FALSE(l.Picture2.visible());
    EXPECT_EQ(l.TxtZwh.text(), seat);
    EXPECT_EQ(l.TxtSFZ.text(), id);
    EXPECT_FALSE(qwtest::cover().loaded());

    // A close by the desktop asks the same question.
    d.ui.expectMsgBox(QString::fromUtf8("确实要退出考试系统吗？"), MrNo);
    l.requestClose();
    EXPECT_TRUE(frmLogon().loaded());

    d.ui.expectMsgBox(QString::fromUtf8("确实要退出考试系统吗？"), MrYes);
    d.click(l.CmdExit);
    EXPECT_FALSE(frmLogon().loaded());
    EXPECT_TRUE(qwtest::cover().loaded());
    EXPECT_FALSE(tmLoaded());
    EXPECT_EQ(s().QuestionFile, list);
    EXPECT_FALSE(d.ui.pending());
}

TEST_F(ExamTest, LoginHotAreasShowThePointingHand) {
    FrmLogon& l = openLogin(0);
    for (Control* area : {&l.CmdLog, &l.CmdExit}) {
        SCOPED_TRACE(area->name().toStdString());
        EXPECT_EQ(area->mousePointer(), PtrCustom);
        EXPECT_EQ(area->mouseIcon(), handCursorFile());
        EXPECT_TRUE(readCursorFile(area->mouseIcon()).ok);
    }
}

TEST_F(ExamTest, MissingPagePicturesLeavePlainWorkingPages) {
    // The fixture's module has no 9l0056/9l0057.
    FrmLogon& l = openLogin(0);
    EXPECT_TRUE(l.Picture1.picture().isNull());
    d.click(l.CmdLog);
    d.advance(700);
    EXPECT_TRUE(tmLoaded());
}

// ---------------------------------------------------------------- hand-in

TEST(HandInRules, AttentionOverAllFortyStates) {
    for (int16_t state = 0; state <= 7; ++state)
        EXPECT_EQ(needsAttention(state), state % 2 == 0 || state == 3 || state == 7) << state;

    const QString justAsk = "\n" + QString::fromUtf8("您是否确定交卷?");
    const QString warn = QString::fromUtf8("您还有题目未做或仍处于标识状态！\n\n您是否确定交卷?");
    SessionState st;
    for (int i = 1; i <= 40; ++i) st.QuestionState[i] = 1;
    EXPECT_EQ(handInQuestion(st), justAsk);  // all opened, none answered, none flagged
    for (int16_t v : {5, 1}) {
        st.QuestionState[40] = v;
        EXPECT_EQ(handInQuestion(st), justAsk) << v;
    }
    for (int16_t v : {0, 2, 3, 4, 6, 7}) {
        st.QuestionState[40] = v;  // also beyond QuestionCount
        st.QuestionCount = 12;
        EXPECT_EQ(handInQuestion(st), warn) << v;
    }
}

TEST_F(ExamTest, ContinueBringsTheWindowBackDocked) {
    FrmTm& w = startExam();
    const struct {
        const char* how;
        std::function<void(Form&)> act;
    } ways[] = {
        {"继续考试", [this](Form&) { d.click(frmEnd1()().Command2); }},
        {"close box", [](Form& f) { f.requestClose(); }},
        {"Esc", [this](Form& f) { d.key(f, KeyEscape); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        bool awayAndHidden = false;
        d.ui.expectModal("FrmEnd1", [&](Form& f) {
            awayAndHidden = !w.visible() && w.left() == 0 && w.top() == 0;
            EXPECT_EQ(frmEnd1()().Label1.caption(), QString::fromUtf8("您还有题目未做或仍处于标识状态！\n\n您是否确定交卷?"));
            way.act(f);
        });
        d.click(w.CmdGN(8));
        EXPECT_FALSE(d.ui.pending());
        EXPECT_TRUE(awayAndHidden);
        EXPECT_FALSE(frmEnd1().loaded());
        EXPECT_TRUE(w.visible());
        EXPECT_TRUE(docked());
    }

    // From the second confirmation, by its button and by its close box.
    for (int k = 0; k < 2; ++k) {
        d.ui.expectModal("FrmEnd1", [this](Form&) { d.click(frmEnd1()().Command1); });
        d.ui.expectModal("FrmEnd2", [this, k](Form& f) {
            EXPECT_EQ(frmEnd2()().activeControl(), &frmEnd2()().Command2);
            if (k == 0) d.click(frmEnd2()().Command2);
            else f.requestClose();
        });
        d.click(w.CmdGN(8));
        EXPECT_FALSE(d.ui.pending());
        EXPECT_TRUE(w.visible());
        EXPECT_TRUE(docked());
        EXPECT_FALSE(frmChengji().loaded());
    }
    EXPECT_TRUE(tmLoaded());
    EXPECT_TRUE(w.TimeKS.enabled());
}

TEST_F(ExamTest, ClockAtZeroOpensTheConfirmationOnce) {
    FrmTm& w = startExam();
    s().MinutesLeft = 1;

    // During the candidate's own confirmation: the message, no second one.
    d.ui.expectModal("FrmEnd1", [this](Form&) {
        d.ui.expectMsgBox(QString::fromUtf8("时间已到，自动交卷！"), MrOk);
        d.advance(60000);
        EXPECT_TRUE(frmEnd1().loaded());
        d.click(frmEnd1()().Command2);
    });
    d.click(w.CmdGN(8));
    EXPECT_FALSE(d.ui.pending());
    EXPECT_TRUE(docked());

    // Later ticks bring nothing more.
    d.advance(10 * 60000);
    EXPECT_FALSE(d.ui.pending());
}

TEST_F(ExamTest, ClockAtZeroThenHandInGivesTheScoreReport) {
    FrmTm& w = startExam();
    s().MinutesLeft = 1;
    d.ui.expectMsgBox(QString::fromUtf8("时间已到，自动交卷！"), MrOk);
    bool visibleAtOpen = false;
    d.ui.expectModal("FrmEnd1", [&](Form&) {
        visibleAtOpen = w.visible();
        d.click(frmEnd1()().Command1);
    });
    d.ui.expectModal("FrmEnd2", [this](Form&) { d.click(frmEnd2()().Command1); });
    d.advance(60000);
    EXPECT_FALSE(d.ui.pending());
    EXPECT_TRUE(visibleAtOpen);
    EXPECT_FALSE(tmLoaded());
    EXPECT_FALSE(qwtest::practice().loaded());
    ASSERT_TRUE(frmChengji().loaded());
    EXPECT_TRUE(frmChengji()().visible());
    EXPECT_TRUE(s().AllowCloseQuestion);
    EXPECT_TRUE(s().SessionEnded);
    EXPECT_EQ(demoStops, 1);

    // No clock tick reaches a window after the hand-in.
    const size_t prompts = d.ui.shown.size();
    d.advance(100);
    d.advance(60 * 60000);
    EXPECT_FALSE(tmLoaded());
    EXPECT_EQ(d.ui.shown.size(), prompts);
}

TEST_F(ExamTest, HandInWithKeys) {
    FrmTm& w = startExam();
    // Enter answers the focused button: "交卷" in the first, "继续考试" in the second.
    d.ui.expectModal("FrmEnd1", [this](Form& f) {
        EXPECT_EQ(f.activeControl(), &frmEnd1()().Command1);
        d.key(f, KeyReturn);
    });
    d.ui.expectModal("FrmEnd2", [this](Form& f) { d.key(f, KeyReturn); });
    d.click(w.CmdGN(8));
    EXPECT_FALSE(d.ui.pending());
    EXPECT_FALSE(frmChengji().loaded());
    EXPECT_TRUE(docked());
}

// ---------------------------------------------------------------- view answer

TEST_F(ExamTest, ViewAnswerTurnsTheExamIntoPractice) {
    FrmTm& w = startExam(1);
    write(scoreHistoryFile(), {"", "", "", "2023-01-01 08:00:00", "80", "x"});

    // Closing it any way leaves the exam alone.
    for (int k = 0; k < 4; ++k) {
        d.ui.expectModal("FrmCZTS", [this, k](Form& f) {
            FrmCZTS& v = frmCZTS()();
            EXPECT_TRUE(f.topmost());
            switch (k) {
            case 0: d.click(v.Command1); break;
            case 1: d.click(v.Label2); break;
            case 2: d.click(f, 100, 4300); break;  // the background
            default:
                d.ui.expectMsgBox(QString::fromUtf8("您现在就要看答案吗？"), MrNo);
                d.click(v.Command2);
                EXPECT_TRUE(frmCZTS().loaded());
                d.key(f, KeyEscape);
            }
        });
        d.click(w.CmdGN(10));
        EXPECT_FALSE(d.ui.pending());
        EXPECT_FALSE(frmCZTS().loaded());
        EXPECT_EQ(s().RunMode, RunExam);
        EXPECT_TRUE(s().ExamStartTime.isValid());
    }
    EXPECT_EQ(demoStarts, 0);

    d.ui.expectModal("FrmCZTS", [this](Form&) {
        d.ui.expectMsgBox(QString::fromUtf8("立即看答案将不能测试您的实际水平"), MrYes);
        d.click(frmCZTS()().Command2);
    });
    pw().hide();
    d.click(w.CmdGN(10));
    EXPECT_FALSE(d.ui.pending());
    const auto& box = d.ui.shown.back();
    EXPECT_EQ(box.title, QString::fromUtf8("不建议您立即看答案"));
    EXPECT_EQ(box.style, MbYesNo);
    EXPECT_EQ(s().RunMode, RunPractice);
    EXPECT_FALSE(s().ExamStartTime.isValid());
    EXPECT_FALSE(s().AllowCloseQuestion);
    EXPECT_FALSE(frmCZTS().loaded());
    EXPECT_TRUE(pw().visible());
    EXPECT_EQ(demoStarts, 1);
    EXPECT_FALSE(s().DemoRunning);
    EXPECT_TRUE(w.PicUnit.visible());
    for (int i = 5; i <= 10; ++i) {
        EXPECT_EQ(w.CmdGN(i).visible(), i <= 7) << i;
        EXPECT_EQ(w.ImgGN(i).visible(), i <= 7) << i;
    }

    // The clock still counts; at 0 the hand-in records the time, not the score.
    const int16_t left = s().MinutesLeft;
    d.advance(60000);
    EXPECT_EQ(s().MinutesLeft, left - 1);
    s().MinutesLeft = 1;
    for (int i = 1; i <= 40; ++i) s().QuestionState[i] = 5;
    pf->clock = kMorning.addSecs(3000);
    d.ui.expectMsgBox(QString::fromUtf8("时间已到"), MrOk);
    expectHandIn();
    d.advance(60000);
    EXPECT_FALSE(d.ui.pending());
    ASSERT_TRUE(frmChengji().loaded());
    EXPECT_EQ(frmChengji()().Label1.caption(), QString::fromUtf8("第2套得分：100分"));
    const QStringList h = history();
    ASSERT_GE(h.size(), 6);
    EXPECT_EQ(h[3], "2024-03-05 09:50:00");
    EXPECT_EQ(h[4], "80");
}

TEST_F(ExamTest, TimeUpWhileTheViewAnswerQuestionIsOpen) {
    // The clock reaches zero while "您现在就要看答案吗？" waits for its answer;
    // the candidate hands in, and the question answered afterwards brings
    // nothing of the ended exam back over the score report.
    for (int answer : {MrYes, MrNo}) {
        SCOPED_TRACE(answer);
        demoStarts = 0;
        FrmTm& w = startExam();
        s().MinutesLeft = 1;
        d.ui.expectModal("FrmCZTS", [&](Form&) {
            d.ui.expectMsgBox(QString::fromUtf8("您现在就要看答案吗？"), answer, [&] {
                d.ui.expectMsgBox(QString::fromUtf8("时间已到"), MrOk);
                expectHandIn();
                d.advance(60000);
                EXPECT_TRUE(frmChengji().loaded());
            });
            d.click(frmCZTS()().Command2);
        });
        d.click(w.CmdGN(10));
        EXPECT_FALSE(d.ui.pending());
        d.advance(1000);
        EXPECT_FALSE(frmCZTS().loaded());
        EXPECT_FALSE(tmLoaded());
        EXPECT_FALSE(qwtest::practice().loaded());
        ASSERT_TRUE(frmChengji().loaded());
        EXPECT_TRUE(frmChengji()().visible());
        EXPECT_EQ(demoStarts, 0);
        EXPECT_FALSE(s().DemoRunning);
        EXPECT_EQ(s().RunMode, RunExam);
        d.click(frmChengji()().Command2);  // back to the cover for the next case
        ASSERT_TRUE(qwtest::cover().loaded());
    }
}

TEST_F(ExamTest, TheClocksHandInClosesTheViewAnswerWarningFirst) {
    // The time runs out while the view-answer warning, and maybe its
    // question, is open: both are gone before the time-up message shows,
    // and the question's late answer changes nothing, whether the candidate
    // then hands in or goes back to the exam.
    const struct {
        bool question;
        bool handIn;
    } cases[] = {{false, true}, {true, true}, {true, false}};
    const QString timeUp = QString::fromUtf8("时间已到，自动交卷！");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "question " << c.question << ", hand-in " << c.handIn);
        demoStarts = 0;
        FrmTm& w = startExam();
        s().MinutesLeft = 1;
        bool warningAtTimeUp = true, warningAtConfirmation = true;
        QStringList boxesAtTimeUp, boxesAtConfirmation;
        auto runOut = [&] {
            d.ui.expectMsgBox(timeUp, MrOk, [&] {
                warningAtTimeUp = frmCZTS().loaded();
                boxesAtTimeUp = d.ui.openMsgBoxes();
            });
            d.ui.expectModal("FrmEnd1", [&](Form&) {
                warningAtConfirmation = frmCZTS().loaded();
                boxesAtConfirmation = d.ui.openMsgBoxes();
                d.click(c.handIn ? frmEnd1()().Command1 : frmEnd1()().Command2);
            });
            if (c.handIn) d.ui.expectModal("FrmEnd2", [this](Form&) { d.click(frmEnd2()().Command1); });
            d.advance(60000);
        };
        d.ui.expectModal("FrmCZTS", [&](Form&) {
            if (!c.question) return runOut();
            // Yes would turn the exam into practice, were it still asked.
            d.ui.expectMsgBox(QString::fromUtf8("您现在就要看答案吗？"), MrYes, runOut);
            d.click(frmCZTS()().Command2);
        });
        d.click(w.CmdGN(10));
        EXPECT_FALSE(d.ui.pending());
        EXPECT_FALSE(warningAtTimeUp);
        EXPECT_EQ(boxesAtTimeUp, QStringList{timeUp});
        EXPECT_FALSE(warningAtConfirmation);
        EXPECT_EQ(boxesAtConfirmation, QStringList{});
        EXPECT_FALSE(frmCZTS().loaded());
        EXPECT_EQ(demoStarts, 0);
        EXPECT_EQ(s().RunMode, RunExam);
        if (!c.handIn) {
            EXPECT_TRUE(tm().visible());
            EXPECT_TRUE(docked());
            EXPECT_TRUE(tm().CmdGN(8).visible());
            handIn();
        }
        ASSERT_TRUE(frmChengji().loaded());
        d.click(frmChengji()().Command2);  // back to the cover for the next case
        ASSERT_TRUE(qwtest::cover().loaded());
    }
}

TEST_F(ExamTest, FinalHandInEndsTheSessionCleanly) {
    FrmTm& w = startExam();
    s().MinutesLeft = 1;
    // A help page open (a modal session dialog), and in it the view-answer
    // warning when the time runs out; the hand-in closes all of them.
    struct Help : Form {
        Help() : Form("FrmIME") {}
    };
    FormSlot<Help> help;
    d.ui.expectModal("FrmIME", [&](Form&) {
        d.ui.expectModal("FrmCZTS", [&](Form&) {
            d.ui.expectMsgBox(QString::fromUtf8("时间已到"), MrOk);
            expectHandIn();
            d.advance(60000);
            EXPECT_FALSE(frmCZTS().loaded());
            EXPECT_FALSE(help.loaded());
        });
        d.click(w.CmdGN(10));
    });
    help().show(true);
    EXPECT_FALSE(d.ui.pending());
    EXPECT_FALSE(help.loaded());
    EXPECT_FALSE(frmCZTS().loaded());
    EXPECT_FALSE(tmLoaded());
    EXPECT_TRUE(frmChengji()().visible());
    EXPECT_TRUE(s().SessionEnded);
    // "继续考试" of a dialog left over makes no fresh question window.
    continueExam();
    EXPECT_FALSE(tmLoaded());
}

// ---------------------------------------------------------------- score report

TEST(ScoreRules, ScoresInHalfPoints) {
    const struct {
        int halves;
        const char* text;
    } cases[] = {{0, "0"}, {5, "2.5"}, {10, "5"}, {75, "37.5"}, {195, "97.5"}, {200, "100"}};
    for (const auto& c : cases) EXPECT_EQ(halfPointsText(c.halves), c.text);
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(halfPointsText(5), "2.5");
    EXPECT_EQ(scoreLine(11, 75), QString::fromUtf8("第12套得分：37.5分"));
    QLocale::setDefault(QLocale::c());

    SessionState st;
    st.QuestionState[1] = 4;
    st.QuestionState[2] = 7;
    st.QuestionState[3] = 3;
    st.QuestionState[40] = 5;
    EXPECT_EQ(scoreHalfPoints(st), 15);

    EXPECT_EQ(scoreTooltipText(QString::fromUtf8("010203设置字体")), QString::fromUtf8("设置字体"));
    EXPECT_EQ(scoreTooltipText(QString::fromUtf8("010203picture000123看图|第二行")), QString::fromUtf8("看图|第二行"));
}

TEST_F(ExamTest, ScoreReportGridAndRecords) {
    // Paper 0 of the fixture: codes 0001..0012, then again from 0001.
    const QString paper = qwtest::paperLine(0, 12);
    std::array<int16_t, 41> states = statesOf(1);
    states[1] = 5;
    states[2] = 7;   // answered and flagged
    states[3] = 3;   // flagged
    states[12] = 4;
    states[40] = 6;  // answered, flagged, not opened
    write(flaggedListFile(), {"0003" "0500" "06"});
    write(scoreHistoryFile(), {"", "10", "keep", "t1", "55", "k1", "t2", "", "", "t3", "", "", "extra1", "extra2"});
    write(questionListFile(0), {QString::fromUtf8("000102第一题|第二行"), QString::fromUtf8("000202picture000123看图")});

    FrmChengji& c = report(0, states);
    EXPECT_EQ(c.Label1.caption(), QString::fromUtf8("第1套得分：10分"));
    EXPECT_EQ(c.ScoreHalves, 20);
    for (int i = 1; i <= 40; ++i) {
        const bool right = states[i] >= 4;
        EXPECT_EQ(c.CmTNO(i).backColor(), right ? 65280u : 255u) << i;
        EXPECT_EQ(c.CmTNO(i).caption(), QString::number(i));
        EXPECT_TRUE(c.CmTNO(i).fontBold());
        EXPECT_DOUBLE_EQ(c.CmTNO(i).left(), ((i - 1) % 10) * 430.0);
        EXPECT_DOUBLE_EQ(c.CmTNO(i).top(), ((i - 1) / 10) * 430.0);
    }
    EXPECT_DOUBLE_EQ(c.Frame1.width(), 9 * 430 + 430 + 30);
    EXPECT_DOUBLE_EQ(c.Frame1.height(), 3 * 430 + 430 + 30);
    EXPECT_DOUBLE_EQ(c.Command3.left(), 2880);
    EXPECT_DOUBLE_EQ(c.Command2.width(), 1095);
    EXPECT_DOUBLE_EQ(c.Label1.left(), 5010);

    // Wrong list: the paper's codes of the questions below state 4.
    QString wrong;
    for (int i = 1; i <= 40; ++i)
        if (states[i] < 4) wrong += paper.mid(4 * (i - 1), 4);
    EXPECT_EQ(read(wrongListFile(0)), QStringList{wrong});

    // Flagged: 0002 is added, 0003 is not added twice, the short piece goes,
    // an earlier code stays; question 40 (code 0004) was flagged too.
    EXPECT_EQ(read(flaggedListFile()), QStringList{"000305000002" "0004"});

    // History: the start time, the better score; 3 x PaperCount lines and an
    // empty one.
    EXPECT_EQ(history(), (QStringList{"2024-03-05 09:00:00", "10", "keep", "t1", "55", "k1", "t2", "", "", "t3", "", "", ""}));
    EXPECT_FALSE(s().ExamStartTime.isValid());

    // Tooltips.
    EXPECT_EQ(c.CmTNO(1).toolTipText(), QString::fromUtf8("第1题： 第一题|第二行"));
    EXPECT_EQ(c.CmTNO(2).toolTipText(), QString::fromUtf8("第2题： 看图"));
    EXPECT_EQ(c.CmTNO(3).toolTipText(), QString::fromUtf8("第3题： "));

    // Centred on the first tick; nothing to report.
    d.advance(100);
    EXPECT_DOUBLE_EQ(c.Picture1.left(), (c.width() - 12000) / 2);
    EXPECT_TRUE(d.ui.shown.empty());
}

TEST_F(ExamTest, BestScoreKeptOrReplaced) {
    const struct {
        const char* what;
        int16_t state;           // of every question
        const char* storedBest;
        bool practised;          // the answer was viewed
        const char* timeLine;
        const char* bestLine;
    } cases[] = {
        {"full score", 4, "97.5", false, "2024-03-05 09:00:00", "100"},
        {"equal", 4, "100", false, "2024-03-05 09:00:00", "100"},
        {"lower", 1, "2.5", false, "2024-03-05 09:00:00", "2.5"},
        {"zero over empty", 1, "", false, "2024-03-05 09:00:00", ""},
        {"answer viewed", 5, "40", true, "2024-03-05 10:30:00", "40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write(scoreHistoryFile(), {"", "", "", "", "", "", "old", QString::fromUtf8(c.storedBest), "z"});
        pf->clock = kMorning.addSecs(5400);
        FrmChengji& r = report(2, statesOf(c.state), c.practised ? QDateTime() : kMorning);
        const QStringList h = history();
        ASSERT_EQ(h.size(), 13);
        EXPECT_EQ(h[6], QString::fromUtf8(c.timeLine));
        EXPECT_EQ(h[7], QString::fromUtf8(c.bestLine));
        EXPECT_EQ(h[8], "z");
        EXPECT_EQ(h[12], "");
        const bool full = c.state >= 4;
        EXPECT_EQ(r.Label1.caption(), QString::fromUtf8(full ? "第3套得分：100分" : "第3套得分：0分"));
        EXPECT_EQ(read(wrongListFile(2)), QStringList{full ? QString() : qwtest::paperLine(2, 4)});
        r.unload();
    }
}

TEST_F(ExamTest, ScoreReportNeverLosesTheResult) {
    // No flagged list, no history: read as empty and created.
    FrmChengji& a = report(0, statesOf(5));
    EXPECT_EQ(a.Label1.caption(), QString::fromUtf8("第1套得分：100分"));
    EXPECT_EQ(read(flaggedListFile()), QStringList{""});
    EXPECT_EQ(history().size(), 13);
    a.unload();

    // No catalogue: the stored wrong list stays.
    write(wrongListFile(0), {"0007"});
    QFile::rename(paperCatalogFile(), paperCatalogFile() + ".away");
    report(0, statesOf(1)).unload();
    EXPECT_EQ(read(wrongListFile(0)), QStringList{"0007"});
    QFile::rename(paperCatalogFile() + ".away", paperCatalogFile());

    // A paper line without 40 codes: the same.
    write(paperCatalogFile(), {"0403", "120504", qwtest::paperLine(0, 12).left(150)});
    report(0, statesOf(1)).unload();
    EXPECT_EQ(read(wrongListFile(0)), QStringList{"0007"});

    // A history that cannot be read is neither rewritten nor lost; the
    // score still shows, and the failure is reported once, on the shown page.
    QFile::remove(scoreHistoryFile());
    QFile::remove(flaggedListFile());
    ASSERT_TRUE(QDir().mkpath(scoreHistoryFile()));
    ASSERT_TRUE(QDir().mkpath(flaggedListFile()));
    FrmChengji& c = report(0, statesOf(5));
    EXPECT_EQ(c.Label1.caption(), QString::fromUtf8("第1套得分：100分"));
    EXPECT_EQ(c.CmTNO(40).backColor(), 65280u);
    EXPECT_TRUE(d.ui.shown.empty());
    d.ui.expectMsgBox(QString::fromUtf8(kRecordsNotSaved), MrOk);
    d.advance(100);
    EXPECT_FALSE(d.ui.pending());
    d.advance(1000);
    EXPECT_EQ(d.ui.shown.size(), 1u);
    EXPECT_TRUE(QFileInfo(scoreHistoryFile()).isDir());
}

TEST_F(ExamTest, ReviewOfTheWholePaper) {
    FrmTm& w = startExam();
    s().QuestionState[2] = 7;
    s().QuestionState[3] = 5;
    s().CurrentQuestion = 17;
    handIn();
    FrmChengji& c = frmChengji()();
    const int16_t minutes = s().MinutesLeft;
    (void)w;
    d.ui.shown.clear();

    d.click(c.Command1);
    EXPECT_FALSE(frmChengji().loaded());
    ASSERT_TRUE(tmLoaded());
    FrmTm& r = tm();
    EXPECT_TRUE(r.visible());
    EXPECT_TRUE(pw().visible());
    EXPECT_TRUE(docked());
    EXPECT_FALSE(r.TimeKS.enabled());
    EXPECT_EQ(s().RunMode, RunPractice);
    EXPECT_EQ(s().ListKind, ListPaper);
    EXPECT_EQ(s().SetNo, 0);
    EXPECT_EQ(s().ReviewUnit, 0);
    EXPECT_FALSE(s().AllowCloseQuestion);
    EXPECT_FALSE(s().SessionEnded);
    EXPECT_EQ(s().QuestionResult[3], "F");

    d.advance(100);
    EXPECT_EQ(s().CurrentQuestion, 1);
    EXPECT_TRUE(r.RtbTM.text().startsWith(QString::fromUtf8("第0单元第1题")));
    d.advance(500);
    for (int i = 5; i <= 10; ++i) EXPECT_EQ(r.CmdGN(i).visible(), i <= 7) << i;
    EXPECT_EQ(s().QuestionState[2], 7);
    EXPECT_EQ(s().QuestionState[3], 5);
    d.advance(120 * 60000);
    EXPECT_EQ(s().MinutesLeft, minutes);
    EXPECT_TRUE(d.ui.shown.empty());
}

TEST_F(ExamTest, ReviewOfTheWrongQuestionsAndTheWayOut) {
    startExam(2);  // paper 2: the four questions of unit 2, ten times
    for (int i = 1; i <= 40; ++i) s().QuestionState[i] = (i % 4 == 2) ? 1 : 5;
    handIn();
    EXPECT_EQ(read(wrongListFile(2)), QStringList{QString("0202").repeated(10)});

    d.click(frmChengji()().Command3);
    EXPECT_FALSE(frmChengji().loaded());
    ASSERT_TRUE(tmLoaded());
    EXPECT_EQ(s().QuestionCount, 10);
    EXPECT_EQ(s().ListKind, ListPaperWrong);
    EXPECT_EQ(s().SetNo, 17);
    EXPECT_EQ(s().ReviewUnit, 2);
    EXPECT_EQ(s().QuestionFile, questionListFile(ReviewSlot));
    EXPECT_FALSE(tm().TimeKS.enabled());
    d.advance(100);
    EXPECT_TRUE(tm().RtbTM.text().startsWith(QString::fromUtf8("第2单元第2题")));
    EXPECT_FALSE(tm().CmTNO(11).visible());

    // Another exam, all right: no wrong questions to review; then out.
    tm().EndPractice();
    ASSERT_TRUE(qwtest::cover().loaded());
    startExam(1);
    for (int i = 1; i <= 40; ++i) s().QuestionState[i] = 5;
    handIn();
    EXPECT_EQ(read(wrongListFile(1)), QStringList{""});
    // Not the cover's text, which would tell a full score it may be a 0.
    d.ui.expectMsgBox(QString::fromUtf8("本次考试没有错题。"), MrOk);
    d.click(frmChengji()().Command3);
    ASSERT_FALSE(d.ui.shown.empty());
    EXPECT_EQ(d.ui.shown.back().text, QString::fromUtf8("本次考试没有错题。"));
    EXPECT_EQ(d.ui.shown.back().style, MbOkOnly);
    EXPECT_TRUE(frmChengji().loaded());
    EXPECT_FALSE(tmLoaded());
    d.click(frmChengji()().Command2);
    EXPECT_FALSE(frmChengji().loaded());
    EXPECT_TRUE(qwtest::cover().loaded());
    EXPECT_FALSE(qwtest::practice().loaded());
    EXPECT_FALSE(d.ui.pending());
}
