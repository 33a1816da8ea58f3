#include "chrome/rows.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/errors.h"
#include "core/forms.h"
#include "core/text.h"

namespace chrome {

namespace {

int16_t nearest16(double v) { return int16_t(core::roundHalfEven(v)); }

// A literal layout: the runs of one drop-down or submenu.
struct Literal {
    int key;
    std::vector<LayoutGrid> runs;
};

LayoutGrid list(int first, int count, double x, double y, double pitch, double w, double h, double demoW = 0) {
    return LayoutGrid{first, count, x, y, 1, pitch, w, h, demoW};
}
LayoutGrid grid(int first, int count, double x, double y, int columns, double pitch, double w, double h,
                double downPitch = 0) {
    return LayoutGrid{first, count, x, y, columns, pitch, w, h, 0, downPitch};
}
LayoutGrid row(int n, double x, double y, double w, double h, double demoW = 0) {
    return LayoutGrid{n, 1, x, y, 1, 0, w, h, demoW};
}
LayoutGrid palette(double x, double y) { return PaletteGrid(x, y); }

// Toolbar, extra-area and drawing-bar drop-downs.
const std::vector<Literal>& dropDownTable() {
    static const std::vector<Literal> t = {
        // Drawing bar.
        {11, {list(1, 3, 30, 30, 345, 3135, 330), row(4, 30, 1095, 3135, 330), list(5, 4, 30, 1470, 345, 3135, 330),
              list(9, 4, 30, 2880, 345, 3135, 330), row(13, 30, 4290, 3135, 330)}},
        {13, {list(1, 7, 30, 165, 345, 2505, 330), row(8, 30, 2610, 2505, 330)}},
        {24, {palette(60, 600), row(41, 60, 210, 2160, 330), row(42, 30, 2070, 2160, 330), row(43, 30, 2400, 2160, 330)}},
        {25, {palette(60, 600), row(41, 60, 210, 2160, 330), row(42, 30, 2070, 2160, 330), row(43, 30, 2400, 2160, 330)}},
        {26, {palette(60, 600), row(41, 60, 210, 2160, 330), row(42, 60, 2010, 2160, 330), row(43, 0, 0, 0, 0)}},
        {27, {list(1, 9, 60, 90, 240, 2100, 240), list(10, 4, 105, 2310, 240, 2100, 240), row(14, 30, 3390, 2100, 240)}},
        {28, {list(1, 8, 60, 90, 210, 1470, 210)}},
        {29, {list(1, 11, 60, 90, 240, 1470, 240), row(12, 30, 2850, 1530, 330)}},
        {30, {grid(1, 20, 60, 480, 4, 405, 390, 390), row(21, 75, 90, 1560, 330), row(22, 30, 2610, 1665, 330)}},
        {31, {grid(1, 20, 60, 480, 4, 390, 390, 390), row(21, 60, 90, 1560, 330), row(22, 30, 2550, 1620, 330)}},
        // Extra area: groups of 6, 4, 2 and 2 rows, 30 apart.
        {32, {list(1, 6, 30, 30, 345, 1785, 330), list(7, 4, 30, 2130, 345, 1785, 330),
              list(11, 2, 30, 3540, 345, 1785, 330), list(13, 2, 30, 4260, 345, 1785, 330)}},
        {33, {palette(60, 480), row(41, 60, 90, 2160, 330), row(42, 30, 1950, 2160, 330)}},
        {34, {palette(0, 0)}},
        // Standard and formatting toolbars.
        {48, {list(1, 2, 30, 30, 345, 2415, 345)}},
        {64, {list(1, 12, 30, 30, 180, 990, 180)}},
        {68, {list(1, 6, 30, 30, 525, 3750, 525)}},
        {69, {list(1, 12, 30, 30, 300, 3750, 330)}},
        {70, {list(1, 12, 30, 30, 180, 510, 180)}},
        {73, {list(1, 8, 390, 60, 270, 1470, 270), row(9, 390, 2295, 1470, 270), row(10, 30, 2700, 1875, 270)}},
        {76, {list(1, 12, 30, 30, 345, 1515, 330)}},
        {85, {grid(1, 15, 60, 480, 5, 270, 270, 270), row(16, 60, 90, 1350, 240)}},
        {86, {palette(60, 600), row(41, 60, 210, 2160, 330), row(42, 60, 2010, 2160, 330)}},
    };
    return t;
}

// Submenus of the keys of 800 and above.
const std::vector<Literal>& submenuTable() {
    static const std::vector<Literal> t = [] {
        std::vector<Literal> v = {
            {1104, {list(1, 6, 30, 165, 345, 3900, 330, 1725)}},
            {1106, {list(1, 6, 30, 165, 345, 3900, 330, 1725)}},
            {1107, {list(1, 3, 30, 165, 345, 3900, 330, 2250), list(4, 3, 30, 1230, 345, 3900, 330, 2250),
                    list(7, 2, 30, 2295, 345, 3900, 330, 2250), row(9, 30, 3015, 3900, 330, 2250)}},
            {1109, {row(1, 30, 165, 3900, 330, 2325), list(2, 4, 30, 540, 345, 3900, 330, 2325),
                    list(6, 2, 30, 1950, 345, 3900, 330, 2325), row(8, 30, 2670, 3900, 330, 2325)}},
            {1112, {list(1, 5, 30, 30, 345, 3900, 330, 1755)}},
            {1301, {grid(1, 9, 30, 180, 3, 345, 345, 330, 330)}},
            {1302, {grid(1, 9, 30, 180, 3, 345, 345, 330, 330)}},
            {7310, {palette(375, 465), row(41, 375, 60, 2160, 330), row(42, 375, 1890, 2160, 330)}},
        };
        Literal k1108 = v[2];
        k1108.key = 1108;
        v.push_back(k1108);
        for (int key = 1303; key <= 1307; ++key) v.push_back({key, {grid(1, 32, 30, 180, 4, 345, 345, 330, 330)}});
        return v;
    }();
    return t;
}

const Literal* findLiteral(const std::vector<Literal>& t, int key) {
    for (const Literal& l : t)
        if (l.key == key) return &l;
    return nullptr;
}

// Rows 1..n of a group-described menu: 30 from the left, tops from RowTops.
void placeGroups(RowLayout& rows, const QString& groups, double width, const RowParams& p) {
    const auto tops = RowTops(groups, p.scaleY);
    const int n = std::min(groupRowCount(groups), 20);
    for (int j = 1; j <= n; ++j) rows[j] = RowRect{30 * p.scaleX, double(tops[j]), width, 330 * p.scaleY};
}

} // namespace

int groupSize(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c == u'A') return 19;
    if (c == u'B') return 10;
    return 0;
}

int groupRowCount(const QString& s) {
    int n = 0;
    for (QChar c : s) n += groupSize(c);
    return n;
}

std::array<int16_t, 22> RowTops(const QString& s, double sy) {
    std::array<int16_t, 22> t{};
    t[1] = nearest16(30 * sy);
    for (int i = 2; i <= 20; ++i) t[i] = nearest16(t[i - 1] + 345 * sy);
    int total = 0;
    for (QChar c : s) {
        total += groupSize(c);
        for (int k = total + 1; k <= 20; ++k) t[k] = nearest16(t[k] + 30 * sy);
    }
    return t;
}

QString MenuGroups(int entry) {
    static const char* const groups[] = {"34213241", "26231", "55232", "837", "45261", "6515", "16441", "41", "2241"};
    if (entry < 1 || entry > 9) return QString();
    return QString::fromLatin1(groups[entry - 1]);
}

QString dropDownGroups(int openMenu) {
    if (openMenu == 36) return MenuGroups(8);
    if (openMenu == 37) return MenuGroups(9);
    return MenuGroups(openMenu);
}

QString SubmenuGroups(int key) {
    static const struct {
        int key;
        const char* groups;
    } t[] = {{108, "21"}, {114, "5"},  {209, "2"},  {307, "A1"}, {404, "2B"},  {410, "4"},  {412, "35"},
             {414, "2"},  {511, "5"},  {512, "C"},  {514, "242"}, {603, "5"},  {611, "21"}, {612, "221"},
             {613, "32"}, {702, "1221"}, {703, "4"}, {704, "4"},  {709, "32"}, {712, "2"}};
    for (const auto& e : t)
        if (e.key == key) return QString::fromLatin1(e.groups);
    return QString();
}

void placeRun(RowLayout& rows, const LayoutGrid& r, const RowParams& p) {
    const double w = p.window == SimWindow::Demo && r.demoWidth != 0 ? r.demoWidth : r.width;
    const int columns = std::max(r.columns, 1);
    const double down = r.downPitch != 0 ? r.downPitch : r.pitch;
    for (int i = 1; i <= r.count; ++i) {
        const int n = r.first + i - 1;
        if (n < 1 || n > RowCount) continue;
        rows[n] = RowRect{r.x * p.scaleX + ((i - 1) % columns) * r.pitch * p.scaleX,
                          r.y * p.scaleY + ((i - 1) / columns) * down * p.scaleY,
                          w * p.scaleX, r.height * p.scaleY};
    }
}

LayoutGrid PaletteGrid(double x, double y) { return LayoutGrid{1, 40, x, y, 8, 270, 270, 270, 0, 0}; }

RowLayout dropDownRows(int openMenu, const RowParams& p) {
    RowLayout rows{};
    const QString groups = dropDownGroups(openMenu);
    if (!groups.isEmpty()) {
        const double width = p.window == SimWindow::Demo ? p.containerWidth - 30 * p.scaleX : 3900 * p.scaleX;
        placeGroups(rows, groups, width, p);
        return rows;
    }
    if (const Literal* l = findLiteral(dropDownTable(), openMenu))
        for (const LayoutGrid& r : l->runs) placeRun(rows, r, p);
    return rows;
}

RowLayout submenuRows(int openMenu, int openItem, const RowParams& p) {
    RowLayout rows{};
    const int key = openMenu * 100 + openItem;
    if (key >= 800) {
        if (const Literal* l = findLiteral(submenuTable(), key))
            for (const LayoutGrid& r : l->runs) placeRun(rows, r, p);
        return rows;
    }
    const bool demo = p.window == SimWindow::Demo;
    placeGroups(rows, SubmenuGroups(key), demo ? p.containerWidth - 30 * p.scaleX : 3900 * p.scaleX, p);
    if (key == 512) {
        placeRun(rows, PaletteGrid(375, 465), p);
        const double w = (demo ? 2550 : 3900) * p.scaleX;
        rows[41] = RowRect{30 * p.scaleX, 60 * p.scaleY, w, 330 * p.scaleY};
        rows[42] = RowRect{30 * p.scaleX, 1890 * p.scaleY, w, 330 * p.scaleY};
        rows[43] = RowRect{30 * p.scaleX, rows[42].top + 345 * p.scaleY, w, 330 * p.scaleY};
        rows[44] = RowRect{30 * p.scaleX, rows[43].top + 345 * p.scaleY, w, 330 * p.scaleY};
    }
    return rows;
}

bool dropDownShowsContainer(int openMenu) { return openMenu == 33 || openMenu == 34; }

const QString SubmenuKeys = QStringLiteral(
    "0108-0114-0209-0307-0404-0410-0412-0414-0511-0512-0514-0603-0611-0612-0613-0702-0703-0704-0709-0712-"
    "1104-1106-1107-1108-1109-1112-1301-1302-1303-1304-1305-1306-1307-7310");

QString submenuKey(int openMenu, int openItem) {
    return core::right(QStringLiteral("0") + QString::number(openMenu), 2) +
           core::right(QStringLiteral("0") + QString::number(openItem), 2);
}

bool opensSubmenu(int openMenu, int openItem) { return SubmenuKeys.contains(submenuKey(openMenu, openItem)); }

bool isPaletteDropDown(int m) { return m == 24 || m == 25 || m == 26 || m == 86 || m == 33 || m == 34; }
bool isPaletteSubmenu(int m, int item) { return (m == 5 && item == 12) || (m == 73 && item == 10); }

QString rowHighlightCode(int m, int row) { return core::padDigits(m, 2) + core::padDigits(row, 2) + QStringLiteral("00"); }
QString submenuPictureCode(int m, int item) {
    return core::padDigits(m, 2) + core::padDigits(item, 2) + QStringLiteral("77");
}
QString submenuRowHighlightCode(int m, int item, int sub) {
    return core::padDigits(m, 2) + core::padDigits(item, 2) + core::padDigits(sub, 2);
}
QString paletteCellCode(int cell) { return QStringLiteral("4999") + core::padDigits(cell, 2); }

QString dropDownRowHighlight(int m, int row) {
    return row <= 40 && isPaletteDropDown(m) ? paletteCellCode(row) : rowHighlightCode(m, row);
}
QString submenuRowHighlight(int m, int item, int sub) {
    return sub <= 40 && isPaletteSubmenu(m, item) ? paletteCellCode(sub) : submenuRowHighlightCode(m, item, sub);
}

void applyRows(core::ControlArray& rows, const RowLayout& layout, double dx, double dy) {
    for (int i = 1; i <= RowCount; ++i) {
        core::Control* c = rows.find(i);
        if (!c) continue;
        const RowRect& r = layout[i];
        c->move(r.left + dx, r.top + dy, r.width, r.height);
    }
}

} // namespace chrome
