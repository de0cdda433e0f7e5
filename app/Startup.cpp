#include "app/Startup.h"

#include "app/MainWindow.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "model/StreamImage.h"

#include <QApplication>
#include <QLocale>
#include <QThread>
#include <QTranslator>

void setUpApplication(QTranslator& translator)
{
  QApplication::setStartDragDistance(15);
  // Without a translation the toolkit's own dialogs keep their English texts;
  // the program's texts are French anyway.
  [[maybe_unused]] const bool translated =
      translator.load(QStringLiteral(":/translations/") + QLocale::system().name());
  QCoreApplication::installTranslator(&translator);
  QCoreApplication::setApplicationName(QStringLiteral("Sorvel Kit"));
  QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
  // Before any window or worker decodes: projects, tilesets and merges all
  // read under one limit, whatever the user opened first.
  allowLargestImages();
}

namespace {

void openArguments(MainWindow& window, const QStringList& arguments)
{
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& path = arguments[i];
    if (hasExtension(path, QStringLiteral("sk")))
      window.openSKDocument(path, true);
    else if (hasExtension(path, QStringLiteral("png")))
      window.openPNGDocument(path);
    else if (hasExtension(path, QStringLiteral("elsk")))
      window.openELSKDocument(path);
  }
}

void reopenLastSession(MainWindow& window, IniSettings& settings)
{
  QString opened;
  settings.getValue("opened", opened);
  for (const QString& path : opened.split(QLatin1Char('|'), Qt::SkipEmptyParts))
    window.openSKDocument(path, false);
}

} // namespace

void startUp(MainWindow& window, IniSettings& settings, const QStringList& arguments)
{
  if (arguments.size() > 1)
    openArguments(window, arguments);
  else
    reopenLastSession(window, settings);

  bool showWelcome = true;
  settings.getValue("showWelcome", showWelcome);
  if (!showWelcome)
    return;
  window.welcome();
  window.donation();
  window.doYouNeedHelp();
  // A fresh object: the one loaded at start predates what the openers and
  // the dialogs wrote (recent files, folders), and saving it would put the
  // file back as it was.
  IniSettings now;
  now.setValue("showAgain", "showWelcome", false);
  now.save();
}

void waitForWorkers()
{
  for (QWidget* window : QApplication::topLevelWidgets())
    for (QThread* worker : window->findChildren<QThread*>())
      worker->wait();
}
