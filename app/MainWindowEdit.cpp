// The main window's clipboard, undo, zoom, grid and background commands.
#include "app/MainWindow.h"

#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "canvas/QLayerRender.h"
#include "colour/QColorBox.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "model/CharacterData.h"
#include "model/ClipBoard.h"
#include "widgets/ElementLimit.h"
#include "widgets/Prompts.h"
#include "widgets/QComboWidget.h"
#include "widgets/Questions.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// A copy, kept only when validated: the dialog edits its colour in place.
bool chooseBackground(QColor& colour, QWidget* parent)
{
  QColor chosen = colour;
  bool ok = false;
  QColorBox::getColor(chosen, &ok, true, QStringLiteral("Couleur d'arrière plan"), parent);
  if (ok)
    colour = chosen;
  return ok;
}

void inform(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
  prompts().message(parent, icon, title, text, QString());
}

} // namespace

void MainWindow::changeBg()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  QColor colour = QColor::fromRgba(static_cast<QRgb>(document->backgroundPixel()));
  bool accepted = chooseBackground(colour, this);

  bool showAlpha = true;
  if (accepted && colour.alpha() == 0)
    IniSettings().getValue("showAlpha", showAlpha);
  if (accepted && colour.alpha() == 0 && showAlpha) {
    bool ticked = false;
    while (accepted && colour.alpha() == 0) {
      const QMessageBox::StandardButton answer = askWithCheckBox(
          this, tr("Couleur d'arrière-plan", "Titre de fenêtre"), tr("<h3>Changer la couleur d'arrière-plan</h3>"),
          tr("Vous avez sélectionné une couleur d'arrière-plan entièrement transparente.\n"
             "Le character n'aura donc pas d'arrière-plan visible. Pour résoudre ce problème,\n"
             "vous pouvez resélectionner une couleur d'arrière-plan en augmentant la\n"
             "valeur \"Transparence\". Voulez-vous resélectioner la couleur d'arrière-plan ?"),
          tr("Ne plus afficher ce message"), ticked, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
      if (answer != QMessageBox::Yes)
        break;
      accepted = chooseBackground(colour, this);
      if (ticked)
        break;
    }
    // Built after the last dialog closed: the colour dialog's palette may
    // have stored its own path meanwhile, which an older object would
    // overwrite. Stored only when asked, so a tick is never undone unasked.
    IniSettings().setValue("showAgain", "showAlpha", !ticked);
  }
  if (!accepted)
    return;
  document->setBackgroundPixel(static_cast<int>(colour.rgba()));
  canvas->refresh();
  // The background is saved with the project: without the mark, closing
  // would drop the change without asking. Snapshots do not hold it, so there
  // is no undo step.
  canvas->setModified(true);
}

void MainWindow::copier()
{
  if (QLayer* canvas = activeLayer())
    copySelection(*canvas->characterData(), clipboard);
}

void MainWindow::couper()
{
  QLayer* canvas = activeLayer();
  // The thumbnails show the cleared cells too: the step rebuilds them.
  if (canvas && cutSelection(*canvas->characterData(), clipboard))
    canvas->recordEdit("Couper");
}

void MainWindow::coller()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  switch (clipboard->kind()) {
  case ClipBoard::Elements: {
    const int held = CharacterData(*static_cast<const LayerData*>(clipboard->data())).elementCount();
    if (refusedByElementLimit(this, *document, held) || !pasteElements(*document, *clipboard))
      return;
    break;
  }
  case ClipBoard::Cell:
    if (!pasteCell(*document, *clipboard)) {
      inform(this, QMessageBox::Information, QStringLiteral("Information"),
             QStringLiteral("Veuillez sélectionner un élément et une cellule."));
      return;
    }
    break;
  default:
    inform(this, QMessageBox::Information, QStringLiteral("Coller"), QStringLiteral("Le presse-papier est vide."));
    return;
  }
  canvas->recordEdit("Coller");
}

void MainWindow::undo()
{
  QLayer* canvas = activeLayer();
  const int target = canvas ? canvas->history()->undoTarget() : -1;
  if (target >= 0)
    showHistoryStep(canvas, target);
}

void MainWindow::redo()
{
  QLayer* canvas = activeLayer();
  const int target = canvas ? canvas->history()->redoTarget() : -1;
  if (target >= 0)
    showHistoryStep(canvas, target);
}

void MainWindow::showHistoryStep(QLayer* canvas, int index)
{
  CharacterData* document = canvas->characterData();
  document->setLayerData(canvas->goToHistoryStep(index));
  // The list rebuilds its thumbnails on the way.
  layerList->setCharacterData(document);
  layerRender->setCharacterData(document);
  canvas->updateSize();
  layerList->setScrollOffset(layerList->scrollPosition());
  layerList->refresh();
}

QString MainWindow::zoomText(double zoom)
{
  return QString::number(static_cast<int>(std::trunc(zoom * 100))) + QStringLiteral(" %");
}

void MainWindow::updateZoomP()
{
  stepZoom(0);
}

void MainWindow::updateZoomM()
{
  stepZoom(1);
}

void MainWindow::stepZoom(int direction)
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  const double before = canvas->characterData()->zoom();
  canvas->stepZoom(direction);
  const double after = canvas->characterData()->zoom();
  if (after != before)
    canvas->updateSize();
  zoomEdit->setText(zoomText(after));
}

// The field is left as typed: rewriting it would move the cursor under the
// user's fingers.
void MainWindow::updateZoom(QString text)
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  text.remove(QLatin1Char(' ')).remove(QLatin1Char('%'));
  bool ok = false;
  const double percent = QLocale::c().toDouble(text, &ok);
  canvas->setZoom(ok ? percent / 100 : 0.0);
  canvas->updateSize();
}

void MainWindow::updateZoom()
{
  updateZoom(zoomEdit->text());
}

void MainWindow::updateGrid()
{
  if (QLayer* canvas = activeLayer()) {
    CharacterData* document = canvas->characterData();
    document->setGridShown(!document->isGridShown());
    canvas->refresh();
  }
}

// The sub-window's "Close" answers the platform's close keys, Ctrl+W among
// them on most desktops: both would claim the grid's key and neither would run.
