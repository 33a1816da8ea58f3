#pragma once
// Layout of the simulated menu bar, toolbars, drawing bar and chart bar and
// of their main hot-spots. Written once for both simulated windows: each
// window describes its controls in a ChromeWindow and passes it in.
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

    // Design Top of the drawing bar: 8295 (practice), 8280 (demonstration).
    double drawingBarTop = 8295;
    // The hot-spots lie on the window itself: each gets its bar's origin
    // added after it is placed.
    bool hotSpotsOnWindow = false;
    // A failing statement is skipped (practice window) or ends the layout
    // and reaches the caller (demonstration).
    bool resumeAfterErrors = true;
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

// The extra area of the step: parks hot-spots 32-40 and hides PicElse. The
// step's extra-area pictures and pre-opened drop-downs come later.
void ElseToolCSH(const ChromeWindow& w);

} // namespace chrome
