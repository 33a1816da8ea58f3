#include "sample/context_menus.h"

#include <map>

#include "sample/record_builder.h"

namespace sample {

namespace {

// One menu as its block describes it; "0" marks an absent row.
struct Menu {
    QString title = "0";                   // line 1, not read by the program
    QString cascade1 = "0", entries1 = "0";
    QString group1 = "0";
    QString cascade2 = "0", entries2 = "0";
    QString group2 = "0";
    QString cascade3 = "0", entries3 = "0";
    QString group3 = "0";
    QString cascade4 = "0", entries4 = "0";
    QString cascade5 = "0", entries5 = "0";
    QString group4 = "0";

    QStringList lines() const {
        return {title,    cascade1, entries1, group1,   cascade2, entries2, group2, cascade3,
                entries3, group3,   cascade4, entries4, cascade5, entries5, group4};
    }
};

const QString kEdit = QStringLiteral("剪切(T)|复制(C)|粘贴(P)|-");

// Set 1 (codes 3xxx).
Menu text() {
    Menu m;
    m.title = "文字";
    m.group1 = kEdit;
    m.group2 = "字体(F)...|段落(P)...|项目符号和编号(N)...|-";
    m.group3 = "超链接(H)...|-|查阅(K)...";
    m.cascade4 = "同义词(Y)";
    m.entries4 = "(无建议)|-|同义词库(T)...";
    m.group4 = "翻译(A)|-|选择格式相似的文本(S)";
    return m;
}

Menu tableCell() {
    Menu m;
    m.title = "表格";
    m.group1 = kEdit;
    m.group2 = "插入行(I)|删除单元格(D)...|合并单元格(M)|-|边框和底纹(B)...|文字方向(X)...";
    m.cascade3 = "单元格对齐方式(G)";
    m.entries3 = "靠上两端对齐|靠上居中对齐|靠上右对齐|中部两端对齐|中部居中|中部右对齐|靠下两端对齐|靠下居中对齐|靠下右对齐";
    m.cascade4 = "自动调整(A)";
    m.entries4 = "根据内容调整表格(F)|根据窗口调整表格(W)|固定列宽(X)|-|平均分布各行(N)|平均分布各列(Y)";
    m.group4 = "-|项目符号和编号(N)...|表格属性(R)...";
    return m;
}

Menu toolbars() {
    Menu m;
    m.title = "工具栏";
    m.group1 = "常用|格式|Visual Basic|Web|Web 工具箱|大纲|窗体|框架集|绘图|控件工具箱";
    m.group2 = "邮件合并|审阅|任务窗格|图片|艺术字|其他格式|表格和边框|-|自定义(C)...";
    return m;
}

Menu picture() {
    Menu m;
    m.title = "图片";
    m.group1 = kEdit;
    m.group2 = "编辑图片(I)|显示“图片”工具栏(S)|-|边框和底纹(B)...|题注(C)...";
    m.group3 = "设置图片格式(O)...|超链接(H)...";
    return m;
}

Menu hyperlink() {
    Menu m;
    m.title = "超链接";
    m.group1 = "编辑超链接(H)...|选择超链接(S)|打开超链接(O)|复制超链接(C)|取消超链接(R)|-";
    m.group2 = kEdit;
    return m;
}

// The text menu over the word “浏览”, with its synonyms.
Menu textBrowse() {
    Menu m = text();
    m.title = "文字(浏览)";
    m.entries4 = "阅读|观看|游览|-|同义词库(T)...";
    return m;
}

// Set 2 (codes 4xxx).
Menu textBox() {
    Menu m;
    m.title = "文本框";
    m.group1 = kEdit;
    m.group2 = "显示“文本框”工具栏(X)|-|边框和底纹(B)...|题注(C)...";
    m.group3 = "设置文本框格式(O)...|超链接(H)...";
    return m;
}

Menu shape() {
    Menu m;
    m.title = "自选图形";
    m.group1 = kEdit;
    m.group2 = "添加文字(X)|编辑顶点(E)|-";
    m.cascade3 = "组合(G)";
    m.entries3 = "组合(G)|取消组合(U)|重新组合(O)";
    m.cascade4 = "叠放次序(R)";
    m.entries4 = "置于顶层(T)|置于底层(K)|上移一层(O)|下移一层(B)|浮于文字上方(F)|衬于文字下方(H)";
    m.group4 = "-|设置自选图形的默认效果(D)|设置自选图形格式(O)...|超链接(H)...";
    return m;
}

Menu wordArt() {
    Menu m;
    m.title = "艺术字";
    m.group1 = kEdit;
    m.group2 = "显示“艺术字”工具栏(S)|编辑文字(X)...|-";
    m.cascade3 = "组合(G)";
    m.entries3 = "组合(G)|取消组合(U)|重新组合(O)";
    m.cascade4 = "叠放次序(R)";
    m.entries4 = "置于顶层(T)|置于底层(K)|上移一层(O)|下移一层(B)|浮于文字上方(F)|衬于文字下方(H)";
    m.group4 = "-|设置艺术字格式(O)...|超链接(H)...";
    return m;
}

// Set 3 (codes 5xxx).
Menu comment() {
    Menu m;
    m.title = "批注";
    m.group1 = kEdit;
    m.group2 = "编辑批注(E)|删除批注(M)";
    return m;
}

Menu header() {
    Menu m;
    m.title = "页眉和页脚";
    m.group1 = kEdit;
    m.group2 = "字体(F)...|段落(P)...|项目符号和编号(N)...|-";
    m.group3 = "关闭页眉和页脚(C)";
    return m;
}

// Set 4 (codes 6xxx, named by "RA" codes): a misspelled word.
Menu spelling() {
    Menu m;
    m.title = "拼写(Internat)";
    m.group1 = "Internet|Internal|Interact|-";
    m.group2 = "全部忽略(I)|添加到词典(A)";
    m.cascade4 = "自动更正(U)";
    m.entries4 = "Internet|Internal|Interact|-|自动更正选项(A)...";
    m.cascade5 = "语言(L)";
    m.entries5 = "设置语言(L)...";
    m.group4 = "拼写检查(S)...|查阅(K)...|-|剪切(T)|复制(C)|粘贴(P)";
    return m;
}

Menu grammar() {
    Menu m;
    m.title = "语法";
    m.group1 = "输入错误或特殊用法|-";
    m.group2 = "忽略一次(I)|-|语法(G)...|关于此句型(A)|查阅(K)...|-";
    m.group4 = "剪切(T)|复制(C)|粘贴(P)";
    return m;
}

} // namespace

QStringList contextMenuLines() {
    const std::map<std::pair<int, int>, Menu> menus = {
        {{1, 1}, text()},    {{1, 2}, tableCell()}, {{1, 3}, toolbars()}, {{1, 4}, picture()},
        {{1, 5}, hyperlink()}, {{1, 6}, textBrowse()}, {{2, 1}, textBox()}, {{2, 2}, shape()},
        {{2, 3}, wordArt()}, {{3, 1}, comment()},   {{3, 2}, header()},   {{4, 1}, spelling()},
        {{4, 2}, grammar()},
    };
    QStringList out;
    for (int set = 1; set <= 4; ++set)
        for (int menu = 1; menu <= 9; ++menu) {
            auto it = menus.find({set, menu});
            const QStringList block = it == menus.end() ? Menu().lines() : it->second.lines();
            out << block;
        }
    if (out.size() != 540) throw RecordError("the context-menu file must have 540 lines");
    return out;
}

} // namespace sample
