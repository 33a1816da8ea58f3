#pragma once
// Parts of the simulated window's painter shared by its source files.
#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include "sample/word_ui.h"

namespace sample::ui::detail {

inline const QString kFamily = QStringLiteral("WenQuanYi Micro Hei");

// The blue scheme of the simulated window.
inline const QColor kBarLight(221, 236, 254);
inline const QColor kBarDark(129, 169, 226);
inline const QColor kMenuBarA(158, 190, 245);
inline const QColor kMenuBarB(196, 218, 250);
inline const QColor kHotFill(255, 238, 194);
inline const QColor kHotLine(0, 0, 128);
inline const QColor kPressedFill(254, 128, 62);
inline const QColor kDialogFace(236, 233, 216);
inline const QColor kXpBlue(0, 84, 227);
inline const QColor kXpBlueLight(61, 149, 255);
inline const QColor kEditLine(127, 157, 185);
inline const QColor kSelBlue(49, 106, 197);
inline const QColor kDocBack(144, 153, 174);

// Loads the window's font once, when the system lacks it.
void ensureFont();
void text(QPainter& p, QRect r, const QString& s, int flags = Qt::AlignLeft | Qt::AlignVCenter);
void vGradient(QPainter& p, QRect r, QColor top, QColor bottom);

extern const char* const kMenuNames[MenuCount];

void drawArrowDown(QPainter& p, QPoint c, QColor col = Qt::black);
// A menu entry in its row: the tick box, the text, the shortcut and the
// submenu arrow.
void drawMenuEntry(QPainter& p, QRect r, const MenuEntry& e);
// The standard and formatting toolbars in the band from top.
void drawToolbar(QPainter& p, const Scene& s, int top, int height);
// The ruler and the document at a zoom factor: a smaller page shrinks
// towards the middle of the window, as at a zoom below 100%.
void drawRuler(QPainter& p, const Doc& d, double zoom = 1.0);
void drawDocument(QPainter& p, const Doc& d, double zoom = 1.0);
void drawReadingView(QPainter& p, const Doc& d);
void drawTitleBar(QPainter& p, const QString& caption, QRect r, bool dialog);

} // namespace sample::ui::detail
