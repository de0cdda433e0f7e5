// The shell scripts, run against stand-ins for the tools they call (cmake,
// dpkg-query, id, the editor itself), in copies beside the test's folder.
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

void writeScript(const QString& path, const QByteArray& body)
{
  QDir().mkpath(QFileInfo(path).path());
  writeAll(path, "#!/bin/sh\n" + body);
  QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

void copySource(const QString& relative, const QString& to)
{
  QDir().mkpath(QFileInfo(to).path());
  QFile::remove(to);
  QVERIFY(QFile::copy(QStringLiteral(SK_SOURCE_DIR "/") + relative, to));
}

struct Run
{
  int code = -1;
  QByteArray out;
  QByteArray err;
};

// The stand-in folder comes first on the search path, or alone.
Run run(const QString& folder, const QStringList& args, const QString& path)
{
  QProcess p;
  p.setWorkingDirectory(folder);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", path);
  p.setProcessEnvironment(env);
  p.start("/bin/bash", args);
  Run r;
  if (!p.waitForFinished(30000))
    return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

} // namespace

class TestScripts : public QObject
{
  Q_OBJECT

private slots:
  void runResolvesFilesFromTheCallersFolder_data()
  {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("argument");
    QTest::newRow("beside the file") << "x" << "hero.sk";
    QTest::newRow("from a sibling") << "other" << "../x/hero.sk";
    QTest::newRow("from the editor's folder") << "repo" << "../x/hero.sk";
  }
  void runResolvesFilesFromTheCallersFolder()
  {
    QFETCH(QString, from);
    QFETCH(QString, argument);
    copySource("run.sh", "repo/run.sh");
    writeScript("repo/scripts/deps.sh", "exit 0\n");
    writeScript("repo/build/sorvelkit", "printf '%s\\n' \"$@\"\n");
    writeScript("bin/cmake", "exit 0\n");
    QDir().mkpath("x");
    QDir().mkpath("other");
    const QString bin = QDir("bin").absolutePath();
    const Run r = run(from, {QDir(from).relativeFilePath(QDir("repo").absoluteFilePath("run.sh")), argument},
                      bin + ":" + qEnvironmentVariable("PATH"));
    QCOMPARE(r.code, 0);
    QCOMPARE(QString::fromUtf8(r.out), QDir("x").canonicalPath() + "/hero.sk\n");
  }

  // A user who is neither root nor has sudo is told what to run as root; the
  // editor alone never asks for the test tools.
  void depsWithoutSudo_data()
  {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("notTold");
    const QString editor = "apt-get install -y --no-install-recommends build-essential cmake ninja-build qt6-base-dev "
                           "qt6-base-dev-tools qt6-translations-l10n zlib1g-dev";
    QTest::newRow("editor") << QStringList() << false << 1 << editor + "\n" << "clang";
    QTest::newRow("tests") << QStringList{"--tests"} << false << 1 << editor + " libbenchmark-dev" << "sudo";
    QTest::newRow("all there") << QStringList{"--tests"} << true << 0 << "" << "apt-get";
    QTest::newRow("unknown option") << QStringList{"--shiny"} << true << 2 << "--shiny" << "apt-get";
  }
  void depsWithoutSudo()
  {
    QFETCH(QStringList, options);
    QFETCH(bool, installed);
    QFETCH(int, code);
    QFETCH(QString, told);
    QFETCH(QString, notTold);
    copySource("scripts/deps.sh", "repo/scripts/deps.sh");
    // Only these tools are on the path: no sudo.
    writeScript("bin/id", "echo 1000\n");
    writeScript("bin/dpkg-query", installed ? "echo 'install ok installed'\n" : "exit 1\n");
    writeScript("bin/locale", "echo fr_FR.utf8\n");
    QFile::remove("bin/grep");
    QVERIFY(QFile::link("/bin/grep", "bin/grep"));
    const Run r = run(".", QStringList{"repo/scripts/deps.sh"} + options, QDir("bin").absolutePath());
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(told.toUtf8()), r.err.constData());
    QVERIFY2(!(r.err + r.out).contains(notTold.toUtf8()), r.err.constData());
  }
};

SK_TEST_MAIN(TestScripts)
#include "test_scripts.moc"
