#include "question_window_fixture.h"

#include <QFile>

#include "session/end_practice.h"

using namespace core;
using namespace session;

namespace {

struct EndPracticeTest : qwtest::Fixture {
    void SetUp() override {
        Fixture::SetUp();
        windows().showCover = [] { qwtest::cover()().show(); };
    }

    // A loaded practice session of the given questions (QuestionId) and
    // states; question 1 gets its opened bit from the load.
    void begin(int16_t listKind, const std::vector<int16_t>& ids, const std::vector<int16_t>& states) {
        QStringList lines;
        for (int16_t id : ids) lines << questionCode(id) + "02" + QString::fromUtf8("题目");
        write(questionListFile(ReviewSlot), lines);
        s().QuestionFile = questionListFile(ReviewSlot);
        s().QuestionCount = static_cast<int16_t>(ids.size());
        s().ListKind = listKind;
        s().RunMode = RunPractice;
        s().MinutesLeft = 50;
        s().CurrentQuestion = 1;
        s().UnitCount = 5;
        s().AllowCloseQuestion = false;
        for (size_t i = 0; i < ids.size(); ++i) {
            s().QuestionId[i + 1] = ids[i];
            s().QuestionState[i + 1] = states[i];
            s().QuestionResult[i + 1] = "F";
        }
        tm().show();
        d.advance(500);
        ASSERT_TRUE(tm().CmdGN(5).visible());
        d.ui.shown.clear();
    }

    // Clicks the end of practice; the session windows close and the cover
    // shows, whatever was saved.
    void end() {
        ASSERT_TRUE(tmLoaded());
        d.click(tm().CmdGN(5));
        EXPECT_FALSE(tmLoaded());
        EXPECT_FALSE(qwtest::practice().loaded());
        EXPECT_TRUE(qwtest::cover().loaded() && qwtest::cover()().visible());
        EXPECT_TRUE(s().AllowCloseQuestion);
        EXPECT_FALSE(d.ui.pending());
        qwtest::cover()().hide();
    }

    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static QString text(const char* utf8) { return QString::fromUtf8(utf8); }
};

} // namespace

TEST_F(EndPracticeTest, UnitSessionWritesItsLineAndAddsTheFlags) {
    write(unitProgressFile(), {"TTTTT", "FF", "FFF", "FFFF", "TFTFT", "TT"});
    write(flaggedListFile(), {"0105"});
    begin(ListUnit, {301, 302, 303, 304}, {5, 1, 7, 0});
    s().SetNo = 3;
    frmPicture()().show();
    end();
    EXPECT_FALSE(frmPicture()().visible());
    // Line 4 of the unit, the others as they were, lines beyond UnitCount dropped.
    EXPECT_EQ(bytes(unitProgressFile()), "TTTTT\r\nFF\r\nFFF\r\nTFTF\r\nTFTFT\r\n\r\n");
    EXPECT_EQ(read(flaggedListFile()), QStringList{"01050303"});
    EXPECT_TRUE(d.ui.shown.empty());
}

TEST_F(EndPracticeTest, UnitReviewMarksTheSolvedPositions) {
    write(unitProgressFile(), {"TTT", "FF", "FFFF"});
    begin(ListUnitWrong, {201, 202, 203, 204}, {1, 5, 0, 4});
    s().ReviewUnit = 2;
    s().SetNo = 13;
    s().UnitCount = 3;
    end();
    EXPECT_EQ(read(unitProgressFile()), (QStringList{"TTT", "FF", "FTFT", ""}));
    EXPECT_TRUE(d.ui.shown.empty());
}

TEST_F(EndPracticeTest, PaperPracticeSavesOnlyTheFlags) {
    write(unitProgressFile(), {"FFFF"});
    begin(ListPaper, {101, 102}, {5, 2});
    end();
    EXPECT_EQ(read(flaggedListFile()), QStringList{"0102"});
    EXPECT_EQ(read(unitProgressFile()), QStringList{"FFFF"});
}

TEST_F(EndPracticeTest, FlaggedSessionRemovesSolvedOnlyWhenAgreed) {
    struct Case { const char* name; std::vector<int16_t> states; int answer; const char* after; } cases[] = {
        {"yes", {5, 4, 1}, MrYes, "0107"},
        {"no", {5, 4, 1}, MrNo, "010502030107"},
        {"none solved", {1, 3, 0}, 0, "010502030107"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(flaggedListFile(), {"010502030107"});
        begin(ListFlagged, {105, 203, 107}, c.states);
        if (c.answer) d.ui.expectMsgBox(text("是否将答对的题从标识题中移除？"), c.answer);
        if (c.answer == MrYes) d.ui.expectMsgBox(text("答对的题目已经从标识题中移除！"), MrOk);
        end();
        EXPECT_EQ(read(flaggedListFile()), QStringList{c.after});
        if (!c.answer) continue;
        ASSERT_EQ(d.ui.shown.size(), c.answer == MrYes ? 2u : 1u);
        EXPECT_EQ(d.ui.shown[0].title, text("移除答对的题目"));
        EXPECT_EQ(d.ui.shown[0].style, MbYesNo | MbQuestion);
        if (c.answer == MrYes) {
            EXPECT_EQ(d.ui.shown[1].title, config().AppTitle);
            EXPECT_EQ(d.ui.shown[1].style, MbOkOnly);
        }
    }
}

TEST_F(EndPracticeTest, WrongReviewDropsSolvedOnlyWhenAgreed) {
    struct Case { const char* name; std::vector<int16_t> states; int answer; const char* after; } cases[] = {
        {"yes", {5, 1, 4}, MrYes, "0105"},
        {"no", {5, 1, 4}, MrNo, "010201050203"},
        {"none solved", {1, 2, 0}, 0, "010201050203"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(wrongListFile(1), {"010201050203"});
        begin(ListPaperWrong, {102, 105, 203}, c.states);
        s().ReviewUnit = 1;
        s().SetNo = 17;
        if (c.answer) d.ui.expectMsgBox(text("本次答对的题目要从“错题复习”中去掉吗？"), c.answer);
        end();
        EXPECT_EQ(read(wrongListFile(1)), QStringList{c.after});
        if (!c.answer) {
            EXPECT_TRUE(d.ui.shown.empty());
            continue;
        }
        ASSERT_EQ(d.ui.shown.size(), 1u);
        EXPECT_TRUE(d.ui.shown[0].text.contains(text("\n如果你认为掌握的还不太好，建议你点“否”，把它们保留在错题记录中。")));
        EXPECT_EQ(d.ui.shown[0].title, config().AppTitle);
        EXPECT_EQ(d.ui.shown[0].style, MbYesNo | MbQuestion | MbDefaultButton2);
    }
}

TEST_F(EndPracticeTest, UnwritableRecordsAreReportedAndTheSessionStillEnds) {
    // A file where the records folder should be.
    ASSERT_TRUE(QDir(config().recordsDir()).removeRecursively());
    QFile blocker(config().recordsDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    // Two failing writes, one message.
    begin(ListUnit, {1, 2}, {5, 2});
    s().SetNo = 0;
    d.ui.expectMsgBox(text("练习记录未能保存，请检查程序文件夹是否可写。"), MrOk);
    end();
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].title, config().AppTitle);

    // A removal that could not be written is not reported as done.
    begin(ListFlagged, {1, 2}, {5, 2});
    d.ui.expectMsgBox(text("是否将答对的题从标识题中移除？"), MrYes);
    d.ui.expectMsgBox(text("练习记录未能保存"), MrOk);
    end();
    EXPECT_EQ(d.ui.shown.size(), 2u);
    EXPECT_TRUE(QFileInfo(config().recordsDir()).isFile());
}

TEST_F(EndPracticeTest, EndingWhileTheDemonstrationStartsClearsIt) {
    // "演示" and then "结束练习" before the start timer's second tick: the
    // demonstration never comes and the next session does not see one.
    int shown = 0;
    windows().showDemonstration = [&shown](int16_t) { ++shown; };
    for (int ticksBefore : {0, 1}) {
        SCOPED_TRACE(ticksBefore);
        begin(ListUnit, {1, 2}, {0, 0});
        s().SetNo = 0;
        d.click(tm().CmdGN(7));
        EXPECT_TRUE(s().DemoRunning);
        d.advance(100 * ticksBefore);
        end();
        EXPECT_FALSE(s().DemoRunning);
        d.advance(1000);
        EXPECT_EQ(shown, 0);
    }
}
