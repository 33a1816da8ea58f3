#pragma once
// A practice window on a temporary data folder, with a stand-in question
// window.
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "engine/frm_main.h"
#include "engine/question_captions.h"
#include "engine/step_record.h"
#include "support/driver.h"
#include "support/step_fixture.h"

namespace enginetest {

using namespace core;
using engine::FrmMain;
using engine::frmMain;

// A 32 x 32 cursor file, transparent, hot spot (1, 1).
inline QByteArray cursorBytes() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return core::cursorData(img, 1, 1);
}

// Stand-in for the question window: its size and the two captions the
// step engine completes.
struct StandInTm : Form {
    StandInTm() : Form("FrmTm") {
        move(0, 0, 4980, 3630);
    }
    Control& title = add(Kind::Label, "LblBiao");
    Control& unsolved = add(Kind::Label, "LblUnit");
};

inline FormSlot<StandInTm>& standIn() {
    static FormSlot<StandInTm> slot;
    return slot;
}

using testsupport::Rec;

struct FrmMainTest : testsupport::StepWindowTest {
    void SetUp() override {
        StepWindowTest::SetUp();
        SessionState& s = core::session();
        s.CurrentStep = 1;
        s.RunMode = RunGuided;
        windows().questionWindow = []() -> Form& { return standIn()(); };
        windows().questionWindowLoaded = [] { return standIn().loaded(); };
        windows().showUnsolvedQuestions = [](const QString& list) { standIn()().unsolved.setCaption(list); };
        windows().markQuestionCompleted = [] {
            Control& title = standIn()().title;
            title.setCaption(engine::completedTitle(title.caption()));
        };
        engine::registerPracticeWindow();
    }
    // Sets up step `step` of question 1.
    FrmMain& step(int n) {
        FrmMain& f = frmMain()();
        core::session().CurrentStep = static_cast<int16_t>(n);
        f.setData();
        return f;
    }
};

// The practice window driven by a user; every form goes at the end.
class DrivenTest : public FrmMainTest {
protected:
    testsupport::Driver d;
    void TearDown() override {
        core::unloadAllForms();
        FrmMainTest::TearDown();
    }
    SessionState& s() { return core::session(); }
};

} // namespace enginetest
