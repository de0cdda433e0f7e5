#include "model/ElementFile.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"
#include "tests/model/MarkedSheet.h"

#include <QDataStream>
#include <QDir>
#include <QFile>

#include <sys/stat.h>


namespace {

std::vector<QImage> sheets(int n, int layout = XP)
{
  std::vector<QImage> out;
  for (int i = 0; i < n; ++i)
    out.push_back(layout == XP ? markedSheet(128, 192, 4, uint32_t(i)) : markedSheet(96, 128, 3, uint32_t(i)));
  return out;
}

std::string damaged(const std::string& path)
{
  return "Ce fichier est endommagé :<br />" + QString::fromStdString(path).toHtmlEscaped().toStdString() +
         ".<br />Il est impossible de l'ouvrir.";
}

// Header bytes of a file: version, size, count, marker, layout.
QByteArray header(int w, int h, qint8 count, qint8 marker, qint8 layout)
{
  QByteArray bytes(1, '\0');
  QDataStream out(&bytes, QIODevice::Append);
  out.setVersion(QDataStream::Qt_4_5);
  out << QSize(w, h) << count << marker << layout;
  return bytes;
}

// The kernel's figure of resident memory, in KiB: "VmRSS:" now, "VmHWM:" its
// peak since "5" was written to /proc/self/clear_refs.
qint64 memoryKiB(const char* field)
{
  QFile status("/proc/self/status");
  status.open(QIODevice::ReadOnly);
  const QByteArray text = status.readAll();
  return text.mid(text.indexOf(field) + qstrlen(field)).trimmed().split(' ').first().toLongLong();
}

} // namespace

class TestElementFile : public QObject
{
  Q_OBJECT

private slots:
  void writesTheHeaderAndEveryCell()
  {
    QCOMPARE(saveElementFile("one.elsk", sheets(1), 0, XP), 0);
    const QByteArray bytes = readAll("one.elsk");
    QCOMPARE(bytes.left(12).toHex(), QByteArray("0000000080000000c0010000"));
    QDataStream in(bytes.mid(12));
    in.setVersion(QDataStream::Qt_4_5);
    for (int j = 0; j < 16; ++j) {
      QPoint offset;
      QImage cell;
      in >> offset >> cell;
      QCOMPARE(in.status(), QDataStream::Ok);
      QCOMPARE(offset, QPoint(j % 3 + 1, j % 5 + 2));
      QCOMPARE(cell.size(), QSize(1, 1));
      QCOMPARE(uint(cell.pixel(0, 0)), 0xFF000000u | uint(j));
    }
    QVERIFY(in.atEnd());
  }

  void smallerSheetsAreCentred()
  {
    QCOMPARE(saveElementFile("two.elsk", {markedSheet(128, 192, 4, 1), markedSheet(96, 128, 4, 2)}, 1, XP), 0);
    std::string error;
    auto groups = loadElementFile("two.elsk", error);
    QVERIFY(groups);
    QCOMPARE((*groups)[0].size(), QSize(128, 192));
    const CharacterData& above = (*groups)[1];
    QCOMPARE(above.elementCount(), 1);
    for (int j = 0; j < 16; ++j)
      QCOMPARE(above.offset(0, j), QPoint(j % 3 + 1 + 4, j % 5 + 2 + 8));

    // A difference of 5 pixels in the cell width puts 2 on the left.
    QCOMPARE(saveElementFile("odd.elsk", {markedSheet(128, 192, 4, 1), markedSheet(108, 192, 4, 2)}, 0, XP), 0);
    groups = loadElementFile("odd.elsk", error);
    QVERIFY(groups);
    QCOMPARE((*groups)[1].offset(1, 0), QPoint(1 + 2, 2));
  }

  void groupsNamesSourcesAndSerials_data()
  {
    QTest::addColumn<int>("marker");
    QTest::newRow("marker 2") << 2;
    QTest::newRow("marker first") << 0;
    QTest::newRow("marker last") << 4;
  }

  void groupsNamesSourcesAndSerials()
  {
    QFETCH(int, marker);
    QCOMPARE(saveElementFile("four.elsk", sheets(4), char(marker), XP), 0);
    std::string error;
    const uint32_t serial = elementFileLoadSerial();
    auto first = loadElementFile("four.elsk", error);
    auto second = loadElementFile("four.elsk", error);
    QVERIFY(first && second);
    QVERIFY(error.empty());
    QCOMPARE((*first)[0].elementCount(), marker);
    QCOMPARE((*first)[1].elementCount(), 4 - marker);
    for (int i = 0; i < 4; ++i) {
      const CharacterData& doc = (*first)[i < marker ? 0 : 1];
      const int e = i < marker ? i : i - marker;
      QCOMPARE(doc.name(e), "Element " + std::to_string(i));
      QCOMPARE(doc.source(e), "four.elsk?" + std::to_string(i) + "_" + std::to_string(serial));
      QVERIFY(doc.isVisible(e));
      QCOMPARE(uint(doc.image(e, 5).pixel(0, 0)), 0xFF000000u | uint(i) << 8 | 5u);
      const CharacterData& again = (*second)[i < marker ? 0 : 1];
      QCOMPARE(again.source(e), "four.elsk?" + std::to_string(i) + "_" + std::to_string(serial + 1));
    }
  }

  void vxFilesHoldTwelveCells()
  {
    QCOMPARE(saveElementFile("vx.elsk", sheets(1, VX), 1, VX), 0);
    std::string error;
    auto groups = loadElementFile("vx.elsk", error);
    QVERIFY(groups);
    QCOMPARE(int((*groups)[0].type()), int(VX));
    QCOMPARE(int((*groups)[0].images(0).size()), 12);
    QCOMPARE((*groups)[0].size(), QSize(96, 128));
  }

  void writerRefusals_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("marker");
    QTest::addColumn<int>("layout");
    QTest::newRow("no sheet") << 0 << 0 << 0;
    QTest::newRow("128 sheets") << 128 << 0 << 0;
    QTest::newRow("marker beyond") << 2 << 3 << 0;
    QTest::newRow("negative marker") << 2 << -1 << 0;
    QTest::newRow("unknown layout") << 1 << 0 << 2;
    // Sheets the reader would refuse: the file would never open again.
    QTest::newRow("sheet wider than the reader takes") << -1 << 0 << 0;
  }

  void writerRefusals()
  {
    QFETCH(int, count);
    QFETCH(int, marker);
    QFETCH(int, layout);
    const std::vector<QImage> input = count >= 0 ? sheets(count) : std::vector<QImage>{markedSheet(kMaxSheetSide + 4, 192, 4, 1)};
    QVERIFY(saveElementFile("refused.elsk", input, char(marker), char(layout)) != 0);
    QVERIFY(!QFile::exists("refused.elsk"));
  }

  void writerLimitIs127Sheets()
  {
    QCOMPARE(saveElementFile("many.elsk", std::vector<QImage>(127, markedSheet(128, 192, 4, 0)), 127, XP), 0);
    std::string error;
    auto groups = loadElementFile("many.elsk", error);
    QVERIFY(groups);
    QCOMPARE((*groups)[0].elementCount(), 127);
  }

  void failedWriteKeepsTheOldFile()
  {
    QCOMPARE(saveElementFile("keep.elsk", sheets(1), 0, XP), 0);
    const QByteArray before = readAll("keep.elsk");
    const QStringList files = QDir().entryList(QDir::Files);
    int code = 0;
    withFileSizeLimit(64, [&] { code = saveElementFile("keep.elsk", sheets(3), 0, XP); });
    QVERIFY(code != 0);
    QCOMPARE(readAll("keep.elsk"), before);
    QCOMPARE(QDir().entryList(QDir::Files), files); // no temporary left behind

    writeAll("plain", "x");
    QVERIFY(saveElementFile("plain/under.elsk", sheets(1), 0, XP) != 0);
  }

  void readerRefusals_data()
  {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("newer");
    QTest::newRow("version 1") << QByteArray(1, '\1') + header(128, 192, 1, 0, 0).mid(1) << true;
    QTest::newRow("version 127") << QByteArray(1, '\x7F') << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("header cut") << header(128, 192, 1, 0, 0).left(8) << false;
    QTest::newRow("negative count") << header(128, 192, -3, 0, 0) << false;
    QTest::newRow("negative marker") << header(128, 192, 2, -1, 0) << false;
    QTest::newRow("marker above count") << header(128, 192, 2, 3, 0) << false;
    QTest::newRow("unknown layout") << header(128, 192, 1, 0, 2) << false;
    QTest::newRow("negative side") << header(-128, 192, 1, 0, 0) << false;
    QTest::newRow("huge side") << header(16385, 192, 1, 0, 0) << false;
    QTest::newRow("cells missing") << header(128, 192, 1, 0, 0) << false;
    QByteArray garbage = header(128, 192, 1, 0, 0);
    garbage.append(QByteArray::fromHex("0000000100000002000000014e4f54504e47"));
    QTest::newRow("marker without png") << garbage << false;
  }

  void readerRefusals()
  {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, newer);
    const std::string path = "<b>R&D.elsk"; // quoted escaped in rich text
    writeAll(QString::fromStdString(path), bytes);
    std::string error;
    QVERIFY(!loadElementFile(path, error));
    QCOMPARE(error, newer ? std::string("Impossible d'ouvrir &lt;b&gt;R&amp;D.elsk car il a été enregistré par une version plus récente de Sorvel Kit.")
                          : damaged(path));
    QVERIFY(renderElementFilePreview(path).isNull());
  }

  void highVersionBytesReadAsVersionZero()
  {
    QCOMPARE(saveElementFile("v.elsk", sheets(1), 0, XP), 0);
    QByteArray bytes = readAll("v.elsk");
    bytes[0] = char(0x80);
    writeAll("v.elsk", bytes);
    std::string error;
    QVERIFY(loadElementFile("v.elsk", error));
  }

  void everyTruncationIsRefused()
  {
    QCOMPARE(saveElementFile("cut.elsk", sheets(2), 1, XP), 0);
    const QByteArray bytes = readAll("cut.elsk");
    for (int n = 1; n < bytes.size(); n += 7) {
      writeAll("short.elsk", bytes.left(n));
      std::string error;
      QVERIFY2(!loadElementFile("short.elsk", error), qPrintable(QString::number(n)));
      QCOMPARE(error, damaged("short.elsk"));
    }
  }

  void missingFile()
  {
    std::string error;
    QVERIFY(!loadElementFile("absent.elsk", error));
    QCOMPARE(error, std::string("Ce fichier n'a pas pu s'ouvrir :<br />absent.elsk."));
  }

  void onlyRegularFilesAreOpened_data()
  {
    QTest::addColumn<QString>("kind");
    for (const char* extension : {".elsk", ".sk"})
      for (const char* kind : {"device", "fifo", "folder", "missing x<y&"})
        QTest::addRow("%s %s", kind, extension) << QString(kind) + extension;
  }
  void onlyRegularFilesAreOpened()
  {
    // A FIFO would block the open for ever and a device would be read to the
    // end of memory: both are refused before anything is opened.
    QFETCH(QString, kind);
    QVERIFY(kind.startsWith("missing") || (kind.startsWith("device") ? QFile::link("/dev/zero", kind)
                                           : kind.startsWith("fifo") ? mkfifo(qPrintable(kind), 0600) == 0
                                                                     : QDir().mkdir(kind)));
    const std::string path = kind.toStdString();
    std::string error;
    if (kind.endsWith(".elsk")) {
      QVERIFY(!loadElementFile(path, error));
    } else {
      CharacterData doc;
      QVERIFY(!doc.loadProjectFile(path));
      error = doc.errorMessage();
    }
    QCOMPARE(error, "Ce fichier n'a pas pu s'ouvrir :<br />" + kind.toHtmlEscaped().toStdString() + ".");
  }

  // Sparse files: the first cell, 1 x 1 pixel, runs into the hole through
  // chunks of 2 GB, or a version-0 file of 16384 x 16384 cells passes the
  // budget. Each is refused before the reader allocates for it.
  void hugeFilesAreRefusedUnread_data()
  {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("repeated"); // at each stride after the head
    QTest::addColumn<qint64>("stride");
    QTest::addColumn<int>("count");
    // A marker, then the signature and header chunk of a 1 x 1 PNG.
    const QByteArray cell = QByteArray::fromHex("00000001 89504E470D0A1A0A 0000000D49484452 0000000100000001 0806000000 1F15C489");
    const QByteArray elsk = header(128, 192, 1, 0, XP) + QByteArray(8, '\0') + cell;
    const QByteArray chunk = QByteArray::fromHex("7ffffff0") + "IDAT";
    const QByteArray v1 = QByteArray::fromHex("01 00 01  00 00 00 80 00 00 00 C0 00 00 00 13  00 00 00 00  00 00 00 00  01");
    const QByteArray v0 = QByteArray::fromHex("00 00 01  80 00 C0 00  01 00 00  00 00 00 00 00 00 F0 3F  0A 0A 01");
    QTest::newRow("2 GB element file") << "big.elsk" << elsk << chunk << 0x7ffffffcLL << 1;
    QTest::newRow("6 GB element file") << "big.elsk" << elsk << chunk << 0x7ffffffcLL << 3;
    QTest::newRow("2 GB project") << "big.sk" << v1 + QByteArray(128, '\0') + cell << chunk << 0x7ffffffcLL << 1;
    QTest::newRow("4 GB version-0 project") << "big.sk" << v0 + QByteArray(64, '\0') << QByteArray::fromHex("00400040")
                                            << (qint64(1) << 30) + 4 << 4;
  }
  void hugeFilesAreRefusedUnread()
  {
    QFETCH(QString, path);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, repeated);
    QFETCH(qint64, stride);
    QFETCH(int, count);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(head) == head.size());
    for (int i = 0; i < count; ++i)
      QVERIFY(file.seek(head.size() + i * stride) && file.write(repeated) == repeated.size());
    QVERIFY(file.resize(head.size() + count * stride + 48)); // 12 empty cells close a version-0 file
    file.close();
    QFile clear("/proc/self/clear_refs");
    QVERIFY(clear.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && clear.write("5") == 1);
    const qint64 before = memoryKiB("VmRSS:");
    std::string error;
    const std::string p = path.toStdString();
    if (path.endsWith(".elsk")) {
      QVERIFY(!loadElementFile(p, error) && elementFilePreviewImage(p).isNull());
      QCOMPARE(error, damaged(p));
    } else {
      CharacterData doc;
      QVERIFY(!doc.loadProjectFile(p));
      QCOMPARE(doc.errorMessage(), p + " est endommagé.<br />Il est impossible de l'ouvrir.");
    }
    QVERIFY(memoryKiB("VmHWM:") - before < 50 << 10);
  }

  void previewIsGroupOneOverGroupZero()
  {
    QImage below(128, 192, QImage::Format_ARGB32);
    below.fill(0xFF0000FFu);
    QImage above(128, 192, QImage::Format_ARGB32);
    above.fill(kBlankPixel);
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 64; ++x)
        above.setPixel(x, y, 0x80FF0000u);
    QCOMPARE(saveElementFile("pair.elsk", {below, above}, 1, XP), 0);
    const QImage preview = elementFilePreviewImage("pair.elsk");
    QCOMPARE(preview.size(), QSize(128, 192));
    QCOMPARE(uint(preview.pixel(10, 10)), 0xFF80007Fu);
    QCOMPARE(uint(preview.pixel(100, 10)), 0xFF0000FFu);
    QCOMPARE(renderElementFilePreview("pair.elsk").size(), QSize(128, 192));
  }

  void resaveKeepsTheContent()
  {
    QCOMPARE(saveElementFile("re.elsk", sheets(3), 2, XP), 0);
    const QByteArray before = readAll("re.elsk");
    resaveElementFile("re.elsk");
    QCOMPARE(readAll("re.elsk"), before);
  }
};

SK_TEST_MAIN(TestElementFile)
#include "test_elementfile.moc"
