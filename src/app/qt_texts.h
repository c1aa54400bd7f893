#pragma once

#include <QLibraryInfo>
#include <QString>

class QTranslator;

namespace rtceval::app {

// Qt's own texts (the buttons of the message boxes, the file dialogs) in Chinese, whatever the
// system's language: loads Qt's Chinese catalogue from `folder` into `translator` and installs it
// in the application. False when the catalogue is missing or unreadable; nothing is installed
// then and Qt's texts stay as they are.
bool installQtChineseTexts(QTranslator& translator, const QString& folder = QLibraryInfo::path(
                                                        QLibraryInfo::TranslationsPath));

}  // namespace rtceval::app
