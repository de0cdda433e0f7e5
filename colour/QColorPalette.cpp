#include "colour/QColorPalette.h"

#include "core/PaletteFile.h"
#include "core/ImageUtils.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "core/SaveFile.h"
#include "widgets/Prompts.h"

#include <QMouseEvent>
#include <QPainter>

void transparencyCheckerboard(QImage& image, QSize size, int cell)
{
  makeCheckerboard(image, size, static_cast<unsigned int>(std::max(cell, 1)), false, 0xFFFFFFFF, 0xFFA0A0A4);
}

QColorPalette::QColorPalette(QSize cellSize, QSize gridSize, QWidget* parent)
    : QWidget(parent), m_cellSize(cellSize), m_gridSize(gridSize)
{
  const QSize area(gridSize.width() * cellSize.width(), gridSize.height() * cellSize.height());
  setFixedSize(area);
  setMouseTracking(true);
  transparencyCheckerboard(m_checkerboard, area, cellSize.width() / 3);
  m_colorToAdd = Qt::transparent;

  QString remembered;
  {
    IniSettings settings;
    settings.getValue("palette", remembered);
  }
  m_colors = defaultPalette(gridSize.width(), gridSize.height());
  if (!remembered.isEmpty())
    load(remembered);
}

bool QColorPalette::load(QString fileName)
{
  if (fileName.isEmpty()) {
    {
      IniSettings settings;
      settings.setValue("Color", "palette", QString());
    }
    m_colors = defaultPalette(m_gridSize.width(), m_gridSize.height());
    update();
    return true;
  }
  const bool ok = readPaletteFile(fileName, m_colors, m_errorMessage);
  update();
  return ok;
}

bool QColorPalette::load()
{
  return load(QString());
}

bool QColorPalette::save()
{
  const QString path = askInRememberedFolder(FileDialogKind::SaveFile, this, "pathSavePalette",
                                             QStringLiteral("palette/"), QStringLiteral("Sauvegarder une palette"),
                                             QStringLiteral("Palette Sorvel Kit (*.skp)"))
                           .value(0);
  if (path.isEmpty())
    return true;
  if (!path.contains('?'))
    IniSettings().setValue("Color", "palette", path);
  QString reason;
  if (!writePaletteFile(path, m_colors, &reason)) {
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"),
                      QStringLiteral("Impossible de sauvegarder la palette."), saveFailureDetail(path, reason));
    return false;
  }
  return true;
}

void QColorPalette::setAdd(bool b, QColor color)
{
  m_addMode = b;
  m_colorToAdd = color;
}

void QColorPalette::setAdd(bool b)
{
  setAdd(b, Qt::transparent);
}

QString QColorPalette::getErrorMessage()
{
  return m_errorMessage;
}

int QColorPalette::cellAt(const QPoint& pos) const
{
  return (pos.x() / m_cellSize.width()) * m_gridSize.height() + pos.y() / m_cellSize.height();
}

void QColorPalette::mousePressEvent(QMouseEvent* event)
{
  const int cell = cellAt(event->position().toPoint());
  if (cell < 0 || cell >= int(m_colors.size()))
    return;
  if (m_addMode) {
    m_colors[std::size_t(cell)] = m_colorToAdd;
    update();
    emit added();
  } else {
    emit changeColor(m_colors[std::size_t(cell)]);
  }
}

void QColorPalette::mouseMoveEvent(QMouseEvent* event)
{
  m_hovered = cellAt(event->position().toPoint());
  update();
}

void QColorPalette::leaveEvent(QEvent*)
{
  m_hovered = -1;
  update();
}

void QColorPalette::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawImage(0, 0, m_checkerboard);
  const int rows = m_gridSize.height();
  const int cw = m_cellSize.width();
  const int ch = m_cellSize.height();
  for (int i = 0; i < int(m_colors.size()); ++i) {
    const int x = (i / rows) * cw;
    const int y = (i % rows) * ch;
    painter.fillRect(x, y, cw, ch, m_colors[std::size_t(i)]);
  }
  if (m_hovered >= 0 && m_hovered < int(m_colors.size())) {
    const int x = (m_hovered / rows) * cw;
    const int y = (m_hovered % rows) * ch;
    painter.setPen(Qt::black);
    painter.drawRect(x, y, cw - 1, ch - 1);
    painter.setPen(Qt::white);
    painter.drawRect(x + 1, y + 1, cw - 3, ch - 3);
  }
}
