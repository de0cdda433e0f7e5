#include "ops/KernelFilters.h"

#include "model/CharacterData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

// The side of a kernel asked for by size: odd, rounded up.
int oddSide(int size)
{
  return size % 2 == 0 ? size + 1 : size;
}

// The kernel of side n with weight(dx, dy), cut to the distances an image of
// that size can reach: the cut weights touch no pixel, so the result is the
// same, and a huge side costs nothing. A side below 1 gives no kernel.
Kernel buildKernel(int n, const QSize& image, const std::function<double(int, int)>& weight)
{
  Kernel k;
  if (n < 1) {
    k.n = 0;
    k.weights.clear();
    return k;
  }
  const int reach = std::max(std::max(image.width(), image.height()) - 1, 0);
  const int half = std::min(n / 2, reach);
  k.n = 2 * half + 1;
  k.weights.resize(static_cast<std::size_t>(k.n) * k.n);
  for (int dy = -half; dy <= half; ++dy)
    for (int dx = -half; dx <= half; ++dx)
      k.weights[(dy + half) * k.n + dx + half] = std::trunc(weight(dx, dy));
  return k;
}

Kernel tentKernel(int size, int strength, const QSize& image)
{
  const int n = oddSide(size);
  const double c = static_cast<double>((static_cast<long long>(n) + 1) / 2);
  return buildKernel(n, image, [&](int dx, int dy) { return (c - std::abs(dx)) * strength * (c - std::abs(dy)); });
}

Kernel edgeWeightedKernel(int size, int strength, const QSize& image)
{
  return buildKernel(oddSide(size), image, [&](int dx, int) {
    const double d = std::abs(dx) + 1.0;
    return strength * d * d;
  });
}

Kernel sharpenKernel(int size, int strength, const QSize& image)
{
  const int n = size <= 2 ? 3 : oddSide(size);
  const double s = strength == 0 ? 1 : strength;
  const int h = n / 2;
  return buildKernel(n, image, [&](int dx, int dy) -> double {
    if (std::abs(dx) == h && std::abs(dy) == h)
      return 0;
    if (dx == 0 && dy == 0)
      return (static_cast<double>(n) * n - 5) * s + 1;
    return -s;
  });
}

uint32_t channel(double value)
{
  return static_cast<uint32_t>(std::clamp(value, 0.0, 255.0));
}

} // namespace

void applyKernelFrom(QImage& dst, const Kernel& kernel, const QImage& src)
{
  // A shared copy: writing dst detaches it, so the source stays as it was
  // even when dst and src are the same image.
  const QImage source = src.format() == QImage::Format_ARGB32 ? src : src.convertToFormat(QImage::Format_ARGB32);
  if (!kernel.isValid() || source.isNull() || dst.isNull())
    return;
  if (dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  // Each source pixel lands at its own place in dst: a larger dst keeps the
  // rest, the part of the source beyond a smaller one is dropped.
  const int w = source.width(), h = source.height(), half = kernel.n / 2;
  for (int y = 0; y < std::min(h, dst.height()); ++y) {
    uint32_t* out = reinterpret_cast<uint32_t*>(dst.scanLine(y));
    for (int x = 0; x < std::min(w, dst.width()); ++x) {
      double r = 0, g = 0, b = 0, a = 0, total = 0;
      for (int dy = std::max(-half, -y); dy <= std::min(half, h - 1 - y); ++dy) {
        const uint32_t* line = reinterpret_cast<const uint32_t*>(source.constScanLine(y + dy));
        for (int dx = std::max(-half, -x); dx <= std::min(half, w - 1 - x); ++dx) {
          const double k = kernel.at(dx, dy);
          const uint32_t p = line[x + dx];
          r += ((p >> 16) & 0xFF) * k;
          g += ((p >> 8) & 0xFF) * k;
          b += (p & 0xFF) * k;
          a += (p >> 24) * k;
          total += k;
        }
      }
      if (total != 0) {
        r = std::trunc(r / total);
        g = std::trunc(g / total);
        b = std::trunc(b / total);
        a = std::trunc(a / total);
      }
      const double mean = std::trunc((r + g + b) / 3);
      if (mean < 0)
        out[x] = 0xFF000000u;
      else if (mean > 255)
        out[x] = 0xFFFFFFFFu;
      else
        out[x] = channel(a) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
  }
}

void applyKernel(QImage& image, const Kernel& kernel)
{
  applyKernelFrom(image, kernel, QImage(image));
}

void sharpenFilter(QImage& image, int size, int strength)
{
  applyKernel(image, sharpenKernel(size, strength, image.size()));
}

void tentFilter(QImage& image, int size, int strength)
{
  applyKernel(image, tentKernel(size, strength, image.size()));
}

void edgeWeightedFilter(QImage& image, int size, int strength)
{
  applyKernel(image, edgeWeightedKernel(size, strength, image.size()));
}

void tentFilterFrom(QImage& dst, int size, int strength, const QImage& src)
{
  applyKernelFrom(dst, tentKernel(size, strength, src.size()), src);
}

void edgeWeightedFilterFrom(QImage& dst, int size, int strength, const QImage& src)
{
  applyKernelFrom(dst, edgeWeightedKernel(size, strength, src.size()), src);
}

void CharacterData::filterCells(int kind, int size, int strength, bool fromSnapshot)
{
  if (kind != 0 && kind != 1)
    return;
  const auto& saved = m_snapshot.images;
  forEachScopedCell([&](int e, int c) {
    QImage& image = m_images[e][c];
    if (!fromSnapshot) {
      kind == 0 ? tentFilter(image, size, strength) : edgeWeightedFilter(image, size, strength);
      return;
    }
    if (e >= static_cast<int>(saved.size()) || c >= static_cast<int>(saved[e].size()))
      return;
    const QImage& source = saved[e][c];
    kind == 0 ? tentFilterFrom(image, size, strength, source) : edgeWeightedFilterFrom(image, size, strength, source);
  });
}
