#pragma once
// Text and file rules shared by every reader and writer of the module's files.
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <cstdint>
#include <optional>

namespace core {

// GBK (code page 936) conversion.
QString fromGbk(const QByteArray& bytes);
QByteArray toGbk(const QString& text);
// True when every character of text has a GBK form.
bool encodableInGbk(const QString& text);

// Splits decoded text into lines at CRLF, LF or CR. A final line break does
// not make an empty last line.
QStringList splitLines(const QString& text);

// Reads a whole GBK text file as lines; nullopt when it cannot be opened.
std::optional<QStringList> readLines(const QString& path);
// First line of a file; nullopt when missing, "" when empty.
std::optional<QString> readFirstLine(const QString& path);
// Rewrites a file whole (each line followed by CRLF) through an atomic save:
// on failure the old file stays as it was. Returns false on failure.
bool writeLines(const QString& path, const QStringList& lines);
// The same, but a file that already holds exactly these lines is left
// untouched (nothing written or synced).
bool writeLinesIfChanged(const QString& path, const QStringList& lines);
// Replaces a file's whole content atomically; false (old file kept) when
// any byte could not be written. The new content goes to a temporary file in
// the same folder, which is renamed over the old one once it is on disk; a
// link is followed, and the file keeps its permissions.
bool writeFileAtomic(const QString& path, const QByteArray& data);
// The name is one that writeFileAtomic gives its temporary files, which a
// kill during the write leaves behind.
bool isPartialWriteName(const QString& fileName);
// Removes from the folder the regular files named as such temporary files;
// links, folders and every other name are left alone.
void removePartialWrites(const QString& folder);
// The same for the temporary files of one file name only, in a folder that
// other programs write too.
void removePartialWritesOf(const QString& folder, const QString& fileName);

// Leading number of a text: optional blanks and sign, digits, optional
// fraction ("12ab" -> 12, "ab" -> 0, " 7.5" -> 7.5).
double leadingNumber(const QString& text);
// Leading number rounded half to even and kept as a 16-bit integer; values
// that do not fit 16 bits read as 0.
int16_t val16(const QString& text);
// Leading number rounded half to even, 32-bit (0 when out of range).
int32_t val32(const QString& text);
// Rounds half to even, as the program's integer conversions do.
long roundHalfEven(double v);

// Trim removes spaces only (not tabs or line breaks).
QString trimSpaces(const QString& s);
QString ltrimSpaces(const QString& s);
QString rtrimSpaces(const QString& s);

// Characters start..start+len-1 (1-based) of s; out-of-range parts are empty.
QString mid(const QString& s, int start, int len);
QString mid(const QString& s, int start);
QString left(const QString& s, int len);
QString right(const QString& s, int len);

// Number n in decimal with leading zeros to `width` digits, cut to its last
// `width` characters ("00" & n, right 2).
QString padDigits(long n, int width);

// What is shown of a bank text (question text, hint, list entries, menu
// captions) is cut at this many characters: no real question comes near it,
// and laying out a much longer line takes the text boxes seconds.
constexpr int MaxShownText = 4096;
// The text cut to MaxShownText characters.
QString shownText(const QString& text);

// Joins path parts with "/"; backslashes become "/" and a doubled separator
// counts as one.
QString joinPath(const QString& a, const QString& b);
QString joinPath(std::initializer_list<QString> parts);
QString normalizePath(const QString& p);

} // namespace core
