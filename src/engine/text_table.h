#pragma once
// The text table: texts typed into, shown in and expected from the simulated
// boxes, named by three-digit line references of the step record.
#include <QString>

namespace engine {

// The text that a line reference names in the session's text table: "000"
// is the empty text (the file is not read); otherwise the file is read from
// the top up to line n (the reference's number), and the last line read,
// from its 4th character, is the result. A reference beyond the last line,
// or one that is no number, gives the last line. An empty or unreadable
// file gives the empty text, and *readable tells the two apart.
QString TextTableLookup(const QString& reference, bool* readable = nullptr);
// The same on a given file.
QString TextTableLookup(const QString& file, const QString& reference, bool* readable);

// The expected answer of a typing step: the text of its AnswerLine and the
// two accepted alternatives around the first "|" (both the whole text when
// it has none; further "|" stay in the second).
struct AnswerAlternatives {
    QString whole;
    QString first;
    QString second;
};
// AnswerText of a line reference. The handlers that check answers cannot go
// on without the table: an unreadable text table (for a reference other than
// "000") raises RuntimeError 53.
AnswerAlternatives AnswerText(const QString& answerLine);

// The entry, without leading and trailing blanks and in small letters,
// equals either alternative treated the same way.
bool LooseAnswerMatch(const QString& entry, const AnswerAlternatives& answer);
// The entry, without leading and trailing blanks, equals either alternative
// without its blanks; letter case counts.
bool ExactAnswerMatch(const QString& entry, const AnswerAlternatives& answer);

// The lookup a check needs: an unreadable text table (for a reference other
// than "000") raises RuntimeError 53.
QString RequiredTextTableLookup(const QString& reference);

// The entry of the Enter check: only the printable ASCII characters other
// than the blank, in order (every Chinese character is dropped).
QString ReducedEntry(const QString& text);

} // namespace engine
