#pragma once
// Every test runs in a fresh temporary current folder, so that nothing a test
// writes (settings file, project files) lands beside the binary or leaks into
// the next test. Offscreen unless the caller chose a platform (grabs under a
// real X server set QT_QPA_PLATFORM=xcb). An empty settings file starts in
// that folder: without one the program falls back to the file beside the
// binary, which every test would share.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#define SK_TEST_MAIN(TestClass)                                   \
  int main(int argc, char** argv)                                 \
  {                                                               \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))           \
      qputenv("QT_QPA_PLATFORM", "offscreen");                    \
    Q_INIT_RESOURCE(resources);                                   \
    QApplication app(argc, argv);                                 \
    QTemporaryDir dir;                                            \
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))          \
      return 2;                                                   \
    QFile settings(QStringLiteral("sorvelkit.ini"));              \
    if (!settings.open(QIODevice::WriteOnly))                     \
      return 2;                                                   \
    settings.close();                                             \
    TestClass tc;                                                 \
    return QTest::qExec(&tc, argc, argv);                         \
  }
