#pragma once
#include "model/DrawScope.h"
#include "model/GradientHolder.h"
#include "model/PenSettings.h"
#include "model/ToolKind.h"

#include <QColor>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <string>

class CharacterData;
class ClipBoard;
class QAction;
class QColorBox;
class QComboBox;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QHelpDialog;
class QLabel;
class QLabelClickable;
class QLayer;
class QLayerList;
class QLayerRender;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSpinBox;
class QToolBar;

// The program's one top-level window: the menus and tool bars of every
// command, the MDI area of open characters, the three docks that follow the
// active character, the two drawing colours and the drawing state that every
// canvas reads through pointers.
class MainWindow : public QMainWindow
{
  Q_OBJECT

public:
  MainWindow();
  ~MainWindow() override;

  // The canvas of the MDI area's current sub-window, or null when none is
  // open. activeSubWindow() is null whenever another top-level window (a
  // dialog, the help window) is active, so commands never rely on it.
  QLayer* activeLayer() const;

  // Lists the recent files in recentFilesMenu, newest first.
  void updateRecentFiles();
  // Moves the path to the newest place of the stored recent files.
  void addRecentFile(const QString& path);
  // The openers of each kind of file; each shows its own failure.
  // reportErrors false opens the documents of the last session quietly.
  void openSKDocument(const QString& path, bool reportErrors);
  void openELSKDocument(const QString& path);
  void openPNGDocument(const QString& path);
  // A canvas holding a copy of the document, named and ready to be shown.
  QLayer* newCanvas(const CharacterData& document, const QString& name);
  // Puts the canvas in a new sub-window with its first undo step and points
  // the docks at it. An invalid minimum size leaves the sub-window free.
  void showCanvas(QLayer* canvas, const QString& title, const QSize& minimumSize, bool modified);
  // Adds a PNG image to the active character as one new element; false when
  // nothing was added (no character, refused, unreadable, question closed).
  bool addFileToActive(const QString& path);

  // The window's parts and its drawing state; the toolkit's parent-child tree
  // owns the widgets.
  ClipBoard* clipboard;
  QMdiArea* mdiArea;
  QMenu* recentFilesMenu;
  QLayerList* layerList;
  QLayerRender* layerRender;
  QColorBox* colorBox;
  QAction* drawModeAction;
  CharacterData* placeholderCharacter;
  QColor primaryColor;
  QColor secondaryColor;
  QLineEdit* zoomEdit;
  QAction* moveAction;
  QAction* pipetteAction;
  QAction* penAction;
  QAction* lineAction;
  QAction* rectAction;
  QAction* circleAction;
  QAction* rubberAction;
  QAction* targetZoneAction;
  QAction* allZoneAction;
  QAction* selectedZoneAction;
  QAction* selectAction;
  QAction* contourModeAction;
  QAction* gridAction;
  QLabelClickable* gradientLabel;
  QAction* pleinModeAction;
  QAction* pleinContourModeAction;
  QAction* elementsDockAction;
  QAction* renderDockAction;
  QAction* colorsDockAction;
  // The commands the tool bars show beside their menus.
  QAction* newXPAction = nullptr;
  QAction* newVXAction = nullptr;
  QAction* newDefaultAction = nullptr;
  QAction* conversionAction = nullptr;
  QAction* sorvelAction = nullptr;
  QAction* openAction = nullptr;
  QAction* saveAction = nullptr;
  QAction* saveAsAction = nullptr;
  QAction* saveAllAction = nullptr;
  QAction* saveMassAction = nullptr;
  QAction* addElementAction = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QAction* zoomOutAction = nullptr;
  QAction* zoomInAction = nullptr;
  QAction* colorationAction = nullptr;
  QAction* redimensionAction = nullptr;
  QAction* rotationAction = nullptr;
  QAction* rotateP90Action = nullptr;
  QAction* rotateM90Action = nullptr;
  QAction* flipHAction = nullptr;
  QAction* flipVAction = nullptr;
  QAction* restoreAction = nullptr;
  QAction* cellSizeAction = nullptr;
  QAction* convertAction = nullptr;
  QAction* zoneAction = nullptr;
  QAction* backgroundAction = nullptr;
  QToolBar* drawingToolBar;
  GradientHolder drawMode;
  PenSettings pen;
  DrawScope drawScope;
  unsigned char rubberMode;
  ToolKind tool;
  QLabel* widthLabel;
  QLabel* shapeLabel;
  QSpinBox* widthSpin;
  QComboBox* shapeCombo;
  // Made on first use without a parent, deleted with the window.
  QHelpDialog* helpDialog;
  QWidget* quickHelpWindow;
  QDockWidget* elementsDock;
  QDockWidget* renderDock;
  QDockWidget* colorsDock;

public slots:
  void newConversion();
  void newSorvel();
  void newCharXP();
  void newCharVX();
  void addCharacter(QString name, int width, int height, int type);
  void openSKFile();
  void updateActiveWindow(QMdiSubWindow* window);
  void setElementChecked();
  void setRenduChecked();
  void setColorChecked();
  void openRpgSorvelUrl();
  void changeBg();
  void showHelp();
  void showHelp(QString page);
  void showHelp_Create_Character();
  void showQuickHelp();
  void openDefault();
  void assignAsDefault();
  void save();
  void saveAs();
  void saveAll();
  void saveMass();
  void updateGrid();
  void updateZoomP();
  void updateZoomM();
  void updateZoom();
  void updateZoom(QString text);
  void addElementLibrary();
  void undo();
  void redo();
  void couper();
  void copier();
  void coller();
  void selectAllCellule();
  void selectReverseCellule();
  void selectVoidCellule();
  void addCharacterElement();
  void convertCharacter();
  void flipCharH();
  void flipCharV();
  void reLoadElement();
  void changeSize();
  void redimension();
  void rotateCharacter();
  void rotateCharacterP90();
  void rotateCharacterM90();
  void colorationCharacter();
  void setMoveTool(bool checked);
  void setSelectTool(bool checked);
  void setPipetteTool(bool checked);
  void setPenTool(bool checked);
  void widthChanged(int width);
  void shapeChanged(int shape);
  void setCircleTool(bool checked);
  void setLineTool(bool checked);
  void setRectTool(bool checked);
  void setRubberTool(bool checked);
  void modeRubber(int mode);
  void setPaintMode(int mode);
  void setPleinContourMode();
  void setPleinMode();
  void showGradientEditor();
  void setContourMode();
  void changeDrawMode();
  void setTargetDrawing(bool checked);
  void setSelectedDrawing(bool checked);
  void setAllDrawing(bool checked);
  void setPrimaryColor(QColor color);
  void setSecondaryColor(QColor color);
  void setColor(QColor color, int which);
  void setColor(QColor color);
  void aboutSK();
  void aboutThanks();
  void welcome();
  void doYouNeedHelp();
  void donation();

protected slots:
  void openRecent();

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  QAction* addCommand(QMenu* menu, const QString& text, const QKeySequence& shortcut, const QString& icon,
                      const QString& statusTip);
  void fillFileMenu(QMenu* menu);
  void fillEditMenu(QMenu* menu);
  void fillViewMenu(QMenu* menu);
  void fillCharactersMenu(QMenu* menu, QMenu* selectionMenu);
  void fillHelpMenu(QMenu* menu);
  void addToolBars();
  // The tool actions other than own lose their check mark; own gains it.
  void checkToolAction(QAction* own);
  void chooseDrawingTool(bool checked, ToolKind kind, QAction* own, void (MainWindow::*fill)());
  void hideDrawingBar();
  void fixDrawingBarHeight();
  // Empties the "Dessins" bar, deleting what the last refill made: the bar's
  // clear() only removes the actions, and each refill would leak its widgets.
  void releaseDrawingOptions();
  void fillPenOptions();
  void fillRubberOptions();
  void fillLineOptions();
  void fillShapeOptions();
  QLabel* addOptionLabel(const QString& text);
  QSpinBox* addWidthSpin();
  QComboBox* addShapeCombo();
  void drawGradientPreview();
  // Checks the fill-mode action and gives "Mode de dessin" its icon.
  void showFillMode(QAction* checked);
  void chooseZone(QAction* own, int zone);
  void addDocks();
  void connectDockToggles();
  void readColours();
  // The files of one drop, one question at a time.
  void openDroppedFiles(const QStringList& paths);
  bool addElementFileToActive(const QString& path);
  // The active canvas when it can take one more element; otherwise null,
  // after the limit's message when a character is open.
  QLayer* activeLayerWithRoom();
  // The edit and view commands' shared steps.
  void showHistoryStep(QLayer* canvas, int index);
  void stepZoom(int direction);
  // The zoom as the zoom field shows it.
  static QString zoomText(double zoom);
  void keepGridShortcut(QMdiSubWindow* window);
};
