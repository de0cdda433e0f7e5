#include "app/MainWindow.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
  // The resources live in the static core library: without this call the
  // linker drops them.
  Q_INIT_RESOURCE(resources);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sorvel Kit");
  QApplication::setApplicationVersion("1.0.0");
  MainWindow window;
  // Room for the four tool bars in one row where the screen allows it.
  window.resize(window.sizeHint().expandedTo(QSize(1280, 760)).boundedTo(
      QGuiApplication::primaryScreen()->availableSize()));
  window.show();
  return app.exec();
}
