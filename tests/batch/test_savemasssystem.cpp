#include "tests/TestMain.h"

#include "batch/QSaveWindow.h"
#include "batch/SaveMassSystem.h"
#include "tests/PromptRecorder.h"

#include <cmath>
#include <memory>

namespace {

using Cell = std::vector<QRgb>; // 4 x 2 words, row by row; 0 is blank
using Ints = std::vector<int>;

// An XP sheet of 4 x 2 cells, every cell of element e painted as cells[e].
CharacterData character(const std::vector<Cell>& cells, const std::vector<std::string>& sources = {})
{
  CharacterData doc(XP, QSize(16, 8));
  for (std::size_t e = 0; e < cells.size(); ++e) {
    QImage image(4, 2, QImage::Format_ARGB32);
    for (int i = 0; i < 8; ++i)
      image.setPixel(i % 4, i / 4, cells[e][i] ? cells[e][i] : kBlankPixel);
    doc.images().push_back(std::vector<QImage>(16, image));
    doc.offsets().push_back(std::vector<QPoint>(16));
    doc.names().push_back("e");
    doc.sources().push_back(e < sources.size() ? sources[e] : "");
    doc.visibility().push_back(true);
  }
  return doc;
}

struct Log
{
  QList<int> percents;
  QStringList texts, unwritten; // texts: then "<unwritten>" and "<finish>" where they came
};

Log run(SaveMassSystem& worker)
{
  Log log;
  const auto direct = Qt::DirectConnection;
  QObject::connect(&worker, &SaveMassSystem::changeProgess, &worker, [&](uchar p, QString t) { log.percents << p, log.texts << t; }, direct);
  QObject::connect(&worker, &SaveMassSystem::unwritten, &worker, [&](QStringList n) { log.unwritten = n, log.texts << "<unwritten>"; }, direct);
  QObject::connect(&worker, &SaveMassSystem::finish, &worker, [&] { log.texts << "<finish>"; }, direct);
  worker.start();
  worker.wait();
  return log;
}

QImage tinted(CharacterData doc, const Ints& elements, unsigned hue, bool redefine)
{
  doc.setSelectedCells({});
  doc.saveSnapshot();
  doc.setSelectedElements(elements);
  doc.changeColoration(TslShift{float(hue), 0.f, 0.f}, redefine, true);
  return doc.flattenImage();
}

const Cell kPlain(8, 0xFF336699u);

// The bytes of every file of a folder, by name.
QMap<QString, QByteArray> filesOf(const QString& folder)
{
  QMap<QString, QByteArray> files;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) {
    QFile file(folder + "/" + name);
    file.open(QIODevice::ReadOnly);
    files.insert(name, file.readAll());
  }
  return files;
}

} // namespace

class TestSaveMassSystem : public QObject
{
  Q_OBJECT

private slots:
  // Also the edge cases: unknown ids or groups, no id, one file, a step of 0.
  void namesOrderAndProgress_data()
  {
    QTest::addColumn<uint>("step");
    QTest::addColumn<Ints>("ids");
    QTest::addColumn<Ints>("groups"); // empty: ungrouped
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("names"); // the first ones, and the last
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("percents"); // empty: only the final 100 checked
    QTest::newRow("20") << 20u << Ints{2} << Ints{} << "hero" << QStringList{"hero2_0.png", "hero2_20.png", "hero2_340.png"}
                        << 18 << QList<int>{0, 5, 11, 16, 22, 27, 33, 38, 44, 50, 55, 61, 66, 72, 77, 83, 88, 94, 100};
    QTest::newRow("120") << 120u << Ints{0, 3} << Ints{} << ""
                         << QStringList{"0_0.png", "0_120.png", "0_240.png", "3_0.png", "3_120.png", "3_240.png"} << 6
                         << QList<int>{0, 16, 33, 50, 66, 83, 100};
    const QList<int> any;
    QTest::newRow("7") << 7u << Ints{1} << Ints{} << "" << QStringList{"1_350.png"} << 51 << any;
    QTest::newRow("25") << 25u << Ints{1} << Ints{} << "" << QStringList{"1_325.png"} << 14 << any;
    QTest::newRow("one file") << 360u << Ints{0} << Ints{} << "" << QStringList{"0_0.png"} << 1 << any;
    QTest::newRow("unknown id") << 120u << Ints{9} << Ints{} << "" << QStringList{} << 0 << any;
    QTest::newRow("unknown group") << 120u << Ints{9} << Ints{5} << "" << QStringList{} << 0 << any;
    QTest::newRow("nothing") << 120u << Ints{} << Ints{} << "" << QStringList{} << 0 << any;
    QTest::newRow("step 0") << 0u << Ints{9} << Ints{} << "" << QStringList{} << 0 << any;
  }
  void namesOrderAndProgress()
  {
    QFETCH(Ints, groups);
    QFETCH(QStringList, names);
    QFETCH(int, count);
    QFETCH(QList<int>, percents);
    CharacterData doc = character({kPlain, kPlain, kPlain, kPlain});
    QTemporaryDir dir;
    const QString folder = dir.path() + "/F/G"; // created with its parent
    QFETCH(Ints, ids);
    QFETCH(uint, step);
    QFETCH(QString, prefix);
    auto worker = groups.empty() ? std::make_unique<SaveMassSystem>(&doc, ids, folder, prefix, step, false)
                                 : std::make_unique<SaveMassSystem>(&doc, ids, groups, folder, prefix, step, false);
    const Log log = run(*worker);
    QStringList written;
    for (const QString& text : log.texts.mid(0, count))
      written << text.mid(QStringLiteral("Enregistrement de ").size());
    if (count)
      QCOMPARE(written.mid(0, names.size() - 1) << written.last(), names);
    QCOMPARE(log.texts.mid(count), (QStringList{count == 1 ? "Enregistrement fini" : "Enregistrements finis", "<finish>"}));
    if (percents.isEmpty())
      QCOMPARE(log.percents.last(), 100);
    else
      QCOMPARE(log.percents, percents);
    QCOMPARE(int(QDir(folder).entryList(QDir::Files).size()), count);
    QVERIFY(!count || QFile::exists(folder + "/" + names.last()));
  }

  // Element 1, on top, covers the three left columns; column 3 shows element 0 alone.
  void recolouring_data()
  {
    QTest::addColumn<bool>("redefine");
    QTest::newRow("turned") << false;
    QTest::newRow("set") << true;
  }
  void recolouring()
  {
    QFETCH(bool, redefine);
    const Cell under{0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF785028, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF785028};
    const Cell top{0xFFC80A0A, 0xFFFF0000, 0xFFFFFFFF, 0, 0xFF000000, 0x801E3CC8, 0xFF0000FF, 0};
    CharacterData doc = character({under, top});
    const QImage plain = CharacterData(doc).flattenImage();
    QTemporaryDir dir;
    CharacterData onlySelection = doc; // as a project may hold it: the files still show every element
    onlySelection.setOnlySelection(true);
    SaveMassSystem worker(&onlySelection, {1}, dir.path(), "", 120, redefine);
    bool touched = false; // the caller's document is left alone, also during the run
    QObject::connect(&worker, &SaveMassSystem::changeProgess, &worker,
                     [&] { touched |= CharacterData(doc).flattenImage() != plain; }, Qt::DirectConnection);
    run(worker);
    QVERIFY(!touched && CharacterData(doc).flattenImage() == plain);
    for (unsigned hue : {0u, 120u, 240u}) {
      const QImage file = QImage(dir.path() + "/1_" + QString::number(hue) + ".png").convertToFormat(QImage::Format_ARGB32);
      QCOMPARE(file, tinted(doc, {1}, hue, redefine)); // semi-transparent pixel included
      if (!redefine && hue == 0)
        QCOMPARE(file, plain); // the first tint is the character itself
      for (int i = 0; i < 8; ++i) {
        const QPoint at(i % 4, i / 4);
        const QColor got = QColor::fromRgba(file.pixel(at)), was = QColor::fromRgba(plain.pixel(at)), mine = QColor::fromRgba(top[i]);
        if (!top[i])
          QCOMPARE(got, was);
        else if (redefine && mine.alpha() == 255 && std::max({mine.red(), mine.green(), mine.blue()}) -
                                                             std::min({mine.red(), mine.green(), mine.blue()}) >= 64) {
          const double d = std::fabs(got.hslHueF() * 360 - hue);
          QVERIFY2(std::min(d, 360 - d) <= 1, qPrintable(QString::number(got.hslHueF() * 360)));
        }
      }
    }
  }

  // Elements 1 to 3 come from one load of lib.elsk; each element paints its own pixel.
  void groups()
  {
    std::vector<Cell> cells(5, Cell(8, 0));
    for (int e = 0; e < 5; ++e)
      cells[e][e] = 0xFFC80A0A;
    CharacterData doc = character(cells, {"a.png|0", "lib.elsk?1_7", "lib.elsk?2_7", "lib.elsk?3_7", "b.png|4"});
    const QImage plain = CharacterData(doc).flattenImage();
    QTemporaryDir dir;
    SaveMassSystem worker(&doc, {0, 4}, {7}, dir.path(), "", 120, true, nullptr, {"lib.elsk"});
    const Log log = run(worker);
    QCOMPARE((QStringList{log.texts[0], log.texts[3], log.texts[6]}),
             (QStringList{"Enregistrement de 0_0.png", "Enregistrement de 4_0.png", "Enregistrement de 3_0.png"}));
    const QImage file = QImage(dir.path() + "/3_120.png").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(file, tinted(doc, {1, 2, 3}, 120, true));
    for (int e = 0; e < 5; ++e)
      QCOMPARE(file.pixel(e % 4, e / 4) == plain.pixel(e % 4, e / 4), e == 0 || e == 4);
    QTemporaryDir one;
    SaveMassSystem single(&doc, {0, 4}, {7}, one.path(), "", 120, true, nullptr, {"lib.elsk"});
    single.setThreadCount(1);
    run(single);
    QCOMPARE(filesOf(one.path()), filesOf(dir.path()));
    QCOMPARE(filesOf(dir.path()).size(), 9);
    QCOMPARE(SaveMassSystem::plainIndex("x/a|b.png|0"), std::optional<int>(0));
    const CharacterData twins = character({kPlain, kPlain}, {"a.elsk?0_7", "b.elsk?0_7"});
    QCOMPARE(SaveMassSystem::plan(&twins, true, {}, {7}, {"a.elsk"})[0].elements, Ints{0});
    QCOMPARE(SaveMassSystem::plan(&twins, true, {}, {7}, {})[0].elements, (Ints{0, 1}));
  }

  void replacementCheck()
  {
    CharacterData doc = character({kPlain}, {"a.png|0"});
    QTemporaryDir dir;
    PromptRecorder prompts;
    QVERIFY(QSaveWindow::checkReplacedFiles(&doc, {0}, dir.path() + "/new", "p", 120));
    QVERIFY(prompts.asked.isEmpty() && !QDir(dir.path() + "/new").exists());
    for (const char* name : {"p0_0.png", "p0_240.png", "other.png"})
      QFile(dir.path() + "/" + name).open(QIODevice::WriteOnly);
    prompts.buttons = {QMessageBox::Cancel, QMessageBox::Apply};
    QVERIFY(!QSaveWindow::checkReplacedFiles(&doc, {0}, dir.path(), "p", 120));
    QVERIFY(QSaveWindow::checkReplacedFiles(&doc, {0}, {}, dir.path(), "p", 120));
    QVERIFY(QSaveWindow::checkReplacedFiles(&doc, {7}, dir.path(), "p", 120)); // writes nothing
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked[0].title, QString("Fichiers remplacés"));
    QCOMPARE(prompts.asked[0].details, QString("Liste des fichiers qui seront remplacés après l'enregistrement :\n"
                                               "- p0_0.png\n- p0_240.png\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
  }

  void failuresAndThreads()
  {
    CharacterData doc = character({kPlain});
    QTemporaryDir dir;
    QFile(dir.path() + "/file").open(QIODevice::WriteOnly);
    SaveMassSystem blocked(&doc, {0}, dir.path() + "/file/sub", "", 120, false);
    const Log log = run(blocked);
    QCOMPARE(log.unwritten, (QStringList{"0_0.png", "0_120.png", "0_240.png"}));
    QCOMPARE(log.texts.mid(3), (QStringList{"Enregistrements finis", "<unwritten>", "<finish>"}));
    auto* parent = new QObject;
    (new SaveMassSystem(&doc, {0}, dir.path(), "", 5, false, parent))->start();
    delete parent; // waits for the run
    QCOMPARE(QDir(dir.path()).entryList({"*.png"}, QDir::Files).size(), 72);

    // One thread writes the same bytes; the files that fail are exactly those reported.
    QTemporaryDir one;
    for (const char* name : {"0_10.png", "0_355.png"})
      QDir(one.path()).mkdir(name);
    SaveMassSystem single(&doc, {0}, one.path(), "", 5, false);
    single.setThreadCount(1);
    QCOMPARE(run(single).unwritten, (QStringList{"0_10.png", "0_355.png"}));
    QMap<QString, QByteArray> all = filesOf(dir.path());
    all.remove("0_10.png"), all.remove("0_355.png"), all.remove("file");
    QCOMPARE(filesOf(one.path()), all);
  }
};

SK_TEST_MAIN(TestSaveMassSystem)
#include "test_savemasssystem.moc"
