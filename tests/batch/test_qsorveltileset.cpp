#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/Startup.h"
#include "batch/QSorvelTileset.h"
#include "batch/QTilesetView.h"
#include "batch/Sorveler.h"
#include "core/IniSettings.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

#include <sys/stat.h>
#include <thread>

namespace {

QString tileset(const QString& path, int height)
{
  QImage image(256, height, QImage::Format_ARGB32);
  image.fill(0x80FF0000u);
  image.save(path, "PNG");
  return path;
}

void click(QSorvelTileset& window, const QString& text)
{
  for (QPushButton* b : window.findChildren<QPushButton*>())
    if (b->text() == text)
      b->click();
}

// The text of a progress window, once it has closed.
QString endOf(QDialog* progress)
{
  if (!QTest::qWaitFor([&] { return !progress->isVisible(); }))
    return "still open";
  return progress->findChild<QLabel*>()->text() + " " + QString::number(progress->findChild<QProgressBar*>()->value());
}

QString stored(const char* key)
{
  QString value = "none";
  IniSettings().getValue(key, value);
  return value;
}

} // namespace

class TestSorvelTileset : public QObject
{
  Q_OBJECT

private slots:
  void mergeWarnsAboutUnreadableFilesThenSucceeds()
  {
    PromptRecorder recorder;
    QSorvelTileset window;
    window.show();
    QPushButton* merge = nullptr;
    for (QPushButton* b : window.findChildren<QPushButton*>())
      if (b->text() == "Sorvelner >")
        merge = b;
    QVERIFY(merge && !merge->isEnabled());
    click(window, "Ajouter un tileset"); // cancelled
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());
    QVERIFY(QDir().mkpath("in") && QDir().mkpath("out?"));
    recorder.files = {tileset("in/a.png", 16), tileset("in/b.png", 8) + "\n" + tileset("in/c.png", 4)};
    click(window, "Ajouter un tileset");
    QVERIFY(!merge->isEnabled());
    click(window, "Ajouter un tileset");
    QVERIFY(merge->isEnabled());
    writeAll("in/b.png", "damaged");
    recorder.files = {"out?/t.png"};
    click(window, "Sorvelner >");
    QCOMPARE(endOf(window.findChild<QDialog*>()), "Sorvel finie 100");
    QVERIFY(!window.isVisible());
    QCOMPARE(recorder.kinds(), QStringList({"openMany", "openMany", "openMany", "save", "message", "message"}));
    QCOMPARE(recorder.asked[1].title + "|" + recorder.asked[1].filter,
             "Choisir les tilesets à sorvelner|Images (*.png *.gif *.jpg *.jpeg)");
    QCOMPARE(recorder.asked[3].title + "|" + recorder.asked[3].filter,
             "Choisir l'emplacement du nouveau tileset|Images (*.png)");
    QCOMPARE(recorder.asked[4].icon, int(QMessageBox::Warning));
    QCOMPARE(recorder.asked[4].title + "|" + recorder.asked[4].text + "|" + recorder.asked[4].details,
             "Sorvel|Certains fichiers n'ont pas pu être ouverts.|"
             "Liste des fichiers n'ayant pu être ouverts :\n- in/b.png");
    QCOMPARE(recorder.asked[5].title + "|" + recorder.asked[5].text, "Sorvel|Sorvel effectuée !");
    QCOMPARE(QImage("out?/t.png").size(), QSize(256, 20));
    QCOMPARE(stored("pathSelectTilesetSorvel"), "in");
    QCOMPARE(stored("pathSaveTilesetSorvel"), "none");
  }

  void nothingWrittenIsReported_data()
  {
    QTest::addColumn<bool>("readable");
    QTest::newRow("every input unreadable") << false;
    QTest::newRow("write fails") << true;
  }
  void nothingWrittenIsReported()
  {
    QFETCH(bool, readable);
    PromptRecorder recorder;
    QSorvelTileset window;
    const QStringList inputs{tileset("a.png", 64), tileset("b.png", 64)};
    window.findChild<QTilesetView*>()->addFiles(inputs);
    writeAll("t.png", "old");
    if (!readable) {
      QFile::remove("t.png");
      for (const QString& path : inputs)
        writeAll(path, "damaged");
    }
    QString end;
    withFileSizeLimit(40, [&] {
      window.beginSorvel("t.png");
      end = endOf(window.findChild<QDialog*>());
    });
    QCOMPARE(end, "Sorvel finie 100");
    QCOMPARE(recorder.asked.last().icon, int(QMessageBox::Critical));
    QCOMPARE(recorder.asked.last().title + "|" + recorder.asked.last().text,
             "Sorvel|Impossible d'enregistrer le fichier :<br />t.png.");
    QCOMPARE(recorder.asked.size(), readable ? 1 : 2);
    if (!readable)
      QCOMPARE(recorder.asked.first().details, "Liste des fichiers n'ayant pu être ouverts :\n- a.png\n- b.png");
    QCOMPARE(readAll("t.png"), QByteArray(readable ? "old" : ""));
    QCOMPARE(QFile::exists("t.png"), readable);
  }

  // The first merge waits on a pipe while the list changes and a second
  // merge runs to its end; the exit wait then lets the first one finish.
  void mergesKeepTheirListAndWindowAndFinishBeforeTheExit()
  {
    PromptRecorder recorder;
    auto* window = new QSorvelTileset;
    window->show();
    QTilesetView* view = window->findChild<QTilesetView*>();
    view->addFiles({tileset("a.png", 16), tileset("p.png", 8)});
    QTest::mouseClick(view, Qt::LeftButton, {}, view->cellRect(1).center()); // before the preview would block
    const QByteArray pipeBytes = readAll("p.png");
    QVERIFY(QFile::remove("p.png"));
    QCOMPARE(mkfifo("p.png", 0600), 0);
    std::thread feed;
    auto unblock = qScopeGuard([&] { // a failed check must not leave the decoding on the pipe
      if (!feed.joinable())
        writeAll("p.png", pipeBytes);
      else
        feed.join();
    });
    window->beginSorvel("one.png");
    QDialog* first = window->findChild<QDialog*>();
    view->aSupprimer();
    view->addFiles({tileset("c.png", 4)});
    window->beginSorvel("two.png");
    QDialog* second = window->findChildren<QDialog*>().last();
    QVERIFY(second != first);
    QCOMPARE(endOf(second), "Sorvel finie 100");
    QVERIFY(first->isVisible());
    QCOMPARE(first->findChild<QLabel*>()->text(), "Ouverture de : p.png");
    feed = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      writeAll("p.png", pipeBytes);
    });
    waitForWorkers();
    QVERIFY(first->findChild<Sorveler*>()->isFinished());
    QCOMPARE(endOf(first), "Sorvel finie 100");
    QCOMPARE(QImage("one.png").size(), QSize(256, 24));
    QCOMPARE(QImage("two.png").size(), QSize(256, 20));
    delete window;
  }
};

SK_TEST_MAIN(TestSorvelTileset)

#include "test_qsorveltileset.moc"
