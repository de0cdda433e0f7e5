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

using Sources = std::vector<std::string>;

namespace {

// Element e is all of one colour; a source starting with "~" hides it.
CharacterData character(const Sources& sources)
{
  CharacterData doc(XP, QSize(16, 8));
  for (std::size_t e = 0; e < sources.size(); ++e) {
    QImage sheet(16, 8, QImage::Format_ARGB32);
    sheet.fill(0xFF000000u | QRgb(0x203040 * (e + 1)));
    doc.addElementFromImage(sheet, sources[e]);
    doc.visibility()[e] = sources[e][0] != '~';
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

// 0 the element list, 1 the save list.
QLayerListSelectable* list(QWidget& w, int which)
{
  auto lists = w.findChildren<QLayerListSelectable*>();
  return lists[(lists[0]->group() > lists[1]->group()) != bool(which)];
}

// Picks the entry at position p of the element list, then "Ajouter".
void add(QSaveWindow& w, int p)
{
  QTest::mouseClick(list(w, 0), Qt::LeftButton, {}, list(w, 0)->listGeometry().hitBox(p).center());
  button(w, "Ajouter")->click();
}

void remember(const QString& folder) { IniSettings().setValue("Path", "pathSaveMassSKChar", folder); }

} // namespace

class TestQSaveWindow : public QObject
{
  Q_OBJECT

private slots:
  void folderAndSettings_data()
  {
    QTest::addColumn<QString>("saved"); // "" no key
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no key") << "" << "/f" << QDir::homePath();
    QTest::newRow("saved") << QDir::tempPath() << "/f" << QDir::tempPath();
    QTest::newRow("deleted") << "/gone" << "/f" << "/f";
    QTest::newRow("never saved") << "/gone" << "" << "";
  }
  void folderAndSettings()
  {
    QFETCH(QString, saved);
    QFETCH(QString, fallback);
    QFETCH(QString, shown);
    QFile("sorvelkit.ini").resize(0);
    if (!saved.isEmpty())
      remember(saved);
    CharacterData doc = character({"a"});
    QSaveWindow w(&doc, fallback, "p");
    QCOMPARE(w.findChild<QLineEdit*>()->text(), shown);
    add(w, 0);
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), !shown.isEmpty());
    PromptRecorder prompts;
    prompts.files = {"", "/chosen"}; // cancelled, then chosen
    for (const QString& after : {saved.isEmpty() ? "none" : saved, QString("/chosen")}) {
      button(w, "Parcourir")->click();
      QString stored = "none";
      IniSettings().getValue("pathSaveMassSKChar", stored);
      QCOMPARE(stored, after);
      QCOMPARE(w.findChild<QLineEdit*>()->text(), after == "/chosen" ? after : shown);
    }
    QVERIFY(prompts.titles().last() == "Choisir un dossier" && button(w, "Enregistrer")->isEnabled());
  }

  void grouping_data()
  {
    QTest::addColumn<Sources>("sources");
    QTest::addColumn<Sources>("opening"); // what the lists show
    QTest::newRow("one load") << Sources{"a", "l?0_7", "l?1_7"} << Sources{"a|0", "l?0_7"};
    QTest::newRow("two loads") << Sources{"l?0_7", "l?1_7", "l?0_8"} << Sources{"l?0_7", "l?0_8"};
    QTest::newRow("identical") << Sources{"l?0_7", "l?0_7"} << Sources{"l?0_7", "l?0_7"};
    QTest::newRow("no pair") << Sources{"a", "~l?1_7", "l?0_7"} << Sources{"a", "l?0_7"};
    QTest::newRow("all hidden") << Sources{"~a", "~b"} << Sources{};
    // Laid as numbers 0, 1, 2: element 0, last, covers the others.
    QTest::newRow("reordered") << Sources{"l?2_7", "x", "l?0_7", "l?1_7"} << Sources{"x|1", "l?0_7"};
  }
  void grouping()
  {
    QFETCH(Sources, sources);
    QFETCH(Sources, opening);
    remember(QDir::tempPath());
    CharacterData doc = character(sources);
    QSaveWindow w(&doc, "", "p");
    CharacterData* shown = list(w, 0)->characterData();
    QVERIFY(shown->sources() == opening && list(w, 0)->entryCount() == int(opening.size()));
    QPushButton* group = button(w, "Dégrouper les éléments ELSK");
    QCOMPARE(w.findChildren<QPushButton*>().size(), group ? 6 : 5);
    if (QTest::currentDataTag() == QString("reordered"))
      QCOMPARE(shown->images()[1][0].pixel(0, 0), 0xFF203040u);
    add(w, 0);
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), !opening.empty());
    if (!group)
      return;
    group->click();
    QVERIFY(group->text() == "Grouper les éléments ELSK" && list(w, 1)->entryCount() == 0);
    QCOMPARE(list(w, 0)->entryCount(), int(sources.size()));
    for (const char* b : {"Ajouter", "Enlever", "Enregistrer"})
      QVERIFY(!button(w, b)->isEnabled());
    group->click();
    QVERIFY(list(w, 0)->characterData() == shown && list(w, 0)->entryCount() == int(opening.size()));
  }

  void groupedSave()
  {
    QTemporaryDir dir;
    remember(dir.path());
    CharacterData doc = character({"a", "l?1_7", "l?2_7", "l?3_7", "b"});
    QSaveWindow w(&doc, "", "");
    w.findChild<QSpinBox*>()->setValue(120);
    for (int i = 0; i < 3; ++i)
      add(w, 0);
    w.show();
    button(w, "Enregistrer")->click();
    auto* worker = w.findChild<SaveMassSystem*>();
    QVERIFY(worker->grouped() && worker->document().sources() == (Sources{"a|0", "l?1_7", "l?2_7", "l?3_7", "b|4"}));
    QVERIFY(worker->elementIds() == (std::vector<int>{0, 4}) && worker->groupIds() == std::vector<int>{7});
    QCOMPARE(worker->fileParts(), QStringList{"l"});
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).join(' '),
             QString("0_0.png 0_120.png 0_240.png 3_0.png 3_120.png 3_240.png 4_0.png 4_120.png 4_240.png"));
  }

  // Element 1 is hidden: the old element 3, at position 2, saves as 2.
  void starting_data()
  {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("sub"); // the folder under the temporary one
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the replacement warning
    QTest::addColumn<QString>("message");
    QTest::newRow("declined") << "p" << "" << QMessageBox::Cancel << "";
    QTest::newRow("accepted") << "p" << "" << QMessageBox::Apply << "";
    QTest::newRow("prefix") << "../x" << "" << QMessageBox::Apply
                            << "Le nom ne doit pas contenir les caractères : \\ / : * ? \" < > |.";
    QTest::newRow("unwritable") << "p" << "/file/sub" << QMessageBox::Apply
                                << "Certains fichiers n'ont pas pu être enregistrés.";
  }
  void starting()
  {
    QFETCH(QString, prefix);
    QFETCH(QString, sub);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile(dir.path() + (sub.isEmpty() ? "/p2_20.png" : "/file")).open(QIODevice::WriteOnly);
    remember("/gone"); // the field shows the folder given
    CharacterData doc = character({"a", "~b", "c", "d", "e"});
    QSaveWindow w(&doc, dir.path() + sub, prefix);
    w.show();
    add(w, 2);
    PromptRecorder recorder;
    recorder.buttons = {answer};
    QString shown, details;
    prompts().message = [&](QWidget*, QMessageBox::Icon, const QString& t, const QString& x, const QString& d) {
      shown = t + ": " + x + (w.isVisible() ? "" : " (closed)");
      details = d;
    };
    button(w, "Enregistrer")->click();
    auto* progress = w.findChild<QDialog*>();
    const bool all = QTest::currentDataTag() == QString("accepted"), started = all || !sub.isEmpty();
    QVERIFY((progress != nullptr) == started && w.isEnabled() != started);
    if (started) {
      QVERIFY(progress->isModal() && progress->isVisible() && progress->windowTitle() == "Enregistrement en cours...");
      QCOMPARE(progress->findChild<QProgressBar*>()->size(), QSize(300, 30));
      QTRY_VERIFY(!w.isVisible());
      QVERIFY(!progress->isVisible() && progress->findChild<QProgressBar*>()->value() == 100);
      QCOMPARE(progress->findChild<QLabel*>()->text(), QString("Enregistrements finis"));
    }
    QVERIFY(w.isVisible() != started && list(w, 1)->entryCount() == 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), all ? 18 : 1);
    QVERIFY(!all || QFile::exists(dir.path() + "/p2_340.png"));
    QCOMPARE(shown, message.isEmpty() ? "" : "Erreur: " + message);
    QVERIFY(sub.isEmpty() || (details.startsWith("Liste des fichiers qui n'ont pas pu être enregistrés :\n- p2_0.png\n- "
                                                 "p2_20.png\n") && details.count("\n- ") == 18));
  }
};

SK_TEST_MAIN(TestQSaveWindow)
#include "test_qsavewindow.moc"
