#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The one door through which every modal question, message box and file
// dialog of the program goes. The members default to the toolkit's own
// dialogs; tests replace them to answer without a display.
struct Prompts
{
  // Runs a message box that the caller built and returns the clicked standard
  // button.
  std::function<QMessageBox::StandardButton(QMessageBox& box)> runMessageBox;
  std::function<QMessageBox::StandardButton(QWidget* parent, const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton)>
      question;
  std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                     const QString& detailedText)>
      message;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                        QString* selectedFilter)>
      openFileName;
  std::function<QStringList(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)>
      openFileNames;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                        QString* selectedFilter)>
      saveFileName;
  std::function<QString(QWidget* parent, const QString& caption, const QString& dir)> existingDirectory;
};

// The process-wide instance; tests replace its members.
Prompts& prompts();
// Back to the toolkit defaults.
void resetPrompts();
