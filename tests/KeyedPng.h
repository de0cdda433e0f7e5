#pragma once
// PNG files built chunk by chunk, and a 16-bit RGB picture with a key colour
// beside its 8-bit twin, for the tests of every picture reader.
#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QImageWriter>

#include <zlib.h>

// A PNG chunk of that type and data, with its length and checksum.
inline QByteArray chunk(const QByteArray& typeAndData)
{
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out << quint32(typeAndData.size() - 4);
  out.writeRawData(typeAndData.constData(), int(typeAndData.size()));
  out << quint32(crc32(0, reinterpret_cast<const Bytef*>(typeAndData.constData()), uInt(typeAndData.size())));
  return bytes;
}

// What a 16-bit RGB picture keyed on (0x1212, 0x5656, 0x9A9A) reads as: its
// key pixels clear with their colour, every other one opaque, among them
// those one low byte off the key.
inline QImage keyedTwin()
{
  QImage twin(7, 5, QImage::Format_ARGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      twin.setPixel(x, y, (x + y) % 3 == 0 ? 0x0012569Au : (x + y) % 3 == 1 ? 0xFF12569Au : 0xFF000000u | (x * 40 + y));
  return twin;
}

// The 16-bit RGB PNG of the twin, with its key chunk right after the header.
inline QByteArray keyedRgb48Png(const QImage& twin)
{
  QImage wide(twin.size(), QImage::Format_RGBX64);
  for (int y = 0; y < twin.height(); ++y)
    for (int x = 0; x < twin.width(); ++x) {
      const QRgb p = twin.pixel(x, y);
      const bool offKey = qAlpha(p) && (p & 0xFFFFFF) == 0x12569A;
      reinterpret_cast<QRgba64*>(wide.scanLine(y))[x] =
          QRgba64::fromRgba64(qRed(p) * 257, qGreen(p) * 257, qBlue(p) * 257 + offKey, 0xFFFF);
    }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "png").write(wide);
  return png.left(33) + chunk(QByteArray("tRNS\x12\x12\x56\x56\x9A\x9A", 10)) + png.mid(33);
}
