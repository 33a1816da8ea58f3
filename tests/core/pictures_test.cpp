#include "core/errors.h"
#include "core/pictures.h"

#include <gtest/gtest.h>
#include <QBuffer>
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
