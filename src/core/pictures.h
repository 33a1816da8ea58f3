#pragma once
// Pictures of the module: screenshots, overlays, button faces and pointers.
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
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
// file's extension, and keeps the decoded images of recent files (least
// recently used out beyond the limit). Decoding reuses the memory of
// screenshots no longer in use where the size allows.
class PictureStore {
public:
    static constexpr int64_t kDefaultCacheLimit = 40ll << 20;
    explicit PictureStore(int64_t cacheLimitBytes = kDefaultCacheLimit);

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

    // Decodes these pictures ahead, in idle time of the event loop (one at a
    // time, after the work already waiting, repaints included), so that a
    // later load finds them cached. Nothing becomes visible by it. Without a
    // running event loop nothing happens until runPrefetch().
    void prefetch(const QStringList& paths);
    // Decodes everything prefetch queued, now.
    void runPrefetch();
    int pendingPrefetch() const { return static_cast<int>(prefetch_.size()); }

    // Called with the path and the reason whenever a load the program asks
    // for finds no picture (loads ahead of time are not reported: the
    // program's own load reports them). Empty: nobody listens.
    using FailureListener = std::function<void(const QString& path, PictureStatus status)>;
    void setFailureListener(FailureListener listener) { failureListener_ = std::move(listener); }

private:
    struct Entry {
        QString key;
        Picture picture;
        int64_t fileSize = 0;
        int64_t modified = 0;
        int64_t bytes = 0;
    };
    void trim();
    bool prefetchOne();
    void postPrefetch();

    std::list<Entry> lru_;  // most recent first
    std::unordered_map<QString, std::list<Entry>::iterator> cache_;
    int64_t bytes_ = 0;
    int64_t limit_;
    QStringList prefetch_;
    bool prefetchPosted_ = false;
    bool prefetching_ = false;
    FailureListener failureListener_;
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
