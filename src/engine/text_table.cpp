#include "engine/text_table.h"

#include "core/state.h"
#include "core/text.h"

namespace engine {

QString TextTableLookup(const QString& reference, bool* readable) {
    return TextTableLookup(core::session().TextTableFile, reference, readable);
}

QString TextTableLookup(const QString& file, const QString& reference, bool* readable) {
    if (readable) *readable = true;
    if (reference == QStringLiteral("000")) return QString();
    const auto lines = core::readLines(file);
    if (!lines) {
        if (readable) *readable = false;
        return QString();
    }
    if (lines->isEmpty()) return QString();
    const double n = core::leadingNumber(reference);
    QString last;
    for (qsizetype i = 0; i < lines->size(); ++i) {
        last = lines->at(i);
        if (double(i + 1) == n) break;
    }
    return core::mid(last, 4);
}

} // namespace engine
