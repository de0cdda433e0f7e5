#include "tests/TestMain.h"

#include "core/BlendImage.h"
#include "core/ColourUtils.h"
#include "core/ImageUtils.h"
#include "core/PathUtils.h"

#include <cmath>

namespace {

QImage filled(int w, int h, QRgb word)
{
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(word);
  return img;
}

QRgb pixel(const QImage& img, int x, int y)
{
  return reinterpret_cast<const QRgb*>(img.constScanLine(y))[x];
}

} // namespace

class TestUtils : public QObject
{
  Q_OBJECT

private slots:
  void pathParts_data();
  void pathParts();
  void extensions_data();
  void extensions();
  void validFileNames_data();
  void validFileNames();

  void checkerboardFramed();
  void checkerboardSquareBelowOne();
  void transparencyAndUniform();
  void otherFormatsJudgedByTheirColours_data();
  void otherFormatsJudgedByTheirColours();
  void blendOverClipsToBothImages_data();
  void blendOverClipsToBothImages();
  void blendOverValues();
  void blendWithAlphaRounds();
  void ellipseInImage_data();
  void ellipseInImage();

  void hslToColour();
  void colourToHsl_data();
  void colourToHsl();
  void clamp();
};

void TestUtils::pathParts_data()
{
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("dir");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("base");
  QTest::addColumn<QString>("ext");
  QTest::newRow("backslashes") << "C:\\a\\b.png" << "C:\\a" << "b.png" << "b" << "png";
  QTest::newRow("slashes") << "C:/a/b.png" << "C:/a" << "b.png" << "b" << "png";
  QTest::newRow("two dots") << "C:/a/b.c.png" << "C:/a" << "b.c.png" << "b.c" << "png";
  QTest::newRow("mixed separators") << "C:/a\\b/c.sk" << "C:/a\\b" << "c.sk" << "c" << "sk";
  QTest::newRow("bare name") << "file.png" << "" << "file.png" << "file" << "png";
  QTest::newRow("root") << "/b.png" << "" << "b.png" << "b" << "png";
  QTest::newRow("trailing separator") << "C:/a/" << "C:/a" << "" << "" << "C:/a/";
  QTest::newRow("dot in folder") << "C:/a.d/b" << "C:/a.d" << "b" << "b" << "d/b";
  QTest::newRow("no dot") << "README" << "" << "README" << "README" << "README";
  QTest::newRow("hidden") << "/x/.png" << "/x" << ".png" << "" << "png";
  QTest::newRow("non latin") << QString::fromUtf8("/\xe6\x97\xa5/\xc3\xa9t\xc3\xa9.sk")
                             << QString::fromUtf8("/\xe6\x97\xa5") << QString::fromUtf8("\xc3\xa9t\xc3\xa9.sk")
                             << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << "sk";
}

void TestUtils::pathParts()
{
  QFETCH(QString, path);
  QFETCH(QString, dir);
  QFETCH(QString, file);
  QFETCH(QString, base);
  QFETCH(QString, ext);
  QCOMPARE(pathDirectory(path), dir);
  QCOMPARE(pathFileName(path), file);
  QCOMPARE(pathBaseName(path), base);
  QCOMPARE(pathExtension(path), ext);
}

void TestUtils::extensions_data()
{
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("ext");
  QTest::addColumn<bool>("has");
  QTest::addColumn<QString>("ensured");
  QTest::newRow("upper case") << "x.PNG" << "png" << true << "x.PNG";
  QTest::newRow("other") << "x.png" << "sk" << false << "x.png.sk";
  QTest::newRow("no dot") << "README" << "readme" << true << "README";
  QTest::newRow("none") << "dir/x" << "elsk" << false << "dir/x.elsk";
}

void TestUtils::extensions()
{
  QFETCH(QString, path);
  QFETCH(QString, ext);
  QFETCH(bool, has);
  QFETCH(QString, ensured);
  QCOMPARE(hasExtension(path, ext), has);
  ensureExtension(path, ext);
  QCOMPARE(path, ensured);
}

void TestUtils::validFileNames_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("valid");
  for (const char* c : {"\\", "/", "*", "|", "<", ">", ":", "?", "\""})
    QTest::newRow(c) << QString("a%1b").arg(QLatin1String(c)) << false;
  QTest::newRow("dot") << "a.b" << true;
  QTest::newRow("empty") << "" << true;
  QTest::newRow("accents") << QString::fromUtf8("\xc3\xa9l\xc3\xa9ment 1") << true;
}

void TestUtils::validFileNames()
{
  QFETCH(QString, name);
  QFETCH(bool, valid);
  QCOMPARE(isValidFileName(name), valid);
}

void TestUtils::checkerboardFramed()
{
  QImage img;
  const QRgb white = 0xFFFFFFFF;
  const QRgb gray = QColor(Qt::gray).rgba();
  makeCheckerboard(img, QSize(10, 10), 5, true, white, gray);
  QCOMPARE(img.format(), QImage::Format_ARGB32);
  QCOMPARE(img.size(), QSize(10, 10));
  int border = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (x == 0 || y == 0 || x == 9 || y == 9) {
        ++border;
        QCOMPARE(pixel(img, x, y), QRgb(0xFF000000));
      }
  QCOMPARE(border, 36);
  QCOMPARE(pixel(img, 1, 1), QRgb(0xFFFFFFFF));
  QCOMPARE(pixel(img, 6, 1), QRgb(0xFFA0A0A4));
  QCOMPARE(pixel(img, 1, 6), QRgb(0xFFA0A0A4));
  QCOMPARE(pixel(img, 6, 6), QRgb(0xFFFFFFFF));

  makeCheckerboard(img, QSize(4, 2), 2, false, 1u, 2u);
  QCOMPARE(pixel(img, 0, 0), QRgb(1));
  QCOMPARE(pixel(img, 1, 1), QRgb(1));
  QCOMPARE(pixel(img, 2, 0), QRgb(2));
  QCOMPARE(pixel(img, 3, 1), QRgb(2));

  QPixmap pm;
  makeCheckerboard(pm, QSize(6, 3), 3, false, white, gray);
  QCOMPARE(pm.size(), QSize(6, 3));
}

void TestUtils::checkerboardSquareBelowOne()
{
  QImage img;
  makeCheckerboard(img, QSize(3, 2), 0, false, 1u, 2u);
  const QRgb expected[2][3] = {{1, 2, 1}, {2, 1, 2}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      QCOMPARE(pixel(img, x, y), expected[y][x]);
  // An empty size gives an empty image, frame or not.
  makeCheckerboard(img, QSize(0, 0), 5, true, 1u, 2u);
  QVERIFY(img.isNull());
}

void TestUtils::transparencyAndUniform()
{
  QImage img = filled(3, 2, 0x00000013);
  QVERIFY(isFullyTransparent(img));
  QVERIFY(isUniform(img, 0x00000013));
  QVERIFY(!isUniform(img, 0x00000000));
  img.setPixel(2, 1, 0x01000000);
  QVERIFY(!isFullyTransparent(img));
  QVERIFY(!isUniform(img, 0x00000013));
  QVERIFY(isFullyTransparent(QImage()));
  QVERIFY(isUniform(QImage(), 0x12345678));
  // An image of another depth is judged by its ARGB32 pixels.
  QImage indexed(2, 2, QImage::Format_Indexed8);
  indexed.setColorTable({0x00FF0000});
  indexed.fill(0);
  QVERIFY(isFullyTransparent(indexed));
}

// Formats whose words are not ARGB are judged through their colours.
void TestUtils::otherFormatsJudgedByTheirColours_data()
{
  QTest::addColumn<int>("format");
  for (QImage::Format f : {QImage::Format_RGBA8888, QImage::Format_RGBX8888, QImage::Format_A2RGB30_Premultiplied,
                           QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
    QTest::addRow("format %d", int(f)) << int(f);
}

void TestUtils::otherFormatsJudgedByTheirColours()
{
  QFETCH(int, format);
  QImage red(3, 2, QImage::Format(format));
  red.fill(QColor(255, 0, 0));
  QVERIFY(isUniform(red, 0xFFFF0000u));
  QVERIFY(!isFullyTransparent(red));
  red.setPixelColor(1, 1, QColor(0, 0, 255));
  QVERIFY(!isUniform(red, 0xFFFF0000u));
}

void TestUtils::blendOverClipsToBothImages_data()
{
  QTest::addColumn<QPoint>("dpos");
  QTest::addColumn<QPoint>("spos");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QRect>("changed"); // destination pixels expected to turn red
  QTest::newRow("inside") << QPoint(1, 1) << QPoint(0, 0) << QSize(2, 2) << QRect(1, 1, 2, 2);
  QTest::newRow("past dst right/bottom") << QPoint(3, 2) << QPoint(0, 0) << QSize(10, 10) << QRect(3, 2, 1, 2);
  QTest::newRow("negative dst") << QPoint(-2, -1) << QPoint(0, 0) << QSize(4, 3) << QRect(0, 0, 1, 2);
  QTest::newRow("past src") << QPoint(0, 0) << QPoint(2, 2) << QSize(4, 4) << QRect(0, 0, 1, 1);
  QTest::newRow("negative src") << QPoint(0, 0) << QPoint(-1, -1) << QSize(3, 3) << QRect(1, 1, 2, 2);
  QTest::newRow("outside") << QPoint(50, 50) << QPoint(0, 0) << QSize(3, 3) << QRect();
  QTest::newRow("far off") << QPoint(INT_MIN, 0) << QPoint(INT_MAX, 0) << QSize(INT_MAX, 1) << QRect();
}

void TestUtils::blendOverClipsToBothImages()
{
  QFETCH(QPoint, dpos);
  QFETCH(QPoint, spos);
  QFETCH(QSize, size);
  QFETCH(QRect, changed);
  QImage dst = filled(4, 4, 0xFF0000FF);
  const QImage src = filled(3, 3, 0xFFFF0000);
  blendImageOver(dst, dpos.x(), dpos.y(), src, spos.x(), spos.y(), size.width(), size.height());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      QCOMPARE(pixel(dst, x, y), changed.contains(x, y) ? QRgb(0xFFFF0000) : QRgb(0xFF0000FF));
}

void TestUtils::blendOverValues()
{
  QImage dst = filled(3, 1, 0x00000013);
  dst.setPixel(1, 0, 0xFF0000FF);
  dst.setPixel(2, 0, 0x80204060);
  const QImage src = filled(3, 1, 0x80FF0000);
  blendImageOver(dst, 0, 0, src, 0, 0, 3, 1);
  QCOMPARE(pixel(dst, 0, 0), QRgb(0x80FF0000)); // over blank: the source itself
  // ao = 255, wd = 127/255, ws = 128/255
  QCOMPARE(pixel(dst, 1, 0), QRgb(0xFF80007F));
  // ad = 128, as = 128: ao = 128 + 128*127/255.0 = 191.749...
  const double ao = 128 + (128 * 127) / 255.0;
  const double wd = (ao - 128) / ao, ws = 128 / ao;
  const QRgb expected = qRgba(int(0x20 * wd + 0xFF * ws), int(0x40 * wd), int(0x60 * wd), int(ao));
  QCOMPARE(pixel(dst, 2, 0), expected);
  // A transparent source changes nothing.
  const QImage clear = filled(3, 1, 0x00FFFFFF);
  const QImage before = dst;
  blendImageOver(dst, 0, 0, clear, 0, 0, 3, 1);
  QCOMPARE(dst, before);
}

void TestUtils::blendWithAlphaRounds()
{
  QImage dst = filled(4, 1, 0x00000013);
  dst.setPixel(1, 0, 0xFF0000FF);
  dst.setPixel(2, 0, 0x80204060);
  QImage src = filled(4, 1, 0xFFFF0000);
  src.setPixel(3, 0, 0x00FFFFFF);
  // Reaches past both images: only the part inside both is laid.
  blendImageWithAlpha(dst, 0, 0, src, 0, 0, 9, 9, 128);
  QCOMPARE(pixel(dst, 0, 0), QRgb(0x80FF0000));
  QCOMPARE(pixel(dst, 1, 0), QRgb(0xFF80007F));
  const double ao = 128 + (128 * 127) / 255.0;
  const double wd = (ao - 128) / ao, ws = 128 / ao;
  auto nearest = [](double v) { return int(std::floor(v + 0.5)); };
  QCOMPARE(pixel(dst, 2, 0), qRgba(nearest(0x20 * wd + 0xFF * ws), nearest(0x40 * wd), nearest(0x60 * wd), 192));
  QCOMPARE(pixel(dst, 3, 0), QRgb(0x00000013)); // a transparent source pixel stays out
}

void TestUtils::ellipseInImage_data()
{
  QTest::addColumn<QRect>("rect");
  QTest::addColumn<bool>("filled");
  QTest::addColumn<QList<QPoint>>("pixels");
  // The rectangle gives the size only: the ellipse starts at the image's corner.
  QTest::newRow("3 x 3 outline") << QRect(1, 1, 3, 3) << false
                                 << QList<QPoint>{{0, 1}, {1, 0}, {1, 2}, {2, 0}, {2, 2}};
  QTest::newRow("3 x 3 filled") << QRect(-1, -1, 3, 3) << true
                                << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
  QTest::newRow("cut by the image") << QRect(0, 0, 7, 3) << false
                                    << QList<QPoint>{{0, 1}, {1, 0}, {1, 2}, {2, 0}, {2, 2}, {3, 0}, {3, 2}, {4, 0},
                                                     {4, 2}};
  QTest::newRow("height 0 plots row 0") << QRect(2, 2, 3, 0) << true << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}};
  QTest::newRow("width 0") << QRect(1, 1, 0, 3) << true << QList<QPoint>{};
}

void TestUtils::ellipseInImage()
{
  QFETCH(QRect, rect);
  QFETCH(bool, filled);
  QFETCH(QList<QPoint>, pixels);
  QImage image = ::filled(5, 5, 0x00000013);
  drawEllipseInImage(image, rect, QColor(0x12, 0x34, 0x56), filled);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      QCOMPARE(pixel(image, x, y), pixels.contains(QPoint(x, y)) ? QRgb(0xFF123456) : QRgb(0x00000013));
}

void TestUtils::hslToColour()
{
  QColor c(10, 20, 30, 77);
  const float grey[3] = {0.3f, 0.0f, 0.5f};
  hslToColor(grey, c);
  QCOMPARE(c, QColor(127, 127, 127, 77));
  const float red[3] = {0.0f, 1.0f, 0.5f};
  hslToColor(red, c);
  QCOMPARE(c, QColor(255, 0, 0, 77));
  const float green[3] = {1.0f / 3.0f, 1.0f, 0.25f};
  hslToColor(green, c);
  QCOMPARE(c, QColor(0, 127, 0, 77));
  QCOMPARE(hueToChannel(0.0, 1.0, -0.5), 1.0); // wraps to 0.5
  QCOMPARE(hueToChannel(0.0, 1.0, 1.1), hueToChannel(0.0, 1.0, 0.1));
}

void TestUtils::colourToHsl_data()
{
  QTest::addColumn<QColor>("colour");
  QTest::addColumn<double>("h");
  QTest::addColumn<double>("s");
  QTest::addColumn<double>("l");
  QTest::newRow("grey") << QColor(51, 51, 51) << 0.0 << 0.0 << 51.0;
  QTest::newRow("red") << QColor(255, 0, 0) << 0.0 << 255.0 << 127.5;
  QTest::newRow("green") << QColor(0, 255, 0) << 120.0 << 255.0 << 127.5;
  QTest::newRow("blue") << QColor(0, 0, 255) << 240.0 << 255.0 << 127.5;
  // Largest channel red, blue above green: the hue wraps below 360.
  QTest::newRow("rose") << QColor(255, 0, 128) << 329.882 << 255.0 << 127.5;
  QTest::newRow("magenta-red") << QColor(255, 0, 255) << 300.0 << 255.0 << 127.5;
}

void TestUtils::colourToHsl()
{
  QFETCH(QColor, colour);
  QFETCH(double, h);
  QFETCH(double, s);
  QFETCH(double, l);
  float hsl[3] = {-1, -1, -1};
  colorToHsl(colour, hsl);
  QVERIFY2(std::fabs(hsl[0] - h) < 0.01, qPrintable(QString::number(hsl[0])));
  QVERIFY2(std::fabs(hsl[1] - s) < 0.01, qPrintable(QString::number(hsl[1])));
  QVERIFY2(std::fabs(hsl[2] - l) < 0.01, qPrintable(QString::number(hsl[2])));
}

void TestUtils::clamp()
{
  float v = -0.5f;
  clampFloat(v, 0.0f, 1.0f);
  QCOMPARE(v, 0.0f);
  v = 1.5f;
  clampFloat(v, 0.0f, 1.0f);
  QCOMPARE(v, 1.0f);
  v = 0.25f;
  clampFloat(v, 0.0f, 1.0f);
  QCOMPARE(v, 0.25f);
  v = std::nanf("");
  clampFloat(v, 0.0f, 1.0f);
  QCOMPARE(v, 0.0f);
  QCOMPARE(clampValue(-3, 0, 255), 0);
  QCOMPARE(clampValue(300, 0, 255), 255);
  QCOMPARE(clampValue(7, 0, 255), 7);
  QCOMPARE(clampValue(5, 9, 2), 9); // an empty range: low is tested first
}

SK_TEST_MAIN(TestUtils)
#include "test_utils.moc"
