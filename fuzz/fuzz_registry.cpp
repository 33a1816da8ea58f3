// The registry store file: values read from any file content, and values
// written into it read back while the others stay as they were.
#include <QRegularExpression>
#include <QUrl>

#include "core/registry.h"
#include "core/text.h"
#include "fuzz_support.h"

using namespace core;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString path = fuzz::scratch() + "/registry.ini";
    fuzz::writeFile(path, in);
    auto store = std::make_shared<FileRegistryStore>(path);
    setRegistryStore(store);

    // Keys and value names the file itself mentions, and the program's own.
    QStringList keys{"Software\\Microsoft", "", "Software"};
    QStringList names{"ProPath01", "ProName01", "X"};
    for (const QByteArray& line : in.split('\n').mid(0, 40)) {
        QByteArray l = line;
        if (l.endsWith('\r')) l.chop(1);
        if (l.startsWith('[') && l.endsWith(']')) keys << QUrl::fromPercentEncoding(l.mid(1, l.size() - 2));
        else if (l.contains('=')) names << QUrl::fromPercentEncoding(l.left(l.indexOf('=')));
    }
    struct Seen {
        QString key, name;
        int32_t status;
        RegEntry entry;
    };
    std::vector<Seen> before;
    for (const QString& k : keys.mid(0, 4))
        for (const QString& n : names.mid(0, 4)) {
            RegEntry e;
            const int32_t st = store->queryValue(k, n, e);
            FUZZ_CHECK(st == RegOk || st == RegNotFound);
            before.push_back({k, n, st, e});
            RegValue v("unchanged");
            const int32_t rs = ReadRegValue(HKEY_CURRENT_USER, k, n, v);
            FUZZ_CHECK(rs == RegOk || rs == RegNotFound || rs == RegMoreData);
            if (rs != RegOk) FUZZ_CHECK(v == RegValue("unchanged"));
        }

    // A text written reads back; every other value stays.
    const QString name = names.size() > 3 ? names[3] : QStringLiteral("ProPath01");
    QString text = fromGbk(in.left(60));
    text.remove(QChar(0));
    if (!encodableInGbk(text)) text = QStringLiteral("x");
    RegValue v(text);
    int32_t cb = 0;
    const int32_t ws = WriteRegValue(HKEY_CURRENT_USER, "\\Software\\\\Microsoft\\", name, REG_SZ, v, cb);
    FUZZ_CHECK(ws == RegOk);
    RegValue back;
    const int32_t rs = ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", name, back);
    FUZZ_CHECK(rs == RegOk || (rs == RegMoreData && cb > 255));
    if (rs == RegOk) FUZZ_CHECK(back.toText() == text);
    for (const Seen& s : before) {
        if (s.name.toCaseFolded() == name.toCaseFolded() &&
            s.key.split(u'\\', Qt::SkipEmptyParts).join(u'\\').toCaseFolded() == QStringLiteral("software\\microsoft"))
            continue;
        if (s.key.split(u'\\', Qt::SkipEmptyParts).join(u'\\') != s.key) continue;
        RegEntry e;
        const int32_t st = store->queryValue(s.key, s.name, e);
        FUZZ_CHECK(st == s.status);
        if (st == RegOk) FUZZ_CHECK(e == s.entry);
    }

    // Numbers: a DWORD reads back as itself.
    RegValue num(int32_t(in.size() * 7919 - 1000000));
    FUZZ_CHECK(WriteRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "N", REG_DWORD, num, cb) == RegOk);
    RegValue nb;
    FUZZ_CHECK(ReadRegValue(HKEY_CURRENT_USER, "Software\\Microsoft", "N", nb) == RegOk && nb == num);
    setRegistryStore(std::make_shared<MemoryRegistryStore>());
    return 0;
}
