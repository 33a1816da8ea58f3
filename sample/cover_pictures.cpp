#include "sample/cover_pictures.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "sample/module_style.h"

namespace sample {

namespace {

using namespace style;

// A rounded gradient button with a caption (the normal start areas of the
// rows, the links and the command faces share it).
void button(QPainter& p, const QRectF& r, QColor top, QColor bottom, QColor border, const QString& caption, int px,
            int shift = 0) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(border, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    text(p, r.toRect().translated(shift, shift), caption, px, Qt::white, Qt::AlignCenter, true);
}

void card(QPainter& p, const QRectF& r, QColor fill = kCard, QColor line = kCardLine, double radius = 8) {
    p.setBrush(fill);
    p.setPen(QPen(line, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

bool save(const QImage& img, const QString& path, const char* format, QString* err) {
    if (img.save(path, format, format[0] == 'J' ? 92 : -1)) return true;
    if (err) *err = "cannot write " + path;
    return false;
}

QImage newImage(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// ---- window background ----

QImage windowBackground() {
    QImage img = newImage(800, 600, kPale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Body: a soft light gradient with a large pale arc.
    QLinearGradient body(0, 28, 0, 573);
    body.setColorAt(0, QColor(0xFB, 0xFD, 0xFF));
    body.setColorAt(1, QColor(0xE3, 0xEE, 0xF9));
    p.fillRect(QRect(0, 28, 800, 545), body);
    QRadialGradient glow(QPointF(620, 120), 420);
    glow.setColorAt(0, QColor(0xD6, 0xE7, 0xF8, 160));
    glow.setColorAt(1, QColor(0xD6, 0xE7, 0xF8, 0));
    p.fillRect(QRect(0, 28, 800, 545), glow);

    // Title bar with the caption line on its right.
    QLinearGradient bar(0, 0, 0, 28);
    bar.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    bar.setColorAt(1, QColor(0xDC, 0xE9, 0xF7));
    p.fillRect(QRect(0, 0, 800, 28), bar);
    p.setPen(kCardLine);
    p.drawLine(0, 27, 800, 27);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(10, 6, 16, 16), 4, 4);
    text(p, QRect(10, 6, 16, 16), QStringLiteral("T"), 12, Qt::white, Qt::AlignCenter, true);
    text(p, QRect(32, 0, 260, 28), QStringLiteral("Tesmar 职称计算机考试练习系统"), 13, kBlueDark,
         Qt::AlignVCenter | Qt::AlignLeft, true);
    // The close glyph (the highlighted picture covers it under the pointer).
    p.setPen(QPen(kMuted, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(769, 5), QPointF(779, 15));
    p.drawLine(QPointF(779, 5), QPointF(769, 15));

    // Start page: subtitle under the title label, a ribbon over the tabs.
    text(p, QRect(240, 132, 520, 22), QStringLiteral("单元学习 · 模拟考试 · 错题复习 · 标识题练习"), 14, kMuted,
         Qt::AlignVCenter | Qt::AlignLeft);
    p.setPen(QPen(kCardLine, 1));
    p.drawLine(160, 158, 610, 158);

    // Side note right of the tabs.
    card(p, QRectF(640, 176, 140, 134), QColor(0xFF, 0xFF, 0xFF, 220));
    text(p, QRect(652, 184, 120, 20), QStringLiteral("使用提示"), 13, kBlueDark, Qt::AlignVCenter | Qt::AlignLeft,
         true);
    const QString tips[] = {QStringLiteral("先按单元逐题学习，"), QStringLiteral("再做整套模拟考试；"),
                            QStringLiteral("考后复习答错的题，"), QStringLiteral("难题可标识后集中练。")};
    for (int i = 0; i < 4; ++i)
        text(p, QRect(652, 210 + i * 23, 124, 20), tips[i], 12, kText, Qt::AlignVCenter | Qt::AlignLeft);

    // Links and the software note.
    text(p, QRect(52, 460, 165, 22), QStringLiteral("Tesmar 软件 · 关于与帮助"), 12, kBlueDark,
         Qt::AlignVCenter | Qt::AlignLeft, true);
    const struct { int x, y; const char* caption; } links[] = {
        {108, 484, "官方网站"}, {205, 484, "备用网站"}, {108, 524, "在线客服"}, {205, 524, "即时咨询"}};
    for (const auto& l : links) {
        card(p, QRectF(l.x, l.y, 93, 22), QColor(0xFF, 0xFF, 0xFF), kCardLine, 11);
        text(p, QRect(l.x, l.y, 93, 22), QString::fromUtf8(l.caption), 12, kBlue);
    }
    text(p, QRect(52, 486, 52, 18), QStringLiteral("网站"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);
    text(p, QRect(52, 526, 52, 18), QStringLiteral("咨询"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);

    // Bottom band under the info menu.
    QLinearGradient foot(0, 573, 0, 600);
    foot.setColorAt(0, QColor(0xE9, 0xF1, 0xFA));
    foot.setColorAt(1, QColor(0xD5, 0xE3, 0xF3));
    p.fillRect(QRect(0, 573, 800, 27), foot);
    p.setPen(kCardLine);
    p.drawLine(0, 573, 800, 573);
    p.setPen(QPen(kBlueDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 799, 599));
    return img;
}

// ---- panels ----

QImage panelBackground() {
    QImage img = newImage(798, 545, Qt::white);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 545);
    g.setColorAt(0, QColor(0xF8, 0xFB, 0xFF));
    g.setColorAt(1, QColor(0xE6, 0xEF, 0xF9));
    p.fillRect(img.rect(), g);
    p.setPen(kCardLine);
    p.drawLine(0, 0, 798, 0);
    p.drawLine(0, 500, 798, 500);
    return img;
}

QImage updatePanel() {
    QImage img = panelBackground();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(60, 50, 678, 300), Qt::white);
    text(p, QRect(90, 70, 600, 30), QStringLiteral("自动升级设置"), 20, kBlueDark, Qt::AlignVCenter | Qt::AlignLeft,
         true);
    p.setPen(kCardLine);
    p.drawLine(90, 108, 708, 108);
    const QString lines[] = {
        QStringLiteral("开启自动升级后，程序每启动十次会自动运行一次升级程序，"),
        QStringLiteral("检查并下载最新的题库和程序更新。"),
        QStringLiteral("如果不希望自动检查，请取消右下方的“自动升级”选项；"),
        QStringLiteral("也可以随时在首页点击“在线升级”立即升级。"),
        QStringLiteral("升级不会改变您的考试记录、错题和标识题。"),
    };
    for (int i = 0; i < 5; ++i)
        text(p, QRect(90, 126 + i * 34, 620, 26), lines[i], 15, kText, Qt::AlignVCenter | Qt::AlignLeft);
    // Frame around the option box and its caption.
    card(p, QRectF(656, 388, 120, 38), QColor(0xFC, 0xF5, 0xE4), QColor(0xE6, 0xC9, 0x8A), 6);
    return img;
}

// ---- rows ----

QImage unitRow() {
    QImage img = newImage(240, 64, QColor(0xF0, 0xF5, 0xFB));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(0, 0, 240, 64), kCard);
    // Number badge: the unit number stands at (30, 8).
    p.setBrush(QColor(0xFF, 0xF6, 0xD5));
    p.setPen(QPen(QColor(0xE0, 0xC8, 0x70), 1));
    p.drawRoundedRect(QRectF(22.5, 4.5, 34, 30), 6, 6);
    text(p, QRect(60, 8, 44, 24), QStringLiteral("单元"), 13, kText, Qt::AlignVCenter | Qt::AlignLeft, true);
    // Start area (109, 5, 118 x 25).
    button(p, QRectF(109, 5, 118, 25), kBlueLight, kBlue, kBlueDark, QStringLiteral("进入学习"), 13);
    p.setPen(kCardLine);
    p.drawLine(8, 38, 232, 38);
    // "共 N 题，还有 M 题未学习": the counts stand at x 68 and x 146.
    const QRect line(0, 43, 240, 17);
    text(p, line.adjusted(52, 0, 0, 0), QStringLiteral("共"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);
    text(p, line.adjusted(88, 0, 0, 0), QStringLiteral("题，"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);
    text(p, line.adjusted(118, 0, 0, 0), QStringLiteral("还有"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);
    text(p, line.adjusted(170, 0, 0, 0), QStringLiteral("题未学习"), 12, kMuted, Qt::AlignVCenter | Qt::AlignLeft);
    return img;
}

QImage paperRow() {
    QImage img = newImage(372, 64, QColor(0xF0, 0xF5, 0xFB));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(0, 0, 372, 64), kCard);
    // A small paper icon.
    p.setBrush(Qt::white);
    p.setPen(QPen(kBlue, 1.2));
    p.drawRoundedRect(QRectF(14.5, 6.5, 22, 27), 2, 2);
    p.setPen(QPen(kBlueLight, 1.2));
    for (int y : {14, 19, 24}) p.drawLine(QPointF(19, y), QPointF(32, y));
    // "第 n 套模拟试卷": the number stands at x 98.
    text(p, QRect(44, 6, 52, 30), QStringLiteral("模拟 第"), 14, kText, Qt::AlignVCenter | Qt::AlignRight, true);
    text(p, QRect(126, 6, 100, 30), QStringLiteral("套试卷"), 14, kText, Qt::AlignVCenter | Qt::AlignLeft, true);
    // Start area (226, 6, 118 x 25).
    button(p, QRectF(226, 6, 118, 25), kBlueLight, kBlue, kBlueDark, QStringLiteral("开始考试"), 13);
    p.setPen(kCardLine);
    p.drawLine(8, 40, 364, 40);
    // Under the wrong-question review text at x 312.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF2, 0xD9));
    p.drawRoundedRect(QRectF(307, 43, 58, 18), 4, 4);
    return img;
}

// ---- tabs ----

enum class Face { Normal, Hover, Pressed };

QImage tab(const QString& caption, const QString& note, bool paper, Face face) {
    QImage img = newImage(150, 150, QColor(0xF4, 0xF8, 0xFD));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int shift = face == Face::Pressed ? 2 : 0;
    QColor top = face == Face::Normal ? QColor(0xFF, 0xFF, 0xFF) : face == Face::Hover ? QColor(0xE8, 0xF2, 0xFD)
                                                                                      : QColor(0xCF, 0xE2, 0xF7);
    QColor bottom = face == Face::Normal ? QColor(0xE9, 0xF1, 0xFB) : face == Face::Hover ? QColor(0xCC, 0xE1, 0xF8)
                                                                                         : QColor(0xB6, 0xD1, 0xF1);
    QRectF r(4 + shift, 4 + shift, 142 - shift, 142 - shift);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(face == Face::Normal ? kCardLine : kBlue, face == Face::Normal ? 1 : 2));
    p.drawRoundedRect(r, 14, 14);

    // Icon: an open book for the units, a sheet with a pen for the papers.
    const QPointF c(75 + shift, 58 + shift);
    p.setPen(QPen(kBlueDark, 2));
    if (paper) {
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(c.x() - 20, c.y() - 28, 40, 52), 3, 3);
        p.setPen(QPen(kBlueLight, 2));
        for (int i = 0; i < 4; ++i) p.drawLine(QPointF(c.x() - 12, c.y() - 16 + i * 10), QPointF(c.x() + 12, c.y() - 16 + i * 10));
        p.setPen(QPen(QColor(0xE0, 0x7B, 0x12), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + 10, c.y() + 20), QPointF(c.x() + 28, c.y() - 4));
    } else {
        QPainterPath book;
        book.moveTo(c.x(), c.y() - 18);
        book.quadTo(c.x() - 16, c.y() - 26, c.x() - 34, c.y() - 20);
        book.lineTo(c.x() - 34, c.y() + 20);
        book.quadTo(c.x() - 16, c.y() + 14, c.x(), c.y() + 22);
        book.quadTo(c.x() + 16, c.y() + 14, c.x() + 34, c.y() + 20);
        book.lineTo(c.x() + 34, c.y() - 20);
        book.quadTo(c.x() + 16, c.y() - 26, c.x(), c.y() - 18);
        p.setBrush(Qt::white);
        p.drawPath(book);
        p.drawLine(QPointF(c.x(), c.y() - 18), QPointF(c.x(), c.y() + 22));
        p.setPen(QPen(kBlueLight, 1.5));
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(c.x() - 27, c.y() - 10 + i * 9), QPointF(c.x() - 7, c.y() - 8 + i * 9));
            p.drawLine(QPointF(c.x() + 7, c.y() - 8 + i * 9), QPointF(c.x() + 27, c.y() - 10 + i * 9));
        }
    }
    text(p, QRect(shift, 94 + shift, 150, 26), caption, 19, face == Face::Normal ? kBlueDark : kBlue, Qt::AlignCenter,
         true);
    text(p, QRect(shift, 120 + shift, 150, 18), note, 12, kMuted);
    return img;
}

// ---- command faces ----

QImage commandFace(const QString& caption, Face face) {
    QImage img = newImage(112, 30, QColor(0xE9, 0xF1, 0xFA));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, 112, 30);
    switch (face) {
    case Face::Normal: button(p, r, kBlueLight, kBlue, kBlueDark, caption, 14); break;
    case Face::Hover:
        button(p, r, QColor(0xFF, 0xB5, 0x4D), QColor(0xF0, 0x86, 0x1A), QColor(0xC8, 0x67, 0x0A), caption, 14);
        break;
    case Face::Pressed:
        button(p, r, QColor(0xD0, 0x6C, 0x0C), QColor(0xF0, 0x8E, 0x2A), QColor(0x9C, 0x4F, 0x06), caption, 14, 1);
        break;
    }
    return img;
}

} // namespace

bool writeCoverPictures(const QString& programDir, const QString& dataDir, QString* err) {
    Q_UNUSED(programDir);  // the cover's own design pictures are built into the program
    if (!QDir().mkpath(dataDir)) {
        if (err) *err = "cannot create " + dataDir;
        return false;
    }
    auto path = [&](const QString& name) { return QDir(dataDir).filePath(name); };
    const QImage panel = panelBackground();
    if (!save(windowBackground(), path("9l0050.rar"), "JPG", err)) return false;
    if (!save(panel, path("9l0051.rar"), "JPG", err)) return false;
    if (!save(updatePanel(), path("9l0052.rar"), "JPG", err)) return false;
    if (!save(unitRow(), path("9l0054.rar"), "BMP", err)) return false;
    if (!save(paperRow(), path("9l0055.rar"), "BMP", err)) return false;
    const Face faces[] = {Face::Normal, Face::Hover, Face::Pressed};
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i);
        if (!save(tab(QStringLiteral("单元学习"), QStringLiteral("按单元逐题练习"), false, faces[i]), path("9l006" + n + ".rar"),
                  "BMP", err))
            return false;
        if (!save(tab(QStringLiteral("模拟考试"), QStringLiteral("整套试题限时作答"), true, faces[i]), path("9l007" + n + ".rar"),
                  "BMP", err))
            return false;
    }
    const struct { int index; const char* caption; } buttons[] = {
        {2, "升级设置"}, {3, "在线升级"}, {4, "上一页"}, {5, "下一页"}, {6, "移除本题"}, {7, "全部移除"},
        {8, "练习本页"}, {9, "返  回"}, {10, "标识题目"}, {11, "返  回"}, {12, "标识题目"}, {13, "返  回"},
        {15, "返  回"}};
    const char* kinds[] = {"l020", "l021", "l022"};
    for (const auto& b : buttons) {
        const QString nn = QString::number(b.index).rightJustified(2, u'0');
        for (int i = 0; i < 3; ++i)
            if (!save(commandFace(QString::fromUtf8(b.caption), faces[i]), path(kinds[i] + nn + ".rar"), "BMP", err))
                return false;
    }
    return true;
}

} // namespace sample
