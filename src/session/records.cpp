#include "session/records.h"

#include "core/state.h"
#include "core/text.h"
#include "session/bank.h"

#include <QDir>
#include <algorithm>

namespace session {

namespace {

constexpr int MaxUnitLine = UnitProgressLines - 1;

// Rewrites a record file whole, creating the records folder first.
bool writeRecord(const QString& path, const QStringList& lines) {
    if (!QDir().mkpath(core::config().recordsDir())) return false;
    return core::writeLines(path, lines);
}

// The first n lines of a record file, missing ones empty.
QStringList readPadded(const QString& path, int n) {
    QStringList lines = core::readLines(path).value_or(QStringList());
    if (lines.size() > n) lines = lines.mid(0, n);
    while (lines.size() < n) lines << QString();
    return lines;
}

bool solved(const core::SessionState& s, int i) { return s.QuestionState[i] >= 4; }

} // namespace

QString flaggedListFile() { return core::config().recordFile("288862"); }
QString wrongListFile(int paper) { return core::config().recordFile("1824" + twoDigits(paper)); }
QString scoreHistoryFile() { return core::config().recordFile("288892"); }
QString unitProgressFile() { return core::config().recordFile("288893"); }

bool anySolved(const core::SessionState& s) {
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i)
        if (solved(s, i)) return true;
    return false;
}

// --- Flagged list ---------------------------------------------------------------

QString readFlaggedList() { return core::trimSpaces(core::readFirstLine(flaggedListFile()).value_or(QString())); }

bool writeFlaggedList(const QString& codes) { return writeRecord(flaggedListFile(), {codes}); }

QString flaggedAdded(const QString& codes, const core::SessionState& s) {
    // A shorter last piece would shift every code appended after it.
    QString out = codeGroups(codes).join(QString());
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i) {
        if (!(s.QuestionState[i] & 2)) continue;
        const QString code = questionCode(s.QuestionId[i]);
        if (!hasCode(out, code)) out += code;
    }
    return out;
}

QString codesRemoved(const QString& codes, const QStringList& remove) {
    QString out;
    for (const QString& g : codeGroups(codes))
        if (!remove.contains(g)) out += g;
    return out;
}

QString flaggedSolvedRemoved(const QString& codes, const core::SessionState& s) {
    QStringList solvedCodes;
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i)
        if (solved(s, i)) solvedCodes << questionCode(s.QuestionId[i]);
    return codesRemoved(codes, solvedCodes);
}

bool saveFlaggedAdded(const core::SessionState& s) { return writeFlaggedList(flaggedAdded(readFlaggedList(), s)); }

bool saveFlaggedSolvedRemoved(const core::SessionState& s) {
    return writeFlaggedList(flaggedSolvedRemoved(readFlaggedList(), s));
}

// --- Wrong-question list ------------------------------------------------------------

QString readWrongList(int paper) { return core::readFirstLine(wrongListFile(paper)).value_or(QString()); }

bool writeWrongList(int paper, const QString& codes) { return writeRecord(wrongListFile(paper), {codes}); }

QString wrongCodesAtHandIn(const QString& paperCodes, const core::SessionState& s) {
    QString out;
    for (int i = 1; i <= core::SessionState::MaxQuestions; ++i)
        if (!solved(s, i)) out += core::mid(paperCodes, 4 * i - 3, 4);
    return out;
}

bool saveWrongListAtHandIn(int paper, const QString& paperCodes, const core::SessionState& s) {
    return writeWrongList(paper, wrongCodesAtHandIn(paperCodes, s));
}

QString wrongListAfterReview(const QString& stored, const core::SessionState& s) {
    QString out;
    const int groups = static_cast<int>(stored.size() / 4);
    for (int i = 1; i <= groups; ++i) {
        // A review holds at most 40 questions; codes beyond stay.
        if (i <= core::SessionState::MaxQuestions && solved(s, i)) continue;
        out += core::mid(stored, 4 * i - 3, 4);
    }
    return out;
}

bool saveWrongListAfterReview(int paper, const core::SessionState& s) {
    return writeWrongList(paper, wrongListAfterReview(readWrongList(paper), s));
}

// --- Score history ------------------------------------------------------------------

QString scoreText(double score) { return QString::number(score, 'g', 12); }

double examScore(const core::SessionState& s) {
    double score = 0;
    for (int i = 1; i <= core::SessionState::MaxQuestions; ++i)
        if (solved(s, i)) score += 2.5;
    return score;
}

QStringList readScoreHistory() { return readPadded(scoreHistoryFile(), ScoreHistoryLines); }

QStringList scoreHistoryAtHandIn(QStringList lines, int paper, double score, const QDateTime& examStart,
                                 const QDateTime& now, int paperCount) {
    static const QString fmt = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    while (lines.size() < ScoreHistoryLines) lines << QString();
    const int papers = std::clamp(std::max(paperCount, paper + 1), 0, ScoreHistoryLines / 3);
    if (paper >= 0 && paper < ScoreHistoryLines / 3) {
        const int timeLine = 3 * paper;  // 0-based index of line 3k + 1
        if (!examStart.isValid()) {
            lines[timeLine] = now.toString(fmt);
        } else {
            lines[timeLine] = examStart.toString(fmt);
            if (score > core::leadingNumber(lines[timeLine + 1])) lines[timeLine + 1] = scoreText(score);
        }
    }
    return lines.mid(0, 3 * papers);
}

bool saveScoreHistoryAtHandIn(int paper, double score, int paperCount) {
    core::SessionState& s = core::session();
    QStringList lines = scoreHistoryAtHandIn(readScoreHistory(), paper, score, s.ExamStartTime,
                                             QDateTime::currentDateTime(), paperCount);
    lines << QString();
    const bool ok = writeRecord(scoreHistoryFile(), lines);
    s.ExamStartTime = QDateTime();
    return ok;
}

// --- Unit progress --------------------------------------------------------------------

QStringList readUnitProgress() { return readPadded(unitProgressFile(), UnitProgressLines); }

bool writeUnitProgress(const QStringList& lines, int unitCount, int touchedUnit) {
    const int n = std::clamp(std::max(unitCount, touchedUnit + 1), 0, UnitProgressLines);
    QStringList out = lines.mid(0, n);
    while (out.size() < n) out << QString();
    out << QString();
    // Rewritten at every load of the cover: unchanged lines are not written again.
    if (!QDir().mkpath(core::config().recordsDir())) return false;
    return core::writeLinesIfChanged(unitProgressFile(), out);
}

QString unitLineNormalized(const QString& line, int questionCount) {
    return core::left(line + QString(42, u'F'), questionCount);
}

QString unitLineFromSession(const core::SessionState& s) {
    QString out;
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i) out += solved(s, i) ? u'T' : u'F';
    return out;
}

QString unitLineAfterReview(QString line, const core::SessionState& s) {
    const int n = std::min<int>(s.QuestionCount, core::SessionState::MaxQuestions);
    for (int i = 1; i <= n; ++i) {
        if (!solved(s, i)) continue;
        const int pos = s.QuestionId[i] % 100;
        if (pos < 1) continue;
        while (line.size() < pos) line += u'F';
        line[pos - 1] = u'T';
    }
    return line;
}

QString unitUnsolvedCodes(int unit, const QString& line) {
    const QString t = core::trimSpaces(line);
    QString out;
    for (int i = 1; i <= t.size(); ++i)
        if (t[i - 1] == u'F') out += questionCode(unit, i);
    return out;
}

bool saveUnitProgress(int unit, int unitCount, const core::SessionState& s) {
    if (unit < 0 || unit > MaxUnitLine) return false;
    QStringList lines = readUnitProgress();
    lines[unit] = unitLineFromSession(s);
    return writeUnitProgress(lines, unitCount, unit);
}

bool saveUnitReviewProgress(int unit, int unitCount, const core::SessionState& s) {
    if (unit < 0 || unit > MaxUnitLine) return false;
    QStringList lines = readUnitProgress();
    lines[unit] = unitLineAfterReview(lines[unit], s);
    return writeUnitProgress(lines, unitCount, unit);
}

} // namespace session
