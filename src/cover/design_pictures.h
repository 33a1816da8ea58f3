#pragma once
// Pictures that belong to the cover window itself (not to the module): drawn
// once at first use and kept for the life of the program.
#include <QByteArray>
#include <QString>

#include "core/hand_cursor.h"
#include "core/pictures.h"

namespace cover {

// Highlighted close button, 48 x 20 pixels.
core::Picture closePicture();
// Hover and pressed faces of the row start areas, 118 x 25 pixels: the
// paper rows ("开始考试") and the unit rows ("进入学习").
core::Picture paperStartHoverPicture();
core::Picture paperStartPressedPicture();
core::Picture unitStartHoverPicture();
core::Picture unitStartPressedPicture();
// Header strip of the flagged list, 796 x 23 pixels: 题号, 题库源题, 题目要求.
core::Picture flaggedHeaderPicture();

// The pointing-hand cursor (shared with the other windows of the program).
using core::handCursorData;
using core::handCursorFile;

} // namespace cover
