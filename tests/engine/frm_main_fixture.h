#pragma once
// A practice window on a temporary data folder, with a stand-in question
// window, and a builder of step records.
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

// A step record of "0"s with fields placed at their columns.
class Rec {
public:
    Rec() : line_(engine::StepRecordLength, u'0') {
        put(1, "001");
        put(8, "0001");
        put(12, "888888");
    }
    Rec& put(int col, const QString& text) {
        line_.replace(col - 1, text.size(), text);
        return *this;
    }
    Rec& num(int col, int width, int value) { return put(col, QString::number(value).rightJustified(width, u'0')); }
    Rec& screenshot(const QString& pic) { return put(12, pic); }
    Rec& overlay(int k, int x, int y, const QString& pic) {
        static const int cols[7][3] = {{0, 0, 0},       {18, 24, 28},    {34, 40, 44},   {50, 56, 60},
                                       {135, 141, 145}, {151, 157, 161}, {197, 203, 207}};
        return num(cols[k][0], 5, x).num(cols[k][1], 4, y).put(cols[k][2], pic);
    }
    Rec& target(int x, int y, int w, int h) { return num(66, 5, x).num(72, 4, y).num(76, 5, w).num(81, 5, h); }
    Rec& input(int x, int y, int w, int h, const QString& textLine) {
        return num(86, 5, x).num(92, 4, y).num(96, 5, w).num(101, 5, h).put(106, textLine);
    }
    Rec& hint(int x, int y, const QString& line) { return num(112, 5, x).num(117, 5, y).put(122, line); }
    Rec& format(const QString& tenChars) { return put(125, tenChars); }
    operator QString() const { return line_; }

private:
    QString line_;
};

struct FrmMainTest : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> pf = std::make_shared<FakePlatform>();

    void SetUp() override {
        resetSharedState();
        pictureStore().clear();
        pf->folder = dir.path();
        setScreen(1024, 768);
        setPlatform(pf);
        QDir(dir.path()).mkpath("data");
        config().ProgramDir = dir.path();
        config().DataDir = dir.path() + "/data/";
        SessionState& s = core::session();
        s.ScriptFile = config().dataFile("288819");
        s.TextTableFile = config().dataFile("288890");
        s.CurrentQuestion = 1;
        s.CurrentStep = 1;
        s.StepStart[1] = 1;
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
    void TearDown() override {
        setPlatform(nullptr);
        windows() = Windows{};
        pictureStore().clear();
        resetSharedState();
    }
    void setScreen(int w, int h) {
        pf->screenInfo.widthTwips = w * 15;
        pf->screenInfo.heightTwips = h * 15;
    }
    // A picture of the data folder, w x h pixels.
    void picture(const QString& number, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        ASSERT_TRUE(img.save(config().dataFile(number), "BMP"));
    }
    void script(const QStringList& lines) { ASSERT_TRUE(writeLines(core::session().ScriptFile, lines)); }
    void textTable(const QStringList& lines) { ASSERT_TRUE(writeLines(core::session().TextTableFile, lines)); }
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
