#pragma once
// Rows of the simulated drop-downs and submenus: where the row hot-spots
// (Lbl1J over a drop-down picture, Lbl2J over a submenu picture) lie, which
// rows open a submenu, and the names of the row pictures. Pure functions of
// the window, the indices and the scale, shared by the practice window and
// the demonstration; each window applies the result to its own rows.
#include <QString>
#include <array>
#include <cstdint>

namespace core {
class ControlArray;
}

namespace chrome {

// One row hot-spot, in twips relative to its drop-down or submenu picture.
struct RowRect {
    double left = -100, top = -100, width = 0, height = 0;
    // A parked row lies outside its picture and has no area.
    bool parked() const { return left == -100 && top == -100 && width == 0 && height == 0; }
    bool operator==(const RowRect&) const = default;
};
// Left -100, Top -100, no size; never scaled.
inline constexpr RowRect ParkedRow{};

inline constexpr int RowCount = 44;
// Rows 1-44 (element 0 is never laid out and stays parked).
using RowLayout = std::array<RowRect, RowCount + 1>;

enum class SimWindow { Practice, Demo };

// What a window's layout depends on.
struct RowParams {
    SimWindow window = SimWindow::Practice;
    double scaleX = 1, scaleY = 1;
    // Width (twips) of the drop-down or submenu picture the rows lie over:
    // the demonstration's group rows are this less 30 x ScaleX wide.
    double containerWidth = 0;
};

// ---- row model ----
// Rows a group character counts: a digit its value, "A" 19, "B" 10, any
// other character 0.
int groupSize(QChar c);
// Rows of a whole GroupSizeString.
int groupRowCount(const QString& groupSizeString);
// Tops (twips, scaled, rounded half to even) of rows 1-20 of a menu made of
// the groups of groupSizeString: 345 apart, 30 more after each group.
// Entry 0 is unused and entry 21 stays 0.
std::array<int16_t, 22> RowTops(const QString& groupSizeString, double scaleY);
// GroupSizeString of menu-bar drop-down 1-9; empty for other entries.
QString MenuGroups(int entry);
// GroupSizeString of a drop-down laid out by groups: 1-9, 36 (entry 8),
// 37 (entry 9); empty for any other.
QString dropDownGroups(int openMenu);
// GroupSizeString of submenu key MM x 100 + II below 800; empty for others.
QString SubmenuGroups(int key);

// A run of rows: count items from row `first`, `columns` across, `pitch`
// apart (downPitch apart down, when not 0), each width x height (design
// twips, scale 1). A list has one column. demoWidth, when not 0, is the
// demonstration's width.
struct LayoutGrid {
    int first = 1;
    int count = 1;
    double x = 0, y = 0;
    int columns = 1;
    double pitch = 0;
    double width = 0, height = 0;
    double demoWidth = 0;
    double downPitch = 0;
};
// Places a run into rows (scaled by the params, not rounded).
void placeRun(RowLayout& rows, const LayoutGrid& run, const RowParams& p);
// The colour palette: 8 columns of 270 x 270 cells, 40 cells from (x, y),
// rows 1-40.
LayoutGrid PaletteGrid(double x, double y);

// Rows of drop-down `openMenu` as Tool1JCSH lays them out (relative to the
// drop-down picture); every row it does not name is parked.
RowLayout dropDownRows(int openMenu, const RowParams& p);
// Rows of the submenu opened from row openItem of drop-down openMenu, as
// Tool2JCSH lays them out (relative to the submenu picture).
RowLayout submenuRows(int openMenu, int openItem, const RowParams& p);
// Drop-downs 33 and 34 show their container once laid out.
bool dropDownShowsContainer(int openMenu);

// ---- submenus ----
// The 34 four-digit keys MMII whose rows open a submenu, joined by "-".
extern const QString SubmenuKeys;
// MMII: two digits of openMenu and two of openItem (the last two of each).
QString submenuKey(int openMenu, int openItem);
// Whether row openItem of drop-down openMenu opens a submenu.
bool opensSubmenu(int openMenu, int openItem);

// ---- palettes and row pictures ----
// Drop-downs whose rows 1-40 are palette cells: 24, 25, 26, 33, 34, 86.
bool isPaletteDropDown(int openMenu);
// Submenus whose rows 1-40 are palette cells: 5/12 and 73/10.
bool isPaletteSubmenu(int openMenu, int openItem);
QString rowHighlightCode(int openMenu, int row);                    // MMII00
QString submenuPictureCode(int openMenu, int openItem);             // MMII77
QString submenuRowHighlightCode(int openMenu, int openItem, int sub);  // MMIISS
QString paletteCellCode(int cell);                                  // 4999CC
// Highlight picture code of a hovered drop-down row (palette cell or row).
QString dropDownRowHighlight(int openMenu, int row);
// Highlight picture code of a hovered submenu row.
QString submenuRowHighlight(int openMenu, int openItem, int sub);

// ---- applying ----
// Gives rows 1-44 of a row array their places, each moved by (dx, dy) (the
// picture's origin in the demonstration, 0 in the practice window); a row
// the array lacks is skipped.
void applyRows(core::ControlArray& rows, const RowLayout& layout, double dx = 0, double dy = 0);

} // namespace chrome
