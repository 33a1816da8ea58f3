// The simulated window's menus: main menu entries, drop-downs, submenus and
// context menus.
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

} // namespace

namespace detail {

void drawMenuEntry(QPainter& p, QRect r, const MenuEntry& e) {
    if (e.checked) {
        const QRect cb(r.left() + 2, r.top() + 2, 18, 18);
        p.fillRect(cb, QColor(255, 192, 111));
        p.setPen(kHotLine);
        p.drawRect(cb.adjusted(0, 0, -1, -1));
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(cb.left() + 5, cb.top() + 9, cb.left() + 8, cb.top() + 12);
        p.drawLine(cb.left() + 8, cb.top() + 12, cb.left() + 13, cb.top() + 5);
    }
    p.setFont(font(12));
    p.setPen(Qt::black);
    text(p, r.adjusted(32, 0, 0, 0), e.text);
    if (!e.key.isEmpty()) text(p, r.adjusted(0, 0, -22, 0), e.key, Qt::AlignRight | Qt::AlignVCenter);
    if (e.arrow) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const int ax = r.right() - 10, ay = r.center().y();
        p.drawPolygon(QPolygon({QPoint(ax, ay - 4), QPoint(ax, ay + 4), QPoint(ax + 4, ay)}));
        p.setBrush(Qt::NoBrush);
    }
}

const char* const kMenuNames[MenuCount] = {"文件(F)", "编辑(E)", "视图(V)", "插入(I)", "格式(O)",
                                            "工具(T)", "表格(A)", "窗口(W)", "帮助(H)"};

} // namespace detail

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
        drawMenuEntry(p, ir, e);
    }
    p.restore();
}

} // namespace sample::ui
