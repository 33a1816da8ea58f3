// The simulated window's toolbars: their buttons, icons and geometry.
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

// ---- toolbar model ----
struct ToolItem {
    QString name;
    int width;       // 0: separator
    int kind;        // 0 button, 1 button with arrow, 2 combo box, 3 text button
    QString text;    // combo or text button caption
};

QVector<ToolItem> standardBar() {
    return {
        {"新建", 23, 0, {}}, {"打开", 23, 0, {}}, {"保存", 23, 0, {}}, {"(自由访问的)权限", 23, 0, {}},
        {"电子邮件", 23, 0, {}}, {"打印", 23, 0, {}}, {"打印预览", 23, 0, {}}, {"中文简繁转换", 23, 0, {}},
        {"拼写和语法", 23, 0, {}}, {"信息检索", 23, 0, {}}, {{}, 0, 0, {}},
        {"剪切", 23, 0, {}}, {"复制", 23, 0, {}}, {"粘贴", 23, 0, {}}, {"格式刷", 23, 0, {}}, {{}, 0, 0, {}},
        {"撤消", 33, 1, {}}, {"恢复", 33, 1, {}}, {{}, 0, 0, {}},
        {"插入超链接", 23, 0, {}}, {"表格和边框", 23, 0, {}}, {"插入表格", 23, 0, {}},
        {"插入 Microsoft Excel 工作表", 23, 0, {}}, {"分栏", 23, 0, {}}, {"绘图", 23, 0, {}},
        {"文档结构图", 23, 0, {}}, {"显示段落标记", 23, 0, {}}, {"显示比例", 56, 2, "100%"},
        {"Microsoft Office Word 帮助", 23, 0, {}}, {{}, 0, 0, {}}, {"阅读", 52, 3, "阅读(R)"},
    };
}

QVector<ToolItem> formatBar() {
    return {
        {"格式窗格", 23, 0, {}}, {"样式", 74, 2, "正文"}, {"字体", 96, 2, "宋体"}, {"字号", 46, 2, "五号"},
        {"加粗", 23, 0, {}}, {"倾斜", 23, 0, {}}, {"下划线", 23, 0, {}}, {"字符边框", 23, 0, {}},
        {"字符底纹", 23, 0, {}}, {"字符缩放", 23, 0, {}}, {{}, 0, 0, {}},
        {"两端对齐", 23, 0, {}}, {"居中对齐", 23, 0, {}}, {"右对齐", 23, 0, {}}, {"分散对齐", 23, 0, {}},
        {"行距", 33, 1, {}}, {{}, 0, 0, {}},
        {"编号", 23, 0, {}}, {"项目符号", 23, 0, {}}, {"减少缩进量", 23, 0, {}}, {"增加缩进量", 23, 0, {}},
        {{}, 0, 0, {}}, {"突出显示(非突出显示)", 33, 1, {}}, {"字体颜色", 33, 1, {}},
        {"拼音指南", 23, 0, {}}, {"带圈字符", 23, 0, {}},
    };
}

QVector<ToolItem> drawingBar() {
    return {
        {"绘图菜单", 54, 3, "绘图(R)"}, {"选择对象", 23, 0, {}}, {"自选图形", 78, 3, "自选图形(U)"},
        {"直线", 23, 0, {}}, {"箭头", 23, 0, {}}, {"矩形", 23, 0, {}}, {"椭圆", 23, 0, {}},
        {"文本框", 23, 0, {}}, {"竖排文本框", 23, 0, {}}, {"插入艺术字", 23, 0, {}},
        {"插入组织结构图或其它图示", 23, 0, {}}, {"插入剪贴画", 23, 0, {}}, {"插入文件中的图片", 23, 0, {}},
        {{}, 0, 0, {}}, {"填充颜色", 33, 1, {}}, {"线条颜色", 33, 1, {}}, {"字体颜色 ", 33, 1, {}},
        {"线型", 23, 0, {}}, {"虚线线型", 23, 0, {}}, {"箭头样式", 23, 0, {}}, {"阴影样式", 23, 0, {}},
        {"三维效果样式", 23, 0, {}},
    };
}

struct PlacedTool {
    ToolItem item;
    QRect r;
};

QVector<PlacedTool> place(const QVector<ToolItem>& items, int left, int top) {
    QVector<PlacedTool> out;
    int x = left;
    for (const ToolItem& t : items) {
        if (t.width == 0) {
            out.push_back({t, QRect(x + 2, top + 3, 2, 20)});
            x += 6;
            continue;
        }
        out.push_back({t, QRect(x, top + 2, t.width, 22)});
        x += t.width + 1;
    }
    return out;
}

const QVector<PlacedTool>& allTools() {
    static const QVector<PlacedTool> tools = [] {
        QVector<PlacedTool> v = place(standardBar(), 10, kStdTop);
        v += place(formatBar(), 10, kFmtTop);
        v += place(drawingBar(), 10, kDrawTop);
        return v;
    }();
    return tools;
}

const PlacedTool* findTool(const QString& name) {
    for (const PlacedTool& t : allTools())
        if (t.item.width && t.item.name == name) return &t;
    return nullptr;
}

// ---- icons ----
void drawIcon(QPainter& p, const QString& name, QRect r) {
    const QPoint c = r.center();
    const int x = c.x() - 8, y = c.y() - 8;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    auto page = [&](int px, int py, QColor fill = Qt::white) {
        QPolygon poly;
        poly << QPoint(px, py) << QPoint(px + 8, py) << QPoint(px + 12, py + 4) << QPoint(px + 12, py + 15)
             << QPoint(px, py + 15);
        p.setPen(QColor(90, 90, 110));
        p.setBrush(fill);
        p.drawPolygon(poly);
    };
    auto lines = [&](int left, int top, const QVector<int>& widths, int step = 3) {
        p.setPen(QPen(QColor(20, 20, 60), 1));
        for (int i = 0; i < widths.size(); ++i) {
            int l = left;
            if (widths[i] < 0) l = left + 12 + widths[i];
            p.drawLine(l, top + i * step, l + std::abs(widths[i]), top + i * step);
        }
    };
    auto letter = [&](const QString& s, QColor col, bool bold, bool italic, bool underline) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(15);
        f.setBold(bold);
        f.setItalic(italic);
        f.setUnderline(underline);
        p.setFont(f);
        p.setPen(col);
        p.drawText(r, Qt::AlignCenter, s);
    };
    if (name == "新建") {
        page(x + 2, y);
    } else if (name == "打开") {
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(250, 210, 90));
        p.drawRect(x + 1, y + 4, 14, 10);
        p.setBrush(QColor(255, 230, 140));
        p.drawPolygon(QPolygon({QPoint(x + 3, y + 8), QPoint(x + 16, y + 8), QPoint(x + 14, y + 14), QPoint(x + 1, y + 14)}));
    } else if (name == "保存") {
        p.setPen(QColor(30, 40, 100));
        p.setBrush(QColor(60, 90, 190));
        p.drawRect(x + 1, y + 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(x + 4, y + 1, 8, 6);
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(x + 4, y + 10, 8, 5);
    } else if (name == "打印") {
        p.setPen(QColor(70, 70, 70));
        p.setBrush(Qt::white);
        p.drawRect(x + 4, y, 8, 6);
        p.setBrush(QColor(190, 190, 200));
        p.drawRect(x + 1, y + 6, 14, 7);
        p.setBrush(Qt::white);
        p.drawRect(x + 4, y + 11, 8, 5);
    } else if (name == "打印预览") {
        page(x + 1, y);
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPoint(x + 9, y + 8), 4, 4);
        p.drawLine(x + 12, y + 11, x + 15, y + 15);
    } else if (name == "拼写和语法") {
        QFont f = font(8, true);
        p.setFont(f);
        p.setPen(QColor(20, 20, 120));
        p.drawText(QRect(x, y - 1, 17, 9), Qt::AlignCenter, "ABC");
        p.setPen(QPen(QColor(30, 150, 30), 2));
        p.drawLine(x + 4, y + 11, x + 7, y + 14);
        p.drawLine(x + 7, y + 14, x + 14, y + 7);
    } else if (name == "剪切") {
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawLine(x + 5, y + 1, x + 11, y + 10);
        p.drawLine(x + 11, y + 1, x + 5, y + 10);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPoint(x + 4, y + 13), 3, 3);
        p.drawEllipse(QPoint(x + 12, y + 13), 3, 3);
    } else if (name == "复制") {
        page(x, y);
        page(x + 4, y + 1);
    } else if (name == "粘贴") {
        p.setPen(QColor(110, 70, 20));
        p.setBrush(QColor(200, 150, 80));
        p.drawRect(x + 1, y + 2, 11, 13);
        page(x + 5, y + 5);
    } else if (name == "格式刷") {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(240, 200, 60));
        p.drawRect(x + 2, y + 1, 12, 5);
        p.setBrush(QColor(150, 100, 50));
        p.drawRect(x + 7, y + 6, 2, 9);
    } else if (name == "撤消" || name == "恢复") {
        QPainterPath path;
        const bool undo = name == "撤消";
        const int bx = r.left() + 3;
        path.moveTo(undo ? bx + 3 : bx + 13, y + 6);
        path.cubicTo(undo ? bx + 10 : bx + 6, y, undo ? bx + 17 : bx - 1, y + 8, undo ? bx + 11 : bx + 5, y + 14);
        p.setPen(QPen(QColor(30, 60, 160), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setBrush(QColor(30, 60, 160));
        const int ax = undo ? bx + 3 : bx + 13;
        p.drawPolygon(QPolygon({QPoint(ax, y + 2), QPoint(ax, y + 9), QPoint(undo ? ax + 5 : ax - 5, y + 6)}));
    } else if (name == "表格和边框" || name == "插入表格") {
        p.setPen(QColor(40, 60, 130));
        p.setBrush(name == "插入表格" ? QColor(255, 255, 255) : QColor(230, 240, 255));
        p.drawRect(x + 1, y + 2, 14, 12);
        p.drawLine(x + 1, y + 6, x + 15, y + 6);
        p.drawLine(x + 1, y + 10, x + 15, y + 10);
        p.drawLine(x + 6, y + 2, x + 6, y + 14);
        p.drawLine(x + 11, y + 2, x + 11, y + 14);
    } else if (name == "分栏") {
        lines(x + 1, y + 2, {6, 6, 6, 6, 6});
        lines(x + 9, y + 2, {6, 6, 6, 6, 6});
    } else if (name == "显示段落标记") {
        letter("¶", QColor(20, 20, 90), true, false, false);
    } else if (name == "加粗") {
        letter("B", Qt::black, true, false, false);
    } else if (name == "倾斜") {
        letter("I", Qt::black, false, true, false);
    } else if (name == "下划线") {
        letter("U", Qt::black, false, false, true);
    } else if (name == "字符边框") {
        letter("A", Qt::black, false, false, false);
        p.setPen(QColor(40, 40, 40));
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 2, y + 1, 12, 14);
    } else if (name == "字符底纹") {
        p.fillRect(x + 2, y + 1, 12, 14, QColor(190, 190, 190));
        letter("A", Qt::black, false, false, false);
    } else if (name == "两端对齐") {
        lines(x + 2, y + 3, {12, 12, 12, 12});
    } else if (name == "居中对齐") {
        for (int i = 0; i < 4; ++i) lines(x + (i % 2 ? 4 : 2), y + 3 + 3 * i, {i % 2 ? 8 : 12});
    } else if (name == "右对齐") {
        lines(x + 2, y + 3, {12, -8, 12, -8});
    } else if (name == "分散对齐") {
        lines(x + 1, y + 3, {14, 14, 14, 14});
    } else if (name == "行距") {
        lines(x + 7, y + 3, {8, 8, 8, 8});
        p.setPen(QPen(QColor(30, 60, 160), 1));
        p.drawLine(x + 3, y + 2, x + 3, y + 13);
    } else if (name == "编号" || name == "项目符号") {
        lines(x + 7, y + 3, {8, 8, 8});
        p.setPen(QColor(20, 20, 90));
        if (name == "编号") {
            p.setFont(font(6));
            for (int i = 0; i < 3; ++i) p.drawText(QRect(x, y + i * 5 - 2, 6, 7), Qt::AlignCenter, QString::number(i + 1));
        } else {
            p.setBrush(QColor(20, 20, 90));
            for (int i = 0; i < 3; ++i) p.drawEllipse(QPoint(x + 3, y + 3 + i * 3 * 1 + i * 2), 1, 1);
        }
    } else if (name == "减少缩进量" || name == "增加缩进量") {
        lines(x + 6, y + 3, {9, 9, 9, 9});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 160));
        if (name == "增加缩进量")
            p.drawPolygon(QPolygon({QPoint(x + 1, y + 5), QPoint(x + 5, y + 8), QPoint(x + 1, y + 11)}));
        else
            p.drawPolygon(QPolygon({QPoint(x + 5, y + 5), QPoint(x + 1, y + 8), QPoint(x + 5, y + 11)}));
    } else if (name == "突出显示(非突出显示)") {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(255, 255, 255));
        p.drawPolygon(QPolygon({QPoint(r.left() + 9, y + 1), QPoint(r.left() + 14, y + 6), QPoint(r.left() + 8, y + 12), QPoint(r.left() + 3, y + 7)}));
        p.fillRect(r.left() + 3, y + 13, 14, 3, QColor(255, 255, 0));
    } else if (name == "字体颜色" || name == "字体颜色 ") {
        QRect lr(r.left() + 2, r.top() + 1, 18, 15);
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(13);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(lr, Qt::AlignCenter, "A");
        p.fillRect(r.left() + 4, y + 13, 14, 3, QColor(255, 0, 0));
    } else if (name == "填充颜色") {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(Qt::white);
        p.drawRect(r.left() + 5, y + 2, 9, 9);
        p.fillRect(r.left() + 3, y + 13, 14, 3, QColor(0, 160, 0));
    } else if (name == "线条颜色") {
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.drawLine(r.left() + 4, y + 11, r.left() + 14, y + 1);
        p.fillRect(r.left() + 3, y + 13, 14, 3, QColor(0, 0, 160));
    } else if (name == "拼音指南" || name == "带圈字符" || name == "中文简繁转换") {
        p.setFont(font(11));
        p.setPen(QColor(20, 20, 90));
        const QString t = name == "拼音指南" ? "文" : name == "带圈字符" ? "字" : "繁";
        p.drawText(r.adjusted(0, 2, 0, 0), Qt::AlignCenter, t);
        if (name == "带圈字符") {
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPoint(c.x(), c.y() + 1), 8, 8);
        } else if (name == "拼音指南") {
            p.setFont(font(6));
            p.drawText(QRect(x, y - 2, 16, 6), Qt::AlignCenter, "wén");
        }
    } else if (name == "字符缩放") {
        p.setFont(font(10, true));
        p.setPen(QColor(20, 20, 90));
        p.drawText(r, Qt::AlignCenter, "↔");
    } else if (name == "直线") {
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(x + 2, y + 14, x + 14, y + 2);
    } else if (name == "箭头") {
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(x + 2, y + 14, x + 14, y + 2);
        p.drawLine(x + 14, y + 2, x + 9, y + 3);
        p.drawLine(x + 14, y + 2, x + 13, y + 7);
    } else if (name == "矩形") {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(x + 2, y + 3, 12, 10);
    } else if (name == "椭圆") {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawEllipse(x + 1, y + 3, 14, 10);
    } else if (name == "文本框" || name == "竖排文本框") {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(x + 1, y + 2, 14, 12);
        p.setFont(font(8));
        p.drawText(QRect(x + 1, y + 2, 14, 12), Qt::AlignCenter, "A");
    } else if (name == "插入艺术字") {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(15);
        f.setItalic(true);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 90, 200));
        p.drawText(r, Qt::AlignCenter, "A");
    } else if (name == "插入剪贴画" || name == "插入文件中的图片") {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(200, 230, 255));
        p.drawRect(x + 1, y + 2, 14, 12);
        p.setBrush(QColor(60, 160, 60));
        p.drawPolygon(QPolygon({QPoint(x + 2, y + 13), QPoint(x + 7, y + 6), QPoint(x + 13, y + 13)}));
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(QPoint(x + 11, y + 5), 2, 2);
    } else if (name == "Microsoft Office Word 帮助") {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(x + 1, y + 1, 14, 14);
        p.setPen(Qt::white);
        p.setFont(font(11, true));
        p.drawText(QRect(x + 1, y + 1, 14, 14), Qt::AlignCenter, "?");
    } else {
        // Generic small glyph: a framed tile in the bar's colours.
        p.setPen(QColor(60, 80, 140));
        p.setBrush(QColor(230, 238, 252));
        p.drawRoundedRect(x + 2, y + 2, 12, 12, 2, 2);
        p.setBrush(QColor(90, 130, 200));
        p.drawRect(x + 5, y + 5, 6, 6);
    }
    p.restore();
}

} // namespace

namespace detail {

void drawArrowDown(QPainter& p, QPoint c, QColor col) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPolygon(QPolygon({QPoint(c.x() - 3, c.y() - 1), QPoint(c.x() + 3, c.y() - 1), QPoint(c.x(), c.y() + 2)}));
    p.restore();
}

void drawToolbar(QPainter& p, const Scene& s, int top, int height) {
    p.setBrush(Qt::NoBrush);
    vGradient(p, QRect(0, top, kWidth, height), kBarLight, kBarDark);
    // grip
    p.setPen(QColor(39, 65, 118));
    for (int yy = top + 5; yy < top + height - 4; yy += 4) p.drawPoint(4, yy);
    for (const PlacedTool& t : allTools()) {
        if (t.r.top() < top || t.r.top() >= top + height) continue;
        if (t.item.width == 0) {
            p.setPen(QColor(106, 140, 203));
            p.drawLine(t.r.left(), t.r.top(), t.r.left(), t.r.bottom());
            p.setPen(Qt::white);
            p.drawLine(t.r.left() + 1, t.r.top() + 1, t.r.left() + 1, t.r.bottom() + 1);
            continue;
        }
        const bool pressed = s.pressed.contains(t.item.name);
        const bool hovered = s.hovered.contains(t.item.name);
        if (t.item.kind == 2) {
            QRect box = t.r.adjusted(0, 1, 0, -1);
            p.fillRect(box, Qt::white);
            p.setPen(hovered ? kHotLine : QColor(127, 157, 185));
            p.drawRect(box.adjusted(0, 0, -1, -1));
            QRect arrow(box.right() - 12, box.top() + 1, 12, box.height() - 2);
            vGradient(p, arrow, kBarLight, QColor(170, 200, 240));
            drawArrowDown(p, arrow.center());
            p.setFont(font(12));
            p.setPen(Qt::black);
            QString caption = t.item.text;
            if (t.item.name == "显示比例") caption = s.zoom;
            else if (t.item.name == "字体") caption = s.fontName;
            else if (t.item.name == "字号") caption = s.fontSize;
            else if (t.item.name == "样式") caption = s.style;
            text(p, box.adjusted(3, 0, -14, 0), caption);
            continue;
        }
        if (pressed || hovered) {
            p.fillRect(t.r, pressed ? QColor(255, 213, 140) : kHotFill);
            p.setPen(kHotLine);
            p.drawRect(t.r.adjusted(0, 0, -1, -1));
        }
        if (t.item.kind == 3) {
            p.setFont(font(12));
            p.setPen(Qt::black);
            text(p, t.r.adjusted(4, 0, 0, 0), t.item.text);
            if (t.item.name != "阅读") drawArrowDown(p, QPoint(t.r.right() - 5, t.r.center().y()));
        } else {
            drawIcon(p, t.item.name, QRect(t.r.left(), t.r.top(), 23, 22));
            if (t.item.kind == 1) drawArrowDown(p, QPoint(t.r.right() - 4, t.r.center().y()));
        }
    }
}

} // namespace detail

// ---- toolbars ----
QRect tool(const QString& name) {
    const PlacedTool* t = findTool(name);
    return t ? t->r : QRect();
}

QRect toolArrow(const QString& name) {
    const PlacedTool* t = findTool(name);
    if (!t) return {};
    const int w = t->item.kind == 2 ? 12 : 10;
    return QRect(t->r.right() - w + 1, t->r.top(), w, t->r.height());
}

QRect viewButton(const QString& name) {
    const QStringList names = {"普通视图", "Web 版式视图", "页面视图", "大纲视图", "阅读版式"};
    const int i = int(names.indexOf(name));
    if (i < 0) return {};
    return QRect(2 + i * 19, kDocBottom + 1, 18, 16);
}

QRect helpBox() { return QRect(596, kMenuTop + 3, 176, 17); }

} // namespace sample::ui
