// The simulated window's document: its layout, ruler and views, the sample
// documents and the geometry of their text.
#include "sample/word_ui.h"
#include "sample/word_ui_parts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace sample::ui {

using namespace detail;

namespace {

// ---- document layout ----
struct Glyph {
    int para;
    int index;
    QRect box;
    int baseline;
};

struct Layout {
    QVector<Glyph> glyphs;
    QVector<QRect> paraBoxes;     // union of a paragraph's lines
    QVector<QPoint> paraEnds;     // where the paragraph mark goes
    QRect page;
    QRect textArea;
};

QFont paraFont(const Para& p) {
    QFont f = font(p.size, p.bold);
    if (!p.family.isEmpty() && p.family != kFamily) {
        // Other document fonts are shown in the one CJK font of the machine,
        // with a stroke weight that tells them apart.
        if (p.family == "黑体") f.setWeight(QFont::Bold);
    }
    f.setItalic(p.italic);
    f.setUnderline(p.underline);
    return f;
}

Layout layout(const Doc& d) {
    Layout L;
    const bool page = d.view == 0;
    L.page = page ? QRect(40, 130, 706, 600) : QRect(0, kDocTop, 783, kDocBottom - kDocTop);
    L.textArea = page ? QRect(118, 150, 552, 500) : QRect(12, kDocTop + 8, 760, 400);
    int y = L.textArea.top();
    const int colGap = 24;
    int colWidth = d.columns > 1 ? (L.textArea.width() - colGap) / 2 : L.textArea.width();
    int column = 0;
    int columnTop = 0;
    int bodyLines = 0;
    if (d.columns > 1) {
        // estimate the body line count for the split
        for (int i = 1; i < d.paras.size(); ++i) {
            QFontMetrics fm(paraFont(d.paras[i]));
            bodyLines += (fm.horizontalAdvance(d.paras[i].text) + d.paras[i].firstIndent) / colWidth + 1;
        }
    }
    int linesInColumn = 0;
    L.paraBoxes.resize(d.paras.size());
    L.paraEnds.resize(d.paras.size());
    for (int pi = 0; pi < d.paras.size(); ++pi) {
        const Para& para = d.paras[pi];
        const QFont f = paraFont(para);
        const QFontMetrics fm(f);
        const int lineH = int((para.size * 1.55) * para.lineSpacing);
        const bool inColumns = d.columns > 1 && pi > 0;
        if (inColumns && columnTop == 0) columnTop = y;
        int left = L.textArea.left() + para.leftIndent;
        int width = L.textArea.width() - para.leftIndent - para.rightIndent;
        if (inColumns) {
            left = L.textArea.left() + column * (colWidth + colGap) + para.leftIndent;
            width = colWidth - para.leftIndent - para.rightIndent;
        }
        y += para.spaceBefore;
        int x0 = left + para.firstIndent;
        if (!para.bullet.isEmpty()) x0 = left + 28;
        QVector<QVector<int>> lines;   // char indices per line
        QVector<int> lineStart;
        int x = x0;
        const int dropLines = para.dropCap ? para.dropLines : 0;
        const int dropW = para.dropCap ? para.size * dropLines + 6 : 0;
        QVector<int> cur;
        int lineNo = 0;
        auto lineLeft = [&](int n) {
            int l = n == 0 ? x0 : (para.bullet.isEmpty() ? left : left + 28);
            if (para.dropCap && n < dropLines) l = left + dropW;
            return l;
        };
        const int firstChar = para.dropCap ? 1 : 0;
        x = lineLeft(0);
        for (int ci = firstChar; ci < para.text.size(); ++ci) {
            const int cw = fm.horizontalAdvance(para.text[ci]) + para.spacing;
            if (x + cw > left + width && !cur.isEmpty()) {
                lines.push_back(cur);
                cur.clear();
                ++lineNo;
                x = lineLeft(lineNo);
            }
            cur.push_back(ci);
            x += cw;
        }
        lines.push_back(cur);
        if (para.dropCap) {
            while (lines.size() < dropLines) lines.push_back({});
        }
        QRect box;
        for (int li = 0; li < lines.size(); ++li) {
            if (inColumns && column == 0 && linesInColumn >= (bodyLines + 1) / 2) {
                column = 1;
                y = columnTop;
                left += colWidth + colGap;
                x0 += colWidth + colGap;
            }
            int lineW = 0;
            for (int ci : lines[li]) lineW += fm.horizontalAdvance(para.text[ci]) + para.spacing;
            int lx = (li == 0) ? x0 : lineLeft(li);
            if (para.dropCap && li < dropLines) lx = left + dropW;
            if (para.align == 1) lx = left + (width - lineW) / 2;
            if (para.align == 2) lx = left + width - lineW;
            const int base = y + (lineH + fm.ascent() - fm.descent()) / 2;
            int cx = lx;
            for (int ci : lines[li]) {
                const int cw = fm.horizontalAdvance(para.text[ci]) + para.spacing;
                QRect gb(cx, y + 1, cw, lineH - 2);
                L.glyphs.push_back({pi, ci, gb, base});
                box = box.united(gb);
                cx += cw;
            }
            if (lines[li].isEmpty()) box = box.united(QRect(lx, y + 1, 1, lineH - 2));
            L.paraEnds[pi] = QPoint(cx, base);
            y += lineH;
            if (inColumns) ++linesInColumn;
        }
        if (para.dropCap && !para.text.isEmpty()) {
            const int top = box.top();
            L.glyphs.push_back({pi, 0, QRect(left, top, dropW, lineH * dropLines - 4), top + lineH * dropLines - 10});
            box = box.united(QRect(left, top, dropW, lineH * dropLines));
        }
        L.paraBoxes[pi] = box;
    }
    return L;
}

bool selected(const Doc& d, int para, int index) {
    for (const Selection& s : d.sel) {
        if (s.para != para) continue;
        const int end = s.len < 0 ? 1 << 20 : s.from + s.len;
        if (index >= s.from && index < end) return true;
    }
    return false;
}

} // namespace

namespace detail {

// The middle of the page, which stays in place at every zoom.
constexpr double kZoomCentre = 40 + 706 / 2.0;

void drawRuler(QPainter& p, const Doc& d, double zoom) {
    p.setBrush(Qt::NoBrush);
    QRect r(0, kRulerTop, kWidth, 20);
    vGradient(p, r, kBarLight, QColor(195, 215, 245));
    if (d.view >= 2) return;
    const Layout L = layout(d);
    if (d.view != 0) zoom = 1.0;
    auto X = [&](int x) { return int(std::lround(kZoomCentre + (x - kZoomCentre) * zoom)); };
    auto span = [&](int left, int right) { return QRect(QPoint(X(left), kRulerTop + 3), QPoint(X(right), kRulerTop + 16)); };
    QRect scale = span(L.page.left(), L.page.right());
    if (d.view == 1) scale = QRect(0, kRulerTop + 3, 783, 14);
    p.fillRect(scale, QColor(171, 190, 225));
    QRect inner = span(L.textArea.left(), L.textArea.right());
    p.fillRect(inner, Qt::white);
    p.setPen(QColor(100, 110, 130));
    p.drawRect(scale.adjusted(0, 0, -1, -1));
    p.setFont(font(9));
    const double cm = 37.8 * zoom;
    int n = 0;
    for (double xx = inner.left(); xx < inner.right(); xx += cm / 2, ++n) {
        const int xi = int(xx);
        if (n % 2 == 0 && n > 0) {
            p.drawText(QRect(xi - 8, kRulerTop + 3, 16, 14), Qt::AlignCenter, QString::number(n / 2));
        } else if (n > 0) {
            p.drawLine(xi, kRulerTop + 8, xi, kRulerTop + 11);
        }
    }
    // indent markers
    p.setBrush(QColor(240, 240, 240));
    const int ind = inner.left() + (d.paras.isEmpty() ? 0 : 0);
    p.drawPolygon(QPolygon({QPoint(ind - 4, kRulerTop + 3), QPoint(ind + 4, kRulerTop + 3), QPoint(ind, kRulerTop + 8)}));
    p.drawPolygon(QPolygon({QPoint(ind - 4, kRulerTop + 16), QPoint(ind + 4, kRulerTop + 16), QPoint(ind, kRulerTop + 11)}));
    const int rr = inner.right();
    p.drawPolygon(QPolygon({QPoint(rr - 4, kRulerTop + 16), QPoint(rr + 4, kRulerTop + 16), QPoint(rr, kRulerTop + 11)}));
}

namespace {
void drawDocumentArea(QPainter& p, const Doc& d, int bottom);
}

void drawDocument(QPainter& p, const Doc& d, double zoom) {
    if (d.view != 0 || zoom >= 1.0) {
        drawDocumentArea(p, d, kDocBottom);
        return;
    }
    // The page as at 100% (as far down as the smaller page shows it), drawn
    // smaller; the vertical ruler at the left keeps its place.
    drawDocumentArea(p, d, kDocBottom);
    const int bottom = kDocTop + int(std::ceil((kDocBottom - kDocTop) / zoom));
    QImage full(kWidth, bottom, QImage::Format_RGB32);
    {
        QPainter fp(&full);
        fp.setRenderHint(QPainter::TextAntialiasing, true);
        drawDocumentArea(fp, d, bottom);
    }
    const QRect shown(20, kDocTop, 763, kDocBottom - kDocTop);
    const QRect src(20, kDocTop, 763, bottom - kDocTop);
    const QRectF dst(kZoomCentre + (20 - kZoomCentre) * zoom, kDocTop, 763 * zoom, (bottom - kDocTop) * zoom);
    p.save();
    p.fillRect(shown, kDocBack);
    p.setClipRect(shown);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(dst, full, src);
    p.restore();
}

namespace {

void drawDocumentArea(QPainter& p, const Doc& d, int bottom) {
    const QRect area(0, kDocTop, 783, bottom - kDocTop);
    if (d.view == 3) {
        p.fillRect(area, kDocBack);
        return;
    }
    p.save();
    p.setClipRect(area);
    const Layout L = layout(d);
    if (d.view == 0) {
        p.fillRect(area, kDocBack);
        // vertical ruler
        p.fillRect(QRect(2, kDocTop + 2, 16, area.height()), QColor(171, 190, 225));
        p.fillRect(QRect(4, L.textArea.top(), 12, area.height()), Qt::white);
        p.fillRect(L.page.translated(3, 3), QColor(90, 90, 90));
        p.fillRect(L.page, Qt::white);
        // text-area corner marks
        p.setPen(QColor(160, 160, 160));
        const QRect t = L.textArea.adjusted(-4, -4, 4, 4);
        p.drawLine(t.left() - 14, t.top(), t.left(), t.top());
        p.drawLine(t.left(), t.top() - 14, t.left(), t.top());
        p.drawLine(t.right(), t.top(), t.right() + 14, t.top());
        p.drawLine(t.right(), t.top() - 14, t.right(), t.top());
    } else {
        p.fillRect(area, Qt::white);
    }
    for (int pi = 0; pi < d.paras.size(); ++pi) {
        const Para& para = d.paras[pi];
        const QRect box = L.paraBoxes[pi];
        if (para.shading) p.fillRect(box.adjusted(-2, 0, 2, 0), para.shadingColour);
        if (para.border) {
            const QRect frame = box.adjusted(-4, -2, 4, 2);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame);
            if (para.borderShadow) {
                p.fillRect(QRect(frame.right() + 1, frame.top() + 3, 3, frame.height() + 1), Qt::black);
                p.fillRect(QRect(frame.left() + 3, frame.bottom() + 1, frame.width() + 1, 3), Qt::black);
            }
        }
        if (!para.bullet.isEmpty() && !box.isNull()) {
            p.setFont(paraFont(para));
            p.setPen(para.color);
            const int lineH = int(para.size * 1.55 * para.lineSpacing);
            p.drawText(QRect(L.textArea.left() + para.leftIndent, box.top(), 26, lineH - 2),
                       Qt::AlignLeft | Qt::AlignVCenter, para.bullet);
        }
    }
    for (const Glyph& g : L.glyphs) {
        const Para& para = d.paras[g.para];
        QFont f = paraFont(para);
        const bool isDrop = para.dropCap && g.index == 0;
        if (isDrop) f.setPixelSize(para.size * para.dropLines);
        if (g.index < para.boldChars) f.setBold(true);
        const bool sel = selected(d, g.para, g.index);
        if (sel) p.fillRect(g.box, Qt::black);
        p.setFont(f);
        p.setPen(sel ? QColor(Qt::white) : para.color);
        int base = g.baseline;
        if (para.superscriptTail && g.index == para.text.size() - 1) {
            QFont sf = f;
            sf.setPixelSize(std::max(8, para.size * 2 / 3));
            p.setFont(sf);
            base -= para.size / 2;
        }
        p.drawText(QPoint(g.box.left(), base), QString(para.text[g.index]));
    }
    if (d.marks) {
        p.setFont(font(13));
        p.setPen(QColor(70, 100, 200));
        for (int pi = 0; pi < d.paras.size(); ++pi)
            p.drawText(L.paraEnds[pi] + QPoint(1, 0), QStringLiteral("↵"));
    }
    if (d.caretAtEnd && !d.paras.isEmpty()) {
        const QPoint e = L.paraEnds.last();
        p.setPen(Qt::black);
        p.drawLine(e.x() + 1, e.y() - 14, e.x() + 1, e.y() + 3);
    }
    p.restore();
}

} // namespace

void drawReadingView(QPainter& p, const Doc& d) {
    QRect area(0, kStdTop, kWidth, kDocBottom - kStdTop + 17);
    p.fillRect(area, QColor(200, 212, 232));
    // reading toolbar
    QRect bar(0, kStdTop, kWidth, 26);
    vGradient(p, bar, kBarLight, kBarDark);
    p.setFont(font(12));
    p.setPen(Qt::black);
    text(p, QRect(12, kStdTop, 300, 26), "文档结构图   缩略图   查找   信息检索   字号");
    text(p, QRect(560, kStdTop, 230, 26), "实际页数    1 / 2    关闭(C)");
    Doc left = d;
    for (int half = 0; half < 2; ++half) {
        QRect pg(half == 0 ? 40 : 410, kStdTop + 40, 350, 440);
        p.fillRect(pg.translated(3, 3), QColor(120, 120, 130));
        p.fillRect(pg, Qt::white);
        p.setFont(font(15));
        p.setPen(Qt::black);
        QString all;
        for (int i = half == 0 ? 0 : 2; i < (half == 0 ? 2 : d.paras.size()); ++i) all += d.paras[i].text + "\n";
        p.drawText(pg.adjusted(24, 24, -24, -24), Qt::TextWordWrap, all);
    }
}

} // namespace detail

// ---- document ----
namespace {
Para title(const QString& t) {
    Para p;
    p.text = t;
    p.size = 18;
    p.firstIndent = 0;
    return p;
}
Para body(const QString& t) {
    Para p;
    p.text = t;
    return p;
}
} // namespace

Doc sampleDoc() {
    Doc d;
    d.paras = {
        title("计算机网络基础知识"),
        body("计算机网络是指将地理位置不同的具有独立功能的多台计算机及其外部设备，通过通信线路连接起来，"
             "在网络操作系统、网络管理软件及网络通信协议的管理和协调下，实现资源共享和信息传递的计算机系统。"),
        body("互联网始于1969年的美国，是全球性的信息系统。它通过统一的协议把世界各地的网络连接在一起，"
             "人们可以在网上浏览新闻、收发邮件、查询资料和进行交流。"),
        body("网络安全是指网络系统的硬件、软件及其系统中的数据受到保护，不因偶然的或者恶意的原因而遭到破坏、"
             "更改、泄露，系统连续可靠正常地运行，网络服务不中断。"),
        body("常见的网络拓扑结构有星型、总线型、环型和树型等几种。"),
    };
    return d;
}

Doc noticeDoc() {
    Doc d;
    d.name = QStringLiteral("通知");
    Para t = title("关于举办计算机应用能力培训的通知");
    t.align = 1;
    t.bold = true;
    d.paras = {
        t,
        body("各部门："),
        body("为提高全体员工的办公自动化水平，公司定于下月初举办为期两周的计算机应用能力培训，"
             "内容包括文字处理、电子表格和演示文稿的制作。"),
        body("请各部门于本周五前将参训人员名单报送人事部。"),
        body("人事部"),
    };
    d.paras[1].firstIndent = 0;
    d.paras[4].align = 2;
    return d;
}

Doc emptyDoc(const QString& name) {
    Doc d;
    d.name = name;
    d.paras = {body(QString())};
    d.paras[0].firstIndent = 0;
    d.caretAtEnd = true;
    return d;
}

QRect textRect(const Doc& doc, int para, int from, int len) {
    const Layout L = layout(doc);
    QRect r;
    int lineTop = -1;
    for (const Glyph& g : L.glyphs) {
        if (g.para != para || g.index < from || g.index >= from + len) continue;
        if (lineTop < 0) lineTop = g.box.top();
        if (g.box.top() != lineTop) continue;
        r = r.united(g.box);
    }
    return r;
}

QRect paraRect(const Doc& doc, int para) {
    const Layout L = layout(doc);
    return para >= 0 && para < L.paraBoxes.size() ? L.paraBoxes[para] : QRect();
}

QRect marginRect(const Doc& doc, int para) {
    const Layout L = layout(doc);
    const QRect b = para >= 0 && para < L.paraBoxes.size() ? L.paraBoxes[para] : QRect();
    const int lineH = int(doc.paras[para].size * 1.55 * doc.paras[para].lineSpacing);
    return QRect(L.textArea.left() - 58, b.top(), 50, lineH - 2);
}

} // namespace sample::ui
