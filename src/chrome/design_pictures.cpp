#include "chrome/design_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>

#include "chrome/layout.h"
#include "chrome/zones.h"

namespace chrome {

namespace {

// Colours of the blue desktop theme of the simulated program.
const QColor kDockTop(0xDD, 0xEC, 0xFE);
const QColor kDockBottom(0xC1, 0xD7, 0xF8);
const QColor kBandTop(0xE3, 0xEF, 0xFF);
const QColor kBandBottom(0x7B, 0xA2, 0xE7);
const QColor kSeparator(0x6A, 0x8C, 0xCB);
const QColor kSeparatorLight(0xFF, 0xFF, 0xFF);
const QColor kHoverFill(0xFF, 0xEE, 0xC2);
const QColor kPressedTop(0xFE, 0x91, 0x4E);
const QColor kPressedBottom(0xFF, 0xD3, 0x8E);
const QColor kHotBorder(0x00, 0x00, 0x80);
const QColor kMenuOpenFill(0xF6, 0xF6, 0xF6);
const QColor kMenuOpenBorder(0x8A, 0x86, 0x7A);
const QColor kInk(0x10, 0x10, 0x10);
const QColor kBlue(0x21, 0x5D, 0xC6);
const QColor kYellow(0xF7, 0xC8, 0x44);
const QColor kRed(0xE0, 0x20, 0x20);
const QColor kGreen(0x2E, 0x8B, 0x3A);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kGrey(0x80, 0x80, 0x80);

QFont uiFont(int pixels, bool bold = false, bool italic = false, bool underline = false) {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QRect px(const DesignRect& r) {
    return QRect(int(std::lround(r.left / 15)), int(std::lround(r.top / 15)), int(std::lround(r.width / 15)),
                 int(std::lround(r.height / 15)));
}

void dockBackground(QPainter& p, const QRect& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kDockTop);
    g.setColorAt(1, kDockBottom);
    p.fillRect(r, g);
}

// A toolbar band with its grip, from x0 to x1 over the rows y0..y1.
void band(QPainter& p, int x0, int x1, int y0, int y1) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x0 + 0.5, y0 + 0.5, x1 - x0 - 1, y1 - y0 - 1), 3, 3);
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, kBandTop);
    g.setColorAt(0.6, QColor(0xC4, 0xDA, 0xFA));
    g.setColorAt(1, kBandBottom);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path, g);
    p.restore();
    for (int y = y0 + 4; y < y1 - 3; y += 4) {
        p.fillRect(x0 + 3, y, 2, 2, kSeparator);
        p.fillRect(x0 + 4, y + 1, 2, 2, kSeparatorLight);
        p.fillRect(x0 + 4, y + 1, 1, 1, kSeparator);
    }
}

void separator(QPainter& p, int x, int y0, int y1) {
    p.fillRect(x, y0, 1, y1 - y0, kSeparator);
    p.fillRect(x + 1, y0 + 1, 1, y1 - y0, kSeparatorLight);
}

void hotBackground(QPainter& p, const QRect& r, Look look) {
    if (look == Look::Normal) return;
    if (look == Look::Hover) {
        p.fillRect(r, kHoverFill);
    } else {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, kPressedTop);
        g.setColorAt(1, kPressedBottom);
        p.fillRect(r, g);
    }
    p.setPen(kHotBorder);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void text(QPainter& p, const QRect& r, const QString& s, int pixels = 12, int flags = Qt::AlignCenter,
          const QColor& c = kInk, bool bold = false, bool italic = false, bool underline = false) {
    p.setFont(uiFont(pixels, bold, italic, underline));
    p.setPen(c);
    p.drawText(r, flags, s);
}

void dropArrow(QPainter& p, int cx, int cy, const QColor& c = kInk) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygon({QPoint(cx - 2, cy - 1), QPoint(cx + 3, cy - 1), QPoint(cx, cy + 2)}));
}

void page(QPainter& p, int x, int y, int w = 11, int h = 14) {
    p.setPen(kGrey);
    p.setBrush(kPaper);
    p.drawRect(x, y, w - 1, h - 1);
}

void lines(QPainter& p, int x, int y, int w, int n, int gap = 2, const QColor& c = kInk) {
    for (int i = 0; i < n; ++i) p.fillRect(x, y + i * gap, w, 1, c);
}

// A colour bar under a button's glyph.
void colourBar(QPainter& p, int x, int y, const QColor& c) { p.fillRect(x, y, 14, 3, c); }

// The glyph of toolbar, drawing-bar and chart-bar button `index`, in the
// 16 x 16 square at (x, y).
void glyph(QPainter& p, int index, int x, int y) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (index) {
    case 41: page(p, x + 3, y + 1); p.fillRect(x + 10, y + 1, 4, 4, kBandTop); break;
    case 42:
        p.setPen(QColor(0x9A, 0x7A, 0x10));
        p.setBrush(kYellow);
        p.drawRect(x + 1, y + 4, 13, 9);
        p.drawRect(x + 1, y + 3, 5, 2);
        break;
    case 43:
        p.fillRect(x + 2, y + 2, 12, 12, kBlue);
        p.fillRect(x + 4, y + 2, 8, 5, kPaper);
        p.fillRect(x + 5, y + 10, 6, 4, QColor(0xB0, 0xB0, 0xB0));
        break;
    case 44:
        page(p, x + 2, y + 1);
        p.setPen(QPen(kRed, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(x + 7, y + 7, 7, 7);
        break;
    case 45:
        p.setPen(kGrey);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 4, 14, 9);
        p.drawLine(x + 1, y + 4, x + 8, y + 9);
        p.drawLine(x + 15, y + 4, x + 8, y + 9);
        break;
    case 46:
        page(p, x + 4, y + 1, 8, 6);
        p.setPen(kGrey);
        p.setBrush(QColor(0xC8, 0xC8, 0xC8));
        p.drawRect(x + 1, y + 6, 14, 6);
        p.fillRect(x + 4, y + 12, 8, 3, kPaper);
        break;
    case 47:
        page(p, x + 1, y + 1);
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xCC, 0xE4, 0xFF));
        p.drawEllipse(x + 7, y + 5, 6, 6);
        p.drawLine(x + 12, y + 11, x + 15, y + 14);
        break;
    case 48: text(p, QRect(x - 1, y, 18, 16), QStringLiteral("繁"), 12); break;
    case 49:
        text(p, QRect(x, y - 1, 16, 10), QStringLiteral("ABC"), 7, Qt::AlignCenter, kBlue, true);
        p.setPen(QPen(kGreen, 2));
        p.drawLine(x + 3, y + 11, x + 6, y + 14);
        p.drawLine(x + 6, y + 14, x + 13, y + 8);
        break;
    case 50:
        p.fillRect(x + 1, y + 2, 10, 12, kBlue);
        p.fillRect(x + 2, y + 3, 8, 10, QColor(0x6F, 0x9B, 0xE8));
        p.setPen(QPen(kInk, 2));
        p.setBrush(kPaper);
        p.drawEllipse(x + 8, y + 6, 6, 6);
        break;
    case 51:
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        p.drawLine(x + 4, y + 1, x + 10, y + 10);
        p.drawLine(x + 11, y + 1, x + 5, y + 10);
        p.setPen(QPen(kBlue, 2));
        p.drawEllipse(x + 1, y + 10, 5, 5);
        p.drawEllipse(x + 9, y + 10, 5, 5);
        break;
    case 52: page(p, x + 1, y + 1, 9, 11); page(p, x + 6, y + 4, 9, 11); break;
    case 53:
        p.setPen(QColor(0x7A, 0x50, 0x10));
        p.setBrush(QColor(0xC8, 0x90, 0x40));
        p.drawRect(x + 1, y + 2, 11, 13);
        page(p, x + 6, y + 5, 9, 10);
        break;
    case 54:
        p.fillRect(x + 2, y + 1, 11, 5, kYellow);
        p.fillRect(x + 7, y + 6, 2, 9, QColor(0x7A, 0x50, 0x10));
        break;
    case 55:
    case 56: {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kBlue, 2));
        p.setBrush(Qt::NoBrush);
        const bool undo = index == 55;
        p.drawArc(QRect(x + 2, y + 3, 12, 10), undo ? 0 : 180 * 16, undo ? 180 * 16 : -180 * 16);
        p.setBrush(kBlue);
        const int ax = undo ? x + 2 : x + 14;
        p.drawPolygon(QPolygon({QPoint(ax - 3, y + 8), QPoint(ax + 3, y + 8), QPoint(ax, y + 12)}));
        break;
    }
    case 57:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(kBlue);
        p.setBrush(QColor(0x7F, 0xB2, 0xF0));
        p.drawEllipse(x + 1, y + 1, 12, 12);
        p.setPen(QPen(kGrey, 2));
        p.drawLine(x + 8, y + 13, x + 15, y + 9);
        break;
    case 58:
    case 59:
    case 60: {
        const QColor c = index == 60 ? kGreen : kBlue;
        p.setPen(c);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 2, 13, 11);
        for (int i = 1; i < 3; ++i) p.drawLine(x + 1 + i * 4, y + 2, x + 1 + i * 4, y + 13);
        for (int i = 1; i < 3; ++i) p.drawLine(x + 1, y + 2 + i * 4, x + 14, y + 2 + i * 4);
        if (index == 58) {
            p.setPen(QPen(kYellow, 2));
            p.drawLine(x + 9, y + 14, x + 15, y + 8);
        }
        break;
    }
    case 61: lines(p, x + 1, y + 2, 6, 6); lines(p, x + 9, y + 2, 6, 6); break;
    case 62:
        for (int i = 0; i < 4; ++i) p.fillRect(x + 2 + i * 3, y + 2, 1, 11, kInk);
        p.fillRect(x + 14, y + 2, 1, 11, kBlue);
        break;
    case 63:
        page(p, x + 1, y + 1, 14, 14);
        p.fillRect(x + 2, y + 2, 4, 12, QColor(0xCC, 0xE4, 0xFF));
        lines(p, x + 7, y + 3, 6, 5);
        break;
    case 65:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(kBlue);
        p.setBrush(QColor(0xCC, 0xE4, 0xFF));
        p.drawEllipse(x + 1, y + 1, 14, 14);
        text(p, QRect(x, y, 16, 16), QStringLiteral("?"), 12, Qt::AlignCenter, kBlue, true);
        break;
    case 66:
        p.fillRect(x + 1, y + 3, 6, 10, kPaper);
        p.fillRect(x + 8, y + 3, 6, 10, kPaper);
        p.setPen(kBlue);
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 1, y + 3, 13, 10);
        p.drawLine(x + 7, y + 3, x + 7, y + 13);
        break;
    case 67:
        text(p, QRect(x, y, 9, 16), QStringLiteral("A"), 11, Qt::AlignCenter, kBlue, true);
        text(p, QRect(x + 7, y + 3, 9, 13), QStringLiteral("A"), 9, Qt::AlignCenter, kRed, true);
        break;
    case 71: text(p, QRect(x, y, 16, 16), QStringLiteral("B"), 13, Qt::AlignCenter, kInk, true); break;
    case 72: text(p, QRect(x, y, 16, 16), QStringLiteral("I"), 13, Qt::AlignCenter, kInk, true, true); break;
    case 73: text(p, QRect(x, y, 16, 16), QStringLiteral("U"), 13, Qt::AlignCenter, kInk, true, false, true); break;
    case 74:
        p.setPen(kInk);
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 2, y + 1, 12, 13);
        text(p, QRect(x, y, 16, 16), QStringLiteral("A"), 11);
        break;
    case 75:
        p.fillRect(x + 2, y + 1, 12, 14, QColor(0xB8, 0xB8, 0xB8));
        text(p, QRect(x, y, 16, 16), QStringLiteral("A"), 11);
        break;
    case 76:
        text(p, QRect(x, y - 2, 16, 12), QStringLiteral("A"), 10);
        p.setPen(kInk);
        p.drawLine(x + 1, y + 13, x + 15, y + 13);
        p.drawLine(x + 1, y + 13, x + 3, y + 11);
        p.drawLine(x + 15, y + 13, x + 13, y + 11);
        break;
    case 77: lines(p, x + 1, y + 3, 14, 5); break;
    case 78:
        for (int i = 0; i < 5; ++i) p.fillRect(x + (i % 2 ? 4 : 1), y + 3 + 2 * i, i % 2 ? 8 : 14, 1, kInk);
        break;
    case 79:
        for (int i = 0; i < 5; ++i) p.fillRect(x + (i % 2 ? 7 : 1), y + 3 + 2 * i, i % 2 ? 8 : 14, 1, kInk);
        break;
    case 80:
        lines(p, x + 1, y + 3, 14, 5);
        p.fillRect(x + 1, y + 13, 14, 1, kBlue);
        break;
    case 81:
        for (int i = 0; i < 3; ++i) {
            text(p, QRect(x, y + 1 + 5 * i, 5, 5), QString::number(i + 1), 6, Qt::AlignCenter, kBlue);
            p.fillRect(x + 6, y + 3 + 5 * i, 9, 1, kInk);
        }
        break;
    case 82:
        for (int i = 0; i < 3; ++i) {
            p.fillRect(x + 1, y + 2 + 5 * i, 3, 3, kBlue);
            p.fillRect(x + 6, y + 3 + 5 * i, 9, 1, kInk);
        }
        break;
    case 83:
    case 84: {
        lines(p, x + 1, y + 2, 14, 2, 11);
        lines(p, x + 7, y + 5, 8, 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        if (index == 84)
            p.drawPolygon(QPolygon({QPoint(x + 1, y + 5), QPoint(x + 1, y + 11), QPoint(x + 5, y + 8)}));
        else
            p.drawPolygon(QPolygon({QPoint(x + 5, y + 5), QPoint(x + 5, y + 11), QPoint(x + 1, y + 8)}));
        break;
    }
    case 85:
        text(p, QRect(x, y - 2, 16, 14), QStringLiteral("ab"), 10, Qt::AlignCenter, kInk, true);
        colourBar(p, x + 1, y + 12, QColor(0xFF, 0xFF, 0x00));
        break;
    case 86:
    case 26:
        text(p, QRect(x, y - 2, 16, 14), QStringLiteral("A"), 12, Qt::AlignCenter, kInk, true);
        colourBar(p, x + 1, y + 12, kRed);
        break;
    case 87:
        text(p, QRect(x, y - 1, 16, 6), QStringLiteral("wén"), 5, Qt::AlignCenter, kBlue);
        text(p, QRect(x, y + 4, 16, 12), QStringLiteral("文"), 11);
        break;
    case 88:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(kInk);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(x + 1, y + 1, 14, 14);
        text(p, QRect(x, y, 16, 16), QStringLiteral("字"), 9);
        break;
    // Drawing bar.
    case 12:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawPolygon(QPolygon({QPoint(x + 4, y + 1), QPoint(x + 4, y + 13), QPoint(x + 7, y + 10),
                                QPoint(x + 10, y + 15), QPoint(x + 12, y + 14), QPoint(x + 9, y + 9),
                                QPoint(x + 13, y + 9)}));
        break;
    case 14: p.setPen(QPen(kInk, 1)); p.drawLine(x + 2, y + 14, x + 14, y + 2); break;
    case 15:
        p.setPen(QPen(kInk, 1));
        p.drawLine(x + 2, y + 14, x + 14, y + 2);
        p.drawLine(x + 14, y + 2, x + 9, y + 3);
        p.drawLine(x + 14, y + 2, x + 13, y + 7);
        break;
    case 16: p.setPen(kInk); p.setBrush(Qt::NoBrush); p.drawRect(x + 1, y + 3, 13, 10); break;
    case 17:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(kInk);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(x + 1, y + 3, 14, 10);
        break;
    case 18:
    case 19:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 1, 14, 14);
        if (index == 18) lines(p, x + 4, y + 5, 9, 3, 3, kBlue);
        else for (int i = 0; i < 3; ++i) p.fillRect(x + 11 - 3 * i, y + 4, 1, 9, kBlue);
        break;
    case 20: text(p, QRect(x, y, 16, 16), QStringLiteral("A"), 15, Qt::AlignCenter, kBlue, true, true); break;
    case 21:
        p.fillRect(x + 5, y + 1, 6, 4, kGreen);
        p.fillRect(x + 1, y + 10, 5, 4, kBlue);
        p.fillRect(x + 10, y + 10, 5, 4, kBlue);
        p.setPen(kInk);
        p.drawLine(x + 8, y + 5, x + 8, y + 8);
        p.drawLine(x + 3, y + 8, x + 12, y + 8);
        p.drawLine(x + 3, y + 8, x + 3, y + 10);
        p.drawLine(x + 12, y + 8, x + 12, y + 10);
        break;
    case 22:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kYellow);
        p.drawEllipse(x + 2, y + 2, 8, 8);
        p.setBrush(kGreen);
        p.drawEllipse(x + 6, y + 6, 9, 9);
        break;
    case 23:
        p.setPen(kGrey);
        p.setBrush(QColor(0xCC, 0xE4, 0xFF));
        p.drawRect(x + 1, y + 2, 14, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygon({QPoint(x + 2, y + 13), QPoint(x + 7, y + 6), QPoint(x + 11, y + 13)}));
        break;
    case 24:
        p.setPen(kInk);
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawPolygon(QPolygon({QPoint(x + 7, y + 1), QPoint(x + 13, y + 6), QPoint(x + 8, y + 11), QPoint(x + 2, y + 6)}));
        colourBar(p, x + 1, y + 12, kYellow);
        break;
    case 25:
        p.setPen(QPen(kInk, 2));
        p.drawLine(x + 3, y + 10, x + 12, y + 1);
        colourBar(p, x + 1, y + 12, kInk);
        break;
    case 27: for (int i = 0; i < 4; ++i) p.fillRect(x + 1, y + 2 + i * 4, 14, i + 1, kInk); break;
    case 28:
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 14; k += 2 + i) p.fillRect(x + 1 + k, y + 2 + i * 4, 1 + i / 2, 1, kInk);
        break;
    case 29:
        for (int i = 0; i < 3; ++i) {
            p.fillRect(x + 1, y + 3 + i * 5, 13, 1, kInk);
            p.setPen(kInk);
            p.drawLine(x + 14, y + 3 + i * 5, x + 11, y + 1 + i * 5);
            p.drawLine(x + 14, y + 3 + i * 5, x + 11, y + 5 + i * 5);
        }
        break;
    case 30:
        p.fillRect(x + 4, y + 4, 11, 10, kGrey);
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 1, 10, 10);
        break;
    case 31:
        p.setPen(kInk);
        p.setBrush(QColor(0xB0, 0xC8, 0xF0));
        p.drawPolygon(QPolygon({QPoint(x + 1, y + 5), QPoint(x + 5, y + 1), QPoint(x + 15, y + 1), QPoint(x + 15, y + 11),
                                QPoint(x + 11, y + 15), QPoint(x + 1, y + 15)}));
        p.drawRect(x + 1, y + 5, 10, 10);
        break;
    // Chart toolbar.
    case 92:
        p.setPen(kGrey);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 1, 13, 13);
        p.fillRect(x + 4, y + 8, 2, 5, kBlue);
        p.fillRect(x + 7, y + 5, 2, 8, kRed);
        p.fillRect(x + 10, y + 3, 2, 10, kGreen);
        break;
    case 93:
        p.fillRect(x + 2, y + 8, 3, 6, kBlue);
        p.fillRect(x + 6, y + 4, 3, 10, kRed);
        p.fillRect(x + 10, y + 2, 3, 12, kYellow);
        p.fillRect(x + 1, y + 14, 14, 1, kInk);
        break;
    case 94:
        for (int i = 0; i < 3; ++i) {
            p.fillRect(x + 2, y + 2 + i * 5, 3, 3, i == 0 ? kBlue : i == 1 ? kRed : kYellow);
            p.fillRect(x + 7, y + 3 + i * 5, 7, 1, kInk);
        }
        break;
    case 95:
        p.setPen(kGrey);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 8, 14, 7);
        p.drawLine(x + 1, y + 11, x + 15, y + 11);
        p.fillRect(x + 3, y + 2, 3, 5, kBlue);
        p.fillRect(x + 8, y + 1, 3, 6, kRed);
        break;
    case 96:
        p.setPen(kGrey);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 2, 13, 11);
        p.fillRect(x + 2, y + 3, 12, 3, kBlue);
        break;
    case 97:
        p.setPen(kGrey);
        p.setBrush(kPaper);
        p.drawRect(x + 1, y + 2, 13, 11);
        p.fillRect(x + 2, y + 3, 3, 10, kBlue);
        break;
    case 98:
    case 99:
        p.translate(x + 8, y + 8);
        p.rotate(index == 98 ? 45 : -45);
        text(p, QRect(-8, -6, 16, 12), QStringLiteral("ab"), 10, Qt::AlignCenter, kInk, true);
        break;
    default: break;
    }
    p.restore();
}

// Texts of the menu-like titles.
QString titleText(int index) {
    static const char* const menus[] = {"文件(F)", "编辑(E)", "视图(V)", "插入(I)", "格式(O)",
                                        "工具(T)", "表格(A)", "窗口(W)", "帮助(H)"};
    if (index >= 1 && index <= 9) return QString::fromUtf8(menus[index - 1]);
    if (index == 89) return QString::fromUtf8("数据(D)");
    if (index == 90) return QString::fromUtf8("图表(C)");
    if (index == 11) return QString::fromUtf8("绘图(D)");
    if (index == 13) return QString::fromUtf8("自选图形(U)");
    return QString();
}

// Boxes of the toolbars and the chart bar: their text.
QString comboText(int index) {
    switch (index) {
    case 64: return QStringLiteral("100%");
    case 68: return QString::fromUtf8("正文 + 首行缩");
    case 69: return QString::fromUtf8("宋体");
    case 70: return QString::fromUtf8("五号");
    case 91: return QString::fromUtf8("图表区");
    default: return QString();
    }
}

bool hasDropArrow(int index) {
    switch (index) {
    case 48: case 55: case 56: case 73: case 76: case 85: case 86: case 24: case 25: case 26: case 93: return true;
    default: return false;
    }
}

// Draws main hot-spot `index` into its rectangle r of the bar.
void paintHotSpot(QPainter& p, int index, const QRect& r, Look look) {
    const QString title = titleText(index);
    if (!title.isEmpty()) {
        const bool menuTitle = zoneOf(index) == Zone::MenuBar || index == 89 || index == 90;
        if (menuTitle && look == Look::Pressed) {
            p.fillRect(r, kMenuOpenFill);
            p.setPen(kMenuOpenBorder);
            p.drawLine(r.left(), r.bottom(), r.left(), r.top());
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        } else {
            hotBackground(p, r, look);
        }
        if (menuTitle) {
            text(p, r, title);
        } else {
            text(p, r.adjusted(2, 0, -10, 0), title, 12, Qt::AlignVCenter | Qt::AlignLeft);
            dropArrow(p, r.right() - 6, r.center().y());
        }
        return;
    }
    const QString combo = comboText(index);
    if (!combo.isEmpty()) {
        const QRect box = r.adjusted(1, 1, -1, -2);
        p.setPen(look == Look::Normal ? QColor(0x7F, 0x9D, 0xB9) : kHotBorder);
        p.setBrush(kPaper);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const QRect arrow(box.right() - 11, box.top() + 1, 11, box.height() - 2);
        if (look == Look::Normal) {
            QLinearGradient g(arrow.topLeft(), arrow.bottomLeft());
            g.setColorAt(0, kBandTop);
            g.setColorAt(1, QColor(0xA8, 0xC6, 0xF2));
            p.fillRect(arrow, g);
        } else {
            hotBackground(p, arrow, look);
        }
        dropArrow(p, arrow.center().x(), arrow.center().y());
        text(p, box.adjusted(3, 0, -13, 0), combo, 12, Qt::AlignVCenter | Qt::AlignLeft);
        return;
    }
    hotBackground(p, r, look);
    const int gx = r.left() + 3, gy = r.top() + (r.height() - 16) / 2;
    glyph(p, index, gx, gy);
    if (index == 66) text(p, r.adjusted(20, 0, 0, 0), QString::fromUtf8("阅读(R)"), 12, Qt::AlignVCenter | Qt::AlignLeft);
    if (hasDropArrow(index)) {
        if (look != Look::Normal) p.fillRect(r.right() - 10, r.top() + 1, 1, r.height() - 2, kHotBorder);
        dropArrow(p, r.right() - 5, r.center().y());
    }
}

// Draws the hot-spots first..last of one bar, with separators in the gaps
// between neighbours of a row.
void paintRow(QPainter& p, int first, int last) {
    QRect prev;
    for (int i = first; i <= last; ++i) {
        const QRect r = px(designHotSpotRect(i));
        if (!prev.isNull() && r.top() / 20 == prev.top() / 20 && r.left() - (prev.right() + 1) >= 5)
            separator(p, prev.right() + 3, r.top() + 2, r.bottom() - 1);
        paintHotSpot(p, i, r, Look::Normal);
        prev = r;
    }
}

QImage newImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kDockTop);
    return img;
}

QImage drawMenuBar() {
    QImage img = newImage(551, 19);
    QPainter p(&img);
    QLinearGradient g(0, 0, 551, 0);
    g.setColorAt(0, QColor(0x9E, 0xBE, 0xF5));
    g.setColorAt(1, QColor(0xC4, 0xDA, 0xFA));
    p.fillRect(img.rect(), g);
    for (int y = 4; y < 16; y += 4) {
        p.fillRect(3, y, 2, 2, kSeparator);
        p.fillRect(4, y + 1, 1, 1, kSeparatorLight);
    }
    paintRow(p, 1, 9);
    return img;
}

QImage drawToolbars() {
    QImage img = newImage(800, 51);
    QPainter p(&img);
    dockBackground(p, img.rect());
    band(p, 0, px(designHotSpotRect(66)).right() + 5, 0, 25);
    band(p, 0, px(designHotSpotRect(88)).right() + 5, 26, 51);
    paintRow(p, 41, 66);
    paintRow(p, 67, 88);
    return img;
}

QImage drawDrawingBar() {
    QImage img = newImage(671, 26);
    QPainter p(&img);
    dockBackground(p, img.rect());
    band(p, 0, px(designHotSpotRect(31)).right() + 5, 0, 26);
    paintRow(p, 11, 31);
    return img;
}

QImage drawChartBar() {
    QImage img = newImage(422, 49);
    QPainter p(&img);
    QLinearGradient g(0, 0, 422, 0);
    g.setColorAt(0, QColor(0xB4, 0xCE, 0xF7));
    g.setColorAt(1, QColor(0xC4, 0xDA, 0xFA));
    p.fillRect(QRect(0, 0, 422, 24), g);
    dockBackground(p, QRect(0, 24, 422, 25));
    band(p, 0, px(designHotSpotRect(99)).right() + 5, 24, 49);
    paintRow(p, 89, 90);
    paintHotSpot(p, 91, px(designHotSpotRect(91)), Look::Normal);
    paintRow(p, 92, 99);
    return img;
}

QImage drawChartToolbar() {
    // A floating toolbar: title bar "图表" over the box and buttons of the
    // chart bar's second row.
    const QRect row = px(designHotSpotRect(91)).united(px(designHotSpotRect(99)));
    QImage img = newImage(row.width() + 12, 44);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor(0x00, 0x2D, 0x96));
    text(p, QRect(4, 0, 100, 16), QString::fromUtf8("图表"), 12, Qt::AlignVCenter | Qt::AlignLeft, kPaper, true);
    band(p, 2, img.width() - 2, 16, 42);
    p.translate(6 - row.left(), 18 - row.top());
    paintHotSpot(p, 91, px(designHotSpotRect(91)), Look::Normal);
    paintRow(p, 92, 99);
    return img;
}

} // namespace

const QImage& menuBarPicture() {
    static const QImage img = drawMenuBar();
    return img;
}

const QImage& toolbarPicture() {
    static const QImage img = drawToolbars();
    return img;
}

const QImage& drawingBarPicture() {
    static const QImage img = drawDrawingBar();
    return img;
}

const QImage& chartBarPicture() {
    static const QImage img = drawChartBar();
    return img;
}

const QImage* barPictureOf(int index) {
    switch (zoneOf(index)) {
    case Zone::MenuBar: return &menuBarPicture();
    case Zone::Toolbar: return &toolbarPicture();
    case Zone::DrawingBar: return &drawingBarPicture();
    case Zone::ChartBar: return &chartBarPicture();
    default: return nullptr;
    }
}

QRect hotSpotPixelRect(int index) { return barPictureOf(index) ? px(designHotSpotRect(index)) : QRect(); }

QImage hotSpotPicture(int index, Look look) {
    const QImage* bar = barPictureOf(index);
    if (!bar) return QImage();
    const QRect r = px(designHotSpotRect(index));
    QImage img = bar->copy(r);
    QPainter p(&img);
    p.translate(-r.topLeft());
    paintHotSpot(p, index, r, look);
    return img;
}

const QImage& chartToolbarPicture() {
    static const QImage img = drawChartToolbar();
    return img;
}

const QImage& lookInCoverPicture() {
    static const QImage img = [] {
        QImage i(5, 22, QImage::Format_RGB32);
        i.fill(kPaper);
        return i;
    }();
    return img;
}

} // namespace chrome
