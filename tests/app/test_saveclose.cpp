#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "core/IniSettings.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSaveFile>
#include <QScrollArea>

namespace {

QString here(const QString& name)
{
  return QDir::currentPath() + QLatin1Char('/') + name;
}

// Read from the file's text: an empty value reads back as no key at all.
QString storedText(const QString& key)
{
  for (const QByteArray& line : readAll("sorvelkit.ini").split('\n'))
    if (line.trimmed().startsWith((key + "=").toUtf8()))
      return QString::fromUtf8(line.trimmed().mid(key.size() + 1));
  return "(none)";
}

QList<QLayer*> canvases(const MainWindow& window)
{
  QList<QLayer*> out;
  for (QMdiSubWindow* sub : window.mdiArea->subWindowList(QMdiArea::CreationOrder))
    out << qobject_cast<QLayer*>(qobject_cast<QScrollArea*>(sub->widget())->widget());
  return out;
}

// Opens one project per name ("" for a character never saved), marking the
// ones listed in modified with one more element.
void openDocuments(MainWindow& window, const QStringList& names, const QList<int>& modified)
{
  for (const QString& name : names) {
    if (name.isEmpty()) {
      window.addCharacter("Sans titre", 128, 192, 0);
      canvases(window).last()->setModified(false);
      continue;
    }
    CharacterData document;
    QVERIFY(document.saveProjectFile(here(name).toStdString(), 1));
    window.openSKDocument(here(name), true);
  }
  for (int i : modified) {
    QLayer* canvas = canvases(window)[i];
    canvas->characterData()->addElement("", 0);
    canvas->addHistory(canvas->characterData(), "Ajouter un calque de dessin");
  }
}

// The element count in the file on disk, the third byte.
int elementsOnDisk(const QString& name)
{
  return readAll(here(name)).mid(2, 1).toHex().toInt(nullptr, 16);
}

QStringList messages(const PromptRecorder& recorder)
{
  QStringList out;
  for (const auto& a : recorder.asked)
    if (a.kind == "message")
      out << a.title + ": " + a.text;
  return out;
}

// "3" for the question with Save All, "2" for the single one.
QString questions(const PromptRecorder& recorder)
{
  QString out;
  for (const auto& a : recorder.asked)
    if (a.kind == "box")
      out += a.text.mid(2, 1);
  return out;
}

const QString kCannotSave = "Impossible de sauvegarder le fichier.";

} // namespace

class TestSaveClose : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    QDir folder;
    for (const QString& file : folder.entryList(QDir::Files))
      folder.remove(file);
    writeAll("sorvelkit.ini", "[Path]\nopened=old|\n");
  }

  // Each failure names the file and says why; the file on disk is left alone.
  void aFailedSaveIsReported()
  {
    PromptRecorder recorder;
    MainWindow window;
    openDocuments(window, {"a.sk", "b.sk", "c.sk"}, {0, 1, 2});
    canvases(window)[0]->setFilePath(here("missing/a.sk"));
    canvases(window)[1]->characterData()->image(0, 0) = QImage(kMaxSheetSide + 1, 1, QImage::Format_ARGB32);
    window.show();

    window.mdiArea->setActiveSubWindow(window.mdiArea->subWindowList()[0]);
    window.save();
    QCOMPARE(messages(recorder), QStringList({"Sauvegarde: " + kCannotSave}));
    QSaveFile refused(here("missing/a.sk"));
    QVERIFY(!refused.open(QIODevice::WriteOnly));
    QCOMPARE(recorder.asked.last().details, "Fichier : " + here("missing/a.sk") + "\nCause : " + refused.errorString());
    window.saveAll();
    QCOMPARE(messages(recorder).size(), 3);
    QCOMPARE(recorder.asked.last().details, "Fichier : " + here("b.sk") + "\nCause : Une cellule dépasse 16384 "
                                            "pixels de côté : le fichier ne pourrait pas être rouvert.");
    QCOMPARE(elementsOnDisk("b.sk"), 0);
    QCOMPARE(elementsOnDisk("c.sk"), 1);
    QVERIFY(canvases(window)[0]->isModified() && canvases(window)[1]->isModified());
    QVERIFY(!canvases(window)[2]->isModified());
  }

  void closingWithNothingModified_data()
  {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("opened");
    QTest::newRow("no document") << QStringList() << QString();
    QTest::newRow("three documents") << QStringList({"a.sk", "", "c.sk"}) << here("a.sk|") + here("c.sk|");
  }
  void closingWithNothingModified()
  {
    QFETCH(QStringList, names);
    QFETCH(QString, opened);
    PromptRecorder recorder;
    MainWindow window;
    window.primaryColor = QColor(1, 2, 3, 4);
    openDocuments(window, names, {});
    QVERIFY(window.close());
    QVERIFY(recorder.asked.isEmpty());
    QCOMPARE(storedText("opened"), opened);
    int primary = 0, secondary = 0;
    QVERIFY(IniSettings().getValue("primary", primary));
    QVERIFY(IniSettings().getValue("secondary", secondary));
    QCOMPARE(QRgb(primary), qRgba(1, 2, 3, 4));
    QCOMPARE(QRgb(secondary), qRgba(255, 255, 255, 255));
  }

  // Answers in order; documents a, b, c, of which those listed are modified.
  void closingWithSeveralModified_data()
  {
    QTest::addColumn<QList<int>>("modified");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("saved"); // documents whose file gained the element
    QTest::newRow("discard, then the single question") << QList<int>({0, 2}) << QList<int>({QMessageBox::Discard,
                                                           QMessageBox::Save}) << "32" << "c";
    QTest::newRow("save all") << QList<int>({0, 1, 2}) << QList<int>({QMessageBox::SaveAll}) << "3" << "abc";
    QTest::newRow("discard, then save all")
        << QList<int>({0, 1, 2}) << QList<int>({QMessageBox::Discard, QMessageBox::SaveAll}) << "33" << "bc";
  }
  void closingWithSeveralModified()
  {
    QFETCH(QList<int>, modified);
    QFETCH(QList<int>, answers);
    QFETCH(QString, asked);
    QFETCH(QString, saved);
    PromptRecorder recorder;
    for (int answer : answers)
      recorder.buttons.push_back(QMessageBox::StandardButton(answer));
    MainWindow window;
    openDocuments(window, {"a.sk", "b.sk", "c.sk"}, modified);

    QVERIFY(window.close());
    QCOMPARE(questions(recorder), asked);
    QString savedNow;
    for (const QString name : {"a", "b", "c"})
      if (elementsOnDisk(name + ".sk") == 1)
        savedNow += name;
    QCOMPARE(savedNow, saved);
    QCOMPARE(storedText("opened"), here("a.sk|") + here("b.sk|") + here("c.sk|"));
    QVERIFY(window.mdiArea->subWindowList().isEmpty());
  }

  // The first, never saved, is saved at its question; the second cancels.
  void aRefusedClose()
  {
    PromptRecorder recorder;
    recorder.buttons = {QMessageBox::Save, QMessageBox::Cancel, QMessageBox::Discard, QMessageBox::Discard};
    recorder.files = {here("sub/first")};
    recorder.selectedFilters = {"Fichier Sorvel Kit (*.sk)"};
    QDir().mkdir("sub");
    MainWindow window;
    window.show();
    openDocuments(window, {"", "b.sk", "c.sk"}, {0, 1, 2});

    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(questions(recorder), QString("33"));
    QCOMPARE(readAll(here("sub/first.sk")).left(3), QByteArray("\x01\x00\x01", 3));
    QCOMPARE(canvases(window).size(), 2);
    QCOMPARE(storedText("opened"), QString("old|"));
    QCOMPARE(storedText("pathSaveSKFile"), here("sub"));
    int primary = 0;
    QVERIFY(IniSettings().getValue("primary", primary));

    // The closed document is gone; the others still ask.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.mdiArea->subWindowList()[0]->close());
    QCOMPARE(questions(recorder), QString("332"));
    QCOMPARE(canvases(window).size(), 1);
    QVERIFY(window.close());
    QCOMPARE(questions(recorder), QString("3322"));
    QCOMPARE(storedText("opened"), here("c.sk|"));
  }

  // The tab's close button and Ctrl+F4 both go through the canvas's own
  // close question.
  void closingTheActiveCharacter()
  {
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    openDocuments(window, {"a.sk", "b.sk"}, {1});
    QVERIFY(window.mdiArea->tabsClosable());
    PromptRecorder recorder;
    recorder.buttons = {QMessageBox::Cancel, QMessageBox::Discard};
    window.mdiArea->setActiveSubWindow(window.mdiArea->subWindowList()[1]);
    QTest::keyClick(&window, Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(recorder.kinds(), QStringList({"box"}));
    QCOMPARE(canvases(window).size(), 2);
    QTest::keyClick(&window, Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(recorder.kinds(), QStringList({"box", "box"}));
    QCOMPARE(canvases(window).size(), 1);
    QCOMPARE(canvases(window)[0]->name(), QString("a"));
  }
};

SK_TEST_MAIN(TestSaveClose)
#include "test_saveclose.moc"
