#include "library/QElementView.h"

#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "widgets/Prompts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

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
  sourceImage = readImageFile(path);
  if (sourceImage.isNull()) {
    prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"),
                      QStringLiteral("Impossible d'ouvrir ") + richTextEscaped(path), QString());
    return false;
  }
  imageSize = sourceImage.size();
  shownImage = sourceImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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

QSize QElementView::shownSize() const
{
  if (shownImage.isNull())
    return QSize(0, 0);
  return QSize(static_cast<int>(imageSize.width() * zoom), static_cast<int>(imageSize.height() * zoom));
}

QSize QElementView::sizeHint() const
{
  return shownSize();
}

void QElementView::showAtZoom()
{
  updateGeometry();
  update();
}

void QElementView::paintEvent(QPaintEvent* event)
{
  if (shownImage.isNull())
    return;
  // The image pixels under the exposed part, whole, and where they land.
  const QRect exposed = event->rect().intersected(QRect(QPoint(0, 0), shownSize()));
  if (exposed.isEmpty())
    return;
  const int left = static_cast<int>(std::floor(exposed.left() / zoom));
  const int top = static_cast<int>(std::floor(exposed.top() / zoom));
  const int right = std::min(imageSize.width(), static_cast<int>(std::ceil((exposed.right() + 1) / zoom)));
  const int bottom = std::min(imageSize.height(), static_cast<int>(std::ceil((exposed.bottom() + 1) / zoom)));
  const QRect source(left, top, right - left, bottom - top);
  const QRectF target(left * zoom, top * zoom, source.width() * zoom, source.height() * zoom);
  QPainter painter(this);
  painter.setClipRect(exposed);
  painter.drawImage(target, shownImage, source);
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
