// Format checks of the generated sample module (settings, bank, pictures).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "context_menu/context_menu_file.h"
#include "core/text.h"
#include "engine/step_record.h"
#include "engine/tab_layout.h"
#include "e2e/module_fixture.h"

namespace {

using e2e::sampleDir;

// Reading rule of the settings file: six-digit groups, 200000 + code of a
// single-byte character, 500000 + code of a double-byte one.
QString decodeSetting(const QString& line) {
    QByteArray bytes;
    for (int i = 0; i < line.size(); i += 6) {
        const long v = core::roundHalfEven(core::leadingNumber(line.mid(i, 6)));
        if (v == 0) continue;
        const long code = v <= 500000 ? v - 200000 : v - 500000;
        if (code <= 0) continue;
        if (code > 255) bytes.append(char(code / 256));
        bytes.append(char(code % 256));
    }
    return core::fromGbk(bytes);
}

QStringList lines(const QString& path) {
    auto l = core::readLines(path);
    return l ? *l : QStringList();
}

bool isBranch(QChar c) { return c == u'0' || (c >= u'1' && c <= u'9') || (c >= u'A' && c <= u'Z'); }
int branchStep(QChar c) { return c.isDigit() ? c.digitValue() : c.unicode() - u'A' + 10; }

class SampleModule : public e2e::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        if (HasFatalFailure()) return;
        settings.clear();
        for (const QString& l : lines(root() + "/ver.txt")) settings << decodeSetting(l);
        ASSERT_GE(settings.size(), 3);
        data = root() + "/" + settings[2] + "/";
    }

    QString file(const QString& name) const { return data + name + ".rar"; }

    // Loads a bank picture by content; returns its format ("" when broken).
    QByteArray loadPicture(const QString& name, QSize* size = nullptr) const {
        QImageReader r(file(name));
        r.setDecideFormatFromContent(true);
        const QByteArray format = r.format();
        const QImage img = r.read();
        if (img.isNull()) return {};
        if (size) *size = img.size();
        return format;
    }

    QString data;
    QStringList settings;
};

TEST_F(SampleModule, SettingsDecodeToModuleNameFolderNumberAndUnitTitles) {
    ASSERT_EQ(settings.size(), 25);
    EXPECT_EQ(settings[0], QStringLiteral("字处理"));
    EXPECT_FALSE(settings[1].trimmed().isEmpty());
    EXPECT_TRUE(QDir(data).exists());
    EXPECT_GT(core::val16(settings[3]), 0);
    for (int i = 4; i < 25; ++i) EXPECT_FALSE(settings[i].isEmpty()) << "unit title " << i - 4;
    // every line of the file is made of six-digit groups only
    for (const QString& l : lines(root() + "/ver.txt")) {
        EXPECT_EQ(l.size() % 6, 0);
        for (QChar c : l) EXPECT_TRUE(c.isDigit());
    }
}

TEST_F(SampleModule, FreshInstallFilesAndFixedPictures) {
    EXPECT_EQ(core::readFirstLine(file("288892")).value_or("?"), "0");
    EXPECT_FALSE(QFile::exists(file("288897"))) << "a fresh install has no launch counter";
    EXPECT_EQ(core::readFirstLine(root() + "/updata.txt").value_or("?"), "0");
    EXPECT_FALSE(core::readFirstLine(file("288895")).value_or("").isEmpty());
    EXPECT_TRUE(QDir(sampleDir() + "/ksdata").exists());
    const struct { const char* name; QSize size; } fixed[] = {
        {"9l0059", {440, 99}}, {"l62009", {116, 23}}, {"310001", {800, 600}},
        {"9l0056", {800, 600}}, {"9l0057", {800, 600}}, {"9l0058", {800, 600}}};
    for (const auto& f : fixed) {
        QSize s;
        EXPECT_FALSE(loadPicture(f.name, &s).isEmpty()) << f.name;
        EXPECT_EQ(s, f.size) << f.name;
    }
}

TEST_F(SampleModule, InformationPagesFillThePanelAndDrawTheirButtons) {
    // Centres of the back and forward areas and of the help text strip.
    const QPoint back(542, 524), next(681, 524), strip(200, 516);
    for (int p = 1; p <= 17; ++p) {
        SCOPED_TRACE(p);
        QImageReader r(file(QString("9l00%1").arg(p, 2, 10, QLatin1Char('0'))));
        r.setDecideFormatFromContent(true);
        const QImage img = r.read();
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.size(), QSize(798, 545));
        for (QPoint b : {back, next}) {
            const QColor c = img.pixelColor(b.x() - 40, b.y() + 10);
            EXPECT_GT(c.blue(), c.red() + 40) << "no button under the hot area";
        }
        const QColor c = img.pixelColor(strip);
        EXPECT_GT(c.lightness(), 240) << "the help strip is not plain";
    }
}

TEST_F(SampleModule, BankIsConsistent) {
    const QStringList catalogue = lines(file("288891"));
    ASSERT_GE(catalogue.size(), 3);
    const int papers = core::val16(core::mid(catalogue[0], 1, 2));
    const int units = core::val16(core::mid(catalogue[0], 3, 2));
    ASSERT_GE(papers, 2);  // scores and histories of two papers kept apart
    ASSERT_GE(units, 4);
    ASSERT_EQ(catalogue[1].size(), units * 2);
    ASSERT_EQ(catalogue.size(), 2 + papers);

    const QStringList table = lines(file("288890"));
    ASSERT_FALSE(table.isEmpty());
    for (const QString& t : table) EXPECT_GT(t.size(), 3) << qPrintable(t);

    QSet<QString> pictures;
    QSet<QString> codes;
    QSet<QString> actions;
    QSet<int> keySlotColumns;
    QSet<QString> menuShortcuts;
    int overlayBranches = 0;
    for (int u = 0; u < units; ++u) {
        const int count = core::val16(core::mid(catalogue[1], u * 2 + 1, 2));
        EXPECT_GE(count, 10) << "unit " << u;
        const QStringList list = lines(file("2888" + core::padDigits(70 + u, 2)));
        const QStringList script = lines(file("2888" + core::padDigits(20 + u, 2)));
        ASSERT_EQ(list.size(), count) << "unit " << u;
        int at = 0;
        for (int q = 0; q < count; ++q) {
            const QString& line = list[q];
            const QString code = core::padDigits(u * 100 + q + 1, 4);
            ASSERT_EQ(core::left(line, 4), code);
            codes.insert(code);
            const int steps = core::val16(core::mid(line, 5, 2));
            ASSERT_GE(steps, 2) << qPrintable(code);
            ASSERT_LE(at + steps, script.size()) << qPrintable(code);
            QString text = core::mid(line, 7);
            EXPECT_FALSE(text.isEmpty());
            if (text.startsWith("picture")) {
                pictures.insert(core::mid(text, 8, 6));
            }
            for (int s = 0; s < steps; ++s) {
                const QString& r = script[at + s];
                SCOPED_TRACE(qPrintable(code + " step " + QString::number(s + 1)));
                ASSERT_EQ(r.size(), 212);
                const QString action = core::mid(r, 8, 4);
                actions.insert(action);
                for (int col : {86, 91, 96})
                    if (core::mid(r, col, 2) == "P6") keySlotColumns.insert(col);
                if (action == "7000" && core::mid(r, 125, 1) == "H") menuShortcuts.insert(core::mid(r, 126, 4));
                EXPECT_EQ(action == "9999", s == steps - 1) << "only the last record ends the question";
                for (int col : {12, 28, 44, 60, 145, 161, 207}) {
                    const QString pic = core::mid(r, col, 6);
                    if (pic == "888888") continue;
                    if (col == 207 ? core::val32(pic) == 0 : pic == "000000") continue;
                    pictures.insert(pic);
                }
                for (int col : {23, 39, 55, 71, 140, 156, 182}) {
                    const QChar b = r[col - 1];
                    ASSERT_TRUE(isBranch(b)) << "column " << col;
                    if (b != u'0') {
                        EXPECT_LE(branchStep(b), steps) << "column " << col;
                    }
                    if (b != u'0' && col != 71 && col != 182) ++overlayBranches;
                }
                if (core::mid(r, 66, 20) != QString(20, u'0')) {
                    const int x = core::val16(core::mid(r, 66, 5)), y = core::val16(core::mid(r, 72, 4));
                    const int w = core::val16(core::mid(r, 76, 5)), h = core::val16(core::mid(r, 81, 5));
                    EXPECT_GT(w, 0);
                    EXPECT_GT(h, 0);
                    EXPECT_LE(x + w, 12000);
                    EXPECT_LE(y + h, 9000);
                }
                for (int col : {106, 109, 122}) {
                    const int ref = core::val16(core::mid(r, col, 3));
                    EXPECT_LE(ref, table.size()) << "text reference in column " << col;
                }
                if (action.startsWith("002")) {
                    EXPECT_NE(core::mid(r, 109, 3), "000") << "typing needs an answer";
                }
            }
            at += steps;
        }
        EXPECT_EQ(at, script.size()) << "unit " << u << ": step counts and script disagree";
    }

    for (int k = 0; k < papers; ++k) {
        const QString paper = catalogue[2 + k];
        ASSERT_EQ(paper.size(), 160);
        QSet<QString> inPaper;
        for (int i = 0; i < 40; ++i) inPaper.insert(paper.mid(i * 4, 4));
        EXPECT_EQ(inPaper.size(), 40);
        for (const QString& c : inPaper) EXPECT_TRUE(codes.contains(c)) << qPrintable(c);
        for (int other = 0; other < k; ++other) EXPECT_NE(catalogue[2 + other], paper) << k;
    }

    QSet<QByteArray> formats;
    for (const QString& p : pictures) {
        const QByteArray f = loadPicture(p);
        EXPECT_FALSE(f.isEmpty()) << "picture " << qPrintable(p);
        formats.insert(f);
    }
    formats.insert(loadPicture("l62009"));
    EXPECT_TRUE(formats.contains("jpeg"));
    EXPECT_TRUE(formats.contains("bmp"));
    EXPECT_TRUE(formats.contains("gif"));

    for (const char* a : {"0001", "0002", "0003", "0030", "8888", "9201", "0020", "0022", "0024", "0026", "9999"})
        EXPECT_TRUE(actions.contains(a)) << "no step of kind " << a;
    // Typed text and keys: every typing code; plain keys, F1, Shift, Ctrl
    // and Alt; each key slot; menu shortcuts.
    for (const char* a : {"0021", "0023", "0025", "0027", "0028", "6013", "6046", "6012", "6139", "6266", "6470"})
        EXPECT_TRUE(actions.contains(a)) << "no step of kind " << a;
    EXPECT_EQ(keySlotColumns, (QSet<int>{86, 91, 96}));
    EXPECT_GE(menuShortcuts.size(), 2);
    EXPECT_GE(overlayBranches, 1);
}

TEST_F(SampleModule, DialogStepsHaveTheirListsTabPagesAndDrags) {
    const QStringList catalogue = lines(file("288891"));
    ASSERT_GE(catalogue.size(), 2);
    const int units = core::val16(core::mid(catalogue[0], 3, 2));
    const int textLines = int(lines(file("288890")).size());
    QSet<QString> kinds;
    for (int u = 0; u < units; ++u) {
        for (const QString& r : lines(file("2888" + core::padDigits(20 + u, 2)))) {
            const engine::StepRecord rec(r);
            SCOPED_TRACE(qPrintable(core::left(r, 11)));
            switch (rec.action()) {
            case engine::ActionListChoice:
                kinds.insert("L");
                EXPECT_TRUE(rec.hasInputBox());
                EXPECT_LE(core::val16(rec.listTextLine()), textLines);
                EXPECT_NE(rec.inputTextLineNo(), rec.answerLineNo()) << "a list step the set-up completes";
                break;
            case engine::ActionLookIn:
                kinds.insert("K");
                EXPECT_TRUE(rec.hasInputBox());
                EXPECT_LE(rec.lookInRow(), 13);
                EXPECT_NE(rec.lookInStartRow(), rec.lookInRow());
                break;
            case engine::ActionDragFrame:
            case engine::ActionDragMove:
                kinds.insert(rec.actionCode());
                EXPECT_TRUE(rec.hasSource());
                EXPECT_TRUE(rec.hasTarget());
                break;
            case engine::ActionDragImage:
                kinds.insert("80");
                EXPECT_EQ(rec.imagePictureUse(5), engine::PictureShow);
                break;
            default: break;
            }
            if (rec.backSteps()) kinds.insert("Q");
            const auto dc = rec.dialogCode();
            if (!dc) continue;
            const auto layout = engine::builtInTabLayout(dc->tabKey);
            ASSERT_TRUE(layout) << "unknown tab layout";
            kinds.insert(layout->tabCount() >= 10 ? "two rows" : "one row");
            EXPECT_GE(dc->shownTab, 1);
            EXPECT_LE(dc->shownTab, layout->tabCount());
            EXPECT_GE(dc->targetTab, 1);
            EXPECT_LE(dc->targetTab, layout->tabCount());
            ASSERT_GE(dc->imageNo, 1);
            ASSERT_LE(dc->imageNo, 5);
            QSize own;
            EXPECT_FALSE(loadPicture(rec.imagePicture(dc->imageNo), &own).isEmpty()) << "the step's own page";
            // Every page of the layout, as large as the step's own.
            for (int t = 1; t <= layout->tabCount(); ++t) {
                QSize page;
                EXPECT_FALSE(loadPicture(layout->tabPicture(t), &page).isEmpty()) << "page " << t;
                EXPECT_EQ(page, own) << "page " << t;
            }
        }
    }
    for (const char* k : {"L", "K", "0040", "0041", "0052", "80", "Q", "one row", "two rows"})
        EXPECT_TRUE(kinds.contains(k)) << "no dialog step of kind " << k;
}

TEST_F(SampleModule, ContextMenuFileServesEveryRightClickStep) {
    const QString menuFile = root() + "/sMenu.sys";
    const QStringList all = lines(menuFile);
    ASSERT_EQ(all.size(), context_menu::FileLines);

    // Every block: entries lines of at most ten fields; a block nobody uses
    // is "0" throughout.
    int used = 0;
    for (int set = 1; set <= 4; ++set)
        for (int menu = 1; menu <= 9; ++menu) {
            const auto block = context_menu::readBlock(menuFile, set, menu);
            ASSERT_TRUE(block);
            bool any = false;
            for (const context_menu::Row& r : context_menu::rowsOf(*block)) {
                if (!r.present) continue;
                any = true;
                const int line = context_menu::entriesLineOf(r.contextRow);
                EXPECT_LE((*block)[line - 1].count(u'|'), 9) << set << "/" << menu << " line " << line;
                for (const QString& e : r.entries) EXPECT_FALSE(e.isEmpty()) << set << "/" << menu;
            }
            if (any) {
                ++used;
            } else {
                for (const QString& l : *block) EXPECT_EQ(l, "0") << "unused block " << set << "/" << menu;
            }
        }
    EXPECT_GE(used, 4);

    // Every context-menu code of the bank names an entry that can be chosen.
    const QStringList catalogue = lines(file("288891"));
    ASSERT_GE(catalogue.size(), 2);
    const int units = core::val16(core::mid(catalogue[0], 3, 2));
    int codes = 0, viaAlt = 0, inCascade = 0;
    for (int u = 0; u < units; ++u) {
        for (const QString& r : lines(file("2888" + core::padDigits(20 + u, 2)))) {
            const auto alt = context_menu::altMenuCode(r);
            const int action = core::val16(core::mid(r, 8, 4));
            const bool byAction = action >= 3000 && action <= 6000;
            if (!byAction && !(alt && context_menu::namesContextMenu(*alt))) continue;
            const int code = context_menu::contextCode(r);
            SCOPED_TRACE(qPrintable(core::left(r, 11) + " code " + QString::number(code)));
            const auto block = context_menu::readBlock(menuFile, context_menu::codeSet(code), context_menu::codeMenu(code));
            ASSERT_TRUE(block);
            EXPECT_TRUE(context_menu::entryText(*block, code)) << "the code names no entry";
            ++codes;
            if (alt) ++viaAlt;
            if (context_menu::captionLineOf(context_menu::codeRow(code)) != 0) ++inCascade;
        }
    }
    EXPECT_GE(codes, 3);
    EXPECT_GE(viaAlt, 1);
    EXPECT_GE(inCascade, 1);
}

// A drop-down shown pre-opened lies over its own picture in the step's
// screenshot (its dialog page, not another one), and the shading question
// ends on a third paragraph shaded in the colour it names.
TEST_F(SampleModule, PreOpenedPaletteLiesOnItsPageAndShadingEndsLightYellow) {
    const QStringList catalogue = lines(file("288891"));
    ASSERT_GE(catalogue.size(), 2);
    const int units = core::val16(core::mid(catalogue[0], 3, 2));
    auto read = [](const QString& path) {
        QImageReader r(path);
        r.setDecideFormatFromContent(true);
        return r.read().convertToFormat(QImage::Format_RGB32);
    };
    int preOpened = 0, lightYellow = -1;
    for (int u = 0; u < units; ++u) {
        const QStringList list = lines(file("2888" + core::padDigits(70 + u, 2)));
        const QStringList script = lines(file("2888" + core::padDigits(20 + u, 2)));
        int at = 0;
        for (const QString& q : list) {
            const int steps = core::val16(core::mid(q, 5, 2));
            QString screen = "310001";
            for (int s = 0; s < steps && at + s < script.size(); ++s) {
                const QString& r = script[at + s];
                if (core::mid(r, 12, 6) != "888888") screen = core::mid(r, 12, 6);
                if (core::mid(r, 86, 1) == "H" && (core::mid(r, 87, 2) == "33" || core::mid(r, 87, 2) == "34")) {
                    SCOPED_TRACE(qPrintable(core::left(q, 4) + " step " + QString::number(s + 1)));
                    ++preOpened;
                    const QImage shot = read(file(screen));
                    const QImage menu = read(root() + "/examdata/" + core::mid(r, 87, 2) + "0077.rar");
                    ASSERT_FALSE(shot.isNull() || menu.isNull());
                    const QPoint p(core::val16(core::mid(r, 96, 5)) / 15, core::val16(core::mid(r, 102, 4)) / 15);
                    ASSERT_TRUE(shot.rect().contains(QRect(p, menu.size())));
                    double diff = 0;
                    for (int y = 0; y < menu.height(); ++y)
                        for (int x = 0; x < menu.width(); ++x) {
                            const QRgb a = shot.pixel(p.x() + x, p.y() + y), b = menu.pixel(x, y);
                            diff += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                    std::abs(qBlue(a) - qBlue(b));
                        }
                    EXPECT_LT(diff / (3.0 * menu.width() * menu.height()), 8) << "the screenshot differs under the drop-down";
                }
            }
            if (core::mid(q, 7).contains(QStringLiteral("浅黄色"))) {
                const QImage end = read(file(screen));
                ASSERT_FALSE(end.isNull());
                lightYellow = 0;
                for (int y = 0; y < end.height(); ++y)
                    for (int x = 0; x < end.width(); ++x) {
                        const QRgb c = end.pixel(x, y);
                        if (qRed(c) > 235 && qGreen(c) > 235 && std::abs(qBlue(c) - 153) < 30) ++lightYellow;
                    }
            }
            at += steps;
        }
    }
    EXPECT_GE(preOpened, 1);
    EXPECT_GT(lightYellow, 5000) << "no light yellow shading at the end of the shading question";
}

// Files by their hashes, folders as "/".
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile f(p);
        if (it.fileInfo().isDir())
            out.insert(QDir(dir).relativeFilePath(p), "/");
        else if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(dir).relativeFilePath(p), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return out;
}

// Paths missing from, added to or changed in `now` against `was`.
QStringList differences(const QMap<QString, QByteArray>& was, const QMap<QString, QByteArray>& now) {
    QStringList out;
    for (auto it = was.begin(); it != was.end(); ++it)
        if (!now.contains(it.key())) out << "missing " + it.key();
        else if (now.value(it.key()) != it.value()) out << "changed " + it.key();
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!was.contains(it.key())) out << "added " + it.key();
    return out;
}

void generate(const QString& dir) {
    QProcess p;
    p.start(QStringLiteral(EXAMSIM_MAKE_SAMPLE), {dir});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
}

TEST(SampleGenerator, DeterministicAndKeepsRecordsOfAUsedFolder) {
    QTemporaryDir a, b;
    ASSERT_TRUE(a.isValid() && b.isValid());
    // b is a folder a person used: records and a launch counter exist.
    ASSERT_TRUE(QDir().mkpath(b.path() + "/ksdata"));
    ASSERT_TRUE(QDir().mkpath(b.path() + "/wdata"));
    ASSERT_TRUE(core::writeLines(b.path() + "/ksdata/288893.rar", {"TTFF"}));
    ASSERT_TRUE(core::writeLines(b.path() + "/wdata/288897.rar", {"5"}));
    for (const QString& dir : {a.path(), b.path()}) ASSERT_NO_FATAL_FAILURE(generate(dir));
    EXPECT_EQ(core::readFirstLine(b.path() + "/ksdata/288893.rar").value_or(""), "TTFF");
    EXPECT_EQ(core::readFirstLine(b.path() + "/wdata/288897.rar").value_or(""), "5");
    QMap<QString, QByteArray> sa = snapshot(a.path()), sb = snapshot(b.path());
    sb.remove("ksdata/288893.rar");
    sb.remove("wdata/288897.rar");
    EXPECT_EQ(sa, sb);
    EXPECT_GT(sa.size(), 50);
}

// The suites read the module exactly as the generator makes it, whatever
// the program wrote into the folder it runs in (launch counter, first-run
// flag, records); that folder still holds the whole module.
TEST(SampleGenerator, SuitesReadTheModuleAsGeneratedNotTheProgramFolder) {
    const QString module = QFileInfo(sampleDir()).canonicalFilePath();
    const QString program = QFileInfo(QStringLiteral(EXAMSIM_PROGRAM_DIR)).canonicalFilePath();
    ASSERT_FALSE(module.isEmpty()) << "no module at " << qPrintable(sampleDir());
    EXPECT_NE(module, program) << "the suites read the folder the program runs in";
    QTemporaryDir fresh;
    ASSERT_TRUE(fresh.isValid());
    ASSERT_NO_FATAL_FAILURE(generate(fresh.path()));
    const QMap<QString, QByteArray> made = snapshot(fresh.path());
    EXPECT_GT(made.size(), 50);
    const QStringList diff = differences(made, snapshot(module));
    EXPECT_TRUE(diff.isEmpty()) << diff.size() << " differences: " << qPrintable(diff.mid(0, 8).join(", "));
    for (const QString& f : made.keys()) EXPECT_TRUE(QFileInfo::exists(program + "/" + f)) << qPrintable(f);
}

} // namespace
