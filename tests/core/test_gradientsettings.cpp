#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "core/GradientSettings.h"
#include "core/IniSettings.h"

namespace {

// A gradient file: header, points, then `stops` stops from red at 0.25.
QByteArray skd(char version, char type, const QByteArray& points, int stops)
{
  QByteArray b;
  b.append(version).append(char(stops)).append(char(0)).append(type).append(char(1)).append(points);
  for (int i = 0; i < stops; ++i)
    b.append(QByteArray::fromHex("000000000000d03fff000080"));
  return b;
}

} // namespace

class TestGradientSettings : public QObject
{
  Q_OBJECT

private slots:
  void defaultGradient_data()
  {
    QTest::addColumn<QString>("degrade");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<double>>("geometry");
    const std::vector<double> middle{0.0, 100 / 199.0, 200 / 199.0, 100 / 199.0};
    const QByteArray radial = QByteArray::fromHex("0a141e28323c");
    QTest::newRow("no key") << QString() << QByteArray() << 0 << middle;
    QTest::newRow("radial") << "g.skd" << skd(0, 1, radial, 1) << 1
                            << std::vector<double>{10 / 199.0, 20 / 199.0, 30 / 199.0,
                                                   40 / 199.0, 50 / 199.0, 60 / 199.0};
    QTest::newRow("no stops") << "g.skd" << skd(0, 1, radial, 0) << 0 << std::vector<double>{0, 0, 1, 0};
    QTest::newRow("missing") << "none.skd" << QByteArray() << 0 << middle;
    QTest::newRow("damaged") << "g.skd" << skd(0, 1, radial, 1).left(20) << 0 << middle;
    QTest::newRow("newer") << "g.skd" << skd(1, 1, radial, 1) << 0 << middle;
  }

  void defaultGradient()
  {
    QFETCH(QString, degrade);
    QFETCH(QByteArray, file);
    QFETCH(int, type);
    QFETCH(std::vector<double>, geometry);
    writeAll("sorvelkit.ini", QByteArray());
    if (!degrade.isEmpty())
      IniSettings().setValue("Color", "degrade", degrade);
    QFile::remove("g.skd");
    if (!file.isEmpty())
      writeAll("g.skd", file);
    const GradientSettings g = defaultGradientSettings();
    QCOMPARE(int(g.type), type);
    QCOMPARE(g.geometry, geometry);
    if (type == 1) {
      QCOMPARE(int(g.spread), 1);
      QCOMPARE(g.stops.size(), std::size_t(1));
      QCOMPARE(g.stops[0].position, 0.25);
      QCOMPARE(g.stops[0].color, QColor(255, 0, 0, 128));
      return;
    }
    QCOMPARE(int(g.spread), 0);
    QCOMPARE(g.stops.size(), std::size_t(2));
    QCOMPARE(g.stops[0].position, 0.0);
    QCOMPARE(g.stops[0].color, QColor(0, 0, 0, 255));
    QCOMPARE(g.stops[1].position, 1.0);
    QCOMPARE(g.stops[1].color, QColor(255, 255, 255, 255));
  }
};

SK_TEST_MAIN(TestGradientSettings)
#include "test_gradientsettings.moc"
