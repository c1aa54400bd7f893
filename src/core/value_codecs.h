#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rtceval {

// Flag bits of the chip's hour register: 24-hour format (MIL), and PM in the 12-hour format.
inline constexpr std::uint8_t kHour24 = 0x80;
inline constexpr std::uint8_t kHourPm = 0x20;

// The lowest `digits` hexadecimal digits of `value`, upper case, with leading zeros: how every
// byte, address and identifier is shown. For BCD these are its decimal digits.
std::string hexNumber(std::uint32_t value, int digits);
// Two upper-case hexadecimal digits; for a BCD byte these are its two decimal digits.
std::string HexByte(std::uint8_t b);
// Two BCD digits of v, for v in 0..99.
std::uint8_t BcdByte(int v);
// Four BCD digits of a year in 1900..2100: the century byte high, the year of the century low.
std::uint16_t BcdYear(int y);

// The name of a weekday counted from Sunday = 0 ("日" … "六"), as the date label shows it after
// 星期; "" outside 0 to 6.
const char* weekdayName(int weekday);

// The chip's time as last read, in register order.
struct ChipTime {
  std::uint8_t second = 0;
  std::uint8_t minute = 0;
  std::uint8_t hour = 0;  // flags removed
  std::uint8_t date = 0;
  std::uint8_t month = 0;
  std::uint8_t year = 0;
  std::uint8_t weekday = 0;
  std::uint8_t century = 0;
};

// What the main window's clock shows after a time read.
struct ClockDisplay {
  std::string timeText;  // timeLabel
  std::string dateText;  // dateLabel
  bool amEnabled = false;
  bool pmEnabled = false;
};

struct DecodedTime {
  ChipTime time;
  bool is24Hour = false;
  ClockDisplay display;
};

// Decodes the data bytes of a time reply (7 or 8 of them; the 7-byte reply of the X1208 family has
// no century and reads as the 2000s). Nothing is range-checked: a non-BCD byte shows as its hex.
DecodedTime decodeTime(std::span<const std::uint8_t> data);

}  // namespace rtceval
