#include "core/Prompts.h"

#include <QFileDialog>

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
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
  };
  p.message = [](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                 const QString& detailedText) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    if (!detailedText.isEmpty())
      box.setDetailedText(detailedText);
    box.exec();
  };
  p.openFileName = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                      QString* selectedFilter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter, selectedFilter);
  };
  p.openFileNames = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
  };
  p.saveFileName = [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                      QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
  };
  p.existingDirectory = [](QWidget* parent, const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
  };
  return p;
}

} // namespace

Prompts& prompts()
{
  static Prompts instance = toolkitPrompts();
  return instance;
}

void resetPrompts()
{
  prompts() = toolkitPrompts();
}
