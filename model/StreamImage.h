#pragma once
#include <QByteArray>
#include <QImage>

#include <functional>
#include <utility>
#include <vector>

class QDataStream;
class QIODevice;
class QString;

// Cell images in the data-stream encoding of stream version Qt_4_5: a 32-bit
// marker, 0 for a null image and 1 otherwise, then for a non-null image the
// image as a PNG file. The PNG encoding and decoding are kept apart from the
// stream so that many cells can be converted at once, while the stream itself
// is still written and read in order.

// The one bound that the writers and the readers share, so that every saved
// file opens again: each side of a cell at most kMaxSheetSide, and the
// decoding of the cells of one file at most kDecodeBudget bytes in all. A
// cell is charged the most memory its decoding holds at once: 4 bytes a
// pixel for what the writers write, more for PNG files that decode to
// another format first.
class CellBudget
{
public:
  static constexpr qint64 kDecodeBudget = qint64(2) << 30;

  // Counts a cell of that size; false, counting nothing, when it would pass
  // either bound.
  bool take(qint64 width, qint64 height, qint64 bytesPerPixel = 4);

private:
  qint64 m_used = 0;
};

// The toolkit's reader refuses images above its own allocation limit (128 MiB
// unless told otherwise), which would refuse cells that the writer saved and
// tall merged tilesets: this raises it to the largest cell the side bound
// lets through. Start-up calls it once, before any window or worker reads.
void allowLargestImages();

// The PNG file of a cell, exactly as the stream operator of QImage writes an
// image of the same pixels, colour table and resolution without any other
// metadata; an empty array for a null image. False when a non-null image
// cannot be encoded or passes the side bound.
bool encodeCellPng(const QImage& image, QByteArray& png);

// The PNG file of encodeCellPng written through a save file, so that a
// failed write leaves any older file whole; false when nothing was written
// (a null image included).
bool writePng(const QString& path, const QImage& image);

// The image of a PNG file in Format_ARGB32 with its pixel words unchanged; a
// null image when the bytes do not decode, or once stop() turns true.
QImage decodeCellPng(const QByteArray& png, const std::function<bool()>& stop = {});

// encodeCellPng for many cells at once, on all cores. pngs[i] belongs to
// cells[i]; an empty png stands for a null image. False when any cell fails,
// or when the cells together pass the decoding budget; reason then says which.
bool encodeCellPngs(const std::vector<const QImage*>& cells, std::vector<QByteArray>& pngs,
                    QString* reason = nullptr);

// Writes the marker and the PNG file made by encodeCellPng.
void writeStreamImageBytes(QDataStream& out, const QByteArray& png);

// Reads one marker and, for a non-null image, the PNG file up to the end of
// its IEND chunk, from the device at its position, which moves past the
// image; png stays empty for a null image. png keeps only what the decoder
// turns into pixels: the ancillary chunks but the transparency one are
// skipped unread, and consecutive image data chunks are joined into one,
// each part's checksum checked. The header chunk's decoding cost is charged
// to budget before anything is decoded, and every chunk is checked, before it
// is read or skipped, against the bytes the device has left; what is kept,
// against the most that a PNG file of that header needs. False on a
// truncated or malformed image, or one over budget. A failed allocation
// throws std::bad_alloc: the file readers catch it.
bool readStreamImage(QIODevice& device, QByteArray& png, CellBudget& budget);


// Decodes cells on all cores a batch at a time while their PNG files are
// read: reading a file costs its decoded cells and a few megabytes of PNG
// files, never its whole size. Each cell is set by the time finish returns.
// The budget that readStreamImage charged bounds the cells decoded at once,
// as it bounds all of them.
class CellDecoder
{
public:
  // Once stop() turns true the cells left are not decoded and finish fails.
  explicit CellDecoder(std::function<bool()> stop = {}) : m_stop(std::move(stop)) {}
  // An empty png stands for a null image.
  void add(const QByteArray& png, QImage* cell);
  // Decodes what is left; false when any cell failed to decode.
  bool finish();

private:
  static constexpr qsizetype kBatchBytes = qsizetype(8) << 20;

  void decodeBatch();

  std::vector<QByteArray> m_pngs;
  std::vector<QImage*> m_cells;
  qsizetype m_bytes = 0;
  bool m_ok = true;
  std::function<bool()> m_stop;
};
