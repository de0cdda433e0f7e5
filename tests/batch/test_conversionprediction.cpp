#include "tests/TestMain.h"

#include "batch/ConversionPrediction.h"
#include "batch/Converter.h"
#include "tests/TestFiles.h"

#include <QDir>

namespace {

QString makeInput(const QString& path, const QSize& size)
{
  if (size.isEmpty()) {
    writeAll(path, "not an image");
  } else {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(0xFF336699u);
    image.save(path, "PNG");
  }
  return path;
}

QString predict(const QString& path, quint8 direction, qint8 count)
{
  QString result;
  ConversionPrediction::predictOutputName(path, direction, &result, count);
  return result;
}

QStringList build(const QStringList& files, quint8 filesMode, quint8 direction)
{
  QStringList replaced;
  ConversionPrediction::buildOutputNames(replaced, files, filesMode, direction, 0);
  return replaced;
}

} // namespace

class TestConversionPrediction : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    QDir("in").removeRecursively();
    QDir().mkdir("in");
  }
  void names_data();
  void names();
  void sheetsAsTheWorkerCreatesThem();
  void onlyExistingOutputsOfThisRun();
  void separatorInFolderName();
};

void TestConversionPrediction::names_data()
{
  QTest::addColumn<int>("direction");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size"); // empty: not an image
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("expected");
  QString eight;
  for (int n = 1; n <= 8; ++n)
    eight += "in/XP_CONVERSIONS/h_" + QString::number(n) + ".png|";
  QTest::newRow("2003 single to XP") << 0 << "h.png" << QSize(72, 100) << 0 << "in/XP_CONVERSIONS/h.png";
  QTest::newRow("2003 eight to XP") << 0 << "h.png" << QSize(73, 100) << 0 << eight;
  QTest::newRow("2003 single to VX") << 1 << "h.png" << QSize(72, 128) << 0 << "in/VX_CONVERSIONS/$h.png";
  QTest::newRow("2003 eight to VX") << 1 << "h.png" << QSize(288, 256) << 0 << "in/VX_CONVERSIONS/h.png";
  QTest::newRow("XP to 2003, new sheet") << 2 << "h.gif" << QSize(96, 128) << 0 << "in/2K3_CONVERSIONS/h.gif";
  QTest::newRow("XP to VX") << 3 << "h.png" << QSize(96, 128) << 0 << "in/VX_CONVERSIONS/$h.png";
  QTest::newRow("VX eight to 2003") << 4 << "h.gif" << QSize(288, 256) << 0 << "in/2K3_CONVERSIONS/h.gif";
  QTest::newRow("VX counted single to 2003") << 4 << "h.png" << QSize(72, 128) << 1 << "in/2K3_CONVERSIONS/h.png";
  QTest::newRow("VX marked single to XP") << 5 << "x$h.png" << QSize(72, 128) << 0 << "in/XP_CONVERSIONS/x$h.png";
  QTest::newRow("VX counted eight to XP") << 5 << "$h.png" << QSize(72, 128) << 2 << QString(eight).replace("h_", "$h_");
  QTest::newRow("not an image") << 0 << "h.png" << QSize() << 0 << "?ERROR?";
}

void TestConversionPrediction::names()
{
  QFETCH(int, direction);
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(int, count);
  QFETCH(QString, expected);
  ConversionPrediction::predictOutputName(QString(), ResetSheets, nullptr, 0);
  QCOMPARE(predict(makeInput("in/" + name, size), quint8(direction), qint8(count)), expected);
  QCOMPARE(ConversionPrediction::sheetCount().count, quint8(direction == 2 || (direction == 4 && count == 1)));
}

// The 1st, 9th and 17th loadable singles name a sheet, as in the worker; an
// input that does not load counts for nothing. Each list starts afresh.
void TestConversionPrediction::sheetsAsTheWorkerCreatesThem()
{
  QStringList inputs;
  for (int i = 0; i < 21; ++i)
    inputs << makeInput(QString("in/%1.png").arg(i, 2, 10, QChar('0')), i == 4 ? QSize() : QSize(96, 128));
  QVERIFY(build({"in"}, 0, 2).isEmpty());
  QCOMPARE(ConversionPrediction::sheetCount().count, quint8(0));

  Converter worker({"in"}, 0, 2);
  worker.start();
  worker.wait();
  QCOMPARE(worker.createdSheets(), QStringList({"in/2K3_CONVERSIONS/00.png", "in/2K3_CONVERSIONS/09.png",
                                                "in/2K3_CONVERSIONS/17.png"}));
  for (int i = 0; i < 21; ++i) // files of this name that the run does not write
    makeInput(QString("in/2K3_CONVERSIONS/%1.gif").arg(i, 2, 10, QChar('0')), QSize(4, 4));
  QCOMPARE(build({"in"}, 0, 2), worker.createdSheets());
  QCOMPARE(build(inputs, 1, 2), worker.createdSheets());
  QCOMPARE(ConversionPrediction::sheetCount().count, quint8(0));
  QVERIFY(ConversionPrediction::sheetCount().path.isEmpty());
}

void TestConversionPrediction::onlyExistingOutputsOfThisRun()
{
  const QStringList inputs = {makeInput("in/a.png", QSize(72, 128)), makeInput("in/b.png", QSize(288, 256)),
                              makeInput("in/c.png", QSize(72, 128))};
  QDir().mkdir("in/XP_CONVERSIONS");
  for (const char* name : {"a.png", "b_1.png", "b_8.png", "b_9.png", "b_0.png", "c.gif", "other.png"})
    makeInput("in/XP_CONVERSIONS/" + QString(name), QSize(4, 4));
  QDir().mkdir("in/XP_CONVERSIONS/c.png");
  QCOMPARE(build(inputs, 1, 0), QStringList({"in/XP_CONVERSIONS/a.png", "in/XP_CONVERSIONS/b_1.png",
                                             "in/XP_CONVERSIONS/b_8.png"}));
}

void TestConversionPrediction::separatorInFolderName()
{
  QDir().mkpath("in/a|b/VX_CONVERSIONS");
  makeInput("in/a|b/h.png", QSize(96, 128));
  makeInput("in/a|b/VX_CONVERSIONS/$h.png", QSize(4, 4));
  QCOMPARE(build({"in/a|b"}, 0, 3), QStringList{"in/a|b/VX_CONVERSIONS/$h.png"});
}

SK_TEST_MAIN(TestConversionPrediction)
#include "test_conversionprediction.moc"
