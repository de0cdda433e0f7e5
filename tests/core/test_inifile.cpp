#include "tests/TestMain.h"

#include "core/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include <clocale>
#include <locale>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray formatted(const IniFile& ini)
{
  std::string out;
  ini.formatSets(0, out);
  return QByteArray::fromStdString(out);
}

// Reads the bytes as a file and returns the store.
IniFile readText(const QByteArray& bytes)
{
  writeBytes("in.ini", bytes);
  IniFile ini;
  ini.read("in.ini");
  return ini;
}

// The type code of a key's entry, -1 when no entry carries the key.
int typeOf(const IniFile& ini, int keyId)
{
  for (int id = 1; ini.getSet(id).id == id; ++id)
    for (const IniIndexEntry& e : ini.getSet(id).entries)
      if (e.keyId == keyId)
        return e.type;
  return -1;
}

// Restores the C and C++ global locales whatever happens in the test.
struct LocaleGuard
{
  std::locale cpp = std::locale();
  ~LocaleGuard()
  {
    std::setlocale(LC_ALL, "C");
    std::locale::global(cpp);
  }
};

} // namespace

class TestIniFile : public QObject
{
  Q_OBJECT

private slots:
  void addToEmptyStoreCreatesEnsemble();
  void setParentsAndChildSets();
  void keyIdsCountAcrossSets();
  void typedSetterMatchesTypeOnly();
  void keysAndSetsLookedUpApart();
  void typedReadsConvert_data();
  void typedReadsConvert();
  void putRetypesInPlace();
  void removeSetRenumbers();

  void writeNestedSets();
  void writeDoubles_data();
  void writeDoubles();
  void writeDeepIndent();
  void writeReplacesLineBreaks();
  void readTypesValues();
  void readTypesValuesUnderFrenchLocale();
  void readNumericLookingText_data();
  void readNumericLookingText();
  void readKeysBeforeHeader();
  void readNesting();
  void readKeepsLinesAfterBlankOnes();
  void readLastLineWithoutLineFeed();
  void readCrLf();
  void readEncoding();
  void readMissingFileKeepsStore();
  void writeFailureReported();
  void writeReadRoundTripsUtf8();
};

void TestIniFile::addToEmptyStoreCreatesEnsemble()
{
  IniFile ini;
  QCOMPARE(ini.addString("k", "v", 0), 0);
  QCOMPARE(ini.findId("Ensemble 1", IniFile::Name::Set), 1);
  QVERIFY(ini.lastFound());
  QCOMPARE(ini.findId("k", IniFile::Name::Key), 0);
  QVERIFY(ini.lastFound());
  QCOMPARE(ini.getSet(1).strings, QList<QString>{"v"});
  QCOMPARE(ini.getSet(1).parentId, 0);
  // An unknown set id sends the value to the first set.
  QCOMPARE(ini.addInt("n", 3, 9), 1);
  QCOMPARE(ini.getSet(1).ints, QList<int>{3});
}

void TestIniFile::setParentsAndChildSets()
{
  IniFile ini;
  QCOMPARE(ini.addSet("A", 0), 1);
  QCOMPARE(ini.addSet("B", 1), 2);
  QCOMPARE(ini.addSet("C", 7), 3);
  QCOMPARE(ini.getSet(2).parentId, 1);
  QCOMPARE(ini.getSet(3).parentId, 0);
  const QList<IniSet> top = ini.childSets(0);
  QCOMPARE(top.size(), 2);
  QCOMPARE(top[0].id, 1);
  QCOMPARE(top[1].id, 3);
  QCOMPARE(ini.childSets(1).size(), 1);
  QCOMPARE(ini.childSets(1)[0].id, 2);
  QCOMPARE(ini.getSet(42).id, 0);
}

void TestIniFile::keyIdsCountAcrossSets()
{
  IniFile ini;
  ini.addSet("A", 0);
  ini.addSet("B", 0);
  QCOMPARE(ini.addInt("i", 4, 2), 0);
  QCOMPARE(ini.addBool("b", true, 1), 1);
  QCOMPARE(ini.getSet(2).entries[0].index, 0);
  QCOMPARE(ini.getSet(1).entries[0].index, 0);
  QCOMPARE(ini.getSet(1).entries[0].type, uint16_t(IniBool));
  // The same name twice: the first key is found.
  QCOMPARE(ini.addInt("i", 5, 1), 2);
  QCOMPARE(ini.findId("i", IniFile::Name::Key), 0);
}

void TestIniFile::typedSetterMatchesTypeOnly()
{
  IniFile ini;
  const int id = ini.addBool("b", true, 0);
  QVERIFY(!ini.setInt(7, id));
  QVERIFY(ini.getBool(id));
  QVERIFY(ini.setBool(false, id));
  QVERIFY(!ini.getBool(id));
  QVERIFY(!ini.setBool(true, 99));
  QVERIFY(!ini.getBool(99));
}

void TestIniFile::keysAndSetsLookedUpApart()
{
  IniFile ini;
  ini.addSet("Path", 0);
  const int set2 = ini.addSet("Color", 0);
  ini.addInt("x", 1, set2);
  const int key = ini.addString("Path", "/home", set2);
  QCOMPARE(ini.findId("Path", IniFile::Name::Key), key);
  QVERIFY(ini.lastFound());
  QCOMPARE(ini.findId("Path", IniFile::Name::Set), 1);
  QString s;
  QVERIFY(ini.valueOf(key, s));
  QCOMPARE(s, QString("/home"));
  // A set name is not a key.
  QCOMPARE(ini.findId("Color", IniFile::Name::Key), 0);
  QVERIFY(!ini.lastFound());
}

void TestIniFile::typedReadsConvert_data()
{
  QTest::addColumn<QByteArray>("value");
  QTest::addColumn<bool>("asInt");
  QTest::addColumn<int>("intValue");
  QTest::addColumn<bool>("asDouble");
  QTest::addColumn<double>("doubleValue");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("asBool");

  // value text as written in the file, then what each getter answers
  QTest::newRow("colour 0 (bool)") << QByteArray("0") << true << 0 << true << 0.0 << "0" << true;
  QTest::newRow("colour 1 (bool)") << QByteArray("1") << true << 1 << true << 1.0 << "1" << true;
  QTest::newRow("folder 2012 (int)") << QByteArray("2012") << true << 2012 << true << 2012.0 << "2012" << false;
  QTest::newRow("negative int") << QByteArray("-16777216") << true << -16777216 << true << -16777216.0
                                << "-16777216" << false;
  QTest::newRow("double") << QByteArray("2.5") << false << 0 << true << 2.5 << "2.5" << false;
  QTest::newRow("scientific text") << QByteArray("1e+06") << false << 0 << true << 1e6 << "1e+06" << false;
  QTest::newRow("int text") << QByteArray("+12") << true << 12 << true << 12.0 << "+12" << false;
  QTest::newRow("partial number") << QByteArray("12abc") << false << 0 << false << 0.0 << "12abc" << false;
  QTest::newRow("spaced number") << QByteArray(" 5") << false << 0 << false << 0.0 << " 5" << false;
  QTest::newRow("plain text") << QByteArray("abc") << false << 0 << false << 0.0 << "abc" << false;
}

void TestIniFile::typedReadsConvert()
{
  QFETCH(QByteArray, value);
  QFETCH(bool, asInt);
  QFETCH(int, intValue);
  QFETCH(bool, asDouble);
  QFETCH(double, doubleValue);
  QFETCH(QString, text);
  QFETCH(bool, asBool);

  IniFile ini = readText("[G]\nk=" + value + "\n");
  const int id = ini.findId("k", IniFile::Name::Key);
  QVERIFY(ini.lastFound());

  int i = -77;
  QCOMPARE(ini.valueOf(id, i), asInt);
  QCOMPARE(i, asInt ? intValue : -77);
  double d = -77.5;
  QCOMPARE(ini.valueOf(id, d), asDouble);
  QCOMPARE(d, asDouble ? doubleValue : -77.5);
  QString s = "untouched";
  QVERIFY(ini.valueOf(id, s));
  QCOMPARE(s, text);
  bool b = false;
  QCOMPARE(ini.valueOf(id, b), asBool);

  // No entry at all.
  QVERIFY(!ini.valueOf(id + 1, i));
  QVERIFY(!ini.valueOf(id + 1, s));
}

void TestIniFile::putRetypesInPlace()
{
  IniFile ini;
  ini.addInt("a", 10, 0);
  const int b = ini.addBool("b", false, 0);
  ini.addInt("c", 30, 0);
  ini.addBool("d", true, 0);

  QVERIFY(ini.putInt(500, b));
  int v = 0;
  QVERIFY(ini.valueOf(b, v));
  QCOMPARE(v, 500);
  QVERIFY(ini.getBool(ini.findId("d", IniFile::Name::Key)));
  QCOMPARE(formatted(ini), QByteArray("[Ensemble 1]\na=10\nb=500\nc=30\nd=1\n"));

  QVERIFY(ini.putString("x y", ini.findId("a", IniFile::Name::Key)));
  QVERIFY(ini.putDouble(0.25, ini.findId("c", IniFile::Name::Key)));
  QVERIFY(ini.putBool(false, b));
  QCOMPARE(formatted(ini), QByteArray("[Ensemble 1]\na=x y\nb=0\nc=0.25\nd=1\n"));
  const IniSet set = ini.getSet(1);
  QCOMPARE(set.ints.size(), 0);
  QCOMPARE(set.bools.size(), 2);
  QVERIFY(!ini.putInt(1, 99));
}

void TestIniFile::removeSetRenumbers()
{
  IniFile ini;
  const int a = ini.addSet("A", 0);
  const int b = ini.addSet("B", a);
  const int c = ini.addSet("C", 0);
  const int d = ini.addSet("D", c);
  ini.addInt("ka", 1, a);
  ini.addInt("kb", 2, b);
  ini.addInt("kc", 3, c);
  ini.addInt("kd", 4, d);
  ini.removeSet(a);
  QCOMPARE(formatted(ini), QByteArray("[C]\nkc=3\n [D]\n kd=4\n"));
  QCOMPARE(ini.findId("D", IniFile::Name::Set), 2);
  QCOMPARE(ini.getSet(2).parentId, 1);
  const int kd = ini.findId("kd", IniFile::Name::Key);
  QCOMPARE(kd, 1);
  int v = 0;
  QVERIFY(ini.valueOf(kd, v));
  QCOMPARE(v, 4);
  QCOMPARE(ini.addSet("E", 0), 3);
  QCOMPARE(ini.addInt("ke", 5, 3), 2);
}

void TestIniFile::writeNestedSets()
{
  IniFile ini;
  const int a = ini.addSet("A", 0);
  ini.addInt("x", 5, a);
  const int b = ini.addSet("B", a);
  ini.addString("name", "abc", b);
  ini.addSet("C", 0);
  QVERIFY(ini.write("out.ini"));
  const QByteArray expected("[A]\nx=5\n [B]\n name=abc\n[C]\n");
  QCOMPARE(expected.size(), 27);
  QCOMPARE(readBytes("out.ini"), expected);
}

void TestIniFile::writeDoubles_data()
{
  QTest::addColumn<double>("value");
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("pi") << 3.14159265 << QByteArray("3.14159");
  QTest::newRow("integral") << 2.0 << QByteArray("2");
  QTest::newRow("million") << 1000000.0 << QByteArray("1e+06");
  QTest::newRow("small") << 0.00001 << QByteArray("1e-05");
  QTest::newRow("negative") << -2.5 << QByteArray("-2.5");
}

void TestIniFile::writeDoubles()
{
  QFETCH(double, value);
  QFETCH(QByteArray, text);
  LocaleGuard guard;
  // A French global locale must not turn the point into a comma.
  std::setlocale(LC_ALL, "fr_FR.UTF-8");
  std::locale::global(std::locale("fr_FR.UTF-8"));
  IniFile ini;
  ini.addDouble("d", value, 0);
  QCOMPARE(formatted(ini), "[Ensemble 1]\nd=" + text + "\n");
}

void TestIniFile::writeDeepIndent()
{
  IniFile ini;
  const int a = ini.addSet("A", 0);
  const int b = ini.addSet("B", a);
  const int c = ini.addSet("C", b);
  ini.addBool("k", true, c);
  QCOMPARE(formatted(ini), QByteArray("[A]\n [B]\n  [C]\n  k=1\n"));
}

void TestIniFile::writeReplacesLineBreaks()
{
  IniFile ini;
  const int g = ini.addSet("G\nroup", 0);
  ini.addString("k\r\ney", "line1\nline2\rend", g);
  QVERIFY(ini.write("out.ini"));
  QCOMPARE(readBytes("out.ini"), QByteArray("[G roup]\nk  ey=line1 line2 end\n"));
  IniFile back;
  QVERIFY(back.read("out.ini"));
  QCOMPARE(back.childSets(0).size(), 1);
  QCOMPARE(back.getSet(1).entries.size(), 1);
}

namespace {

void checkTypedRead()
{
  IniFile ini = readText("[S]\na=b=c\nv1=-5\nv2=2.50\nv3=1\nv4=01\nv5= 5\nx=\n");
  struct
  {
    const char* key;
    int type;
  } expected[] = {{"a", IniString}, {"v1", IniInt}, {"v2", IniDouble}, {"v3", IniBool}, {"v4", IniInt},
                  {"v5", IniString}};
  for (const auto& e : expected) {
    const int id = ini.findId(e.key, IniFile::Name::Key);
    QVERIFY2(ini.lastFound(), e.key);
    QCOMPARE(typeOf(ini, id), e.type);
  }
  QString s;
  int i = 0;
  double d = 0;
  QVERIFY(ini.valueOf(ini.findId("a", IniFile::Name::Key), s));
  QCOMPARE(s, QString("b=c"));
  QVERIFY(ini.valueOf(ini.findId("v1", IniFile::Name::Key), i));
  QCOMPARE(i, -5);
  QVERIFY(ini.valueOf(ini.findId("v2", IniFile::Name::Key), d));
  QCOMPARE(d, 2.5);
  QVERIFY(ini.getBool(ini.findId("v3", IniFile::Name::Key)));
  QVERIFY(ini.valueOf(ini.findId("v4", IniFile::Name::Key), i));
  QCOMPARE(i, 1);
  QVERIFY(ini.valueOf(ini.findId("v5", IniFile::Name::Key), s));
  QCOMPARE(s, QString(" 5"));
  ini.findId("x", IniFile::Name::Key);
  QVERIFY(!ini.lastFound());
}

} // namespace

void TestIniFile::readTypesValues()
{
  checkTypedRead();
}

void TestIniFile::readTypesValuesUnderFrenchLocale()
{
  LocaleGuard guard;
  QVERIFY(std::setlocale(LC_ALL, "fr_FR.UTF-8") != nullptr);
  std::locale::global(std::locale("fr_FR.UTF-8"));
  // Make sure the locale really is one that writes a decimal comma.
  QCOMPARE(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
  checkTypedRead();
}

void TestIniFile::readNumericLookingText_data()
{
  QTest::addColumn<QByteArray>("value");
  QTest::addColumn<int>("type");
  QTest::addColumn<QString>("text");
  QTest::newRow("lone minus") << QByteArray("-") << int(IniString) << "-";
  QTest::newRow("lone point") << QByteArray(".") << int(IniString) << ".";
  QTest::newRow("minus point") << QByteArray("-.") << int(IniString) << "-.";
  QTest::newRow("int overflow") << QByteArray("99999999999") << int(IniString) << "99999999999";
  QTest::newRow("prefix int") << QByteArray("1-2") << int(IniInt) << "1";
  QTest::newRow("prefix double") << QByteArray("1.5.3") << int(IniDouble) << "1.5";
  QTest::newRow("exponent") << QByteArray("1e+06") << int(IniString) << "1e+06";
}

void TestIniFile::readNumericLookingText()
{
  QFETCH(QByteArray, value);
  QFETCH(int, type);
  QFETCH(QString, text);
  IniFile ini = readText("[S]\nk=" + value + "\n");
  const int id = ini.findId("k", IniFile::Name::Key);
  QVERIFY(ini.lastFound());
  QCOMPARE(typeOf(ini, id), type);
  QString s;
  QVERIFY(ini.valueOf(id, s));
  QCOMPARE(s, text);
}

void TestIniFile::readKeysBeforeHeader()
{
  IniFile ini = readText("a=x\nb=2\nno equals sign\n=5\n[H]\nc=y\n");
  QCOMPARE(formatted(ini), QByteArray("[Ensemble 1]\na=x\nb=2\n[H]\nc=y\n"));
}

void TestIniFile::readNesting()
{
  IniFile ini = readText("[P]\np=1\n [Q]\n q=x\n[R]\nr=y\n  [S]\n  s=z\n   [T]\n");
  QCOMPARE(ini.getSet(4).parentId, 2);
  QCOMPARE(formatted(ini), QByteArray("[P]\np=1\n [Q]\n q=x\n  [S]\n  s=z\n   [T]\n[R]\nr=y\n"));
  // A header two levels in with none at level one is top-level.
  IniFile orphan = readText("  [X]\n  k=v\n");
  QCOMPARE(formatted(orphan), QByteArray("[X]\nk=v\n"));
}

void TestIniFile::readKeepsLinesAfterBlankOnes()
{
  IniFile ini = readText("[A]\na=x\n\n   \nb=y\n[B]\nc=z\n");
  QCOMPARE(formatted(ini), QByteArray("[A]\na=x\nb=y\n[B]\nc=z\n"));
}

void TestIniFile::readLastLineWithoutLineFeed()
{
  IniFile ini = readText("[A]\na=x\nb=last");
  QCOMPARE(formatted(ini), QByteArray("[A]\na=x\nb=last\n"));
  IniFile empty = readText("");
  QCOMPARE(formatted(empty), QByteArray());
}

void TestIniFile::readCrLf()
{
  IniFile ini = readText("[A]\r\na=x\r\nn=12\r\n\r\n [B]\r\n b=0\r\n");
  QCOMPARE(formatted(ini), QByteArray("[A]\na=x\nn=12\n [B]\n b=0\n"));
}

void TestIniFile::readEncoding()
{
  // Valid UTF-8 reads as UTF-8.
  IniFile utf8 = readText("[Path]\np=/home/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5\n");
  QString s;
  QVERIFY(utf8.valueOf(utf8.findId("p", IniFile::Name::Key), s));
  QCOMPARE(s, QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5"));
  // An old Latin-1 file still reads.
  IniFile latin1 = readText("[Path]\np=C:/\xe9t\xe9\n");
  QVERIFY(latin1.valueOf(latin1.findId("p", IniFile::Name::Key), s));
  QCOMPARE(s, QString::fromUtf8("C:/\xc3\xa9t\xc3\xa9"));
  // And is written back as UTF-8.
  QVERIFY(latin1.write("out.ini"));
  QCOMPARE(readBytes("out.ini"), QByteArray("[Path]\np=C:/\xc3\xa9t\xc3\xa9\n"));
  // A last byte that only starts a sequence makes the line Latin-1 as well,
  // in a file that mixes both, before and after a write of another key.
  IniFile mixed = readText("[Path]\nq=\xc3\xbc\nname=\xe9");
  for (int pass = 0; pass < 2; ++pass) {
    QVERIFY(mixed.valueOf(mixed.findId("name", IniFile::Name::Key), s));
    QCOMPARE(s, QString::fromUtf8("\xc3\xa9"));
    QVERIFY(mixed.valueOf(mixed.findId("q", IniFile::Name::Key), s));
    QCOMPARE(s, QString::fromUtf8("\xc3\xbc"));
    mixed.addInt("k", 3, mixed.findId("Path", IniFile::Name::Set));
    QVERIFY(mixed.write("mixed.ini"));
    QVERIFY(mixed.read("mixed.ini"));
  }
}

void TestIniFile::readMissingFileKeepsStore()
{
  IniFile ini;
  ini.addInt("k", 3, 0);
  QVERIFY(!ini.read("absent.ini"));
  QCOMPARE(ini.lastError(), QString::fromUtf8("Impossible d'ouvrir le fichier : absent.ini"));
  QCOMPARE(formatted(ini), QByteArray("[Ensemble 1]\nk=3\n"));
}

void TestIniFile::writeFailureReported()
{
  IniFile ini;
  ini.addInt("k", 3, 0);
  QVERIFY(!ini.write("no/such/folder/out.ini"));
  QCOMPARE(ini.lastError(), QString::fromUtf8("Impossible d'écrire le fichier : no/such/folder/out.ini"));
}

void TestIniFile::writeReadRoundTripsUtf8()
{
  IniFile ini;
  const int g = ini.addSet(QString::fromUtf8("Chemins \xc3\xa9"), 0);
  ini.addString(QString::fromUtf8("cl\xc3\xa9"), QString::fromUtf8("/tmp/\xe6\x97\xa5\xe6\x9c\xac"), g);
  const std::string path = "d\xc3\xa9j\xc3\xa0.ini";
  QVERIFY(ini.write(path));
  QVERIFY(QFileInfo::exists(QString::fromUtf8("d\xc3\xa9j\xc3\xa0.ini")));
  IniFile back;
  QVERIFY(back.read(path.c_str()));
  QCOMPARE(formatted(back), formatted(ini));
}

SK_TEST_MAIN(TestIniFile)
#include "test_inifile.moc"
