#include "sim/chip/clock_counter.h"

namespace rtceval::sim {

namespace {
constexpr std::int64_t kMsPerSecond = 1000;
}

ClockCounter::ClockCounter(const ClockFields& start, std::int64_t nowMs)
    : fields_(start), secondStartMs_(nowMs) {}

void ClockCounter::advanceTo(std::int64_t nowMs, const SecondHandler& onSecond) {
  while (nowMs - secondStartMs_ >= kMsPerSecond) {
    secondStartMs_ += kMsPerSecond;
    countOneSecond(fields_);
    if (onSecond) onSecond(fields_);
  }
}

void ClockCounter::set(const ClockFields& fields, std::int64_t nowMs) {
  fields_ = fields;
  secondStartMs_ = nowMs;
}

}  // namespace rtceval::sim
