#include "batch/ConversionPrediction.h"

#include "batch/Converter.h"

#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentMap>

namespace {

const QString kNoNewFile = QStringLiteral("?ERROR?");

// Width of each input as the worker will decode it; -1 when it does not load.
QList<int> inputWidths(const QStringList& inputs)
{
  const bool cursor = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
  if (cursor)
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  const QList<int> widths = QtConcurrent::blockingMapped<QList<int>>(inputs, [](const QString& path) {
    const QImage image = loadConversionInput(path);
    return image.isNull() ? -1 : image.width();
  });
  if (cursor)
    QGuiApplication::restoreOverrideCursor();
  return widths;
}

QStringList eightNames(const QString& path, quint8 direction)
{
  QStringList names;
  const QString stem = conversionOutputPrefix(path, direction) + Converter::pathBaseName(path) + QLatin1Char('_');
  for (int n = 1; n <= 8; ++n)
    names.append(stem + QString::number(n) + QStringLiteral(".png"));
  return names;
}

} // namespace

ConversionPrediction::SheetCount ConversionPrediction::s_sheet;

void ConversionPrediction::buildOutputNames(QStringList& replaced, const QStringList& files, quint8 filesMode,
                                            quint8 direction, qint8 characterCount)
{
  const QString folder = conversionFolder(files, filesMode);
  if (files.isEmpty() || !QFileInfo(folder + QLatin1Char('/') + conversionSubFolder(direction)).isDir())
    return;
  const QStringList inputs = conversionInputs(files, filesMode);
  const QList<int> widths = inputWidths(inputs);
  for (int i = 0; i < inputs.size(); ++i)
    for (const QString& name : predictNames(inputs[i], widths[i], direction, characterCount))
      if (QFileInfo(name).isFile())
        replaced.append(name);
  predictOutputName(QString(), ResetSheets, nullptr, 0);
}

void ConversionPrediction::predictOutputName(const QString& path, quint8 direction, QString* result,
                                             qint8 characterCount)
{
  QStringList names;
  if (direction == ResetSheets) {
    s_sheet = SheetCount();
  } else {
    const QImage image = loadConversionInput(path);
    names = predictNames(path, image.isNull() ? -1 : image.width(), direction, characterCount);
  }
  if (!result)
    return;
  if (names.isEmpty())
    *result = kNoNewFile;
  else if (names.size() == 1)
    *result = names.first();
  else
    *result = names.join(QLatin1Char('|')) + QLatin1Char('|');
}

QStringList ConversionPrediction::predictNames(const QString& path, int width, quint8 direction,
                                               qint8 characterCount)
{
  if (width < 0)
    return {};
  const QString prefix = conversionOutputPrefix(path, direction);
  const QString base = Converter::pathBaseName(path);
  const bool vxSingle = isSingleVxCharacter(path, characterCount);
  switch (direction) {
  case From2003ToXp:
    return width == 72 ? QStringList{prefix + base + QStringLiteral(".png")} : eightNames(path, direction);
  case From2003ToVx:
    return {prefix + (width == 72 ? QStringLiteral("$") : QString()) + base + QStringLiteral(".png")};
  case FromXpToVx:
    return {prefix + QLatin1Char('$') + base + QStringLiteral(".png")};
  case FromVxToXp:
    return vxSingle ? QStringList{prefix + base + QStringLiteral(".png")} : eightNames(path, direction);
  case FromVxTo2003:
    if (!vxSingle)
      return {prefix + Converter::pathFileName(path)};
    [[fallthrough]];
  case FromXpTo2003: {
    if (s_sheet.lastDirection != direction || s_sheet.count > 7)
      s_sheet.count = 0;
    QStringList names;
    if (s_sheet.count == 0 || s_sheet.path.isEmpty()) {
      s_sheet.path = prefix + Converter::pathFileName(path);
      names.append(s_sheet.path);
    }
    ++s_sheet.count;
    s_sheet.lastDirection = direction;
    return names;
  }
  default:
    return {};
  }
}
