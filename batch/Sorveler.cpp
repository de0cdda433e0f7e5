#include "batch/Sorveler.h"

#include "batch/TilesetDecoding.h"
#include "core/ImageUtils.h"
#include "core/SaveFile.h"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kWidth = 256;
// The PNG writer refuses taller images.
constexpr qint64 kMaxRows = 1000000;

// Only the columns that reach the canvas are kept.
QImage mergedColumns(const QString& path)
{
  // Opened as the user listed it: a pipe is read once its writer is done.
  QFile file(path);
  QImage image = file.open(QIODevice::ReadOnly) ? readPicture(file, QByteArray()) : QImage();
  if (image.width() > kWidth)
    image = image.copy(0, 0, kWidth, image.height());
  return image.isNull() || image.format() == QImage::Format_ARGB32 ? image
                                                                   : image.convertToFormat(QImage::Format_ARGB32);
}

// Through a save file: a failed write leaves an older file, which may be one
// of the inputs, whole.
bool writeTileset(const QString& path, const QImage& canvas)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  QImageWriter writer(&file, "PNG");
  if (!writer.write(canvas)) {
    file.cancelWriting();
    return false;
  }
  return commitSaveFile(file);
}

} // namespace

Sorveler::Sorveler(const QStringList& files, const QString& outputPath, QObject* parent)
  : QThread(parent), files(files), outputPath(outputPath)
{
}

Sorveler::~Sorveler()
{
  wait();
}

void Sorveler::copyBlock(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w, uint h)
{
  if (dst.isNull() || w == 0 || h == 0)
    return;
  if (dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  const QImage in = src.isNull() || src.format() == QImage::Format_ARGB32
                        ? src
                        : src.convertToFormat(QImage::Format_ARGB32);
  const qint64 dstW = dst.width(), dstH = dst.height();
  if (qint64(dx) >= dstW || qint64(dy) >= dstH)
    return;
  const qint64 cols = std::min<qint64>(w, dstW - dx);
  const qint64 rows = std::min<qint64>(h, dstH - dy);
  const qint64 inside = std::clamp<qint64>(qint64(in.width()) - sx, 0, cols);
  for (qint64 y = 0; y < rows; ++y) {
    QRgb* out = reinterpret_cast<QRgb*>(dst.scanLine(int(dy + y))) + dx;
    const qint64 row = qint64(sy) + y;
    qint64 copied = 0;
    if (inside > 0 && row < in.height()) {
      std::memcpy(out, reinterpret_cast<const QRgb*>(in.constScanLine(int(row))) + sx,
                  std::size_t(inside) * sizeof(QRgb));
      copied = inside;
    }
    std::memset(out + copied, 0, std::size_t(cols - copied) * sizeof(QRgb));
  }
}

// The inputs decode in parallel; the progress still names them one by one,
// in list order, as each is taken. A merge the writer would refuse ends
// before any decoding, from the heights the headers give.
void Sorveler::run()
{
  const quint64 n = quint64(files.size());
  qint64 rows = 0;
  for (const QString& path : files)
    rows += std::max(0, TilesetDecoding::headerSize(path).height());
  if (rows > kMaxRows) {
    emit outputFailed();
    emit finishThread(failed);
    return;
  }
  TilesetDecoding decoding(mergedColumns, std::max(4, 2 * QThread::idealThreadCount()));
  decoding.append(files);
  std::vector<QImage> images;
  images.reserve(n);
  for (quint64 i = 0; i < n; ++i) {
    emit changeProgress(uint(i * 20 / n), QStringLiteral("Ouverture de : ") + files[qsizetype(i)]);
    images.push_back(decoding.take());
    if (images.back().isNull())
      failed.append(files[qsizetype(i)]);
  }
  emit changeProgress(20, QStringLiteral("Création du nouveau tileset"));
  const QImage canvas = place(images);
  emit changeProgress(90, QStringLiteral("Enregistrement du tileset"));
  if (canvas.isNull() || !writeTileset(outputPath, canvas))
    emit outputFailed();
  emit finishThread(failed);
}

// No white fill: every row belongs to one tileset, whose copy writes all 256
// columns.
QImage Sorveler::place(std::vector<QImage>& images)
{
  qint64 height = 0;
  for (const QImage& image : images)
    height += image.height();
  QImage canvas;
  if (height > 0 && height <= kMaxRows)
    canvas = QImage(kWidth, int(height), QImage::Format_ARGB32);
  const quint64 n = images.size();
  uint y = 0;
  for (quint64 i = 0; i < n; ++i) {
    emit changeProgress(uint(i * 65 / n + 25), QStringLiteral("Sorvel de : ") + files[qsizetype(i)]);
    const uint h = uint(images[i].height());
    copyBlock(canvas, images[i], 0, y, 0, 0, kWidth, h);
    y += h;
    images[i] = QImage();
  }
  return canvas;
}
