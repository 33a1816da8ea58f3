#pragma once
// The pointing-hand cursor that the clickable labels of the program's own
// windows show.
#include <QByteArray>
#include <QString>

namespace core {

// A 32 x 32 cursor file whose hot spot is the tip of the index finger (6, 0).
QByteArray handCursorData();
// A cursor file holding handCursorData(), written once per run into a
// private temporary folder; empty when it cannot be written.
QString handCursorFile();

} // namespace core
