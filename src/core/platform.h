#pragma once
// Facts and services of the machine the program runs on.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace core {

struct ScreenInfo {
    double widthTwips = 1024 * 15;
    double heightTwips = 768 * 15;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    // The work area, where the desktop's panels leave room, in twips
    // (empty: the whole screen).
    struct Area {
        double left = 0, top = 0, width = 0, height = 0;
    };
    Area work;
    Area workArea() const { return work.width > 0 && work.height > 0 ? work : Area{0, 0, widthTwips, heightTwips}; }
};

class Platform {
public:
    virtual ~Platform() = default;
    // True when no other copy runs for this user and program folder; the
    // claim is held until the platform object goes away. A second call from
    // the holder returns true again. Where no lock can be had at all (the
    // records folder cannot be written) the answer is true too.
    virtual bool acquireSingleInstance(const QString& programDir) = 0;
    // Gives the claim up (at the program's end).
    virtual void releaseSingleInstance() = 0;
    // Opens a folder in the file browser / an address in the web browser.
    virtual bool openFolder(const QString& path) = 0;
    virtual bool openUrl(const QString& url) = 0;
    // Starts a program as a new process, without waiting, in its own folder,
    // with the "NAME=value" entries of `environment` added to its
    // environment. False when it could not be started (for example a missing
    // program).
    virtual bool startDetached(const QString& program, const QStringList& args = {},
                               const QStringList& environment = {}) = 0;
    // Puts a shortcut named `name` on the user's desktop that starts
    // `target` in `workingDir`, with the "NAME=value" entries of
    // `environment` set; an existing one is overwritten. False when there is
    // no desktop folder or it cannot be written.
    virtual bool createDesktopShortcut(const QString& name, const QString& target, const QString& workingDir,
                                       const QStringList& environment = {}) = 0;
    // Removes what interrupted writes of the shortcut `name` left on the
    // desktop, and nothing of any other file there.
    virtual void removeShortcutLeftovers(const QString& name) = 0;
    virtual ScreenInfo screen() = 0;
    virtual QDateTime now() = 0;
    // The program folder without a trailing separator.
    virtual QString programDir() = 0;
    // The executable's file name without extension.
    virtual QString exeName() = 0;
    // The executable's absolute path.
    virtual QString exePath() = 0;
};

class InstanceLock;

// The real services: Qt on the desktop.
class RealPlatform : public Platform {
public:
    RealPlatform();
    ~RealPlatform() override;
    bool acquireSingleInstance(const QString& programDir) override;
    void releaseSingleInstance() override;
    bool openFolder(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& args = {},
                       const QStringList& environment = {}) override;
    bool createDesktopShortcut(const QString& name, const QString& target, const QString& workingDir,
                               const QStringList& environment = {}) override;
    void removeShortcutLeftovers(const QString& name) override;
    ScreenInfo screen() override;
    QDateTime now() override;
    QString programDir() override;
    QString exeName() override;
    QString exePath() override;

private:
    std::unique_ptr<InstanceLock> instanceLock_;
    QString instanceDir_;
};

// Test double: records what the program asked for and answers from fields.
class FakePlatform : public Platform {
public:
    struct Started {
        QString program;
        QStringList args;
        QStringList environment;
    };
    struct Shortcut {
        QString name, target, workingDir;
        QStringList environment;
    };

    bool acquireSingleInstance(const QString& programDir) override;
    void releaseSingleInstance() override { released = true; }
    bool openFolder(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& args = {},
                       const QStringList& environment = {}) override;
    bool createDesktopShortcut(const QString& name, const QString& target, const QString& workingDir,
                               const QStringList& environment = {}) override;
    void removeShortcutLeftovers(const QString& name) override { shortcutCleanups << name; }
    ScreenInfo screen() override { return screenInfo; }
    QDateTime now() override { return clock; }
    QString programDir() override { return folder; }
    QString exeName() override { return exe; }
    // exeFile, or the executable `exe` in `folder` when it is empty.
    QString exePath() override { return exeFile.isEmpty() ? folder + u'/' + exe : exeFile; }

    // Scripted answers.
    bool alreadyRunning = false;
    bool startResult = true;
    bool openResult = true;
    bool shortcutResult = true;
    ScreenInfo screenInfo;
    QDateTime clock = QDateTime(QDate(2024, 3, 1), QTime(9, 0, 0));
    QString folder;
    QString exe = "examsim";
    QString exeFile;

    // Recorded calls.
    QStringList instanceChecks;
    bool released = false;
    QStringList openedFolders;
    QStringList openedUrls;
    std::vector<Started> started;
    std::vector<Shortcut> shortcuts;
    QStringList shortcutCleanups;
};

// The single-instance lock: a hidden file named with the user id in the
// records folder (ksdata) of the program folder's canonical path, where the
// copies write. Every copy started on the folder by the user finds it,
// whatever its environment.
QString instanceLockPath(const QString& programDir);

// A claim held through the kernel's lock on an open lock file, so it ends
// with the process: a file left by a copy that was killed, or by another
// machine, is nobody's. Where the file system has no kernel locks, the claim
// is the file itself, made exclusively and naming its holder (process,
// program, host, machine, boot); it is taken over once that holder is gone
// from this machine, never from another machine. The claim removes its file when
// it ends, where the folder lets it.
class InstanceLock {
public:
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // The file held, `path` or its fallback.
    QString path() const { return path_; }

    // An open, locked file and what it was at its path.
    struct File {
        int fd = -1;
        QByteArray path;
        unsigned long long dev = 0, ino = 0;
    };

private:
    friend std::unique_ptr<InstanceLock> lockInstance(const QString& path, bool* heldElsewhere);
    InstanceLock() = default;
    std::vector<File> held_;
    QString path_;
};

// Locks the file `path`, made when missing, opened read-only where it
// cannot be written. Where something that is no lock file (a folder, a
// link) lies at `path`, the file `path` ".1" is used. nullptr when no lock
// is had; *heldElsewhere tells whether that is because another process holds
// it (a stale file the folder does not let go of holds nothing).
std::unique_ptr<InstanceLock> lockInstance(const QString& path, bool* heldElsewhere);

// The services in use; a RealPlatform until one is set. setPlatform(nullptr)
// goes back to the real one.
Platform& platform();
void setPlatform(std::shared_ptr<Platform> p);

// Writes a freedesktop launcher file desktopDir/name.desktop that starts
// `target` with the "NAME=value" entries of `environment` set. False when the
// folder does not exist or the file cannot be written.
bool writeDesktopEntry(const QString& desktopDir, const QString& name, const QString& target,
                       const QString& workingDir, const QStringList& environment = {});
// Removes from desktopDir the temporary files that interrupted writes of
// the launcher file of `name` left; other files stay.
void removeDesktopEntryLeftovers(const QString& desktopDir, const QString& name);

// The program runs on a module folder other than its own through
// EXAMSIM_HOME. What starts the executable `exePath` on `programDir`: the
// executable as the folder's registration names it (its name without
// extension when it lies in the folder, else its path relative to the
// folder), and the environment it needs (nothing when it lies in the folder).
QString registeredExeName(const QString& programDir, const QString& exePath);
QStringList moduleEnvironment(const QString& programDir, const QString& exePath);
// The environment that starts a module's program on its folder `programDir`.
QStringList homeEnvironment(const QString& programDir);

} // namespace core
