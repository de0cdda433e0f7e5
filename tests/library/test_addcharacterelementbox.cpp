// "Ajouter des éléments": browsing the library and adding to the character
// that the MDI area holds current.
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "core/BlendImage.h"
#include "library/QAddCharacterElementBox.h"
#include "model/ElementFile.h"
#include "widgets/QListViewKey.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QDataStream>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>

namespace {

QImage sheet(const QSize& size, QRgb colour)
{
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, colour - (x * 7 + y * 3) % 64);
  return image;
}

QLayer* open(MainWindow& window, int type, int elements)
{
  CharacterData document(type, type == VX ? QSize(96, 128) : QSize(128, 192));
  for (int i = 0; i < elements; ++i)
    document.addElementFromImageFile(std::string());
  window.showCanvas(window.newCanvas(document, "hero"), "hero", QSize(), false);
  return window.activeLayer();
}

QAddCharacterElementBox* newBox(MainWindow& window)
{
  auto* box = new QAddCharacterElementBox(window.mdiArea, window.layerList, &window);
  box->show();
  return box;
}

template <class W>
W* child(QWidget* box, const QString& textStart)
{
  for (W* w : box->findChildren<W*>())
    if (w->text().startsWith(textStart))
      return w;
  return nullptr;
}
QCheckBox* convertBox(QWidget* box) { return child<QCheckBox>(box, "Convertir"); }
QString folderLine(QWidget* box) { return child<QLabel>(box, "Dossier actuel")->text(); }

// Makes the named entry current and clicks it, as the user would.
void pick(QWidget* box, const QString& name)
{
  QListViewKey* list = box->findChild<QListViewKey*>();
  const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1,
                                                     Qt::MatchExactly);
  QVERIFY2(!found.isEmpty(), qPrintable(name));
  list->setCurrentIndex(found[0]);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found[0]).center());
}
// Return on the entry: enters a folder or adds a file, once.
void enter(QWidget* box, const QString& name)
{
  pick(box, name);
  QTest::keyClick(box->findChild<QListViewKey*>(), Qt::Key_Return);
}
void press(QWidget* box, const QString& text) { child<QPushButton>(box, text)->click(); }

std::string lastStep(QLayer* canvas) { return canvas->history()->label(canvas->history()->count() - 1); }

} // namespace

class TestAddCharacterElementBox : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase()
  {
    QVERIFY(QDir().mkpath("elements/XP/empty") && QDir().mkpath("elements/VX"));
    QVERIFY(sheet(QSize(128, 192), 0xFF3060A0).save("elements/XP/hero.png"));
    QVERIFY(sheet(QSize(96, 128), 0xFFA06030).save("elements/VX/vx.png"));
    QFile bad("elements/XP/bad.png");
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("broken") == 6);
    bad.close();
    const std::vector<QImage> three = {sheet({128, 192}, 0xFF0000FF), sheet({128, 192}, 0xFF00FF00),
                                       sheet({128, 192}, 0xFFFF0000)};
    QCOMPARE(saveElementFile("elements/XP/two.elsk", {three[0], three[1]}, 1, XP), 0);
    QCOMPARE(saveElementFile("elements/XP/three.elsk", three, 2, XP), 0);
    // 204 bytes declaring 16384 x 16384 empty cells: seconds and a gigabyte to picture.
    QByteArray huge(1, '\0');
    QDataStream out(&huge, QIODevice::Append);
    out << QSize(16384, 16384) << qint8(1) << qint8(0) << qint8(XP);
    for (int cell = 0; cell < 16; ++cell)
      out << QPoint() << qint32(0);
    writeAll("elements/XP/huge.elsk", huge);
  }

  void browsingSetsTheConversionAndPreview()
  {
    MainWindow window;
    open(window, VX, 1);
    QWidget* box = newBox(window);
    QCOMPARE(folderLine(box), QString("Dossier actuel : VX/"));
    QCOMPARE(convertBox(box)->text(), QString("Convertir l'élément de XP vers VX."));
    QVERIFY(!convertBox(box)->isChecked());
    press(box, "Précédent");
    QVERIFY(!child<QPushButton>(box, "Précédent")->isEnabled());
    QLabel* preview = qobject_cast<QLabel*>(box->findChild<QScrollArea*>()->widget());
    pick(box, "XP"); // pictured by hero.png: bad.png, first in name order, does not read
    QTRY_COMPARE(preview->pixmap().toImage().pixel(0, 0), QImage("elements/XP/hero.png").pixel(0, 0));
    enter(box, "XP");
    QVERIFY(convertBox(box)->isChecked());
    pick(box, "bad.png");
    QTRY_COMPARE(preview->pixmap().size(), QSize(160, 224)); // no picture: the folder's goes too
    QVERIFY(child<QPushButton>(box, "Valider")->isEnabled());
    // The huge sheet is pictured off the box's thread, and the next entry's
    // picture comes all the same.
    const qint64 shown = preview->pixmap().cacheKey();
    pick(box, "huge.elsk");
    QCOMPARE(preview->pixmap().cacheKey(), shown);
    pick(box, "hero.png");
    QTRY_COMPARE(preview->pixmap().size(), QSize(128, 192));
    pick(box, "empty");
    QTRY_COMPARE(preview->pixmap().size(), QSize(160, 224));
    QCOMPARE(preview->pixmap().toImage().pixel(150, 200), 0xFFFFFFFFu);
    press(box, "Précédent");
    enter(box, "VX");
    QVERIFY(!convertBox(box)->isChecked());
  }

  void addingFollowsTheLimitAndReportsFailures_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<QString>("entry"); // empty: the drawing-element button
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("step");
    const QString limit = QString::fromUtf8(CharacterData::kTooManyElements);
    QTest::newRow("file at 255") << 255 << "hero.png" << limit << "";
    QTest::newRow("drawing at 255") << 255 << "" << limit << "";
    QTest::newRow("element file at 254") << 254 << "two.elsk" << limit << "";
    QTest::newRow("file at 254") << 254 << "hero.png" << "" << "Ajout de hero.png";
    QTest::newRow("unreadable") << 1 << "bad.png" << "Impossible d'ouvrir : elements/XP/bad.png" << "";
    QTest::newRow("drawing") << 3 << "" << "" << "Ajout d'un calque de dessin";
  }
  void addingFollowsTheLimitAndReportsFailures()
  {
    QFETCH(int, elements);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(QString, step);
    PromptRecorder recorder;
    MainWindow window;
    QLayer* canvas = open(window, XP, elements);
    QWidget* box = newBox(window);
    if (entry.isEmpty())
      press(box, "Ajouter un calque");
    else
      enter(box, entry);
    const bool added = message.isEmpty();
    QCOMPARE(recorder.asked.size(), added ? 0 : 1);
    if (!added)
      QVERIFY(recorder.asked[0].title == "Erreur" && recorder.asked[0].text == message &&
              recorder.asked[0].icon == QMessageBox::Critical);
    QCOMPARE(canvas->characterData()->elementCount(), elements + (added ? 1 : 0));
    QCOMPARE(canvas->history()->count(), added ? 2 : 1);
    QCOMPARE(box->isVisible(), !added);
    if (added)
      QCOMPARE(lastStep(canvas), step.toStdString());
    if (added && entry.isEmpty()) {
      const CharacterData& document = *canvas->characterData();
      QCOMPARE(document.names().back(), std::string("Elément 4"));
      QCOMPARE(document.images().back().size(), size_t(16));
      for (const QImage& cell : document.images().back())
        QVERIFY(cell.size() == QSize(32, 48) && cell == blankImage(QSize(32, 48)));
    }
  }

  void elementFileWithNoElementAddsNothing()
  {
    QByteArray none(1, '\0');
    QDataStream out(&none, QIODevice::Append);
    out << QSize(128, 192) << qint8(0) << qint8(0) << qint8(XP);
    writeAll("elements/XP/none.elsk", none);
    PromptRecorder recorder;
    MainWindow window;
    QLayer* canvas = open(window, XP, 2);
    enter(newBox(window), "none.elsk");
    QVERIFY(recorder.asked.isEmpty());
    QCOMPARE(canvas->characterData()->elementCount(), 2);
    QCOMPARE(canvas->history()->count(), 1);
    QVERIFY(!canvas->isModified());
  }

  void conversionCutsTheSheetInItsOwnLayout()
  {
    MainWindow window;
    QLayer* canvas = open(window, XP, 1);
    CharacterData expected = *canvas->characterData();
    QWidget* box = newBox(window);
    child<QCheckBox>(box, "Fermer")->setChecked(false);
    press(box, "Précédent");
    enter(box, "VX");
    QVERIFY(convertBox(box)->isChecked());
    enter(box, "vx.png");
    convertBox(box)->setChecked(false);
    enter(box, "vx.png");

    CharacterData vx(VX, QSize(96, 128));
    QVERIFY(vx.addElementFromImageFile("elements/VX/vx.png"));
    expected.appendElements(vx, true);
    QVERIFY(expected.addElementFromImageFile("elements/VX/vx.png"));
    const CharacterData& document = *canvas->characterData();
    QCOMPARE(document.elementCount(), 3);
    QVERIFY(document.images()[1] == expected.images()[1] && document.offsets()[1] == expected.offsets()[1]);
    QVERIFY(document.images()[2] == expected.images()[2] && document.offsets()[2] == expected.offsets()[2]);
    QVERIFY(document.images()[1] != document.images()[2]);
    QCOMPARE(canvas->history()->count(), 3);
    QCOMPARE(lastStep(canvas), std::string("Ajout de vx.png"));
  }

  void elementFileKeepsTheSelectedElements()
  {
    MainWindow window;
    QLayer* canvas = open(window, XP, 5);
    canvas->characterData()->setSelectedElements({1, 4});
    enter(newBox(window), "three.elsk");
    const CharacterData& document = *canvas->characterData();
    QCOMPARE(document.selectedElements(), std::vector<int>({1, 6}));
    QStringList fromFile;
    for (int i = 0; i < document.elementCount(); ++i)
      fromFile << (document.sources()[i].find('?') != std::string::npos ? "f" : "-");
    QCOMPARE(fromFile.join(""), QString("----ff-f"));
  }

  void withoutACharacter()
  {
    PromptRecorder recorder;
    MainWindow window;
    QWidget* box = newBox(window);
    QCOMPARE(folderLine(box), QString("Dossier actuel : XP/"));
    QCOMPARE(convertBox(box)->text(), QString("Convertir l'élément de VX vers XP."));
    enter(box, "hero.png");
    enter(box, "bad.png");
    press(box, "Ajouter un calque");
    QCOMPARE(recorder.titles(), QStringList({"Information", "Information", "Information"}));
    QCOMPARE(recorder.asked[0].text, QString("Vous devez d'abord créer un nouveau character ou un ouvrir un existant."));
    QCOMPARE(recorder.asked[2].text, QString("Vous devez d'abord créer un nouveau character ou en ouvrir un existant."));
    press(box, "Précédent");
    enter(box, "VX");
    QCOMPARE(folderLine(box), QString("Dossier actuel : VX/"));
    QVERIFY(!convertBox(box)->isChecked());
  }

  void followsTheMdiArea()
  {
    PromptRecorder recorder;
    MainWindow window;
    const QString command = "Ajout d'un élément ou d'un calque de dessin";
    QAction* add = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
      add = action->text() == command ? action : add;
    window.show();
    add->trigger();
    QVERIFY(window.findChildren<QAddCharacterElementBox*>().isEmpty());
    QLayer* first = open(window, XP, 1);
    QLayer* second = open(window, VX, 1);
    add->trigger();
    QAddCharacterElementBox* box = window.findChild<QAddCharacterElementBox*>();
    QCOMPARE(box->targetLayer(), second);
    window.mdiArea->setActiveSubWindow(window.mdiArea->subWindowList()[0]);
    QCOMPARE(box->targetLayer(), first);
    first->setAskOnClose(false);
    second->setAskOnClose(false);
    window.mdiArea->subWindowList()[0]->close();
    QCOMPARE(box->targetLayer(), second);
    window.mdiArea->subWindowList()[0]->close();
    press(box, "Ajouter un calque");
    QCOMPARE(recorder.titles(), QStringList({"Information"}));
  }

  void buildsACharacterFromTheStarterLibrary()
  {
    QVERIFY(QDir().mkpath("starter/elements"));
    QVERIFY(QDir::setCurrent("starter"));
    for (const char* layout : {"XP", "VX"})
      QProcess::execute("cp", {"-r", QString(SK_SOURCE_DIR "/elements/") + layout, "elements/"});
    MainWindow window;
    QLayer* canvas = open(window, XP, 0);
    QWidget* box = newBox(window);
    child<QCheckBox>(box, "Fermer")->setChecked(false);
    QImage expected = blankImage(QSize(128, 192));
    QString garment;
    for (const QString& category : {QString("Corps"), QString("Vêtements"), QString("Cheveux")}) {
      const QString name = QDir("elements/XP/" + category).entryList({"*.png"}, QDir::Files, QDir::Name).value(0);
      garment = category == "Vêtements" ? name : garment;
      const QImage part = QImage("elements/XP/" + category + "/" + name).convertToFormat(QImage::Format_ARGB32);
      blendImage(expected, 0, 0, part, 0, 0, 128, 192);
      enter(box, category);
      enter(box, name);
      press(box, "Précédent");
    }
    QVERIFY(QDir::setCurrent(".."));
    CharacterData& document = *canvas->characterData();
    QCOMPARE(document.elementCount(), 3);
    QCOMPARE(canvas->history()->count(), 4);
    QCOMPARE(QString::fromStdString(document.sources()[1]), "elements/XP/Vêtements/" + garment);
    QVERIFY(document.flattenImage() == expected);
  }
};

SK_TEST_MAIN(TestAddCharacterElementBox)
#include "test_addcharacterelementbox.moc"
