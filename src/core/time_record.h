#pragma once

#include <cstdint>

namespace rtceval {

// The register image of a time or alarm write, as the chip stores it: BCD bytes with their flag
// bits, and the year as four BCD digits (century in the high byte, year of the century low).
struct TimeRecord {
  std::uint8_t second = 0;
  std::uint8_t minute = 0;
  std::uint8_t hour = 0;
  std::uint8_t date = 0;
  std::uint8_t month = 0;
  std::uint8_t weekday = 0;
  std::uint16_t year = 0;

  std::uint8_t yearLow() const { return static_cast<std::uint8_t>(year & 0xFF); }
  std::uint8_t yearHigh() const { return static_cast<std::uint8_t>(year >> 8); }
};

// The records the main window owns and its write commands send.
struct TimeAlarmRecords {
  TimeRecord NewTime;
  TimeRecord Alarm0Regs;
  TimeRecord Alarm1Regs;
};

}  // namespace rtceval
