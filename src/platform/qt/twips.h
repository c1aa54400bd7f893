#pragma once

#include <QRect>

#include "core/twips.h"

namespace rtceval::qt {

// 15 twips make one pixel at 96 dpi; the window's geometry is given in twips.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int toPixels(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect toPixels(const Twips& t) {
  return {toPixels(t.left), toPixels(t.top), toPixels(t.width), toPixels(t.height)};
}

// A font size in points as pixels at 96 dpi, so text keeps its proportion to the twips geometry
// whatever the screen's logical dpi.
inline int pointsToPixels(double points) {
  return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

}  // namespace rtceval::qt
