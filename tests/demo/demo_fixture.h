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

// A step record of "0"s with fields placed at their columns.
class Rec {
public:
    explicit Rec(const QString& code = "0001") : line_(engine::StepRecordLength, u'0') {
        put(1, "001");
        put(8, code);
        put(12, "888888");
    }
    Rec& put(int col, const QString& text) {
        line_.replace(col - 1, text.size(), text);
        return *this;
    }
    Rec& num(int col, int width, int value) { return put(col, QString::number(value).rightJustified(width, u'0')); }
    Rec& overlay(int k, int x, int y, const QString& pic) {
        static const int cols[7][3] = {{0, 0, 0},       {18, 24, 28},    {34, 40, 44},   {50, 56, 60},
                                       {135, 141, 145}, {151, 157, 161}, {197, 203, 207}};
        return num(cols[k][0], 5, x).num(cols[k][1], 4, y).put(cols[k][2], pic);
    }
    Rec& target(int x, int y, int w, int h) { return num(66, 5, x).num(72, 4, y).num(76, 5, w).num(81, 5, h); }
    Rec& branch(const QString& c) { return put(71, c); }
    Rec& source(int x, int y, int w, int h) { return num(177, 5, x).num(183, 4, y).num(187, 5, w).num(192, 5, h); }
    Rec& input(int x, int y, int w, int h, const QString& textLine) {
        return num(86, 5, x).num(92, 4, y).num(96, 5, w).num(101, 5, h).put(106, textLine);
    }
    Rec& answer(const QString& line) { return put(109, line); }
    Rec& hint(int x, int y, const QString& line) { return num(112, 5, x).num(117, 5, y).put(122, line); }
    Rec& drop(int x, int y) { return num(167, 5, x).num(172, 5, y); }
    operator QString() const { return line_; }

private:
    QString line_;
};

inline QString endRecord() { return Rec("9999"); }

class DemoTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> pf = std::make_shared<FakePlatform>();
    testsupport::Driver d;
    int reloads = 0;

    void SetUp() override {
        resetSharedState();
        demo::resetDemoMembers();
        pictureStore().clear();
        pf->folder = dir.path();
        pf->screenInfo.widthTwips = 1280 * 15;
        pf->screenInfo.heightTwips = 1024 * 15;
        setPlatform(pf);
        QDir(dir.path()).mkpath("data");
        config().ProgramDir = dir.path();
        config().DataDir = dir.path() + "/data/";
        SessionState& s = core::session();
        s.ScriptFile = config().dataFile("288819");
        s.TextTableFile = config().dataFile("288890");
        s.CurrentQuestion = 1;
        s.StepStart[1] = 1;
        s.RunMode = RunPractice;
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
        setPlatform(nullptr);
        windows() = Windows{};
        pictureStore().clear();
        resetSharedState();
    }
    void picture(const QString& number, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        ASSERT_TRUE(img.save(config().dataFile(number), "BMP"));
    }
    void script(const QStringList& lines) { ASSERT_TRUE(writeLines(core::session().ScriptFile, lines)); }
    void textTable(const QStringList& lines) { ASSERT_TRUE(writeLines(core::session().TextTableFile, lines)); }
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
