#include "ops/ColourShift.h"

#include "core/ColourUtils.h"
#include "model/CharacterData.h"
#include "ops/ScopedElements.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

constexpr double kThird = 1.0 / 3.0;
constexpr double kTwoThirds = 2.0 / 3.0;

int toChannel(double v)
{
  // Shifts beyond the dialogs' ranges could push a channel out of its byte.
  return std::clamp(static_cast<int>(v), 0, 255);
}

// The shifted colour of one pixel, as 0x00RRGGBB. The intermediate values
// held in floats are rounded there on purpose: tints made earlier must come
// out word for word the same. Everything else is computed in double.
uint32_t shiftColour(const TslShift& shift, bool absoluteHue, uint32_t pixel)
{
  // The round trip through floats moves many colours by one level: a shift
  // that changes nothing must leave them as they are.
  if (!absoluteHue && shift.hue == 0 && shift.saturation == 0 && shift.lightness == 0)
    return pixel & 0x00FFFFFFu;
  const float r = static_cast<float>(((pixel >> 16) & 0xFF) / 255.0);
  const float g = static_cast<float>(((pixel >> 8) & 0xFF) / 255.0);
  const float b = static_cast<float>((pixel & 0xFF) / 255.0);
  const float mx = std::max({r, g, b});
  const float mn = std::min({r, g, b});
  const double sum = static_cast<double>(mx) + mn;
  const float lightness = static_cast<float>(sum * 0.5);
  const double d = static_cast<double>(mx) - mn;

  float hue = 0.f;
  float saturation = 0.f;
  if (d != 0) {
    saturation = static_cast<float>(lightness < 0.5 ? d / sum : d / (2.0 - mx - mn));
    const float dR = static_cast<float>(((static_cast<double>(mx) - r) / 6 + d * 0.5) / d);
    const float dG = static_cast<float>(((static_cast<double>(mx) - g) / 6 + d * 0.5) / d);
    const float dB = static_cast<float>(((static_cast<double>(mx) - b) / 6 + d * 0.5) / d);
    if (r == mx)
      hue = static_cast<float>(static_cast<double>(dB) - dG);
    else if (g == mx)
      hue = static_cast<float>((kThird + dR) - dB);
    else
      hue = static_cast<float>((kTwoThirds + dG) - dR);
    if (hue < 0)
      hue = static_cast<float>(hue + 1.0);
    if (hue > 1)
      hue = static_cast<float>(hue - 1.0);
  }

  const float h360 = static_cast<float>(hue * 360.0);
  const float s255 = static_cast<float>(saturation * 255.0);
  const float l255 = static_cast<float>(lightness * 255.0);

  double newHue;
  if (absoluteHue) {
    newHue = shift.hue;
  } else {
    newHue = static_cast<double>(shift.hue) + h360;
    if (newHue >= 360)
      newHue -= 360;
    else if (newHue < 0)
      newHue += 360;
  }
  const float s1 = static_cast<float>(shift.saturation > 0 ? s255 + (255.0 - s255) * shift.saturation / 100
                                                          : s255 + static_cast<double>(s255) * shift.saturation / 100);
  const float l1 = static_cast<float>(shift.lightness > 0 ? l255 + (255.0 - l255) * shift.lightness / 100
                                                         : l255 + static_cast<double>(l255) * shift.lightness / 100);

  const float h = static_cast<float>(newHue / 360.0);
  const float s = static_cast<float>(s1 / 255.0);
  const float l = static_cast<float>(l1 / 255.0);

  int red, green, blue;
  if (s1 == 0) {
    red = green = blue = toChannel(static_cast<double>(l) * 255);
  } else {
    const double hi = l < 0.5 ? static_cast<double>(l) * (1.0 + s) : (static_cast<double>(l) + s) - static_cast<double>(s) * l;
    const double lo = 2.0 * l - hi;
    const float hr = static_cast<float>(h + kThird);
    const float hb = static_cast<float>(h - kThird);
    red = toChannel(255 * hueToChannel(lo, hi, hr));
    green = toChannel(255 * hueToChannel(lo, hi, h));
    blue = toChannel(255 * hueToChannel(lo, hi, hb));
  }
  return (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) | static_cast<uint32_t>(blue);
}

// Sprites use few distinct colours, and the dialog re-runs the whole shift at
// every slider move: remember recent colours (the shift and the absolute-hue
// flag are fixed for one cache's life). The alpha does not enter the colour
// computation, so the key is the colour alone.
class ShiftCache
{
public:
  ShiftCache(const TslShift& shift, bool absoluteHue) : m_shift(shift), m_absoluteHue(absoluteHue)
  {
    std::fill(std::begin(m_keys), std::end(m_keys), kEmpty);
  }

  uint32_t shifted(uint32_t pixel)
  {
    const uint32_t colour = pixel & 0x00FFFFFFu;
    if (colour != m_lastIn) {
      const uint32_t slot = (colour * 2654435761u) >> (32 - kBits);
      if (m_keys[slot] != colour) {
        m_keys[slot] = colour;
        m_values[slot] = shiftColour(m_shift, m_absoluteHue, colour);
      }
      m_lastIn = colour;
      m_lastOut = m_values[slot];
    }
    return (pixel & 0xFF000000u) | m_lastOut;
  }

private:
  static constexpr int kBits = 12;
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu; // no colour has a top byte
  TslShift m_shift;
  bool m_absoluteHue;
  uint32_t m_lastIn = kEmpty;
  uint32_t m_lastOut = 0;
  uint32_t m_keys[1u << kBits];
  uint32_t m_values[1u << kBits] = {};
};

void shiftImage(ShiftCache& cache, QImage& image, const QImage* source)
{
  if (image.isNull())
    return;
  if (image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_ARGB32);
  int w = image.width();
  int h = image.height();
  QImage input;
  if (source) {
    if (source->isNull())
      return;
    input = source->format() == QImage::Format_ARGB32 ? *source : source->convertToFormat(QImage::Format_ARGB32);
    // A source smaller than the image only covers part of it.
    w = std::min(w, input.width());
    h = std::min(h, input.height());
  }
  for (int y = 0; y < h; ++y) {
    const uint32_t* in = source ? reinterpret_cast<const uint32_t*>(input.constScanLine(y)) : nullptr;
    uint32_t* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
    if (!in)
      in = out;
    for (int x = 0; x < w; ++x) {
      const uint32_t p = in[x];
      if (p >> 24)
        out[x] = cache.shifted(p);
    }
  }
}

} // namespace

void applyTslShift(const TslShift& shift, QImage& image, bool absoluteHue, bool fromSource, const QImage& source)
{
  auto cache = std::make_unique<ShiftCache>(shift, absoluteHue);
  shiftImage(*cache, image, fromSource ? &source : nullptr);
}

void CharacterData::changeColoration(const TslShift& shift, bool absoluteHue, bool fromSnapshot)
{
  const Snapshot& saved = snapshot();
  forEachScopedElementAtOnce(*this, [&](int e, const std::vector<int>& cells) {
    // One cache for the cells of an element: they share their colours.
    auto cache = std::make_unique<ShiftCache>(shift, absoluteHue);
    for (int c : cells) {
      if (!fromSnapshot) {
        shiftImage(*cache, m_images[e][c], nullptr);
        continue;
      }
      // Nothing to read where the snapshot holds no such cell.
      if (e >= static_cast<int>(saved.images.size()) || c >= static_cast<int>(saved.images[e].size()))
        continue;
      shiftImage(*cache, m_images[e][c], &saved.images[e][c]);
    }
  });
}
