// The paper catalogue: counts, question counts per unit and the papers'
// code strings, and the code groups read from them.
#include "core/state.h"
#include "core/text.h"
#include "fuzz_support.h"
#include "session/bank.h"

using namespace session;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    QDir().mkpath(fuzz::scratch() + "/data");
    core::config().ProgramDir = fuzz::scratch();
    core::config().DataDir = fuzz::scratch() + "/data/";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    fuzz::writeFile(paperCatalogFile(), in);
    const auto cat = PaperCatalog::read();
    FUZZ_CHECK(cat);
    FUZZ_CHECK(cat->lines() == core::splitLines(core::fromGbk(in)));
    (void)cat->paperCount();
    (void)cat->unitCount();
    for (int u = -1; u <= 30; ++u) {
        const int16_t n = cat->unitQuestionCount(u);
        FUZZ_CHECK(n >= -9 && n <= 99);
    }
    for (int k = -1; k <= 16; ++k) {
        const QString codes = cat->paperCodes(k);
        if (k < 0 || cat->lines().isEmpty()) FUZZ_CHECK(codes.isEmpty());
        else FUZZ_CHECK(cat->lines().contains(codes));
        const QStringList groups = codeGroups(codes);
        FUZZ_CHECK(groups.size() == codes.size() / 4);
        for (int i = 0; i < groups.size(); ++i) {
            FUZZ_CHECK(groups[i].size() == 4);
            FUZZ_CHECK(hasCode(codes, groups[i]));
            FUZZ_CHECK(codeAt(codes, i + 1) == core::val16(groups[i]));
        }
        // A code matches only a whole group.
        if (codes.size() >= 6) FUZZ_CHECK(hasCode(codes, codes.mid(2, 4)) == groups.contains(codes.mid(2, 4)));
    }
    for (int id : {0, 1, 101, 1999, 9999, int(in.size())}) FUZZ_CHECK(questionCode(id).size() == 4);
    return 0;
}
