#include <gtest/gtest.h>

#include "chrome/menu_match.h"
#include "chrome/rows.h"
#include "support/driver.h"

using chrome::RowParams;
using chrome::RowRect;
using chrome::SimWindow;

namespace {

const RowParams practice{};
RowParams demoWith(double width) { return RowParams{SimWindow::Demo, 1, 1, width}; }

struct Place {
    int row;
    RowRect r;
};

void expectRows(const chrome::RowLayout& rows, std::initializer_list<Place> places, const char* what) {
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << what << " row " << p.row);
        EXPECT_DOUBLE_EQ(rows[p.row].left, p.r.left);
        EXPECT_DOUBLE_EQ(rows[p.row].top, p.r.top);
        EXPECT_DOUBLE_EQ(rows[p.row].width, p.r.width);
        EXPECT_DOUBLE_EQ(rows[p.row].height, p.r.height);
    }
}

int placedCount(const chrome::RowLayout& rows) {
    int n = 0;
    for (int i = 1; i <= chrome::RowCount; ++i) n += rows[i].parked() ? 0 : 1;
    return n;
}

std::vector<int> tops(const chrome::RowLayout& rows, int n) {
    std::vector<int> t;
    for (int i = 1; i <= n; ++i) t.push_back(int(rows[i].top));
    return t;
}

TEST(RowModel, RowTopsOfMenusOneAndNine) {
    const auto t1 = chrome::RowTops(chrome::MenuGroups(1), 1);
    const std::vector<int> menu1 = {30,   375,  720,  1095, 1440, 1785, 2130, 2505, 2850, 3225,
                                    3600, 3945, 4290, 4665, 5010, 5385, 5730, 6075, 6420, 6795};
    for (int i = 1; i <= 20; ++i) EXPECT_EQ(t1[i], menu1[i - 1]) << i;
    EXPECT_EQ(t1[21], 0);
    const auto t9 = chrome::RowTops(chrome::MenuGroups(9), 1);
    const std::vector<int> menu9 = {30, 375, 750, 1095, 1470, 1815, 2160, 2505, 2880};
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(t9[i], menu9[i - 1]) << i;
    // Rounded half to even at every step: 30 x 0.85 = 25.5 -> 26.
    EXPECT_EQ(chrome::RowTops("9", 0.85)[1], 26);
}

TEST(RowModel, GroupCounts) {
    EXPECT_EQ(chrome::groupRowCount("34213241"), 20);
    EXPECT_EQ(chrome::groupRowCount("A1"), 20);
    EXPECT_EQ(chrome::groupRowCount("2B"), 12);
    EXPECT_EQ(chrome::groupRowCount("C"), 0);
    EXPECT_EQ(chrome::groupRowCount("x9"), 9);
}

TEST(DropDownRows, MenuBarAndExtraAreaMenus) {
    const auto m1 = chrome::dropDownRows(1, practice);
    EXPECT_EQ(placedCount(m1), 20);
    expectRows(m1, {{1, {30, 30, 3900, 330}}, {20, {30, 6795, 3900, 330}}}, "menu 1");
    EXPECT_TRUE(m1[21].parked());

    // 36 uses the groups of menu 8, 37 those of menu 9, in both windows; the
    // demonstration's rows are the picture's width less 30.
    const auto m36 = chrome::dropDownRows(36, practice);
    EXPECT_EQ(tops(m36, 5), (std::vector<int>{30, 375, 720, 1065, 1440}));
    EXPECT_EQ(placedCount(m36), 5);
    const auto d37 = chrome::dropDownRows(37, demoWith(2400));
    EXPECT_EQ(placedCount(d37), 9);
    EXPECT_EQ(tops(d37, 9), tops(chrome::dropDownRows(9, practice), 9));
    EXPECT_DOUBLE_EQ(d37[1].width, 2370);

    for (int m : {0, 10, 12, 14, 23, 35, 38, 40, 41, 91})
        EXPECT_EQ(placedCount(chrome::dropDownRows(m, practice)), 0) << m;
}

TEST(DropDownRows, ToolbarAndExtraAreaLayouts) {
    const auto r32 = chrome::dropDownRows(32, practice);
    EXPECT_EQ(tops(r32, 14), (std::vector<int>{30, 375, 720, 1065, 1410, 1755, 2130, 2475, 2820, 3165, 3540, 3885,
                                                4260, 4605}));
    expectRows(r32, {{1, {30, 30, 1785, 330}}}, "32");
    expectRows(chrome::dropDownRows(73, practice),
               {{1, {390, 60, 1470, 270}}, {8, {390, 1950, 1470, 270}}, {9, {390, 2295, 1470, 270}},
                {10, {30, 2700, 1875, 270}}},
               "73");
    expectRows(chrome::dropDownRows(86, practice),
               {{1, {60, 600, 270, 270}}, {40, {1950, 1680, 270, 270}}, {41, {60, 210, 2160, 330}},
                {42, {60, 2010, 2160, 330}}},
               "86");
    expectRows(chrome::dropDownRows(85, practice), {{15, {1140, 1020, 270, 270}}, {16, {60, 90, 1350, 240}}}, "85");
    expectRows(chrome::dropDownRows(33, practice),
               {{1, {60, 480, 270, 270}}, {41, {60, 90, 2160, 330}}, {42, {30, 1950, 2160, 330}}}, "33");
    expectRows(chrome::dropDownRows(34, practice), {{1, {0, 0, 270, 270}}, {9, {0, 270, 270, 270}}}, "34");
    const auto r64 = chrome::dropDownRows(64, practice);
    EXPECT_EQ(placedCount(r64), 12);
    expectRows(r64, {{12, {30, 30 + 11 * 180, 990, 180}}}, "64");
    EXPECT_EQ(placedCount(chrome::dropDownRows(48, practice)), 2);
    expectRows(chrome::dropDownRows(69, practice), {{2, {30, 330, 3750, 330}}}, "69");
    EXPECT_TRUE(chrome::dropDownShowsContainer(33));
    EXPECT_TRUE(chrome::dropDownShowsContainer(34));
    EXPECT_FALSE(chrome::dropDownShowsContainer(86));
    // Both windows get the same literal rows.
    EXPECT_EQ(chrome::dropDownRows(73, demoWith(999)), chrome::dropDownRows(73, practice));
}

TEST(DropDownRows, DrawingBarLayouts) {
    expectRows(chrome::dropDownRows(26, practice),
               {{41, {60, 210, 2160, 330}}, {42, {60, 2010, 2160, 330}}, {43, {0, 0, 0, 0}}}, "26");
    EXPECT_TRUE(chrome::dropDownRows(26, practice)[44].parked());
    expectRows(chrome::dropDownRows(24, practice), {{42, {30, 2070, 2160, 330}}, {43, {30, 2400, 2160, 330}}}, "24");
    const auto r29 = chrome::dropDownRows(29, practice);
    EXPECT_EQ(placedCount(r29), 12);
    expectRows(r29, {{11, {60, 2490, 1470, 240}}, {12, {30, 2850, 1530, 330}}}, "29");
    expectRows(chrome::dropDownRows(27, practice),
               {{9, {60, 2010, 2100, 240}}, {10, {105, 2310, 2100, 240}}, {14, {30, 3390, 2100, 240}}}, "27");
    expectRows(chrome::dropDownRows(30, practice), {{20, {1275, 2100, 390, 390}}, {22, {30, 2610, 1665, 330}}}, "30");
    expectRows(chrome::dropDownRows(31, practice), {{20, {1230, 2040, 390, 390}}, {21, {60, 90, 1560, 330}}}, "31");
    EXPECT_EQ(tops(chrome::dropDownRows(11, practice), 13),
              (std::vector<int>{30, 375, 720, 1095, 1470, 1815, 2160, 2505, 2880, 3225, 3570, 3915, 4290}));
    expectRows(chrome::dropDownRows(13, practice), {{7, {30, 2235, 2505, 330}}, {8, {30, 2610, 2505, 330}}}, "13");

    const auto r11 = chrome::dropDownRows(11, RowParams{SimWindow::Practice, 0.8, 0.8, 0});
    EXPECT_NEAR(r11[13].left, 24, 1e-9);
    EXPECT_NEAR(r11[13].top, 3432, 1e-9);
    EXPECT_NEAR(r11[13].width, 2508, 1e-9);
    EXPECT_NEAR(r11[13].height, 264, 1e-9);
}

TEST(SubmenuRows, GroupsAndLiteralLayouts) {
    const auto s307 = chrome::submenuRows(3, 7, practice);
    EXPECT_EQ(placedCount(s307), 20);
    EXPECT_EQ(s307[20].top - s307[19].top, 375);  // the gap before the last group
    const auto s404 = chrome::submenuRows(4, 4, practice);
    EXPECT_EQ(tops(s404, 12), (std::vector<int>{30, 375, 750, 1095, 1440, 1785, 2130, 2475, 2820, 3165, 3510, 3855}));
    EXPECT_DOUBLE_EQ(chrome::submenuRows(4, 4, demoWith(2000))[1].width, 1970);

    const auto s512 = chrome::submenuRows(5, 12, practice);
    EXPECT_EQ(placedCount(s512), 44);
    expectRows(s512,
               {{1, {375, 465, 270, 270}}, {41, {30, 60, 3900, 330}}, {42, {30, 1890, 3900, 330}},
                {43, {30, 2235, 3900, 330}}, {44, {30, 2580, 3900, 330}}},
               "512");
    EXPECT_DOUBLE_EQ(chrome::submenuRows(5, 12, demoWith(2000))[43].width, 2550);

    const auto s7310 = chrome::submenuRows(73, 10, practice);
    expectRows(s7310, {{40, {375 + 7 * 270, 465 + 4 * 270, 270, 270}}, {41, {375, 60, 2160, 330}}, {42, {375, 1890, 2160, 330}}},
               "7310");
    EXPECT_TRUE(s7310[43].parked());
    EXPECT_TRUE(s7310[44].parked());

    const auto s1303 = chrome::submenuRows(13, 3, practice);
    EXPECT_EQ(placedCount(s1303), 32);
    expectRows(s1303, {{32, {30 + 3 * 345, 180 + 7 * 330, 345, 330}}}, "1303");
    EXPECT_EQ(placedCount(chrome::submenuRows(13, 1, practice)), 9);

    EXPECT_EQ(tops(chrome::submenuRows(11, 7, practice), 9),
              (std::vector<int>{165, 510, 855, 1230, 1575, 1920, 2295, 2640, 3015}));
    EXPECT_DOUBLE_EQ(chrome::submenuRows(11, 8, demoWith(5000))[9].width, 2250);
    EXPECT_DOUBLE_EQ(chrome::submenuRows(11, 8, practice)[9].width, 3900);
    EXPECT_EQ(tops(chrome::submenuRows(11, 9, practice), 8),
              (std::vector<int>{165, 540, 885, 1230, 1575, 1950, 2295, 2670}));

    EXPECT_EQ(placedCount(chrome::submenuRows(11, 5, practice)), 0);  // 1105
    EXPECT_EQ(placedCount(chrome::submenuRows(1, 5, practice)), 0);   // 105
}

TEST(SubmenuKeysTest, WholeKeysOnly) {
    struct Case {
        int menu, item;
        const char* key;
        bool opens;
    } cases[] = {{1, 8, "0108", true}, {1, 1, "0101", false}, {73, 10, "7310", true}, {3, 7, "0307", true},
                 {4, 4, "0404", true}, {5, 12, "0512", true}, {13, 3, "1303", true}, {11, 7, "1107", true},
                 {10, 80, "1080", false}, {1, 3, "0103", false}, {108, 1, "0801", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(chrome::submenuKey(c.menu, c.item), QString::fromLatin1(c.key));
        EXPECT_EQ(chrome::opensSubmenu(c.menu, c.item), c.opens) << c.key;
    }
}

TEST(RowPictures, HighlightChoice) {
    EXPECT_EQ(chrome::dropDownRowHighlight(24, 7), "499907");
    EXPECT_EQ(chrome::dropDownRowHighlight(24, 41), "244100");
    EXPECT_EQ(chrome::dropDownRowHighlight(1, 3), "010300");
    EXPECT_EQ(chrome::submenuRowHighlight(5, 12, 3), "499903");
    EXPECT_EQ(chrome::submenuRowHighlight(1, 8, 3), "010803");
    EXPECT_EQ(chrome::submenuRowHighlight(73, 10, 41), "731041");
    EXPECT_EQ(chrome::submenuPictureCode(1, 8), "010877");
}

TEST(MenuMatch, SlotsAgainstClicks) {
    using chrome::MenuClick;
    struct Case {
        const char* slot;
        MenuClick click;
        int menu, item, sub;
        const char* branch;  // nullptr: no match
    } cases[] = {
        {"H410000000", MenuClick::MainSpot, 41, 0, 0, "0"},
        {"H050000xxB", MenuClick::MainSpot, 5, 0, 0, "B"},
        {"H050100000", MenuClick::MainSpot, 5, 0, 0, nullptr},
        {"H050100000", MenuClick::DropRow, 5, 1, 0, "0"},
        {"H050103000", MenuClick::DropRow, 5, 1, 0, nullptr},
        {"H050103002", MenuClick::SubRow, 5, 1, 3, "2"},
        {"H050100000", MenuClick::SubRow, 5, 1, 3, nullptr},
        {"H060100000", MenuClick::DropRow, 5, 1, 0, nullptr},
        {"D0406 1234", MenuClick::DropRow, 4, 6, 0, nullptr},  // a SpecialItem is no MenuPath
        {"h050000000", MenuClick::MainSpot, 5, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        const auto b = chrome::menuSlotBranch(QString::fromLatin1(c.slot), c.click, c.menu, c.item, c.sub);
        if (c.branch)
            EXPECT_EQ(b.value_or("none"), QString::fromLatin1(c.branch)) << c.slot;
        else
            EXPECT_FALSE(b.has_value()) << c.slot;
    }
    EXPECT_TRUE(chrome::specialItemMatches("D0406x1234", 4, 6));
    EXPECT_FALSE(chrome::specialItemMatches("D0406x1234", 4, 5));
}

TEST(MenuMatch, FirstMatchingSlotActsOnce) {
    QString line(212, u'0');
    auto put = [&](int col, const char* t) { line.replace(col - 1, int(strlen(t)), QString::fromLatin1(t)); };
    put(125, "H020300003");  // slot 1: branch 3
    put(86, "H020300000");   // slot 2: next step
    put(96, "D0203x4444");   // SpecialItem for the same row
    EXPECT_EQ(chrome::menuClickBranch(line, chrome::MenuClick::DropRow, 2, 3).value_or("none"), "3");
    put(125, "0000000000");
    put(86, "0000000000");
    EXPECT_EQ(chrome::menuClickBranch(line, chrome::MenuClick::DropRow, 2, 3).value_or("none"), "0");
    EXPECT_FALSE(chrome::menuClickBranch(line, chrome::MenuClick::DropRow, 2, 4).has_value());
    EXPECT_FALSE(chrome::menuClickBranch(line, chrome::MenuClick::MainSpot, 2, 0).has_value());
}

} // namespace
