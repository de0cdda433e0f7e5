#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/ElementThumbnails.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "core/ImageUtils.h"
#include "model/ElementFile.h"
#include "retouch/QViewBox.h"
#include "app/QNewCharacter.h"
#include "widgets/QOptionWidget.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

namespace {

void trigger(MainWindow& window, const QString& text)
{
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text() == text && !action->menu())
      return action->trigger();
  QFAIL(qPrintable("no command " + text));
}

// Bands of the colours, 32 pixels wide, shaded down and across, so that any
// flip, turn or layout change shows.
QImage bands(const QSize& size, const QList<QRgb>& colours)
{
  QImage image(size, QImage::Format_ARGB32);
  for (int x = 0; x < size.width(); ++x)
    for (int y = 0; y < size.height(); ++y)
      image.setPixel(x, y, colours[x * colours.size() / size.width()] - y - x % 32);
  return image;
}
const QList<QRgb> kColours = {0xFFFF00FFu, 0xFF00FFFFu, 0xFF0000FFu, 0xFFFFFFFFu};

QString absolute(const QString& name)
{
  return QDir::current().absoluteFilePath(name);
}

QLayer* open(MainWindow& window, const CharacterData& document)
{
  window.showCanvas(window.newCanvas(document, "hero"), "hero", QSize(), false);
  return window.activeLayer();
}

// An XP character of 128 x 192: `opaque` banded elements, then `blank` ones
// whose sources are "e0", "e1"...
QLayer* openCharacter(MainWindow& window, int opaque, int blank = 0)
{
  CharacterData document;
  for (int i = 0; i < opaque + blank; ++i) {
    QImage sheet = i < opaque ? bands(QSize(128, 192), kColours) : blankImage(QSize(128, 192));
    document.addElementFromImage(sheet, "e" + std::to_string(i));
  }
  return open(window, document);
}

std::string lastStep(QLayer* canvas)
{
  return canvas->history()->label(canvas->history()->count() - 1);
}

// Presses the tile at index, or escapes the question with -1.
std::function<int(QDialog&)> press(int index)
{
  return [index](QDialog& dialog) {
    if (index < 0)
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      QTest::mousePress(dialog.findChildren<QOptionWidget*>().at(index), Qt::LeftButton);
    return dialog.result();
  };
}

// Files of the current folder, or URLs when they hold a scheme.
void drop(MainWindow& window, const QStringList& entries)
{
  QList<QUrl> urls;
  for (const QString& entry : entries)
    urls << (entry.contains(':') ? QUrl(entry) : QUrl::fromLocalFile(absolute(entry)));
  QMimeData mime;
  mime.setUrls(urls);
  // The drop goes to the window that accepted the drag's entry.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
  QCoreApplication::processEvents();
}

} // namespace

class TestCharacterCommands : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    writeAll("sorvelkit.ini", QByteArray());
    QVERIFY(bands(QSize(128, 192), kColours).save("a.png") && bands(QSize(128, 192), kColours).save("b.png"));
    QVERIFY(bands(QSize(96, 128), kColours.mid(0, 3)).save("vx.png"));
    QCOMPARE(saveElementFile("g.elsk", std::vector<QImage>(5, bands(QSize(128, 192), kColours)), 2, XP), 0);
    QVERIFY(CharacterData().saveProjectFile("X.SK", 1));
    writeAll("notes.txt", "hello");
  }

  void flipsGiveTheCharacterBack()
  {
    MainWindow window;
    QLayer* canvas = openCharacter(window, 1);
    const LayerData before = canvas->characterData()->toLayerData();
    trigger(window, "Retournement horizontal");
    QVERIFY(canvas->characterData()->image(0, 0) != before.images[0][0]);
    trigger(window, "Retournement horizontal");
    QVERIFY(canvas->characterData()->images() == before.images);
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
    QTest::newRow("clockwise") << "Rotation de 90° horaire" << "Rotation de 90°" << QList<int>();
    QTest::newRow("anticlockwise") << "Rotation de 90° antihoraire" << "Rotation de -90°" << QList<int>();
    QTest::newRow("two cells of one element") << "Rotation de 90° horaire" << "Rotation de 90°" << QList<int>{1, 5};
  }

  void quarterTurns()
  {
    QFETCH(QString, command);
    QFETCH(QList<int>, cells);
    MainWindow window;
    CharacterData* document = openCharacter(window, 1, 1)->characterData();
    document->setSelectedCells(std::vector<int>(cells.begin(), cells.end()));
    if (!cells.isEmpty())
      document->setSelectedElements({0});
    trigger(window, command);

    QFETCH(QString, step);
    QCOMPARE(QString::fromStdString(lastStep(window.activeLayer())), step);
    for (int c = 0; c < 16; ++c) {
      const bool turned = cells.isEmpty() || cells.contains(c);
      QCOMPARE(document->image(0, c).size(), turned ? QSize(48, 32) : QSize(32, 48));
      // A blank cell has no border to trim: it turns and stays blank.
      QCOMPARE(document->image(1, c).size(), cells.isEmpty() ? QSize(48, 32) : QSize(32, 48));
      QVERIFY(isFullyTransparent(document->image(1, c)));
    }
  }

  void conversionRebuildsTheThumbnailsAndUndoes()
  {
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The thumbnail shows the first visible pose: the third of the first row
    // in XP; the VX sheet keeps none of that row's, and shows the next row's.
    CharacterData xp;
    QImage image = blankImage(QSize(128, 192));
    QPainter(&image).fillRect(64, 0, 32, 48, Qt::red);
    QPainter(&image).fillRect(0, 48, 32, 48, Qt::green);
    xp.addElementFromImage(image, "");
    xp.setSelectedCells({0, 3});
    CharacterData* document = open(window, xp)->characterData();
    const QImage xpThumbnail = window.layerList->thumbnailPixmaps().at(0).toImage();
    trigger(window, "Convertion du character");

    QCOMPARE(document->size(), QSize(96, 192));
    QVERIFY(document->selectedCells().empty());
    QCOMPARE(lastStep(window.activeLayer()), std::string("Conversion"));
    const QImage shown = window.layerList->thumbnailPixmaps().at(0).toImage();
    QVERIFY(shown != xpThumbnail);
    QCOMPARE(shown, makeThumbnails(*document).at(0).toImage());

    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document->size(), QSize(128, 192));
    QCOMPARE(int(document->type()), int(XP));
    QCOMPARE(window.layerList->thumbnailPixmaps().at(0).toImage(), xpThumbnail);
  }

  void reloadListsTheMissingFiles()
  {
    PromptRecorder recorder;
    MainWindow window;
    CharacterData five;
    for (int i = 0; i < 5; ++i) {
      QVERIFY(QFile::copy("a.png", QString("e%1.png").arg(i)));
      QVERIFY(five.addElementFromImageFile(absolute(QString("e%1.png").arg(i)).toStdString()));
    }
    CharacterData* document = open(window, five)->characterData();
    for (int i : {0, 2, 4})
      QVERIFY(QFile::remove(QString("e%1.png").arg(i)) && QFile::copy("vx.png", QString("e%1.png").arg(i)));
    QVERIFY(QFile::remove("e1.png") && QFile::remove("e3.png"));
    trigger(window, "Restauration");

    QCOMPARE(recorder.titles(), QStringList({"Fichiers non ouverts"}));
    QCOMPARE(recorder.asked[0].icon, int(QMessageBox::Warning));
    QCOMPARE(recorder.asked[0].text, QString("Certains éléments n'ont pas pu être ouverts."));
    QCOMPARE(recorder.asked[0].details, "Liste des fichiers qui n'ont pas été ouverts :\n- " + absolute("e1.png")
                                            + "\n- " + absolute("e3.png") + "\n");
    for (int i = 0; i < 5; ++i)
      QCOMPARE(document->image(i, 0).width(), i % 2 ? 32 : 24);
    QCOMPARE(lastStep(window.activeLayer()), std::string("Restauration des éléments"));
  }

  void commandsNeedACharacter()
  {
    PromptRecorder recorder;
    MainWindow window;
    for (const char* command : {"Retournement horizontal", "Retournement vertical", "Rotation de 90° horaire",
                                "Rotation de 90° antihoraire", "Taille des cellules", "Convertion du character",
                                "Restauration", "Redimension", "Rotation", "Teinte / Saturation"})
      trigger(window, command);
    QVERIFY(recorder.asked.isEmpty());
    QVERIFY(!window.findChild<QNewCharacter*>() && !window.findChild<QViewBox*>());
    openCharacter(window, 1);
    trigger(window, "Taille des cellules");
    QNewCharacter* dialog = window.findChild<QNewCharacter*>();
    QVERIFY(dialog && dialog->editMode);
    QCOMPARE(dialog->windowTitle() + dialog->nameEdit->text(), QString("Editer le characterhero"));
  }

  void dropsAskFileByFile_data()
  {
    QTest::addColumn<int>("elements"); // -1: no character open
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("windows");
    QTest::addColumn<int>("added");
    const QString g = "Glisser-Déplacer", type = "Type de l'élément";
    const QString limit = "Impossible de créer plus de 255 éléments !";
    const QStringList two = {"a.png", "b.png"}, error = {g, "Erreur"};
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("image, no character") << -1 << QStringList("a.png") << QList<int>{0} << QStringList(type) << "" << 1 << 0;
    row("add image") << 0 << QStringList("a.png") << QList<int>{0, 0} << QStringList({g, type}) << "" << 1 << 1;
    row("add element file") << 0 << QStringList("g.elsk") << QList<int>{0} << QStringList(g) << "" << 1 << 5;
    row("cancel the first") << 0 << two << QList<int>{3} << QStringList(g) << "" << 1 << 0;
    row("close the first") << 0 << two << QList<int>{-1} << QStringList(g) << "" << 1 << 0;
    row("skip, then open") << 0 << two << QList<int>{2, 1, 0} << QStringList({g, g, type}) << "" << 2 << 0;
    row("project in capitals") << -1 << QStringList("X.SK") << QList<int>() << QStringList() << "" << 1 << 0;
    row("text file") << -1 << QStringList("notes.txt") << QList<int>() << QStringList("Erreur")
                     << "Erreur : <reader>" << 0 << 0;
    row("encoded path, web address") << -1 << QStringList({"file:///tmp/dir%20%C3%A9/a.png", "https://a.org/b.png"})
                                     << QList<int>() << QStringList("Erreur")
                                     << "Impossible d'ouvrir : /tmp/dir é/a.png" << 0 << 0;
    row("image on 255") << 255 << QStringList("a.png") << QList<int>{0} << error << limit << 1 << 0;
    row("element file on 255") << 255 << QStringList("g.elsk") << QList<int>{0} << error << limit << 1 << 0;
    row("element file past 255") << 251 << QStringList("g.elsk") << QList<int>{0}
                                 << QStringList({g, "Avertissement"}) << limit << 1 << 0;
    row("element file up to 255") << 250 << QStringList("g.elsk") << QList<int>{0} << QStringList(g) << "" << 1 << 5;
  }

  void dropsAskFileByFile()
  {
    QFETCH(int, elements);
    QFETCH(QStringList, dropped);
    QFETCH(QList<int>, answers);
    PromptRecorder recorder;
    for (int answer : answers)
      recorder.dialogs.push_back(press(answer));
    MainWindow window;
    QLayer* canvas = elements < 0 ? nullptr : openCharacter(window, 0, elements);
    drop(window, dropped);

    QFETCH(QStringList, asked);
    QCOMPARE(recorder.titles(), asked);
    QFETCH(QString, message);
    CharacterData reader;
    reader.loadProjectFile(absolute("notes.txt").toStdString());
    if (!message.isEmpty())
      QCOMPARE(recorder.asked.last().text, message.replace("<reader>", QString::fromStdString(reader.errorMessage())));
    QFETCH(int, windows);
    QCOMPARE(int(window.mdiArea->subWindowList().size()), windows);
    QFETCH(int, added);
    if (canvas)
      QCOMPARE(canvas->characterData()->elementCount(), elements + added);
    if (added)
      QCOMPARE(QString::fromStdString(lastStep(canvas)), "Ajout de " + absolute(dropped[0]));
  }

  void elementFilesGoAroundTheSelection_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QString>("order");
    QTest::addColumn<std::vector<int>>("selectedAfter");
    QTest::newRow("one selected") << 5 << std::vector<int>{2} << "e0 e1 f0 f1 e2 f2 f3 f4 e3 e4" << std::vector<int>{4};
  }

  void elementFilesGoAroundTheSelection()
  {
    QFETCH(int, elements);
    QFETCH(std::vector<int>, selected);
    PromptRecorder recorder;
    recorder.dialogs.push_back(press(0));
    MainWindow window;
    CharacterData* document = openCharacter(window, 0, elements)->characterData();
    document->setSelectedElements(selected);
    drop(window, {"g.elsk"});

    QStringList sources; // "f<n>" for the file's element n
    for (const std::string& source : document->sources()) {
      const QString s = QString::fromStdString(source);
      sources << (s.contains('?') ? "f" + s.section('?', -1).section('_', 0, 0) : s);
    }
    QFETCH(QString, order);
    QCOMPARE(sources.join(' '), order);
    QFETCH(std::vector<int>, selectedAfter);
    QCOMPARE(document->selectedElements(), selectedAfter);
  }

  void imagesTakeTheCharacterLayout_data()
  {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("columns");
    QTest::newRow("XP image") << "a.png" << int(XP) << QList<int>{0, 1, 2, 3};
    QTest::newRow("VX image, converted") << "vx.png" << int(VX) << QList<int>{1, 0, 1, 2};
  }

  void imagesTakeTheCharacterLayout()
  {
    QFETCH(QString, file);
    QFETCH(int, type);
    PromptRecorder recorder;
    recorder.dialogs = {press(0), press(type)};
    MainWindow window;
    CharacterData* document = openCharacter(window, 0)->characterData();
    drop(window, {file});
    QCOMPARE(int(document->type()), int(XP));
    QFETCH(QList<int>, columns);
    for (int c = 0; c < 4; ++c)
      QCOMPARE(document->image(0, c).pixel(0, 0), kColours[columns[c]]);
  }
};

SK_TEST_MAIN(TestCharacterCommands)
#include "test_charactercommands.moc"
