#include "session/frm_tm_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace session::art {

using core::Picture;

namespace {

const QColor kBlueLight(89, 135, 214);
const QColor kBlueDark(4, 57, 148);

QImage blank(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

void minimiseGlyph(QPainter& p, const QRect& box) {
    p.fillRect(QRect(box.left() + box.width() / 4, box.bottom() - box.height() / 3, box.width() / 2, 2), Qt::white);
}

} // namespace

Picture titleStrip() {
    static const Picture pic = [] {
        QImage img = blank(330, 25, kBlueDark);
        QPainter p(&img);
        QLinearGradient g(0, 0, 0, 25);
        g.setColorAt(0, kBlueLight);
        g.setColorAt(1, kBlueDark);
        p.fillRect(img.rect(), g);
        // The minimise button under the transparent hot-spot (3870, 30 twips).
        QRect box(259, 3, 19, 19);
        p.setPen(QColor(255, 255, 255, 180));
        p.setBrush(QColor(60, 110, 200));
        p.drawRoundedRect(box, 3, 3);
        minimiseGlyph(p, box);
        return Picture(img);
    }();
    return pic;
}

Picture minimisedBar() {
    static const Picture pic = [] {
        QImage img = blank(54, 58, QColor(236, 233, 216));
        QPainter p(&img);
        QLinearGradient g(0, 0, 0, 17);
        g.setColorAt(0, kBlueLight);
        g.setColorAt(1, kBlueDark);
        p.fillRect(QRect(0, 0, 54, 17), g);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(img.rect().adjusted(0, 0, -1, -1));
        // A small window symbol for the restore button.
        p.setPen(kBlueDark);
        p.setBrush(Qt::white);
        p.drawRect(QRect(17, 26, 20, 16));
        p.fillRect(QRect(17, 26, 21, 4), kBlueDark);
        return Picture(img);
    }();
    return pic;
}

Picture minimiseHover() {
    static const Picture pic = [] {
        QImage img = blank(21, 21, kBlueDark);
        QPainter p(&img);
        p.setPen(Qt::white);
        p.setBrush(QColor(120, 165, 240));
        p.drawRoundedRect(QRect(0, 0, 20, 20), 3, 3);
        minimiseGlyph(p, QRect(1, 1, 19, 19));
        return Picture(img);
    }();
    return pic;
}

Picture photoPlaceholder() {
    static const Picture pic = [] {
        QImage img = blank(138, 188, QColor(225, 230, 240));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(160, 170, 190));
        p.drawEllipse(QPointF(69, 70), 30, 36);
        QPainterPath body;
        body.moveTo(14, 188);
        body.cubicTo(14, 120, 124, 120, 124, 188);
        p.drawPath(body);
        p.setPen(QColor(128, 128, 128));
        p.setBrush(Qt::NoBrush);
        p.drawRect(img.rect().adjusted(0, 0, -1, -1));
        return Picture(img);
    }();
    return pic;
}

Picture facePlaceholder() {
    static const Picture pic = [] {
        QImage img = blank(63, 24, QColor(240, 240, 240));
        return Picture(img);
    }();
    return pic;
}

} // namespace session::art
