#include "tests/TestMain.h"

#include "core/IniSettings.h"
#include "core/RecentFiles.h"

class TestRecentFiles : public QObject
{
  Q_OBJECT

private slots:
  // Oldest first, the newest at the end, never twice, fifteen at most.
  void newestLastWithinTheLimit()
  {
    RecentFiles files(QStringLiteral("a.sk|b.sk|c.sk"));
    files.add(QStringLiteral("a.sk"));
    QCOMPARE(files.stored(), QStringLiteral("b.sk|c.sk|a.sk"));
    for (int i = 0; i < 20; ++i)
      files.add(QStringLiteral("f%1.sk").arg(i));
    QCOMPARE(files.files().size(), RecentFiles::kMaxFiles);
    QCOMPARE(files.files().first(), QStringLiteral("f5.sk"));
    QCOMPARE(files.files().last(), QStringLiteral("f19.sk"));

    files.save();
    QCOMPARE(RecentFiles::load().stored(), files.stored());
    QString stored;
    QVERIFY(IniSettings().getValue("recentFiles", stored));
    QCOMPARE(stored, files.stored());
  }
};

SK_TEST_MAIN(TestRecentFiles)
#include "test_recentfiles.moc"
