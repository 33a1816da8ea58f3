#include "sample/gif_writer.h"
#include <algorithm>

namespace sample {

namespace {

class BitWriter {
public:
    void put(int code, int bits) {
        acc_ |= uint32_t(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.append(char(acc_ & 0xff));
            acc_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish() {
        if (count_ > 0) bytes_.append(char(acc_ & 0xff));
        acc_ = 0;
        count_ = 0;
        return bytes_;
    }
private:
    QByteArray bytes_;
    uint32_t acc_ = 0;
    int count_ = 0;
};

void put16(QByteArray& out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

} // namespace

QByteArray encodeGif(const QImage& source) {
    const QImage img = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const int w = img.width(), h = img.height();
    QByteArray out("GIF89a");
    put16(out, w);
    put16(out, h);
    out.append(char(0xf7));  // global table of 256 entries, 8 bits per colour
    out.append(char(0));
    out.append(char(0));
    const QList<QRgb> table = img.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2c));
    put16(out, 0);
    put16(out, 0);
    put16(out, w);
    put16(out, h);
    out.append(char(0));
    out.append(char(8));  // minimum code size

    // Literal codes only; a clear code before the decoder's table reaches
    // 512 entries keeps the code width at 9 bits.
    const int clear = 256, end = 257;
    BitWriter bits;
    int sinceClear = 0;
    bits.put(clear, 9);
    for (int y = 0; y < h; ++y) {
        const uchar* row = img.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (sinceClear == 250) {
                bits.put(clear, 9);
                sinceClear = 0;
            }
            bits.put(row[x], 9);
            ++sinceClear;
        }
    }
    bits.put(end, 9);
    const QByteArray data = bits.finish();
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - i);
        out.append(char(n));
        out.append(data.mid(i, n));
    }
    out.append(char(0));
    out.append(char(0x3b));
    return out;
}

} // namespace sample
