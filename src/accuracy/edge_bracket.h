#pragma once

#include <cstdint>
#include <limits>
#include <optional>

#include "accuracy/rate_fit.h"

namespace rtceval {

// One timed read of the chip's clock: when its request went out and when its reply came (ms of the
// monotonic clock), and the second it showed (counted from the start of the measurement).
struct TimedRead {
  double sentMs = 0.0;
  double receivedMs = 0.0;
  std::int64_t second = 0;
};

// Brackets the moment at which the chip begins one second (the reference second) between timed
// reads. The chip latches its time when the request has crossed the line, so each read is taken to
// show the chip at `sent + latchFraction × (received − sent)`; a constant error in that estimate
// moves every edge alike and leaves the rate alone. A read that showed second v at moment L says
// that second v had begun by L and second v + 1 had not; with the length of the chip's second
// known well enough, reads in the seconds after the reference narrow the same bracket, so the edge
// is found to much less than the time of one read by aiming a read at the bracket's middle in each
// following second.
class EdgeBracket {
 public:
  EdgeBracket(double latchFraction, double secondMs)
      : latchFraction_(latchFraction), secondMs_(secondMs) {}

  // The first read sets the reference second: the one after the second it showed.
  void add(const TimedRead& read);

  bool started() const { return started_; }
  std::int64_t reference() const { return reference_; }
  // Both sides known: a read has shown the reference second (or a later one) and one the second
  // before it.
  bool closed() const { return started_ && lo_ > -kOpen && hi_ < kOpen; }
  double lowMs() const { return lo_; }
  double highMs() const { return hi_; }
  double widthMs() const { return closed() ? hi_ - lo_ : kOpen; }
  // Reads that contradicted the bracket (noise in the read times beyond its width).
  int contradictions() const { return contradictions_; }

  // The moment to latch a read at to halve the bracket, in the edge of `second`.
  std::optional<double> aimMs(std::int64_t second) const;
  // The edge of the reference second, once the bracket is closed.
  std::optional<EdgeSample> sample() const;

  double latchMs(const TimedRead& read) const;

 private:
  static constexpr double kOpen = std::numeric_limits<double>::max();

  double latchFraction_;
  double secondMs_;
  bool started_ = false;
  std::int64_t reference_ = 0;
  double lo_ = -kOpen;  // the edge came after this
  double hi_ = kOpen;   // and at or before this
  int contradictions_ = 0;
};

}  // namespace rtceval
