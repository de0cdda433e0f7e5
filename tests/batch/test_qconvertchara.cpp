#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "batch/Converter.h"
#include "batch/QConvertChara.h"
#include "core/IniSettings.h"
#include "widgets/QComboWidget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <QThread>

#include <atomic>

namespace {

QPushButton* button(QWidget* window, const QString& text)
{
  for (QPushButton* b : window->findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}

QDialog* step(QConvertChara& wizard) { return wizard.findChildren<QDialog*>(Qt::FindDirectChildrenOnly).last(); }

// A new step 2 with the chooser's answer taken and the direction set.
QDialog* stepTwo(QConvertChara& wizard, PromptRecorder& recorder, const QString& answer, int direction = 0)
{
  button(&wizard, "Suivant")->click();
  recorder.files.push_back(answer);
  button(step(wizard), "Parcourir")->click();
  step(wizard)->findChild<QComboBox*>()->setCurrentIndex(direction);
  return step(wizard);
}

QString sheet(const QString& path)
{
  QImage image(128, 192, QImage::Format_ARGB32);
  image.fill(0xFF336699);
  return image.save(path, "PNG") ? path : QString();
}

void finishRuns(QConvertChara& wizard)
{
  for (Converter* worker : wizard.findChildren<Converter*>())
    worker->wait();
  QCoreApplication::processEvents();
}

} // namespace

class TestQConvertChara : public QObject
{
  Q_OBJECT

private slots:
  // stored: the files key, then the folder key.
  void choosing_data()
  {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("two files") << 0 << "/x/y/a.png\n/x/y/b.png" << "a.png, b.png" << "/x/y -";
    QTest::newRow("folder") << 1 << "/x/z" << "/x/z" << "- /x/z";
    QTest::newRow("folder with ?") << 1 << "/x/?" << "/x/?" << "- -";
    QTest::newRow("cancelled") << 0 << "" << "" << "- -";
  }
  void choosing()
  {
    QFETCH(int, mode);
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    writeAll("sorvelkit.ini", QByteArray());
    PromptRecorder recorder;
    QConvertChara wizard;
    wizard.findChildren<QRadioButton*>().at(mode)->setChecked(true);
    QDialog* two = stepTwo(wizard, recorder, answer);
    QCOMPARE(two->findChild<QLineEdit*>()->text(), shown);
    QCOMPARE(button(two, "Suivant")->isEnabled(), !shown.isEmpty());
    QString files = "-", folder = "-";
    IniSettings().getValue("pathSelectCharactersConvert", files);
    IniSettings().getValue("pathSelectDirectoryCharacterConvert", folder);
    QCOMPARE(files + " " + folder, stored);
    button(two, "Précédent")->click();
    button(&wizard, "Suivant")->click();
    QVERIFY(step(wizard) != two && !button(step(wizard), "Suivant")->isEnabled());
  }

  // The count question for VX sources (-1: closed), the replacement warning
  // when an output exists (answered by replace), then the run.
  void starting_data()
  {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("replace");
    QTest::addColumn<QStringList>("asked");
    for (int d = 0; d < 4; ++d)
      QTest::addRow("direction %d", d) << d << 0 << 0 << QStringList();
    QTest::newRow("VX eight") << 4 << 2 << 0 << QStringList{"dialog"};
    QTest::newRow("VX one") << 5 << 1 << 0 << QStringList{"dialog"};
    QTest::newRow("count closed") << 5 << -1 << 0 << QStringList{"dialog"};
    QTest::newRow("replace, cancel") << 3 << 0 << int(QMessageBox::Cancel) << QStringList{"box"};
    QTest::newRow("replace, apply") << 3 << 0 << int(QMessageBox::Apply) << QStringList{"box"};
  }
  void starting()
  {
    QFETCH(int, direction);
    QFETCH(int, count);
    QFETCH(int, replace);
    QFETCH(QStringList, asked);
    QTemporaryDir dir;
    const QString input = sheet(dir.path() + "/a.png");
    if (replace && QDir(dir.path()).mkdir("VX_CONVERSIONS"))
      sheet(dir.path() + "/VX_CONVERSIONS/$a.png");
    PromptRecorder recorder;
    recorder.dialogs.push_back([count](QDialog& d) { return static_cast<QComboWidget&>(d).chosenIndex = count; });
    recorder.buttons.push_back(QMessageBox::StandardButton(replace));
    QConvertChara wizard;
    QDialog* two = stepTwo(wizard, recorder, input, direction);
    recorder.asked.clear();
    button(two, "Suivant")->click();
    QCOMPARE(recorder.kinds(), asked);
    if (replace)
      QCOMPARE(recorder.asked.at(0).details, "Liste des fichiers qui seront remplacés après l'enregistrement :\n- "
                                                 + dir.path() + "/VX_CONVERSIONS/$a.png");
    Converter* worker = wizard.findChild<Converter*>();
    QCOMPARE(two->isVisible(), !worker);
    QCOMPARE(!worker, count == -1 || replace == QMessageBox::Cancel);
    if (!worker)
      return;
    QCOMPARE(worker->parent()->property("windowTitle").toString(), "Convertion de characters - Etape 3");
    QCOMPARE(QList<int>({worker->direction(), worker->sourceKind(), worker->characterCount()}),
             QList<int>({direction, 1, count}));
    finishRuns(wizard);
  }

  // The first run meets an unreadable input and an unwritable output; the
  // second's input is held by the worker's hook until the test lets it go;
  // the third's folder is gone.
  void runsReportToTheirOwnWindows()
  {
    QTemporaryDir first, second;
    const QString a = first.path() + "/a.png", late = second.path() + "/late.png", out = first.path() + "/VX_CONVERSIONS";
    writeAll(a, "not an image");
    QDir().mkpath(out + "/$b.png"); // a folder where the output goes
    static std::atomic<bool> held;
    held = true;
    Converter::inputHook = [late](const QString& path) {
      while (held && path == late)
        QThread::msleep(1);
    };
    auto release = qScopeGuard([] { held = false; Converter::inputHook = nullptr; });
    QVERIFY(!sheet(late).isEmpty());
    PromptRecorder recorder;
    QConvertChara wizard;
    button(stepTwo(wizard, recorder, a + "\n" + sheet(first.path() + "/b.png"), 3), "Suivant")->click();
    QDialog* one = step(wizard);
    button(stepTwo(wizard, recorder, late, 3), "Suivant")->click();
    QDialog* two = step(wizard);
    recorder.asked.clear();
    one->findChild<Converter*>()->wait();
    QTRY_VERIFY(!one->isVisible());
    QCOMPARE(one->findChild<QProgressBar*>()->value(), 100);
    QCOMPARE(one->findChild<QLabel*>()->text(), "Conversion(s) finie(s)");
    QTRY_COMPARE(two->findChild<QLabel*>()->text(), "Conversion de : " + late);
    QVERIFY(two->isVisible());
    held = false;
    finishRuns(wizard);
    QVERIFY(!two->isVisible());
    QCOMPARE(two->findChild<QLabel*>()->textFormat(), Qt::PlainText); // a path's markup shows as typed
    button(stepTwo(wizard, recorder, second.path() + "/gone/a.png", 3), "Suivant")->click();
    finishRuns(wizard);
    QStringList reports;
    for (const PromptRecorder::Asked& r : recorder.asked)
      if (r.kind == "message")
        reports << QString::number(r.icon) + " " + r.title + ": " + r.text + " | " + r.details;
    const QString done = "1 Conversion: Conversion effectuée. Les characters convertis sont dans : ";
    QCOMPARE(reports, QStringList({"2 Conversion: Certains fichiers n'ont pas pu être ouverts | Fichiers qui n'ont "
                                   "pas pu être ouverts :\n- " + a,
                                   "2 Conversion: Certains fichiers n'ont pas pu être enregistrés | Fichiers qui "
                                   "n'ont pas pu être enregistrés :\n- " + out + "/$b.png",
                                   done + out + " | ", done + second.path() + "/VX_CONVERSIONS | ",
                                   "3 Conversion: Impossible d'ouvrir le dossier : " + second.path() + "/gone/a.png | "}));
  }

  // Escape on the first step is its "Annuler", from a child that ignores the key.
  void escapeClosesTheFirstStep()
  {
    QConvertChara wizard;
    wizard.show();
    QTest::keyClick(wizard.findChild<QRadioButton*>(), Qt::Key_Escape);
    QVERIFY(!wizard.isVisible());
  }
};

SK_TEST_MAIN(TestQConvertChara)
#include "test_qconvertchara.moc"
