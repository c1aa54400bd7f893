#include "sim/chip/clock_counter.h"

#include <chrono>

namespace rtceval::sim {

namespace {
constexpr std::chrono::milliseconds kSecond{1000};
}

ClockCounter::ClockCounter(const ClockFields& start, std::int64_t nowMs)
    : fields_(start), secondStartMs_(nowMs) {}

void ClockCounter::advanceTo(std::int64_t nowMs, const SecondHandler& onSecond) {
  while (nowMs - secondStartMs_ >= kSecond.count()) {
    secondStartMs_ += kSecond.count();
    countOneSecond(fields_);
    if (onSecond) onSecond(fields_);
  }
}

void ClockCounter::set(const ClockFields& fields, std::int64_t nowMs) {
  fields_ = fields;
  secondStartMs_ = nowMs;
}

}  // namespace rtceval::sim
