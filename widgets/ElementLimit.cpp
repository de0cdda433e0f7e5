#include "widgets/ElementLimit.h"

#include "model/CharacterData.h"
#include "widgets/Prompts.h"

bool refusedByElementLimit(QWidget* parent, const CharacterData& document, int added, QMessageBox::Icon icon,
                           const QString& title)
{
  if (document.canAddElements(added))
    return false;
  prompts().message(parent, icon, title, QString::fromUtf8(CharacterData::kTooManyElements), QString());
  return true;
}
