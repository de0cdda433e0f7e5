#include "model/CharacterData.h"
#include "model/ElementFile.h"
#include "model/StreamImage.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"
#include "tests/model/MarkedSheet.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QRandomGenerator>

Q_DECLARE_METATYPE(QColorSpace::NamedColorSpace)

namespace {

// The chunks that carry a colour space; a cell holds none of them.
bool holdsColourChunk(const QByteArray& bytes)
{
  for (const char* type : {"iCCP", "gAMA", "cHRM", "sRGB"})
    if (bytes.contains(type))
      return true;
  return false;
}

QByteArray pngWithProfile(const QImage& image, QColorSpace::NamedColorSpace space)
{
  QImage profiled = image;
  profiled.setColorSpace(QColorSpace(space));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "png").write(profiled);
  return png;
}

} // namespace

class TestCellProfiles : public QObject
{
  Q_OBJECT

private slots:
  // Neither the sheet's profile nor its text is written again in each cell.
  void sheetMetadataStaysOutOfCells_data()
  {
    QTest::addColumn<QColorSpace::NamedColorSpace>("space");
    QTest::addColumn<QString>("route");
    const struct
    {
      QColorSpace::NamedColorSpace space;
      const char* name;
    } spaces[] = {{QColorSpace::SRgb, "sRGB"}, {QColorSpace::DisplayP3, "P3"}, {QColorSpace::AdobeRgb, "Adobe"}};
    for (const auto& s : spaces)
      for (const char* route : {"added", "reloaded", "element file"})
        QTest::newRow(qPrintable(QString("%1, %2").arg(s.name, route))) << s.space << QString(route);
  }

  void sheetMetadataStaysOutOfCells()
  {
    QFETCH(QColorSpace::NamedColorSpace, space);
    QFETCH(QString, route);
    const QImage plain = markedSheet(128, 192, 4, 3);
    QImage described = plain;
    QByteArray noise(1500000, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    described.setText("Comment", noise.toBase64()); // 1.5 MB once compressed
    writeAll("sheet.png", pngWithProfile(described, space));
    QVERIFY(holdsColourChunk(readAll("sheet.png")));

    CharacterData doc;
    QString saved = "out.sk";
    if (route == "element file") {
      saved = "out.elsk";
      QCOMPARE(saveElementFile("out.elsk", {QImage("sheet.png")}, 0, XP), 0);
      std::string error;
      auto groups = loadElementFile("out.elsk", error);
      QVERIFY(groups);
      doc = (*groups)[1];
    } else {
      QVERIFY(doc.addElementFromImageFile("sheet.png"));
      if (route == "reloaded") {
        doc.setImage(QImage(), 0, 0);
        QVERIFY(doc.reloadAllElements());
      }
      QVERIFY(doc.saveProjectFile("out.sk", 1));
      QVERIFY(doc.loadProjectFile("out.sk"));
    }
    QVERIFY(!holdsColourChunk(readAll(saved)));
    QVERIFY(readAll(saved).size() < 1 << 20);

    CharacterData reference;
    QImage sheet = plain;
    QVERIFY(reference.addElementFromImage(sheet, "sheet.png"));
    QCOMPARE(doc.flattenImage(), reference.flattenImage());
  }

  void profiledCellsFromOlderFilesLoadAndLoseTheProfile()
  {
    QImage cell(3, 2, QImage::Format_ARGB32);
    const QRgb values[] = {0x00000013u, 0x80FF0000u, 0xFF102030u, 0x40FFFFFFu, 0xFF000000u, 0x01020304u};
    for (int i = 0; i < 6; ++i)
      cell.setPixel(i % 3, i / 3, values[i]);
    const QByteArray old = pngWithProfile(cell, QColorSpace::DisplayP3);
    QVERIFY(holdsColourChunk(old));

    QImage loaded = decodeCellPng(old);
    QByteArray png;
    QVERIFY(encodeCellPng(loaded, png));
    QVERIFY(!holdsColourChunk(png));
    QCOMPARE(decodeCellPng(png), cell);
    loaded.setColorSpace(QColorSpace()); // the pixel words were read unchanged
    QCOMPARE(loaded, cell);
  }
};

SK_TEST_MAIN(TestCellProfiles)
#include "test_cellprofiles.moc"
