#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "core/IniSettings.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

const QString kFilters =
    QString::fromUtf8("Fichier Sorvel Kit (*.sk);;Fichier Sorvel Kit B\xc3\xaata (*.sk);;Image (*.png)");
const QString kProject = "Fichier Sorvel Kit (*.sk)";
const QString kBeta = QString::fromUtf8("Fichier Sorvel Kit B\xc3\xaata (*.sk)");
const QString kImage = "Image (*.png)";
// Semi-transparent: a premultiplied round trip would change its colour.
const QRgb kPixel = qRgba(200, 100, 50, 77);

QString here(const QString& name)
{
  return QDir::currentPath() + QLatin1Char('/') + name;
}

QString storedText(const char* key)
{
  QString value = "(none)";
  IniSettings().getValue(key, value);
  return value;
}

// One modified one-element character in a minimised sub-window, beside a
// second, current one.
struct Open
{
  QMdiArea area;
  QLayer* canvas = new QLayer("hero", QSize(0, 0), 0, &area, nullptr, nullptr);
  QPointer<QMdiSubWindow> sub = area.addSubWindow(new QScrollLayer(canvas));
  QMdiSubWindow* other = area.addSubWindow(new QScrollLayer(new QLayer("other", QSize(0, 0), 0, &area, nullptr, nullptr)));

  Open()
  {
    area.show();
    QImage sheet(128, 192, QImage::Format_ARGB32);
    sheet.fill(kPixel);
    canvas->characterData()->addElementFromImage(sheet, "");
    canvas->addHistory(canvas->characterData(), "Etat d'origine");
    sub->showMinimized();
    area.setActiveSubWindow(other);
  }
};

} // namespace

class TestQLayerSave : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    QDir folder;
    for (const QString& file : folder.entryList(QDir::Files))
      folder.remove(file);
    writeAll("sorvelkit.ini", QByteArray());
  }

  void theDialogStartsInTheRememberedFolder()
  {
    PromptRecorder recorder;
    Open open;
    QCOMPARE(int(open.canvas->saveAs()), 2);
    { IniSettings().setValue("Path", "pathSaveSKFile", QString("/remembered")); }
    QCOMPARE(int(open.canvas->save()), 2);
    QCOMPARE(recorder.kinds(), QStringList({"save", "save"}));
    QCOMPARE(recorder.titles(), QStringList({"Enregistrer sous...", "Enregistrer"}));
    QCOMPARE(recorder.asked[0].text, QDir::homePath());
    QCOMPARE(recorder.asked[1].text, QString("/remembered"));
    QCOMPARE(recorder.asked[0].filter, kFilters);
    QCOMPARE(storedText("pathSaveSKFile"), QString("/remembered"));
  }

  void savingAsAProject_data()
  {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("storedFolder");
    QTest::newRow("plain") << here("hero") << kProject << here("hero.sk") << 1 << QDir::currentPath();
    QTest::newRow("older layout") << here("hero") << kBeta << here("hero.sk") << 0 << QDir::currentPath();
    QTest::newRow("no filter") << here("hero") << QString() << here("hero.sk") << 1 << QDir::currentPath();
    QTest::newRow("extension typed") << here("HERO.SK") << kProject << here("HERO.SK") << 1 << QDir::currentPath();
    QTest::newRow("folder with ?") << here("a?b/hero") << kProject << here("a?b/hero.sk") << 1 << "/before";
    QTest::newRow("write fails") << here("missing/hero") << kProject << QString() << -1 << here("missing");
  }
  void savingAsAProject()
  {
    QFETCH(QString, answer);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(int, version);
    QFETCH(QString, storedFolder);
    QDir().mkpath(here("a?b"));
    { IniSettings().setValue("Path", "pathSaveSKFile", QString("/before")); }
    PromptRecorder recorder;
    recorder.files = {answer};
    recorder.selectedFilters = {filter};
    Open open;

    QCOMPARE(int(open.canvas->saveAs()), version < 0 ? 0 : 1);
    QCOMPARE(storedText("pathSaveSKFile"), storedFolder);
    if (version < 0) {
      QVERIFY(open.canvas->isModified());
      QCOMPARE(open.sub->windowTitle(), QString("hero*"));
      QVERIFY(open.canvas->filePath().isEmpty());
      return;
    }
    QCOMPARE(readAll(written).left(1), QByteArray(1, char(version)));
    QCOMPARE(open.canvas->filePath(), written);
    QCOMPARE(open.sub->windowTitle(), QFileInfo(written).completeBaseName());
    QVERIFY(!open.canvas->isModified());

    // A later plain save keeps the layout and asks nothing.
    open.canvas->addHistory(open.canvas->characterData(), "Pinceau");
    QFile::remove(written);
    QCOMPARE(int(open.canvas->save()), 1);
    QCOMPARE(readAll(written).left(1), QByteArray(1, char(version)));
    QCOMPARE(recorder.asked.size(), 1);
  }

  void savingAnImage()
  {
    PromptRecorder recorder;
    recorder.files = {here("pic"), here("plain"), QString()};
    recorder.selectedFilters = {kImage, kImage};
    Open open;

    open.canvas->setFilePath(here("hero.sk"));
    QCOMPARE(int(open.canvas->saveAs()), 1);
    QImage image(here("pic.png"));
    QCOMPARE(image.size(), QSize(128, 192));
    QCOMPARE(image.convertToFormat(QImage::Format_ARGB32).pixel(5, 7), kPixel);
    QVERIFY(open.canvas->isModified());
    QCOMPARE(open.canvas->filePath(), here("hero.sk"));

    // Without a project path the image leaves none, so the next save asks again.
    open.canvas->setFilePath(QString());
    QCOMPARE(int(open.canvas->save()), 1);
    QVERIFY(QFile::exists(here("plain.png")));
    QVERIFY(open.canvas->filePath().isEmpty());
    QCOMPARE(int(open.canvas->save()), 2);
    QCOMPARE(recorder.kinds(), QStringList({"save", "save", "save"}));
    QVERIFY(!QFile::exists(here("plain.sk")));
  }

  // The toolkit's overwrite question saw the name as typed; a file the
  // appended extension names is only replaced after a question of our own.
  void anAppendedNameAsksBeforeReplacing_data()
  {
    QTest::addColumn<bool>("plainSave");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("project, no") << false << kProject << "hero.sk" << int(QMessageBox::No) << 2;
    QTest::newRow("image, no") << false << kImage << "hero.png" << int(QMessageBox::No) << 2;
    QTest::newRow("first plain save, no") << true << kBeta << "hero.sk" << int(QMessageBox::No) << 2;
    QTest::newRow("project, yes") << false << kProject << "hero.sk" << int(QMessageBox::Yes) << 1;
  }
  void anAppendedNameAsksBeforeReplacing()
  {
    QFETCH(bool, plainSave);
    QFETCH(QString, filter);
    QFETCH(QString, existing);
    QFETCH(int, answer);
    QFETCH(int, result);
    QCOMPARE(filterSuffix(filter), existing.mid(5));
    const QByteArray old = "the work of another day";
    writeAll(existing, old);
    PromptRecorder recorder;
    recorder.files = {here("hero")};
    recorder.selectedFilters = {filter};
    recorder.buttons = {QMessageBox::StandardButton(answer)};
    Open open;

    QCOMPARE(int(plainSave ? open.canvas->save() : open.canvas->saveAs()), result);
    QCOMPARE(recorder.kinds(), QStringList({"save", "question"}));
    QCOMPARE(recorder.asked[1].text, "Le fichier " + here(existing) + QString::fromUtf8(" existe d\xc3\xa9j\xc3\xa0.<br />")
                                         + "Voulez-vous le remplacer ?");
    QCOMPARE(readAll(existing) == old, result == 2);
    QCOMPARE(open.canvas->isModified(), result == 2 || filter == kImage);
  }

  void closingAnUnmodifiedCharacter()
  {
    PromptRecorder recorder;
    recorder.buttons = {QMessageBox::No, QMessageBox::Yes};
    recorder.ticks = {1, 1};
    Open open;
    open.canvas->setFilePath(here("<b>gras & co.sk"));
    open.canvas->setModified(false);
    QString richNote; // the note, when told to be rich text
    prompts().runMessageBox = [&, record = prompts().runMessageBox](QMessageBox& box) {
      for (const QLabel* label : box.findChildren<QLabel*>())
        richNote = label->textFormat() == Qt::RichText ? label->text() : richNote;
      return record(box);
    };

    QVERIFY(!open.sub->close());
    QCOMPARE(open.area.subWindowList().size(), 2);
    QCOMPARE(storedText("showCloseFile"), QString("(none)"));
    QCOMPARE(richNote, "Etes-vous sûr(e) de vouloir fermer &lt;b&gt;gras &amp; co.sk ?");
    open.canvas->setFilePath(here("hero.sk"));
    QVERIFY(open.sub->close());
    QCOMPARE(recorder.asked.size(), 2);
    QCOMPARE(recorder.asked[1].title, QString("Fermeture"));
    QCOMPARE(recorder.asked[1].text, QString("<h3>Fermer un character</h3>"));
    QCOMPARE(recorder.asked[1].icon, int(QMessageBox::Question));
    QCOMPARE(recorder.asked[1].extra,
             QStringList({QString::fromUtf8("Etes-vous s\xc3\xbbr(e) de vouloir fermer hero.sk ?"),
                          "Ne plus afficher ce message"}));

    // Silent closes leave the choice alone.
    for (int i = 0; i < 2; ++i) {
      Open next;
      next.canvas->setModified(false);
      QVERIFY(next.sub->close());
    }
    QCOMPARE(recorder.asked.size(), 2);
    bool shown = true;
    QVERIFY(IniSettings().getValue("showCloseFile", shown));
    QVERIFY(!shown);
  }

  // The canvas closed is never visible.
  void closingAModifiedCharacter_data()
  {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("message");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QString() << QString() << false << QString();
    QTest::newRow("dialog cancelled") << int(QMessageBox::Save) << QString() << QString() << false << QString();
    QTest::newRow("write fails") << int(QMessageBox::Save) << here("missing/hero") << kProject << false
                                 << "Fermeture: Impossible de sauvegarder le fichier.";
    QTest::newRow("saved as image") << int(QMessageBox::Save) << here("hero") << kImage << true << QString();
    QTest::newRow("saved") << int(QMessageBox::Save) << here("hero") << kProject << true << QString();
    QTest::newRow("discard") << int(QMessageBox::Discard) << QString() << QString() << true << QString();
  }
  void closingAModifiedCharacter()
  {
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(QString, filter);
    QFETCH(bool, closes);
    QFETCH(QString, message);
    PromptRecorder recorder;
    recorder.buttons = {QMessageBox::StandardButton(answer)};
    recorder.files = {file};
    recorder.selectedFilters = {filter};
    Open open;
    QVERIFY(!open.canvas->isVisible());

    QCOMPARE(open.sub->close(), closes);
    QCOMPARE(open.area.subWindowList().size(), closes ? 1 : 2);
    QCOMPARE(recorder.asked[0].text.left(28), QString("<h2>Fermer un character</h2>"));
    QCOMPARE(recorder.asked[0].pixmap, QSize(64, 96));
    QStringList messages;
    for (const auto& a : recorder.asked)
      if (a.kind == "message" && a.icon == QMessageBox::Critical)
        messages << a.title + ": " + a.text;
    QCOMPARE(messages.join(QString()), message);
    QCOMPARE(QFile::exists(here("hero.sk")), closes && filter == kProject);
    QCOMPARE(QFile::exists(here("hero.png")), filter == kImage);
    QCOMPARE(storedText("showCloseFile"), QString("(none)"));
  }

  // A damaged file leaves the open character whole.
  void loadingAndSavingInPlace()
  {
    Open open;
    QVERIFY(open.canvas->characterData()->saveProjectFile(here("old.sk").toStdString(), 0));
    writeAll(here("damaged.sk"), QByteArray("\x01\x00\x05", 3));
    open.canvas->characterData()->addElement("", 0);

    QVERIFY(!open.canvas->loadFrom(here("damaged.sk")));
    QCOMPARE(open.canvas->characterData()->elementCount(), 2);
    QVERIFY(!open.canvas->characterData()->errorMessage().empty());
    QCOMPARE(int(open.canvas->currentFormat), 1);

    QVERIFY(open.canvas->loadFrom(here("old.sk")));
    QCOMPARE(open.canvas->characterData()->elementCount(), 1);
    QCOMPARE(int(open.canvas->currentFormat), 0);
    QVERIFY(open.canvas->saveTo(here("again.sk")));
    QCOMPARE(readAll(here("again.sk")), readAll(here("old.sk")));
    QVERIFY(!open.canvas->isModified());
  }
};

SK_TEST_MAIN(TestQLayerSave)
#include "test_qlayersave.moc"
