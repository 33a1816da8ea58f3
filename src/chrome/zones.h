#pragma once
// Zones of the main hot-spots of the simulated menus and toolbars, the
// names of the chrome picture files and the buttons' tooltips.
#include <QString>

namespace chrome {

// Which bar a main hot-spot (LblZHU index) belongs to.
enum class Zone { None, MenuBar, DrawingBar, ExtraArea, Toolbar, ChartBar };

// 1-9 menu bar, 11-31 drawing bar, 32-40 extra area, 41-88 toolbars,
// 89-99 chart bar; 0, 10 and anything else belong to no zone.
Zone zoneOf(int index);

// Main hot-spots whose press opens a drop-down: every menu title; on the
// drawing bar 11, 13 and 24-31; in the extra area 32, 36 and 37; on the
// toolbars 48, 64, 68-70, 73, 76, 85 and 86; on the chart bar 89-91.
bool opensDropDown(int index);

// Picture codes of a main hot-spot NN (two digits).
QString hoverPictureCode(int index);     // NN0088
QString pressedPictureCode(int index);   // NN0099
QString dropDownPictureCode(int index);  // NN0077
QString extraPictureCode(int index);     // NN0000
// The chart toolbar's screenshot shown as an overlay.
inline QString chartToolbarPictureCode() { return QStringLiteral("010000"); }

// A chrome picture file: the window's picture folder (ending in a
// separator), the code and ".rar".
QString chromePictureFile(const QString& examDataPath, const QString& code);

// Tooltip of a toolbar or drawing-bar hot-spot (14-31, 41-88); empty for
// every other index.
QString hotSpotToolTip(int index);

} // namespace chrome
