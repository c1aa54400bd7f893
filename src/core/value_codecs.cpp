#include "core/value_codecs.h"

#include <array>

namespace rtceval {
namespace {

constexpr std::uint8_t kHourMask24 = 0x3F;
constexpr std::uint8_t kHourMask12 = 0x1F;
constexpr std::uint8_t kCentury19 = 0x19;
constexpr std::uint8_t kCentury20 = 0x20;
constexpr std::uint8_t kCentury21 = 0x21;

constexpr std::array<const char*, 7> kWeekdayNames = {"日", "一", "二", "三", "四", "五", "六"};

}  // namespace

std::string hexNumber(std::uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(digits > 0 ? digits : 0), '0');
  for (auto it = text.rbegin(); it != text.rend(); ++it, value >>= 4) *it = kDigits[value & 0x0F];
  return text;
}

std::string HexByte(std::uint8_t b) {
  return hexNumber(b, 2);
}

std::uint8_t BcdByte(int v) {
  return static_cast<std::uint8_t>((v / 10) * 16 + (v % 10));
}

std::uint16_t BcdYear(int y) {
  const int thousands = y / 1000;
  const int hundreds = (y % 1000) / 100;
  const int tens = (y % 100) / 10;
  const int units = y % 10;
  return static_cast<std::uint16_t>(thousands * 0x1000 + hundreds * 0x100 + tens * 0x10 + units);
}

const char* weekdayName(int weekday) {
  if (weekday < 0 || weekday >= static_cast<int>(kWeekdayNames.size())) return "";
  return kWeekdayNames[static_cast<std::size_t>(weekday)];
}

DecodedTime decodeTime(std::span<const std::uint8_t> data) {
  DecodedTime out;
  ChipTime& t = out.time;
  auto at = [&](std::size_t k) -> std::uint8_t { return k <= data.size() ? data[k - 1] : 0; };
  t.second = at(1);
  t.minute = at(2);
  t.hour = at(3);
  t.date = at(4);
  t.month = at(5);
  t.year = at(6);
  t.weekday = at(7);
  t.century = data.size() >= 8 ? at(8) : kCentury20;

  if (t.hour & kHour24) {
    out.is24Hour = true;
    out.display.amEnabled = false;
    out.display.pmEnabled = false;
    t.hour &= kHourMask24;
  } else {
    out.is24Hour = false;
    const bool pm = (t.hour & kHourPm) != 0;
    out.display.pmEnabled = pm;
    out.display.amEnabled = !pm;
    t.hour &= kHourMask12;
  }
  // The set-time dialog writes the centuries 19, 20 and 21 (the year 2100); any other century
  // byte reads as the 2000s.
  if (t.century != kCentury19 && t.century != kCentury20 && t.century != kCentury21)
    t.century = kCentury20;

  out.display.timeText = HexByte(t.hour) + ":" + HexByte(t.minute) + ":" + HexByte(t.second);
  out.display.dateText = HexByte(t.century) + HexByte(t.year) + "年" + HexByte(t.month) + "月" +
                         HexByte(t.date) + "日 星期";
  out.display.dateText += weekdayName(t.weekday);
  return out;
}

}  // namespace rtceval
