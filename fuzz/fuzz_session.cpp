// Session assembly from a code string and a unit's files, and the record
// files of the candidate read, updated and written again.
#include "core/state.h"
#include "core/text.h"
#include "fuzz_support.h"
#include "session/bank.h"
#include "session/records.h"

using namespace session;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    QDir().mkpath(fuzz::scratch() + "/data");
    return 0;
}

namespace {

void checkAssembly(const QString& codes, const QByteArray& list, const QByteArray& script, int slot) {
    for (int u : {0, 1}) {
        fuzz::writeFile(unitQuestionListFile(u), list);
        fuzz::writeFile(unitStepScriptFile(u), u == 0 ? script : list + script);
    }
    const QString sessionScript = stepScriptFile(std::clamp(slot, 0, 19));
    const QString sessionList = questionListFile(std::clamp(slot, 0, 19));
    fuzz::writeFile(sessionScript, "old script\r\n");
    fuzz::writeFile(sessionList, "old list\r\n");
    core::session().QuestionCount = 77;

    const bool ok = InitShiTi(codes, slot);
    const core::SessionState& s = core::session();
    if (!ok) {
        // A refused assembly changes nothing.
        FUZZ_CHECK(s.QuestionCount == 77);
        FUZZ_CHECK(fuzz::readFile(sessionScript) == "old script\r\n");
        FUZZ_CHECK(fuzz::readFile(sessionList) == "old list\r\n");
        return;
    }
    // A code string assembles to at most 40 questions, one list line each.
    FUZZ_CHECK(slot >= 0 && slot < 20);
    FUZZ_CHECK(s.QuestionCount >= 0 && s.QuestionCount <= core::SessionState::MaxQuestions);
    const auto lines = core::readLines(sessionList);
    FUZZ_CHECK(lines && lines->size() == s.QuestionCount);
    for (int i = 1; i <= s.QuestionCount; ++i) FUZZ_CHECK(s.QuestionId[i] == codeAt(codes, i));

    core::SessionState t = s;
    t.QuestionFile = sessionList;
    FUZZ_CHECK(computeStepStart(t));
}

void checkRecords(const QList<QByteArray>& p, const QByteArray& states) {
    core::SessionState& s = core::session();
    s.QuestionCount = states.isEmpty() ? 0 : int16_t(uint8_t(states[0]) % 45);
    for (int i = 1; i <= 40; ++i) {
        s.QuestionState[i] = i < states.size() ? int16_t(uint8_t(states[i]) % 9) : 0;
        s.QuestionId[i] = i + 40 < states.size() ? int16_t(uint8_t(states[i + 40]) * 13) : int16_t(i);
    }
    const QString ksdata = core::config().recordsDir();
    QDir().mkpath(ksdata);
    fuzz::writeFile(unitProgressFile(), p[0]);
    fuzz::writeFile(wrongListFile(3), p[1]);
    fuzz::writeFile(flaggedListFile(), p[2]);
    fuzz::writeFile(scoreHistoryFile(), p[3]);

    // Unit progress.
    const QStringList progress = readUnitProgress();
    FUZZ_CHECK(progress.size() == UnitProgressLines);
    for (const QString& line : progress) {
        for (int n : {-1, 0, 5, 40}) FUZZ_CHECK(unitLineNormalized(line, n).size() == std::max(n, 0));
        const QString codes = unitUnsolvedCodes(3, line);
        FUZZ_CHECK(codes.size() % 4 == 0);
        FUZZ_CHECK(unitLineAfterReview(line, s).size() >= line.size());
    }
    FUZZ_CHECK(unitLineFromSession(s).size() == std::min<int>(s.QuestionCount, 40));
    const int unit = states.size() > 81 ? uint8_t(states[81]) % 30 : 2;
    const bool saved = saveUnitProgress(unit, 4, s);
    FUZZ_CHECK(saved == (unit <= 25));
    const QStringList after = readUnitProgress();
    for (int i = 0; i < UnitProgressLines; ++i) {
        if (i == unit) FUZZ_CHECK(after[i] == unitLineFromSession(s));
        // Lines of other units within the written count are kept whole (bytes
        // that are no GBK were read as a replacement character and stay one).
        else if (i < std::max(4, unit + 1))
            FUZZ_CHECK(after[i] == core::fromGbk(core::toGbk(progress[i])) || !saved);
    }
    FUZZ_CHECK(saveUnitReviewProgress(std::min(unit, 25), 4, s));

    // Wrong list and flagged list.
    const QString wrong = readWrongList(3);
    const QString kept = wrongListAfterReview(wrong, s);
    FUZZ_CHECK(kept.size() <= wrong.size());
    FUZZ_CHECK(saveWrongListAfterReview(3, s) && readWrongList(3) == core::fromGbk(core::toGbk(kept)));
    FUZZ_CHECK(wrongCodesAtHandIn(wrong, s).size() <= wrong.size());
    const QString flagged = readFlaggedList();
    const QString added = flaggedAdded(flagged, s);
    const QStringList groups = codeGroups(added);
    // The stored codes first; every code added is new to the list.
    const QStringList old = codeGroups(flagged);
    FUZZ_CHECK(groups.mid(0, old.size()) == old);
    for (int i = old.size(); i < groups.size(); ++i) FUZZ_CHECK(!groups.mid(0, i).contains(groups[i]));
    FUZZ_CHECK(codeGroups(flaggedSolvedRemoved(added, s)).size() <= groups.size());
    FUZZ_CHECK(saveFlaggedAdded(s) && saveFlaggedSolvedRemoved(s));

    // Score history.
    const QStringList history = readScoreHistory();
    FUZZ_CHECK(history.size() == ScoreHistoryLines);
    for (int paper : {-1, 0, 5, 14, 15}) {
        const QStringList h = scoreHistoryAtHandIn(history, paper, examScore(s), QDateTime(QDate(2024, 1, 2), QTime(3, 4)),
                                                   QDateTime(QDate(2024, 1, 2), QTime(3, 4)), unit);
        FUZZ_CHECK(h.size() <= ScoreHistoryLines && h.size() % 3 == 0);
    }
    FUZZ_CHECK(saveScoreHistoryAtHandIn(1, examScore(s), 3));
    FUZZ_CHECK(examScore(s) >= 0 && examScore(s) <= 100);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Parts: code string, unit question list, unit step script, progress,
    // wrong list, flagged list, score history, question states.
    const QList<QByteArray> p = fuzz::parts(fuzz::bytes(data, size), 8);
    core::resetSharedState();
    core::config().ProgramDir = fuzz::scratch();
    core::config().DataDir = fuzz::scratch() + "/data/";
    const QString codes = core::fromGbk(p[0]).left(400);
    const int slot = p[7].size() > 82 ? int(uint8_t(p[7][82])) % 24 - 2 : 19;
    checkAssembly(codes, p[1], p[2], slot);
    checkRecords({p[3], p[4], p[5], p[6]}, p[7]);
    return 0;
}
