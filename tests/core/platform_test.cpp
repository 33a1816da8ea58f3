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
#include <QDateTime>
#include <QSysInfo>
#include <QProcess>
#include <cmath>
#include <sys/file.h>
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

// Sets an environment variable (unset for a null value) for one scope.
struct EnvVar {
    QByteArray name, old;
    EnvVar(const char* n, const QByteArray& value) : name(n), old(qgetenv(n)) { set(value); }
    ~EnvVar() { set(old); }
    void set(const QByteArray& value) { value.isNull() ? qunsetenv(name) : qputenv(name, value); }
};

TEST(PlatformTest, EveryEnvironmentFindsTheSameLock) {
    QTemporaryDir tmp, prog;
    const QString runA = tmp.path() + "/runA", runB = tmp.path() + "/runB";
    for (const QString& d : {runA, runB}) {
        ASSERT_TRUE(QDir().mkpath(d));
        QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EnvVar runtime("XDG_RUNTIME_DIR", runA.toLocal8Bit());
    EnvVar temp("TMPDIR", tmp.path().toLocal8Bit());
    RealPlatform first;
    ASSERT_TRUE(first.acquireSingleInstance(prog.path()));

    // The same user's other copies, whatever their runtime and temporary
    // folders and however they spell the module folder.
    const QString link = tmp.path() + "/link";
    ASSERT_TRUE(QFile::link(prog.path(), link));
    struct Case { const char* what; QByteArray runtime, tmpdir; QString folder; } cases[] = {
        {"another runtime folder", runB.toLocal8Bit(), tmp.path().toLocal8Bit(), prog.path()},
        {"no runtime folder", QByteArray(), tmp.path().toLocal8Bit(), prog.path()},
        {"no runtime folder, another temporary one", QByteArray(), runB.toLocal8Bit(), prog.path() + "/"},
        {"the folder through a link", runB.toLocal8Bit(), QByteArray(), link},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        runtime.set(c.runtime);
        temp.set(c.tmpdir);
        RealPlatform other;
        EXPECT_FALSE(other.acquireSingleInstance(c.folder));
        EXPECT_EQ(instanceLockPath(c.folder), instanceLockPath(prog.path()));
    }
    const QString path = instanceLockPath(prog.path());
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(prog.path()).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(path).fileName().contains(QString::number(getuid())));
    EXPECT_TRUE(QFile::exists(path));
    first.releaseSingleInstance();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PlatformTest, StaleInstanceLocksAreTakenOver) {
    QTemporaryDir prog;
    const QString path = instanceLockPath(prog.path());
    // A process that has ended: its id names nobody now.
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForStarted());
    const QByteArray deadPid = QByteArray::number(ended.processId());
    ASSERT_TRUE(ended.waitForFinished());
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray app = QCoreApplication::applicationName().toUtf8();
    const QByteArray thisMachine = QSysInfo::machineUniqueId() + "\n" + QSysInfo::bootUniqueId() + "\n";
    struct Case {
        const char* what;
        QByteArray contents;
        int ageSeconds;       // of the file
        bool nativelyLocked;  // a running process holds the file's native lock
        bool takenOver;
    } cases[] = {
        {"owner gone, this machine", deadPid + "\n" + app + "\n" + host + "\n" + thisMachine, 0, false, true},
        {"owner of another machine, gone", "4242\nexamsim\nelsewhere\n0123456789abcdef\nboot\n", 0, false, true},
        {"owner of another machine, running", "4242\nexamsim\nelsewhere\n0123456789abcdef\nboot\n", 0, true, false},
        {"killed before its contents, long ago", "", 3600, false, true},
        {"killed before its contents, long ago, held", "", 3600, true, false},
        {"being made right now", "", 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.contents);
        f.flush();
        if (c.ageSeconds) f.setFileTime(QDateTime::currentDateTime().addSecs(-c.ageSeconds), QFileDevice::FileModificationTime);
        if (c.nativelyLocked) {
            ASSERT_EQ(::flock(f.handle(), LOCK_EX | LOCK_NB), 0);
        }
        bool held = !c.takenOver;
        auto lock = lockInstance(path, &held);
        EXPECT_EQ(bool(lock), c.takenOver);
        EXPECT_EQ(held, !c.takenOver);
        if (lock) {
            qint64 pid = 0;
            QString h, a;
            ASSERT_TRUE(lock->getLockInfo(&pid, &h, &a));
            EXPECT_EQ(pid, QCoreApplication::applicationPid());
        } else {
            EXPECT_TRUE(QFile::exists(path));
        }
        f.close();
        lock.reset();
        QFile::remove(path);
    }

    // A folder where no file can be made: nothing held elsewhere.
    bool held = true;
    EXPECT_FALSE(lockInstance("/proc/examsim-no-such-folder/x.lock", &held));
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
