#include "board_link/value_codecs.h"

#include <array>

namespace rtceval {
namespace {

constexpr std::uint8_t HOUR_24 = 0x80;  // MIL
constexpr std::uint8_t HOUR_PM = 0x20;
constexpr std::uint8_t HOUR_MASK_24 = 0x3F;
constexpr std::uint8_t HOUR_MASK_12 = 0x1F;
constexpr std::uint8_t CENTURY_19 = 0x19;
constexpr std::uint8_t CENTURY_20 = 0x20;

constexpr std::array<const char*, 7> WEEKDAY_NAMES = {"日", "一", "二", "三", "四", "五", "六"};

}  // namespace

std::string HexByte(std::uint8_t b) {
  static constexpr char DIGITS[] = "0123456789ABCDEF";
  return {DIGITS[b >> 4], DIGITS[b & 0x0F]};
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

DecodedTime ShowTime(std::span<const std::uint8_t> data) {
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
  t.century = data.size() >= 8 ? at(8) : CENTURY_20;

  if (t.hour & HOUR_24) {
    out.is24Hour = true;
    out.display.LabAMEnabled = false;
    out.display.LabPMEnabled = false;
    t.hour &= HOUR_MASK_24;
  } else {
    out.is24Hour = false;
    const bool pm = (t.hour & HOUR_PM) != 0;
    out.display.LabPMEnabled = pm;
    out.display.LabAMEnabled = !pm;
    t.hour &= HOUR_MASK_12;
  }
  if (t.century != CENTURY_20 && t.century != CENTURY_19) t.century = CENTURY_20;

  out.display.LabTime = HexByte(t.hour) + ":" + HexByte(t.minute) + ":" + HexByte(t.second);
  out.display.LabDate = HexByte(t.century) + HexByte(t.year) + "年" + HexByte(t.month) + "月" +
                        HexByte(t.date) + "日 星期";
  if (t.weekday < WEEKDAY_NAMES.size()) out.display.LabDate += WEEKDAY_NAMES[t.weekday];
  return out;
}

}  // namespace rtceval
