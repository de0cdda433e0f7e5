#include "tests/TestMain.h"
#include "tests/colour/GrabPath.h"

#include "colour/QColorLittleBox.h"
#include "colour/QColorPalette.h"
#include "colour/QColorSlide.h"
#include "colour/QSpectrum.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

QImage shot(QWidget& w)
{
  return w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QColor hsv(int h, int s, int v, int a = 255)
{
  QColor c;
  c.setHsv(h, s, v, a);
  return c;
}

void keepGrab(QWidget& w, const QString& name)
{
  QVERIFY(w.grab().save(grabPath(name)));
}

} // namespace

class TestColourWidgets : public QObject
{
  Q_OBJECT

private slots:
  void iconSizes_data();
  void iconSizes();
  void swatchPixels_data();
  void swatchPixels();
  void swatchClicks();
  void slidePress_data();
  void slidePress();
  void slideSetValue();
  void spectrumPick_data();
  void spectrumPick();
  void grabs();
};

void TestColourWidgets::iconSizes_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::newRow("cursor") << "cursor.png" << QSize(6, 6);
}

void TestColourWidgets::iconSizes()
{
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QCOMPARE(QImage(":/icon/" + name).size(), size);
}

void TestColourWidgets::swatchPixels_data()
{
  QTest::addColumn<bool>("alphaEnabled");
  QTest::addColumn<QColor>("colour");
  QTest::addColumn<QRgb>("at11");
  QTest::addColumn<QRgb>("at51");
  QTest::newRow("clear red, alpha") << true << QColor(255, 0, 0, 0) << 0xFFFFFFFFu << 0xFFA0A0A4u;
  QTest::newRow("clear red, opaque") << false << QColor(255, 0, 0, 0) << 0xFFFF0000u << 0xFFFF0000u;
  QTest::newRow("blue, alpha") << true << QColor(0, 0, 255) << 0xFF0000FFu << 0xFF0000FFu;
}

void TestColourWidgets::swatchPixels()
{
  QFETCH(bool, alphaEnabled);
  QFETCH(QColor, colour);
  QFETCH(QRgb, at11);
  QFETCH(QRgb, at51);
  QColorLittleBox box(&colour, alphaEnabled);
  QCOMPARE(box.size(), QSize(50, 20));
  const QImage img = shot(box);
  QCOMPARE(img.pixel(0, 0), 0xFF000000u);
  QCOMPARE(img.pixel(49, 19), 0xFF000000u);
  QCOMPARE(img.pixel(1, 1), at11);
  QCOMPARE(img.pixel(5, 1), at51);
}

void TestColourWidgets::swatchClicks()
{
  QColor colour(Qt::red);
  QWidget parent;
  QColorLittleBox box(&colour, true, &parent);
  int clicks = 0;
  connect(&box, &QColorLittleBox::clicked, this, [&](QMouseEvent*) { ++clicks; });
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
    QTest::mousePress(&box, b, {}, QPoint(10, 10));
  QCOMPARE(clicks, 3);
}

void TestColourWidgets::slidePress_data()
{
  QTest::addColumn<int>("mode");
  QTest::addColumn<QColor>("start");
  QTest::addColumn<int>("x");
  QTest::addColumn<QColor>("colour"); // invalid: no changeColor expected
  QTest::addColumn<int>("alpha");     // -1: no changeValue expected

  const QColor mixed(128, 50, 60, 100);
  QTest::newRow("red at 3") << 4 << mixed << 3 << QColor(0, 50, 60, 100) << -1;
  QTest::newRow("red at 70") << 4 << mixed << 70 << QColor(255, 50, 60, 100) << -1;
  QTest::newRow("red at 0") << 4 << mixed << 0 << QColor(0, 50, 60, 100) << -1;
  QTest::newRow("blue beyond") << 6 << mixed << 90 << QColor(128, 50, 255, 100) << -1;
  QTest::newRow("alpha at 0") << 0 << mixed << 0 << QColor() << 0;
  QTest::newRow("alpha at 70") << 0 << mixed << 70 << QColor() << 255;
  QTest::newRow("hue opaque") << 7 << QColor(255, 0, 0, 100) << 3 << QColor(255, 0, 0) << -1;
  QTest::newRow("saturation opaque") << 8 << QColor(255, 0, 0, 100) << 3 << QColor(255, 255, 255) << -1;
  QTest::newRow("value opaque") << 9 << QColor(255, 0, 0, 100) << 70 << QColor(255, 0, 0) << -1;
}

void TestColourWidgets::slidePress()
{
  QFETCH(int, mode);
  QFETCH(QColor, start);
  QFETCH(int, x);
  QFETCH(QColor, colour);
  QFETCH(int, alpha);
  QColorSlide slide(start, mode);
  QCOMPARE(slide.size(), QSize(73, 15));
  QSignalSpy colours(&slide, &QColorSlide::changeColor);
  QSignalSpy values(&slide, &QColorSlide::changeValue);
  QTest::mousePress(&slide, Qt::LeftButton, {}, QPoint(x, 7));
  QCOMPARE(colours.size(), colour.isValid() ? 1 : 0);
  QCOMPARE(values.size(), alpha < 0 ? 0 : 1);
  if (colour.isValid())
    QCOMPARE(colours[0][0].value<QColor>().rgba(), colour.rgba());
  else
    QCOMPARE(values[0][0].toInt(), alpha);
}

void TestColourWidgets::slideSetValue()
{
  QColorSlide hue(QColor(255, 0, 0), 7);
  QSignalSpy spy(&hue, &QColorSlide::changeColor);
  hue.setValue(180);
  QCOMPARE(spy.size(), 1);
  QCOMPARE(spy[0][0].value<QColor>().rgba(), QColor(0, 255, 255).rgba());
  QCOMPARE(hue.value(), 0.5);

  hue.setEmitChange(false);
  hue.setValue(90);
  QCOMPARE(spy.size(), 1);
  QCOMPARE(hue.color().hue(), 90);

  // The alpha slider keeps its own alpha unless told to take the new one.
  QColorSlide alpha(QColor(0, 0, 0, 200), 0);
  alpha.setColor(QColor(10, 20, 30, 40));
  QCOMPARE(alpha.color(), QColor(10, 20, 30, 200));
  alpha.setColor(QColor(10, 20, 30, 40), true);
  QCOMPARE(alpha.color(), QColor(10, 20, 30, 40));

  // A grey has no hue: the cursor rests at the start.
  QColorSlide grey(QColor(128, 128, 128), 7);
  QCOMPARE(grey.value(), 0.0);
}

void TestColourWidgets::spectrumPick_data()
{
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<int>("hue");
  QTest::addColumn<int>("saturation");
  QTest::newRow("centre") << QPoint(100, 100) << 0 << 0;
  QTest::newRow("right") << QPoint(199, 100) << 0 << 252;
  QTest::newRow("top") << QPoint(100, 0) << 90 << 255;
  QTest::newRow("corner") << QPoint(0, 0) << 135 << 255;
  QTest::newRow("below") << QPoint(100, 150) << 270 << 127;
}

void TestColourWidgets::spectrumPick()
{
  QFETCH(QPoint, at);
  QFETCH(int, hue);
  QFETCH(int, saturation);
  QSpectrum spectrum(200, QColor(10, 20, 30, 40));
  QCOMPARE(spectrum.size(), QSize(200, 200));
  QSignalSpy spy(&spectrum, &QSpectrum::changeColor);
  // Sent by hand: QTest reads the point (0, 0) as "the centre".
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), spectrum.mapToGlobal(QPointF(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&spectrum, &press);
  QCOMPARE(spy.size(), 1);
  const QColor picked = spy[0][0].value<QColor>();
  QCOMPARE(picked.hsvHue(), hue);
  QCOMPARE(picked.hsvSaturation(), saturation);
  QCOMPARE(picked.value(), 255);
  QCOMPARE(picked.alpha(), 255);
  if (saturation == 0)
    QCOMPARE(picked.rgba(), 0xFFFFFFFFu);

  QSignalSpy quiet(&spectrum, &QSpectrum::changeColor);
  spectrum.setColor(QColor(20, 0, 0, 60));
  QCOMPARE(quiet.size(), 0);
}

// Pixels where the geometry is exact, and pictures to look at.
void TestColourWidgets::grabs()
{
  QColor translucent(0, 128, 255, 60);
  QColor opaque(200, 30, 30);
  QWidget window;
  auto* column = new QVBoxLayout(&window);
  auto* palette = new QColorPalette(QSize(10, 10), QSize(20, 6));
  auto* spectrum = new QSpectrum(200, translucent);
  auto* swatches = new QHBoxLayout;
  auto* clearBox = new QColorLittleBox(&translucent, true);
  auto* fullBox = new QColorLittleBox(&opaque, true);
  swatches->addWidget(clearBox);
  swatches->addWidget(fullBox);
  column->addWidget(palette);
  column->addLayout(swatches);
  QList<QColorSlide*> slides;
  for (int mode : {4, 5, 6, 7, 8, 9, 0}) {
    slides << new QColorSlide(QColor(200, 120, 40, 160), mode);
    column->addWidget(slides.last());
  }
  column->addWidget(spectrum);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  keepGrab(window, "colour-widgets");
  keepGrab(*palette, "palette");
  keepGrab(*spectrum, "spectrum");

  const QImage disc = spectrum->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  QCOMPARE(disc.pixel(100, 60), hsv(90, 102, 255).rgba());
  const QImage cells = shot(*palette);
  // Half-transparent black over the 3-pixel checkerboard, white then grey.
  QVERIFY(qRed(cells.pixel(0, 42)) > qRed(cells.pixel(3, 42)));
  QCOMPARE(cells.pixel(0, 0), 0xFF000000u);
  // The red slider: the cursor sits under the track at 200 / 255.
  const QImage red = shot(*slides[0]);
  QCOMPARE(qGreen(red.pixel(4, 4)), 120);
  QVERIFY(qRed(red.pixel(4, 4)) < qRed(red.pixel(60, 4)));
  const int cursorX = int(67 * (200 / 255.0));
  QCOMPARE(qAlpha(red.pixel(cursorX + 2, 14)), 255);
}

SK_TEST_MAIN(TestColourWidgets)
#include "test_colourwidgets.moc"
