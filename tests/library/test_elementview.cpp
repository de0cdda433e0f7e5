// The zoomable element view, the colour keying and the transparency picker.
#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"

#include "library/ColourSwatch.h"
#include "library/ElementKeying.h"
#include "library/QElementView.h"
#include "library/QElementViewer.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

namespace {

int warnings = 0;
void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
  if (type != QtDebugMsg && type != QtInfoMsg)
    ++warnings;
}

// Pixel (x, y) is (x, y, 0, 128), but (0, 0) is first.
QString makeImage(const QString& name, int width, int height, QRgb first = qRgba(255, 0, 0, 128))
{
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgba(x, y, 0, 128));
  image.setPixel(0, 0, first);
  image.save(name, "PNG");
  return name;
}

template <class W>
W* withText(QWidget* parent, const QString& text)
{
  for (W* w : parent->findChildren<W*>())
    if (w->text() == text)
      return w;
  return nullptr;
}
void press(QWidget* dialog, const QString& text) { QTest::mouseClick(withText<QPushButton>(dialog, text), Qt::LeftButton); }

QList<QImage> swatches(QWidget* dialog)
{
  QList<QImage> out;
  for (QLabel* label : dialog->findChildren<QLabel*>())
    if (label->pixmap().size() == QSize(50, 20))
      out << label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  return out;
}

} // namespace

class TestElementView : public QObject
{
  Q_OBJECT

private slots:
  void zoomsAndClicks_data()
  {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("button");
    QTest::addColumn<QColor>("colour"); // invalid: nothing emitted
    QTest::addColumn<int>("type");
    const QSize s(32, 48);
    QTest::newRow("last pixel") << s << 2.0 << QSize(64, 96) << QPoint(63, 95) << int(Qt::LeftButton)
                                << QColor(31, 47, 0, 128) << 0;
    QTest::newRow("first pixel, left") << s << 2.0 << QSize(64, 96) << QPoint(1, 1) << int(Qt::LeftButton)
                                       << QColor(255, 0, 0, 128) << 0;
    QTest::newRow("first pixel, right") << s << 2.0 << QSize(64, 96) << QPoint(1, 1) << int(Qt::RightButton)
                                        << QColor(255, 0, 0, 128) << 1;
    QTest::newRow("middle") << s << 2.0 << QSize(64, 96) << QPoint(1, 1) << int(Qt::MiddleButton) << QColor() << 0;
    QTest::newRow("beyond the pixmap") << s << 2.0 << QSize(64, 96) << QPoint(200, 100) << int(Qt::RightButton)
                                       << QColor(0, 0, 0, 0) << 1;
    QTest::newRow("truncated zoom") << QSize(33, 33) << 1.5 << QSize(49, 49) << QPoint(48, 48)
                                    << int(Qt::LeftButton) << QColor(32, 32, 0, 128) << 0;
  }
  void zoomsAndClicks()
  {
    QFETCH(QSize, size);
    QFETCH(double, zoom);
    QFETCH(QSize, shown);
    QFETCH(QPoint, point);
    QFETCH(int, button);
    QFETCH(QColor, colour);
    QFETCH(int, type);
    QElementView view(makeImage("a.png", size.width(), size.height()));
    view.setMinimumSize(256, 256);
    view.show();
    view.setZoom(zoom);
    view.setZoom(-1.0); // ignored, as is any factor that is not positive and finite
    QCOMPARE(view.pixmap().size(), shown);
    QSignalSpy spy(&view, &QElementView::changeColor);
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    QTest::mousePress(&view, Qt::MouseButton(button), Qt::NoModifier, point);
    qInstallMessageHandler(previous);
    QCOMPARE(warnings, 0);
    QCOMPARE(spy.size(), colour.isValid() ? 1 : 0);
    if (colour.isValid()) {
      QCOMPARE(spy[0][0].value<QColor>().rgba(), colour.rgba());
      QCOMPARE(spy[0][1].toInt(), type);
    }
  }

  void failedLoadsKeepThePicture()
  {
    PromptRecorder prompts;
    QElementView empty("none.png");
    QCOMPARE(empty.size(), QSize(-1, -1));
    QElementView view(makeImage("a.png", 10, 20));
    view.setImage("missing.png");
    QCOMPARE(prompts.kinds(), QStringList({"message", "message"}));
    QCOMPARE(prompts.asked[1].title, QString("Erreur"));
    QCOMPARE(prompts.asked[1].text, QString("Impossible d'ouvrir missing.png"));
    QVERIFY(view.image().isNull());
    QCOMPARE(view.pixmap().size(), QSize(10, 20));
    QCOMPARE(view.size(), QSize(10, 20));
    view.setZoom(4.0);
    view.setImage(makeImage("b.png", 3, 5));
    QCOMPARE(view.pixmap().size(), QSize(12, 20));
  }

  void keying_data()
  {
    QTest::addColumn<QColor>("transparency");
    QTest::addColumn<QColor>("translucency");
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<uint>("keyed");
    const QColor none(0, 0, 0, 0), white(Qt::white), red(Qt::red);
    QTest::newRow("opaque white keyed") << white << none << 0xFFFFFFFFu << 0x00000013u;
    QTest::newRow("white 254 kept") << white << none << 0xFEFFFFFFu << 0xFEFFFFFFu;
    QTest::newRow("red alpha 1") << none << red << 0x01FF0000u << 0x80FF0000u;
    QTest::newRow("red alpha 255") << none << red << 0xFFFF0000u << 0x80FF0000u;
    QTest::newRow("zero is transparent") << none << red << 0x00000000u << 0x00000013u;
    QTest::newRow("translucency first") << red << red << 0xFFFF0000u << 0x80FF0000u;
    QTest::newRow("neither opaque") << QColor(255, 255, 255, 128) << none << 0x00000000u << 0x00000000u;
    QTest::newRow("black spares the ground") << none << QColor(Qt::black) << 0x00000000u << 0x00000013u;
    QTest::newRow("red of alpha 0 kept") << none << red << 0x00FF0000u << 0x00FF0000u;
  }
  void keying()
  {
    QFETCH(QColor, transparency);
    QFETCH(QColor, translucency);
    QFETCH(uint, pixel);
    QFETCH(uint, keyed);
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, pixel);
    source.setPixel(1, 0, 0xFF123456u);
    const QImage out = keyElementImage(source.convertToFormat(QImage::Format_RGBA8888), transparency, translucency);
    QCOMPARE(out.format(), QImage::Format_ARGB32);
    QCOMPARE(out.pixel(0, 0), QRgb(keyed));
    QCOMPARE(out.pixel(1, 0), 0xFF123456u);
  }

  void pickerWalksThroughTheFiles()
  {
    PromptRecorder prompts;
    std::vector<ElementImage> list;
    const QStringList paths = {makeImage("hair.old.png", 4, 4, 0xFFFFFFFFu), "gone.png", makeImage("face", 6, 6)};
    QElementViewer viewer(paths, &list, nullptr);
    viewer.show();
    QCOMPARE(viewer.windowTitle(), QString("Gestion de la transparence (1/3)"));
    QElementView* view = viewer.findChild<QElementView*>();
    QComboBox* zoom = viewer.findChild<QComboBox*>();
    const QImage bare = blankSwatch(swatchCheckerboard()).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(swatches(&viewer), QList<QImage>({bare, bare}));
    zoom->setCurrentIndex(2);
    QCOMPARE(view->pixmap().size(), QSize(16, 16));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1)); // opaque white
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, QPoint(5, 1)); // (1, 0, 0, 128): not opaque
    QVERIFY(swatches(&viewer)[0] != bare);
    press(&viewer, "Valider");
    QCOMPARE(viewer.windowTitle(), QString("Gestion de la transparence (3/3)"));
    QCOMPARE(prompts.asked.last().text, QString("Impossible d'ouvrir gone.png"));
    QCOMPARE(zoom->currentText(), QString("Zoom x1.0"));
    QCOMPARE(view->pixmap().size(), QSize(6, 6));
    QCOMPARE(swatches(&viewer), QList<QImage>({bare, bare}));
    press(&viewer, "Valider");
    QVERIFY(!viewer.isVisible());
    QCOMPARE(list.size(), size_t(2));
    QCOMPARE(list[0].name, QString("hair.old"));
    QCOMPARE(list[0].image.pixel(0, 0), 0x00000013u);
    QCOMPARE(list[0].image.pixel(1, 0), qRgba(1, 0, 0, 128));
    QCOMPARE(list[1].name, QString("face"));

    QElementViewer second({"gone.png", "face", "hair.old.png"}, &list, nullptr);
    QCOMPARE(second.windowTitle(), QString("Gestion de la transparence (2/3)"));
    press(&second, "Annuler");
    QCOMPARE(list.size(), size_t(2));
    QElementViewer third({"face", "gone.png", "hair.old.png"}, &list, nullptr);
    press(&third, "Valider");
    press(&third, "Annuler");
    QCOMPARE(list.size(), size_t(3));
    QVERIFY(third.hasImage());
    QVERIFY(!QElementViewer({"gone.png", "none.png"}, &list, nullptr).hasImage());
  }
};

SK_TEST_MAIN(TestElementView)
#include "test_elementview.moc"
