#include "sample/dialogs.h"

#include <QLinearGradient>
#include <QPainter>
#include <stdexcept>

namespace sample::dlg {

using namespace ui;

namespace {
Dialog make(const QString& title, QRect frame) {
    Dialog d;
    d.title = title;
    d.frame = frame;
    return d;
}
void okCancel(Dialog& d, int x, int y) {
    d.add(button("ok", QRect(x, y, 75, 23), "确定", true));
    d.add(button("cancel", QRect(x + 82, y, 75, 23), "取消"));
}
} // namespace

QStringList fileRows() { return {"My Pictures", "我的音乐", "通知.doc", "工作总结.doc", "会议记录.doc"}; }

Dialog fileDialog(bool save, const QString& fileName, int fileRow, bool nameFocus) {
    Dialog d = make(save ? "另存为" : "打开", QRect(30, 96, 440, 330));
    d.add(label(QRect(8, 8, 80, 21), save ? "保存位置(I):" : "查找范围(I):"));
    d.add(combo("lookin", QRect(90, 8, 200, 21), "我的文档"));
    d.add(list("places", QRect(8, 38, 70, 210), {"最近文档", "桌面", "我的文档", "我的电脑", "网上邻居"}, 2));
    d.add(list("files", QRect(84, 38, 340, 180), fileRows(), fileRow));
    d.add(label(QRect(84, 226, 70, 21), "文件名(N):"));
    d.add(edit("name", QRect(156, 226, 190, 21), fileName, nameFocus));
    d.add(button("ok", QRect(352, 226, 72, 23), save ? "保存(S)" : "打开(O)", true));
    d.add(label(QRect(84, 256, 70, 21), save ? "保存类型(T):" : "文件类型(T):"));
    d.add(combo("type", QRect(156, 256, 190, 21), save ? "Word 文档 (*.doc)" : "所有 Word 文档"));
    d.add(button("cancel", QRect(352, 256, 72, 23), "取消"));
    return d;
}

Dialog properties(const QString& title, bool titleFocus) {
    Dialog d = make("文档1 属性", QRect(40, 90, 380, 420));
    d.add(tabs("tabs", QRect(6, 6, 360, 340), {"常规", "摘要", "统计", "内容", "自定义"}, 1));
    const QStringList names = {"标题(T):", "主题(S):", "作者(A):", "经理(M):", "单位(O):", "类别(E):", "关键词(K):", "备注(C):"};
    const QStringList ids = {"title", "subject", "author", "manager", "company", "category", "keywords", "comments"};
    for (int i = 0; i < names.size(); ++i) {
        d.add(label(QRect(16, 40 + 32 * i, 72, 21), names[i]));
        QString t = i == 0 ? title : i == 2 ? QStringLiteral("Tesmar") : QString();
        d.add(edit(ids[i], QRect(90, 40 + 32 * i, 262, 21), t, i == 0 && titleFocus));
    }
    okCancel(d, 206, 354);
    return d;
}

Dialog findReplace(const FindState& s) {
    Dialog d = make("查找和替换", QRect(40, 150, 520, 210));
    d.add(tabs("tabs", QRect(6, 6, 504, 132), {"查找(D)", "替换(P)", "定位(G)"}, s.replaceTab ? 1 : 0));
    d.add(label(QRect(16, 38, 84, 21), "查找内容(N):"));
    d.add(edit("find", QRect(104, 38, 320, 21), s.find, s.focus == 1));
    if (s.replaceTab) {
        d.add(label(QRect(16, 70, 84, 21), "替换为(I):"));
        d.add(edit("replace", QRect(104, 70, 320, 21), s.replace, s.focus == 2));
        d.add(button("replaceOne", QRect(180, 146, 70, 23), "替换(R)"));
        d.add(button("all", QRect(254, 146, 84, 23), "全部替换(A)"));
    } else {
        d.add(check("highlight", QRect(16, 72, 300, 20), "突出显示所有在该范围找到的项目(T):"));
    }
    d.add(button("more", QRect(6, 146, 90, 23), "高级(M) ▼"));
    d.add(button("next", QRect(342, 146, 90, 23), "查找下一处(F)", true));
    d.add(button("cancel", QRect(436, 146, 70, 23), s.closeCaption ? "关闭" : "取消"));
    return d;
}

QStringList dateFormats() {
    return {"2008-8-8", "2008年8月8日", "二〇〇八年八月八日", "2008年8月8日星期五", "星期五",
            "08/8/8", "08.8.8", "2008年8月", "8时30分", "上午8时30分"};
}

Dialog dateTime(int row) {
    Dialog d = make("日期和时间", QRect(60, 100, 380, 340));
    d.add(label(QRect(8, 6, 120, 18), "可用格式(A):"));
    d.add(list("formats", QRect(8, 26, 220, 226), dateFormats(), row));
    d.add(label(QRect(236, 6, 130, 18), "语言(国家/地区)(L):"));
    d.add(combo("language", QRect(236, 26, 128, 21), "中文(中国)"));
    d.add(check("auto", QRect(8, 258, 150, 18), "自动更新(U)"));
    d.add(button("default", QRect(8, 280, 80, 23), "默认(D)..."));
    okCancel(d, 206, 280);
    return d;
}

QString symbolSet() {
    return QStringLiteral("§№☆★○●◎◇◆□■△▲※→←↑↓〓＃＆＠＼＾＿￣―♂♀‰℃＄￠￡¤‖…‘’“”〃々〆〇〈〉《》「」『』【】");
}

Dialog specialSymbols(int selected) {
    Dialog d = make("插入特殊符号", QRect(60, 110, 380, 300));
    d.add(tabs("tabs", QRect(6, 6, 360, 222), {"标点符号", "特殊符号", "数学符号", "单位符号", "数字序号", "拼音"}, 1));
    const QString set = symbolSet();
    for (int i = 0; i < 50 && i < set.size(); ++i) {
        const int c = i % 10, r = i / 10;
        d.add(cell(QStringLiteral("sym%1").arg(i), QRect(16 + c * 33, 34 + r * 36, 30, 32), QString(set[i]), i == selected));
    }
    okCancel(d, 206, 236);
    return d;
}

QVector<QColor> paletteColours() {
    return {QColor(0, 0, 0), QColor(153, 51, 0), QColor(51, 51, 0), QColor(0, 51, 0), QColor(0, 51, 102),
            QColor(0, 0, 128), QColor(51, 51, 153), QColor(51, 51, 51), QColor(128, 0, 0), QColor(255, 102, 0),
            QColor(128, 128, 0), QColor(0, 128, 0), QColor(0, 128, 128), QColor(0, 0, 255), QColor(102, 102, 153),
            QColor(128, 128, 128), QColor(255, 0, 0), QColor(255, 153, 0), QColor(153, 204, 0), QColor(51, 153, 102),
            QColor(51, 204, 204), QColor(51, 102, 255), QColor(128, 0, 128), QColor(150, 150, 150),
            QColor(255, 0, 255), QColor(255, 204, 0), QColor(255, 255, 0), QColor(0, 255, 0), QColor(0, 255, 255),
            QColor(0, 204, 255), QColor(153, 51, 102), QColor(192, 192, 192), QColor(255, 153, 204),
            QColor(255, 204, 153), QColor(255, 255, 153), QColor(204, 255, 204), QColor(204, 255, 255),
            QColor(153, 204, 255), QColor(204, 153, 255), QColor(255, 255, 255)};
}

QStringList paletteNames() {
    return {"黑色", "褐色", "橄榄色", "深绿", "深青", "深蓝", "靛蓝", "灰色-80%", "深红", "橙色", "深黄", "绿色",
            "青色", "蓝色", "蓝-灰", "灰色-50%", "红色", "浅橙色", "酸橙色", "海绿", "水绿色", "浅蓝", "紫罗兰",
            "灰色-40%", "粉红", "金色", "黄色", "鲜绿", "青绿", "天蓝", "梅红", "灰色-25%", "玫瑰红", "茶色",
            "浅黄", "浅绿", "浅青绿", "淡蓝", "淡紫", "白色"};
}

Dialog font(const FontState& s) {
    Dialog d = make("字体", QRect(30, 72, 430, 450));
    d.add(tabs("tabs", QRect(6, 6, 410, 370), {"字体(N)", "字符间距(R)", "文字效果(X)"}, s.tab));
    if (s.tab == 0) {
        const QStringList styles = {"常规", "倾斜", "加粗", "加粗 倾斜"};
        d.add(label(QRect(16, 32, 150, 16), "中文字体(T):"));
        d.add(combo("cn", QRect(16, 50, 190, 21), "宋体"));
        d.add(label(QRect(218, 32, 80, 16), "字形(Y):"));
        d.add(edit("style", QRect(218, 50, 100, 21), styles.value(s.styleRow)));
        d.add(list("styles", QRect(218, 72, 100, 70), styles, s.styleRow));
        d.add(label(QRect(326, 32, 70, 16), "字号(S):"));
        d.add(edit("size", QRect(326, 50, 80, 21), "五号"));
        d.add(list("sizes", QRect(326, 72, 80, 70), {"四号", "小四", "五号", "小五"}, 2));
        d.add(label(QRect(16, 78, 150, 16), "西文字体(F):"));
        d.add(combo("en", QRect(16, 96, 190, 21), "Times New Roman"));
        d.add(group(QRect(10, 146, 400, 56), "所有文字"));
        d.add(label(QRect(20, 160, 110, 16), "字体颜色(C):"));
        d.add(combo("colour", QRect(20, 176, 110, 21), s.colour));
        d.add(label(QRect(140, 160, 110, 16), "下划线线型(U):"));
        d.add(combo("underline", QRect(140, 176, 110, 21), "(无)"));
        d.add(label(QRect(260, 160, 80, 16), "着重号:"));
        d.add(combo("emphasis", QRect(260, 176, 110, 21), "(无)"));
        d.add(group(QRect(10, 206, 400, 96), "效果"));
        const QStringList effects = {"删除线(K)", "双删除线(G)", "上标(P)", "下标(B)", "阴影(W)", "空心(O)",
                                     "阳文(E)", "阴文(V)", "小型大写字母(M)", "全部大写字母(A)", "隐藏文字(H)"};
        const QStringList ids = {"strike", "dstrike", "super", "sub", "shadow", "outline", "emboss", "engrave",
                                 "smallcaps", "allcaps", "hidden"};
        for (int i = 0; i < effects.size(); ++i)
            d.add(check(ids[i], QRect(20 + (i / 4) * 130, 222 + (i % 4) * 19, 128, 18), effects[i],
                        ids[i] == "super" && s.superscript));
        d.add(preview(QRect(10, 310, 400, 56), "微软卓越 AaBbCc"));
        if (s.palette) d.add(swatches("palette", QRect(20, 198, 156, 102), paletteColours()));
    } else if (s.tab == 1) {
        d.add(label(QRect(16, 40, 70, 21), "缩放(C):"));
        d.add(combo("scale", QRect(90, 40, 140, 21), "100%"));
        d.add(label(QRect(16, 72, 70, 21), "间距(S):"));
        d.add(combo("spacing", QRect(90, 72, 140, 21), s.spacing));
        d.add(label(QRect(244, 72, 60, 21), "磅值(B):"));
        d.add(spin("amount", QRect(306, 72, 100, 21), s.amount));
        d.add(label(QRect(16, 104, 70, 21), "位置(P):"));
        d.add(combo("position", QRect(90, 104, 140, 21), "标准"));
        d.add(label(QRect(244, 104, 60, 21), "磅值(Y):"));
        d.add(spin("posAmount", QRect(306, 104, 100, 21), ""));
        d.add(check("kern", QRect(16, 140, 220, 20), "为字体调整字间距(K):"));
        d.add(check("grid", QRect(16, 166, 320, 20), "如果定义了文档网格，则对齐网格(W)", true));
        d.add(preview(QRect(10, 310, 400, 56), "微软卓越 AaBbCc"));
        if (s.spacingOpen) d.add(dropList("spacingList", QRect(90, 93, 140, 52), {"标准", "加宽", "紧缩"}));
    }
    d.add(button("default", QRect(8, 386, 80, 23), "默认(D)..."));
    okCancel(d, 256, 386);
    return d;
}

QStringList caseOptions() {
    return {"句首字母大写(S)", "全部小写(L)", "全部大写(U)", "词首字母大写(T)", "切换大小写(G)", "半角(W)", "全角(F)"};
}

Dialog changeCase(int row) {
    Dialog d = make("更改大小写", QRect(90, 130, 270, 260));
    const QStringList opts = caseOptions();
    for (int i = 0; i < opts.size(); ++i)
        d.add(radio(QStringLiteral("case%1").arg(i), QRect(16, 12 + 24 * i, 220, 20), opts[i], i == row));
    okCancel(d, 56, 192);
    return d;
}

QStringList alignRows() { return {"两端对齐", "居中", "右对齐", "分散对齐", "左对齐"}; }
QStringList specialRows() { return {"(无)", "首行缩进", "悬挂缩进"}; }

Dialog paragraph(const ParaState& s) {
    Dialog d = make("段落", QRect(30, 64, 430, 470));
    d.add(tabs("tabs", QRect(6, 6, 410, 394), {"缩进和间距(I)", "换行和分页(P)", "中文版式(H)"}, 0));
    d.add(group(QRect(12, 30, 398, 60), "常规"));
    d.add(label(QRect(22, 52, 90, 21), "对齐方式(G):"));
    d.add(combo("align", QRect(112, 52, 110, 21), s.align));
    d.add(label(QRect(232, 52, 80, 21), "大纲级别(O):"));
    d.add(combo("outline", QRect(312, 52, 90, 21), "正文文本"));
    d.add(group(QRect(12, 96, 398, 98), "缩进"));
    d.add(label(QRect(22, 116, 50, 21), "左(L):"));
    d.add(spin("left", QRect(72, 116, 90, 21), s.left));
    d.add(label(QRect(22, 146, 50, 21), "右(R):"));
    d.add(spin("right", QRect(72, 146, 90, 21), "0 字符"));
    d.add(label(QRect(190, 116, 78, 21), "特殊格式(S):"));
    d.add(combo("special", QRect(268, 116, 86, 21), s.special));
    d.add(label(QRect(190, 146, 78, 21), "度量值(Y):"));
    d.add(spin("amount", QRect(268, 146, 86, 21), s.amount));
    d.add(check("autoIndent", QRect(22, 172, 380, 18), "如果定义了文档网格，则自动调整右缩进(D)", true));
    d.add(group(QRect(12, 198, 398, 120), "间距"));
    d.add(label(QRect(22, 218, 50, 21), "段前(B):"));
    d.add(spin("before", QRect(72, 218, 90, 21), s.before));
    d.add(label(QRect(22, 248, 50, 21), "段后(E):"));
    d.add(spin("after", QRect(72, 248, 90, 21), "0 行"));
    d.add(label(QRect(190, 218, 78, 21), "行距(N):"));
    d.add(combo("spacing", QRect(268, 218, 90, 21), "单倍行距"));
    d.add(label(QRect(190, 248, 78, 21), "设置值(A):"));
    d.add(spin("spacingValue", QRect(268, 248, 86, 21), ""));
    d.add(check("noSpace", QRect(22, 276, 380, 18), "在相同样式的段落间不添加空格(C)"));
    d.add(check("grid", QRect(22, 296, 380, 18), "如果定义了文档网格，则对齐网格(W)", true));
    d.add(preview(QRect(12, 326, 398, 68), "预览"));
    d.add(button("tabstops", QRect(8, 406, 80, 23), "制表位(T)..."));
    okCancel(d, 256, 406);
    if (s.alignOpen) d.add(dropList("alignList", QRect(112, 73, 110, 84), alignRows()));
    if (s.specialOpen) d.add(dropList("specialList", QRect(268, 137, 86, 52), specialRows()));
    return d;
}

Dialog bullets(int tab, int selected) {
    Dialog d = make("项目符号和编号", QRect(40, 90, 420, 380));
    d.add(tabs("tabs", QRect(6, 6, 400, 300), {"项目符号(B)", "编号(N)", "多级符号(U)", "列表样式(L)"}, tab));
    const QStringList bulletKinds = {"lines:无", "lines:●", "lines:○", "lines:■", "lines:◆", "lines:☆", "lines:➢", "lines:✓"};
    const QStringList numberKinds = {"lines:无", "lines:1.|2.|3.", "lines:1)|2)|3)", "lines:一、|二、|三、",
                                     "lines:A.|B.|C.", "lines:a)|b)|c)", "lines:i.|ii.|iii.", "lines:(1)|(2)|(3)"};
    const QStringList& kinds = tab == 1 ? numberKinds : bulletKinds;
    for (int i = 0; i < 8; ++i)
        d.add(sample(QStringLiteral("item%1").arg(i), QRect(16 + (i % 4) * 96, 36 + (i / 4) * 126, 88, 118), kinds[i],
                     i == selected));
    okCancel(d, 248, 316);
    return d;
}

Dialog borders(int setting) {
    Dialog d = make("边框和底纹", QRect(30, 90, 440, 390));
    d.add(tabs("tabs", QRect(6, 6, 420, 310), {"边框(B)", "页面边框(P)", "底纹(S)"}, 0));
    d.add(label(QRect(16, 30, 60, 18), "设置:"));
    const QStringList kinds = {"none", "box", "shadow", "3d", "custom"};
    const QStringList names = {"无(N)", "方框(X)", "阴影(A)", "三维(D)", "自定义(U)"};
    for (int i = 0; i < 5; ++i) {
        d.add(sample(QStringLiteral("set%1").arg(i), QRect(16, 50 + 52 * i, 46, 46), "border:" + kinds[i], i == setting));
        d.add(label(QRect(68, 62 + 52 * i, 60, 20), names[i]));
    }
    d.add(label(QRect(134, 30, 80, 18), "线型(Y):"));
    d.add(list("lineStyle", QRect(134, 50, 140, 120), {"————————", "- - - - - - - - -", "· · · · · · · · ·", "—·—·—·—·—", "════════"}, 0));
    d.add(label(QRect(134, 178, 80, 18), "颜色(C):"));
    d.add(combo("colour", QRect(134, 196, 140, 21), "自动"));
    d.add(label(QRect(134, 224, 80, 18), "宽度(W):"));
    d.add(combo("width", QRect(134, 242, 140, 21), "0.5 磅 ————"));
    d.add(label(QRect(286, 30, 60, 18), "预览"));
    d.add(sample("preview", QRect(286, 50, 126, 170), "border:" + kinds[setting]));
    d.add(label(QRect(286, 226, 80, 18), "应用于(L):"));
    d.add(combo("applyTo", QRect(286, 244, 126, 21), "段落"));
    d.add(button("hline", QRect(8, 326, 80, 23), "横线(H)..."));
    okCancel(d, 264, 326);
    return d;
}

Dialog shading(const QString& fill) {
    Dialog d = make("边框和底纹", QRect(30, 90, 440, 390));
    d.add(tabs("tabs", QRect(6, 6, 420, 310), {"边框(B)", "页面边框(P)", "底纹(S)"}, 2));
    d.add(group(QRect(16, 30, 174, 222), "填充"));
    d.add(label(QRect(26, 50, 150, 154), QString()));
    d.widgets.last().id = "fill";
    d.add(label(QRect(26, 214, 150, 20), fill.isEmpty() ? QStringLiteral("无颜色") : fill));
    d.add(group(QRect(202, 30, 212, 86), "图案"));
    d.add(label(QRect(212, 52, 60, 21), "样式(Y):"));
    d.add(combo("patternStyle", QRect(274, 52, 130, 21), "清除"));
    d.add(label(QRect(212, 84, 60, 21), "颜色(C):"));
    d.add(combo("patternColour", QRect(274, 84, 130, 21), "自动"));
    d.add(label(QRect(202, 124, 60, 18), "预览"));
    d.add(preview(QRect(202, 144, 212, 100), QString()));
    d.widgets.last().id = "preview";
    d.add(label(QRect(202, 256, 80, 18), "应用于(L):"));
    d.add(combo("applyTo", QRect(286, 254, 126, 21), "段落"));
    d.add(button("hline", QRect(8, 326, 80, 23), "横线(H)..."));
    okCancel(d, 264, 326);
    return d;
}

Dialog dropCap(int position) {
    Dialog d = make("首字下沉", QRect(110, 120, 300, 300));
    d.add(group(QRect(8, 4, 276, 112), "位置"));
    const QStringList names = {"无(N)", "下沉(D)", "悬挂(M)"};
    for (int i = 0; i < 3; ++i) {
        d.add(sample(QStringLiteral("pos%1").arg(i), QRect(22 + 88 * i, 24, 72, 64), QStringLiteral("drop:%1").arg(i), i == position));
        d.add(label(QRect(22 + 88 * i + 14, 90, 60, 18), names[i]));
    }
    d.add(group(QRect(8, 122, 276, 104), "选项"));
    d.add(label(QRect(18, 140, 100, 18), "字体(F):"));
    d.add(combo("font", QRect(18, 158, 256, 21), "宋体"));
    d.add(label(QRect(18, 190, 76, 21), "下沉行数(L):"));
    d.add(spin("lines", QRect(96, 190, 54, 21), "3"));
    d.add(label(QRect(156, 190, 58, 21), "距正文(X):"));
    d.add(spin("distance", QRect(214, 190, 62, 21), "0 厘米"));
    okCancel(d, 118, 236);
    return d;
}

Dialog columns(int preset) {
    Dialog d = make("分栏", QRect(40, 100, 420, 360));
    d.add(group(QRect(8, 4, 396, 96), "预设"));
    const QStringList names = {"一栏(O)", "两栏(W)", "三栏(T)", "偏左(L)", "偏右(R)"};
    const QStringList kinds = {"cols:1", "cols:2", "cols:3", "cols:2L", "cols:2R"};
    for (int i = 0; i < 5; ++i) {
        d.add(sample(QStringLiteral("preset%1").arg(i), QRect(18 + 76 * i, 22, 56, 50), kinds[i], i == preset));
        d.add(label(QRect(18 + 76 * i + 4, 76, 60, 18), names[i]));
    }
    const int count = preset == 2 ? 3 : preset == 0 ? 1 : 2;
    d.add(label(QRect(12, 108, 60, 21), "栏数(N):"));
    d.add(spin("count", QRect(74, 108, 60, 21), QString::number(count)));
    d.add(check("line", QRect(240, 108, 120, 21), "分隔线(B)"));
    d.add(group(QRect(8, 136, 262, 110), "宽度和间距"));
    d.add(label(QRect(18, 154, 240, 18), "栏(C):    宽度(I):        间距(S):"));
    d.add(label(QRect(18, 178, 240, 18), count == 1 ? "1:        39.55 字符" : "1:        19.04 字符    2.02 字符"));
    d.add(check("equal", QRect(18, 220, 150, 20), "栏宽相等(E)", true));
    d.add(label(QRect(12, 256, 70, 21), "应用于(A):"));
    d.add(combo("applyTo", QRect(84, 256, 140, 21), "整篇文档"));
    d.add(label(QRect(284, 136, 60, 18), "预览"));
    d.add(sample("preview", QRect(284, 156, 120, 90), kinds[preset]));
    okCancel(d, 246, 292);
    return d;
}

} // namespace sample::dlg

// ---- dialogs of the built-in tab layouts ----------------------------------

namespace sample::dlg {

using namespace ui;

namespace {

// A layout's strip in picture pixels (design twips / 15).
struct Strip {
    QString key;
    int rowY, height;          // the back row; a two-row strip's front row lies 20 lower
    QVector<int> lefts, widths;
    QStringList names;
    QRect back;                // the cancel button
    QSize size;                // the dialog picture
    QString title;
    int number;                // picture series: 100 + layout number
};

const Strip& strip(const QString& key) {
    static const QVector<Strip> strips = {
        {"B", 37, 20, {10, 70, 152}, {60, 82, 86}, {"边框(B)", "页面边框(P)", "底纹(S)"},
         QRect(329, 400, 78, 18), QSize(420, 430), "边框和底纹", 102},
        {"D", 34, 19, {10, 89, 146, 215, 272, 341, 10, 75, 142, 209, 276, 343},
         {79, 57, 69, 57, 69, 70, 65, 67, 67, 67, 67, 70},
         {"拼写和语法", "修订", "用户信息", "兼容性", "文件位置", "中文版式", "视图", "常规", "编辑", "打印", "保存",
          "安全性"},
         QRect(338, 395, 72, 18), QSize(420, 425), "选项", 104},
        {"F", 37, 19, {10, 86, 140, 194, 248, 302}, {76, 54, 54, 54, 54, 50},
         {"标点符号", "特殊符号", "数学符号", "单位符号", "数字序号", "拼音"}, QRect(335, 331, 72, 18),
         QSize(420, 360), "插入特殊符号", 106},
    };
    for (const Strip& s : strips)
        if (s.key == key) return s;
    throw std::invalid_argument("no such tab layout in the sample");
}

bool twoRows(const Strip& s) { return s.lefts.size() > 6; }

// Client coordinates of a picture point.
QPoint client(QPoint picture) { return picture - QPoint(4, 29); }

// The frame, the page panel under the strip and the two buttons.
Dialog tabFrame(const Strip& s, QPoint at) {
    Dialog d;
    d.title = s.title;
    d.frame = QRect(at, s.size);
    const int panelTop = s.rowY + s.height + (twoRows(s) ? 20 : 0);
    const QPoint tl = client(QPoint(6, panelTop - 20));
    const QPoint br = client(QPoint(s.size.width() - 10, s.back.top() - 8));
    d.add(tabs("page", QRect(tl, br), {}, -1));
    const QRect cancel(client(s.back.topLeft()) - QPoint(0, 2), QSize(s.back.width(), s.back.height() + 4));
    d.add(button("ok", cancel.translated(-cancel.width() - 8, 0), "确定", true));
    d.add(button("cancel", cancel, "取消"));
    return d;
}

QRect tabRect(const Strip& s, int tab, int frontRow) {
    const int i = tab - 1;
    int y = s.rowY;
    if (twoRows(s) && ((i >= 6) == (frontRow == 2))) y += 20;
    return QRect(s.lefts[i], y, s.widths[i], s.height);
}

void paintTab(QPainter& p, QRect r, const QString& name, bool front) {
    if (!front) r.adjust(0, 2, 0, 0);
    else r.adjust(-2, 0, 2, 1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, front ? QColor(252, 252, 254) : QColor(236, 236, 229));
    p.fillRect(r, g);
    p.setPen(QColor(145, 155, 156));
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.drawLine(r.topRight(), r.bottomRight());
    p.drawLine(r.topLeft(), r.topRight());
    if (front) {
        p.setPen(QPen(QColor(255, 200, 60), 2));
        p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    }
    p.setPen(Qt::black);
    p.setFont(ui::font(12));
    p.drawText(r, Qt::AlignCenter, name);
}

} // namespace

int tabCount(const QString& key) { return int(strip(key).lefts.size()); }

QString tabPageNumber(const QString& key, int tab) {
    return QString::number(strip(key).number) + QString::number(tab).rightJustified(3, u'0');
}

QImage tabDialogPicture(const Dialog& d, const QString& key, int tab) {
    const Strip& s = strip(key);
    QImage img(d.frame.size(), QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.save();
    p.translate(-d.frame.topLeft());
    paintDialog(p, d);
    p.restore();
    // The back row first, then the front row; the page's tab on top.
    const int frontRow = twoRows(s) && tab > 6 ? 2 : 1;
    auto inFront = [&](int t) { return !twoRows(s) || ((t > 6) == (frontRow == 2)); };
    for (int pass = 0; pass < 2; ++pass)
        for (int t = 1; t <= tabCount(key); ++t)
            if (inFront(t) == (pass == 1) && t != tab) paintTab(p, tabRect(s, t, frontRow), s.names[t - 1], false);
    paintTab(p, tabRect(s, tab, frontRow), s.names[tab - 1], true);
    p.end();
    return img;
}

Dialog bordersPage(QPoint at, int tab, int setting) {
    Dialog d = tabFrame(strip("B"), at);
    if (tab == 1) {
        d.add(label(QRect(16, 38, 60, 18), "设置:"));
        const QStringList kinds = {"none", "box", "shadow", "3d", "custom"};
        const QStringList names = {"无(N)", "方框(X)", "阴影(A)", "三维(D)", "自定义(U)"};
        for (int i = 0; i < 5; ++i) {
            d.add(sample(QStringLiteral("set%1").arg(i), QRect(16, 58 + 56 * i, 46, 46), "border:" + kinds[i], i == setting));
            d.add(label(QRect(68, 70 + 56 * i, 60, 20), names[i]));
        }
        d.add(label(QRect(140, 38, 80, 18), "线型(Y):"));
        d.add(list("lineStyle", QRect(140, 58, 130, 120), {"————————", "- - - - - - -", "· · · · · · ·"}, 0));
        d.add(label(QRect(140, 190, 80, 18), "颜色(C):"));
        d.add(combo("colour", QRect(140, 208, 130, 21), "自动"));
        d.add(label(QRect(284, 38, 60, 18), "预览"));
        d.add(sample("preview", QRect(284, 58, 112, 170), "border:" + kinds[setting]));
        d.add(label(QRect(284, 250, 80, 18), "应用于(L):"));
        d.add(combo("applyTo", QRect(284, 268, 112, 21), "段落"));
    } else if (tab == 2) {
        d.add(label(QRect(16, 38, 60, 18), "设置:"));
        d.add(sample("pageNone", QRect(16, 58, 46, 46), "border:none", true));
        d.add(label(QRect(140, 38, 80, 18), "艺术型(R):"));
        d.add(combo("art", QRect(140, 58, 130, 21), "(无)"));
        d.add(label(QRect(284, 250, 80, 18), "应用于(L):"));
        d.add(combo("pageApply", QRect(284, 268, 112, 21), "整篇文档"));
    } else {
        d.add(label(QRect(16, 38, 60, 18), "填充"));
        d.add(swatches("fill", QRect(16, 58, 156, 102), paletteColours()));
        d.add(label(QRect(16, 180, 60, 18), "图案"));
        d.add(combo("pattern", QRect(16, 200, 130, 21), "清除"));
    }
    return d;
}

Dialog optionsPage(QPoint at, int tab, bool spelling) {
    Dialog d = tabFrame(strip("D"), at);
    if (tab == 1) {
        d.add(group(QRect(14, 56, 384, 120), "拼写"));
        d.add(check("spellAsYouType", QRect(24, 76, 300, 20), "键入时检查拼写(P)", spelling));
        d.add(check("hideSpelling", QRect(24, 100, 300, 20), "隐藏文档中的拼写错误(S)"));
        d.add(check("suggest", QRect(24, 124, 300, 20), "总提出更正建议(L)", true));
        d.add(group(QRect(14, 186, 384, 100), "语法"));
        d.add(check("grammar", QRect(24, 206, 300, 20), "键入时检查语法(G)", true));
    } else if (tab == 8) {
        d.add(group(QRect(14, 56, 384, 150), "常规选项"));
        d.add(check("repaginate", QRect(24, 76, 300, 20), "后台重新分页(B)", true));
        d.add(check("blueBack", QRect(24, 100, 300, 20), "蓝底白字(O)"));
        d.add(check("sound", QRect(24, 124, 300, 20), "提供声音反馈(S)"));
        d.add(check("recent", QRect(24, 148, 300, 20), "列出最近所用文件(R):", true));
        d.add(label(QRect(24, 222, 100, 20), "度量单位(M):"));
        d.add(combo("unit", QRect(126, 222, 110, 21), "厘米"));
    } else {
        d.add(group(QRect(14, 56, 384, 60), strip("D").names[tab - 1]));
        d.add(check(QStringLiteral("page%1").arg(tab), QRect(24, 80, 300, 20), "显示此选项卡的设置", true));
    }
    return d;
}

Dialog symbolsPage(QPoint at, int tab, int selected) {
    Dialog d = tabFrame(strip("F"), at);
    const QStringList sets = {QStringLiteral("，。、；：？！…—·ˉˇ¨‘’“”々～‖∶＂＇｀｜〃〔〕〈〉《》「」『』．〖〗【】（）［］｛｝"),
                              symbolSet(),
                              QStringLiteral("≈≡≠＝≤≥＜＞≮≯∷±＋－×÷／∫∮∝∞∧∨∑∏∪∩∈∵∴⊥∥∠⌒⊙≌∽√"),
                              QStringLiteral("°′″＄￡￥‰％℃¤￠"),
                              QStringLiteral("ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ①②③④⑤⑥⑦⑧⑨⑩⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽"),
                              QStringLiteral("āáǎàōóǒòēéěèīíǐìūúǔùǖǘǚǜü")};
    const QString set = sets.value(tab - 1);
    for (int i = 0; i < 50 && i < set.size(); ++i) {
        const int c = i % 10, r = i / 10;
        d.add(cell(QStringLiteral("sym%1").arg(i), QRect(18 + c * 36, 34 + r * 34, 32, 30), QString(set[i]),
                   tab == 2 && i == selected));
    }
    return d;
}

} // namespace sample::dlg
