#include "tests/TestMain.h"

#include "batch/Sorveler.h"
#include "tests/TestFiles.h"

#include <QImageReader>

#include <atomic>

namespace {

std::atomic<int> warnings{0};

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
  if (type != QtDebugMsg && type != QtInfoMsg)
    ++warnings;
}

// Every word differs, with translucent and fully transparent ones that keep
// colour bits. An empty size stands for a file that is no image.
QImage tileset(QSize size, int seed)
{
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const QRgb alpha = (x + y) % 3 == 0 ? 0x00 : (x + y) % 3 == 1 ? 0x80 : 0xFF;
      image.setPixel(x, y, alpha << 24 | QRgb((seed * 40 + x) & 0xFF) << 16 | QRgb(y & 0xFF) << 8 | QRgb(y >> 8));
    }
  return image;
}

struct Run
{
  QList<uint> values;
  QStringList texts;
  QStringList failed;
};

Run merge(const QStringList& inputs, const QString& output)
{
  Run run;
  Sorveler worker(inputs, output);
  QObject::connect(&worker, &Sorveler::changeProgress, &worker, [&](uint value, QString text) {
    run.values << value;
    run.texts << text;
  }, Qt::DirectConnection);
  QObject::connect(&worker, &Sorveler::finishThread, &worker, [&](QStringList failed) { run.failed = failed; },
                   Qt::DirectConnection);
  worker.start();
  worker.wait();
  return run;
}

} // namespace

class TestSorveler : public QObject
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
    QTest::newRow("unreadable between two") << QList<QSize>{{256, 20}, {}, {256, 12}} << "out.png" << three;
    QTest::newRow("name without suffix") << QList<QSize>{{256, 16}} << "merged" << one;
    QTest::newRow("output is an input") << QList<QSize>{{256, 8}, {256, 24}, {100, 4}} << "0.png" << three;
  }
  void stacksExactPixelsAndReportsInOrder()
  {
    QFETCH(QList<QSize>, sizes);
    QFETCH(QString, output);
    QFETCH(QList<uint>, progress);
    QStringList inputs, opening, placing, unreadable;
    std::vector<QImage> images;
    for (int i = 0; i < sizes.size(); ++i) {
      const QString path = QString::number(i) + ".png";
      images.push_back(sizes[i].isEmpty() ? QImage() : tileset(sizes[i], i));
      if (images.back().isNull()) {
        writeAll(path, "no image");
        unreadable << path;
      } else {
        QVERIFY(images.back().save(path, "PNG"));
      }
      inputs << path;
      opening << "Ouverture de : " + path;
      placing << "Sorvel de : " + path;
    }
    if (!inputs.contains(output))
      QFile::remove(output);
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    const Run run = merge(inputs, output);
    qInstallMessageHandler(previous);
    QCOMPARE(warnings.load(), 0);
    QCOMPARE(run.values, progress);
    QCOMPARE(run.texts, opening + QStringList{"Création du nouveau tileset"} + placing +
                            QStringList{"Enregistrement du tileset"});
    QCOMPARE(run.failed, unreadable);

    QImageReader reader(output);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage merged = reader.read();
    int top = 0;
    for (const QImage& image : images) {
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 256; ++x)
          QCOMPARE(merged.pixel(x, top + y), x < image.width() ? image.pixel(x, y) : 0u);
      top += image.height();
    }
    QCOMPARE(merged.size(), QSize(256, top));
  }
};

SK_TEST_MAIN(TestSorveler)

#include "test_sorveler.moc"
