// The simulated window's dialogs: their widgets, geometry and painting.
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

// ---- dialogs ----
Dialog& Dialog::add(Widget w) {
    widgets.push_back(std::move(w));
    return *this;
}

QPoint Dialog::client() const { return frame.topLeft() + QPoint(4, 29); }

Widget* Dialog::find(const QString& id) {
    for (Widget& w : widgets)
        if (w.id == id) return &w;
    return nullptr;
}

QRect Dialog::at(const QString& id) const {
    for (const Widget& w : widgets)
        if (w.id == id) return w.r.translated(client());
    return {};
}

QRect Dialog::row(const QString& id, int row) const {
    for (const Widget& w : widgets) {
        if (w.id != id) continue;
        const QRect r = w.r.translated(client());
        if (w.kind == Widget::Swatches) return swatchCell(r, row);
        return QRect(r.left() + 2, r.top() + 2 + row * kListRow, r.width() - 4, kListRow);
    }
    return {};
}

namespace {
QVector<QRect> tabRects(const Widget& w) {
    QVector<QRect> out;
    QFontMetrics fm(font(12));
    int x = w.r.left() + 2;
    for (const QString& n : w.items) {
        const int tw = fm.horizontalAdvance(n) + 16;
        out.push_back(QRect(x, w.r.top(), tw, 21));
        x += tw;
    }
    return out;
}
} // namespace

QRect Dialog::tab(const QString& id, int index) const {
    for (const Widget& w : widgets) {
        if (w.id != id) continue;
        const QVector<QRect> t = tabRects(w);
        return index >= 0 && index < t.size() ? t[index].translated(client()) : QRect();
    }
    return {};
}

Widget label(QRect r, const QString& t) { return Widget{Widget::Label, {}, r, t, false, {}, -1, {}}; }
Widget edit(const QString& id, QRect r, const QString& t, bool focus) { return Widget{Widget::Edit, id, r, t, focus, {}, -1, {}}; }
Widget combo(const QString& id, QRect r, const QString& t) { return Widget{Widget::Combo, id, r, t, false, {}, -1, {}}; }
Widget button(const QString& id, QRect r, const QString& t, bool def) { return Widget{Widget::Button, id, r, t, def, {}, -1, {}}; }
Widget check(const QString& id, QRect r, const QString& t, bool on) { return Widget{Widget::Check, id, r, t, on, {}, -1, {}}; }
Widget radio(const QString& id, QRect r, const QString& t, bool on) { return Widget{Widget::Radio, id, r, t, on, {}, -1, {}}; }
Widget group(QRect r, const QString& t) { return Widget{Widget::Group, {}, r, t, false, {}, -1, {}}; }
Widget list(const QString& id, QRect r, QStringList rows, int sel) { return Widget{Widget::List, id, r, {}, false, rows, sel, {}}; }
Widget tabs(const QString& id, QRect r, QStringList names, int sel) { return Widget{Widget::Tabs, id, r, {}, false, names, sel, {}}; }
Widget preview(QRect r, const QString& t) { return Widget{Widget::Preview, {}, r, t, false, {}, -1, {}}; }
Widget icon(QRect r, const QString& kind) { return Widget{Widget::Icon, {}, r, kind, false, {}, -1, {}}; }
Widget spin(const QString& id, QRect r, const QString& t) { return Widget{Widget::Spin, id, r, t, false, {}, -1, {}}; }
Widget dropList(const QString& id, QRect r, QStringList rows, int hot) { return Widget{Widget::DropList, id, r, {}, false, rows, hot, {}}; }
Widget cell(const QString& id, QRect r, const QString& t, bool selected) { return Widget{Widget::Cell, id, r, t, selected, {}, -1, {}}; }
Widget sample(const QString& id, QRect r, const QString& kind, bool selected) { return Widget{Widget::Sample, id, r, kind, selected, {}, -1, {}}; }
Widget swatches(const QString& id, QRect r, QVector<QColor> colours, int hot) {
    return Widget{Widget::Swatches, id, r, {}, false, {}, hot, colours};
}

QRect swatchCell(QRect r, int index) {
    const int col = index % 8, row = index / 8;
    return QRect(r.left() + 6 + col * 18, r.top() + 6 + row * 18, 14, 14);
}

namespace {

void drawButton(QPainter& p, QRect r, const QString& t, bool def) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Qt::white);
    g.setColorAt(0.8, QColor(236, 235, 230));
    g.setColorAt(1, QColor(214, 208, 197));
    p.setBrush(g);
    p.setPen(QColor(0, 60, 116));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (def) {
        p.setPen(QPen(QColor(137, 173, 228), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(r).adjusted(2, 2, -2, -2), 2, 2);
    }
    p.restore();
    p.setFont(font(12));
    p.setPen(Qt::black);
    text(p, r, t, Qt::AlignCenter);
}

void drawEditBox(QPainter& p, QRect r, const QString& t, bool focus) {
    p.fillRect(r, Qt::white);
    p.setPen(kEditLine);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setFont(font(12));
    if (focus && !t.isEmpty()) {
        QFontMetrics fm(font(12));
        QRect sr(r.left() + 3, r.top() + 3, fm.horizontalAdvance(t) + 2, r.height() - 6);
        p.fillRect(sr, kSelBlue);
        p.setPen(Qt::white);
    } else {
        p.setPen(Qt::black);
    }
    text(p, r.adjusted(4, 0, -2, 0), t);
    if (focus && t.isEmpty()) {
        p.setPen(Qt::black);
        p.drawLine(r.left() + 4, r.top() + 4, r.left() + 4, r.bottom() - 4);
    }
}

void drawDropButton(QPainter& p, QRect r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(225, 234, 254));
    g.setColorAt(1, QColor(174, 200, 247));
    p.setBrush(g);
    p.setPen(QColor(183, 198, 240));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.restore();
    drawArrowDown(p, r.center() + QPoint(1, 1), QColor(77, 97, 133));
}

void drawSample(QPainter& p, QRect r, const QString& kind, bool selected) {
    p.setBrush(Qt::NoBrush);
    p.fillRect(r, Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QColor grey(150, 150, 150);
    auto bar = [&](int x1, int y, int x2) { p.fillRect(QRect(x1, y, std::max(1, x2 - x1), 3), grey); };
    if (kind.startsWith("lines:")) {
        const QStringList marks = kind.mid(6).split(u'|');
        if (marks.size() == 1 && marks[0] == QStringLiteral("无")) {
            p.setFont(font(14));
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter, marks[0]);
        } else {
            p.setFont(font(11));
            for (int i = 0; i < 3; ++i) {
                const int y = r.top() + 14 + i * (r.height() - 20) / 3;
                p.setPen(Qt::black);
                p.drawText(QRect(r.left() + 6, y - 8, 26, 16), Qt::AlignLeft | Qt::AlignVCenter,
                           marks.size() == 1 ? marks[0] : marks.value(i));
                bar(r.left() + 32, y, r.right() - 6);
            }
        }
    } else if (kind.startsWith("cols:")) {
        const int n = kind.mid(5).toInt();
        const int inner = r.width() - 12;
        for (int c = 0; c < n; ++c) {
            int x1 = r.left() + 6 + c * inner / n + (c ? 3 : 0);
            int x2 = r.left() + 6 + (c + 1) * inner / n - 3;
            if (kind.endsWith("L")) { x1 = c == 0 ? r.left() + 6 : r.left() + 6 + inner / 3 + 3; x2 = c == 0 ? r.left() + 6 + inner / 3 - 3 : r.right() - 6; }
            if (kind.endsWith("R")) { x1 = c == 0 ? r.left() + 6 : r.left() + 6 + inner * 2 / 3 + 3; x2 = c == 0 ? r.left() + 6 + inner * 2 / 3 - 3 : r.right() - 6; }
            for (int y = r.top() + 8; y < r.bottom() - 6; y += 6) bar(x1, y, x2);
        }
    } else if (kind.startsWith("drop:")) {
        const int n = kind.mid(5).toInt();
        for (int i = 0; i < 5; ++i) {
            const int y = r.top() + 10 + i * 10;
            const int left = (n == 1 && i < 3) ? r.left() + 28 : r.left() + 8;
            bar(n == 2 ? r.left() + 24 : left, y, r.right() - 8);
        }
        if (n > 0) {
            QFont f = font(28, true);
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(QRect(n == 2 ? r.left() + 2 : r.left() + 6, r.top() + 4, 24, 34), Qt::AlignCenter, "W");
        }
    } else if (kind.startsWith("border:")) {
        const QString b = kind.mid(7);
        QRect page(r.left() + 8, r.top() + 6, r.width() - 16, r.height() - 12);
        for (int y = page.top() + 6; y < page.bottom() - 4; y += 6) bar(page.left() + 4, y, page.right() - 4);
        p.setBrush(Qt::NoBrush);
        if (b == "box" || b == "shadow" || b == "3d") {
            p.setPen(QPen(Qt::black, 1));
            p.drawRect(page.adjusted(0, 0, -1, -1));
        }
        if (b == "shadow") {
            p.fillRect(QRect(page.right() + 1, page.top() + 3, 3, page.height()), Qt::black);
            p.fillRect(QRect(page.left() + 3, page.bottom() + 1, page.width(), 3), Qt::black);
        }
        if (b == "3d") {
            p.setPen(QPen(QColor(120, 120, 120), 2));
            p.drawLine(page.right() + 2, page.top() + 2, page.right() + 2, page.bottom() + 2);
            p.drawLine(page.left() + 2, page.bottom() + 2, page.right() + 2, page.bottom() + 2);
        }
        if (b == "custom") {
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(page.topLeft(), page.topRight());
            p.drawLine(page.bottomLeft(), page.bottomRight());
        }
    }
    if (selected) {
        p.setPen(QPen(kSelBlue, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void drawWidget(QPainter& p, const Widget& w, QPoint o) {
    p.setBrush(Qt::NoBrush);
    const QRect r = w.r.translated(o);
    p.setFont(font(12));
    switch (w.kind) {
    case Widget::Label:
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, w.text);
        break;
    case Widget::Edit:
        drawEditBox(p, r, w.text, w.on);
        break;
    case Widget::Spin: {
        drawEditBox(p, r.adjusted(0, 0, -16, 0), w.text, w.on);
        QRect up(r.right() - 15, r.top(), 16, r.height() / 2);
        QRect dn(r.right() - 15, r.top() + r.height() / 2, 16, r.height() - r.height() / 2);
        drawDropButton(p, up);
        drawDropButton(p, dn);
        break;
    }
    case Widget::Combo:
        drawEditBox(p, r, w.text, w.on);
        drawDropButton(p, QRect(r.right() - 16, r.top() + 1, 16, r.height() - 2));
        break;
    case Widget::Button:
        drawButton(p, r, w.text, w.on);
        break;
    case Widget::Check: {
        QRect b(r.left(), r.center().y() - 6, 13, 13);
        p.fillRect(b, Qt::white);
        p.setPen(QColor(28, 81, 128));
        p.drawRect(b.adjusted(0, 0, -1, -1));
        if (w.on) {
            p.setPen(QPen(QColor(33, 161, 33), 2));
            p.drawLine(b.left() + 3, b.top() + 6, b.left() + 5, b.top() + 9);
            p.drawLine(b.left() + 5, b.top() + 9, b.left() + 10, b.top() + 3);
        }
        p.setPen(Qt::black);
        text(p, r.adjusted(18, 0, 0, 0), w.text);
        break;
    }
    case Widget::Radio: {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        QRect b(r.left(), r.center().y() - 6, 13, 13);
        p.setBrush(Qt::white);
        p.setPen(QColor(28, 81, 128));
        p.drawEllipse(b);
        if (w.on) {
            p.setBrush(QColor(33, 161, 33));
            p.setPen(Qt::NoPen);
            p.drawEllipse(b.center() + QPointF(0.5, 0.5), 3, 3);
        }
        p.restore();
        p.setPen(Qt::black);
        text(p, r.adjusted(18, 0, 0, 0), w.text);
        break;
    }
    case Widget::Group: {
        QFontMetrics fm(font(12));
        p.setPen(QColor(208, 208, 191));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0, 7, -1, -1), 3, 3);
        QRect cap(r.left() + 8, r.top(), fm.horizontalAdvance(w.text) + 6, 15);
        p.fillRect(cap, kDialogFace);
        p.setPen(QColor(0, 70, 213));
        text(p, cap.adjusted(3, 0, 0, 0), w.text);
        break;
    }
    case Widget::List:
    case Widget::DropList: {
        p.fillRect(r, Qt::white);
        p.setPen(w.kind == Widget::DropList ? QColor(0, 0, 0) : kEditLine);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.save();
        p.setClipRect(r.adjusted(1, 1, -1, -1));
        for (int i = 0; i < w.items.size(); ++i) {
            QRect ir(r.left() + 2, r.top() + 2 + i * kListRow, r.width() - 4, kListRow);
            if (i == w.sel) {
                p.fillRect(ir, kSelBlue);
                p.setPen(Qt::white);
            } else {
                p.setPen(Qt::black);
            }
            text(p, ir.adjusted(3, 0, 0, 0), w.items[i]);
        }
        p.restore();
        break;
    }
    case Widget::Tabs: {
        const QVector<QRect> t = tabRects(w);
        QRect page(r.left(), r.top() + 20, r.width(), r.height() - 20);
        p.fillRect(page, QColor(252, 252, 254));
        p.setPen(QColor(145, 155, 156));
        p.drawRect(page.adjusted(0, 0, -1, -1));
        for (int i = 0; i < t.size(); ++i) {
            QRect tr = t[i].translated(o);
            const bool active = i == w.sel;
            if (!active) tr.adjust(0, 2, 0, 0);
            else tr.adjust(-2, 0, 2, 1);
            vGradient(p, tr, Qt::white, active ? QColor(252, 252, 254) : QColor(236, 236, 229));
            p.setPen(QColor(145, 155, 156));
            p.drawLine(tr.topLeft(), tr.bottomLeft());
            p.drawLine(tr.topRight(), tr.bottomRight());
            p.drawLine(tr.topLeft(), tr.topRight());
            if (active) {
                p.setPen(QPen(QColor(255, 200, 60), 2));
                p.drawLine(tr.left() + 1, tr.top() + 1, tr.right() - 1, tr.top() + 1);
            }
            p.setPen(Qt::black);
            text(p, tr, w.items[i], Qt::AlignCenter);
        }
        break;
    }
    case Widget::Preview: {
        p.fillRect(r, Qt::white);
        p.setPen(QColor(145, 155, 156));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setFont(font(14));
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, w.text);
        break;
    }
    case Widget::Icon: {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(w.text == "question" ? QColor(40, 90, 200) : QColor(40, 90, 200));
        p.drawEllipse(r);
        p.setPen(Qt::white);
        p.setFont(font(r.height() * 2 / 3, true));
        p.drawText(r, Qt::AlignCenter, w.text == "question" ? "?" : "i");
        p.restore();
        break;
    }
    case Widget::Cell: {
        p.fillRect(r, w.on ? kSelBlue : QColor(Qt::white));
        p.setPen(QColor(160, 160, 160));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setFont(font(16));
        p.setPen(w.on ? QColor(Qt::white) : QColor(Qt::black));
        p.drawText(r, Qt::AlignCenter, w.text);
        break;
    }
    case Widget::Sample:
        drawSample(p, r, w.text, w.on);
        break;
    case Widget::Swatches: {
        p.fillRect(r, QColor(249, 248, 247));
        p.setPen(QColor(0, 45, 150));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        for (int i = 0; i < w.colours.size(); ++i) {
            QRect c = swatchCell(r, i);
            if (i == w.sel) {
                p.fillRect(c.adjusted(-2, -2, 2, 2), kHotFill);
                p.setPen(kHotLine);
                p.drawRect(c.adjusted(-2, -2, 1, 1));
            }
            p.fillRect(c, w.colours[i]);
            p.setPen(QColor(128, 128, 128));
            p.drawRect(c.adjusted(0, 0, -1, -1));
        }
        break;
    }
    }
}

} // namespace

void paintDialog(QPainter& p, const Dialog& d) {
    p.save();
    p.setBrush(Qt::NoBrush);
    const QRect f = d.frame;
    p.fillRect(f.translated(4, 4), QColor(0, 0, 0, 50));
    p.fillRect(f, QColor(0, 60, 180));
    p.fillRect(f.adjusted(3, 25, -3, -3), kDialogFace);
    drawTitleBar(p, d.title, QRect(f.left(), f.top(), f.width(), 26), true);
    p.setPen(QColor(0, 19, 140));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.adjusted(0, 0, -1, -1));
    // widgets: drop lists last (they lie over the others)
    for (const Widget& w : d.widgets)
        if (w.kind != Widget::DropList && w.kind != Widget::Swatches) drawWidget(p, w, d.client());
    for (const Widget& w : d.widgets)
        if (w.kind == Widget::DropList || w.kind == Widget::Swatches) drawWidget(p, w, d.client());
    p.restore();
}

void paintWidget(QPainter& p, const Widget& w, QPoint origin) { drawWidget(p, w, origin); }

Dialog messageBox(const QString& title, const QString& body, QPoint at) {
    QFontMetrics fm(font(12));
    const int tw = std::max(160, int(fm.horizontalAdvance(body)) + 20);
    Dialog d;
    d.title = title;
    d.help = false;
    d.frame = QRect(at, QSize(tw + 80, 128));
    d.add(icon(QRect(14, 14, 32, 32), "info"));
    d.add(label(QRect(60, 12, tw, 36), body));
    d.add(button("ok", QRect((tw + 72) / 2 - 37, 62, 75, 23), "确定", true));
    return d;
}

} // namespace sample::ui
