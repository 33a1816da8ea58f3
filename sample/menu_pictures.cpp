#include "sample/menu_pictures.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <algorithm>
#include <functional>

#include "chrome/rows.h"
#include "chrome/zones.h"
#include "sample/dialogs.h"
#include "sample/word_ui_parts.h"

namespace sample {

namespace {

using namespace ui::detail;

using Entry = ui::MenuEntry;

Entry e(const char* t, const char* key = "") { return Entry{QString::fromUtf8(t), QString::fromUtf8(key)}; }
Entry arrow(const char* t) {
    Entry x{QString::fromUtf8(t), {}};
    x.arrow = true;
    return x;
}
Entry checked(const char* t) {
    Entry x{QString::fromUtf8(t), {}};
    x.checked = true;
    return x;
}

// Rows of the nine menu-bar drop-downs, in the groups the program lays out.
QVector<Entry> menuEntries(int m) {
    switch (m) {
    case 1:
        return {e("新建(N)...", "Ctrl+N"), e("打开(O)...", "Ctrl+O"), e("关闭(C)"), e("保存(S)", "Ctrl+S"),
                e("另存为(A)..."), e("另存为网页(G)..."), e("文件搜索(H)..."), arrow("权限(M)"), e("版本(E)..."),
                e("网页预览(B)"), e("页面设置(U)..."), e("打印预览(V)"), e("打印(P)...", "Ctrl+P"), arrow("发送(D)"),
                e("属性(I)"), e("1 文档1.doc"), e("2 练习1.doc"), e("3 会议通知.doc"), e("4 计算机网络.doc"),
                e("退出(X)")};
    case 2:
        return {e("撤消键入(U)", "Ctrl+Z"), e("重复键入(R)", "Ctrl+Y"), e("剪切(T)", "Ctrl+X"), e("复制(C)", "Ctrl+C"),
                e("Office 剪贴板(B)..."), e("粘贴(P)", "Ctrl+V"), e("选择性粘贴(S)..."), e("粘贴为超链接(H)"),
                arrow("清除(A)"), e("全选(L)", "Ctrl+A"), e("查找(F)...", "Ctrl+F"), e("替换(E)...", "Ctrl+H"),
                e("定位(G)...", "Ctrl+G"), e("链接(K)...")};
    case 3:
        return {e("普通(N)"), e("Web 版式(W)"), checked("页面(P)"), e("阅读版式(R)"), e("大纲(O)"),
                e("任务窗格(K)", "Ctrl+F1"), arrow("工具栏(T)"), checked("标尺(L)"), e("显示段落标记(S)"),
                e("网格线(G)"), e("文档结构图(D)"), e("缩略图(B)"), e("页眉和页脚(H)"), e("脚注(F)"), e("标记(A)"),
                e("全屏显示(U)"), e("显示比例(Z)...")};
    case 4:
        return {e("分隔符(B)..."), e("页码(U)..."), e("日期和时间(T)..."), arrow("自动图文集(A)"), e("域(F)..."),
                e("符号(S)..."), e("特殊符号(Y)..."), e("数字(R)..."), e("批注(M)"), arrow("引用(N)"),
                e("Web 组件(W)..."), arrow("图片(P)"), e("图示(G)..."), arrow("文本框(X)"), e("文件(L)..."),
                e("对象(O)..."), e("书签(K)..."), e("超链接(I)...", "Ctrl+K")};
    case 5:
        return {e("字体(F)..."), e("段落(P)..."), e("项目符号和编号(N)..."), e("边框和底纹(B)..."), e("分栏(C)..."),
                e("制表位(T)..."), e("首字下沉(D)..."), e("文字方向(X)..."), e("更改大小写(E)..."),
                e("文档网格(W)..."), arrow("中文版式(H)"), arrow("背景(K)"), e("主题(H)..."), arrow("框架(R)"),
                e("自动套用格式(A)..."), e("样式和格式(S)..."), e("显示格式(V)...", "Shift+F1"), e("对象(O)...")};
    case 6:
        return {e("拼写和语法(S)...", "F7"), e("信息检索(R)...", "Alt+Click"), arrow("语言(L)"), e("字数统计(W)..."),
                e("自动编写摘要(U)..."), e("朗读(H)"), e("共享工作区(D)..."), e("修订(T)", "Ctrl+Shift+E"),
                e("比较并合并文档(D)..."), e("保护文档(P)..."), arrow("联机协作(N)"), arrow("信函与邮件(E)"),
                arrow("宏(M)"), e("模板和加载项(I)..."), e("自动更正选项(A)..."), e("自定义(C)..."), e("选项(O)...")};
    case 7:
        return {e("绘制表格(W)"), arrow("插入(I)"), arrow("删除(D)"), arrow("选择(C)"), e("合并单元格(M)"),
                e("拆分单元格(P)..."), e("拆分表格(T)"), e("表格自动套用格式(F)..."), arrow("自动调整(A)"),
                e("标题行重复(H)"), e("绘制斜线表头(U)..."), arrow("转换(V)"), e("排序(S)..."), e("公式(O)..."),
                e("隐藏虚框(G)"), e("表格属性(R)...")};
    case 8:
        return {e("新建窗口(N)"), e("全部重排(A)"), e("并排比较(B)..."), e("拆分(S)"), checked("1 计算机网络.doc")};
    case 9:
        return {e("Microsoft Office Word 帮助(H)", "F1"), e("显示 Office 助手(O)"), e("Microsoft Office Online(M)"),
                e("与我们联系(C)"), e("检查更新(U)"), e("检测并修复(R)..."), e("激活产品(V)..."),
                e("客户反馈选项(F)..."), e("关于 Microsoft Office Word(A)")};
    // Toolbar lists and the line-spacing list of the extra area.
    case 64:
        return {e("500%"), e("200%"), e("150%"), e("100%"), e("75%"), e("50%"), e("25%"), e("10%"), e("页宽"),
                e("文字宽度"), e("整页"), e("双页")};
    case 70:
        return {e("初号"), e("小初"), e("一号"), e("小一"), e("二号"), e("小二"), e("三号"), e("小三"), e("四号"),
                e("小四"), e("五号"), e("小五")};
    case 32:
        return {e("1.0"), e("1.5"), e("2.0"), e("2.5"), e("3.0"), e("4.0"), e("单倍行距"), e("1.5 倍行距"),
                e("2 倍行距"), e("最小值"), e("固定值"), e("多倍行距"), e("其他(M)..."), e("段落(P)...")};
    default: return {};
    }
}

QVector<Entry> submenuEntries(int key) {
    switch (key) {
    case 209: return {e("格式(F)"), e("内容(N)", "Del")};
    case 307: {
        QVector<Entry> v;
        for (const char* n : {"常用", "格式", "Visual Basic", "Web", "Web 工具箱", "大纲", "窗体", "框架集", "绘图",
                              "控件工具箱", "邮件合并", "审阅", "任务窗格", "图片", "艺术字", "其他格式", "表格和边框",
                              "符号栏", "字数统计"}) {
            Entry x = e(n);
            x.checked = x.text == "常用" || x.text == "格式";
            v << x;
        }
        v << e("自定义(C)...");
        return v;
    }
    case 414: return {e("横排(H)"), e("竖排(V)")};
    case 511: return {e("拼音指南(U)..."), e("带圈字符(E)..."), e("纵横混排(V)..."), e("合并字符(M)..."), e("双行合一(W)...")};
    default: return {};
    }
}

// Palette rows beside the cells (41 up), by drop-down.
QStringList paletteRows(int m) {
    switch (m) {
    case 24: return {"无填充颜色", "其他填充颜色(M)...", "填充效果(F)..."};
    case 33: return {"无填充颜色", "其他颜色(M)..."};
    case 86: return {"自动", "其他颜色(M)..."};
    default: return {};
    }
}

QRect px(const chrome::RowRect& r) {
    return QRect(int(r.left / 15), int(r.top / 15), int(r.width / 15), int(r.height / 15));
}

// The picture's size: the rows' extent and a margin.
QSize extent(const chrome::RowLayout& rows) {
    int w = 0, h = 0;
    for (int i = 1; i <= chrome::RowCount; ++i) {
        if (rows[i].parked() || rows[i].width == 0) continue;
        const QRect r = px(rows[i]);
        w = std::max(w, r.right() + 1 + 2);
        h = std::max(h, r.bottom() + 1 + 2);
    }
    return QSize(std::max(w, 20), std::max(h, 20));
}

void frame(QPainter& p, QSize size, bool band) {
    const QRect r(QPoint(0, 0), size);
    p.fillRect(r, QColor(246, 246, 246));
    if (band) {
        QLinearGradient g(QPoint(1, 0), QPoint(25, 0));
        g.setColorAt(0, QColor(227, 239, 255));
        g.setColorAt(1, QColor(135, 173, 228));
        p.fillRect(QRect(1, 1, 24, size.height() - 2), g);
    }
    p.setPen(QColor(0, 45, 150));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}


// A row as it looks under the pointer (its rectangle's size).
QImage rowHighlight(QSize size, const Entry& x, bool band) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(246, 246, 246));
    QPainter p(&img);
    const QRect r(QPoint(0, 0), size);
    p.fillRect(r, kHotFill);
    p.setPen(kHotLine);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (band || !x.text.isEmpty()) drawMenuEntry(p, r.translated(-2, 0), x);
    return img;
}

// A list or menu of entries over its rows, separators in the gaps.
QImage listPicture(const chrome::RowLayout& rows, const QVector<Entry>& entries, bool band) {
    const QSize size = extent(rows);
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    frame(p, size, band);
    for (int i = 1; i <= entries.size() && i <= chrome::RowCount; ++i) {
        const QRect r = px(rows[i]);
        drawMenuEntry(p, r.translated(-2, 0), entries[i - 1]);
        if (i > 1) {
            const int gapTop = px(rows[i - 1]).bottom() + 1;
            if (r.top() - gapTop >= 2) {
                p.setPen(QColor(106, 140, 203));
                const int y = (gapTop + r.top()) / 2;
                p.drawLine(r.left() + 30, y, size.width() - 4, y);
            }
        }
    }
    return img;
}

// A palette of 40 colour cells with its rows around it.
QImage palettePicture(const chrome::RowLayout& rows, const QStringList& extra) {
    const QSize size = extent(rows);
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    frame(p, size, false);
    const QVector<QColor> colours = dlg::paletteColours();
    for (int i = 1; i <= 40; ++i) {
        const QRect r = px(rows[i]).adjusted(3, 3, -3, -3);
        p.fillRect(r, colours.value(i - 1));
        p.setPen(QColor(128, 128, 128));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    p.setFont(ui::font(12));
    for (int k = 0; k < extra.size(); ++k) {
        const QRect r = px(rows[41 + k]);
        if (r.width() <= 0) continue;
        p.setPen(QColor(128, 128, 128));
        p.drawRect(r.adjusted(1, 1, -2, -2));
        p.setPen(Qt::black);
        text(p, r, extra[k], Qt::AlignCenter);
    }
    return img;
}

QImage paletteCellHighlight(int cell) {
    QImage img(18, 18, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), kHotFill);
    p.setPen(kHotLine);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    p.fillRect(img.rect().adjusted(3, 3, -3, -3), dlg::paletteColours().value(cell - 1));
    return img;
}

// The extra area's line-spacing button (a piece of the formatting toolbar).
QImage lineSpacingButton(bool hover, bool pressed) {
    QImage img(36, 24, QImage::Format_RGB32);
    QPainter p(&img);
    vGradient(p, img.rect(), kBarLight, kBarDark);
    if (hover || pressed) {
        p.fillRect(img.rect().adjusted(1, 1, -1, -1), pressed ? QColor(254, 128, 62) : kHotFill);
        p.setPen(kHotLine);
        p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    }
    p.setPen(QPen(Qt::black, 1));
    for (int y : {7, 11, 15}) p.drawLine(12, y, 22, y);
    p.drawLine(6, 5, 6, 17);
    p.drawLine(4, 7, 6, 5);
    p.drawLine(8, 7, 6, 5);
    p.drawLine(4, 15, 6, 17);
    p.drawLine(8, 15, 6, 17);
    drawArrowDown(p, QPoint(29, 12));
    return img;
}

class Writer {
public:
    Writer(QString dir, QString* err) : dir_(std::move(dir)), err_(err) {}
    bool operator()(const QString& code, const QImage& img) {
        if (!ok_) return false;
        const QString path = chrome::chromePictureFile(dir_ + "/", code);
        if (img.isNull() || !img.save(path, "BMP")) {
            if (err_) *err_ = QStringLiteral("cannot write %1").arg(path);
            ok_ = false;
        }
        return ok_;
    }
    bool ok() const { return ok_; }

private:
    QString dir_;
    QString* err_;
    bool ok_ = true;
};

const chrome::RowParams kPractice{};

void writeList(Writer& put, int m, const chrome::RowLayout& rows, const QVector<Entry>& entries, bool band,
               const QString& pictureCode, const std::function<QString(int)>& highlightCode) {
    put(pictureCode, listPicture(rows, entries, band));
    for (int i = 1; i <= entries.size(); ++i)
        put(highlightCode(i), rowHighlight(px(rows[i]).size(), entries[i - 1], band));
    (void)m;
}

} // namespace

int menuRow(int hotSpot, const QString& prefix) {
    const QVector<Entry> v = menuEntries(hotSpot);
    for (int i = 0; i < v.size(); ++i)
        if (v[i].text.startsWith(prefix)) return i + 1;
    return 0;
}

int submenuRow(int hotSpot, int item, const QString& prefix) {
    const QVector<Entry> v = submenuEntries(hotSpot * 100 + item);
    for (int i = 0; i < v.size(); ++i)
        if (v[i].text.startsWith(prefix)) return i + 1;
    return 0;
}

QStringList paletteColourNames() { return dlg::paletteNames(); }

QImage shadingPalette(int selected) {
    const chrome::RowLayout rows = chrome::dropDownRows(33, kPractice);
    QImage img = palettePicture(rows, paletteRows(33));
    if (selected >= 1 && selected <= 40) {
        QPainter p(&img);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(px(rows[selected]).adjusted(1, 1, -2, -2));
    }
    return img;
}

bool writeMenuPictures(const QString& examdataDir, QString* err) {
    if (!QDir().mkpath(examdataDir)) {
        if (err) *err = QStringLiteral("cannot create %1").arg(examdataDir);
        return false;
    }
    ensureFont();
    Writer put(examdataDir, err);

    // Menu-bar drop-downs and the lists.
    for (int m : {1, 2, 3, 4, 5, 6, 7, 8, 9, 64, 70, 32}) {
        const bool menu = m <= 9;
        writeList(put, m, chrome::dropDownRows(m, kPractice), menuEntries(m), menu, chrome::dropDownPictureCode(m),
                  [m](int i) { return chrome::rowHighlightCode(m, i); });
    }
    // Submenus.
    for (int key : {209, 307, 414, 511}) {
        const int m = key / 100, item = key % 100;
        writeList(put, m, chrome::submenuRows(m, item, kPractice), submenuEntries(key), true,
                  chrome::submenuPictureCode(m, item),
                  [m, item](int i) { return chrome::submenuRowHighlightCode(m, item, i); });
    }
    // Palettes: font colour, fill colour and the pre-opened shading palette.
    for (int m : {86, 24, 33}) {
        const chrome::RowLayout rows = chrome::dropDownRows(m, kPractice);
        const QStringList extra = paletteRows(m);
        put(chrome::dropDownPictureCode(m), palettePicture(rows, extra));
        for (int k = 0; k < extra.size(); ++k)
            put(chrome::rowHighlightCode(m, 41 + k), rowHighlight(px(rows[41 + k]).size(), Entry{extra[k], {}}, false));
    }
    for (int cell = 1; cell <= 40; ++cell) put(chrome::paletteCellCode(cell), paletteCellHighlight(cell));
    // The extra picture of the shading palette: a step that shows the
    // palette open loads it first (and hides it again).
    put(chrome::extraPictureCode(33), shadingPalette(0));

    // The line-spacing button of the extra area with its looks.
    put(chrome::extraPictureCode(32), lineSpacingButton(false, false));
    put(chrome::hoverPictureCode(32), lineSpacingButton(true, false));
    put(chrome::pressedPictureCode(32), lineSpacingButton(false, true));

    // The recent-file row drawn by the module, and its hover look.
    const chrome::RowLayout file = chrome::dropDownRows(1, kPractice);
    const QSize rowSize = px(file[16]).size();
    const Entry recent{QString::fromUtf8("1 通知.doc"), {}};
    QImage background(rowSize, QImage::Format_RGB32);
    background.fill(QColor(246, 246, 246));
    {
        QPainter p(&background);
        QLinearGradient g(QPoint(0, 0), QPoint(24, 0));
        g.setColorAt(0, QColor(227, 239, 255));
        g.setColorAt(1, QColor(135, 173, 228));
        p.fillRect(QRect(0, 0, 24, rowSize.height()), g);
        drawMenuEntry(p, QRect(QPoint(-2, 0), rowSize), recent);
    }
    put(QString::fromLatin1(kRecentFileCode) + "77", background);
    put(QString::fromLatin1(kRecentFileCode) + "00", rowHighlight(rowSize, recent, true));
    return put.ok();
}

} // namespace sample
