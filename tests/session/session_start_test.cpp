#include "question_window_fixture.h"

#include <QRandomGenerator>
#include <algorithm>

using namespace core;
using namespace session;
using qwtest::Fixture;
using qwtest::paperLine;

namespace {

struct SessionStartTest : Fixture {
    // The state fields a refused start must leave alone.
    struct Snapshot {
        int16_t runMode, listKind, setNo, reviewUnit, count, current;
        std::array<int16_t, 41> ids, states;
        QString script, list;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snap() {
        const SessionState& x = s();
        return {x.RunMode, x.ListKind, x.SetNo, x.ReviewUnit, x.QuestionCount, x.CurrentQuestion,
                x.QuestionId, x.QuestionState, x.ScriptFile, x.QuestionFile};
    }
    void presetState() {
        s().RunMode = 2;
        s().ListKind = 20;
        s().SetNo = 1;
        s().QuestionCount = 5;
        s().QuestionId[1] = 101;
        s().QuestionState[1] = 5;
        s().QuestionFile = "old list";
    }
    void progress(const QStringList& lines) { write(unitProgressFile(), lines); }
    // Nothing started: the cover is still there and no session window came.
    void expectNothingStarted() {
        EXPECT_TRUE(qwtest::cover().loaded());
        EXPECT_FALSE(tmLoaded());
        EXPECT_FALSE(frmLogon().loaded());
    }
};

} // namespace

TEST_F(SessionStartTest, PaperExamAssemblesItsSlotAndOpensTheLogin) {
    s().AllowCloseQuestion = true;
    s().QuestionResult[7] = "T";
    s().QuestionState[7] = 5;
    windows().startPaperExam(3);

    const QStringList list = read(questionListFile(3));
    ASSERT_EQ(list.size(), 40);
    EXPECT_TRUE(list[0].startsWith("0201"));
    EXPECT_TRUE(list[1].startsWith("0002"));
    EXPECT_EQ(read(stepScriptFile(3)).size(), 80);
    EXPECT_EQ(s().ScriptFile, stepScriptFile(3));
    EXPECT_EQ(s().QuestionFile, questionListFile(3));
    EXPECT_EQ(s().TextTableFile, config().dataFile("288890"));
    EXPECT_EQ(s().RunMode, RunExam);
    EXPECT_EQ(s().ListKind, ListPaper);
    EXPECT_EQ(s().SetNo, 3);
    EXPECT_EQ(s().QuestionCount, 40);
    EXPECT_EQ(s().CurrentQuestion, 1);
    EXPECT_EQ(s().CurrentStep, 1);
    EXPECT_EQ(s().MinutesLeft, 50);
    EXPECT_EQ(s().QuestionResult[7], "F");
    EXPECT_EQ(s().QuestionState[7], 0);
    EXPECT_EQ(s().StepStart[41], 81);
    EXPECT_FALSE(s().AllowCloseQuestion);

    // The login comes; the question window is not even loaded.
    EXPECT_TRUE(frmLogon().loaded());
    EXPECT_TRUE(frmLogon()().visible());
    EXPECT_FALSE(tmLoaded());
    EXPECT_FALSE(qwtest::practice().loaded());
    EXPECT_FALSE(qwtest::cover().loaded());
}

TEST_F(SessionStartTest, PaperStartRefusedWhenTheCatalogueFails) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        int paper;
    } cases[] = {
        {"missing catalogue", [] { QFile::remove(paperCatalogFile()); }, 0},
        {"no line for the paper", [] {}, 4},
        {"39 codes", [] { write(paperCatalogFile(), {"0403", "120504", paperLine(0, 12).left(156)}); }, 0},
        {"a code of a unit without files", [] { write(paperCatalogFile(), {"0103", "12", "0901" + paperLine(0, 12).mid(4)}); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write(paperCatalogFile(), {"0403", "120504", paperLine(0, 12), paperLine(1, 5), paperLine(2, 4), paperLine(0, 12)});
        QFile::remove(questionListFile(c.paper));
        c.prepare();
        presetState();
        const Snapshot before = snap();
        d.ui.expectMsgBox(QString::fromUtf8(kBankUnreadable), MrOk);
        windows().startPaperExam(c.paper);
        EXPECT_FALSE(d.ui.pending());
        EXPECT_TRUE(snap() == before);
        EXPECT_FALSE(exists(questionListFile(c.paper)));
        expectNothingStarted();
    }
}

TEST_F(SessionStartTest, WrongListReviewOfAPaper) {
    // No list, an empty one or one of blanks: the three-line message, nothing else.
    for (const char* line : {"<none>", "", "   ", "01"}) {
        SCOPED_TRACE(line);
        if (QString(line) == "<none>")
            QFile::remove(wrongListFile(1));
        else
            write(wrongListFile(1), {line});
        presetState();
        const Snapshot before = snap();
        d.ui.expectMsgBox(QString::fromUtf8("本套试题没有生成错题！\n你可能是还没有做本套试题，或者上次得分为0。\n请点“开始考试”做本套试题。"), MrOk);
        windows().reviewPaperWrong(1);
        ASSERT_EQ(d.ui.shown.size(), 1u);
        EXPECT_EQ(d.ui.shown[0].style, MbOkOnly);
        EXPECT_EQ(d.ui.shown[0].title, config().AppTitle);
        d.ui.shown.clear();
        EXPECT_TRUE(snap() == before);
        EXPECT_FALSE(exists(questionListFile(ReviewSlot)));
        expectNothingStarted();
    }

    write(wrongListFile(1), {" 01030105 "});
    s().QuestionResult[2] = "T";
    windows().reviewPaperWrong(1);
    EXPECT_EQ(read(questionListFile(ReviewSlot)).size(), 2);
    EXPECT_EQ(s().QuestionCount, 2);
    EXPECT_EQ(s().QuestionId[2], 105);
    EXPECT_EQ(s().ListKind, ListPaperWrong);
    EXPECT_EQ(s().SetNo, 17);
    EXPECT_EQ(s().ReviewUnit, 1);
    EXPECT_EQ(s().RunMode, RunPractice);
    EXPECT_EQ(s().QuestionResult[2], "F");
    EXPECT_EQ(s().QuestionFile, questionListFile(19));
    EXPECT_FALSE(qwtest::cover().loaded());
    ASSERT_TRUE(tmLoaded());
    EXPECT_TRUE(tm().visible());
    EXPECT_TRUE(tm().TimerREDO.enabled());
    EXPECT_TRUE(qwtest::practice()().visible());
    EXPECT_TRUE(tm().CmTNO(2).visible());
    EXPECT_FALSE(tm().CmTNO(3).visible());
}

TEST_F(SessionStartTest, DamagedWrongListIsARecordFault) {
    // Paper 1 holds the codes 0101 to 0105.
    QByteArray noise;
    QRandomGenerator gen(29);
    while (noise.size() < 300) {
        const char c = static_cast<char>(gen.bounded(256));
        if (c != '\r' && c != '\n') noise += c;
    }
    struct Case {
        const char* what;
        QByteArray stored;
        const char* message;
    } cases[] = {
        {"41 codes of the paper", (paperLine(1, 5) + "0101").toLatin1(), kRecordsUnreadable},
        {"random bytes", noise, kRecordsUnreadable},
        {"random bytes after a code", "0103" + noise, kRecordsUnreadable},
        {"a code of another paper", "01030001", kRecordsUnreadable},
        {"a code past the bank", "01032001", kRecordsUnreadable},
        {"a blank inside", "0103 0105", kRecordsUnreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile f(wrongListFile(1));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.stored + "\r\n");
        f.close();
        presetState();
        const Snapshot before = snap();
        d.ui.expectMsgBox(QString::fromUtf8(c.message), MrOk);
        windows().reviewPaperWrong(1);
        EXPECT_FALSE(d.ui.pending());
        EXPECT_TRUE(snap() == before);
        EXPECT_FALSE(exists(questionListFile(ReviewSlot)));
        expectNothingStarted();
    }

    // Forty codes of the paper and a shorter last piece: the forty are reviewed.
    write(wrongListFile(1), {paperLine(1, 5) + "01"});
    windows().reviewPaperWrong(1);
    EXPECT_FALSE(qwtest::cover().loaded());
    EXPECT_EQ(s().QuestionCount, 40);
    EXPECT_EQ(read(questionListFile(ReviewSlot)).size(), 40);
    EXPECT_EQ(s().QuestionId[40], 105);
    EXPECT_TRUE(tm().CmTNO(40).visible());
}

TEST_F(SessionStartTest, StudyUnitUsesTheBankFiles) {
    progress({"FFFFFFFFFFFF", "FFFFF", "TFTF"});
    const QStringList before = read(questionListFile(ReviewSlot));
    windows().startUnit(2);
    EXPECT_EQ(s().QuestionCount, 4);
    EXPECT_EQ(s().ListKind, ListUnit);
    EXPECT_EQ(s().SetNo, 2);
    EXPECT_EQ(s().RunMode, RunPractice);
    const int16_t states[] = {4, 0, 4, 0};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(s().QuestionState[i], states[i - 1] + (i == 1 ? 1 : 0)) << i;  // question 1 opened by the load
        EXPECT_EQ(s().QuestionId[i], 200 + i);
    }
    EXPECT_EQ(s().QuestionResult[1], "T");
    EXPECT_EQ(s().QuestionResult[2], "F");
    EXPECT_EQ(s().QuestionId[40], 240);
    EXPECT_EQ(s().ScriptFile, unitStepScriptFile(2));
    EXPECT_EQ(s().QuestionFile, unitQuestionListFile(2));
    EXPECT_EQ(read(questionListFile(ReviewSlot)), before);  // nothing written
    EXPECT_EQ(s().StepStart[5], 9);
    EXPECT_TRUE(tm().visible());
    EXPECT_TRUE(tm().CmTNO(4).visible());
    EXPECT_FALSE(tm().CmTNO(5).visible());
}

TEST_F(SessionStartTest, UnitStartsRefusedOnBadRecords) {
    struct Case {
        const char* what;
        std::function<void()> starter;
        QStringList progress;  // empty: no progress file
        const char* message;
    } cases[] = {
        {"no progress file", [] { windows().startUnit(0); }, {}, kRecordsUnreadable},
        {"no line for the unit", [] { windows().startUnit(2); }, {"FFFFFFFFFFFF"}, kRecordsUnreadable},
        {"empty line", [] { windows().startUnit(1); }, {"FFFFFFFFFFFF", "  "}, kUnitWithoutQuestions},
        {"unit past the bank", [] { windows().startUnit(20); }, {"F"}, kBankUnreadable},
        {"unit without files", [] { windows().startUnit(3); }, {"F", "F", "F", "FF"}, kBankUnreadable},
        {"review: no progress file", [] { windows().reviewUnitWrong(0); }, {}, kRecordsUnreadable},
        {"review: no line", [] { windows().reviewUnitWrong(2); }, {"F"}, kRecordsUnreadable},
        {"review: unit without files", [] { windows().reviewUnitWrong(3); }, {"F", "F", "F", "FF"}, kBankUnreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(unitProgressFile());
        if (!c.progress.isEmpty()) progress(c.progress);
        presetState();
        const Snapshot before = snap();
        d.ui.expectMsgBox(QString::fromUtf8(c.message), MrOk);
        c.starter();
        EXPECT_FALSE(d.ui.pending());
        EXPECT_TRUE(snap() == before);
        expectNothingStarted();
    }
}

TEST_F(SessionStartTest, UnsolvedQuestionsOfAUnit) {
    progress({"FFFFFFFFFFFF", "FFFFF", "TTTT"});
    presetState();
    const Snapshot before = snap();
    windows().reviewUnitWrong(2);  // all solved: nothing at all
    EXPECT_TRUE(d.ui.shown.empty());
    EXPECT_TRUE(snap() == before);
    expectNothingStarted();

    progress({"FFFFFFFFFFFF", "FFFFF", "  "});
    windows().reviewUnitWrong(2);  // an empty line: nothing either
    EXPECT_TRUE(d.ui.shown.empty());
    EXPECT_TRUE(snap() == before);
    expectNothingStarted();

    progress({"FFFFFFFFFFFF", "FFFFF", "TFTF"});
    windows().reviewUnitWrong(2);
    const QStringList list = read(questionListFile(ReviewSlot));
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0].startsWith("0202"));
    EXPECT_TRUE(list[1].startsWith("0204"));
    EXPECT_EQ(s().QuestionCount, 2);
    EXPECT_EQ(s().ListKind, ListUnitWrong);
    EXPECT_EQ(s().SetNo, 13);
    EXPECT_EQ(s().ReviewUnit, 2);
    EXPECT_EQ(s().QuestionFile, questionListFile(19));
    EXPECT_TRUE(tm().visible());
}

TEST_F(SessionStartTest, UnwritableSessionFilesRefuseEveryAssemblingStart) {
    // A folder in the place of the session's step script: it cannot be written.
    progress({"FFFFFFFFFFFF", "FFFFF", "TFTF"});
    write(wrongListFile(1), {"01030105"});
    struct Case {
        const char* what;
        int slot;
        std::function<void()> start;
    } cases[] = {
        {"paper exam", 0, [] { windows().startPaperExam(0); }},
        {"wrong questions of a paper", ReviewSlot, [] { windows().reviewPaperWrong(1); }},
        {"unsolved questions of a unit", ReviewSlot, [] { windows().reviewUnitWrong(2); }},
        {"score window review", ReviewSlot, [] {
             core::session().SetNo = 1;
             EXPECT_FALSE(startScoreReview());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(stepScriptFile(c.slot));
        ASSERT_TRUE(QDir().mkpath(stepScriptFile(c.slot)));
        presetState();
        const Snapshot before = snap();
        d.ui.expectMsgBox(QString::fromUtf8(kSessionNotWritable), MrOk);
        c.start();
        EXPECT_FALSE(d.ui.pending());
        if (QString(c.what) != "score window review") {
            EXPECT_TRUE(snap() == before);
        }
        expectNothingStarted();
        QDir(stepScriptFile(c.slot)).removeRecursively();
    }
    EXPECT_STREQ(kSessionNotWritable, "无法在题库文件夹中写入练习文件，不能开始练习。请检查该文件夹是否可写。");
}

TEST_F(SessionStartTest, FlaggedCodesMatchOnlyAsWholeGroups) {
    write(flaggedListFile(), {"01050010"});
    ASSERT_TRUE(InitShiTi("000100020003", ReviewSlot));
    s().QuestionId[1] = 105;
    s().QuestionId[2] = 10;
    s().QuestionId[3] = 500;
    s().QuestionCount = 3;
    s().RunMode = 2;
    s().ListKind = ListFlagged;
    s().SetNo = 10;
    s().CurrentQuestion = 3;
    windows().startLianXi();
    EXPECT_EQ(s().QuestionState[1], 2 + 1);  // question 1 is opened by the load
    EXPECT_EQ(s().QuestionState[2], 2);
    EXPECT_EQ(s().QuestionState[3], 1);      // the current question, opened by its load

    // Without a flagged list nothing is flagged.
    unloadAllForms();
    qwtest::cover()();
    QFile::remove(flaggedListFile());
    s().QuestionState = {};
    windows().startLianXi();
    EXPECT_EQ(s().QuestionState[2], 0);
}

TEST_F(SessionStartTest, GridButtonsAboveTheCountAreHidden) {
    progress({"FFFFFFFFFFFF"});
    windows().startUnit(0);
    for (int i = 1; i <= 40; ++i) EXPECT_EQ(tm().CmTNO(i).visible(), i <= 12) << i;

    // No question at all: every button goes.
    unloadAllForms();
    qwtest::cover()();
    ASSERT_TRUE(InitShiTi("", ReviewSlot));
    s().RunMode = RunPractice;
    s().ListKind = ListFlagged;
    s().SetNo = 10;
    s().CurrentQuestion = 1;
    ASSERT_EQ(s().QuestionCount, 0);
    windows().startLianXi();
    ASSERT_TRUE(tmLoaded());
    for (int i = 1; i <= 40; ++i) EXPECT_FALSE(tm().CmTNO(i).visible()) << i;
}

TEST_F(SessionStartTest, MissingQuestionListRefusesTheStart) {
    progress({"FF", "FFFFF"});
    QFile::remove(unitQuestionListFile(1));
    presetState();
    const Snapshot before = snap();
    d.ui.expectMsgBox(QString::fromUtf8(kBankUnreadable), MrOk);
    windows().startUnit(1);
    EXPECT_TRUE(snap() == before);
    expectNothingStarted();
}

TEST_F(SessionStartTest, ScoreWindowReviewOfWrongQuestions) {
    // An exam is on: the question window is loaded and its clock runs.
    progress({"FFFFFFFFFFFF"});
    windows().startUnit(0);
    ASSERT_TRUE(tm().TimeKS.enabled());
    tm().move(0, 0);
    tm().hide();
    auto* score = new Form("FrmChengji");  // freed by its unload
    score->runLoad();

    s().SetNo = 2;
    s().RunMode = RunPractice;
    s().ReviewUnit = 2;
    s().AllowCloseQuestion = true;
    s().QuestionResult[1] = "T";
    write(wrongListFile(2), {"02010203"});
    ASSERT_TRUE(startScoreReview(score));

    EXPECT_EQ(read(questionListFile(ReviewSlot)).size(), 2);
    EXPECT_EQ(s().QuestionCount, 2);
    EXPECT_EQ(s().ListKind, ListPaperWrong);
    EXPECT_EQ(s().SetNo, 17);
    EXPECT_EQ(s().ReviewUnit, 2);
    EXPECT_EQ(s().QuestionFile, questionListFile(19));
    EXPECT_EQ(s().ScriptFile, stepScriptFile(19));
    EXPECT_EQ(s().QuestionResult[1], "F");
    EXPECT_EQ(s().QuestionState[1], 0);
    EXPECT_EQ(s().MinutesLeft, 50);
    EXPECT_FALSE(s().AllowCloseQuestion);
    EXPECT_FALSE(std::count(loadedForms().begin(), loadedForms().end(), score));
    EXPECT_FALSE(tm().TimeKS.enabled());
    EXPECT_TRUE(tm().TimerREDO.enabled());
    EXPECT_TRUE(tm().TimKsModel.enabled());
    EXPECT_EQ(tm().LblUnit.caption(), "");
    EXPECT_TRUE(tm().visible());
    Form& pw = qwtest::practice()();
    EXPECT_DOUBLE_EQ(tm().left(), pw.left() + pw.width() - tm().width());
    EXPECT_DOUBLE_EQ(tm().top(), pw.top() + pw.height() - tm().height());
    EXPECT_FALSE(tm().CmTNO(3).visible());

    // An empty wrong list: the paper just scored had no wrong question.
    write(wrongListFile(4), {""});
    s().SetNo = 4;
    d.ui.expectMsgBox(QString::fromUtf8("本次考试没有错题。"), MrOk);
    EXPECT_FALSE(startScoreReview());
    EXPECT_EQ(s().SetNo, 4);
    EXPECT_FALSE(d.ui.pending());
}
