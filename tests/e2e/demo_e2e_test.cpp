// The demonstration of every question of every unit of the sample module,
// at both speeds: started from the question window's button, played on the
// test clock to the question's end record, and handed back to the practice
// window with the question's progress, flags and records as they were.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <memory>
#include <vector>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "demo/frm_yanshi.h"
#include "engine/frm_main.h"
#include "engine/step_record.h"
#include "e2e/module_fixture.h"
#include "session/frm_start.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/driver.h"

namespace {

struct Case {
    int unit = -1;
    int question = 0;
    int speed = 1;
};

using e2e::unitCounts;

std::vector<Case> demoCases() {
    std::vector<Case> out;
    const std::vector<int> counts = unitCounts(e2e::buildDir());
    for (int u = 0; u < int(counts.size()); ++u)
        for (int q = 1; q <= counts[u]; ++q)
            for (int speed : {1, 2}) out.push_back({u, q, speed});
    if (out.empty()) out.push_back({});
    return out;
}

class DemoE2E : public e2e::ModuleFixture, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        ASSERT_NE(GetParam().unit, -1) << "no generated module in " << qPrintable(e2e::buildDir());
        ModuleFixture::SetUp();
        if (HasFatalFailure()) return;
        nothingSolved();
    }

    // The files of the candidate's records, by name.
    std::map<QString, QByteArray> records() const {
        std::map<QString, QByteArray> out;
        for (const QFileInfo& fi : QDir(recordsDir()).entryInfoList(QDir::Files)) {
            QFile f(fi.filePath());
            if (f.open(QIODevice::ReadOnly)) out[fi.fileName()] = f.readAll();
        }
        return out;
    }
};

TEST_P(DemoE2E, DemonstrationPlaysToItsEndAndHandsBack) {
    const Case c = GetParam();
    testsupport::Driver& d = driver();
    core::SessionState& s = core::session();

    session::LblJinRuXX_Click(c.unit);
    ASSERT_TRUE(session::frmTm().loaded()) << "the unit did not start";
    d.advance(600);
    s.CurrentQuestion = int16_t(c.question);
    session::FrmTm& tm = session::frmTm()();
    tm.TimerREDO.setEnabled(true);
    d.advance(300);
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

    // Played on the clock until the window closes.
    QString lastLine;
    int64_t played = 0;
    while (demo::frmYanShi().loaded() && played < 15 * 60 * 1000) {
        lastLine = s.StepLine;
        d.advance(50);
        played += 50;
    }
    ASSERT_FALSE(demo::frmYanShi().loaded()) << "the demonstration did not end";
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
