#include "core/platform.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <unistd.h>

using namespace core;

namespace {

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(PlatformTest, OneCopyPerProgramFolder) {
    QTemporaryDir a, b;
    auto first = std::make_unique<RealPlatform>();
    RealPlatform second;
    ASSERT_TRUE(first->acquireSingleInstance(a.path()));
    EXPECT_TRUE(first->acquireSingleInstance(a.path() + "/"));  // the holder asks again
    EXPECT_FALSE(second.acquireSingleInstance(a.path()));
    EXPECT_TRUE(second.acquireSingleInstance(b.path()));  // another module folder
    first.reset();
    RealPlatform third;
    EXPECT_TRUE(third.acquireSingleInstance(a.path()));
}

TEST(PlatformTest, InstanceLockFallsBackToTheTemporaryFolder) {
    QTemporaryDir prog;
    const QStringList paths = instanceLockPaths(prog.path());
    ASSERT_GE(paths.size(), 1);
    const QString temp = paths.back();
    EXPECT_EQ(QFileInfo(temp).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(temp).fileName().contains(QString::number(getuid())));
    EXPECT_EQ(QFileInfo(temp).fileName(), QFileInfo(paths.front()).fileName());
    EXPECT_EQ(instanceLockPaths(prog.path() + "/"), paths);  // a hash of the folder, not of its spelling

    // A runtime folder where no file can be made (not even by root).
    const QStringList fallback{"/proc/examsim-no-such-folder/x.lock", temp};
    bool held = true;
    auto first = lockFirstOf(fallback, &held);
    ASSERT_TRUE(first);
    EXPECT_FALSE(held);
    EXPECT_TRUE(QFile::exists(temp));
    // A second copy finds the lock in the temporary folder and is refused.
    auto second = lockFirstOf(fallback, &held);
    EXPECT_FALSE(second);
    EXPECT_TRUE(held);
    first.reset();
    EXPECT_FALSE(QFile::exists(temp));
    // Nowhere to lock: nothing held elsewhere.
    EXPECT_FALSE(lockFirstOf({"/proc/examsim-no-such-folder/x.lock"}, &held));
    EXPECT_FALSE(held);
}

TEST(PlatformTest, ProgramFolderAndExecutableName) {
    RealPlatform p;
    const QByteArray old = qgetenv("EXAMSIM_HOME");
    qunsetenv("EXAMSIM_HOME");
    EXPECT_EQ(p.programDir(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
    EXPECT_EQ(p.exeName(), "test_core");
    QTemporaryDir home;
    qputenv("EXAMSIM_HOME", (home.path() + "//").toLocal8Bit());
    EXPECT_EQ(p.programDir(), QDir::cleanPath(home.path()));
    if (old.isNull()) qunsetenv("EXAMSIM_HOME");
    else qputenv("EXAMSIM_HOME", old);
}

TEST(PlatformTest, StartDetachedRunsInTheProgramsFolder) {
    RealPlatform p;
    QTemporaryDir dir;
    EXPECT_FALSE(p.startDetached(dir.filePath("updata.exe")));
    EXPECT_FALSE(p.startDetached(QString()));

    const QString script = dir.filePath("prog.sh");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\npwd > \"$1.tmp\" && mv \"$1.tmp\" \"$1\"\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    const QString out = dir.filePath("out.txt");
    ASSERT_TRUE(p.startDetached(script, {out}));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(out) && t.elapsed() < 10000) QThread::msleep(20);
    EXPECT_EQ(readAll(out).trimmed(), QDir(dir.path()).canonicalPath());
}

TEST(PlatformTest, DesktopEntryQuotesTheTarget) {
    QTemporaryDir desk;
    const QString name = QString::fromUtf8("文字处理模块");
    const QString target = "/opt/my exams/$dir\\x/examsim";
    ASSERT_TRUE(writeDesktopEntry(desk.path(), name, target, "/opt/my exams"));
    const QString file = desk.filePath(name + ".desktop");
    const QString text = readAll(file);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nName=" + name + "\n"));
    // Exec quoting escapes $ and \ and the value escaping doubles backslashes.
    EXPECT_TRUE(text.contains("\nExec=\"/opt/my exams/\\\\$dir\\\\\\\\x/examsim\"\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nPath=/opt/my exams\n"));
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::ExeOwner);

    // Written again: overwritten, not duplicated.
    ASSERT_TRUE(writeDesktopEntry(desk.path(), name, "/bin/other", "/bin"));
    EXPECT_TRUE(readAll(file).contains("Exec=\"/bin/other\""));
    EXPECT_EQ(QDir(desk.path()).entryList(QDir::Files).size(), 1);

    // No desktop folder: no shortcut, and none is created.
    EXPECT_FALSE(writeDesktopEntry(desk.filePath("Desktop"), name, target, "/"));
    EXPECT_FALSE(QFileInfo::exists(desk.filePath("Desktop")));
}

TEST(PlatformTest, OpeningNothingFailsQuietly) {
    RealPlatform p;
    EXPECT_FALSE(p.openFolder("/no/such/folder/anywhere"));
    EXPECT_FALSE(p.openUrl(""));
}

TEST(PlatformTest, ScreenIsFifteenTwipsPerPixel) {
    ScreenInfo s = RealPlatform().screen();
    EXPECT_EQ(s.twipsPerPixelX, 15);
    EXPECT_EQ(s.twipsPerPixelY, 15);
    EXPECT_GT(s.widthTwips, 0);
    EXPECT_GT(s.heightTwips, 0);
    EXPECT_EQ(std::fmod(s.widthTwips, 15), 0);
}

TEST(PlatformTest, SelectedPlatformIsUsed) {
    auto fake = std::make_shared<FakePlatform>();
    fake->alreadyRunning = true;
    setPlatform(fake);
    EXPECT_FALSE(platform().acquireSingleInstance("/m"));
    platform().startDetached("/m/updata.exe");
    EXPECT_EQ(fake->instanceChecks, QStringList{"/m"});
    ASSERT_EQ(fake->started.size(), 1u);
    EXPECT_EQ(fake->started[0].program, "/m/updata.exe");
    setPlatform(nullptr);
    EXPECT_EQ(dynamic_cast<FakePlatform*>(&platform()), nullptr);
}

} // namespace
