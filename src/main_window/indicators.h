#pragma once

#include <cstdint>
#include <optional>

namespace rtceval {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb ALARM_UNLIT{128, 0, 0};
inline constexpr Rgb ALARM_LIT{255, 0, 0};
inline constexpr Rgb BATTERY_UNLIT{0, 64, 0};
inline constexpr Rgb BATTERY_LIT{0, 255, 0};

// The four indicators of the main window.
struct IndicatorColours {
  Rgb ShapeAlarm0 = ALARM_UNLIT;
  Rgb ShapeAlarm1 = ALARM_UNLIT;
  Rgb ShapeEV = ALARM_UNLIT;
  Rgb ShapeBAT = BATTERY_UNLIT;
};

// Lights or darkens the indicators that the layout's SR shows; the others keep their colours.
void UpdateIndicators(IndicatorColours& shapes, std::uint8_t sr, bool is1208Family);

}  // namespace rtceval
