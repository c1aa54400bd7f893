#include "qt_texts.h"

#include <QCoreApplication>
#include <QTranslator>

namespace rtceval::app {

bool installQtChineseTexts(QTranslator& translator, const QString& folder) {
  // The program is Chinese throughout, so the catalogue is chosen by name, not by the locale.
  if (!translator.load(QStringLiteral("qtbase_zh_CN"), folder)) return false;
  return QCoreApplication::installTranslator(&translator);
}

}  // namespace rtceval::app
