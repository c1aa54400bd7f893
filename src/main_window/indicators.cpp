#include "main_window/indicators.h"

#include "register_editors/register_map.h"

namespace rtceval {
namespace {
void follow(Rgb& shape, std::optional<int> bit, std::uint8_t sr, Rgb lit, Rgb unlit) {
  if (bit) shape = (sr >> *bit) & 1 ? lit : unlit;
}
}  // namespace

void UpdateIndicators(IndicatorColours& shapes, std::uint8_t sr, bool is1208Family) {
  const StatusIndicatorBits bits = IndicatorBits(LayoutOf(is1208Family));
  follow(shapes.ShapeEV, bits.event, sr, ALARM_LIT, ALARM_UNLIT);
  follow(shapes.ShapeAlarm0, bits.alarm0, sr, ALARM_LIT, ALARM_UNLIT);
  follow(shapes.ShapeBAT, bits.battery, sr, BATTERY_LIT, BATTERY_UNLIT);
  follow(shapes.ShapeAlarm1, bits.alarm1, sr, ALARM_LIT, ALARM_UNLIT);
}

}  // namespace rtceval
