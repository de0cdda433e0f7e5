#pragma once
// The dialog that names and sizes a character sheet. New mode announces the
// chosen character by validNewChar; edit mode renames and resizes the
// document of a sub-window in place, with an undo step. The user types the
// whole sheet's size; the dialog shows the cell size that follows from it.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollLayer;
class QSpinBox;

class QNewCharacter : public QDialog
{
  Q_OBJECT

public:
  // A name left empty proposes the next "Sans titre"; sizes of 0 propose the
  // layout's defaults. scrollLayer is the edited sub-window's widget in edit
  // mode, null otherwise. The dialog is modal and deletes itself when closed.
  QNewCharacter(int type, QWidget* parent = nullptr, const QString& name = QString(), bool editMode = false,
                QScrollLayer* scrollLayer = nullptr, int width = 0, int height = 0);
  ~QNewCharacter() override;

  // The spin boxes keep what was typed; the sheet is always a whole number of
  // cells, so their values are read down to the layout's step.
  QSize roundedSize() const;

  QSpinBox* heightBox;
  QSpinBox* widthBox;
  QLineEdit* nameEdit;
  QLabel* cellWidthLabel;
  QLabel* cellHeightLabel;
  QLabel* messageLabel;
  int type;
  QScrollLayer* scrollLayer;
  QPushButton* validButton;
  bool editMode;

  // Numbers the proposed names of every dialog of the run; grows only when a
  // new character is validated.
  static int untitledCount;

signals:
  void validNewChar(const QString& name, int width, int height, int type);

public slots:
  void create();
  void changeValue(int value);
  void activeButton();
};
