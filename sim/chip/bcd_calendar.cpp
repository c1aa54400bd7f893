#include "sim/chip/bcd_calendar.h"

namespace rtceval::sim {

namespace {

// The next BCD value, for counting on from any stored byte: the units digit carries into the tens
// once it passes 9, so even a byte like 0x3A moves on to 0x40.
std::uint8_t bcdIncrement(std::uint8_t bcd) {
  int units = bcd & 0x0F;
  int tens = bcd >> 4;
  if (++units > 9) {
    units = 0;
    ++tens;
  }
  return static_cast<std::uint8_t>(((tens & 0x0F) << 4) | units);
}

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Rolls a BCD field: from `last` (or beyond) back to `first`, reporting the carry.
bool rollField(std::uint8_t& field, std::uint8_t keepMask, int first, int last) {
  const std::uint8_t kept = field & keepMask;
  const std::uint8_t value = field & static_cast<std::uint8_t>(~keepMask);
  if (fromBcd(value) >= last) {
    field = static_cast<std::uint8_t>(kept | toBcd(first));
    return true;
  }
  field = static_cast<std::uint8_t>(kept | bcdIncrement(value));
  return false;
}

// 24-hour mode counts 00..23; 12-hour mode counts 12, 01 .. 11 with bit 5 telling PM, and the day
// changes when 11 PM becomes 12 AM. Bits 7 and 6 stay as written.
bool countHour(std::uint8_t& hour) {
  if (hour & 0x80) return rollField(hour, 0xC0, 0, 23);
  const std::uint8_t flags = hour & 0xC0;
  bool pm = (hour & 0x20) != 0;
  const int h = fromBcd(hour & 0x1F);
  int next = h + 1;
  bool dayCarry = false;
  if (h == 11) {
    if (pm) dayCarry = true;
    pm = !pm;
  } else if (h >= 12) {
    next = 1;
  }
  hour = static_cast<std::uint8_t>(flags | (pm ? 0x20 : 0x00) | toBcd(next));
  return dayCarry;
}

}  // namespace

std::uint8_t toBcd(int value) {
  value %= 100;
  return static_cast<std::uint8_t>(((value / 10) << 4) | (value % 10));
}

int fromBcd(std::uint8_t bcd) {
  return (bcd >> 4) * 10 + (bcd & 0x0F);
}

int daysInMonth(std::uint8_t monthBcd, std::uint8_t yearBcd, std::uint8_t centuryBcd) {
  switch (fromBcd(monthBcd)) {
    case 2:
      return isLeapYear(fromBcd(centuryBcd) * 100 + fromBcd(yearBcd)) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

int weekdayOf(int year, int month, int day) {
  // Days since 1 January 1970 (a Thursday) by the civil-from-days inverse.
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const long days = static_cast<long>(era) * 146097 + dayOfEra - 719468;
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

ClockFields clockFieldsOf(const CivilTime& t) {
  ClockFields c;
  c.second = toBcd(t.second);
  c.minute = toBcd(t.minute);
  c.hour = static_cast<std::uint8_t>(0x80 | toBcd(t.hour));
  c.date = toBcd(t.day);
  c.month = toBcd(t.month);
  c.year = toBcd(t.year % 100);
  c.century = toBcd(t.year / 100);
  c.weekday = static_cast<std::uint8_t>(weekdayOf(t.year, t.month, t.day));
  return c;
}

void countOneSecond(ClockFields& c) {
  if (!rollField(c.second, 0x00, 0, 59)) return;
  if (!rollField(c.minute, 0x00, 0, 59)) return;
  if (!countHour(c.hour)) return;
  c.weekday = c.weekday >= 6 ? 0 : static_cast<std::uint8_t>(c.weekday + 1);
  if (!rollField(c.date, 0x00, 1, daysInMonth(c.month, c.year, c.century))) return;
  if (!rollField(c.month, 0x00, 1, 12)) return;
  if (!rollField(c.year, 0x00, 0, 99)) return;
  c.century = bcdIncrement(c.century);
}

}  // namespace rtceval::sim
