// A bare Qt window: the baseline that the program's start-up is compared with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("bare-qt-window");
  window.resize(557, 414);
  window.show();
  return app.exec();
}
