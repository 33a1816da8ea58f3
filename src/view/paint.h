#pragma once
// Drawing helpers shared by the form window and the control widgets.
#include <QCursor>
#include <QPainter>
#include <QWidget>

#include "core/forms.h"

namespace view {

// Background, border, picture and windowless children of a painted
// windowed control (picture box, frame, command button, check box).
void paintSurface(QPainter& p, QWidget& w, const core::Control& c, bool pressed);
// The 3-D edge of a button, raised or sunken, inside `r` less its last
// column and row.
void raisedEdge(QPainter& p, const QRect& r, bool sunken);
bool sameCursor(const QCursor& a, const QCursor& b);
// Sets the widget's cursor when it differs.
void applyCursor(QWidget* w, const QCursor& c);

} // namespace view
