#pragma once
// Pictures of the sample module: numbered, saved once per distinct image.
#include <QHash>
#include <QImage>
#include <QString>

namespace sample {

enum class PictureFormat { Jpeg, Bmp, Gif };

class PictureSet {
public:
    explicit PictureSet(QString dataDir);

    // Screenshots (JPEG) are numbered 31nnnn, overlays 32nnnn (BMP) and
    // 33nnnn (GIF). An image already saved gets its first number back.
    QString screen(const QImage& image);
    QString overlay(const QImage& image, PictureFormat format = PictureFormat::Bmp);
    // A picture under a fixed name (also registered for reuse).
    void saveAs(const QString& name, const QImage& image, PictureFormat format);

    int count() const { return int(byContent_.size()); }

private:
    QString add(const QImage& image, PictureFormat format, int& counter, const QString& series);
    QString dataDir_;
    QHash<QByteArray, QString> byContent_;
    int screens_ = 1;      // 310001 is the fixed start picture
    int bmps_ = 0;
    int gifs_ = 0;
};

// Writes bytes whole through an atomic save; throws on failure.
void writeFileBytes(const QString& path, const QByteArray& bytes);

} // namespace sample
