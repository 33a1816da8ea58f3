#pragma once
// An X server of the tests' own (Xvfb on a free display), optionally with a
// window manager and a bottom panel, and what the tests ask of it: window
// geometry and map state as the server has them, the window under the
// pointer, and real input through xdotool.
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct xcb_screen_t;
struct xcb_connection_t;

namespace wmtest {

enum class Wm { None, Openbox, Metacity, Xfwm4, Mutter, Kwin };
const char* wmName(Wm wm);

// Every program a test of this kind runs; empty when all are installed,
// else what is missing.
QString missingTools(Wm wm);
// On CI (CI=true) a missing program fails the case: there every one of them
// is installed, and a case that did not run must not pass.
bool missingToolsFail();
// kwin is large and not installed by default: its cases run only with
// WM_TEST_KWIN=1.
bool kwinCasesEnabled();
// The programs cases skipped for, as missingTools names them; the test
// program names them once at its end.
void noteSkipped(const QString& missing);
QStringList skippedFor();

// Polls `done` until it holds or `timeout` passes; returns its last answer.
bool eventually(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                std::chrono::milliseconds every = std::chrono::milliseconds(25));

// A window as the X server has it: the client area in root coordinates.
struct XWindow {
    QRect rect;
    bool viewable = false;
};

class XSession {
public:
    struct Options {
        int width = 1024;
        int height = 768;
        Wm wm = Wm::None;
        // A dock window along the bottom edge that reserves this many
        // pixels (_NET_WM_STRUT_PARTIAL); 0: none.
        int panel = 0;
    };

    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts the server, the window manager and the panel and waits until
    // they are ready; false with the reason when something did not come.
    bool start(const Options& o, QString* why);
    // Ends every program it started (also done by the destructor). However
    // the test program ends otherwise (a signal, an abort, a crash, exit(),
    // SIGKILL), they end with it.
    void stop();

    QString display() const { return display_; }
    const Options& options() const { return options_; }
    // The environment for a client of this server.
    QProcessEnvironment clientEnvironment() const;

    // ---- what the server says ----
    std::optional<XWindow> window(quint64 id) const;
    // The top-level window (a child of the root: a window manager's frame,
    // or the client itself without one) that holds `id`.
    quint64 topLevelOf(quint64 id) const;
    // The window under the pointer after moving it to (x, y), as xdotool
    // names it: the top-level window there (a window manager's frame), or
    // the client inside it where xdotool finds one.
    quint64 windowAt(int x, int y) const;

    // ---- input and window-manager requests, through xdotool and wmctrl ----
    void click(int x, int y, int button = 1) const;
    // Press at `from`, move in steps to `to`, release there.
    void drag(QPoint from, QPoint to, int button = 1) const;
    void minimise(quint64 id) const;
    // As the desktop closes a window (its close button, Alt+F4).
    void close(quint64 id) const;
    void resizeByXdotool(quint64 id, int w, int h) const;
    void resizeByWmctrl(quint64 id, int w, int h) const;
    // Press and release at once, as a touchpad's tap sends them.
    void tap(int x, int y, int button = 1) const;
    void pointerTo(int x, int y) const;
    // Keys as xdotool names them ("alt+F5"), to the window with the focus.
    void key(const QString& keys) const;
    // The window manager places the window (xdotool windowmove).
    void moveWindow(quint64 id, int x, int y) const;
    // The window manager's restore of a maximised window (wmctrl).
    void unmaximise(quint64 id) const;
    // The client window the window manager names active (0: none).
    quint64 activeWindow() const;
    // The atoms of the window's _NET_WM_STATE, by name.
    QStringList netWmState(quint64 id) const;
    // The window's ICCCM state: "Normal", "Iconic", "Withdrawn" or empty.
    QString wmState(quint64 id) const;

    // The least and the largest size of the window's WM_NORMAL_HINTS, where
    // it gives both.
    std::optional<std::pair<QSize, QSize>> sizeHints(quint64 id) const;
    // One row of the screen as the server shows it (0xRRGGBB a pixel; empty
    // when it could not be read).
    std::vector<uint32_t> screenRow(int y) const;

    // Saves the screen as a picture (where ImageMagick's import is
    // installed); false when it could not.
    bool screenshot(const QString& path) const;

    // Output of a client tool run on this server (empty on failure).
    QString run(const QString& program, const QStringList& args) const;

private:
    bool startWm(QString* why);
    // The tests' own connection, for the windows they make.
    bool connectClient(QString* why);
    // Waits until the window manager manages a window that is mapped.
    bool waitUntilManaging(QString* why);
    bool startPanel(QString* why);
    // The screen of the tests' own connection.
    xcb_screen_t* clientScreen() const;
    QProcess* spawn(const QString& program, const QStringList& args, const QProcessEnvironment& env);

    Options options_;
    QString display_;
    QString home_;  // the window manager's home and config folders
    std::unique_ptr<QTemporaryDir> dir_;
    std::vector<std::unique_ptr<QProcess>> procs_;  // the server first
    qint64 group_ = 0;                              // their process group
    struct Client;
    std::unique_ptr<Client> client_;  // the tests' connection, holding the panel
};

// Events of one window as the X server sends them to a connection of the
// test's own: whether the window was unmapped, took another size, or had a
// property changed. Shows that the window manager acted before the test
// looks at the program's answer, however quickly the program answered.
class XWatch {
public:
    XWatch(const XSession& x, quint64 id);
    ~XWatch();
    XWatch(const XWatch&) = delete;
    XWatch& operator=(const XWatch&) = delete;

    bool unmapped();
    // A size the window had other than `than`.
    std::optional<QSize> resized(QSize than);
    bool propertyChanged(const char* name);

private:
    void drain();

    xcb_connection_t* c_;
    quint64 id_;
    bool unmapped_ = false;
    std::vector<QSize> sizes_;
    std::vector<uint32_t> props_;
};

} // namespace wmtest
