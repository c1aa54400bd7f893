#include "platform/qt/ui_fonts.h"

#include <QApplication>
#include <QFontDatabase>

#include "platform/qt/twips.h"

namespace rtceval::qt {
namespace {

constexpr double kDefaultPoints = 9.0;

// Preferred faces, first installed one wins; the toolkit's fallback covers the rest.
QStringList uiFamilies() {
  return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
          QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
          QStringLiteral("SimSun")};
}

QStringList clockFamilies() {
  return {QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
          QStringLiteral("Tinos")};
}

QFont withFamilies(const QStringList& families, double points) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pointsToPixels(points));
  return font;
}

}  // namespace

QFont uiFont(double points) {
  return withFamilies(uiFamilies(), points);
}

QFont clockFont(double points) {
  QFont font = withFamilies(clockFamilies(), points);
  font.setStyleHint(QFont::Serif);
  return font;
}

void applyUiFont(QApplication& app) {
  const QStringList installed = QFontDatabase::families();
  for (const QString& family : uiFamilies()) {
    if (installed.contains(family)) {
      QFont font(family);
      font.setPointSizeF(kDefaultPoints);
      app.setFont(font);
      return;
    }
  }
}

}  // namespace rtceval::qt
