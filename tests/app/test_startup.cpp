#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "batch/Converter.h"
#include "batch/QConvertChara.h"
#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "core/IniSettings.h"
#include "model/CharacterData.h"
#include "model/ElementFile.h"
#include "widgets/QOptionWidget.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>

#include <sys/stat.h>
#include <thread>

namespace {

const QString kProgram = QStringLiteral("sorvelkit");

void writeProject(const QString& path)
{
  CharacterData document(XP, QSize(128, 192));
  QImage sheet(128, 192, QImage::Format_ARGB32);
  sheet.fill(qRgba(255, 0, 255, 255));
  QVERIFY(document.addElementFromImage(sheet, "sheet.png"));
  QVERIFY(document.saveProjectFile(path.toStdString(), 1));
}

QStringList openTitles(const MainWindow& window)
{
  QStringList out;
  for (QMdiSubWindow* sub : window.mdiArea->subWindowList())
    out << sub->windowTitle();
  return out;
}

QString storedText(const char* key)
{
  QString value;
  IniSettings settings;
  settings.getValue(key, value);
  return value;
}

// Presses the first tile of the question (the element type question: XP).
int pressFirstTile(QDialog& dialog)
{
  QTest::mousePress(dialog.findChildren<QOptionWidget*>().at(0), Qt::LeftButton);
  return dialog.result();
}

} // namespace

class TestStartup : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase()
  {
    writeProject("a.SK");
    writeProject("a.sk");
    writeProject("b.sk");
    QVERIFY(QDir().mkdir(QStringLiteral("é")));
    writeProject(QStringLiteral("é/a.sk"));
    writeAll("bad.sk", QByteArray("\x01\x02", 2));
    QImage sheet(128, 192, QImage::Format_ARGB32);
    sheet.fill(Qt::red);
    QVERIFY(sheet.save("b.Png", "PNG"));
    QCOMPARE(saveElementFile("c.ELSK", {sheet}, 0, XP), 0);
  }

  void applicationSetUp()
  {
    QTranslator translator;
    QCOMPARE(QImageReader::allocationLimit(), 128); // nothing decoded yet
    setUpApplication(translator);
    QCOMPARE(QImageReader::allocationLimit(), 1024);
    QCOMPARE(QApplication::startDragDistance(), 15);
    QVERIFY(QFile::exists(":/translations/fr"));
    QCOMPARE(QCoreApplication::applicationName(), QString("Sorvel Kit"));
    QCOMPARE(QCoreApplication::applicationVersion(), QString("1.0.0"));
    QCoreApplication::removeTranslator(&translator);
  }

  // The system locale is read once per process: each case runs in a child.
  void toolkitTextsFollowTheSystemLanguage_data()
  {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("buttons");
    // Only the French translation is compiled in: a language without its own
    // gets French rather than the toolkit's English.
    const QString french = "&Oui|&Non|Enregistrer|Annuler";
    QTest::newRow("French") << "LC_ALL" << "fr_FR.UTF-8" << french;
    QTest::newRow("C") << "LANG" << "C" << french;
    QTest::newRow("English") << "LANG" << "en_US.UTF-8" << french;
  }

  void toolkitTextsFollowTheSystemLanguage()
  {
    QFETCH(QString, variable);
    QFETCH(QString, locale);
    QFETCH(QString, buttons);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
      env.remove(name);
    env.insert(variable, locale);
    env.insert("SK_EXPECTED_BUTTONS", buttons);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"buttonTextsInThisProcess"});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitCode() == 0, child.readAll().constData());
  }

  void buttonTextsInThisProcess()
  {
    const QString expected = qEnvironmentVariable("SK_EXPECTED_BUTTONS");
    if (expected.isEmpty())
      QSKIP("run by toolkitTextsFollowTheSystemLanguage under a chosen locale");
    QTranslator translator;
    setUpApplication(translator);
    QMessageBox box(QMessageBox::Question, "Q", "?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Save);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(box.button(QMessageBox::Yes)->text() + "|" + box.button(QMessageBox::No)->text() + "|"
                 + box.button(QMessageBox::Save)->text() + "|" + buttons->button(QDialogButtonBox::Cancel)->text(),
             expected);
  }

  void documentsToOpen_data()
  {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("prompts");
    const QStringList none;
    QTest::newRow("by suffix, any case") << QStringList{"a.SK", "b.Png", "c.ELSK"} << "|b.sk|"
                                         << QStringList{"a", "b*", "c*"} << QStringList{"Type de l'élément"};
    QTest::newRow("other suffix, opened not read") << QStringList{"x.txt"} << "|b.sk|" << none << none;
    QTest::newRow("damaged project reported") << QStringList{"bad.sk", "a.sk"} << "" << QStringList{"a"}
                                              << QStringList{"Erreur"};
    QTest::newRow("accented folder") << QStringList{QDir::current().absoluteFilePath("é/a.sk")} << ""
                                     << QStringList{"a"} << none;
    QTest::newRow("pipe") << QStringList{"R&D/p.png", "a.sk"} << "" << QStringList{"a"} << QStringList{"Erreur"};
    QTest::newRow("last session") << QStringList() << "|a.sk||b.sk|" << QStringList{"a", "b"} << none;
    QTest::newRow("last session, unreadable skipped") << QStringList() << "a.sk|bad.sk|missing.sk|b.sk|"
                                                      << QStringList{"a", "b"} << none;
  }

  void documentsToOpen()
  {
    QFETCH(QStringList, arguments);
    QFETCH(QString, opened);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, prompts);
    writeAll("sorvelkit.ini", "[Path]\nopened=" + opened.toUtf8() + "\n[showAgain]\nshowWelcome=0\n");
    PromptRecorder recorder;
    recorder.dialogs.push_back(pressFirstTile);
    if (arguments.value(0) == "R&D/p.png")
      QVERIFY(QDir().mkpath("R&D") && makePipe(arguments[0]));
    {
      MainWindow window;
      IniSettings settings;
      startUp(window, settings, QStringList{kProgram} + arguments);
      QCOMPARE(openTitles(window), titles);
      QCOMPARE(recorder.titles(), prompts);
    }
    QCOMPARE(storedText("opened"), opened);
  }

  // The lists are read from wherever the next start runs, and a "|" in a
  // path would split its entry.
  void pathListsSurviveAnotherFolder()
  {
    QVERIFY(QDir().mkdir("p|q"));
    writeProject("p|q/c.sk");
    writeAll("sorvelkit.ini", "[showAgain]\nshowWelcome=0\n");
    const QString absolute = QDir::current().absoluteFilePath("a.sk");
    {
      MainWindow window;
      IniSettings settings;
      startUp(window, settings, {kProgram, "a.sk", "p|q/c.sk"});
      QCOMPARE(openTitles(window), QStringList({"a", "c"}));
      QVERIFY(window.close());
    }
    QCOMPARE(storedText("opened"), absolute + "|");
    QCOMPARE(storedText("recentFiles"), absolute);

    QVERIFY(QFile::copy("sorvelkit.ini", QStringLiteral("é/sorvelkit.ini")));
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral("é")));
    MainWindow window;
    IniSettings settings;
    startUp(window, settings, {kProgram});
    QVERIFY(QDir::setCurrent(home));
    QCOMPARE(openTitles(window), QStringList({"a"}));
    QCOMPARE(canvasOf(window.mdiArea->subWindowList().value(0))->filePath(), absolute);
  }

  void firstRunMessagesComeOnceAfterTheDocuments()
  {
    writeAll("sorvelkit.ini", QByteArray());
    PromptRecorder recorder;
    MainWindow window;
    {
      IniSettings settings;
      startUp(window, settings, {kProgram, "bad.sk", "a.sk"});
      QCOMPARE(recorder.titles(),
               QStringList({"Erreur", "Bienvenue !", "Donation", "Aide à propos de Sorvel Kit"}));
      QCOMPARE(openTitles(window), QStringList{"a"});
      // Saved at once, without dropping what the opener stored meanwhile.
      bool showWelcome = true;
      IniSettings now;
      QVERIFY(now.getValue("showWelcome", showWelcome));
      QVERIFY(!showWelcome);
      QCOMPARE(storedText("recentFiles"), QDir::current().absoluteFilePath("a.sk"));
    }
    const QByteArray written = readAll("sorvelkit.ini");
    QVERIFY(written.contains("[showAgain]"));

    recorder.asked.clear();
    {
      IniSettings settings;
      startUp(window, settings, {kProgram});
    }
    QVERIFY(recorder.asked.isEmpty());
    QCOMPARE(readAll("sorvelkit.ini"), written);
  }

  // The last input is held by the worker's hook until after the wait has
  // begun.
  void conversionsOpenEachTimeAndFinishBeforeTheExit()
  {
    PromptRecorder recorder;
    MainWindow window;
    QList<QConvertChara*> wizards;
    for (int n = 1; n <= 2; ++n) {
      window.show();
      window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
      wizards.clear();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* wizard = qobject_cast<QConvertChara*>(w); wizard && wizard->isVisible())
          wizards << wizard;
      QCOMPARE(wizards.size(), n);
    }
    QTemporaryDir dir;
    QStringList inputs;
    QImage sheet(72, 128, QImage::Format_ARGB32); // one 2003 character
    sheet.fill(0xFF336699);
    for (int i = 0; i < 6; ++i)
      QVERIFY(sheet.save(inputs.emplace_back(dir.path() + "/" + QString::number(i) + ".png"), "PNG"));
    QVERIFY(sheet.save(dir.path() + "/p.png", "PNG"));
    static std::atomic<bool> held;
    held = true;
    Converter::inputHook = [](const QString& path) {
      while (held && path.endsWith("/p.png"))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    auto release = qScopeGuard([] { held = false; Converter::inputHook = nullptr; });
    recorder.files.push_back(inputs.join("\n") + "\n" + dir.path() + "/p.png");
    QConvertChara& wizard = *wizards.first();
    auto click = [&](const QString& text) { // the latest window's button
      const QList<QPushButton*> all = wizard.findChildren<QPushButton*>();
      for (auto b = all.rbegin(); b != all.rend(); ++b)
        if ((*b)->text() == text && (*b)->window()->isVisible())
          return (*b)->click();
    };
    click("Suivant");
    click("Parcourir");
    click("Suivant");
    Converter* worker = wizard.findChild<Converter*>();
    QVERIFY(worker);
    wizard.closeAll();
    std::thread feed([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      held = false;
    });
    waitForWorkers();
    QVERIFY(worker->isFinished());
    feed.join();
    inputs << dir.path() + "/p.png";
    for (const QString& input : inputs)
      QVERIFY(!QImage(dir.path() + "/XP_CONVERSIONS/" + QFileInfo(input).fileName()).isNull());
    qDeleteAll(wizards);
  }
};

SK_TEST_MAIN(TestStartup)
#include "test_startup.moc"
