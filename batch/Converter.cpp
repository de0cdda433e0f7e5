#include "batch/Converter.h"

#include "batch/KeyedPalette.h"
#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "core/SaveFile.h"
#include "model/StreamImage.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <deque>

namespace {

// The colour the 2003 layout shows as transparent, and the one a genuine
// pixel of that colour becomes so that it stays visible.
constexpr QRgb kKeyColour = 0xFF209C00u;
constexpr QRgb kSubstituteColour = 0xFF209C01u;

// Frame maps: a target column or row takes the source column or row listed.
constexpr int kColumnsToXp[4] = {1, 0, 1, 2};       // from 2003 and from VX
constexpr int kColumnsFromXp[3] = {1, 0, 3};        // to 2003 and to VX
constexpr int kRows2003ToXpVx[4] = {2, 3, 1, 0};
constexpr int kRowsXpVxTo2003[4] = {3, 2, 0, 1};
constexpr int kRowsSame[4] = {0, 1, 2, 3};
constexpr int kStrips2003ToVx[8] = {2, 3, 1, 0, 6, 7, 5, 4};
constexpr int kStripsVxTo2003[8] = {3, 2, 0, 1, 7, 6, 4, 5};

QImage canvas(int w, int h, QImage::Format format, QRgb fill)
{
  if (w <= 0 || h <= 0)
    return QImage();
  QImage image(w, h, format);
  image.fill(fill);
  return image;
}

QImage whiteCanvas(int w, int h) { return canvas(w, h, QImage::Format_ARGB32, 0xFFFFFFFFu); }
QImage clearCanvas(int w, int h) { return canvas(w, h, QImage::Format_ARGB32, 0x00000000u); }
QImage keySheet() { return canvas(288, 256, QImage::Format_RGB32, kKeyColour); }

bool holds32BitWords(const QImage& image)
{
  return image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32;
}

// The clipped walk shared by both block copies. Computed in 64 bits so that
// no offset wraps, and never touching a scan line outside either image.
template <class Pixel>
void walkBlock(QImage& dst, const QImage& source, uint dx, uint dy, uint sx, uint sy, uint w, uint h,
               Pixel pixel)
{
  if (dst.isNull())
    return;
  if (!holds32BitWords(dst))
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  const QImage src = source.isNull() || holds32BitWords(source) ? source
                                                                : source.convertToFormat(QImage::Format_ARGB32);
  const qint64 dstW = dst.width(), dstH = dst.height();
  if (qint64(dx) >= dstW || qint64(dy) >= dstH)
    return;
  const int cols = int(std::min<qint64>(w, dstW - dx));
  const int rows = int(std::min<qint64>(h, dstH - dy));
  const int inside = int(std::clamp<qint64>(qint64(src.width()) - sx, 0, cols));
  for (int y = 0; y < rows; ++y) {
    QRgb* out = reinterpret_cast<QRgb*>(dst.scanLine(int(dy) + y)) + dx;
    const qint64 row = qint64(sy) + y;
    int x = 0;
    if (inside > 0 && row < src.height()) {
      const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(int(row))) + sx;
      for (; x < inside; ++x)
        out[x] = pixel(in[x]);
    }
    for (; x < cols; ++x)
      out[x] = pixel(0u);
  }
}

inline QRgb straight(QRgb v) { return (v >> 24) != 0 ? v : 0u; }

inline QRgb keyed(QRgb v)
{
  if ((v >> 24) == 0)
    return kKeyColour;
  const QRgb rgb = v & 0x00FFFFFFu;
  return rgb == (kKeyColour & 0x00FFFFFFu) ? kSubstituteColour : 0xFF000000u | rgb;
}

// Frame-by-frame copy of one character: the target frame (c, r) at the
// target origin takes the source frame (columns[c], rows[r]) of the source
// block.
void copyFrames(QImage& dst, int tx, int ty, const QImage& src, int bx, int by, int fw, int fh,
                const int* columns, int columnCount, const int* rows, bool keyedCopy)
{
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < columnCount; ++c) {
      const uint dx = uint(tx + c * fw), dy = uint(ty + r * fh);
      const uint sx = uint(bx + columns[c] * fw), sy = uint(by + rows[r] * fh);
      if (keyedCopy)
        Converter::copyBlockKeyed(dst, src, dx, dy, sx, sy, uint(fw), uint(fh));
      else
        Converter::copyBlock(dst, src, dx, dy, sx, sy, uint(fw), uint(fh));
    }
}

// Row strips of the given width: the target strip r at (tx, ty + r * fh)
// takes the source strip strips[r] at the left edge.
void copyStrips(QImage& dst, int tx, int ty, const QImage& src, int width, int fh, const int* strips,
                int count, bool keyedCopy)
{
  for (int r = 0; r < count; ++r) {
    const uint dy = uint(ty + r * fh), sy = uint(strips[r] * fh);
    if (keyedCopy)
      Converter::copyBlockKeyed(dst, src, uint(tx), dy, 0, sy, uint(width), uint(fh));
    else
      Converter::copyBlock(dst, src, uint(tx), dy, 0, sy, uint(width), uint(fh));
  }
}

// Top-left corner of character k (0 to 7) in a file of eight.
QPoint blockOrigin(int k, int fw, int fh) { return QPoint((k % 4) * 3 * fw, k < 4 ? 0 : 4 * fh); }

// The eight XP files of a file of eight 3-column characters (2003 or VX).
void splitEightToXp(std::vector<ConvertedFile>& out, const QString& prefix, const QImage& src,
                    const int* rows, QImage (*makeCanvas)(int, int))
{
  const int fw = src.width() / 12, fh = src.height() / 8;
  for (int k = 0; k < 8; ++k) {
    QImage target = makeCanvas(src.width() / 3, src.height() / 2);
    const QPoint block = blockOrigin(k, fw, fh);
    copyFrames(target, 0, 0, src, block.x(), block.y(), fw, fh, kColumnsToXp, 4, rows, false);
    out.push_back({prefix + QLatin1Char('_') + QString::number(k + 1) + QStringLiteral(".png"), target});
  }
}

QImage scaledTo(const QImage& image, int w, int h)
{
  return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Encodes and writes one output through a save file; false when nothing was
// written. Sheets are brought to 256 colours here, off the worker's thread.
bool writePng(const QString& path, const QImage& image, bool toIndexed8)
{
  const QImage out = toIndexed8 && !image.isNull() ? keyedIndexed8(image, kKeyColour) : image;
  return ::writePng(path, out);
}

// Every save waits for its data to reach the disk, so writes get a pool of
// their own, wider than the cores: their flushes overlap instead of
// queueing behind the decoding.
QThreadPool* writerPool()
{
  static QThreadPool* pool = [] {
    auto* p = new QThreadPool;
    p->setMaxThreadCount(4 * std::max(1, QThread::idealThreadCount()));
    return p;
  }();
  return pool;
}

// Writes outputs on a thread pool while the worker goes on converting, and
// hands the results back in the order the writes were asked for, so that the
// list of failures reads as in a one-by-one run. A write to a path that is
// still being written waits for the earlier one, so the last state of a
// sheet is the one left on disk.
class WriteQueue
{
public:
  void push(const QString& path, const QImage& image, bool toIndexed8)
  {
    QFuture<bool> previous = m_lastWrite.value(path);
    QFuture<bool> write = QtConcurrent::run(writerPool(), [path, image, toIndexed8, previous]() mutable {
      previous.waitForFinished();
      return writePng(path, image, toIndexed8);
    });
    m_lastWrite.insert(path, write);
    m_pending.push_back({path, write});
  }

  // Reports every write that is done, in order, with its outcome; with wait,
  // also those still running, and beyond limit pending writes the oldest ones.
  template <class Outcome>
  void collect(bool wait, Outcome written, std::size_t limit = 0)
  {
    while (!m_pending.empty() && (wait || m_pending.size() > limit || m_pending.front().second.isFinished())) {
      const auto [path, write] = m_pending.front();
      m_pending.pop_front();
      written(path, write.result());
    }
  }

private:
  std::deque<std::pair<QString, QFuture<bool>>> m_pending;
  QHash<QString, QFuture<bool>> m_lastWrite;
};

} // namespace

QString conversionSubFolder(quint8 direction)
{
  switch (direction) {
  case From2003ToXp:
  case FromVxToXp:
    return QStringLiteral("XP_CONVERSIONS");
  case From2003ToVx:
  case FromXpToVx:
    return QStringLiteral("VX_CONVERSIONS");
  default:
    return QStringLiteral("2K3_CONVERSIONS");
  }
}

QString conversionOutputPrefix(const QString& path, quint8 direction)
{
  return Converter::pathDirectory(path) + QLatin1Char('/') + conversionSubFolder(direction) + QLatin1Char('/');
}

QString conversionFolder(const QStringList& files, quint8 sourceKind)
{
  if (files.isEmpty())
    return QString();
  return sourceKind == 0 ? files.first() : Converter::pathDirectory(files.first());
}

QStringList conversionInputs(const QStringList& files, quint8 sourceKind)
{
  if (sourceKind != 0)
    return files;
  QStringList inputs;
  const QString folder = conversionFolder(files, sourceKind);
  const QStringList names = QDir(folder).entryList({QStringLiteral("*.png"), QStringLiteral("*.gif")}, QDir::Files,
                                                   QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names)
    inputs.append(folder + QLatin1Char('/') + name);
  return inputs;
}

bool isSingleVxCharacter(const QString& path, int characterCount)
{
  return characterCount == 1 || (characterCount == 0 && Converter::hasSingleCharacterMark(path));
}

QImage loadConversionInput(const QString& path)
{
  return readArgb32Image(path);
}

std::function<void(const QString& path)> Converter::inputHook;

Converter::Converter(QStringList files, quint8 sourceKind, quint8 direction, QObject* parent,
                     quint8 characterCount)
  : QThread(parent), m_files(std::move(files)), m_sourceKind(sourceKind), m_direction(direction),
    m_characterCount(characterCount)
{
}

Converter::~Converter()
{
  wait();
}

void Converter::copyBlock(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w, uint h)
{
  walkBlock(dst, src, dx, dy, sx, sy, w, h, straight);
}

void Converter::copyBlockKeyed(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w,
                               uint h)
{
  walkBlock(dst, src, dx, dy, sx, sy, w, h, keyed);
}

QImage Converter::alphaMask(const QImage& src)
{
  if (src.isNull())
    return QImage();
  const QImage in = src.format() == QImage::Format_ARGB32 ? src : src.convertToFormat(QImage::Format_ARGB32);
  QImage mask(in.size(), QImage::Format_RGB32);
  for (int y = 0; y < in.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(in.constScanLine(y));
    QRgb* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
    for (int x = 0; x < in.width(); ++x) {
      const QRgb a = line[x] >> 24;
      out[x] = 0xFF000000u | a << 16 | a << 8 | a;
    }
  }
  return mask;
}

QString Converter::pathDirectory(const QString& path)
{
  const int sep = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return sep < 0 ? path : path.left(sep);
}

QString Converter::pathFileName(const QString& path) { return ::pathFileName(path); }

QString Converter::pathBaseName(const QString& path) { return ::pathBaseName(path); }

bool Converter::hasSingleCharacterMark(const QString& path)
{
  const QString name = pathFileName(path);
  return (!name.isEmpty() && name.at(0) == QLatin1Char('$')) || (name.size() > 1 && name.at(1) == QLatin1Char('$'));
}

bool Converter::convertCharacter(const QString& path, quint8 direction)
{
  if (direction == ResetSheets) {
    m_sheets = SheetAccumulator();
    return true;
  }
  const QImage image = loadConversionInput(path);
  if (image.isNull()) {
    m_failedFiles.append(path);
    return false;
  }
  for (const ConvertedFile& file : convertImage(path, image, direction))
    noteWrite(file.path, writePng(file.path, file.image, false));
  return true;
}

std::vector<ConvertedFile> Converter::convertImage(const QString& path, const QImage& src, quint8 direction)
{
  std::vector<ConvertedFile> out;
  const QString prefix = conversionOutputPrefix(path, direction);
  const QString base = pathBaseName(path);
  const int w = src.width(), h = src.height();
  switch (direction) {
  case From2003ToXp:
    if (w == 72) {
      QImage target = whiteCanvas(96, 128);
      copyFrames(target, 0, 0, src, 0, 0, 24, 32, kColumnsToXp, 4, kRows2003ToXpVx, false);
      out.push_back({prefix + base + QStringLiteral(".png"), target});
    } else {
      splitEightToXp(out, prefix + base, src, kRows2003ToXpVx, whiteCanvas);
    }
    break;
  case From2003ToVx: {
    QImage target = whiteCanvas(w, h);
    if (w == 72) {
      copyStrips(target, 0, 0, src, w, 32, kStrips2003ToVx, 4, false);
      out.push_back({prefix + QLatin1Char('$') + base + QStringLiteral(".png"), target});
    } else {
      copyStrips(target, 0, 0, src, w, h / 8, kStrips2003ToVx, 8, false);
      out.push_back({prefix + base + QStringLiteral(".png"), target});
    }
    break;
  }
  case FromXpTo2003:
    placeInSheet(path, scaledTo(src, 96, 128), direction, out);
    break;
  case FromXpToVx: {
    const int fw = w / 4, fh = h / 4;
    QImage target = clearCanvas(3 * fw, h);
    copyFrames(target, 0, 0, src, 0, 0, fw, fh, kColumnsFromXp, 3, kRowsSame, false);
    out.push_back({prefix + QLatin1Char('$') + base + QStringLiteral(".png"), target});
    break;
  }
  case FromVxTo2003:
    if (isSingleVxCharacter(path, m_characterCount)) {
      placeInSheet(path, scaledTo(src, 72, 128), direction, out);
    } else {
      const QImage scaled = scaledTo(src, 288, 256);
      QImage sheet = keySheet();
      copyStrips(sheet, 0, 0, scaled, 288, 32, kStripsVxTo2003, 8, true);
      const QString sheetPath = prefix + pathFileName(path);
      m_createdSheets.append(sheetPath);
      keepSheet(sheetPath, sheet);
      out.push_back({sheetPath, sheet});
    }
    break;
  case FromVxToXp:
    if (isSingleVxCharacter(path, m_characterCount)) {
      const int fw = w / 3, fh = h / 4;
      QImage target = clearCanvas(4 * fw, 4 * fh);
      copyFrames(target, 0, 0, src, 0, 0, fw, fh, kColumnsToXp, 4, kRowsSame, false);
      out.push_back({prefix + base + QStringLiteral(".png"), target});
    } else {
      splitEightToXp(out, prefix + base, src, kRowsSame, clearCanvas);
    }
    break;
  default:
    break;
  }
  return out;
}

void Converter::placeInSheet(const QString& path, const QImage& scaled, quint8 direction,
                             std::vector<ConvertedFile>& out)
{
  SheetAccumulator& acc = m_sheets;
  if (acc.lastDirection != direction || acc.placedCount > 7)
    acc.placedCount = 0;
  const bool fromXp = direction == FromXpTo2003;
  const int fw = scaled.width() / (fromXp ? 4 : 3), fh = scaled.height() / 4;
  const int x0 = (acc.placedCount % 4) * 3 * fw;
  const int y0 = acc.placedCount <= 3 ? 0 : scaled.height();
  const bool newSheet = acc.placedCount == 0 || acc.sheetPath.isEmpty();
  if (newSheet)
    acc.sheet = keySheet();
  if (fromXp)
    copyFrames(acc.sheet, x0, y0, scaled, 0, 0, fw, fh, kColumnsFromXp, 3, kRowsXpVxTo2003, true);
  else
    copyStrips(acc.sheet, x0, y0, scaled, 3 * fw, fh, kRowsXpVxTo2003, 4, true);
  if (newSheet) {
    acc.sheetPath = conversionOutputPrefix(path, direction) + pathFileName(path);
    m_createdSheets.append(acc.sheetPath);
  }
  // The whole sheet is written after every character, so the disk always
  // holds every character placed so far.
  keepSheet(acc.sheetPath, acc.sheet);
  out.push_back({acc.sheetPath, acc.sheet});
  ++acc.placedCount;
  acc.lastDirection = direction;
}

void Converter::keepSheet(const QString& path, const QImage& sheet)
{
  m_sheetImages.insert(path, sheet);
}

void Converter::noteWrite(const QString& path, bool ok)
{
  // A sheet is written once per character and once more in 256 colours: the
  // last write decides, so a complete sheet is never listed.
  if (ok)
    m_unwrittenFiles.removeAll(path);
  else if (!m_unwrittenFiles.contains(path))
    m_unwrittenFiles.append(path);
}

void Converter::run()
{
  const QString openError = QStringLiteral("Impossible d'ouvrir le dossier : ");
  m_sheets = SheetAccumulator();
  const QString folder = conversionFolder(m_files, m_sourceKind);
  if (m_files.isEmpty() || !QFileInfo(folder).isDir()) {
    emit fatalError(openError + richTextEscaped(m_files.value(0)));
    return;
  }
  const QString subFolder = conversionSubFolder(m_direction);
  QDir(folder).mkdir(subFolder);
  const bool to2003 = m_direction == FromXpTo2003 || m_direction == FromVxTo2003;
  convertInputs(conversionInputs(m_files, m_sourceKind), to2003);
  if (to2003)
    resaveSheets();
  if (!m_unwrittenFiles.isEmpty())
    emit unwrittenFiles(m_unwrittenFiles);
  emit finishThread(m_failedFiles, folder + QLatin1Char('/') + subFolder);
  convertCharacter(QString(), ResetSheets);
}

// The inputs are decoded ahead and the outputs written on the thread pool;
// the conversion itself, the sheet accumulator and every report stay on this
// thread, in input order.
void Converter::convertInputs(const QStringList& inputs, bool to2003)
{
  const int n = int(inputs.size());
  const std::size_t threads = std::size_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
  std::deque<QFuture<QImage>> decoded;
  int next = 0;
  WriteQueue writes;
  const auto written = [this](const QString& path, bool ok) { noteWrite(path, ok); };
  for (int i = 0; i < n; ++i) {
    while (next < n && decoded.size() < 2 * threads)
      decoded.push_back(QtConcurrent::run([path = inputs[next++]] {
        if (inputHook)
          inputHook(path);
        return loadConversionInput(path);
      }));
    emit changeProgress(uint(quint64(i) * (to2003 ? 80 : 100) / quint64(n)),
                        QStringLiteral("Conversion de : ") + inputs[i]);
    const QImage image = decoded.front().result();
    decoded.pop_front();
    if (image.isNull()) {
      m_failedFiles.append(inputs[i]);
    } else {
      for (const ConvertedFile& file : convertImage(inputs[i], image, m_direction))
        writes.push(file.path, file.image, false);
    }
    writes.collect(false, written, std::size_t(2 * writerPool()->maxThreadCount()));
  }
  writes.collect(true, written);
}

void Converter::resaveSheets()
{
  const int m = int(m_createdSheets.size());
  WriteQueue writes;
  for (int j = 0; j < m; ++j) {
    emit changeProgress(uint(80 + j * 20 / m), QStringLiteral("Changement de la profondeur des couleurs..."));
    writes.push(m_createdSheets[j], m_sheetImages.value(m_createdSheets[j]), true);
  }
  writes.collect(true, [this](const QString& path, bool ok) { noteWrite(path, ok); });
}
