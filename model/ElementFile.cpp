#include "model/ElementFile.h"

#include "core/SaveFile.h"
#include "model/FileErrors.h"
#include "model/StreamImage.h"
#include "ops/CropTransparent.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace {

uint32_t loadSerial = 0;

QString fileName(const std::string& path)
{
  return QString::fromStdString(path);
}

std::string damaged(const std::string& path)
{
  return "Ce fichier est endommagé :<br />" + path + ".<br />Il est impossible de l'ouvrir.";
}

struct CutCell
{
  QPoint offset;
  QImage image;
};

// Cuts one sheet into its cells, each cropped and centred in the cells of the
// largest sheet (the wider margin goes right or down when the difference is odd).
std::vector<CutCell> cutSheet(const QImage& source, int columns, int cells, const QSize& largest)
{
  const QImage sheet = source.format() == QImage::Format_ARGB32 ? source : source.convertToFormat(QImage::Format_ARGB32);
  const int w0 = largest.width() / columns, h0 = largest.height() / 4;
  const int w = sheet.width() / columns, h = sheet.height() / 4;
  std::vector<CutCell> out;
  for (int j = 0; j < cells; ++j) {
    QImage cell = sheet.copy((j % columns) * w, (j / columns) * h, w, h);
    QPoint shift;
    cropTransparent(cell, shift);
    out.push_back(CutCell{QPoint(shift.x() + (w0 - w) / 2, shift.y() + (h0 - h) / 2), cell});
  }
  return out;
}

// Header then the cells, through a save file so that a failed write never
// replaces the old file.
int writeElementFile(const QString& path, const QSize& size, qint8 count, qint8 marker, qint8 layout,
                     const std::vector<std::vector<CutCell>>& elements)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return file.error() != QFileDevice::NoError ? file.error() : QFileDevice::OpenError;
  const char version = 0;
  file.write(&version, 1);
  QDataStream out(&file);
  out.setVersion(QDataStream::Qt_4_5);
  out << size << count << marker << layout;
  bool encoded = true;
  for (const auto& element : elements)
    for (const CutCell& cell : element) {
      out << cell.offset;
      encoded = encoded && writeStreamImage(out, cell.image);
    }
  if (!encoded || out.status() != QDataStream::Ok || file.error() != QFileDevice::NoError) {
    file.cancelWriting();
    return QFileDevice::WriteError;
  }
  if (!commitSaveFile(file))
    return file.error() != QFileDevice::NoError ? file.error() : QFileDevice::WriteError;
  return QFileDevice::NoError;
}

} // namespace

uint32_t elementFileLoadSerial()
{
  return loadSerial;
}

int saveElementFile(const char* path, const std::vector<QImage>& sheets, char marker, char layout)
{
  // The count is one signed byte, and the reader refuses what it cannot size.
  if (sheets.empty() || sheets.size() > 127 || (layout != XP && layout != VX) || marker < 0 ||
      static_cast<std::size_t>(marker) > sheets.size())
    return QFileDevice::WriteError;

  QSize largest = sheets.front().size();
  for (const QImage& s : sheets)
    largest = largest.expandedTo(s.size());
  const int columns = layout == XP ? 4 : 3;
  const int cells = layout == XP ? 16 : 12;
  std::vector<std::vector<CutCell>> elements;
  for (const QImage& s : sheets)
    elements.push_back(cutSheet(s, columns, cells, largest));
  return writeElementFile(QString::fromStdString(path ? std::string(path) : std::string()), largest,
                          static_cast<qint8>(sheets.size()), static_cast<qint8>(marker), static_cast<qint8>(layout),
                          elements);
}

std::optional<std::array<CharacterData, 2>> loadElementFile(const std::string& path, std::string& errorMessage)
{
  QFile file(fileName(path));
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
    errorMessage = "Impossible d'ouvrir " + path + " car il a été enregistré par une version plus récente de Sorvel Kit.";
    return std::nullopt;
  }
  const uint32_t serial = loadSerial++;

  QDataStream in(&file);
  in.setVersion(QDataStream::Qt_4_5);
  QSize size;
  qint8 count = 0, marker = 0, layout = 0;
  in >> size >> count >> marker >> layout;
  if (in.status() != QDataStream::Ok || count < 0 || marker < 0 || marker > count || (layout != XP && layout != VX) ||
      size.width() < 0 || size.height() < 0 || size.width() > kMaxSheetSide || size.height() > kMaxSheetSide) {
    errorMessage = damaged(path);
    return std::nullopt;
  }

  std::array<CharacterData, 2> groups{CharacterData(layout, size), CharacterData(layout, size)};
  const int cells = layout == XP ? 16 : 12;
  for (int i = 0; i < count; ++i) {
    std::vector<QImage> images(cells);
    std::vector<QPoint> offsets(cells);
    for (int c = 0; c < cells; ++c) {
      in >> offsets[c];
      if (in.status() != QDataStream::Ok || !readStreamImage(in, images[c])) {
        errorMessage = damaged(path);
        return std::nullopt;
      }
    }
    CharacterData& doc = groups[i < marker ? 0 : 1];
    doc.images().push_back(std::move(images));
    doc.offsets().push_back(std::move(offsets));
    doc.names().push_back("Element " + std::to_string(i));
    doc.sources().push_back(path + "?" + std::to_string(i) + "_" + std::to_string(serial));
    doc.visibility().push_back(true);
  }
  return groups;
}

QImage elementFilePreviewImage(const std::string& path)
{
  std::string error;
  auto groups = loadElementFile(path, error);
  if (!groups || !error.empty())
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
  std::vector<std::vector<CutCell>> elements;
  for (const CharacterData* doc : {&(*groups)[0], &(*groups)[1]})
    for (int e = 0; e < doc->elementCount(); ++e) {
      std::vector<CutCell> cells;
      for (std::size_t c = 0; c < doc->images(e).size(); ++c)
        cells.push_back(CutCell{doc->offset(e, c), doc->image(e, c)});
      elements.push_back(std::move(cells));
    }
  writeElementFile(fileName(path), below.size(), static_cast<qint8>(elements.size()),
                   static_cast<qint8>(below.elementCount()), static_cast<qint8>(below.type()), elements);
}
