// The text table and answer matching: lookups by line reference, the
// answer's alternatives, the matches and the reduced Enter entry.
#include "core/state.h"
#include "core/text.h"
#include "engine/text_table.h"
#include "fuzz_support.h"

using namespace engine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Parts: the table, references (one a line), typed entries (one a line).
    const QList<QByteArray> p = fuzz::parts(fuzz::bytes(data, size), 3);
    const QString file = fuzz::scratch() + "/288890";
    fuzz::writeFile(file, p[0]);
    core::session().TextTableFile = file;
    const QStringList table = core::splitLines(core::fromGbk(p[0]));

    QStringList refs = core::splitLines(core::fromGbk(p[1])).mid(0, 8);
    refs << "000" << "001" << "1" << "999" << "" << "abc";
    const QStringList entries = core::splitLines(core::fromGbk(p[2])).mid(0, 12);

    for (const QString& ref : refs) {
        bool readable = false;
        const QString t = TextTableLookup(ref, &readable);
        FUZZ_CHECK(readable);
        if (ref == "000" || table.isEmpty()) FUZZ_CHECK(t.isEmpty());
        // The text is the 4th character on of some line of the table.
        else FUZZ_CHECK(std::any_of(table.begin(), table.end(), [&](const QString& l) { return core::mid(l, 4) == t; }));

        const AnswerAlternatives a = AnswerText(ref);
        FUZZ_CHECK(a.whole == t);
        if (t.contains(u'|')) FUZZ_CHECK(a.first + u'|' + a.second == t && !a.first.contains(u'|'));
        else FUZZ_CHECK(a.first == t && a.second == t);
        // Each alternative matches itself.
        FUZZ_CHECK(LooseAnswerMatch(a.first, a) && LooseAnswerMatch(a.second, a));
        FUZZ_CHECK(ExactAnswerMatch(a.first, a) && ExactAnswerMatch(a.second, a));
        FUZZ_CHECK(LooseAnswerMatch(QStringLiteral("  ") + a.first.toUpper() + QStringLiteral(" "), a) ||
                   a.first.toUpper().toLower() != a.first.toLower());
        for (const QString& e : entries) {
            if (ExactAnswerMatch(e, a)) FUZZ_CHECK(LooseAnswerMatch(e, a));
            const QString r = ReducedEntry(e);
            FUZZ_CHECK(r.size() <= e.size());
            for (QChar c : r) FUZZ_CHECK(c.unicode() > 32 && c.unicode() < 127);
            FUZZ_CHECK(ReducedEntry(r) == r);
        }
    }

    // Without the table every check that needs it fails with error 53.
    core::session().TextTableFile = fuzz::scratch() + "/missing/288890";
    bool readable = true;
    FUZZ_CHECK(TextTableLookup(QStringLiteral("001"), &readable).isEmpty() && !readable);
    bool threw = false;
    try {
        (void)AnswerText(QStringLiteral("001"));
    } catch (const std::exception&) {
        threw = true;
    }
    FUZZ_CHECK(threw);
    return 0;
}
