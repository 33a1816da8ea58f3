// The context-menu file: blocks, entries lines, the "0" rule and the codes.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "context_menu/context_menu_file.h"
#include "core/state.h"
#include "core/text.h"

using namespace context_menu;

namespace {

class ContextMenuFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("sMenu.sys"); }
    // n lines "L1" ... "Ln".
    void numbered(int n) {
        QStringList lines;
        for (int i = 1; i <= n; ++i) lines << "L" + QString::number(i);
        ASSERT_TRUE(core::writeLines(file(), lines));
    }
    // A step line with ActionCode at 8-11 and columns 86-90.
    static QString stepLine(const QString& action, const QString& alt = "00000") {
        QString l(212, u'0');
        l.replace(7, 4, action);
        l.replace(85, 5, alt);
        return l;
    }
};

} // namespace

TEST_F(ContextMenuFileTest, BlockOfSetAndMenu) {
    numbered(540);
    const struct {
        int set, menu, first;
    } cases[] = {
        {1, 1, 1}, {2, 3, 166}, {4, 9, 526}, {1, 0, 1}, {2, 0, 121}, {0, 5, 1}, {0, 9, 1}, {3, 9, 391},
    };
    for (const auto& c : cases) {
        auto b = readBlock(file(), c.set, c.menu);
        ASSERT_TRUE(b) << c.set << "/" << c.menu;
        for (int i = 0; i < 15; ++i) EXPECT_EQ((*b)[i], "L" + QString::number(c.first + i)) << c.set << "/" << c.menu;
    }
    // A file that ends inside the block: the rest is empty text.
    numbered(530);
    auto b = readBlock(file(), 4, 9);
    ASSERT_TRUE(b);
    EXPECT_EQ((*b)[4], "L530");
    EXPECT_EQ((*b)[5], "");
    EXPECT_EQ((*b)[14], "");
    EXPECT_FALSE(readBlock(dir.filePath("none.sys"), 1, 1));
}

TEST_F(ContextMenuFileTest, EntriesLines) {
    const struct {
        const char* line;
        QStringList entries;
    } cases[] = {
        {"a|b|c|d|e|f|g|h|i|j|k", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"a|b|", {"a", "b", ""}},
        {"A|-|B", {"A", "-", "B"}},
        {"one", {"one"}},
        {"", {""}},
        {"||", {"", "", ""}},
        {"剪切(T)|复制(C)", {QString::fromUtf8("剪切(T)"), QString::fromUtf8("复制(C)")}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitEntries(QString::fromUtf8(c.line)), c.entries) << c.line;
}

TEST_F(ContextMenuFileTest, RowsAndTheZeroRule) {
    Block b;
    const QStringList lines = {"title", "0",  "never read", "A|-|B", "Cascade", "0", "0", "",
                               "",      "00", "0 ",         "x|y",   "0",       "z", "0"};
    for (int i = 0; i < 15; ++i) b[i] = lines[i];
    const auto rows = rowsOf(b);
    EXPECT_FALSE(rows[0].present);  // cascade 1 caption "0": entries not read
    EXPECT_TRUE(rows[1].present);
    EXPECT_EQ(rows[1].entries, QStringList({"A", "-", "B"}));
    EXPECT_TRUE(rows[2].present);  // cascade 2 with an entries line "0": one entry "0"
    EXPECT_TRUE(rows[2].cascade);
    EXPECT_EQ(rows[2].caption, "Cascade");
    EXPECT_EQ(rows[2].entries, QStringList({"0"}));
    EXPECT_FALSE(rows[3].present);  // group 2 "0"
    EXPECT_TRUE(rows[4].present);   // empty caption: present, one empty entry
    EXPECT_EQ(rows[4].entries, QStringList({""}));
    EXPECT_TRUE(rows[5].present);  // "00" is a text
    EXPECT_EQ(rows[5].entries, QStringList({"00"}));
    EXPECT_TRUE(rows[6].present);  // "0 " is a text
    EXPECT_EQ(rows[6].caption, "0 ");
    EXPECT_FALSE(rows[7].present);
    EXPECT_FALSE(rows[8].present);

    EXPECT_EQ(entryText(b, 3122).value_or("?"), "B");
    EXPECT_FALSE(entryText(b, 3121)) << "a separator";
    EXPECT_FALSE(entryText(b, 3123)) << "beyond the entries";
    EXPECT_FALSE(entryText(b, 3140)) << "an absent row";
    EXPECT_FALSE(entryText(b, 3102)) << "row 0";
    EXPECT_EQ(entryText(b, 3130).value_or("?"), "0");
    EXPECT_EQ(entryText(b, 3171).value_or("?"), "y");
}

TEST_F(ContextMenuFileTest, CodesFromTheStepRecord) {
    EXPECT_EQ(contextCode(stepLine("3121")), 3121);
    EXPECT_EQ(contextCode(stepLine("7000", "R6123")), 6123);
    EXPECT_EQ(contextCode(stepLine("7000", "RA123")), 6123);
    EXPECT_EQ(contextCode(stepLine("L005")), 0);
    EXPECT_EQ(contextCode(stepLine("L005", "R4312")), 4312);
    EXPECT_EQ(contextCode(stepLine("3121", "H0102")), 3121) << "only an R counts";
    EXPECT_FALSE(altMenuCode(stepLine("3121")));
    EXPECT_EQ(altMenuCode(stepLine("0001", "RA215")).value_or(0), 6215);

    const struct {
        int code, set, menu, row, entry;
    } digits[] = {{3121, 1, 1, 2, 1}, {4395, 2, 3, 9, 5}, {6215, 4, 2, 1, 5}, {6000, 4, 0, 0, 0},
                  {7000, 0, 0, 0, 0}, {2999, 0, 9, 9, 9}, {3, 0, 0, 0, 3}};
    for (const auto& d : digits) {
        EXPECT_EQ(codeSet(d.code), d.set) << d.code;
        EXPECT_EQ(codeMenu(d.code), d.menu) << d.code;
        EXPECT_EQ(codeRow(d.code), d.row) << d.code;
        EXPECT_EQ(codeEntry(d.code), d.entry) << d.code;
        EXPECT_EQ(namesContextMenu(d.code), d.set != 0) << d.code;
    }
}

TEST_F(ContextMenuFileTest, FileOfTheProgramFolder) {
    core::config().ProgramDir = dir.path();
    EXPECT_EQ(contextMenuFile(), dir.filePath("sMenu.sys"));
    core::resetSharedState();
}
