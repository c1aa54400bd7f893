#include "sim/chip/clock_counter.h"

namespace rtceval::sim {

namespace {
constexpr double kNominalSecondMs = 1000.0;
}

ClockCounter::ClockCounter(const ClockFields& start, std::int64_t nowMs)
    : fields_(start), anchorMs_(static_cast<double>(nowMs)) {}

void ClockCounter::setRatePpm(double ppm) {
  anchorMs_ += static_cast<double>(secondsSinceAnchor_) * secondMs_;
  secondsSinceAnchor_ = 0;
  ratePpm_ = ppm;
  secondMs_ = kNominalSecondMs / (1.0 + ppm * 1e-6);
}

void ClockCounter::advanceTo(std::int64_t nowMs, const SecondHandler& onSecond) {
  const auto now = static_cast<double>(nowMs);
  while (now - anchorMs_ >= static_cast<double>(secondsSinceAnchor_ + 1) * secondMs_) {
    ++secondsSinceAnchor_;
    countOneSecond(fields_);
    if (onSecond) onSecond(fields_);
  }
}

double ClockCounter::msIntoSecond(std::int64_t nowMs) const {
  return static_cast<double>(nowMs) - anchorMs_ -
         static_cast<double>(secondsSinceAnchor_) * secondMs_;
}

void ClockCounter::set(const ClockFields& fields, std::int64_t nowMs) {
  fields_ = fields;
  anchorMs_ = static_cast<double>(nowMs);
  secondsSinceAnchor_ = 0;
}

}  // namespace rtceval::sim
