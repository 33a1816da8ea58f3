#pragma once
// The Word 2003 dialogs of the sample questions. Widget ids name the parts
// that steps target ("ok", "cancel", list and edit ids).
#include "sample/word_ui.h"

#include <QImage>

namespace sample::dlg {

ui::Dialog fileDialog(bool save, const QString& fileName, int fileRow, bool nameFocus);
QStringList fileRows();

ui::Dialog properties(const QString& title, bool titleFocus);

struct FindState {
    bool replaceTab = false;
    QString find, replace;
    int focus = 0;          // 1 find box, 2 replace box
    bool closeCaption = false;
};
ui::Dialog findReplace(const FindState& s);

ui::Dialog dateTime(int row);
QStringList dateFormats();

ui::Dialog specialSymbols(int selected);
QString symbolSet();

struct FontState {
    int tab = 0;
    int styleRow = 0;       // 常规, 倾斜, 加粗, 加粗 倾斜
    QString colour = QStringLiteral("自动");
    bool palette = false;
    bool superscript = false;
    QString spacing = QStringLiteral("标准");
    bool spacingOpen = false;
    QString amount;
};
ui::Dialog font(const FontState& s);
QVector<QColor> paletteColours();
QStringList paletteNames();

ui::Dialog changeCase(int row);
QStringList caseOptions();

struct ParaState {
    QString align = QStringLiteral("两端对齐");
    bool alignOpen = false;
    QString left = QStringLiteral("0 字符");
    QString special = QStringLiteral("(无)");
    bool specialOpen = false;
    QString amount;
    QString before = QStringLiteral("0 行");
};
ui::Dialog paragraph(const ParaState& s);
QStringList alignRows();
QStringList specialRows();

ui::Dialog bullets(int tab, int selected);
ui::Dialog borders(int setting);        // 0 none .. 4 custom
// The same dialog on its shading tab; "fill" is the place of the fill
// palette (drawn by the caller), fill the chosen colour's name or empty.
ui::Dialog shading(const QString& fill);
ui::Dialog dropCap(int position);       // 0 none, 1 dropped, 2 in margin
ui::Dialog columns(int preset);         // 0 one .. 4 right

// Dialogs drawn to the program's built-in tab layouts: the tabs lie where
// the layout puts them and the cancel button on its back rectangle. Layouts
// "B" (borders and shading, 3 tabs), "D" (options, 12 tabs in two rows) and
// "F" (special symbols, 6 tabs). `at` is the dialog's top-left on screen.
ui::Dialog bordersPage(QPoint at, int tab, int setting);   // setting 0-4 on tab 1
ui::Dialog optionsPage(QPoint at, int tab, bool spelling);  // tab 1: check spelling as you type
ui::Dialog symbolsPage(QPoint at, int tab, int selected);   // tab 2: the special symbols
// The dialog's picture with the strip of layout `key`, page `tab` in front.
QImage tabDialogPicture(const ui::Dialog& d, const QString& key, int tab);
// Picture number of page `tab` of layout `key` ("B", 2 -> "102002").
QString tabPageNumber(const QString& key, int tab);
int tabCount(const QString& key);

} // namespace sample::dlg
