#include "model/CharacterData.h"
#include "core/SaveFile.h"
#include "model/FileErrors.h"
#include "model/StreamImage.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <exception>

namespace {

QString fileNameOf(const std::string& path)
{
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

// Cells per element for a header type byte.
int cellsForType(int type)
{
  return type == XP ? 16 : 12;
}

bool fitsInt16(int value)
{
  return value >= -32768 && value <= 32767;
}

// The first character of text that Latin-1 has no byte for, or an empty
// string.
QString beyondLatin1(const QString& text)
{
  for (uint c : text.toUcs4())
    if (c > 0xFF) {
      const char32_t character = c;
      return QString::fromUcs4(&character, 1);
    }
  return QString();
}

// Whether the file can hold the document without losing any of it: the count
// byte stops at 255, the reader expects one entry per element in every list
// and one image and offset per cell and refuses a sheet past kMaxSheetSide,
// and version 0 keeps 16 bits of each size and offset and one line of
// Latin-1 text for each name and source. When it cannot, why says so if the
// user can mend it.
bool formatHolds(const CharacterData& doc, unsigned char version, QString& why)
{
  const int n = doc.elementCount();
  if (n > 255)
    return false;
  if (version > 1)
    return true;
  if (doc.type() != XP && doc.type() != VX)
    return false;
  if (!isSheetSize(doc.size())) {
    why = cellSideReason();
    return false;
  }
  const size_t count = static_cast<size_t>(n);
  if (doc.names().size() != count || doc.sources().size() != count || doc.visibility().size() != count
      || doc.offsets().size() != count)
    return false;
  const size_t cells = static_cast<size_t>(doc.cellCount());
  for (int e = 0; e < n; ++e)
    if (doc.images(e).size() != cells || doc.offsets(e).size() != cells)
      return false;
  if (version == 1)
    return true;
  if (!fitsInt16(doc.size().width()) || !fitsInt16(doc.size().height()))
    return false;
  // Each name and source is one line: a line break inside one would shift
  // every later entry on reading.
  const auto oneLine = [](const std::string& text) { return text.find('\n') == std::string::npos; };
  if (!std::all_of(doc.names().begin(), doc.names().end(), oneLine)
      || !std::all_of(doc.sources().begin(), doc.sources().end(), oneLine))
    return false;
  for (const std::vector<std::string>* texts : {&doc.names(), &doc.sources()})
    for (const std::string& utf8 : *texts) {
      const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
      if (const QString character = beyondLatin1(text); !character.isEmpty()) {
        why = latin1Reason(character, text);
        return false;
      }
    }
  // The reader's bounds, so that every file written opens again.
  CellBudget budget;
  for (int e = 0; e < n; ++e) {
    for (const QImage& image : doc.images(e))
      if (!image.isNull() && !budget.take(image.width(), image.height()))
        return false;
    for (const QPoint& p : doc.offsets(e))
      if (!fitsInt16(p.x()) || !fitsInt16(p.y()))
        return false;
  }
  return true;
}

// ---- version 0: raw little-endian fields, Latin-1 text

// formatHolds lets only text that Latin-1 holds through.
QByteArray latin1Line(const std::string& text)
{
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLatin1() + '\n';
}

void writeRaw(QDataStream& out, const QByteArray& bytes)
{
  out.writeRawData(bytes.constData(), static_cast<int>(bytes.size()));
}

// Column-major, four bytes red, green, blue, alpha per pixel.
QByteArray columnMajorPixels(const QImage& source)
{
  const QImage image = source.format() == QImage::Format_ARGB32 ? source : source.convertToFormat(QImage::Format_ARGB32);
  const int w = image.width(), h = image.height();
  QByteArray bytes(qsizetype(w) * h * 4, Qt::Uninitialized);
  auto* out = reinterpret_cast<unsigned char*>(bytes.data());
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb word = row[x];
      unsigned char* p = out + (qsizetype(x) * h + y) * 4;
      p[0] = static_cast<unsigned char>(word >> 16);
      p[1] = static_cast<unsigned char>(word >> 8);
      p[2] = static_cast<unsigned char>(word);
      p[3] = static_cast<unsigned char>(word >> 24);
    }
  }
  return bytes;
}

void writeVersion0(QDataStream& out, const CharacterData& doc)
{
  out.setByteOrder(QDataStream::LittleEndian);
  out << qint16(doc.size().width()) << qint16(doc.size().height());
  out << quint8(doc.isGridShown() ? 1 : 0) << quint8(doc.drawsBeyondBorders() ? 1 : 0)
      << quint8(doc.isOnlySelection() ? 1 : 0);
  out << doc.zoom();
  const int n = doc.elementCount();
  for (int e = 0; e < n; ++e)
    writeRaw(out, latin1Line(doc.source(e)));
  for (int e = 0; e < n; ++e)
    writeRaw(out, latin1Line(doc.name(e)));
  for (int e = 0; e < n; ++e)
    out << quint8(doc.isVisible(e) ? 1 : 0);
  for (int e = 0; e < n; ++e)
    for (const QPoint& p : doc.offsets(e))
      out << qint16(p.x()) << qint16(p.y());
  for (int e = 0; e < n; ++e)
    for (const QImage& image : doc.images(e)) {
      out << qint16(image.width()) << qint16(image.height());
      if (!image.isNull())
        writeRaw(out, columnMajorPixels(image));
    }
}

qint64 bytesLeft(const QFile& file)
{
  return file.size() - file.pos();
}

// No name or source the editor writes comes near this; a longer line is a
// damaged file, not one to gather in memory byte by byte.
constexpr qsizetype kMaxLineBytes = 65536;

// One line-feed-terminated line, the feed dropped; false at the end of the
// file or past kMaxLineBytes.
bool readLatin1Line(QFile& file, std::string& text)
{
  QByteArray bytes;
  char c = 0;
  for (;;) {
    if (bytes.size() > kMaxLineBytes || !file.getChar(&c))
      return false;
    if (c == '\n')
      break;
    bytes.append(c);
  }
  text = QString::fromLatin1(bytes).toUtf8().toStdString();
  return true;
}

// Column-major pixels are read this many bytes at a time at most (whole
// columns, at least one): a cell costs itself, not a raw copy beside it.
constexpr qint64 kColumnBlockBytes = qint64(1) << 20;

// The sizes of the cells that start at the file's position, each followed
// by its pixels, which are skipped: every cell is checked against the bytes
// left and charged to the file's budget before any pixel is read. The file
// is back at that position afterwards.
bool chargeVersion0Cells(QFile& file, QDataStream& in, int cells)
{
  const qint64 start = file.pos();
  CellBudget budget;
  for (int i = 0; i < cells; ++i) {
    qint16 w = 0, h = 0;
    in >> w >> h;
    if (in.status() != QDataStream::Ok)
      return false;
    const qint64 length = w > 0 && h > 0 ? qint64(w) * h * 4 : 0;
    if (length > 0 && (length > bytesLeft(file) || !budget.take(w, h) || !file.seek(file.pos() + length)))
      return false;
  }
  return file.seek(start);
}

// A cell image: its 16-bit size, then its pixels, read a few columns at a
// time. Sizes of 0 or less give a null image. chargeVersion0Cells checked the
// size first.
bool readVersion0Image(QDataStream& in, QImage& image)
{
  qint16 w = 0, h = 0;
  in >> w >> h;
  if (in.status() != QDataStream::Ok)
    return false;
  image = QImage();
  if (w <= 0 || h <= 0)
    return true;
  const qint64 column = qint64(h) * 4;
  QImage cell(w, h, QImage::Format_ARGB32);
  if (cell.isNull())
    return false;
  const int block = static_cast<int>(std::clamp<qint64>(kColumnBlockBytes / column, 1, w));
  QByteArray bytes(static_cast<qsizetype>(column * block), Qt::Uninitialized);
  const auto* pixels = reinterpret_cast<const unsigned char*>(bytes.constData());
  for (int left = 0; left < w; left += block) {
    const int n = std::min(block, w - left);
    if (in.readRawData(bytes.data(), static_cast<int>(column * n)) != column * n)
      return false;
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<QRgb*>(cell.scanLine(y)) + left;
      for (int x = 0; x < n; ++x) {
        const unsigned char* p = pixels + (qint64(x) * h + y) * 4;
        row[x] = (QRgb(p[3]) << 24) | (QRgb(p[0]) << 16) | (QRgb(p[1]) << 8) | QRgb(p[2]);
      }
    }
  }
  image = cell;
  return true;
}

bool readVersion0(QFile& file, QDataStream& in, CharacterData& doc)
{
  in.setByteOrder(QDataStream::LittleEndian);
  qint16 w = 0, h = 0;
  quint8 grid = 0, beyond = 0, only = 0;
  double zoom = 0;
  in >> w >> h >> grid >> beyond >> only >> zoom;
  if (in.status() != QDataStream::Ok || !isSheetSize(QSize(w, h)))
    return false;
  doc.setSize(QSize(w, h), false);
  doc.setGridShown(grid != 0);
  doc.setDrawBeyondBorders(beyond != 0);
  doc.setOnlySelection(only != 0);
  doc.setZoom(std::isfinite(zoom) ? std::clamp(zoom, CharacterData::kMinZoom, CharacterData::kMaxZoom) : 1.0);
  const int n = doc.elementCount();
  for (int e = 0; e < n; ++e)
    if (!readLatin1Line(file, doc.source(e)))
      return false;
  for (int e = 0; e < n; ++e) {
    std::string name;
    if (!readLatin1Line(file, name))
      return false;
    doc.setName(name, e);
  }
  for (int e = 0; e < n; ++e) {
    quint8 visible = 0;
    in >> visible;
    doc.setVisible(visible != 0, e);
  }
  for (int e = 0; e < n; ++e)
    for (QPoint& p : doc.offsets(e)) {
      qint16 x = 0, y = 0;
      in >> x >> y;
      p = clampedOffset(QPoint(x, y));
    }
  if (in.status() != QDataStream::Ok || !chargeVersion0Cells(file, in, n * doc.cellCount()))
    return false;
  for (int e = 0; e < n; ++e)
    for (QImage& image : doc.images(e))
      if (!readVersion0Image(in, image))
        return false;
  return true;
}

// ---- version 1: data stream of Qt 4.5, UTF-8 text as QString

void writeText(QDataStream& out, const std::string& text)
{
  // An empty text is an empty QString (length 0), never a null one.
  if (text.empty())
    out << quint32(0);
  else
    out << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string readText(QDataStream& in)
{
  QString text;
  in >> text;
  return text.toUtf8().toStdString();
}

// The PNG file of every cell, element by element; false when one cannot be
// encoded. Cells are encoded side by side: the bytes are the same as one by
// one, and the stream still writes them in order.
bool encodeCells(const CharacterData& doc, std::vector<QByteArray>& pngs, QString* reason)
{
  std::vector<const QImage*> cells;
  for (int e = 0; e < doc.elementCount(); ++e)
    for (const QImage& image : doc.images(e))
      cells.push_back(&image);
  return encodeCellPngs(cells, pngs, reason);
}

void writeVersion1(QDataStream& out, const CharacterData& doc, const std::vector<QByteArray>& pngs)
{
  out.setVersion(QDataStream::Qt_4_5);
  out << doc.size() << qint32(doc.backgroundPixel());
  const int n = doc.elementCount();
  for (int e = 0; e < n; ++e)
    writeText(out, doc.source(e));
  for (int e = 0; e < n; ++e)
    writeText(out, doc.name(e));
  for (int e = 0; e < n; ++e)
    out << bool(doc.isVisible(e));
  for (int e = 0; e < n; ++e)
    for (const QPoint& p : doc.offsets(e))
      out << p;
  for (const QByteArray& png : pngs)
    writeStreamImageBytes(out, png);
}

bool readVersion1(QDataStream& in, CharacterData& doc)
{
  in.setVersion(QDataStream::Qt_4_5);
  QSize size;
  qint32 background = 0;
  in >> size >> background;
  if (in.status() != QDataStream::Ok || !isSheetSize(size))
    return false;
  doc.setSize(size, false);
  doc.setBackgroundPixel(background);
  const int n = doc.elementCount();
  for (int e = 0; e < n; ++e)
    doc.setSource(readText(in), e);
  for (int e = 0; e < n; ++e)
    doc.setName(readText(in), e);
  for (int e = 0; e < n; ++e) {
    bool visible = false;
    in >> visible;
    doc.setVisible(visible, e);
  }
  for (int e = 0; e < n; ++e)
    for (QPoint& p : doc.offsets(e)) {
      in >> p;
      p = clampedOffset(p);
    }
  if (in.status() != QDataStream::Ok)
    return false;
  // Each cell's PNG file is read from the file in stream order; the decoder
  // turns them into the cells a batch at a time.
  CellDecoder decoder;
  CellBudget budget;
  QByteArray png;
  for (int e = 0; e < n; ++e)
    for (QImage& image : doc.images(e)) {
      if (!readStreamImage(*in.device(), png, budget)) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
      }
      decoder.add(png, &image);
    }
  return decoder.finish() && in.status() == QDataStream::Ok;
}

} // namespace

bool CharacterData::saveProjectFile(const std::string& fileName, unsigned char version, QString* reason)
{
  std::vector<QByteArray> pngs;
  QString why = formatReason();
  if (!formatHolds(*this, version, why) || (version == 1 && !encodeCells(*this, pngs, &why))) {
    m_errorMessage = saveErrorMessage(fileName);
    if (reason)
      *reason = why;
    return false;
  }
  // Written beside the old file and renamed over it only once complete.
  QSaveFile file(fileNameOf(fileName));
  if (!file.open(QIODevice::WriteOnly)) {
    m_errorMessage = openErrorMessage(file, true, fileName);
    if (reason)
      *reason = file.errorString();
    return false;
  }
  QDataStream out(&file);
  errno = 0;
  out << quint8(version) << quint8(m_type & 0xFF) << quint8(elementCount() & 0xFF);
  if (version == 0)
    writeVersion0(out, *this);
  else if (version == 1)
    writeVersion1(out, *this, pngs);
  if (out.status() != QDataStream::Ok || !commitSaveFile(file, reason)) {
    if (reason && out.status() != QDataStream::Ok)
      *reason = writeReason(file);
    file.cancelWriting();
    m_errorMessage = saveErrorMessage(fileName);
    return false;
  }
  return true;
}

bool CharacterData::loadProjectFile(const std::string& path, unsigned char* version)
{
  QFile file(fileNameOf(path));
  if (isSpecialFile(file.fileName())) {
    m_errorMessage = cannotOpenMessage(path);
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    m_errorMessage = openErrorMessage(file, false, path);
    return false;
  }
  QDataStream in(&file);
  quint8 v = 0, t = 0, n = 0;
  in >> v >> t >> n;
  if (in.status() != QDataStream::Ok) {
    m_errorMessage = damagedFileMessage(path);
    return false;
  }
  if (version)
    *version = v;

  m_type = t;
  const int cells = cellsForType(t);
  m_names.assign(n, std::string());
  m_sources.assign(n, std::string());
  m_visible.assign(n, false);
  m_images.assign(n, std::vector<QImage>(cells));
  m_offsets.assign(n, std::vector<QPoint>(cells, QPoint(0, 0)));

  if (v > 1) {
    m_errorMessage = escapedPath(path) + " a été enregistré avec une version de Sorvel Kit plus récente.";
    return false;
  }
  bool read = false;
  try {
    read = (t == XP || t == VX) && (v == 0 ? readVersion0(file, in, *this) : readVersion1(in, *this));
  } catch (const std::exception&) {
    // A cell that cannot be allocated refuses the file, as a damaged one.
    read = false;
  }
  if (!read || in.status() != QDataStream::Ok) {
    m_errorMessage = damagedFileMessage(path);
    return false;
  }
  file.close();
  return true;
}
