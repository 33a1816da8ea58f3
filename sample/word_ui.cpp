#include "sample/word_ui.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace sample::ui {

namespace {

const QString kFamily = QStringLiteral("WenQuanYi Micro Hei");

// Office 2003 blue scheme.
const QColor kBarLight(221, 236, 254);
const QColor kBarDark(129, 169, 226);
const QColor kMenuBarA(158, 190, 245);
const QColor kMenuBarB(196, 218, 250);
const QColor kHotFill(255, 238, 194);
const QColor kHotLine(0, 0, 128);
const QColor kPressedFill(254, 128, 62);
const QColor kDialogFace(236, 233, 216);
const QColor kXpBlue(0, 84, 227);
const QColor kXpBlueLight(61, 149, 255);
const QColor kEditLine(127, 157, 185);
const QColor kSelBlue(49, 106, 197);
const QColor kDocBack(144, 153, 174);

void ensureFont() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!QFontDatabase::families().contains(kFamily))
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"));
}

void text(QPainter& p, QRect r, const QString& s, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    p.drawText(r, flags | Qt::TextSingleLine, s);
}

void vGradient(QPainter& p, QRect r, QColor top, QColor bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

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

// ---- menus ----
const char* const kMenuNames[MenuCount] = {"文件(F)", "编辑(E)", "视图(V)", "插入(I)", "格式(O)",
                                            "工具(T)", "表格(A)", "窗口(W)", "帮助(H)"};

MenuEntry sep() { return MenuEntry{{}, {}, false, true, false}; }
MenuEntry item(const QString& t, const QString& key = {}) { return MenuEntry{t, key, false, false, false}; }
MenuEntry arrowItem(const QString& t) { return MenuEntry{t, {}, true, false, false}; }
MenuEntry checkedItem(const QString& t) { return MenuEntry{t, {}, false, false, true}; }

QVector<MenuEntry> entries(int m) {
    switch (m) {
    case File:
        return {item("新建(N)...", "Ctrl+N"), item("打开(O)...", "Ctrl+O"), item("关闭(C)"), sep(),
                item("保存(S)", "Ctrl+S"), item("另存为(A)..."), item("另存为网页(G)..."), item("文件搜索(H)..."), sep(),
                arrowItem("权限(M)"), sep(), item("版本(E)..."), sep(), item("网页预览(B)"), sep(),
                item("页面设置(U)..."), item("打印预览(V)"), item("打印(P)...", "Ctrl+P"), sep(),
                arrowItem("发送(D)"), item("属性(I)"), sep(), item("1 通知.doc"), item("退出(X)")};
    case Edit:
        return {item("撤消键入(U)", "Ctrl+Z"), item("重复键入(R)", "Ctrl+Y"), sep(), item("剪切(T)", "Ctrl+X"),
                item("复制(C)", "Ctrl+C"), item("Office 剪贴板(B)..."), item("粘贴(P)", "Ctrl+V"),
                item("选择性粘贴(S)..."), item("粘贴为超链接(H)"), sep(), arrowItem("清除(A)"),
                item("全选(L)", "Ctrl+A"), sep(), item("查找(F)...", "Ctrl+F"), item("替换(E)...", "Ctrl+H"),
                item("定位(G)...", "Ctrl+G"), sep(), item("链接(K)..."), item("对象(O)")};
    case View:
        return {item("普通(N)"), item("Web 版式(W)"), checkedItem("页面(P)"), item("阅读版式(R)"), item("大纲(O)"),
                sep(), item("任务窗格(K)", "Ctrl+F1"), arrowItem("工具栏(T)"), checkedItem("标尺(L)"),
                item("显示段落标记(S)"), item("网格线(G)"), item("文档结构图(D)"), item("缩略图(B)"), sep(),
                item("页眉和页脚(H)"), item("脚注(F)"), item("标记(A)"), sep(), item("全屏显示(U)"),
                item("显示比例(Z)...")};
    case Insert:
        return {item("分隔符(B)..."), item("页码(U)..."), item("日期和时间(T)..."), arrowItem("自动图文集(A)"),
                item("域(F)..."), item("符号(S)..."), item("特殊符号(Y)..."), sep(), arrowItem("引用(N)"),
                item("Web 组件(W)..."), sep(), arrowItem("图片(P)"), item("图示(G)..."), arrowItem("文本框(X)"),
                item("文件(L)..."), item("对象(O)..."), item("书签(K)..."), sep(), item("超链接(I)...", "Ctrl+K")};
    case Format:
        return {item("字体(F)..."), item("段落(P)..."), item("项目符号和编号(N)..."), item("边框和底纹(B)..."),
                item("分栏(C)..."), item("制表位(T)..."), item("首字下沉(D)..."), item("文字方向(X)..."),
                item("更改大小写(E)..."), sep(), arrowItem("中文版式(H)"), sep(), arrowItem("背景(K)"),
                item("主题(H)..."), arrowItem("框架(R)"), item("自动套用格式(A)..."), item("样式和格式(S)..."),
                item("显示格式(V)...", "Shift+F1")};
    case Tools:
        return {item("拼写和语法(S)...", "F7"), item("信息检索(R)...", "Alt+Click"), arrowItem("语言(L)"),
                item("字数统计(W)..."), item("自动编写摘要(U)..."), item("朗读(H)"), sep(), item("共享工作区(D)..."),
                item("修订(T)", "Ctrl+Shift+E"), item("比较并合并文档(D)..."), item("保护文档(P)..."),
                arrowItem("联机协作(N)"), sep(), arrowItem("信函与邮件(E)"), sep(), arrowItem("宏(M)"),
                item("模板和加载项(I)..."), item("自动更正选项(A)..."), item("自定义(C)..."), item("选项(O)...")};
    case Table:
        return {item("绘制表格(W)"), arrowItem("插入(I)"), arrowItem("删除(D)"), arrowItem("选择(C)"),
                item("合并单元格(M)"), item("拆分单元格(P)..."), item("拆分表格(T)"), sep(),
                item("表格自动套用格式(F)..."), arrowItem("自动调整(A)"), item("标题行重复(H)"), sep(),
                arrowItem("转换(V)"), item("排序(S)..."), item("公式(O)..."), sep(), item("显示虚框(G)"), sep(),
                item("表格属性(R)...")};
    case Window:
        return {item("新建窗口(N)"), item("全部重排(A)"), item("并排比较(B)..."), item("拆分(S)"), sep(),
                checkedItem("1 文档1")};
    case Help:
        return {item("Microsoft Office Word 帮助(H)", "F1"), item("显示 Office 助手(O)"), sep(),
                item("Microsoft Office Online(M)"), item("与我们联系(C)"), item("检查更新(U)"),
                item("检测并修复(R)..."), item("激活产品(V)..."), item("客户反馈选项(F)..."), sep(),
                item("关于 Microsoft Office Word(A)")};
    default:
        return {};
    }
}

int popupWidth(const QVector<MenuEntry>& items) {
    QFontMetrics fm(font(12));
    int w = 0;
    for (const MenuEntry& e : items) {
        if (e.separator) continue;
        int iw = fm.horizontalAdvance(e.text) + 70;
        if (!e.key.isEmpty()) iw += fm.horizontalAdvance(e.key) + 24;
        w = std::max(w, iw);
    }
    return std::max(w, 120);
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
        lines(x + 2, y + 3, {12, 8, 12, 8});
        p.setPen(Qt::NoPen);
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

void drawArrowDown(QPainter& p, QPoint c, QColor col = Qt::black) {
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
        if (p.family == "黑体") f.setWeight(QFont::DemiBold);
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
        int width = L.textArea.width() - para.leftIndent;
        if (inColumns) {
            left = L.textArea.left() + column * (colWidth + colGap) + para.leftIndent;
            width = colWidth - para.leftIndent;
        }
        y += para.spaceBefore;
        int x0 = left + para.firstIndent;
        if (!para.bullet.isEmpty()) x0 = left + 28;
        QVector<QVector<int>> lines;   // char indices per line
        QVector<int> lineStart;
        int x = x0;
        int dropLines = para.dropCap ? 3 : 0;
        const int dropW = para.dropCap ? para.size * 3 + 6 : 0;
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
            while (lines.size() < 3) lines.push_back({});
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
            L.glyphs.push_back({pi, 0, QRect(left, top, dropW, lineH * 3 - 4), top + lineH * 3 - 10});
            box = box.united(QRect(left, top, dropW, lineH * 3));
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

void drawRuler(QPainter& p, const Doc& d) {
    p.setBrush(Qt::NoBrush);
    QRect r(0, kRulerTop, kWidth, 20);
    vGradient(p, r, kBarLight, QColor(195, 215, 245));
    if (d.view >= 2) return;
    const Layout L = layout(d);
    QRect scale(L.page.left() + (d.view == 0 ? 0 : 0), kRulerTop + 3, L.page.width(), 14);
    if (d.view == 1) scale = QRect(0, kRulerTop + 3, 783, 14);
    p.fillRect(scale, QColor(171, 190, 225));
    QRect inner(L.textArea.left(), kRulerTop + 3, L.textArea.width(), 14);
    p.fillRect(inner, Qt::white);
    p.setPen(QColor(100, 110, 130));
    p.drawRect(scale.adjusted(0, 0, -1, -1));
    p.setFont(font(9));
    const double cm = 37.8;
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

void drawDocument(QPainter& p, const Doc& d) {
    const QRect area(0, kDocTop, 783, kDocBottom - kDocTop);
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
        if (para.shading) p.fillRect(box.adjusted(-2, 0, 2, 0), QColor(210, 210, 210));
        if (para.border) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(-4, -2, 4, 2));
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
        if (isDrop) f.setPixelSize(para.size * 3);
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

} // namespace

QFont font(int pixels, bool bold) {
    ensureFont();
    QFont f(kFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// ---- menus ----
QRect menuCaption(int menu) {
    QFontMetrics fm(font(12));
    int x = 10;
    for (int m = 0; m < MenuCount; ++m) {
        const int w = fm.horizontalAdvance(QString::fromUtf8(kMenuNames[m])) + 14;
        if (m == menu) return QRect(x, kMenuTop + 1, w, kStdTop - kMenuTop - 2);
        x += w;
    }
    return {};
}

QRect Popup::rect() const {
    int h = 4;
    for (const MenuEntry& e : items) h += e.separator ? 7 : 22;
    return QRect(at, QSize(width, h));
}

QRect Popup::itemRect(int row) const {
    int y = at.y() + 2;
    for (int i = 0; i < items.size(); ++i) {
        const int h = items[i].separator ? 7 : 22;
        if (i == row) return QRect(at.x() + 2, y, width - 4, h);
        y += h;
    }
    return {};
}

int Popup::find(const QString& prefix) const {
    for (int i = 0; i < items.size(); ++i)
        if (!items[i].separator && items[i].text.startsWith(prefix)) return i;
    return -1;
}

Popup dropDown(int menu, int hot) {
    Popup m;
    m.items = entries(menu);
    m.width = popupWidth(m.items);
    const QRect c = menuCaption(menu);
    m.at = QPoint(c.left(), c.bottom() + 1);
    m.hot = hot;
    return m;
}

Popup subMenu(const Popup& parent, int row, QVector<MenuEntry> items, int hot) {
    Popup m;
    m.items = std::move(items);
    m.width = popupWidth(m.items);
    const QRect r = parent.itemRect(row);
    m.at = QPoint(parent.at.x() + parent.width - 3, r.top() - 3);
    m.hot = hot;
    return m;
}

Popup contextMenu(QPoint at, QVector<MenuEntry> items, int hot) {
    Popup m;
    m.items = std::move(items);
    m.width = popupWidth(m.items);
    m.at = at;
    m.hot = hot;
    return m;
}

QVector<MenuEntry> textContextMenu() {
    return {item("剪切(T)"), item("复制(C)"), item("粘贴(P)"), sep(), item("字体(F)..."), item("段落(P)..."),
            item("项目符号和编号(N)..."), sep(), item("超链接(H)..."), item("查阅(K)..."), arrowItem("同义词(Y)"),
            item("翻译(A)..."), item("选择格式相似的文本(S)")};
}

void paintPopup(QPainter& p, const Popup& m) {
    const QRect r = m.rect();
    p.save();
    p.setBrush(Qt::NoBrush);
    p.fillRect(r.translated(3, 3), QColor(0, 0, 0, 60));
    p.fillRect(r, QColor(246, 246, 246));
    QRect band(r.left() + 1, r.top() + 1, 24, r.height() - 2);
    QLinearGradient g(band.topLeft(), band.topRight());
    g.setColorAt(0, QColor(227, 239, 255));
    g.setColorAt(1, QColor(135, 173, 228));
    p.fillRect(band, g);
    p.setPen(QColor(0, 45, 150));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    QFontMetrics fm(font(12));
    for (int i = 0; i < m.items.size(); ++i) {
        const MenuEntry& e = m.items[i];
        const QRect ir = m.itemRect(i);
        if (e.separator) {
            p.setPen(QColor(106, 140, 203));
            p.drawLine(ir.left() + 30, ir.center().y(), ir.right() - 2, ir.center().y());
            continue;
        }
        if (i == m.hot) {
            p.fillRect(ir, kHotFill);
            p.setPen(kHotLine);
            p.drawRect(ir.adjusted(0, 0, -1, -1));
        }
        if (e.checked) {
            QRect cb(ir.left() + 2, ir.top() + 2, 18, 18);
            p.fillRect(cb, QColor(255, 192, 111));
            p.setPen(kHotLine);
            p.drawRect(cb.adjusted(0, 0, -1, -1));
            p.setPen(QPen(Qt::black, 2));
            p.drawLine(cb.left() + 5, cb.top() + 9, cb.left() + 8, cb.top() + 12);
            p.drawLine(cb.left() + 8, cb.top() + 12, cb.left() + 13, cb.top() + 5);
        }
        p.setFont(font(12));
        p.setPen(Qt::black);
        text(p, ir.adjusted(32, 0, 0, 0), e.text);
        if (!e.key.isEmpty()) text(p, ir.adjusted(0, 0, -22, 0), e.key, Qt::AlignRight | Qt::AlignVCenter);
        if (e.arrow) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            const int ax = ir.right() - 10, ay = ir.center().y();
            p.drawPolygon(QPolygon({QPoint(ax, ay - 4), QPoint(ax, ay + 4), QPoint(ax + 4, ay)}));
        }
    }
    p.restore();
}

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
        drawRuler(p, s.doc);
        drawDocument(p, s.doc);
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
