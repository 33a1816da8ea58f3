#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/state.h"
#include "core/text.h"
#include "session/records.h"

using namespace session;

namespace {

class RecordsTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        core::resetSharedState();
        core::config().ProgramDir = tmp.path();
        core::config().DataDir = tmp.path() + "/data/";
        QDir().mkpath(core::config().recordsDir());
    }

    // Session of questions with the given ids and states.
    static core::SessionState sessionOf(std::initializer_list<std::pair<int, int>> questions) {
        core::SessionState s;
        int i = 0;
        for (auto [id, state] : questions) {
            ++i;
            s.QuestionId[i] = int16_t(id);
            s.QuestionState[i] = int16_t(state);
        }
        s.QuestionCount = int16_t(i);
        return s;
    }

    static void write(const QString& path, const QStringList& lines) { ASSERT_TRUE(core::writeLines(path, lines)); }
    static QByteArray raw(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST_F(RecordsTest, FileNames) {
    EXPECT_TRUE(flaggedListFile().endsWith("/ksdata/288862.rar"));
    EXPECT_TRUE(wrongListFile(3).endsWith("/ksdata/182403.rar"));
    EXPECT_TRUE(wrongListFile(13).endsWith("/ksdata/182413.rar"));
    EXPECT_TRUE(scoreHistoryFile().endsWith("/ksdata/288892.rar"));
    EXPECT_TRUE(unitProgressFile().endsWith("/ksdata/288893.rar"));
}

TEST_F(RecordsTest, FlaggedAddingRule) {
    struct Case { const char* list; core::SessionState s; const char* expected; } cases[] = {
        {"0105", sessionOf({{105, 3}, {203, 2}}), "01050203"},
        // Only flagged states (2, 3, 6, 7) count; one session never adds twice.
        {"", sessionOf({{1, 1}, {2, 4}, {3, 6}, {4, 7}, {3, 2}}), "00030004"},
        // Digits across two stored codes are no match.
        {"01050010", sessionOf({{500, 2}}), "010500100500"},
        // A shorter last piece is ignored and not kept in front of new codes.
        {"010502", sessionOf({{203, 2}}), "01050203"},
    };
    for (const auto& c : cases) EXPECT_EQ(flaggedAdded(c.list, c.s), c.expected) << c.list;

    write(flaggedListFile(), {"  0105  "});
    ASSERT_TRUE(saveFlaggedAdded(sessionOf({{105, 3}, {203, 2}})));
    EXPECT_EQ(raw(flaggedListFile()), "01050203\r\n");
}

TEST_F(RecordsTest, FlaggedRemovalRule) {
    struct Case { const char* list; core::SessionState s; const char* expected; } cases[] = {
        {"010502030301", sessionOf({{105, 4}, {203, 1}, {301, 6}}), "0203"},
        {"010502030301", sessionOf({{105, 3}}), "010502030301"},
        {"0105020301", sessionOf({{999, 4}}), "01050203"},
    };
    for (const auto& c : cases) EXPECT_EQ(flaggedSolvedRemoved(c.list, c.s), c.expected) << c.list;
    EXPECT_EQ(codesRemoved("010502030105", {"0105"}), "0203");

    write(flaggedListFile(), {"01050203"});
    ASSERT_TRUE(saveFlaggedSolvedRemoved(sessionOf({{105, 6}, {203, 7}})));
    EXPECT_EQ(readFlaggedList(), "");
}

TEST_F(RecordsTest, MissingRecordsFolderIsCreated) {
    QDir(core::config().recordsDir()).removeRecursively();
    EXPECT_EQ(readFlaggedList(), "");
    ASSERT_TRUE(saveFlaggedAdded(sessionOf({{105, 2}})));
    EXPECT_EQ(readFlaggedList(), "0105");
}

TEST_F(RecordsTest, WrongListAtHandInAndAfterReview) {
    QString paper;
    core::SessionState s;
    s.QuestionCount = 40;
    for (int i = 1; i <= 40; ++i) {
        paper += core::padDigits(100 + i, 4);
        s.QuestionState[i] = 4;
    }
    s.QuestionState[2] = 3;
    s.QuestionState[40] = 0;
    ASSERT_TRUE(saveWrongListAtHandIn(3, paper, s));
    EXPECT_EQ(readWrongList(3), "01020140");
    for (int i = 1; i <= 40; ++i) s.QuestionState[i] = 5;
    ASSERT_TRUE(saveWrongListAtHandIn(3, paper, s));
    EXPECT_EQ(raw(wrongListFile(3)), "\r\n");

    EXPECT_EQ(wrongListAfterReview("010201050203", sessionOf({{102, 4}, {105, 0}, {203, 5}})), "0105");
    EXPECT_EQ(wrongListAfterReview("010201050203", sessionOf({{102, 1}, {105, 2}, {203, 3}})), "010201050203");
    EXPECT_EQ(wrongListAfterReview("01020105xx", sessionOf({{102, 4}})), "0105");

    write(wrongListFile(1), {"010201050203"});
    ASSERT_TRUE(saveWrongListAfterReview(1, sessionOf({{102, 4}, {105, 0}, {203, 5}})));
    EXPECT_EQ(readWrongList(1), "0105");
    // A missing list is rewritten as an empty line.
    ASSERT_TRUE(saveWrongListAfterReview(2, sessionOf({{102, 4}})));
    EXPECT_EQ(raw(wrongListFile(2)), "\r\n");
}

TEST_F(RecordsTest, ScoreHistoryRules) {
    const QDateTime start(QDate(2024, 3, 5), QTime(9, 7, 2));
    const QDateTime now(QDate(2024, 3, 5), QTime(10, 0, 0));
    const QStringList before{"2020-01-01 10:00:00", "97.5", "a", "2020-01-02 10:00:00", "50", "x"};

    struct Case {
        const char* name;
        int paper;
        double score;
        QDateTime examStart;
        QStringList expected;
    } cases[] = {
        {"higher", 1, 60, start, {"2020-01-01 10:00:00", "97.5", "a", "2024-03-05 09:07:02", "60", "x"}},
        {"lower", 1, 40, start, {"2020-01-01 10:00:00", "97.5", "a", "2024-03-05 09:07:02", "50", "x"}},
        {"equal", 0, 97.5, start, {"2024-03-05 09:07:02", "97.5", "a", "2020-01-02 10:00:00", "50", "x"}},
        {"turned into practice", 1, 100, QDateTime(), {"2020-01-01 10:00:00", "97.5", "a", "2024-03-05 10:00:00", "50", "x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scoreHistoryAtHandIn(before, c.paper, c.score, c.examStart, now, 2), c.expected) << c.name;

    // Empty best score counts 0: 0 leaves it empty, 2.5 is written.
    EXPECT_EQ(scoreHistoryAtHandIn({}, 0, 0, start, now, 1)[1], "");
    EXPECT_EQ(scoreHistoryAtHandIn({}, 0, 2.5, start, now, 1)[1], "2.5");
    // A paper beyond the catalogue's count is still written.
    EXPECT_EQ(scoreHistoryAtHandIn({}, 2, 10, start, now, 1).size(), 9);

    write(scoreHistoryFile(), before);
    core::session().ExamStartTime = start;
    ASSERT_TRUE(saveScoreHistoryAtHandIn(0, 100, 2));
    EXPECT_FALSE(core::session().ExamStartTime.isValid());
    EXPECT_EQ(raw(scoreHistoryFile()),
              "2024-03-05 09:07:02\r\n100\r\na\r\n2020-01-02 10:00:00\r\n50\r\nx\r\n\r\n");
}

TEST_F(RecordsTest, ScoreText) {
    core::SessionState s;
    EXPECT_EQ(scoreText(examScore(s)), "0");
    for (int i = 1; i <= 15; ++i) s.QuestionState[i] = 4 + (i % 4);
    EXPECT_EQ(scoreText(examScore(s)), "37.5");
    for (int i = 1; i <= 40; ++i) s.QuestionState[i] = 4;
    EXPECT_EQ(scoreText(examScore(s)), "100");
}

TEST_F(RecordsTest, UnitProgressOfUnitSession) {
    write(unitProgressFile(), {"TT", "FFF", "T", "FFFF", "TTTTT", "FF"});
    core::SessionState s = sessionOf({{301, 5}, {302, 1}, {303, 7}, {304, 0}});
    ASSERT_TRUE(saveUnitProgress(3, 5, s));
    // Line 4 replaced; lines beyond the unit count dropped; closing empty line.
    EXPECT_EQ(raw(unitProgressFile()), "TT\r\nFFF\r\nT\r\nTFTF\r\nTTTTT\r\n\r\n");

    // A missing file: the session's line among empty lines.
    QFile::remove(unitProgressFile());
    ASSERT_TRUE(saveUnitProgress(2, 3, s));
    EXPECT_EQ(raw(unitProgressFile()), "\r\n\r\nTFTF\r\n\r\n");

    EXPECT_FALSE(saveUnitProgress(26, 3, s));
}

TEST_F(RecordsTest, UnitProgressAfterReview) {
    struct Case { const char* line; core::SessionState s; const char* expected; } cases[] = {
        {"FFFF", sessionOf({{202, 4}, {204, 5}}), "FTFT"},
        {"FFFF", sessionOf({{201, 3}, {203, 0}}), "FFFF"},
        // A short line is padded with "F" before the "T" is set.
        {"FF", sessionOf({{204, 4}}), "FFFT"},
        {"", sessionOf({{203, 4}, {201, 4}}), "TFT"},
    };
    for (const auto& c : cases) EXPECT_EQ(unitLineAfterReview(c.line, c.s), c.expected) << c.line;

    write(unitProgressFile(), {"TTTT", "TFFF", "FFFF"});
    ASSERT_TRUE(saveUnitReviewProgress(2, 3, sessionOf({{202, 4}, {204, 5}})));
    EXPECT_EQ(raw(unitProgressFile()), "TTTT\r\nTFFF\r\nFTFT\r\n\r\n");
}

TEST(UnitProgressLines, CodesAndNormalising) {
    EXPECT_EQ(unitUnsolvedCodes(2, "TFTF"), "02020204");
    EXPECT_EQ(unitUnsolvedCodes(2, "TTTT"), "");
    EXPECT_EQ(unitUnsolvedCodes(12, " FT "), "1201");
    EXPECT_EQ(unitLineNormalized("TFT", 5), "TFTFF");
    EXPECT_EQ(unitLineNormalized("TFTTT", 2), "TF");
    EXPECT_EQ(unitLineNormalized("", 0), "");
}
