#include "core/platform.h"
#include "core/service.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QProcess>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
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
    return cleanDir(programDir) + QStringLiteral("/.examsim-%1.lock").arg(getuid());
}

std::unique_ptr<QLockFile> lockInstance(const QString& path, bool* heldElsewhere) {
    if (heldElsewhere) *heldElsewhere = false;
    auto lock = std::make_unique<QLockFile>(path);
    // The lock lives as long as the program: only a dead owner makes it stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    if (lock->error() != QLockFile::LockFailedError) return nullptr;
    // The owner's process can only be checked on its own machine, and the
    // file lies in the program folder, where it outlives a changed machine id
    // or a kill before its contents were written. The owner holds the file's
    // native lock while it runs: when nobody does, the file is stale. A file
    // without its contents that is only seconds old is being made right now.
    qint64 pid = 0;
    QString host, app;
    const QDateTime made = QFileInfo(path).lastModified();
    const bool settled = lock->getLockInfo(&pid, &host, &app) ||
                         (made.isValid() && qAbs(made.msecsTo(QDateTime::currentDateTime())) > 5000);
    if (settled && lock->removeStaleLockFile() && lock->tryLock(0)) return lock;
    if (heldElsewhere) *heldElsewhere = true;
    return nullptr;
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
    bool held = false;
    if (auto lock = lockInstance(instanceLockPath(dir), &held)) {
        instanceLock_ = std::move(lock);
        instanceDir_ = dir;
        return true;
    }
    // Only a lock held by another copy refuses the start; a lock that cannot
    // be made anywhere does not keep the program from running.
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

bool writeDesktopEntry(const QString& desktopDir, const QString& name, const QString& target,
                       const QString& workingDir, const QStringList& environment) {
    if (name.isEmpty() || !QFileInfo(desktopDir).isDir()) return false;
    // The name becomes a file name: no separators or control characters.
    QString fileName = name;
    for (QChar& c : fileName)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) c = u'_';
    const QString path = QDir(desktopDir).filePath(fileName + QStringLiteral(".desktop"));
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
