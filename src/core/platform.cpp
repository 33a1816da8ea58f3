#include "core/platform.h"
#include "core/service.h"
#include "core/state.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

bool haveGuiApp() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QString cleanDir(const QString& dir) {
    QFileInfo fi(dir);
    const QString canon = fi.canonicalFilePath();
    return QDir::cleanPath(canon.isEmpty() ? fi.absoluteFilePath() : canon);
}

QString executablePath() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

} // namespace

QString instanceLockPath(const QString& programDir) {
    return cleanDir(programDir) + u'/' + QLatin1String(RecordsFolder) + QStringLiteral("/.examsim-%1.lock").arg(getuid());
}

namespace {

enum class Outcome { Locked, HeldElsewhere, NotLocked };

// Never through a link, never kept by a program this one starts, never
// waiting on a pipe.
constexpr int OpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

// A lock file without readable contents is left by a copy killed between
// making and writing it once it is older than this; younger, its copy may be
// writing it.
constexpr time_t UnwrittenSeconds = 5;

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The file name of the program process `pid` runs ("self" for this one);
// empty when it cannot be seen.
QByteArray programOf(const QByteArray& pid) {
    char buf[4096];
    const ssize_t n = ::readlink(("/proc/" + pid + "/exe").constData(), buf, sizeof buf);
    if (n <= 0 || n == ssize_t(sizeof buf)) return {};
    QByteArray path(buf, n);
    // Still the same program when its file was replaced while it runs.
    if (path.endsWith(" (deleted)")) path.chop(10);
    return path.mid(path.lastIndexOf('/') + 1);
}

// What the system tells of process `pid`: whether it has ended and waits
// only for its parent to reap it (killed, say, while its parent is busy),
// and its real user id (-1 where that cannot be read).
struct ProcessStatus {
    bool ended = false;
    long long uid = -1;
};

ProcessStatus statusOf(const QByteArray& pid) {
    ProcessStatus out;
    QFile f(QString::fromLatin1("/proc/" + pid + "/status"));
    if (!f.open(QIODevice::ReadOnly)) return out;
    // One field a line; the name's line has its line ends escaped.
    for (const QByteArray& line : f.read(4096).split('\n')) {
        if (line.startsWith("State:")) {
            const QByteArray state = line.mid(6).trimmed().left(1);
            out.ended = state == "Z" || state == "X";
        } else if (line.startsWith("Uid:")) {
            bool ok = false;
            const long long uid = line.mid(4).simplified().split(' ').value(0).toLongLong(&ok);
            if (ok) out.uid = uid;
        }
    }
    return out;
}

// Who holds a lock file where the kernel gives no locks, one line each:
// process id, program, host, machine id, boot id.
QByteArray identity() {
    return QByteArray::number(::getpid()) + '\n' + programOf("self") + '\n' + QSysInfo::machineHostName().toUtf8() +
           '\n' + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
}

bool writeIdentity(int fd) {
    const QByteArray id = identity();
    // Synced, so that other hosts on a shared folder read it too.
    return ::pwrite(fd, id.constData(), id.size(), 0) == id.size() && ::fsync(fd) == 0;
}

QByteArray readHead(int fd) {
    char buf[1024];
    const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
    return n > 0 ? QByteArray(buf, n) : QByteArray();
}

// Whether the holder that the lock file `st` names in `contents` is gone: a
// process of this machine that no longer runs, now runs another program or
// for another user, or ran before the last boot. The machine id tells this
// machine, whatever its host name now; the host name only where there is none.
// Another machine's holder is never gone for us, a running one never by age.
bool stale(const QByteArray& contents, const struct stat& st) {
    QList<QByteArray> lines = contents.split('\n');
    lines.removeLast();  // what follows the last line end is not written out
    bool ok = false;
    const long long pid = lines.size() >= 3 ? lines[0].toLongLong(&ok) : 0;
    if (!ok || pid <= 0 || pid > INT_MAX) return ::time(nullptr) - st.st_mtime > UnwrittenSeconds;
    if (lines.size() > 3 && !lines[3].isEmpty()) {
        if (lines[3] != QSysInfo::machineUniqueId()) return false;
    } else if (lines[2] != QSysInfo::machineHostName().toUtf8()) {
        return false;
    }
    if (lines.size() > 4 && !lines[4].isEmpty()) {
        const QByteArray boot = QSysInfo::bootUniqueId();
        if (!boot.isEmpty() && lines[4] != boot) return true;
    }
    const int killError = ::kill(static_cast<pid_t>(pid), 0) == 0 ? 0 : errno;
    if (killError == ESRCH) return true;
    const QByteArray id = QByteArray::number(pid);
    const ProcessStatus status = statusOf(id);
    if (status.ended) return true;
    // The file is named for this user: its holder was one of this user's;
    // where the user cannot be read, a refused signal tells another's.
    if (status.uid >= 0 ? status.uid != ::getuid() : killError == EPERM) return true;
    const QByteArray running = programOf(id);
    return !lines[1].isEmpty() && !running.isEmpty() && running != lines[1];
}

// Whether the file open as `fd` is the file `as` and stale; `st` is what it is.
bool staleFile(int fd, const struct stat& as, struct stat& st) {
    return fd >= 0 && ::fstat(fd, &st) == 0 && sameFile(st, as) && stale(readHead(fd), st);
}

enum class Removal { Removed, Kept, Busy, Refused };

// Removes the file at `path` if it is still the file `seen` and stale. It is
// judged again as it lies at the path first: a file made there since (which
// may even have the removed file's inode) is its maker's and is never moved,
// not even for a moment, as a copy could make a file of its own meanwhile and
// leave no room to put it back. It is then moved aside and judged there, so
// what is judged is what goes; a file moved by mistake is put back.
Removal removeStale(const QByteArray& path, const struct stat& seen) {
    const int at = ::open(path.constData(), O_RDONLY | OpenFlags);
    if (at < 0) return errno == ENOENT ? Removal::Removed : Removal::Refused;
    struct stat now;
    const bool still = staleFile(at, seen, now);
    ::close(at);
    if (!still) return Removal::Kept;
    const QByteArray aside = path + '.' + QByteArray::number(::getpid()) + ".stale";
    if (::rename(path.constData(), aside.constData()) != 0)
        return errno == ENOENT ? Removal::Removed : Removal::Refused;
    const int fd = ::open(aside.constData(), O_RDONLY | OpenFlags);
    struct stat st;
    const bool gone = staleFile(fd, now, st);
    if (fd >= 0) ::close(fd);
    if (gone) {
        ::unlink(aside.constData());
        return Removal::Removed;
    }
    // Put back without replacing what may have been made at the path since.
    if (::link(aside.constData(), path.constData()) == 0 || errno == EEXIST) ::unlink(aside.constData());
    else ::rename(aside.constData(), path.constData());  // a file system without hard links
    return Removal::Kept;
}

// Removes the stale lock file `seen` at `path` while holding the guard, a
// file made exclusively next to it, so that of copies that found it stale at
// once only one removes it and none removes the file another has made since.
Removal takeOver(const QByteArray& path, const struct stat& seen) {
    const QByteArray guardPath = path + ".guard";
    const int guard = ::open(guardPath.constData(), O_RDWR | O_CREAT | O_EXCL | OpenFlags, 0644);
    if (guard < 0) {
        if (errno != EEXIST) return Removal::Refused;
        // Another copy's, or left by one that was killed.
        const int fd = ::open(guardPath.constData(), O_RDONLY | OpenFlags);
        if (fd < 0) return errno == ENOENT ? Removal::Kept : Removal::Refused;
        struct stat st;
        const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        const bool left = regular && stale(readHead(fd), st);
        ::close(fd);
        if (!regular) return Removal::Refused;
        if (left && removeStale(guardPath, st) == Removal::Refused) return Removal::Refused;
        return left ? Removal::Kept : Removal::Busy;
    }
    writeIdentity(guard);
    const Removal r = removeStale(path, seen);
    struct stat mine, now;
    if (::fstat(guard, &mine) == 0 && ::lstat(guardPath.constData(), &now) == 0 && sameFile(mine, now))
        ::unlink(guardPath.constData());
    ::close(guard);
    return r;
}

// Locks the file `path` (made when missing if `create`): with the kernel's
// lock, or where the file system has none, by the file itself.
Outcome lockFile(const QByteArray& path, bool create, InstanceLock::File* out) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = create ? ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | OpenFlags, 0644) : -1;
        const bool made = fd >= 0;
        const bool existed = !create || (!made && errno == EEXIST);
        if (!made) fd = ::open(path.constData(), O_RDWR | OpenFlags);
        // The kernel's lock is not the file's: a file of a folder that cannot
        // be written serves as well.
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = ::open(path.constData(), O_RDONLY | OpenFlags);
        if (fd < 0) {
            // Its holder removed it meanwhile.
            if (create && existed && errno == ENOENT) continue;
            return Outcome::NotLocked;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return Outcome::NotLocked;
        }
        const auto held = [&] {
            *out = {fd, path, static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
            return Outcome::Locked;
        };
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // A holder that ends removes its file: a lock taken on it meanwhile
            // is on a file nobody else finds any more, so the path is tried again.
            struct stat now;
            if (::lstat(path.constData(), &now) == 0 && sameFile(now, st)) return held();
            ::close(fd);
            continue;
        }
        const int err = errno;
        if (err != ENOLCK && err != EOPNOTSUPP && err != ENOSYS) {
            ::close(fd);
            return err == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::NotLocked;
        }
        // No kernel locks here (a share without a lock manager): the file is
        // the lock, held while it is there and names a running holder.
        if (made) {
            if (writeIdentity(fd)) return held();
            ::unlink(path.constData());  // ours, made just now: nobody else takes it yet
            ::close(fd);
            return Outcome::NotLocked;
        }
        const QByteArray contents = readHead(fd);
        ::close(fd);
        if (!stale(contents, st)) return Outcome::HeldElsewhere;
        switch (takeOver(path, st)) {
        case Removal::Removed:
        case Removal::Kept: break;
        case Removal::Busy: ::usleep(10000); break;
        // A folder that keeps its stale file: as if nothing could be written.
        case Removal::Refused: return Outcome::NotLocked;
        }
    }
    // The file kept changing hands: other copies are starting and ending.
    return Outcome::HeldElsewhere;
}

} // namespace

InstanceLock::~InstanceLock() {
    for (const File& f : held_) {
        // Removed while still locked, and only while it is this lock's file.
        struct stat st;
        if (::lstat(f.path.constData(), &st) == 0 && static_cast<unsigned long long>(st.st_dev) == f.dev &&
            static_cast<unsigned long long>(st.st_ino) == f.ino)
            ::unlink(f.path.constData());
        ::close(f.fd);
    }
}

std::unique_ptr<InstanceLock> lockInstance(const QString& path, bool* heldElsewhere) {
    if (heldElsewhere) *heldElsewhere = false;
    std::unique_ptr<InstanceLock> lock(new InstanceLock);
    // A copy that found the path taken by something else holds the fallback:
    // it is looked at always, and made only when the path gave no lock.
    const QByteArray file = QFile::encodeName(path);
    for (const QByteArray& name : {file, file + ".1"}) {
        InstanceLock::File f;
        switch (lockFile(name, lock->held_.empty(), &f)) {
        case Outcome::Locked:
            lock->held_.push_back(f);
            if (lock->path_.isEmpty()) lock->path_ = QFile::decodeName(name);
            break;
        case Outcome::HeldElsewhere:
            if (heldElsewhere) *heldElsewhere = true;
            return nullptr;
        case Outcome::NotLocked:
            break;
        }
    }
    if (lock->held_.empty()) return nullptr;
    return lock;
}

namespace {

// Escapes of a desktop-entry value.
QString escapeValue(const QString& s) {
    QString out;
    for (QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default: out += c;
        }
    }
    return out;
}

// One argument of an Exec line: quoted, with its reserved characters escaped.
QString quoteExecArg(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') out += u'\\';
        if (c == u'%') out += u'%';
        out += c;
    }
    return out + u'"';
}

} // namespace

// ---- real platform ----

RealPlatform::RealPlatform() = default;
RealPlatform::~RealPlatform() = default;

bool RealPlatform::acquireSingleInstance(const QString& programDir) {
    const QString dir = cleanDir(programDir);
    if (instanceLock_ && instanceDir_ == dir) return true;
    // The records folder, made as the first record write would make it.
    QDir(dir).mkdir(QLatin1String(RecordsFolder));
    bool held = false;
    if (auto lock = lockInstance(instanceLockPath(dir), &held)) {
        instanceLock_ = std::move(lock);
        instanceDir_ = dir;
        return true;
    }
    // Only a lock held by another copy refuses the start. Where none can be
    // had, the records folder cannot be written either: the program runs
    // without one.
    return !held;
}

void RealPlatform::releaseSingleInstance() {
    instanceLock_.reset();
    instanceDir_.clear();
}

bool RealPlatform::openFolder(const QString& path) {
    if (!haveGuiApp() || !QFileInfo(path).isDir()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool RealPlatform::openUrl(const QString& url) {
    const QUrl u(url, QUrl::TolerantMode);
    if (!haveGuiApp() || url.trimmed().isEmpty() || !u.isValid()) return false;
    return QDesktopServices::openUrl(u);
}

bool RealPlatform::startDetached(const QString& program, const QStringList& args, const QStringList& environment) {
    if (program.isEmpty()) return false;
    const QFileInfo fi(program);
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    if (program.contains(u'/')) p.setWorkingDirectory(fi.absolutePath());
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& e : environment) {
            const qsizetype eq = e.indexOf(u'=');
            if (eq > 0) env.insert(e.left(eq), e.mid(eq + 1));
        }
        p.setProcessEnvironment(env);
    }
    return p.startDetached();
}

bool RealPlatform::createDesktopShortcut(const QString& name, const QString& target, const QString& workingDir,
                                         const QStringList& environment) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty()) return false;
    return writeDesktopEntry(desktop, name, target, workingDir, environment);
}

void RealPlatform::removeShortcutLeftovers(const QString& name) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty()) removeDesktopEntryLeftovers(desktop, name);
}

ScreenInfo RealPlatform::screen() {
    ScreenInfo info;
    // One logical pixel is 15 twips; the toolkit scales logical pixels to
    // the screen's density.
    if (haveGuiApp()) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            const QSize size = s->geometry().size();
            if (size.width() > 0 && size.height() > 0) {
                info.widthTwips = size.width() * info.twipsPerPixelX;
                info.heightTwips = size.height() * info.twipsPerPixelY;
            }
            const QRect work = s->availableGeometry().translated(-s->geometry().topLeft());
            if (work.width() > 0 && work.height() > 0)
                info.work = {work.left() * info.twipsPerPixelX, work.top() * info.twipsPerPixelY,
                             work.width() * info.twipsPerPixelX, work.height() * info.twipsPerPixelY};
        }
    }
    return info;
}

QDateTime RealPlatform::now() { return QDateTime::currentDateTime(); }

QString RealPlatform::programDir() {
    const QString home = qEnvironmentVariable("EXAMSIM_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(QFileInfo(home).absoluteFilePath());
    return QDir::cleanPath(QFileInfo(executablePath()).absolutePath());
}

QString RealPlatform::exeName() { return QFileInfo(executablePath()).completeBaseName(); }

QString RealPlatform::exePath() { return QDir::cleanPath(QFileInfo(executablePath()).absoluteFilePath()); }

// ---- test double ----

bool FakePlatform::acquireSingleInstance(const QString& programDir) {
    instanceChecks << programDir;
    return !alreadyRunning;
}

bool FakePlatform::openFolder(const QString& path) {
    openedFolders << path;
    return openResult;
}

bool FakePlatform::openUrl(const QString& url) {
    openedUrls << url;
    return openResult;
}

bool FakePlatform::startDetached(const QString& program, const QStringList& args, const QStringList& environment) {
    started.push_back({program, args, environment});
    return startResult;
}

bool FakePlatform::createDesktopShortcut(const QString& name, const QString& target, const QString& workingDir,
                                         const QStringList& environment) {
    shortcuts.push_back({name, target, workingDir, environment});
    return shortcutResult;
}

// ---- selection ----

namespace {
ServiceSlot<Platform>& platformSlot() {
    static ServiceSlot<Platform> slot([] { return std::make_shared<RealPlatform>(); });
    return slot;
}
} // namespace

Platform& platform() { return platformSlot().get(); }

void setPlatform(std::shared_ptr<Platform> p) { platformSlot().set(std::move(p)); }

namespace {

// The launcher's file name: no separators or control characters.
QString desktopEntryFileName(const QString& name) {
    QString fileName = name;
    for (QChar& c : fileName)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) c = u'_';
    return fileName + QStringLiteral(".desktop");
}

} // namespace

bool writeDesktopEntry(const QString& desktopDir, const QString& name, const QString& target,
                       const QString& workingDir, const QStringList& environment) {
    if (name.isEmpty() || !QFileInfo(desktopDir).isDir()) return false;
    const QString path = QDir(desktopDir).filePath(desktopEntryFileName(name));
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + escapeValue(name) + u'\n';
    QString exec;
    if (!environment.isEmpty()) {
        exec = QStringLiteral("env ");
        for (const QString& e : environment) exec += quoteExecArg(e) + u' ';
    }
    exec += quoteExecArg(target);
    text += QStringLiteral("Exec=") + escapeValue(exec) + u'\n';
    text += QStringLiteral("Path=") + escapeValue(workingDir) + u'\n';
    if (!writeFileAtomic(path, text.toUtf8())) return false;
    // Launchers on the desktop must be executable to be trusted (0755).
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser |
                                    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                    QFileDevice::ExeOther);
    return true;
}

void removeDesktopEntryLeftovers(const QString& desktopDir, const QString& name) {
    if (!name.isEmpty()) removePartialWritesOf(desktopDir, desktopEntryFileName(name));
}

namespace {

bool sameFolder(const QString& a, const QString& b) { return cleanDir(a) == cleanDir(b); }

} // namespace

QString registeredExeName(const QString& programDir, const QString& exePath) {
    const QFileInfo exe(exePath);
    if (sameFolder(exe.absolutePath(), programDir)) return exe.completeBaseName();
    // Worked out on the paths as written: the launcher joins the two the same way.
    return QDir(QDir::cleanPath(QFileInfo(programDir).absoluteFilePath()))
        .relativeFilePath(QDir::cleanPath(exe.absoluteFilePath()));
}

QStringList moduleEnvironment(const QString& programDir, const QString& exePath) {
    if (sameFolder(QFileInfo(exePath).absolutePath(), programDir)) return {};
    return homeEnvironment(programDir);
}

QStringList homeEnvironment(const QString& programDir) {
    return {QStringLiteral("EXAMSIM_HOME=") + QDir::cleanPath(QFileInfo(programDir).absoluteFilePath())};
}

} // namespace core
