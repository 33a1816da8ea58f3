#pragma once
// What the tests of the step windows share: a builder of step records and a
// fixture with a temporary data folder, the question's script and text table
// and a fake platform. Header only: the records need the engine library.
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "engine/step_record.h"

namespace testsupport {

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
    Rec& screenshot(const QString& pic) { return put(12, pic); }
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
    Rec& format(const QString& tenChars) { return put(125, tenChars); }
    Rec& drop(int x, int y) { return num(167, 5, x).num(172, 5, y); }
    operator QString() const { return line_; }

private:
    QString line_;
};

// Question 1 at its first record, its script and text table in the data
// folder of a temporary program folder; a 1024 x 768 screen.
struct StepWindowTest : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<core::FakePlatform> pf = std::make_shared<core::FakePlatform>();

    void SetUp() override {
        core::resetSharedState();
        core::pictureStore().clear();
        pf->folder = dir.path();
        setScreen(1024, 768);
        core::setPlatform(pf);
        QDir(dir.path()).mkpath("data");
        core::config().ProgramDir = dir.path();
        core::config().DataDir = dir.path() + "/data/";
        core::SessionState& s = core::session();
        s.ScriptFile = core::config().dataFile("288819");
        s.TextTableFile = core::config().dataFile("288890");
        s.CurrentQuestion = 1;
        s.StepStart[1] = 1;
    }
    void TearDown() override {
        core::setPlatform(nullptr);
        core::windows() = core::Windows{};
        core::pictureStore().clear();
        core::resetSharedState();
    }
    void setScreen(int w, int h) {
        pf->screenInfo.widthTwips = w * 15;
        pf->screenInfo.heightTwips = h * 15;
    }
    // A picture of the data folder, w x h pixels.
    void picture(const QString& number, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        ASSERT_TRUE(img.save(core::config().dataFile(number), "BMP"));
    }
    void script(const QStringList& lines) { ASSERT_TRUE(core::writeLines(core::session().ScriptFile, lines)); }
    void textTable(const QStringList& lines) { ASSERT_TRUE(core::writeLines(core::session().TextTableFile, lines)); }
};

} // namespace testsupport
