#pragma once
// Pictures of the module: screenshots, overlays, button faces and pointers.
#include <QImage>
#include <QString>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>

namespace core {

// A shared handle to an immutable image; a null handle is the empty picture.
class Picture {
public:
    Picture() = default;
    explicit Picture(QImage image);

    bool isNull() const { return !img_; }
    // The image; a null QImage for the empty picture.
    const QImage& image() const;
    int widthPixels() const { return img_ ? img_->width() : 0; }
    int heightPixels() const { return img_ ? img_->height() : 0; }
    int widthTwips() const { return widthPixels() * 15; }
    int heightTwips() const { return heightPixels() * 15; }

    // Same handle (the same loaded picture), not equal pixels.
    bool operator==(const Picture& o) const { return img_ == o.img_; }

private:
    std::shared_ptr<const QImage> img_;
};

enum class PictureStatus { Ok, NotFound, Invalid };

// Loads pictures by their content (JPEG, BMP, GIF, ICO, CUR) whatever the
// file's extension, and keeps the decoded images of recent files.
class PictureStore {
public:
    explicit PictureStore(int64_t cacheLimitBytes = 256ll << 20);

    // The picture of a file. An empty path gives the empty picture (Ok).
    // A missing file (NotFound) or one that is no picture (Invalid) gives
    // nullopt and the reason in *status.
    std::optional<Picture> load(const QString& path, PictureStatus* status = nullptr);

    void clear();
    size_t cachedCount() const { return cache_.size(); }
    int64_t cachedBytes() const { return bytes_; }
    // Older pictures are dropped from the cache beyond this many bytes of
    // decoded images (handles given out stay valid).
    void setCacheLimit(int64_t bytes);

private:
    struct Entry {
        QString key;
        Picture picture;
        int64_t fileSize = 0;
        int64_t modified = 0;
        int64_t bytes = 0;
    };
    void trim();

    std::list<Entry> lru_;  // most recent first
    std::unordered_map<QString, std::list<Entry>::iterator> cache_;
    int64_t bytes_ = 0;
    int64_t limit_;
};

// The program's one store.
PictureStore& pictureStore();

// For procedures that let errors reach their caller: the picture, or a
// RuntimeError 53 (file not found) or 481 (invalid picture). An empty path
// gives the empty picture.
Picture loadPictureOrThrow(const QString& path);

// A Windows cursor file: its image and hot spot. ok is false when the data is
// no cursor file or its image cannot be decoded.
struct CursorImage {
    QImage image;
    int hotX = 0;
    int hotY = 0;
    bool ok = false;
};
CursorImage readCursorFile(const QString& path);
CursorImage readCursorData(const QByteArray& bytes);
// A cursor file of one image (at most 256 x 256): 32-bit colour rows and a
// mask that hides the fully transparent pixels; hot spot (hotX, hotY).
QByteArray cursorData(const QImage& image, int hotX, int hotY);

} // namespace core
