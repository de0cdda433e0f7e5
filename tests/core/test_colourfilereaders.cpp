#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "core/GradientFile.h"
#include "core/PaletteFile.h"

#include <QDir>
#include <QTextDocumentFragment>

class TestColourFileReaders : public QObject
{
  Q_OBJECT

private slots:
  // A pipe is refused at once, and the messages show the path whole.
  void refusals_data()
  {
    QTest::addColumn<QString>("path");    // less its suffix; a pipe when the name is "p"
    QTest::addColumn<QString>("message"); // as shown; %1 stands for the path
    for (const QString folder : {"<b>gras", "R&D"}) {
      QTest::newRow(qPrintable("pipe in " + folder)) << folder + "/p" << "Impossible d'ouvrir : %1";
      QTest::newRow(qPrintable("newer in " + folder))
          << folder + "/n" << "%1 a été enregistré avec une version de Sorvel Kit plus récente.";
    }
  }

  void refusals()
  {
    QFETCH(QString, path);
    QFETCH(QString, message);
    QVERIFY(QDir().mkpath(path.section('/', 0, 0)));
    const QString files[2] = {path + ".skp", path + ".skd"};
    for (const QString& file : files) {
      if (path.endsWith("/p"))
        QVERIFY(makePipe(file));
      else // an empty palette or gradient of version 1
        writeAll(file, QByteArray::fromHex("01000000000a0a141e"));
    }
    std::vector<QColor> cells(4);
    QString errors[2];
    QVERIFY(!readPaletteFile(files[0], cells, errors[0]) && !loadGradientFile(files[1], errors[1]));
    for (int i : {0, 1})
      QCOMPARE(QTextDocumentFragment::fromHtml(errors[i]).toPlainText(), message.arg(files[i]));
  }
};

SK_TEST_MAIN(TestColourFileReaders)
#include "test_colourfilereaders.moc"
