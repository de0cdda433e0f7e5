#include "library/QElementView.h"

#include "widgets/Prompts.h"

#include <QMouseEvent>
#include <QPixmap>

#include <cmath>

QElementView::QElementView(const QString& path, QWidget* parent) : QLabel(parent)
{
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (load(path))
    showAtZoom();
}

QElementView::~QElementView() = default;

bool QElementView::load(const QString& path)
{
  sourceImage = QImage(path);
  if (sourceImage.isNull()) {
    prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"),
                      QStringLiteral("Impossible d'ouvrir ") + path, QString());
    return false;
  }
  imageSize = sourceImage.size();
  return true;
}

void QElementView::setImage(const QString& path)
{
  if (load(path))
    showAtZoom();
}

void QElementView::setZoom(double factor)
{
  // Nothing sensible scales by a zero, negative or non-finite factor.
  if (!std::isfinite(factor) || factor <= 0.0)
    return;
  zoom = factor;
  showAtZoom();
}

void QElementView::showAtZoom()
{
  const int width = static_cast<int>(imageSize.width() * zoom);
  const int height = static_cast<int>(imageSize.height() * zoom);
  const QImage scaled = sourceImage.isNull()
                            ? QImage()
                            : sourceImage.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  setPixmap(QPixmap::fromImage(scaled));
}

void QElementView::mousePressEvent(QMouseEvent* event)
{
  int type = -1;
  if (event->button() == Qt::LeftButton)
    type = 0;
  else if (event->button() == Qt::RightButton)
    type = 1;
  event->accept();
  if (type < 0)
    return;
  // Truncation, never rounding: every point of a shown pixel maps to it. The
  // margin beyond the image (and a view whose read failed) has no pixel to
  // read, and answers a colour of alpha 0.
  const double column = std::floor(event->position().x() / zoom);
  const double row = std::floor(event->position().y() / zoom);
  QColor picked(0, 0, 0, 0);
  if (column >= 0 && row >= 0 && column < sourceImage.width() && row < sourceImage.height())
    picked = QColor::fromRgba(sourceImage.pixel(static_cast<int>(column), static_cast<int>(row)));
  emit changeColor(picked, type);
}

int skipUnreadable(QElementView& view, const QStringList& paths, int current)
{
  while (view.image().isNull() && current + 1 < paths.size())
    view.setImage(paths[++current]);
  return current;
}
