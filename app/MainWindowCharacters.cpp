// The main window's selection and character commands.
#include "app/MainWindow.h"

#include "app/QNewCharacter.h"
#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "library/QAddCharacterElementBox.h"
#include "model/CharacterData.h"
#include "model/ElementFile.h"
#include "retouch/QResizeBox.h"
#include "retouch/QRotateBox.h"
#include "retouch/QTSLBox.h"
#include "widgets/Prompts.h"
#include "widgets/QComboWidget.h"
#include "widgets/Questions.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

void MainWindow::flipCharH()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->mirrorCells(true, false);
    canvas->recordEdit("Retournement horizontal");
  }
}

void MainWindow::flipCharV()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->mirrorCells(false, true);
    canvas->recordEdit("Retournement vertical");
  }
}

void MainWindow::rotateCharacterP90()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->rotateCells(90.0, false, false);
    canvas->recordEdit("Rotation de 90°");
  }
}

void MainWindow::rotateCharacterM90()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->rotateCells(-90.0, false, false);
    canvas->recordEdit("Rotation de -90°");
  }
}

void MainWindow::changeSize()
{
  QLayer* canvas = activeLayer();
  QScrollLayer* scroll = canvas ? dynamic_cast<QScrollLayer*>(mdiArea->currentSubWindow()->widget()) : nullptr;
  if (!scroll)
    return;
  const QSize size = canvas->characterData()->size();
  QNewCharacter* dialog =
      new QNewCharacter(canvas->characterType(), this, canvas->name(), true, scroll, size.width(), size.height());
  dialog->show();
}

void MainWindow::convertCharacter()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (document->type() == XP)
    document->convertXPtoVX();
  else
    document->convertVXtoXP();
  // Every cell changed: the thumbnails would show the old sheet.
  canvas->recordEdit("Conversion");
  canvas->updateSize();
}

void MainWindow::reLoadElement()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (!document->reloadElements(askLayoutConversion)) {
    const QStringList parts = QString::fromStdString(document->errorMessage()).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QString details = QStringLiteral("Liste des fichiers qui n'ont pas été ouverts :\n");
    for (int i = 1; i < parts.size(); ++i)
      details += QStringLiteral("- ") + parts[i] + QLatin1Char('\n');
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Fichiers non ouverts"), parts.value(0), details);
  }
  // The elements that did reload keep their new images.
  canvas->recordEdit("Restauration des éléments");
}

void MainWindow::selectAllCellule()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->selectAllCells();
    canvas->refresh();
  }
}

void MainWindow::selectReverseCellule()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->invertCellSelection();
    canvas->refresh();
  }
}

void MainWindow::selectVoidCellule()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->setSelectedCells({});
    canvas->refresh();
  }
}

void MainWindow::addCharacterElement()
{
  if (mdiArea->subWindowList().isEmpty())
    return;
  QAddCharacterElementBox* box = new QAddCharacterElementBox(mdiArea, layerList, this);
  box->show();
  // Keys go to the box at once, as to any dialog the user opens.
  box->activateWindow();
}

// The retouching dialogs delete themselves once closed; none is kept here.
void MainWindow::redimension()
{
  if (QLayer* canvas = activeLayer())
    (new QResizeBox(canvas, layerList, this))->show();
}

void MainWindow::rotateCharacter()
{
  if (QLayer* canvas = activeLayer())
    (new QRotateBox(canvas, layerList, this))->show();
}

void MainWindow::colorationCharacter()
{
  if (QLayer* canvas = activeLayer())
    (new QTSLBox(canvas, layerList, this))->show();
}
