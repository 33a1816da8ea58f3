#pragma once
#include <QByteArray>
#include <QImage>

namespace sample {
// Encodes an image as a GIF89a file (256-colour palette; Qt has no GIF
// writer). The LZW stream restarts before the code size would grow, so every
// code is 9 bits wide: larger than full LZW but simple and always valid.
QByteArray encodeGif(const QImage& image);
}
