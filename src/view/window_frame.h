#pragma once
// The title bar and border of a bordered form's window where no window
// manager frames the windows (an X server alone, as in a kiosk session):
// the view draws them itself, in the room the form's frame takes.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace view {

// Whether a window manager frames the top-level windows. On X the server is
// asked whether one runs; other platforms are taken to frame their windows.
bool windowManagerFrames();
// For tests: on, the view acts as if no window manager ran; off, it asks
// the platform again.
void assumeNoWindowManager(bool on);

// Parts of a window `outer` pixels large whose client area lies `frame`
// inside it: the title bar (above the client area, within the border) and
// its close box at the right end.
QRect titleBarRect(QSize outer, QMargins frame);
QRect closeBoxRect(QSize outer, QMargins frame);

// Draws the border, the title bar with `title`, and the close box (sunken
// while pressed), leaving the client area alone.
void paintWindowFrame(QPainter& p, QSize outer, QMargins frame, const QString& title, bool active, bool closeDown);

} // namespace view
