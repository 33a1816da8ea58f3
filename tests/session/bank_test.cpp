#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "core/state.h"
#include "core/text.h"
#include "session/bank.h"

using namespace session;

namespace {

QStringList numbered(const QString& prefix, int n) {
    QStringList out;
    for (int i = 1; i <= n; ++i) out << prefix + QString::number(i);
    return out;
}

class BankTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        core::resetSharedState();
        core::config().ProgramDir = tmp.path();
        core::config().DataDir = tmp.path() + "/data/";
        QDir().mkpath(core::config().DataDir);
        // Unit 0: step counts 5, 3, 4. Unit 1: five questions, counts 1, 2, 1, 1, 2.
        write(unitQuestionListFile(0), {"000105第一题", "000203第二题", "000304第三题"});
        write(unitStepScriptFile(0), numbered("u0s", 12));
        write(unitQuestionListFile(1), {"010101a", "010202b", "010301c", "010401d", "010502e"});
        write(unitStepScriptFile(1), numbered("u1s", 7));
    }

    static void write(const QString& path, const QStringList& lines) { ASSERT_TRUE(core::writeLines(path, lines)); }
    static QStringList read(const QString& path) { return core::readLines(path).value_or(QStringList{"<missing>"}); }
};

} // namespace

TEST(QuestionCodeTest, CodesAndWholeGroupMatching) {
    EXPECT_EQ(questionCode(105), "0105");
    EXPECT_EQ(questionCode(7), "0007");
    EXPECT_EQ(questionCode(12345), "2345");
    EXPECT_EQ(questionCode(2, 4), "0204");
    EXPECT_EQ(codeAt("01050010", 2), 10);
    EXPECT_EQ(codeGroups("0105001005"), (QStringList{"0105", "0010"}));

    struct Case { const char* list; const char* code; bool found; } cases[] = {
        {"01050010", "0105", true}, {"01050010", "0010", true}, {"01050010", "0500", false},
        {"010500", "0500", false},  {"", "0105", false},        {"0105", "105", false},
    };
    for (const auto& c : cases) EXPECT_EQ(hasCode(c.list, c.code), c.found) << c.list << " " << c.code;
}

TEST_F(BankTest, FileNamesBySlot) {
    const QString d = core::config().DataDir;
    EXPECT_EQ(stepScriptFile(3), core::normalizePath(d + "288803.rar"));
    EXPECT_EQ(questionListFile(3), core::normalizePath(d + "288853.rar"));
    EXPECT_EQ(stepScriptFile(sessionSlot(17, 2)), core::normalizePath(d + "288819.rar"));
    EXPECT_EQ(questionListFile(sessionSlot(13, 6)), core::normalizePath(d + "288869.rar"));
    // A study unit's session is the bank's own pair of files.
    EXPECT_EQ(stepScriptFile(sessionSlot(3, 20)), unitStepScriptFile(3));
    EXPECT_EQ(questionListFile(sessionSlot(3, 20)), unitQuestionListFile(3));
    EXPECT_TRUE(unitStepScriptFile(3).endsWith("/288823.rar"));
    EXPECT_TRUE(unitQuestionListFile(3).endsWith("/288873.rar"));
    EXPECT_TRUE(paperCatalogFile().endsWith("/288891.rar"));
}

TEST_F(BankTest, AssemblyCopiesListLinesAndStepBlocks) {
    struct Case {
        const char* codes;
        int count;
        std::vector<int> ids;
        QStringList list;
        QStringList script;
    } cases[] = {
        {"0003", 1, {3}, {"000304第三题"}, {"u0s9", "u0s10", "u0s11", "u0s12"}},
        {"0001", 1, {1}, {"000105第一题"}, numbered("u0s", 5)},
        {"0105", 1, {105}, {"010502e"}, {"u1s6", "u1s7"}},
        {"", 0, {}, {}, {}},
        // 6 characters: 1.5 rounds to 2; the second code "00" reads 0 and
        // runs to the end of unit 0's list.
        {"000300", 2, {3, 0}, {"000304第三题", "000304第三题"}, {"u0s9", "u0s10", "u0s11", "u0s12", "u0s9", "u0s10", "u0s11", "u0s12"}},
        // 10 characters: 2.5 rounds to 2.
        {"0102000101", 2, {102, 1}, {"010202b", "000105第一题"}, {"u1s2", "u1s3", "u0s1", "u0s2", "u0s3", "u0s4", "u0s5"}},
        // Beyond the unit's list: its last question, with the code's own number.
        {"0009", 1, {9}, {"000304第三题"}, {"u0s9", "u0s10", "u0s11", "u0s12"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codes);
        core::session().QuestionCount = 99;
        ASSERT_TRUE(InitShiTi(c.codes, ReviewSlot));
        EXPECT_EQ(core::session().QuestionCount, c.count);
        for (size_t i = 0; i < c.ids.size(); ++i) EXPECT_EQ(core::session().QuestionId[i + 1], c.ids[i]);
        EXPECT_EQ(read(questionListFile(19)), c.list);
        EXPECT_EQ(read(stepScriptFile(19)), c.script);
    }
}

TEST_F(BankTest, FullPaperOfFortyCodes) {
    QString codes;
    for (int i = 0; i < 40; ++i) codes += (i % 2) ? "0105" : "0002";
    ASSERT_TRUE(InitShiTi(codes, 3));
    EXPECT_EQ(core::session().QuestionCount, 40);
    EXPECT_EQ(read(questionListFile(3)).size(), 40);
    EXPECT_EQ(read(stepScriptFile(3)).size(), 20 * 3 + 20 * 2);
}

TEST_F(BankTest, FailedAssemblyLeavesOldFilesAndState) {
    write(unitQuestionListFile(2), {});
    write(unitStepScriptFile(2), {"x"});
    write(unitQuestionListFile(4), {"040101a"});  // no step script for unit 4
    QString fortyOne;
    for (int i = 0; i < 41; ++i) fortyOne += "0001";

    struct Case { QString codes; int slot; } cases[] = {
        {"00010501", 19},   // unit 5 has no files
        {"0201", 19},       // empty question list
        {"0401", 19},       // missing step script
        {fortyOne, 19},     // more than 40 codes
        {"2501", 19},       // no such unit
        {"0001", 20},       // not a session slot: would overwrite unit 0's files
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codes.toStdString());
        const int slot = c.slot;
        write(stepScriptFile(19), {"old script"});
        write(questionListFile(19), {"old list"});
        core::session().QuestionCount = 7;
        core::session().QuestionId[1] = 42;
        EXPECT_FALSE(InitShiTi(c.codes, slot));
        EXPECT_EQ(read(stepScriptFile(19)), QStringList{"old script"});
        EXPECT_EQ(read(questionListFile(19)), QStringList{"old list"});
        EXPECT_EQ(core::session().QuestionCount, 7);
        EXPECT_EQ(core::session().QuestionId[1], 42);
    }
    EXPECT_EQ(read(unitStepScriptFile(0)), numbered("u0s", 12));
}

TEST_F(BankTest, StepStartFromQuestionList) {
    auto& s = core::session();
    ASSERT_TRUE(InitShiTi("000100020003", ReviewSlot));
    s.QuestionFile = questionListFile(ReviewSlot);
    ASSERT_TRUE(computeStepStart(s));
    EXPECT_EQ(s.StepStart[1], 1);
    EXPECT_EQ(s.StepStart[2], 6);
    EXPECT_EQ(s.StepStart[3], 9);
    EXPECT_EQ(s.StepStart[4], 13);
    EXPECT_EQ(s.QuestionLine, "000304第三题");

    // A blank line ends the rule and stays in QuestionLine.
    core::resetSharedState();
    core::config().DataDir = tmp.path() + "/data/";
    write(questionListFile(5), {"000105a", "000203b", "  ", "000304c"});
    s.QuestionFile = questionListFile(5);
    ASSERT_TRUE(computeStepStart(s));
    EXPECT_EQ(s.StepStart[3], 9);
    EXPECT_EQ(s.StepStart[4], 0);
    EXPECT_EQ(s.QuestionLine, "  ");

    // More than 44 lines: only 45 entries are filled.
    QStringList many;
    for (int i = 0; i < 50; ++i) many << "000101q";
    write(questionListFile(6), many);
    s.QuestionFile = questionListFile(6);
    ASSERT_TRUE(computeStepStart(s));
    EXPECT_EQ(s.StepStart[45], 45);

    s.QuestionLine = "keep";
    s.QuestionFile = questionListFile(7);
    EXPECT_FALSE(computeStepStart(s));
    EXPECT_EQ(s.QuestionLine, "keep");
}

TEST(QuestionListLineTest, Fields) {
    QuestionListLine plain("010312设置字体|为宋体");
    EXPECT_EQ(plain.code(), "0103");
    EXPECT_EQ(plain.stepCount(), 12);
    EXPECT_EQ(plain.text(), "设置字体|为宋体");
    EXPECT_FALSE(plain.hasPicture());
    EXPECT_EQ(plain.body(), plain.text());

    QuestionListLine pic("010203picture000123看图|操作");
    EXPECT_TRUE(pic.hasPicture());
    EXPECT_EQ(pic.pictureNo(), "000123");
    EXPECT_EQ(pic.body(), "看图|操作");

    QuestionListLine shortLine("01");
    EXPECT_EQ(shortLine.stepCount(), 0);
    EXPECT_EQ(shortLine.text(), "");
    EXPECT_FALSE(QuestionListLine("0102xxPicture000123").hasPicture());
}

TEST_F(BankTest, PaperCatalog) {
    write(paperCatalogFile(), {"0203", "050340", "00010002", "01010102"});
    auto cat = PaperCatalog::read();
    ASSERT_TRUE(cat);
    EXPECT_EQ(cat->paperCount(), 2);
    EXPECT_EQ(cat->unitCount(), 3);
    EXPECT_EQ(cat->unitQuestionCount(0), 5);
    EXPECT_EQ(cat->unitQuestionCount(2), 40);
    EXPECT_EQ(cat->unitQuestionCount(3), 0);
    EXPECT_EQ(cat->paperCodes(0), "00010002");
    EXPECT_EQ(cat->paperCodes(1), "01010102");
    EXPECT_EQ(cat->paperCodes(5), "01010102");  // shorter file: its last line

    QFile::remove(paperCatalogFile());
    EXPECT_FALSE(PaperCatalog::read());
}

TEST(PaperCatalogLines, CountsAsTheCoverReadsThemAndWellFormedness) {
    // Line 1 trimmed for the cover's counts.
    const PaperCatalog padded({" 0203", "050340"});
    EXPECT_EQ(padded.trimmedPaperCount(), 2);
    EXPECT_EQ(padded.trimmedUnitCount(), 3);
    EXPECT_TRUE(padded.wellFormed());
    EXPECT_EQ(PaperCatalog({}).trimmedUnitCount(), 0);

    struct Case {
        QStringList lines;
        bool wellFormed;
    };
    const Case cases[] = {
        {{"0203", "050340"}, true},
        {{"0203", "05034012"}, true},     // longer line 2
        {{"0203", "05034"}, false},       // cut short
        {{"0203", "05x340"}, false},      // a byte that is not a digit
        {{"0203", "050340 "}, false},     // trailing space
        {{"0203", ""}, false},            // empty
        {{"0200", ""}, false},            // empty even without units
        {{"0203"}, false},                // no line 2
        {{"02a3", "050340"}, false},      // line 1 not four digits
        {{"023", "050340"}, false},
        {{QString::fromUtf8("0２03"), "050340"}, false},  // only ASCII digits count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join('|').toStdString());
        EXPECT_EQ(PaperCatalog(c.lines).wellFormed(), c.wellFormed);
    }
}
