#include "model/ElementFile.h"

#include "core/SaveFile.h"
#include "model/FileErrors.h"
#include "model/StreamImage.h"
#include "core/SheetCut.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>

namespace {

// Advanced by every load, from whichever thread reads.
std::atomic<uint32_t> loadSerial{0};

QString fileName(const std::string& path)
{
  return QString::fromStdString(path);
}

std::string damaged(const std::string& path)
{
  return "Ce fichier est endommagé :<br />" + escapedPath(path) + ".<br />Il est impossible de l'ouvrir.";
}

// Header then the cells of the documents' elements, in order, through a save
// file so that a failed write never replaces the old file. The cells are
// encoded side by side; the stream still writes them in order.
int writeElementFile(const QString& path, const QSize& size, qint8 count, qint8 marker, qint8 layout,
                     const std::vector<const CharacterData*>& docs, QString* reason = nullptr)
{
  std::vector<const QImage*> cells;
  std::vector<QPoint> offsets;
  for (const CharacterData* doc : docs)
    for (int e = 0; e < doc->elementCount(); ++e)
      for (std::size_t c = 0; c < doc->images(e).size(); ++c) {
        cells.push_back(&doc->image(e, c));
        offsets.push_back(doc->offset(e, c));
      }
  // What the reader would refuse is never written.
  std::vector<QByteArray> pngs;
  if (!isSheetSize(size)) {
    if (reason)
      *reason = cellSideReason();
    return QFileDevice::WriteError;
  }
  if (!encodeCellPngs(cells, pngs, reason))
    return QFileDevice::WriteError;

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (reason)
      *reason = file.errorString();
    return file.error() != QFileDevice::NoError ? file.error() : QFileDevice::OpenError;
  }
  const char version = 0;
  errno = 0;
  file.write(&version, 1);
  QDataStream out(&file);
  out.setVersion(QDataStream::Qt_4_5);
  out << size << count << marker << layout;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    out << offsets[i];
    writeStreamImageBytes(out, pngs[i]);
  }
  if (out.status() != QDataStream::Ok || file.error() != QFileDevice::NoError) {
    if (reason)
      *reason = writeReason(file);
    file.cancelWriting();
    return QFileDevice::WriteError;
  }
  if (!commitSaveFile(file, reason))
    return file.error() != QFileDevice::NoError ? file.error() : QFileDevice::WriteError;
  return QFileDevice::NoError;
}

// The elements of a file whose header was read, the first marker of them
// below, the others above; false when a cell is damaged or over the budget.
bool readCells(QFile& file, QDataStream& in, std::array<CharacterData, 2>& groups, int count, int marker,
               const std::string& path, uint32_t serial, const std::function<bool()>& stop)
{
  // Each cell's PNG file is read from the file in order; the decoder turns
  // them into the cells a batch at a time. It holds pointers to the cells
  // until its batch is decoded.
  for (CharacterData& doc : groups) {
    doc.images().reserve(count);
    doc.offsets().reserve(count);
  }
  const int cells = groups[0].type() == XP ? 16 : 12;
  in.setVersion(QDataStream::Qt_4_5);
  CellDecoder decoder(stop);
  CellBudget budget;
  QByteArray png;
  for (int i = 0; i < count; ++i) {
    CharacterData& doc = groups[i < marker ? 0 : 1];
    doc.images().emplace_back(cells);
    doc.offsets().emplace_back(cells);
    for (int c = 0; c < cells; ++c) {
      QPoint& offset = doc.offsets().back()[c];
      in >> offset;
      offset = clampedOffset(offset);
      if (in.status() != QDataStream::Ok || !readStreamImage(file, png, budget))
        return false;
      decoder.add(png, &doc.images().back()[c]);
    }
    doc.names().push_back("Element " + std::to_string(i));
    doc.sources().push_back(path + "?" + std::to_string(i) + "_" + std::to_string(serial));
    doc.visibility().push_back(true);
  }
  return decoder.finish();
}

} // namespace

uint32_t elementFileLoadSerial()
{
  return loadSerial;
}

std::vector<QImage> elementFileSheets(const CharacterData& composition, const std::vector<QImage>& sheetImages,
                                      int& marker)
{
  std::vector<QImage> sheets;
  marker = 0;
  for (int e = 0; e < composition.elementCount(); ++e) {
    const std::string& source = composition.source(e);
    if (source == kPlaceholderSource) {
      marker = e;
      continue;
    }
    bool ok = false;
    const int k = QString::fromStdString(source).toInt(&ok, 10);
    sheets.push_back(ok && k >= 0 && k < static_cast<int>(sheetImages.size()) ? sheetImages[k] : QImage());
  }
  return sheets;
}

int saveElementFile(const char* path, const std::vector<QImage>& sheets, char marker, char layout, QString* reason)
{
  // The count is one signed byte, and the reader refuses what it cannot size.
  if (sheets.empty() || sheets.size() > static_cast<std::size_t>(kMaxElementFileSheets) ||
      (layout != XP && layout != VX) || marker < 0 || static_cast<std::size_t>(marker) > sheets.size() ||
      std::any_of(sheets.begin(), sheets.end(), [](const QImage& s) { return s.isNull(); })) {
    if (reason)
      *reason = formatReason();
    return QFileDevice::WriteError;
  }

  QSize largest = sheets.front().size();
  for (const QImage& s : sheets)
    largest = largest.expandedTo(s.size());
  // The sheets are cut as elements of a document of the largest size: a
  // smaller sheet has its cells centred in the larger cells.
  CharacterData cut(layout, QSize());
  cut.setSize(largest, false);
  for (const QImage& s : sheets) {
    cut.images().emplace_back();
    cut.offsets().emplace_back();
    cutSheet(s, cut.grid(), cut.images().back(), cut.offsets().back());
  }
  return writeElementFile(QString::fromStdString(path ? std::string(path) : std::string()), largest,
                          static_cast<qint8>(sheets.size()), static_cast<qint8>(marker), static_cast<qint8>(layout),
                          {&cut}, reason);
}

std::optional<std::array<CharacterData, 2>> loadElementFile(const std::string& path, std::string& errorMessage,
                                                            const std::function<bool()>& stop)
{
  QFile file(fileName(path));
  if (isSpecialFile(file.fileName())) {
    errorMessage = cannotOpenMessage(path);
    return std::nullopt;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    errorMessage = openErrorMessage(file, false, path);
    return std::nullopt;
  }
  char version = 0;
  if (file.read(&version, 1) != 1) {
    errorMessage = damaged(path);
    return std::nullopt;
  }
  if (static_cast<signed char>(version) >= 1) {
    errorMessage = "Impossible d'ouvrir " + escapedPath(path) + " car il a été enregistré par une version plus récente de Sorvel Kit.";
    return std::nullopt;
  }
  const uint32_t serial = loadSerial++;

  QDataStream in(&file);
  in.setVersion(QDataStream::Qt_4_5);
  QSize size;
  qint8 count = 0, marker = 0, layout = 0;
  in >> size >> count >> marker >> layout;
  if (in.status() != QDataStream::Ok || count < 0 || marker < 0 || marker > count || (layout != XP && layout != VX) ||
      !isSheetSize(size)) {
    errorMessage = damaged(path);
    return std::nullopt;
  }

  std::array<CharacterData, 2> groups{CharacterData(layout, size), CharacterData(layout, size)};
  bool read = false;
  try {
    read = readCells(file, in, groups, count, marker, path, serial, stop);
  } catch (const std::exception&) {
    // A cell that cannot be allocated refuses the file, as a damaged one.
    read = false;
  }
  if (!read) {
    errorMessage = damaged(path);
    return std::nullopt;
  }
  return groups;
}

QImage elementFilePreviewImage(const std::string& path, const std::function<bool()>& superseded)
{
  std::string error;
  auto groups = loadElementFile(path, error, superseded);
  if (!groups || !error.empty() || (superseded && superseded()))
    return QImage();
  (*groups)[0].appendElements((*groups)[1], true);
  return (*groups)[0].flattenImage();
}

QPixmap renderElementFilePreview(const std::string& path)
{
  const QImage image = elementFilePreviewImage(path);
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

void resaveElementFile(const std::string& path)
{
  std::string error;
  auto groups = loadElementFile(path, error);
  if (!groups)
    return;
  const CharacterData& below = (*groups)[0];
  const CharacterData& above = (*groups)[1];
  writeElementFile(fileName(path), below.size(), static_cast<qint8>(below.elementCount() + above.elementCount()),
                   static_cast<qint8>(below.elementCount()), static_cast<qint8>(below.type()), {&below, &above});
}
