#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "canvas/QLayerRender.h"
#include "model/ClipBoard.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>

#include <numeric>

namespace {

// Elements "E0", "E1"...; every cell of element e is filled with 0xFF0000e0 + e.
CharacterData sheetOf(int type, int elements)
{
  CharacterData doc(type, QSize(0, 0));
  for (int e = 0; e < elements; ++e) {
    QImage image(doc.cellSize(), QImage::Format_ARGB32);
    image.fill(0xFF0000E0u + uint32_t(e));
    doc.names().push_back("E" + std::to_string(e));
    doc.sources().push_back(std::string());
    doc.visibility().push_back(true);
    doc.images().push_back(std::vector<QImage>(doc.cellCount(), image));
    doc.offsets().push_back(std::vector<QPoint>(doc.cellCount(), QPoint(e, 1)));
  }
  return doc;
}

void showAndActivate(QWidget& window)
{
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

QLayer* open(MainWindow& window, const CharacterData& doc, const QString& name = "hero")
{
  if (!window.isVisible())
    showAndActivate(window);
  window.showCanvas(window.newCanvas(doc, name), name, QSize(), false);
  // Closed here without the close questions, which have their own tests.
  window.activeLayer()->setAskOnClose(false);
  return window.activeLayer();
}

void press(MainWindow& window, Qt::Key key)
{
  QTest::keyClick(&window, key, Qt::ControlModifier);
}

QStringList names(const CharacterData& doc)
{
  QStringList out;
  for (const std::string& n : doc.names())
    out << QString::fromStdString(n);
  return out;
}

std::string lastLabel(QLayer* canvas)
{
  return canvas->history()->label(canvas->history()->count() - 1);
}

} // namespace

class TestEditCommands : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void pastedElementsLandAboveTheOneSelected_data()
  {
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one") << std::vector<int>{0} << QStringList({"E0", "E1", "E3", "E1", "E2", "E3", "E4"});
  }

  // The copy outlives its character.
  void pastedElementsLandAboveTheOneSelected()
  {
    QFETCH(std::vector<int>, selected);
    QFETCH(QStringList, expected);
    PromptRecorder recorder;
    MainWindow window;
    QLayer* source = open(window, sheetOf(XP, 5), "source");
    source->characterData()->setSelectedElements({3, 1});
    press(window, Qt::Key_C);
    window.mdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QLayer* canvas = open(window, sheetOf(XP, 5));
    CharacterData* doc = canvas->characterData();
    doc->setSelectedElements(selected);
    press(window, Qt::Key_V);
    QCOMPARE(names(*doc), expected);
    QCOMPARE(doc->image(selected.size() == 1 ? 2 : 6, 0).pixel(0, 0), 0xFF0000E3u);
    QCOMPARE(lastLabel(canvas), std::string("Coller"));
    QCOMPARE(window.layerList->thumbnailPixmaps().size(), size_t(7));
    QVERIFY(recorder.asked.isEmpty());
  }

  void refusedPastesChangeNothing()
  {
    PromptRecorder recorder;
    MainWindow window;
    QLayer* canvas = open(window, sheetOf(XP, 250));
    CharacterData* doc = canvas->characterData();
    press(window, Qt::Key_V);

    std::vector<int> ten(10);
    std::iota(ten.begin(), ten.end(), 0);
    doc->setSelectedElements(ten);
    press(window, Qt::Key_C);
    press(window, Qt::Key_V);
    QCOMPARE(doc->elementCount(), 250);

    doc->setSelectedCells({4, 2});
    press(window, Qt::Key_C);
    press(window, Qt::Key_V);
    QCOMPARE(canvas->history()->count(), 1);
    QCOMPARE(recorder.titles(), QStringList({"Coller", "Avertissement", "Information"}));
    QCOMPARE(recorder.asked[0].text, QString("Le presse-papier est vide."));
    QCOMPARE(recorder.asked[1].text, QString("Impossible de créer plus de 255 éléments !"));
    QCOMPARE(recorder.asked[2].text, QString("Veuillez sélectionner un élément et une cellule."));
    QCOMPARE(recorder.asked[1].icon, int(QMessageBox::Warning));
  }

  void cutClearsCellsOrRemovesElements_data()
  {
    QTest::addColumn<std::vector<int>>("cells");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("cells") << std::vector<int>{1, 3} << QStringList({"E0", "E1", "E2"});
  }

  void cutClearsCellsOrRemovesElements()
  {
    QFETCH(std::vector<int>, cells);
    QFETCH(QStringList, left);
    MainWindow window;
    QLayer* canvas = open(window, sheetOf(XP, 3));
    CharacterData* doc = canvas->characterData();
    doc->setSelectedElements({2, 0});
    doc->setSelectedCells(cells);
    press(window, Qt::Key_X);
    QCOMPARE(names(*doc), left);
    QCOMPARE(window.layerList->thumbnailPixmaps().size(), size_t(left.size()));
    QCOMPARE(lastLabel(canvas), std::string("Couper"));
    if (!cells.empty()) {
      QCOMPARE(doc->image(0, 3).pixel(0, 0), kBlankPixel);
      QCOMPARE(doc->image(2, 1).pixel(0, 0), kBlankPixel);
      QCOMPARE(doc->image(0, 2).pixel(0, 0), 0xFF0000E0u);
      QCOMPARE(doc->image(1, 1).pixel(0, 0), 0xFF0000E1u);
    }
  }

  // Undoing a layout conversion gives back fewer cells than may be selected.
  void undoAndRedoRestoreTheSheet()
  {
    MainWindow window;
    QLayer* canvas = open(window, sheetOf(VX, 2));
    CharacterData* doc = canvas->characterData();
    press(window, Qt::Key_Z);
    press(window, Qt::Key_Y);
    QCOMPARE(canvas->history()->currentIndex(), 1);

    doc->convertVXtoXP();
    canvas->updateSize();
    canvas->addHistory(doc, "Conversion");
    window.layerList->setCharacterData(window.placeholderCharacter);
    window.layerRender->setCharacterData(window.placeholderCharacter);
    doc->setSelectedElements({1});
    doc->setSelectedCells({12, 15, 2, 13});
    press(window, Qt::Key_Z);
    QCOMPARE(int(doc->type()), int(VX));
    QCOMPARE(canvas->size(), QSize(96, 128));
    QVERIFY(doc->selectedCells() == std::vector<int>{2});
    QCOMPARE(window.layerList->characterData(), doc);
    QCOMPARE(window.layerRender->renderSize(), QSize(96 + QLayerRender::kStripWidth, 32));
    press(window, Qt::Key_Y);
    QCOMPARE(int(doc->type()), int(XP));
    QCOMPARE(canvas->size(), QSize(128, 128));
    press(window, Qt::Key_Y);
    press(window, Qt::Key_Z);

    doc->setSelectedElements({1});
    press(window, Qt::Key_X);
    QCOMPARE(doc->image(1, 2).pixel(0, 0), kBlankPixel);
    press(window, Qt::Key_Z);
    press(window, Qt::Key_Z);
    QCOMPARE(canvas->history()->currentIndex(), 0);
    QCOMPARE(doc->image(1, 2).pixel(0, 0), 0xFF0000E1u);
    press(window, Qt::Key_Y);
    press(window, Qt::Key_Y);
    QCOMPARE(canvas->history()->currentIndex(), 1);
    QCOMPARE(doc->image(1, 2).pixel(0, 0), kBlankPixel);
  }

  // The field keeps what was typed; the steps rewrite it.
  void zoom()
  {
    MainWindow window;
    QLayer* canvas = open(window, sheetOf(XP, 1));
    const CharacterData* doc = canvas->characterData();
    window.zoomEdit->clear();
    const double applied[] = {0.5, 0.5, 2.0};
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(window.zoomEdit, "200"[i]);
      QCOMPARE(doc->zoom(), applied[i]);
    }
    QCOMPARE(window.zoomEdit->text(), QString("200"));
    QCOMPARE(canvas->size(), QSize(256, 384));
    window.zoomEdit->setText(" 1 5 0 %%");
    window.updateZoom();
    QCOMPARE(doc->zoom(), 1.5);
    window.updateZoom("x");
    QCOMPARE(doc->zoom(), 0.5);

    canvas->setZoom(1.0);
    press(window, Qt::Key_Plus);
    QCOMPARE(window.zoomEdit->text(), QString("150 %"));
    QCOMPARE(canvas->size(), QSize(192, 288));
    canvas->setZoom(16.0);
    press(window, Qt::Key_Plus);
    QCOMPARE(doc->zoom(), 16.0);
    QCOMPARE(window.zoomEdit->text(), QString("1600 %"));
  }

  void cellSelection()
  {
    for (int type : {XP, VX}) {
      MainWindow window;
      QLayer* canvas = open(window, sheetOf(type, 1));
      CharacterData* doc = canvas->characterData();
      canvas->setFocus();
      press(window, Qt::Key_A);
      QCOMPARE(doc->selectedCellCount(), type == XP ? 16 : 12);
      doc->setSelectedCells({3, 0});
      press(window, Qt::Key_I);
      QCOMPARE(doc->selectedCellCount(), doc->cellCount() - 2);
      QVERIFY(doc->selectedCell(0) == 1 && !doc->isCellSelected(3));
      press(window, Qt::Key_D);
      QCOMPARE(doc->selectedCellCount(), 0);
      QCOMPARE(canvas->history()->count(), 1);
    }
  }

  void docksFollowTheActiveCharacter()
  {
    PromptRecorder recorder;
    MainWindow window;
    QLayer* first = open(window, sheetOf(XP, 2), "first");
    first->characterData()->setZoom(3.0);
    QLayer* second = open(window, sheetOf(VX, 4), "second");
    QMdiSubWindow* firstWindow = window.mdiArea->subWindowList()[0];

    window.mdiArea->setActiveSubWindow(firstWindow);
    QCOMPARE(window.layerList->characterData(), first->characterData());
    QCOMPARE(window.layerList->thumbnailPixmaps().size(), size_t(2));
    QCOMPARE(window.zoomEdit->text(), QString("300 %"));

    // A grid hidden while the action is checked comes back with the activation.
    press(window, Qt::Key_W);
    QVERIFY(!first->characterData()->isGridShown() && !window.gridAction->isChecked());
    press(window, Qt::Key_W);
    QVERIFY(first->characterData()->isGridShown());
    second->characterData()->setGridShown(false);
    window.mdiArea->activateNextSubWindow();
    QVERIFY(second->characterData()->isGridShown());

    // Closed while another window is active (the close question): the null
    // window the area announces in passing leaves the docks alone.
    window.mdiArea->setActiveSubWindow(firstWindow);
    QWidget question;
    showAndActivate(question);
    QSignalSpy zoomTexts(window.zoomEdit, &QLineEdit::textChanged);
    firstWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.layerList->characterData(), second->characterData());
    QCOMPARE(zoomTexts.size(), 1);
    QCOMPARE(window.zoomEdit->text(), QString("100 %"));

    window.mdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.layerList->characterData(), window.placeholderCharacter);
    QVERIFY(window.layerList->thumbnailPixmaps().empty());
    QCOMPARE(window.layerRender->renderSize(), QSize(128 + QLayerRender::kStripWidth, 48));
    QCOMPARE(window.zoomEdit->text(), QString());
    // The list's actions find no canvas to reach (the sanitizer build checks
    // it): a hide with a selection refreshes the canvas and records a step.
    window.placeholderCharacter->setSelectedElements({0});
    window.layerList->aCacher();
    window.layerList->aColler();
    window.placeholderCharacter->setSelectedElements({});
    QCOMPARE(window.placeholderCharacter->elementCount(), 0);
    QVERIFY(recorder.asked.isEmpty());
  }
};

SK_TEST_MAIN(TestEditCommands)
#include "test_editcommands.moc"
