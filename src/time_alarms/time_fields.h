#pragma once

#include <array>
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

// What one field accepts and the message when it does not.
struct FieldBounds {
  double low;
  double high;
  const char* message;
};

inline constexpr const char* kInvalidYear = "无效的年份";

// The set-time dialog's fields after the year, in the order they are checked: month, date, hour,
// minute, second, weekday. A month or date of 0 and, in the 12-hour format, an hour outside 1 to
// 12 would give the chip a date or hour it cannot hold (in that format bit 5 of the hour is PM,
// so hour 21 would read back as 1 PM).
enum SetTimeField { SetMonth, SetDate, SetHour, SetMinute, SetSecond, SetWeekday };
std::array<FieldBounds, 6> setTimeBounds(bool twelveHour);

// The alarm editors' match fields, in the order they are checked after the year: month, date,
// weekday, hour, minute, second. The hour may be 0 to 23 in either format: the alarm hour register
// has no format bit of its own.
enum AlarmField { AlarmMonth, AlarmDate, AlarmWeekday, AlarmHour, AlarmMinute, AlarmSecond };
inline constexpr std::array<FieldBounds, 6> kAlarmBounds{{
    {0, 12, "无效的月份"},
    {0, 31, "无效的日期"},
    {0, 6, "无效的星期"},
    {0, 23, "无效的小时"},
    {0, 59, "无效的分钟"},
    {0, 59, "无效的秒"},
}};

}  // namespace rtceval
