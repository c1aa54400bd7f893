// A bare Qt window: the baseline that the program's start-up is compared with. With
// `--chinese-label` it holds one label in the program's Chinese face, which is the least any
// window showing Chinese text pays for: the font configuration and the font list are read before
// the first picture.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("bare-qt-window");
  window.resize(557, 414);
  if (QApplication::arguments().contains(QStringLiteral("--chinese-label"))) {
    auto* label = new QLabel(QStringLiteral("时钟芯片"), &window);
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    label->setFont(font);
    label->adjustSize();
  }
  window.show();
  return app.exec();
}
