#include "app/MainWindow.h"

#include "app/QHelpDialog.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "canvas/QLayerRender.h"
#include "canvas/QScrollLayer.h"
#include "colour/QColorBox.h"
#include "core/GradientBrushes.h"
#include "core/IniSettings.h"
#include "model/CharacterData.h"
#include "model/ClipBoard.h"
#include "widgets/QComboWidget.h"

#include <QAction>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

QIcon iconOf(const QString& name)
{
  return name.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/icon/") + name);
}

} // namespace

MainWindow::MainWindow()
  : QMainWindow(nullptr), clipboard(nullptr), mdiArea(nullptr), recentFilesMenu(nullptr), layerList(nullptr),
    layerRender(nullptr), colorBox(nullptr), drawModeAction(nullptr), placeholderCharacter(nullptr), zoomEdit(nullptr),
    moveAction(nullptr), pipetteAction(nullptr), penAction(nullptr), lineAction(nullptr), rectAction(nullptr),
    circleAction(nullptr), rubberAction(nullptr), targetZoneAction(nullptr), allZoneAction(nullptr),
    selectedZoneAction(nullptr), selectAction(nullptr), contourModeAction(nullptr), gridAction(nullptr),
    gradientLabel(nullptr), pleinModeAction(nullptr), pleinContourModeAction(nullptr), elementsDockAction(nullptr),
    renderDockAction(nullptr), colorsDockAction(nullptr), drawingToolBar(nullptr), rubberMode(0), tool(SelectTool),
    widthLabel(nullptr), shapeLabel(nullptr), widthSpin(nullptr), shapeCombo(nullptr), helpDialog(nullptr),
    quickHelpWindow(nullptr), elementsDock(nullptr), renderDock(nullptr), colorsDock(nullptr)
{
  clipboard = new ClipBoard(ClipBoard::Empty);
  setAcceptDrops(true);

  QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&Fichier"));
  QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edition"));
  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&Affichage"));
  QMenu* charactersMenu = menuBar()->addMenu(QStringLiteral("&Characters"));
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("?"));
  QMenu* selectionMenu = charactersMenu->addMenu(iconOf(QStringLiteral("sélectionCase.png")), QStringLiteral("Sélection"));

  fillFileMenu(fileMenu);
  fillEditMenu(editMenu);
  fillViewMenu(viewMenu);
  fillCharactersMenu(charactersMenu, selectionMenu);
  fillHelpMenu(helpMenu);

  QLabel* ready = new QLabel(QStringLiteral("Prêt"));
  statusBar()->addWidget(ready, 0);

  mdiArea = new QMdiArea(this);
  setCentralWidget(mdiArea);
  mdiArea->setViewMode(QMdiArea::TabbedView);

  addToolBars();
  addDocks();
  connectDockToggles();

  // A row of its own: beside the four others, the options of a tool would
  // hide behind the bar's overflow button.
  addToolBarBreak();
  drawingToolBar = addToolBar(QStringLiteral("Dessins"));
  drawingToolBar->setEnabled(false);

  readColours();

  colorBox = new QColorBox(&primaryColor, &secondaryColor, true, this);
  colorsDock->setWidget(colorBox);

  layerRender = new QLayerRender(placeholderCharacter, renderDock);
  renderDock->setWidget(layerRender);
  renderDock->setMinimumSize(layerRender->renderSize());

  connect(mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateActiveWindow);

  pen.size = 1;
  pen.shape = 0;
  pen.color = QColor(Qt::black);
  drawMode.paintMode = 0;
  drawMode.fillMode = 1;
  drawScope.scope = 0;
  drawScope.elements.clear();
  drawScope.cell = 0;
  tool = SelectTool;
  rubberMode = 0;
  drawMode.gradient = defaultGradientSettings();
  fixDrawingBarHeight();

  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));
  setWindowTitle(QStringLiteral("Sorvel Kit"));
}

MainWindow::~MainWindow()
{
  // Children still signal while the toolkit destroys them: the MDI area
  // announces a null active sub-window, the docks their hiding. None of it may
  // reach a window already half gone.
  disconnect(mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateActiveWindow);
  for (QObject* child : findChildren<QObject*>())
    child->disconnect(this);
  // Whatever points into the window's members goes before them: the canvases
  // (the drawing state), the docks' widgets (the placeholder, the clipboard
  // and the two colours).
  delete mdiArea;
  delete layerList;
  delete layerRender;
  delete colorBox;
  delete placeholderCharacter;
  delete clipboard;
  delete helpDialog;
  delete quickHelpWindow;
}

QLayer* MainWindow::activeLayer() const
{
  return canvasOf(mdiArea->currentSubWindow());
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& text, const QKeySequence& shortcut, const QString& icon,
                                const QString& statusTip)
{
  QAction* action = menu->addAction(text);
  if (!icon.isEmpty())
    action->setIcon(iconOf(icon));
  if (!shortcut.isEmpty())
    action->setShortcut(shortcut);
  action->setStatusTip(statusTip);
  return action;
}

void MainWindow::fillFileMenu(QMenu* menu)
{
  QAction* a;
  a = newXPAction = addCommand(menu, QStringLiteral("Nouveau character (XP)"), QKeySequence(QStringLiteral("Ctrl+N")),
                 QStringLiteral("newXP.png"), QStringLiteral("Créer un nouveau character pour RPG Maker XP."));
  connect(a, &QAction::triggered, this, &MainWindow::newCharXP);
  a = newVXAction = addCommand(menu, QStringLiteral("Nouveau character (VX)"), QKeySequence(QStringLiteral("Ctrl+Shift+N")),
                 QStringLiteral("newVX.png"), QStringLiteral("Créer un nouveau character pour RPG Maker VX."));
  connect(a, &QAction::triggered, this, &MainWindow::newCharVX);
  a = newDefaultAction = addCommand(menu, QStringLiteral("Nouveau character basé sur celui par défaut"),
                 QKeySequence(QStringLiteral("Ctrl+Alt+N")), QStringLiteral("newCustom.png"),
                 QStringLiteral("Créer un nouveau character basé sur celui par défaut. Voir le manuel d'aide pour "
                                "plus de renseignements."));
  connect(a, &QAction::triggered, this, &MainWindow::openDefault);
  a = conversionAction = addCommand(menu, QStringLiteral("Conversion de character(s)"), QKeySequence(QStringLiteral("Ctrl+Alt+C")),
                 QStringLiteral("conversionMode.png"),
                 QStringLiteral("Convertit les characters entre les différentes versions de RPG Maker."));
  connect(a, &QAction::triggered, this, &MainWindow::newConversion);
  a = sorvelAction = addCommand(menu, QStringLiteral("Sorvel de tilesets"), QKeySequence(QStringLiteral("Ctrl+Alt+F")),
                 QStringLiteral("sorvel.png"), QStringLiteral("Sorvelne des tilesets les uns à la suite des autres."));
  connect(a, &QAction::triggered, this, &MainWindow::newSorvel);
  menu->addSeparator();

  // Filled before it joins the menu, so that the first showing already lists
  // the stored files. The window owns it.
  recentFilesMenu = new QMenu(QStringLiteral("Fichiers récents"), this);
  updateRecentFiles();
  menu->addMenu(recentFilesMenu);
  menu->addSeparator();

  a = openAction = addCommand(menu, QStringLiteral("Ouvrir"), QKeySequence(QStringLiteral("Ctrl+O")), QStringLiteral("openLittle.png"),
                 QStringLiteral("Ouvre un document (image PNG, Elément Sorvel Kit ou character *.sk)."));
  connect(a, &QAction::triggered, this, &MainWindow::openSKFile);
  a = saveAction = addCommand(menu, QStringLiteral("Enregistrer"), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Save.png"),
                 QStringLiteral("Enregistre le document actif."));
  connect(a, &QAction::triggered, this, &MainWindow::save);
  a = saveAsAction = addCommand(menu, QStringLiteral("Enregistrer sous..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
                 QStringLiteral("SaveAs2.png"), QStringLiteral("Enregistre le document actif sous un autre nom."));
  connect(a, &QAction::triggered, this, &MainWindow::saveAs);
  a = saveAllAction = addCommand(menu, QStringLiteral("Enregistrer tout"), QKeySequence(QStringLiteral("Ctrl+Alt+S")),
                 QStringLiteral("SaveAll.png"), QStringLiteral("Enregistre tous les documents ouverts."));
  connect(a, &QAction::triggered, this, &MainWindow::saveAll);
  a = saveMassAction = addCommand(menu, QStringLiteral("Enregistrer sous différentes teintes"),
                 QKeySequence(QStringLiteral("Ctrl+Shift+Alt+S")), QStringLiteral("savemass.png"),
                 QStringLiteral("Enregistre le document en plusieurs exemplaires en variant la teinte de certains "
                                "éléments."));
  connect(a, &QAction::triggered, this, &MainWindow::saveMass);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Assigner comme character par défaut"), QKeySequence(),
                 QStringLiteral("setCustom.png"),
                 QStringLiteral("Assigne le character actuel en tant que character par défaut. Voir le manuel d'aide "
                                "pour plus de renseignements."));
  connect(a, &QAction::triggered, this, &MainWindow::assignAsDefault);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Ajouter des éléments à la bibliothèque"),
                 QKeySequence(QStringLiteral("Ctrl+Shift+E")), QString(),
                 QStringLiteral("Ajoute des éléments à la bibliothèque de Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::addElementLibrary);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Quitter"), QKeySequence(QStringLiteral("Ctrl+Q")), QStringLiteral("Close.png"),
                 QStringLiteral("Quitte Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::close);
}

void MainWindow::fillEditMenu(QMenu* menu)
{
  QAction* a;
  a = undoAction = addCommand(menu, QStringLiteral("Annuler"), QKeySequence(QStringLiteral("Ctrl+Z")), QStringLiteral("Undo2.png"),
                 QStringLiteral("Annule l'action précédente."));
  connect(a, &QAction::triggered, this, &MainWindow::undo);
  a = redoAction = addCommand(menu, QStringLiteral("Rétablir"), QKeySequence(QStringLiteral("Ctrl+Y")), QStringLiteral("Redo2.png"),
                 QStringLiteral("Rétablit l'action suivante."));
  connect(a, &QAction::triggered, this, &MainWindow::redo);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Couper"), QKeySequence(QStringLiteral("Ctrl+X")), QStringLiteral("cut.png"),
                 QStringLiteral("Supprime la sélection et la copie dans le presse-papier."));
  connect(a, &QAction::triggered, this, &MainWindow::couper);
  a = addCommand(menu, QStringLiteral("Copier"), QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("copy.png"),
                 QStringLiteral("Copie la sélection dans le presse-papier."));
  connect(a, &QAction::triggered, this, &MainWindow::copier);
  a = addCommand(menu, QStringLiteral("Coller"), QKeySequence(QStringLiteral("Ctrl+V")), QStringLiteral("paste.png"),
                 QStringLiteral("Colle le contenu du presse-papier."));
  connect(a, &QAction::triggered, this, &MainWindow::coller);
}

void MainWindow::fillViewMenu(QMenu* menu)
{
  QAction* a;
  gridAction = addCommand(menu, QStringLiteral("Afficher la grille"), QKeySequence(QStringLiteral("Ctrl+W")),
                          QStringLiteral("grid.png"), QStringLiteral("Affiche ou enlève la grille du character."));
  gridAction->setCheckable(true);
  gridAction->setChecked(true);
  connect(gridAction, &QAction::triggered, this, &MainWindow::updateGrid);
  // Built from the key codes: the text "Ctrl++" would not parse as Ctrl and
  // the plus key.
  a = zoomInAction = addCommand(menu, QStringLiteral("Zoom +"), QKeySequence(Qt::CTRL | Qt::Key_Plus), QStringLiteral("zoom-in-32.png"),
                 QStringLiteral("Augmente le zoom du character."));
  connect(a, &QAction::triggered, this, &MainWindow::updateZoomP);
  a = zoomOutAction = addCommand(menu, QStringLiteral("Zoom -"), QKeySequence(Qt::CTRL | Qt::Key_Minus),
                 QStringLiteral("zoom-out-32.png"), QStringLiteral("Diminue le zoom du character."));
  connect(a, &QAction::triggered, this, &MainWindow::updateZoomM);
  menu->addSeparator();
  elementsDockAction = addCommand(menu, QStringLiteral("Eléments"), QKeySequence(Qt::Key_F5), QString(),
                                  QStringLiteral("Affiche ou cache la fenêtre des éléments."));
  renderDockAction = addCommand(menu, QStringLiteral("Rendu"), QKeySequence(Qt::Key_F6), QString(),
                                QStringLiteral("Affiche ou cache la fenêtre du rendu."));
  colorsDockAction = addCommand(menu, QStringLiteral("Couleurs"), QKeySequence(Qt::Key_F7), QString(),
                                QStringLiteral("Affiche ou cache la fenêtre des couleurs."));
  for (QAction* toggle : {elementsDockAction, renderDockAction, colorsDockAction}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
  }
  menu->addSeparator();
  // Connected with the dock toggles, once the docks exist.
  backgroundAction = addCommand(menu, QStringLiteral("Couleur d'arrière plan"), QKeySequence(), QStringLiteral("bg.png"),
             QStringLiteral("Change la couleur d'arrière plan du character."));
}

void MainWindow::fillCharactersMenu(QMenu* menu, QMenu* selectionMenu)
{
  QAction* a;
  selectionMenu->setStatusTip(
      QStringLiteral("Sélectionnez, désélectionnez, inversez la sélection des poses du character."));
  a = addCommand(selectionMenu, QStringLiteral("Sélectionner tout"), QKeySequence(QStringLiteral("Ctrl+A")), QString(),
                 QStringLiteral("Sélectionne toutes les poses de character."));
  connect(a, &QAction::triggered, this, &MainWindow::selectAllCellule);
  a = addCommand(selectionMenu, QStringLiteral("Désélectionner"), QKeySequence(QStringLiteral("Ctrl+D")), QString(),
                 QStringLiteral("Désélectionne toutes les poses du character."));
  connect(a, &QAction::triggered, this, &MainWindow::selectVoidCellule);
  a = addCommand(selectionMenu, QStringLiteral("Inverser la sélection"), QKeySequence(QStringLiteral("Ctrl+I")),
                 QString(), QStringLiteral("Inverse la sélection des poses du character."));
  connect(a, &QAction::triggered, this, &MainWindow::selectReverseCellule);

  a = addElementAction = addCommand(menu, QStringLiteral("Ajout d'un élément ou d'un calque de dessin"),
                 QKeySequence(QStringLiteral("Ctrl+E")), QStringLiteral("Add.png"),
                 QStringLiteral("Ajoute un élément ou un calque de dessin."));
  connect(a, &QAction::triggered, this, &MainWindow::addCharacterElement);
  selectAction = addCommand(menu, QStringLiteral("Sélection"), QKeySequence(QStringLiteral("Ctrl+P")),
                            QStringLiteral("selectionCursor.png"),
                            QStringLiteral("Sélectionne les différentes poses du character."));
  selectAction->setCheckable(true);
  selectAction->setChecked(true);
  connect(selectAction, &QAction::triggered, this, &MainWindow::setSelectTool);
  moveAction = addCommand(menu, QStringLiteral("Déplacement"), QKeySequence(QStringLiteral("Ctrl+M")),
                          QStringLiteral("moveCursor.png"), QStringLiteral("Déplace les éléments sélectionnés."));
  moveAction->setCheckable(true);
  connect(moveAction, &QAction::triggered, this, &MainWindow::setMoveTool);
  a = colorationAction = addCommand(menu, QStringLiteral("Teinte / Saturation"), QKeySequence(QStringLiteral("Ctrl+U")),
                 QStringLiteral("cerclechrom.png"),
                 QStringLiteral("Modifie la teinte/saturation/luminosité des éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::colorationCharacter);
  a = redimensionAction = addCommand(menu, QStringLiteral("Redimension"), QKeySequence(QStringLiteral("Ctrl+T")),
                 QStringLiteral("redimension.png"), QStringLiteral("Redimensionne les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::redimension);
  menu->addSeparator();
  a = rotationAction = addCommand(menu, QStringLiteral("Rotation"), QKeySequence(QStringLiteral("Ctrl+R")), QStringLiteral("rotation.png"),
                 QStringLiteral("Pivote les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacter);
  a = rotateP90Action = addCommand(menu, QStringLiteral("Rotation de 90° horaire"), QKeySequence(), QStringLiteral("rotationP90.png"),
                 QStringLiteral("Pivote les éléments sélectionnés de 90° dans le sens des aiguilles d'une montre."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacterP90);
  a = rotateM90Action = addCommand(menu, QStringLiteral("Rotation de 90° antihoraire"), QKeySequence(), QStringLiteral("rotationM90.png"),
                 QStringLiteral("Pivote les éléments sélectionnés de 90° dans le sens inverse des aiguilles d'une "
                                "montre."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacterM90);
  menu->addSeparator();
  a = flipHAction = addCommand(menu, QStringLiteral("Retournement horizontal"), QKeySequence(), QStringLiteral("flipH.png"),
                 QStringLiteral("Retourne horizontalement les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::flipCharH);
  a = flipVAction = addCommand(menu, QStringLiteral("Retournement vertical"), QKeySequence(), QStringLiteral("flipV.png"),
                 QStringLiteral("Retourne verticalement les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::flipCharV);
  a = restoreAction = addCommand(menu, QStringLiteral("Restauration"), QKeySequence(), QStringLiteral("restauration.png"),
                 QStringLiteral("Restaure les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::reLoadElement);
  menu->addSeparator();
  a = cellSizeAction = addCommand(menu, QStringLiteral("Taille des cellules"), QKeySequence(), QStringLiteral("taille.png"),
                 QStringLiteral("Modifie la taille des cellules du character."));
  connect(a, &QAction::triggered, this, &MainWindow::changeSize);
  a = convertAction = addCommand(menu, QStringLiteral("Convertion du character"), QKeySequence(), QStringLiteral("conversion.png"),
                 QStringLiteral("Convertit le character en création de XP vers VX ou inversement."));
  connect(a, &QAction::triggered, this, &MainWindow::convertCharacter);
  menu->addSeparator();

  struct Tool
  {
    QAction** member;
    const char* text;
    const char* shortcut;
    const char* icon;
    const char* tip;
    void (MainWindow::*slot)(bool);
  };
  const Tool tools[] = {
      {&pipetteAction, "Pipette", "Ctrl+F", "pipette.png", "Sélectionne une couleur.", &MainWindow::setPipetteTool},
      {&penAction, "Pinceau", "Ctrl+G", "Pen.png", "Dessine avec un pinceau.", &MainWindow::setPenTool},
      {&rubberAction, "Gomme", "Ctrl+H", "gomme.png", "Efface une partie du character.", &MainWindow::setRubberTool},
      {&lineAction, "Ligne", "Ctrl+J", "line.png", "Trace une ligne.", &MainWindow::setLineTool},
      {&rectAction, "Rectangle", "Ctrl+K", "rect.png", "Trace un rectangle.", &MainWindow::setRectTool},
      {&circleAction, "Cercle", "Ctrl+L", "circle.png", "Trace un cercle.", &MainWindow::setCircleTool},
  };
  for (const Tool& t : tools) {
    QAction* action = addCommand(menu, QString::fromUtf8(t.text), QKeySequence(QString::fromLatin1(t.shortcut)),
                                 QString::fromLatin1(t.icon), QString::fromUtf8(t.tip));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, t.slot);
    *t.member = action;
  }

  QAction* zone = zoneAction = addCommand(menu, QStringLiteral("Zone d'effet"), QKeySequence(), QStringLiteral("zeffet.png"),
                             QStringLiteral("Définit la zone d'effet des fonctions de dessin."));
  // Owned by the window: an action never owns its menu.
  QMenu* zoneMenu = new QMenu(this);
  zone->setMenu(zoneMenu);
  targetZoneAction = addCommand(zoneMenu, QStringLiteral("Cellule ciblée"), QKeySequence(), QString(),
                                QStringLiteral("Seule la cellule ciblée sera affectée par les fonctions de dessin."));
  targetZoneAction->setCheckable(true);
  targetZoneAction->setChecked(true);
  connect(targetZoneAction, &QAction::triggered, this, &MainWindow::setTargetDrawing);
  selectedZoneAction =
      addCommand(zoneMenu, QStringLiteral("Cellules sélectionnées"), QKeySequence(), QString(),
                 QStringLiteral("Seules les cellules sélectionnées seront affectées par les fonctions de dessin."));
  selectedZoneAction->setCheckable(true);
  connect(selectedZoneAction, &QAction::triggered, this, &MainWindow::setSelectedDrawing);
  allZoneAction = addCommand(zoneMenu, QStringLiteral("Toutes les cellules"), QKeySequence(), QString(),
                             QStringLiteral("Toutes les cellules seront affectées par les fonctions de dessin."));
  allZoneAction->setCheckable(true);
  connect(allZoneAction, &QAction::triggered, this, &MainWindow::setAllDrawing);
}

void MainWindow::fillHelpMenu(QMenu* menu)
{
  QAction* a;
  a = addCommand(menu, QStringLiteral("A propos de Sorvel Kit"), QKeySequence(), QString(),
                 QStringLiteral("Affiche des informations à propos de Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::aboutSK);
  a = addCommand(menu, QStringLiteral("Remerciement"), QKeySequence(), QString(),
                 QStringLiteral("Remercie les personnes ayant participées à la création de Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::aboutThanks);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("RPG Sorvel"), QKeySequence(), QString(),
                 QStringLiteral("Conduit vers le site de RPG Sorvel."));
  connect(a, &QAction::triggered, this, &MainWindow::openRpgSorvelUrl);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Faire un don"), QKeySequence(), QString(), QStringLiteral("Faire un don à Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::donation);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Introduction à Sorvel Kit"), QKeySequence(Qt::Key_F2), QString(),
                 QStringLiteral("Ouvre un court manuel présentant les fonctions de base du Sorvel Kit."));
  connect(a, &QAction::triggered, this, &MainWindow::showQuickHelp);
  a = addCommand(menu, QStringLiteral("Manuel d'aide"), QKeySequence(Qt::Key_F1), QStringLiteral("helpicon.png"),
                 QStringLiteral("Ouvre le manuel d'aide de Sorvel Kit."));
  connect(a, &QAction::triggered, this, qOverload<>(&MainWindow::showHelp));
}

void MainWindow::addToolBars()
{
  // A null entry is a separator.
  auto fill = [this](const QString& title, std::initializer_list<QAction*> actions) {
    QToolBar* bar = addToolBar(title);
    for (QAction* action : actions) {
      if (action)
        bar->addAction(action);
      else
        bar->addSeparator();
    }
    return bar;
  };

  fill(QStringLiteral("Gestion du document"),
       {newXPAction, newVXAction, newDefaultAction, conversionAction, sorvelAction, nullptr, openAction, saveAction,
        saveAsAction, saveAllAction, saveMassAction});
  QToolBar* characters = fill(QStringLiteral("Gestion des characters"),
                              {addElementAction, nullptr, undoAction, redoAction, nullptr, zoomOutAction});
  zoomEdit = new QLineEdit(QStringLiteral("100 %"));
  zoomEdit->setMaximumWidth(50);
  characters->addWidget(zoomEdit);
  characters->addAction(zoomInAction);
  fill(QStringLiteral("Fonctions de retouches"),
       {selectAction, moveAction, colorationAction, redimensionAction, rotationAction, nullptr, rotateP90Action,
        rotateM90Action, nullptr, flipHAction, flipVAction, restoreAction, nullptr, cellSizeAction, convertAction});
  QToolBar* drawing = fill(QStringLiteral("Fonctions de dessins"), {pipetteAction, penAction, rubberAction, lineAction,
                                                                    rectAction, circleAction, zoneAction});
  // The zone button opens its menu at once: the action has no slot of its own.
  if (QToolButton* zone = qobject_cast<QToolButton*>(drawing->widgetForAction(zoneAction)))
    zone->setPopupMode(QToolButton::InstantPopup);

  connect(zoomEdit, &QLineEdit::textEdited, this, qOverload<QString>(&MainWindow::updateZoom));
}

void MainWindow::addDocks()
{
  placeholderCharacter = new CharacterData();
  elementsDock = new QDockWidget(QStringLiteral("Eléments"), this);
  addDockWidget(Qt::LeftDockWidgetArea, elementsDock);
  renderDock = new QDockWidget(QStringLiteral("Rendu"), this);
  addDockWidget(Qt::LeftDockWidgetArea, renderDock);
  colorsDock = new QDockWidget(QStringLiteral("Couleurs"), this);
  addDockWidget(Qt::RightDockWidgetArea, colorsDock);
  layerList = new QLayerList(placeholderCharacter, &clipboard, elementsDock);
  elementsDock->setWidget(layerList);
}

void MainWindow::connectDockToggles()
{
  connect(elementsDockAction, &QAction::triggered, elementsDock, &QDockWidget::setVisible);
  connect(renderDockAction, &QAction::triggered, renderDock, &QDockWidget::setVisible);
  connect(colorsDockAction, &QAction::triggered, colorsDock, &QDockWidget::setVisible);
  connect(elementsDock, &QDockWidget::visibilityChanged, this, &MainWindow::setElementChecked);
  connect(renderDock, &QDockWidget::visibilityChanged, this, &MainWindow::setRenduChecked);
  connect(colorsDock, &QDockWidget::visibilityChanged, this, &MainWindow::setColorChecked);
  connect(backgroundAction, &QAction::triggered, this, &MainWindow::changeBg);
}

void MainWindow::readColours()
{
  // Stored as the signed int of the ARGB word, so the alpha travels too.
  int primary = static_cast<int>(0xFF000000u);
  int secondary = static_cast<int>(0xFFFFFFFFu);
  IniSettings settings;
  settings.getValue("primary", primary);
  settings.getValue("secondary", secondary);
  primaryColor = QColor::fromRgba(static_cast<QRgb>(primary));
  secondaryColor = QColor::fromRgba(static_cast<QRgb>(secondary));
}

void MainWindow::setElementChecked()
{
  elementsDockAction->setChecked(elementsDock->isVisible());
}

void MainWindow::setRenduChecked()
{
  renderDockAction->setChecked(renderDock->isVisible());
}

void MainWindow::setColorChecked()
{
  colorsDockAction->setChecked(colorsDock->isVisible());
}

void MainWindow::keepGridShortcut(QMdiSubWindow* window)
{
  if (!window->systemMenu())
    return;
  const QKeySequence gridKey = gridAction->shortcut();
  for (QAction* action : window->systemMenu()->actions()) {
    QList<QKeySequence> keys = action->shortcuts();
    if (keys.removeAll(gridKey) > 0)
      action->setShortcuts(keys);
  }
}

void MainWindow::updateActiveWindow(QMdiSubWindow* window)
{
  if (!window) {
    // The toolkit also announces a null window in passing while one of
    // several sub-windows closes; the next activation repoints the docks.
    if (mdiArea->currentSubWindow())
      return;
    // Without a canvas the list's actions cannot reach a closed one.
    layerList->setLayer(nullptr);
    layerList->setCharacterData(placeholderCharacter);
    layerRender->setCharacterData(placeholderCharacter);
    layerList->refresh();
    layerRender->refresh();
    zoomEdit->clear();
    return;
  }
  QLayer* canvas = canvasOf(window);
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  layerList->setCharacterData(document);
  layerRender->setCharacterData(document);
  layerList->setLayer(canvas);
  layerList->refresh();
  layerRender->refresh();
  zoomEdit->setText(zoomText(document->zoom()));
  document->setGridShown(gridAction->isChecked());
  canvas->refresh();
}

// The commands below come with their own windows and flows; until then they
// do nothing.
