#pragma once
// The context-menu file "sMenu.sys" of the program folder and the codes that
// name a menu and an entry in it. Shared by the practice window's popup menu
// and the demonstration's drawn menus.
//
// The file holds four sets of nine menus, each menu a block of 15 lines:
// line 1 unread; then the rows cascade 1 (caption, entries), group 1,
// cascade 2 (caption, entries), group 2, cascade 3 (caption, entries),
// group 3, cascade 4 (caption, entries), cascade 5 (caption, entries),
// group 4. A row whose line (the caption line of a cascade) is exactly "0"
// is absent.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace context_menu {

constexpr int BlockLines = 15;
constexpr int MenusPerSet = 9;
constexpr int SetCount = 4;
constexpr int FileLines = BlockLines * MenusPerSet * SetCount;  // 540

using Block = std::array<QString, BlockLines>;

// The program folder's context-menu file.
QString contextMenuFile();

// The context code of a step record: the ActionCode (columns 8-11) read as
// a number; when columns 86-90 begin with "R", the number in columns 87-90;
// when they begin with "RA", 6000 + the number in columns 88-90.
int16_t contextCode(const QString& stepLine);
// The code of columns 86-90 alone, when they begin with "R".
std::optional<int16_t> altMenuCode(const QString& stepLine);

// Digits k m r i of a code.
// The set (1-4) a code's thousands digit selects (3-6); 0 for none.
int codeSet(int code);
inline int codeMenu(int code) { return (code / 100) % 10; }
inline int codeRow(int code) { return (code / 10) % 10; }
inline int codeEntry(int code) { return code % 10; }
inline bool namesContextMenu(int code) { return codeSet(code) != 0; }

// The 15 lines after line (menuNo - 1) x 15 + (set - 1) x 135 of the file
// (from line 1 when that is negative); lines beyond the end of the file are
// empty. nullopt when the file cannot be opened.
std::optional<Block> readBlock(const QString& file, int set, int menuNo);

// The entries of an entries line: the fields between "|" characters, at
// most ten; "-" stands for a separator.
QStringList splitEntries(const QString& line);

// A row line that marks its row absent.
inline bool isAbsent(const QString& line) { return line == QStringLiteral("0"); }

// One row of a block, in display order (ContextRow 1-9).
struct Row {
    int contextRow = 0;     // 1-9
    bool cascade = false;   // rows 1, 3, 5, 7, 8
    bool present = false;
    QString caption;        // cascades only
    QStringList entries;
};
// Block line of a row's caption (cascades) and of its entries.
int captionLineOf(int contextRow);  // 0 for a group
int entriesLineOf(int contextRow);
std::array<Row, 9> rowsOf(const Block& block);

// The entry a code names in a block: its text, or nullopt when the row is
// absent, the entry lies beyond the row's entries or is a separator.
std::optional<QString> entryText(const Block& block, int code);

} // namespace context_menu
