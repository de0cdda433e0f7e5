#include "tests/TestMain.h"

#include "core/GradientBrushes.h"
#include "core/GradientGeometry.h"

#include <QtConcurrent/QtConcurrent>

#include <cmath>

namespace {

GradientSettings settingsOf(uint8_t type, std::vector<double> geometry, bool withStops = true)
{
  GradientSettings s;
  s.type = type;
  s.spread = 0;
  if (withStops)
    s.stops = {{0.0, QColor(0, 0, 0)}, {1.0, QColor(255, 255, 255)}};
  s.geometry = std::move(geometry);
  return s;
}

bool near(double a, double b)
{
  return std::abs(a - b) < 1e-9;
}

bool near(const QPointF& a, const QPointF& b)
{
  return near(a.x(), b.x()) && near(a.y(), b.y());
}

} // namespace

Q_DECLARE_METATYPE(GradientSettings)

class TestGradientBrushes : public QObject
{
  Q_OBJECT

private slots:
  void normalisedRoundTrip();
  void pixelPointsAndDefaults();
  void radialFocalLimit_data();
  void radialFocalLimit();
  void conicalAngle_data();
  void conicalAngle();
  void linearBrush_data();
  void linearBrush();
  void radialBrush();
  void spreadAndStops();
  void brushesRunOffGuiThread();
  void toPoint_data();
  void toPoint();
};

// 200 in, 199 out: 0..198 survive the trip, 199 comes back as 200.
void TestGradientBrushes::normalisedRoundTrip()
{
  GradientGeometry view({}, 0);
  for (int k = 0; k <= 199; ++k) {
    view.setPixelPoints({k, 0, 0, k});
    const std::vector<QPointF> out = view.normalizedPoints();
    QCOMPARE(out.size(), std::size_t(2));
    QCOMPARE(out[0].x(), k / 199.0);
    view.setNormalizedPoints({out[0].x(), out[0].y(), out[1].x(), out[1].y()});
    const int back = k == 199 ? 200 : k;
    QCOMPARE(view.pixelPoints(), (std::vector<int>{back, 0, 0, back}));
  }
}

void TestGradientBrushes::pixelPointsAndDefaults()
{
  GradientGeometry view({}, 1);
  view.setPixelPoints({1, 2, 3, 4, 5, 6});
  view.reset();
  QCOMPARE(view.pixelPoints(), (std::vector<int>{100, 100, 100, 0, 100, 50}));
  view.join();
  QCOMPARE(view.pixelPoints(), (std::vector<int>{100, 100, 100, 0, 100, 100}));
  // Switching the type keeps each type's own points.
  view.setType(0);
  QCOMPARE(view.pixelPoints(), (std::vector<int>{0, 100, 200, 100}));
  view.setType(2);
  QCOMPARE(view.pixelPoints(), (std::vector<int>{100, 100, 100, 0}));
  view.setType(7);
  QVERIFY(view.pixelPoints().empty());
  QVERIFY(view.normalizedPoints().empty());

  view.setType(1);
  view.reset();
  // Lists too short for the type move no point.
  view.setNormalizedPoints({0.1, 0.1, 0.2, 0.2});
  view.setPixelPoints({1, 1, 2, 2, 3});
  QCOMPARE(view.pixelPoints(), (std::vector<int>{100, 100, 100, 0, 100, 50}));

  // Radial settings whose geometry holds only two points: defaults are used.
  const QRadialGradient g = radialGradientBrush(settingsOf(1, {0.1, 0.1, 0.2, 0.2}), QSize(199, 199));
  QVERIFY(near(g.center(), QPointF(100, 100)));
  QVERIFY(near(g.radius(), 100));
  const QLinearGradient l = linearGradientBrush(settingsOf(0, {}), QSize(199, 199));
  QVERIFY(near(l.start(), QPointF(0, 100)));
  QVERIFY(near(l.finalStop(), QPointF(200, 100)));
}

void TestGradientBrushes::radialFocalLimit_data()
{
  QTest::addColumn<QPointF>("radiusPoint");
  QTest::addColumn<QPointF>("focal");
  QTest::addColumn<QPointF>("expected");
  QTest::newRow("inside stays") << QPointF(100, 0) << QPointF(100, 40) << QPointF(100, 40);
  QTest::newRow("at 0.75 r stays") << QPointF(100, 0) << QPointF(175, 100) << QPointF(175, 100);
  QTest::newRow("on the circle, pulled in") << QPointF(100, 0) << QPointF(100, 200) << QPointF(100, 175);
  QTest::newRow("beyond, left") << QPointF(100, 0) << QPointF(0, 100) << QPointF(25, 100);
  QTest::newRow("diagonal") << QPointF(100, 20) << QPointF(180, 20)
                            << QPointF(100 + 60 * std::cos(std::acos(-1.0) / 4), 100 - 60 * std::sin(std::acos(-1.0) / 4));
  QTest::newRow("zero radius") << QPointF(100, 100) << QPointF(130, 70) << QPointF(100, 100);
}

void TestGradientBrushes::radialFocalLimit()
{
  QFETCH(QPointF, radiusPoint);
  QFETCH(QPointF, focal);
  QFETCH(QPointF, expected);
  GradientGeometry view({}, 1);
  view.setPixelPoints({100, 100, int(radiusPoint.x()), int(radiusPoint.y()), int(focal.x()), int(focal.y())});
  const QRadialGradient g = view.radialGradient();
  QVERIFY2(near(QPointF(g.focalPoint().x() * 199, g.focalPoint().y() * 199), expected),
           qPrintable(QString("%1,%2").arg(g.focalPoint().x() * 199).arg(g.focalPoint().y() * 199)));
  // The handle stays where it was put.
  QCOMPARE(view.point(GradientGeometry::RadialFocal), focal);
}

void TestGradientBrushes::conicalAngle_data()
{
  QTest::addColumn<QPoint>("anglePoint");
  QTest::addColumn<double>("angle");
  QTest::newRow("right") << QPoint(150, 100) << 0.0;
  QTest::newRow("above") << QPoint(100, 0) << 90.0;
  QTest::newRow("left") << QPoint(10, 100) << 180.0;
  QTest::newRow("below") << QPoint(100, 199) << 270.0;
  QTest::newRow("above right") << QPoint(150, 50) << 45.0;
  QTest::newRow("below right") << QPoint(150, 150) << 315.0;
  QTest::newRow("on the centre") << QPoint(100, 100) << 0.0;
}

void TestGradientBrushes::conicalAngle()
{
  QFETCH(QPoint, anglePoint);
  QFETCH(double, angle);
  GradientGeometry view({}, 2);
  view.setPixelPoints({100, 100, anglePoint.x(), anglePoint.y()});
  QVERIFY(std::abs(view.conicalGradient().angle() - angle) < 1e-9);
  // The brush keeps the angle whatever the target's proportions.
  const std::vector<double> g{100 / 200.0, 100 / 200.0, anglePoint.x() / 200.0, anglePoint.y() / 200.0};
  QVERIFY(std::abs(conicalGradientBrush(settingsOf(2, g), QSize(90, 10)).angle() - angle) < 1e-9);
}

void TestGradientBrushes::linearBrush_data()
{
  QTest::addColumn<GradientSettings>("settings");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QPointF>("start");
  QTest::addColumn<QPointF>("end");
  QTest::newRow("1.0 leaves as 200/199") << settingsOf(0, {0, 0, 1, 0}) << QSize(40, 20) << QPointF(0, 0)
                                         << QPointF(40 * 200 / 199.0, 0);
  QTest::newRow("no stops: default points") << settingsOf(0, {0.3, 0.3, 0.6, 0.6}, false) << QSize(100, 50)
                                            << QPointF(0, 50 * 100 / 199.0) << QPointF(100 * 200 / 199.0, 50 * 100 / 199.0);
  QTest::newRow("truncated on the grid") << settingsOf(0, {0.004, 0.5, 0.5, 0.999}) << QSize(199, 398)
                                         << QPointF(0, 200) << QPointF(100, 398 * 199 / 199.0);
  QTest::newRow("empty target") << settingsOf(0, {0.2, 0.2, 0.9, 0.9}) << QSize(0, 0) << QPointF(0, 0) << QPointF(0, 0);
}

void TestGradientBrushes::linearBrush()
{
  QFETCH(GradientSettings, settings);
  QFETCH(QSize, size);
  QFETCH(QPointF, start);
  QFETCH(QPointF, end);
  const QLinearGradient g = linearGradientBrush(settings, size);
  QVERIFY2(near(g.start(), start), qPrintable(QString("%1,%2").arg(g.start().x()).arg(g.start().y())));
  QVERIFY2(near(g.finalStop(), end), qPrintable(QString("%1,%2").arg(g.finalStop().x()).arg(g.finalStop().y())));
  if (!settings.stops.empty())
    QCOMPARE(g.stops().size(), qsizetype(settings.stops.size()));
}

// The radius is measured to the scaled radius point: on a wide target a
// horizontal radius point gives a wider circle than a vertical one.
void TestGradientBrushes::radialBrush()
{
  const QSize size(40, 20);
  const double k = 100 / 199.0;
  QRadialGradient g = radialGradientBrush(settingsOf(1, {0.5, 0.5, 0.5, 0.0, 0.5, 0.25}), size);
  QVERIFY(near(g.center(), QPointF(40 * k, 20 * k)));
  QVERIFY(near(g.radius(), 20 * k));
  QVERIFY(near(g.focalPoint(), QPointF(40 * k, 20 * 50 / 199.0)));
  g = radialGradientBrush(settingsOf(1, {0.5, 0.5, 0.0, 0.5, 0.5, 0.5}), size);
  QVERIFY(near(g.radius(), 40 * k));
  // Focal point beyond 0.75 r is pulled onto the ray before scaling.
  g = radialGradientBrush(settingsOf(1, {0.5, 0.5, 0.5, 0.0, 0.5, 0.995}), QSize(199, 199));
  QVERIFY(near(g.focalPoint(), QPointF(100, 175)));
  // No stops: default points.
  g = radialGradientBrush(settingsOf(1, {0.1, 0.1, 0.1, 0.1, 0.1, 0.1}, false), QSize(199, 199));
  QVERIFY(near(g.center(), QPointF(100, 100)));
  QVERIFY(near(g.radius(), 100));
  QVERIFY(near(g.focalPoint(), QPointF(100, 50)));
}

void TestGradientBrushes::spreadAndStops()
{
  for (int spread : {0, 1, 2, 9}) {
    GradientSettings s = settingsOf(0, {0, 0, 1, 0});
    s.spread = static_cast<uint8_t>(spread);
    s.stops = {{0.5, QColor(10, 20, 30)}, {0.0, QColor(1, 2, 3)}, {0.5, QColor(40, 50, 60, 70)}};
    const QGradient::Spread expected = spread == 1 ? QGradient::ReflectSpread
                                       : spread == 2 ? QGradient::RepeatSpread
                                                     : QGradient::PadSpread;
    const QLinearGradient l = linearGradientBrush(s, QSize(10, 10));
    QCOMPARE(l.spread(), expected);
    QCOMPARE(radialGradientBrush(s, QSize(10, 10)).spread(), expected);
    QCOMPARE(conicalGradientBrush(s, QSize(10, 10)).spread(), expected);
    // Stops are sorted by position; a later stop at the same place wins.
    const QGradientStops stops = l.stops();
    QCOMPARE(stops.size(), qsizetype(2));
    QCOMPARE(stops[0].second, QColor(1, 2, 3));
    QCOMPARE(stops[1].second, QColor(40, 50, 60, 70));
  }
}

void TestGradientBrushes::brushesRunOffGuiThread()
{
  const GradientSettings s = settingsOf(1, {0.5, 0.5, 0.5, 0.0, 0.9, 0.9});
  QFuture<double> f = QtConcurrent::run([s] { return radialGradientBrush(s, QSize(199, 199)).radius(); });
  QVERIFY(near(f.result(), 100));
}

void TestGradientBrushes::toPoint_data()
{
  QTest::addColumn<QPointF>("in");
  QTest::addColumn<QPoint>("out");
  QTest::newRow("toward zero") << QPointF(-0.7, 1.99) << QPoint(0, 1);
  QTest::newRow("not rounded") << QPointF(199.9, 0.2) << QPoint(199, 0);
  QTest::newRow("negative") << QPointF(-3.5, -0.2) << QPoint(-3, 0);
}

void TestGradientBrushes::toPoint()
{
  QFETCH(QPointF, in);
  QFETCH(QPoint, out);
  QCOMPARE(::toPoint(in), out);
  QCOMPARE(toPointF(out), QPointF(out.x(), out.y()));
}

SK_TEST_MAIN(TestGradientBrushes)
#include "test_gradientbrushes.moc"
