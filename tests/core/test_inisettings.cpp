#include "tests/TestMain.h"

#include "core/IniSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const kIni = "sorvelkit.ini";

void writeIni(const QByteArray& bytes)
{
  QFile f(kIni);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QByteArray readIni()
{
  QFile f(kIni);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Puts the file's modification time well in the past, so that any rewrite
// shows.
QDateTime ageFile()
{
  const QDateTime past = QDateTime::fromSecsSinceEpoch(1000000000);
  QFile f(kIni);
  if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(past, QFileDevice::FileModificationTime))
    return QDateTime();
  return past;
}

QDateTime mtime()
{
  return QFileInfo(kIni).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

class TestIniSettings : public QObject
{
  Q_OBJECT

private slots:
  // An empty file, never none: without one the settings go beside the binary.
  void init() { writeIni(""); }

  void filePathPrefersCurrentFolder();
  void setThenDestroyWrites();
  void noChangeLeavesFileAlone();
  void saveWritesOnlyWhenModified();
  void absentKeyKeepsDefault();
  void readBackIntAndPersist();
  void mixedEncodingsSurviveASave();
  void textIntoABuffer_data();
  void textIntoABuffer();
  void gettersAfterReload_data();
  void gettersAfterReload();
  void setRetypesInPlace_data();
  void setRetypesInPlace();
  void existingKeyInOtherGroup();
  void keyNamedLikeGroup();
};

void TestIniSettings::filePathPrefersCurrentFolder()
{
  QFile::remove(kIni);
  QCOMPARE(IniSettings::filePath(), QCoreApplication::applicationDirPath() + "/sorvelkit.ini");
  writeIni("");
  QCOMPARE(IniSettings::filePath(), QString("sorvelkit.ini"));
}

void TestIniSettings::setThenDestroyWrites()
{
  writeIni("[Path]\nrecentFiles=a|b\n");
  {
    IniSettings s;
    s.setValue("Color", "primary", -16777216);
    s.setValue("Color", "palette", "palette/base.skp");
    s.setValue("Render", "zoom", 2.5);
    s.setValue("showAgain", "showAlpha", false);
  }
  QCOMPARE(readIni(), QByteArray("[Path]\nrecentFiles=a|b\n[Color]\nprimary=-16777216\npalette=palette/base.skp\n"
                                 "[Render]\nzoom=2.5\n[showAgain]\nshowAlpha=0\n"));
  IniSettings s;
  int primary = 0;
  QVERIFY(s.getValue("primary", primary));
  QCOMPARE(primary, -16777216);
  double zoom = 0;
  QVERIFY(s.getValue("zoom", zoom));
  QCOMPARE(zoom, 2.5);
  bool show = true;
  QVERIFY(s.getValue("showAlpha", show));
  QCOMPARE(show, false);
}

void TestIniSettings::noChangeLeavesFileAlone()
{
  writeIni("[Render]\nperiode=250\n");
  const QDateTime before = ageFile();
  QVERIFY(before.isValid());
  {
    IniSettings s;
    int periode = 0;
    QVERIFY(s.getValue("periode", periode));
    QCOMPARE(periode, 250);
  }
  QCOMPARE(mtime(), before);
  QCOMPARE(readIni(), QByteArray("[Render]\nperiode=250\n"));
}

void TestIniSettings::saveWritesOnlyWhenModified()
{
  writeIni("[Render]\nperiode=250\n");
  IniSettings s;
  s.save();
  QCOMPARE(readIni(), QByteArray("[Render]\nperiode=250\n"));
  s.setValue("Render", "periode", 300);
  s.save();
  QCOMPARE(readIni(), QByteArray("[Render]\nperiode=300\n"));
  // Another writer changes the file: a second save without a change must not
  // overwrite it, nor must the destructor.
  writeIni("[Render]\nperiode=999\n");
  s.save();
  QCOMPARE(readIni(), QByteArray("[Render]\nperiode=999\n"));
}

void TestIniSettings::absentKeyKeepsDefault()
{
  writeIni("[Render]\nbackgroundColor=-1\n");
  IniSettings s;
  int periode = 1000;
  QVERIFY(!s.getValue("periode", periode));
  QCOMPARE(periode, 1000);
  QString text = "home";
  QVERIFY(!s.getValue("pathLoadSKFile", text));
  QCOMPARE(text, QString("home"));
  // A group name is not a key.
  QVERIFY(!s.getValue("Render", text));
  QCOMPARE(text, QString("home"));
}

void TestIniSettings::readBackIntAndPersist()
{
  writeIni("[Render]\nperiode=1\n");
  {
    IniSettings s;
    int periode = 1000;
    QVERIFY(s.getValue("periode", periode));
    QCOMPARE(periode, 1);
    s.setValue("Render", "periode", 500);
  }
  QCOMPARE(readIni(), QByteArray("[Render]\nperiode=500\n"));
  IniSettings s;
  int periode = 0;
  QVERIFY(s.getValue("periode", periode));
  QCOMPARE(periode, 500);
}

// A file edited by hand may hold a Latin-1 line among UTF-8 ones: each keeps
// its text, and an unrelated change writes both back as UTF-8.
void TestIniSettings::mixedEncodingsSurviveASave()
{
  writeIni("[Path]\npathUtf8=/home/\xc3\xa9t\xc3\xa9\npathLatin1=C:/\xe9t\xe9\n[Render]\nperiode=1\n");
  const QString utf8 = QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9");
  const QString latin1 = QString::fromUtf8("C:/\xc3\xa9t\xc3\xa9");
  for (int pass = 0; pass < 2; ++pass) {
    IniSettings s;
    QString a, b;
    QVERIFY(s.getValue("pathUtf8", a));
    QVERIFY(s.getValue("pathLatin1", b));
    QCOMPARE(a, utf8);
    QCOMPARE(b, latin1);
    s.setValue("Render", "periode", 500 + pass);
  }
  QCOMPARE(readIni(), QByteArray("[Path]\npathUtf8=/home/\xc3\xa9t\xc3\xa9\npathLatin1=C:/\xc3\xa9t\xc3\xa9\n"
                                 "[Render]\nperiode=501\n"));
}

void TestIniSettings::textIntoABuffer_data()
{
  QTest::addColumn<QString>("key");
  QTest::addColumn<int>("size");
  QTest::addColumn<bool>("found");
  QTest::addColumn<QByteArray>("buffer"); // of eight bytes, all 'Z' before the call
  QTest::newRow("cut to fit") << "pathUtf8" << 4 << true << QByteArray("/ho\0ZZZZ", 8);
  QTest::newRow("never half a character") << "pathUtf8" << 8 << true << QByteArray("/home/\0Z", 8);
  QTest::newRow("a number as text") << "periode" << 8 << true << QByteArray("1000\0ZZZ", 8);
  QTest::newRow("absent key") << "pathLoadSKFile" << 8 << false << QByteArray("ZZZZZZZZ");
  QTest::newRow("size 0") << "periode" << 0 << false << QByteArray("ZZZZZZZZ");
}

void TestIniSettings::textIntoABuffer()
{
  QFETCH(QString, key);
  QFETCH(int, size);
  writeIni("[Path]\npathUtf8=/home/\xc3\xa9t\xc3\xa9\n[Render]\nperiode=1000\n");
  QByteArray buffer(8, 'Z');
  QTEST(IniSettings().getValue(key, buffer.data(), std::size_t(size)), "found");
  QTEST(buffer, "buffer");
}

void TestIniSettings::gettersAfterReload_data()
{
  QTest::addColumn<int>("kind"); // 0 int, 1 text, 2 double
  QTest::addColumn<QString>("written");
  QTest::newRow("transparent colour 0") << 0 << "0";
  QTest::newRow("colour 1") << 0 << "1";
  QTest::newRow("opaque black") << 0 << "-16777216";
  QTest::newRow("folder 2012") << 1 << "2012";
  QTest::newRow("folder 1") << 1 << "1";
  QTest::newRow("folder 3.5") << 1 << "3.5";
  QTest::newRow("double 1.0") << 2 << "1";
  QTest::newRow("double 4.0") << 2 << "4";
  QTest::newRow("double million") << 2 << "1000000";
}

// A value written by one instance is read by the getter of the same type
// in the next one, although the file types it by its text.
void TestIniSettings::gettersAfterReload()
{
  QFETCH(int, kind);
  QFETCH(QString, written);
  writeIni("");
  {
    IniSettings s;
    if (kind == 0)
      s.setValue("Color", "value", written.toInt());
    else if (kind == 1)
      s.setValue("Path", "value", written);
    else
      s.setValue("Render", "value", written.toDouble());
  }
  IniSettings s;
  if (kind == 0) {
    int v = 12345;
    QVERIFY(s.getValue("value", v));
    QCOMPARE(v, written.toInt());
  } else if (kind == 1) {
    QString v;
    QVERIFY(s.getValue("value", v));
    QCOMPARE(v, written);
  } else {
    double v = 12345;
    QVERIFY(s.getValue("value", v));
    QCOMPARE(v, written.toDouble());
  }
}

void TestIniSettings::setRetypesInPlace_data()
{
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<int>("kind"); // 0 int, 1 text, 2 bool, 3 double
  QTest::addColumn<QString>("value");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("bool to int")
      << QByteArray("[Color]\nprimary=0\nsecondary=-1\n") << 0 << "-16777216"
      << QByteArray("[Color]\nprimary=-16777216\nsecondary=-1\n");
  QTest::newRow("int to text")
      << QByteArray("[Path]\npathLoadSKFile=2012\nopened=a\n") << 1 << "/home/u"
      << QByteArray("[Path]\npathLoadSKFile=/home/u\nopened=a\n");
  QTest::newRow("text to bool")
      << QByteArray("[showAgain]\nshowAlpha=yes\nshowWelcome=0\n") << 2 << "0"
      << QByteArray("[showAgain]\nshowAlpha=0\nshowWelcome=0\n");
  QTest::newRow("int to double")
      << QByteArray("[Render]\nzoom=3\nperiode=1000\n") << 3 << "0.5"
      << QByteArray("[Render]\nzoom=0.5\nperiode=1000\n");
}

void TestIniSettings::setRetypesInPlace()
{
  QFETCH(QByteArray, before);
  QFETCH(int, kind);
  QFETCH(QString, value);
  QFETCH(QByteArray, after);
  writeIni(before);
  const QByteArray key = before.split('\n').at(1).split('=').at(0);
  const QByteArray group = before.mid(1, before.indexOf(']') - 1);
  {
    IniSettings s;
    switch (kind) {
    case 0: s.setValue(group.constData(), key.constData(), value.toInt()); break;
    case 1: s.setValue(group.constData(), key.constData(), value); break;
    case 2: s.setValue(group.constData(), key.constData(), value == "1"); break;
    default: s.setValue(group.constData(), key.constData(), value.toDouble()); break;
    }
  }
  QCOMPARE(readIni(), after);
}

void TestIniSettings::existingKeyInOtherGroup()
{
  writeIni("[Color]\npathOdd=x\n");
  {
    IniSettings s;
    s.setValue("Path", "pathOdd", QString("y"));
  }
  QCOMPARE(readIni(), QByteArray("[Color]\npathOdd=y\n[Path]\n"));
}

void TestIniSettings::keyNamedLikeGroup()
{
  writeIni("[Path]\nrecentFiles=a\n[Color]\nprimary=-1\n");
  {
    IniSettings s;
    s.setValue("Path", "Color", QString("rouge"));
    QString v;
    QVERIFY(s.getValue("Color", v));
    QCOMPARE(v, QString("rouge"));
    int primary = 0;
    QVERIFY(s.getValue("primary", primary));
    QCOMPARE(primary, -1);
  }
  QCOMPARE(readIni(), QByteArray("[Path]\nrecentFiles=a\nColor=rouge\n[Color]\nprimary=-1\n"));
  IniSettings s;
  s.setValue("Path", "Color", QString("bleu"));
  s.save();
  QCOMPARE(readIni(), QByteArray("[Path]\nrecentFiles=a\nColor=bleu\n[Color]\nprimary=-1\n"));
}

SK_TEST_MAIN(TestIniSettings)
#include "test_inisettings.moc"
