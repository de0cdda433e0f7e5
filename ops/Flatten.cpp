#include "model/CharacterData.h"
#include "ops/Compose.h"

QImage CharacterData::flattenImage()
{
  QImage sheet = blankImage(m_size);
  if (!sheet.isNull())
    composeSheet(*this, sheet, m_onlySelection);
  m_lastFlatten = sheet;
  return sheet;
}

QPixmap CharacterData::toImage()
{
  return QPixmap::fromImage(flattenImage());
}
