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

inline constexpr Rgb kAlarmUnlit{128, 0, 0};
inline constexpr Rgb kAlarmLit{255, 0, 0};
inline constexpr Rgb kBatteryUnlit{0, 64, 0};
inline constexpr Rgb kBatteryLit{0, 255, 0};

// The four indicators of the main window.
struct IndicatorColours {
  Rgb alarm0Lamp = kAlarmUnlit;
  Rgb alarm1Lamp = kAlarmUnlit;
  Rgb eventLamp = kAlarmUnlit;
  Rgb batteryLamp = kBatteryUnlit;
};

// Lights or darkens the indicators that the layout's SR shows; the others keep their colours.
void updateIndicators(IndicatorColours& shapes, std::uint8_t sr, bool is1208Family);

}  // namespace rtceval
