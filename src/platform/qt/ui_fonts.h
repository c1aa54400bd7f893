#pragma once

#include <QFont>

class QApplication;

namespace rtceval::qt {

// The fonts the windows are drawn in: a face that carries the Chinese texts for everything, and
// a Times-compatible serif for the clock digits. Sizes are given in points at 96 dpi.
QFont uiFont(double points);
QFont clockFont(double points);

// Makes the Chinese-capable face the application's default where it is installed.
void applyUiFont(QApplication& app);

}  // namespace rtceval::qt
