#include "engine/text_table.h"

#include "core/errors.h"
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

namespace engine {

QString RequiredTextTableLookup(const QString& reference) {
    bool readable = true;
    QString text = TextTableLookup(reference, &readable);
    if (!readable) throw core::RuntimeError(core::ErrFileNotFound, "the text table cannot be read");
    return text;
}

AnswerAlternatives AnswerText(const QString& answerLine) {
    AnswerAlternatives a;
    a.whole = RequiredTextTableLookup(answerLine);
    const qsizetype bar = a.whole.indexOf(u'|');
    a.first = bar < 0 ? a.whole : a.whole.left(bar);
    a.second = bar < 0 ? a.whole : a.whole.mid(bar + 1);
    return a;
}

bool LooseAnswerMatch(const QString& entry, const AnswerAlternatives& answer) {
    auto norm = [](const QString& s) { return core::trimSpaces(s).toLower(); };
    const QString e = norm(entry);
    return e == norm(answer.first) || e == norm(answer.second);
}

bool ExactAnswerMatch(const QString& entry, const AnswerAlternatives& answer) {
    const QString e = core::trimSpaces(entry);
    return e == core::trimSpaces(answer.first) || e == core::trimSpaces(answer.second);
}

QString ReducedEntry(const QString& text) {
    QString out;
    for (QChar c : text)
        if (c.unicode() > 32 && c.unicode() < 127) out += c;
    return out;
}

} // namespace engine
