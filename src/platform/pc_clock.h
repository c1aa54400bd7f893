#pragma once

#include <cstdint>
#include <string>

namespace rtceval {

struct PcDate {
  int year = 2000;
  int month = 1;
  int day = 1;
  int weekday = 0;  // 0 = Sunday .. 6 = Saturday
};

// One moment, read once: a millisecond count that never goes back (for intervals) and the local
// time of day to the millisecond (for a wall-clock stamp).
struct PcInstant {
  std::int64_t steadyMs = 0;
  int msOfDay = 0;
};

// The PC's calendar and time of day.
class PcClock {
 public:
  virtual ~PcClock() = default;
  virtual PcDate today() const = 0;
  // The time of day as the system writes it.
  virtual std::string timeOfDayText() const = 0;
  virtual PcInstant now() const = 0;
};

}  // namespace rtceval
