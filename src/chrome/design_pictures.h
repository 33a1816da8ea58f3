#pragma once
// Pictures that belong to the simulated window's design: the bar
// screenshots in the look of the simulated word processor, and the looks of
// their main hot-spots. Drawn once, at first use, and kept.
#include <QImage>
#include <QRect>

namespace chrome {

// Bar screenshots (pixels at 96 dpi): menu bar 551 x 19, standard and
// formatting toolbars 800 x 51, drawing bar 671 x 26, chart bar 422 x 49.
const QImage& menuBarPicture();
const QImage& toolbarPicture();
const QImage& drawingBarPicture();
const QImage& chartBarPicture();

// The bar picture that holds main hot-spot `index`; null for indices
// outside the menu bar, toolbars, drawing bar and chart bar.
const QImage* barPictureOf(int index);
// Rectangle of main hot-spot `index` in its bar picture (pixels).
QRect hotSpotPixelRect(int index);

enum class Look { Normal, Hover, Pressed };
// Main hot-spot `index` as it looks under the mouse or pressed: the area
// of its bar under its rectangle, redrawn. Null for indices without a bar.
QImage hotSpotPicture(int index, Look look);

// The chart toolbar as an overlay of its own.
const QImage& chartToolbarPicture();
// The small cover at the edge of the closed look-in box (5 x 22).
const QImage& lookInCoverPicture();

// The look-in list of the file dialogs: place row i (0-13, 212 x 16,
// highlighted), the open list (216 x 248: the closed box on top, the 14 rows
// below) and the closed box's first picture (83 x 16, the place shown at load).
const QImage& lookInRowPicture(int i);
const QImage& lookInListPicture();
const QImage& lookInBoxPicture();
// Where the closed box shows row i's picture when that row is chosen: its
// left edge in twips before scaling, so that the place's icon, indented by
// its depth in the list, lines up with the box's own.
double lookInRowShift(int i);

} // namespace chrome
