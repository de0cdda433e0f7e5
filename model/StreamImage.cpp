#include "model/StreamImage.h"

#include "core/ImageUtils.h"
#include "core/PngChunkHead.h"
#include "core/SaveFile.h"
#include "model/CharacterData.h"
#include "model/FileErrors.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>
#include <QtConcurrent/QtConcurrentMap>

#include <zlib.h>

#include <atomic>
#include <cstring>
#include <exception>
#include <utility>

namespace {

quint32 bigEndian32(const char* bytes)
{
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
}

bool fitsSide(qint64 side)
{
  return side >= 0 && side <= kMaxSheetSide;
}

// What the header chunk of a cell declares.
struct PngHeader
{
  qint64 width = 0;
  qint64 height = 0;
  int depth = 0;
  int colourType = 0;
  bool interlaced = false;
};

// The header chunk's data, at the start of bytes; false for a combination of
// depth and colour type that no PNG file has.
bool parseHeader(const char* bytes, PngHeader& header)
{
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  header.width = bigEndian32(bytes);
  header.height = bigEndian32(bytes + 4);
  header.depth = b[8];
  header.colourType = b[9];
  header.interlaced = b[12] != 0;
  const int d = header.depth;
  switch (header.colourType) {
  case 0: return d == 1 || d == 2 || d == 4 || d == 8 || d == 16;
  case 3: return d == 1 || d == 2 || d == 4 || d == 8;
  case 2: case 4: case 6: return d == 8 || d == 16;
  default: return false;
  }
}

int channels(int colourType)
{
  return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
}

// The filtered rows that the compressed data inflates to: a filter byte and
// the packed pixels per row, and per row of each of the seven passes of an
// interlaced file.
qint64 filteredBytes(const PngHeader& header)
{
  const qint64 bits = qint64(channels(header.colourType)) * header.depth;
  const auto rows = [bits](qint64 width, qint64 height) {
    return width > 0 && height > 0 ? height * (1 + (width * bits + 7) / 8) : 0;
  };
  if (!header.interlaced)
    return rows(header.width, header.height);
  static const int x0[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
  static const int y0[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
  qint64 total = 0;
  for (int p = 0; p < 7; ++p)
    total += rows((header.width - x0[p] + dx[p] - 1) / dx[p], (header.height - y0[p] + dy[p] - 1) / dy[p]);
  return total;
}

// Room for the chunks the reader keeps beside the image data: the palette
// (768 bytes at most), the transparency chunk (256) and the end chunk, with
// their heads, and a few more heads where a file breaks its image data with
// one of them.
constexpr qint64 kOtherChunkBytes = 4096;

// The most bytes the reader keeps of a PNG file of that header: the
// signature, the header chunk, the image data joined into one chunk, and the
// other chunks it keeps. Deflate stores what it cannot compress in blocks of
// 5 bytes of overhead each, and its fixed codes spend at most 9 bits a byte:
// an eighth more than the filtered rows covers an encoder that keeps to fixed
// codes.
qint64 largestPng(const PngHeader& header)
{
  const qint64 rows = filteredBytes(header);
  return 8 + 25 + 12 + rows + rows / 8 + 5 * (rows / 16384 + 1) + 64 + kOtherChunkBytes;
}

// What decodeCellPng holds at once per pixel: 16-bit files decode at 8 bytes
// a pixel beside their 4-byte result, grey and palette files at one byte or
// less beside it, and the others straight to 4 bytes or converted in place.
qint64 decodingBytesPerPixel(const PngHeader& header)
{
  if (header.depth == 16)
    return 12;
  return header.colourType == 0 || header.colourType == 3 ? 5 : 4;
}

} // namespace

void allowLargestImages()
{
  constexpr qint64 largest = qint64(kMaxSheetSide) * kMaxSheetSide * 4;
  QImageReader::setAllocationLimit(static_cast<int>(largest >> 20));
}

bool CellBudget::take(qint64 width, qint64 height, qint64 bytesPerPixel)
{
  if (!fitsSide(width) || !fitsSide(height))
    return false;
  const qint64 bytes = width * height * bytesPerPixel;
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
  // A cell keeps its pixels only: the text, colour profile and offset of the
  // picture it was cut from would be written again in every cell. The same
  // pixels are wrapped, not copied; the colour table is part of them, and the
  // resolution keeps the bytes of an image without metadata as they were.
  QImage plain(image.constBits(), image.width(), image.height(), image.bytesPerLine(), image.format());
  plain.setColorTable(image.colorTable());
  plain.setDotsPerMeterX(image.dotsPerMeterX());
  plain.setDotsPerMeterY(image.dotsPerMeterY());
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

QImage decodeCellPng(const QByteArray& png, const std::function<bool()>& stop)
{
  QBuffer buffer;
  buffer.setData(png);
  buffer.open(QIODevice::ReadOnly);
  QImage image = readPicture(buffer, "png", stop);
  // Moved, the conversion reuses the pixels where it can (a file without
  // alpha) instead of holding a second copy.
  if (!image.isNull() && image.format() != QImage::Format_ARGB32)
    image = std::move(image).convertToFormat(QImage::Format_ARGB32);
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
    // An allocation that fails in a job fails that job, not the program.
    try {
      if (!job(i))
        ok = false;
    } catch (const std::exception&) {
      ok = false;
    }
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

// Reads exactly n bytes of the device, which ends at end, into out from at
// on, so that out ends after them; false, allocating nothing, when the device
// has fewer left.
bool readInto(QIODevice& device, qint64 end, qint64 n, QByteArray& out, qsizetype at)
{
  if (n > end - device.pos())
    return false;
  out.resize(at + static_cast<qsizetype>(n));
  return device.read(out.data() + at, n) == n;
}

// Reads exactly n bytes of the device, which ends at end, into out.
bool readExactly(QIODevice& device, qint64 end, char* out, qint64 n)
{
  return n <= end - device.pos() && device.read(out, n) == n;
}

} // namespace

bool readStreamImage(QIODevice& device, QByteArray& png, CellBudget& budget)
{
  png.clear();
  const qint64 end = device.size();
  char marker[4];
  if (!readExactly(device, end, marker, 4))
    return false;
  if (bigEndian32(marker) == 0)
    return true;
  // The header chunk comes first and gives the decoded size: a cell that
  // would pass the bounds is refused before any pixel is allocated, and a
  // chunk longer than such a picture can need before it is read.
  constexpr qint64 kHeaderChunk = 8 + 13 + 4;
  PngHeader header;
  if (!readInto(device, end, 8 + kHeaderChunk, png, 0) || std::memcmp(png.constData(), kPngSignature, 8) != 0 ||
      bigEndian32(png.constData() + 8) != 13 || std::memcmp(png.constData() + 12, "IHDR", 4) != 0 ||
      !parseHeader(png.constData() + 16, header) ||
      !budget.take(header.width, header.height, decodingBytesPerPixel(header))) {
    png.clear();
    return false;
  }
  const qint64 largest = largestPng(header);
  const auto refuse = [&png] {
    png.clear();
    return false;
  };
  // Consecutive image data chunks are joined into one as they are read, so
  // that their heads cost nothing: joined is where its head sits in png (-1
  // while the last chunk kept is another), joinedCrc the checksum of its type
  // and data so far. png ends with the last part's checksum, which the next
  // part's data overwrites and the joined chunk's replaces. A part's checksum
  // is its type's, shifted past its data, with its data's: the shift and the
  // step that appends a part to the joined checksum depend only on the
  // part's length, so they are kept while the parts are as long.
  const uLong typeCrc = crc32(0, reinterpret_cast<const Bytef*>("IDAT"), 4);
  qsizetype joined = -1;
  uLong joinedCrc = typeCrc;
  uLong append = 0, shiftedTypeCrc = 0;
  qint64 partLength = -1;
  for (;;) {
    char bytes[8];
    if (!readExactly(device, end, bytes, 8))
      return refuse();
    const PngChunkHead chunk = PngChunkHead::at(bytes);
    if (!chunk.valid)
      return refuse();
    const qint64 rest = qint64(chunk.length) + 4; // the data and the checksum
    if (chunk.leavesPixels()) {
      if (rest > end - device.pos() || !device.seek(device.pos() + rest))
        return refuse();
      continue;
    }
    if (chunk.is("IDAT")) {
      if (joined < 0) {
        joined = png.size();
        png.append(bytes, 8);
        png.append(4, '\0');
        joinedCrc = typeCrc;
      }
      // Each part's checksum is checked as the decoder would have, since the
      // joined chunk's is computed anew.
      const qsizetype data = png.size() - 4;
      if (rest > largest - data || data + chunk.length - joined - 8 > PngChunkHead::kMaxLength ||
          !readInto(device, end, rest, png, data))
        return refuse();
      if (partLength != chunk.length) {
        partLength = chunk.length;
        append = crc32_combine_gen(partLength);
        shiftedTypeCrc = crc32_combine_op(typeCrc, 0, append);
      }
      const uLong partCrc = crc32_z(0, reinterpret_cast<const Bytef*>(png.constData() + data), chunk.length);
      if ((shiftedTypeCrc ^ partCrc) != bigEndian32(png.constData() + data + chunk.length))
        return refuse();
      joinedCrc = crc32_combine_op(joinedCrc, partCrc, append);
      continue;
    }
    if (joined >= 0) {
      qToBigEndian(static_cast<quint32>(png.size() - joined - 12), png.data() + joined);
      qToBigEndian(static_cast<quint32>(joinedCrc), png.data() + png.size() - 4);
      joined = -1;
    }
    png.append(bytes, 8);
    if (rest > largest - png.size() || !readInto(device, end, rest, png, png.size()))
      return refuse();
    if (chunk.is("IEND"))
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
           *m_cells[i] = decodeCellPng(m_pngs[i], m_stop);
           return !m_cells[i]->isNull();
         }) && m_ok;
  m_pngs.clear();
  m_cells.clear();
  m_bytes = 0;
}

bool CellDecoder::finish()
{
  decodeBatch();
  return m_ok && !(m_stop && m_stop());
}
