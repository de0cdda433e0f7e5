#include "tests/TestMain.h"

#include <QImage>

// The window layouts place these icons by their pixel sizes; the others may
// have any size but must exist, or the windows show blank buttons.
class TestIcons : public QObject
{
  Q_OBJECT

private slots:
  void present_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const struct
    {
      const char* name;
      int w, h;
    } sized[] = {
        {"search.png", 256, 256},     {"alone.png", 64, 64},      {"all.png", 64, 64},
        {"saveDialog.png", 48, 48},   {"dontSaveDialog.png", 48, 48}, {"undoDialog.png", 48, 48},
        {"icon_xp.png", 50, 48},      {"icon_vx.png", 50, 44},    {"newCustom.png", 32, 32},
        {"helpicon.png", 32, 32},     {"setCustom.png", 32, 32},  {"myOk.png", 32, 32},
        {"up2.png", 32, 32},          {"down2.png", 32, 32},      {"lecture.png", 45, 45},
        {"pause.png", 45, 45},        {"lecture_hover.png", 45, 45}, {"pause_hover.png", 45, 45},
        {"SK.png", 32, 32},           {"cursor.png", 6, 6},       {"moving.png", 10, 126},
        {"pointR.png", 22, 22},       {"pointV.png", 22, 22},     {"pointB.png", 22, 22},
        {"cursorColor.png", 10, 22},  {"cursorColorSelected.png", 10, 22},
    };
    for (const auto& s : sized)
      QTest::newRow(s.name) << QString::fromLatin1(s.name) << QSize(s.w, s.h);
    const char* named[] = {
        "Add.png", "Close.png", "Pen.png", "Redo2.png", "Save.png", "SaveAll.png", "SaveAs2.png", "Undo2.png",
        "add_dessin.png", "addToPalette.png", "inversion.png", "bg.png", "book.png", "cerclechrom.png", "circle.png", "conversion.png",
        "conversionMode.png", "copy.png", "cut.png", "deselection.png", "donation.png", "dupliquer.png",
        "flipH.png", "flipV.png", "gomme.png", "grid.png", "helpdir.png", "helpfile.png", "hide.png",
        "hideshow.png", "line.png", "modeContour.png", "modePlein.png", "modePleinContour.png", "move.png",
        "moveCursor.png", "movingVertical.png", "newVX.png", "newXP.png", "ok.png", "openLittle.png", "paste.png",
        "pipette.png", "rect.png", "redimension.png", "remove.png", "restauration.png", "rotation.png",
        "rotationM90.png", "rotationP90.png", "savemass.png", "selectionCursor.png", "show.png", "sorvel.png",
        "sorvelElement.png", "suivant.png", "s\xc3\xa9lectionCase.png", "taille.png", "unsaved.png",
        "zeffet.png", "zoom-in-32.png", "zoom-out-32.png", "add_folder.png", "add_qt.png", "previous.png",
        "sub_dessin.png", "lgradient.png", "rgradient.png", "cgradient.png", "normalspread.png",
        "reflectspread.png", "repeatspread.png",
    };
    for (const char* n : named)
      QTest::newRow(n) << QString::fromUtf8(n) << QSize();
  }
  void present()
  {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image(":/icon/" + name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    if (size.isValid())
      QCOMPARE(image.size(), size);
  }

  // That tile of the close question is drawn without an icon.
  void saveAllTileHasNoIcon() { QVERIFY(!QFile::exists(":/icon/saveAllDialog.png")); }

  // The lists draw the arrows one pixel past their strip: that pixel row and
  // column must stay clear.
  void listArrowsLeaveTheirLastRowAndColumnClear()
  {
    for (const char* name : {":/icon/up2.png", ":/icon/down2.png"}) {
      const QImage image = QImage(name).convertToFormat(QImage::Format_ARGB32);
      for (int i = 0; i < 32; ++i) {
        QCOMPARE(qAlpha(image.pixel(31, i)), 0);
        QCOMPARE(qAlpha(image.pixel(i, 31)), 0);
      }
      QVERIFY(qAlpha(image.pixel(15, 15)) > 0);
    }
  }

  // The gradient view tells its handles apart by these exact colours.
  void pointHandlesArePureRings_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("red") << "pointR.png" << qRgb(255, 0, 0);
    QTest::newRow("green") << "pointV.png" << qRgb(0, 255, 0);
    QTest::newRow("blue") << "pointB.png" << qRgb(0, 0, 255);
  }
  void pointHandlesArePureRings()
  {
    QFETCH(QString, name);
    QFETCH(QRgb, colour);
    const QImage image = QImage(":/icon/" + name).convertToFormat(QImage::Format_ARGB32);
    int ring = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qAlpha(image.pixel(x, y)) > 0) {
          QCOMPARE(image.pixel(x, y), colour);
          ++ring;
        }
    QVERIFY(ring > 40);
    QCOMPARE(qAlpha(image.pixel(11, 11)), 0);
  }

  // The stop bar paints the stop's colour into that window of each cursor.
  void colourCursorsLeaveTheirWindowClear()
  {
    for (const char* name : {":/icon/cursorColor.png", ":/icon/cursorColorSelected.png"}) {
      const QImage image = QImage(name).convertToFormat(QImage::Format_ARGB32);
      for (int y = 10; y < 21; ++y)
        for (int x = 1; x < 9; ++x)
          QCOMPARE(qAlpha(image.pixel(x, y)), 0);
      QVERIFY(qAlpha(image.pixel(0, 9)) > 0 && qAlpha(image.pixel(9, 21)) > 0);
    }
  }
};

SK_TEST_MAIN(TestIcons)
#include "test_icons.moc"
