#include "model/StreamImage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QImageReader>
#include <QImageWriter>
#include <QtConcurrent/QtConcurrentMap>

#include <atomic>
#include <cstring>

namespace {

const char kPngSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

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
  // A cell carries no colour profile: cells loaded from older files that
  // stored one lose it here rather than write it again.
  QImage plain = image;
  if (plain.colorSpace().isValid())
    plain.setColorSpace(QColorSpace());
  if (!writer.write(plain)) {
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

namespace {

// Runs job(i) for i in 0..n-1 on all cores; false when any job failed.
template <class Job>
bool runInParallel(std::size_t n, Job job)
{
  std::vector<std::size_t> indexes(n);
  for (std::size_t i = 0; i < n; ++i)
    indexes[i] = i;
  std::atomic<bool> ok{true};
  QtConcurrent::blockingMap(indexes, [&](std::size_t i) {
    if (!job(i))
      ok = false;
  });
  return ok;
}

} // namespace

bool encodeCellPngs(const std::vector<const QImage*>& cells, std::vector<QByteArray>& pngs)
{
  pngs.assign(cells.size(), QByteArray());
  return runInParallel(cells.size(), [&](std::size_t i) { return encodeCellPng(*cells[i], pngs[i]); });
}

bool decodeCellPngs(const std::vector<QByteArray>& pngs, const std::vector<QImage*>& cells)
{
  return runInParallel(cells.size(), [&](std::size_t i) {
    if (pngs[i].isEmpty()) {
      *cells[i] = QImage();
      return true;
    }
    *cells[i] = decodeCellPng(pngs[i]);
    return !cells[i]->isNull();
  });
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
