#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "colour/QGradientCreator.h"
#include "colour/QGradientEditor.h"
#include "core/IniSettings.h"
#include "tests/PromptRecorder.h"
#include "widgets/QLabelClickable.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace {

uint32_t word(const QImage& image, int x, int y)
{
  return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
}

void showAndActivate(QWidget& window)
{
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

// A character of one selected drawing element, opened as the window's
// openers open one: wired to the drawing state, in its own sub-window.
QLayer* openCharacter(MainWindow& window, const QString& name)
{
  QLayer* canvas = new QLayer(name, QSize(0, 0), 0, window.mdiArea, window.colorBox, window.layerList);
  canvas->setToolPointer(reinterpret_cast<unsigned char*>(&window.tool));
  canvas->pen = &window.pen;
  canvas->gradientHolder = &window.drawMode;
  canvas->drawScope = &window.drawScope;
  canvas->rubberMode = &window.rubberMode;
  canvas->characterData()->addElement(std::string(), 0);
  canvas->characterData()->setSelectedElements({0});
  canvas->updateSize();
  QMdiSubWindow* sub = window.mdiArea->addSubWindow(new QScrollLayer(canvas));
  sub->setWindowTitle(name);
  sub->show();
  return canvas;
}

void stroke(QLayer* canvas, const QPoint& at)
{
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  }
}

// The "Dessins" bar as the user reads it: labels by their text, "|" for a
// separator, "[n..m=v]" for a spin box, combo items joined by "/" with the
// current one in brackets.
QStringList barTexts(QToolBar* bar)
{
  QStringList out;
  for (QAction* action : bar->actions()) {
    QWidgetAction* holder = qobject_cast<QWidgetAction*>(action);
    QWidget* w = holder ? holder->defaultWidget() : nullptr;
    if (action->isSeparator())
      out << "|";
    else if (qobject_cast<QLabelClickable*>(w))
      out << "[preview]";
    else if (QLabel* label = qobject_cast<QLabel*>(w))
      out << label->text();
    else if (QSpinBox* spin = qobject_cast<QSpinBox*>(w))
      out << QString("[%1..%2=%3]").arg(spin->minimum()).arg(spin->maximum()).arg(spin->value());
    else if (QComboBox* combo = qobject_cast<QComboBox*>(w)) {
      QStringList items;
      for (int i = 0; i < combo->count(); ++i)
        items << (i == combo->currentIndex() ? "[" + combo->itemText(i) + "]" : combo->itemText(i));
      out << items.join("/");
    } else
      out << action->text();
  }
  return out;
}

QWidget* barWidget(QToolBar* bar, int index)
{
  QWidgetAction* holder = qobject_cast<QWidgetAction*>(bar->actions().value(index));
  return holder ? holder->defaultWidget() : nullptr;
}

const QList<int> kToolKeys{Qt::Key_P, Qt::Key_M, Qt::Key_F, Qt::Key_G, Qt::Key_H, Qt::Key_J, Qt::Key_K, Qt::Key_L};

} // namespace

class TestToolSelection : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void toolShortcuts()
  {
    MainWindow window;
    showAndActivate(window);
    window.pen.size = 4;
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(int(window.tool), 3);
    QVERIFY(window.penAction->isChecked() && !window.selectAction->isChecked());
    QVERIFY(window.drawingToolBar->isVisible() && window.drawingToolBar->isEnabled());
    QCOMPARE(barTexts(window.drawingToolBar),
             QStringList({"Epaisseur", "[1..50=4]", "|", "Forme", "[Carré]/Circulaire"}));
    QCOMPARE(window.widthLabel->margin(), 5);
    QCOMPARE(window.shapeLabel->margin(), 5);

    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(int(window.tool), 0);
    QVERIFY(window.selectAction->isChecked() && !window.penAction->isChecked());
    // Emptied, but its row stays, so the canvas below does not move.
    QVERIFY(!window.drawingToolBar->isEnabled() && window.drawingToolBar->isVisible());
    QVERIFY(window.drawingToolBar->actions().isEmpty());

    // The rubber's "Sélection" mode has no width; its options come back
    // enabled, on that mode.
    window.pen.size = 9;
    window.pen.shape = 1;
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(barTexts(window.drawingToolBar),
             QStringList({"Mode d'effacement", "[Pinceau]/Sélection", "|", "Forme", "Carré/[Circulaire]", "Epaisseur",
                          "[1..50=9]"}));
    qobject_cast<QComboBox*>(barWidget(window.drawingToolBar, 1))->setCurrentIndex(1);
    QCOMPARE(int(window.rubberMode), 1);
    QVERIFY(!window.widthLabel->isEnabled() && !window.widthSpin->isEnabled());
    window.shapeCombo->setCurrentIndex(0);
    QCOMPARE(window.pen.shape, 0);
    QTest::keyClick(&window, Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(barTexts(window.drawingToolBar), QStringList({"Epaisseur", "[1..50=9]"}));
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(barTexts(window.drawingToolBar).mid(0, 2), QStringList({"Mode d'effacement", "Pinceau/[Sélection]"}));
    QVERIFY(window.widthLabel->isEnabled() && window.widthSpin->isEnabled());

    const QList<QAction*> tools{window.selectAction, window.moveAction, window.pipetteAction, window.penAction,
                                window.rubberAction, window.lineAction, window.rectAction, window.circleAction};
    const QList<int> kinds{0, 1, 2, 3, 6, 7, 5, 4};
    QRandomGenerator random(24);
    const int barHeight = window.drawingToolBar->height();
    const QPoint mdiAt = window.mdiArea->mapTo(&window, QPoint(0, 0));
    for (int i = 0; i < 300; ++i) {
      const int k = random.bounded(int(kToolKeys.size()));
      QTest::keyClick(&window, Qt::Key(kToolKeys[k]), Qt::ControlModifier);
      QList<int> checked;
      for (int t = 0; t < tools.size(); ++t)
        if (tools[t]->isChecked())
          checked << t;
      QCOMPARE(checked.size(), 1);
      QCOMPARE(int(window.tool), kinds[checked[0]]);
      QCOMPARE(window.drawingToolBar->isEnabled(), window.tool >= 3);
      QCOMPARE(window.drawingToolBar->height(), barHeight);
      QCOMPARE(window.mdiArea->mapTo(&window, QPoint(0, 0)), mdiAt);
    }
  }

  void fillAndPaintModes()
  {
    MainWindow window;
    showAndActivate(window);
    window.drawMode.fillMode = 0;
    window.drawMode.paintMode = 1;
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(barTexts(window.drawingToolBar),
             QStringList({"Mode de dessin", "Remplissage", "Couleur unie/[Dégradé]", "", "[preview]"}));
    QCOMPARE(qobject_cast<QLabel*>(barWidget(window.drawingToolBar, 1))->margin(), 5);
    QVERIFY(window.gradientLabel->isEnabled());
    QCOMPARE(window.gradientLabel->size(), QSize(30, 30));
    QCOMPARE(window.gradientLabel->toolTip(), QString("Editer le dégradé"));
    QStringList menu;
    for (QAction* a : window.drawModeAction->menu()->actions())
      menu << a->text();
    QCOMPARE(menu, QStringList({"Dessine seulement le contour d'une forme", "Dessine pleinement la forme",
                                "Dessine la forme avec un contour"}));

    QToolButton* button = qobject_cast<QToolButton*>(window.drawingToolBar->widgetForAction(window.drawModeAction));
    QVERIFY(button);
    const QStringList icons{"modeContour", "modePlein", "modePleinContour"};
    for (int expected : {1, 2, 0}) {
      button->click();
      QCOMPARE(window.drawMode.fillMode, expected);
      QCOMPARE(window.drawModeAction->icon().pixmap(16).toImage(),
               QIcon(":/icon/" + icons[expected] + ".png").pixmap(16).toImage());
      int checked = 0;
      for (QAction* a : window.drawModeAction->menu()->actions())
        checked += a->isChecked();
      QCOMPARE(checked, 1);
    }

    // The preview: the gradient from dark to light, framed by the default pen.
    const QImage preview = window.gradientLabel->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(preview.size(), QSize(30, 30));
    for (const QPoint& p : {QPoint(0, 0), QPoint(29, 29), QPoint(15, 0), QPoint(0, 15)})
      QCOMPARE(word(preview, p.x(), p.y()), 0xFF000000u);
    QVERIFY(qGray(word(preview, 3, 15)) < qGray(word(preview, 26, 15)));

    // A press of any button opens the editor; only a validated gradient
    // replaces the window's.
    const QImage before = window.gradientLabel->pixmap().toImage();
    PromptRecorder recorder;
    recorder.gradients.push_back([](GradientSettings& g) { g.stops[0].color = Qt::red; return false; });
    recorder.gradients.push_back([](GradientSettings& g) {
      g.stops[0].color = g.stops[1].color = QColor(Qt::red);
      return true;
    });
    QTest::mouseClick(window.gradientLabel, Qt::RightButton);
    QCOMPARE(window.drawMode.gradient.stops[0].color, QColor(Qt::black));
    QCOMPARE(window.gradientLabel->pixmap().toImage(), before);
    QTest::mouseClick(window.gradientLabel, Qt::LeftButton);
    QCOMPARE(recorder.titles(), QStringList({"Editeur de dégradé", "Editeur de dégradé"}));
    QCOMPARE(window.drawMode.gradient.stops[1].color, QColor(Qt::red));
    QCOMPARE(window.gradientLabel->pixmap().toImage().pixel(15, 15), 0xFFFF0000u);

    qobject_cast<QComboBox*>(barWidget(window.drawingToolBar, 2))->setCurrentIndex(0);
    QCOMPARE(window.drawMode.paintMode, 0);
    QVERIFY(!window.gradientLabel->isEnabled());

  }

  // Without a scripted answer the preview runs the real editor; a gradient
  // saved there is the one the next window starts with.
  void realGradientEditor()
  {
    MainWindow window;
    showAndActivate(window);
    window.drawMode.paintMode = 1;
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    PromptRecorder recorder;
    prompts().gradient = nullptr;
    recorder.files = {"saved.skd"};
    recorder.dialogs.push_back([](QDialog& dialog) {
      dialog.findChild<QGradientCreator*>()->setGradient({{0.0, Qt::red}, {1.0, Qt::red}});
      static_cast<QGradientEditor&>(dialog).save();
      static_cast<QGradientEditor&>(dialog).finishCG();
      return dialog.result();
    });
    QTest::mouseClick(window.gradientLabel, Qt::LeftButton);
    QCOMPARE(recorder.titles(), QStringList({"Editeur de dégradé", "Sauvegarder une palette"}));
    QCOMPARE(window.gradientLabel->pixmap().toImage().pixel(15, 15), 0xFFFF0000u);
    QCOMPARE(MainWindow().drawMode.gradient.stops[0].color, QColor(Qt::red));
    writeAll("sorvelkit.ini", QByteArray());
  }

  // Switching tools leaves nothing behind: the bar's clear() alone would keep
  // every widget of every refill.
  void refillsLeakNothing()
  {
    MainWindow window;
    showAndActivate(window);
    auto pair = [&] {
      QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
      QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    pair();
    const qsizetype widgets = window.findChildren<QWidget*>().size();
    const qsizetype objects = window.findChildren<QObject*>().size();
    // A widget released by the bar loses its parent: count those too.
    const qsizetype all = QApplication::allWidgets().size();
    for (int i = 0; i < 100; ++i)
      pair();
    QCOMPARE(window.findChildren<QWidget*>().size(), widgets);
    QCOMPARE(window.findChildren<QObject*>().size(), objects);
    QCOMPARE(QApplication::allWidgets().size(), all);
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(!window.drawModeAction && !window.gradientLabel && !window.widthSpin);
  }

  void drawingStateIsShared()
  {
    MainWindow window;
    showAndActivate(window);
    QLayer* first = openCharacter(window, "Un");
    QLayer* second = openCharacter(window, "Deux");
    window.mdiArea->setActiveSubWindow(window.mdiArea->subWindowList()[0]);
    QCOMPARE(window.activeLayer(), first);
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    window.widthSpin->setValue(7);
    QCOMPARE(window.pen.size, 7);

    stroke(second, QPoint(16, 24));
    const QImage& cell = second->characterData()->image(0, 0);
    QCOMPARE(word(cell, 13, 21), 0xFF000000u);
    QCOMPARE(word(cell, 19, 27), 0xFF000000u);
    QCOMPARE(word(cell, 12, 21), kBlankPixel);
    QCOMPARE(word(cell, 20, 27), kBlankPixel);
    QCOMPARE(word(cell, 19, 28), kBlankPixel);
  }

  void zoneOfEffect_data()
  {
    QTest::addColumn<bool>("open");
    QTest::newRow("character open") << true;
    QTest::newRow("no character") << false;
  }
  void zoneOfEffect()
  {
    QFETCH(bool, open);
    MainWindow window;
    showAndActivate(window);
    window.drawScope.scope = 1;
    QLayer* canvas = open ? openCharacter(window, "Héros") : nullptr;
    window.allZoneAction->trigger();
    QVERIFY(window.allZoneAction->isChecked());
    QVERIFY(!window.targetZoneAction->isChecked() && !window.selectedZoneAction->isChecked());
    QCOMPARE(window.drawScope.scope, open ? 2 : 1);
    if (!canvas)
      return;
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    stroke(canvas, QPoint(40, 10)); // cell 1
    for (int c = 0; c < 16; ++c)
      QCOMPARE(word(canvas->characterData()->image(0, c), 8, 10), 0xFF000000u);
  }

  // colours: the answers of the successive colour dialogs, -1 cancelled.
  // showAlpha: stored before and after, -1 absent. background: -1 unchanged.
  void backgroundColour_data()
  {
    QTest::addColumn<int>("showAlphaBefore");
    QTest::addColumn<QList<qint64>>("colours");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("tick");
    QTest::addColumn<int>("questions");
    QTest::addColumn<qint64>("background");
    QTest::addColumn<int>("showAlphaAfter");
    const int yes = QMessageBox::Yes, no = QMessageBox::No;
    QTest::newRow("No keeps the transparent colour")
        << -1 << QList<qint64>{0x00FF0000} << no << 0 << 1 << qint64(0x00FF0000) << 1;
    QTest::newRow("ticked") << -1 << QList<qint64>{0x00FF0000} << no << 1 << 1 << qint64(0x00FF0000) << 0;
    QTest::newRow("ticked before asks nothing") << 0 << QList<qint64>{0x0000FF00} << no << 0 << 0
                                                << qint64(0x0000FF00) << 0;
    QTest::newRow("Yes, then opaque") << -1 << QList<qint64>{0x00FF0000, 0xFF00FF00} << yes << 0 << 1
                                      << qint64(0xFF00FF00) << 1;
    QTest::newRow("Yes, ticked, transparent again")
        << -1 << QList<qint64>{0x00FF0000, 0x000000FF} << yes << 1 << 1 << qint64(0x000000FF) << 0;
    QTest::newRow("Yes twice") << 1 << QList<qint64>{0x00FF0000, 0x000000FF, 0x80FFFFFF} << yes << 0 << 2
                               << qint64(0x80FFFFFF) << 1;
    QTest::newRow("Yes, then cancelled") << -1 << QList<qint64>{0x00FF0000, -1} << yes << 0 << 1 << qint64(-1) << 1;
    QTest::newRow("opaque asks nothing") << -1 << QList<qint64>{0xFF112233} << no << 0 << 0 << qint64(0xFF112233)
                                         << -1;
    QTest::newRow("cancelled") << -1 << QList<qint64>{-1} << no << 0 << 0 << qint64(-1) << -1;
  }
  void backgroundColour()
  {
    QFETCH(int, showAlphaBefore);
    QFETCH(QList<qint64>, colours);
    QFETCH(int, answer);
    QFETCH(int, tick);
    QFETCH(int, questions);
    QFETCH(qint64, background);
    QFETCH(int, showAlphaAfter);
    if (showAlphaBefore >= 0)
      IniSettings().setValue("showAgain", "showAlpha", bool(showAlphaBefore));
    MainWindow window;
    showAndActivate(window);
    QLayer* canvas = openCharacter(window, "Héros");
    CharacterData& doc = *canvas->characterData();
    PromptRecorder recorder;
    for (int i = 0; i < questions; ++i) {
      recorder.buttons.push_back(QMessageBox::StandardButton(answer));
      recorder.ticks.push_back(tick);
    }
    // Each dialog stores a palette path of its own, as the palette does.
    int dialogs = 0;
    for (qint64 colour : colours)
      recorder.colors.push_back([colour, &dialogs](QColor& c, bool) {
        IniSettings().setValue("Path", "pathPalette", QString("palette/%1.skp").arg(++dialogs));
        if (colour < 0)
          return false;
        c = QColor::fromRgba(QRgb(colour));
        return true;
      });
    QStringList labels;
    auto record = prompts().runMessageBox;
    prompts().runMessageBox = [&](QMessageBox& box) {
      for (QWidget* w : box.findChildren<QWidget*>())
        if (QLabel* label = qobject_cast<QLabel*>(w); label && label != box.findChild<QLabel*>("qt_msgbox_label"))
          labels << label->text();
        else if (QCheckBox* check = qobject_cast<QCheckBox*>(w))
          labels << check->text();
      return record(box);
    };

    window.changeBg();

    int boxes = 0;
    for (const auto& a : recorder.asked) {
      if (a.kind == "color") {
        QCOMPARE(a.title, QString("Couleur d'arrière plan"));
        QVERIFY(a.alpha);
        continue;
      }
      ++boxes;
      QCOMPARE(a.title, QString("Couleur d'arrière-plan"));
      QCOMPARE(a.text, QString("<h3>Changer la couleur d'arrière-plan</h3>"));
      QCOMPARE(a.icon, int(QMessageBox::Question));
    }
    QCOMPARE(boxes, questions);
    QCOMPARE(dialogs, int(colours.size()));
    if (questions) {
      QVERIFY(labels.contains("Ne plus afficher ce message"));
      QVERIFY(labels.contains(
          "Vous avez sélectionné une couleur d'arrière-plan entièrement transparente.\n"
          "Le character n'aura donc pas d'arrière-plan visible. Pour résoudre ce problème,\n"
          "vous pouvez resélectionner une couleur d'arrière-plan en augmentant la\n"
          "valeur \"Transparence\". Voulez-vous resélectioner la couleur d'arrière-plan ?"));
    }

    const uint32_t expected = background < 0 ? kBlankPixel : uint32_t(background);
    QCOMPARE(uint32_t(doc.backgroundPixel()), expected);
    QCOMPARE(canvas->isModified(), background >= 0);
    QCOMPARE(window.mdiArea->subWindowList()[0]->windowTitle(), QString(background >= 0 ? "Héros*" : "Héros"));
    QCOMPARE(canvas->history()->count(), 0);
    if (qAlpha(expected) != 0) {
      // Behind the elements, inside a cell and off the grid.
      canvas->repaint(); // the last render is what the canvas last painted
      const QImage shown = doc.lastRender();
      QCOMPARE(word(shown, 10, 10), expected);
    }

    IniSettings settings;
    bool showAlpha = true;
    QCOMPARE(settings.getValue("showAlpha", showAlpha), showAlphaAfter >= 0);
    if (showAlphaAfter >= 0)
      QCOMPARE(int(showAlpha), showAlphaAfter);
    QString palette;
    settings.getValue("pathPalette", palette);
    QCOMPARE(palette, QString("palette/%1.skp").arg(dialogs));
  }
};

SK_TEST_MAIN(TestToolSelection)
#include "test_toolselection.moc"
