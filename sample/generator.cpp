#include "sample/generator.h"

#include "core/pictures.h"
#include "core/text.h"
#include "sample/chrome_pictures.h"
#include "sample/context_menus.h"
#include "sample/cover_pictures.h"
#include "sample/exam_pictures.h"
#include "sample/info_pages.h"
#include "sample/menu_pictures.h"
#include "sample/question_window_pictures.h"
#include "sample/picture_set.h"
#include "sample/questions.h"
#include "sample/record_builder.h"
#include "sample/word_ui.h"

#include <QDir>
#include <QPainter>

namespace sample {

namespace {

const QString kModuleName = QStringLiteral("字处理");
const QString kModuleTitle = QStringLiteral("中文字处理 Word 2003");
const QString kDataFolder = QStringLiteral("wdata");
const QString kModuleNo = QStringLiteral("3");

// Unit titles 0-20 (the cover's tooltips); units 0-3 hold questions.
const QStringList kUnitTitles = {
    "Word 2003 基础与文档操作", "文本的编辑", "字符格式", "段落格式", "页面设置", "样式与模板",
    "表格的创建", "表格的编辑", "图形与图片", "文本框与艺术字", "图文混排", "查找与替换",
    "文档的打印", "邮件合并", "长文档的编辑", "域与修订", "宏与自定义", "文档的保护",
    "网页与超链接", "公式编辑器", "综合练习",
};

void write(const QString& path, const QStringList& lines) {
    if (!core::writeLines(path, lines)) throw RecordError("cannot write " + path.toStdString());
}

// One settings line: every character as a six-digit group, 200000 + code
// for a single-byte character, 500000 + code for a double-byte one.
QString encodeSetting(const QString& text) {
    QString out;
    for (QChar c : text) {
        const QByteArray b = core::toGbk(QString(c));
        int code = 0;
        if (b.size() == 1) code = 200000 + uchar(b[0]);
        else if (b.size() == 2) code = 500000 + uchar(b[0]) * 256 + uchar(b[1]);
        else throw RecordError("setting text without a GBK form");
        out += QString::number(code);
    }
    return out;
}

// The demonstration's drag pointer for steps with a standard pointer
// (ico00.CUR): an arrow with the dotted box of a dragged object, its tip at
// the hot spot.
QByteArray dragCursor() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QPolygon arrow({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16), QPoint(6, 10),
                          QPoint(11, 10)});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(6, 19, 12, 9);
    p.end();
    return core::cursorData(img, 0, 0);
}

void writeSettings(const QString& programDir) {
    QStringList plain = {kModuleName, kModuleTitle, kDataFolder, kModuleNo};
    plain += kUnitTitles;
    QStringList lines;
    for (const QString& l : plain) lines << encodeSetting(l);
    write(core::joinPath(programDir, "ver.txt"), lines);
}

} // namespace

bool generateModule(const QString& programDir, QString* error) {
    try {
        const QString dataDir = core::joinPath(programDir, kDataFolder);
        for (const QString& d : {programDir, dataDir, core::joinPath(programDir, "ksdata")})
            if (!QDir().mkpath(d)) throw RecordError("cannot create " + d.toStdString());

        writeSettings(programDir);
        write(core::joinPath(programDir, "updata.txt"), {"0"});
        write(core::joinPath(programDir, "sMenu.sys"), contextMenuLines());
        auto data = [&](const QString& name) { return core::joinPath(dataDir, name + ".rar"); };
        write(data("288892"), {"0"});   // first run: the registry values are still to be written
        write(data("288895"), {"样例题库 1.0"});
        writeFileBytes(core::joinPath(programDir, "ico00.CUR"), dragCursor());

        PictureSet pictures(dataDir);
        pictures.saveAs("9l0059", ui::splash(kModuleName), PictureFormat::Jpeg);
        pictures.saveAs("l62009", ui::logo(), PictureFormat::Gif);
        pictures.saveAs("310001", startPicture(), PictureFormat::Jpeg);

        TextTable texts;
        const QVector<UnitOut> units = buildUnits(pictures, texts);

        QString counts;
        for (int u = 0; u < units.size(); ++u) {
            QStringList list, script;
            const QVector<QuestionOut>& qs = units[u].questions;
            for (int q = 0; q < qs.size(); ++q) {
                const QString code = digits(u, 2) + digits(q + 1, 2);
                list << code + digits(qs[q].records.size(), 2) + qs[q].text;
                script << qs[q].records;
            }
            write(data("2888" + digits(70 + u, 2)), list);
            write(data("2888" + digits(20 + u, 2)), script);
            counts += digits(qs.size(), 2);
        }

        // Two papers of 40 questions, taken in turn from each unit: the first
        // from each unit's first question on, the second from its last.
        auto paper = [&](bool fromLast) {
            QString codes;
            for (int q = 0; codes.size() < 160; ++q) {
                bool any = false;
                for (int u = 0; u < units.size() && codes.size() < 160; ++u) {
                    const int n = units[u].questions.size();
                    if (q >= n) continue;
                    codes += digits(u, 2) + digits(fromLast ? n - q : q + 1, 2);
                    any = true;
                }
                if (!any) throw RecordError("not enough questions for a paper");
            }
            return codes;
        };
        write(data("288891"), {"02" + digits(units.size(), 2), counts, paper(false), paper(true)});
        write(data("288890"), texts.lines());

        // Pictures of the cover, the question window and the simulated bars.
        QString err;
        if (!writeCoverPictures(programDir, dataDir, &err)) throw RecordError(err.toStdString());
        if (!writeQuestionWindowPictures(programDir, dataDir, &err)) throw RecordError(err.toStdString());
        if (!writeExamPictures(dataDir, &err)) throw RecordError(err.toStdString());
        if (!writeInfoPages(dataDir, &err)) throw RecordError(err.toStdString());
        if (!writeChromePictures(core::joinPath(programDir, "examdata"), &err)) throw RecordError(err.toStdString());
        if (!writeMenuPictures(core::joinPath(programDir, "examdata"), &err)) throw RecordError(err.toStdString());
        return true;
    } catch (const std::exception& e) {
        if (error) *error = QString::fromUtf8(e.what());
        return false;
    }
}

} // namespace sample
