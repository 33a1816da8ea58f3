#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include "core/platform.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "session/frm_start.h"
#include "support/driver.h"

using namespace core;
using session::FrmStart;

TEST(Settings, LineDecoding) {
    struct Case { QString line; QString text; } cases[] = {
        {"200065200066", "AB"},
        {"200065000000200066", "AB"},           // a group of zeros is dropped
        {"2000652", "A"},                       // a seventh character forms a group of its own (worth 2: no character)
        {"200065abcdef200066", "AB"},           // a group without a number gives 0
        {"", ""},
        {"555254546246", QString::fromUtf8("字处")},  // 0xD7D6, 0xB4A6 (double-byte codes)
        {"199999200066", "B"},                  // negative code skipped
    };
    for (const auto& c : cases) EXPECT_EQ(session::decodeSettingsLine(c.line), c.text) << c.line.toStdString();
    QString t = QString::fromUtf8("字处理 Word 2003");
    EXPECT_EQ(session::decodeSettingsLine(session::encodeSettingsLine(t)), t);
}

namespace {

struct StartFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> pf = std::make_shared<FakePlatform>();
    std::shared_ptr<MemoryRegistryStore> reg = std::make_shared<MemoryRegistryStore>();
    int coverShown = 0;
    int exitCode = -1;

    void SetUp() override {
        resetSharedState();
        pf->folder = dir.path();
        pf->exe = "wordsim";
        setPlatform(pf);
        setRegistryStore(reg);
        windows().showCover = [this] { ++coverShown; };
        windows().exitProgram = [this](int c) { exitCode = c; };
        QDir(dir.path()).mkpath("wdata");
    }
    void TearDown() override {
        setPlatform(nullptr);
        setRegistryStore(nullptr);
        windows() = Windows{};
    }
    void writeSettings(int moduleNo, const QString& folder = "wdata") {
        QStringList lines;
        for (QString s : {QString::fromUtf8("字处理"), QString::fromUtf8("Word 2003 练习"), folder, QString::number(moduleNo),
                          QString::fromUtf8(" 第一单元 ")})
            lines << session::encodeSettingsLine(s);
        ASSERT_TRUE(writeLines(dir.filePath("ver.txt"), lines));
    }
    QString data(const QString& name) { return dir.filePath("wdata/" + name); }
    QString firstLine(const QString& path) { return readFirstLine(path).value_or("<missing>"); }
};

} // namespace

TEST_F(StartFixture, ReadsSettingsAndRegistersOnFirstRun) {
    testsupport::Driver d;
    writeSettings(7);
    writeLines(data("288892.rar"), {"0"});
    FrmStart& f = session::frmStart()();
    EXPECT_FALSE(f.refused);
    EXPECT_EQ(config().ModuleName, QString::fromUtf8("字处理"));
    EXPECT_EQ(config().ModuleNo, 7);
    EXPECT_EQ(config().DataDir, dir.path() + "/wdata/");
    EXPECT_EQ(config().InfoLines[0], QString::fromUtf8("第一单元"));
    EXPECT_EQ(config().AppTitle, QString::fromUtf8("Norvane职称计算机考试 字处理模块"));
    EXPECT_EQ(core::session().CandidateName, "Tesmar1");
    EXPECT_EQ(f.width(), 6600);
    EXPECT_EQ(f.height(), 1485);

    RegValue v;
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath07", v), 0);
    EXPECT_EQ(v.toText(), dir.path() + QString(72, u'*'));
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProName07", v), 0);
    EXPECT_EQ(v.toText(), "wordsim" + QString(36, u'*'));
    EXPECT_EQ(firstLine(data("288892.rar")), "1");

    // 100 ms later: the start-up window goes, the cover comes, the start is counted.
    d.advance(99);
    EXPECT_EQ(coverShown, 0);
    d.advance(1);
    EXPECT_EQ(coverShown, 1);
    EXPECT_FALSE(session::frmStart().loaded());
    EXPECT_EQ(firstLine(data("288897.rar")), "1");
    d.advance(1000);
    EXPECT_EQ(coverShown, 1);
}

TEST_F(StartFixture, ModuleZeroRegistersOnceUnderItsTwoDigitNames) {
    testsupport::Driver d;
    writeSettings(0);
    writeLines(data("288892.rar"), {"0"});
    session::frmStart()();
    RegValue v;
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath00", v), 0);
    EXPECT_EQ(v.toText(), dir.path() + QString(72, u'*'));
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProName00", v), 0);
    EXPECT_EQ(v.toText(), "wordsim" + QString(36, u'*'));
    EXPECT_EQ(firstLine(data("288892.rar")), "1");
    session::frmStart()().unload();

    // The second start registers nothing: values set since stay.
    RegValue other("elsewhere");
    int32_t cb = 0;
    ASSERT_EQ(WriteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath00", REG_SZ, other, cb), 0);
    session::frmStart()();
    ASSERT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath00", v), 0);
    EXPECT_EQ(v.toText(), "elsewhere");
    EXPECT_EQ(firstLine(data("288892.rar")), "1");
}

TEST_F(StartFixture, NoRegistrationUnlessFlagIsZeroOrWhenWritesFail) {
    testsupport::Driver d;
    writeSettings(0);
    writeLines(data("288892.rar"), {"1"});
    session::frmStart()();
    RegValue v;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProPath00", v), 2);
    session::frmStart()().unload();

    // A failed registry write is not reported as done.
    writeLines(data("288892.rar"), {"0"});
    reg->failStatus = 5;
    session::frmStart()();
    EXPECT_EQ(firstLine(data("288892.rar")), "0");
}

TEST_F(StartFixture, SecondCopyIsRefused) {
    testsupport::Driver d;
    writeSettings(7);
    pf->alreadyRunning = true;
    d.ui.expectMsgBox(QString::fromUtf8(session::kAlreadyRunning), MrOk);
    FrmStart& f = session::frmStart()();
    EXPECT_TRUE(f.refused);
    EXPECT_EQ(exitCode, 0);
    ASSERT_FALSE(d.ui.shown.empty());
    EXPECT_EQ(d.ui.shown[0].title, QString::fromUtf8("系统提示"));
    d.advance(500);
    EXPECT_EQ(coverShown, 0);
}

TEST_F(StartFixture, LeftoversOfInterruptedWritesAreRemovedAtTheStart) {
    testsupport::Driver d;
    writeSettings(7);
    // The registry file lies in a folder other programs share.
    const QString regDir = dir.filePath("config/examsim");
    ASSERT_TRUE(QDir().mkpath(regDir));
    setRegistryStore(std::make_shared<FileRegistryStore>(regDir + "/registry.ini"));
    QDir(dir.path()).mkpath("ksdata");
    const QString ks = dir.filePath("ksdata/"), wd = dir.filePath("wdata/"), prog = dir.path() + "/",
                  reg = regDir + "/";
    const QStringList records{ks + "288862.rar", ks + "288893.rar", ks + "182403.rar", wd + "288819.rar",
                              prog + "updata.txt", reg + "registry.ini"};
    for (const QString& r : records) ASSERT_TRUE(writeLines(r, {"whole", "T"}));
    enum Kind { File, Link, DanglingLink, Folder };
    struct Case { QString path; Kind kind; bool removed; } cases[] = {
        // What the program's own atomic saves leave when killed.
        {ks + ".288862.rar.examsim-partial-AbC123", File, true},
        {ks + ".288890.rar.examsim-partial-000000", File, true},
        {ks + ".182413.rar.examsim-partial-x1Y2z3", File, true},
        {wd + ".288897.rar.examsim-partial-AbC123", File, true},
        {wd + ".288871.rar.examsim-partial-q9Z8y7", File, true},
        {prog + ".updata.txt.examsim-partial-AbC123", File, true},
        {reg + ".registry.ini.examsim-partial-AbC123", File, true},
        // A candidate's own copies, also of the shape other savers leave.
        {ks + "288862.rar.backup", File, false},
        {ks + "288862.rar.before", File, false},
        {ks + "288893.rar.AbC123", File, false},
        {ks + "288862.rar.examsim-partial-AbC123", File, false},
        {ks + ".288862.rar.examsim-partial-AbC12", File, false},
        {ks + ".288862.rar.examsim-partial-AbC1234", File, false},
        {ks + ".288862.rar.examsim-partial-AbC-23", File, false},
        {wd + "288897.rar.backup", File, false},
        {prog + "updata.txt.examsim-partial-AbC123", File, false},
        // Of the leftovers' shape, but no file of the program's.
        {ks + ".288892.rar.examsim-partial-Link01", Link, false},
        {ks + ".288892.rar.examsim-partial-Link02", DanglingLink, false},
        {ks + "288862.rar.linked", Link, false},
        {ks + ".288892.rar.examsim-partial-Folder", Folder, false},
        {wd + ".288892.rar.examsim-partial-Link01", Link, false},
        {prog + ".ver.txt.examsim-partial-Link02", DanglingLink, false},
        {prog + ".ver.txt.examsim-partial-Folder", Folder, false},
        // Another program's leftovers in the shared folder.
        {reg + ".settings.ini.examsim-partial-AbC123", File, false},
        {reg + ".registry.ini.bak.examsim-partial-AbC123", File, false},
        {reg + ".registry.ini.examsim-partial-Link01", Link, false},
    };
    const QString linkTarget = dir.filePath("candidate-copy.rar");
    ASSERT_TRUE(writeLines(linkTarget, {"the candidate's"}));
    for (const auto& c : cases) {
        switch (c.kind) {
        case File: ASSERT_TRUE(writeLines(c.path, {"partial"})); break;
        case Link: ASSERT_TRUE(QFile::link(linkTarget, c.path)); break;
        case DanglingLink: ASSERT_TRUE(QFile::link(dir.filePath("gone.rar"), c.path)); break;
        case Folder: ASSERT_TRUE(QDir().mkpath(c.path)); break;
        }
    }
    const auto present = [&](const Case& c) { return QFileInfo(c.path).isSymLink() || QFileInfo::exists(c.path); };

    // A copy refused because another one runs leaves them to that one.
    pf->alreadyRunning = true;
    d.ui.expectMsgBox(QString::fromUtf8(session::kAlreadyRunning), MrOk);
    session::frmStart()();
    for (const auto& c : cases) EXPECT_TRUE(present(c)) << c.path.toStdString();
    session::frmStart()().unload();

    // Nor does a start while another program writes the registry take that
    // write's temporary file.
    pf->alreadyRunning = false;
    {
        QLockFile writing(reg + "registry.ini.lock");
        ASSERT_TRUE(writing.tryLock(0));
        session::frmStart()();
        EXPECT_TRUE(QFile::exists(reg + ".registry.ini.examsim-partial-AbC123"));
        session::frmStart()().unload();
    }

    session::frmStart()();
    d.advance(100);
    ASSERT_EQ(coverShown, 1);
    for (const auto& c : cases) EXPECT_EQ(present(c), !c.removed) << c.path.toStdString();
    // On the desktop, the shortcut's own (at each of the two starts).
    EXPECT_EQ(pf->shortcutCleanups, QStringList(2, QString::fromUtf8("字处理模块")));
    EXPECT_TRUE(QFileInfo(ks + ".288892.rar.examsim-partial-Folder").isDir());
    EXPECT_EQ(readLines(linkTarget).value_or(QStringList()), QStringList({"the candidate's"}));
    for (const QString& r : records)
        EXPECT_EQ(readLines(r).value_or(QStringList()).mid(0, 2), QStringList({"whole", "T"})) << r.toStdString();
}

TEST_F(StartFixture, MissingSettingsEndWithAMessage) {
    testsupport::Driver d;
    d.ui.expectMsgBox("ver.txt", MrOk);
    FrmStart& f = session::frmStart()();
    EXPECT_TRUE(f.refused);
    EXPECT_EQ(exitCode, 1);
    d.advance(500);
    EXPECT_EQ(coverShown, 0);
}

TEST_F(StartFixture, EmptyDataFolderLineGivesProgramFolder) {
    testsupport::Driver d;
    writeSettings(3, "");
    session::frmStart()();
    EXPECT_EQ(config().DataDir, dir.path() + "/");
}

TEST_F(StartFixture, LaunchCounterAndUpdater) {
    testsupport::Driver d;
    writeSettings(7);
    QFile::remove(data("288892.rar"));
    QFile(dir.filePath("updata.exe")).open(QIODevice::WriteOnly);
    struct Case { const char* option; const char* counter; const char* after; bool started; } cases[] = {
        {"1", nullptr, "1", true},     // a new counter: the first counted start
        {"1", "9", "10", false},
        {"1", "10", "11", true},
        {"0", "10", "11", false},
        {" 1 ", "20", "21", true},
        {nullptr, "30", "31", false},  // no option file: off
        {"1", "32767", "32767", false},  // overflow: the file keeps its value
        {"1", "40000", "1", true},       // does not fit 16 bits: read as 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option ? c.option : "-") + "/" + (c.counter ? c.counter : "-"));
        QFile::remove(dir.filePath("updata.txt"));
        QFile::remove(data("288897.rar"));
        if (c.option) writeLines(dir.filePath("updata.txt"), {c.option});
        if (c.counter) writeLines(data("288897.rar"), {c.counter});
        pf->started.clear();
        session::frmStart()();
        d.advance(100);
        EXPECT_EQ(firstLine(data("288897.rar")), c.after);
        EXPECT_EQ(pf->started.size(), c.started ? 1u : 0u);
    }
    // A missing updater is simply not started.
    QFile::remove(dir.filePath("updata.exe"));
    writeLines(dir.filePath("updata.txt"), {"1"});
    writeLines(data("288897.rar"), {"10"});
    pf->started.clear();
    session::frmStart()();
    d.advance(100);
    EXPECT_TRUE(pf->started.empty());
}

TEST_F(StartFixture, SplashSizeFollowsScaleX) {
    testsupport::Driver d;
    writeSettings(7);
    pf->screenInfo.twipsPerPixelX = 12;
    pf->screenInfo.twipsPerPixelY = 12;
    FrmStart& f = session::frmStart()();
    EXPECT_DOUBLE_EQ(config().ScaleX, 0.8);
    EXPECT_DOUBLE_EQ(f.width(), 5280);
    EXPECT_DOUBLE_EQ(f.height(), 1188);
}

TEST_F(StartFixture, RegistryLockHeldElsewhereDelaysNothingAndIsTriedAgainNextStart) {
    testsupport::Driver d;
    const QString path = dir.filePath("registry.ini");
    auto store = std::make_shared<FileRegistryStore>(path);
    setRegistryStore(store);
    QLockFile other(path + ".lock");  // another module writing
    ASSERT_TRUE(other.tryLock(0));
    writeSettings(7);
    writeLines(data("288892.rar"), {"0"});

    // The first write waits for the lock once; the second one does not.
    FrmStart& f = session::frmStart()();
    EXPECT_FALSE(f.refused);
    EXPECT_TRUE(store->lockBusy());
    EXPECT_EQ(firstLine(data("288892.rar")), "0");
    d.advance(100);
    EXPECT_EQ(coverShown, 1);

    // The next start registers the module.
    other.unlock();
    session::frmStart()();
    RegValue v;
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "ProName07", v), 0);
    EXPECT_EQ(firstLine(data("288892.rar")), "1");
    EXPECT_FALSE(store->lockBusy());
}
