#pragma once
// Pictures of the simulated menus that the module's picture folder holds:
// the nine menu-bar drop-downs, the submenus the questions use, toolbar,
// drawing-bar and extra-area drop-downs, their row highlights, the extra
// picture of the line-spacing button and a row drawn by the module (a
// SpecialItem). Their rows lie exactly where the program lays the row
// hot-spots.
#include <QImage>
#include <QString>
#include <QStringList>

namespace sample {

// Row (1-based) of the first entry of drop-down `hotSpot` (1-9, or another
// drop-down with a list) whose text starts with prefix; 0 when none.
int menuRow(int hotSpot, const QString& prefix);
// Row of submenu MM/II whose text starts with prefix; 0 when none.
int submenuRow(int hotSpot, int item, const QString& prefix);
// Colour palette cells (1-40), as the palettes draw them.
QStringList paletteColourNames();

// The shading tab's fill palette (drop-down 33, shown pre-opened), with the
// cell `selected` (1-40) framed as chosen; 0 frames none.
QImage shadingPalette(int selected);

// The SpecialItem of the sample: row 16 of the File menu (a recent file),
// drawn from pictures 880177 and 880100.
inline constexpr const char* kRecentFileCode = "8801";

// Writes every menu picture into examdataDir. False, with the reason in
// *err, when a file cannot be written.
bool writeMenuPictures(const QString& examdataDir, QString* err);

} // namespace sample
