// Files that once made a reader, or what runs right after a load, misbehave.
// Each must be refused or read, and then flatten, render and animate without
// a sanitizer report.
#include "core/IniFile.h"
#include "model/ElementFile.h"
#include "tests/TestMain.h"

#include <QDir>

class TestHostileFiles : public QObject
{
  Q_OBJECT

  static void exercise(CharacterData& doc)
  {
    doc.flattenImage();
    doc.setZoom(2.0);
    doc.selectAllCells();
    doc.renderImage(kBlankPixel);
    doc.previewImages();
    doc.setDrawBeyondBorders(true);
    doc.flattenImage();
    doc.previewImages();
  }

private slots:
  void everyKnownInput_data()
  {
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(SK_SOURCE_DIR "/tests/model/hostile"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& f : files)
      QTest::newRow(qPrintable(f)) << dir.filePath(f);
  }

  void everyKnownInput()
  {
    QFETCH(QString, path);
    const std::string p = path.toStdString();
    if (path.endsWith(".sk")) {
      CharacterData doc;
      if (doc.loadProjectFile(p))
        exercise(doc);
      else
        QVERIFY(!doc.errorMessage().empty());
    } else if (path.endsWith(".elsk")) {
      std::string error;
      auto groups = loadElementFile(p, error);
      if (groups)
        exercise((*groups)[0]);
      else
        QVERIFY(!error.empty());
    } else {
      IniFile store;
      QVERIFY(store.read(p.c_str()));
    }
  }

  void extremeOffsets()
  {
    CharacterData doc;
    doc.addElement("", 0);
    doc.setOffset(QPoint(INT_MIN, INT_MIN), 0, 0);
    doc.setOffset(QPoint(INT_MAX, INT_MAX), 0, 1);
    doc.setOffset(QPoint(INT_MIN, INT_MAX), 0, 4);
    exercise(doc);
    QCOMPARE(uint(doc.flattenImage().pixel(0, 0)), uint(kBlankPixel));
  }
};

SK_TEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
