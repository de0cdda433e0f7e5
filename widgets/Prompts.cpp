#include "widgets/Prompts.h"

#include "core/IniSettings.h"
#include "core/PathUtils.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QRegularExpression>
#include <QUrl>

namespace {

Prompts toolkitPrompts()
{
  Prompts p;
  p.runMessageBox = [](QMessageBox& box) {
    box.exec();
    return box.standardButton(box.clickedButton());
  };
  p.question = [](QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
                  QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setTextFormat(Qt::RichText);
    if (box.exec() == -1)
      return QMessageBox::Cancel;
    return box.standardButton(box.clickedButton());
  };
  p.message = [](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                 const QString& detailedText) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    // Guessed as plain, an escaped "&" of a path would show as "&amp;".
    box.setTextFormat(Qt::RichText);
    if (!detailedText.isEmpty())
      box.setDetailedText(detailedText);
    box.exec();
  };
  p.openFileName = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                      QString* selectedFilter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter);
  };
  p.openFileNames = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                       QString* selectedFilter) {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter, selectedFilter);
  };
  // The dialog appends the chosen filter's suffix itself, so its overwrite
  // question is about the name that will really be written.
  p.saveFileName = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                      QString* selectedFilter) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(filterSuffix(chosen)); });
    if (selectedFilter && !selectedFilter->isEmpty())
      dialog.selectNameFilter(*selectedFilter);
    dialog.setDefaultSuffix(filterSuffix(dialog.selectedNameFilter()));
    if (dialog.exec() != QDialog::Accepted)
      return QString();
    if (selectedFilter)
      *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
  };
  p.existingDirectory = [](QWidget* parent, const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
  };
  p.about = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::about(parent, title, text);
  };
  p.item = [](QWidget* parent, const QString& title, const QString& label, const QStringList& items, int current,
              bool editable, bool* ok) {
    return QInputDialog::getItem(parent, title, label, items, current, editable, ok);
  };
  p.runDialog = [](QDialog& dialog) { return dialog.exec(); };
  p.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return p;
}

} // namespace

QString filterSuffix(const QString& filter)
{
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([^\\s;)*]+)"));
  return pattern.match(filter).captured(1);
}

bool mayReplaceAppendedName(QWidget* parent, const QString& title, const QString& answer, const QString& path)
{
  if (path == answer || !QFileInfo::exists(path))
    return true;
  return prompts().question(parent, title,
                            QStringLiteral("Le fichier %1 existe déjà.<br />Voulez-vous le remplacer ?")
                                .arg(richTextEscaped(QDir::toNativeSeparators(path))),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
      == QMessageBox::Yes;
}

Prompts& prompts()
{
  static Prompts instance = toolkitPrompts();
  return instance;
}

void resetPrompts()
{
  prompts() = toolkitPrompts();
}

QStringList askInRememberedFolder(FileDialogKind kind, QWidget* parent, const char* key, const QString& fallback,
                                  const QString& caption, const QString& filter, QString* selectedFilter)
{
  QString folder = fallback;
  IniSettings().getValue(key, folder);
  QStringList answers;
  switch (kind) {
  case FileDialogKind::OpenFile:
    answers << prompts().openFileName(parent, caption, folder, filter, selectedFilter);
    break;
  case FileDialogKind::OpenFiles:
    answers = prompts().openFileNames(parent, caption, folder, filter, selectedFilter);
    break;
  case FileDialogKind::SaveFile:
    answers << prompts().saveFileName(parent, caption, folder, filter, selectedFilter);
    break;
  case FileDialogKind::Folder:
    answers << prompts().existingDirectory(parent, caption, folder);
    break;
  }
  answers.removeAll(QString());
  if (answers.isEmpty())
    return answers;
  const QString& first = answers.first();
  if (!first.contains(QLatin1Char('?')))
    IniSettings().setValue("Path", key, kind == FileDialogKind::Folder ? first : pathDirectory(first));
  return answers;
}

