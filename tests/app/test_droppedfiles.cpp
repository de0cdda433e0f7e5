#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "model/ElementFile.h"
#include "widgets/QOptionWidget.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>

namespace {

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

QString absolute(const QString& name)
{
  return QDir::current().absoluteFilePath(name);
}

// Names of the current folder, or URLs when they hold a scheme.
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

// Sheets whose columns have the listed colours, so a layout change shows.
QImage columns(const QSize& size, const QList<QRgb>& colours)
{
  QImage image(size, QImage::Format_ARGB32);
  const int width = size.width() / int(colours.size());
  for (int x = 0; x < size.width(); ++x)
    for (int y = 0; y < size.height(); ++y)
      image.setPixel(x, y, colours[x / width]);
  return image;
}

const QList<QRgb> kColours = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};

// Element sources shown as "e<n>" for the character's own, "f<n>" for those
// of the element file.
QString sourcesOf(const CharacterData& document)
{
  QStringList out;
  for (const std::string& source : document.sources()) {
    const QString s = QString::fromStdString(source);
    out << (s.contains('?') ? "f" + s.section('?', -1).section('_', 0, 0) : s);
  }
  return out.join(' ');
}

QLayer* openCharacter(MainWindow& window, int elements)
{
  window.addCharacter("hero", 128, 192, XP);
  CharacterData* document = window.activeLayer()->characterData();
  for (int i = 0; i < elements; ++i) {
    QImage none;
    document->addElementFromImage(none, "");
    document->setSource("e" + std::to_string(i), i);
  }
  return window.activeLayer();
}

QStringList stepsOf(QLayer* canvas)
{
  QStringList out;
  for (int i = 1; canvas && i < canvas->history()->count(); ++i)
    out << QString::fromStdString(canvas->history()->label(i));
  return out;
}

} // namespace

class TestDroppedFiles : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    writeAll("sorvelkit.ini", QByteArray());
    QVERIFY(columns(QSize(128, 192), kColours).save("a.png"));
    QVERIFY(columns(QSize(96, 128), kColours.mid(0, 3)).save("vx.png"));
    QVERIFY(columns(QSize(128, 192), kColours).save("b.png"));
    const std::vector<QImage> sheets(5, columns(QSize(128, 192), kColours));
    QCOMPARE(saveElementFile("g.elsk", sheets, 2, XP), 0);
    CharacterData project;
    QVERIFY(project.saveProjectFile("X.SK", 1));
    writeAll("notes.txt", "hello");
  }

  void onlyFileListsAreAccepted()
  {
    MainWindow window;
    QMimeData text;
    text.setText("a.png");
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &refused);
    QVERIFY(!refused.isAccepted());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(absolute("a.png"))});
    QDragEnterEvent accepted(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &accepted);
    QVERIFY(accepted.isAccepted());
    QDragLeaveEvent leave;
    QApplication::sendEvent(&window, &leave);
  }

  void dropsAskFileByFile_data()
  {
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QStringList>("steps");
    const QString g = "Glisser-Déplacer", type = "Type de l'élément";
    const QStringList none, two = {"a.png", "b.png"};
    QTest::newRow("image, no character") << false << QStringList("a.png") << QList<int>{0} << QStringList(type)
                                         << "" << 1 << none;
    QTest::newRow("add image") << true << QStringList("a.png") << QList<int>{0, 0} << QStringList({g, type}) << ""
                               << 1 << QStringList("Ajout de " + absolute("a.png"));
    QTest::newRow("add element file") << true << QStringList("g.elsk") << QList<int>{0} << QStringList(g) << "" << 1
                                      << QStringList("Ajout de " + absolute("g.elsk"));
    QTest::newRow("cancel the first") << true << two << QList<int>{3} << QStringList(g) << "" << 1 << none;
    QTest::newRow("close the first") << true << two << QList<int>{-1} << QStringList(g) << "" << 1 << none;
    QTest::newRow("skip the first, open the second")
        << true << two << QList<int>{2, 1, 0} << QStringList({g, g, type}) << "" << 2 << none;
    QTest::newRow("project in capitals") << false << QStringList("X.SK") << QList<int>() << none << "" << 1 << none;
    QTest::newRow("text file") << false << QStringList("notes.txt") << QList<int>() << QStringList("Erreur")
                               << "Erreur : <reader>" << 0 << none;
    QTest::newRow("encoded path, web address")
        << false << QStringList({"file:///tmp/dir%20%C3%A9/a.png", "https://example.org/b.png"}) << QList<int>()
        << QStringList("Erreur") << "Impossible d'ouvrir : /tmp/dir é/a.png" << 0 << none;
  }

  void dropsAskFileByFile()
  {
    QFETCH(bool, open);
    QFETCH(QStringList, dropped);
    QFETCH(QList<int>, answers);
    PromptRecorder recorder;
    for (int answer : answers)
      recorder.dialogs.push_back(press(answer));
    MainWindow window;
    QLayer* canvas = open ? openCharacter(window, 0) : nullptr;
    drop(window, dropped);

    QFETCH(QStringList, asked);
    QCOMPARE(recorder.titles(), asked);
    QFETCH(QString, message);
    CharacterData reader;
    reader.loadProjectFile(absolute("notes.txt").toStdString());
    message.replace("<reader>", QString::fromStdString(reader.errorMessage()));
    if (!message.isEmpty())
      QCOMPARE(recorder.asked.last().text, message);
    QFETCH(int, windows);
    QCOMPARE(int(window.mdiArea->subWindowList().size()), windows);
    QFETCH(QStringList, steps);
    QCOMPARE(stepsOf(canvas), steps);
  }

  void elementFilesGoAroundTheSelection_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QString>("order");
    QTest::addColumn<std::vector<int>>("selectedAfter");
    QTest::newRow("one selected") << 5 << std::vector<int>{2} << "e0 e1 f0 f1 e2 f2 f3 f4 e3 e4"
                                  << std::vector<int>{4};
    QTest::newRow("topmost of two") << 5 << std::vector<int>{4, 1} << "e0 e1 e2 e3 f0 f1 e4 f2 f3 f4"
                                    << std::vector<int>{6, 1};
    QTest::newRow("none selected") << 5 << std::vector<int>() << "e0 e1 e2 e3 f0 f1 e4 f2 f3 f4"
                                   << std::vector<int>();
    QTest::newRow("empty character") << 0 << std::vector<int>() << "f0 f1 f2 f3 f4" << std::vector<int>();
  }

  void elementFilesGoAroundTheSelection()
  {
    QFETCH(int, elements);
    QFETCH(std::vector<int>, selected);
    PromptRecorder recorder;
    recorder.dialogs.push_back(press(0));
    MainWindow window;
    CharacterData* document = openCharacter(window, elements)->characterData();
    document->setSelectedElements(selected);
    drop(window, {"g.elsk"});

    QFETCH(QString, order);
    QCOMPARE(sourcesOf(*document), order);
    QFETCH(std::vector<int>, selectedAfter);
    QCOMPARE(document->selectedElements(), selectedAfter);
  }

  void limitsAndLayouts_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("added");
    const QString g = "Glisser-Déplacer", type = "Type de l'élément";
    const int critical = QMessageBox::Critical, warning = QMessageBox::Warning;
    QTest::newRow("image on 255") << 255 << "a.png" << 0 << QStringList({g, "Erreur"}) << critical << 0;
    QTest::newRow("element file on 255") << 255 << "g.elsk" << 0 << QStringList({g, "Erreur"}) << critical << 0;
    QTest::newRow("element file past 255")
        << 251 << "g.elsk" << 0 << QStringList({g, "Avertissement"}) << warning << 0;
    QTest::newRow("element file up to 255") << 250 << "g.elsk" << 0 << QStringList(g) << 0 << 5;
    QTest::newRow("XP image") << 0 << "a.png" << 0 << QStringList({g, type}) << 0 << 1;
    QTest::newRow("VX image") << 0 << "vx.png" << 1 << QStringList({g, type}) << 0 << 1;
  }

  void limitsAndLayouts()
  {
    QFETCH(int, elements);
    QFETCH(QString, file);
    QFETCH(int, type);
    PromptRecorder recorder;
    recorder.dialogs = {press(0), press(type)};
    MainWindow window;
    CharacterData* document = openCharacter(window, elements)->characterData();
    drop(window, {file});

    QFETCH(QStringList, asked);
    QCOMPARE(recorder.titles(), asked);
    QFETCH(int, icon);
    if (icon) {
      QCOMPARE(recorder.asked.last().icon, icon);
      QCOMPARE(recorder.asked.last().text, QString("Impossible de créer plus de 255 éléments !"));
    }
    QFETCH(int, added);
    QCOMPARE(document->elementCount(), elements + added);
    QCOMPARE(int(document->type()), int(XP));
    if (asked.contains("Type de l'élément")) {
      // A VX sheet is turned into XP columns 1, 0, 1, 2 of each row.
      const QList<int> expected = type == XP ? QList<int>{0, 1, 2, 3} : QList<int>{1, 0, 1, 2};
      for (int c = 0; c < 4; ++c)
        QCOMPARE(document->image(0, c).pixel(4, 4), kColours[expected[c]]);
    }
  }
};

SK_TEST_MAIN(TestDroppedFiles)
#include "test_droppedfiles.moc"
