// The library's folder model and the browsing rules the library windows share.
#include "tests/TestMain.h"

#include "library/LibraryBrowsing.h"
#include "library/LibraryDirModel.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QRandomGenerator>
#include <QTextDocument>

#include <sys/stat.h>

namespace {

void makeSheet(const QString& path, QRgb colour)
{
  QImage sheet(4, 4, QImage::Format_ARGB32);
  sheet.fill(colour);
  QVERIFY(sheet.save(path));
}

void makeFile(const QString& path, const QByteArray& bytes)
{
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

int lineWidth(const QString& text) { return QLabel(text).sizeHint().width(); }

} // namespace

class TestLibraryBrowsing : public QObject
{
  Q_OBJECT

private slots:
  void goingBackAndTheFolderLine_data()
  {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tip");
    // The reference width holds "XP/Monstres/" whole, and no deeper path.
    QTest::newRow("category") << "elements/XP/Monstres/" << "elements/XP/" << "Dossier actuel : XP/Monstres/"
                              << "XP/Monstres/";
    QTest::newRow("layout root") << "elements/XP/" << "elements/" << "Dossier actuel : XP/" << "XP/";
    QTest::newRow("library root") << "elements/" << "elements/" << "Dossier actuel : " << "";
    QTest::newRow("deep") << "elements/XP/Monstres/Petits/Rouges/" << "elements/XP/Monstres/Petits/"
                          << "Dossier actuel : XP/.../Rouges/" << "XP/Monstres/Petits/Rouges/";
    QTest::newRow("backslash in a name") << "elements/XP/a\\b/" << "elements/XP/" << "Dossier actuel : XP/a\\b/"
                                         << "XP/a\\b/";
    QTest::newRow("markup in a name") << "elements/XP/<b>gras/" << "elements/XP/" << "Dossier actuel : XP/<b>gras/"
                                      << "XP/<b>gras/";
  }
  void goingBackAndTheFolderLine()
  {
    QFETCH(QString, current);
    QFETCH(QString, parent);
    QFETCH(QString, line);
    QFETCH(QString, tip);
    QCOMPARE(libraryParentPath(current), parent);
    QCOMPARE(isLibraryRoot(parent), parent == "elements/");
    const FolderLine shown = libraryFolderLine(current, lineWidth("Dossier actuel : XP/Monstres/") + 30);
    QCOMPARE(shown.text, line);
    QTextDocument tipShown; // as a tool tip reads its text
    Qt::mightBeRichText(shown.toolTip) ? tipShown.setHtml(shown.toolTip) : tipShown.setPlainText(shown.toolTip);
    QCOMPARE(tipShown.toPlainText(), tip);
  }

  // A picture no longer wanted stops decoding at its reader's next read.
  void supersededPictureStops()
  {
    QImage noise(512, 512, QImage::Format_ARGB32);
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32*>(noise.bits()), 512 * 512);
    QVERIFY(noise.save("noise.png"));
    int checks = 0;
    QVERIFY(libraryFilePicture("noise.png", [&] { return ++checks > 5; }).isNull());
    QCOMPARE(checks, 6);
    QCOMPARE(libraryFilePicture("noise.png", [] { return false; }), noise);
  }

  void baseFolderAndListing()
  {
    QVERIFY(QDir().mkpath("elements/XP/Old.txt") && QDir().mkpath("elements/VX"));
    QCOMPARE(libraryBasePath(), QString());
    makeSheet("elements/XP/Hero.PNG", 0xFF102030);
    makeFile("elements/XP/Hero.ELSK", "not an element file");
    makeFile("elements/XP/notes.txt", "x");
    makeFile("elements/XP/.hidden.png", "x");
    QVERIFY(QDir().mkpath("elements/XP/aaa"));
    // Never listed nor read for a folder's picture: reading would never end,
    // or never start.
    QVERIFY(QFile::link("/dev/zero", "elements/XP/0.elsk") && QFile::link("/dev/zero", "elements/XP/0.png"));
    QCOMPARE(mkfifo("elements/XP/1.png", 0600), 0);
    QCOMPARE(libraryFolderPicture("elements/XP").pixel(0, 0), 0xFF102030u);

    LibraryDirModel model;
    model.setFolder("elements/XP/");
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
      names << model.data(model.index(row)).toString();
    QCOMPARE(names, QStringList({"aaa", "Old.txt", "Hero.ELSK", "Hero.PNG"}));
    QVERIFY(model.isDir(model.index(1)) && !model.isDir(model.index(2)));
    QCOMPARE(model.fileName(model.index(3)), QString("Hero.PNG"));
    QCOMPARE(model.filePath(model.index(3)), QString("elements/XP/Hero.PNG"));

    makeSheet("elements/XP/b.png", 0xFF102030);
    model.refresh();
    QCOMPARE(model.rowCount(), 5);
    model.setFolder("elements/XP/Missing/");
    QCOMPARE(model.rowCount(), 0);

    QVERIFY(QDir("elements/VX").removeRecursively());
    QCOMPARE(libraryBasePath(), QCoreApplication::applicationDirPath() + "/");
  }
};

SK_TEST_MAIN(TestLibraryBrowsing)
#include "test_librarybrowsing.moc"
