// Every top-level window of the program closed as the desktop closes it
// (the taskbar, the window switcher, Alt+F4: the view turns that into the
// form's requestClose). Whatever the window and the moment, the program keeps
// a visible window, a session never keeps one of its two windows alone, and
// nothing is handed in, ended or written that the candidate did not ask for.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <map>

#include "core/forms.h"
#include "core/state.h"
#include "core/ui.h"
#include "core/windows.h"
#include "cover/frm_about.h"
#include "cover/frm_fengmian.h"
#include "demo/frm_yanshi.h"
#include "e2e/module_fixture.h"
#include "engine/frm_main.h"
#include "session/frm_chengji.h"
#include "session/frm_end.h"
#include "session/frm_ime.h"
#include "session/frm_logon.h"
#include "session/frm_picture.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "support/driver.h"

namespace {

using core::Form;
using core::MrNo;
using core::MrYes;

class DesktopClose;
struct CloseCase;
void PrintTo(const CloseCase& c, std::ostream* os);

struct CloseCase {
    const char* name;
    // Brings the program to the moment and closes the window (through
    // closeByDesktop), answering what the close brings up.
    std::function<void(DesktopClose&)> run;
    // The windows shown once the program has settled.
    std::vector<QString> shownAfter;
    // The close is the candidate's end of practice: the records are written.
    bool writes = false;
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class DesktopClose : public e2e::ModuleFixture, public ::testing::WithParamInterface<CloseCase> {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        if (HasFatalFailure()) return;
        nothingSolved();
        core::windows().exitProgram = [this](int code) { exitCode = code; };
    }

public:
    testsupport::Driver& d() { return driver(); }
    static core::SessionState& s() { return core::session(); }
    using e2e::ModuleFixture::records;

    static std::vector<QString> shownWindows() {
        std::vector<QString> out;
        for (Form* f : core::loadedForms())
            if (f->visible()) out.push_back(f->name());
        std::sort(out.begin(), out.end());
        return out;
    }

    // The rule, at any moment after a desktop close.
    void checkRule(const char* when) {
        SCOPED_TRACE(when);
        const std::vector<QString> shown = shownWindows();
        EXPECT_FALSE(shown.empty()) << "no window left";
        const bool tm = session::frmTm().loaded() && session::frmTm().peek()->visible();
        const bool main = engine::frmMain().loaded() && engine::frmMain().peek()->visible();
        // The hand-in hides the question window behind its confirmation.
        if (!core::boxOpen()) {
            EXPECT_EQ(tm, main) << "one window of the session alone";
        }
        if (!GetParam().writes) {
            EXPECT_EQ(records(), recordsBefore) << "records written";
        }
        if (!scoreBefore) {
            EXPECT_FALSE(session::frmChengji().loaded()) << "handed in";
        }
    }

    // The desktop closes f: the view's close of a window the user closed.
    void closeByDesktop(Form& f) {
        recordsBefore = records();
        scoreBefore = session::frmChengji().loaded();
        ++closes;
        f.requestClose();
        checkRule("right after the close");
    }

    // The window manager minimises f: the view writes the new state back.
    static void minimiseByDesktop(Form& f) { f.setWindowState(core::StateMinimized); }

    void startProgram() {
        session::frmStart()();
        d().advance(200);
        ASSERT_TRUE(cover::frmFengmian().loaded());
    }
    // A unit practised, question q loaded, its buttons chosen.
    void practise(int unit = 0, int question = 1) { ASSERT_TRUE(openQuestion(unit, question, 600)); }
    session::FrmLogon& openLogin() {
        cover::FrmFengmian& c = cover::frmFengmian()();
        d().click(c.LblKaCH);
        d().click(c.LblStartKs[0]);
        d().advance(100);
        return session::frmLogon()();
    }
    void sitExam() {
        startProgram();
        session::FrmLogon& l = openLogin();
        d().click(l.CmdLog);
        d().advance(700);
        ASSERT_TRUE(session::frmTm().loaded());
        d().advance(600);
        ASSERT_TRUE(tm().CmdGN(8).shown());
    }
    static session::FrmTm& tm() { return session::frmTm()(); }
    static engine::FrmMain& practice() { return engine::frmMain()(); }
    void expectQuitQuestion(int answer) {
        d().ui.expectMsgBox(QString::fromUtf8(cover::kQuitQuestion), answer);
    }
    // The hand-in confirmation that a close opens, answered "继续考试".
    void expectHandInContinued() {
        d().ui.expectModal("FrmEnd1", [this](Form&) {
            EXPECT_FALSE(tm().visible());
            d().click(session::frmEnd1()().Command2);
        });
    }

    int exitCode = -1;
    int closes = 0;
    std::map<QString, QByteArray> recordsBefore;
    bool scoreBefore = false;
};

const QString kCover = "FrmFengmian", kMain = "FrmMain", kTm = "FrmTm", kLogon = "FrmLogon";

const CloseCase kCases[] = {
    {"Splash",
     [](DesktopClose& t) {
         session::frmStart()().show();
         t.closeByDesktop(session::frmStart()());
         EXPECT_TRUE(session::frmStart().loaded());
         t.d().advance(200);
         t.recordsBefore = t.records();  // what the cover's load writes
     },
     {kCover}},
    {"CoverAnsweredNo",
     [](DesktopClose& t) {
         t.startProgram();
         t.expectQuitQuestion(MrNo);
         t.closeByDesktop(cover::frmFengmian()());
         ASSERT_FALSE(t.d().ui.shown.empty());
         EXPECT_EQ(t.d().ui.shown.back().title, QString::fromUtf8(cover::kQuitTitle));
         EXPECT_EQ(t.d().ui.shown.back().style, core::MbYesNo | core::MbQuestion | core::MbDefaultButton2);
         EXPECT_EQ(t.exitCode, -1);
     },
     {kCover}},
    {"CoverAnsweredYes",
     [](DesktopClose& t) {
         t.startProgram();
         t.expectQuitQuestion(MrYes);
         t.closeByDesktop(cover::frmFengmian()());
         EXPECT_EQ(t.exitCode, 0);
     },
     {kCover}},
    {"CoverWithInformationPanel",
     [](DesktopClose& t) {
         t.startProgram();
         cover::FrmFengmian& c = cover::frmFengmian()();
         t.d().click(c.LblPro[1]);
         ASSERT_TRUE(c.PicPro.visible());
         t.closeByDesktop(c);
         EXPECT_FALSE(c.PicPro.visible());
     },
     {kCover}},
    {"AboutBox",
     [](DesktopClose& t) {
         t.startProgram();
         t.d().ui.expectModal("FrmAbout", [&t](Form& f) { t.closeByDesktop(f); });
         t.d().click(cover::frmFengmian()().LblAbout);
         EXPECT_FALSE(cover::frmAbout().loaded());
     },
     {kCover}},
    {"LoginAnsweredNo",
     [](DesktopClose& t) {
         t.startProgram();
         session::FrmLogon& l = t.openLogin();
         t.expectQuitQuestion(MrNo);
         t.closeByDesktop(l);
         EXPECT_TRUE(l.Picture1.visible());
     },
     {kLogon}},
    {"LoginAnsweredYes",
     [](DesktopClose& t) {
         t.startProgram();
         t.expectQuitQuestion(MrYes);
         t.closeByDesktop(t.openLogin());
         EXPECT_FALSE(session::frmTm().loaded());
     },
     {kCover}},
    {"LoginConfirmationPage",
     [](DesktopClose& t) {
         t.startProgram();
         session::FrmLogon& l = t.openLogin();
         t.d().click(l.CmdLog);
         t.closeByDesktop(l);
         t.d().advance(700);
     },
     {kMain, kTm}},
    {"PracticeWindowInAUnit",
     [](DesktopClose& t) {
         t.practise();
         t.closeByDesktop(t.practice());
         EXPECT_FALSE(session::frmTm().loaded());
         EXPECT_FALSE(engine::frmMain().loaded());
     },
     {kCover}, true},
    {"QuestionWindowInAUnit",
     [](DesktopClose& t) {
         t.practise();
         t.closeByDesktop(t.tm());
         EXPECT_FALSE(session::frmTm().loaded());
     },
     {kCover}, true},
    {"QuestionWindowMinimisedByTheDesktop",
     [](DesktopClose& t) {
         t.practise();
         t.minimiseByDesktop(t.tm());
         t.closeByDesktop(t.tm());
         EXPECT_TRUE(session::frmTm().loaded());
         EXPECT_EQ(t.tm().windowState(), core::StateMinimized);
     },
     {kMain, kTm}},
    {"PracticeWindowWithTheQuestionWindowMinimised",
     [](DesktopClose& t) {
         t.practise();
         t.d().click(t.tm().LblZXH);
         t.closeByDesktop(t.practice());
         t.closeByDesktop(t.tm());
         EXPECT_TRUE(t.tm().FrmZXH.visible());
     },
     {kMain, kTm}},
    {"QuestionWindowWithTheGridOpen",
     [](DesktopClose& t) {
         t.practise();
         t.d().click(t.tm().CmdGN(4));
         t.closeByDesktop(t.tm());
         t.closeByDesktop(t.practice());
         EXPECT_TRUE(t.tm().FrmSelect.visible());
     },
     {kMain, kTm}},
    {"PicturePopup",
     [](DesktopClose& t) {
         t.practise(3, 9);
         t.d().click(t.tm().Image2);
         session::FrmPicture& pop = session::frmPicture()();
         ASSERT_TRUE(pop.visible());
         t.closeByDesktop(pop);
         EXPECT_FALSE(pop.visible());
         EXPECT_EQ(t.tm().Image2.caption(), QString::fromUtf8(session::kShowPicture));
         t.d().click(t.tm().Image2);
         EXPECT_TRUE(pop.visible());
         t.d().click(t.tm().Image2);
     },
     {kMain, kTm}},
    {"InputMethodHelp",
     [](DesktopClose& t) {
         t.practise();
         t.d().ui.expectModal("FrmIME", [&t](Form& f) { t.closeByDesktop(f); });
         t.d().click(t.tm().CmdEn);
         EXPECT_FALSE(t.tm().FrmZXH.visible());
         EXPECT_EQ(t.tm().height(), 3630);
     },
     {kMain, kTm}},
    {"Demonstration",
     [](DesktopClose& t) {
         t.practise();
         t.d().click(t.tm().CmdGN(7));
         t.d().advance(200);
         ASSERT_TRUE(demo::frmYanShi().loaded());
         t.closeByDesktop(demo::frmYanShi()());
         t.d().advance(1000);
         EXPECT_FALSE(demo::frmYanShi().loaded());
         EXPECT_FALSE(t.s().DemoRunning);
     },
     {kMain, kTm}},
    {"PracticeWindowInAnExam",
     [](DesktopClose& t) {
         t.sitExam();
         t.expectHandInContinued();
         t.closeByDesktop(t.practice());
     },
     {kMain, kTm}},
    {"QuestionWindowInAnExam",
     [](DesktopClose& t) {
         t.sitExam();
         t.expectHandInContinued();
         t.closeByDesktop(t.tm());
     },
     {kMain, kTm}},
    {"SessionWindowsWhileTheHandInIsAsked",
     [](DesktopClose& t) {
         t.sitExam();
         t.d().ui.expectModal("FrmEnd1", [&t](Form&) {
             t.closeByDesktop(t.practice());
             t.closeByDesktop(t.tm());
             t.d().click(session::frmEnd1()().Command2);
         });
         t.d().click(t.tm().CmdGN(8));
     },
     {kMain, kTm}},
    {"HandInConfirmations",
     [](DesktopClose& t) {
         t.sitExam();
         t.d().ui.expectModal("FrmEnd1", [&t](Form& f) { t.closeByDesktop(f); });
         t.d().click(t.tm().CmdGN(8));
         t.d().ui.expectModal("FrmEnd1", [&t](Form&) { t.d().click(session::frmEnd1()().Command1); });
         t.d().ui.expectModal("FrmEnd2", [&t](Form& f) { t.closeByDesktop(f); });
         t.d().click(t.tm().CmdGN(8));
         EXPECT_TRUE(t.tm().visible());
     },
     {kMain, kTm}},
    {"ViewAnswerWarning",
     [](DesktopClose& t) {
         t.sitExam();
         t.d().ui.expectModal("FrmCZTS", [&t](Form& f) { t.closeByDesktop(f); });
         t.d().click(t.tm().CmdGN(10));
         EXPECT_EQ(t.s().RunMode, core::RunExam);
         EXPECT_FALSE(t.s().DemoRunning);
     },
     {kMain, kTm}},
    {"ScoreWindow",
     [](DesktopClose& t) {
         t.sitExam();
         t.d().ui.expectModal("FrmEnd1", [&t](Form&) { t.d().click(session::frmEnd1()().Command1); });
         t.d().ui.expectModal("FrmEnd2", [&t](Form&) { t.d().click(session::frmEnd2()().Command1); });
         t.d().click(t.tm().CmdGN(8));
         ASSERT_TRUE(session::frmChengji().loaded());
         t.closeByDesktop(session::frmChengji()());
         EXPECT_FALSE(session::frmChengji().loaded());
     },
     {kCover}},
};

TEST_P(DesktopClose, KeepsAWindowAndDoesOnlyWhatTheCandidateAsked) {
    const CloseCase& c = GetParam();
    c.run(*this);
    if (HasFatalFailure()) return;
    ASSERT_GT(closes, 0) << "no window was closed";
    d().advance(1000);
    checkRule("after the program settled");
    std::vector<QString> want = c.shownAfter;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(shownWindows(), want);
    EXPECT_FALSE(d().ui.pending());
    EXPECT_TRUE(d().ui.unexpected.empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, DesktopClose, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CloseCase>& i) { return std::string(i.param.name); });

} // namespace
