#pragma once
// The Word 2003 dialogs of the sample questions. Widget ids name the parts
// that steps target ("ok", "cancel", list and edit ids).
#include "sample/word_ui.h"

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
ui::Dialog dropCap(int position);       // 0 none, 1 dropped, 2 in margin
ui::Dialog columns(int preset);         // 0 one .. 4 right

} // namespace sample::dlg
