#include "wm/x_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace wmtest {

namespace {

QString wmProgram(Wm wm) {
    switch (wm) {
    case Wm::Openbox: return "openbox";
    case Wm::Metacity: return "metacity";
    case Wm::Xfwm4: return "xfwm4";
    case Wm::Mutter: return "mutter";
    case Wm::Kwin: return "kwin_x11";
    case Wm::None: break;
    }
    return {};
}

bool installed(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

// ---- the sessions' process groups end with the test program ----
//
// Each session's programs share one process group (the server's pid), which
// a signal to the test program does not reach. The groups alive are kept
// where a signal handler can read them; the handlers for the signals that
// end the program kill them, then let the signal take its course. Against
// SIGKILL a guard process, told of every group, kills them when its socket
// to the test program closes.

constexpr int kMaxGroups = 64;
std::atomic<pid_t> liveGroups[kMaxGroups];
int guardSocket = -1;

void killLiveGroups() {
    for (auto& g : liveGroups)
        if (const pid_t p = g.load(); p > 0) ::kill(-p, SIGKILL);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};

void onEndingSignal(int sig) {
    killLiveGroups();
    // The action is the default again (SA_RESETHAND) and the signal not
    // blocked (SA_NODEFER): it ends the program here.
    ::raise(sig);
}

void installHandlers() {
    for (const int sig : kEndingSignals) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0) continue;
        // Ignored (nohup) or taken by someone else: left alone.
        if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
        struct sigaction sa {};
        sa.sa_handler = onEndingSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND | SA_NODEFER;
        ::sigaction(sig, &sa, nullptr);
    }
}

// Reads group numbers (negative: ended) until the socket closes, then kills
// the groups still alive. Runs in the forked child: async-signal-safe calls
// only.
[[noreturn]] void guard(int fd) {
    struct sigaction dfl {}, ign {};
    dfl.sa_handler = SIG_DFL;
    ign.sa_handler = SIG_IGN;
    for (const int sig : kEndingSignals) ::sigaction(sig, &dfl, nullptr);
    // Not ended with the terminal's foreground group before its work.
    ::sigaction(SIGINT, &ign, nullptr);
    ::sigaction(SIGHUP, &ign, nullptr);
    ::sigaction(SIGQUIT, &ign, nullptr);
    ::setpgid(0, 0);
    ::prctl(PR_SET_NAME, "wm-test-guard");
    const int null = ::open("/dev/null", O_RDWR);
    for (int i = 0; i < 3; ++i) ::dup2(null, i);
    ::dup2(fd, 3);
    ::close_range(4, ~0U, 0);
    pid_t groups[kMaxGroups] = {};
    for (;;) {
        int32_t v = 0;
        const ssize_t n = ::read(3, &v, sizeof v);
        if (n < 0 && errno == EINTR) continue;
        if (n != sizeof v) break;
        for (pid_t& g : groups)
            if (v > 0 ? g == 0 : g == -v) {
                g = v > 0 ? v : 0;
                break;
            }
    }
    for (const pid_t g : groups)
        if (g > 0) ::kill(-g, SIGKILL);
    ::_exit(0);
}

void startGuard() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return;
    const pid_t pid = ::fork();
    if (pid == 0) guard(fds[1]);
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return;
    }
    guardSocket = fds[0];
}

void tellGuard(int32_t v) {
    if (guardSocket >= 0) (void)::send(guardSocket, &v, sizeof v, MSG_NOSIGNAL);
}

void registerGroup(pid_t group) {
    static std::once_flag once;
    std::call_once(once, [] {
        installHandlers();
        startGuard();
        std::atexit(killLiveGroups);
    });
    for (auto& g : liveGroups) {
        pid_t free = 0;
        if (g.compare_exchange_strong(free, group)) break;
    }
    tellGuard(group);
}

void unregisterGroup(pid_t group) {
    for (auto& g : liveGroups) {
        pid_t mine = group;
        if (g.compare_exchange_strong(mine, 0)) break;
    }
    tellGuard(-group);
}

QStringList& skipped() {
    static QStringList s;
    return s;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

// Hex or decimal window id as the tools print it.
quint64 parseId(const QString& s) {
    bool ok = false;
    const quint64 v = s.startsWith("0x") ? s.mid(2).toULongLong(&ok, 16) : s.toULongLong(&ok, 10);
    return ok ? v : 0;
}

} // namespace

const char* wmName(Wm wm) {
    switch (wm) {
    case Wm::None: return "no window manager";
    case Wm::Openbox: return "openbox";
    case Wm::Metacity: return "metacity";
    case Wm::Xfwm4: return "xfwm4";
    case Wm::Mutter: return "mutter";
    case Wm::Kwin: return "kwin";
    }
    return "?";
}

QString missingTools(Wm wm) {
    QStringList need = {"Xvfb", "xdotool", "xwininfo", "xprop", "wmctrl"};
    if (wm != Wm::None) need << wmProgram(wm);
    // Their settings come over a session bus.
    if (wm == Wm::Xfwm4 || wm == Wm::Mutter || wm == Wm::Kwin) need << "dbus-run-session";
    QStringList missing;
    for (const QString& p : need)
        if (!installed(p)) missing << p;
    return missing.join(", ");
}

bool missingToolsFail() { return qgetenv("CI") == "true"; }

bool kwinCasesEnabled() { return qgetenv("WM_TEST_KWIN") == "1"; }

void noteSkipped(const QString& missing) {
    for (const QString& p : missing.split(", ", Qt::SkipEmptyParts))
        if (!skipped().contains(p)) skipped() << p;
}

QStringList skippedFor() { return skipped(); }

bool eventually(const std::function<bool()>& done, std::chrono::milliseconds timeout, std::chrono::milliseconds every) {
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done()) return true;
        if (t.elapsed() >= timeout.count()) return done();
        QThread::msleep(every.count());
    }
}

struct XSession::Client {
    xcb_connection_t* c = nullptr;
    int screen = 0;
    ~Client() {
        if (c) xcb_disconnect(c);
    }
};

XSession::XSession() = default;
XSession::~XSession() { stop(); }

QProcess* XSession::spawn(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProgram(program);
    p->setArguments(args);
    // One process group for all of them, so that nothing they start
    // themselves outlives the session; and killed when the test program's
    // main thread ends, even by SIGKILL.
    const qint64 group = group_;
    const pid_t parent = ::getpid();
    p->setChildProcessModifier([group, parent] {
        ::setpgid(0, pid_t(group));
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
    });
    p->start();
    if (!p->waitForStarted(5000)) return nullptr;
    procs_.push_back(std::move(p));
    return procs_.back().get();
}

bool XSession::start(const Options& o, QString* why) {
    options_ = o;
    dir_ = std::make_unique<QTemporaryDir>();
    home_ = dir_->path() + "/home";
    QDir().mkpath(home_ + "/.config");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The server picks a free display and names it on its output.
    QProcess* x = spawn("Xvfb",
                        {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(o.width).arg(o.height), "-nolisten",
                         "tcp", "-noreset"},
                        env);
    if (!x) {
        *why = "Xvfb did not start";
        return false;
    }
    group_ = x->processId();
    registerGroup(pid_t(group_));
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains('\n') && t.elapsed() < 10000 && x->state() == QProcess::Running) {
        x->waitForReadyRead(200);
        out += x->readAllStandardOutput();
    }
    bool ok = false;
    const int number = out.trimmed().toInt(&ok);
    if (!ok) {
        *why = "Xvfb named no display: " + QString::fromLocal8Bit(x->readAllStandardError()).right(400);
        return false;
    }
    display_ = QString(":%1").arg(number);

    if (!connectClient(why)) return false;
    if (o.wm != Wm::None && !(startWm(why) && waitUntilManaging(why))) return false;
    if (o.panel > 0 && !startPanel(why)) return false;
    return true;
}

bool XSession::startWm(QString* why) {
    QProcessEnvironment env = clientEnvironment();
    // A home of its own: the window manager reads its defaults, not anyone's
    // settings, and writes nothing outside.
    env.insert("HOME", home_);
    env.insert("XDG_CONFIG_HOME", home_ + "/.config");
    env.insert("XDG_CACHE_HOME", home_ + "/.cache");
    env.insert("XDG_DATA_HOME", home_ + "/.local/share");
    env.insert("GSETTINGS_BACKEND", "memory");
    env.insert("NO_AT_BRIDGE", "1");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("SESSION_MANAGER");
    QString program = wmProgram(options_.wm);
    QStringList args;
    switch (options_.wm) {
    case Wm::Openbox: break;
    case Wm::Metacity: args = {"--replace", "--sm-disable", "--no-composite"}; break;
    case Wm::Xfwm4:
        args = {"--", program, "--compositor=off", "--sm-client-disable"};
        program = "dbus-run-session";
        break;
    case Wm::Mutter:
        args = {"--", program, "--x11", "--replace", "--sm-disable"};
        program = "dbus-run-session";
        break;
    case Wm::Kwin:
        env.insert("KWIN_COMPOSE", "N");
        args = {"--", program, "--replace"};
        program = "dbus-run-session";
        break;
    case Wm::None: return true;
    }
    QProcess* wm = spawn(program, args, env);
    if (!wm) {
        *why = QString(wmName(options_.wm)) + " did not start";
        return false;
    }
    // Ready when the root names its supporting window.
    const bool ready = eventually(
        [&] {
            return wm->state() != QProcess::Running ||
                   run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id #");
        },
        std::chrono::seconds(15), std::chrono::milliseconds(50));
    if (!ready || wm->state() != QProcess::Running) {
        *why = QString(wmName(options_.wm)) + " did not become ready: " +
               QString::fromLocal8Bit(wm->readAllStandardError()).right(600);
        return false;
    }
    return true;
}

namespace {

// Maps `win` until the window manager manages it (it shows in the client
// list). A window manager that has just named itself may still pass over a
// map request while it starts.
bool mapManaged(const XSession& x, xcb_connection_t* c, xcb_window_t win) {
    const QString id = QString("0x%1").arg(win, 0, 16);
    return eventually(
        [&] {
            xcb_map_window(c, win);
            xcb_flush(c);
            return eventually([&] { return x.run("xprop", {"-root", "_NET_CLIENT_LIST"}).contains(id); },
                              std::chrono::milliseconds(500));
        },
        std::chrono::seconds(10), std::chrono::milliseconds(0));
}

} // namespace

bool XSession::connectClient(QString* why) {
    client_ = std::make_unique<Client>();
    client_->c = xcb_connect(display_.toLocal8Bit().constData(), &client_->screen);
    if (!client_->c || xcb_connection_has_error(client_->c)) {
        *why = "no connection to " + display_;
        return false;
    }
    return true;
}

xcb_screen_t* XSession::clientScreen() const {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(client_->c));
    for (int i = 0; i < client_->screen; ++i) xcb_screen_next(&it);
    return it.data;
}

bool XSession::waitUntilManaging(QString* why) {
    xcb_connection_t* c = client_->c;
    xcb_screen_t* s = clientScreen();
    const xcb_window_t win = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, win, s->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      s->root_visual, 0, nullptr);
    const bool managed = mapManaged(*this, c, win);
    xcb_destroy_window(c, win);
    xcb_flush(c);
    if (!managed) *why = QString(wmName(options_.wm)) + " manages no window";
    return managed;
}

bool XSession::startPanel(QString* why) {
    xcb_connection_t* c = client_->c;
    xcb_screen_t* s = clientScreen();
    const int w = options_.width, h = options_.panel, y = options_.height - h;
    const xcb_window_t win = xcb_generate_id(c);
    const uint32_t back = 0x404040;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, win, s->root, 0, int16_t(y), uint16_t(w), uint16_t(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, s->root_visual, XCB_CW_BACK_PIXEL, &back);
    const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &dock);
    const uint32_t strut[12] = {0, 0, 0, uint32_t(h), 0, 0, 0, 0, 0, 0, 0, uint32_t(w - 1)};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL, 32, 12, strut);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_STRUT"), XCB_ATOM_CARDINAL, 32, 4, strut);
    // Placed by the program, of a fixed size.
    uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 4 | 8 | 16 | 32;  // US and P position and size, min and max size
    hints[1] = 0;
    hints[2] = uint32_t(y);
    hints[3] = hints[5] = hints[7] = uint32_t(w);
    hints[4] = hints[6] = hints[8] = uint32_t(h);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    const char name[] = "test panel";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof name - 1, name);
    if (options_.wm == Wm::None) {
        xcb_map_window(c, win);
        xcb_flush(c);
        return true;
    }
    // The window manager has taken the strip off the work area.
    const QString area = QString("0, 0, %1, %2").arg(w).arg(options_.height - h);
    if (!mapManaged(*this, c, win) ||
        !eventually([&] { return run("xprop", {"-root", "_NET_WORKAREA"}).contains(area); }, std::chrono::seconds(5))) {
        *why = "the window manager did not reserve the panel: " + run("xprop", {"-root", "_NET_WORKAREA"});
        return false;
    }
    return true;
}

void XSession::stop() {
    client_.reset();
    if (group_ > 0) {
        ::kill(-pid_t(group_), SIGTERM);
        for (auto& p : procs_)
            if (!p->waitForFinished(3000)) ::kill(-pid_t(group_), SIGKILL);
        for (auto& p : procs_) p->waitForFinished(3000);
        // What the programs started themselves, still in the group.
        ::kill(-pid_t(group_), SIGKILL);
        unregisterGroup(pid_t(group_));
    }
    procs_.clear();
    group_ = 0;
    dir_.reset();
}

QProcessEnvironment XSession::clientEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.remove("WAYLAND_DISPLAY");
    env.remove("XAUTHORITY");
    return env;
}

QString XSession::run(const QString& program, const QStringList& args) const {
    QProcess p;
    p.setProcessEnvironment(clientEnvironment());
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

std::optional<XWindow> XSession::window(quint64 id) const {
    const QString out = run("xwininfo", {"-id", QString::number(id)});
    auto field = [&](const char* name) -> std::optional<int> {
        const QRegularExpression re(QString("^\\s*%1:\\s*(-?\\d+)").arg(QRegularExpression::escape(name)),
                                    QRegularExpression::MultilineOption);
        const auto m = re.match(out);
        if (!m.hasMatch()) return std::nullopt;
        return m.captured(1).toInt();
    };
    const auto x = field("Absolute upper-left X"), y = field("Absolute upper-left Y"), w = field("Width"),
               h = field("Height");
    if (!x || !y || !w || !h) return std::nullopt;
    return XWindow{QRect(*x, *y, *w, *h), out.contains("Map State: IsViewable")};
}

quint64 XSession::topLevelOf(quint64 id) const {
    quint64 cur = id;
    for (int depth = 0; depth < 16 && cur; ++depth) {
        const QString out = run("xwininfo", {"-tree", "-id", QString::number(cur)});
        const auto root = QRegularExpression("Root window id: (0x[0-9a-f]+)").match(out);
        const auto parent = QRegularExpression("Parent window id: (0x[0-9a-f]+)").match(out);
        if (!root.hasMatch() || !parent.hasMatch()) return 0;
        if (parent.captured(1) == root.captured(1)) return cur;
        cur = parseId(parent.captured(1));
    }
    return 0;
}

quint64 XSession::windowAt(int x, int y) const {
    const QString out =
        run("xdotool", {"mousemove", QString::number(x), QString::number(y), "getmouselocation", "--shell"});
    const auto m = QRegularExpression("WINDOW=(\\d+)").match(out);
    return m.hasMatch() ? parseId(m.captured(1)) : 0;
}

void XSession::click(int x, int y, int button) const {
    run("xdotool", {"mousemove", QString::number(x), QString::number(y), "sleep", "0.05", "click", QString::number(button)});
}

void XSession::drag(QPoint from, QPoint to, int button) const {
    QStringList args = {"mousemove", QString::number(from.x()), QString::number(from.y()), "sleep", "0.1",
                        "mousedown", QString::number(button), "sleep", "0.2"};
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        args << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep" << "0.03";
    }
    args << "sleep" << "0.1" << "mouseup" << QString::number(button);
    run("xdotool", args);
}

bool XSession::screenshot(const QString& path) const {
    if (display_.isEmpty() || !installed("import")) return false;
    QProcess p;
    p.setProcessEnvironment(clientEnvironment());
    p.start("import", {"-window", "root", path});
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

void XSession::minimise(quint64 id) const { run("xdotool", {"windowminimize", QString::number(id)}); }

void XSession::close(quint64 id) const { run("wmctrl", {"-i", "-c", QString::number(id)}); }

void XSession::resizeByXdotool(quint64 id, int w, int h) const {
    run("xdotool", {"windowsize", QString::number(id), QString::number(w), QString::number(h)});
}

void XSession::resizeByWmctrl(quint64 id, int w, int h) const {
    run("wmctrl", {"-i", "-r", QString::number(id), "-e", QString("0,-1,-1,%1,%2").arg(w).arg(h)});
}

void XSession::tap(int x, int y, int button) const {
    const QString b = QString::number(button);
    run("xdotool", {"mousemove", QString::number(x), QString::number(y), "sleep", "0.05", "mousedown", b, "mouseup", b});
}

void XSession::pointerTo(int x, int y) const { run("xdotool", {"mousemove", QString::number(x), QString::number(y)}); }

void XSession::key(const QString& keys) const { run("xdotool", {"key", keys}); }

void XSession::moveWindow(quint64 id, int x, int y) const {
    run("xdotool", {"windowmove", QString::number(id), QString::number(x), QString::number(y)});
}

void XSession::unmaximise(quint64 id) const {
    run("wmctrl", {"-i", "-r", QString::number(id), "-b", "remove,maximized_vert,maximized_horz"});
}

quint64 XSession::activeWindow() const {
    const auto m = QRegularExpression("window id # (0x[0-9a-f]+)").match(run("xprop", {"-root", "_NET_ACTIVE_WINDOW"}));
    return m.hasMatch() ? parseId(m.captured(1)) : 0;
}

QStringList XSession::netWmState(quint64 id) const {
    const QString out = run("xprop", {"-id", QString::number(id), "_NET_WM_STATE"});
    const qsizetype eq = out.indexOf('=');
    if (eq < 0) return {};
    QStringList atoms;
    for (const QString& a : out.mid(eq + 1).split(',', Qt::SkipEmptyParts)) atoms << a.trimmed();
    return atoms;
}

QString XSession::wmState(quint64 id) const {
    const auto m = QRegularExpression("window state: (\\w+)").match(run("xprop", {"-id", QString::number(id), "WM_STATE"}));
    return m.hasMatch() ? m.captured(1) : QString();
}

std::optional<std::pair<QSize, QSize>> XSession::sizeHints(quint64 id) const {
    if (!client_) return std::nullopt;
    xcb_connection_t* c = client_->c;
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, xcb_window_t(id), XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18), nullptr);
    std::optional<std::pair<QSize, QSize>> out;
    if (r && r->format == 32 && xcb_get_property_value_length(r) >= 9 * 4) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r));
        constexpr uint32_t kMin = 16, kMax = 32;  // PMinSize, PMaxSize
        if ((v[0] & kMin) && (v[0] & kMax)) out = std::make_pair(QSize(int(v[5]), int(v[6])), QSize(int(v[7]), int(v[8])));
    }
    free(r);
    return out;
}

std::vector<uint32_t> XSession::screenRow(int y) const {
    std::vector<uint32_t> out;
    if (!client_) return out;
    xcb_connection_t* c = client_->c;
    const xcb_screen_t* s = clientScreen();
    auto* r = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, s->root, 0, int16_t(y), s->width_in_pixels, 1, ~0u), nullptr);
    // 24-bit depth: four bytes a pixel, blue first.
    if (r && xcb_get_image_data_length(r) >= 4 * s->width_in_pixels) {
        const uint8_t* d = xcb_get_image_data(r);
        for (int i = 0; i < s->width_in_pixels; ++i)
            out.push_back(uint32_t(d[4 * i + 2]) << 16 | uint32_t(d[4 * i + 1]) << 8 | d[4 * i]);
    }
    free(r);
    return out;
}

XWatch::XWatch(const XSession& x, quint64 id) : c_(xcb_connect(x.display().toLocal8Bit().constData(), nullptr)), id_(id) {
    if (xcb_connection_has_error(c_)) return;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c_, xcb_window_t(id), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
}

XWatch::~XWatch() { xcb_disconnect(c_); }

bool XWatch::unmapped() {
    drain();
    return unmapped_;
}

std::optional<QSize> XWatch::resized(QSize than) {
    drain();
    for (const QSize s : sizes_)
        if (s != than) return s;
    return std::nullopt;
}

bool XWatch::propertyChanged(const char* name) {
    drain();
    return std::find(props_.begin(), props_.end(), atom(c_, name)) != props_.end();
}

void XWatch::drain() {
    if (xcb_connection_has_error(c_)) return;
    while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
        switch (e->response_type & 0x7f) {
        case XCB_UNMAP_NOTIFY:
            if (reinterpret_cast<xcb_unmap_notify_event_t*>(e)->window == id_) unmapped_ = true;
            break;
        case XCB_CONFIGURE_NOTIFY: {
            auto* ce = reinterpret_cast<xcb_configure_notify_event_t*>(e);
            if (ce->window == id_) sizes_.push_back(QSize(ce->width, ce->height));
            break;
        }
        case XCB_PROPERTY_NOTIFY: props_.push_back(reinterpret_cast<xcb_property_notify_event_t*>(e)->atom); break;
        }
        free(e);
    }
}

} // namespace wmtest
