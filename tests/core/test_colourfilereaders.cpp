#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "core/GradientFile.h"
#include "core/PaletteFile.h"

#include <QDir>
#include <QTextDocumentFragment>

#include <memory>

class TestColourFileReaders : public QObject
{
  Q_OBJECT

private slots:
  // A pipe is refused at once, and the messages show the path whole.
  void refusals_data()
  {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("pipe"); // else a file of a newer version
    QTest::addColumn<QString>("message"); // as shown; %1 stands for the path
    for (const char* folder : {"<b>gras", "R&D"}) {
      QTest::addRow("pipe in %s", folder) << folder << true << "Impossible d'ouvrir : %1";
      QTest::addRow("newer in %s", folder) << folder << false
                                           << "%1 a été enregistré avec une version de Sorvel Kit plus récente.";
    }
  }

  void refusals()
  {
    QFETCH(QString, folder);
    QFETCH(bool, pipe);
    QFETCH(QString, message);
    QVERIFY(QDir().mkpath(folder));
    const QByteArray empty = QByteArray::fromHex("00000000000a0a141e"); // a palette and a gradient, both empty
    const QString palette = folder + "/p.skp", gradient = folder + "/p.skd";
    std::vector<std::unique_ptr<FedPipe>> pipes;
    for (const QString& path : {palette, gradient}) {
      QFile::remove(path);
      pipe ? pipes.push_back(std::make_unique<FedPipe>(path, empty)) : writeAll(path, "\x01" + empty.mid(1));
    }
    std::vector<QColor> cells(4);
    QString errors[2];
    QVERIFY(!readPaletteFile(palette, cells, errors[0]));
    QVERIFY(!loadGradientFile(gradient, errors[1]));
    QCOMPARE(QTextDocumentFragment::fromHtml(errors[0]).toPlainText(), message.arg(palette));
    QCOMPARE(QTextDocumentFragment::fromHtml(errors[1]).toPlainText(), message.arg(gradient));
  }
};

SK_TEST_MAIN(TestColourFileReaders)
#include "test_colourfilereaders.moc"
