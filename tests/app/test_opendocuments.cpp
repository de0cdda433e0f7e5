#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "core/IniSettings.h"
#include "model/ElementFile.h"
#include "widgets/QComboWidget.h"
#include "app/QNewCharacter.h"
#include "widgets/QOptionWidget.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>

namespace {

QImage sheet(const QSize& size, uint32_t colour)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A one-element XP project of 128 x 192, in the given file version.
void writeProject(const QString& path, unsigned char version)
{
  CharacterData document;
  QImage image = sheet(QSize(128, 192), 0xFF336699u);
  QVERIFY(document.addElementFromImage(image, ""));
  QVERIFY(document.saveProjectFile(path.toStdString(), version));
}

QString storedRecentFiles()
{
  QString stored;
  IniSettings().getValue("recentFiles", stored);
  return stored;
}

QStringList menuTexts(QMenu* menu)
{
  QStringList out;
  for (QAction* a : menu->actions())
    out << a->text();
  return out;
}

QStringList titles(const MainWindow& window)
{
  QStringList out;
  for (QMdiSubWindow* w : window.mdiArea->subWindowList())
    out << w->windowTitle();
  return out;
}

template <class T>
T* topLevel()
{
  for (QWidget* w : QApplication::topLevelWidgets())
    if (T* found = qobject_cast<T*>(w); found && found->isVisible())
      return found;
  return nullptr;
}

void showAndActivate(QWidget& window)
{
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestOpenDocuments : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void newCharactersAreNumberedUntitledSheets()
  {
    PromptRecorder recorder;
    MainWindow window;
    showAndActivate(window);
    QCOMPARE(menuTexts(window.recentFilesMenu), QStringList({"Aucun"}));
    QVERIFY(!window.recentFilesMenu->actions()[0]->isEnabled());
    const int n = QNewCharacter::untitledCount + 1;

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QNewCharacter* dialog = topLevel<QNewCharacter>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Nouveau character (RPG Maker XP)"));
    dialog->widthBox->setValue(130);
    dialog->validButton->click();

    QCOMPARE(titles(window), QStringList({QString("Sans titre %1*").arg(n)}));
    QLayer* canvas = window.activeLayer();
    QCOMPARE(canvas->characterData()->size(), QSize(128, 192));
    QCOMPARE(canvas->history()->count(), 1);
    QCOMPARE(canvas->history()->label(0), std::string("Etat d'origine"));
    QCOMPARE(window.mdiArea->subWindowList()[0]->minimumSize(), QSize(0, 0));
    QCOMPARE(window.zoomEdit->text(), QString("100 %"));
    QCOMPARE(storedRecentFiles(), QString());

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    dialog = topLevel<QNewCharacter>();
    QCOMPARE(dialog->nameEdit->text(), QString("Sans titre %1").arg(n + 1));
    delete dialog;
    QVERIFY(recorder.asked.isEmpty());
  }

  void openingAProjectRemembersIt()
  {
    writeProject("hero.sk", 0);
    const QString path = QDir::current().absoluteFilePath("hero.sk");
    MainWindow window;
    window.openSKDocument(path, true);
    window.openSKDocument(path, true);
    QCOMPARE(titles(window), QStringList({"hero", "hero"}));
    QLayer* canvas = window.activeLayer();
    QVERIFY(!canvas->isModified());
    QCOMPARE(int(canvas->currentFormat), 0);
    QCOMPARE(canvas->filePath(), path);
    QCOMPARE(canvas->history()->label(canvas->history()->count() - 1), std::string("Etat d'origine"));
    QCOMPARE(window.mdiArea->subWindowList()[0]->minimumSize(), QSize(128, 192));
    QCOMPARE(storedRecentFiles(), path);
    QAction* entry = window.recentFilesMenu->actions()[0];
    QCOMPARE(menuTexts(window.recentFilesMenu), QStringList({"hero.sk"}));
    QCOMPARE(entry->statusTip(), "Ouvre le fichier : " + path);

    // Through the menu: the entry that is triggered goes while it is handled.
    window.recentFilesMenu->popup(QPoint(0, 0));
    window.recentFilesMenu->setActiveAction(entry);
    QTest::keyClick(window.recentFilesMenu, Qt::Key_Return);
    QCOMPARE(window.mdiArea->subWindowList().size(), 3);
    // An "&" is no shortcut mark in the tabs nor in the menu, and "[*]" no modified mark.
    QVERIFY(QFile::copy("hero.sk", "a&b[*].sk"));
    window.openSKDocument("a&b[*].sk", true);
    QCOMPARE(window.mdiArea->findChild<QTabBar*>()->tabText(3), "a&&b[*]");
    QCOMPARE(menuTexts(window.recentFilesMenu), QStringList({"a&&b[*].sk", "hero.sk"}));
  }

  // The sub-window and the "Rendu" dock follow the sheet only up to the
  // screen's room: the scroll area shows the rest.
  void aLargeSheetKeepsTheWindowOnScreen()
  {
    QVERIFY(CharacterData(XP, QSize(4000, 3000)).saveProjectFile("large.sk", 1));
    MainWindow window;
    window.show();
    window.openSKDocument("large.sk", true);
    const QSize room = window.screen()->availableSize(), least = window.minimumSizeHint();
    QVERIFY(least.width() <= room.width() && least.height() <= room.height());
  }

  void recentFilesKeepTheNewestFifteen_data()
  {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("menu");
    QStringList sixteen, twenty;
    for (int i = 0; i < 20; ++i)
      (i < 16 ? sixteen : twenty) << QString("/d/f%1.sk").arg(i);
    twenty = sixteen + twenty;
    QTest::newRow("again moves to newest") << "" << QStringList({"/a.sk", "/b.png", "/a.sk"}) << "/b.png|/a.sk"
                                           << QStringList({"a.sk", "b.png"});
    QTest::newRow("case differs") << "" << QStringList({"/a.sk", "/A.sk"}) << "/a.sk|/A.sk"
                                  << QStringList({"A.sk", "a.sk"});
    QTest::newRow("sixteen files") << "" << sixteen << sixteen.mid(1).join('|') << QStringList();
    QTest::newRow("twenty by hand") << twenty.join('|') << QStringList() << twenty.join('|') << QStringList();
  }

  void recentFilesKeepTheNewestFifteen()
  {
    QFETCH(QString, stored);
    QFETCH(QStringList, added);
    QFETCH(QString, expected);
    QFETCH(QStringList, menu);
    writeAll("sorvelkit.ini", "[Path]\nrecentFiles=" + stored.toUtf8() + "\n");
    MainWindow window;
    for (const QString& path : added)
      window.addRecentFile(path);
    window.updateRecentFiles();
    QCOMPARE(storedRecentFiles(), expected);
    // Longer lists show their first fifteen stored entries, the fifteenth first.
    const QStringList files = expected.split('|');
    QStringList shown;
    for (int i = std::min<int>(15, files.size()) - 1; i >= 0; --i)
      shown << files[i].mid(files[i].lastIndexOf('/') + 1);
    QCOMPARE(menuTexts(window.recentFilesMenu), menu.isEmpty() ? shown : menu);
  }

  void elementFileJoinsItsTwoGroups()
  {
    std::vector<QImage> sheets;
    for (uint32_t i = 0; i < 5; ++i)
      sheets.push_back(sheet(QSize(128, 192), 0xFF000000u | i));
    QCOMPARE(saveElementFile("pack.elsk", sheets, 2, XP), 0);
    MainWindow window;
    window.openELSKDocument("pack.elsk");
    QCOMPARE(titles(window), QStringList({"pack*"}));
    QLayer* canvas = window.activeLayer();
    QVERIFY(canvas->filePath().isEmpty());
    QCOMPARE(canvas->characterData()->names(),
             std::vector<std::string>({"Element 0", "Element 1", "Elément 3", "Elément 4", "Elément 5"}));
    QCOMPARE(storedRecentFiles(), QDir::current().absoluteFilePath("pack.elsk"));
  }

  // A known suffix picks the opener, the selected filter only decides for
  // other names; failures open nothing and leave the recent files alone.
  void openDialog_data()
  {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("recent");
    QVERIFY(QDir().mkpath("sub") && QDir().mkpath("s?b") && QDir().mkpath("<b>gras"));
    writeProject("sub/hero.sk", 1);
    writeProject("s?b/hero.sk", 1);
    writeAll("sub/bad.png", "not a png");
    QVERIFY(sheet(QSize(128, 192), 0xFF00FF00u).save("sub/hero.png"));
    QVERIFY(sheet(QSize(kMaxSheetSide + 4, 64), 0xFF00FF00u).save("sub/wide.png"));
    QCOMPARE(saveElementFile("sub/hero.elsk", {sheet(QSize(128, 192), 0xFF00FF00u)}, 0, XP), 0);
    writeAll("sub/hero.elsk", readAll("sub/hero.elsk").left(40));
    std::string damaged;
    QVERIFY(!loadElementFile("sub/hero.elsk", damaged));

    const QString sk = "Fichier Sorvel Kit (*.sk)", png = "Image (*.png)", elsk = "Elément Sorvel Kit (*.elsk)";
    const QByteArray last = "[Path]\npathLoadSKFile=/last\nrecentFiles=/old.sk\n";
    const QStringList none, hero = {"hero"}, error = {"Erreur"};
    const QString here = QDir::currentPath() + "/";
    QTest::newRow("png under the project filter") << QByteArray() << "sub/hero.sk\nsub/hero.png" << sk << QDir::homePath()
                                                  << hero << QStringList({"Type de l'élément"}) << "" << "sub"
                                                  << here + "sub/hero.sk";
    QTest::newRow("other name, the filter decides") << QByteArray() << "sub/hero.v2" << sk << QDir::homePath() << none
                                                    << error << "" << "sub" << "";
    QTest::newRow("remembered folder") << last << "sub/hero.sk" << sk << "/last" << hero << none << "" << "sub"
                                       << "/old.sk|" + here + "sub/hero.sk";
    QTest::newRow("question mark") << last << "s?b/hero.sk" << sk << "/last" << hero << none << "" << "/last"
                                   << "/old.sk|" + here + "s?b/hero.sk";
    QTest::newRow("unreadable image") << last << "sub/bad.png" << png << "/last" << none << error
                                      << "Impossible d'ouvrir : sub/bad.png" << "sub" << "/old.sk";
    QTest::newRow("pipe") << last << "<b>gras/p.png" << png << "/last" << none << error
                          << "Impossible d'ouvrir : &lt;b&gt;gras/p.png" << "<b>gras" << "/old.sk";
    QTest::newRow("image type escaped") << last << "sub/hero.png" << png << "/last" << none
                                        << QStringList({"Type de l'élément"}) << "" << "sub" << "/old.sk";
    // No file could hold a character of it: refused before the layout is asked.
    QTest::newRow("sheet past the bound") << last << "sub/wide.png" << png << "/last" << none << error
                                          << "Impossible d'ouvrir : sub/wide.png<br />L'image dépasse 16384 pixels "
                                             "de côté : un fichier qui la contiendrait ne pourrait pas être rouvert."
                                          << "sub" << "/old.sk";
    QTest::newRow("damaged element file") << last << "sub/hero.elsk" << elsk << "/last" << none << error
                                          << QString::fromStdString(damaged) << "sub" << "/old.sk";
  }

  void openDialog()
  {
    QFETCH(QByteArray, ini);
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QStringList, asked);
    QFETCH(QString, message);
    writeAll("sorvelkit.ini", ini);
    PromptRecorder recorder;
    MainWindow window;
    recorder.files = {chosen};
    recorder.selectedFilters = {filter};
    if (chosen.endsWith("p.png"))
      QVERIFY(makePipe(chosen));
    window.openSKFile();

    QFETCH(QString, start);
    QCOMPARE(recorder.asked[0].text, start);
    QCOMPARE(recorder.asked[0].filter,
             QString("Fichier Sorvel Kit (*.sk);;Elément Sorvel Kit (*.elsk);;Image (*.png)"));
    QCOMPARE(recorder.titles(), QStringList("Ouvrir un fichier") + asked);
    if (!message.isEmpty()) {
      QCOMPARE(recorder.asked.last().text, message);
      QCOMPARE(recorder.asked.last().icon, int(QMessageBox::Critical));
    }
    QFETCH(QStringList, windows);
    QCOMPARE(titles(window), windows);
    QFETCH(QString, remembered);
    QString stored;
    IniSettings().getValue("pathLoadSKFile", stored);
    QCOMPARE(stored, remembered);
    QFETCH(QString, recent);
    QCOMPARE(storedRecentFiles(), recent);
  }

  void defaultCharacter()
  {
    PromptRecorder recorder;
    MainWindow window;
    showAndActivate(window);
    window.addCharacter("hero", 128, 192, XP);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QComboWidget* question = window.findChild<QComboWidget*>();
    QVERIFY(question && question->isVisible());
    QCOMPARE(question->windowTitle(), QString("Character par défaut"));
    showAndActivate(*question);
    QTest::mousePress(question->findChildren<QOptionWidget*>().at(1), Qt::LeftButton);
    QCOMPARE(readAll("default.sk").left(1), QByteArray(1, '\x01'));
    QVERIFY(recorder.asked.isEmpty());
    question->close();

    window.openDefault();
    QCOMPARE(titles(window), QStringList({"hero*", "Sans titre*"}));
    QVERIFY(window.activeLayer()->filePath().isEmpty());
    QCOMPARE(storedRecentFiles(), QString());

    QVERIFY(QFile::remove("default.sk"));
    QVERIFY(QDir().mkdir("default.sk"));
    CharacterData copy = *window.activeLayer()->characterData();
    QVERIFY(!copy.saveProjectFile("default.sk", 1));
    window.assignAsDefault();
    QCOMPARE(recorder.titles(), QStringList({"Erreur"}));
    QCOMPARE(recorder.asked[0].text, "Erreur : " + QString::fromStdString(copy.errorMessage()));
  }
};

SK_TEST_MAIN(TestOpenDocuments)
#include "test_opendocuments.moc"
