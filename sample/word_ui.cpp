// The simulated window as a whole: its frame, menu bar, status bar, task
// pane and scroll bars, and the module's splash and logo pictures.
#include "sample/word_ui.h"
#include "sample/word_ui_parts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace sample::ui {

using namespace detail;

namespace {

void drawScrollbars(QPainter& p) {
    QRect v(783, kRulerTop, 17, kDocBottom - kRulerTop);
    p.fillRect(v, QColor(238, 238, 245));
    auto btn = [&](QRect r, bool up) {
        vGradient(p, r, QColor(225, 235, 253), QColor(185, 206, 245));
        p.setPen(QColor(160, 180, 225));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(77, 97, 133));
        const QPoint c = r.center();
        if (up) p.drawPolygon(QPolygon({QPoint(c.x() - 3, c.y() + 2), QPoint(c.x() + 3, c.y() + 2), QPoint(c.x(), c.y() - 2)}));
        else p.drawPolygon(QPolygon({QPoint(c.x() - 3, c.y() - 2), QPoint(c.x() + 3, c.y() - 2), QPoint(c.x(), c.y() + 2)}));
    };
    btn(QRect(783, kRulerTop, 17, 17), true);
    QRect thumb(784, kRulerTop + 19, 15, 80);
    vGradient(p, thumb, QColor(200, 218, 252), QColor(170, 195, 245));
    p.setPen(QColor(120, 150, 210));
    p.drawRect(thumb.adjusted(0, 0, -1, -1));
    btn(QRect(783, kDocBottom - 68, 17, 17), false);
    btn(QRect(783, kDocBottom - 51, 17, 17), true);
    btn(QRect(783, kDocBottom - 34, 17, 17), false);
    btn(QRect(783, kDocBottom - 17, 17, 17), false);
    // horizontal bar with view buttons
    QRect h(0, kDocBottom, kWidth, 17);
    p.fillRect(h, QColor(238, 238, 245));
    for (const char* n : {"普通视图", "Web 版式视图", "页面视图", "大纲视图", "阅读版式"}) {
        QRect b = viewButton(QString::fromUtf8(n));
        vGradient(p, b, QColor(235, 242, 255), QColor(190, 210, 245));
        p.setPen(QColor(120, 150, 210));
        p.drawRect(b.adjusted(0, 0, -1, -1));
        p.setPen(QColor(40, 60, 120));
        p.drawLine(b.left() + 5, b.top() + 5, b.right() - 5, b.top() + 5);
        p.drawLine(b.left() + 5, b.top() + 8, b.right() - 5, b.top() + 8);
        p.drawLine(b.left() + 5, b.top() + 11, b.right() - 7, b.top() + 11);
    }
    QRect track(100, kDocBottom + 1, 680, 15);
    p.fillRect(track, QColor(245, 245, 250));
    QRect ht(118, kDocBottom + 2, 560, 13);
    vGradient(p, ht, QColor(200, 218, 252), QColor(170, 195, 245));
    p.fillRect(QRect(0, kDocBottom + 17, kWidth, kDrawTop - kDocBottom - 17), kBarLight);
}

void drawStatus(QPainter& p, const Scene& s) {
    p.setBrush(Qt::NoBrush);
    QRect r(0, kStatusTop, kWidth, kHeight - kStatusTop);
    vGradient(p, r, QColor(200, 218, 250), QColor(158, 190, 240));
    p.setFont(font(12));
    p.setPen(Qt::black);
    if (!s.status.isEmpty()) {
        text(p, r.adjusted(8, 0, 0, 0), s.status);
        return;
    }
    const QStringList cells = {"1 页", "1 节", "1/1", "位置 2.5厘米", "1 行", "1 列", "录制", "修订", "扩展", "改写", "中文(中国)"};
    const int widths[] = {44, 40, 40, 90, 44, 44, 36, 36, 36, 36, 80};
    int x = 6;
    for (int i = 0; i < cells.size(); ++i) {
        const bool dim = i >= 6 && i <= 9;
        p.setPen(dim ? QColor(120, 130, 150) : Qt::black);
        text(p, QRect(x, r.top(), widths[i], r.height()), cells[i]);
        x += widths[i];
        if (i == 2 || i == 5 || i == 9) {
            p.setPen(QColor(120, 150, 200));
            p.drawLine(x - 4, r.top() + 4, x - 4, r.bottom() - 3);
        }
    }
}

void drawMenuBar(QPainter& p, const Scene& s) {
    p.setBrush(Qt::NoBrush);
    QRect r(0, kMenuTop, kWidth, kStdTop - kMenuTop);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, kMenuBarB);
    g.setColorAt(1, kMenuBarA);
    p.fillRect(r, g);
    p.setPen(QColor(39, 65, 118));
    for (int yy = r.top() + 5; yy < r.bottom() - 3; yy += 4) p.drawPoint(4, yy);
    p.setFont(font(12));
    for (int m = 0; m < MenuCount; ++m) {
        QRect c = menuCaption(m);
        if (s.menu == m) {
            vGradient(p, c, QColor(227, 239, 255), QColor(196, 218, 250));
            p.setPen(QColor(0, 45, 150));
            p.drawLine(c.topLeft(), c.topRight());
            p.drawLine(c.topLeft(), c.bottomLeft());
            p.drawLine(c.topRight(), c.bottomRight());
        }
        p.setPen(Qt::black);
        text(p, c, QString::fromUtf8(kMenuNames[m]), Qt::AlignCenter);
    }
    QRect hb = helpBox();
    p.fillRect(hb, Qt::white);
    p.setPen(QColor(127, 157, 185));
    p.drawRect(hb.adjusted(0, 0, -1, -1));
    p.setFont(font(12));
    p.setPen(s.helpText.isEmpty() ? QColor(110, 110, 110) : Qt::black);
    text(p, hb.adjusted(4, 0, -12, 0), s.helpText.isEmpty() ? QStringLiteral("键入需要帮助的问题") : s.helpText);
    drawArrowDown(p, QPoint(hb.right() - 6, hb.center().y()));
    // document close button at the far right
    p.setPen(QColor(40, 40, 40));
    p.drawLine(785, 35, 792, 42);
    p.drawLine(792, 35, 785, 42);
}

void drawTaskPane(QPainter& p, const Scene& s) {
    p.setBrush(Qt::NoBrush);
    QRect r(566, kRulerTop, 217, kDocBottom - kRulerTop);
    p.fillRect(r, QColor(214, 230, 252));
    QRect head(r.left(), r.top(), r.width(), 24);
    vGradient(p, head, kBarLight, QColor(170, 200, 245));
    p.setFont(font(12, true));
    p.setPen(QColor(0, 45, 150));
    text(p, head.adjusted(26, 0, -20, 0), s.paneTitle);
    p.setPen(QColor(40, 40, 40));
    p.drawLine(r.right() - 12, r.top() + 8, r.right() - 5, r.top() + 15);
    p.drawLine(r.right() - 5, r.top() + 8, r.right() - 12, r.top() + 15);
    drawArrowDown(p, QPoint(r.right() - 26, r.top() + 12));
    p.setFont(font(12));
    int y = head.bottom() + 10;
    for (const QString& line : s.paneLines) {
        const bool link = line.startsWith(u'*');
        const bool headLine = line.startsWith(u'#');
        const QString t = (link || headLine) ? line.mid(1) : line;
        if (headLine) {
            p.setFont(font(12, true));
            p.setPen(QColor(0, 45, 150));
            text(p, QRect(r.left() + 10, y, r.width() - 16, 18), t);
            p.setPen(QColor(120, 150, 210));
            p.drawLine(r.left() + 10, y + 19, r.right() - 8, y + 19);
            p.setFont(font(12));
            y += 26;
            continue;
        }
        if (link) {
            p.setPen(QColor(0, 45, 150));
            p.setBrush(QColor(0, 45, 150));
            p.drawEllipse(QPoint(r.left() + 16, y + 9), 2, 2);
            QFont f = font(12);
            f.setUnderline(false);
            p.setFont(f);
            p.setPen(QColor(0, 0, 200));
            text(p, QRect(r.left() + 24, y, r.width() - 30, 18), t);
            p.setFont(font(12));
        } else {
            p.setPen(Qt::black);
            text(p, QRect(r.left() + 10, y, r.width() - 16, 18), t);
        }
        y += 22;
    }
}

} // namespace

namespace detail {

void ensureFont() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!QFontDatabase::families().contains(kFamily))
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"));
}

void text(QPainter& p, QRect r, const QString& s, int flags) {
    p.drawText(r, flags | Qt::TextSingleLine, s);
}

void vGradient(QPainter& p, QRect r, QColor top, QColor bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void drawTitleBar(QPainter& p, const QString& caption, QRect r, bool dialog) {
    p.setBrush(Qt::NoBrush);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kXpBlueLight);
    g.setColorAt(0.15, kXpBlue);
    g.setColorAt(0.85, QColor(0, 72, 210));
    g.setColorAt(1, QColor(0, 60, 180));
    p.fillRect(r, g);
    int tx = r.left() + 6;
    if (!dialog) {
        // Word icon
        QRect ic(r.left() + 6, r.top() + 6, 16, 16);
        p.fillRect(ic, QColor(40, 90, 200));
        p.setPen(Qt::white);
        p.drawRect(ic.adjusted(0, 0, -1, -1));
        QFont wf(QStringLiteral("DejaVu Sans"));
        wf.setPixelSize(12);
        wf.setBold(true);
        p.setFont(wf);
        p.drawText(ic, Qt::AlignCenter, "W");
        tx = ic.right() + 6;
    }
    p.setFont(font(dialog ? 12 : 13, true));
    p.setPen(QColor(10, 24, 131));
    text(p, QRect(tx + 1, r.top() + 1, r.width() - 100, r.height()), caption);
    p.setPen(Qt::white);
    text(p, QRect(tx, r.top(), r.width() - 100, r.height()), caption);
    auto capButton = [&](QRect b, int kind) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(kind == 2 ? QColor(225, 80, 40) : QColor(40, 110, 240));
        p.drawRoundedRect(QRectF(b).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.setPen(QPen(Qt::white, 2));
        const QPoint c = b.center();
        if (kind == 0) p.drawLine(c.x() - 4, c.y() + 4, c.x() + 2, c.y() + 4);
        if (kind == 1) p.drawRect(c.x() - 4, c.y() - 4, 9, 8);
        if (kind == 2) {
            p.drawLine(c.x() - 4, c.y() - 4, c.x() + 4, c.y() + 4);
            p.drawLine(c.x() + 4, c.y() - 4, c.x() - 4, c.y() + 4);
        }
        if (kind == 3) {
            p.setFont(font(12, true));
            p.drawText(b, Qt::AlignCenter, "?");
        }
        p.restore();
    };
    const int bs = r.height() - 6;
    capButton(QRect(r.right() - bs - 2, r.top() + 3, bs, bs), 2);
    if (dialog) return;
    capButton(QRect(r.right() - 2 * bs - 4, r.top() + 3, bs, bs), 1);
    capButton(QRect(r.right() - 3 * bs - 6, r.top() + 3, bs, bs), 0);
}

} // namespace detail

QFont font(int pixels, bool bold) {
    ensureFont();
    QFont f(kFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QImage render(const Scene& s) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(kDialogFace);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QString caption = s.doc.name.isEmpty() ? QStringLiteral("Microsoft Word")
                                                 : s.doc.name + QStringLiteral(" - Microsoft Word");
    drawTitleBar(p, caption, QRect(0, 0, kWidth, kMenuTop), false);
    drawMenuBar(p, s);
    if (s.doc.view == 2) {
        drawReadingView(p, s.doc);
    } else {
        drawToolbar(p, s, kStdTop, 26);
        drawToolbar(p, s, kFmtTop, 26);
        // "75%" and the like: the page drawn smaller.
        const double zoom = s.zoom.endsWith(u'%') ? s.zoom.chopped(1).toDouble() / 100 : 1.0;
        drawRuler(p, s.doc, zoom > 0 ? zoom : 1.0);
        drawDocument(p, s.doc, zoom > 0 ? zoom : 1.0);
        drawScrollbars(p);
    }
    vGradient(p, QRect(0, kDocBottom + 17, kWidth, kDrawTop - kDocBottom - 17), kBarLight, kBarLight);
    if (s.drawingBar) drawToolbar(p, s, kDrawTop, 25);
    else p.fillRect(QRect(0, kDrawTop, kWidth, 25), kBarLight);
    drawStatus(p, s);
    if (!s.paneTitle.isEmpty()) drawTaskPane(p, s);
    for (const Dialog& d : s.dialogs) paintDialog(p, d);
    if (s.menu >= 0) paintPopup(p, dropDown(s.menu, s.menuHot));
    if (s.sub) paintPopup(p, *s.sub);
    if (s.popup) paintPopup(p, *s.popup);
    if (s.extra) s.extra(p);
    p.end();
    return img;
}

QImage splash(const QString& moduleName) {
    QImage img(440, 99, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(0, 0, 440, 99);
    g.setColorAt(0, QColor(0, 54, 160));
    g.setColorAt(0.6, QColor(30, 110, 220));
    g.setColorAt(1, QColor(120, 180, 250));
    p.fillRect(img.rect(), g);
    // stylised document with a "W"
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRect(18, 16, 56, 67), 6, 6);
    QFont wf(QStringLiteral("DejaVu Serif"));
    wf.setPixelSize(44);
    wf.setBold(true);
    p.setFont(wf);
    p.setPen(Qt::white);
    p.drawText(QRect(18, 16, 56, 67), Qt::AlignCenter, "W");
    p.setFont(font(26, true));
    p.drawText(QRect(92, 12, 340, 40), Qt::AlignLeft | Qt::AlignVCenter, moduleName + QStringLiteral(" Word 2003"));
    p.setFont(font(14));
    p.setPen(QColor(220, 235, 255));
    p.drawText(QRect(92, 54, 340, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("职称计算机考试练习系统"));
    p.setPen(QPen(QColor(255, 200, 60), 3));
    p.drawLine(92, 84, 420, 84);
    p.end();
    return img;
}

QImage logo() {
    QImage img(116, 23, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 116, 0);
    g.setColorAt(0, QColor(0, 54, 160));
    g.setColorAt(1, QColor(60, 140, 235));
    p.fillRect(img.rect(), g);
    p.setFont(font(12, true));
    p.setPen(Qt::white);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("考试练习系统"));
    p.end();
    return img;
}

} // namespace sample::ui
