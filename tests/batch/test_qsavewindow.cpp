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

QString stored()
{
  QString folder = "none";
  IniSettings().getValue("pathSaveMassSKChar", folder);
  return folder;
}

} // namespace

class TestQSaveWindow : public QObject
{
  Q_OBJECT

private slots:
  void opening_data()
  {
    QTest::addColumn<Sources>("sources");
    QTest::addColumn<QString>("saved"); // "none": no key
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("folder"); // shown
    QTest::addColumn<Sources>("listed"); // by the lists at opening
    const QString temp = QDir::tempPath();
    QTest::newRow("no key") << Sources{"a"} << "none" << "/f" << QDir::homePath() << Sources{"a"};
    QTest::newRow("saved") << Sources{"a"} << temp << "/f" << temp << Sources{"a"};
    QTest::newRow("deleted") << Sources{"a"} << "/gone" << "/f" << "/f" << Sources{"a"};
    QTest::newRow("never saved") << Sources{"a"} << "/gone" << "" << "" << Sources{"a"};
    QTest::newRow("one load") << Sources{"a", "l?0_7", "l?1_7"} << temp << "" << temp << Sources{"a|0", "l?0_7"};
    QTest::newRow("two loads") << Sources{"l?0_7", "l?1_7", "l?0_8"} << temp << "" << temp << Sources{"l?0_7", "l?0_8"};
    QTest::newRow("identical") << Sources{"l?0_7", "l?0_7"} << temp << "" << temp << Sources{"l?0_7", "l?0_7"};
    QTest::newRow("no pair") << Sources{"a", "~l?1_7", "l?0_7"} << temp << "" << temp << Sources{"a", "l?0_7"};
    QTest::newRow("all hidden") << Sources{"~a", "~b"} << temp << "" << temp << Sources{};
    // Laid as numbers 0, 1, 2: element 0, last, covers the others.
    QTest::newRow("reordered") << Sources{"l?2_7", "x", "l?0_7", "l?1_7"} << temp << "" << temp
                               << Sources{"x|1", "l?0_7"};
  }
  void opening()
  {
    QFETCH(Sources, sources);
    QFETCH(QString, saved);
    QFETCH(QString, fallback);
    QFETCH(QString, folder);
    QFETCH(Sources, listed);
    QFile("sorvelkit.ini").resize(0);
    if (saved != "none")
      IniSettings().setValue("Path", "pathSaveMassSKChar", saved);
    CharacterData doc = character(sources);
    QSaveWindow w(&doc, fallback, "p");
    CharacterData* shown = list(w, 0)->characterData();
    QVERIFY(shown->sources() == listed && list(w, 0)->entryCount() == int(listed.size()));
    QCOMPARE(w.findChild<QLineEdit*>()->text(), folder);
    QPushButton* group = button(w, "Dégrouper les éléments ELSK");
    if (QTest::currentDataTag() == QString("reordered"))
      QCOMPARE(shown->images()[1][0].pixel(0, 0), 0xFF203040u);
    add(w, 0);
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), !listed.empty() && !folder.isEmpty());
    PromptRecorder prompts;
    prompts.files = {"", "/chosen"}; // cancelled, then chosen
    button(w, "Parcourir")->click();
    QVERIFY(w.findChild<QLineEdit*>()->text() == folder && stored() == saved);
    button(w, "Parcourir")->click();
    QVERIFY(w.findChild<QLineEdit*>()->text() == "/chosen" && stored() == "/chosen");
    QVERIFY(prompts.titles().last() == "Choisir un dossier");
    QCOMPARE(button(w, "Enregistrer")->isEnabled(), !listed.empty());
    if (!group)
      return;
    group->click();
    QVERIFY(group->text() == "Grouper les éléments ELSK" && list(w, 1)->entryCount() == 0);
    QCOMPARE(list(w, 0)->entryCount(), int(sources.size()));
    for (const char* b : {"Ajouter", "Enlever", "Enregistrer"})
      QVERIFY(!button(w, b)->isEnabled());
    group->click();
    QVERIFY(list(w, 0)->characterData() == shown && list(w, 0)->entryCount() == int(listed.size()));
  }

  // Element 1 is hidden in the plain rows: the old element 3, at position 2,
  // saves as 2. The grouped row saves all three entries.
  void saving_data()
  {
    QTest::addColumn<Sources>("sources");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("sub"); // the folder under the temporary one
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the replacement warning
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("message");
    const Sources plain{"a", "~b", "c", "d", "e"};
    QTest::newRow("declined") << plain << "p" << "" << QMessageBox::Cancel << 1 << "";
    QTest::newRow("accepted") << plain << "p" << "" << QMessageBox::Apply << 18 << "";
    QTest::newRow("prefix") << plain << "../x" << "" << QMessageBox::Apply << 1
                            << "Le nom ne doit pas contenir les caractères : \\ / : * ? &quot; &lt; &gt; |.";
    QTest::newRow("unwritable") << plain << "p" << "/file/sub" << QMessageBox::Apply << 1
                                << "Certains fichiers n'ont pas pu être enregistrés.";
    QTest::newRow("grouped") << Sources{"a", "l?1_7", "l?2_7", "l?3_7", "b"} << "p" << "" << QMessageBox::Apply
                             << 55 << "";
  }
  void saving()
  {
    QFETCH(Sources, sources);
    QFETCH(QString, prefix);
    QFETCH(QString, sub);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, files);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile(dir.path() + (sub.isEmpty() ? "/p2_20.png" : "/file")).open(QIODevice::WriteOnly);
    IniSettings().setValue("Path", "pathSaveMassSKChar", QString("/gone")); // the field shows the folder given
    CharacterData doc = character(sources);
    QSaveWindow w(&doc, dir.path() + sub, prefix);
    w.show();
    const bool grouped = sources[1][0] == 'l';
    for (int i = 0; i < (grouped ? 3 : 1); ++i)
      add(w, grouped ? 0 : 2);
    PromptRecorder recorder;
    recorder.buttons = {answer};
    QString shown, details;
    prompts().message = [&](QWidget*, QMessageBox::Icon, const QString& t, const QString& x, const QString& d) {
      shown = t + ": " + x + (w.isVisible() ? "" : " (closed)");
      details = d;
    };
    button(w, "Enregistrer")->click();
    auto* progress = w.findChild<QDialog*>();
    auto* worker = w.findChild<SaveMassSystem*>();
    const bool started = files > 1 || !sub.isEmpty();
    QVERIFY((progress != nullptr) == started && (worker != nullptr) == started && w.isEnabled() != started);
    QVERIFY(!grouped || (worker->document().sources() == Sources{"a|0", "l?1_7", "l?2_7", "l?3_7", "b|4"} &&
                         worker->elementIds() == std::vector<int>{0, 4} && worker->groupIds() == std::vector<int>{7} &&
                         worker->fileParts() == QStringList{"l"}));
    if (started) {
      QVERIFY(progress->isModal() && progress->isVisible() && progress->windowTitle() == "Enregistrement en cours...");
      QCOMPARE(progress->findChild<QProgressBar*>()->size(), QSize(300, 30));
      // Until the run has ended and reported, the dialog stays; Escape only hides the progress.
      w.reject();
      w.close();
      QTest::keyClick(&w, Qt::Key_Escape);
      QTest::keyClick(progress, Qt::Key_Escape);
      QVERIFY(w.isVisible() && !w.isEnabled() && !progress->isVisible());
      QTRY_VERIFY(!w.isVisible());
      QVERIFY(!progress->isVisible() && progress->findChild<QProgressBar*>()->value() == 100);
      QCOMPARE(progress->findChild<QLabel*>()->text(), QString("Enregistrements finis"));
    }
    QVERIFY(w.isVisible() != started && list(w, 1)->entryCount() == (grouped ? 3 : 1));
    const QStringList written = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(written.size(), files);
    const char* last = files == 18 ? "p2_340.png" : files > 1 ? "p0_340.png p3_340.png p4_340.png" : "";
    QCOMPARE(written.filter("_340").join(' '), QString(last));
    QCOMPARE(shown, message.isEmpty() ? "" : "Erreur: " + message);
    QVERIFY(sub.isEmpty() || (details.startsWith("Liste des fichiers qui n'ont pas pu être enregistrés :\n- p2_0.png\n- "
                                                 "p2_20.png\n") && details.count("\n- ") == 18));
  }
};

SK_TEST_MAIN(TestQSaveWindow)
#include "test_qsavewindow.moc"
