#include "model/CharacterData.h"

namespace {

// Rebuilds every element's cells row by row from the old columns listed.
template <std::size_t N>
void remapColumns(CharacterData& doc, int oldColumns, const int (&columns)[N])
{
  std::vector<std::vector<QImage>> images;
  std::vector<std::vector<QPoint>> offsets;
  images.reserve(doc.elementCount());
  offsets.reserve(doc.elementCount());
  for (int e = 0; e < doc.elementCount(); ++e) {
    std::vector<QImage> im;
    std::vector<QPoint> of;
    for (int r = 0; r < 4; ++r) {
      for (int col : columns) {
        const std::size_t c = static_cast<std::size_t>(oldColumns * r + col);
        im.push_back(c < doc.images(e).size() ? doc.images(e)[c] : QImage());
        of.push_back(c < doc.offsets(e).size() ? doc.offsets(e)[c] : QPoint());
      }
    }
    images.push_back(std::move(im));
    offsets.push_back(std::move(of));
  }
  doc.setImages(images);
  doc.setOffsets(offsets);
}

} // namespace

void CharacterData::convertXPtoVX()
{
  if (m_type != XP)
    return;
  m_selectedCells.clear();
  m_size.setWidth(m_size.width() * 3 / 4);
  static const int columns[] = {1, 0, 3};
  remapColumns(*this, 4, columns);
  m_type = VX;
}

// The two new cells that come from one old cell share its pixels until either
// is written: the toolkit's images copy on write, so they stay independent.
void CharacterData::convertVXtoXP()
{
  if (m_type != VX)
    return;
  m_selectedCells.clear();
  m_size.setWidth(m_size.width() * 4 / 3);
  static const int columns[] = {1, 0, 1, 2};
  remapColumns(*this, 3, columns);
  m_type = XP;
}
