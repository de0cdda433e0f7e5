#pragma once
// Every test runs in a fresh temporary current folder, so that nothing a test
// writes (settings file, project files) lands beside the binary or leaks into
// the next test.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#define SK_TEST_MAIN(TestClass)                                   \
  int main(int argc, char** argv)                                 \
  {                                                               \
    qputenv("QT_QPA_PLATFORM", "offscreen");                      \
    QApplication app(argc, argv);                                 \
    QTemporaryDir dir;                                            \
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))          \
      return 2;                                                   \
    TestClass tc;                                                 \
    return QTest::qExec(&tc, argc, argv);                         \
  }
