#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
  // The resources live in the static core library: without this call the
  // linker drops them.
  Q_INIT_RESOURCE(resources);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sorvel Kit");
  QApplication::setApplicationVersion("1.0.0");
  MainWindow window;
  window.show();
  return app.exec();
}
