#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <map>

#include "core/platform.h"
#include "core/pictures.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/design_pictures.h"
#include "cover/frm_fengmian.h"
#include "session/bank.h"
#include "session/records.h"
#include "support/driver.h"

using namespace core;
using cover::FrmFengmian;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

// Colours of the three face kinds written by the fixture.
const QRgb kNormal = qRgb(200, 0, 0), kHover = qRgb(0, 200, 0), kPressed = qRgb(0, 0, 200);

struct CoverFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> pf = std::make_shared<FakePlatform>();
    std::vector<QString> calls;  // hooks called
    int exitCode = -1;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        resetSharedState();
        pictureStore().clear();
        pf->folder = dir.path();
        setPlatform(pf);
        ModuleConfig& c = config();
        c.ProgramDir = dir.path();
        c.DataDir = dir.path() + "/data/";
        c.ModuleName = u8("字处理");
        c.ModuleTitle = u8("Word 2003 字处理");
        c.InfoLines[0] = u8("第一单元 文档基本操作");
        QDir().mkpath(c.DataDir);
        QDir().mkpath(c.recordsDir());
        writeFaces();
        Windows& w = windows();
        w.exitProgram = [this](int code) { exitCode = code; };
        w.startLianXi = [this] { calls.push_back("startLianXi"); };
        w.startWindowMove = [this](Form& f, std::function<void()>) { calls.push_back("move " + f.name()); };
        w.startPaperExam = [this](int i) { calls.push_back("paper " + QString::number(i)); };
        w.reviewPaperWrong = [this](int i) { calls.push_back("paperWrong " + QString::number(i)); };
        w.startUnit = [this](int i) { calls.push_back("unit " + QString::number(i)); };
        w.reviewUnitWrong = [this](int i) { calls.push_back("unitWrong " + QString::number(i)); };
    }
    void TearDown() override {
        setPlatform(nullptr);
        windows() = Windows{};
        pictureStore().clear();
    }

    void writeFaces() {
        for (int i = 0; i <= 15; ++i) {
            const std::pair<const char*, QRgb> kinds[] = {{"l020", kNormal}, {"l021", kHover}, {"l022", kPressed}};
            for (auto [kind, colour] : kinds) {
                QImage img(100, 30, QImage::Format_RGB32);
                img.fill(colour);
                ASSERT_TRUE(img.save(config().DataDir + kind + session::twoDigits(i) + ".rar", "BMP"));
            }
        }
    }
    static void write(const QString& path, const QStringList& lines) { ASSERT_TRUE(writeLines(path, lines)); }
    static QByteArray raw(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // A bank of units with the given question counts: question q of unit u
    // has one step and the text "题目 u-q"; papers are not used here.
    void writeBank(const std::vector<int>& unitCounts, int papers = 2, bool writeUnits = true) {
        QString line2;
        for (int n : unitCounts) line2 += session::twoDigits(n);
        write(session::paperCatalogFile(), {session::twoDigits(papers) + session::twoDigits(int(unitCounts.size())), line2});
        if (!writeUnits) return;
        for (int u = 0; u < int(unitCounts.size()); ++u) {
            QStringList list, script;
            for (int q = 1; q <= unitCounts[u]; ++q) {
                list << session::questionCode(u, q) + "01" + u8("题目 ") + QString::number(u) + "-" + QString::number(q);
                script << QString("STEP %1 %2").arg(u).arg(q);
            }
            write(session::unitQuestionListFile(u), list);
            write(session::unitStepScriptFile(u), script);
        }
    }
    void writeFlagged(const QString& codes) { write(session::flaggedListFile(), {codes}); }
    // n codes of unit 0, questions 1..n.
    static QString codes(int n) {
        QString s;
        for (int q = 1; q <= n; ++q) s += session::questionCode(0, q);
        return s;
    }
    static QRgb face(const Control& img) { return img.picture().isNull() ? 0 : img.picture().image().pixel(0, 0); }
};

} // namespace

// ----------------------------------------------------------- display width

TEST(CoverText, SubLenColumns) {
    const QString han = u8("汉");
    struct Case { QString text; QString expected; } cases[] = {
        {QString(82, 'a'), QString(82, 'a')},                       // 82 columns: whole
        {QString(83, 'a'), QString(79, 'a') + "..."},               // cut to 79 and "..."
        {QString(78, 'a') + han + "bbbb", QString(78, 'a') + " ..."},  // double-byte char at columns 79-80
        {QString(77, 'a') + han + "bbbb", QString(77, 'a') + han + "..."},  // it ends exactly at column 79
        {QString(41, han[0]), QString(41, han[0])},                 // 82 columns of double-byte text
        {QString(42, han[0]), QString(39, han[0]) + " ..."},        // 84 columns: no exact cut at 79
        {QString(80, 'a') + QChar(0), QString(80, 'a') + QChar(0)},  // NUL counts two columns
        {QString(81, 'a') + QChar(0), QString(79, 'a') + "..."},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString out = cover::subLen(c.text, 82);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(CoverText, ProgressNormalisation) {
    std::array<int16_t, 26> counts{};
    counts[0] = 10;
    counts[1] = 8;
    counts[2] = 50;
    counts[3] = 5;
    const QStringList out = cover::normalizedProgress({"TTF", QString(10, 'T'), "", "TTFTFxx"}, counts);
    ASSERT_EQ(out.size(), 25);
    EXPECT_EQ(out[0], "TTFFFFFFFF");
    EXPECT_EQ(out[1], QString(8, 'T'));
    EXPECT_EQ(out[2], QString(42, 'F'));  // the fill holds 42
    EXPECT_EQ(out[3], "TTFTF");
    for (int u = 4; u < 25; ++u) EXPECT_EQ(out[u], "");
}

TEST(CoverPictures, HandCursorHasItsHotSpotAtTheFingertip) {
    const CursorImage c = readCursorFile(cover::handCursorFile());
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.image.size(), QSize(32, 32));
    EXPECT_EQ(c.hotX, 6);
    EXPECT_EQ(c.hotY, 0);
    EXPECT_EQ(cover::closePicture().widthTwips(), 720);
    EXPECT_EQ(cover::paperStartHoverPicture().heightTwips(), 375);
    EXPECT_EQ(cover::flaggedHeaderPicture().widthPixels(), 796);
}

// ---------------------------------------------------------------- the load

TEST_F(CoverFixture, ProgressFileIsNormalisedAndRowsShowIt) {
    testsupport::Driver d;
    writeBank({10, 8});
    QStringList stored = {"TTF", QString(10, 'T')};
    for (int i = 3; i <= 30; ++i) stored << "TTTT";  // lines 26 to 30 are dropped
    write(session::unitProgressFile(), stored);
    FrmFengmian& f = cover::frmFengmian()();

    QByteArray expected = "TTFFFFFFFF\r\nTTTTTTTT\r\n";
    for (int i = 0; i < 23; ++i) expected += "\r\n";
    expected += "\r\n";
    EXPECT_EQ(raw(session::unitProgressFile()), expected);
    EXPECT_EQ(f.UnitCount, 2);
    EXPECT_EQ(f.LblUnintSL[0].caption(), "10");
    EXPECT_EQ(f.LblUnitWei[0].caption(), "8");
    EXPECT_EQ(f.LblUnintSL[1].caption(), "8");
    EXPECT_EQ(f.LblUnitWei[1].caption(), "0");
    EXPECT_TRUE(f.ImgUnit[1].visible());
    EXPECT_FALSE(f.ImgUnit[2].visible());
    EXPECT_FALSE(f.LblUWrong[2].visible());
}

TEST_F(CoverFixture, ProgressFileCreatedWhenMissingAndKeptWithoutCatalogue) {
    {
        testsupport::Driver d;
        writeBank({3, 2});
        cover::frmFengmian()();
        QByteArray expected = "FFF\r\nFF\r\n";
        for (int i = 0; i < 23; ++i) expected += "\r\n";
        expected += "\r\n";
        EXPECT_EQ(raw(session::unitProgressFile()), expected);
    }
    // No catalogue, or one without line 2: the progress stays as it is.
    const QStringList progress = {"TTF", "TT"};
    for (bool lineOne : {false, true}) {
        testsupport::Driver d;
        QFile::remove(session::paperCatalogFile());
        if (lineOne) write(session::paperCatalogFile(), {"0202"});
        write(session::unitProgressFile(), progress);
        const QByteArray before = raw(session::unitProgressFile());
        FrmFengmian& f = cover::frmFengmian()();
        EXPECT_EQ(raw(session::unitProgressFile()), before);
        if (!lineOne) {
            EXPECT_EQ(f.PaperCount, 0);
            EXPECT_EQ(f.UnitCount, 0);
            for (int k = 0; k < 14; ++k) EXPECT_FALSE(f.LblStartKs[k].visible());
            for (int u = 0; u < 21; ++u) EXPECT_FALSE(f.LblJinRuXX[u].visible());
            EXPECT_EQ(f.FlaggedRow, -1);  // the flagged panel was not laid out
        }
    }
}

// A damaged catalogue never rewrites the progress: marks beyond its counts
// would be lost even after the catalogue is repaired. The rows show the
// progress as stored.
TEST_F(CoverFixture, DamagedCatalogueLeavesTheProgressFileAlone) {
    writeBank({10, 8, 5});
    const QStringList goodLines = *readLines(session::paperCatalogFile());
    QStringList progress = {QString(12, 'T'), "TTTTTTTTF", "TTTTT"};
    for (int u = 3; u < 30; ++u) progress << "TT";
    write(session::unitProgressFile(), progress);
    const QByteArray before = raw(session::unitProgressFile());

    struct Case {
        const char* what;
        QStringList catalogue;
    };
    const Case cases[] = {
        {"line 2 cut short", {goodLines[0], "10080"}},
        {"line 2 with a byte that is not a digit", {goodLines[0], "10#805"}},
        {"line 2 empty", {goodLines[0], ""}},
        {"line 1 not four digits", {"02 3", "100805"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::Driver d;
        write(session::paperCatalogFile(), c.catalogue);
        FrmFengmian& f = cover::frmFengmian()();
        EXPECT_EQ(raw(session::unitProgressFile()), before);
        if (f.UnitCount == 3) {
            EXPECT_EQ(f.LblUnintSL[0].caption(), "12");
            EXPECT_EQ(f.LblUnintSL[1].caption(), "9");
            EXPECT_EQ(f.LblUnitWei[1].caption(), "1");
        }
        f.unload();
    }

    // Repaired, the catalogue normalises the progress that was kept.
    testsupport::Driver d;
    write(session::paperCatalogFile(), goodLines);
    cover::frmFengmian()();
    const QStringList after = *readLines(session::unitProgressFile());
    EXPECT_EQ(after[0], QString(10, 'T'));
    EXPECT_EQ(after[1], "TTTTTTTT");
    EXPECT_EQ(after[2], "TTTTT");
}

TEST_F(CoverFixture, CaptionsOfPapersAndUnits) {
    testsupport::Driver d;
    writeBank({5, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 3);
    write(config().dataFile("288895"), {"  2024.06  "});
    write(config().recordFile("288890"), {"1"});
    write(session::scoreHistoryFile(),
          {"2024-03-01 09:00:00", "85", "x", "2024-03-02 10:00:00", "92.5", "y"});
    write(session::unitProgressFile(), {"TTFTf"});
    write(config().programFile("updata.txt"), {" 1 "});
    FrmFengmian& f = cover::frmFengmian()();

    EXPECT_EQ(f.caption(), u8("Norvane职称计算机考试——字处理模块  题库版本：2024.06"));
    EXPECT_EQ(f.LblCaption.caption(), u8("V1.0.0──字处理模块(题库版本：2024.06)"));
    EXPECT_EQ(f.LblKmMc.caption(), u8("── Word 2003 字处理"));
    EXPECT_EQ(f.LblKmMc1.caption(), f.LblKmMc.caption());
    EXPECT_EQ(core::session().ImeSimEnabled, -1);

    // Papers 0-2 with their records, the rest hidden.
    EXPECT_EQ(f.PaperCount, 3);
    EXPECT_EQ(f.LblKSInFo[0].caption(), u8("最后考试时间 2024-03-01 09:00:00  最好成绩 85"));
    EXPECT_EQ(f.LblKSInFo[1].caption(), u8("最后考试时间 2024-03-02 10:00:00  最好成绩 92.5"));
    EXPECT_EQ(f.LblKSInFo[2].caption(), u8("最后考试时间   最好成绩 "));
    EXPECT_EQ(f.LblShiJuanNo[2].caption(), "3");
    for (int k = 0; k < 14; ++k) {
        SCOPED_TRACE(k);
        for (auto* a : {&f.ImgShiJuan, &f.LblShiJuanNo, &f.LblKSInFo, &f.LblStartKs, &f.LblErr})
            EXPECT_EQ((*a)[k].visible(), k < 3);
    }
    EXPECT_DOUBLE_EQ(f.LblErr[0].left(), f.LblKSInFo[0].left() + 4500);

    // Units: numbers, counts, unsolved ("f" is not counted), tooltips.
    EXPECT_EQ(f.UnitCount, 12);
    EXPECT_EQ(f.LblUnitNo[6].caption(), " 7");
    EXPECT_EQ(f.LblUnitNo[11].caption(), "12");
    EXPECT_EQ(f.LblUnintSL[0].caption(), "5");
    EXPECT_EQ(f.LblUnitWei[0].caption(), "1");  // TTFTf is kept, its lower-case f not counted
    EXPECT_EQ(f.LblJinRuXX[0].toolTipText(), config().InfoLines[0]);
    EXPECT_TRUE(f.LblUnitNo[11].visible());
    EXPECT_FALSE(f.LblUnitNo[12].visible());

    // Geometry at 96 dpi: unit 4 at 4200/1200, paper 13 would be at 6090/6600.
    EXPECT_DOUBLE_EQ(f.ImgUnit[4].left(), 4200);
    EXPECT_DOUBLE_EQ(f.ImgUnit[4].top(), 1200);
    EXPECT_DOUBLE_EQ(f.ImgShiJuan[13].left(), 6090);
    EXPECT_DOUBLE_EQ(f.ImgShiJuan[13].top(), 6600);
    EXPECT_DOUBLE_EQ(f.width(), 12000);
    EXPECT_DOUBLE_EQ(f.height(), 9000);
    for (int i : {8, 10, 12, 2}) EXPECT_DOUBLE_EQ(f.imgReg[i].left(), 8100) << i;
    for (int i : {3, 9, 11, 13, 15}) EXPECT_DOUBLE_EQ(f.imgReg[i].left(), 9990) << i;
    EXPECT_DOUBLE_EQ(f.imgReg[4].left(), 540);

    // Start page: no panel, the updater button shown, the option ticked
    // (and written again unchanged).
    for (auto* p : {&f.PicTiKu, &f.PicKaCH, &f.PicBiaoZhi, &f.PicReg, &f.PicPro}) EXPECT_FALSE(p->visible());
    EXPECT_TRUE(f.CmdReg[3].visible());
    EXPECT_EQ(f.Check1.value(), 1);
    EXPECT_EQ(raw(config().programFile("updata.txt")), "1\r\n");
}

TEST_F(CoverFixture, OverlongScoreHistoryLineIsShownCut) {
    testsupport::Driver d;
    writeBank({2}, 2);
    const QString huge(1024 * 1024, u'9');  // far past the cut
    write(session::scoreHistoryFile(), {huge, "85", "", "2024-03-02 10:00:00", huge});
    FrmFengmian& f = cover::frmFengmian()();
    const QString head = u8("最后考试时间 ");
    // Compared whole, not printed: a failure would print megabytes.
    EXPECT_EQ(f.LblKSInFo[0].caption().size(), MaxShownText);
    EXPECT_TRUE(f.LblKSInFo[0].caption() == shownText(head + huge));
    EXPECT_EQ(f.LblKSInFo[1].caption().size(), MaxShownText);
    EXPECT_TRUE(f.LblKSInFo[1].caption() == shownText(head + "2024-03-02 10:00:00" + u8("  最好成绩 ") + huge));
}

TEST_F(CoverFixture, MissingRecordsAndScaledLayout) {
    testsupport::Driver d;
    writeBank({2}, 1);
    pf->screenInfo.twipsPerPixelX = 12;
    pf->screenInfo.twipsPerPixelY = 18;
    FrmFengmian& f = cover::frmFengmian()();
    EXPECT_DOUBLE_EQ(config().ScaleX, 0.8);
    EXPECT_DOUBLE_EQ(config().ScaleY, 1.2);
    EXPECT_EQ(f.caption(), u8("Norvane职称计算机考试——字处理模块  题库版本："));
    EXPECT_EQ(f.LblCaption.caption(), u8("V1.0.0──字处理模块(题库版本：)"));
    EXPECT_EQ(core::session().ImeSimEnabled, 0);
    EXPECT_EQ(f.Check1.value(), 0);
    EXPECT_FALSE(QFile::exists(config().programFile("updata.txt")));
    // Column pitch follows ScaleY, margins and offsets ScaleX.
    EXPECT_DOUBLE_EQ(f.ImgUnit[1].left(), 384 + 4464);
    EXPECT_DOUBLE_EQ(f.LblJinRuXX[1].left(), f.ImgUnit[1].left() + 1635 * 0.8);
    EXPECT_DOUBLE_EQ(f.width(), 9600);
    EXPECT_DOUBLE_EQ(f.height(), 10800);
}

// ------------------------------------------------------------ flagged panel

TEST_F(CoverFixture, FlaggedPages) {
    testsupport::Driver d;
    writeBank({40, 3, 3, 5, 3, 3, 3, 3, 3, 12});
    writeFlagged(codes(19));
    FrmFengmian& f = cover::frmFengmian()();
    const double H = 360;

    // Page 1: 18 rows, row 1 selected.
    EXPECT_EQ(f.FlaggedPage, 1);
    EXPECT_EQ(f.FlaggedRow, 1);
    EXPECT_EQ(core::session().QuestionCount, 18);
    EXPECT_TRUE(f.LblXiaoSave[18].visible());
    EXPECT_EQ(f.LblXiaoSave[1].caption(), u8(" 1   0101    题目 0-1"));
    EXPECT_EQ(f.LblXiaoSave[12].caption(), u8("12   0112    题目 0-12"));
    EXPECT_EQ(f.LblSaveCAP[0].caption(), u8("题目 0-1"));
    EXPECT_DOUBLE_EQ(f.FramSave.height(), 18 * H);

    // Page 2: one row, the rest hidden, the rule right under the row.
    int16_t p = 2;
    f.InitSave(p);
    EXPECT_EQ(f.FlaggedPage, 2);
    EXPECT_EQ(core::session().QuestionCount, 1);
    EXPECT_EQ(core::session().QuestionId[1], 19);
    EXPECT_TRUE(f.LblSCmd[1].visible());
    for (int i = 2; i <= 18; ++i) EXPECT_FALSE(f.LblSCmd[i].visible() || f.LblXiaoSave[i].visible()) << i;
    EXPECT_DOUBLE_EQ(f.FramSave.height(), H);
    EXPECT_DOUBLE_EQ(f.PicSave.height(), H);
    EXPECT_DOUBLE_EQ(f.LineSaveBottom[0].y1(), f.PicSave.top() + H + 30);
    EXPECT_DOUBLE_EQ(f.LineSaveBottom[1].y1(), f.PicSave.top() + H + 15);
    EXPECT_DOUBLE_EQ(f.LineSaveVS[0].y2(), H);

    // Page 5 of 3.
    writeFlagged(codes(40));
    p = 5;
    f.InitSave(p);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(f.FlaggedPage, 3);
    EXPECT_EQ(core::session().QuestionCount, 4);
    EXPECT_EQ(f.LblXiaoSave[4].caption(), u8(" 4   0140    题目 0-40"));

    // Display codes, a picture question's text, row selection by a click.
    write(session::unitQuestionListFile(9), {"090101" + u8("picture123456选中的文字设为 | 粗体"),
                                             "090201" + QString(90, 'x')});
    writeFlagged("030509000901" "12");  // a trailing fragment is not a row
    p = 1;
    f.InitSave(p);
    EXPECT_EQ(core::session().QuestionCount, 3);
    EXPECT_EQ(f.LblXiaoSave[1].caption(), u8(" 1   0405    题目 3-5"));
    // Code 0900 stands for the unit's last line in the bank.
    EXPECT_EQ(f.LblXiaoSave[2].caption(), " 2   1000    " + QString(79, 'x') + "...");
    EXPECT_EQ(f.LblXiaoSave[3].caption(), u8(" 3   1001    选中的文字设为 | 粗体"));
    EXPECT_FALSE(f.LblSCmd[4].visible());
    f.PicBiaoZhi.setVisible(true);
    d.click(f.LblXiaoSave[3]);
    EXPECT_EQ(f.FlaggedRow, 3);
    EXPECT_EQ(f.LblSaveCAP[0].caption(), u8("选中的文字设为 | 粗体"));
    EXPECT_DOUBLE_EQ(f.ImgSaveXiao.top(), f.LblSCmd[3].top());
    // A click on the row background selects the row and shows its whole text.
    d.click(f, f.LblSCmd[2].formX() + f.LblSCmd[2].width() - 30, f.LblSCmd[2].formY() + 100);
    EXPECT_EQ(f.FlaggedRow, 2);
    EXPECT_EQ(f.LblSaveCAP[0].caption(), QString(90, 'x'));
}

TEST_F(CoverFixture, FlaggedPanelLayoutFollowsEachScale) {
    testsupport::Driver d;
    writeBank({3});
    writeFlagged("00010002");
    pf->screenInfo.twipsPerPixelX = 12;  // ScaleX 0.8
    pf->screenInfo.twipsPerPixelY = 18;  // ScaleY 1.2
    FrmFengmian& f = cover::frmFengmian()();
    const double H = 432;  // 360 x ScaleY
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[0].left(), 288);
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[0].top(), 72);
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[0].width(), 9600 - 2 * 288);
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[0].height(), 666);
    EXPECT_DOUBLE_EQ(f.ImgSaveBiao.left(), 12);
    EXPECT_DOUBLE_EQ(f.ImgSaveBiao.top(), 792);
    EXPECT_DOUBLE_EQ(f.PicSave.top(), 792 + f.ImgSaveBiao.height() + 18);
    EXPECT_DOUBLE_EQ(f.PicSave.width(), 9600 - 48);
    EXPECT_DOUBLE_EQ(f.LblSCmd[2].top(), H);
    EXPECT_DOUBLE_EQ(f.LblSCmd[2].height(), H);
    EXPECT_EQ(f.LblSCmd[1].backColor(), 0xFFFFFFu);
    EXPECT_EQ(f.LblSCmd[2].backColor(), 0xECECECu);
    EXPECT_DOUBLE_EQ(f.LblXiaoSave[1].left(), 240);
    EXPECT_DOUBLE_EQ(f.LblXiaoSave[1].fontSize(), 12 * 0.8);
    EXPECT_DOUBLE_EQ(f.LblXiaoSave[2].top() + f.LblXiaoSave[2].height() / 2, H + H / 2);  // centred on its row
    EXPECT_DOUBLE_EQ(f.LineSaveVS[0].x1(), 504);
    EXPECT_DOUBLE_EQ(f.LineSaveVS[1].x1(), 1332);
    EXPECT_DOUBLE_EQ(f.LineSaveBottom[0].y1(), f.PicSave.top() + 2 * H + 36);
    EXPECT_DOUBLE_EQ(f.LineSaveBottom[1].y1(), f.PicSave.top() + 2 * H + 18);
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[1].top(), 2160);
    EXPECT_DOUBLE_EQ(f.LblSaveCAP[1].left(), (f.PicSave.width() - f.LblSaveCAP[1].width()) / 2);
}

TEST_F(CoverFixture, FlaggedEmptyOrMissing) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        testsupport::Driver d;
        writeBank({5});
        QFile::remove(session::flaggedListFile());
        if (variant == 1) write(session::flaggedListFile(), {"   "});
        if (variant == 2) write(session::flaggedListFile(), {});
        FrmFengmian& f = cover::frmFengmian()();
        EXPECT_EQ(f.FlaggedRow, -1);
        EXPECT_EQ(f.LblSaveCAP[0].caption(), u8("您还没有标识题目"));
        EXPECT_DOUBLE_EQ(f.PicSave.height(), 0);
        EXPECT_DOUBLE_EQ(f.LineSaveBottom[0].y1(), f.PicSave.top() + 30);
        // Opening the panel shows the empty state; the list commands are inert.
        d.click(f.LblKaCH);
        d.click(f.CmdReg[10]);
        ASSERT_TRUE(f.PicBiaoZhi.visible());
        for (int i : {4, 5, 6, 7, 8}) d.click(f.CmdReg[i]);
        EXPECT_EQ(f.FlaggedRow, -1);
        EXPECT_TRUE(calls.empty());
    }
}

TEST_F(CoverFixture, FlaggedCommands) {
    testsupport::Driver d;
    writeBank({40});
    writeFlagged(codes(40));
    FrmFengmian& f = cover::frmFengmian()();
    d.click(f.LblTiKu);
    d.click(f.CmdReg[12]);
    ASSERT_TRUE(f.PicBiaoZhi.visible());
    EXPECT_FALSE(f.PicTiKu.visible());

    // Previous on page 1: nothing, the selected row stays.
    d.click(f.LblXiaoSave[3]);
    d.click(f.CmdReg[4]);
    EXPECT_EQ(f.FlaggedPage, 1);
    EXPECT_EQ(f.FlaggedRow, 3);

    // Next twice, then next on the last page refills it with row 1.
    d.click(f.CmdReg[5]);
    d.click(f.CmdReg[5]);
    d.click(f.LblXiaoSave[2]);
    d.click(f.CmdReg[5]);
    EXPECT_EQ(f.FlaggedPage, 3);
    EXPECT_EQ(f.FlaggedRow, 1);

    // Removing row 5 of page 2 removes the 23rd code.
    d.click(f.CmdReg[4]);
    EXPECT_EQ(f.FlaggedPage, 2);
    d.click(f.LblXiaoSave[5]);
    d.click(f.CmdReg[6]);
    QString expected = codes(40);
    expected.remove(88, 4);
    EXPECT_EQ(session::readFlaggedList(), expected);
    EXPECT_EQ(f.FlaggedPage, 2);
    EXPECT_EQ(f.FlaggedRow, 1);
    EXPECT_EQ(f.LblXiaoSave[5].caption(), u8(" 5   0124    题目 0-24"));

    // The only code of the last page: the new last page is shown.
    d.click(f.CmdReg[5]);  // page 3: codes 37-39 of the 39 left
    writeFlagged(codes(37));
    int16_t p = 3;
    f.InitSave(p);
    ASSERT_EQ(core::session().QuestionCount, 1);
    d.click(f.CmdReg[6]);
    EXPECT_EQ(f.FlaggedPage, 2);
    EXPECT_EQ(core::session().QuestionCount, 18);

    // Remove all, answered No: file and panel untouched.
    const QByteArray before = raw(session::flaggedListFile());
    d.ui.expectMsgBox(u8("您确定将全部标识题目移除吗？"), MrNo);
    d.click(f.CmdReg[7]);
    EXPECT_EQ(raw(session::flaggedListFile()), before);
    EXPECT_EQ(f.FlaggedRow, 1);
    ASSERT_FALSE(d.ui.shown.empty());
    EXPECT_EQ(d.ui.shown.back().title, u8("移除全部标识题"));
    EXPECT_EQ(d.ui.shown.back().style, MbYesNo | MbQuestion);

    // Yes: one empty line, the empty state, the page number kept.
    d.ui.expectMsgBox(u8("您确定将全部标识题目移除吗？"), MrYes);
    d.click(f.CmdReg[7]);
    EXPECT_EQ(raw(session::flaggedListFile()), "\r\n");
    EXPECT_EQ(f.FlaggedRow, -1);
    EXPECT_EQ(f.FlaggedPage, 2);
    EXPECT_EQ(f.LblSaveCAP[0].caption(), u8("您还没有标识题目"));

    // Close.
    d.click(f.CmdReg[9]);
    for (auto* c : {&f.PicTiKu, &f.PicKaCH, &f.PicBiaoZhi, &f.PicReg, &f.PicPro}) EXPECT_FALSE(c->visible());
}

TEST_F(CoverFixture, PractisingAFlaggedPage) {
    testsupport::Driver d;
    writeBank({10, 10});
    writeFlagged("0101010201030104010501060107");
    FrmFengmian& f = cover::frmFengmian()();
    SessionState& s = core::session();
    s.QuestionResult[5] = "T";
    s.QuestionState[5] = 6;
    d.click(f.LblKaCH);
    d.click(f.CmdReg[10]);
    d.click(f.LblXiaoSave[5]);
    d.click(f.CmdReg[8]);
    ASSERT_EQ(calls, std::vector<QString>{"startLianXi"});
    EXPECT_EQ(s.RunMode, RunPractice);
    EXPECT_EQ(s.ListKind, ListFlagged);
    EXPECT_EQ(s.SetNo, 10);
    EXPECT_EQ(s.CurrentQuestion, 5);
    EXPECT_EQ(s.QuestionCount, 7);
    EXPECT_EQ(s.QuestionId[5], 105);
    EXPECT_EQ(s.QuestionState[5], 0);
    EXPECT_EQ(s.QuestionResult[5], "F");
    // The slot-19 files hold the page.
    auto list = readLines(session::questionListFile(19));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 7);
    EXPECT_TRUE(list->at(4).startsWith("010501"));
    auto script = readLines(session::stepScriptFile(19));
    ASSERT_TRUE(script);
    EXPECT_EQ(script->at(4), "STEP 1 5");
}

TEST_F(CoverFixture, UnreadablePageAndUnsavableList) {
    testsupport::Driver d;
    writeBank({10});
    // Stale slot-19 files from an earlier session must not give titles.
    write(session::questionListFile(19), {"000101OLD TITLE"});
    writeFlagged("00010302");  // unit 3 has no files
    FrmFengmian& f = cover::frmFengmian()();
    EXPECT_EQ(f.FlaggedRow, 1);
    EXPECT_FALSE(f.FlaggedPageReady);
    EXPECT_EQ(f.LblXiaoSave[1].caption(), " 1   0101    ");
    EXPECT_EQ(f.LblXiaoSave[2].caption(), " 2   0402    ");
    d.click(f.LblTiKu);
    d.click(f.CmdReg[12]);
    d.ui.expectMsgBox(u8("无法从题库中读取"), MrOk);
    d.click(f.CmdReg[8]);
    EXPECT_TRUE(calls.empty());

    // A list that cannot be rewritten: a message, the panel unchanged.
    writeFlagged("000100020003");
    int16_t p = 1;
    f.InitSave(p);
    QDir(config().recordsDir()).removeRecursively();
    QFile blocker(config().recordsDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    d.ui.expectMsgBox(u8("无法保存"), MrOk);
    d.click(f.CmdReg[6]);
    EXPECT_EQ(f.FlaggedRow, 1);
    EXPECT_EQ(core::session().QuestionCount, 3);
    EXPECT_TRUE(f.LblXiaoSave[3].visible());
    d.ui.expectMsgBox(u8("您确定将全部标识题目移除吗？"), MrYes);
    d.ui.expectMsgBox(u8("无法保存"), MrOk);
    d.click(f.CmdReg[7]);
    EXPECT_EQ(f.FlaggedRow, 1);
    EXPECT_TRUE(f.LblXiaoSave[3].visible());
    EXPECT_FALSE(d.ui.pending());
}

// ------------------------------------------------------- other commands

TEST_F(CoverFixture, UpdaterAndUpdateOption) {
    testsupport::Driver d;
    writeBank({3});
    FrmFengmian& f = cover::frmFengmian()();
    d.ui.expectMsgBox(u8("没有安装升级程序"), MrOk);
    d.click(f.CmdReg[3]);
    EXPECT_TRUE(pf->started.empty());
    QFile exe(config().programFile("updata.exe"));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();
    d.click(f.CmdReg[3]);
    ASSERT_EQ(pf->started.size(), 1u);
    EXPECT_EQ(pf->started[0].program, config().programFile("updata.exe"));

    // The option panel and its box; the caption does not toggle.
    d.click(f.CmdReg[2]);
    ASSERT_TRUE(f.PicReg.visible());
    d.click(f.Check1);
    EXPECT_EQ(raw(config().programFile("updata.txt")), "1\r\n");
    d.click(f.Label2);
    EXPECT_EQ(f.Check1.value(), 1);
    d.click(f.Check1);
    EXPECT_EQ(raw(config().programFile("updata.txt")), "0\r\n");
    d.click(f.CmdReg[15]);
    EXPECT_FALSE(f.PicReg.visible());
}

TEST_F(CoverFixture, AnUpdateOptionThatCannotBeWrittenIsReportedAndTheBoxKeepsTheStoredValue) {
    testsupport::Driver d;
    writeBank({3});
    const QString opt = config().programFile("updata.txt");
    // A folder where the option file should be: nothing can be written there.
    auto block = [&] {
        QFile::remove(opt);
        ASSERT_TRUE(QDir().mkpath(opt));
    };
    struct Case {
        const char* name;
        bool storedOn;  // "1" in the file when the cover loads, else unreadable
    } cases[] = {{"unreadable from the load", false}, {"stored on, blocked after the load", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(opt).removeRecursively();
        if (c.storedOn) write(opt, {"1"});
        else block();
        d.ui.shown.clear();
        FrmFengmian& f = cover::frmFengmian()();
        EXPECT_TRUE(d.ui.shown.empty()) << "the load reports nothing";
        EXPECT_EQ(f.Check1.value(), c.storedOn ? 1 : 0);
        if (c.storedOn) block();
        d.click(f.CmdReg[2]);
        for (int click = 0; click < 2; ++click) {
            d.ui.expectMsgBox(u8("练习记录未能保存，请检查程序文件夹是否可写。"), MrOk);
            d.click(f.Check1);
            EXPECT_FALSE(d.ui.pending());
            EXPECT_EQ(f.Check1.value(), c.storedOn ? 1 : 0);
        }
        ASSERT_EQ(d.ui.shown.size(), 2u);
        EXPECT_EQ(d.ui.shown[0].style, MbOkOnly | MbExclamation);
        EXPECT_EQ(d.ui.shown[0].title, config().AppTitle);
        // Once the file can be written, the next click keeps the choice.
        QDir(opt).removeRecursively();
        d.click(f.Check1);
        EXPECT_EQ(f.Check1.value(), c.storedOn ? 0 : 1);
        EXPECT_EQ(raw(opt), c.storedOn ? "0\r\n" : "1\r\n");
        f.unload();
    }
}

TEST_F(CoverFixture, RowStartersCallTheSessionStart) {
    testsupport::Driver d;
    writeBank({3, 3}, 2);
    FrmFengmian& f = cover::frmFengmian()();
    d.click(f.LblKaCH);
    d.click(f.LblStartKs[1]);
    d.click(f.LblErr[0]);
    d.click(f.CmdReg[11]);
    d.click(f.LblTiKu);
    d.click(f.LblJinRuXX[1]);
    d.click(f.LblUWrong[0]);
    EXPECT_EQ(calls, (std::vector<QString>{"paper 1", "paperWrong 0", "unit 1", "unitWrong 0"}));
}

// ------------------------------------------------ frame, faces and tabs

TEST_F(CoverFixture, TabsSwitchPanelsAndShowFaces) {
    testsupport::Driver d;
    writeBank({3}, 1);
    FrmFengmian& f = cover::frmFengmian()();
    auto faces = [&] {
        QString s;
        for (auto* c : {&f.ImgTiKu, &f.ImgTiKu1, &f.ImgTiKu2, &f.ImgKaCH, &f.ImgKaCH1, &f.ImgKaCH2})
            s += c->visible() ? "1" : "0";
        return s;
    };
    EXPECT_EQ(faces(), "100100");
    d.hover(f.LblTiKu);
    EXPECT_EQ(faces(), "010100");
    d.press(f, d.centreX(f.LblTiKu), d.centreY(f.LblTiKu));
    EXPECT_EQ(faces(), "001100");
    d.moveTo(f, d.centreX(f.LblTiKu) + 15, d.centreY(f.LblTiKu));  // still held: hover face again
    EXPECT_EQ(faces(), "010100");
    d.release(f, d.centreX(f.LblTiKu) + 15, d.centreY(f.LblTiKu));
    EXPECT_TRUE(f.PicTiKu.visible());
    d.click(f.CmdReg[13]);  // back to the start page, where the tabs are
    EXPECT_FALSE(f.PicTiKu.visible());
    d.hover(f.LblKaCH);
    EXPECT_EQ(faces(), "100010");
    d.hover(f, 300, 3000);  // bare surface
    EXPECT_EQ(faces(), "100100");

    // Paper tab.
    d.click(f.LblKaCH);
    EXPECT_TRUE(f.PicKaCH.visible());
    EXPECT_FALSE(f.PicTiKu.visible());
    EXPECT_EQ(faces(), "100001");
    d.click(f.CmdReg[11]);
    d.click(f.LblTiKu);
    EXPECT_TRUE(f.PicTiKu.visible());
    EXPECT_FALSE(f.PicKaCH.visible());
}

TEST_F(CoverFixture, CommandButtonFaces) {
    testsupport::Driver d;
    writeBank({3}, 1);
    FrmFengmian& f = cover::frmFengmian()();
    d.click(f.LblKaCH);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(face(f.imgReg[i]), kNormal) << i;

    d.hover(f.CmdReg[10]);
    EXPECT_EQ(face(f.imgReg[10]), kHover);
    d.press(f, d.centreX(f.CmdReg[10]), d.centreY(f.CmdReg[10]));
    EXPECT_EQ(face(f.imgReg[10]), kPressed);
    d.moveTo(f, d.centreX(f.CmdReg[10]) + 30, d.centreY(f.CmdReg[10]), 1);
    d.release(f, d.centreX(f.CmdReg[10]) + 30, d.centreY(f.CmdReg[10]));
    // The click opened the flagged panel (empty list); the face stays pressed.
    EXPECT_TRUE(f.PicBiaoZhi.visible());
    EXPECT_EQ(face(f.imgReg[10]), kPressed);
    f.PicBiaoZhi.setVisible(false);
    f.PicKaCH.setVisible(true);
    d.hover(f, d.centreX(f.CmdReg[10]) + 15, d.centreY(f.CmdReg[10]));
    EXPECT_EQ(face(f.imgReg[10]), kPressed);

    // Straight onto another button: never two hover faces.
    d.hover(f.CmdReg[11]);
    EXPECT_EQ(face(f.imgReg[10]), kNormal);
    EXPECT_EQ(face(f.imgReg[11]), kHover);
    EXPECT_EQ(f.HoverButton, 11);

    // A row of the panel runs no reset; the panel background does.
    d.hover(f.LblShiJuanNo[0]);
    EXPECT_EQ(face(f.imgReg[11]), kHover);
    f.LblPro[2].setForeColor(0);
    f.LblPro[2].setFontUnderline(true);
    d.hover(f, f.PicKaCH.left() + 100, f.PicKaCH.top() + f.PicKaCH.height() - 100);
    EXPECT_EQ(face(f.imgReg[11]), kNormal);
    EXPECT_EQ(f.HoverButton, -1);
    EXPECT_EQ(f.LblPro[2].foreColor(), 0x7C5C2Bu);
    EXPECT_FALSE(f.LblPro[2].fontUnderline());

    // A missing hover picture keeps the face it had.
    QFile::remove(config().DataDir + "l02111.rar");
    pictureStore().clear();
    d.hover(f.CmdReg[11]);
    EXPECT_EQ(face(f.imgReg[11]), kNormal);
}

TEST_F(CoverFixture, RowStartPictures) {
    testsupport::Driver d;
    writeBank({3, 3, 3, 3}, 4);
    FrmFengmian& f = cover::frmFengmian()();
    d.click(f.LblKaCH);
    d.hover(f.LblStartKs[3]);
    EXPECT_TRUE(f.ImgStartKsM.visible());
    EXPECT_DOUBLE_EQ(f.ImgStartKsM.left(), f.LblStartKs[3].left());
    EXPECT_DOUBLE_EQ(f.ImgStartKsM.top(), f.LblStartKs[3].top());
    EXPECT_DOUBLE_EQ(f.ImgStartKsM.width(), 1770);
    d.press(f, d.centreX(f.LblStartKs[3]), d.centreY(f.LblStartKs[3]), 2);
    EXPECT_TRUE(f.ImgStartKsD.visible());
    EXPECT_FALSE(f.ImgStartKsM.visible());
    d.release(f, d.centreX(f.LblStartKs[3]), d.centreY(f.LblStartKs[3]), 2);
    d.hover(f, f.PicKaCH.left() + 100, f.PicKaCH.top() + f.PicKaCH.height() - 100);
    EXPECT_FALSE(f.ImgStartKsD.visible() || f.ImgStartKsM.visible());

    f.PicKaCH.setVisible(false);
    d.click(f.LblTiKu);
    d.hover(f.LblJinRuXX[2]);
    EXPECT_TRUE(f.ImgJinRuXXM.visible());
    EXPECT_DOUBLE_EQ(f.ImgJinRuXXM.left(), f.LblJinRuXX[2].left());
    d.hover(f, f.PicTiKu.left() + 100, f.PicTiKu.top() + f.PicTiKu.height() - 100);
    EXPECT_FALSE(f.ImgJinRuXXM.visible());
}

TEST_F(CoverFixture, DragOnlyByBareSurfaceAndCaption) {
    testsupport::Driver d;
    writeBank({3}, 1);
    FrmFengmian& f = cover::frmFengmian()();
    d.press(f, 300, 3000, 2);  // right button: nothing
    d.release(f, 300, 3000, 2);
    EXPECT_TRUE(calls.empty());
    d.press(f, 300, 3000);
    d.release(f, 300, 3000);
    d.press(f, d.centreX(f.LblCaption), d.centreY(f.LblCaption));
    d.release(f, d.centreX(f.LblCaption), d.centreY(f.LblCaption));
    EXPECT_EQ(calls, (std::vector<QString>{"move FrmFengmian", "move FrmFengmian"}));
    calls.clear();
    for (Control* c : {&f.LblKmMc, &f.LblTiKu, &f.CmdReg[2], &f.LblPro[1]}) {
        d.press(f, d.centreX(*c), d.centreY(*c));
        d.release(f, d.centreX(*c) + 2000, d.centreY(*c));  // no click: released outside
    }
    d.click(f.LblKaCH);
    d.press(f, f.PicKaCH.left() + 100, f.PicKaCH.top() + f.PicKaCH.height() - 100);
    EXPECT_TRUE(calls.empty());
}

TEST_F(CoverFixture, CloseButtonAndQuitQuestion) {
    testsupport::Driver d;
    writeBank({3}, 1);
    FrmFengmian& f = cover::frmFengmian()();
    d.hover(f.LblClose);
    EXPECT_TRUE(f.ImgClose.visible());
    EXPECT_DOUBLE_EQ(f.LblClose.left(), 11250);
    EXPECT_DOUBLE_EQ(f.LblClose.width(), 720);

    // With the information panel shown, the first click only hides it.
    f.PicPro.setVisible(true);
    d.click(f.LblClose);
    EXPECT_FALSE(f.PicPro.visible());
    EXPECT_TRUE(d.ui.shown.empty());

    d.ui.expectMsgBox(u8("确实要退出考试系统吗？"), MrNo);
    d.click(f.LblClose);
    ASSERT_EQ(d.ui.shown.size(), 1u);
    EXPECT_EQ(d.ui.shown[0].title, u8("Tesmar软件"));
    EXPECT_EQ(d.ui.shown[0].style, MbYesNo | MbQuestion | MbDefaultButton2);
    EXPECT_FALSE(f.ImgClose.visible());
    EXPECT_EQ(exitCode, -1);

    d.ui.expectMsgBox(u8("确实要退出考试系统吗？"), MrYes);
    d.click(f.LblClose);
    EXPECT_EQ(exitCode, 0);
}

TEST_F(CoverFixture, ShowCoverLoadsAfreshAfterAnUnload) {
    testsupport::Driver d;
    writeBank({3}, 1);
    cover::registerCover();
    windows().showCover();
    ASSERT_TRUE(cover::frmFengmian().loaded());
    FrmFengmian& f = cover::frmFengmian()();
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(f.FlaggedRow, -1);
    writeFlagged("0001");
    f.unload();
    windows().showCover();
    EXPECT_EQ(cover::frmFengmian()().FlaggedRow, 1);
    EXPECT_TRUE(cover::frmFengmian()().visible());
}
