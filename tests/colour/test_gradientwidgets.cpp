#include "tests/TestMain.h"
#include "tests/colour/GrabPath.h"

#include "colour/QGradientCreator.h"
#include "colour/QGradientRender.h"

#include <QMouseEvent>

namespace {

using Stops = std::vector<GradientData>;
using Ints = std::vector<int>;
const Stops kBlackWhite = {{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}};
const Stops kThree = {kBlackWhite[0], {0.5, QColor(255, 0, 0, 60)}, kBlackWhite[1]};

void mouse(QWidget& w, QEvent::Type type, QPoint at)
{
  QMouseEvent event(type, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &event);
}

} // namespace

class TestGradientWidgets : public QObject
{
  Q_OBJECT
  QStringList log; // what the stop bar told, in order

  void listen(QGradientCreator& bar)
  {
    connect(&bar, &QGradientCreator::changeIndex, this, [this](GradientData s) {
      log << QString("index %1 %2").arg(s.position).arg(s.color.name(QColor::HexArgb));
    });
    connect(&bar, &QGradientCreator::changeGradient, this, [this](const Stops& s) { log << QString("gradient %1").arg(s.size()); });
  }

private slots:
  void viewPoints_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<double>>("normalized");
    QTest::addColumn<Ints>("pixels");
    QTest::newRow("defaults") << 0 << std::vector<double>{} << Ints{0, 100, 200, 100};
    // Unclamped these would be 202, 201 and -100.
    QTest::newRow("clamped") << 0 << std::vector<double>{1.01, 200 / 199.0, -0.5, 0.5} << Ints{200, 200, 0, 100};
    QTest::newRow("radial") << 1 << std::vector<double>{0.5, 0.5, 0.5, 0, 1, 1} << Ints{100, 100, 100, 0, 200, 200};
  }
  void viewPoints()
  {
    QFETCH(int, type);
    QFETCH(std::vector<double>, normalized);
    QGradientRender view(kBlackWhite, type);
    GradientGeometry geometry(kBlackWhite, type);
    view.setNormalizedPoints(normalized);
    geometry.setNormalizedPoints(normalized);
    QTEST(view.pixelPoints(), "pixels");
    QCOMPARE(view.radialGradient(), geometry.radialGradient());
    QVERIFY(view.brush() == geometry.brush());
    view.setGradientType(1);
    view.reset();
    QCOMPARE(view.pixelPoints(), (Ints{100, 100, 100, 0, 100, 50}));
  }

  void viewMouse_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<Ints>("points");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<Ints>("after"); // dragged to (-5, 250): stops at 0 and 199
    const Ints linear{0, 100, 200, 100};
    QTest::newRow("start hit at 11") << 0 << linear << QPoint(11, 100) << Ints{0, 199, 200, 100};
    QTest::newRow("missed at 11.05") << 0 << linear << QPoint(11, 101) << linear;
    QTest::newRow("linear end on top") << 0 << Ints(4, 100) << QPoint(100, 100) << Ints{100, 100, 0, 199};
    QTest::newRow("radial focal on top") << 1 << Ints(6, 100) << QPoint(100, 100) << Ints{100, 100, 100, 100, 0, 199};
    QTest::newRow("conical angle on top") << 2 << Ints(4, 100) << QPoint(100, 100) << Ints{100, 100, 0, 199};
  }
  void viewMouse()
  {
    QFETCH(int, type);
    QFETCH(Ints, points);
    QFETCH(QPoint, press);
    QGradientRender view(kBlackWhite, type);
    view.setPixelPoints(points);
    mouse(view, QEvent::MouseButtonPress, press);
    mouse(view, QEvent::MouseMove, QPoint(-5, 250));
    QTEST(view.pixelPoints(), "after");
  }

  // Over the checkerboard, then without stops: the toolkit's own black-to-white ramp.
  void viewPaint()
  {
    QGradientRender view(kThree, 0);
    QVERIFY(view.grab().save(grabPath("gradient_view")));
    for (int pass = 0; pass < 2; ++pass, view.setGradientData({})) {
      const QImage img = view.grab().toImage();
      // Pixel centres lie half a pixel in, so the ends are a shade off.
      const QRgb left = img.pixel(0, 0), right = img.pixel(199, 0);
      QVERIFY(qAlpha(left) == 255 && qRed(left) <= 2 && qGreen(left) <= 2 && qBlue(left) <= 2);
      QVERIFY(qRed(right) >= 250 && qGreen(right) >= 250 && qBlue(right) >= 250);
    }
  }

  void barPress_data()
  {
    QTest::addColumn<Stops>("stops"); // none: emptied by destroyAll
    QTest::addColumn<int>("x");
    QTest::addColumn<QStringList>("told");
    const Stops middle{{0.5, QColor(Qt::red)}}, twice{{0.5, QColor(Qt::red)}, {0.5, QColor(Qt::blue)}};
    QTest::newRow("empty place adds") << kBlackWhite << 205 << QStringList{"index 0.5 #ff00ff00", "gradient 3"};
    QTest::newRow("black at 0") << kBlackWhite << 0 << QStringList{"index 0 #ff000000", "gradient 2"};
    QTest::newRow("black at 9") << kBlackWhite << 9 << QStringList{"index 0 #ff000000", "gradient 2"};
    QTest::newRow("white at 400") << kBlackWhite << 400 << QStringList{"index 1 #ffffffff", "gradient 2"};
    QTest::newRow("white at 409") << kBlackWhite << 409 << QStringList{"index 1 #ffffffff", "gradient 2"};
    QTest::newRow("0.5 hit at 209") << middle << 209 << QStringList{"index 0.5 #ffff0000", "gradient 1"};
    QTest::newRow("0.5 missed at 210") << middle << 210 << QStringList{"index 0.5125 #ff00ff00", "gradient 2"};
    QTest::newRow("later stop on top") << twice << 204 << QStringList{"index 0.5 #ff0000ff", "gradient 2"};
    QTest::newRow("emptied, left end") << Stops{} << 2 << QStringList{"index 0 #ff00ff00", "gradient 1"};
    QTest::newRow("emptied, right end") << Stops{} << 408 << QStringList{"index 1 #ff00ff00", "gradient 1"};
  }
  // A press selects or adds (green), then drags; the position stops at 0 and 1.
  void barPress()
  {
    QFETCH(Stops, stops);
    QGradientCreator bar(QColor(Qt::green));
    stops.empty() ? bar.destroyAll() : bar.setGradient(stops);
    listen(bar);
    log.clear();
    QFETCH(int, x);
    mouse(bar, QEvent::MouseButtonPress, QPoint(x, 65));
    QTEST(log, "told");
    mouse(bar, QEvent::MouseMove, QPoint(-50, 65));
    QVERIFY(log.last().startsWith("index 0 "));
    mouse(bar, QEvent::MouseMove, QPoint(500, 65));
    QVERIFY(log.last().startsWith("index 1 "));
  }

  void barSlots()
  {
    QGradientCreator bar(QColor(Qt::green));
    listen(bar);
    mouse(bar, QEvent::MouseButtonPress, QPoint(205, 65));
    const double& added = bar.gradientData()[2].position;
    bar.setPos(37);
    QCOMPARE(added, 0.37);
    bar.ignoreNextPos();
    bar.setPos(80);
    QCOMPARE(added, 0.37);
    bar.setPos(60);
    QCOMPARE(added, 0.6);
    log.clear();
    bar.destroyAll();
    QCOMPARE(log, (QStringList{"index -1 #ff000000", "gradient 0"}));
    bar.destroy();
    bar.setColor(Qt::red);
    bar.setGradientData({0.2, QColor(Qt::red)});
    QCOMPARE(log.size(), 2); // nothing more
  }

  void barPaint()
  {
    QGradientCreator bar(QColor(Qt::green));
    bar.setGradient({kThree[0], {0.5, QColor(Qt::red)}, kThree[2]});
    const QImage img = bar.grab().toImage();
    for (QPoint swatch : {QPoint(204, 75), QPoint(201, 70), QPoint(208, 80)})
      QCOMPARE(img.pixel(swatch), 0xFFFF0000u);
    QVERIFY(img.pixel(209, 75) != 0xFFFF0000u && img.pixel(204, 81) != 0xFFFF0000u); // past the swatch
    mouse(bar, QEvent::MouseButtonPress, QPoint(204, 65));
    QVERIFY(bar.grab().save(grabPath("gradient_bar")));
    // The frame of the red cursor.
    QCOMPARE(bar.grab().toImage().pixel(209, 75), QImage(":/icon/cursorColorSelected.png").pixel(9, 15));
    // The ramp follows a replaced stop.
    bar.setGradientData({0.5, QColor(Qt::blue)});
    QCOMPARE(bar.grab().toImage().pixel(200, 30), QColor(0, 0, 255).rgb());

    bar.setGradient({{1.5, QColor(Qt::red)}, {-3, QColor(Qt::blue)}, {1e300, QColor(Qt::white)}});
    QCOMPARE(bar.gradientData().size(), 3u);
    bar.grab().toImage();
  }
};

SK_TEST_MAIN(TestGradientWidgets)
#include "test_gradientwidgets.moc"
