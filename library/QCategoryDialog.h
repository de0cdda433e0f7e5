#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Rich-text status lines under a name field: red refuses, green accepts.
QString redStatus(const QString& text);
QString greenStatus(const QString& text);
// Why the library windows refuse an element's file name, empty when they
// accept it.
QString elementNameRefusal(const QString& name);

// "Créer une nouvelle catégorie": the name of a new category folder, checked
// against the folder it goes into. Modal, shown rather than run, and deleted
// once closed; its owner connects the name field and "Valider" to its own
// slots and calls checkName and createIn from them.
class QCategoryDialog : public QDialog
{
  Q_OBJECT

public:
  explicit QCategoryDialog(QWidget* parent);

  // Sets the status line and "Valider" for the name typed, in folder.
  void checkName(const QString& name, const QString& folder);
  // Makes the folder (one level); on failure says so. The dialog stays open.
  bool createIn(const QString& folder);

  QLabel* statusLabel;
  QLineEdit* nameField;
  QPushButton* validButton;
  QPushButton* cancelButton;
};
