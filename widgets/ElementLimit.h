#pragma once
#include <QMessageBox>
#include <QString>

class CharacterData;
class QWidget;

// The one check before a window adds elements: when `added` more would pass
// the element limit, the limit's message is shown (a warning by default; the
// windows that add one file or layer show it as a critical "Erreur") and
// the answer is true, so the caller adds nothing.
bool refusedByElementLimit(QWidget* parent, const CharacterData& document, int added,
                           QMessageBox::Icon icon = QMessageBox::Warning,
                           const QString& title = QStringLiteral("Avertissement"));
