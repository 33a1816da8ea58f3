#pragma once
// How a click on the simulated menus is matched against the expected-action
// slots of the step: MenuPath slots ("H" MM II SS .. branch) and the
// SpecialItem slot ("D" MM II . PPPP, action slot 3 only).
#include <QString>
#include <optional>

namespace chrome {

enum class MenuClick {
    MainSpot,  // a left press on main hot-spot openMenu
    DropRow,   // a click on row openItem of drop-down openMenu
    SubRow,    // a click on row subRow of the submenu of openMenu / openItem
};

// The branch code (slot character 10) when the slot matches the click.
std::optional<QString> menuSlotBranch(const QString& slot, MenuClick click, int openMenu, int openItem,
                                      int subRow = 0);
// Whether action slot 3 is a SpecialItem naming row openItem of drop-down
// openMenu.
bool specialItemMatches(const QString& slot3, int openMenu, int openItem);

// The one action a click earns in a step: slots 1, 2 and 3 in this order,
// then (for a drop-down row) the SpecialItem, which goes to the next step
// ("0"). The first match acts; nullopt when nothing matches.
std::optional<QString> menuClickBranch(const QString& stepLine, MenuClick click, int openMenu, int openItem,
                                       int subRow = 0);

} // namespace chrome
