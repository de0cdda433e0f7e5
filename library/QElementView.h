#pragma once
#include <QImage>
#include <QLabel>
#include <QSize>
#include <QString>
#include <QStringList>

class QColor;
class QMouseEvent;

// One element image shown enlarged without smoothing, so that single pixels
// can be seen and hit; a left or right press reports the colour of the image
// pixel under the pointer. It loads, shows, scales and reports, nothing more.
// The enlarged picture is never built: each paint scales only the part of the
// image that is exposed, so a zoomed large image costs no more memory than at
// x1.
class QElementView : public QLabel
{
  Q_OBJECT

public:
  QElementView(const QString& path, QWidget* parent = nullptr);
  ~QElementView() override;

  // The image as last read, in the format it was read in; null after a
  // failed read, which is how callers learn of one.
  QImage& image() { return sourceImage; }
  // Another image at the zoom in force; on failure the old picture stays.
  void setImage(const QString& path);
  // The size of the last image that loaded, not the widget's geometry.
  QSize size() const { return imageSize; }
  // The image's size at the zoom in force, which the view asks to be shown
  // at (empty while nothing has loaded).
  QSize shownSize() const;
  QSize sizeHint() const override;

signals:
  // The picked colour, alpha included, and 0 for the left button, 1 for the
  // right one.
  void changeColor(const QColor& rgb, int type);

public slots:
  void setZoom(double zoom);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  bool load(const QString& path);
  void showAtZoom();

  QSize imageSize = QSize(-1, -1);
  QImage sourceImage;
  // The last image that loaded, in the format painting scales fastest.
  QImage shownImage;
  double zoom = 1.0;
};

// Loads paths[current + 1], paths[current + 2]... into the view while its
// image is null and paths remain, each failure reported by the view; returns
// the index of the path on show (still null when none read).
int skipUnreadable(QElementView& view, const QStringList& paths, int current);
