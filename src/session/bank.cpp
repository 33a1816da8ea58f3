#include "session/bank.h"

#include "core/state.h"
#include "core/text.h"

#include <algorithm>
#include <map>

namespace session {

using core::mid;

QString questionCode(int questionId) { return core::padDigits(questionId, 4); }

QString questionCode(int unit, int question) { return twoDigits(unit) + twoDigits(question); }

int16_t codeAt(const QString& codes, int i) { return core::val16(mid(codes, 4 * i - 3, 4)); }

QStringList codeGroups(const QString& codes) {
    QStringList out;
    for (int p = 0; p + 4 <= codes.size(); p += 4) out << codes.mid(p, 4);
    return out;
}

bool hasCode(const QString& codes, const QString& code) {
    if (code.size() != 4) return false;
    for (int p = 0; p + 4 <= codes.size(); p += 4)
        if (QStringView(codes).mid(p, 4) == code) return true;
    return false;
}

QString twoDigits(int n) { return core::padDigits(n, 2); }

QString paperCatalogFile() { return core::config().dataFile("288891"); }
QString unitQuestionListFile(int unit) { return core::config().dataFile("2888" + twoDigits(70 + unit)); }
QString unitStepScriptFile(int unit) { return core::config().dataFile("2888" + twoDigits(20 + unit)); }
QString stepScriptFile(int slot) { return core::config().dataFile("2888" + twoDigits(slot)); }
QString questionListFile(int slot) { return core::config().dataFile("2888" + twoDigits(slot + 50)); }

// --- PaperCatalog ---------------------------------------------------------------

std::optional<PaperCatalog> PaperCatalog::read() {
    auto lines = core::readLines(paperCatalogFile());
    if (!lines) return std::nullopt;
    return PaperCatalog(std::move(*lines));
}

int16_t PaperCatalog::paperCount() const { return lines_.isEmpty() ? 0 : core::val16(mid(lines_[0], 1, 2)); }
int16_t PaperCatalog::unitCount() const { return lines_.isEmpty() ? 0 : core::val16(mid(lines_[0], 3, 2)); }

int16_t PaperCatalog::trimmedPaperCount() const {
    return lines_.isEmpty() ? 0 : core::val16(mid(core::trimSpaces(lines_[0]), 1, 2));
}

int16_t PaperCatalog::trimmedUnitCount() const {
    return lines_.isEmpty() ? 0 : core::val16(mid(core::trimSpaces(lines_[0]), 3, 2));
}

namespace {
bool allDigits(QStringView s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

bool PaperCatalog::wellFormed() const {
    if (lines_.size() < 2) return false;
    const QString line1 = core::trimSpaces(lines_[0]);
    if (line1.size() < 4 || !allDigits(QStringView(line1).left(4))) return false;
    const QString& line2 = lines_[1];
    return !line2.isEmpty() && line2.size() >= 2 * trimmedUnitCount() && allDigits(line2);
}

int16_t PaperCatalog::unitQuestionCount(int unit) const {
    if (lines_.size() < 2 || unit < 0) return 0;
    return core::val16(mid(lines_[1], 2 * unit + 1, 2));
}

QString PaperCatalog::paperCodes(int paper) const {
    if (lines_.isEmpty() || paper < 0) return QString();
    const int idx = paper + 2;
    return idx < lines_.size() ? lines_[idx] : lines_.back();
}

// --- QuestionListLine -----------------------------------------------------------

QString QuestionListLine::code() const { return mid(line_, 1, 4); }
int16_t QuestionListLine::stepCount() const { return core::val16(mid(line_, 5, 2)); }
QString QuestionListLine::text() const { return mid(line_, 7); }
bool QuestionListLine::hasPicture() const { return text().startsWith(QStringLiteral("picture")); }
QString QuestionListLine::pictureNo() const { return hasPicture() ? mid(line_, 14, 6) : QString(); }
QString QuestionListLine::body() const { return hasPicture() ? mid(line_, 20) : text(); }

// --- Assembly -----------------------------------------------------------------

namespace {

struct UnitFiles {
    QStringList list;
    QStringList script;
};

} // namespace

bool InitShiTi(const QString& codes, int slot, bool* notWritable) {
    if (notWritable) *notWritable = false;
    // Session slots lie below the units' own files (20 + u); never overwrite the bank.
    if (slot < 0 || slot >= 20) return false;
    const long count = core::roundHalfEven(codes.size() / 4.0);
    if (count > core::SessionState::MaxQuestions) return false;

    std::map<int, UnitFiles> units;  // the bank is read-only during one assembly
    QStringList outList;
    QStringList outScript;
    std::array<int16_t, 41> ids{};

    for (int i = 1; i <= count; ++i) {
        const int16_t id = codeAt(codes, i);
        ids[i] = id;
        if (id < 0) return false;
        const int u = id / 100;
        const int q = id % 100;
        if (u > MaxUnit) return false;

        auto it = units.find(u);
        if (it == units.end()) {
            auto list = core::readLines(unitQuestionListFile(u));
            auto script = core::readLines(unitStepScriptFile(u));
            if (!list || !script || list->isEmpty() || script->isEmpty()) return false;
            it = units.emplace(u, UnitFiles{std::move(*list), std::move(*script)}).first;
        }
        const UnitFiles& uf = it->second;

        // Read the list up to line q (or to its end), adding up step counts.
        long total = 0;
        QString last;
        for (int j = 1; j <= uf.list.size(); ++j) {
            last = uf.list[j - 1];
            total += QuestionListLine(last).stepCount();
            if (j == q) break;
        }
        const long stepCount = QuestionListLine(last).stepCount();
        const long before = total - stepCount;
        outList << last;
        for (long j = std::max(before + 1, 1L); j <= total && j <= uf.script.size(); ++j)
            outScript << uf.script[j - 1];
    }

    if (!core::writeLines(stepScriptFile(slot), outScript) || !core::writeLines(questionListFile(slot), outList)) {
        if (notWritable) *notWritable = true;
        return false;
    }

    core::SessionState& s = core::session();
    s.QuestionCount = static_cast<int16_t>(count);
    for (int i = 1; i <= count; ++i) s.QuestionId[i] = ids[i];
    return true;
}

bool computeStepStart(core::SessionState& s) {
    auto lines = core::readLines(s.QuestionFile);
    if (!lines) return false;
    s.StepStart[1] = 1;
    const int maxLines = static_cast<int>(s.StepStart.size()) - 2;  // 44
    for (int i = 1; i <= lines->size() && i <= maxLines; ++i) {
        s.QuestionLine = (*lines)[i - 1];
        if (core::trimSpaces(s.QuestionLine).isEmpty()) break;
        s.StepStart[i + 1] = static_cast<int16_t>(s.StepStart[i] + QuestionListLine(s.QuestionLine).stepCount());
    }
    return true;
}

} // namespace session
