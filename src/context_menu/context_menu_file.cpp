#include "context_menu/context_menu_file.h"

#include <algorithm>

#include "core/state.h"
#include "core/text.h"

namespace context_menu {

QString contextMenuFile() { return core::config().programFile(QStringLiteral("sMenu.sys")); }

std::optional<int16_t> altMenuCode(const QString& stepLine) {
    const QString f = core::mid(stepLine, 86, 5);
    if (!f.startsWith(u'R')) return std::nullopt;
    if (f.startsWith(QStringLiteral("RA"))) return int16_t(6000 + core::val16(core::mid(f, 3, 3)));
    return core::val16(core::mid(f, 2, 4));
}

int16_t contextCode(const QString& stepLine) {
    if (auto alt = altMenuCode(stepLine)) return *alt;
    return core::val16(core::mid(stepLine, 8, 4));
}

int codeSet(int code) {
    const int k = code / 1000;
    return k >= 3 && k <= 6 ? k - 2 : 0;
}

std::optional<Block> readBlock(const QString& file, int set, int menuNo) {
    const auto lines = core::readLines(file);
    if (!lines) return std::nullopt;
    const long base = std::max(0L, (long(menuNo) - 1) * BlockLines + (long(set) - 1) * BlockLines * MenusPerSet);
    Block b;
    for (int s = 0; s < BlockLines; ++s) {
        const long n = base + s;  // 0-based line
        if (n < lines->size()) b[s] = lines->at(n);
    }
    return b;
}

QStringList splitEntries(const QString& line) {
    QStringList out;
    qsizetype from = 0;
    for (int j = 0; j < 10; ++j) {
        const qsizetype bar = line.indexOf(u'|', from);
        if (bar < 0) {
            out << line.mid(from);
            break;
        }
        out << line.mid(from, bar - from);
        from = bar + 1;
    }
    return out;
}

int captionLineOf(int contextRow) {
    switch (contextRow) {
    case 1: return 2;
    case 3: return 5;
    case 5: return 8;
    case 7: return 11;
    case 8: return 13;
    default: return 0;
    }
}

int entriesLineOf(int contextRow) {
    static const int lines[10] = {0, 3, 4, 6, 7, 9, 10, 12, 14, 15};
    return contextRow >= 1 && contextRow <= 9 ? lines[contextRow] : 0;
}

std::array<Row, 9> rowsOf(const Block& block) {
    std::array<Row, 9> rows;
    for (int r = 1; r <= 9; ++r) {
        Row& row = rows[r - 1];
        row.contextRow = r;
        const int cap = captionLineOf(r);
        row.cascade = cap != 0;
        const QString& head = block[(cap ? cap : entriesLineOf(r)) - 1];
        row.present = !isAbsent(head);
        if (!row.present) continue;
        if (row.cascade) row.caption = head;
        row.entries = splitEntries(block[entriesLineOf(r) - 1]);
    }
    return rows;
}

std::optional<QString> entryText(const Block& block, int code) {
    const int r = codeRow(code), i = codeEntry(code);
    if (r < 1 || r > 9 || i < 0) return std::nullopt;
    const Row row = rowsOf(block)[r - 1];
    if (!row.present || i >= row.entries.size()) return std::nullopt;
    const QString& text = row.entries[i];
    if (text == QStringLiteral("-")) return std::nullopt;
    return text;
}

} // namespace context_menu
