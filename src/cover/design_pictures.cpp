#include "cover/design_pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace cover {

namespace {

const QString kFamily = QStringLiteral("WenQuanYi Micro Hei");

// Text needs fonts, and fonts need a GUI application.
bool canDrawText() { return QGuiApplication::instance() != nullptr; }

QFont uiFont(int pixelSize, bool bold = false) {
    QFont f(kFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QImage canvas(int w, int h, QColor fill = Qt::white) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// A rounded button face with a centred caption.
QImage buttonFace(int w, int h, QColor top, QColor bottom, QColor border, QColor text, const QString& caption,
                  int shift, QColor back) {
    QImage img = canvas(w, h, back);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(border, 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 5, 5);
    if (canDrawText()) {
        p.setFont(uiFont(13, true));
        p.setPen(text);
        p.drawText(QRect(shift, shift, w, h), Qt::AlignCenter, caption);
    }
    return img;
}

// Row start areas lie on the row picture's light card.
const QColor kRowBack(0xF7, 0xFA, 0xFE);

QImage startHover(const QString& caption) {
    return buttonFace(118, 25, QColor(0xFF, 0xB5, 0x4D), QColor(0xF0, 0x86, 0x1A), QColor(0xC8, 0x67, 0x0A),
                      Qt::white, caption, 0, kRowBack);
}

QImage startPressed(const QString& caption) {
    return buttonFace(118, 25, QColor(0xD0, 0x6C, 0x0C), QColor(0xF0, 0x8E, 0x2A), QColor(0x9C, 0x4F, 0x06),
                      Qt::white, caption, 1, kRowBack);
}

core::Picture cached(std::unique_ptr<core::Picture>& slot, const std::function<QImage()>& draw) {
    if (!slot) slot = std::make_unique<core::Picture>(draw());
    return *slot;
}

} // namespace

core::Picture closePicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] {
        QImage img = canvas(48, 20, QColor(0xC4, 0x2B, 0x1C));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, 20);
        g.setColorAt(0, QColor(0xE8, 0x5A, 0x4A));
        g.setColorAt(1, QColor(0xC4, 0x2B, 0x1C));
        p.fillRect(img.rect(), g);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 5), QPointF(29, 15));
        p.drawLine(QPointF(29, 5), QPointF(19, 15));
        return img;
    });
}

core::Picture paperStartHoverPicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] { return startHover(QStringLiteral("开始考试")); });
}

core::Picture paperStartPressedPicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] { return startPressed(QStringLiteral("开始考试")); });
}

core::Picture unitStartHoverPicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] { return startHover(QStringLiteral("进入学习")); });
}

core::Picture unitStartPressedPicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] { return startPressed(QStringLiteral("进入学习")); });
}

core::Picture flaggedHeaderPicture() {
    static std::unique_ptr<core::Picture> pic;
    return cached(pic, [] {
        const int w = 796, h = 23;
        QImage img = canvas(w, h);
        QPainter p(&img);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, QColor(0x5B, 0x94, 0xD3));
        g.setColorAt(1, QColor(0x2F, 0x6F, 0xB5));
        p.fillRect(img.rect(), g);
        p.setPen(QColor(0x1E, 0x4F, 0x8A));
        p.drawLine(0, h - 1, w, h - 1);
        // Column starts follow the list's separators (42 and 111 pixels).
        p.setPen(QColor(0xA9, 0xC8, 0xEA));
        p.drawLine(42, 3, 42, h - 4);
        p.drawLine(111, 3, 111, h - 4);
        if (canDrawText()) {
            p.setFont(uiFont(12, true));
            p.setPen(Qt::white);
            p.drawText(QRect(0, 0, 42, h), Qt::AlignCenter, QStringLiteral("题号"));
            p.drawText(QRect(42, 0, 69, h), Qt::AlignCenter, QStringLiteral("题库源题"));
            p.drawText(QRect(124, 0, w - 124, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("题目要求"));
        }
        return img;
    });
}

} // namespace cover
