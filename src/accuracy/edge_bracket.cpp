#include "accuracy/edge_bracket.h"

#include <algorithm>

namespace rtceval {

double EdgeBracket::latchMs(const TimedRead& read) const {
  return read.sentMs + latchFraction_ * (read.receivedMs - read.sentMs);
}

void EdgeBracket::add(const TimedRead& read) {
  if (!started_) {
    started_ = true;
    reference_ = read.second + 1;
  }
  const double latch = latchMs(read);
  // Second v began by the latch, second v + 1 had not: moved to the reference second's edge.
  const double upper = latch - static_cast<double>(read.second - reference_) * secondMs_;
  const double lower = latch - static_cast<double>(read.second + 1 - reference_) * secondMs_;
  const double newLo = std::max(lo_, lower);
  const double newHi = std::min(hi_, upper);
  if (newLo <= newHi) {
    lo_ = newLo;
    hi_ = newHi;
    return;
  }
  // The read's time was off by more than the bracket is wide: the edge lies where the two
  // disagree, and the bracket shrinks to that point.
  ++contradictions_;
  const double at = lower > hi_ ? (lower + hi_) / 2 : (lo_ + upper) / 2;
  lo_ = at;
  hi_ = at;
}

std::optional<double> EdgeBracket::aimMs(std::int64_t second) const {
  if (!closed()) return std::nullopt;
  return (lo_ + hi_) / 2 + static_cast<double>(second - reference_) * secondMs_;
}

std::optional<EdgeSample> EdgeBracket::sample() const {
  if (!closed()) return std::nullopt;
  return EdgeSample{reference_, (lo_ + hi_) / 2, (hi_ - lo_) / 2};
}

}  // namespace rtceval
