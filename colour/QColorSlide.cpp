#include "colour/QColorSlide.h"

#include "colour/QColorPalette.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kTrackLeft = 3;
constexpr int kTrackWidth = 67;
constexpr int kTrackHeight = 9;

QColor withHsvF(QColor c, float h, float s, float v)
{
  c.setHsvF(h, s, v, 1.0f);
  return c;
}

} // namespace

QColorSlide::QColorSlide(QColor color, int mode, QWidget* parent) : QWidget(parent), m_mode(mode)
{
  setFixedSize(73, 15);
  if (mode == Hue) {
    m_channelImage = QImage(kTrackWidth, kTrackHeight, QImage::Format_ARGB32);
    QRgb column[kTrackWidth];
    for (int x = 0; x < kTrackWidth; ++x) {
      QColor c;
      c.setHsvF(float(x) / kTrackWidth, 1.0f, 1.0f, 1.0f);
      column[x] = c.rgba();
    }
    for (int y = 0; y < kTrackHeight; ++y)
      std::copy(column, column + kTrackWidth, reinterpret_cast<QRgb*>(m_channelImage.scanLine(y)));
  } else if (mode == Alpha) {
    transparencyCheckerboard(m_checkerboard, QSize(kTrackWidth, kTrackHeight), 3);
  }
  m_cursor.load(QStringLiteral(":/icon/cursor.png"));
  m_color = color;
  m_value = std::clamp(channelValue(), 0.0, 1.0);
}

void QColorSlide::setEmitChange(bool on)
{
  m_emitChange = on;
}

double QColorSlide::channelValue() const
{
  switch (m_mode) {
  case Red:
    return m_color.redF();
  case Green:
    return m_color.greenF();
  case Blue:
    return m_color.blueF();
  case Hue:
    return m_color.hueF();
  case Saturation:
    return m_color.saturationF();
  case Value:
    return m_color.valueF();
  default:
    return m_color.alphaF();
  }
}

void QColorSlide::setChannel(double t)
{
  const float f = float(t);
  switch (m_mode) {
  case Red:
    m_color.setRedF(f);
    break;
  case Green:
    m_color.setGreenF(f);
    break;
  case Blue:
    m_color.setBlueF(f);
    break;
  // Hue, saturation and value give an opaque colour.
  case Hue:
    m_color.setHsvF(f, m_color.saturationF(), m_color.valueF(), 1.0f);
    break;
  case Saturation:
    m_color.setHsvF(m_color.hueF(), f, m_color.valueF(), 1.0f);
    break;
  case Value:
    m_color.setHsvF(m_color.hueF(), m_color.saturationF(), f, 1.0f);
    break;
  default:
    m_color.setAlphaF(f);
    break;
  }
}

void QColorSlide::setColor(QColor new_color, bool alpha)
{
  if (m_mode == Alpha && !alpha)
    m_color = QColor(new_color.red(), new_color.green(), new_color.blue(), m_color.alpha());
  else
    m_color = new_color;
  m_value = std::clamp(channelValue(), 0.0, 1.0);
  update();
}

void QColorSlide::setColor(QColor new_color)
{
  setColor(new_color, false);
}

void QColorSlide::setValue(int value)
{
  const double t = value / (m_mode == Hue ? 360.0 : 255.0);
  setChannel(t);
  m_value = t;
  update();
  if (m_emitChange)
    emit changeColor(m_color);
}

void QColorSlide::mousePressEvent(QMouseEvent* event)
{
  mouseMoveEvent(event);
}

void QColorSlide::mouseMoveEvent(QMouseEvent* event)
{
  const double t = std::clamp((event->position().toPoint().x() - kTrackLeft) / double(kTrackWidth), 0.0, 1.0);
  setChannel(t);
  if (m_mode == Alpha)
    emit changeValue(int(255 * t));
  else
    emit changeColor(m_color);
}

void QColorSlide::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  if (m_mode == Alpha)
    painter.drawImage(kTrackLeft, 0, m_checkerboard);
  else if (m_mode == Hue)
    painter.drawImage(kTrackLeft, 0, m_channelImage);

  if (m_mode != Hue) {
    const int r = m_color.red();
    const int g = m_color.green();
    const int b = m_color.blue();
    QColor from, to;
    switch (m_mode) {
    case Red:
      from = QColor(0, g, b);
      to = QColor(255, g, b);
      break;
    case Green:
      from = QColor(r, 0, b);
      to = QColor(r, 255, b);
      break;
    case Blue:
      from = QColor(r, g, 0);
      to = QColor(r, g, 255);
      break;
    case Saturation:
      from = withHsvF(m_color, m_color.hueF(), 0.0f, m_color.valueF());
      to = withHsvF(from, from.hueF(), 1.0f, from.valueF());
      break;
    case Value:
      from = withHsvF(m_color, m_color.hueF(), m_color.saturationF(), 0.0f);
      to = withHsvF(from, from.hueF(), from.saturationF(), 1.0f);
      break;
    default:
      from = QColor(r, g, b, 0);
      to = QColor(r, g, b, 255);
      break;
    }
    // The gradient's axis starts at 0, not at the track's left edge.
    QLinearGradient gradient(0, 0, kTrackWidth, 0);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(kTrackLeft, 0, kTrackWidth, kTrackHeight, QBrush(gradient));
  }
  painter.drawImage(int(kTrackWidth * m_value), 9, m_cursor);
}
