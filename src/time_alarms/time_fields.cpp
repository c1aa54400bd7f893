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

}  // namespace rtceval
