#include "app/MainWindow.h"
#include "app/Startup.h"
#include "core/IniSettings.h"

#include <QApplication>
#include <QScreen>
#include <QTranslator>

int main(int argc, char** argv)
{
  // The resources live in the static core library: without this call the
  // linker drops them.
  Q_INIT_RESOURCE(resources);
  // Destroyed in the reverse order: the window, the settings, the translator,
  // the application.
  QApplication app(argc, argv);
  QTranslator translator;
  setUpApplication(translator);
  IniSettings settings;
  MainWindow window;
  // Room for the four tool bars in one row where the screen allows it.
  window.resize(window.sizeHint().expandedTo(QSize(1280, 760)).boundedTo(
      QGuiApplication::primaryScreen()->availableSize()));
  window.show();
  // The arguments as text in the system's encoding: accented paths survive.
  startUp(window, settings, QCoreApplication::arguments());
  const int code = app.exec();
  waitForWorkers();
  return code;
}
