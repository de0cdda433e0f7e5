#pragma once
#include "core/GradientData.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

class GradientSettings;
class QAction;
class QComboBox;
class QGradientCreator;
class QGradientRender;
class QLabel;
class QLabelClickable;
class QPushButton;
class QSpinBox;

// The gradient editor: kind, spread, colour stops and geometry points of a
// gradient, and its ".skd" file. It edits the caller's record, which only
// "Valider" (finishCG) writes.
class QGradientEditor : public QDialog
{
  Q_OBJECT

public:
  // settings is kept, not copied; color is the colour of every stop added.
  QGradientEditor(GradientSettings* settings, QColor color, QWidget* parent = nullptr);
  ~QGradientEditor() override;

  // Runs an editor over settings (through the prompt layer's gradient entry
  // when one is set). *ok, when given, tells whether the user validated; the
  // record is written only then.
  static void getGradient(GradientSettings* settings, bool* ok, QColor color, QString title, QWidget* parent);

  // Paths in UTF-8. A failed read changes nothing in the editor and leaves
  // its message in errorMessage.
  bool readGradientFile(const std::string& path);
  bool writeGradientFile(const std::string& path, QString* reason = nullptr);

public slots:
  void updateLabel();
  void updateColor();
  void updateOption(GradientData stop);
  void updateJoiner(int type);
  void save();
  void load();
  void finishCG();

private:
  QGradientCreator* creator = nullptr;
  QSpinBox* positionBox = nullptr;
  QPushButton* deleteButton = nullptr;
  QAction* joinAction = nullptr;
  QGradientRender* render = nullptr;
  QLabelClickable* colorLabel = nullptr;
  QImage checkerboard;
  QColor currentColor;
  QLabel* startLabel = nullptr;
  QLabel* endLabel = nullptr;
  QLabel* focalIcon = nullptr;
  QLabel* focalLabel = nullptr;
  QComboBox* typeBox = nullptr;
  QComboBox* spreadBox = nullptr;
  std::string errorMessage;
  GradientSettings* settings = nullptr;
};
