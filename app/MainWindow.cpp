#include "app/MainWindow.h"

#include "app/QHelpDialog.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "canvas/QLayerRender.h"
#include "canvas/QScrollLayer.h"
#include "core/GradientBrushes.h"
#include "colour/QColorBox.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "widgets/Prompts.h"
#include "widgets/Questions.h"
#include "model/CharacterData.h"
#include "model/ClipBoard.h"
#include "model/ElementFile.h"
#include "widgets/QComboWidget.h"
#include "widgets/QDropWidget.h"
#include "widgets/QLabelClickable.h"
#include "app/QNewCharacter.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

QIcon iconOf(const QString& name)
{
  return name.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/icon/") + name);
}

QLayer* canvasOf(QMdiSubWindow* window)
{
  QScrollArea* scroll = window ? qobject_cast<QScrollArea*>(window->widget()) : nullptr;
  return scroll ? qobject_cast<QLayer*>(scroll->widget()) : nullptr;
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
  drawingToolBar->hide();

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

QAction* MainWindow::command(const QString& text) const
{
  for (QAction* action : findChildren<QAction*>())
    if (action->text() == text && action->parent() != action->menu())
      return action;
  return nullptr;
}

void MainWindow::fillFileMenu(QMenu* menu)
{
  QAction* a;
  a = addCommand(menu, QStringLiteral("Nouveau character (XP)"), QKeySequence(QStringLiteral("Ctrl+N")),
                 QStringLiteral("newXP.png"), QStringLiteral("Créer un nouveau character pour RPG Maker XP."));
  connect(a, &QAction::triggered, this, &MainWindow::newCharXP);
  a = addCommand(menu, QStringLiteral("Nouveau character (VX)"), QKeySequence(QStringLiteral("Ctrl+Shift+N")),
                 QStringLiteral("newVX.png"), QStringLiteral("Créer un nouveau character pour RPG Maker VX."));
  connect(a, &QAction::triggered, this, &MainWindow::newCharVX);
  a = addCommand(menu, QStringLiteral("Nouveau character basé sur celui par défaut"),
                 QKeySequence(QStringLiteral("Ctrl+Alt+N")), QStringLiteral("newCustom.png"),
                 QStringLiteral("Créer un nouveau character basé sur celui par défaut. Voir le manuel d'aide pour "
                                "plus de renseignements."));
  connect(a, &QAction::triggered, this, &MainWindow::openDefault);
  a = addCommand(menu, QStringLiteral("Conversion de character(s)"), QKeySequence(QStringLiteral("Ctrl+Alt+C")),
                 QStringLiteral("conversionMode.png"),
                 QStringLiteral("Convertit les characters entre les différentes versions de RPG Maker."));
  connect(a, &QAction::triggered, this, &MainWindow::newConversion);
  a = addCommand(menu, QStringLiteral("Sorvel de tilesets"), QKeySequence(QStringLiteral("Ctrl+Alt+F")),
                 QStringLiteral("sorvel.png"), QStringLiteral("Sorvelne des tilesets les uns à la suite des autres."));
  connect(a, &QAction::triggered, this, &MainWindow::newSorvel);
  menu->addSeparator();

  // Filled before it joins the menu, so that the first showing already lists
  // the stored files. The window owns it.
  recentFilesMenu = new QMenu(QStringLiteral("Fichiers récents"), this);
  updateRecentFiles();
  menu->addMenu(recentFilesMenu);
  menu->addSeparator();

  a = addCommand(menu, QStringLiteral("Ouvrir"), QKeySequence(QStringLiteral("Ctrl+O")), QStringLiteral("openLittle.png"),
                 QStringLiteral("Ouvre un document (image PNG, Elément Sorvel Kit ou character *.sk)."));
  connect(a, &QAction::triggered, this, &MainWindow::openSKFile);
  a = addCommand(menu, QStringLiteral("Enregistrer"), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Save.png"),
                 QStringLiteral("Enregistre le document actif."));
  connect(a, &QAction::triggered, this, &MainWindow::save);
  a = addCommand(menu, QStringLiteral("Enregistrer sous..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
                 QStringLiteral("SaveAs2.png"), QStringLiteral("Enregistre le document actif sous un autre nom."));
  connect(a, &QAction::triggered, this, &MainWindow::saveAs);
  a = addCommand(menu, QStringLiteral("Enregistrer tout"), QKeySequence(QStringLiteral("Ctrl+Alt+S")),
                 QStringLiteral("SaveAll.png"), QStringLiteral("Enregistre tous les documents ouverts."));
  connect(a, &QAction::triggered, this, &MainWindow::saveAll);
  a = addCommand(menu, QStringLiteral("Enregistrer sous différentes teintes"),
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
  a = addCommand(menu, QStringLiteral("Annuler"), QKeySequence(QStringLiteral("Ctrl+Z")), QStringLiteral("Undo2.png"),
                 QStringLiteral("Annule l'action précédente."));
  connect(a, &QAction::triggered, this, &MainWindow::undo);
  a = addCommand(menu, QStringLiteral("Rétablir"), QKeySequence(QStringLiteral("Ctrl+Y")), QStringLiteral("Redo2.png"),
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
  a = addCommand(menu, QStringLiteral("Zoom +"), QKeySequence(Qt::CTRL | Qt::Key_Plus), QStringLiteral("zoom-in-32.png"),
                 QStringLiteral("Augmente le zoom du character."));
  connect(a, &QAction::triggered, this, &MainWindow::updateZoomP);
  a = addCommand(menu, QStringLiteral("Zoom -"), QKeySequence(Qt::CTRL | Qt::Key_Minus),
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
  addCommand(menu, QStringLiteral("Couleur d'arrière plan"), QKeySequence(), QStringLiteral("bg.png"),
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

  a = addCommand(menu, QStringLiteral("Ajout d'un élément ou d'un calque de dessin"),
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
  a = addCommand(menu, QStringLiteral("Teinte / Saturation"), QKeySequence(QStringLiteral("Ctrl+U")),
                 QStringLiteral("cerclechrom.png"),
                 QStringLiteral("Modifie la teinte/saturation/luminosité des éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::colorationCharacter);
  a = addCommand(menu, QStringLiteral("Redimension"), QKeySequence(QStringLiteral("Ctrl+T")),
                 QStringLiteral("redimension.png"), QStringLiteral("Redimensionne les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::redimension);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Rotation"), QKeySequence(QStringLiteral("Ctrl+R")), QStringLiteral("rotation.png"),
                 QStringLiteral("Pivote les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacter);
  a = addCommand(menu, QStringLiteral("Rotation de 90° horaire"), QKeySequence(), QStringLiteral("rotationP90.png"),
                 QStringLiteral("Pivote les éléments sélectionnés de 90° dans le sens des aiguilles d'une montre."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacterP90);
  a = addCommand(menu, QStringLiteral("Rotation de 90° antihoraire"), QKeySequence(), QStringLiteral("rotationM90.png"),
                 QStringLiteral("Pivote les éléments sélectionnés de 90° dans le sens inverse des aiguilles d'une "
                                "montre."));
  connect(a, &QAction::triggered, this, &MainWindow::rotateCharacterM90);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Retournement horizontal"), QKeySequence(), QStringLiteral("flipH.png"),
                 QStringLiteral("Retourne horizontalement les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::flipCharH);
  a = addCommand(menu, QStringLiteral("Retournement vertical"), QKeySequence(), QStringLiteral("flipV.png"),
                 QStringLiteral("Retourne verticalement les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::flipCharV);
  a = addCommand(menu, QStringLiteral("Restauration"), QKeySequence(), QStringLiteral("restauration.png"),
                 QStringLiteral("Restaure les éléments sélectionnés."));
  connect(a, &QAction::triggered, this, &MainWindow::reLoadElement);
  menu->addSeparator();
  a = addCommand(menu, QStringLiteral("Taille des cellules"), QKeySequence(), QStringLiteral("taille.png"),
                 QStringLiteral("Modifie la taille des cellules du character."));
  connect(a, &QAction::triggered, this, &MainWindow::changeSize);
  a = addCommand(menu, QStringLiteral("Convertion du character"), QKeySequence(), QStringLiteral("conversion.png"),
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

  QAction* zone = addCommand(menu, QStringLiteral("Zone d'effet"), QKeySequence(), QStringLiteral("zeffet.png"),
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
  auto c = [this](const char* text) { return command(QString::fromUtf8(text)); };

  fill(QStringLiteral("Gestion du document"),
       {c("Nouveau character (XP)"), c("Nouveau character (VX)"), c("Nouveau character basé sur celui par défaut"),
        c("Conversion de character(s)"), c("Sorvel de tilesets"), nullptr, c("Ouvrir"), c("Enregistrer"),
        c("Enregistrer sous..."), c("Enregistrer tout"), c("Enregistrer sous différentes teintes")});
  QToolBar* characters = fill(QStringLiteral("Gestion des characters"),
                              {c("Ajout d'un élément ou d'un calque de dessin"), nullptr, c("Annuler"), c("Rétablir"),
                               nullptr, c("Zoom -")});
  zoomEdit = new QLineEdit(QStringLiteral("100 %"));
  zoomEdit->setMaximumWidth(50);
  characters->addWidget(zoomEdit);
  characters->addAction(c("Zoom +"));
  fill(QStringLiteral("Fonctions de retouches"),
       {selectAction, moveAction, c("Teinte / Saturation"), c("Redimension"), c("Rotation"), nullptr,
        c("Rotation de 90° horaire"), c("Rotation de 90° antihoraire"), nullptr, c("Retournement horizontal"),
        c("Retournement vertical"), c("Restauration"), nullptr, c("Taille des cellules"),
        c("Convertion du character")});
  QToolBar* drawing = fill(QStringLiteral("Fonctions de dessins"),
                           {pipetteAction, penAction, rubberAction, lineAction, rectAction, circleAction,
                            c("Zone d'effet")});
  // The zone button opens its menu at once: the action has no slot of its own.
  if (QToolButton* zone = qobject_cast<QToolButton*>(drawing->widgetForAction(c("Zone d'effet"))))
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
  connect(command(QStringLiteral("Couleur d'arrière plan")), &QAction::triggered, this, &MainWindow::changeBg);
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

namespace {

// The gradient editor's getGradient, through the same prompt entry, until
// that window exists; the entry answers "cancelled" by default.
void getGradient(GradientSettings& settings, bool* ok, const QColor& color, const QString& title, QWidget* parent)
{
  const bool accepted = prompts().gradient && prompts().gradient(parent, settings, color, title);
  if (ok)
    *ok = accepted;
}

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

} // namespace

void MainWindow::checkToolAction(QAction* own)
{
  for (QAction* action : {selectAction, moveAction, pipetteAction, penAction, lineAction, rectAction, circleAction,
                          rubberAction})
    action->setChecked(action == own);
}

void MainWindow::setSelectTool(bool)
{
  tool = SelectTool;
  checkToolAction(selectAction);
  hideDrawingBar();
}

void MainWindow::setMoveTool(bool checked)
{
  tool = checked ? MoveTool : SelectTool;
  checkToolAction(checked ? moveAction : selectAction);
  hideDrawingBar();
}

void MainWindow::setPipetteTool(bool checked)
{
  tool = checked ? PipetteTool : SelectTool;
  checkToolAction(checked ? pipetteAction : selectAction);
  hideDrawingBar();
}

// Clicking the checked action of a drawing tool again returns to selection.
void MainWindow::chooseDrawingTool(bool checked, ToolKind kind, QAction* own, void (MainWindow::*fill)())
{
  if (!checked) {
    tool = SelectTool;
    hideDrawingBar();
    selectAction->setChecked(true);
    return;
  }
  tool = kind;
  checkToolAction(own);
  drawingToolBar->setEnabled(true);
  releaseDrawingOptions();
  (this->*fill)();
  drawingToolBar->setVisible(true);
}

void MainWindow::setPenTool(bool checked)
{
  chooseDrawingTool(checked, PenTool, penAction, &MainWindow::fillPenOptions);
}

void MainWindow::setCircleTool(bool checked)
{
  chooseDrawingTool(checked, CircleTool, circleAction, &MainWindow::fillShapeOptions);
}

void MainWindow::setRectTool(bool checked)
{
  chooseDrawingTool(checked, RectTool, rectAction, &MainWindow::fillShapeOptions);
}

void MainWindow::setRubberTool(bool checked)
{
  chooseDrawingTool(checked, RubberTool, rubberAction, &MainWindow::fillRubberOptions);
}

void MainWindow::setLineTool(bool checked)
{
  chooseDrawingTool(checked, LineTool, lineAction, &MainWindow::fillLineOptions);
}

void MainWindow::hideDrawingBar()
{
  drawingToolBar->setEnabled(false);
  drawingToolBar->setVisible(false);
  releaseDrawingOptions();
}

void MainWindow::releaseDrawingOptions()
{
  const QList<QAction*> actions = drawingToolBar->actions();
  drawingToolBar->clear();
  if (drawModeAction)
    drawModeAction->menu()->deleteLater();
  // The widget holders made by addWidget delete their widgets with them.
  // Later, since one of those widgets may be what brought us here.
  for (QAction* action : actions)
    action->deleteLater();
  drawModeAction = nullptr;
  contourModeAction = nullptr;
  pleinModeAction = nullptr;
  pleinContourModeAction = nullptr;
  gradientLabel = nullptr;
  widthLabel = nullptr;
  shapeLabel = nullptr;
  widthSpin = nullptr;
  shapeCombo = nullptr;
}

QLabel* MainWindow::addOptionLabel(const QString& text)
{
  QLabel* label = new QLabel(text);
  label->setMargin(5);
  drawingToolBar->addWidget(label);
  return label;
}

QSpinBox* MainWindow::addWidthSpin()
{
  QSpinBox* spin = new QSpinBox;
  spin->setRange(1, 50);
  spin->setSingleStep(1);
  spin->setValue(pen.size);
  drawingToolBar->addWidget(spin);
  connect(spin, &QSpinBox::valueChanged, this, &MainWindow::widthChanged);
  return spin;
}

QComboBox* MainWindow::addShapeCombo()
{
  QComboBox* combo = new QComboBox;
  combo->addItem(QStringLiteral("Carré"));
  combo->addItem(QStringLiteral("Circulaire"));
  combo->setCurrentIndex(pen.shape);
  drawingToolBar->addWidget(combo);
  connect(combo, &QComboBox::currentIndexChanged, this, &MainWindow::shapeChanged);
  return combo;
}

void MainWindow::fillPenOptions()
{
  widthLabel = addOptionLabel(QStringLiteral("Epaisseur"));
  widthSpin = addWidthSpin();
  drawingToolBar->addSeparator();
  shapeLabel = addOptionLabel(QStringLiteral("Forme"));
  shapeCombo = addShapeCombo();
}

void MainWindow::fillRubberOptions()
{
  addOptionLabel(QStringLiteral("Mode d'effacement"));
  QComboBox* mode = new QComboBox;
  mode->addItem(QStringLiteral("Pinceau"));
  mode->addItem(QStringLiteral("Sélection"));
  mode->setCurrentIndex(rubberMode);
  drawingToolBar->addWidget(mode);
  drawingToolBar->addSeparator();
  shapeLabel = addOptionLabel(QStringLiteral("Forme"));
  shapeCombo = addShapeCombo();
  widthLabel = addOptionLabel(QStringLiteral("Epaisseur"));
  widthSpin = addWidthSpin();
  connect(mode, &QComboBox::currentIndexChanged, this, &MainWindow::modeRubber);
}

void MainWindow::fillLineOptions()
{
  widthLabel = addOptionLabel(QStringLiteral("Epaisseur"));
  widthSpin = addWidthSpin();
}

void MainWindow::fillShapeOptions()
{
  // The window owns the menu: an action never owns its menu.
  QMenu* fillModes = new QMenu(this);
  contourModeAction = fillModes->addAction(iconOf(QStringLiteral("modeContour.png")),
                                           QStringLiteral("Dessine seulement le contour d'une forme"));
  pleinModeAction =
      fillModes->addAction(iconOf(QStringLiteral("modePlein.png")), QStringLiteral("Dessine pleinement la forme"));
  pleinContourModeAction = fillModes->addAction(iconOf(QStringLiteral("modePleinContour.png")),
                                                QStringLiteral("Dessine la forme avec un contour"));
  for (QAction* action : fillModes->actions())
    action->setCheckable(true);
  drawModeAction = new QAction(iconOf(QStringLiteral("modePlein.png")), QStringLiteral("Mode de dessin"), this);
  drawModeAction->setMenu(fillModes);

  QLabel* paintLabel = new QLabel(QStringLiteral("Remplissage"));
  paintLabel->setMargin(5);
  QComboBox* paint = new QComboBox;
  paint->addItem(QStringLiteral("Couleur unie"));
  paint->addItem(QStringLiteral("Dégradé"));
  QLabel* gap = new QLabel;
  gap->setMargin(5);
  gradientLabel = new QLabelClickable;
  gradientLabel->setFixedSize(30, 30);
  gradientLabel->setToolTip(QStringLiteral("Editer le dégradé"));
  gradientLabel->setAlignment(Qt::AlignCenter);
  drawGradientPreview();

  drawingToolBar->addAction(drawModeAction);
  drawingToolBar->addWidget(paintLabel);
  drawingToolBar->addWidget(paint);
  drawingToolBar->addWidget(gap);
  drawingToolBar->addWidget(gradientLabel);

  const QList<QAction*> modes{contourModeAction, pleinModeAction, pleinContourModeAction};
  if (drawMode.fillMode >= 0 && drawMode.fillMode < modes.size())
    showFillMode(modes[drawMode.fillMode]);
  if (drawMode.paintMode == 0 || drawMode.paintMode == 1) {
    paint->setCurrentIndex(drawMode.paintMode);
    gradientLabel->setEnabled(drawMode.paintMode == 1);
  }

  connect(drawModeAction, &QAction::triggered, this, &MainWindow::changeDrawMode);
  connect(contourModeAction, &QAction::triggered, this, &MainWindow::setContourMode);
  connect(pleinModeAction, &QAction::triggered, this, &MainWindow::setPleinMode);
  connect(pleinContourModeAction, &QAction::triggered, this, &MainWindow::setPleinContourMode);
  connect(gradientLabel, &QLabelClickable::clicked, this, &MainWindow::showGradientEditor);
  connect(paint, &QComboBox::currentIndexChanged, this, &MainWindow::setPaintMode);
}

void MainWindow::drawGradientPreview()
{
  if (!gradientLabel)
    return;
  const QSize size(30, 30);
  QImage preview(size, QImage::Format_ARGB32_Premultiplied);
  preview.fill(Qt::transparent);
  QPainter painter(&preview);
  const GradientSettings& gradient = drawMode.gradient;
  switch (gradient.type) {
  case GradientSettings::Linear:
    painter.fillRect(QRect(QPoint(0, 0), size), linearGradientBrush(gradient, size));
    break;
  case GradientSettings::Radial:
    painter.fillRect(QRect(QPoint(0, 0), size), radialGradientBrush(gradient, size));
    break;
  case GradientSettings::Conical:
    painter.fillRect(QRect(QPoint(0, 0), size), conicalGradientBrush(gradient, size));
    break;
  default:
    break;
  }
  painter.drawRect(0, 0, 29, 29);
  painter.end();
  gradientLabel->setPixmap(QPixmap::fromImage(preview));
}

void MainWindow::showFillMode(QAction* checked)
{
  for (QAction* action : {contourModeAction, pleinModeAction, pleinContourModeAction})
    if (action)
      action->setChecked(action == checked);
  if (drawModeAction && checked)
    drawModeAction->setIcon(checked->icon());
}

void MainWindow::setContourMode()
{
  showFillMode(contourModeAction);
  drawMode.fillMode = 0;
}

void MainWindow::setPleinMode()
{
  showFillMode(pleinModeAction);
  drawMode.fillMode = 1;
}

void MainWindow::setPleinContourMode()
{
  showFillMode(pleinContourModeAction);
  drawMode.fillMode = 2;
}

void MainWindow::changeDrawMode()
{
  if (contourModeAction && contourModeAction->isChecked())
    setPleinMode();
  else if (pleinModeAction && pleinModeAction->isChecked())
    setPleinContourMode();
  else
    setContourMode();
}

void MainWindow::setPaintMode(int mode)
{
  drawMode.paintMode = mode;
  if (gradientLabel)
    gradientLabel->setEnabled(mode != 0);
}

void MainWindow::widthChanged(int width)
{
  pen.size = width;
}

void MainWindow::shapeChanged(int shape)
{
  pen.shape = shape;
}

void MainWindow::modeRubber(int mode)
{
  if ((mode == 0 || mode == 1) && widthLabel && widthSpin) {
    widthLabel->setEnabled(mode == 0);
    widthSpin->setEnabled(mode == 0);
  }
  rubberMode = static_cast<unsigned char>(mode);
}

// With no character open the check mark moves and the stored zone stays.
void MainWindow::chooseZone(QAction* own, int zone)
{
  for (QAction* action : {targetZoneAction, selectedZoneAction, allZoneAction})
    action->setChecked(action == own);
  if (activeLayer())
    drawScope.scope = zone;
}

void MainWindow::setTargetDrawing(bool)
{
  chooseZone(targetZoneAction, 0);
}

void MainWindow::setSelectedDrawing(bool)
{
  chooseZone(selectedZoneAction, 1);
}

void MainWindow::setAllDrawing(bool)
{
  chooseZone(allZoneAction, 2);
}

void MainWindow::showGradientEditor()
{
  GradientSettings edited = drawMode.gradient;
  bool accepted = false;
  getGradient(edited, &accepted, colorBox->currentColor(), QStringLiteral("Editeur de dégradé"), this);
  if (!accepted)
    return;
  drawMode.gradient = edited;
  drawGradientPreview();
}

void MainWindow::setColor(QColor color)
{
  colorBox->setColor(color);
}

void MainWindow::setColor(QColor color, int which)
{
  colorBox->setColor(color, which);
}

void MainWindow::setPrimaryColor(QColor color)
{
  colorBox->setColor(color, 2);
}

void MainWindow::setSecondaryColor(QColor color)
{
  colorBox->setColor(color, 3);
}

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

namespace {

const char* const kRecentFilesKey = "recentFiles";
const QString kNoRecent = QStringLiteral("?NoRecent?");
const int kMaxRecentFiles = 15;
const QString kProjectFilter = QStringLiteral("Fichier Sorvel Kit (*.sk)");
const QString kImageFilter = QStringLiteral("Image (*.png)");

QStringList storedRecentFiles()
{
  QString stored;
  IniSettings settings;
  settings.getValue(kRecentFilesKey, stored);
  return stored.split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

std::string utf8(const QString& text)
{
  return text.toUtf8().toStdString();
}

QString fromUtf8(const std::string& text)
{
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void showError(QWidget* parent, const QString& text)
{
  prompts().message(parent, QMessageBox::Critical, QStringLiteral("Erreur"), text, QString());
}

void cannotOpen(QWidget* parent, const QString& path)
{
  showError(parent, QStringLiteral("Impossible d'ouvrir : ") + path);
}

} // namespace

QLayer* MainWindow::newCanvas(const CharacterData& document, const QString& name)
{
  QLayer* canvas = new QLayer(name, document.size(), document.type(), mdiArea, colorBox, layerList);
  canvas->setCharacterData(document);
  canvas->refresh();
  return canvas;
}

void MainWindow::showCanvas(QLayer* canvas, const QString& title, const QSize& minimumSize, bool modified)
{
  canvas->drawScope = &drawScope;
  canvas->pen = &pen;
  canvas->gradientHolder = &drawMode;
  canvas->rubberMode = &rubberMode;
  canvas->setToolPointer(reinterpret_cast<unsigned char*>(&tool));

  QMdiSubWindow* window = mdiArea->addSubWindow(new QScrollLayer(canvas));
  keepGridShortcut(window);
  window->setWindowTitle(title);
  if (minimumSize.isValid())
    window->setMinimumSize(minimumSize);
  window->show();

  CharacterData* document = canvas->characterData();
  canvas->addHistory(document, "Etat d'origine");
  canvas->setModified(modified);

  layerList->setCharacterData(document);
  layerList->setLayer(canvas);
  layerList->refresh();
  layerRender->setCharacterData(document);
  layerRender->refresh();
  zoomEdit->setText(QString::number(static_cast<int>(document->zoom() * 100)) + QStringLiteral(" %"));
}

void MainWindow::newCharXP()
{
  QNewCharacter* dialog = new QNewCharacter(XP, nullptr, QString(), false, nullptr, 0, 0);
  connect(dialog, &QNewCharacter::validNewChar, this, &MainWindow::addCharacter);
  dialog->show();
}

void MainWindow::newCharVX()
{
  QNewCharacter* dialog = new QNewCharacter(VX, nullptr, QString(), false, nullptr, 0, 0);
  connect(dialog, &QNewCharacter::validNewChar, this, &MainWindow::addCharacter);
  dialog->show();
}

void MainWindow::addCharacter(QString str, int largeur, int hauteur, int type)
{
  QLayer* canvas = new QLayer(str, QSize(largeur, hauteur), type, mdiArea, colorBox, layerList);
  showCanvas(canvas, str, QSize(), true);
}

void MainWindow::openDefault()
{
  CharacterData document;
  if (!document.loadProjectFile("default.sk")) {
    askDefaultCharacter(this, SLOT(showHelp_Create_Character()), SLOT(assignAsDefault()), this);
    return;
  }
  const QString name = QStringLiteral("Sans titre");
  showCanvas(newCanvas(document, name), name, document.size(), true);
}

void MainWindow::assignAsDefault()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (!document->saveProjectFile("default.sk", 1))
    showError(this, QStringLiteral("Erreur : ") + fromUtf8(document->errorMessage()));
}

void MainWindow::openSKFile()
{
  QString folder = QDir::homePath();
  {
    IniSettings settings;
    settings.getValue("pathLoadSKFile", folder);
  }
  QString filter;
  const QStringList paths = prompts().openFileNames(
      this, QStringLiteral("Ouvrir un fichier"), folder,
      kProjectFilter + QStringLiteral(";;Elément Sorvel Kit (*.elsk);;") + kImageFilter, &filter);
  if (paths.isEmpty())
    return;

  // Stored and released before any opener runs: each opener writes the
  // recent files through its own settings, which a later write of this one
  // would overwrite.
  const QString chosenFolder = pathDirectory(paths.first());
  if (!chosenFolder.contains(QLatin1Char('?'))) {
    IniSettings settings;
    settings.setValue("Path", "pathLoadSKFile", chosenFolder);
  }

  for (const QString& path : paths) {
    if (filter == kProjectFilter)
      openSKDocument(path, true);
    else if (filter == kImageFilter)
      openPNGDocument(path);
    else
      openELSKDocument(path);
  }
}

void MainWindow::openRecent()
{
  QAction* action = qobject_cast<QAction*>(sender());
  if (!action)
    return;
  const QString path = action->data().toString();
  if (hasExtension(path, QStringLiteral("sk")))
    openSKDocument(path, true);
  else if (hasExtension(path, QStringLiteral("png")))
    openPNGDocument(path);
  else
    openELSKDocument(path);
}

void MainWindow::openSKDocument(const QString& path, bool reportErrors)
{
  CharacterData document;
  unsigned char version = 0;
  if (!document.loadProjectFile(utf8(path), &version)) {
    if (reportErrors)
      showError(this, QStringLiteral("Erreur : ") + fromUtf8(document.errorMessage()));
    return;
  }
  const QString name = pathBaseName(path);
  QLayer* canvas = newCanvas(document, name);
  canvas->currentFormat = version;
  canvas->setFilePath(path);
  showCanvas(canvas, name, document.size(), false);
  addRecentFile(path);
  updateRecentFiles();
}

void MainWindow::openELSKDocument(const QString& path)
{
  std::string error;
  std::optional<std::array<CharacterData, 2>> groups = loadElementFile(utf8(path), error);
  if (!groups) {
    if (error.empty())
      cannotOpen(this, path);
    else
      showError(this, fromUtf8(error));
    return;
  }
  CharacterData& document = (*groups)[0];
  document.appendElements((*groups)[1], true);
  const QString name = pathBaseName(path);
  showCanvas(newCanvas(document, name), name, document.size(), true);
  addRecentFile(path);
  updateRecentFiles();
}

void MainWindow::openPNGDocument(const QString& path)
{
  const QImage image(path);
  if (image.isNull()) {
    cannotOpen(this, path);
    return;
  }
  const int type = askElementType(this);
  if (type < 0)
    return;
  CharacterData document(type, image.size());
  if (!document.addElementFromImageFile(utf8(path))) {
    cannotOpen(this, path);
    return;
  }
  const QString name = pathBaseName(path);
  showCanvas(newCanvas(document, name), name, document.size(), true);
  addRecentFile(path);
  updateRecentFiles();
}

namespace {


// Where an index of the character lands once `below` elements went in at p
// and `above` more right over the element that was at p.
int shiftedIndex(int index, int p, int below, int above)
{
  return index < p ? index : index == p ? index + below : index + below + above;
}

} // namespace

void MainWindow::recordElementEdit(QLayer* canvas, const std::string& label)
{
  canvas->addHistory(canvas->characterData(), label);
  canvas->refresh();
  refreshElementList();
}

void MainWindow::flipCharH()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->mirrorCells(true, false);
    recordElementEdit(canvas, "Retournement horizontal");
  }
}

void MainWindow::flipCharV()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->mirrorCells(false, true);
    recordElementEdit(canvas, "Retournement vertical");
  }
}

void MainWindow::rotateCharacterP90()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->rotateCells(90.0, false, false);
    recordElementEdit(canvas, "Rotation de 90°");
  }
}

void MainWindow::rotateCharacterM90()
{
  if (QLayer* canvas = activeLayer()) {
    canvas->characterData()->rotateCells(-90.0, false, false);
    recordElementEdit(canvas, "Rotation de -90°");
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
  canvas->addHistory(document, "Conversion");
  canvas->updateSize();
  // Every cell changed: the thumbnails would show the old sheet.
  refreshElementList();
}

void MainWindow::reLoadElement()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (!document->reloadElements(askLayoutConversion)) {
    const QStringList parts = fromUtf8(document->errorMessage()).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QString details = QStringLiteral("Liste des fichiers qui n'ont pas été ouverts :\n");
    for (int i = 1; i < parts.size(); ++i)
      details += QStringLiteral("- ") + parts[i] + QLatin1Char('\n');
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Fichiers non ouverts"), parts.value(0), details);
  }
  // The elements that did reload keep their new images.
  recordElementEdit(canvas, "Restauration des éléments");
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
    event->acceptProposedAction();
  else
    event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event)
{
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile())
      paths << url.toLocalFile();
  if (paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // The questions run from the event loop, so that the drag source is not
  // kept waiting while the user answers them.
  QTimer::singleShot(0, this, [this, paths] { openDroppedFiles(paths); });
}

void MainWindow::openDroppedFiles(const QStringList& paths)
{
  for (const QString& path : paths) {
    const bool image = hasExtension(path, QStringLiteral("png"));
    if (!image && !hasExtension(path, QStringLiteral("elsk"))) {
      openSKDocument(path, true);
      continue;
    }
    int action = 1;
    if (activeLayer()) {
      QDropWidget question(path, this);
      prompts().runDialog(question);
      action = question.action;
    }
    if (action == 0) {
      if (image)
        addFileToActive(path);
      else
        addElementFileToActive(path);
    } else if (action == 1) {
      if (image)
        openPNGDocument(path);
      else
        openELSKDocument(path);
    } else if (action != 2) {
      return;
    }
  }
}

bool MainWindow::addFileToActive(const QString& path)
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return false;
  CharacterData* document = canvas->characterData();
  if (document->elementCount() >= CharacterData::kMaxElements) {
    showError(this, QString::fromUtf8(CharacterData::kTooManyElements));
    return false;
  }
  QImage image(path);
  if (image.isNull()) {
    cannotOpen(this, path);
    return false;
  }
  const int type = askElementType(this);
  if (type < 0)
    return false;
  // The image read above is the one added: the file may change meanwhile.
  bool added;
  if (type == canvas->characterType()) {
    added = document->addElementFromImage(image, utf8(path));
  } else {
    CharacterData other(type, image.size());
    added = other.addElementFromImage(image, utf8(path));
    if (added)
      document->appendElements(other, true);
  }
  if (!added) {
    cannotOpen(this, path);
    return false;
  }
  recordElementEdit(canvas, "Ajout de " + utf8(path));
  return true;
}

bool MainWindow::addElementFileToActive(const QString& path)
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return false;
  CharacterData* document = canvas->characterData();
  const int count = document->elementCount();
  if (count >= CharacterData::kMaxElements) {
    showError(this, QString::fromUtf8(CharacterData::kTooManyElements));
    return false;
  }
  std::string error;
  std::optional<std::array<CharacterData, 2>> groups = loadElementFile(utf8(path), error);
  if (!groups || !error.empty()) {
    if (error.empty())
      cannotOpen(this, path);
    else
      showError(this, fromUtf8(error));
    return false;
  }
  CharacterData& below = (*groups)[0];
  CharacterData& above = (*groups)[1];
  const int belowCount = below.elementCount();
  const int aboveCount = above.elementCount();
  // Refused whole: the files store the count in one byte.
  if (count + belowCount + aboveCount > CharacterData::kMaxElements) {
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Avertissement"),
                      QString::fromUtf8(CharacterData::kTooManyElements), QString());
    return false;
  }

  if (count == 0) {
    document->appendElements(below, true);
    document->appendElements(above, true);
  } else {
    // Around the one selected element, otherwise around the topmost.
    const bool single = document->selectedElementCount() == 1;
    const int p = single ? std::clamp(document->selectedElement(0), 0, count - 1) : count - 1;
    document->insertElements(below, p, true);
    document->insertElements(above, belowCount + p + 1, true);
    // The same elements stay selected, wherever they went.
    for (int& selected : document->selectedElements())
      selected = shiftedIndex(selected, p, belowCount, aboveCount);
  }
  recordElementEdit(canvas, "Ajout de " + utf8(path));
  return true;
}

// Stored oldest first, so the limit drops from the front.
void MainWindow::addRecentFile(const QString& path)
{
  QStringList files = storedRecentFiles();
  const QString entry = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
  files.removeOne(entry);
  while (files.size() >= kMaxRecentFiles)
    files.removeFirst();
  files.append(entry);
  IniSettings settings;
  settings.setValue("Path", kRecentFilesKey, files.join(QLatin1Char('|')));
}

void MainWindow::updateRecentFiles()
{
  // The menu is rebuilt from the settings every time; the old entries are
  // never reused.
  const QList<QAction*> old = recentFilesMenu->actions();
  for (QAction* action : old) {
    recentFilesMenu->removeAction(action);
    delete action;
  }

  const QStringList files = storedRecentFiles();
  for (int i = std::min<int>(kMaxRecentFiles, files.size()) - 1; i >= 0; --i) {
    const QString& path = files[i];
    QAction* action = recentFilesMenu->addAction(pathFileName(path));
    const QString tip = QStringLiteral("Ouvre le fichier : ") + path;
    action->setStatusTip(tip);
    action->setToolTip(tip);
    action->setData(path);
    connect(action, &QAction::triggered, this, &MainWindow::openRecent);
  }
  if (files.isEmpty()) {
    QAction* none = recentFilesMenu->addAction(QStringLiteral("Aucun"));
    none->setEnabled(false);
    none->setData(kNoRecent);
  }
}

namespace {

QString zoomText(double zoom)
{
  return QString::number(static_cast<int>(std::trunc(zoom * 100))) + QStringLiteral(" %");
}

void inform(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
  prompts().message(parent, icon, title, text, QString());
}

} // namespace

void MainWindow::copier()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (document->selectedElementCount() == 0)
    return;
  ClipBoard* copied;
  if (document->selectedCellCount() == 0) {
    copied = new ClipBoardData<LayerData>(document->copySelectedElements(), ClipBoard::Elements);
  } else {
    const int element = document->selectedElement(0);
    const int cell = document->selectedCell(0);
    if (element < 0 || element >= document->elementCount() || cell < 0 || cell >= document->cellCount())
      return;
    copied = new ClipBoardData<LayerDataCellule>(document->cellule(element, cell), ClipBoard::Cell);
  }
  delete clipboard;
  clipboard = copied;
}

void MainWindow::couper()
{
  copier();
  QLayer* canvas = activeLayer();
  if (!canvas || canvas->characterData()->selectedElementCount() == 0)
    return;
  CharacterData* document = canvas->characterData();
  if (document->selectedCellCount() == 0)
    document->removeElements();
  else
    document->clearSelectedCells();
  // The thumbnails show the cleared cells too.
  refreshElementList();
  canvas->refresh();
  canvas->addHistory(document, "Couper");
}

void MainWindow::coller()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  switch (clipboard->kind()) {
  case ClipBoard::Elements: {
    CharacterData pasted(*static_cast<const LayerData*>(clipboard->data()));
    if (document->elementCount() + pasted.elementCount() > CharacterData::kMaxElements) {
      inform(this, QMessageBox::Warning, QStringLiteral("Avertissement"),
             QString::fromUtf8(CharacterData::kTooManyElements));
      return;
    }
    if (document->selectedElementCount() == 1)
      document->insertElements(pasted, document->selectedElement(0) + 1, false);
    else
      document->appendElements(pasted, false);
    break;
  }
  case ClipBoard::Cell: {
    // A selection left over from another sheet must not reach past its cells.
    const bool one = document->selectedElementCount() == 1 && document->selectedCellCount() == 1;
    const int element = one ? document->selectedElement(0) : -1;
    const int cell = one ? document->selectedCell(0) : -1;
    if (element < 0 || element >= document->elementCount() || cell < 0 || cell >= document->cellCount()) {
      inform(this, QMessageBox::Information, QStringLiteral("Information"),
             QStringLiteral("Veuillez sélectionner un élément et une cellule."));
      return;
    }
    const LayerDataCellule& held = *static_cast<const LayerDataCellule*>(clipboard->data());
    document->setImage(held.image, element, cell);
    document->setOffset(held.offset, element, cell);
    break;
  }
  default:
    inform(this, QMessageBox::Information, QStringLiteral("Coller"), QStringLiteral("Le presse-papier est vide."));
    return;
  }
  refreshElementList();
  canvas->refresh();
  canvas->addHistory(document, "Coller");
}

// The first step, the state the canvas opened with, is never undone.
void MainWindow::undo()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  const UndoHistory* history = canvas->history();
  const int position = history->currentIndex();
  if (position == 0 || history->count() <= 1)
    return;
  showHistoryStep(canvas, position == history->count() ? -2 : -1);
}

void MainWindow::redo()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  const UndoHistory* history = canvas->history();
  const int position = history->currentIndex();
  if (history->count() == 0 || position >= history->count() - 1)
    return;
  showHistoryStep(canvas, position + 1);
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

void MainWindow::refreshElementList()
{
  // The first row shown is clamped again: the elements may be fewer now.
  layerList->updateLayout();
  layerList->setScrollOffset(layerList->scrollPosition());
  layerList->refresh();
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
void MainWindow::newConversion() {}
void MainWindow::newSorvel() {}
namespace {

void reportSave(QWidget* parent, unsigned char result)
{
  if (result == 0)
    prompts().message(parent, QMessageBox::Critical, QStringLiteral("Sauvegarde"),
                      QStringLiteral("Impossible de sauvegarder le fichier."), QString());
}

// One open document in the closing pass. Once its sub-window is closed it is
// never touched again: the toolkit deletes it later, at a time the pass does
// not know, so its path is kept as it stood then.
struct ClosingDocument
{
  QMdiSubWindow* window;
  QLayer* canvas;
  bool closed = false;
  QString path;
};

void closeDocument(ClosingDocument& document)
{
  document.path = document.canvas->filePath();
  document.closed = document.window->close();
}

} // namespace

void MainWindow::save()
{
  if (QLayer* canvas = activeLayer())
    reportSave(this, canvas->save());
}

void MainWindow::saveAs()
{
  if (QLayer* canvas = activeLayer())
    reportSave(this, canvas->saveAs());
}

void MainWindow::saveAll()
{
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
    mdiArea->setActiveSubWindow(window);
    if (QLayer* canvas = canvasOf(window))
      reportSave(this, canvas->save());
  }
}

// The mass-save window comes with the batch tools.
void MainWindow::saveMass() {}

// Settings are written once, after every question and save: a settings object
// held across them would, when released, overwrite the folder a save dialog
// stored meanwhile.
void MainWindow::closeEvent(QCloseEvent* event)
{
  std::vector<ClosingDocument> documents;
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::CreationOrder))
    if (QLayer* canvas = canvasOf(window))
      documents.push_back({window, canvas, false, QString()});
  int modified = 0;
  for (ClosingDocument& document : documents) {
    document.canvas->setAskOnClose(false);
    modified += document.canvas->isModified() ? 1 : 0;
  }

  bool accepted = true;
  bool saveAll = false;
  for (ClosingDocument& document : documents) {
    if (!document.canvas->isModified())
      continue;
    mdiArea->setActiveSubWindow(document.window);
    const QMessageBox::StandardButton answer = document.canvas->askCloseModified(modified > 1, this);
    if (answer == QMessageBox::SaveAll) {
      saveAll = true;
      break;
    }
    if (answer == QMessageBox::Save)
      accepted = document.canvas->saveBeforeClose(this);
    else if (answer != QMessageBox::Discard)
      accepted = false;
    if (!accepted)
      break;
    closeDocument(document);
    --modified;
  }

  // A document answered Discard is closed already, so it is never saved here.
  if (saveAll) {
    for (ClosingDocument& document : documents) {
      if (document.closed)
        continue;
      mdiArea->setActiveSubWindow(document.window);
      if (document.canvas->isModified() && !document.canvas->saveBeforeClose(this)) {
        accepted = false;
        break;
      }
      closeDocument(document);
    }
  }

  QString opened;
  if (accepted) {
    for (const ClosingDocument& document : documents) {
      const QString path = document.closed ? document.path : document.canvas->filePath();
      if (!path.isEmpty())
        opened += path + QLatin1Char('|');
    }
    mdiArea->closeAllSubWindows();
    // The sub-windows are deleted later: nothing may point into them by then.
    layerList->setCharacterData(placeholderCharacter);
    layerList->setLayer(nullptr);
    layerRender->setCharacterData(placeholderCharacter);
  } else {
    for (ClosingDocument& document : documents)
      if (!document.closed)
        document.canvas->setAskOnClose(true);
  }
  event->setAccepted(accepted);

  IniSettings settings;
  settings.setValue("Color", "primary", static_cast<int>(primaryColor.rgba()));
  settings.setValue("Color", "secondary", static_cast<int>(secondaryColor.rgba()));
  if (accepted)
    settings.setValue("Path", "opened", opened);
}
void MainWindow::addElementLibrary() {}
void MainWindow::addCharacterElement() {}
void MainWindow::redimension() {}
void MainWindow::rotateCharacter() {}
void MainWindow::colorationCharacter() {}
