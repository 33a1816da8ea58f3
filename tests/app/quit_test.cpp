// The program closed through the cover's question ends cleanly: exit
// code 0, no crash while the application is torn down, the single-instance lock
// released.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "core/platform.h"
#include "e2e/sample_module.h"

TEST(Quit, ClosingTheCoverAndAnsweringYesEndsCleanly) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString prog = tmp.path() + "/prog";
    const QString src = e2e::sampleDir();
    ASSERT_TRUE(e2e::copyTree(src + "/wdata", prog + "/wdata"));
    ASSERT_TRUE(e2e::copyTree(src + "/examdata", prog + "/examdata"));
    for (const char* f : {"ver.txt", "updata.txt", "sMenu.sys"}) ASSERT_TRUE(QFile::copy(src + "/" + f, prog + "/" + f));
    const QString runtime = tmp.path() + "/run";
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("EXAMSIM_HOME", prog);
    env.insert("EXAMSIM_REGISTRY", tmp.path() + "/registry.ini");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("TMPDIR", tmp.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/quit_program", {});
    ASSERT_TRUE(p.waitForStarted());
    ASSERT_TRUE(p.waitForFinished(120000)) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.exitCode(), 0);

    // The lock of the program folder is gone.
    const QString lock = core::instanceLockPath(prog);
    EXPECT_TRUE(lock.startsWith(QFileInfo(prog).canonicalFilePath() + "/")) << lock.toStdString();
    EXPECT_FALSE(QFile::exists(lock)) << lock.toStdString();
}

// Where no platform can start (no X display), the program says what it
// needs in one line and exits with 1, not with Qt's abort.
TEST(Start, WithoutAnXDisplayTheProgramSaysSoAndExitsWithOne) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/quit_program", {});
    ASSERT_TRUE(p.waitForStarted());
    ASSERT_TRUE(p.waitForFinished(60000)) << "the program did not end";
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << err.toStdString();
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_EQ(err.trimmed().toStdString(),
              "This program needs an X display: set DISPLAY, or QT_QPA_PLATFORM to a platform that works here.")
        << "the program says so in one line";
}
