#include "model/StreamImage.h"

#include "core/SaveFile.h"
#include "model/CharacterData.h"
#include "model/FileErrors.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDataStream>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
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

quint32 bigEndian32(const char* bytes)
{
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
}

ChunkHead chunkHead(const char* bytes)
{
  ChunkHead head;
  head.length = bigEndian32(bytes);
  head.valid = head.length <= 0x7fffffffu;
  head.last = std::memcmp(bytes + 4, "IEND", 4) == 0;
  return head;
}

bool fitsSide(qint64 side)
{
  return side >= 0 && side <= kMaxSheetSide;
}

} // namespace

void allowLargestImages()
{
  constexpr qint64 largest = qint64(kMaxSheetSide) * kMaxSheetSide * 4;
  QImageReader::setAllocationLimit(static_cast<int>(largest >> 20));
}

bool CellBudget::take(qint64 width, qint64 height)
{
  if (!fitsSide(width) || !fitsSide(height))
    return false;
  const qint64 bytes = width * height * 4;
  if (bytes > kDecodeBudget - m_used)
    return false;
  m_used += bytes;
  return true;
}

bool encodeCellPng(const QImage& image, QByteArray& png)
{
  png.clear();
  if (image.isNull())
    return true;
  if (!fitsSide(image.width()) || !fitsSide(image.height()))
    return false;
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

bool writePng(const QString& path, const QImage& image)
{
  QByteArray png;
  if (image.isNull() || !encodeCellPng(image, png))
    return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && commitSaveFile(file);
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

bool encodeCellPngs(const std::vector<const QImage*>& cells, std::vector<QByteArray>& pngs, QString* reason)
{
  pngs.assign(cells.size(), QByteArray());
  const auto refuse = [reason](const QString& why) {
    if (reason)
      *reason = why;
    return false;
  };
  CellBudget budget;
  for (const QImage* cell : cells)
    if (!cell->isNull() && !budget.take(cell->width(), cell->height()))
      return refuse(fitsSide(cell->width()) && fitsSide(cell->height()) ? cellBudgetReason() : cellSideReason());
  if (!runInParallel(cells.size(), [&](std::size_t i) { return encodeCellPng(*cells[i], pngs[i]); }))
    return refuse(formatReason());
  return true;
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

namespace {

// Appends exactly n bytes of the device, which ends at end, to out; false,
// allocating nothing, when the device has fewer left.
bool appendExactly(QIODevice& device, qint64 end, qint64 n, QByteArray& out)
{
  if (n > end - device.pos())
    return false;
  const qsizetype old = out.size();
  out.resize(old + static_cast<qsizetype>(n));
  return device.read(out.data() + old, n) == n;
}

} // namespace

bool readStreamImage(QIODevice& device, QByteArray& png, CellBudget& budget)
{
  png.clear();
  const qint64 end = device.size();
  QByteArray marker;
  if (!appendExactly(device, end, 4, marker))
    return false;
  if (bigEndian32(marker.constData()) == 0)
    return true;
  // The header chunk comes first and gives the decoded size: a cell that
  // would pass the bounds is refused before any pixel is allocated.
  constexpr qint64 kHeaderChunk = 8 + 13 + 4;
  if (!appendExactly(device, end, 8 + kHeaderChunk, png) || std::memcmp(png.constData(), kPngSignature, 8) != 0 ||
      bigEndian32(png.constData() + 8) != 13 || std::memcmp(png.constData() + 12, "IHDR", 4) != 0 ||
      !budget.take(bigEndian32(png.constData() + 16), bigEndian32(png.constData() + 20))) {
    png.clear();
    return false;
  }
  for (;;) {
    const qsizetype head = png.size();
    if (!appendExactly(device, end, 8, png)) {
      png.clear();
      return false;
    }
    const ChunkHead chunk = chunkHead(png.constData() + head);
    if (!chunk.valid || !appendExactly(device, end, qint64(chunk.length) + 4, png)) {
      png.clear();
      return false;
    }
    if (chunk.last)
      return true;
  }
}

void CellDecoder::add(const QByteArray& png, QImage* cell)
{
  if (png.isEmpty()) {
    *cell = QImage();
    return;
  }
  m_pngs.push_back(png);
  m_cells.push_back(cell);
  m_bytes += png.size();
  if (m_bytes >= kBatchBytes)
    decodeBatch();
}

void CellDecoder::decodeBatch()
{
  m_ok = runInParallel(m_cells.size(), [&](std::size_t i) {
           *m_cells[i] = decodeCellPng(m_pngs[i]);
           return !m_cells[i]->isNull();
         }) && m_ok;
  m_pngs.clear();
  m_cells.clear();
  m_bytes = 0;
}

bool CellDecoder::finish()
{
  decodeBatch();
  return m_ok;
}
