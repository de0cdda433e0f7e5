#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"

#include "batch/QSaveWindow.h"
#include "batch/SaveMassSystem.h"
#include "canvas/QLayerListSelectable.h"
#include "core/IniSettings.h"
#include "model/CharacterData.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

// An XP sheet of 4 x 2 cells; element e paints pixel 0 of every cell in its
// own colour.
CharacterData character(const std::vector<std::string>& sources, const std::vector<bool>& hidden = {})
{
  CharacterData doc(XP, QSize(16, 8));
  for (std::size_t e = 0; e < sources.size(); ++e) {
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(kBlankPixel);
    image.setPixel(0, 0, 0xFF000000u | QRgb(0x203040 * (e + 1)));
    doc.images().push_back(std::vector<QImage>(16, image));
    doc.offsets().push_back(std::vector<QPoint>(16));
    doc.names().push_back("e");
    doc.sources().push_back(sources[e]);
    doc.visibility().push_back(e >= hidden.size() || !hidden[e]);
  }
  return doc;
}

QPushButton* button(QWidget& w, const QString& text)
{
  for (QPushButton* b : w.findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}

QLayerListSelectable* list(QWidget& w, int which)
{
  auto lists = w.findChildren<QLayerListSelectable*>();
  return lists[0]->group() < lists[1]->group() ? lists[which] : lists[1 - which];
}

// Moves the entry shown at position p of the element list to the save list.
void add(QSaveWindow& w, int p)
{
  QLayerListSelectable* from = list(w, 0);
  QTest::mouseClick(from, Qt::LeftButton, {}, from->listGeometry().hitBox(p).center());
  QVERIFY(button(w, "Ajouter")->isEnabled());
  button(w, "Ajouter")->click();
}

void remember(const QString& folder) { IniSettings().setValue("Path", "pathSaveMassSKChar", folder); }

QStringList files(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

} // namespace

class TestQSaveWindow : public QObject
{
  Q_OBJECT

private slots:
  void hiddenElements()
  {
    QTemporaryDir dir;
    remember(dir.path());
    CharacterData doc = character({"a", "b", "c", "d", "e"}, {false, true});
    QSaveWindow w(&doc, "", "p");
    QCOMPARE(list(w, 0)->entryCount(), 4);
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), false);
    add(w, 2);
    QVERIFY(button(w, "Enregistrer")->isEnabled() && !button(w, "Ajouter")->isEnabled());
    w.show();
    button(w, "Enregistrer")->click();
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(files(dir.path()).size(), 18);
    QVERIFY(QFile::exists(dir.path() + "/p2_340.png"));

    CharacterData none = character({"a", "b"}, {true, true});
    QSaveWindow empty(&none, "", "p");
    QTest::mouseClick(list(empty, 0), Qt::LeftButton, {}, list(empty, 0)->listGeometry().hitBox(0).center());
    QCOMPARE(list(empty, 0)->entryCount() + list(empty, 1)->entryCount(), 0);
    QVERIFY(!button(empty, "Ajouter")->isEnabled());
  }

  void folderAndSettings_data()
  {
    QTest::addColumn<QString>("saved"); // "home" no key, "gone" a deleted folder, else kept
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no key") << "home" << "/f" << QDir::homePath();
    QTest::newRow("saved") << QDir::tempPath() << "/f" << QDir::tempPath();
    QTest::newRow("deleted") << "/gone/away" << "/f" << "/f";
    QTest::newRow("never saved") << "/gone/away" << "" << "";
  }
  void folderAndSettings()
  {
    QFETCH(QString, saved);
    QFETCH(QString, fallback);
    QFETCH(QString, shown);
    QFile("sorvelkit.ini").resize(0);
    if (saved != "home")
      remember(saved);
    CharacterData doc = character({"a"});
    QSaveWindow w(&doc, fallback, "p");
    QLineEdit* folder = w.findChildren<QLineEdit*>()[0];
    QCOMPARE(folder->text(), shown);
    add(w, 0);
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), !shown.isEmpty());
    PromptRecorder prompts;
    prompts.files = {"", "/chosen"};
    button(w, "Parcourir")->click();
    QCOMPARE(folder->text(), shown);
    QString stored = "none";
    IniSettings().getValue("pathSaveMassSKChar", stored);
    QCOMPARE(stored, saved == "home" ? QString("none") : saved);
    button(w, "Parcourir")->click();
    QCOMPARE(prompts.titles(), (QStringList{"Choisir un dossier", "Choisir un dossier"}));
    QVERIFY(folder->text() == "/chosen" && button(w, "Enregistrer")->isEnabled());
    IniSettings().getValue("pathSaveMassSKChar", stored);
    QCOMPARE(stored, QString("/chosen"));
  }

  void grouping_data()
  {
    QTest::addColumn<std::vector<std::string>>("sources");
    QTest::addColumn<int>("shown"); // opening entries
    QTest::addColumn<bool>("toggle");
    QTest::newRow("one load") << std::vector<std::string>{"a.png", "l.elsk?0_7", "l.elsk?1_7"} << 2 << true;
    QTest::newRow("two loads") << std::vector<std::string>{"l.elsk?0_7", "l.elsk?1_7", "l.elsk?0_8"} << 2 << true;
    QTest::newRow("identical") << std::vector<std::string>{"l.elsk?0_7", "l.elsk?0_7"} << 2 << false;
    QTest::newRow("no pair") << std::vector<std::string>{"a.png", "l.elsk?0_7"} << 2 << false;
    QTest::newRow("reordered") << std::vector<std::string>{"l.elsk?2_7", "x.png", "l.elsk?0_7", "l.elsk?1_7"} << 2
                               << true;
  }
  void grouping()
  {
    QFETCH(std::vector<std::string>, sources);
    QFETCH(int, shown);
    QFETCH(bool, toggle);
    remember(QDir::tempPath());
    CharacterData doc = character(sources);
    QSaveWindow w(&doc, "", "p");
    QCOMPARE(list(w, 0)->entryCount(), shown);
    QPushButton* group = button(w, "Dégrouper les éléments ELSK");
    QCOMPARE(group != nullptr, toggle);
    QCOMPARE(w.findChildren<QPushButton*>().size(), toggle ? 6 : 5);
    if (!toggle)
      return;
    CharacterData* opening = list(w, 0)->characterData();
    if (QTest::currentDataTag() == QString("reordered")) {
      // Merged as numbers 0, 1, 2: the last laid, element 0, covers the pixel.
      QCOMPARE(opening->sources(), (std::vector<std::string>{"x.png|1", "l.elsk?0_7"}));
      QCOMPARE(opening->images()[1][0].pixel(0, 0), 0xFF203040u);
    }
    add(w, 0);
    group->click();
    QCOMPARE(group->text(), QString("Grouper les éléments ELSK"));
    QCOMPARE(list(w, 0)->entryCount(), int(sources.size()));
    QCOMPARE(list(w, 1)->entryCount(), 0);
    for (const char* b : {"Ajouter", "Enlever", "Enregistrer"})
      QVERIFY(!button(w, b)->isEnabled());
    group->click();
    QVERIFY(list(w, 0)->characterData() == opening && list(w, 0)->entryCount() == shown);
  }

  void groupedSave()
  {
    QTemporaryDir dir;
    remember(dir.path());
    CharacterData doc = character({"a.png", "l.elsk?1_7", "l.elsk?2_7", "l.elsk?3_7", "b.png"});
    QSaveWindow w(&doc, "", "");
    w.findChild<QSpinBox*>()->setValue(120);
    for (int i = 0; i < 3; ++i)
      add(w, 0);
    w.show();
    button(w, "Enregistrer")->click();
    auto* worker = w.findChild<SaveMassSystem*>();
    QVERIFY(worker && worker->grouped());
    QCOMPARE(worker->elementIds(), (std::vector<int>{0, 4}));
    QCOMPARE(worker->groupIds(), std::vector<int>{7});
    QCOMPARE(worker->fileParts(), QStringList{"l.elsk"});
    QCOMPARE(worker->document().elementCount(), 5);
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(files(dir.path()), (QStringList{"0_0.png", "0_120.png", "0_240.png", "3_0.png", "3_120.png",
                                             "3_240.png", "4_0.png", "4_120.png", "4_240.png"}));
  }

  void starting_data()
  {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("sub"); // the folder under the temporary one
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the replacement warning
    QTest::addColumn<int>("written");
    QTest::addColumn<QString>("message");
    QTest::newRow("declined") << "p" << "" << QMessageBox::Cancel << 1 << "";
    QTest::newRow("accepted") << "p" << "" << QMessageBox::Apply << 18 << "";
    QTest::newRow("prefix") << "../x" << "" << QMessageBox::Apply << 1
                            << "Le nom ne doit pas contenir les caractères : \\ / : * ? \" < > |.";
    QTest::newRow("unwritable") << "p" << "/file/sub" << QMessageBox::Apply << 1
                                << "Certains fichiers n'ont pas pu être enregistrés.";
  }
  void starting()
  {
    QFETCH(QString, prefix);
    QFETCH(QString, sub);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, written);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile(dir.path() + (sub.isEmpty() ? "/p0_20.png" : "/file")).open(QIODevice::WriteOnly);
    remember("/gone"); // the field shows the folder given
    CharacterData doc = character({"a"});
    QSaveWindow w(&doc, dir.path() + sub, prefix);
    w.show();
    add(w, 0);
    PromptRecorder recorder;
    recorder.buttons = {answer};
    bool openAtMessage = false;
    auto note = prompts().message;
    prompts().message = [&](QWidget* p, QMessageBox::Icon i, const QString& t, const QString& x, const QString& d) {
      openAtMessage = w.isVisible();
      note(p, i, t, x, d);
    };
    button(w, "Enregistrer")->click();
    auto* progress = w.findChild<QDialog*>();
    const bool started = progress != nullptr;
    QCOMPARE(started, written == 18 || !sub.isEmpty());
    QCOMPARE(w.isEnabled(), !started);
    if (started) {
      QVERIFY(progress->isModal() && progress->isVisible());
      QCOMPARE(progress->windowTitle(), QString("Enregistrement en cours..."));
      QCOMPARE(progress->findChild<QProgressBar*>()->size(), QSize(300, 30));
      QTRY_VERIFY(!w.isVisible());
      QVERIFY(!progress->isVisible());
      QCOMPARE(progress->findChild<QProgressBar*>()->value(), 100);
      QCOMPARE(progress->findChild<QLabel*>()->text(), QString("Enregistrements finis"));
    } else {
      QVERIFY(w.isVisible() && list(w, 1)->entryCount() == 1);
    }
    QCOMPARE(files(dir.path()).size(), written);
    QStringList shown;
    for (const auto& a : recorder.asked)
      if (a.kind == "message")
        shown << a.title + ": " + a.text;
    QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{"Erreur: " + message});
    if (!sub.isEmpty()) {
      QVERIFY(openAtMessage);
      QVERIFY(recorder.asked.last().details.startsWith(
          "Liste des fichiers qui n'ont pas pu être enregistrés :\n- p0_0.png\n- p0_20.png\n"));
      QCOMPARE(recorder.asked.last().details.count("\n- "), 18);
    }
  }
};

SK_TEST_MAIN(TestQSaveWindow)
#include "test_qsavewindow.moc"
