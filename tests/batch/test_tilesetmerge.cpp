#include "tests/KeyedPng.h"
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/Startup.h"
#include "batch/QSorvelTileset.h"
#include "batch/QTilesetView.h"
#include "batch/Sorveler.h"
#include "model/StreamImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>

#include <sys/stat.h>
#include <thread>

namespace {

// Every word of the first 300 columns differs; transparent ones keep colour
// bits.
QImage tileset(QSize size, int seed)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(0x80FF00FF);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < std::min(size.width(), 300); ++x) {
      const QRgb alpha = (x + y) % 3 == 0 ? 0x00 : (x + y) % 3 == 1 ? 0x80 : 0xFF;
      image.setPixel(x, y, alpha << 24 | QRgb((seed * 40 + x) & 0xFF) << 16 | QRgb(y & 0xFF) << 8 | QRgb(y >> 8));
    }
  return image;
}

// A valid PNG header of 256 x 600,000 rows, and no pixels after it.
QByteArray tallHeader()
{
  QImage image(256, 600000, QImage::Format_Mono);
  image.fill(0);
  QByteArray png;
  QBuffer buffer(&png);
  image.save(&buffer, "PNG");
  return png.left(png.indexOf("IDAT") + 4);
}

QString saved(const QString& path, int height)
{
  return tileset(QSize(256, height), 1).save(path, "PNG") ? path : QString();
}

// What a progress window shows once it has closed.
QString endOf(QDialog* progress)
{
  if (!QTest::qWaitFor([&] { return !progress->isVisible(); }))
    return "still open";
  return progress->findChild<QLabel*>()->text() + " " + QString::number(progress->findChild<QProgressBar*>()->value());
}

} // namespace

class TestTilesetMerge : public QObject
{
  Q_OBJECT

private slots:
  void stacksExactPixelsAndReportsInOrder_data()
  {
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QList<uint>>("progress");
    const QList<uint> one{0, 20, 25, 90}, three{0, 6, 13, 20, 25, 46, 68, 90};
    QTest::newRow("one tileset, word for word") << QList<QSize>{{256, 40}} << "out.png" << one;
    QTest::newRow("stacked in order") << QList<QSize>{{256, 1024}, {256, 512}, {256, 768}} << "out.png" << three;
    QTest::newRow("wider: left columns") << QList<QSize>{{512, 30}} << "out.png" << one;
    QTest::newRow("narrower: clear right columns") << QList<QSize>{{200, 30}, {256, 10}} << "out.png"
                                                   << QList<uint>{0, 10, 20, 25, 57, 90};
    QTest::newRow("unreadable between two") << QList<QSize>{{256, 20}, {}, {256, 12}} << "out.png" << three; // {}: no image
    QTest::newRow("8192 square") << QList<QSize>{{8192, 8192}, {100, 4}} << "out.png" << QList<uint>{0, 10, 20, 25, 57, 90};
    QTest::newRow("an input, no suffix") << QList<QSize>{{256, 8}, {256, 24}, {100, 4}} << "0" << three;
  }
  void stacksExactPixelsAndReportsInOrder()
  {
    QFETCH(QList<QSize>, sizes);
    QFETCH(QString, output);
    QFETCH(QList<uint>, progress);
    allowLargestImages(); // as the program's start-up does
    QStringList inputs, texts{"Création du nouveau tileset"}, unreadable, progressed, failed;
    std::vector<QImage> images;
    for (int i = 0; i < sizes.size(); ++i) {
      const QString path = inputs.emplace_back(QString::number(i));
      images.push_back(sizes[i].isEmpty() ? QImage() : tileset(sizes[i], i));
      if (images.back().isNull())
        unreadable << path;
      QVERIFY(images.back().isNull() ? QFile(path).open(QIODevice::WriteOnly) : images.back().save(path, "PNG"));
      texts.insert(i, "Ouverture de : " + path);
      texts << "Sorvel de : " + path;
    }
    texts << "Enregistrement du tileset";
    for (int i = 0; i < texts.size(); ++i)
      texts[i] = QString::number(progress[i]) + " " + texts[i];
    QTest::failOnWarning(QRegularExpression("."));
    Sorveler worker(inputs, output);
    connect(&worker, &Sorveler::changeProgress, &worker,
            [&](uint value, QString text) { progressed << QString::number(value) + " " + text; }, Qt::DirectConnection);
    connect(&worker, &Sorveler::finishThread, &worker, [&](QStringList info) { failed = info; }, Qt::DirectConnection);
    worker.start();
    worker.wait();
    QCOMPARE(progressed, texts);
    QCOMPARE(failed, unreadable);
    QCOMPARE(QImageReader(output).format(), QByteArray("png"));
    const QImage merged(output);
    int top = 0;
    for (const QImage& image : images) {
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 256; ++x)
          QCOMPARE(merged.pixel(x, top + y), x < image.width() ? image.pixel(x, y) : 0u);
      top += image.height();
    }
    QCOMPARE(merged.size(), QSize(256, top));
  }

  void keyedSixteenBitTilesetMergesClear()
  {
    writeAll("keyed.png", keyedRgb48Png());
    Sorveler worker({"keyed.png"}, "out.png");
    worker.start();
    worker.wait();
    QCOMPARE(QImage("out.png").convertToFormat(QImage::Format_ARGB32).copy(0, 0, 7, 5), keyedTwin());
  }

  void mergeEndsWithItsReport_data()
  {
    QTest::addColumn<QStringList>("damaged");
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<bool>("tall");
    QTest::addColumn<QStringList>("report");
    const QString open = "openMany|Choisir les tilesets à sorvelner|Images (*.png *.gif *.jpg *.jpeg)||0";
    const QStringList asked{open, open, open, "save|Choisir l'emplacement du nouveau tileset|Images (*.png)||0"};
    const QString warning = "message|Sorvel|Certains fichiers n'ont pas pu être ouverts.|"
                            "Liste des fichiers n'ayant pu être ouverts :\n- ";
    const QString unwritten = "message|Sorvel|Impossible d'enregistrer le fichier :<br />out?/x&lt;y.png.||3";
    QTest::newRow("unreadable between two") << QStringList{"in/b.png"} << 0 << false
                                            << asked + QStringList{warning + "in/b.png|2", "message|Sorvel|Sorvel effectuée !||1"};
    QTest::newRow("every input unreadable") << QStringList{"in/a.png", "in/b.png", "in/c.png"} << 0 << false
                                            << asked + QStringList{warning + "in/a.png\n- in/b.png\n- in/c.png|2", unwritten};
    QTest::newRow("write fails") << QStringList() << 40 << false << asked + QStringList{unwritten};
    // Decoded, both would be listed as unreadable.
    QTest::newRow("too tall to write") << QStringList{"in/a.png", "in/b.png"} << 0 << true << asked + QStringList{unwritten};
  }
  void mergeEndsWithItsReport()
  {
    QFETCH(QStringList, damaged);
    QFETCH(int, sizeLimit);
    QFETCH(bool, tall);
    QFETCH(QStringList, report);
    writeAll("sorvelkit.ini", "");
    PromptRecorder recorder;
    QSorvelTileset window;
    window.show();
    QMap<QString, QPushButton*> buttons;
    for (QPushButton* b : window.findChildren<QPushButton*>())
      buttons[b->text()] = b;
    buttons["Ajouter un tileset"]->click(); // cancelled
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());
    QVERIFY(QDir().mkpath("in") && QDir().mkpath("out?"));
    recorder.files = {saved("in/a.png", 16), saved("in/b.png", 8) + "\n" + saved("in/c.png", 4), "out?/x<y.png"};
    buttons["Ajouter un tileset"]->click();
    QVERIFY(!buttons["Sorvelner >"]->isEnabled());
    buttons["Ajouter un tileset"]->click();
    QTRY_VERIFY(buttons["Sorvelner >"]->isEnabled());
    for (const QString& path : damaged)
      writeAll(path, tall ? tallHeader() : "damaged");
    writeAll("out?/x<y.png", "old");
    withFileSizeLimit(sizeLimit ? sizeLimit : RLIM_INFINITY, [&] {
      buttons["Sorvelner >"]->click();
      QCOMPARE(endOf(window.findChild<QDialog*>()), "Sorvel finie 100");
    });
    QVERIFY(!window.isVisible());
    QStringList said;
    for (const PromptRecorder::Asked& a : recorder.asked)
      said << a.kind + "|" + a.title + "|" + (a.filter.isEmpty() ? a.text : a.filter) + "|" + a.details + "|" +
                  QString::number(a.icon);
    QCOMPARE(said, report);
    const bool written = report.last().contains("effectuée");
    QCOMPARE(readAll("out?/x<y.png") == "old", !written);
    QCOMPARE(QImage("out?/x<y.png").size(), written ? QSize(256, 20) : QSize(0, 0));
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray("[Path]\npathSelectTilesetSorvel=in\n")); // no "?" folder
  }

  // The first merge waits on a pipe while the list changes and a second
  // merge runs to its end; the exit wait then lets the first one finish.
  void mergesKeepTheirListAndWindowAndFinishBeforeTheExit()
  {
    PromptRecorder recorder;
    QSorvelTileset window;
    QTilesetView* view = window.findChild<QTilesetView*>();
    view->addFiles({saved("a.png", 16), saved("p.png", 8)});
    QTRY_VERIFY(!view->isAdding());
    QTest::mouseClick(view, Qt::LeftButton, {}, view->cellRect(1).center()); // before the preview would block
    const QByteArray pipeBytes = readAll("p.png");
    QVERIFY(QFile::remove("p.png") && mkfifo("p.png", 0600) == 0);
    std::thread feed; // a failed check must not leave the decoding on the pipe:
    auto unblock = qScopeGuard([&] { feed.joinable() ? feed.join() : writeAll("p.png", pipeBytes); });
    window.beginSorvel("one.png");
    QDialog* first = window.findChild<QDialog*>();
    QTRY_COMPARE(first->findChild<QLabel*>()->text(), "Ouverture de : p.png"); // under load the thread starts late
    view->aSupprimer();
    view->addFiles({saved("c.png", 4)});
    QTRY_VERIFY(!view->isAdding());
    window.beginSorvel("two.png");
    QCOMPARE(endOf(window.findChildren<QDialog*>().last()), "Sorvel finie 100");
    QCOMPARE(first->isVisible() ? first->findChild<QLabel*>()->text() : "closed", "Ouverture de : p.png");
    feed = std::thread([&] { QThread::msleep(200); writeAll("p.png", pipeBytes); });
    waitForWorkers();
    QVERIFY(first->findChild<Sorveler*>()->isFinished());
    QCOMPARE(endOf(first), "Sorvel finie 100");
    QCOMPARE(QImage("one.png").size(), QSize(256, 24));
    QCOMPARE(QImage("two.png").size(), QSize(256, 20));
  }

  // Escape is "Annuler": the window closes, asking and writing nothing.
  void escapeCloses()
  {
    PromptRecorder recorder;
    QSorvelTileset window;
    window.findChild<QTilesetView*>()->addFiles({saved("a.png", 16)});
    const QStringList files = QDir().entryList(QDir::Files);
    window.show();
    QTest::keyClick(window.findChild<QTilesetView*>(), Qt::Key_Escape);
    QVERIFY(!window.isVisible() && recorder.asked.isEmpty() && QDir().entryList(QDir::Files) == files);
  }
};

SK_TEST_MAIN(TestTilesetMerge)

#include "test_tilesetmerge.moc"
