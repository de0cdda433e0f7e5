#include "widgets/Questions.h"

#include "core/PathUtils.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const Qt::WindowFlags kBoxFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint;

QMessageBox::StandardButton askClose(const QString& heading, const QString& filePath, const QPixmap& thumbnail,
                                     QMessageBox::StandardButtons buttons, QWidget* parent)
{
  const QString text = heading
      + QStringLiteral("<br /><b>Le fichier suivant a des modifications non enregistrées :</b><br />")
      + richTextEscaped(pathFileName(filePath));
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Fermeture"), text, buttons, parent, kBoxFlags);
  const struct
  {
    QMessageBox::StandardButton button;
    const char* icon;
  } icons[] = {
      {QMessageBox::Save, ":/icon/Save.png"},
      {QMessageBox::SaveAll, ":/icon/SaveAll.png"},
      {QMessageBox::Discard, ":/icon/dontSaveDialog.png"},
      {QMessageBox::Cancel, ":/icon/remove.png"},
  };
  for (const auto& i : icons)
    if (QAbstractButton* b = box.button(i.button))
      b->setIcon(QIcon(QString::fromLatin1(i.icon)));
  box.setInformativeText(QStringLiteral("<i>Que souhaitez-vous faire ?</i>"));
  box.setIconPixmap(thumbnail);
  return prompts().runMessageBox(box);
}

} // namespace

QMessageBox::StandardButton askWithCheckBox(QWidget* parent, const QString& title, const QString& text,
                                            const QString& note, const QString& checkText, bool& ticked,
                                            QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                            Qt::TextFormat noteFormat)
{
  QMessageBox box(icon, title, text, buttons, parent, kBoxFlags);

  // The note and the check box go under the text, in the text's column (the
  // message box rebuilds its grid on some setters, so this comes last).
  QCheckBox* check = new QCheckBox(checkText, &box);
  check->setChecked(ticked);
  QVBoxLayout* extra = new QVBoxLayout;
  QLabel* noteLabel = new QLabel(note, &box);
  noteLabel->setTextFormat(noteFormat);
  extra->addWidget(noteLabel);
  extra->addWidget(check);
  if (QGridLayout* grid = qobject_cast<QGridLayout*>(box.layout())) {
    int column = 1;
    if (QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      int row = 0, rowSpan = 0, colSpan = 0;
      const int index = grid->indexOf(label);
      if (index >= 0)
        grid->getItemPosition(index, &row, &column, &rowSpan, &colSpan);
    }
    grid->addLayout(extra, 1, column);
  } else {
    delete extra;
  }

  const QMessageBox::StandardButton answer = prompts().runMessageBox(box);
  ticked = check->isChecked();
  return answer;
}

QMessageBox::StandardButton askCloseCharacters(const QString& filePath, const QPixmap& thumbnail, QWidget* parent)
{
  return askClose(QStringLiteral("<h3>Fermer un character</h3>"), filePath, thumbnail,
                  QMessageBox::Save | QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel, parent);
}

QMessageBox::StandardButton askCloseCharacter(const QString& filePath, const QPixmap& thumbnail, QWidget* parent)
{
  return askClose(QStringLiteral("<h2>Fermer un character</h2>"), filePath, thumbnail,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
}

QMessageBox::StandardButton askWithNote(QWidget* parent, const QString& title, const QString& text,
                                        const QString& informativeText, QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon)
{
  QMessageBox box(icon, title, text, buttons, parent, kBoxFlags);
  box.setInformativeText(informativeText);
  return prompts().runMessageBox(box);
}

bool askLayoutConversion(const std::string& question)
{
  return prompts().question(nullptr, QStringLiteral("Restauration"), QString::fromStdString(question),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton) == QMessageBox::Yes;
}
