#include "core/pictures.h"

#include "core/errors.h"
#include "core/text.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <algorithm>
#include <functional>
#include <vector>

namespace core {

namespace {

// Images of released pictures, kept for the next decode of the same size: a
// fresh image of a screenshot's size pays for every page it touches.
constexpr qsizetype kPoolMinBytes = 256 << 10;
constexpr size_t kPoolImages = 3;
// Never destroyed: the pictures of other statics (the store's cache, the
// forms) are released into it at the program's exit, in any order.
std::vector<QImage>& pool() {
    static auto* p = new std::vector<QImage>;
    return *p;
}

void recycle(const QImage* img) {
    QImage* owned = const_cast<QImage*>(img);
    if (owned->sizeInBytes() >= kPoolMinBytes && pool().size() < kPoolImages) pool().push_back(std::move(*owned));
    delete owned;
}

QImage takePooled(QSize size, QImage::Format format) {
    auto& p = pool();
    for (auto it = p.begin(); it != p.end(); ++it)
        if (it->size() == size && it->format() == format) {
            QImage img = std::move(*it);
            p.erase(it);
            return img;
        }
    return QImage();
}

} // namespace

Picture::Picture(QImage image) {
    if (!image.isNull()) img_ = std::shared_ptr<const QImage>(new QImage(std::move(image)), recycle);
}

const QImage& Picture::image() const {
    static const QImage empty;
    return img_ ? *img_ : empty;
}

namespace {

// Decodes by content; the extension plays no part.
QImage decode(QIODevice* device) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    QImage img;
    if (reader.imageFormat() == QImage::Format_RGB32) img = takePooled(reader.size(), QImage::Format_RGB32);
    if (img.isNull()) {
        img = reader.read();
    } else if (!reader.read(&img)) {
        return QImage();
    }
    if (img.isNull()) return img;
    // One format for fast painting.
    const QImage::Format f =
        img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (img.format() != f) img = img.convertToFormat(f);
    return img;
}

QString cacheKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(normalizePath(path)).absoluteFilePath());
}

} // namespace

PictureStore::PictureStore(int64_t cacheLimitBytes) : limit_(cacheLimitBytes) {}

std::optional<Picture> PictureStore::load(const QString& path, PictureStatus* status) {
    auto result = [&](PictureStatus s) {
        if (status) *status = s;
        if (s != PictureStatus::Ok && failureListener_ && !prefetching_) failureListener_(path, s);
    };
    if (path.isEmpty()) {
        result(PictureStatus::Ok);
        return Picture();
    }
    const QString key = cacheKey(path);
    const QFileInfo fi(key);
    if (!fi.isFile()) {
        result(PictureStatus::NotFound);
        return std::nullopt;
    }
    const int64_t size = fi.size();
    const int64_t modified = fi.lastModified().toMSecsSinceEpoch();

    auto it = cache_.find(key);
    if (it != cache_.end()) {
        if (it->second->fileSize == size && it->second->modified == modified) {
            lru_.splice(lru_.begin(), lru_, it->second);
            result(PictureStatus::Ok);
            return it->second->picture;
        }
        bytes_ -= it->second->bytes;
        lru_.erase(it->second);
        cache_.erase(it);
    }

    QFile f(key);
    if (!f.open(QIODevice::ReadOnly)) {
        result(PictureStatus::NotFound);
        return std::nullopt;
    }
    QImage img = decode(&f);
    if (img.isNull()) {
        result(PictureStatus::Invalid);
        return std::nullopt;
    }
    Entry e;
    e.key = key;
    e.bytes = img.sizeInBytes();
    e.picture = Picture(std::move(img));
    e.fileSize = size;
    e.modified = modified;
    lru_.push_front(e);
    cache_[key] = lru_.begin();
    bytes_ += e.bytes;
    trim();
    result(PictureStatus::Ok);
    return e.picture;
}

void PictureStore::clear() {
    lru_.clear();
    cache_.clear();
    bytes_ = 0;
}

void PictureStore::setCacheLimit(int64_t bytes) {
    limit_ = bytes;
    trim();
}

void PictureStore::trim() {
    while (bytes_ > limit_ && !lru_.empty()) {
        bytes_ -= lru_.back().bytes;
        cache_.erase(lru_.back().key);
        lru_.pop_back();
    }
}

namespace {

// Runs one prefetch per posted event, below the repaints in priority.
class PrefetchRunner : public QObject {
public:
    explicit PrefetchRunner(std::function<void()> step) : step_(std::move(step)) {}
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        step_();
        return true;
    }

private:
    std::function<void()> step_;
};

constexpr int kPrefetchPriority = Qt::LowEventPriority - 10;

} // namespace

void PictureStore::prefetch(const QStringList& paths) {
    for (const QString& p : paths)
        if (!p.isEmpty() && !prefetch_.contains(p)) prefetch_ << p;
    postPrefetch();
}

void PictureStore::postPrefetch() {
    if (prefetchPosted_ || prefetch_.isEmpty() || !QCoreApplication::instance()) return;
    static QPointer<PrefetchRunner> runner;
    if (!runner) {
        runner = new PrefetchRunner([] {
            PictureStore& s = pictureStore();
            s.prefetchPosted_ = false;
            s.prefetchOne();
            s.postPrefetch();
        });
        runner->setParent(QCoreApplication::instance());
    }
    // Only the program's one store runs in idle time.
    if (this != &pictureStore()) return;
    prefetchPosted_ = true;
    QCoreApplication::postEvent(runner, new QEvent(QEvent::User), kPrefetchPriority);
}

bool PictureStore::prefetchOne() {
    if (prefetch_.isEmpty()) return false;
    const QString path = prefetch_.takeFirst();
    // A missing or broken file is reported when the program loads it.
    prefetching_ = true;
    load(path);
    prefetching_ = false;
    return true;
}

void PictureStore::runPrefetch() {
    while (prefetchOne()) {
    }
}

PictureStore& pictureStore() {
    static PictureStore store;
    return store;
}

Picture loadPictureOrThrow(const QString& path) {
    PictureStatus status = PictureStatus::Ok;
    std::optional<Picture> p = pictureStore().load(path, &status);
    if (p) return *p;
    if (status == PictureStatus::NotFound)
        throw RuntimeError(ErrFileNotFound, "File not found: " + path.toStdString());
    throw RuntimeError(ErrInvalidPicture, "Invalid picture: " + path.toStdString());
}

// ---- cursor files ----

namespace {

uint16_t u16(const QByteArray& b, int at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

} // namespace

CursorImage readCursorData(const QByteArray& bytes) {
    CursorImage c;
    // ICONDIR (reserved 0, type 2 = cursor, count) and the first
    // ICONDIRENTRY, whose planes and bit-count fields hold the hot spot.
    if (bytes.size() < 6 + 16) return c;
    if (u16(bytes, 0) != 0 || u16(bytes, 2) != 2 || u16(bytes, 4) < 1) return c;
    int hotX = u16(bytes, 6 + 4);
    int hotY = u16(bytes, 6 + 6);

    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImage img = decode(&buf);
    if (img.isNull()) return c;
    c.image = std::move(img);
    // A hot spot outside the image is taken to its nearest edge.
    c.hotX = std::clamp(hotX, 0, c.image.width() - 1);
    c.hotY = std::clamp(hotY, 0, c.image.height() - 1);
    c.ok = true;
    return c;
}

QByteArray cursorData(const QImage& image, int hotX, int hotY) {
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    auto put16 = [](QByteArray& b, uint32_t v) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&](QByteArray& b, uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    // Bottom-up rows: BGRA colour, then the mask (1 = transparent), each
    // mask row padded to 32 bits.
    QByteArray colour, mask;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray bits(((w + 31) / 32) * 4, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb px = img.pixel(x, y);
            put32(colour, static_cast<uint32_t>(px));
            if (qAlpha(px) == 0) bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
        }
        mask += bits;
    }
    QByteArray dib;  // BITMAPINFOHEADER: the height counts colour and mask rows
    put32(dib, 40);
    put32(dib, static_cast<uint32_t>(w));
    put32(dib, static_cast<uint32_t>(2 * h));
    put16(dib, 1);
    put16(dib, 32);
    put32(dib, 0);
    put32(dib, static_cast<uint32_t>(colour.size() + mask.size()));
    for (int i = 0; i < 4; ++i) put32(dib, 0);
    dib += colour;
    dib += mask;

    QByteArray out;  // ICONDIR and the one ICONDIRENTRY
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);
    out.append(static_cast<char>(w & 0xFF));
    out.append(static_cast<char>(h & 0xFF));
    out.append(2, '\0');
    put16(out, static_cast<uint32_t>(hotX));
    put16(out, static_cast<uint32_t>(hotY));
    put32(out, static_cast<uint32_t>(dib.size()));
    put32(out, 22);
    return out + dib;
}

CursorImage readCursorFile(const QString& path) {
    QFile f(normalizePath(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    // Cursor files are small; anything large is no cursor.
    if (f.size() > (4 << 20)) return {};
    return readCursorData(f.readAll());
}

} // namespace core
