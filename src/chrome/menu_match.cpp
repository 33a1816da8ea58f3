#include "chrome/menu_match.h"

#include "core/text.h"

namespace chrome {

namespace {

int fieldValue(const QString& slot, int at) { return core::val16(core::mid(slot, at, 2)); }

} // namespace

std::optional<QString> menuSlotBranch(const QString& slot, MenuClick click, int openMenu, int openItem, int subRow) {
    if (core::left(slot, 1) != u"H" || fieldValue(slot, 2) != openMenu) return std::nullopt;
    switch (click) {
    case MenuClick::MainSpot:
        if (core::mid(slot, 4, 4) != u"0000") return std::nullopt;
        break;
    case MenuClick::DropRow:
        if (core::mid(slot, 6, 2) != u"00" || fieldValue(slot, 4) != openItem) return std::nullopt;
        break;
    case MenuClick::SubRow:
        if (fieldValue(slot, 4) != openItem || fieldValue(slot, 6) != subRow) return std::nullopt;
        break;
    }
    return core::mid(slot, 10, 1);
}

bool specialItemMatches(const QString& slot3, int openMenu, int openItem) {
    return core::left(slot3, 1) == u"D" && fieldValue(slot3, 2) == openMenu && fieldValue(slot3, 4) == openItem;
}

std::optional<QString> menuClickBranch(const QString& stepLine, MenuClick click, int openMenu, int openItem,
                                       int subRow) {
    const QString slot1 = core::mid(stepLine, 125, 10), slot2 = core::mid(stepLine, 86, 10),
                  slot3 = core::mid(stepLine, 96, 10);
    for (const QString& slot : {slot1, slot2, slot3})
        if (auto b = menuSlotBranch(slot, click, openMenu, openItem, subRow)) return b;
    if (click == MenuClick::DropRow && specialItemMatches(slot3, openMenu, openItem)) return QStringLiteral("0");
    return std::nullopt;
}

} // namespace chrome
