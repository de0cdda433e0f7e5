#include "core/BlendImage.h"

#include "core/ColourUtils.h"

#include <algorithm>
#include <cmath>

namespace {

inline uint32_t blendPixel(uint32_t s, uint32_t d)
{
  const int as = static_cast<int>(s >> 24);
  const int ad = static_cast<int>(d >> 24);
  const double ao = ad + (as * (255 - ad)) / 255.0;
  const double kd = (ao - as) / ao;
  const double ks = as / ao;
  auto channel = [&](int shift) -> uint32_t {
    const int cd = static_cast<int>((d >> shift) & 0xFF);
    const int cs = static_cast<int>((s >> shift) & 0xFF);
    return static_cast<uint32_t>(static_cast<int>(cd * kd + cs * ks)) & 0xFF;
  };
  const uint32_t a = static_cast<uint32_t>(static_cast<int>(ao));
  return (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

} // namespace

// The general rule reduces exactly to a copy for an opaque source or a blank
// destination, and to no change for a transparent source; only the
// semi-transparent-over-visible case pays for the floating-point blend.
void blendSpan(uint32_t* d, const uint32_t* s, int n)
{
  for (int k = 0; k < n; ++k) {
    const uint32_t sp = s[k];
    const uint32_t as = sp >> 24;
    if (as == 0)
      continue;
    if (as == 255 || (d[k] >> 24) == 0)
      d[k] = sp;
    else
      d[k] = blendPixel(sp, d[k]);
  }
}

uint32_t blendPixelRounded(uint32_t s, uint32_t d)
{
  const int as = static_cast<int>(s >> 24);
  const int ad = static_cast<int>(d >> 24);
  const double ao = ad + (as * (255 - ad)) / 255.0;
  if (!(ao > 0))
    return d;
  const double kd = (ao - as) / ao;
  const double ks = as / ao;
  auto channel = [&](int shift) -> uint32_t {
    const int cd = static_cast<int>((d >> shift) & 0xFF);
    const int cs = static_cast<int>((s >> shift) & 0xFF);
    return static_cast<uint32_t>(std::lround(cd * kd + cs * ks)) & 0xFF;
  };
  const uint32_t a = static_cast<uint32_t>(std::lround(ao));
  return (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

bool clipBlock(const QSize& dst, int& dx, int& dy, const QSize& src, int& sx, int& sy, int& w, int& h)
{
  // In 64 bits, so that far-off coordinates cannot overflow.
  long long x0 = dx, y0 = dy, x1 = sx, y1 = sy, ww = w, hh = h;
  if (x0 < 0) { x1 -= x0; ww += x0; x0 = 0; }
  if (x1 < 0) { x0 -= x1; ww += x1; x1 = 0; }
  if (y0 < 0) { y1 -= y0; hh += y0; y0 = 0; }
  if (y1 < 0) { y0 -= y1; hh += y1; y1 = 0; }
  ww = std::min({ww, dst.width() - x0, src.width() - x1});
  hh = std::min({hh, dst.height() - y0, src.height() - y1});
  if (ww <= 0 || hh <= 0)
    return false;
  dx = static_cast<int>(x0); dy = static_cast<int>(y0);
  sx = static_cast<int>(x1); sy = static_cast<int>(y1);
  w = static_cast<int>(ww); h = static_cast<int>(hh);
  return true;
}

void blendImageWithAlpha(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h, int alpha)
{
  if (!clipBlock(dst.size(), dx, dy, src.size(), sx, sy, w, h))
    return;
  if (dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  const QImage source = src.format() == QImage::Format_ARGB32 ? src : src.convertToFormat(QImage::Format_ARGB32);
  const uint32_t a = static_cast<uint32_t>(clampValue(alpha, 0, 255)) << 24;
  for (int r = 0; r < h; ++r) {
    const uint32_t* s = reinterpret_cast<const uint32_t*>(source.constScanLine(sy + r)) + sx;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst.scanLine(dy + r)) + dx;
    for (int k = 0; k < w; ++k)
      if (s[k] >> 24)
        d[k] = blendPixelRounded((s[k] & 0x00FFFFFFu) | a, d[k]);
  }
}

void blendImage(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h)
{
  if (w <= 0 || h <= 0)
    return;
  for (int r = 0; r < h; ++r) {
    const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(sy + r)) + sx;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst.scanLine(dy + r)) + dx;
    blendSpan(d, s, w);
  }
}
