#pragma once
// The module's own look, shared by the pictures drawn in it (cover,
// information pages, exam windows): colours, font and captions.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace sample::style {

inline const QString kFamily = QStringLiteral("WenQuanYi Micro Hei");

inline const QColor kBlue(0x2F, 0x6F, 0xB5);
inline const QColor kBlueDark(0x1E, 0x4F, 0x8A);
inline const QColor kBlueLight(0x5B, 0x94, 0xD3);
inline const QColor kPale(0xEA, 0xF2, 0xFB);
inline const QColor kCard(0xF7, 0xFA, 0xFE);
inline const QColor kCardLine(0xB7, 0xCD, 0xE8);
inline const QColor kText(0x33, 0x44, 0x55);
inline const QColor kMuted(0x6A, 0x7B, 0x8C);

inline QFont font(int px, bool bold = false) {
    QFont f(kFamily);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// A caption of px pixels in colour c.
inline void text(QPainter& p, const QRect& r, const QString& s, int px, QColor c, int flags = Qt::AlignCenter,
                 bool bold = false) {
    p.setFont(font(px, bold));
    p.setPen(c);
    p.drawText(r, flags, s);
}

} // namespace sample::style
