#pragma once

#include <optional>
#include <string_view>

namespace rtceval {

// How the set-time dialog and the alarm editors read the numbers typed into their boxes: the
// number a text begins with (a text without one reads 0), checked as typed against inclusive
// bounds, and only then rounded half to even. Nothing typed can give a value outside the bounds, so
// the BCD conversion that follows never sees a number it cannot hold.

// The years both dialogs accept.
inline constexpr double kFirstYear = 1900;
inline constexpr double kLastYear = 2100;

// The year of a text, or nothing when it lies outside 1900 to 2100. It is checked as typed, so
// 1899.9 and 2100.4 fail, and rounded only once it has passed.
std::optional<int> readYear(std::string_view text);

// A byte field (month, date, weekday, hour, minute, second), or nothing outside `low` to `high`.
// It is checked as typed, so 12.5 fails as a month and -0.4 as a field from 0 although both would
// round into the bounds; 1.5 passes and is 2.
std::optional<int> readByteField(std::string_view text, double low, double high);

}  // namespace rtceval
