#include "time_alarms/time_fields.h"

#include "core/lenient_number.h"

namespace rtceval {

std::optional<int> readYear(std::string_view text) {
  const double typed = lenientNumber(text);
  if (!(typed >= kFirstYear && typed <= kLastYear)) return std::nullopt;
  return static_cast<int>(roundHalfEven(typed));
}

std::optional<int> readByteField(std::string_view text, double low, double high) {
  const double value = roundHalfEven(lenientNumber(text));
  if (!(value >= low && value <= high)) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace rtceval
