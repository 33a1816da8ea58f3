#include "sample/picture_set.h"

#include "sample/gif_writer.h"
#include "sample/record_builder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageWriter>
#include <QSaveFile>

#include "core/text.h"

namespace sample {

namespace {

QByteArray encode(const QImage& image, PictureFormat format) {
    if (format == PictureFormat::Gif) return encodeGif(image);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, format == PictureFormat::Jpeg ? "jpeg" : "bmp");
    if (format == PictureFormat::Jpeg) w.setQuality(90);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (!w.write(rgb)) throw RecordError("cannot encode a picture: " + w.errorString().toStdString());
    return bytes;
}

QByteArray contentKey(const QImage& image, PictureFormat format) {
    QCryptographicHash h(QCryptographicHash::Sha1);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    h.addData(QByteArray::number(int(format)));
    h.addData(QByteArray::number(rgb.width()) + "x" + QByteArray::number(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        h.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4));
    return h.result();
}

} // namespace

void writeFileBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw RecordError("cannot write " + path.toStdString());
}

PictureSet::PictureSet(QString dataDir) : dataDir_(std::move(dataDir)) {}

QString PictureSet::add(const QImage& image, PictureFormat format, int& counter, const QString& series) {
    const QByteArray key = contentKey(image, format);
    auto it = byContent_.find(key);
    if (it != byContent_.end()) return it.value();
    ++counter;
    const QString name = series + digits(counter, 4);
    writeFileBytes(core::joinPath(dataDir_, name + ".rar"), encode(image, format));
    byContent_.insert(key, name);
    return name;
}

QString PictureSet::screen(const QImage& image) { return add(image, PictureFormat::Jpeg, screens_, "31"); }

QString PictureSet::overlay(const QImage& image, PictureFormat format) {
    if (format == PictureFormat::Gif) return add(image, format, gifs_, "33");
    if (format == PictureFormat::Jpeg) return add(image, format, screens_, "31");
    return add(image, format, bmps_, "32");
}

void PictureSet::saveAs(const QString& name, const QImage& image, PictureFormat format) {
    writeFileBytes(core::joinPath(dataDir_, name + ".rar"), encode(image, format));
    byContent_.insert(contentKey(image, format), name);
}

} // namespace sample
