#pragma once
// What a canvas shows, as words, against what the full render gives.
#include "canvas/QLayer.h"

#include <QPainter>

// The grab of part (picture coordinates; the canvas is its picture's size).
inline QImage grabView(QLayer& canvas, const QRect& part)
{
  return canvas.grab(part).toImage().convertToFormat(QImage::Format_RGB32);
}

// The full render's part laid over the canvas's background, as a screen shows
// it.
inline QImage renderedView(QLayer& canvas, const QRect& part)
{
  const QImage full = canvas.characterData()->renderImage(uint32_t(canvas.characterData()->backgroundPixel()));
  QImage out(part.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(canvas.palette().window().color());
  QPainter(&out).drawImage(QPoint(0, 0), full.copy(part));
  return out.convertToFormat(QImage::Format_RGB32);
}
