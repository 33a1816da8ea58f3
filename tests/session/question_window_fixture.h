#pragma once
// A small bank and record set in a temporary folder, a stand-in practice
// window and cover, for the session start and the question window tests.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <array>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "session/bank.h"
#include "session/frm_logon.h"
#include "session/frm_picture.h"
#include "session/frm_tm.h"
#include "session/records.h"
#include "session/session_start.h"
#include "support/driver.h"

namespace qwtest {

// The practice window as far as the question window uses it.
struct PracticeStandIn : core::Form {
    PracticeStandIn() : Form("FrmMain") {
        for (int k = 1; k <= 5; ++k) overlays[k] = &add(core::Kind::Image, "Image" + QString::number(k));
        overlays[6] = &add(core::Kind::PictureBox, "Image6");
        setUp.onTimer = [this](core::Timer& timer) {
            ++setUps;
            timer.setEnabled(false);
        };
        move(1500, 600, 12000, 9000);
    }
    void showScenePicture(int k, const core::Picture& p) {
        if (k == 0)
            setPicture(p);
        else
            overlays.at(size_t(k))->setPicture(p);
    }
    void armSetUp() { setUp.setEnabled(true); }
    // No hint here; see the navigation tests.
    void showHint() {}

    std::array<core::Control*, 7> overlays{};
    core::Timer& setUp = addTimer("Timer2", 100, false);
    int setUps = 0;
};

inline core::FormSlot<PracticeStandIn>& practice() {
    static core::FormSlot<PracticeStandIn> slot;
    return slot;
}

struct CoverStandIn : core::Form {
    CoverStandIn() : Form("FrmFengmian") {}
};

inline core::FormSlot<CoverStandIn>& cover() {
    static core::FormSlot<CoverStandIn> slot;
    return slot;
}

// Question list lines "UUQQ" + two-digit step count + text.
inline QStringList unitList(int unit, int questions, int steps = 2) {
    QStringList out;
    for (int q = 1; q <= questions; ++q)
        out << session::questionCode(unit, q) + session::twoDigits(steps) +
                   QString::fromUtf8("第%1单元第%2题|第二行").arg(unit).arg(q);
    return out;
}

inline QStringList unitScript(int unit, int lines) {
    QStringList out;
    for (int i = 1; i <= lines; ++i) out << QString("u%1 step %2").arg(unit).arg(i);
    return out;
}

// Forty codes cycling through the questions of a unit.
inline QString paperLine(int unit, int questions) {
    QString out;
    for (int i = 0; i < 40; ++i) out += session::questionCode(unit, i % questions + 1);
    return out;
}

class Fixture : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    testsupport::Driver d;
    std::shared_ptr<core::FakePlatform> pf = std::make_shared<core::FakePlatform>();
    int handInOpened = 0;
    bool handInOpen = false;
    std::vector<core::Form*> moves;
    std::vector<std::function<void()>> pendingMoves;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        core::resetSharedState();
        core::config().ProgramDir = tmp.path();
        core::config().DataDir = tmp.path() + "/wdata/";
        core::config().ModuleName = QString::fromUtf8("字处理");
        core::config().AppTitle = QString::fromUtf8("Norvane职称计算机考试 字处理模块");
        QDir().mkpath(core::config().DataDir);
        QDir().mkpath(core::config().recordsDir());
        pf->screenInfo.widthTwips = 1024 * 15;
        pf->screenInfo.heightTwips = 768 * 15;
        core::setPlatform(pf);

        // Units 0 (12 questions), 1 (5) and 2 (4).
        write(session::unitQuestionListFile(0), unitList(0, 12));
        write(session::unitStepScriptFile(0), unitScript(0, 24));
        write(session::unitQuestionListFile(1), unitList(1, 5, 3));
        write(session::unitStepScriptFile(1), unitScript(1, 15));
        write(session::unitQuestionListFile(2), unitList(2, 4));
        write(session::unitStepScriptFile(2), unitScript(2, 8));
        write(session::paperCatalogFile(), {"0403", "120504", paperLine(0, 12), paperLine(1, 5), paperLine(2, 4),
                                            "0201" + paperLine(0, 12).mid(4)});

        session::registerSessionWindows();
        usePractice(practice());
        core::windows().unloadCover = [] {
            if (CoverStandIn* c = cover().peek()) c->unload();
        };
        core::windows().startWindowMove = [this](core::Form& f, std::function<void()> after) {
            moves.push_back(&f);
            pendingMoves.push_back(std::move(after));
        };
        session::handInConfirmation().open = [this] { ++handInOpened; };
        session::handInConfirmation().isOpen = [this] { return handInOpen; };
        cover()();
    }

    // Registers a stand-in practice window and its calls.
    template <class T>
    static void usePractice(core::FormSlot<T>& slot) {
        core::Windows& w = core::windows();
        w.practiceWindow = [&slot]() -> core::Form& { return slot(); };
        w.practiceWindowLoaded = [&slot] { return slot.loaded(); };
        w.showPracticeScene = [&slot](int k, const core::Picture& p) { slot().showScenePicture(k, p); };
        w.armPracticeSetUp = [&slot] { slot().armSetUp(); };
        w.showPracticeHint = [&slot] { slot().showHint(); };
    }

    void TearDown() override {
        core::unloadAllForms();
        core::windows() = core::Windows{};
        session::handInConfirmation() = session::HandInConfirmation{};
        core::setPlatform(nullptr);
        core::resetSharedState();
    }

    // Ends the pending window moves (the button is released).
    void endMoves() {
        auto pending = std::move(pendingMoves);
        pendingMoves.clear();
        for (auto& f : pending)
            if (f) f();
    }

    // A session on a question list of our own (slot 19), not yet started.
    void useList(const QStringList& lines, int count, int16_t listKind = core::ListUnit) {
        write(session::questionListFile(session::ReviewSlot), lines);
        s().QuestionFile = session::questionListFile(session::ReviewSlot);
        s().QuestionCount = static_cast<int16_t>(count);
        s().ListKind = listKind;
        s().SetNo = 0;
        s().RunMode = listKind == core::ListPaper ? core::RunExam : core::RunPractice;
        s().MinutesLeft = 50;
        s().CurrentQuestion = 1;
        for (int i = 1; i <= 40; ++i) s().QuestionResult[i] = "F";
    }
    // A practice session of `count` questions of unit 0 (or a mock exam),
    // loaded, with its button set chosen.
    session::FrmTm& startSession(int count, int16_t listKind = core::ListUnit, QStringList lines = {}) {
        useList(lines.isEmpty() ? unitList(0, count) : lines, count, listKind);
        session::FrmTm& w = tm();
        w.show();
        d.advance(500);
        return w;
    }

    static void write(const QString& path, const QStringList& lines) { ASSERT_TRUE(core::writeLines(path, lines)); }
    static QStringList read(const QString& path) { return core::readLines(path).value_or(QStringList{"<missing>"}); }
    static bool exists(const QString& path) { return QFileInfo::exists(path); }

    // A picture file of w x h pixels (BMP content whatever the name).
    static void picture(const QString& path, int w, int h, QColor c = Qt::red) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        ASSERT_TRUE(img.save(path, "BMP"));
    }

    core::SessionState& s() { return core::session(); }
    session::FrmTm& tm() { return session::frmTm()(); }
    bool tmLoaded() { return session::frmTm().loaded(); }
};

} // namespace qwtest
