#pragma once
// Every test runs in a fresh temporary current folder, so that nothing a test
// writes (settings file, project files) lands beside the binary or leaks into
// the next test. Offscreen unless the caller chose a platform (grabs under a
// real X server set QT_QPA_PLATFORM=xcb).
#include <QApplication>
#include <QDir>
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
    TestClass tc;                                                 \
    return QTest::qExec(&tc, argc, argv);                         \
  }
