#include "platform/qt/ui_fonts.h"

#include <QApplication>

#include "platform/qt/twips.h"

namespace rtceval::qt {
namespace {

constexpr double kDefaultPoints = 9.0;

// The one face each kind of text asks for. Naming a single face lets the toolkit open it without
// first ranking every installed font as a fallback, which it does for each size of a font that
// names several; a character the face lacks still finds a face when it is drawn.
QString uiFamily() {
#ifdef Q_OS_WIN
  return QStringLiteral("Microsoft YaHei");
#else
  return QStringLiteral("Noto Sans CJK SC");
#endif
}

QString clockFamily() {
#ifdef Q_OS_WIN
  return QStringLiteral("Times New Roman");
#else
  return QStringLiteral("Liberation Serif");
#endif
}

QFont withFamily(const QString& family, double points) {
  QFont font;
  font.setFamilies({family});
  font.setPixelSize(pointsToPixels(points));
  return font;
}

}  // namespace

QFont uiFont(double points) {
  return withFamily(uiFamily(), points);
}

QFont clockFont(double points) {
  QFont font = withFamily(clockFamily(), points);
  font.setStyleHint(QFont::Serif);
  return font;
}

void applyUiFont(QApplication& app) {
  // Asking whether the face is installed would list the whole font database before the window
  // can show; where it is missing, the toolkit substitutes its default face.
  QFont font;
  font.setFamilies({uiFamily()});
  font.setPointSizeF(kDefaultPoints);
  app.setFont(font);
}

}  // namespace rtceval::qt
