#include "main_window/indicators.h"

#include "core/register_map.h"

namespace rtceval {
namespace {
void follow(Rgb& shape, std::optional<int> bit, std::uint8_t sr, Rgb lit, Rgb unlit) {
  if (bit) shape = (sr >> *bit) & 1 ? lit : unlit;
}
}  // namespace

void updateIndicators(IndicatorColours& shapes, std::uint8_t sr, bool is1208Family) {
  const StatusIndicatorBits bits = indicatorBits(layoutOf(is1208Family));
  follow(shapes.eventLamp, bits.event, sr, kAlarmLit, kAlarmUnlit);
  follow(shapes.alarm0Lamp, bits.alarm0, sr, kAlarmLit, kAlarmUnlit);
  follow(shapes.batteryLamp, bits.battery, sr, kBatteryLit, kBatteryUnlit);
  follow(shapes.alarm1Lamp, bits.alarm1, sr, kAlarmLit, kAlarmUnlit);
}

}  // namespace rtceval
