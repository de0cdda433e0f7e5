#include "tests/TestMain.h"

#include "model/CharacterData.h"

namespace {

// The word that marks the cell in (row, column) of a test sheet.
uint32_t mark(int row, int column)
{
  return 0xFF000000u | uint32_t(row << 8) | uint32_t(column);
}

// One element whose every cell holds a 1x1 pixel, at (0, 0) of the cell,
// telling its row and column.
CharacterData markedSheet(int type)
{
  CharacterData doc(type, QSize(0, 0));
  doc.addElementFromImageFile("");
  const int columns = type == XP ? 4 : 3;
  for (int c = 0; c < doc.cellCount(); ++c) {
    QImage px(1, 1, QImage::Format_ARGB32);
    px.fill(mark(c / columns, c % columns));
    doc.setImage(px, 0, c);
  }
  return doc;
}

// The column that four frames show, or -1 when they disagree or are not
// rows 0 to 3 in order.
int shownColumn(const std::array<QImage, 4>& frames)
{
  const uint32_t w = frames[0].pixel(0, 0);
  const int column = int(w & 0xFF);
  for (int k = 0; k < 4; ++k)
    if (frames[k].pixel(0, 0) != mark(k, column))
      return -1;
  return column;
}

// The step the shared cycle stands at, read through an XP sheet (which shows
// the step's own column). Reading it advances it.
int readStep()
{
  return shownColumn(markedSheet(XP).previewImages());
}

bool allBlank(const QImage& img)
{
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != kBlankPixel)
        return false;
  return true;
}

} // namespace

class TestPreviewFrames : public QObject
{
  Q_OBJECT

private slots:
  void xpCycle()
  {
    const CharacterData doc = markedSheet(XP);
    const int first = shownColumn(doc.previewImages());
    QVERIFY(first >= 0);
    for (int i = 1; i <= 4; ++i)
      QCOMPARE(shownColumn(doc.previewImages()), (first + i) % 4);
  }

  void vxCycle()
  {
    const int step = (readStep() + 1) % 4;
    const CharacterData doc = markedSheet(VX);
    const int vxColumns[4] = {1, 0, 1, 2};
    for (int i = 0; i < 4; ++i) {
      const std::array<QImage, 4> frames = doc.previewImages();
      QCOMPARE(frames[0].size(), QSize(32, 32));
      QCOMPARE(shownColumn(frames), vxColumns[(step + i) % 4]);
    }
  }

  // Every character continues the one cycle; a layout without frames leaves
  // it where it stood.
  void sharedStep()
  {
    const int step = readStep();
    const CharacterData a = markedSheet(XP);
    CharacterData other(2, QSize(128, 192));
    other.addElementFromImageFile("");
    const std::array<QImage, 4> blank = other.previewImages();
    for (const QImage& f : blank) {
      QCOMPARE(f.size(), QSize(42, 48));
      QVERIFY(allBlank(f));
    }
    QCOMPARE(shownColumn(a.previewImages()), (step + 1) % 4);
    const CharacterData b = markedSheet(XP);
    QCOMPARE(shownColumn(b.previewImages()), (step + 2) % 4);
  }

  void pixmaps()
  {
    const CharacterData doc = markedSheet(XP);
    const std::array<QPixmap, 4> frames = doc.previewPixmaps();
    for (int k = 0; k < 4; ++k) {
      QCOMPARE(frames[k].size(), QSize(32, 48));
      QCOMPARE(frames[k].toImage().pixel(0, 0) >> 8, mark(k, 0) >> 8);
    }
    CharacterData empty;
    for (const QPixmap& p : empty.previewPixmaps())
      QCOMPARE(p.size(), QSize(32, 48));
    CharacterData tiny(XP, QSize(3, 3));
    const std::array<QPixmap, 4> none = tiny.previewPixmaps();
    QCOMPARE(int(none.size()), 4);
    QVERIFY(none[0].isNull());
  }

  void hiddenAndNoElements()
  {
    CharacterData doc = markedSheet(XP);
    doc.setVisible(false, 0);
    for (const QImage& f : doc.previewImages())
      QVERIFY(allBlank(f));
    for (const QImage& f : CharacterData().previewImages())
      QVERIFY(allBlank(f));
  }

  // A cell offset by (+5, -3) shows at x 5 with its top rows cut, whichever
  // column is shown.
  void offsetClippedToCell()
  {
    CharacterData doc(XP, QSize(0, 0));
    doc.addElementFromImageFile("");
    for (int c = 0; c < 16; ++c) {
      QImage img(40, 10, QImage::Format_ARGB32);
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
          img.setPixel(x, y, 0xFF000000u | uint32_t(y << 8) | uint32_t(x));
      doc.setImage(img, 0, c);
      doc.setOffset(QPoint(5, -3), 0, c);
    }
    const std::array<QImage, 4> frames = doc.previewImages();
    for (const QImage& f : frames) {
      QCOMPARE(f.pixel(4, 0), uint(kBlankPixel));
      QCOMPARE(f.pixel(5, 0), 0xFF000300u);
      QCOMPARE(f.pixel(31, 6), 0xFF000900u | 26u);
      QCOMPARE(f.pixel(5, 7), uint(kBlankPixel));
    }
  }

  // Cells emptied by a resize or rotation are 0x0 images.
  void emptyCell()
  {
    const int step = (readStep() + 1) % 4;
    CharacterData doc = markedSheet(VX);
    const int vxColumns[4] = {1, 0, 1, 2};
    const int column = vxColumns[step];
    doc.setImage(QImage(), 0, column);       // row 0
    doc.setOffset(QPoint(3, 3), 0, column);
    const std::array<QImage, 4> frames = doc.previewImages();
    QVERIFY(allBlank(frames[0]));
    QCOMPARE(frames[1].pixel(0, 0), mark(1, column));
  }

  // Beyond the borders, a cell spilling into the next column shows in that
  // column's frame.
  void spillBeyondBorders()
  {
    const int step = (readStep() + 1) % 4;
    const int shown = step; // XP shows the step's column
    CharacterData doc(XP, QSize(0, 0));
    doc.addElementFromImageFile("");
    QImage bar(10, 2, QImage::Format_ARGB32);
    bar.fill(0xFF00FF00u);
    const int from = (shown + 3) % 4; // the column left of the shown one
    doc.setImage(bar, 0, 4 + from);   // row 1
    doc.setOffset(QPoint(30, 0), 0, 4 + from);
    doc.setDrawBeyondBorders(true);
    const std::array<QImage, 4> frames = doc.previewImages();
    if (shown == 0) { // nothing lies left of column 0: the bar is cut at the sheet's edge
      QVERIFY(allBlank(frames[1]));
    } else {
      QCOMPARE(frames[1].pixel(7, 1), 0xFF00FF00u);
      QCOMPARE(frames[1].pixel(8, 1), uint(kBlankPixel));
    }
    QVERIFY(allBlank(frames[0]));
    // Clipped to the cell, the same bar never leaves its column.
    doc.setDrawBeyondBorders(false);
    for (int i = 0; i < 4; ++i) {
      const std::array<QImage, 4> f = doc.previewImages();
      QCOMPARE(f[1].pixel(31, 1) == 0xFF00FF00u, (step + 1 + i) % 4 == from);
      QCOMPARE(f[1].pixel(0, 1), uint(kBlankPixel));
    }
  }
};

SK_TEST_MAIN(TestPreviewFrames)
#include "test_previewframes.moc"
