// GBK text files as lines, and the numbers, cuts and paths read from them.
#include <cmath>

#include "core/text.h"
#include "fuzz_support.h"

using namespace core;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString path = fuzz::scratch() + "/lines.txt";
    fuzz::writeFile(path, in);

    // Reading a file's lines is splitting its decoded text.
    const QString text = fromGbk(in);
    const QStringList lines = splitLines(text);
    const auto read = readLines(path);
    FUZZ_CHECK(read && *read == lines);
    const auto first = readFirstLine(path);
    FUZZ_CHECK(first && *first == (lines.isEmpty() ? QString() : lines.first()));
    qsizetype total = 0;
    for (const QString& l : lines) {
        FUZZ_CHECK(!l.contains(u'\r') && !l.contains(u'\n'));
        total += l.size();
    }
    FUZZ_CHECK(total <= text.size());

    // A text that has a GBK form comes back from it unchanged.
    if (encodableInGbk(text)) FUZZ_CHECK(fromGbk(toGbk(text)) == text);

    int n = 0;
    for (const QString& l : lines) {
        if (++n > 64) break;
        const double v = leadingNumber(l);
        FUZZ_CHECK(!std::isnan(v));
        const int16_t v16 = val16(l);
        const int32_t v32 = val32(l);
        if (std::isfinite(v) && v > -32768.5 && v < 32767.5) FUZZ_CHECK(v16 == roundHalfEven(v));
        else FUZZ_CHECK(v16 == 0);
        if (std::isfinite(v) && v > -2147483648.5 && v < 2147483647.5) FUZZ_CHECK(v32 == roundHalfEven(v));
        else FUZZ_CHECK(v32 == 0);

        const QString t = trimSpaces(l);
        FUZZ_CHECK(trimSpaces(t) == t && !t.startsWith(u' ') && !t.endsWith(u' '));
        FUZZ_CHECK(ltrimSpaces(rtrimSpaces(l)) == t);

        // Cuts at positions taken from the line itself.
        const int a = l.isEmpty() ? 0 : l[0].unicode() % 300 - 20;
        const int b = l.size() < 2 ? 3 : l[1].unicode() % 300 - 20;
        const QString m = mid(l, a, b);
        FUZZ_CHECK(m.size() <= std::max(b, 0));
        if (!m.isEmpty()) FUZZ_CHECK(l.mid(a - 1, m.size()) == m);
        FUZZ_CHECK(mid(l, a).size() <= l.size());
        FUZZ_CHECK(left(l, b).size() <= std::max(b, 0) && right(l, b).size() <= std::max(b, 0));
        FUZZ_CHECK(padDigits(v16, 4).size() == 4);

        const QString p = normalizePath(l);
        FUZZ_CHECK(!p.contains(u'\\') && !p.contains(QStringLiteral("//")));
        FUZZ_CHECK(normalizePath(p) == p);
        const QString j = joinPath(t, l);
        FUZZ_CHECK(!j.contains(QStringLiteral("//")));
    }

    // Lines written and read again are the same lines (when they have a GBK
    // form).
    QStringList plain;
    for (const QString& l : lines)
        if (encodableInGbk(l)) plain << l;
    const QString out = fuzz::scratch() + "/written.txt";
    FUZZ_CHECK(writeLines(out, plain));
    const auto back = readLines(out);
    FUZZ_CHECK(back);
    FUZZ_CHECK(*back == plain);
    return 0;
}
