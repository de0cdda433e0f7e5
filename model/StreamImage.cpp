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

// The 8-byte head of a PNG chunk: big-endian data length, then the type.
struct ChunkHead
{
  quint32 length = 0;
  bool last = false;  // the IEND chunk
  bool valid = false; // a length a file could hold
};

ChunkHead chunkHead(const char* bytes)
{
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  ChunkHead head;
  head.length = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
  head.valid = head.length <= 0x7fffffffu;
  head.last = std::memcmp(b + 4, "IEND", 4) == 0;
  return head;
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
    const ChunkHead chunk = chunkHead(png.constData() + head);
    if (!chunk.valid || qint64(chunk.length) + 4 > bytesLeft(*device))
      return fail(in);
    if (!appendRaw(in, png, qint64(chunk.length) + 4))
      return fail(in);
    if (chunk.last)
      return true;
  }
}

bool sliceStreamImage(const QByteArray& bytes, qint64& pos, QByteArray& png)
{
  png.clear();
  const qint64 size = bytes.size();
  const char* data = bytes.constData();
  if (size - pos < 4)
    return false;
  const auto* m = reinterpret_cast<const unsigned char*>(data + pos);
  const quint32 marker = (quint32(m[0]) << 24) | (quint32(m[1]) << 16) | (quint32(m[2]) << 8) | m[3];
  pos += 4;
  if (marker == 0)
    return true;
  const qint64 start = pos;
  if (size - pos < 8 || std::memcmp(data + pos, kPngSignature, 8) != 0)
    return false;
  pos += 8;
  for (;;) {
    if (size - pos < 8)
      return false;
    const ChunkHead chunk = chunkHead(data + pos);
    if (!chunk.valid || qint64(chunk.length) + 12 > size - pos)
      return false;
    pos += qint64(chunk.length) + 12;
    if (chunk.last)
      break;
  }
  // A view into bytes: no copy, valid while bytes lives.
  png = QByteArray::fromRawData(data + start, static_cast<qsizetype>(pos - start));
  return true;
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
