// The context-menu file: blocks of every menu of every set, their rows and
// the entries that codes name.
#include "context_menu/context_menu_file.h"
#include "core/text.h"
#include "fuzz_support.h"

using namespace context_menu;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString file = fuzz::scratch() + "/sMenu.sys";
    fuzz::writeFile(file, in);
    const QStringList lines = core::splitLines(core::fromGbk(in));

    // Every menu of every set: its rows.
    for (int set = 1; set <= SetCount; ++set)
        for (int menu = 1; menu <= MenusPerSet; ++menu) {
            Block block;
            const long base = long(menu - 1) * BlockLines + long(set - 1) * BlockLines * MenusPerSet;
            for (int k = 0; k < BlockLines; ++k)
                if (base + k < lines.size()) block[k] = lines[base + k];
            for (const Row& row : rowsOf(block)) {
                FUZZ_CHECK(row.entries.size() <= 10);
                if (!row.present) FUZZ_CHECK(row.entries.isEmpty());
            }
        }

    // Three blocks the input picks (out-of-range numbers too) as read from
    // the file, and the entries every code names in them.
    for (int i = 0; i < 3; ++i) {
        const int pick = i < in.size() ? uint8_t(in[i]) : 0;
        const int set = pick % (SetCount + 2), menu = (pick / (SetCount + 2)) % (MenusPerSet + 2);
        const auto block = readBlock(file, set, menu);
        FUZZ_CHECK(block);
        // Block lines are the file's lines from the block's first line on.
        const long base = std::max(0L, long(menu - 1) * BlockLines + long(set - 1) * BlockLines * MenusPerSet);
        for (int k = 0; k < BlockLines; ++k)
            FUZZ_CHECK((*block)[k] == (base + k < lines.size() ? lines[base + k] : QString()));
        const auto rows = rowsOf(*block);
        for (int row = 0; row <= 9; ++row)
            for (int entry = 0; entry <= 9; ++entry) {
                const int code = (std::clamp(set, 1, SetCount) + 2) * 1000 + std::clamp(menu, 1, MenusPerSet) * 100 +
                                 row * 10 + entry;
                if (auto t = entryText(*block, code)) {
                    // A named entry is never a separator and lies in its row.
                    FUZZ_CHECK(*t != QStringLiteral("-"));
                    FUZZ_CHECK(row >= 1 && row <= 9);
                    FUZZ_CHECK(rows[row - 1].present && entry < rows[row - 1].entries.size());
                    FUZZ_CHECK(rows[row - 1].entries[entry] == *t);
                }
            }
    }
    for (const QString& l : lines.mid(0, 60)) {
        const QStringList e = splitEntries(l);
        FUZZ_CHECK(!e.isEmpty() && e.size() <= 10);
        // Up to ten entries the fields make the line again.
        if (e.size() < 10) FUZZ_CHECK(e.join(u'|') == l);
        (void)contextCode(l);
        FUZZ_CHECK(codeSet(contextCode(l)) >= 0);
    }
    return 0;
}
