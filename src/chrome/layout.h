#pragma once
// Layout of the simulated menu bar, toolbars, drawing bar and chart bar and
// of their main hot-spots. Written once for both simulated windows: each
// window describes its controls in a ChromeWindow and passes it in.
#include <QString>
#include <cstdint>

#include "core/forms.h"

namespace chrome {

// The chrome controls of one simulated window.
struct ChromeWindow {
    // Bars: picture boxes holding their hot-spots (practice window) or plain
    // images under hot-spots that lie on the window (demonstration).
    core::Control* picMenu = nullptr;
    core::Control* picTool = nullptr;
    core::Control* picHui = nullptr;
    core::Control* picElse = nullptr;
    core::Control* picTuBiao = nullptr;  // none in the demonstration
    // Main hot-spots (LblZHU).
    core::ControlArray* hotSpots = nullptr;
    // Hover and pressed highlight images of the zones.
    core::Control* imgMenu = nullptr;
    core::Control* imgTool = nullptr;
    core::Control* imgHui = nullptr;
    core::Control* imgElse = nullptr;
    core::Control* imgTuBiao = nullptr;
    // Open drop-down and submenu.
    core::Control* pic1J = nullptr;
    core::Control* pic2J = nullptr;
    // Look-in list (collapsed by frmCsh).
    core::Control* picList = nullptr;
    // Rows of the drop-down (Lbl1J 1-44) and of the submenu (Lbl2J 1-44)
    // with their highlight images (none in the demonstration).
    core::ControlArray* lbl1J = nullptr;
    core::ControlArray* lbl2J = nullptr;
    core::Control* img1J = nullptr;
    core::Control* img2J = nullptr;

    // Design Top of the drawing bar: 8295 (practice), 8280 (demonstration).
    double drawingBarTop = 8295;
    // The hot-spots lie on the window itself: each gets its bar's origin
    // added after it is placed.
    bool hotSpotsOnWindow = false;
    // A failing statement is skipped (practice window) or ends the layout
    // and reaches the caller (demonstration).
    bool resumeAfterErrors = true;
    // The window's picture folder (program folder and "examdata/").
    QString examDataPath;
    // The demonstration: hot-spots on the window, its own variant of the
    // extra area and of the row widths.
    bool demonstration() const { return hotSpotsOnWindow; }
};

// Design rectangle (twips, scale 1) of main hot-spot `index` relative to its
// bar, as ToolCSH lays it out; all zero for indices it does not lay out.
struct DesignRect {
    double left = 0, top = 0, width = 0, height = 0;
};
DesignRect designHotSpotRect(int index);

// Design places of the bars (twips, scale 1).
constexpr double MenuBarLeft = 0, MenuBarTop = 420;
constexpr double ToolBarLeft = 0, ToolBarTop = 750;
constexpr double DrawingBarLeft = 0;
constexpr double ChartBarLeft = 5640, ChartBarTop = 390;

// Empties the highlight images, hides the drop-down and submenu, places the
// bars and lays out the hot-spots of the menu bar (1-9), toolbars (41-88),
// drawing bar (11-31) and chart bar (89-99, when the window has one).
void ToolCSH(const ChromeWindow& w);

// Closes what is open: unless openMenu is 33 or 34 (a pre-opened
// drop-down), hides the drop-down and sets openMenu to 0; hides the submenu,
// empties the highlight images and collapses the look-in list.
void frmCsh(const ChromeWindow& w, int16_t& openMenu);

// The extra area of the step whose record is stepLine: parks the
// hot-spots 32-40, hides PicElse, then shows the extra picture "H" NN (32-40) that
// columns 86-88 name at its place, or a pre-opened drop-down. Returns the
// drop-down (33 or 34) whose rows the practice window's TimTool lays out
// later, 0 for none.
// The demonstration's variant (w.demonstration()): 37 at the record's
// place; 32 gets a 2655 x 300 hot-spot; no hot-spot covers the picture;
// only 33 opens pre-opened, with a 30 x 30 hot-spot and no rows yet (34 is
// a plain extra picture); at the end hot-spots 32-40 get PicElse's origin
// added and 36 and 37 their fixed sizes, 870 x 270 and 330 x 855. It
// returns 0.
int ElseToolCSH(const ChromeWindow& w, const QString& stepLine);
// Only the reset: hot-spots 32-40 parked, PicElse hidden.
inline void ElseToolCSH(const ChromeWindow& w) { ElseToolCSH(w, QString()); }

// A chrome picture into a control. A missing picture empties the control
// and keeps its size (a box keeps its rows and hot-spot usable, and no
// other menu's picture stays on it); false then.
bool setChromePicture(core::Control& c, const QString& examDataPath, const QString& code);

// Drop-down rows of openMenu over Pic1J: empties the row highlight, lays
// the rows (relative to Pic1J; in the demonstration moved by Pic1J's
// origin, with its width for the group rows) and shows Pic1J for the
// pre-opened palettes 33 and 34. The practice window's SpecialItem row and
// the demonstration's aim come after it.
void layDropDownRows(const ChromeWindow& w, int openMenu);
// Submenu rows of openMenu / openItem over Pic2J, likewise (the practice
// window empties its row highlight).
void laySubmenuRows(const ChromeWindow& w, int openMenu, int openItem);

} // namespace chrome
