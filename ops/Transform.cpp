#include "model/CharacterData.h"
#include "core/CropTransparent.h"
#include "ops/ScopedElements.h"

#include <QTransform>

namespace {

// The source of one step: the snapshot's cell while a preview runs, the
// document's own cell otherwise. A snapshot that does not cover the cell
// (none taken, or taken before elements were added) yields nothing.
bool sourceCell(const CharacterData::Snapshot& snapshot, bool fromSnapshot, const QImage& image,
                const QPoint& offset, int e, int c, QImage& source, QPoint& base)
{
  if (!fromSnapshot) {
    source = image;
    base = offset;
    return true;
  }
  if (e >= static_cast<int>(snapshot.images.size()) || e >= static_cast<int>(snapshot.offsets.size()))
    return false;
  if (c >= static_cast<int>(snapshot.images[e].size()) || c >= static_cast<int>(snapshot.offsets[e].size()))
    return false;
  source = snapshot.images[e][c];
  base = snapshot.offsets[e][c];
  return true;
}

// Smooth scaling and free rotation come back premultiplied; cell images
// must stay plain ARGB32. A null result stays null (an empty cell).
QImage toCellFormat(const QImage& image)
{
  if (image.isNull() || image.format() == QImage::Format_ARGB32)
    return image;
  return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void CharacterData::resizeCells(const double& sx, const double& sy, bool recentre, bool smooth, bool fromSnapshot)
{
  const Qt::TransformationMode mode = smooth ? Qt::SmoothTransformation : Qt::FastTransformation;
  forEachScopedCellAtOnce(*this, [&](int e, int c) {
    QImage source;
    QPoint base;
    if (!sourceCell(snapshot(), fromSnapshot, m_images[e][c], m_offsets[e][c], e, c, source, base))
      return;
    const int w = source.width();
    const int h = source.height();
    const int newW = static_cast<int>(w * sx);
    const int newH = static_cast<int>(h * sy);
    if (recentre)
      m_offsets[e][c] = QPoint(static_cast<int>(base.x() + ((1.0 - sx) * w) * 0.5),
                               static_cast<int>(base.y() + ((1.0 - sy) * h) * 0.5));
    else
      m_offsets[e][c] = base;
    // A size that truncates to nothing leaves an empty cell image.
    if (newW <= 0 || newH <= 0 || source.isNull())
      m_images[e][c] = QImage();
    else
      m_images[e][c] = toCellFormat(source.scaled(QSize(newW, newH), Qt::IgnoreAspectRatio, mode));
  });
}

void CharacterData::rotateCells(const double& degrees, bool smooth, bool fromSnapshot)
{
  const Qt::TransformationMode mode = smooth ? Qt::SmoothTransformation : Qt::FastTransformation;
  forEachScopedCellAtOnce(*this, [&](int e, int c) {
    QImage source;
    QPoint base;
    if (!sourceCell(snapshot(), fromSnapshot, m_images[e][c], m_offsets[e][c], e, c, source, base))
      return;
    // A transform works out its kind lazily and writes it back even when
    // read: one shared between the elements' threads was now and then seen
    // as the identity half-way, and the cell came out clipped.
    QTransform turn;
    turn.rotate(degrees);
    QImage turned = source.isNull() ? QImage() : toCellFormat(source.transformed(turn, mode));
    QPoint offset(static_cast<int>(base.x() + (source.width() - turned.width()) * 0.5),
                  static_cast<int>(base.y() + (source.height() - turned.height()) * 0.5));
    QPoint shift;
    cropTransparent(turned, shift);
    m_offsets[e][c] = offset + shift;
    m_images[e][c] = turned;
  });
}
