#include <gtest/gtest.h>

#include "core/state.h"
#include "engine/step_record.h"

using namespace engine;

namespace {

// A 212-character record of "0"s with the given fields placed at their columns.
StepRecord rec(std::initializer_list<std::pair<int, const char*>> fields) {
    QString line(StepRecordLength, u'0');
    for (auto [col, text] : fields) {
        const QString t = QString::fromUtf8(text);
        line.replace(col - 1, t.size(), t);
    }
    return StepRecord(line);
}

class StepRecordTest : public ::testing::Test {
protected:
    void SetUp() override { core::resetSharedState(); }
};

} // namespace

TEST_F(StepRecordTest, ShortRecordReadsEmptyColumns) {
    StepRecord r("abc00000015");
    EXPECT_EQ(r.actionCode(), "0015");
    EXPECT_EQ(r.stepCode(), 15);
    EXPECT_EQ(r.formPicture(), "");
    EXPECT_FALSE(r.formPictureKeeps());
    EXPECT_EQ(r.imagePicture(1), "");
    EXPECT_EQ(r.imagePictureUse(1), PictureShow);  // neither "000000" nor "888888"
    EXPECT_EQ(r.imagePictureUse(6), PictureHide);  // reads as 0
    EXPECT_EQ(r.redBoxBranch(), "");
    EXPECT_EQ(r.redBoxW(), 0);
    EXPECT_FALSE(r.hasInputBox());
    EXPECT_FALSE(r.altMenuCode());
    EXPECT_FALSE(r.dialogCode());
    EXPECT_EQ(r.cursorCode().pointer(), 0);
    EXPECT_EQ(StepRecord().action(), ActionOther);
}

TEST_F(StepRecordTest, InputBoxColumnsReadAsOneNumber) {
    struct Case { const char* cols86to105; bool box; } cases[] = {
        {"00000000000000000000", false},
        {"01200000300180000250", true},
        {"00000000000000000001", true},
        {"99999999999999999999", true},   // far beyond any integer
        {"H0102000000000000000", false},
        {"D0305012340000000000", false},
        {"P6013P6109P61120S000", false},
        {"R3105000000000000000", false},
        {"000000000000000S0012", false},  // cursor code after 15 zeros
        {"000000000000000M0007", false},
        {"0000A000000000000001", false},  // a letter ends the number
        {"000000000000000000  ", false},
    };
    for (const auto& c : cases) EXPECT_EQ(rec({{86, c.cols86to105}}).hasInputBox(), c.box) << c.cols86to105;

    StepRecord r = rec({{86, "01234009990080000180"}});
    EXPECT_EQ(r.inputX(), 1234);
    EXPECT_EQ(r.inputY(), 999);
    EXPECT_EQ(r.inputW(), 800);
    EXPECT_EQ(r.inputH(), 180);
}

TEST_F(StepRecordTest, CursorCodes) {
    core::config().ProgramDir = "/prog";
    struct Case { const char* cols101to105; CursorCode::Kind kind; int pointer; const char* file; } cases[] = {
        {"SXX12", CursorCode::Standard, 12, ""},
        {"M0007", CursorCode::Custom, 99, "/prog/ico07.CUR"},
        {"00300", CursorCode::Default, 0, ""},
        {"s0012", CursorCode::Default, 0, ""},
    };
    for (const auto& c : cases) {
        CursorCode cc = rec({{101, c.cols101to105}}).cursorCode();
        EXPECT_EQ(cc.kind, c.kind) << c.cols101to105;
        EXPECT_EQ(cc.pointer(), c.pointer) << c.cols101to105;
        EXPECT_EQ(cc.file(), c.file) << c.cols101to105;
    }
    StepRecord r = rec({{101, "S3012"}});
    EXPECT_FALSE(r.hasInputBox());
    EXPECT_EQ(r.dropBranch(), "3");
}

TEST(BranchCodeTest, Steps) {
    struct Case { const char* code; int step; } cases[] = {
        {"0", 0}, {"1", 1}, {"5", 5}, {"9", 9}, {"A", 10}, {"Z", 35}, {"a", 9}, {" ", 9}, {"-", 9}, {"", 10},
    };
    for (const auto& c : cases) EXPECT_EQ(branchStep(c.code), c.step) << c.code;
}

TEST_F(StepRecordTest, ActionCodes) {
    struct Case { const char* code; ActionKind kind; int stepCode; } cases[] = {
        {"0001", ActionClick, 1},           {"0002", ActionDoubleClick, 2},     {"0003", ActionRightClick, 3},
        {"0004", ActionDemoClick, 4},       {"0020", ActionTypeLive, 20},       {"0021", ActionTypeRename, 21},
        {"0022", ActionTypeEnterOrBox, 22}, {"0023", ActionSelectText, 23},     {"0024", ActionTypeEnter, 24},
        {"0025", ActionTypeLiveExact, 25},  {"0026", ActionTypeThenBox, 26},    {"0027", ActionTypeOverlay, 27},
        {"0028", ActionTypeCell, 28},       {"0030", ActionHover, 30},          {"0043", ActionDragFrame, 43},
        {"0050", ActionDragMove, 50},       {"3214", ActionContextMenu, 3214},  {"6000", ActionContextMenu, 6000},
        {"6217", ActionKey, 6217},          {"7000", ActionMenuStep, 7000},     {"L012", ActionListChoice, 0},
        {"K203", ActionLookIn, 0},          {"8003", ActionDragImage, 8003},    {"8000", ActionOther, 8000},
        {"8888", ActionWait, 8888},         {"9201", ActionClickShift, 9201},   {"9999", ActionEnd, 9999},
        {"0005", ActionOther, 5},           {"0029", ActionOther, 29},          {"1234", ActionOther, 1234},
        {"7001", ActionOther, 7001},        {"A001", ActionOther, 0},
    };
    for (const auto& c : cases) {
        StepRecord r = rec({{8, c.code}});
        EXPECT_EQ(r.action(), c.kind) << c.code;
        EXPECT_EQ(r.stepCode(), c.stepCode) << c.code;
    }

    EXPECT_EQ(rec({{8, "0053"}}).dragModifiers(), 3);
    StepRecord key = rec({{8, "6217"}});
    EXPECT_EQ(key.codeModifiers(), 2);
    EXPECT_EQ(key.codeKey(), 17);
    StepRecord click = rec({{8, "9304"}});
    EXPECT_EQ(click.codeModifiers(), 3);
    EXPECT_EQ(click.codeButtons(), 4);
    ContextMenuCode cm = rec({{8, "4321"}}).contextMenuCode();
    EXPECT_EQ(cm.set(), 2);
    EXPECT_EQ(cm.menu(), 3);
    EXPECT_EQ(cm.group(), 2);
    EXPECT_EQ(cm.entry(), 1);
    EXPECT_EQ(rec({{8, "L012"}}).listTextLine(), "012");
    StepRecord look = rec({{8, "K203"}});
    EXPECT_EQ(look.lookInStartRow(), 2);
    EXPECT_EQ(look.lookInRow(), 3);
    EXPECT_EQ(rec({{8, "8007"}}).dragImageDirection(), 7);
}

TEST_F(StepRecordTest, AltMenuCodes) {
    struct Case { const char* cols86to90; int code; int set, menu, group, entry; } cases[] = {
        {"RA105", 6105, 4, 1, 0, 5},
        {"R3214", 3214, 1, 2, 1, 4},
        {"R5000", 5000, 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        auto code = rec({{86, c.cols86to90}}).altMenuCode();
        ASSERT_TRUE(code) << c.cols86to90;
        EXPECT_EQ(code->value, c.code);
        EXPECT_EQ(code->set(), c.set);
        EXPECT_EQ(code->menu(), c.menu);
        EXPECT_EQ(code->group(), c.group);
        EXPECT_EQ(code->entry(), c.entry);
    }
    EXPECT_FALSE(rec({{86, "H0102"}}).altMenuCode());
}

TEST_F(StepRecordTest, ActionSlots) {
    StepRecord r = rec({{125, "H0102000003"}, {86, "H01000000A"}, {96, "H0304050000"}});
    auto s1 = r.menuPath(1);
    ASSERT_TRUE(s1);
    EXPECT_EQ(s1->main, 1);
    EXPECT_EQ(s1->item, 2);
    EXPECT_EQ(s1->sub, 0);
    EXPECT_EQ(s1->branch, "0");
    EXPECT_EQ(s1->mmii, "0102");
    EXPECT_EQ(s1->target(), MenuPath::DropItem);
    auto s2 = r.menuPath(2);
    ASSERT_TRUE(s2);
    EXPECT_EQ(s2->target(), MenuPath::MainSpot);
    EXPECT_EQ(s2->branch, "A");
    auto s3 = r.menuPath(3);
    ASSERT_TRUE(s3);
    EXPECT_EQ(s3->sub, 5);
    EXPECT_EQ(s3->target(), MenuPath::SubItem);
    EXPECT_FALSE(r.specialItem());
    EXPECT_FALSE(r.menuPath(4));

    auto special = rec({{96, "D0305x1234"}}).specialItem();
    ASSERT_TRUE(special);
    EXPECT_EQ(special->main, 3);
    EXPECT_EQ(special->item, 5);
    EXPECT_EQ(special->normalPicture(), "123477");
    EXPECT_EQ(special->highlightPicture(), "123400");
    EXPECT_FALSE(rec({{96, "D0305x1234"}}).menuPath(3));

    StepRecord keys = rec({{86, "P6213P6009P6112"}});
    struct { int mods, key; } expected[] = {{2, 13}, {0, 9}, {1, 12}};
    for (int n = 1; n <= 3; ++n) {
        auto k = keys.keySlot(n);
        ASSERT_TRUE(k) << n;
        EXPECT_EQ(k->modifiers(), expected[n - 1].mods);
        EXPECT_EQ(k->key(), expected[n - 1].key);
    }
    EXPECT_FALSE(rec({{86, "P7013"}}).keySlot(1));
    EXPECT_FALSE(rec({{86, "P6013"}}).keySlot(2));
}

TEST_F(StepRecordTest, ExtraPictureBackStepAndDialog) {
    StepRecord extra = rec({{86, "H330000000"}, {96, "01500"}, {102, "0420"}});
    ASSERT_TRUE(extra.extraPictureCode());
    EXPECT_EQ(*extra.extraPictureCode(), 33);
    EXPECT_EQ(extra.extraPictureX(), 1500);
    EXPECT_EQ(extra.extraPictureY(), 420);
    ASSERT_TRUE(extra.menuPath(2));  // also a MenuPath naming main hot-spot 33
    EXPECT_EQ(extra.menuPath(2)->main, 33);
    EXPECT_FALSE(rec({{86, "H31"}}).extraPictureCode());
    EXPECT_FALSE(rec({{86, "H41"}}).extraPictureCode());

    EXPECT_EQ(rec({{125, "Q0000"}}).backSteps(), 1);
    EXPECT_EQ(rec({{125, "Qabc3"}}).backSteps(), 3);
    EXPECT_FALSE(rec({{125, "H0000"}}).backSteps());

    auto d = rec({{130, "XB1A2"}}).dialogCode();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->tabKey, "B");
    EXPECT_EQ(d->shownTab, 1);
    EXPECT_EQ(d->targetTab, 10);
    EXPECT_EQ(d->imageNo, 2);
    EXPECT_EQ(DialogCode::tabNumber("D"), 13);
    EXPECT_EQ(DialogCode::tabNumber("E"), 0);
    EXPECT_FALSE(rec({{130, "0B1A2"}}).dialogCode());
}

TEST_F(StepRecordTest, InputFormatPositions) {
    struct Case {
        const char* field;
        double points;
        InputFormat::Align align;
        std::optional<bool> bold, italic, underline;
        std::optional<QString> font;
        std::optional<uint32_t> text, back;
    } cases[] = {
        {"0120M05322", 12.0, InputFormat::AlignCenter, true, false, true, QStringLiteral("黑体"), 0x0000FFu, 0x0000FFu},
        {"0000r08933", 9.0, InputFormat::AlignRight, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
         0xC0C0C0u},
        {"0105R02219", 10.5, InputFormat::AlignRight, false, true, false, QStringLiteral("Times New Roman"), 0xFF0000u,
         0xE1FFFFu},
        {"0090m0745x", 9.0, InputFormat::AlignCenter, true, true, true, QStringLiteral("楷体_GB2312"), std::nullopt,
         0xFFFFFFu},
        {"", 9.0, InputFormat::AlignLeft, false, false, false, std::nullopt, 0x000000u, 0xFFFFFFu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        StepRecord r = rec({{125, c.field}});
        if (!*c.field) r = StepRecord(QString(124, u'0'));
        InputFormat f = r.inputFormat();
        EXPECT_DOUBLE_EQ(f.fontPoints(), c.points);
        EXPECT_EQ(f.align, c.align);
        EXPECT_EQ(f.bold(), c.bold);
        EXPECT_EQ(f.italic(), c.italic);
        EXPECT_EQ(f.underline(), c.underline);
        EXPECT_EQ(f.fontName(), c.font);
        EXPECT_EQ(f.textColourValue(), c.text);
        EXPECT_EQ(f.backColourValue(), c.back);
    }
    EXPECT_EQ(InputFormat::parse("0000005500").fontName(), QStringLiteral("隶书"));
    EXPECT_EQ(InputFormat::parse("0000000066").backColourValue(), 0x018000u);  // (0, 128, 1)
}

TEST_F(StepRecordTest, OverlaysTargetHintAndSource) {
    StepRecord r = rec({{12, "310002"},
                        {18, "00120"}, {23, "3"}, {24, "0450"}, {28, "000000"},
                        {34, "00010"}, {39, "A"}, {40, "0020"}, {44, "888888"},
                        {135, "01234"}, {140, "Z"}, {141, "0567"}, {145, "100200"},
                        {197, "00300"}, {203, "0400"}, {207, "abcdef"},
                        {66, "01000"}, {71, "2"}, {72, "0300"}, {76, "00900"}, {81, "00255"},
                        {112, "00015"}, {117, "00030"}, {122, "007"},
                        {167, "02000"}, {172, "03000"}, {177, "00500"}, {182, "4"}, {183, "0600"}, {187, "00700"},
                        {192, "00800"}});
    EXPECT_EQ(r.formPicture(), "310002");
    EXPECT_EQ(r.imageX(1), 120);
    EXPECT_EQ(r.imageBranch(1), "3");
    EXPECT_EQ(r.imageY(1), 450);
    EXPECT_EQ(r.imagePictureUse(1), PictureHide);
    EXPECT_EQ(r.imageBranch(2), "A");
    EXPECT_EQ(r.imagePictureUse(2), PictureKeep);
    EXPECT_EQ(r.imagePictureUse(3), PictureHide);
    EXPECT_EQ(r.imageX(4), 1234);
    EXPECT_EQ(r.imageBranch(4), "Z");
    EXPECT_EQ(r.imageY(4), 567);
    EXPECT_EQ(r.imagePicture(4), "100200");
    EXPECT_EQ(r.imagePictureUse(4), PictureShow);
    EXPECT_EQ(r.imageX(6), 300);
    EXPECT_EQ(r.imageY(6), 400);
    EXPECT_EQ(r.imagePictureUse(6), PictureHide);  // a picture field that reads as 0
    EXPECT_EQ(rec({{207, "000012"}}).imagePictureUse(6), PictureShow);
    EXPECT_EQ(r.imageX(7), 0);

    EXPECT_TRUE(r.hasTarget());
    EXPECT_EQ(r.redBoxX(), 1000);
    EXPECT_EQ(r.redBoxBranch(), "2");
    EXPECT_EQ(r.redBoxY(), 300);
    EXPECT_EQ(r.redBoxW(), 900);
    EXPECT_EQ(r.redBoxH(), 255);
    EXPECT_TRUE(r.hasHintPosition());
    EXPECT_EQ(r.hintX(), 15);
    EXPECT_EQ(r.hintY(), 30);
    EXPECT_EQ(r.hintLine(), "007");
    EXPECT_TRUE(r.hasSource());
    EXPECT_EQ(r.dropX(), 2000);
    EXPECT_EQ(r.dropY(), 3000);
    EXPECT_EQ(r.sourceX(), 500);
    EXPECT_EQ(r.sourceBranch(), "4");
    EXPECT_EQ(r.sourceY(), 600);
    EXPECT_EQ(r.sourceW(), 700);
    EXPECT_EQ(r.sourceH(), 800);

    StepRecord empty = rec({});
    EXPECT_FALSE(empty.hasTarget());
    EXPECT_FALSE(empty.hasHintPosition());
    EXPECT_FALSE(empty.hasSource());
    EXPECT_TRUE(rec({{85, "1"}}).hasTarget());
}
