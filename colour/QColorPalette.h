#pragma once
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

// Replaces image by an ARGB32 checkerboard of the given size, white where
// (x / cell) % 2 + (y / cell) % 2 is even and Qt::gray elsewhere: the ground
// that the colour widgets paint translucent colours over.
void transparencyCheckerboard(QImage& image, QSize size, int cell);

// A grid of colour cells: a click picks a cell's colour, or, in add mode,
// stores the colour to add into the cell. Cells are kept column-major, and
// saved to and loaded from palette files (".skp").
class QColorPalette : public QWidget
{
  Q_OBJECT

public:
  QColorPalette(QSize cellSize, QSize gridSize, QWidget* parent = nullptr);

  const std::vector<QColor>& colors() const { return m_colors; }

signals:
  void changeColor(QColor color);
  void added();

public slots:
  bool load(QString fileName);
  bool load();
  bool save();
  void setAdd(bool b, QColor color);
  void setAdd(bool b);
  QString getErrorMessage();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  int cellAt(const QPoint& pos) const;

  int m_hovered = -1;
  QImage m_checkerboard;
  QSize m_cellSize;
  QSize m_gridSize;
  QString m_errorMessage;
  QColor m_colorToAdd;
  bool m_addMode = false;
  std::vector<QColor> m_colors;
};
