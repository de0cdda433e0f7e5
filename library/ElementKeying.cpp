#include "library/ElementKeying.h"

QImage keyElementImage(const QImage& source, const QColor& transparency, const QColor& translucency)
{
  const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
  const bool translucent = translucency.alpha() == 255;
  if (!translucent && transparency.alpha() != 255)
    return argb;
  const QRgb transparent = transparency.rgba();
  const QRgb halfRgb = translucency.rgba() & 0x00FFFFFFu;
  const QRgb half = halfRgb | 0x80000000u;
  QImage keyed(argb.size(), QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    QRgb* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb p = in[x];
      if (translucent && qAlpha(p) > 0 && (p & 0x00FFFFFFu) == halfRgb)
        out[x] = half;
      else if (p != transparent)
        out[x] = p;
      else
        out[x] = 0x00000013u;
    }
  }
  return keyed;
}
