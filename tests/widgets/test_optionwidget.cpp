#include "tests/TestMain.h"
#include "widgets/QOptionWidget.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>

namespace {

// Top-left of the dark (text) pixels of an image.
QPoint inkOrigin(const QImage& image)
{
  QPoint origin(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100) {
        origin.rx() = qMin(origin.x(), x);
        origin.ry() = qMin(origin.y(), y);
      }
  return origin;
}

QImage rendered(QLabel& label)
{
  label.resize(label.sizeHint());
  QImage image(label.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

} // namespace

class TestOptionWidget : public QObject
{
  Q_OBJECT

private slots:
  void textsStartRightOfTheIcon_data()
  {
    QTest::addColumn<int>("iconSize");
    QTest::newRow("no icon") << 0;
    QTest::newRow("64-pixel icon") << 64;
    QTest::newRow("8-pixel icon") << 8;
  }

  void textsStartRightOfTheIcon()
  {
    QFETCH(int, iconSize);
    QPixmap icon;
    if (iconSize) {
      icon = QPixmap(iconSize, iconSize);
      icon.fill(Qt::yellow);
    }
    const QString caption = QStringLiteral("<h3>Ok</h3>"), text = QStringLiteral("Fermer la boîte de dialogue.");
    QOptionWidget tile(icon, caption, text);
    QLabel captionLabel(caption), textLabel(text);
    const QSize c = captionLabel.sizeHint(), t = textLabel.sizeHint();
    QCOMPARE(tile.sizeHint(), QSize(iconSize + 8 + qMax(c.width(), t.width()) + 20,
                                    qMax(c.height() + t.height(), iconSize) + 20));
    if (iconSize == 64)
      QVERIFY(tile.sizeHint().height() >= 84);

    tile.resize(tile.sizeHint());
    const QImage look = tile.grab().toImage();
    QCOMPARE(inkOrigin(look), inkOrigin(rendered(captionLabel)) + QPoint(iconSize + 13, 10));
    if (iconSize)
      QCOMPARE(look.pixelColor(8 + iconSize / 2, 10 + iconSize / 2), QColor(Qt::yellow));

    // Captions alone: the text goes under the caption's height.
    QOptionWidget textOnly(icon, QString(), text);
    textOnly.resize(textOnly.sizeHint());
    QCOMPARE(inkOrigin(textOnly.grab().toImage()),
             inkOrigin(rendered(textLabel)) + QPoint(iconSize + 13, QLabel().sizeHint().height() + 10));
  }

  void pixmapSizeCountsOnlyWhileScaled()
  {
    QPixmap icon(64, 64);
    icon.fill(Qt::yellow);
    QOptionWidget tile(icon, QStringLiteral("<h3>A</h3>"), QStringLiteral("b"));
    const QSize natural = tile.sizeHint();
    tile.setPixmapSize(QSize(200, 100));
    QCOMPARE(tile.sizeHint(), natural);
    tile.setScaled(true);
    QCOMPARE(tile.sizeHint(), natural + QSize(200 - 64, 100 - 64));
    tile.resize(tile.sizeHint());
    QCOMPARE(tile.grab().toImage().pixelColor(8 + 199, 10 + 99), QColor(Qt::yellow));
  }

  void anyButtonClicksOnThePress_data()
  {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
  }

  void anyButtonClicksOnThePress()
  {
    QFETCH(Qt::MouseButton, button);
    QOptionWidget tile(QStringLiteral("<h3>A</h3>"), QStringLiteral("b"));
    tile.resize(tile.sizeHint());
    QSignalSpy clicked(&tile, &QOptionWidget::clicked), released(&tile, &QOptionWidget::release);
    const QImage idle = tile.grab().toImage();
    QTest::mousePress(&tile, button);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(released.count(), 0);

    // Leaving while pressed keeps the pressed look until the release.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&tile, &leave);
    QVERIFY(tile.grab().toImage() != idle);
    QTest::mouseRelease(&tile, button);
    QCOMPARE(released.count(), 1);
    QCOMPARE(tile.grab().toImage(), idle);
  }
};

SK_TEST_MAIN(TestOptionWidget)
#include "test_optionwidget.moc"
