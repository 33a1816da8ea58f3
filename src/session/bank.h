#pragma once
// Question bank formats, the session files and their assembly.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace core {
struct SessionState;
}

namespace session {

// Highest study unit whose bank files the numbering leaves room for.
constexpr int MaxUnit = 19;
// Slot shared by every review list.
constexpr int ReviewSlot = 19;

// --- QuestionCode -----------------------------------------------------------

// Four-digit code of a question number (UU x 100 + QQ): zero-padded, last four
// characters.
QString questionCode(int questionId);
// The code of study unit `unit` and question `question`, two digits each.
QString questionCode(int unit, int question);
// Numeric value of code i (1-based) of a code string: characters 4i-3..4i.
int16_t codeAt(const QString& codes, int i);
// The whole four-character groups of a code string; a shorter last piece is
// dropped.
QStringList codeGroups(const QString& codes);
// True when `code` equals one of the whole groups of `codes` (never a match
// whose digits run across two groups).
bool hasCode(const QString& codes, const QString& code);

// --- Files of the bank and the session -------------------------------------

// Two digits: "00" & n, last two characters.
QString twoDigits(int n);
QString paperCatalogFile();            // 288891
QString unitQuestionListFile(int unit); // "2888" & (70 + unit)
QString unitStepScriptFile(int unit);   // "2888" & (20 + unit)
// SetNo + ListKind.
inline int sessionSlot(int setNo, int listKind) { return setNo + listKind; }
QString stepScriptFile(int slot);       // "2888" & slot
QString questionListFile(int slot);     // "2888" & (slot + 50)

// --- PaperCatalogFile ---------------------------------------------------------

class PaperCatalog {
public:
    // nullopt when the file cannot be read.
    static std::optional<PaperCatalog> read();
    explicit PaperCatalog(QStringList lines) : lines_(std::move(lines)) {}

    int16_t paperCount() const;             // line 1, characters 1-2
    int16_t unitCount() const;              // line 1, characters 3-4
    int16_t unitQuestionCount(int unit) const;  // line 2, two digits per unit
    // The counts as the cover reads them: line 1 trimmed of spaces.
    int16_t trimmedPaperCount() const;
    int16_t trimmedUnitCount() const;
    // Whether the unit counts can be trusted to rewrite stored progress:
    // line 1 (trimmed) starts with four digits, and line 2 is not empty,
    // holds two characters per unit at least and nothing but digits.
    bool wellFormed() const;
    // Code string of paper k: line k + 3, or the last line when the file is
    // shorter (empty for an empty file).
    QString paperCodes(int paper) const;
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

// --- QuestionListLine ---------------------------------------------------------

class QuestionListLine {
public:
    explicit QuestionListLine(QString line) : line_(std::move(line)) {}
    const QString& line() const { return line_; }
    QString code() const;          // characters 1-4
    int16_t stepCount() const;     // characters 5-6
    QString text() const;          // from character 7; "|" is a line break
    // The text starts with "picture": a picture number in characters 14-19 of
    // the line and the text proper from character 20.
    bool hasPicture() const;
    QString pictureNo() const;     // empty without a picture
    QString body() const;          // the text proper

private:
    QString line_;
};

// --- Assembly and StepStart ---------------------------------------------------

// Writes the session files of `slot` from the code string `codes`: for every
// code its unit's list line and block of step lines. Sets QuestionCount and
// QuestionId(1..QuestionCount) of the session.
//
// Returns false, with the session state untouched, when the slot is not a
// session slot (0-19), there are more than 40 codes, a code names no bank unit
// (0-19), a unit file is missing or empty (both session files untouched), or
// a write fails. Each file is replaced whole or not at all, the step script
// first: when the question list then cannot be written, the new step script
// lies beside the old question list. `notWritable`, when given, tells a
// failed write from a bank that cannot be read. A code beyond its unit's list
// copies the unit's last question and keeps its own number in QuestionId.
bool InitShiTi(const QString& codes, int slot, bool* notWritable = nullptr);

// Computes StepStart(1..45) from the session's question list (QuestionFile):
// StepStart(1) = 1 and StepStart(i + 1) = StepStart(i) + step count of line i,
// up to the end of the file, a blank line or the 44th line. QuestionLine is
// left holding the last line read (unchanged for an empty file). Returns false,
// changing nothing, when the file cannot be read.
bool computeStepStart(core::SessionState& s);

} // namespace session
