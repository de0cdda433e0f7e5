// The main window's tools, drawing options and modes, zone of effect, colours and gradient.
#include "app/MainWindow.h"

#include "colour/QColorBox.h"
#include "colour/QGradientEditor.h"
#include "core/GradientBrushes.h"
#include "widgets/QComboWidget.h"
#include "widgets/QLabelClickable.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSpinBox>
#include <QToolBar>

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

// The bar stays, empty: a row that came and went would move the canvas under
// the pointer.
void MainWindow::hideDrawingBar()
{
  drawingToolBar->setEnabled(false);
  releaseDrawingOptions();
}

// The tallest of the tools' options, so that no refill changes the row.
void MainWindow::fixDrawingBarHeight()
{
  int height = drawingToolBar->sizeHint().height();
  for (void (MainWindow::*fill)() : {&MainWindow::fillPenOptions, &MainWindow::fillRubberOptions,
                                     &MainWindow::fillLineOptions, &MainWindow::fillShapeOptions}) {
    (this->*fill)();
    height = std::max(height, drawingToolBar->sizeHint().height());
    releaseDrawingOptions();
  }
  drawingToolBar->setFixedHeight(height);
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
  contourModeAction = fillModes->addAction(QIcon(QStringLiteral(":/icon/modeContour.png")),
                                           QStringLiteral("Dessine seulement le contour d'une forme"));
  pleinModeAction =
      fillModes->addAction(QIcon(QStringLiteral(":/icon/modePlein.png")), QStringLiteral("Dessine pleinement la forme"));
  pleinContourModeAction = fillModes->addAction(QIcon(QStringLiteral(":/icon/modePleinContour.png")),
                                                QStringLiteral("Dessine la forme avec un contour"));
  for (QAction* action : fillModes->actions())
    action->setCheckable(true);
  drawModeAction = new QAction(QIcon(QStringLiteral(":/icon/modePlein.png")), QStringLiteral("Mode de dessin"), this);
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
  QGradientEditor::getGradient(&edited, &accepted, colorBox->currentColor(), QStringLiteral("Editeur de dégradé"),
                               this);
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
