#include "model/CharacterData.h"
#include "core/BlendImage.h"
#include "ops/Compose.h"
#include "ops/PreviewStep.h"

#include <atomic>

namespace {

// One animation step for the whole program, so that every character's preview
// continues the same walk cycle. Only the GUI thread advances it; atomic so
// that a worker rendering frames reads a whole value.
std::atomic<int> previewStep{0};

// The sheet column shown at each step: VX sheets hold the standing pose in
// their middle column.
const int kXpColumn[4] = {0, 1, 2, 3};
const int kVxColumn[4] = {1, 0, 1, 2};

} // namespace

int currentPreviewStep()
{
  return previewStep.load() & 3;
}

void advancePreviewStep()
{
  previewStep.store((previewStep.load() + 1) & 3);
}

std::array<QImage, 4> CharacterData::previewImages() const
{
  const int columns = m_type == XP ? 4 : 3;
  const QSize frameSize(m_size.width() / columns, m_size.height() / 4);
  const QImage blank = blankImage(frameSize);
  std::array<QImage, 4> frames{blank, blank, blank, blank};
  if (m_type != XP && m_type != VX)
    return frames;

  const int step = previewStep.load() & 3;
  const int column = m_type == XP ? kXpColumn[step] : kVxColumn[step];
  if (m_drawBeyondBorders) {
    // Neighbouring cells may spill into this one: compose the whole sheet and
    // cut the frames out of it.
    QImage sheet = blankImage(m_size);
    if (!sheet.isNull()) {
      composeSheet(*this, sheet, false);
      for (int k = 0; k < 4; ++k)
        blendImage(frames[k], 0, 0, sheet, column * frameSize.width(), k * frameSize.height(), frameSize.width(),
                   frameSize.height());
    }
  } else {
    for (int e = 0; e < elementCount(); ++e) {
      if (!m_visible[e])
        continue;
      for (int k = 0; k < 4; ++k) {
        const std::size_t c = static_cast<std::size_t>(k * columns + column);
        if (c >= m_images[e].size() || c >= m_offsets[e].size())
          continue;
        const QImage& img = m_images[e][c];
        const CellBlock b = clipToCell(m_offsets[e][c], img.size(), frameSize);
        if (!b.isEmpty())
          blendImage(frames[k], b.dx, b.dy, img, b.sx, b.sy, b.w, b.h);
      }
    }
  }
  previewStep.store((step + 1) & 3);
  return frames;
}

std::array<QPixmap, 4> CharacterData::previewPixmaps() const
{
  const std::array<QImage, 4> frames = previewImages();
  return {QPixmap::fromImage(frames[0]), QPixmap::fromImage(frames[1]), QPixmap::fromImage(frames[2]),
          QPixmap::fromImage(frames[3])};
}
