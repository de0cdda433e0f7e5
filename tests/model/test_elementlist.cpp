#include "tests/TestMain.h"

#include "model/CharacterData.h"

#include <QImage>

#include <algorithm>

namespace {

using Names = std::vector<std::string>;

// A document whose elements are blank drawing elements with the given names;
// each element's source is its name with "src:" in front, so that a test can
// see that the five lists moved together.
CharacterData withElements(const Names& names, int type = XP)
{
  CharacterData doc(type, QSize(0, 0));
  for (const std::string& n : names) {
    doc.addElementFromImageFile("");
    doc.setName(n, doc.elementCount() - 1);
    doc.setSource("src:" + n, doc.elementCount() - 1);
  }
  return doc;
}

// Names are only believed when the other lists followed them.
Names namesInStep(const CharacterData& doc)
{
  const int n = doc.elementCount();
  if (int(doc.names().size()) != n || int(doc.sources().size()) != n || int(doc.visibility().size()) != n ||
      int(doc.offsets().size()) != n)
    return {"<lists out of step>"};
  for (int e = 0; e < n; ++e)
    if (doc.source(e) != "src:" + doc.name(e))
      return {"<source of " + doc.name(e) + " lost>"};
  return doc.names();
}

// A sheet with one opaque pixel at (px, py) inside each of its cells.
QImage dottedSheet(int w, int h, int columns, int px, int py)
{
  QImage sheet(w, h, QImage::Format_ARGB32);
  sheet.fill(0u);
  const int cw = w / columns, ch = h / 4;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < columns; ++c)
      sheet.setPixel(c * cw + px, r * ch + py, 0xFF000000u | uint32_t(r * columns + c));
  return sheet;
}

QImage filled(int w, int h, uint32_t word)
{
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(word);
  return img;
}

bool allWords(const QImage& img, uint32_t word)
{
  for (int y = 0; y < img.height(); ++y) {
    const uint32_t* p = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (p[x] != word)
        return false;
  }
  return true;
}

} // namespace

Q_DECLARE_METATYPE(Names)
Q_DECLARE_METATYPE(std::vector<int>)

class TestElementList : public QObject
{
  Q_OBJECT

private slots:
  void drawingElement_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QSize>("cell");
    QTest::newRow("XP") << int(XP) << 16 << QSize(32, 48);
    QTest::newRow("VX") << int(VX) << 12 << QSize(32, 32);
  }
  void drawingElement()
  {
    QFETCH(int, type);
    QFETCH(int, cells);
    QFETCH(QSize, cell);
    CharacterData doc(type, QSize(0, 0));
    QVERIFY(doc.addElement("", 0));
    QCOMPARE(doc.elementCount(), 1);
    QCOMPARE(doc.name(0), std::string("Elément 1"));
    QCOMPARE(doc.source(0), std::string());
    QVERIFY(doc.isVisible(0));
    QCOMPARE(int(doc.images(0).size()), cells);
    QCOMPARE(int(doc.offsets(0).size()), cells);
    for (int c = 0; c < cells; ++c) {
      QCOMPARE(doc.image(0, c).size(), cell);
      QCOMPARE(doc.image(0, c).format(), QImage::Format_ARGB32);
      QVERIFY(allWords(doc.image(0, c), kBlankPixel));
      QCOMPARE(doc.offset(0, c), QPoint(0, 0));
    }
  }

  void sheetCut_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("docSize");
    QTest::addColumn<QSize>("sheetSize");
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("same size") << int(XP) << QSize(128, 192) << QSize(128, 192) << QPoint(0, 0);
    QTest::newRow("wider") << int(XP) << QSize(128, 192) << QSize(160, 192) << QPoint(-4, 0);
    QTest::newRow("narrower") << int(XP) << QSize(128, 192) << QSize(120, 192) << QPoint(1, 0);
    QTest::newRow("half pixel") << int(XP) << QSize(128, 192) << QSize(125, 192) << QPoint(0, 0);
    QTest::newRow("XP sheet into VX") << int(VX) << QSize(96, 128) << QSize(128, 192) << QPoint(-5, -8);
  }
  // Offsets are the visible box's corner within the sheet cell, centred on
  // the document's cell; checked through the three ways of making an element
  // from a sheet.
  void sheetCut()
  {
    QFETCH(int, type);
    QFETCH(QSize, docSize);
    QFETCH(QSize, sheetSize);
    QFETCH(QPoint, shift);
    const int columns = type == XP ? 4 : 3;
    const QImage sheet = dottedSheet(sheetSize.width(), sheetSize.height(), columns, 5, 7);
    QVERIFY(sheet.save("sheet.png"));

    CharacterData doc(type, docSize);
    QImage inMemory = sheet;
    QVERIFY(doc.addElementFromImage(inMemory, "mem"));
    QVERIFY(doc.addElementFromImageFile("sheet.png"));
    QVERIFY(doc.addElement("sheet.png", 0));
    QCOMPARE(doc.source(0), std::string("sheet.png"));
    QCOMPARE(doc.source(1), std::string("mem"));
    for (int e = 0; e < 3; ++e) {
      QCOMPARE(int(doc.images(e).size()), columns * 4);
      for (int c = 0; c < columns * 4; ++c) {
        const QImage& img = doc.image(e, c);
        QCOMPARE(img.size(), QSize(1, 1));
        QCOMPARE(img.format(), QImage::Format_ARGB32);
        QCOMPARE(img.pixel(0, 0), 0xFF000000u | uint(c));
        QCOMPARE(doc.offset(e, c), QPoint(5, 7) + shift);
      }
    }
  }

  // Images without alpha or with a palette are cut as 32-bit ARGB, and the
  // caller's image is converted in place.
  void sheetConvertedToArgb()
  {
    QImage rgb(128, 192, QImage::Format_RGB32);
    rgb.fill(0xFF336699u);
    QVERIFY(rgb.save("opaque.png"));
    CharacterData doc;
    QVERIFY(doc.addElementFromImageFile("opaque.png"));
    QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
    QVERIFY(doc.addElementFromImage(indexed, "x"));
    QCOMPARE(indexed.format(), QImage::Format_ARGB32);
    for (int e = 0; e < 2; ++e) {
      QCOMPARE(doc.image(e, 15).format(), QImage::Format_ARGB32);
      QCOMPARE(doc.image(e, 15).size(), QSize(32, 48));
      QCOMPARE(doc.image(e, 15).pixel(31, 47), 0xFF336699u);
      QCOMPARE(doc.offset(e, 15), QPoint(0, 0));
    }
  }

  void failedReadChangesNothing()
  {
    CharacterData doc = withElements({"A", "B"});
    QFile bad("bad.png");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not an image");
    bad.close();
    QVERIFY(!doc.addElement("missing.png", 1));
    QVERIFY(!doc.addElementFromImageFile("bad.png"));
    QImage null;
    QVERIFY(!doc.addElementFromImage(null, "somewhere"));
    QCOMPARE(namesInStep(doc), Names({"A", "B"}));
    QCOMPARE(doc.images().size(), std::size_t(2));
    // A null image without a source is a drawing element.
    QVERIFY(doc.addElementFromImage(null, ""));
    QCOMPARE(doc.elementCount(), 3);
    QCOMPARE(doc.image(2, 0).size(), QSize(32, 48));
  }

  void insertionPosition_data()
  {
    QTest::addColumn<int>("position");
    QTest::addColumn<Names>("expected");
    QTest::newRow("bottom") << 0 << Names{"Elément 3", "A", "B"};
    QTest::newRow("middle") << 1 << Names{"A", "Elément 3", "B"};
    QTest::newRow("top") << 2 << Names{"A", "B", "Elément 3"};
    // Out-of-range positions land at the nearest end instead of reading past the lists.
    QTest::newRow("past the top") << 7 << Names{"A", "B", "Elément 3"};
    QTest::newRow("negative") << -3 << Names{"Elément 3", "A", "B"};
  }
  void insertionPosition()
  {
    QFETCH(int, position);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"A", "B"});
    doc.setSelectedElements({1});
    doc.setSelectedCells({4});
    QVERIFY(doc.addElement("", position));
    QCOMPARE(doc.names(), expected);
    QCOMPARE(doc.sources().size(), std::size_t(3));
    QCOMPARE(doc.source(std::clamp(position, 0, 2)), std::string());
    // The selection keeps its indexes, whatever they now designate.
    QCOMPARE(doc.selectedElements(), std::vector<int>{1});
    QCOMPARE(doc.selectedCells(), std::vector<int>{4});
  }

  void newName_data()
  {
    QTest::addColumn<Names>("existing");
    QTest::addColumn<std::string>("expected");
    QTest::newRow("empty") << Names{} << std::string("Elément 1");
    QTest::newRow("gap") << Names{"Elément 1", "Elément 4", "Tête"} << std::string("Elément 5");
    QTest::newRow("free count") << Names{"Elément 1", "Elément 2"} << std::string("Elément 3");
    QTest::newRow("case matters") << Names{"elément 2"} << std::string("Elément 2");
  }
  void newName()
  {
    QFETCH(Names, existing);
    QFETCH(std::string, expected);
    CharacterData doc = withElements(existing);
    QVERIFY(doc.addElementFromImageFile(""));
    QCOMPARE(doc.names().back(), expected);
  }

  void appendAndInsertRename_data()
  {
    QTest::addColumn<bool>("insert");
    QTest::newRow("append") << false;
    QTest::newRow("insert") << true;
  }
  void appendAndInsertRename()
  {
    QFETCH(bool, insert);
    CharacterData doc = withElements({"A", "B", "Elément 4"});
    CharacterData other = withElements({"X", "Y"});
    if (insert)
      doc.insertElements(other, 1, true);
    else
      doc.appendElements(other, true);
    const Names expected = insert ? Names{"A", "Elément 5", "Elément 6", "B", "Elément 4"}
                                  : Names{"A", "B", "Elément 4", "Elément 5", "Elément 6"};
    QCOMPARE(doc.names(), expected);
    QCOMPARE(doc.source(insert ? 2 : 4), std::string("src:Y"));
  }

  void appendKeepsNamesAndVisibility()
  {
    CharacterData doc = withElements({"A"});
    CharacterData other = withElements({"X", "Y"});
    other.setVisible(false, 1);
    doc.insertElements(other, 0, false);
    QCOMPARE(namesInStep(doc), Names({"X", "Y", "A"}));
    QCOMPARE(doc.visibility(), std::vector<bool>({true, false, true}));
    doc.appendElements(other, false);
    QCOMPARE(namesInStep(doc), Names({"X", "Y", "A", "X", "Y"}));
    QVERIFY(!doc.isVisible(4));
  }

  // The other document leaves in this one's layout and size; an empty one is
  // converted but keeps its size when appended.
  void appendOtherLayout_data()
  {
    QTest::addColumn<bool>("insert");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QSize>("otherSize");
    QTest::newRow("append") << false << false << QSize(128, 192);
    QTest::newRow("append empty") << false << true << QSize(128, 128);
    QTest::newRow("insert") << true << false << QSize(128, 192);
    QTest::newRow("insert empty") << true << true << QSize(128, 192);
  }
  void appendOtherLayout()
  {
    QFETCH(bool, insert);
    QFETCH(bool, empty);
    QFETCH(QSize, otherSize);
    CharacterData doc = withElements({"A"});
    CharacterData other = withElements(empty ? Names{} : Names{"V"}, VX);
    if (!empty)
      other.setOffset(QPoint(1, 2), 0, 0); // VX cell 0 becomes XP cell 1
    if (insert)
      doc.insertElements(other, 1, false);
    else
      doc.appendElements(other, false);
    QCOMPARE(int(other.type()), int(XP));
    QCOMPARE(other.size(), otherSize);
    if (!empty) {
      QCOMPARE(doc.elementCount(), 2);
      QCOMPARE(int(doc.images(1).size()), 16);
      // 96x128 VX cells are 32x32, the XP document's 32x48: centred 8 lower.
      QCOMPARE(doc.offset(1, 1), QPoint(1, 10));
    }
  }

  void appendToItself()
  {
    CharacterData doc = withElements({"A", "B"});
    doc.appendElements(doc, false);
    QCOMPARE(namesInStep(doc), Names({"A", "B", "A", "B"}));
    doc.insertElements(doc, 1, false);
    QCOMPARE(doc.elementCount(), 8);
  }

  void duplicateName_data()
  {
    QTest::addColumn<Names>("existing");
    QTest::addColumn<int>("element");
    QTest::addColumn<std::string>("expected");
    QTest::newRow("plain") << Names{"Tête"} << 0 << std::string("Tête copie");
    QTest::newRow("plain again") << Names{"Tête", "Tête copie"} << 0 << std::string("Tête copie 2");
    QTest::newRow("plain third") << Names{"Tête", "Tête copie", "Tête copie 2"} << 0 << std::string("Tête copie 3");
    QTest::newRow("number not copy") << Names{"Tête 2"} << 0 << std::string("Tête 2 copie");
    QTest::newRow("copy") << Names{"Tête copie"} << 0 << std::string("Tête copie 2");
    QTest::newRow("numbered copy, base free") << Names{"Tête copie 2"} << 0 << std::string("Tête copie");
    QTest::newRow("numbered copy, base taken") << Names{"Tête copie", "Tête copie 2"} << 1
                                               << std::string("Tête copie 3");
    QTest::newRow("glued number") << Names{"Tête copie3"} << 0 << std::string("Tête copie");
    QTest::newRow("empty") << Names{""} << 0 << std::string(" 2");
    QTest::newRow("capital") << Names{"Tête Copie"} << 0 << std::string("Tête Copie copie");
    QTest::newRow("trailing letter") << Names{"Tête copie 12a"} << 0 << std::string("Tête copie 12a copie");
    QTest::newRow("digits only") << Names{"7"} << 0 << std::string("");
  }
  void duplicateName()
  {
    QFETCH(Names, existing);
    QFETCH(int, element);
    QFETCH(std::string, expected);
    CharacterData doc = withElements(existing);
    doc.duplicateElement(element);
    QCOMPARE(doc.elementCount(), int(existing.size()) + 1);
    QCOMPARE(doc.names().back(), expected);
  }

  void duplicateCopiesElement()
  {
    CharacterData doc = withElements({"A", "B"});
    doc.setVisible(false, 0);
    doc.setOffset(QPoint(3, -1), 0, 7);
    doc.setSelectedElements({1});
    doc.duplicateElement(doc.selectedElements()[0] - 1);
    QCOMPARE(doc.elementCount(), 3);
    QVERIFY(!doc.isVisible(2));
    QCOMPARE(doc.source(2), std::string("src:A"));
    QCOMPARE(doc.offset(2, 7), QPoint(3, -1));
    QCOMPARE(int(doc.images(2).size()), 16);
    QCOMPARE(doc.selectedElements(), std::vector<int>{1});
    // The copy's pixels are its own.
    doc.image(2, 0).setPixel(0, 0, 0xFF00FF00u);
    QCOMPARE(doc.image(0, 0).pixel(0, 0), uint(kBlankPixel));
  }

  void moveElement_data()
  {
    QTest::addColumn<int>("target");
    QTest::addColumn<Names>("expected");
    QTest::addColumn<int>("selected");
    QTest::newRow("0") << 0 << Names{"Q", "P", "R", "S"} << 0;
    QTest::newRow("1") << 1 << Names{"P", "Q", "R", "S"} << 1;
    QTest::newRow("2") << 2 << Names{"P", "Q", "R", "S"} << 1;
    QTest::newRow("3") << 3 << Names{"P", "R", "Q", "S"} << 2;
    QTest::newRow("4") << 4 << Names{"P", "R", "S", "Q"} << 3;
    QTest::newRow("9") << 9 << Names{"P", "R", "S", "Q"} << 3;
    QTest::newRow("-1") << -1 << Names{"P", "R", "S", "Q"} << 3;
  }
  void moveElement()
  {
    QFETCH(int, target);
    QFETCH(Names, expected);
    QFETCH(int, selected);
    CharacterData doc = withElements({"P", "Q", "R", "S"});
    doc.setVisible(false, 1);
    doc.setSelectedElements({1});
    doc.moveElement(target);
    QCOMPARE(namesInStep(doc), expected);
    QCOMPARE(doc.selectedElements(), std::vector<int>{selected});
    QVERIFY(!doc.isVisible(selected));
  }

  void moveNeedsOneSelected_data()
  {
    QTest::addColumn<std::vector<int>>("selection");
    QTest::newRow("none") << std::vector<int>{};
    QTest::newRow("two") << std::vector<int>{1, 2};
  }
  void moveNeedsOneSelected()
  {
    QFETCH(std::vector<int>, selection);
    CharacterData doc = withElements({"P", "Q", "R", "S"});
    doc.setSelectedElements(selection);
    doc.moveElement(0);
    QCOMPARE(namesInStep(doc), Names({"P", "Q", "R", "S"}));
    QCOMPARE(doc.selectedElements(), selection);
  }

  void duplicateElements_data()
  {
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("position");
    QTest::addColumn<Names>("expected");
    QTest::newRow("above middle") << 1 << 2 << Names{"P", "Q", "Q copie", "R"};
    QTest::newRow("top stays top") << 2 << 3 << Names{"P", "Q", "R", "R copie"};
    QTest::newRow("to bottom") << 2 << 0 << Names{"R copie", "P", "Q", "R"};
  }
  void duplicateElements()
  {
    QFETCH(int, element);
    QFETCH(int, position);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"P", "Q", "R"});
    doc.setSelectedElements({1});
    doc.duplicateElements(element, position);
    QCOMPARE(doc.names(), expected);
    QCOMPARE(doc.selectedElements(), std::vector<int>{1});
  }

  void removeElements_data()
  {
    QTest::addColumn<bool>("fromSelection");
    QTest::addColumn<std::vector<int>>("list");
    QTest::addColumn<Names>("expected");
    QTest::newRow("selection") << true << std::vector<int>{3, 1} << Names{"P", "R"};
    QTest::newRow("list") << false << std::vector<int>{3, 1} << Names{"P", "R"};
    QTest::newRow("repeats and strays") << false << std::vector<int>{0, 0, 7, -2} << Names{"Q", "R", "S"};
    QTest::newRow("nothing") << false << std::vector<int>{} << Names{"P", "Q", "R", "S"};
  }
  void removeElements()
  {
    QFETCH(bool, fromSelection);
    QFETCH(std::vector<int>, list);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"P", "Q", "R", "S"});
    doc.setSelectedCells({2, 5});
    if (fromSelection) {
      doc.setSelectedElements(list);
      doc.removeElements();
    } else {
      doc.setSelectedElements({0});
      doc.removeElements(list);
    }
    QCOMPARE(namesInStep(doc), expected);
    QVERIFY(doc.selectedElements().empty());
    QCOMPARE(doc.selectedCells(), std::vector<int>({2, 5}));
  }

  void mergeCells()
  {
    CharacterData doc = withElements({"Low", "High"});
    QImage low = filled(10, 10, 0xFF0000FFu);
    low.setPixel(0, 0, 0u); // transparent: must not show through as blue
    doc.setImage(low, 0, 6);
    doc.setOffset(QPoint(2, 3), 0, 6);
    doc.setImage(filled(4, 4, 0x80FF0000u), 1, 6);
    doc.setOffset(QPoint(10, 0), 1, 6);
    doc.setVisible(false, 1); // hidden elements merge too
    doc.setSelectedElements({1});
    doc.mergeElements({0, 1});

    QCOMPARE(namesInStep(doc), Names({"Low"}));
    QVERIFY(doc.selectedElements().empty());
    const QImage& m = doc.image(0, 6);
    QCOMPARE(m.size(), QSize(12, 13));
    QCOMPARE(m.format(), QImage::Format_ARGB32);
    QCOMPARE(doc.offset(0, 6), QPoint(2, 0));
    QCOMPARE(m.pixel(0, 0), uint(kBlankPixel));   // covered by nothing
    QCOMPARE(m.pixel(0, 3), uint(kBlankPixel));   // low's transparent pixel adds nothing
    QCOMPARE(m.pixel(1, 3), 0xFF0000FFu);         // low alone
    QCOMPARE(m.pixel(8, 0), 0x80FF0000u);         // high over blank
    QCOMPARE(m.pixel(8, 3), 0xFF80007Fu);         // high blended over low
    QCOMPARE(m.pixel(11, 12), uint(kBlankPixel)); // covered by nothing
    // Cells where both elements are blank drawing cells stay 32x48 at (0, 0).
    QCOMPARE(doc.image(0, 0).size(), QSize(32, 48));
    QCOMPARE(doc.offset(0, 0), QPoint(0, 0));
    QVERIFY(allWords(doc.image(0, 0), kBlankPixel));
  }

  // Refused before anything is allocated, with the document left whole: a
  // merged cell past the side limit, or merged cells that together pass what
  // a reader accepts of one file, though each alone fits.
  void refusedMergeChangesNothing_data()
  {
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("far");
    QTest::newRow("one cell too wide") << 1 << kMaxSheetSide;
    QTest::newRow("cells together too large") << 3 << 16000;
  }
  void refusedMergeChangesNothing()
  {
    QFETCH(int, cells);
    QFETCH(int, far);
    CharacterData doc = withElements({"P", "Q"});
    for (int c = 0; c < cells; ++c) {
      doc.setImage(filled(1, 1, 0xFFFF0000u), 1, c);
      doc.setOffset(QPoint(far, far), 1, c);
    }
    const CharacterData before = doc;
    QVERIFY(!doc.mergeElements({0, 1}));
    QCOMPARE(doc.errorMessage(),
             std::string("Impossible de fusionner ces éléments : l'image d'une cellule fusionnée serait trop grande."));
    QCOMPARE(namesInStep(doc), Names({"P", "Q"}));
    QCOMPARE(doc.offsets(), before.offsets());
    QCOMPARE(doc.image(0, 0).size(), before.image(0, 0).size());
  }

  void mergeOrder()
  {
    CharacterData doc = withElements({"E0", "E1", "E2"});
    doc.setImage(filled(1, 1, 0xFF00FF00u), 0, 0);
    doc.setImage(filled(1, 1, 0xFFFF0000u), 2, 0);
    doc.setVisible(false, 2);
    doc.mergeElements({2, 0});
    QCOMPARE(namesInStep(doc), Names({"E1", "E2"}));
    QVERIFY(!doc.isVisible(1));
    QCOMPARE(doc.image(1, 0).pixel(0, 0), 0xFF00FF00u); // element 0 laid over element 2
  }

  // A repeated index must not make the merged element remove itself.
  void mergeRepeatedIndex_data()
  {
    QTest::addColumn<std::vector<int>>("list");
    QTest::addColumn<Names>("expected");
    QTest::newRow("same twice") << std::vector<int>{2, 2} << Names{"P", "Q", "R", "S"};
    QTest::newRow("first repeated later") << std::vector<int>{1, 3, 1} << Names{"P", "Q", "R"};
    QTest::newRow("one entry") << std::vector<int>{1} << Names{"P", "Q", "R", "S"};
    QTest::newRow("stray index") << std::vector<int>{1, 9} << Names{"P", "Q", "R", "S"};
  }
  void mergeRepeatedIndex()
  {
    QFETCH(std::vector<int>, list);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"P", "Q", "R", "S"});
    doc.mergeElements(list);
    QCOMPARE(namesInStep(doc), expected);
  }

  void mergeWithLower_data()
  {
    QTest::addColumn<int>("element");
    QTest::addColumn<Names>("expected");
    QTest::newRow("0") << 0 << Names{"P", "Q", "R"};
    QTest::newRow("-1") << -1 << Names{"P", "Q", "R"};
    QTest::newRow("2") << 2 << Names{"P", "Q"};
  }
  void mergeWithLower()
  {
    QFETCH(int, element);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"P", "Q", "R"});
    doc.setImage(filled(1, 1, 0xFFFF0000u), 2, 0);
    doc.mergeWithLowerElement(element);
    QCOMPARE(namesInStep(doc), expected);
    if (element == 2)
      QCOMPARE(doc.image(1, 0).pixel(0, 0), 0xFFFF0000u);
  }

  void mergeSelected_data()
  {
    QTest::addColumn<std::vector<int>>("selection");
    QTest::addColumn<Names>("expected");
    QTest::newRow("unsorted") << std::vector<int>{3, 1} << Names{"P", "Q", "R"};
    QTest::newRow("one") << std::vector<int>{2} << Names{"P", "Q", "R", "S"};
  }
  void mergeSelected()
  {
    QFETCH(std::vector<int>, selection);
    QFETCH(Names, expected);
    CharacterData doc = withElements({"P", "Q", "R", "S"});
    doc.setImage(filled(1, 1, 0xFF00FF00u), 1, 0);
    doc.setImage(filled(1, 1, 0xFFFF0000u), 3, 0);
    doc.setSelectedElements(selection);
    doc.mergeSelectedElements();
    QCOMPARE(namesInStep(doc), expected);
    QVERIFY(doc.selectedElements().empty());
    if (selection.size() == 2)
      QCOMPARE(doc.image(1, 0).pixel(0, 0), 0xFFFF0000u); // the higher index lies on top
  }
};

SK_TEST_MAIN(TestElementList)
#include "test_elementlist.moc"
