#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "core/platform.h"
#include "core/pictures.h"
#include "core/registry.h"
#include "core/state.h"
#include "core/text.h"
#include "core/windows.h"
#include "cover/frm_about.h"
#include "cover/frm_fengmian.h"
#include "cover/sibling_modules.h"
#include "session/bank.h"
#include "support/driver.h"

using namespace core;
using cover::FrmFengmian;

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

const QString kStars72(72, u'*');
const QString kStars36(36, u'*');

struct InfoFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<FakePlatform> pf = std::make_shared<FakePlatform>();
    std::shared_ptr<MemoryRegistryStore> reg = std::make_shared<MemoryRegistryStore>();

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        resetSharedState();
        pictureStore().clear();
        pf->folder = dir.path();
        setPlatform(pf);
        setRegistryStore(reg);
        ModuleConfig& c = config();
        c.ProgramDir = dir.path();
        c.ExeName = "examsim";
        c.DataDir = dir.path() + "/data/";
        c.ModuleName = u8("字处理");
        c.ModuleTitle = u8("Word 2003 字处理");
        c.AppTitle = u8("Norvane职称计算机考试 字处理模块");
        QDir().mkpath(c.DataDir);
        QDir().mkpath(c.recordsDir());
        ASSERT_TRUE(writeLines(session::paperCatalogFile(), {"0101", "03"}));
        // Page p is p pixels wide.
        for (int p = 1; p <= 17; ++p) {
            QImage img(p, 3, QImage::Format_RGB32);
            img.fill(Qt::blue);
            ASSERT_TRUE(img.save(c.DataDir + QString("9l00%1.rar").arg(p, 2, 10, QLatin1Char('0')), "BMP"));
        }
    }
    void TearDown() override {
        unloadAllForms();
        setPlatform(nullptr);
        setRegistryStore(nullptr);
        windows() = Windows{};
        pictureStore().clear();
    }

    void setReg(const QString& name, const QString& text) {
        RegEntry e;
        e.type = REG_SZ;
        e.data = toGbk(text) + '\0';
        ASSERT_EQ(reg->setValue("Software\\Microsoft", name, e), RegOk);
    }
    // Registers module NN the way a module does on its first run.
    void registerModule(int nn, const QString& folder, const QString& exe) {
        setReg("ProPath" + padDigits(nn, 2), folder + kStars72);
        setReg("ProName" + padDigits(nn, 2), exe + kStars36);
    }

    FrmFengmian& cover() { return cover::frmFengmian()(); }
    static int pageShown(const Control& c) { return c.picture().widthPixels(); }
    static bool rowsShown(FrmFengmian& f) {
        bool all = true, none = true;
        for (int i = 0; i < 19; ++i) {
            const bool v = f.LblKmLj[i].visible() && f.ShapeKm[i].visible();
            all = all && v;
            none = none && !f.LblKmLj[i].visible() && !f.ShapeKm[i].visible();
        }
        EXPECT_TRUE(all || none) << "some launcher rows shown, others not";
        return all;
    }
};

} // namespace

TEST(SiblingTable, NineteenRowsWithThreePairs) {
    const auto& t = cover::SiblingModuleTable();
    ASSERT_EQ(t.size(), 19u);
    for (int i = 0; i < 19; ++i) {
        const int partner = cover::pairPartner(i);
        int sameNumber = 0;
        for (int j = 0; j < 19; ++j)
            if (j != i && t[j].number == t[i].number) ++sameNumber;
        EXPECT_EQ(sameNumber, partner >= 0 ? 1 : 0) << i;
        EXPECT_EQ(QString(t[i].downloadId).size(), 2) << i;
        if (partner < 0) continue;
        EXPECT_EQ(t[partner].number, t[i].number);
        const QString a = t[i].shortName, b = t[partner].shortName;
        EXPECT_FALSE(a.isEmpty());
        EXPECT_EQ(a, a.toLower());
        EXPECT_EQ(a.size(), b.size());
        EXPECT_NE(a, b);
    }
    // This module's own number is among the rows.
    bool own = false;
    for (const auto& m : t) own = own || m.number == 3;
    EXPECT_TRUE(own);
}

TEST(SiblingTable, LaunchTargetAppendsExeUnlessItEndsInExactlyExe) {
    struct Case { const char* target; const char* launched; } cases[] = {
        {"C:\\Tesmar\\wd\\wdks", "C:\\Tesmar\\wd\\wdks.exe"},
        {"C:\\Tesmar\\wd\\wdks.exe", "C:\\Tesmar\\wd\\wdks.exe"},
        {"C:\\Tesmar\\wd\\WDKS.EXE", "C:\\Tesmar\\wd\\WDKS.EXE.exe"},
        {"/opt/tesmar/wd\\wdks", "/opt/tesmar/wd\\wdks.exe"},
        {"", ".exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(cover::launchTarget(c.target), QString(c.launched)) << c.target;
}

TEST_F(InfoFixture, DetectionReadsTheRegistryValuesOfEveryRow) {
    // Row 0: module 01; rows 2/3 share module 05 ("xls03"/"xls07").
    struct Case {
        const char* name;
        std::function<void(InfoFixture&)> values;
        bool row0, row2, row3;
        QString target0, target2, target3;
    };
    const QString id0 = "01", id2 = "05", id3 = "06";
    const Case cases[] = {
        {"nothing registered", [](InfoFixture&) {}, false, false, false, id0, id2, id3},
        {"as a module writes them",
         [](InfoFixture& f) { f.registerModule(1, "/opt/os", "osks"); }, true, false, false, "/opt/os\\osks", id2, id3},
        {"blank path", [](InfoFixture& f) {
             f.setReg("ProPath01", "   ");
             f.setReg("ProName01", "osks" + kStars36);
         }, false, false, false, id0, id2, id3},
        {"value without stars", [](InfoFixture& f) {
             f.setReg("ProPath01", "/opt/os");
             f.setReg("ProName01", "osks");
         }, true, false, false, "/opt/os\\osks", id2, id3},
        {"trailing blanks before the stars", [](InfoFixture& f) {
             f.setReg("ProPath01", "/opt/os  " + kStars72);
             f.setReg("ProName01", "osks" + kStars36);
         }, true, false, false, "/opt/os  \\osks", id2, id3},
        {"missing program name", [](InfoFixture& f) { f.setReg("ProPath01", "/opt/os" + kStars72); }, false, false,
         false, id0, id2, id3},
        {"pair: the partner's name in upper case",
         [](InfoFixture& f) { f.registerModule(5, "/opt/xls", "XLS07ks"); }, false, false, true, id0, id2,
         "/opt/xls\\XLS07ks"},
        {"pair: the other partner's name",
         [](InfoFixture& f) { f.registerModule(5, "/opt/xls", "xls03ks"); }, false, true, false, id0,
         "/opt/xls\\xls03ks", id3},
        {"pair: neither name", [](InfoFixture& f) { f.registerModule(5, "/opt/xls", "sheet"); }, false, true, true,
         id0, "/opt/xls\\sheet", "/opt/xls\\sheet"},
        {"pair: empty path", [](InfoFixture& f) {
             f.setReg("ProPath05", "");
             f.setReg("ProName05", "sheet" + kStars36);
         }, false, false, false, id0, id2, id3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reg = std::make_shared<MemoryRegistryStore>();
        setRegistryStore(reg);
        c.values(*this);
        FrmFengmian& f = cover();
        const uint32_t on = 255, off = 0xC0C0C0;
        EXPECT_EQ(f.ShapeKm[0].borderColor(), c.row0 ? on : off);
        EXPECT_EQ(f.ShapeKm[2].borderColor(), c.row2 ? on : off);
        EXPECT_EQ(f.ShapeKm[3].borderColor(), c.row3 ? on : off);
        EXPECT_EQ(f.ModuleTargets[0], c.target0);
        EXPECT_EQ(f.ModuleTargets[2], c.target2);
        EXPECT_EQ(f.ModuleTargets[3], c.target3);
        for (int i = 8; i < 19; ++i) EXPECT_EQ(f.ShapeKm[i].borderColor(), off) << i;
        f.unload();
    }
}

TEST_F(InfoFixture, LauncherRowsStartTheProgramOrOpenTheDownloadPage) {
    testsupport::Driver d;
    // Module 01 installed with its program; module 11 (row 8) registered
    // but its program is gone.
    const QString folder = dir.path() + "/os";
    QDir().mkpath(folder);
    QFile exe(folder + "/osks.exe");
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();
    registerModule(1, folder, "osks");
    registerModule(11, dir.path() + "/gone", "netks");
    // A program without the extension, as on Linux (row 9, module 12).
    QFile bare(dir.path() + "/cad");
    ASSERT_TRUE(bare.open(QIODevice::WriteOnly));
    bare.close();
    bare.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    registerModule(12, dir.path(), "cad");

    FrmFengmian& f = cover();
    d.click(f.LblPro[4]);
    ASSERT_TRUE(f.PicPro.visible());

    d.click(f.LblKmLj[0]);
    ASSERT_EQ(pf->started.size(), 1u);
    EXPECT_EQ(pf->started[0].program, folder + "/osks.exe");
    d.click(f.LblKmLj[9]);
    ASSERT_EQ(pf->started.size(), 2u);
    EXPECT_EQ(pf->started[1].program, dir.path() + "/cad");

    d.ui.expectMsgBox(dir.path() + "/gone/netks.exe", MrOk);
    d.click(f.LblKmLj[8]);
    EXPECT_EQ(pf->started.size(), 2u);

    // Not installed: the download page with the row's id; nothing changes.
    d.click(f.LblKmLj[2]);
    EXPECT_EQ(pf->openedUrls, QStringList({cover::downloadPage("05")}));
    EXPECT_TRUE(cover::downloadPage("05").endsWith("down.asp?id=05"));
    EXPECT_EQ(f.ShapeKm[2].borderColor(), 0xC0C0C0u);
    EXPECT_EQ(pageShown(f.PicPro), 17);

    // A program that the system refuses to start names its path too.
    pf->startResult = false;
    d.ui.expectMsgBox(folder + "/osks.exe", MrOk);
    d.click(f.LblKmLj[0]);
}

TEST_F(InfoFixture, InfoMenuOpensEachSectionAtItsFirstPage) {
    testsupport::Driver d;
    FrmFengmian& f = cover();
    EXPECT_FALSE(f.PicPro.visible());
    EXPECT_EQ(f.InfoPage, 0);
    // The about label of the start page opens the box too.
    d.ui.expectModal("FrmAbout");
    d.click(f.LblAbout);
    struct Case { int entry; int page; bool rows; };
    for (const Case c : {Case{1, 1, false}, Case{2, 9, false}, Case{3, 13, false}, Case{4, 17, true}, Case{1, 1, false}}) {
        f.PicTiKu.setVisible(true);
        d.click(f.LblPro[c.entry]);
        EXPECT_EQ(f.InfoPage, c.page);
        EXPECT_EQ(pageShown(f.PicPro), c.page);
        EXPECT_TRUE(f.PicPro.visible());
        for (Control* p : {&f.PicTiKu, &f.PicReg, &f.PicKaCH, &f.PicBiaoZhi}) EXPECT_FALSE(p->visible());
        EXPECT_EQ(rowsShown(f), c.rows) << c.entry;
    }

    // Entry 0 opens the about box; the panel and the page stay.
    d.click(f.LblNext);
    ASSERT_EQ(f.InfoPage, 2);
    d.ui.expectModal("FrmAbout");
    d.click(f.LblPro[0]);
    EXPECT_EQ(f.InfoPage, 2);
    EXPECT_TRUE(f.PicPro.visible());
    EXPECT_FALSE(cover::frmAbout().loaded());
}

TEST_F(InfoFixture, PagingRunsThroughTheSectionsAndClosesAtBothEnds) {
    testsupport::Driver d;
    FrmFengmian& f = cover();
    d.click(f.LblPro[1]);
    for (int p = 2; p <= 17; ++p) {
        d.click(f.LblNext);
        EXPECT_EQ(pageShown(f.PicPro), p);
        EXPECT_EQ(rowsShown(f), p == 17) << p;
    }
    d.click(f.LblLast);
    EXPECT_EQ(f.InfoPage, 16);
    EXPECT_FALSE(rowsShown(f));
    d.click(f.LblNext);

    // At the last page: the message, the panel closes, the page stays.
    d.ui.expectMsgBox(u8("已经到最后一页"), MrOk);
    d.click(f.LblNext);
    EXPECT_FALSE(f.PicPro.visible());
    EXPECT_EQ(f.InfoPage, 17);
    EXPECT_EQ(d.ui.shown.back().title, config().AppTitle);

    // The next menu click starts at the entry's first page.
    d.click(f.LblPro[3]);
    EXPECT_EQ(f.InfoPage, 13);
    d.click(f.LblPro[1]);
    d.ui.expectMsgBox(u8("已经到第一页"), MrOk);
    d.click(f.LblLast);
    EXPECT_FALSE(f.PicPro.visible());
    EXPECT_EQ(f.InfoPage, 1);
    d.click(f.LblPro[2]);
    EXPECT_EQ(f.InfoPage, 9);

    // A missing page leaves the panel empty; paging goes on.
    QFile::remove(config().DataDir + "9l0010.rar");
    pictureStore().clear();
    d.click(f.LblNext);
    EXPECT_TRUE(f.PicPro.picture().isNull());
    d.click(f.LblNext);
    EXPECT_EQ(pageShown(f.PicPro), 11);
}

TEST_F(InfoFixture, InfoMenuColoursOnHoverAndPress) {
    testsupport::Driver d;
    FrmFengmian& f = cover();
    const uint32_t plain = 0x7C5C2B;
    d.hover(f.LblPro[2]);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(f.LblPro[i].foreColor(), i == 2 ? 0u : plain) << i;
        EXPECT_EQ(f.LblPro[i].fontUnderline(), i == 2) << i;
    }
    d.press(f, testsupport::Driver::centreX(f.LblPro[3]), testsupport::Driver::centreY(f.LblPro[3]), 2);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(f.LblPro[i].foreColor(), i == 3 ? 0xFFFFFFu : plain) << i;
        EXPECT_FALSE(f.LblPro[i].fontUnderline()) << i;
    }
}

TEST_F(InfoFixture, LinksOpenTheVendorsAddresses) {
    testsupport::Driver d;
    FrmFengmian& f = cover();
    for (Control* c : {&f.LblWeb1, &f.LblWeb2, &f.LblQQ1, &f.LblQQ2}) d.click(*c);
    EXPECT_EQ(pf->openedUrls, QStringList({cover::kVendorSite1, cover::kVendorSite2, cover::kServiceChatPage,
                                           cover::kMessengerLink}));
    // A failed open shows nothing.
    pf->openResult = false;
    d.click(f.LblWeb1);
}

TEST_F(InfoFixture, AboutBoxTextsAndClicks) {
    testsupport::Driver d;
    cover();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        d.ui.expectModal("FrmAbout", [&](Form& form) {
            auto& a = static_cast<cover::FrmAbout&>(form);
            EXPECT_DOUBLE_EQ(a.scaleWidth(), 6780);
            EXPECT_DOUBLE_EQ(a.scaleHeight(), 4365);
            EXPECT_EQ(a.caption(), config().AppTitle);
            EXPECT_EQ(a.Label1(1).caption(), config().AppTitle + "\r\n\r\n── " + config().ModuleTitle);
            EXPECT_EQ(a.Label1(2).caption(), a.Label1(1).caption());
            EXPECT_DOUBLE_EQ(a.Label1(2).left() + 15, a.Label1(1).left());
            EXPECT_EQ(a.Label1(0).caption(), u8("软件版本: V1.0.0"));
            EXPECT_EQ(a.Label1(3).caption(), u8("系统工作目录: ") + dir.path());
            EXPECT_EQ(a.Label1(3).toolTipText(), dir.path());
            EXPECT_DOUBLE_EQ(a.Label1(3).width(), 5580);

            // Labels and the icon keep the box open.
            for (Control* c : {&a.Image1, &a.Label1(0), &a.Label1(1), &a.Label1(4), &a.Label1(6)}) {
                d.click(*c);
                ASSERT_TRUE(cover::frmAbout().loaded()) << c->name().toStdString() << c->index();
            }
            // The folder line: folder and shortcut, twice.
            d.click(a.Label1(3));
            d.click(a.Label1(3));
            ASSERT_TRUE(cover::frmAbout().loaded());
            EXPECT_EQ(pf->openedFolders, QStringList({dir.path(), dir.path()}));
            ASSERT_EQ(pf->shortcuts.size(), 2u);
            EXPECT_EQ(pf->shortcuts[0].name, u8("字处理模块"));
            EXPECT_EQ(pf->shortcuts[0].target, dir.path() + "/examsim");
            EXPECT_EQ(pf->shortcuts[0].workingDir, dir.path());
            EXPECT_TRUE(pf->shortcuts[0].environment.isEmpty()) << "the program in its own folder needs nothing";
            pf->openedFolders.clear();
            pf->shortcuts.clear();
            // A separator line or the bare surface closes it (by round).
            if (round == 0) d.click(a, 3000, 1905 + 5);
            else d.click(a, 6600, 200);
            EXPECT_FALSE(cover::frmAbout().loaded());
        });
        d.click(cover().LblAbout);
    }
    d.ui.expectModal("FrmAbout", [&](Form& form) { d.click(static_cast<cover::FrmAbout&>(form).Command1); });
    d.click(cover().LblAbout);
    EXPECT_FALSE(cover::frmAbout().loaded());
}

TEST(DesktopEntry, WritesTheLauncherFileExactly) {
    QTemporaryDir tmp;
    const QString desk = tmp.path() + "/Desktop";
    ASSERT_TRUE(QDir().mkpath(desk));
    const QString name = u8("字处理/A\t模块");
    ASSERT_TRUE(writeDesktopEntry(desk, name, "/opt/exam sim/examsim", "/opt/exam sim"));
    const QString file = desk + u8("/字处理_A_模块.desktop");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), u8("[Desktop Entry]\nType=Application\nName=字处理/A\\t模块\n"
                                                 "Exec=\"/opt/exam sim/examsim\"\nPath=/opt/exam sim\n"));
    f.close();
    EXPECT_EQ(QFile::permissions(file) & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser |
                  QFile::ExeUser | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    // Written again over the old one.
    ASSERT_TRUE(writeDesktopEntry(desk, name, "/opt/other", "/opt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains("Exec=\"/opt/other\""));
    // No desktop folder: nothing written.
    EXPECT_FALSE(writeDesktopEntry(tmp.path() + "/none", name, "/x", "/"));
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/none"));
}
