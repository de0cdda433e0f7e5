#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/ElementThumbnails.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "core/ImageUtils.h"
#include "widgets/QNewCharacter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>

namespace {

void trigger(MainWindow& window, const QString& text)
{
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text() == text && !action->menu())
      return action->trigger();
  QFAIL(qPrintable("no command " + text));
}

// Each pixel's colour tells where it lies, so any flip or turn shows.
QImage pattern(const QSize& size)
{
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, qRgba(x, y, 7, 255));
  return image;
}

std::string lastStep(QLayer* canvas)
{
  return canvas->history()->label(canvas->history()->count() - 1);
}

QLayer* open(MainWindow& window, const CharacterData& document)
{
  window.showCanvas(window.newCanvas(document, "hero"), "hero", QSize(), false);
  return window.activeLayer();
}

// An XP character of 128 x 192 holding an opaque element and a blank one.
QLayer* openCharacter(MainWindow& window)
{
  CharacterData document;
  QImage opaque = pattern(QSize(128, 192));
  QImage blank = blankImage(QSize(128, 192));
  document.addElementFromImage(opaque, "");
  document.addElementFromImage(blank, "");
  return open(window, document);
}

} // namespace

class TestCharacterCommands : public QObject
{
  Q_OBJECT

private slots:
  void flipsGiveTheCharacterBack()
  {
    MainWindow window;
    QLayer* canvas = openCharacter(window);
    const LayerData before = canvas->characterData()->toLayerData();
    trigger(window, "Retournement horizontal");
    QVERIFY(canvas->characterData()->image(0, 0) != before.images[0][0]);
    trigger(window, "Retournement horizontal");
    QVERIFY(canvas->characterData()->images() == before.images);
    QCOMPARE(canvas->history()->count(), 3);
    QCOMPARE(canvas->history()->label(1), std::string("Retournement horizontal"));
    QCOMPARE(lastStep(canvas), std::string("Retournement horizontal"));
    trigger(window, "Retournement vertical");
    QCOMPARE(lastStep(canvas), std::string("Retournement vertical"));
    QCOMPARE(canvas->characterData()->image(0, 5).pixel(0, 0), before.images[0][5].pixel(0, 47));
  }

  void quarterTurns_data()
  {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<bool>("oneElement");
    QTest::newRow("clockwise, everything") << "Rotation de 90° horaire" << "Rotation de 90°" << QList<int>() << false;
    QTest::newRow("anticlockwise, everything")
        << "Rotation de 90° antihoraire" << "Rotation de -90°" << QList<int>() << false;
    QTest::newRow("two cells of one element")
        << "Rotation de 90° horaire" << "Rotation de 90°" << QList<int>({1, 5}) << true;
  }

  void quarterTurns()
  {
    QFETCH(QString, command);
    QFETCH(QList<int>, cells);
    QFETCH(bool, oneElement);
    MainWindow window;
    QLayer* canvas = openCharacter(window);
    CharacterData* document = canvas->characterData();
    document->setSelectedCells(std::vector<int>(cells.begin(), cells.end()));
    if (oneElement)
      document->setSelectedElements({0});
    const LayerData before = document->toLayerData();
    trigger(window, command);

    QFETCH(QString, step);
    QCOMPARE(QString::fromStdString(lastStep(canvas)), step);
    for (int c = 0; c < 16; ++c) {
      const bool turned = cells.isEmpty() || cells.contains(c);
      QCOMPARE(document->image(0, c).size(), turned ? QSize(48, 32) : QSize(32, 48));
      // A blank cell has no border to trim: it turns and stays blank.
      QCOMPARE(document->image(1, c).size(), turned && !oneElement ? QSize(48, 32) : QSize(32, 48));
      QVERIFY(isFullyTransparent(document->image(1, c)));
    }
  }

  void conversionRebuildsTheThumbnailsAndUndoes()
  {
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    CharacterData xp;
    // The thumbnail shows the first visible pose: the third of the first row
    // in XP; the VX sheet keeps none of that row's, and shows the next row's.
    QImage image = blankImage(QSize(128, 192));
    QPainter(&image).fillRect(64, 0, 32, 48, Qt::red);
    QPainter(&image).fillRect(0, 48, 32, 48, Qt::green);
    xp.addElementFromImage(image, "");
    xp.setSelectedCells({0, 3});
    QLayer* canvas = open(window, xp);
    CharacterData* document = canvas->characterData();
    const QImage xpThumbnail = window.layerList->thumbnailPixmaps().at(0).toImage();
    trigger(window, "Convertion du character");

    QCOMPARE(document->size(), QSize(96, 192));
    QCOMPARE(int(document->type()), int(VX));
    QVERIFY(document->selectedCells().empty());
    QCOMPARE(lastStep(canvas), std::string("Conversion"));
    const QImage shown = window.layerList->thumbnailPixmaps().at(0).toImage();
    QVERIFY(shown != xpThumbnail);
    QCOMPARE(shown, makeThumbnails(*document).at(0).toImage());

    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    document = window.activeLayer()->characterData();
    QCOMPARE(document->size(), QSize(128, 192));
    QCOMPARE(int(document->type()), int(XP));
    QCOMPARE(window.layerList->thumbnailPixmaps().at(0).toImage(), xpThumbnail);
  }

  void reloadListsTheMissingFiles()
  {
    PromptRecorder recorder;
    MainWindow window;
    window.addCharacter("hero", 128, 192, XP);
    QLayer* canvas = window.activeLayer();
    CharacterData* document = canvas->characterData();
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
      paths << QDir::current().absoluteFilePath(QString("e%1.png").arg(i));
      QVERIFY(pattern(QSize(128, 192)).save(paths[i]));
      QVERIFY(document->addElementFromImageFile(paths[i].toStdString()));
    }
    QImage red(128, 192, QImage::Format_ARGB32);
    red.fill(0xFFFF0000u);
    for (int i : {0, 2, 4})
      QVERIFY(red.save(paths[i]));
    QVERIFY(QFile::remove(paths[1]) && QFile::remove(paths[3]));
    trigger(window, "Restauration");

    QCOMPARE(recorder.titles(), QStringList({"Fichiers non ouverts"}));
    QCOMPARE(recorder.asked[0].icon, int(QMessageBox::Warning));
    QCOMPARE(recorder.asked[0].text, QString("Certains éléments n'ont pas pu être ouverts."));
    QCOMPARE(recorder.asked[0].details,
             "Liste des fichiers qui n'ont pas été ouverts :\n- " + paths[1] + "\n- " + paths[3] + "\n");
    for (int i = 0; i < 5; ++i)
      QCOMPARE(document->image(i, 0).pixel(0, 0) == 0xFFFF0000u, i % 2 == 0);
    QCOMPARE(lastStep(canvas), std::string("Restauration des éléments"));
  }

  void commandsNeedACharacter()
  {
    PromptRecorder recorder;
    MainWindow window;
    const QStringList commands = {"Retournement horizontal", "Retournement vertical", "Rotation de 90° horaire",
                                  "Rotation de 90° antihoraire", "Taille des cellules", "Convertion du character",
                                  "Restauration"};
    for (const QString& command : commands)
      trigger(window, command);
    QVERIFY(recorder.asked.isEmpty());
    QVERIFY(!window.findChild<QNewCharacter*>());

    openCharacter(window);
    trigger(window, "Taille des cellules");
    QNewCharacter* dialog = window.findChild<QNewCharacter*>();
    QVERIFY(dialog && dialog->editMode);
    QCOMPARE(dialog->windowTitle(), QString("Editer le character"));
    QCOMPARE(dialog->nameEdit->text(), QString("hero"));
  }
};

SK_TEST_MAIN(TestCharacterCommands)
#include "test_charactercommands.moc"
