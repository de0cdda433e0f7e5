#include "colour/QSpectrum.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const double kPi = std::acos(-1.0);

struct Polar
{
  double distance;
  double angle; // counter-clockwise from the right, 0..2pi
};

Polar polarOf(int x, int y, int half)
{
  const double dx = x - half;
  const double dy = half - y;
  const double d = std::sqrt(dx * dx + dy * dy);
  double a = d == 0.0 ? 0.0 : std::acos(dx / d);
  if (dy < 0)
    a = 2 * kPi - a;
  return {d, a};
}

// hsv hues stop at 359; a full turn cannot arise from whole pixels, but
// guards the toolkit against an invalid colour all the same.
int hueOf(double angle)
{
  return std::min(int(360.0 * angle / (2 * kPi)), 359);
}

} // namespace

QSpectrum::QSpectrum(int size, QColor color, QWidget* parent) : QWidget(parent), m_size(size)
{
  const int half = size / 2;
  const double radius = size * 0.5;
  m_disc = QImage(size, size, QImage::Format_ARGB32);
  m_disc.fill(0x00000013u);
  for (int y = 0; y < size; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(m_disc.scanLine(y));
    for (int x = 0; x < size; ++x) {
      const Polar p = polarOf(x, y, half);
      if (p.distance > half)
        continue;
      QColor c;
      c.setHsv(hueOf(p.angle), int(255.0 * p.distance / radius), 255, 255);
      line[x] = c.rgba();
    }
  }
  m_color = color;
  setFixedSize(size, size);
}

void QSpectrum::setColor(QColor new_color)
{
  m_color = new_color;
  update();
}

void QSpectrum::mousePressEvent(QMouseEvent* event)
{
  mouseMoveEvent(event);
}

void QSpectrum::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint pos = event->position().toPoint();
  const double radius = m_size * 0.5;
  Polar p = polarOf(pos.x(), pos.y(), m_size / 2);
  // Outside the disc, the rim colour in that direction.
  p.distance = std::min(p.distance, radius);
  m_color.setHsv(hueOf(p.angle), int(255.0 * p.distance / radius), 255, 255);
  update();
  emit changeColor(m_color);
}

void QSpectrum::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawImage(0, 0, m_disc);
  const int half = m_size / 2;
  const double a = 2 * kPi * m_color.hueF();
  const double r = m_size * 0.5 * m_color.saturationF();
  const int cx = half + int(std::cos(a) * r);
  const int cy = half - int(std::sin(a) * r);
  painter.setPen(Qt::black);
  painter.drawRect(cx - 1, cy - 1, 2, 2);
  painter.setPen(Qt::white);
  painter.drawPoint(cx, cy);
}
