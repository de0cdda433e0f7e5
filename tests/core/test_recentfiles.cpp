#include "tests/TestMain.h"

#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "core/RecentFiles.h"

#include <QDir>

class TestRecentFiles : public QObject
{
  Q_OBJECT

private slots:
  // Oldest first, the newest at the end, never twice, fifteen at most.
  void newestLastWithinTheLimit()
  {
    RecentFiles files(QStringLiteral("/a.sk|/b.sk|/c.sk"));
    files.add(QStringLiteral("/a.sk"));
    QCOMPARE(files.stored(), QStringLiteral("/b.sk|/c.sk|/a.sk"));
    for (int i = 0; i < 20; ++i)
      files.add(QStringLiteral("/f%1.sk").arg(i));
    QCOMPARE(files.files().size(), RecentFiles::kMaxFiles);
    QCOMPARE(files.files().first(), QStringLiteral("/f5.sk"));
    QCOMPARE(files.files().last(), QStringLiteral("/f19.sk"));

    files.save();
    QCOMPARE(RecentFiles::load().stored(), files.stored());
    QString stored;
    QVERIFY(IniSettings().getValue("recentFiles", stored));
    QCOMPARE(stored, files.stored());
  }

  // The lists outlive the folder the program started in, and "|" separates
  // their entries.
  void entriesAsTheListsStoreThem_data()
  {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("stored");
    QTest::newRow("relative") << "sub/../a.sk" << QDir::current().absoluteFilePath("a.sk");
    QTest::newRow("backslash of a Linux name") << "/x/a\\b.sk" << "/x/a\\b.sk";
    QTest::newRow("bar in a folder") << "/a|b/c.sk" << "";
  }

  void entriesAsTheListsStoreThem()
  {
    QFETCH(QString, path);
    QFETCH(QString, stored);
    QCOMPARE(listedPath(path), stored);
    RecentFiles files(QStringLiteral("/old.sk"));
    files.add(path);
    QCOMPARE(files.stored(), stored.isEmpty() ? QStringLiteral("/old.sk") : "/old.sk|" + stored);
  }
};

SK_TEST_MAIN(TestRecentFiles)
#include "test_recentfiles.moc"
