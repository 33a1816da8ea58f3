#pragma once
// The simulated word-processor window of the sample screenshots: its geometry
// (used for both drawing and the step targets) and its painter.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

class QPainter;

namespace sample::ui {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;
inline constexpr int kMenuTop = 28;      // the menu bar lies where the program's menu bar sits
inline constexpr int kStdTop = 50;
inline constexpr int kFmtTop = 76;
inline constexpr int kRulerTop = 102;
inline constexpr int kDocTop = 122;
inline constexpr int kDocBottom = 530;
inline constexpr int kDrawTop = 553;
inline constexpr int kStatusTop = 578;

QFont font(int pixels, bool bold = false);

// ---- menus -------------------------------------------------------------
enum MainMenu { File, Edit, View, Insert, Format, Tools, Table, Window, Help, MenuCount };
QRect menuCaption(int menu);

struct MenuEntry {
    QString text;
    QString key;          // shortcut text at the right
    bool arrow = false;   // opens a submenu
    bool separator = false;
    bool checked = false;
};

struct Popup {
    QPoint at;
    QVector<MenuEntry> items;
    int hot = -1;         // highlighted row
    int width = 0;
    QRect rect() const;
    QRect itemRect(int row) const;
    // Row of the first entry whose text starts with prefix (-1 when none).
    int find(const QString& prefix) const;
};

// The drop-down of a main menu, under its caption.
Popup dropDown(int menu, int hot = -1);
// A submenu opened from a row of parent.
Popup subMenu(const Popup& parent, int row, QVector<MenuEntry> items, int hot = -1);
// A context menu at a point.
Popup contextMenu(QPoint at, QVector<MenuEntry> items, int hot = -1);
QVector<MenuEntry> textContextMenu();

// ---- toolbars ----------------------------------------------------------
// Button or box of the standard, formatting or drawing toolbar by its
// tooltip name ("加粗", "显示比例", ...). Null rect when unknown.
QRect tool(const QString& name);
// The drop arrow part of an arrow button or box.
QRect toolArrow(const QString& name);
// The view buttons at the lower left ("普通视图", "页面视图", ...).
QRect viewButton(const QString& name);
QRect helpBox();

// ---- document ----------------------------------------------------------
struct Para {
    QString text;
    int size = 14;        // pixels
    bool bold = false, italic = false, underline = false;
    QString family;       // empty: the document font
    QColor color = Qt::black;
    int align = 0;        // 0 left/justified, 1 centre, 2 right
    int firstIndent = 28; // pixels
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    double lineSpacing = 1.0;
    QString bullet;       // "●" or "1." ...
    bool border = false;
    bool borderShadow = false;   // the border with a shadow on its right and bottom
    bool dropCap = false;
    int dropLines = 3;           // lines the dropped capital spans
    int boldChars = 0;           // characters bold from the start (the whole paragraph: bold)
    bool shading = false;
    QColor shadingColour = QColor(210, 210, 210);
    bool superscriptTail = false;  // last character raised
    int spacing = 0;      // extra pixels between characters
};

struct Selection {
    int para = -1;
    int from = 0;
    int len = -1;         // -1: to the end of the paragraph
};

struct Doc {
    QString name = QStringLiteral("文档1");
    QVector<Para> paras;
    QVector<Selection> sel;
    bool marks = false;
    int columns = 1;
    int view = 0;         // 0 page, 1 normal, 2 reading, 3 no document open
    bool caretAtEnd = false;
};

Doc sampleDoc();          // the network article most questions work on
Doc noticeDoc();          // "通知"
Doc emptyDoc(const QString& name);
// Bounding box of characters from..from+len-1 of a paragraph, on the line
// of its first character.
QRect textRect(const Doc& doc, int para, int from, int len);
QRect paraRect(const Doc& doc, int para);
// The selection bar (left margin) beside the first line of a paragraph.
QRect marginRect(const Doc& doc, int para);

// ---- dialogs -----------------------------------------------------------
struct Widget {
    enum Kind { Label, Edit, Combo, Button, Check, Radio, Group, List, Tabs, Preview, Icon, Spin, DropList, Swatches, Cell, Sample };
    Kind kind = Label;
    QString id;
    QRect r;              // relative to the dialog's client area
    QString text;
    bool on = false;      // checked, default button, focused edit, ...
    QStringList items;    // list rows, tab names, drop list rows
    int sel = -1;         // selected row or tab
    QVector<QColor> colours;   // Swatches
};

struct Dialog {
    QString title;
    QRect frame;          // on screen, title bar included
    QVector<Widget> widgets;
    bool help = true;     // "?" button in the title bar

    Dialog& add(Widget w);
    QPoint client() const;              // screen position of the client area
    QRect at(const QString& id) const;  // screen rect of a widget
    QRect row(const QString& id, int row) const;   // list or drop list row
    QRect tab(const QString& id, int index) const; // tab of a tab strip
    Widget* find(const QString& id);
};

// Widget helpers.
Widget label(QRect r, const QString& text);
Widget edit(const QString& id, QRect r, const QString& text = {}, bool focus = false);
Widget combo(const QString& id, QRect r, const QString& text = {});
Widget button(const QString& id, QRect r, const QString& text, bool def = false);
Widget check(const QString& id, QRect r, const QString& text, bool on = false);
Widget radio(const QString& id, QRect r, const QString& text, bool on = false);
Widget group(QRect r, const QString& text);
Widget list(const QString& id, QRect r, QStringList rows, int sel = -1);
Widget tabs(const QString& id, QRect r, QStringList names, int sel);
Widget preview(QRect r, const QString& text);
Widget icon(QRect r, const QString& kind);   // "info", "question"
Widget spin(const QString& id, QRect r, const QString& text);
// A drop list opened under a combo box.
Widget dropList(const QString& id, QRect r, QStringList rows, int hot = -1);
Widget swatches(const QString& id, QRect r, QVector<QColor> colours, int hot = -1);
// A symbol cell; selected cells are drawn highlighted.
Widget cell(const QString& id, QRect r, const QString& text, bool selected = false);
// A picture choice of a dialog: "lines:A|B|C" (list samples), "cols:N",
// "drop:N" (drop cap 0 none, 1 dropped, 2 in margin), "border:KIND".
Widget sample(const QString& id, QRect r, const QString& kind, bool selected = false);
void paintWidget(QPainter& p, const Widget& w, QPoint origin);
// Positions of the drop list and swatch cells.
inline constexpr int kListRow = 16;
QRect swatchCell(QRect r, int index);

Dialog messageBox(const QString& title, const QString& text, QPoint at);

// ---- the whole window ---------------------------------------------------
struct Scene {
    Doc doc = sampleDoc();
    int menu = -1;                  // open main menu
    int menuHot = -1;
    std::optional<Popup> sub;       // open submenu
    std::optional<Popup> popup;     // context menu or toolbar drop-down
    QVector<Dialog> dialogs;        // bottom to top
    QString paneTitle;              // task pane at the right when set
    QStringList paneLines;          // "*" prefix: a link
    QStringList pressed;            // toolbar buttons shown pressed
    QStringList hovered;            // toolbar buttons under the pointer
    QString zoom = QStringLiteral("100%");
    QString fontName = QStringLiteral("宋体");
    QString fontSize = QStringLiteral("五号");
    QString style = QStringLiteral("正文");
    QString helpText;               // typed into the help box
    bool drawingBar = false;
    QString status;                 // replaces the status bar text
    std::function<void(QPainter&)> extra;   // drawn last
};

QImage render(const Scene& scene);
// A part of the window alone (overlay pictures).
void paintDialog(QPainter& p, const Dialog& d);
void paintPopup(QPainter& p, const Popup& m);

// Other pictures of the module.
QImage splash(const QString& moduleName);
QImage logo();

} // namespace sample::ui
