#pragma once

#include <cstdint>
#include <functional>

#include "sim/chip/bcd_calendar.h"

namespace rtceval::sim {

// The chip's oscillator and divider: the clock registers move on by one second for every 1000 ms
// of the time source, counted from the last time the clock was set.
class ClockCounter {
 public:
  using SecondHandler = std::function<void(const ClockFields&)>;

  ClockCounter(const ClockFields& start, std::int64_t nowMs);

  // Counts every whole second up to `nowMs`, calling `onSecond` after each with the new time.
  // Time that goes back is ignored.
  void advanceTo(std::int64_t nowMs, const SecondHandler& onSecond);

  // A time write: the divider restarts, so the next second follows a full second later.
  void set(const ClockFields& fields, std::int64_t nowMs);

  const ClockFields& fields() const { return fields_; }

 private:
  ClockFields fields_;
  std::int64_t secondStartMs_;
};

}  // namespace rtceval::sim
