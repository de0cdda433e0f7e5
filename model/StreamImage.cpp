#include "model/StreamImage.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cstring>

namespace {

const char kPngSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

qint64 bytesLeft(const QIODevice& device)
{
  return device.isSequential() ? device.bytesAvailable() : device.size() - device.pos();
}

bool fail(QDataStream& in)
{
  in.setStatus(QDataStream::ReadCorruptData);
  return false;
}

// Appends exactly n bytes of the stream to png.
bool appendRaw(QDataStream& in, QByteArray& png, qint64 n)
{
  qsizetype at = png.size();
  png.resize(at + static_cast<qsizetype>(n));
  while (n > 0) {
    const int block = static_cast<int>(std::min<qint64>(n, 1 << 30));
    if (in.readRawData(png.data() + at, block) != block)
      return false;
    at += block;
    n -= block;
  }
  return true;
}

} // namespace

bool encodeCellPng(const QImage& image, QByteArray& png)
{
  png.clear();
  if (image.isNull())
    return true;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) {
    png.clear();
    return false;
  }
  return !png.isEmpty();
}

QImage decodeCellPng(const QByteArray& png)
{
  QBuffer buffer;
  buffer.setData(png);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  QImage image = reader.read();
  if (!image.isNull() && image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_ARGB32);
  return image;
}

void writeStreamImageBytes(QDataStream& out, const QByteArray& png)
{
  if (png.isEmpty()) {
    out << qint32(0);
    return;
  }
  out << qint32(1);
  out.writeRawData(png.constData(), static_cast<int>(png.size()));
}

bool readStreamImageBytes(QDataStream& in, QByteArray& png)
{
  png.clear();
  qint32 marker = 0;
  in >> marker;
  if (in.status() != QDataStream::Ok)
    return false;
  if (marker == 0)
    return true;
  QIODevice* device = in.device();
  if (!device || bytesLeft(*device) < 8 || !appendRaw(in, png, 8)
      || std::memcmp(png.constData(), kPngSignature, 8) != 0)
    return fail(in);
  // Chunk by chunk: length (big-endian), type, data, CRC.
  for (;;) {
    if (bytesLeft(*device) < 8)
      return fail(in);
    const qsizetype head = png.size();
    if (!appendRaw(in, png, 8))
      return fail(in);
    const auto* b = reinterpret_cast<const unsigned char*>(png.constData() + head);
    const quint32 length = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
    if (length > 0x7fffffffu || qint64(length) + 4 > bytesLeft(*device))
      return fail(in);
    const bool last = std::memcmp(b + 4, "IEND", 4) == 0;
    if (!appendRaw(in, png, qint64(length) + 4))
      return fail(in);
    if (last)
      return true;
  }
}

bool writeStreamImage(QDataStream& out, const QImage& image)
{
  QByteArray png;
  if (!encodeCellPng(image, png))
    return false;
  writeStreamImageBytes(out, png);
  return true;
}

bool readStreamImage(QDataStream& in, QImage& image)
{
  QByteArray png;
  image = QImage();
  if (!readStreamImageBytes(in, png))
    return false;
  if (png.isEmpty())
    return true;
  image = decodeCellPng(png);
  return image.isNull() ? fail(in) : true;
}
