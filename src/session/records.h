#pragma once
// The candidate's record files in the records folder (ksdata) and their update
// rules. Every writer rewrites its file whole (atomic), creates the records
// folder when missing and returns whether the write succeeded.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace core {
struct SessionState;
}

namespace session {

QString flaggedListFile();          // 288862
QString wrongListFile(int paper);   // "1824" & paper as two digits
QString scoreHistoryFile();         // 288892
QString unitProgressFile();         // 288893

// Some question 1..QuestionCount is answered (state 4 or more).
bool anySolved(const core::SessionState& s);

// --- Flagged list ---------------------------------------------------------------

// First line, trimmed; empty when the file is missing or has no line.
QString readFlaggedList();
bool writeFlaggedList(const QString& codes);
// Appends the code of every flagged question (state bit 2) of 1..QuestionCount
// that is not yet a whole group of the list; checked against the list as it
// grows, so no code is added twice. A shorter last piece is dropped.
QString flaggedAdded(const QString& codes, const core::SessionState& s);
// Removes every group equal to the code of a solved question of the session.
QString flaggedSolvedRemoved(const QString& codes, const core::SessionState& s);
// Removes every group equal to one of `remove`; whole groups keep their order
// and a shorter last piece is dropped.
QString codesRemoved(const QString& codes, const QStringList& remove);
// Read, apply the rule, rewrite (also when nothing changed).
bool saveFlaggedAdded(const core::SessionState& s);
bool saveFlaggedSolvedRemoved(const core::SessionState& s);

// --- Wrong-question list of a paper ----------------------------------------------

// First line as stored; empty when the file is missing or has no line.
QString readWrongList(int paper);
bool writeWrongList(int paper, const QString& codes);
// The codes of questions 1..40 of the paper's code string whose state is
// below 4, in the paper's order.
QString wrongCodesAtHandIn(const QString& paperCodes, const core::SessionState& s);
bool saveWrongListAtHandIn(int paper, const QString& paperCodes, const core::SessionState& s);
// After a review of the list: keeps group i (1 .. length / 4) when question i
// of the review is not solved.
QString wrongListAfterReview(const QString& stored, const core::SessionState& s);
bool saveWrongListAfterReview(int paper, const core::SessionState& s);

// --- Score history ----------------------------------------------------------------

constexpr int ScoreHistoryLines = 45;

// Score in its shortest decimal form ("0", "37.5", "100").
QString scoreText(double score);
// 2.5 points per question 1..40 with state 4 or more.
double examScore(const core::SessionState& s);
// The first 45 lines (missing ones empty).
QStringList readScoreHistory();
// Hand-in of paper k: line 3k+1 := the exam start; an invalid `examStart`
// (the exam turned into practice) writes `now` there and leaves the best score
// alone; otherwise line 3k+2 := score when greater than its value. Returns
// lines 1 .. 3 x max(paperCount, k + 1), at most 45.
QStringList scoreHistoryAtHandIn(QStringList lines, int paper, double score, const QDateTime& examStart,
                                 const QDateTime& now, int paperCount);
// Reads, updates with the session's ExamStartTime and the current time,
// rewrites (with a closing empty line), then resets ExamStartTime to invalid
// ("-1") whatever the write gave.
bool saveScoreHistoryAtHandIn(int paper, double score, int paperCount);

// --- Unit progress -------------------------------------------------------------------

constexpr int UnitProgressLines = 26;

// The first 26 lines (missing ones empty).
QStringList readUnitProgress();
// Writes lines 1 .. max(unitCount, touchedUnit + 1) (at most 26) and a closing
// empty line.
bool writeUnitProgress(const QStringList& lines, int unitCount, int touchedUnit = -1);
// The stored line followed by "F"s, cut to the unit's question count.
QString unitLineNormalized(const QString& line, int questionCount);
// "T"/"F" for questions 1..QuestionCount of a study-unit session.
QString unitLineFromSession(const core::SessionState& s);
// After a review of a unit's unsolved questions: position QuestionId(i) mod 100
// of every solved question becomes "T" (a shorter line is padded with "F").
QString unitLineAfterReview(QString line, const core::SessionState& s);
// The codes of the "F" positions of a progress line (trimmed), ascending.
QString unitUnsolvedCodes(int unit, const QString& line);
// End of a study-unit session (unit = SetNo) and of a unit review (unit =
// ReviewUnit). False also for a unit outside 0..25.
bool saveUnitProgress(int unit, int unitCount, const core::SessionState& s);
bool saveUnitReviewProgress(int unit, int unitCount, const core::SessionState& s);

} // namespace session
