#include "core/platform.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QDateTime>
#include <QSysInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <cmath>
#include <grp.h>
#include <memory>
#include <optional>
#include <vector>
#include <pwd.h>
#include <csignal>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    // In the records folder, where the copies write.
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(prog.path()).canonicalFilePath() + "/ksdata");
    EXPECT_TRUE(QFileInfo(path).fileName().contains(QString::number(getuid())));
    EXPECT_TRUE(QFile::exists(path));
    first.releaseSingleInstance();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PlatformTest, StaleInstanceLocksAreTakenOver) {
    QTemporaryDir prog;
    const QString path = instanceLockPath(prog.path());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
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
        {"killed before its contents, just now", "", 0, false, true},
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
            // The file at the path is the one now held.
            EXPECT_EQ(lock->path(), path);
            QFile again(path);
            ASSERT_TRUE(again.open(QIODevice::ReadOnly));
            EXPECT_NE(::flock(again.handle(), LOCK_EX | LOCK_NB), 0);
        } else {
            EXPECT_TRUE(QFile::exists(path));
        }
        f.close();
        lock.reset();
        QFile::remove(path);
    }

    // A folder at the lock's place: the copy holds the fallback, which every
    // later copy finds, also once the folder is gone.
    ASSERT_TRUE(QDir().mkpath(path));
    bool held = true;
    auto first = lockInstance(path, &held);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->path(), path + ".1");
    ASSERT_TRUE(QDir().rmdir(path));
    EXPECT_FALSE(lockInstance(path, &held));
    EXPECT_TRUE(held);
    first.reset();
    EXPECT_TRUE(lockInstance(path, &held));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());

    // A folder where no file can be made: nothing held elsewhere.
    held = true;
    EXPECT_FALSE(lockInstance("/proc/examsim-no-such-folder/x.lock", &held));
    EXPECT_FALSE(held);
}

// The file system as a probe sees it, through the seam library preloaded
// into it: as it is; without kernel locks (a share without a lock manager);
// with the file of its first lock removed just before the lock is taken; or
// without kernel locks, the probe stopping itself at each step of a takeover.
enum class Seam { None, NoKernelLocks, FirstLockOnRemovedFile, PausedTakeOver };

// A copy of the program as far as its single-instance check goes, run as an
// ordinary user: when the tests run as root, as nobody, for whom the
// permissions of the folders count.
class Probe {
public:
    explicit Probe(const QString& folder, const QStringList& flags = {}, Seam seam = Seam::None) {
        p_.setProgram(QCoreApplication::applicationDirPath() + "/lock_probe");
        p_.setArguments(QStringList{folder} + flags);
        if (seam != Seam::None) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LD_PRELOAD", seamLibrary());
            if (seam == Seam::FirstLockOnRemovedFile) env.insert("EXAMSIM_LOCK_SEAM", "unlink-first");
            else if (seam == Seam::PausedTakeOver) env.insert("EXAMSIM_LOCK_SEAM", "pause-takeover");
            else env.remove("EXAMSIM_LOCK_SEAM");
            p_.setProcessEnvironment(env);
        }
        if (const std::optional<User> u = user()) {
            p_.setChildProcessModifier([u] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(u->gid) != 0 || ::setuid(u->uid) != 0) ::_exit(126);
            });
        }
        p_.start();
    }
    ~Probe() {
        p_.kill();
        p_.waitForFinished();
    }
    // The next line it prints.
    QString line() {
        while (!p_.canReadLine())
            if (!p_.waitForReadyRead(30000)) return "(no answer: " + QString::fromLocal8Bit(p_.readAllStandardError()) + ")";
        return QString::fromLocal8Bit(p_.readLine()).trimmed();
    }
    void write(const QByteArray& data) { p_.write(data); p_.waitForBytesWritten(); }
    // What it has printed on standard error so far.
    QByteArray errors() {
        err_ += p_.readAllStandardError();
        return err_;
    }
    // Lets a probe that the seam stopped go on (one just started goes on
    // anyway) until the seam stops it again or it answers: "pause WHERE", or
    // its answer.
    QString advance() {
        const qsizetype pauses = errors().count("pause ");
        if (stopped()) ::kill(static_cast<pid_t>(p_.processId()), SIGCONT);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            if (p_.canReadLine()) return line();
            const QByteArray err = errors();
            if (err.count("pause ") > pauses && err.endsWith('\n') && stopped())
                return QString::fromLocal8Bit(err.trimmed().split('\n').last());
            p_.waitForReadyRead(5);
        }
        return "(neither stopped nor answered: " + QString::fromLocal8Bit(errors()) + ")";
    }
    // Advances it until it answers, or until it stops at `where`.
    QString advanceTo(const QString& where = {}) {
        for (;;) {
            const QString at = advance();
            if (!at.startsWith("pause ") || at == where) return at;
        }
    }
    // Lets go of the claim and ends.
    void end() {
        p_.closeWriteChannel();
        p_.waitForFinished(30000);
    }
    void killHard() {
        ::kill(static_cast<pid_t>(p_.processId()), SIGKILL);
        p_.waitForFinished(30000);
    }
    qint64 pid() const { return p_.processId(); }
    // Whether the seam library is loaded: the loader skips one it cannot read.
    bool seamLoaded() {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(p_.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(seamLibrary()));
    }
    static QString seamLibrary() { return QCoreApplication::applicationDirPath() + "/liblock_seam.so"; }
    // Stopped by a signal.
    bool stopped() const {
        return readAll(QStringLiteral("/proc/%1/stat").arg(p_.processId())).section(')', -1).trimmed().startsWith('T');
    }

    struct User {
        uid_t uid;
        gid_t gid;
    };
    static std::optional<User> user() {
        if (::geteuid() != 0) return std::nullopt;
        const passwd* pw = ::getpwnam("nobody");
        if (!pw) return std::nullopt;
        return User{pw->pw_uid, pw->pw_gid};
    }

private:
    QProcess p_;
    QByteArray err_;
};

// Hands a path made by the test to the probes' user.
void giveToProbeUser(const QString& path) {
    if (const auto u = Probe::user()) {
        ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), u->uid, u->gid), 0) << path.toStdString();
    }
}

// `root` and the folders below it (made here), owned by the probes' user.
void probeFolders(const QString& root, const QStringList& below) {
    giveToProbeUser(root);
    for (const QString& f : below) {
        ASSERT_TRUE(QDir().mkpath(root + "/" + f)) << f.toStdString();
        giveToProbeUser(root + "/" + f);
    }
}

void setMode(const QString& path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

// A lock file's contents naming a holder, as a copy writes them where the file
// system has no kernel locks.
QByteArray holder(qint64 pid, const QByteArray& program, const QByteArray& machine = QSysInfo::machineUniqueId(),
                  const QByteArray& boot = QSysInfo::bootUniqueId(),
                  const QByteArray& host = QSysInfo::machineHostName().toUtf8()) {
    return QByteArray::number(pid) + "\n" + program + "\n" + host + "\n" + machine + "\n" + boot + "\n";
}

// The id of a process that has ended.
qint64 endedProcess() {
    QProcess ended;
    ended.start("true");
    if (!ended.waitForStarted()) return 0;
    const qint64 pid = ended.processId();
    ended.waitForFinished();
    return pid;
}

// A process that has ended and that its parent, this one, has not reaped
// yet: it keeps its id until waitpid().
pid_t unreapedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    if (pid < 0) return 0;
    // Until it has ended it still runs.
    const QString stat = QStringLiteral("/proc/%1/stat").arg(pid);
    for (int i = 0; i < 500 && !readAll(stat).section(')', -1).trimmed().startsWith('Z'); ++i) QThread::msleep(10);
    return pid;
}

// A file left at `path` with `contents`, last written `ageSeconds` ago, of the
// probes' user.
void leave(const QString& path, const QByteArray& contents, int ageSeconds = 0) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(contents);
    f.flush();
    if (ageSeconds) f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    f.close();
    giveToProbeUser(path);
}

TEST(PlatformTest, OneCopyWhereverTheRecordsCanBeWritten) {
    if (::geteuid() == 0) {
        ASSERT_TRUE(Probe::user()) << "no user nobody to run the copies as";
    }
    enum Leftover {
        Nothing,
        KilledCopy,
        KilledCopyReadOnly,    // its file then made read-only
        EmptyFile,             // just made
        EmptyFileLongAgo,
        GoneProcess,           // names a process of this host that has ended
        UnreapedProcess,       // names a process killed, not yet reaped by its parent
        OtherProgram,          // names a process id now running another program
        OtherBoot,             // names a running process, of an earlier boot
        RunningLongAgo,        // names a running process, written long ago
        OtherMachine,
        OtherMachineSameName,  // this host name, another machine id, process gone
        OtherHostNoMachineId,  // another host name and no machine id, process gone
        RenamedHost,           // this machine under an earlier host name, process gone
        OtherUsersProcess,     // names a process id now running for another user
        GuardLeft,             // names a process gone, and a guard of one gone
        Folder,
        DanglingLink,
    };
    enum Records { NoRecords, RecordsWritable, RecordsReadOnly };
    enum Copies { OneCopy, EveryCopy, NoCopy };
    constexpr Seam Fail = Seam::NoKernelLocks, Work = Seam::None;
    struct Case {
        const char* what;
        Seam kernelLocks;   // every probe's; the first probe's only for FirstLockOnRemovedFile
        bool programWritable;
        Records records;
        Leftover leftover;  // at the lock's place, from before
        Copies copies;      // OneCopy: a second copy is refused while the first runs
    } cases[] = {
        {"writable module", Work, true, NoRecords, Nothing, OneCopy},
        {"a copy killed, module then read-only", Work, false, RecordsReadOnly, KilledCopy, OneCopy},
        {"a copy killed, its file and the module then read-only", Work, false, RecordsReadOnly, KilledCopyReadOnly,
         OneCopy},
        {"a copy killed, module writable", Work, true, RecordsWritable, KilledCopy, OneCopy},
        {"an empty file left, module read-only", Work, false, RecordsReadOnly, EmptyFile, OneCopy},
        {"another machine's lock, program folder read-only", Work, false, RecordsWritable, OtherMachine, OneCopy},
        {"program folder read-only, records folder writable", Work, false, RecordsWritable, Nothing, OneCopy},
        {"a folder where the lock belongs", Work, false, RecordsWritable, Folder, OneCopy},
        {"a dangling link where the lock belongs", Work, false, RecordsWritable, DanglingLink, OneCopy},
        {"the first lock lands on a file that has left its path", Seam::FirstLockOnRemovedFile, true, RecordsWritable,
         Nothing, OneCopy},
        // Nothing can be written: the program runs, without a lock.
        {"program folder read-only, no records folder", Work, false, NoRecords, Nothing, EveryCopy},
        {"module read-only, nothing left", Work, false, RecordsReadOnly, Nothing, EveryCopy},

        {"no kernel locks: writable module", Fail, true, NoRecords, Nothing, OneCopy},
        {"no kernel locks: a copy killed", Fail, true, RecordsWritable, KilledCopy, OneCopy},
        {"no kernel locks: a process of this host gone", Fail, true, RecordsWritable, GoneProcess, OneCopy},
        {"no kernel locks: a copy killed, not yet reaped", Fail, true, RecordsWritable, UnreapedProcess, OneCopy},
        {"no kernel locks: its process id now another program's", Fail, true, RecordsWritable, OtherProgram, OneCopy},
        {"no kernel locks: a running process of an earlier boot", Fail, true, RecordsWritable, OtherBoot, OneCopy},
        {"no kernel locks: a copy killed before the host was renamed", Fail, true, RecordsWritable, RenamedHost, OneCopy},
        {"no kernel locks: its process id now another user's", Fail, true, RecordsWritable, OtherUsersProcess, OneCopy},
        {"no kernel locks: an empty file from long ago", Fail, true, RecordsWritable, EmptyFileLongAgo, OneCopy},
        {"no kernel locks: a guard left by a killed copy", Fail, true, RecordsWritable, GuardLeft, OneCopy},
        {"no kernel locks: program folder read-only, records folder writable", Fail, false, RecordsWritable, Nothing,
         OneCopy},
        {"no kernel locks: a folder where the lock belongs", Fail, false, RecordsWritable, Folder, OneCopy},
        {"no kernel locks: a dangling link where the lock belongs", Fail, false, RecordsWritable, DanglingLink, OneCopy},
        // The holder named may be running: never taken over.
        {"no kernel locks: a running copy's lock from long ago", Fail, true, RecordsWritable, RunningLongAgo, NoCopy},
        {"no kernel locks: another machine's lock", Fail, true, RecordsWritable, OtherMachine, NoCopy},
        {"no kernel locks: another machine of this host name", Fail, true, RecordsWritable, OtherMachineSameName, NoCopy},
        {"no kernel locks: another host's lock without a machine id", Fail, true, RecordsWritable, OtherHostNoMachineId,
         NoCopy},
        {"no kernel locks: an empty file being written", Fail, true, RecordsWritable, EmptyFile, NoCopy},
        {"no kernel locks: another machine's lock, module read-only", Fail, false, RecordsReadOnly, OtherMachine, NoCopy},
        // A stale file that cannot be removed holds nothing.
        {"no kernel locks: a copy killed, module then read-only", Fail, false, RecordsReadOnly, KilledCopy, EveryCopy},
        {"no kernel locks: nothing writable", Fail, false, NoRecords, Nothing, EveryCopy},
    };
    const qint64 gone = endedProcess();
    ASSERT_GT(gone, 0);
    // A process of another user than the probes': this one's, where they run
    // as nobody; else the first process, of the system's user.
    QProcess othersProcess;
    qint64 others = 1;
    if (Probe::user()) {
        othersProcess.start("sleep", {"600"});
        ASSERT_TRUE(othersProcess.waitForStarted());
        others = othersProcess.processId();
    }
    ASSERT_NE(readAll(QStringLiteral("/proc/%1/status").arg(others)).section("Uid:", 1).simplified().section(' ', 0, 0),
              QString::number(Probe::user() ? Probe::user()->uid : ::getuid()))
        << "process " << others << " runs for the probes' user";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir tmp;
        const QString prog = tmp.path() + "/prog", records = prog + "/ksdata";
        ASSERT_NO_FATAL_FAILURE(probeFolders(tmp.path(), c.records != NoRecords ? QStringList{"prog", "prog/ksdata"}
                                                                                 : QStringList{"prog"}));
        QString lockPath;
        {
            Probe path(prog, {"--path"});
            lockPath = path.line();
        }
        ASSERT_TRUE(lockPath.startsWith(prog + "/")) << lockPath.toStdString();
        // The seam of every probe but the first.
        const Seam seam = c.kernelLocks == Seam::FirstLockOnRemovedFile ? Seam::None : c.kernelLocks;
        qint64 child = 0;
        pid_t unreaped = 0;
        if (c.leftover == KilledCopy || c.leftover == KilledCopyReadOnly || c.leftover == OtherProgram ||
            c.leftover == OtherBoot || c.leftover == RunningLongAgo) {
            // A copy that starts a program which goes on running; killed, or
            // ended elsewhere for a running process to name.
            const bool killed = c.leftover == KilledCopy || c.leftover == KilledCopyReadOnly;
            const QString other = tmp.path() + "/other";
            if (!killed) {
                ASSERT_TRUE(QDir().mkpath(other));
                giveToProbeUser(other);
            }
            Probe starter(killed ? prog : other, {"--child"}, seam);
            const QString started = starter.line();
            ASSERT_TRUE(started.startsWith("child ")) << started.toStdString();
            child = started.mid(6).toLongLong();
            ASSERT_EQ(starter.line(), "run");
            if (killed) {
                starter.killHard();
                ASSERT_TRUE(QFileInfo::exists(lockPath));
                if (c.leftover == KilledCopyReadOnly) setMode(lockPath, 0444);
            } else {
                starter.end();
            }
        }
        if (c.leftover != Nothing && c.leftover != KilledCopy && c.leftover != KilledCopyReadOnly) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(lockPath).absolutePath()));
            const QByteArray running =
                QFileInfo(QStringLiteral("/proc/%1/exe").arg(child)).symLinkTarget().section('/', -1).toUtf8();
            switch (c.leftover) {
            case Folder:
                ASSERT_TRUE(QDir().mkpath(lockPath));
                giveToProbeUser(lockPath);
                break;
            case DanglingLink:
                ASSERT_TRUE(QFile::link(tmp.path() + "/gone", lockPath));
                giveToProbeUser(lockPath);
                break;
            case EmptyFile: leave(lockPath, ""); break;
            case EmptyFileLongAgo: leave(lockPath, "", 3600); break;
            case GoneProcess: leave(lockPath, holder(gone, "lock_probe")); break;
            case UnreapedProcess:
                unreaped = unreapedProcess();
                ASSERT_GT(unreaped, 0);
                leave(lockPath, holder(unreaped, "lock_probe"));
                break;
            case OtherProgram: leave(lockPath, holder(child, "lock_probe")); break;
            case OtherBoot: leave(lockPath, holder(child, running, QSysInfo::machineUniqueId(), "an earlier boot")); break;
            case RunningLongAgo: leave(lockPath, holder(child, running), 3600); break;
            case OtherMachine: leave(lockPath, "4242\nexamsim\nelsewhere\n0123456789abcdef\nboot\n"); break;
            case OtherMachineSameName: leave(lockPath, holder(gone, "lock_probe", "0123456789abcdef")); break;
            case OtherHostNoMachineId: leave(lockPath, holder(gone, "lock_probe", "", "boot", "elsewhere")); break;
            case RenamedHost:
                ASSERT_FALSE(QSysInfo::machineUniqueId().isEmpty()) << "this machine has no machine id";
                leave(lockPath, holder(gone, "lock_probe", QSysInfo::machineUniqueId(), QSysInfo::bootUniqueId(),
                                       "a-former-name"));
                break;
            case OtherUsersProcess: leave(lockPath, holder(others, "lock_probe")); break;
            case GuardLeft:
                leave(lockPath, holder(gone, "lock_probe"));
                leave(lockPath + ".guard", holder(gone, "lock_probe"));
                break;
            default: break;
            }
        }
        if (c.records == RecordsReadOnly) setMode(records, 0555);
        if (!c.programWritable) setMode(prog, 0555);

        {
            Probe first(prog, {}, c.kernelLocks);
            EXPECT_EQ(first.line(), c.copies == NoCopy ? "refused" : "run");
            if (c.kernelLocks != Seam::None) {
                EXPECT_TRUE(first.seamLoaded());
            }
            if (c.kernelLocks == Seam::NoKernelLocks && c.copies == OneCopy) {
                // The file held names its holder.
                const QString held = QFileInfo(lockPath).isFile() ? lockPath : lockPath + ".1";
                EXPECT_EQ(readAll(held), QString::fromUtf8(holder(first.pid(), "lock_probe")));
            }
            Probe second(prog, {}, seam);
            EXPECT_EQ(second.line(), c.copies == EveryCopy ? "run" : "refused");
            second.end();
            first.end();
        }
        // The first one gone, the next start runs.
        Probe next(prog, {}, seam);
        EXPECT_EQ(next.line(), c.copies == NoCopy ? "refused" : "run");
        next.end();
        // Clean ends leave no lock file behind, only what was there and stays.
        if (c.records == RecordsWritable || (c.records == NoRecords && c.programWritable)) {
            const bool stays = c.leftover == Folder || c.leftover == DanglingLink || c.copies == NoCopy;
            EXPECT_EQ(QDir(records).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                      stays ? QStringList{QFileInfo(lockPath).fileName()} : QStringList());
        }

        if (child > 0) ::kill(static_cast<pid_t>(child), SIGKILL);
        if (unreaped > 0) ::waitpid(unreaped, nullptr, 0);
        setMode(prog, 0755);
        setMode(records, 0755);
    }
    othersProcess.kill();
    othersProcess.waitForFinished();
}

TEST(PlatformTest, PairedStartsOnAStaleLockRunOneCopy) {
    QTemporaryDir tmp;
    const QString prog = tmp.path();
    giveToProbeUser(prog);
    QString lockPath;
    {
        Probe path(prog, {"--path"});
        lockPath = path.line();
    }
    ASSERT_TRUE(lockPath.startsWith(prog + "/")) << lockPath.toStdString();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(lockPath).absolutePath()));
    giveToProbeUser(QFileInfo(lockPath).absolutePath());
    const qint64 gone = endedProcess();
    ASSERT_GT(gone, 0);
    struct Leftover {
        QByteArray contents;
        int ageSeconds;
    };
    const struct Variant {
        const char* what;
        Seam seam;
        std::vector<Leftover> leftovers;  // taken in turn
        int rounds;
    } variants[] = {
        {"kernel locks", Seam::None, {{"", 0}, {"4242\nexamsim\nelsewhere\n0123456789abcdef\nboot\n", 0}}, 150},
        {"no kernel locks", Seam::NoKernelLocks, {{holder(gone, "lock_probe"), 0}, {"", 3600}}, 100},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.what);
        int bothRan = 0, noneRan = 0;
        for (int round = 0; round < v.rounds; ++round) {
            const Leftover& left = v.leftovers[round % v.leftovers.size()];
            ASSERT_NO_FATAL_FAILURE(leave(lockPath, left.contents, left.ageSeconds));
            // Both wait at the start line, then ask together.
            Probe a(prog, {"--wait"}, v.seam), b(prog, {"--wait"}, v.seam);
            ASSERT_EQ(a.line(), "ready");
            ASSERT_EQ(b.line(), "ready");
            if (round == 0 && v.seam != Seam::None) {
                ASSERT_TRUE(a.seamLoaded());
            }
            a.write("go\n");
            b.write("go\n");
            const int ran = (a.line() == "run") + (b.line() == "run");
            bothRan += ran == 2;
            noneRan += ran == 0;
            a.end();
            b.end();
        }
        EXPECT_EQ(bothRan, 0) << "of " << v.rounds << " paired starts";
        EXPECT_EQ(noneRan, 0) << "of " << v.rounds << " paired starts";
        // Nothing left of the takeovers.
        EXPECT_EQ(QDir(QFileInfo(lockPath).absolutePath())
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

// Three copies find one stale file at once, and the seam holds each where it
// takes the file over while the others go on, in a set order: one copy runs,
// however they take turns.
TEST(PlatformTest, CopiesTakingOverOneStaleFileInTurnsRunOne) {
    const qint64 gone = endedProcess();
    ASSERT_GT(gone, 0);
    enum Until { Answer, MovedAside };
    struct Turn {
        int copy;
        Until until;  // or its answer, whichever comes first
    };
    struct Case {
        const char* what;
        std::vector<Turn> turns;  // after each copy has stopped after judging the file
    } cases[] = {
        // The second copy moves the new holder's file aside while the
        // first makes a file of its own at the empty path.
        {"the last takes over, the second moves the new file aside, the first goes on",
         {{2, Answer}, {1, MovedAside}, {0, Answer}, {1, Answer}}},
        {"each in turn, last first", {{2, Answer}, {1, Answer}, {0, Answer}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir tmp;
        const QString prog = tmp.path() + "/prog", records = prog + "/ksdata";
        ASSERT_NO_FATAL_FAILURE(probeFolders(tmp.path(), {"prog", "prog/ksdata"}));
        QString lockPath;
        {
            Probe path(prog, {"--path"});
            lockPath = path.line();
        }
        ASSERT_NO_FATAL_FAILURE(leave(lockPath, holder(gone, "lock_probe")));
        std::vector<std::unique_ptr<Probe>> copies;
        for (int i = 0; i < 3; ++i) {
            copies.push_back(std::make_unique<Probe>(prog, QStringList{}, Seam::PausedTakeOver));
            // Each has judged the file stale and stops where it takes it over.
            const QString at = copies.back()->advance();
            ASSERT_TRUE(at.startsWith("pause ")) << i << ": " << at.toStdString();
        }
        ASSERT_TRUE(copies[0]->seamLoaded());
        std::vector<QString> answers(3);
        for (const Turn& t : c.turns) {
            if (!answers[t.copy].isEmpty()) continue;
            const QString at = copies[t.copy]->advanceTo(t.until == MovedAside ? "pause moved" : "");
            if (!at.startsWith("pause ")) answers[t.copy] = at;
        }
        int ran = 0;
        for (int i = 0; i < 3; ++i) {
            if (answers[i].isEmpty()) answers[i] = copies[i]->advanceTo();
            EXPECT_TRUE(answers[i] == "run" || answers[i] == "refused") << i << ": " << answers[i].toStdString();
            if (answers[i] == "run") {
                ++ran;
                EXPECT_EQ(readAll(lockPath), QString::fromUtf8(holder(copies[i]->pid(), "lock_probe"))) << i;
            }
        }
        EXPECT_EQ(ran, 1);
        for (auto& p : copies) p->end();
        // Nothing left of the takeovers.
        EXPECT_EQ(QDir(records).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

// Where the file system has no kernel locks, a start says nothing of it: not
// for its own lock, nor for the registry's.
TEST(PlatformTest, AStartWithoutKernelLocksPrintsNothing) {
    for (const Seam seam : {Seam::None, Seam::NoKernelLocks}) {
        SCOPED_TRACE(seam == Seam::None ? "kernel locks" : "no kernel locks");
        QTemporaryDir tmp;
        const QString prog = tmp.path() + "/prog", config = tmp.path() + "/config";
        ASSERT_NO_FATAL_FAILURE(probeFolders(tmp.path(), {"prog", "config"}));
        Probe probe(prog, {"--registry", config + "/registry.ini"}, seam);
        EXPECT_EQ(probe.line(), "run");
        EXPECT_EQ(probe.line(), "registry 0");
        EXPECT_TRUE(readAll(config + "/registry.ini").contains("Started")) << readAll(config + "/registry.ini").toStdString();
        if (seam != Seam::None) {
            EXPECT_TRUE(probe.seamLoaded());
        }
        probe.end();
        EXPECT_EQ(probe.errors(), QByteArray());
        // The registry's writers leave no lock behind.
        EXPECT_EQ(QDir(config).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList{"registry.ini"});
    }
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

TEST(PlatformTest, OnlyTheShortcutsOwnLeftoversLeaveTheDesktop) {
    QTemporaryDir desk;
    const QString name = QString::fromUtf8("文字处理模块"), own = "." + name + ".desktop.examsim-partial-";
    ASSERT_TRUE(writeDesktopEntry(desk.path(), name, "/opt/examsim/examsim", "/opt/examsim"));
    struct Case { QString file; bool link; bool removed; } cases[] = {
        {own + "AbC123", false, true},
        {own + "000000", false, true},
        {own + "Link01", true, false},
        {own + "AbC12", false, false},
        {"." + name + ".desktop.bak.examsim-partial-AbC123", false, false},
        {".other.desktop.examsim-partial-AbC123", false, false},
        {".288862.rar.examsim-partial-AbC123", false, false},
        {name + ".desktop.examsim-partial-AbC123", false, false},
    };
    for (const Case& c : cases) {
        const QString p = desk.filePath(c.file);
        if (c.link) {
            ASSERT_TRUE(QFile::link(desk.filePath(name + ".desktop"), p));
        } else {
            QFile f(p);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    removeDesktopEntryLeftovers(desk.path(), name);
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo(desk.filePath(c.file)).isSymLink() || QFileInfo::exists(desk.filePath(c.file)), !c.removed)
            << c.file.toStdString();
    EXPECT_TRUE(readAll(desk.filePath(name + ".desktop")).startsWith("[Desktop Entry]"));

    // A name that is no file name as it stands: its file's leftovers.
    const QString odd = "a/b";
    ASSERT_TRUE(writeDesktopEntry(desk.path(), odd, "/bin/true", "/"));
    const QString leftover = desk.filePath(".a_b.desktop.examsim-partial-AbC123");
    QFile f(leftover);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    removeDesktopEntryLeftovers(desk.path(), odd);
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(desk.filePath("a_b.desktop")));
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
