#include "tests/KeyedPng.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "model/CharacterData.h"
#include "model/FileErrors.h"
#include "core/ImageUtils.h"
#include "model/StreamImage.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileDevice>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtEndian>

#include <unistd.h>

namespace {

QByteArray hex(const char* text)
{
  return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QImage filledImage(int w, int h, uint32_t seed)
{
  QImage image(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const uint32_t v = seed * 2654435761u + uint32_t(y * w + x) * 40503u;
      // Opaque, fully transparent with colour bits, half transparent.
      row[x] = (v % 3 == 0) ? (v | 0xFF000000u) : (v % 3 == 1) ? (v & 0x00FFFFFFu) : ((v & 0x00FFFFFFu) | 0x80000000u);
    }
  }
  return image;
}

void addElement(CharacterData& doc, const std::string& name, const std::string& source, bool visible,
                const QImage& image = QImage())
{
  const int cells = doc.cellCount();
  doc.names().push_back(name);
  doc.sources().push_back(source);
  doc.visibility().push_back(visible);
  doc.images().push_back(std::vector<QImage>(cells, image));
  doc.offsets().push_back(std::vector<QPoint>(cells, QPoint(0, 0)));
}

CharacterData makeDocument(int type, int elements, int cellSide)
{
  CharacterData doc(type, QSize(0, 0));
  for (int e = 0; e < elements; ++e) {
    addElement(doc, "E" + std::to_string(e), "src/" + std::to_string(e) + ".png", e % 2 == 0);
    for (int c = 0; c < doc.cellCount(); ++c) {
      if ((e + c) % 4 != 3)
        doc.image(e, c) = filledImage(cellSide, cellSide + 1, uint32_t(e * 31 + c));
      doc.offset(e, c) = QPoint(e - c, c * 3 - e);
    }
  }
  return doc;
}

void compareElements(const CharacterData& a, const CharacterData& b)
{
  QCOMPARE(int(a.type()), int(b.type()));
  QCOMPARE(a.size(), b.size());
  QCOMPARE(a.elementCount(), b.elementCount());
  QVERIFY(a.names() == b.names());
  QVERIFY(a.sources() == b.sources());
  QVERIFY(a.visibility() == b.visibility());
  QVERIFY(a.offsets() == b.offsets());
  for (int e = 0; e < a.elementCount(); ++e) {
    QCOMPARE(a.images(e).size(), b.images(e).size());
    for (size_t c = 0; c < a.images(e).size(); ++c) {
      const QImage& x = a.image(e, c);
      const QImage& y = b.image(e, c);
      QCOMPARE(x.isNull(), y.isNull());
      if (x.isNull())
        continue;
      QCOMPARE(y.format(), QImage::Format_ARGB32);
      QCOMPARE(y.size(), x.size());
      for (int row = 0; row < x.height(); ++row)
        QVERIFY(std::memcmp(x.constScanLine(row), y.constScanLine(row), size_t(x.width()) * 4) == 0);
    }
  }
}

// A valid PNG of one pixel whose header claims another size.
QByteArray pngClaiming(quint32 width, quint32 height, quint8 depth = 8)
{
  QImage one(1, 1, QImage::Format_ARGB32);
  one.fill(0xFF000000u);
  QByteArray png;
  encodeCellPng(one, png);
  QByteArray ihdr = png.mid(12, 17); // type and data
  QDataStream patch(&ihdr, QIODevice::ReadWrite);
  patch.skipRawData(4);
  patch << width << height << depth;
  return png.left(8) + chunk(ihdr) + png.mid(33);
}

// A toolkit-made PNG with extra (a chunk's type and data) after its header
// and its image data cut into chunks of 64 bytes.
QByteArray rechunked(const QByteArray& png, const QByteArray& extra)
{
  QByteArray data;
  for (qsizetype at = 33, length = 0; at < png.size(); at += 12 + length) {
    length = qFromBigEndian<quint32>(png.constData() + at);
    if (png.mid(at + 4, 4) == "IDAT")
      data += png.mid(at + 8, length);
  }
  QByteArray out = png.left(33) + (extra.isEmpty() ? extra : chunk(extra));
  for (qsizetype at = 0; at < data.size(); at += 64)
    out += chunk("IDAT" + data.mid(at, 64));
  return out + chunk("IEND");
}

std::string damaged(const std::string& path)
{
  return path + " est endommagé.<br />Il est impossible de l'ouvrir.";
}

std::string saveFailed(const std::string& path)
{
  return "Impossible d'enregistrer le fichier :<br />" + path + ".";
}

} // namespace

class TestProjectFile : public QObject
{
  Q_OBJECT

private slots:
  void emptyDocument_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("XP v0") << 0 << 0 << hex("00 00 00 80 00 C0 00 01 00 00 00 00 00 00 00 00 F0 3F");
    QTest::newRow("XP v1") << 0 << 1 << hex("01 00 00 00 00 00 80 00 00 00 C0 00 00 00 13");
    QTest::newRow("VX v0") << 1 << 0 << hex("00 01 00 60 00 80 00 01 00 00 00 00 00 00 00 00 F0 3F");
    QTest::newRow("VX v1") << 1 << 1 << hex("01 01 00 00 00 00 60 00 00 00 80 00 00 00 13");
  }
  void emptyDocument()
  {
    QFETCH(int, type);
    QFETCH(int, version);
    QFETCH(QByteArray, bytes);
    CharacterData doc(type, QSize(0, 0));
    QVERIFY(doc.saveProjectFile("empty.sk", static_cast<unsigned char>(version)));
    QCOMPARE(readAll("empty.sk"), bytes);

    CharacterData back;
    back.errorMessage() = "avant";
    unsigned char read = 99;
    QVERIFY(back.loadProjectFile("empty.sk", &read));
    QCOMPARE(back.errorMessage(), std::string("avant"));
    QCOMPARE(int(read), version);
    QCOMPARE(int(back.type()), type);
    QCOMPARE(back.size(), doc.size());
    QCOMPARE(back.elementCount(), 0);
  }

  void version1ElementLayout()
  {
    CharacterData doc;
    addElement(doc, "A", "", true);
    doc.offset(0, 0) = QPoint(1, -2);
    QVERIFY(doc.saveProjectFile("one.sk", 1));
    const QByteArray bytes = readAll("one.sk");
    QCOMPARE(bytes.left(15), hex("01 00 01 00 00 00 80 00 00 00 C0 00 00 00 13"));
    QCOMPARE(bytes.mid(15, 11), hex("00 00 00 00  00 00 00 02 00 41  01"));
    QCOMPARE(bytes.mid(26, 8), hex("00 00 00 01 FF FF FF FE"));
    QCOMPARE(bytes.mid(34, 15 * 8), QByteArray(15 * 8, '\0'));
    QCOMPARE(bytes.mid(26 + 16 * 8), QByteArray(16 * 4, '\0')); // 16 null-image markers
  }

  void version0Layout()
  {
    CharacterData doc;
    doc.setZoom(1.5);
    doc.setGridShown(false);
    doc.setDrawBeyondBorders(true);
    doc.setOnlySelection(true);
    addElement(doc, "Tête", "Ôil", false);
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.setPixel(0, 0, kBlankPixel);
    QImage square(2, 2, QImage::Format_ARGB32);
    square.setPixel(0, 0, 0x11223344u);
    square.setPixel(1, 0, 0x55667788u);
    square.setPixel(0, 1, 0x99AABBCCu);
    square.setPixel(1, 1, 0x00000013u);
    doc.image(0, 0) = blank;
    doc.image(0, 1) = square;
    doc.offset(0, 0) = QPoint(-1, 2);
    QVERIFY(doc.saveProjectFile("v0.sk", 0));

    const QByteArray bytes = readAll("v0.sk");
    QCOMPARE(bytes.left(18), hex("00 00 01 80 00 C0 00 00 01 01 00 00 00 00 00 00 F8 3F"));
    QCOMPARE(bytes.mid(18, 4 + 5 + 1), hex("D4 69 6C 0A  54 EA 74 65 0A  00")); // Latin-1 lines
    const int offsets = 28;
    QCOMPARE(bytes.mid(offsets, 4), hex("FF FF 02 00"));
    const int images = offsets + 16 * 4;
    QCOMPARE(bytes.mid(images, 8), hex("01 00 01 00  00 00 13 00"));
    QCOMPARE(bytes.mid(images + 8, 4 + 16), hex("02 00 02 00  22 33 44 11  AA BB CC 99  66 77 88 55  00 00 13 00"));
    QCOMPARE(bytes.size(), images + 8 + 20 + 14 * 4);

    CharacterData back;
    QVERIFY(back.loadProjectFile("v0.sk"));
    QCOMPARE(back.zoom(), 1.5);
    QVERIFY(!back.isGridShown());
    QVERIFY(back.drawsBeyondBorders());
    QVERIFY(back.isOnlySelection());
    QCOMPARE(back.name(0), std::string("Tête"));
    QCOMPARE(back.source(0), std::string("Ôil"));
    QVERIFY(!back.isVisible(0));
    QCOMPARE(back.image(0, 0).pixel(0, 0), kBlankPixel);
    compareElements(doc, back);

    // Version 1 keeps neither the zoom nor the flags: a fresh document's stay.
    QVERIFY(doc.saveProjectFile("v1.sk", 1));
    CharacterData fresh;
    QVERIFY(fresh.loadProjectFile("v1.sk"));
    QCOMPARE(fresh.zoom(), 1.0);
    QVERIFY(fresh.isGridShown());
    QVERIFY(!fresh.drawsBeyondBorders());
    QVERIFY(!fresh.isOnlySelection());
    compareElements(doc, fresh);
  }

  void newerVersion()
  {
    CharacterData doc;
    addElement(doc, "A", "a", true);
    doc.errorMessage() = "précédent";
    QVERIFY(doc.saveProjectFile("p.sk", 7));
    QCOMPARE(readAll("p.sk"), hex("07 00 01"));
    QCOMPARE(doc.errorMessage(), std::string("précédent"));

    CharacterData back;
    unsigned char version = 0;
    QVERIFY(!back.loadProjectFile("p.sk", &version));
    QCOMPARE(int(version), 7);
    QCOMPARE(back.errorMessage(), std::string("p.sk a été enregistré avec une version de Sorvel Kit plus récente."));
    // Reset before the version is looked at: one blank element of the type.
    QCOMPARE(back.elementCount(), 1);
    QCOMPARE(back.images(0).size(), size_t(16));
    QVERIFY(back.image(0, 0).isNull());

    // The version is tested before the type byte.
    writeAll("<b>R&D.sk", hex("C8 05 00"));
    QVERIFY(!back.loadProjectFile("<b>R&D.sk", &version));
    QCOMPARE(int(version), 200);
    QCOMPARE(back.errorMessage(), std::string("&lt;b&gt;R&amp;D.sk a été enregistré avec une version de Sorvel Kit plus récente."));
  }

  void everyTruncationIsDamaged_data()
  {
    QTest::addColumn<int>("version");
    QTest::newRow("v0") << 0;
    QTest::newRow("v1") << 1;
  }
  void everyTruncationIsDamaged()
  {
    QFETCH(int, version);
    CharacterData doc = makeDocument(VX, 2, 3);
    QVERIFY(doc.saveProjectFile("whole.sk", static_cast<unsigned char>(version)));
    const QByteArray whole = readAll("whole.sk");
    CharacterData check;
    QVERIFY(check.loadProjectFile("whole.sk"));
    for (int length = 0; length < whole.size(); ++length) {
      writeAll("cut.sk", whole.left(length));
      CharacterData back;
      if (back.loadProjectFile("cut.sk"))
        QFAIL(qPrintable(QString("a file cut at %1 of %2 bytes was accepted").arg(length).arg(whole.size())));
      QCOMPARE(back.errorMessage(), damaged("cut.sk"));
    }
  }

  void malformedFiles_data()
  {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray v0 = hex("00 00 01  80 00 C0 00  01 00 00  00 00 00 00 00 00 F0 3F  0A 0A 01") + QByteArray(64, '\0');
    // 30000 x 30000 pixels announced, a few bytes given.
    QTest::newRow("v0 huge cell") << v0 + hex("30 75 30 75") + QByteArray(16, '\x13');
    QTest::newRow("v0 cell larger than the rest") << v0 + hex("02 00 02 00") + QByteArray(15, '\x13');
    QTest::newRow("v0 cell 16385 wide") << v0 + hex("01 40 01 00") + QByteArray(16385 * 4 + 15 * 4, '\0');
    QTest::newRow("v0 type 2") << hex("00 02 00  80 00 C0 00  01 00 00  00 00 00 00 00 00 F0 3F");
    QTest::newRow("v1 type 2") << hex("01 02 00 00 00 00 80 00 00 00 C0 00 00 00 13");
    QTest::newRow("short header") << hex("01 00");
    const QByteArray v1 = hex("01 00 01  00 00 00 80 00 00 00 C0 00 00 00 13  00 00 00 00  00 00 00 00  01")
                          + QByteArray(128, '\0');
    QTest::newRow("v1 marker without PNG") << v1 + hex("00 00 00 01") + QByteArray(60, '\0');
    QTest::newRow("v1 PNG chunk longer than the file")
        << v1 + hex("00 00 00 01  89 50 4E 47 0D 0A 1A 0A  7F FF FF F0 49 48 44 52") + QByteArray(40, '\0');
    QByteArray corrupt = v1 + hex("00 00 00 01  89 50 4E 47 0D 0A 1A 0A  00 00 00 04 49 48 44 52 00 00 00 00 00 00 00 00")
                         + hex("00 00 00 00 49 45 4E 44 AE 42 60 82");
    corrupt += QByteArray(15 * 4, '\0');
    QTest::newRow("v1 PNG that does not decode") << corrupt;
    QByteArray huge = v1 + hex("00 00 00 01") + pngClaiming(30000, 30000);
    huge += QByteArray(15 * 4, '\0');
    QTest::newRow("v1 PNG claiming 30000 x 30000") << huge;
    // Sheets no character has, which would make every render allocate
    // gigabytes (found by fuzzing).
    QTest::newRow("v0 huge sheet") << hex("00 01 00 00 79 79 79 79 79 79 79 79 79 79 79 79 79 79 79 79 00 00 00 00");
    QTest::newRow("v0 negative sheet") << hex("00 00 00  80 FF C0 00  01 00 00  00 00 00 00 00 00 F0 3F");
    QTest::newRow("v1 huge sheet") << hex("01 00 00 00 00 40 01 00 00 00 C0 00 00 00 13");
    QTest::newRow("v1 odd string length") << hex("01 00 01  00 00 00 80 00 00 00 C0 00 00 00 13  00 00 00 03 00 41 00");
  }
  void malformedFiles()
  {
    QFETCH(QByteArray, bytes);
    writeAll("bad.sk", bytes);
    CharacterData doc;
    QVERIFY(!doc.loadProjectFile("bad.sk"));
    QCOMPARE(doc.errorMessage(), damaged("bad.sk"));
  }

  void missingFile()
  {
    CharacterData doc;
    QVERIFY(!doc.loadProjectFile("absent.sk"));
    QCOMPARE(doc.errorMessage(), std::string("Ce fichier n'a pas pu s'ouvrir :<br />absent.sk."));
  }

  void manyElements_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("version");
    for (int version : {0, 1}) {
      for (int count : {200, 255})
        QTest::addRow("XP %d v%d", count, version) << int(XP) << count << version;
      QTest::addRow("VX 3 v%d", version) << int(VX) << 3 << version;
    }
  }
  void manyElements()
  {
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(int, version);
    CharacterData doc = makeDocument(type, count, 2);
    doc.setName("Tête", 0);
    doc.setSource("Ôil/é.png", 1);
    QVERIFY(doc.saveProjectFile("many.sk", static_cast<unsigned char>(version)));
    const QByteArray bytes = readAll("many.sk");
    QCOMPARE(quint8(bytes[2]), quint8(count));
    CharacterData back;
    QVERIFY(back.loadProjectFile("many.sk"));
    QCOMPARE(back.images(0).size(), size_t(type == VX ? 12 : 16));
    compareElements(doc, back);
  }

  void refusedDocuments_data()
  {
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("what");
    QTest::addColumn<QString>("reason");
    const QString format = formatReason(), side = cellSideReason();
    for (int version : {0, 1})
      QTest::addRow("256 elements v%d", version) << version << 0 << format;
    QTest::newRow("v0 sheet width") << 0 << 1 << side;
    QTest::newRow("v0 image height") << 0 << 2 << format;
    QTest::newRow("v0 offset") << 0 << 3 << format;
    QTest::newRow("v1 missing cell") << 1 << 4 << format;
    // The reader would refuse it: the file would never open again.
    QTest::newRow("v1 cell wider than a sheet") << 1 << 5 << side;
    for (int version : {0, 1})
      QTest::addRow("v%d sheet 16388 wide", version) << version << 8 << side;
    // One line per name and source: a break would shift every later entry.
    QTest::newRow("v0 name with a line break") << 0 << 6 << format;
    QTest::newRow("v0 source with a line break") << 0 << 7 << format;
    // Latin-1 has no byte for it: it would come back as another character.
    QTest::newRow("v0 name beyond Latin-1") << 0 << 9 << "Ce format ne peut pas contenir le caractère « Œ » de « Œil ».";
  }
  void refusedDocuments()
  {
    QFETCH(int, version);
    QFETCH(int, what);
    QFETCH(QString, reason);
    CharacterData doc = makeDocument(XP, what == 0 ? 256 : 1, 1);
    if (what == 1)
      doc.setSize(QSize(32768, 192), false);
    if (what == 2)
      doc.image(0, 0) = QImage(1, 40000, QImage::Format_ARGB32);
    if (what == 3)
      doc.offset(0, 5) = QPoint(0, -32769);
    if (what == 4)
      doc.images(0).pop_back();
    if (what == 5)
      doc.image(0, 3) = blankImage(QSize(kMaxSheetSide + 1, 1));
    if (what == 6)
      doc.setName("hero\nbis", 0);
    if (what == 7)
      doc.setSource("a\n.png", 0);
    if (what == 8)
      doc.setSize(QSize(kMaxSheetSide + 4, 64), false);
    if (what == 9)
      doc.setName("Œil", 0);
    writeAll("old.sk", "previous");
    doc.errorMessage().clear();
    QString why;
    QVERIFY(!doc.saveProjectFile("old.sk", static_cast<unsigned char>(version), &why));
    QCOMPARE(why, reason);
    QCOMPARE(doc.errorMessage(), saveFailed("old.sk"));
    QCOMPARE(readAll("old.sk"), QByteArray("previous"));
  }

  // Above the toolkit's own decoding limit, within the side limit.
  void largeCellReopens()
  {
    allowLargestImages(); // as the program's start-up does
    CharacterData doc = makeDocument(XP, 1, 0);
    doc.image(0, 2) = blankImage(QSize(6000, 6000));
    doc.image(0, 2).setPixel(5999, 5999, 0xFF00FF00u);
    QVERIFY(doc.saveProjectFile("large.sk", 1));
    CharacterData back;
    QVERIFY2(back.loadProjectFile("large.sk"), back.errorMessage().c_str());
    QCOMPARE(back.image(0, 2).size(), QSize(6000, 6000));
    QCOMPARE(back.image(0, 2).pixel(5999, 5999), 0xFF00FF00u);
  }

  // Each cell's size is read from its header and charged to the file's budget
  // before any cell is decoded.
  void decodeBudget_data()
  {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("accepted"); // cells sliced before the refusal
    QTest::addColumn<int>("depth");
    QTest::newRow("side limit") << kMaxSheetSide << 1 << 2 << 2 << 8;
    QTest::newRow("wider than the limit") << kMaxSheetSide + 1 << 1 << 1 << 0 << 8;
    QTest::newRow("taller than the limit") << 1 << kMaxSheetSide + 1 << 1 << 0 << 8;
    // 100 MB each: the 22nd passes 2 GiB.
    QTest::newRow("5000 x 5000") << 5000 << 5000 << 30 << 21 << 8;
    // Decoded at 8 bytes a pixel beside the 4-byte result: 1.5 GiB each.
    QTest::newRow("16-bit 16384 x 8192") << kMaxSheetSide << 8192 << 4 << 1 << 16;
  }
  void decodeBudget()
  {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cells);
    QFETCH(int, accepted);
    QFETCH(int, depth);
    QByteArray stream;
    for (int i = 0; i < cells; ++i)
      stream += hex("00 00 00 01") + pngClaiming(width, height, quint8(depth));
    QBuffer device(&stream);
    device.open(QIODevice::ReadOnly);
    CellBudget budget;
    int sliced = 0;
    QByteArray png;
    while (sliced < cells && readStreamImage(device, png, budget))
      ++sliced;
    QCOMPARE(sliced, accepted);
  }

  // Chunks that leave the pixels alone are skipped and image data cut into
  // 64-byte chunks is joined: only what is decoded counts against the bound.
  void chunksBesideThePixels_data()
  {
    QTest::addColumn<QByteArray>("extra"); // a chunk after the header
    QTest::addColumn<int>("side");          // negative: the first part's checksum is wrong
    QByteArray noise(1500000, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QTest::newRow("1.5 MB zTXt") << "zTXtComment" + QByteArray(2, '\0') + noise << 16;
    QTest::newRow("1.2 MB iCCP") << "iCCPICC" + QByteArray(2, '\0') + noise.left(1200000) << 16;
    // 12 bytes of head per 64 of stored data: more than deflate's eighth.
    QTest::newRow("3072 x 3072") << QByteArray() << 3072;
    QTest::newRow("a part's checksum wrong") << QByteArray() << -16;
  }
  void chunksBesideThePixels()
  {
    QFETCH(QByteArray, extra);
    QFETCH(int, side);
    const QImage image = filledImage(std::abs(side), std::abs(side), 3);
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(0); // stored: image data as long as it gets
    QVERIFY(writer.write(image));
    QByteArray stream = hex("00 00 00 01") + rechunked(png, extra);
    stream[4 + 33 + 8 + 64] = char(stream[4 + 33 + 8 + 64] ^ (side < 0));
    QBuffer device(&stream);
    device.open(QIODevice::ReadOnly);
    CellBudget budget;
    QCOMPARE(readStreamImage(device, png, budget) && decodeCellPng(png) == image, side > 0);
  }

  // A key colour clears exactly its pixels, the same on every read, through
  // the opener's reader and the cell reader alike.
  void keyedPictures_data()
  {
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<QImage>("twin");
    QTest::newRow("16-bit RGB") << keyedRgb48Png() << keyedTwin();
    QImage palette = keyedTwin().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(palette.save(&buffer, "PNG") && png.contains("tRNS"));
    QTest::newRow("palette") << png << palette.convertToFormat(QImage::Format_ARGB32);
  }
  void keyedPictures()
  {
    QFETCH(QByteArray, png);
    QFETCH(QImage, twin);
    writeAll("keyed.png", png);
    QByteArray stream = hex("00 00 00 01") + png, kept;
    QBuffer device(&stream);
    CellBudget budget;
    QVERIFY(device.open(QIODevice::ReadOnly) && readStreamImage(device, kept, budget));
    for (int read = 0; read < 3; ++read) {
      QCOMPARE(readArgb32Image("keyed.png"), twin);
      QCOMPARE(decodeCellPng(kept), twin);
    }
  }

  void fileOverDecodeBudget()
  {
    // 255 elements of 16 cells of 5000 x 5000 pixels: 400 GB once decoded.
    QByteArray bytes = hex("01 00 FF  00 00 00 80 00 00 00 C0 00 00 00 13");
    bytes += QByteArray(255 * 4 * 2, '\0') + QByteArray(255, '\1') + QByteArray(255 * 16 * 8, '\0');
    const QByteArray cell = hex("00 00 00 01") + pngClaiming(5000, 5000);
    for (int i = 0; i < 255 * 16; ++i)
      bytes += cell;
    writeAll("budget.sk", bytes);
    CharacterData doc;
    QVERIFY(!doc.loadProjectFile("budget.sk"));
    QCOMPARE(doc.errorMessage(), damaged("budget.sk"));
  }

  void failedWriteKeepsOldFile()
  {
    const QByteArray previous = "the file saved before";
    writeAll("kept.sk", previous);
    CharacterData doc = makeDocument(XP, 20, 16);
    const QStringList files = QDir().entryList(QDir::Files);

    bool v0 = true, v1 = true, tiny = true;
    std::string message0;
    withFileSizeLimit(4096, [&] {
      v0 = doc.saveProjectFile("kept.sk", 0);
      message0 = doc.errorMessage();
      doc.errorMessage().clear();
      v1 = doc.saveProjectFile("kept.sk", 1);
    });
    // A file small enough to stay in the device's buffer fails only when
    // flushed: it must fail all the same.
    withFileSizeLimit(8, [&] { tiny = CharacterData().saveProjectFile("kept.sk", 1); });
    QVERIFY(!tiny);

    QVERIFY(!v0);
    QVERIFY(!v1);
    QCOMPARE(message0, saveFailed("kept.sk"));
    QCOMPARE(doc.errorMessage(), saveFailed("kept.sk"));
    QCOMPARE(readAll("kept.sk"), previous);
    QCOMPARE(QDir().entryList(QDir::Files), files);
    // Without the limit the same document saves.
    QVERIFY(doc.saveProjectFile("kept.sk", 1));
    QVERIFY(readAll("kept.sk").size() > 4096);
  }

  void pathUnderRegularFile()
  {
    writeAll("plain", "x");
    const QStringList files = QDir().entryList(QDir::Files);
    CharacterData doc = makeDocument(XP, 1, 1);
    QVERIFY(!doc.saveProjectFile("plain/p.sk", 1));
    QCOMPARE(doc.errorMessage(), std::string("Ce fichier n'a pas pu s'ouvrir :<br />plain/p.sk."));
    QVERIFY(!doc.loadProjectFile("plain/p.sk"));
    QCOMPARE(doc.errorMessage(), std::string("Ce fichier n'a pas pu s'ouvrir :<br />plain/p.sk."));
    QCOMPARE(readAll("plain"), QByteArray("x"));
    QCOMPARE(QDir().entryList(QDir::Files), files);
  }

  void permissionTexts()
  {
    if (geteuid() == 0)
      QSKIP("running as root: permission bits refuse nothing");
    writeAll("locked.sk", "x");
    QFile::setPermissions("locked.sk", QFileDevice::Permissions());
    CharacterData doc;
    QVERIFY(!doc.loadProjectFile("locked.sk"));
    QCOMPARE(doc.errorMessage(), std::string("Vous n'avez pas la permission de lire ce fichier :<br />locked.sk."));
    QVERIFY(!doc.saveProjectFile("locked.sk", 1));
    QCOMPARE(doc.errorMessage(),
             std::string("Vous n'avez pas la permission d'écrire dans ce fichier :<br />locked.sk."));

    QDir().mkdir("closed");
    QFile::setPermissions("closed", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QVERIFY(!doc.saveProjectFile("closed/new.sk", 1));
    QCOMPARE(doc.errorMessage(),
             std::string("Vous n'avez pas la permission d'écrire dans ce fichier :<br />closed/new.sk."));
    QFile::setPermissions("closed", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions("locked.sk", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }

  // The cell images are written as the Qt 4.5 stream operator writes them,
  // and every pixel word, including the blank one, comes back unchanged.
  // Cells are encoded on several threads: the file must be byte for byte what
  // one sequential pass of the toolkit's stream operators writes.
  void parallelSaveMatchesSequentialStream()
  {
    CharacterData doc = makeDocument(XP, 60, 12);
    doc.setName("Tête", 3);
    QVERIFY(doc.saveProjectFile("parallel.sk", 1));

    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out << quint8(1) << quint8(0) << quint8(60);
    out.setVersion(QDataStream::Qt_4_5);
    out << doc.size() << qint32(doc.backgroundPixel());
    for (int e = 0; e < 60; ++e)
      out << QString::fromStdString(doc.source(e));
    for (int e = 0; e < 60; ++e)
      out << QString::fromStdString(doc.name(e));
    for (int e = 0; e < 60; ++e)
      out << bool(doc.isVisible(e));
    for (int e = 0; e < 60; ++e)
      for (const QPoint& p : doc.offsets(e))
        out << p;
    for (int e = 0; e < 60; ++e)
      for (const QImage& image : doc.images(e))
        out << image;
    QCOMPARE(readAll("parallel.sk"), expected);

    CharacterData back;
    QVERIFY(back.loadProjectFile("parallel.sk"));
    compareElements(doc, back);
  }

  void cellImageEncoding()
  {
    QImage image = filledImage(5, 3, 7);
    image.setPixel(0, 0, kBlankPixel);
    QImage blank(4, 4, QImage::Format_ARGB32);
    blank.fill(kBlankPixel);
    for (const QImage& cell : {image, blank, QImage()}) {
      QByteArray expected;
      {
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        QDataStream out(&buffer);
        out.setVersion(QDataStream::Qt_4_5);
        out << cell;
      }
      QByteArray mine;
      {
        QBuffer buffer(&mine);
        buffer.open(QIODevice::WriteOnly);
        QDataStream out(&buffer);
        out.setVersion(QDataStream::Qt_4_5);
        QByteArray png;
        QVERIFY(encodeCellPng(cell, png));
        writeStreamImageBytes(out, png);
      }
      QCOMPARE(mine, expected);
      QBuffer device(&mine);
      device.open(QIODevice::ReadOnly);
      QByteArray png;
      CellBudget budget;
      QVERIFY(readStreamImage(device, png, budget));
      QCOMPARE(device.pos(), device.size());
      const QImage back = png.isEmpty() ? QImage() : decodeCellPng(png);
      QCOMPARE(back.isNull(), cell.isNull());
      if (!cell.isNull()) {
        QCOMPARE(back.format(), QImage::Format_ARGB32);
        QCOMPARE(back, cell);
        QCOMPARE(back.pixel(0, 0), kBlankPixel);
      }
    }
    // An opaque PNG (no alpha channel) is read as ARGB32 too.
    QImage rgb(2, 2, QImage::Format_RGB32);
    rgb.fill(0xFF102030u);
    QByteArray png;
    QVERIFY(encodeCellPng(rgb, png));
    const QImage back = decodeCellPng(png);
    QCOMPARE(back.format(), QImage::Format_ARGB32);
    QCOMPARE(back.pixel(1, 1), 0xFF102030u);
    // A 16-bit PNG reads as the 8-bit value of each channel.
    QImage deep(1, 1, QImage::Format_RGBA64);
    deep.setPixelColor(0, 0, QColor::fromRgba64(0x1010, 0x8080, 0xFFFF, 0x4040));
    QVERIFY(deep.save("deep.png"));
    QCOMPARE(int(readAll("deep.png").at(24)), 16);
    QCOMPARE(decodeCellPng(readAll("deep.png")).pixel(0, 0), 0x401080FFu);
    // The forged header of the malformed-file cases is otherwise sound.
    QCOMPARE(decodeCellPng(pngClaiming(1, 1)).pixel(0, 0), 0xFF000000u);
    QCOMPARE(decodeCellPng(pngClaiming(2, 1)).isNull(), true);
  }
};

SK_TEST_MAIN(TestProjectFile)
#include "test_projectfile.moc"
