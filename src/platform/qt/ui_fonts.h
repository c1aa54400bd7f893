#pragma once

#include <QFont>

class QApplication;

namespace rtceval::qt {

// The fonts the windows are drawn in: a face that carries the Chinese texts for everything (Noto
// Sans CJK SC; Microsoft YaHei on Windows), and a Times-compatible serif for the clock digits
// (Liberation Serif; Times New Roman on Windows). Sizes are given in points at 96 dpi.
QFont uiFont(double points);
QFont clockFont(double points);

// Makes the Chinese-capable face the application's default, without looking through the
// installed fonts first.
void applyUiFont(QApplication& app);

}  // namespace rtceval::qt
