#include "sample/questions.h"

#include "sample/dialogs.h"
#include "sample/menu_pictures.h"
#include "sample/word_ui.h"

#include <QPainter>
#include <QPainterPath>
#include <QSet>

namespace sample {

using namespace ui;

namespace {

// ---- building one question ------------------------------------------------

class Q {
public:
    Q(PictureSet& pics, TextTable& texts, QString text)
        : pics_(pics), texts_(texts), text_(std::move(text)) {}

    // A step acted on the target: click "0001", double click "0002", right
    // click "0003", hover "0030", click with keys "9SBB".
    StepPlan& act(const QString& code, const Scene& scene, QRect target, const QString& hint) {
        StepPlan& s = add(code, scene);
        s.target = target;
        setHint(s, target, hint);
        return s;
    }

    // A typing step: the input box over box, pre-filled with prefill; the
    // answer may hold two alternatives joined by "|". target confirms for
    // "0022" and "0026".
    StepPlan& type(const QString& code, const Scene& scene, QRect box, const QString& answer,
                   const QString& prefill, QRect target = {}, int tenths = 90) {
        StepPlan& s = add(code, scene);
        s.input = box;
        s.inputTextLine = texts_.ref(prefill);
        s.answerLine = texts_.ref(answer);
        s.slot125 = inputFormat(tenths);
        s.target = target;
        // typing hints are worded by the program around the expected text
        setHint(s, box, answer);
        return s;
    }

    // A scene that goes on by itself after one second.
    StepPlan& wait(const Scene& scene, const QString& hint) {
        StepPlan& s = add("8888", scene);
        setHint(s, QRect(300, 300, 1, 1), hint);
        return s;
    }

    void end(const Scene& scene) { add("9999", scene); }

    // An overlay picture cut out of a scene, placed where it was.
    QString cut(const Scene& scene, QRect r, PictureFormat f = PictureFormat::Gif) {
        return pics_.overlay(render(scene).copy(r), f);
    }
    QString overlayImage(const QImage& img, PictureFormat f = PictureFormat::Bmp) { return pics_.overlay(img, f); }

    QuestionOut finish() {
        QSet<int> targets;   // steps reached by a jump keep their own pictures
        auto note = [&](QChar c) {
            if (c >= u'1' && c <= u'9') targets.insert(c.unicode() - u'0');
            if (c >= u'A' && c <= u'Z') targets.insert(c.unicode() - u'A' + 10);
        };
        for (const StepPlan& s : steps_) {
            note(s.targetBranch);
            for (const Overlay& o : s.images) note(o.branch);
        }
        QuestionOut out;
        out.text = text_;
        for (int i = 0; i < steps_.size(); ++i) {
            StepPlan s = steps_[i];
            const int step = i + 1;
            if (step == 1 && s.formPicture == "310001") s.formPicture = "888888";
            if (step > 1 && !targets.contains(step) && s.formPicture == steps_[i - 1].formPicture)
                s.formPicture = "888888";
            out.records << buildRecord(s);
        }
        return out;
    }

private:
    StepPlan& add(const QString& code, const Scene& scene) {
        StepPlan s;
        s.prefix = digits(steps_.size() + 1, 3);
        s.action = code;
        s.formPicture = pics_.screen(render(scene));
        steps_.push_back(s);
        return steps_.last();
    }

    void setHint(StepPlan& s, QRect anchor, const QString& hint) {
        s.hintSet = true;
        int x = std::clamp(anchor.left(), 4, 520);
        int y = anchor.bottom() + 6;
        if (y > 520) y = anchor.top() - 28;
        s.hintPos = QPoint(x, y);
        s.hintLine = texts_.ref(hint);
    }

    PictureSet& pics_;
    TextTable& texts_;
    QString text_;
    QVector<StepPlan> steps_;
};

// ---- scenes ----------------------------------------------------------------

Scene base() { return Scene{}; }

Scene withMenu(Scene s, int menu, int hot = -1) {
    s.menu = menu;
    s.menuHot = hot;
    return s;
}

Scene withDialog(Scene s, const Dialog& d) {
    s.dialogs.push_back(d);
    return s;
}

// A scene with a picture drawn over it at `at` (a dialog page, a shape).
Scene withImage(Scene s, const QImage& img, QPoint at) {
    const auto before = s.extra;
    s.extra = [before, img, at](QPainter& p) {
        if (before) before(p);
        p.drawImage(at, img);
    };
    return s;
}

QRect row(int menu, const QString& prefix) {
    const Popup m = dropDown(menu);
    return m.itemRect(m.find(prefix));
}

Doc selectedTitle() {
    Doc d = sampleDoc();
    d.sel = {{0, 0, -1}};
    return d;
}

Doc withSel(Doc d, int para, int from = 0, int len = -1) {
    d.sel = {{para, from, len}};
    return d;
}

Scene docScene(const Doc& d) {
    Scene s;
    s.doc = d;
    return s;
}

QImage dialogImage(const Dialog& d) {
    QImage img(d.frame.size() + QSize(4, 4), QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    QPainter p(&img);
    p.translate(-d.frame.topLeft());
    paintDialog(p, d);
    p.end();
    return img.copy(0, 0, d.frame.width(), d.frame.height());
}

void tooltip(QPainter& p, QPoint at, const QString& t) {
    QFontMetrics fm(ui::font(12));
    QRect r(at, QSize(fm.horizontalAdvance(t) + 10, 19));
    p.fillRect(r, QColor(255, 255, 225));
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setFont(ui::font(12));
    p.drawText(r, Qt::AlignCenter, t);
}

// ---- steps on the simulated menus -------------------------------------------

// "H" MM II SS, two unread characters and the branch.
QString menuPath(int hotSpot, int row, int sub = 0, QChar branch = u'0') {
    if (row < 0 || sub < 0) throw RecordError(QStringLiteral("no such menu row"));
    return "H" + digits(hotSpot, 2) + digits(row, 2) + digits(sub, 2) + "00" + branch;
}

int rowOf(int hotSpot, const QString& prefix) {
    const int r = menuRow(hotSpot, prefix);
    if (r == 0) throw RecordError("no menu row " + prefix);
    return r;
}

int subRowOf(int hotSpot, int item, const QString& prefix) {
    const int r = submenuRow(hotSpot, item, prefix);
    if (r == 0) throw RecordError("no submenu row " + prefix);
    return r;
}

// A step done on the simulated menus and toolbars with the program's own
// bars over the scene (bars "A" + mask); slot 1 holds the path.
StepPlan& menuStep(Q& q, const Scene& scene, const QString& path, const QString& bars, QRect anchor,
                   const QString& hint) {
    StepPlan& s = q.act("7000", scene, anchor, hint);
    s.target = QRect();
    s.bars = bars;
    s.slot125 = path;
    // A toolbar's drop-down opens below its button (upwards on the bottom
    // bar), so the hint goes on the other side of the button's row.
    if (bars != "A1" && !anchor.isEmpty()) {
        s.hintPos.setY(anchor.top() > 300 ? anchor.bottom() + 4 : anchor.top() - 26);
        s.hintPos.setX(std::clamp(796 - 16 * int(hint.size()) - 8, 4, s.hintPos.x()));
    }
    return s;
}

// A row of a menu-bar drop-down (menu counted from 0, as the painter does).
StepPlan& menuClick(Q& q, const Scene& scene, int menu, const QString& prefix, const QString& hint) {
    return menuStep(q, scene, menuPath(menu + 1, rowOf(menu + 1, prefix)), "A1", menuCaption(menu), hint);
}

// ---- unit 0: basics and documents ------------------------------------------

QVector<QuestionOut> unit0(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    {
        Q q(P, T, "利用常用工具栏新建一个空白文档。");
        q.act("0001", base(), tool("新建"), "单击常用工具栏上的“新建空白文档”按钮");
        q.end(docScene(emptyDoc("文档2")));
        out << q.finish();
    }
    {
        Q q(P, T, "将当前文档以“练习1”为文件名保存在“我的文档”中。");
        menuClick(q, base(), File, "另存为", "单击“文件”菜单中的“另存为”");
        const Dialog d = dlg::fileDialog(true, "计算机网络基础知识", -1, true);
        q.type("0022", withDialog(base(), d), d.at("name").adjusted(1, 1, -1, -1), "练习1|练习1.doc",
               "计算机网络基础知识", d.at("ok"));
        Scene e = base();
        e.doc.name = "练习1";
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用常用工具栏打开“我的文档”中的文档“通知”。");
        q.act("0001", base(), tool("打开"), "单击常用工具栏上的“打开”按钮");
        const Dialog d = dlg::fileDialog(false, {}, -1, false);
        q.act("0002", withDialog(base(), d), d.row("files", 2), "双击“通知.doc”");
        q.end(docScene(noticeDoc()));
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单显示“绘图”工具栏。");
        const int tb = rowOf(3, "工具栏");
        menuStep(q, base(), menuPath(3, tb, subRowOf(3, tb, "绘图")), "A1", menuCaption(View),
                 "单击“视图”菜单，指向“工具栏”，单击“绘图”");
        Scene e = base();
        e.drawingBar = true;
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用常用工具栏将文档的显示比例设置为75%。");
        const QRect box = tool("显示比例");
        q.act("0001", base(), box.adjusted(0, 0, -12, 0), "单击“显示比例”框");
        q.type("0024", base(), box.adjusted(1, 2, -13, -2), "75%|75", "100%");
        Scene e = base();
        e.zoom = "75%";
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "使用“键入需要帮助的问题”框搜索有关“页码”的帮助信息。");
        q.act("0001", base(), helpBox().adjusted(0, 0, -12, 0), "单击“键入需要帮助的问题”框");
        Scene typing = base();
        q.type("0024", typing, helpBox().adjusted(1, 1, -13, -1), "页码", {});
        Scene searching = base();
        searching.helpText = "页码";
        searching.paneTitle = "搜索结果";
        searching.paneLines = {"正在搜索 Microsoft Office Online...", "", "请稍候。"};
        q.wait(searching, "正在搜索，请稍候");
        Scene e = searching;
        e.paneLines = {"#搜索结果：页码", "*插入页码", "*删除页码", "*更改页码格式", "*在页眉或页脚中添加页码",
                       "*从第二页开始编排页码", "", "搜索:", "Microsoft Office Online"};
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单关闭当前文档。");
        menuClick(q, base(), File, "关闭", "单击“文件”菜单中的“关闭”");
        Scene e = base();
        e.doc.view = 3;
        e.doc.name.clear();
        q.end(e);
        out << q.finish();
    }
    {
        // Two ways: the toolbar button, or the View menu (an overlay over the
        // menu caption leads to the menu steps).
        Q q(P, T, "以阅读版式视图查看当前文档。");
        StepPlan& first = q.act("0001", base(), tool("阅读"), "单击常用工具栏上的“阅读”按钮");
        first.targetBranch = u'3';
        first.images[0] = Overlay{q.cut(base(), menuCaption(View)), menuCaption(View).topLeft(), u'2'};
        q.act("0001", withMenu(base(), View), row(View, "阅读版式"), "单击“阅读版式”");
        Scene e = base();
        e.doc.view = 2;
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单将当前文档属性中的标题设置为“网络知识”，然后确定。");
        menuClick(q, base(), File, "属性", "单击“文件”菜单中的“属性”");
        const Dialog d = dlg::properties("计算机网络基础知识", true);
        q.type("0020", withDialog(base(), d), d.at("title").adjusted(1, 1, -1, -1), "网络知识", "计算机网络基础知识");
        const Dialog d2 = dlg::properties("网络知识", false);
        q.act("0001", withDialog(base(), d2), d2.at("ok"), "单击“确定”按钮");
        q.end(base());
        out << q.finish();
    }
    {
        Q q(P, T, "利用水平滚动条左端的视图按钮将文档切换到普通视图。");
        StepPlan& s = q.act("0001", base(), viewButton("普通视图"), "单击“普通视图”按钮");
        s.cursor = "S0001";
        Scene e = base();
        e.doc.view = 1;
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用常用工具栏上的“显示比例”列表将显示比例设置为75%。");
        menuStep(q, base(), menuPath(64, rowOf(64, "75%")), "A3", tool("显示比例"),
                 "单击“显示比例”框右侧的箭头，选择“75%”");
        Scene e = base();
        e.zoom = "75%";
        q.end(e);
        out << q.finish();
    }
    {
        // The recent file is a row drawn by the module (a SpecialItem).
        Q q(P, T, "利用“文件”菜单打开最近使用过的文档“通知”。");
        StepPlan& s = menuStep(q, base(), QString(10, u'0'), "A1", menuCaption(File),
                               "单击“文件”菜单中最近使用的文件“1 通知.doc”");
        s.slots86 = QString(10, u'0') + "D01" + digits(16, 2) + "x" + QString::fromLatin1(kRecentFileCode);
        q.end(docScene(noticeDoc()));
        out << q.finish();
    }
    {
        Q q(P, T, "利用绘图工具栏将填充颜色设置为黄色。");
        Scene s0 = base();
        s0.drawingBar = true;
        const int yellow = int(paletteColourNames().indexOf("黄色")) + 1;
        menuStep(q, s0, menuPath(24, yellow), "A5", tool("填充颜色"), "单击“填充颜色”按钮右侧的箭头，选择“黄色”");
        q.end(s0);
        out << q.finish();
    }
    return out;
}

// ---- unit 1: editing --------------------------------------------------------

QVector<QuestionOut> unit1(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    {
        Q q(P, T, "用鼠标在文档左侧的选定栏中双击，选定文档的第二段（以“互联网”开头的段落）。");
        StepPlan& s = q.act("0002", base(), marginRect(sampleDoc(), 2), "在第二段左侧的选定栏中双击");
        s.cursor = "S0001";
        q.end(docScene(withSel(sampleDoc(), 2)));
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单将文档中所有的“计算机”替换为“电脑”。");
        menuClick(q, base(), Edit, "替换", "单击“编辑”菜单中的“替换”");
        dlg::FindState f;
        f.replaceTab = true;
        f.focus = 1;
        Dialog d = dlg::findReplace(f);
        q.type("0020", withDialog(base(), d), d.at("find").adjusted(1, 1, -1, -1), "计算机", {});
        f.find = "计算机";
        f.focus = 2;
        d = dlg::findReplace(f);
        q.type("0020", withDialog(base(), d), d.at("replace").adjusted(1, 1, -1, -1), "电脑", {});
        f.replace = "电脑";
        f.focus = 0;
        d = dlg::findReplace(f);
        q.act("0001", withDialog(base(), d), d.at("all"), "单击“全部替换”按钮");
        // The document behind is replaced; the message box is an overlay.
        Doc replaced = sampleDoc();
        int count = 0;
        for (Para& p : replaced.paras) {
            count += int(p.text.count("计算机"));
            p.text.replace("计算机", "电脑");
        }
        f.closeCaption = true;
        d = dlg::findReplace(f);
        const Dialog box = messageBox("Microsoft Office Word",
                                      QStringLiteral("Word 已完成对文档的搜索并已完成 %1 处替换。").arg(count),
                                      QPoint(150, 210));
        Scene behind = withDialog(docScene(replaced), d);
        StepPlan& m = q.act("0001", behind, box.at("ok"), "单击“确定”按钮");
        m.images[0] = Overlay{q.overlayImage(dialogImage(box)), box.frame.topLeft(), u'0'};
        q.act("0001", behind, d.at("cancel"), "单击“关闭”按钮");
        q.end(docScene(replaced));
        out << q.finish();
    }
    {
        // The real context menu of the window: right click, then "复制".
        Q q(P, T, "利用快捷菜单复制选定的标题。");
        const Scene sel = docScene(selectedTitle());
        const QRect title = textRect(selectedTitle(), 0, 0, 9);
        q.act("3121", sel, title, "在选定的标题上单击右键，在快捷菜单中选择“复制”");
        q.end(sel);
        out << q.finish();
    }
    {
        Q q(P, T, "刚才误删了文档的最后一段，利用常用工具栏撤消这一操作。");
        Doc cut = sampleDoc();
        cut.paras.removeLast();
        q.act("0001", docScene(cut), tool("撤消").adjusted(0, 0, -10, 0), "单击常用工具栏上的“撤消”按钮");
        q.end(base());
        out << q.finish();
    }
    {
        Q q(P, T, "在文档末尾的插入点处插入日期，格式为“2008年8月8日”。");
        Doc d0 = sampleDoc();
        d0.caretAtEnd = true;
        const Scene s0 = docScene(d0);
        menuClick(q, s0, Insert, "日期和时间", "单击“插入”菜单中的“日期和时间”");
        Dialog d = dlg::dateTime(0);
        q.act("0001", withDialog(s0, d), d.row("formats", 1), "单击“2008年8月8日”");
        d = dlg::dateTime(1);
        q.act("0001", withDialog(s0, d), d.at("ok"), "单击“确定”按钮");
        Doc e = d0;
        e.paras.last().text += "2008年8月8日";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "在文档末尾的插入点处插入特殊符号“※”。");
        Doc d0 = sampleDoc();
        d0.caretAtEnd = true;
        const Scene s0 = docScene(d0);
        menuClick(q, s0, Insert, "特殊符号", "单击“插入”菜单中的“特殊符号”");
        const int idx = int(dlg::symbolSet().indexOf(u'※'));
        Dialog d = dlg::specialSymbols(-1);
        q.act("0001", withDialog(s0, d), d.at(QStringLiteral("sym%1").arg(idx)), "单击“※”");
        d = dlg::specialSymbols(idx);
        q.act("0001", withDialog(s0, d), d.at("ok"), "单击“确定”按钮");
        Doc e = d0;
        e.paras.last().text += "※";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "利用“查找和替换”对话框查找文档中的“拓扑”。");
        menuClick(q, base(), Edit, "查找", "单击“编辑”菜单中的“查找”");
        dlg::FindState f;
        f.focus = 1;
        Dialog d = dlg::findReplace(f);
        q.type("0024", withDialog(base(), d), d.at("find").adjusted(1, 1, -1, -1), "拓扑", {});
        f.find = "拓扑";
        f.focus = 0;
        d = dlg::findReplace(f);
        Doc found = sampleDoc();
        found.sel = {{4, int(found.paras[4].text.indexOf("拓扑")), 2}};
        // The dialog makes way for the word it found.
        d.frame.moveTop(textRect(found, 4, found.sel[0].from, 2).bottom() + 24);
        q.end(withDialog(docScene(found), d));
        out << q.finish();
    }
    {
        Q q(P, T, "按住Ctrl键单击，选定第二段的第一句话。");
        const QString para = sampleDoc().paras[2].text;
        const int sentence = int(para.indexOf(u'。')) + 1;
        q.act("9201", base(), textRect(sampleDoc(), 2, 0, 5), "按住Ctrl键单击第一句话");
        q.end(docScene(withSel(sampleDoc(), 2, 0, sentence)));
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单清除选定段落（第四段）的内容。");
        const Scene s0 = docScene(withSel(sampleDoc(), 4));
        const int clr = rowOf(2, "清除");
        menuStep(q, s0, menuPath(2, clr, subRowOf(2, clr, "内容")), "A1", menuCaption(Edit),
                 "单击“编辑”菜单，指向“清除”，单击“内容”");
        Doc e = sampleDoc();
        e.paras[4].text.clear();
        e.caretAtEnd = true;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "在文档末尾另起一段，输入文字“以上内容仅供参考。”");
        Doc d0 = sampleDoc();
        Para p;
        p.text.clear();
        d0.paras.push_back(p);
        d0.caretAtEnd = true;
        const QRect line = paraRect(d0, 5);
        q.type("0020", docScene(d0), QRect(line.left(), line.top(), 300, line.height()), "以上内容仅供参考。", {},
               {}, 105);
        Doc e = d0;
        e.paras.last().text = "以上内容仅供参考。";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // A word marked as misspelled: the spelling menu lies in the fourth
        // set of the context-menu file, named by the step's "RA" code.
        Doc d0 = sampleDoc();
        Para p;
        p.text = "Internat 是全球最大的计算机网络。";
        d0.paras.push_back(p);
        const int last = int(d0.paras.size()) - 1;
        const QRect word = textRect(d0, last, 0, 8);
        Scene s0 = docScene(d0);
        s0.extra = [word](QPainter& pt) {
            QPainterPath wave;
            wave.moveTo(word.left(), word.bottom() + 1);
            for (int x = word.left(); x < word.right(); x += 2)
                wave.lineTo(x + 2, word.bottom() + ((x - word.left()) / 2 % 2 ? 1 : 3));
            pt.setPen(QPen(QColor(255, 0, 0), 1));
            pt.drawPath(wave);
        };
        Q q(P, T, "文档末段中的“Internat”一词拼写有误（带有红色波浪线），利用快捷菜单将其更正为“Internet”。");
        StepPlan& s = q.act("7000", s0, word, "在“Internat”上单击右键，在快捷菜单中选择“Internet”");
        s.altMenu = "RA120";
        Doc e = d0;
        e.paras[last].text = "Internet 是全球最大的计算机网络。";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // A cascade of the context menu: 同义词 > 阅读.
        Doc d0 = sampleDoc();
        const int at = int(d0.paras[2].text.indexOf("浏览"));
        d0.sel = {{2, at, 2}};
        Q q(P, T, "利用快捷菜单将以“互联网”开头的段落中选定的“浏览”一词替换为同义词“阅读”。");
        q.act("3670", docScene(d0), textRect(d0, 2, at, 2), "在选定的“浏览”上单击右键，指向“同义词”，再单击“阅读”");
        Doc e = d0;
        e.paras[2].text.replace("浏览", "阅读");
        q.end(docScene(e));
        out << q.finish();
    }
    return out;
}

// ---- unit 2: character formats -----------------------------------------------

QVector<QuestionOut> unit2(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    const Scene sel = docScene(selectedTitle());
    auto result = [](auto change) {
        Doc d = sampleDoc();
        change(d.paras[0]);
        return docScene(d);
    };
    {
        Q q(P, T, "利用格式工具栏将选定的标题设置为加粗。");
        q.act("0001", sel, tool("加粗"), "单击格式工具栏上的“加粗”按钮");
        Scene e = result([](Para& p) { p.bold = true; });
        e.pressed = {"加粗"};
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将选定标题的字体设置为“黑体”。");
        const QRect box = tool("字体");
        q.act("0001", sel, box.adjusted(0, 0, -12, 0), "单击“字体”框");
        q.type("0024", sel, box.adjusted(1, 2, -13, -2), "黑体", "宋体");
        Scene e = result([](Para& p) { p.family = "黑体"; });
        e.fontName = "黑体";
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将选定文字（第一段）的字号设置为“小四”。");
        const Scene s0 = docScene(withSel(sampleDoc(), 1));
        q.act("0001", s0, toolArrow("字号"), "单击“字号”框右侧的下拉按钮");
        const QStringList sizes = {"初号", "小初", "一号", "小一", "二号", "小二", "三号", "小三", "四号", "小四",
                                   "五号", "小五", "六号", "小六", "七号", "八号"};
        const QRect box = tool("字号");
        const QRect listRect(box.left(), box.bottom() + 1, 60, sizes.size() * kListRow + 4);
        Scene open = s0;
        open.extra = [=](QPainter& p) { paintWidget(p, dropList("sizes", listRect, sizes, 10), QPoint()); };
        const QRect target(listRect.left() + 2, listRect.top() + 2 + 9 * kListRow, listRect.width() - 4, kListRow);
        q.act("0001", open, target, "单击“小四”");
        Doc e = sampleDoc();
        e.paras[1].size = 16;
        Scene es = docScene(e);
        es.fontSize = "小四";
        q.end(es);
        out << q.finish();
    }
    {
        Q q(P, T, "利用“字体”对话框将选定的标题设置为倾斜、红色。");
        menuClick(q, sel, Format, "字体", "单击“格式”菜单中的“字体”");
        dlg::FontState f;
        Dialog d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.row("styles", 1), "在“字形”列表中单击“倾斜”");
        f.styleRow = 1;
        d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.at("colour"), "单击“字体颜色”下拉框");
        f.palette = true;
        d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.row("palette", 16), "单击“红色”");
        f.palette = false;
        f.colour = "红色";
        d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.at("ok"), "单击“确定”按钮");
        q.end(result([](Para& p) {
            p.italic = true;
            p.color = QColor(255, 0, 0);
        }));
        out << q.finish();
    }
    {
        Q q(P, T, "利用“字体”对话框将选定标题的字符间距设置为加宽2磅。");
        menuClick(q, sel, Format, "字体", "单击“格式”菜单中的“字体”");
        dlg::FontState f;
        Dialog d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.tab("tabs", 1), "单击“字符间距”选项卡");
        f.tab = 1;
        d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.at("spacing"), "单击“间距”下拉框");
        f.spacingOpen = true;
        d = dlg::font(f);
        q.act("0001", withDialog(sel, d), d.row("spacingList", 1), "单击“加宽”");
        f.spacingOpen = false;
        f.spacing = "加宽";
        f.amount = "1 磅";
        d = dlg::font(f);
        q.type("0026", withDialog(sel, d), d.at("amount").adjusted(1, 1, -17, -1), "2 磅|2磅", "1 磅", d.at("ok"));
        q.end(result([](Para& p) { p.spacing = 3; }));
        out << q.finish();
    }
    {
        Q q(P, T, "将鼠标指向格式工具栏上的“下划线”按钮，看到提示后单击它，为选定的标题添加下划线。");
        q.act("0030", sel, tool("下划线"), "指向“下划线”按钮");
        Scene hover = sel;
        hover.hovered = {"下划线"};
        const QRect b = tool("下划线");
        hover.extra = [b](QPainter& p) { tooltip(p, b.bottomLeft() + QPoint(8, 14), "下划线"); };
        q.act("0001", hover, b, "单击“下划线”按钮");
        Scene e = result([](Para& p) { p.underline = true; });
        e.pressed = {"下划线"};
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将选定标题的颜色设置为蓝色。");
        const QRect arrow = toolArrow("字体颜色");
        q.act("0001", sel, arrow, "单击“字体颜色”按钮右侧的下拉按钮");
        const QRect pal(arrow.right() - 160, arrow.bottom() + 1, 156, 102);
        Scene open = sel;
        open.extra = [pal](QPainter& p) { paintWidget(p, swatches("palette", pal, dlg::paletteColours()), QPoint()); };
        q.act("0001", open, swatchCell(pal, 13), "单击“蓝色”");
        q.end(result([](Para& p) { p.color = QColor(0, 0, 255); }));
        out << q.finish();
    }
    {
        Q q(P, T, "利用“字体”对话框将选定的数字“2”设置为上标。");
        Doc d0 = sampleDoc();
        Para p;
        p.text = "圆的面积公式为S=πr2";
        d0.paras.push_back(p);
        const int last = int(d0.paras.size()) - 1;
        const Scene s0 = docScene(withSel(d0, last, int(p.text.size()) - 1, 1));
        menuClick(q, s0, Format, "字体", "单击“格式”菜单中的“字体”");
        dlg::FontState f;
        Dialog d = dlg::font(f);
        q.act("0001", withDialog(s0, d), d.at("super"), "单击“上标”复选框");
        f.superscript = true;
        d = dlg::font(f);
        q.act("0001", withDialog(s0, d), d.at("ok"), "单击“确定”按钮");
        Doc e = d0;
        e.paras[last].superscriptTail = true;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单将选定的英文单词全部改为大写字母。");
        Doc d0 = sampleDoc();
        Para p;
        p.text = "常用的文字处理软件有Microsoft Word和WPS等。";
        d0.paras.push_back(p);
        const int last = int(d0.paras.size()) - 1;
        const int from = int(p.text.indexOf("Microsoft"));
        const Scene s0 = docScene(withSel(d0, last, from, 14));
        menuClick(q, s0, Format, "更改大小写", "单击“格式”菜单中的“更改大小写”");
        Dialog d = dlg::changeCase(0);
        q.act("0001", withDialog(s0, d), d.at("case2"), "单击“全部大写”");
        d = dlg::changeCase(2);
        q.act("0001", withDialog(s0, d), d.at("ok"), "单击“确定”按钮");
        Doc e = d0;
        e.paras[last].text.replace("Microsoft Word", "MICROSOFT WORD");
        q.end(docScene(withSel(e, last, from, 14)));
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏为选定的标题添加字符底纹。");
        q.act("0001", sel, tool("字符底纹"), "单击格式工具栏上的“字符底纹”按钮");
        Scene e = result([](Para& p) { p.shading = true; });
        e.pressed = {"字符底纹"};
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将标题文字的颜色设置为红色。");
        const Scene s0 = docScene(selectedTitle());
        const int red = int(paletteColourNames().indexOf("红色")) + 1;
        menuStep(q, s0, menuPath(86, red), "A3", tool("字体颜色"), "单击“字体颜色”按钮右侧的箭头，选择“红色”");
        Doc e = sampleDoc();
        e.paras[0].color = Qt::red;
        q.end(docScene(e));
        out << q.finish();
    }
    return out;
}

// ---- unit 3: paragraph formats -------------------------------------------------

QVector<QuestionOut> unit3(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    auto result = [](int para, auto change) {
        Doc d = sampleDoc();
        change(d.paras[para]);
        return docScene(d);
    };
    {
        // The toolbar button ends the question at once; the overlay over the
        // Format caption leads through the paragraph dialog instead.
        Q q(P, T, "将插入点所在的标题段落设置为居中对齐。");
        StepPlan& first = q.act("0001", base(), tool("居中对齐"), "单击格式工具栏上的“居中”按钮");
        first.targetBranch = u'6';
        first.images[0] = Overlay{q.cut(base(), menuCaption(Format)), menuCaption(Format).topLeft(), u'2'};
        q.act("0001", withMenu(base(), Format), row(Format, "段落"), "单击“段落”");
        dlg::ParaState s;
        Dialog d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.at("align"), "单击“对齐方式”下拉框");
        s.alignOpen = true;
        d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.row("alignList", 1), "单击“居中”");
        s.alignOpen = false;
        s.align = "居中";
        d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        Scene e = result(0, [](Para& p) { p.align = 1; });
        e.pressed = {"居中对齐"};
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用“段落”对话框将插入点所在的第一段设置为悬挂缩进2字符。");
        menuClick(q, base(), Format, "段落", "单击“格式”菜单中的“段落”");
        dlg::ParaState s;
        Dialog d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.at("special"), "单击“特殊格式”下拉框");
        s.specialOpen = true;
        d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.row("specialList", 2), "单击“悬挂缩进”");
        s.specialOpen = false;
        s.special = "悬挂缩进";
        s.amount = "2 字符";
        d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        q.end(result(1, [](Para& p) {
            p.leftIndent = 28;
            p.firstIndent = -28;
        }));
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将插入点所在的第一段的行距设置为1.5倍。");
        const QRect arrow = toolArrow("行距");
        q.act("0001", base(), arrow, "单击“行距”按钮右侧的下拉按钮");
        Scene open = base();
        open.popup = contextMenu(QPoint(tool("行距").left(), tool("行距").bottom() + 1),
                                 {MenuEntry{"1.0", {}, false, false, true}, MenuEntry{"1.5", {}, false, false, false},
                                  MenuEntry{"2.0", {}, false, false, false}, MenuEntry{"2.5", {}, false, false, false},
                                  MenuEntry{"3.0", {}, false, false, false}, MenuEntry{{}, {}, false, true, false},
                                  MenuEntry{"其他(M)...", {}, false, false, false}});
        q.act("0001", open, open.popup->itemRect(1), "单击“1.5”");
        q.end(result(1, [](Para& p) { p.lineSpacing = 1.5; }));
        out << q.finish();
    }
    {
        Q q(P, T, "利用“段落”对话框将插入点所在的第二段的段前间距设置为1行。");
        menuClick(q, base(), Format, "段落", "单击“格式”菜单中的“段落”");
        dlg::ParaState s;
        Dialog d = dlg::paragraph(s);
        q.type("0020", withDialog(base(), d), d.at("before").adjusted(1, 1, -17, -1), "1 行|1行", "0 行");
        s.before = "1 行";
        d = dlg::paragraph(s);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        q.end(result(2, [](Para& p) { p.spaceBefore = 22; }));
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏为选定的正文段落添加项目符号。");
        Doc d0 = sampleDoc();
        d0.sel = {{1, 0, -1}, {2, 0, -1}, {3, 0, -1}, {4, 0, -1}};
        q.act("0001", docScene(d0), tool("项目符号"), "单击格式工具栏上的“项目符号”按钮");
        Doc e = d0;
        for (int i = 1; i < e.paras.size(); ++i) {
            e.paras[i].bullet = "●";
            e.paras[i].firstIndent = 0;
        }
        Scene es = docScene(e);
        es.pressed = {"项目符号"};
        q.end(es);
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单为选定的正文段落添加编号，编号样式为“1. 2. 3.”。");
        Doc d0 = sampleDoc();
        d0.sel = {{1, 0, -1}, {2, 0, -1}, {3, 0, -1}, {4, 0, -1}};
        const Scene s0 = docScene(d0);
        menuClick(q, s0, Format, "项目符号和编号", "单击“格式”菜单中的“项目符号和编号”");
        Dialog d = dlg::bullets(0, 0);
        q.act("0001", withDialog(s0, d), d.tab("tabs", 1), "单击“编号”选项卡");
        d = dlg::bullets(1, 0);
        q.act("0001", withDialog(s0, d), d.at("item1"), "单击“1. 2. 3.”样式");
        d = dlg::bullets(1, 1);
        q.act("0001", withDialog(s0, d), d.at("ok"), "单击“确定”按钮");
        Doc e = sampleDoc();
        for (int i = 1; i < e.paras.size(); ++i) {
            e.paras[i].bullet = QStringLiteral("%1.").arg(i);
            e.paras[i].firstIndent = 0;
        }
        Scene es = docScene(e);
        es.pressed = {"编号"};
        q.end(es);
        out << q.finish();
    }
    {
        Q q(P, T, "利用菜单为标题段落添加方框边框。");
        menuClick(q, base(), Format, "边框和底纹", "单击“格式”菜单中的“边框和底纹”");
        Dialog d = dlg::borders(0);
        q.act("0001", withDialog(base(), d), d.at("set1"), "单击“方框”");
        d = dlg::borders(1);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        q.end(result(0, [](Para& p) { p.border = true; }));
        out << q.finish();
    }
    {
        Q q(P, T, "为第一段设置首字下沉，下沉行数为3行。");
        menuClick(q, base(), Format, "首字下沉", "单击“格式”菜单中的“首字下沉”");
        Dialog d = dlg::dropCap(0);
        q.act("0001", withDialog(base(), d), d.at("pos1"), "单击“下沉”");
        d = dlg::dropCap(1);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        q.end(result(1, [](Para& p) {
            p.dropCap = true;
            p.firstIndent = 0;
        }));
        out << q.finish();
    }
    {
        Doc two = sampleDoc();
        two.columns = 2;
        const QImage page = render(docScene(two)).copy(QRect(40, kDocTop, 706, kDocBottom - kDocTop));
        const QString shown = P.overlay(page, PictureFormat::Bmp);
        Q q(P, T, "picture" + shown + "参照样张，将文档的正文分为两栏。");
        menuClick(q, base(), Format, "分栏", "单击“格式”菜单中的“分栏”");
        Dialog d = dlg::columns(0);
        q.act("0001", withDialog(base(), d), d.at("preset1"), "单击“两栏”");
        d = dlg::columns(1);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        q.end(docScene(two));
        out << q.finish();
    }
    {
        Q q(P, T, "利用快捷菜单打开“段落”对话框，将第三段的左缩进设置为4字符。");
        const QRect where = textRect(sampleDoc(), 3, 4, 6);
        q.act("0003", base(), where, "在第三段上单击右键");
        Scene menu = base();
        menu.popup = contextMenu(where.center(), textContextMenu());
        q.act("0001", menu, menu.popup->itemRect(menu.popup->find("段落")), "单击“段落”");
        dlg::ParaState s;
        const Dialog d = dlg::paragraph(s);
        q.type("0026", withDialog(base(), d), d.at("left").adjusted(1, 1, -17, -1), "4 字符|4字符", "0 字符",
               d.at("ok"));
        q.end(result(3, [](Para& p) { p.leftIndent = 56; }));
        out << q.finish();
    }
    {
        // The line-spacing button is an extra picture of the step, with its
        // own drop-down list.
        Q q(P, T, "利用格式工具栏上的“行距”按钮将第二段的行距设置为1.5倍。");
        const Doc d0 = withSel(sampleDoc(), 2);
        StepPlan& s = menuStep(q, docScene(d0), QString(10, u'0'), "A3", QRect(606, 107, 36, 24),
                               "单击“行距”按钮右侧的箭头，选择“1.5”");
        s.slots86 = menuPath(32, rowOf(32, "1.5")) + QString(10, u'0');
        Doc e = d0;
        e.paras[2].lineSpacing = 1.5;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // The shading tab's fill palette is a drop-down shown already open.
        Q q(P, T, "利用“边框和底纹”对话框将第三段的底纹设置为浅黄色。");
        const Scene s0 = docScene(withSel(sampleDoc(), 3));
        menuClick(q, s0, Format, "边框和底纹", "单击“格式”菜单中的“边框和底纹”");
        const Dialog d = dlg::borders(0);
        q.act("0001", withDialog(s0, d), d.tab("tabs", 2), "单击“底纹”选项卡");
        const int yellow = int(paletteColourNames().indexOf("浅黄")) + 1;
        const Dialog none = dlg::shading({});
        const QRect fill = none.at("fill");
        StepPlan& pick = menuStep(q, withImage(withDialog(s0, none), shadingPalette(0), fill.topLeft()),
                                  menuPath(33, yellow), "A0", fill, "在“填充”颜色中单击“浅黄”");
        pick.slots86 = "H33" + QString(7, u'0') + digits(fill.left() * 15, 5) + "0" + digits(fill.top() * 15, 4);
        pick.hintPos = QPoint(fill.right() + 16, fill.bottom() - 40);
        const Dialog chosen = dlg::shading("浅黄");
        const QColor lightYellow = dlg::paletteColours()[yellow - 1];
        Scene picked = withImage(withDialog(s0, chosen), shadingPalette(yellow), fill.topLeft());
        const QRect preview = chosen.at("preview");
        picked = withImage(picked, [&] {
            QImage img(preview.size() - QSize(24, 40), QImage::Format_RGB32);
            img.fill(lightYellow);
            QPainter p(&img);
            p.setPen(QColor(140, 140, 140));
            for (int y = 6; y < img.height() - 4; y += 8) p.drawLine(6, y, img.width() - (y > 40 ? 60 : 7), y);
            return img;
        }(), preview.topLeft() + QPoint(12, 20));
        q.act("0001", picked, chosen.at("ok"), "单击“确定”按钮");
        Doc e = sampleDoc();
        e.paras[3].shading = true;
        e.paras[3].shadingColour = lightYellow;
        q.end(docScene(e));
        out << q.finish();
    }
    return out;
}

// A key step: no target; the hint lies at `anchor`.
StepPlan& keyStep(Q& q, const QString& code, const Scene& scene, QRect anchor, const QString& hint) {
    StepPlan& s = q.act(code, scene, anchor, hint);
    s.target = QRect();
    return s;
}

// Writes text into a built record of step `step` (1-based) at column col:
// key slots 2 and 3 share their columns with other fields of the builder.
void putField(QuestionOut& q, int step, int col, const QString& text) {
    QString& r = q.records[step - 1];
    if (col < 1 || col - 1 + text.size() > r.size()) throw RecordError("field outside the record");
    r.replace(col - 1, text.size(), text);
}

// A file name in a row of the file list: plain, or in the rename box.
Scene withFileName(Scene s, QRect row, const QString& name, bool editing) {
    s.extra = [=](QPainter& p) {
        const QRect r(row.left() + 2, row.top(), 150, row.height());
        p.fillRect(r, Qt::white);
        if (editing) {
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        p.setFont(ui::font(12));
        p.setPen(Qt::black);
        p.drawText(r.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
    };
    return s;
}

// Typing and key steps of every kind.
QVector<QuestionOut> unitTyping(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    const Scene sel = docScene(selectedTitle());
    {
        Q q(P, T, "利用快捷键Alt+F打开“文件”菜单，再打开“属性”对话框，将标题改为“Internet基础”，然后确定。");
        keyStep(q, "6470", base(), menuCaption(File), "按Alt+F键");
        q.act("0001", withMenu(base(), File), row(File, "属性"), "单击“属性”");
        const Dialog d = dlg::properties("计算机网络基础知识", true);
        q.type("0025", withDialog(base(), d), d.at("title").adjusted(1, 1, -1, -1), "Internet基础",
               "计算机网络基础知识");
        const Dialog d2 = dlg::properties("Internet基础", false);
        q.act("0001", withDialog(base(), d2), d2.at("ok"), "单击“确定”按钮");
        q.end(base());
        out << q.finish();
    }
    {
        // A second click on the selected name or F2 (key slot 1) starts the
        // rename; Enter ends it.
        Q q(P, T, "在“打开”对话框中将文件“通知.doc”重命名为“会议通知.doc”。");
        const Dialog d = dlg::fileDialog(false, {}, -1, false);
        q.act("0001", withDialog(base(), d), d.row("files", 2), "单击“通知.doc”");
        const Dialog d1 = dlg::fileDialog(false, {}, 2, false);
        const QRect rowRect = d1.row("files", 2);
        StepPlan& again = q.act("0001", withDialog(base(), d1), rowRect, "再次单击“通知.doc”或按F2键");
        again.altMenu = "P6013";
        const QRect nameBox(rowRect.left() + 2, rowRect.top(), 150, rowRect.height());
        q.type("0021", withFileName(withDialog(base(), d1), rowRect, "通知.doc", true), nameBox, "会议通知.doc",
               "通知.doc");
        keyStep(q, "6013", withFileName(withDialog(base(), d1), rowRect, "会议通知.doc", true), nameBox,
                "按回车键");
        q.end(withFileName(withDialog(base(), d), rowRect, "会议通知.doc", false));
        out << q.finish();
    }
    {
        Q q(P, T, "利用快捷键打开“查找和替换”对话框，将文档中的“互联网”全部替换为“因特网”。");
        StepPlan& k = keyStep(q, "7000", base(), menuCaption(Edit), "按Ctrl+H键（或单击“编辑”菜单中的“替换”）");
        k.slot125 = "H021200000";
        k.bars = "A1";
        dlg::FindState f;
        f.replaceTab = true;
        f.focus = 1;
        Dialog d = dlg::findReplace(f);
        q.type("0020", withDialog(base(), d), d.at("find").adjusted(1, 1, -1, -1), "互联网", {});
        f.find = "互联网";
        f.focus = 2;
        d = dlg::findReplace(f);
        q.type("0022", withDialog(base(), d), d.at("replace").adjusted(1, 1, -1, -1), "因特网", {}, d.at("all"));
        Doc replaced = sampleDoc();
        for (Para& p : replaced.paras) p.text.replace("互联网", "因特网");
        q.end(docScene(replaced));
        out << q.finish();
    }
    {
        Q q(P, T, "在“另存为”对话框的“文件名”框中选定“基础知识”四个字，按Delete键删除，再输入“教程”后保存。");
        const Dialog d = dlg::fileDialog(true, "计算机网络基础知识", -1, true);
        const QRect name = d.at("name").adjusted(1, 1, -1, -1);
        q.type("0023", withDialog(base(), d), name, "基础知识", "计算机网络基础知识");
        keyStep(q, "6046", withDialog(base(), d), name, "按Delete键");
        const Dialog d2 = dlg::fileDialog(true, "计算机网络", -1, true);
        q.type("0026", withDialog(base(), d2), name, "计算机网络教程", "计算机网络", d2.at("ok"));
        Scene e = base();
        e.doc.name = "计算机网络教程";
        q.end(e);
        out << q.finish();
    }
    {
        Q q(P, T, "利用格式工具栏将选定标题的字号设置为15磅。");
        const QRect box = tool("字号");
        q.act("0001", sel, box.adjusted(0, 0, -12, 0), "单击“字号”框");
        q.type("0024", sel, box.adjusted(1, 2, -13, -2), "15", "五号");
        Doc d = selectedTitle();
        d.paras[0].size = 20;
        Scene e = docScene(d);
        e.fontSize = "15";
        q.end(e);
        out << q.finish();
    }
    {
        // Typing straight into the page: the overlay box lies on the text.
        Q q(P, T, "在文档末尾的插入点处输入文字“网络安全”，然后按回车键另起一段。");
        Doc d0 = sampleDoc();
        d0.caretAtEnd = true;
        const int last = int(d0.paras.size()) - 1;
        const QRect end = textRect(d0, last, int(d0.paras[last].text.size()) - 1, 1);
        const QRect box(end.right() + 2, end.top(), std::min(120, 668 - end.right()), end.height());
        q.type("0027", docScene(d0), box, "网络安全", {}, {}, 105);
        Doc d1 = d0;
        d1.paras[last].text += "网络安全";
        keyStep(q, "6013", docScene(d1), box, "按回车键");
        Doc e = d1;
        Para p;
        p.text.clear();
        e.paras.push_back(p);
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // The cell is confirmed by Enter or by the OK button.
        Q q(P, T, "利用菜单为第一段设置首字下沉，下沉行数为2行。");
        menuClick(q, base(), Format, "首字下沉", "单击“格式”菜单中的“首字下沉”");
        Dialog d = dlg::dropCap(0);
        q.act("0001", withDialog(base(), d), d.at("pos1"), "单击“下沉”");
        d = dlg::dropCap(1);
        StepPlan& cell = q.type("0028", withDialog(base(), d), d.at("lines").adjusted(1, 1, -17, -1), "2", "3",
                                d.at("ok"));
        cell.hintLine = T.ref("在“下沉行数”框中输入2，按回车键或单击“确定”按钮");
        Doc e = sampleDoc();
        e.paras[1].dropCap = true;
        e.paras[1].dropLines = 2;
        e.paras[1].firstIndent = 0;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // Ctrl+F1 is key slot 3 (F-keys written 12-20).
        Q q(P, T, "按F1键打开Word帮助任务窗格，再关闭任务窗格。");
        keyStep(q, "6012", base(), helpBox(), "按F1键");
        Scene help = base();
        help.paneTitle = "Word 帮助";
        help.paneLines = {"#协助", "搜索:", "", "*目录", "", "#Office Online", "*连接到 Microsoft Office Online",
                          "*获取最新新闻"};
        q.act("0001", help, QRect(767, 107, 13, 13), "单击任务窗格的“关闭”按钮或按Ctrl+F1键");
        q.end(base());
        QuestionOut o = q.finish();
        putField(o, 2, 96, "P6212");
        out << o;
    }
    {
        Q q(P, T, "插入点位于标题开头，利用键盘选定标题的前两个字，并将其设置为加粗。");
        const Doc d0 = sampleDoc();
        keyStep(q, "6139", docScene(d0), textRect(d0, 0, 0, 1), "按Shift+→键");
        keyStep(q, "6139", docScene(withSel(d0, 0, 0, 1)), textRect(d0, 0, 0, 2), "再按一次Shift+→键");
        keyStep(q, "6266", docScene(withSel(d0, 0, 0, 2)), textRect(d0, 0, 0, 2), "按Ctrl+B键");
        Doc bold = withSel(d0, 0, 0, 2);
        bold.paras[0].boldChars = 2;
        Scene e = docScene(bold);
        e.pressed = {"加粗"};
        q.end(e);
        out << q.finish();
    }
    {
        // The menu step's shortcut (F7), then Enter as key slot 2.
        Q q(P, T, "利用快捷键检查文档的拼写和语法，检查完成后确定。");
        StepPlan& k = keyStep(q, "7000", base(), menuCaption(Tools), "按F7键（或单击“工具”菜单中的“拼写和语法”）");
        k.slot125 = "H060100000";
        k.bars = "A1";
        const Dialog box = messageBox("Microsoft Office Word", "拼写和语法检查已完成。", QPoint(250, 240));
        q.act("0001", withDialog(base(), box), box.at("ok"), "单击“确定”按钮或按回车键");
        q.end(base());
        QuestionOut o = q.finish();
        putField(o, 2, 91, "P6013");
        out << o;
    }
    return out;
}

// ---- unit: lists, look-in lists, tab dialogs, back steps and drags --------

// Every page of a built-in tab layout, saved under the layout's numbers.
void saveTabPages(PictureSet& P, const QString& key, const std::function<Dialog(int)>& page) {
    for (int t = 1; t <= dlg::tabCount(key); ++t)
        P.saveAs(dlg::tabPageNumber(key, t), dlg::tabDialogPicture(page(t), key, t), PictureFormat::Bmp);
}

// Columns 125-134: a back code "Q" + 3 unread + count (or zeros), then a
// dialog code "X" + layout + shown tab + target tab + image (or zeros).
QString backAndDialog(const QString& back, const QString& dialog) {
    return (back.isEmpty() ? QStringLiteral("00000") : back) + (dialog.isEmpty() ? QStringLiteral("00000") : dialog);
}

// A ruler indent marker (9 x 6 pixels): pointing down (first line) or up.
QImage rulerMarker(bool down) {
    QImage img(9, 6, QImage::Format_RGB32);
    img.fill(QColor(171, 190, 225));
    QPainter p(&img);
    p.setPen(QColor(100, 110, 130));
    p.setBrush(QColor(240, 240, 240));
    if (down)
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(4, 5)}));
    else
        p.drawPolygon(QPolygon({QPoint(0, 5), QPoint(8, 5), QPoint(4, 0)}));
    return img;
}

// Lists, look-in lists, tab dialogs, back steps and drags.
QVector<QuestionOut> unitDialogs(PictureSet& P, TextTable& T) {
    QVector<QuestionOut> out;
    auto listCode = [&](const QStringList& entries) { return "L" + digits(T.ref(entries.join(u'|')), 3); };
    {
        // A list over the combo box; the combo itself steps back.
        Q q(P, T, "利用“段落”对话框将标题段落设置为首行缩进。");
        menuClick(q, base(), Format, "段落", "单击“格式”菜单中的“段落”");
        dlg::ParaState st;
        Dialog d = dlg::paragraph(st);
        const QRect combo = d.at("special");
        const QRect box(combo.left(), combo.bottom() + 1, combo.width(), 3 * kListRow + 4);
        StepPlan& s = q.act(listCode(dlg::specialRows()), withDialog(base(), d), box, "在“特殊格式”列表中选择“首行缩进”");
        s.target = QRect();
        s.input = box;
        s.inputTextLine = 0;
        s.answerLine = 1;
        s.slot125 = backAndDialog("Q0000", {});
        s.drop = combo.topLeft();
        st.special = "首行缩进";
        st.amount = "2 字符";
        d = dlg::paragraph(st);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        Doc e = sampleDoc();
        e.paras[0].firstIndent = 28;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "在插入点处插入日期，格式为“二〇〇八年八月八日”。");
        menuClick(q, base(), Insert, "日期和时间", "单击“插入”菜单中的“日期和时间”");
        Dialog d = dlg::dateTime(0);
        const QRect box = d.at("formats").adjusted(1, 1, -1, -1);
        StepPlan& s = q.act(listCode(dlg::dateFormats()), withDialog(base(), d), box, "在“可用格式”列表中选择“二〇〇八年八月八日”");
        s.target = QRect();
        s.input = box;
        s.inputTextLine = 0;
        s.answerLine = 2;
        d = dlg::dateTime(2);
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“确定”按钮");
        Doc e = sampleDoc();
        Para date;
        date.text = dlg::dateFormats()[2];
        date.align = 2;
        e.paras.push_back(date);
        q.end(docScene(e));
        out << q.finish();
    }
    {
        Q q(P, T, "打开“本地磁盘 (D:)”中的文档“素材.doc”。");
        menuClick(q, base(), File, "打开", "单击“文件”菜单中的“打开”");
        Dialog d = dlg::fileDialog(false, QString(), -1, false);
        const QRect look = d.at("lookin");
        // Row 2 ("我的文档") shown, row 6 ("本地磁盘 (D:)") to choose.
        StepPlan& s = q.act("K206", withDialog(base(), d), look, "在“查找范围”列表中选择“本地磁盘 (D:)”");
        s.target = QRect();
        s.input = look;
        d.find("lookin")->text = "本地磁盘 (D:)";
        d.find("files")->items = {"练习", "素材.doc", "通知.doc"};
        q.act("0001", withDialog(base(), d), d.row("files", 1), "单击“素材.doc”");
        d.find("files")->sel = 1;
        d.find("name")->text = "素材.doc";
        q.act("0001", withDialog(base(), d), d.at("ok"), "单击“打开”按钮");
        Doc e = sampleDoc();
        e.name = "素材";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // One row of tabs: the dialog opens on page 2, the setting is on page 1.
        const QPoint at(60, 70);
        saveTabPages(P, "B", [&](int t) { return dlg::bordersPage(at, t, 0); });
        Q q(P, T, "利用“边框和底纹”对话框为所选段落添加阴影边框。");
        const Scene s0 = docScene(withSel(sampleDoc(), 1));
        menuClick(q, s0, Format, "边框和底纹", "单击“格式”菜单中的“边框和底纹”");
        const Dialog page1 = dlg::bordersPage(at, 1, 0);
        const QImage shown = dlg::tabDialogPicture(dlg::bordersPage(at, 2, 0), "B", 2);
        StepPlan& s = q.act("0001", withImage(s0, shown, at), page1.at("set2"), "单击“阴影”");
        s.images[0] = Overlay{q.overlayImage(dlg::tabDialogPicture(page1, "B", 1)), at};
        s.slot125 = backAndDialog({}, "XB211");
        const Dialog chosen = dlg::bordersPage(at, 1, 2);
        const QImage chosenImg = dlg::tabDialogPicture(chosen, "B", 1);
        StepPlan& ok = q.act("0001", withImage(s0, chosenImg, at), chosen.at("ok"), "单击“确定”按钮");
        ok.images[0] = Overlay{q.overlayImage(chosenImg), at};
        Doc e = withSel(sampleDoc(), 1);
        e.paras[1].border = true;
        e.paras[1].borderShadow = true;
        q.end(docScene(e));
        out << q.finish();
    }
    {
        const QPoint at(80, 90);
        saveTabPages(P, "F", [&](int t) { return dlg::symbolsPage(at, t, -1); });
        Q q(P, T, "在插入点处插入特殊符号“★”。");
        menuClick(q, base(), Insert, "特殊符号", "单击“插入”菜单中的“特殊符号”");
        const Dialog page2 = dlg::symbolsPage(at, 2, -1);
        const QImage shown = dlg::tabDialogPicture(dlg::symbolsPage(at, 1, -1), "F", 1);
        StepPlan& s = q.act("0001", withImage(base(), shown, at), page2.at("sym3"), "单击“★”");
        s.images[0] = Overlay{q.overlayImage(dlg::tabDialogPicture(page2, "F", 2)), at};
        s.slot125 = backAndDialog({}, "XF121");
        const Dialog chosen = dlg::symbolsPage(at, 2, 3);
        const QImage chosenImg = dlg::tabDialogPicture(chosen, "F", 2);
        StepPlan& ok = q.act("0001", withImage(base(), chosenImg, at), chosen.at("ok"), "单击“确定”按钮");
        ok.images[0] = Overlay{q.overlayImage(chosenImg), at};
        Doc e = sampleDoc();
        e.paras[0].text += "★";
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // Two rows of tabs; "取消" goes back to the start of the question.
        const QPoint at(70, 80);
        saveTabPages(P, "D", [&](int t) { return dlg::optionsPage(at, t, true); });
        Q q(P, T, "利用“选项”对话框设置键入时不检查拼写。");
        menuClick(q, base(), Tools, "选项", "单击“工具”菜单中的“选项”");
        const Dialog page1 = dlg::optionsPage(at, 1, true);
        const QImage shown = dlg::tabDialogPicture(dlg::optionsPage(at, 8, true), "D", 8);
        StepPlan& s = q.act("0001", withImage(base(), shown, at), page1.at("spellAsYouType"), "取消选中“键入时检查拼写”");
        s.images[0] = Overlay{q.overlayImage(dlg::tabDialogPicture(page1, "D", 1)), at};
        s.slot125 = backAndDialog("Q0002", "XD811");
        s.drop = page1.at("cancel").topLeft();
        const Dialog chosen = dlg::optionsPage(at, 1, false);
        const QImage chosenImg = dlg::tabDialogPicture(chosen, "D", 1);
        StepPlan& ok = q.act("0001", withImage(base(), chosenImg, at), chosen.at("ok"), "单击“确定”按钮");
        ok.images[0] = Overlay{q.overlayImage(chosenImg), at};
        q.end(base());
        out << q.finish();
    }
    {
        Q q(P, T, "在文档中绘制一个横排文本框。");
        const int tb = rowOf(4, "文本框");
        menuStep(q, base(), menuPath(4, tb, subRowOf(4, tb, "横排")), "A1", menuCaption(Insert),
                 "单击“插入”菜单，指向“文本框”，单击“横排”");
        const QRect from(150, 180, 220, 150), to(430, 330, 120, 90);
        StepPlan& s = q.act("0040", base(), to, "从绿色框内按下鼠标左键，拖动到红色框内松开");
        s.altSet = "EE";
        s.source = from;
        s.cursor = "S0002";
        q.end(withImage(base(), [] {
            QImage box(230, 150, QImage::Format_RGB32);
            box.fill(Qt::white);
            QPainter p(&box);
            p.setPen(Qt::black);
            p.drawRect(0, 0, 229, 149);
            return box;
        }(), QPoint(260, 260)));
        out << q.finish();
    }
    {
        Q q(P, T, "利用“绘图”工具栏在文档中绘制一个正方形。");
        Scene s0 = base();
        s0.drawingBar = true;
        q.act("0001", s0, tool("矩形"), "单击绘图工具栏上的“矩形”按钮");
        Scene s1 = s0;
        s1.pressed = {"矩形"};
        const QRect from(180, 200, 200, 150), to(400, 330, 110, 90);
        StepPlan& s = q.act("0041", s1, to, "按住 Shift 键，从绿色框内拖动到红色框内");
        s.bars = "EE";
        s.source = from;
        s.cursor = "S0002";
        q.end(withImage(s0, [] {
            QImage sq(160, 160, QImage::Format_RGB32);
            sq.fill(Qt::white);
            QPainter p(&sq);
            p.setPen(QPen(Qt::black, 2));
            p.drawRect(1, 1, 157, 157);
            return sq;
        }(), QPoint(250, 250)));
        out << q.finish();
    }
    {
        Q q(P, T, "用鼠标拖动的方法将选中的标题复制到文档末尾。");
        const Doc d0 = selectedTitle();
        const int last = int(d0.paras.size()) - 1;
        const QRect title = textRect(d0, 0, 0, int(d0.paras[0].text.size()));
        const QRect end = textRect(d0, last, int(d0.paras[last].text.size()) - 1, 1).adjusted(-6, -4, 40, 4);
        StepPlan& s = q.act("0052", docScene(d0), end, "按住 Ctrl 键，将选中的标题拖动到红色框处");
        s.altSet = "EE";
        s.source = title;
        s.cursor = "S0001";
        Doc e = d0;
        e.paras[last].text += e.paras[0].text;
        e.sel.clear();
        q.end(docScene(e));
        out << q.finish();
    }
    {
        // The indent markers of the ruler, dragged as pictures.
        Q q(P, T, "利用水平标尺将第二段的首行缩进增加 2 个字符，并将右缩进设置为 2 个字符。");
        const Doc doc = withSel(sampleDoc(), 2, 0, 0);
        const int left = marginRect(doc, 2).left() + 58;
        const int right = paraRect(doc, 2).right();
        // The paragraph after each drag: two characters more of first-line
        // indent, then two characters of right indent.
        Doc indented = doc;
        indented.paras[2].firstIndent += 28;
        Doc both = indented;
        both.paras[2].rightIndent = 28;
        const int top = kRulerTop + 3, bottom = kRulerTop + 11;
        auto cover = [](QPainter& p, int x, int y, int edge) {
            for (int i = -4; i <= 4; ++i) p.fillRect(x + i, y, 1, 6, x + i < edge ? QColor(171, 190, 225) : Qt::white);
        };
        Scene s1 = docScene(doc);
        s1.extra = [=](QPainter& p) { cover(p, left, top, left); };
        const QPoint first(left - 4, top);
        StepPlan& a = q.act("8002", s1, QRect(first + QPoint(28, 0), QSize(9, 6)), "将“首行缩进”滑块向右拖动 2 个字符");
        a.images[4] = Overlay{q.overlayImage(rulerMarker(true)), first};
        a.drop = first + QPoint(28, 0);
        a.hintPos = QPoint(300, 150);
        Scene s2 = docScene(indented);
        s2.extra = [=](QPainter& p) {
            cover(p, left, top, left);
            cover(p, right, bottom, right + 1);
            p.drawImage(first + QPoint(28, 0), rulerMarker(true));
        };
        const QPoint rightMarker(right - 4, bottom);
        StepPlan& b = q.act("8001", s2, QRect(rightMarker - QPoint(28, 0), QSize(9, 6)), "将“右缩进”滑块向左拖动 2 个字符");
        b.images[4] = Overlay{q.overlayImage(rulerMarker(false)), rightMarker};
        b.drop = rightMarker - QPoint(28, 0);
        b.hintPos = QPoint(300, 150);
        Scene e = docScene(both);
        e.extra = [=](QPainter& p) {
            cover(p, left, top, left);
            cover(p, right, bottom, right + 1);
            p.drawImage(first + QPoint(28, 0), rulerMarker(true));
            p.drawImage(rightMarker - QPoint(28, 0), rulerMarker(false));
        };
        q.end(e);
        out << q.finish();
    }
    return out;
}

} // namespace

QImage startPicture() { return render(base()); }

QVector<UnitOut> buildUnits(PictureSet& pictures, TextTable& texts) {
    QVector<UnitOut> units;
    units.push_back({"Word 2003 基础与文档操作", unit0(pictures, texts)});
    units.push_back({"文本的编辑", unit1(pictures, texts)});
    units.push_back({"字符格式", unit2(pictures, texts)});
    units.push_back({"段落格式", unit3(pictures, texts)});
    if (auto typing = unitTyping(pictures, texts); !typing.isEmpty()) units.push_back({"文字录入与键盘操作", typing});
    if (auto dialogs = unitDialogs(pictures, texts); !dialogs.isEmpty()) units.push_back({"对话框与拖动操作", dialogs});
    return units;
}

} // namespace sample
