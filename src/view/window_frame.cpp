#include "view/window_frame.h"

#include <QAbstractNativeEventFilter>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "view/paint.h"

namespace view {

namespace {

bool g_assumeNone = false;

xcb_atom_t atomIfExists(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// The window that `prop` of `w` names, XCB_NONE if none.
xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop) {
    xcb_generic_error_t* err = nullptr;
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, XCB_ATOM_WINDOW, 0, 1), &err);
    std::free(err);
    xcb_window_t out = XCB_NONE;
    if (r && r->type == XCB_ATOM_WINDOW && r->format == 32 && xcb_get_property_value_length(r) >= 4)
        std::memcpy(&out, xcb_get_property_value(r), sizeof out);
    std::free(r);
    return out;
}

// A window manager of one of the server's screens shows itself by the
// EWMH check window that names itself, or by owning the screen's WM_Sn
// selection.
bool xWindowManagerRuns(xcb_connection_t* c) {
    const xcb_atom_t check = atomIfExists(c, "_NET_SUPPORTING_WM_CHECK");
    int screen = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it), ++screen) {
        const xcb_window_t root = it.data->root;
        if (check != XCB_ATOM_NONE) {
            const xcb_window_t child = windowProperty(c, root, check);
            if (child != XCB_NONE && windowProperty(c, child, check) == child) return true;
        }
        const xcb_atom_t sel = atomIfExists(c, "WM_S" + std::to_string(screen));
        if (sel == XCB_ATOM_NONE) continue;
        xcb_get_selection_owner_reply_t* r =
            xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, sel), nullptr);
        const bool owned = r && r->owner != XCB_NONE;
        std::free(r);
        if (owned) return true;
    }
    return false;
}

// The X connection, native window and (where asked for: one more round
// trip) root window of a top-level window that has its native window;
// false where there is no X server.
bool xWindowOf(const QWidget* window, xcb_connection_t** c, xcb_window_t* win, xcb_window_t* root = nullptr) {
    auto* x = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    *c = x ? x->connection() : nullptr;
    if (!*c || !window || !window->testAttribute(Qt::WA_WState_Created)) return false;
    *win = static_cast<xcb_window_t>(window->winId());
    if (!root) return true;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(*c, xcb_get_geometry(*c, *win), nullptr);
    if (!g) return false;
    *root = g->root;
    std::free(g);
    return true;
}

void edges(QPainter& p, QRect r, QColor topLeft, QColor bottomRight) {
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

const QColor kFace(212, 208, 200), kShadow(128, 128, 128), kDark(64, 64, 64);

// The answer of the X server about a window manager, kept until a window
// manager comes or goes: it names itself in the roots' check property.
class WmCheckCache : public QAbstractNativeEventFilter {
public:
    explicit WmCheckCache(xcb_connection_t* c) : c_(c), check_(atomIfExists(c, "_NET_SUPPORTING_WM_CHECK")) {
        // The roots' property changes, added to what the toolkit hears of.
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
            xcb_get_window_attributes_reply_t* a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, it.data->root), nullptr);
            const uint32_t mask = (a ? a->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
            std::free(a);
            xcb_change_window_attributes(c, it.data->root, XCB_CW_EVENT_MASK, &mask);
        }
        xcb_flush(c);
        qApp->installNativeEventFilter(this);
    }

    xcb_connection_t* connection() const { return c_; }

    bool answer() {
        if (!known_) {
            runs_ = xWindowManagerRuns(c_);
            known_ = true;
        }
        return runs_;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        auto* e = static_cast<xcb_generic_event_t*>(message);
        if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            auto* pe = reinterpret_cast<xcb_property_notify_event_t*>(e);
            if (pe->atom == check_ || check_ == XCB_ATOM_NONE) known_ = false;
        }
        return false;
    }

private:
    xcb_connection_t* c_;
    xcb_atom_t check_;
    bool known_ = false;
    bool runs_ = false;
};
} // namespace

bool windowManagerFrames() {
    if (g_assumeNone) return false;
    auto* x = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x || !x->connection()) return true;
    static WmCheckCache* cache = nullptr;
    if (!cache || cache->connection() != x->connection()) cache = new WmCheckCache(x->connection());
    return cache->answer();
}

void assumeNoWindowManager(bool on) { g_assumeNone = on; }

namespace {

// Sends a client message about `win` to the window manager, through the
// root window as the EWMH asks.
void sendToWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t win, xcb_atom_t type,
                         std::array<uint32_t, 5> data) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = win;
    ev.type = type;
    std::copy(data.begin(), data.end(), ev.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
}

// A _NET_WM_MOVERESIZE request for the window with the left button, asked
// by the program itself; false where the request has no atom.
bool sendMoveResize(xcb_connection_t* c, xcb_window_t root, xcb_window_t win, QPoint at, uint32_t direction) {
    const xcb_atom_t moveResize = atomIfExists(c, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE) return false;
    sendToWindowManager(c, root, win, moveResize, {uint32_t(at.x()), uint32_t(at.y()), direction, 1, 1});
    return true;
}

} // namespace

bool startWindowManagerMove(const QWidget* window, QPoint pressedAt) {
    xcb_connection_t* c = nullptr;
    xcb_window_t win = XCB_NONE, root = XCB_NONE;
    if (!xWindowOf(window, &c, &win, &root)) return false;
    // The press gave the program the pointer; the window manager takes it.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    return sendMoveResize(c, root, win, pressedAt, 8 /* move */);
}

void cancelWindowManagerMove(const QWidget* window) {
    xcb_connection_t* c = nullptr;
    xcb_window_t win = XCB_NONE, root = XCB_NONE;
    if (xWindowOf(window, &c, &win, &root)) sendMoveResize(c, root, win, {}, 11 /* cancel */);
}

std::optional<bool> leftButtonDown(const QWidget* window) {
    xcb_connection_t* c = nullptr;
    xcb_window_t win = XCB_NONE;
    if (!xWindowOf(window, &c, &win)) return std::nullopt;
    // The button mask is the pointer's, whichever window is asked.
    xcb_query_pointer_reply_t* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, win), nullptr);
    if (!r) return std::nullopt;
    const bool down = r->mask & XCB_KEY_BUT_MASK_BUTTON_1;
    std::free(r);
    return down;
}

void skipTaskbar(const QWidget* window) {
    xcb_connection_t* c = nullptr;
    xcb_window_t win = XCB_NONE, root = XCB_NONE;
    if (!xWindowOf(window, &c, &win, &root)) return;
    const xcb_atom_t state = atomIfExists(c, "_NET_WM_STATE");
    const xcb_atom_t skip[2] = {atomIfExists(c, "_NET_WM_STATE_SKIP_TASKBAR"), atomIfExists(c, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || skip[0] == XCB_ATOM_NONE || skip[1] == XCB_ATOM_NONE) return;
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, win), nullptr);
    const bool mapped = a && a->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(a);
    if (mapped) {
        sendToWindowManager(c, root, win, state, {1 /* add */, skip[0], skip[1], 1 /* asked by the program */, 0});
        return;
    }
    // Added to what the state holds already; the toolkit adds its own when
    // it maps the window.
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, win, state, XCB_ATOM_ATOM, 0, 64), nullptr);
    std::vector<xcb_atom_t> atoms;
    if (r && r->type == XCB_ATOM_ATOM && r->format == 32) {
        const auto* v = static_cast<const xcb_atom_t*>(xcb_get_property_value(r));
        atoms.assign(v, v + xcb_get_property_value_length(r) / 4);
    }
    std::free(r);
    for (xcb_atom_t s : skip)
        if (std::find(atoms.begin(), atoms.end(), s) == atoms.end()) atoms.push_back(s);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, state, XCB_ATOM_ATOM, 32, uint32_t(atoms.size()), atoms.data());
    xcb_flush(c);
}

bool serverClientPosition(const QWidget* window, QPoint* at) {
    xcb_connection_t* c = nullptr;
    xcb_window_t win = XCB_NONE, root = XCB_NONE;
    if (!xWindowOf(window, &c, &win, &root)) return false;
    xcb_translate_coordinates_reply_t* r =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, win, root, 0, 0), nullptr);
    if (!r) return false;
    *at = QPoint(r->dst_x, r->dst_y);
    std::free(r);
    return true;
}

QRect titleBarRect(QSize outer, QMargins frame) {
    // The border is as wide above the title bar as at the sides.
    const int border = frame.left();
    return QRect(border, border, outer.width() - frame.left() - frame.right(), frame.top() - border);
}

QRect closeBoxRect(QSize outer, QMargins frame) {
    const QRect bar = titleBarRect(outer, frame);
    const QSize box(16, 14);
    return QRect(QPoint(bar.right() - 1 - box.width(), bar.top() + (bar.height() - box.height()) / 2), box);
}

void paintWindowFrame(QPainter& p, QSize outer, QMargins frame, const QString& title, bool active, bool closeDown) {
    p.save();
    const QRect all(QPoint(0, 0), outer);
    const QRect client = all.marginsRemoved(frame);
    QRegion around(all);
    around -= client;
    p.setClipRegion(around);
    p.fillRect(all, kFace);
    edges(p, all, kFace, kDark);
    edges(p, all.adjusted(1, 1, -1, -1), Qt::white, kShadow);

    const QRect bar = titleBarRect(outer, frame);
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setColorAt(0, active ? QColor(10, 36, 106) : kShadow);
    g.setColorAt(1, active ? QColor(166, 202, 240) : QColor(192, 192, 192));
    p.fillRect(bar, g);

    const QRect box = closeBoxRect(outer, frame);
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(active ? Qt::white : kFace);
    const QRect text(bar.left() + 3, bar.top(), box.left() - bar.left() - 6, bar.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QFontMetrics(font).elidedText(title, Qt::ElideRight, text.width()));

    p.fillRect(box, kFace);
    raisedEdge(p, box.adjusted(0, 0, 1, 1), closeDown);
    // The cross, 8 x 7, two pixels thick.
    const QPoint c = box.topLeft() + QPoint(4, 3) + (closeDown ? QPoint(1, 1) : QPoint());
    p.setPen(Qt::black);
    for (int dx = 0; dx < 2; ++dx) {
        p.drawLine(c + QPoint(dx, 0), c + QPoint(dx + 6, 6));
        p.drawLine(c + QPoint(dx + 6, 0), c + QPoint(dx, 6));
    }
    p.restore();
}

} // namespace view
