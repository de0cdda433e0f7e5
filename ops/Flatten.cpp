#include "model/CharacterData.h"
#include "ops/Compose.h"

QImage CharacterData::flattenImage()
{
  QImage sheet(m_size, QImage::Format_ARGB32);
  if (!sheet.isNull()) {
    sheet.fill(kBlankPixel);
    composeSheet(*this, sheet, m_onlySelection);
  }
  m_lastFlatten = sheet;
  return sheet;
}

QPixmap CharacterData::toImage()
{
  return QPixmap::fromImage(flattenImage());
}
