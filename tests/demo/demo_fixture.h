#pragma once
// The demonstration window on a temporary data folder, with stand-ins for
// the practice and question windows, and a builder of step records.
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
#include "demo/frm_yanshi.h"
#include "engine/step_record.h"
#include "support/driver.h"
#include "support/step_fixture.h"

namespace demotest {

using namespace core;
using demo::FrmYanShi;
using demo::frmYanShi;

struct StandIn : Form {
    explicit StandIn(const char* name) : Form(name) {}
};
struct StandInMain : StandIn {
    StandInMain() : StandIn("FrmMain") { move(1500, 600, 12000, 9000); }
};
struct StandInTm : StandIn {
    StandInTm() : StandIn("FrmTm") { move(0, 0, 4980, 3630); }
};
inline FormSlot<StandInMain>& practice() {
    static FormSlot<StandInMain> slot;
    return slot;
}
inline FormSlot<StandInTm>& question() {
    static FormSlot<StandInTm> slot;
    return slot;
}

using testsupport::Rec;

inline QString endRecord() { return Rec("9999"); }

class DemoTest : public testsupport::StepWindowTest {
protected:
    testsupport::Driver d;
    int reloads = 0;

    void SetUp() override {
        StepWindowTest::SetUp();
        demo::resetDemoMembers();
        setScreen(1280, 1024);
        core::session().RunMode = RunPractice;
        Windows& w = windows();
        w.practiceWindow = []() -> Form& { return practice()(); };
        w.practiceWindowLoaded = [] { return practice().loaded(); };
        w.questionWindow = []() -> Form& { return question()(); };
        w.questionWindowLoaded = [] { return question().loaded(); };
        w.questionText = [] { return QString::fromUtf8("题目|第二行"); };
        w.reloadQuestionLater = [this] { ++reloads; };
        demo::registerDemonstrationWindow();
        practice()();
        question()();
    }
    void TearDown() override {
        unloadAllForms();
        StepWindowTest::TearDown();
    }
    // The question window's start: the demonstration window at `speed`.
    FrmYanShi& start(int speed = 1) {
        core::session().DemoRunning = true;
        windows().showDemonstration(int16_t(speed));
        return frmYanShi()();
    }
    bool running() const { return frmYanShi().loaded(); }
    // Advances the clock until the window has closed (at most `limit` ms).
    int64_t runToEnd(int64_t limit = 120000) {
        int64_t t = 0;
        while (running() && t < limit) {
            d.advance(10);
            t += 10;
        }
        return t;
    }
    int16_t step() const { return demo::demoMembers().DemoStep; }
};

} // namespace demotest
