#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "core/GradientSettings.h"
#include "core/IniSettings.h"

class TestGradientSettings : public QObject
{
  Q_OBJECT

private slots:
  // The gradient of the next start is the remembered file's, whole or not at all.
  void defaultGradient_data()
  {
    QTest::addColumn<QString>("degrade");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("gradient"); // type, spread, stops
    QTest::addColumn<QList<int>>("pixels"); // the geometry times 199
    const QByteArray radial = QByteArray::fromHex("0001000101" "0a141e28323c" "000000000000d03fff000080");
    const QString blackToWhite = "0 0 0#ff000000 1#ffffffff";
    const QList<int> middle{0, 100, 200, 100};
    QTest::newRow("no key") << QString() << QByteArray() << blackToWhite << middle;
    QTest::newRow("radial") << "g.skd" << radial << "1 1 0.25#80ff0000" << QList<int>{10, 20, 30, 40, 50, 60};
    QTest::newRow("no stops") << "g.skd" << QByteArray::fromHex("0000000101" "0a141e28323c") << blackToWhite
                              << QList<int>{0, 0, 199, 0};
    QTest::newRow("missing") << "none.skd" << QByteArray() << blackToWhite << middle;
    QTest::newRow("damaged") << "g.skd" << radial.left(20) << blackToWhite << middle;
    QTest::newRow("newer") << "g.skd" << QByteArray("\x01" + radial.mid(1)) << blackToWhite << middle;
  }

  void defaultGradient()
  {
    QFETCH(QString, degrade);
    QFETCH(QByteArray, file);
    QFETCH(QString, gradient);
    QFETCH(QList<int>, pixels);
    writeAll("sorvelkit.ini", QByteArray());
    if (!degrade.isEmpty())
      IniSettings().setValue("Color", "degrade", degrade);
    QFile::remove("g.skd");
    if (!file.isEmpty())
      writeAll("g.skd", file);
    const GradientSettings g = defaultGradientSettings();
    QStringList text{QString::number(g.type), QString::number(g.spread)};
    for (const GradientData& stop : g.stops)
      text << QString::number(stop.position) + stop.color.name(QColor::HexArgb);
    QCOMPARE(text.join(' '), gradient);
    std::vector<double> geometry;
    for (int p : pixels)
      geometry.push_back(p / 199.0);
    QCOMPARE(g.geometry, geometry);
  }
};

SK_TEST_MAIN(TestGradientSettings)
#include "test_gradientsettings.moc"
