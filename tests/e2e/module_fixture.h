#pragma once
// The one fixture of the end-to-end tests. It owns the module copy, the
// program's shared state and the driver, and orders them itself: set-up
// resets the state, gives the test its own program folder and the driver,
// and registers the windows; tear-down ends the driver (its forms unloaded,
// its prompts checked) before the state goes. Nothing depends on the order
// in which a test or a subclass declares its members, nor on the tests run
// before it.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <unistd.h>

#include "core/forms.h"
#include "core/pictures.h"
#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "demo/frm_yanshi.h"
#include "e2e/sample_module.h"
#include "engine/frm_main.h"
#include "session/frm_logon.h"
#include "session/frm_tm.h"
#include "session/session_start.h"
#include "support/driver.h"

namespace e2e {

class ModuleFixture : public ::testing::Test {
protected:
    // The suite's copy of the generated module, never run on itself.
    static void SetUpTestSuite() {
        master_ = new QTemporaryDir;
        copied_ = copyModule(sampleDir(), master_->path() + "/prog");
    }
    static void TearDownTestSuite() {
        delete master_;
        master_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(copied_) << "no generated module in " << qPrintable(sampleDir());
        core::resetSharedState();
        demo::resetDemoMembers();
        core::pictureStore().clear();
        core::windows() = core::Windows{};

        // The test's program folder: the suite's files linked (the program
        // replaces a file whole when it writes one, so the links never carry
        // a write back), with an empty records folder.
        ASSERT_TRUE(folder_.isValid());
        root_ = folder_.path() + "/prog";
        ASSERT_TRUE(linkTree(master_->path() + "/prog", root_, {"ksdata"}));
        ASSERT_TRUE(QDir().mkpath(root_ + "/ksdata"));

        useModule(root_, pf);
        core::setRegistryStore(std::make_shared<core::MemoryRegistryStore>());
        driver_ = std::make_unique<testsupport::Driver>();
        registerWindows();
    }

    void TearDown() override {
        driver_.reset();
        core::unloadAllForms();
        core::windows() = core::Windows{};
        core::setPlatform(nullptr);
        core::setRegistryStore(nullptr);
        core::resetSharedState();
        demo::resetDemoMembers();
        core::pictureStore().clear();
    }

    // The windows the test runs with: all of them unless a subclass says otherwise.
    virtual void registerWindows() {
        cover::registerCover();
        engine::registerPracticeWindow();
        session::registerSessionWindows();
        demo::registerDemonstrationWindow();
    }

    // Nothing solved yet in any unit (the progress as a unit's start reads it).
    void nothingSolved() {
        QStringList progress;
        for (int n : unitCounts(root_)) progress << QString(n, u'F');
        ASSERT_TRUE(core::writeLines(core::config().recordFile("288893"), progress));
    }

    // Unit `unit` started from the cover's starter and question `question`
    // (1-based) loaded by the question window's reload, `settle` ms after the
    // start; false, with a failure, when a window did not come.
    bool openQuestion(int unit, int question, int settle = 300) {
        session::LblJinRuXX_Click(unit);
        if (!session::frmTm().loaded()) {
            ADD_FAILURE() << "the unit did not start";
            return false;
        }
        driver().advance(settle);
        core::session().CurrentQuestion = int16_t(question);
        session::frmTm()().TimerREDO.setEnabled(true);  // the question window's reload
        driver().advance(300);
        if (!engine::frmMain().loaded()) {
            ADD_FAILURE() << "the practice window did not come";
            return false;
        }
        return true;
    }

    // On the shown login window: seat 5 over the sample seat, confirmed, and
    // the confirmation page's time run out.
    void logOn() {
        testsupport::Driver& d = driver();
        session::FrmLogon& l = session::frmLogon()();
        d.click(l.TxtZwh);
        l.TxtZwh.setSelStart(0);
        l.TxtZwh.setSelLength(int(l.TxtZwh.text().size()));
        d.type(l.TxtZwh, "5");
        d.click(l.CmdLog);
        d.advance(700);
    }

    testsupport::Driver& driver() { return *driver_; }
    const QString& root() const { return root_; }
    QString recordsDir() const { return root_ + "/ksdata"; }
    // The files of the candidate's records, by name.
    std::map<QString, QByteArray> records() const {
        std::map<QString, QByteArray> out;
        for (const QFileInfo& fi : QDir(recordsDir()).entryInfoList(QDir::Files)) {
            QFile f(fi.filePath());
            if (f.open(QIODevice::ReadOnly)) out[fi.fileName()] = f.readAll();
        }
        return out;
    }

    std::shared_ptr<core::FakePlatform> pf = std::make_shared<core::FakePlatform>();

private:
    // Hard links of every file under from, in the same folders under to;
    // a copy where a link cannot be made. Folders named in skip are left out.
    static bool linkTree(const QString& from, const QString& to, const QStringList& skip = {}) {
        if (!QDir().mkpath(to)) return false;
        for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = to + "/" + fi.fileName();
            if (fi.isDir()) {
                if (!skip.contains(fi.fileName()) && !linkTree(fi.filePath(), target)) return false;
            } else if (::link(QFile::encodeName(fi.filePath()).constData(), QFile::encodeName(target).constData()) != 0 &&
                       !QFile::copy(fi.filePath(), target)) {
                return false;
            }
        }
        return true;
    }

    static inline QTemporaryDir* master_ = nullptr;
    static inline bool copied_ = false;
    QTemporaryDir folder_;
    QString root_;
    std::unique_ptr<testsupport::Driver> driver_;
};

// A fixture per sample question: the case names a unit (-1: no module was
// found when the cases were listed, a failure) and starts with nothing
// solved in any unit. Every picture the program fails to read while the
// question runs (a bank picture, a menu picture) fails the test: the sample
// holds every picture its questions use.
template <class Case>
class QuestionFixture : public ModuleFixture, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        ASSERT_NE(this->GetParam().unit, -1) << "no generated module in " << qPrintable(sampleDir());
        ModuleFixture::SetUp();
        if (HasFatalFailure()) return;
        core::pictureStore().setFailureListener([this](const QString& path, core::PictureStatus status) {
            unreadable_ << QDir(root()).relativeFilePath(path) +
                               (status == core::PictureStatus::NotFound ? " (missing)" : " (no picture)");
        });
        nothingSolved();
    }

    void TearDown() override {
        core::pictureStore().setFailureListener(nullptr);
        unreadable_.removeDuplicates();
        EXPECT_TRUE(unreadable_.isEmpty()) << "pictures the question could not read: "
                                           << qPrintable(unreadable_.join(", "));
        ModuleFixture::TearDown();
    }

private:
    QStringList unreadable_;
};

} // namespace e2e
