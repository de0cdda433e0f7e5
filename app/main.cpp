#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sorvel Kit");
  QApplication::setApplicationVersion("1.0.0");
  QMainWindow window;
  window.setWindowTitle("Sorvel Kit");
  window.show();
  return app.exec();
}
