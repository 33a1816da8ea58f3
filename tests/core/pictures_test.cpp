#include "core/errors.h"
#include "core/pictures.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

using namespace core;

namespace {

QImage testImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < w / 2; ++x)
        for (int y = 0; y < h; ++y) img.setPixel(x, y, qRgb(200, 0, 0));
    return img;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format)) << format;
    return bytes;
}

void put16(QByteArray& b, uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void put32(QByteArray& b, uint32_t v) {
    put16(b, uint16_t(v & 0xFFFF));
    put16(b, uint16_t(v >> 16));
}

// A two-colour GIF of a picture whose pixels are red (200, 0, 0) or not.
// LZW with a clear code after every two pixels keeps all codes 3 bits wide.
QByteArray gifBytes(const QImage& img) {
    QByteArray b("GIF89a");
    put16(b, uint16_t(img.width()));
    put16(b, uint16_t(img.height()));
    b.append(char(0x80)).append('\0').append('\0');  // 2-entry colour table
    b.append(char(200)).append('\0').append('\0');
    b.append(char(255)).append(char(255)).append(char(255));
    b.append(',');
    put16(b, 0);
    put16(b, 0);
    put16(b, uint16_t(img.width()));
    put16(b, uint16_t(img.height()));
    b.append('\0');
    b.append(char(2));  // minimum code size
    QByteArray data;
    uint32_t acc = 0;
    int bits = 0;
    auto code = [&](int c) {
        acc |= uint32_t(c) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (n++ % 2 == 0) code(4);  // clear
            code(img.pixel(x, y) == qRgb(200, 0, 0) ? 0 : 1);
        }
    code(5);  // end of information
    if (bits > 0) data.append(char(acc & 0xFF));
    for (int i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        b.append(char(block.size())).append(block);
    }
    b.append('\0').append(';');
    return b;
}

// A 32x32 monochrome cursor: an 8x8 white square at the top left, an 8x8
// black one below it, transparent elsewhere.
QByteArray cursorBytes(uint16_t hotX, uint16_t hotY, uint16_t type = 2) {
    QByteArray b;
    put16(b, 0);
    put16(b, type);
    put16(b, 1);
    b.append(char(32)).append(char(32)).append(char(2)).append(char(0));
    put16(b, hotX);
    put16(b, hotY);
    put32(b, 40 + 8 + 128 + 128);
    put32(b, 22);
    // BITMAPINFOHEADER: height counts the colour and the mask rows.
    put32(b, 40);
    put32(b, 32);
    put32(b, 64);
    put16(b, 1);
    put16(b, 1);
    put32(b, 0);
    put32(b, 256);
    put32(b, 0);
    put32(b, 0);
    put32(b, 2);
    put32(b, 0);
    put32(b, 0x00000000);  // black
    put32(b, 0x00FFFFFF);  // white
    // Rows are stored bottom-up; top row t is stored row 31 - t.
    QByteArray colour, mask;
    for (int stored = 0; stored < 32; ++stored) {
        const int t = 31 - stored;
        colour.append(char(t < 8 ? 0xFF : 0x00)).append(3, '\0');
        mask.append(char(t < 16 ? 0x00 : 0xFF)).append(3, char(0xFF));
    }
    return b + colour + mask;
}

class PictureStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PictureStore store;
    QString file(const QString& name) { return dir.filePath(name); }
};

TEST_F(PictureStoreTest, LoadsEveryFormatByContentWhateverTheName) {
    const QImage src = testImage(40, 24);
    struct Case { const char* format; QByteArray bytes; int w, h; };
    const Case cases[] = {
        {"JPEG", encoded(src, "JPEG"), 40, 24},
        {"BMP", encoded(src, "BMP"), 40, 24},
        {"GIF", gifBytes(src), 40, 24},
        {"ICO", encoded(src, "ICO"), 40, 24},
        {"CUR", cursorBytes(1, 1), 32, 32},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = c.bytes;
        const QString path = file(QString("9l00%1.rar").arg(c.format));
        writeFile(path, bytes);
        PictureStatus status = PictureStatus::Invalid;
        std::optional<Picture> p = store.load(path, &status);
        ASSERT_TRUE(p.has_value()) << c.format;
        EXPECT_EQ(status, PictureStatus::Ok);
        EXPECT_EQ(p->widthPixels(), c.w) << c.format;
        EXPECT_EQ(p->heightPixels(), c.h) << c.format;
        EXPECT_EQ(p->widthTwips(), c.w * 15);
        EXPECT_EQ(p->heightTwips(), c.h * 15);
    }
    // Colours survive (lossless formats).
    for (const char* name : {"9l00BMP.rar", "9l00GIF.rar"}) {
        std::optional<Picture> p = store.load(file(name));
        ASSERT_TRUE(p);
        EXPECT_EQ(p->image().pixel(1, 1), qRgb(200, 0, 0)) << name;
        EXPECT_EQ(p->image().pixel(38, 1), qRgb(255, 255, 255)) << name;
    }
}

TEST_F(PictureStoreTest, MissingOrBrokenPictureIsReported) {
    const QByteArray jpeg = encoded(testImage(64, 64), "JPEG");
    const QByteArray bmp = encoded(testImage(64, 64), "BMP");
    writeFile(file("short.rar"), jpeg.left(40));
    writeFile(file("shortbmp.rar"), bmp.left(30));
    writeFile(file("text.rar"), "0001 not a picture\r\n");
    writeFile(file("empty.rar"), QByteArray());
    QDir(dir.path()).mkdir("folder.rar");
    struct Case { QString name; PictureStatus status; };
    const Case cases[] = {
        {"none.rar", PictureStatus::NotFound}, {"folder.rar", PictureStatus::NotFound},
        {"short.rar", PictureStatus::Invalid}, {"shortbmp.rar", PictureStatus::Invalid},
        {"text.rar", PictureStatus::Invalid},  {"empty.rar", PictureStatus::Invalid},
    };
    for (const Case& c : cases) {
        PictureStatus status = PictureStatus::Ok;
        EXPECT_FALSE(store.load(file(c.name), &status).has_value()) << c.name.toStdString();
        EXPECT_EQ(status, c.status) << c.name.toStdString();
    }
    EXPECT_EQ(store.cachedCount(), 0u);
    // No path is the empty picture.
    PictureStatus status = PictureStatus::Invalid;
    std::optional<Picture> none = store.load(QString(), &status);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isNull());
    EXPECT_EQ(status, PictureStatus::Ok);
}

TEST_F(PictureStoreTest, CacheReturnsTheSameDecodedPicture) {
    const QString path = file("000101.rar");
    writeFile(path, encoded(testImage(10, 10), "BMP"));
    std::optional<Picture> a = store.load(path);
    QString spelled = path;
    spelled.replace(dir.path(), dir.path() + "\\\\.");
    std::optional<Picture> b = store.load(spelled);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(store.cachedCount(), 1u);

    // A file replaced on disk is decoded afresh.
    writeFile(path, encoded(testImage(20, 12), "BMP"));
    std::optional<Picture> c = store.load(path);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->widthPixels(), 20);
    EXPECT_EQ(a->widthPixels(), 10);  // old handles stay valid

    // Beyond the limit older pictures leave the cache, handles stay valid.
    const QString other = file("000102.rar");
    writeFile(other, encoded(testImage(10, 10), "BMP"));
    store.setCacheLimit(c->image().sizeInBytes());
    ASSERT_TRUE(store.load(other));
    EXPECT_EQ(store.cachedCount(), 1u);
    EXPECT_EQ(c->widthPixels(), 20);
}

// An 800 x 600 screenshot-like picture: bands of a colour that differs per
// seed, so that two pictures differ in every row.
QImage screenshot(int seed) {
    QImage img(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb c = qRgb((seed * 70 + y) % 256, (seed * 130) % 256, (y / 8 * 20 + seed * 40) % 256);
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, x < 400 ? c : qRgb(255 - qRed(c), 0, seed * 60 % 256));
    }
    return img;
}

// The picture as a plain decode gives it, in the store's format.
QImage plainDecode(const QString& path) {
    QImageReader r(path);
    r.setDecideFormatFromContent(true);
    QImage img = r.read();
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}

// Released screenshot images are decoded into again; whatever still uses
// one (a handle, a copy of its image) never sees it change, and a decode
// into reused memory gives exactly what a plain decode gives, for a whole
// file and for one cut short.
TEST_F(PictureStoreTest, ReusedImageMemoryIsNeverStillInUseAndDecodesAsFresh) {
    QStringList files;
    for (int k = 0; k < 6; ++k) {
        files << file(QString("31000%1.rar").arg(k));
        writeFile(files.last(), encoded(screenshot(k), "JPG"));
    }
    const QByteArray whole = encoded(screenshot(9), "JPG");
    files << file("310009.rar");
    writeFile(files.last(), whole.left(whole.size() / 2));

    // A handle kept: the next decode of the same size gets other memory.
    std::optional<Picture> held = store.load(files[0]);
    ASSERT_TRUE(held);
    const QImage heldPixels = held->image().copy();
    store.clear();
    std::optional<Picture> next = store.load(files[1]);
    ASSERT_TRUE(next);
    EXPECT_NE(next->image().constBits(), held->image().constBits());
    EXPECT_EQ(held->image(), heldPixels);
    EXPECT_EQ(next->image(), plainDecode(files[1]));

    // Only a copy of the image kept: the handle goes, the copy stays as it was.
    QImage copy = next->image();
    const QImage copyPixels = copy.copy();
    next.reset();
    store.clear();
    std::optional<Picture> third = store.load(files[2]);
    ASSERT_TRUE(third);
    EXPECT_EQ(copy, copyPixels) << "a decode wrote into an image still in use";
    EXPECT_EQ(third->image(), plainDecode(files[2]));

    // Nothing kept: the memory is decoded into again, and every decode,
    // the cut-short file's too, looks as a plain decode.
    for (int k = 3; k < files.size(); ++k) {
        SCOPED_TRACE(qPrintable(files[k]));
        const uchar* before = third->image().constBits();
        third.reset();
        store.clear();
        third = store.load(files[k]);
        ASSERT_TRUE(third);
        EXPECT_EQ(third->image(), plainDecode(files[k]));
        if (k < 6) {
            EXPECT_EQ(third->image().constBits(), before) << "the released image was not reused";
        }
    }
    EXPECT_EQ(held->image(), heldPixels);
}

// Whatever is loaded, the decoded bytes the cache keeps stay within its
// limit; the pictures used last stay, the ones used longest ago go first;
// handles given out stay whole.
TEST_F(PictureStoreTest, TheCacheStaysWithinItsLimitAndDropsTheLeastRecentlyUsed) {
    const int64_t each = testImage(100, 50).sizeInBytes();
    store.setCacheLimit(3 * each);
    std::vector<Picture> handles;
    QStringList files;
    for (int k = 0; k < 8; ++k) {
        files << file(QString("0001%1.rar").arg(k, 2, 10, QLatin1Char('0')));
        writeFile(files.last(), encoded(testImage(100, 50 + (k == 5 ? 350 : 0)), "BMP"));
    }
    auto cached = [&](int k, const Picture& p) { return store.load(files[k]) == p; };
    for (int k = 0; k < 3; ++k) handles.push_back(*store.load(files[k]));
    EXPECT_EQ(store.cachedCount(), 3u);
    // File 0 used again: file 1 is now the oldest and goes for file 3.
    EXPECT_TRUE(cached(0, handles[0]));
    handles.push_back(*store.load(files[3]));
    EXPECT_LE(store.cachedBytes(), 3 * each);
    EXPECT_TRUE(cached(0, handles[0]));
    EXPECT_TRUE(cached(3, handles[3]));
    EXPECT_FALSE(cached(1, handles[1])) << "the least recently used picture stayed";
    // A picture larger than the whole limit is given out but not kept; the
    // bound holds after every load.
    for (int k = 4; k < 8; ++k) {
        handles.push_back(*store.load(files[k]));
        EXPECT_LE(store.cachedBytes(), 3 * each) << k;
    }
    EXPECT_EQ(handles[5].heightPixels(), 400);
    EXPECT_FALSE(cached(5, handles[5]));
    // A lower limit drops at once; every handle is still whole.
    store.setCacheLimit(each);
    EXPECT_LE(store.cachedBytes(), each);
    for (size_t k = 0; k < handles.size(); ++k) EXPECT_EQ(handles[k].widthPixels(), 100) << k;
}

// Decoding ahead fills the program's store in idle time only, one picture a
// turn of the event loop; a missing or broken file is left for the load
// to report.
TEST_F(PictureStoreTest, DecodingAheadFillsTheCacheInIdleTimeOnly) {
    PictureStore& program = pictureStore();
    program.clear();
    writeFile(file("a.rar"), encoded(testImage(10, 10), "BMP"));
    writeFile(file("b.rar"), encoded(testImage(12, 10), "BMP"));
    writeFile(file("bad.rar"), "no picture");
    program.prefetch({file("a.rar"), file("bad.rar"), file("none.rar"), file("b.rar"), file("a.rar")});
    EXPECT_EQ(program.pendingPrefetch(), 4);
    EXPECT_EQ(program.cachedCount(), 0u) << "decoded before idle time";
    QCoreApplication::processEvents();
    EXPECT_EQ(program.pendingPrefetch(), 3);
    for (int i = 0; i < 10 && program.pendingPrefetch() > 0; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(program.pendingPrefetch(), 0);
    EXPECT_EQ(program.cachedCount(), 2u);
    const Picture a = *program.load(file("a.rar"));
    EXPECT_EQ(a, *program.load(file("a.rar")));
    EXPECT_EQ(program.cachedCount(), 2u);
    PictureStatus status = PictureStatus::Ok;
    EXPECT_FALSE(program.load(file("bad.rar"), &status));
    EXPECT_EQ(status, PictureStatus::Invalid);
    EXPECT_FALSE(program.load(file("none.rar"), &status));
    EXPECT_EQ(status, PictureStatus::NotFound);
    program.clear();
}

TEST_F(PictureStoreTest, LoadOrThrowRaisesTheProgramsErrors) {
    writeFile(file("bad.rar"), "xx");
    try {
        loadPictureOrThrow(file("none.rar"));
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code, 53);
    }
    try {
        loadPictureOrThrow(file("bad.rar"));
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code, 481);
    }
    EXPECT_TRUE(loadPictureOrThrow("").isNull());
}

TEST(CursorFileTest, ReadsHotSpotAndImage) {
    CursorImage c = readCursorData(cursorBytes(5, 9));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.hotX, 5);
    EXPECT_EQ(c.hotY, 9);
    ASSERT_EQ(c.image.size(), QSize(32, 32));
    EXPECT_EQ(c.image.pixel(2, 2), qRgba(255, 255, 255, 255));
    EXPECT_EQ(c.image.pixel(2, 12), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(c.image.pixel(20, 20)), 0);

    QTemporaryDir dir;
    const QString path = dir.filePath("ico07.CUR");
    writeFile(path, cursorBytes(31, 0));
    c = readCursorFile(path);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.hotX, 31);
    EXPECT_EQ(c.hotY, 0);
}

// The writer's files read back as written: colours, transparency (also in a
// width that does not fill the mask's 32-bit rows) and hot spot.
TEST(CursorFileTest, WrittenCursorsReadBack) {
    for (QSize size : {QSize(32, 32), QSize(20, 7)}) {
        SCOPED_TRACE(size.width());
        QImage img(size, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        img.setPixel(0, 0, qRgba(200, 10, 20, 255));
        img.setPixel(size.width() - 1, size.height() - 1, qRgba(0, 0, 255, 255));
        const CursorImage c = readCursorData(cursorData(img, 3, 4));
        ASSERT_TRUE(c.ok);
        EXPECT_EQ(c.hotX, 3);
        EXPECT_EQ(c.hotY, 4);
        ASSERT_EQ(c.image.size(), size);
        EXPECT_EQ(c.image.pixel(0, 0), qRgba(200, 10, 20, 255));
        EXPECT_EQ(c.image.pixel(size.width() - 1, size.height() - 1), qRgba(0, 0, 255, 255));
        EXPECT_EQ(qAlpha(c.image.pixel(1, 1)), 0);
    }
}

TEST(CursorFileTest, RejectsWhatIsNoCursor) {
    QByteArray truncated = cursorBytes(1, 1);
    truncated.truncate(100);
    const QByteArray cases[] = {
        QByteArray(), QByteArray("\0\0\2\0", 4), cursorBytes(1, 1, 1) /* icon */,
        truncated, QByteArray(400, '\xff'),
    };
    for (const QByteArray& b : cases) EXPECT_FALSE(readCursorData(b).ok) << b.size();
    EXPECT_FALSE(readCursorFile("/no/such/ico01.CUR").ok);
    // A hot spot beyond the image is taken to its edge.
    CursorImage c = readCursorData(cursorBytes(40, 99));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.hotX, 31);
    EXPECT_EQ(c.hotY, 31);
}

} // namespace
