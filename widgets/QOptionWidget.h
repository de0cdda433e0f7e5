#pragma once
// A clickable tile offering one choice: an icon on the left, a rich-text
// caption with a one-line text under it, inside a rounded frame whose look
// follows the pointer. It reacts on the press, not on the release.
#include <QLabel>
#include <QLinearGradient>
#include <QPen>
#include <QPixmap>
#include <QWidget>

class QOptionWidget : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(QPixmap icon MEMBER icon WRITE setIcon)
  Q_PROPERTY(QString caption MEMBER caption WRITE setCaption)
  Q_PROPERTY(QString text MEMBER text WRITE setText)
  Q_PROPERTY(QSize pixmapSize MEMBER pixmapSize WRITE setPixmapSize)
  Q_PROPERTY(bool scaled MEMBER scaled WRITE setScaled)
  Q_PROPERTY(bool pixmapMargin MEMBER pixmapMargin WRITE setPixmapMargin)
  Q_PROPERTY(int leftMargin MEMBER leftMargin WRITE setLeftMargin)
  Q_PROPERTY(bool drawGradientBeforeText MEMBER drawGradientBeforeText WRITE setDrawGradientBeforeText)

public:
  QOptionWidget(const QPixmap& icon, const QString& caption, const QString& text, QWidget* parent = nullptr);
  QOptionWidget(const QString& caption, const QString& text, QWidget* parent = nullptr);
  explicit QOptionWidget(const QString& text, QWidget* parent = nullptr);
  explicit QOptionWidget(QWidget* parent = nullptr);

  QSize sizeHint() const override;

  // Composes the three looks; painting only copies one of them.
  void updatePixmaps();

signals:
  void hovered();
  void left();
  void clicked();
  void release();

public slots:
  void setIcon(QPixmap icon);
  void setCaption(QString caption);
  void setText(QString text);
  void setPixmapSize(QSize pixmapSize);
  void setScaled(bool scaled);
  void setPixmapMargin(bool pixmapMargin);
  void setLeftMargin(int leftMargin);
  void setDrawGradientBeforeText(bool drawGradientBeforeText);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void rescaleIcon();
  void refresh();

  QString text;
  QString caption;
  QPixmap icon;
  QPixmap scaledIcon;
  QPixmap normalImage;
  QPixmap hoveredImage;
  QPixmap pressedImage;
  bool scaled = false;
  bool pixmapMargin = true;
  bool mouseOver = false;
  bool mouseDown = false;
  bool drawGradientBeforeText = true;
  QSize pixmapSize{24, 24};
  QSize preferredSize;
  QPen normalPen;
  QPen hoveredPen;
  QPen pressedPen;
  QLinearGradient normalGradient;
  QLinearGradient hoveredGradient;
  QLinearGradient pressedGradient;
  int leftMargin = 0;
  QLabel textLabel;
  QLabel captionLabel;
};
