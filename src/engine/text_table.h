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

} // namespace engine
