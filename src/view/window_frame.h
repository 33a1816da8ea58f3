#pragma once
// The title bar and border of a bordered form's window where no window
// manager frames the windows (an X server alone, as in a kiosk session):
// the view draws them itself, in the room the form's frame takes.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QPainter;
class QWidget;

namespace view {

// Whether a window manager frames the top-level windows. On X the server is
// asked whether one runs; other platforms are taken to frame their windows.
bool windowManagerFrames();
// For tests: on, the view acts as if no window manager ran; off, it asks
// the platform again.
void assumeNoWindowManager(bool on);
// Where the X server has the client area of a top-level window now, in
// root coordinates (the toolkit learns of a window manager's moves later);
// false where there is no X server to ask.
bool serverClientPosition(const QWidget* window, QPoint* at);
// Hands a move of the window with the left button held to the window
// manager, as if it had begun with the press at `pressedAt` (root
// coordinates): the window keeps its offset to the pointer. False where
// there is no X server to ask.
bool startWindowManagerMove(const QWidget* window, QPoint pressedAt);
// Calls off a move of the window that the window manager was asked for
// but may start only after the button is already up, which would carry the
// window with the pointer until the next click. A move already over is not
// touched.
void cancelWindowManagerMove(const QWidget* window);
// Whether the X server has the left button down now; nullopt where there
// is no X server to ask. (During a window manager's move the program hears
// nothing of the button.)
std::optional<bool> leftButtonDown(const QWidget* window);

// Asks that the window have no taskbar or pager entry, as taskbars read
// it from the window's state: on a window not yet mapped, in the state it
// is mapped with; on a mapped one, from the window manager.
void skipTaskbar(const QWidget* window);

// Parts of a window `outer` pixels large whose client area lies `frame`
// inside it: the title bar (above the client area, within the border) and
// its close box at the right end.
QRect titleBarRect(QSize outer, QMargins frame);
QRect closeBoxRect(QSize outer, QMargins frame);

// Draws the border, the title bar with `title`, and the close box (sunken
// while pressed), leaving the client area alone.
void paintWindowFrame(QPainter& p, QSize outer, QMargins frame, const QString& title, bool active, bool closeDown);

} // namespace view
