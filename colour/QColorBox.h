#pragma once
#include <QColor>
#include <QDialog>
#include <QString>

class QColorLittleBox;
class QColorPalette;
class QColorSlide;
class QAction;
class QComboBox;
class QLabelClickable;
class QLineEdit;
class QPushButton;
class QSpectrum;
class QSpinBox;
class QVBoxLayout;

// The colour chooser. The dock form edits, in place, the primary and the
// secondary colour of its owner, a combo choosing which one is current; the
// dialog form edits one colour and is run by getColor. Every child widget
// shows the current colour and is kept in step with it; the box has no
// signals, its owner reads the colours when it needs them.
class QColorBox : public QDialog
{
  Q_OBJECT

public:
  // Dock form: both colours belong to the caller and must outlive the box.
  QColorBox(QColor* primary, QColor* secondary, bool alphaEnabled, QWidget* parent = nullptr);
  // Dialog form, normally reached through getColor.
  QColorBox(QColor* color, bool alphaEnabled, QWidget* parent = nullptr);

  // Forced opaque when the box does not edit alpha.
  QColor currentColor();
  QColor otherColor();

  // Runs the dialog form on color (through the prompt layer's colour entry
  // when one is set). color is edited while the dialog is open and not
  // restored on cancel: callers pass a copy and keep it only when *ok is
  // true. Without alpha, color comes back opaque either way.
  static void getColor(QColor& color, bool* ok, bool alphaEnabled, QString title, QWidget* parent);

public slots:
  // forcing names the colour written: -1 the current one, 0 the primary, 1 the
  // secondary, anything else none.
  void updateColor(QColor new_color, bool keepAlpha = true, int forcing = -1, bool toHexa = true);
  void changeAlpha(int new_alpha, int forcing = -1);
  void changeIndex(int new_index);
  void toPrimary();
  void toSecondary();
  void addedColor();
  void setAdd(bool b);
  void setColor(QColor new_color);
  // color_type 2 the primary, 3 the secondary.
  void setColor(QColor new_color, int color_type);
  void loadPalette();
  void invertColor();
  void changeAlphaLabel(int new_alpha, int forcing = -1);
  void hexa2rgb();
  // Escape in the dock would hide the box for good: the dock form ignores it.
  void reject() override;

private:
  void createWidgets();
  void createSlidersAndButtons();
  void layChannels(QVBoxLayout* into);
  void layDock();
  void layDialog(QPushButton* validate, QPushButton* cancel);
  void connectWidgets(QPushButton* validate, QPushButton* cancel);
  void refresh(QColor* colour, int forcing);
  QColor* target(int forcing) const;
  QColorLittleBox* swatchOf(const QColor* colour) const;
  bool isDock() const { return secondary != nullptr; }

  QColor* primary = nullptr;
  QColor* secondary = nullptr;
  QLineEdit* hexEdit = nullptr;
  QComboBox* colorChoice = nullptr;
  QPushButton* addButton = nullptr;
  QPushButton* paletteButton = nullptr;
  QSpinBox* redSpin = nullptr;
  QSpinBox* greenSpin = nullptr;
  QSpinBox* blueSpin = nullptr;
  QSpinBox* hueSpin = nullptr;
  QSpinBox* saturationSpin = nullptr;
  QSpinBox* valueSpin = nullptr;
  QSpinBox* alphaSpin = nullptr;
  QSpectrum* spectrum = nullptr;
  QColorSlide* redSlide = nullptr;
  QColorSlide* greenSlide = nullptr;
  QColorSlide* blueSlide = nullptr;
  QColorSlide* hueSlide = nullptr;
  QColorSlide* saturationSlide = nullptr;
  QColorSlide* valueSlide = nullptr;
  QColorSlide* alphaSlide = nullptr;
  bool alphaEnabled = true;
  QLabelClickable* invertLabel = nullptr;
  QColorLittleBox* primaryBox = nullptr;
  QColorLittleBox* secondaryBox = nullptr;
  QColorPalette* palette = nullptr;
  QAction* savePaletteAction = nullptr;
  QAction* openPaletteAction = nullptr;
  QAction* defaultPaletteAction = nullptr;
};
