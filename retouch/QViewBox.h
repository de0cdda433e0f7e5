#pragma once
#include <QDialog>

class CharacterData;
class QCheckBox;
class QCloseEvent;
class QHBoxLayout;
class QLayer;
class QLayerList;
class QPushButton;
class QSpinBox;
class QTimer;
class QVBoxLayout;

// The frame of the retouching dialogs: the document's preview snapshot is
// taken when the dialog opens, every preview recomputes from it, "Valider"
// keeps the result as one undo step, every other way out puts the character
// back. The dialog deletes itself once closed.
class QViewBox : public QDialog
{
  Q_OBJECT

public:
  QViewBox(QLayer* layer, QLayerList* layerList, QWidget* parent);

public slots:
  // Escape hides a dialog without a close event: it must restore as well.
  void reject() override;

protected slots:
  void changeApercu(bool new_apercu);
  void cancelModif();
  virtual void updateApercu() = 0;
  virtual void validModif() = 0;

protected:
  // The subclass's operation on the current control values, from the snapshot.
  virtual void applyOperation() = 0;
  // The bodies of updateApercu() and validModif(). A preview waits for the
  // event queue to empty, so a burst of value changes shows its last values
  // once.
  void showPreview();
  void keepResult(const char* label);
  // The common end of every validModif(), after the edit was recorded.
  void finishModif();
  void closeEvent(QCloseEvent* event) override;
  // A slider 200 pixels wide and a spin box over one range, each following
  // the other; the spin box drives the preview. Returns them side by side.
  QHBoxLayout* sliderRow(QSpinBox*& spin, int minimum, int maximum, int start, const QString& suffix);
  // The two rows that end every dialog, the option (then `extraOption`, if
  // any) and "Apercu" above "Valider" and "Annuler"; fixes the size.
  void finishLayout(QVBoxLayout* box, QWidget* extraOption, const QString& icon);

  QLayer* layer;
  CharacterData* character;
  QLayerList* layerList;
  bool done;
  QCheckBox* apercuBox;
  QCheckBox* optionBox;
  QPushButton* validButton;
  QPushButton* cancelButton;
  QTimer* previewTimer;

private:
  void runPreview();
  // Puts the saved state back and lets the snapshot go; once only, since a
  // restore after the clear would empty the document.
  void restoreDocument();
};
