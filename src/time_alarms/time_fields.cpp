#include "time_alarms/time_fields.h"

#include "core/lenient_number.h"

namespace rtceval {

std::optional<int> readYear(std::string_view text) {
  const double typed = lenientNumber(text);
  if (!(typed >= kFirstYear && typed <= kLastYear)) return std::nullopt;
  return static_cast<int>(roundHalfEven(typed));
}

std::optional<int> readByteField(std::string_view text, double low, double high) {
  const double typed = lenientNumber(text);
  if (!(typed >= low && typed <= high)) return std::nullopt;
  return static_cast<int>(roundHalfEven(typed));
}

std::array<FieldBounds, 6> setTimeBounds(bool twelveHour) {
  return {{
      {1, 12, "无效的月份"},
      {1, 31, "无效的日期"},
      {twelveHour ? 1.0 : 0.0, twelveHour ? 12.0 : 23.0, "无效的小时"},
      {0, 59, "无效的分钟"},
      {0, 59, "无效的秒"},
      {0, 6, "无效的星期"},
  }};
}

}  // namespace rtceval
