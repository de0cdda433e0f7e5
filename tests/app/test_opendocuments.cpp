#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "core/IniSettings.h"
#include "model/ElementFile.h"
#include "widgets/QComboWidget.h"
#include "widgets/QNewCharacter.h"
#include "widgets/QOptionWidget.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

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

    for (int cancelled = 0; cancelled < 2; ++cancelled) {
      QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
      dialog = topLevel<QNewCharacter>();
      QCOMPARE(dialog->nameEdit->text(), QString("Sans titre %1").arg(n + 1));
      dialog->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
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
    QTest::newRow("backslashes") << "" << QStringList({"C:\\x\\a.sk", "C:/x/a.sk"}) << "C:/x/a.sk"
                                 << QStringList({"a.sk"});
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

  void failuresOpenNothing_data()
  {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("damaged project") << "hero.sk" << QByteArray("\x01\x00\x05garbage", 10) << "Erreur : ";
    QTest::newRow("unreadable image") << "hero.png" << QByteArray("not a png") << "Impossible d'ouvrir : ";
    QTest::newRow("damaged element file") << "hero.elsk" << QByteArray() << "";
    QTest::newRow("image type escaped") << "hero.png" << QByteArray() << "";
  }

  void failuresOpenNothing()
  {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = QDir::current().absoluteFilePath(file);
    std::string readerMessage;
    if (file.endsWith(".elsk")) {
      QCOMPARE(saveElementFile("hero.elsk", {sheet(QSize(128, 192), 0xFF00FF00u)}, 0, XP), 0);
      writeAll(path, readAll(path).left(40));
      QVERIFY(!loadElementFile(path.toStdString(), readerMessage));
    } else if (bytes.isEmpty()) {
      QVERIFY(sheet(QSize(128, 192), 0xFF00FF00u).save(path));
    } else {
      writeAll(path, bytes);
    }
    if (file.endsWith(".sk")) {
      CharacterData reader;
      QVERIFY(!reader.loadProjectFile(path.toStdString()));
      readerMessage = reader.errorMessage();
    }

    PromptRecorder recorder;
    writeAll("sorvelkit.ini", QByteArray("[Path]\nrecentFiles=/old.sk\n"));
    MainWindow window;
    recorder.files = {path};
    recorder.selectedFilters = {file.endsWith(".sk") ? "Fichier Sorvel Kit (*.sk)"
                                : file.endsWith(".png") ? "Image (*.png)" : "Elément Sorvel Kit (*.elsk)"};
    window.openSKFile();
    QCOMPARE(window.mdiArea->subWindowList().size(), 0);
    QCOMPARE(storedRecentFiles(), QString("/old.sk"));
    const PromptRecorder::Asked& last = recorder.asked.last();
    if (bytes.isEmpty() && file.endsWith(".png")) {
      QCOMPARE(recorder.titles(), QStringList({"Ouvrir un fichier", "Type de l'élément"}));
      return;
    }
    QCOMPARE(last.title, QString("Erreur"));
    QCOMPARE(last.icon, int(QMessageBox::Critical));
    QCOMPARE(last.text, message + (file.endsWith(".png") ? path : QString::fromStdString(readerMessage)));
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
    QCOMPARE(storedRecentFiles(), QString("pack.elsk"));
  }

  void openDialogRemembersTheFirstFolder_data()
  {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("remembered");
    QTest::newRow("home") << QByteArray() << QDir::homePath() << "sub" << "sub";
    QTest::newRow("remembered") << QByteArray("[Path]\npathLoadSKFile=/last\n") << "/last" << "sub" << "sub";
    QTest::newRow("question mark") << QByteArray("[Path]\npathLoadSKFile=/last\n") << "/last" << "s?b" << "/last";
  }

  void openDialogRemembersTheFirstFolder()
  {
    QFETCH(QByteArray, ini);
    QFETCH(QString, start);
    QFETCH(QString, folder);
    QFETCH(QString, remembered);
    writeAll("sorvelkit.ini", ini);
    QVERIFY(QDir().mkpath(folder));
    writeProject(folder + "/hero.sk", 1);
    writeAll(folder + "/image.png", "not a project");
    PromptRecorder recorder;
    MainWindow window;
    recorder.files = {folder + "/hero.sk\n" + folder + "/image.png"};
    recorder.selectedFilters = {"Fichier Sorvel Kit (*.sk)"};
    window.openSKFile();

    QCOMPARE(recorder.asked[0].text, start);
    QCOMPARE(recorder.asked[0].filter,
             QString("Fichier Sorvel Kit (*.sk);;Elément Sorvel Kit (*.elsk);;Image (*.png)"));
    QCOMPARE(titles(window), QStringList({"hero"}));
    QCOMPARE(recorder.titles(), QStringList({"Ouvrir un fichier", "Erreur"}));
    QVERIFY(recorder.asked[1].text.startsWith("Erreur : "));
    QString stored;
    IniSettings().getValue("pathLoadSKFile", stored);
    QCOMPARE(stored, remembered);
    QCOMPARE(storedRecentFiles(), folder + "/hero.sk");
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
