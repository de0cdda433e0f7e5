#pragma once
#include "core/GradientData.h"

#include <QBrush>
#include <QConicalGradient>
#include <QLinearGradient>
#include <QPoint>
#include <QPointF>
#include <QRadialGradient>

#include <vector>

// The geometry of the 200 x 200 gradient view: the seven points, in the view's
// pixels, of the three gradient kinds, and the gradient of each kind built
// from them. Points enter from normalised settings as trunc(v * 200) and leave
// as p / 199. No widget involved, so it may be used off the GUI thread.
class GradientGeometry
{
public:
  // In the order of the arrays that go in and out.
  enum Point {
    LinearStart,
    LinearEnd,
    RadialCentre,
    RadialRadius, // a point on the circle
    RadialFocal,
    ConicalCentre,
    ConicalAngle,
    PointCount
  };

  static constexpr int kSide = 200;      // pixels per side of the view
  static constexpr double kIn = 200.0;   // normalised -> pixels
  static constexpr double kOut = 199.0;  // pixels -> normalised

  // type: 0 linear, 1 radial, 2 conical. Default points, pad spread.
  GradientGeometry(const std::vector<GradientData>& stops, int type);

  // Replaces the stops of the three gradients.
  void setStops(const std::vector<GradientData>& stops);
  void reset(); // back to the default points
  void join();  // radial focal point onto the centre
  void setType(int type);
  int type() const { return m_type; }
  void setSpread(int spread); // 0 pad, 1 reflect, 2 repeat
  int spread() const { return m_spread; }

  QPointF point(Point which) const { return m_points[which]; }
  void setPoint(Point which, const QPointF& p);

  // x, y pairs of the current type's points (4 values, 6 for radial). A list
  // too short for the type, or a type other than 0..2, moves no point.
  // Normalised values are truncated onto the grid and clamped to 0..200.
  void setNormalizedPoints(const std::vector<double>& values);
  void setPixelPoints(const std::vector<int>& values);
  // The current type's points; empty for a type other than 0..2.
  std::vector<QPointF> normalizedPoints() const;
  std::vector<int> pixelPoints() const;

  // The gradient of each kind in normalised units, with the current spread.
  QLinearGradient linearGradient() const;
  QRadialGradient radialGradient() const;
  QConicalGradient conicalGradient() const;

  // The current type's gradient in the view's pixels.
  const QBrush& brush() const { return m_brush; }

  // Rebuilds the current type's gradient and the brush.
  void update();

private:
  // Index of the first point of the current type and how many it uses; a
  // count of 0 for a type other than 0..2.
  int firstPoint() const;
  int pointCount() const;

  QPointF m_points[PointCount];
  QLinearGradient m_linear;
  QRadialGradient m_radial;
  QConicalGradient m_conical;
  int m_type = 0;
  int m_spread = 0;
  QBrush m_brush;
};

// The angle in degrees (0 to 180) between two lines, 0 when either is null.
double angleBetween(const QLineF& a, const QLineF& b);

// Truncated toward zero, not rounded; out-of-range values saturate and NaN
// gives 0.
QPoint toPoint(const QPointF& p);

// 0 pad, 1 reflect, 2 repeat; anything else pads.
QGradient::Spread toGradientSpread(int spread);
