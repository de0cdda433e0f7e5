#pragma once
#include "core/GradientData.h"
#include "core/GradientGeometry.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

// The gradient editor's 200 x 200 preview: the gradient of the current kind
// over a checkerboard, with its points as handles the user drags. The points
// and gradients live in a GradientGeometry, the same arithmetic the drawing
// tools' brushes use, so the canvas paints what this view shows.
class QGradientRender : public QWidget
{
  Q_OBJECT

public:
  // type: 0 linear, 1 radial, 2 conical.
  QGradientRender(const std::vector<GradientData>& stops, int type, QWidget* parent = nullptr);

  void updateGradient();
  // x, y pairs of the current kind's points (4 values, 6 for radial).
  void setNormalizedPoints(const std::vector<double>& values);
  void setPixelPoints(const std::vector<int>& values);
  // Empty for a type other than 0..2.
  std::vector<QPointF> normalizedPoints() const;
  std::vector<int> pixelPoints() const;
  QLinearGradient linearGradient() const;
  QRadialGradient radialGradient() const;
  QConicalGradient conicalGradient() const;
  const QBrush& brush() const { return geometry.brush(); }

  static QPointF toPointF(const QPoint& p);
  static QPoint toPoint(const QPointF& p);

public slots:
  void setGradientData(const std::vector<GradientData>& stops);
  void reset();
  void join();
  void setGradientType(int type);
  void setSpreadType(int type);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  GradientGeometry geometry;
  std::optional<GradientGeometry::Point> dragged;
  QImage background;
  QImage redHandle;
  QImage greenHandle;
  QImage blueHandle;
  bool pressed = false;
};
