#pragma once
// PNG files built chunk by chunk, and a 16-bit RGB picture keyed on
// (0x1212, 0x5656, 0x9A9A) beside its 8-bit twin, for every picture reader.
#include <QBuffer>
#include <QDataStream>
#include <QImage>

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

// The key pixels clear with their colour, every other one opaque; where the
// twin is 0xFF12569A, the 16-bit picture is one low byte off the key.
inline QImage keyedTwin()
{
  QImage twin(7, 5, QImage::Format_ARGB32);
  for (int i = 0; i < 35; ++i)
    twin.setPixel(i % 7, i / 7, i % 3 == 0 ? 0x0012569Au : i % 3 == 1 ? 0xFF12569Au : 0xFF000000u | i);
  return twin;
}

inline QByteArray keyedRgb48Png()
{
  const QImage twin = keyedTwin();
  QImage wide(twin.size(), QImage::Format_RGBX64);
  for (int i = 0; i < 35; ++i) {
    const QRgb p = twin.pixel(i % 7, i / 7);
    reinterpret_cast<QRgba64*>(wide.scanLine(i / 7))[i % 7] =
        QRgba64::fromRgba64(qRed(p) * 257, qGreen(p) * 257, qBlue(p) * 257 + (p == 0xFF12569Au), 0xFFFF);
  }
  QByteArray png;
  QBuffer buffer(&png);
  wide.save(&buffer, "PNG");
  return png.left(33) + chunk(QByteArray("tRNS\x12\x12\x56\x56\x9A\x9A", 10)) + png.mid(33);
}
