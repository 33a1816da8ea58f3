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
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
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

// Opens the lock file `path` (made when missing if `create`) and takes the
// kernel's lock on it.
Outcome lockFile(const QByteArray& path, bool create, InstanceLock::File* out) {
    // Never through a link, never kept by a program this one starts, never
    // waiting on a pipe.
    constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    // A holder that ends removes its file: a lock taken on it meanwhile is on
    // a file nobody else finds any more, so the file at the path is tried again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(path.constData(), O_RDWR | flags | (create ? O_CREAT : 0), 0644);
        // The lock is the kernel's, not the file's: a file of a folder that
        // cannot be written serves as well.
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) fd = ::open(path.constData(), O_RDONLY | flags);
        if (fd < 0) return Outcome::NotLocked;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return Outcome::NotLocked;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return busy ? Outcome::HeldElsewhere : Outcome::NotLocked;
        }
        struct stat now;
        if (::lstat(path.constData(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino) {
            *out = {fd, path, static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
            return Outcome::Locked;
        }
        ::close(fd);
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
