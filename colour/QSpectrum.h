#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

// A square colour disc at full value: hue turns counter-clockwise from the
// right, saturation grows from the centre to the rim. A press or drag picks
// an opaque colour; a small frame marks the hue and saturation of the colour.
class QSpectrum : public QWidget
{
  Q_OBJECT

public:
  QSpectrum(int size, QColor color, QWidget* parent = nullptr);

  QColor color() const { return m_color; }

signals:
  void changeColor(QColor color);
  void changeSecondaryColor(QColor color);

public slots:
  void setColor(QColor new_color);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QImage m_disc;
  QColor m_color;
  int m_size;
};
