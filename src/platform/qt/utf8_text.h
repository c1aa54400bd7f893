#pragma once

#include <QString>

namespace rtceval::qt {

// A text of the models (UTF-8, as the program's Chinese texts are written) for a widget.
inline QString utf8(const char* s) {
  return QString::fromUtf8(s);
}

}  // namespace rtceval::qt
