#pragma once
// The title bar and border of a bordered form's window where no window
// manager frames the windows (an X server alone, as in a kiosk session):
// the view draws them itself, in the room the form's frame takes.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

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
// Asks the window manager to end a move of the window that it may still
// run: one it started after the button that asked for it was already up
// (a quick click) would otherwise carry the window with the pointer until
// the next click. A move already over is not touched.
void endWindowManagerMove(const QWidget* window);

// Parts of a window `outer` pixels large whose client area lies `frame`
// inside it: the title bar (above the client area, within the border) and
// its close box at the right end.
QRect titleBarRect(QSize outer, QMargins frame);
QRect closeBoxRect(QSize outer, QMargins frame);

// Draws the border, the title bar with `title`, and the close box (sunken
// while pressed), leaving the client area alone.
void paintWindowFrame(QPainter& p, QSize outer, QMargins frame, const QString& title, bool active, bool closeDown);

} // namespace view
