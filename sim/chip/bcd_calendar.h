#pragma once

#include <cstdint>

namespace rtceval::sim {

// The chip's clock registers as stored: BCD bytes with the format flags in the hour byte
// (bit 7 = 24-hour mode, bit 5 = PM in 12-hour mode). Whatever was written is kept, valid BCD or
// not; counting simply goes on from it.
struct ClockFields {
  std::uint8_t second = 0x00;
  std::uint8_t minute = 0x00;
  std::uint8_t hour = 0x80;
  std::uint8_t date = 0x01;
  std::uint8_t month = 0x01;
  std::uint8_t year = 0x00;
  std::uint8_t weekday = 0x06;  // 0 = Sunday; 1 January 2000 was a Saturday
  std::uint8_t century = 0x20;

  bool operator==(const ClockFields&) const = default;
};

// A calendar date and time of day in plain numbers, as a person or the PC states it.
struct CivilTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::uint8_t toBcd(int value);
int fromBcd(std::uint8_t bcd);

// Days in `month` (BCD) of the year century*100+year (both BCD); an invalid month counts 31.
int daysInMonth(std::uint8_t monthBcd, std::uint8_t yearBcd, std::uint8_t centuryBcd);

// 0 = Sunday .. 6 = Saturday.
int weekdayOf(int year, int month, int day);

// The register image of a civil time in 24-hour mode.
ClockFields clockFieldsOf(const CivilTime& time);

// Counts one second on, with the carries of a real-time clock: seconds into minutes, minutes into
// hours (24-hour or 12-hour with PM), hours into the date and weekday, the date into the month by
// the month's length, the month into the year and the year 99 into the century byte.
void countOneSecond(ClockFields& clock);

}  // namespace rtceval::sim
