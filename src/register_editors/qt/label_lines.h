#pragma once

#include <QRegularExpression>
#include <QString>

#include <string>

namespace rtceval::qt {

// An explanatory text whose parts are set apart by runs of blanks, which in a label of the
// original width started each part on a line of its own: here each run becomes a line break,
// so the parts stand on their own lines whatever the font.
inline QString blankRunsAsLines(const std::string& text) {
  static const QRegularExpression kBlankRun(QStringLiteral(" {2,}"));
  return QString::fromStdString(text).replace(kBlankRun, QStringLiteral("\n"));
}

}  // namespace rtceval::qt
