#pragma once
// Where widget grabs land: SK_GRAB_DIR when it is set (to look at them, say
// under xvfb-run with QT_QPA_PLATFORM=xcb), else the test's own temporary
// folder.
#include <QString>
#include <QtGlobal>

inline QString grabPath(const QString& name)
{
  const QString dir = qEnvironmentVariableIsEmpty("SK_GRAB_DIR") ? QStringLiteral(".")
                                                                  : qEnvironmentVariable("SK_GRAB_DIR");
  return dir + "/" + name + ".png";
}
