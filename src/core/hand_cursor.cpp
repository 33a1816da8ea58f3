#include "core/hand_cursor.h"
#include "core/pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

namespace core {

namespace {

QImage handImage() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(3.5, 0.5, 5, 16), 2.5, 2.5);     // index finger, tip at (6, 0)
    hand.addRoundedRect(QRectF(8.5, 8.5, 4, 9), 2, 2);          // middle finger
    hand.addRoundedRect(QRectF(12.5, 9.5, 4, 8), 2, 2);         // ring finger
    hand.addRoundedRect(QRectF(16.5, 10.5, 4, 8), 2, 2);        // little finger
    hand.addRoundedRect(QRectF(3.5, 13.5, 17, 12), 4, 4);       // palm
    QPainterPath thumb;
    thumb.moveTo(4, 15);
    thumb.lineTo(0.5, 12);
    thumb.quadTo(-0.5, 14.5, 1.5, 17);
    thumb.lineTo(4.5, 21);
    hand.addPath(thumb);
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.end();
    return img;
}

} // namespace

QByteArray handCursorData() { return cursorData(handImage(), 6, 0); }

QString handCursorFile() {
    static std::unique_ptr<QTemporaryDir> dir;
    static QString path;
    if (!path.isEmpty() && QFile::exists(path)) return path;
    if (!dir) dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/examsim-cursor-XXXXXX");
    if (!dir->isValid()) return QString();
    QSaveFile f(dir->filePath("hand.cur"));
    if (!f.open(QIODevice::WriteOnly) || f.write(handCursorData()) < 0 || !f.commit()) return QString();
    path = dir->filePath("hand.cur");
    return path;
}

} // namespace core
