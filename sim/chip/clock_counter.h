#pragma once

#include <cstdint>
#include <functional>

#include "sim/chip/bcd_calendar.h"

namespace rtceval::sim {

// The chip's oscillator and divider: the clock registers move on by one second for every second of
// the oscillator, counted from the last time the clock was set. A second of the oscillator lasts
// 1000 ms of the time source divided by (1 + rate error); the registers still count whole seconds.
class ClockCounter {
 public:
  using SecondHandler = std::function<void(const ClockFields&)>;

  ClockCounter(const ClockFields& start, std::int64_t nowMs);

  // Counts every whole second up to `nowMs`, calling `onSecond` after each with the new time.
  // Time that goes back is ignored.
  void advanceTo(std::int64_t nowMs, const SecondHandler& onSecond);

  // A time write: the divider restarts, so the next second follows a full second later.
  void set(const ClockFields& fields, std::int64_t nowMs);

  // The oscillator's rate error in ppm (positive: fast). The second that runs ends at its new
  // length.
  void setRatePpm(double ppm);
  double ratePpm() const { return ratePpm_; }

  const ClockFields& fields() const { return fields_; }
  // How far the running second has got at `nowMs`, once the counter has been advanced to it.
  double msIntoSecond(std::int64_t nowMs) const;

 private:
  ClockFields fields_;
  // The seconds are counted from an anchor (the last time write or rate change) rather than added
  // one by one, so that a trimmed second, which is no whole number of milliseconds, does not gather
  // rounding errors over days.
  double anchorMs_;
  std::int64_t secondsSinceAnchor_ = 0;
  double secondMs_ = 1000.0;
  double ratePpm_ = 0.0;
};

}  // namespace rtceval::sim
