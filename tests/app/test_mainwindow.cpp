#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "colour/QColorBox.h"

#include <QAbstractButton>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>

namespace {

// The command of that text; a sub-menu's own action (the "Sélection" sub-menu)
// is a child of its menu.
QAction* command(const QWidget& window, const QString& text)
{
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text() == text && action->parent() != action->menu())
      return action;
  return nullptr;
}

QDockWidget* dock(const QWidget& window, const QString& title)
{
  for (QDockWidget* d : window.findChildren<QDockWidget*>())
    if (d->windowTitle() == title)
      return d;
  return nullptr;
}

// Texts of a menu's or tool bar's entries, "|" for a separator, "[widget]"
// for an embedded widget.
QStringList entries(QWidget* holder)
{
  QStringList out;
  for (QAction* a : holder->actions())
    out << (a->isSeparator() ? QString("|") : a->text().isEmpty() ? QString("[widget]") : a->text());
  return out;
}

void showAndActivate(QWidget& window)
{
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestMainWindow : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void shellAtStart()
  {
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Sorvel Kit"));
    QStringList menus;
    for (QAction* a : window.menuBar()->actions())
      menus << a->text();
    QCOMPARE(menus, QStringList({"&Fichier", "&Edition", "&Affichage", "&Characters", "?"}));
    QCOMPARE(entries(window.menuBar()->actions()[0]->menu()).mid(5, 3),
             QStringList({"|", "Fichiers récents", "|"}));

    QStringList bars;
    for (QToolBar* bar : window.findChildren<QToolBar*>())
      bars << bar->windowTitle();
    QCOMPARE(bars, QStringList({"Gestion du document", "Gestion des characters", "Fonctions de retouches",
                                "Fonctions de dessins", "Dessins"}));
    const QList<QToolBar*> toolBars = window.findChildren<QToolBar*>();
    QCOMPARE(entries(toolBars[1]), QStringList({"Ajout d'un élément ou d'un calque de dessin", "|", "Annuler",
                                                "Rétablir", "|", "Zoom -", "[widget]", "Zoom +"}));
    QCOMPARE(entries(toolBars[3]),
             QStringList({"Pipette", "Pinceau", "Gomme", "Ligne", "Rectangle", "Cercle", "Zone d'effet"}));
    QCOMPARE(entries(command(window, "Zone d'effet")->menu()),
             QStringList({"Cellule ciblée", "Cellules sélectionnées", "Toutes les cellules"}));
    QVERIFY(!toolBars[4]->isHidden() && !toolBars[4]->isEnabled()); // empty, keeping its row
    QVERIFY(toolBars[4]->actions().isEmpty());
    QCOMPARE(window.zoomEdit->text(), QString("100 %"));
    QCOMPARE(window.zoomEdit->maximumWidth(), 50);
    QCOMPARE(window.statusBar()->findChild<QLabel*>()->text(), QString("Prêt"));

    for (QAction* checked : {window.selectAction, window.targetZoneAction, window.gridAction,
                             window.elementsDockAction, window.renderDockAction, window.colorsDockAction})
      QVERIFY(checked->isChecked());
    for (QAction* unchecked : {window.moveAction, window.pipetteAction, window.penAction, window.rubberAction,
                               window.lineAction, window.rectAction, window.circleAction,
                               window.selectedZoneAction, window.allZoneAction})
      QVERIFY(unchecked->isCheckable() && !unchecked->isChecked());
    QCOMPARE(int(window.tool), 0);
    QCOMPARE(window.pen.size, 1);
    QCOMPARE(window.pen.color, QColor(Qt::black));
    QCOMPARE(window.drawMode.fillMode, 1);
    QCOMPARE(window.drawMode.gradient.stops.size(), std::size_t(2));
    QCOMPARE(window.renderDock->minimumSize(), QSize(173, 48));
    QVERIFY(!window.activeLayer());
  }

  // Qt 6 reads neither "Ctrl++" nor a shortcut with all three modifiers the
  // way the menus mean them: each must answer its keys.
  void shortcuts_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("sequence");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Zoom +") << "Zoom +" << QKeySequence(Qt::CTRL | Qt::Key_Plus) << int(Qt::Key_Plus)
                            << int(Qt::ControlModifier);
    QTest::newRow("Zoom -") << "Zoom -" << QKeySequence(Qt::CTRL | Qt::Key_Minus) << int(Qt::Key_Minus)
                            << int(Qt::ControlModifier);
    QTest::newRow("mass save") << "Enregistrer sous différentes teintes" << QKeySequence("Ctrl+Shift+Alt+S")
                               << int(Qt::Key_S) << int(Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    QTest::newRow("save as") << "Enregistrer sous..." << QKeySequence("Ctrl+Shift+S") << int(Qt::Key_S)
                             << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("select tool") << "Sélection" << QKeySequence("Ctrl+P") << int(Qt::Key_P)
                                 << int(Qt::ControlModifier);
    QTest::newRow("manual") << "Manuel d'aide" << QKeySequence("F1") << int(Qt::Key_F1) << 0;
  }

  void shortcuts()
  {
    QFETCH(QString, text);
    QFETCH(QKeySequence, sequence);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    MainWindow window;
    showAndActivate(window);
    QAction* action = command(window, text);
    QVERIFY(action);
    QCOMPARE(action->shortcut(), sequence);
    QSignalSpy triggered(action, &QAction::triggered);
    QTest::keyClick(&window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
  }

  void dockToggles_data()
  {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("key");
    QTest::newRow("Eléments") << "Eléments" << int(Qt::Key_F5);
    QTest::newRow("Rendu") << "Rendu" << int(Qt::Key_F6);
    QTest::newRow("Couleurs") << "Couleurs" << int(Qt::Key_F7);
  }

  void dockToggles()
  {
    QFETCH(QString, title);
    QFETCH(int, key);
    MainWindow window;
    showAndActivate(window);
    QDockWidget* d = dock(window, title);
    QAction* toggle = command(window, title);
    QVERIFY(d && toggle && d->isVisible() && toggle->isChecked());

    QAbstractButton* close = d->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
    QVERIFY(close);
    close->click();
    QVERIFY(!d->isVisible());
    QVERIFY(!toggle->isChecked());

    QTest::keyClick(&window, Qt::Key(key));
    QVERIFY(d->isVisible());
    QVERIFY(toggle->isChecked());
    QTest::keyClick(&window, Qt::Key(key));
    QVERIFY(!d->isVisible());
    QVERIFY(!toggle->isChecked());
  }

  void colours_data()
  {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QColor>("primary");
    QTest::addColumn<QColor>("secondary");
    QTest::newRow("no settings") << QByteArray() << QColor(0, 0, 0, 255) << QColor(255, 255, 255, 255);
    QTest::newRow("opaque black") << QByteArray("[Color]\nprimary=-16777216\n") << QColor(0, 0, 0, 255)
                                  << QColor(255, 255, 255, 255);
    QTest::newRow("alpha kept") << QByteArray("[Color]\nprimary=2130706432\nsecondary=-65536\n")
                                << QColor(0, 0, 0, 127) << QColor(255, 0, 0, 255);
  }

  void colours()
  {
    QFETCH(QByteArray, ini);
    QFETCH(QColor, primary);
    QFETCH(QColor, secondary);
    writeAll("sorvelkit.ini", ini);
    MainWindow window;
    QCOMPARE(window.primaryColor, primary);
    QCOMPARE(window.secondaryColor, secondary);
    QCOMPARE(window.primaryColor.alpha(), primary.alpha());

    // The dock's box edits the window's own colours, not copies.
    window.colorBox->setColor(QColor(Qt::red));
    QCOMPARE(window.primaryColor, QColor(Qt::red));
    QCOMPARE(window.secondaryColor, secondary);
  }

  // Destroying the MDI area announces a null active sub-window: the window
  // must not take it while half destroyed.
  void teardownWithCharacterOpen()
  {
    MainWindow* window = new MainWindow;
    showAndActivate(*window);
    QLayer* canvas = new QLayer("Héros", QSize(0, 0), 0, window->mdiArea, window->colorBox, window->layerList);
    canvas->setToolPointer(reinterpret_cast<unsigned char*>(&window->tool));
    canvas->pen = &window->pen;
    canvas->gradientHolder = &window->drawMode;
    canvas->drawScope = &window->drawScope;
    canvas->rubberMode = &window->rubberMode;
    window->mdiArea->addSubWindow(new QScrollLayer(canvas))->show();
    QCOMPARE(window->activeLayer(), canvas);
    delete window;
  }
};

SK_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
