#include "core/BlendImage.h"

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
