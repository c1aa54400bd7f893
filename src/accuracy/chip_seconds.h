#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "core/value_codecs.h"

namespace rtceval {

// What the edge sampler reads from the chip's replies: the seconds its minute and second fields
// show, counted on from the first read across the round of the hour, and whether those fields
// have stood still long enough for the clock to count as stopped. Times are on the monotonic
// clock, in milliseconds since its start.
class ChipSeconds {
 public:
  using Instant = std::chrono::duration<double, std::milli>;

  // Whether a reply's minute and second fields are BCD values below 60, the only ones counted.
  static bool readable(const ChipTime& time);

  // The chip second a readable reply received `at` showed, counted on from the first one since
  // the count began (that one counts as its minute × 60 + second). The fields come round once an
  // hour: the count goes on to the nearest second showing them from the one expected by now at
  // the nominal rate. Empty, and the count left as it was, when that is more than two seconds
  // off: the chip's time was set, or its clock stopped.
  std::optional<std::int64_t> counted(const ChipTime& time, Instant at);
  // The count begins afresh with the next reply.
  void restartCount() { counting_ = false; }

  // Whether the readable replies up to this one, received at `received`, have shown one minute and
  // second for more than two seconds and a half (only replies count: lost ones leave a gap).
  // Replies further apart than the round of the hour begin the watch afresh, as do other fields.
  bool heldStill(const ChipTime& time, Instant received);
  // Since when the replies have shown the latest reply's minute and second; valid once heldStill
  // has been asked about a reply.
  Instant shownSince() const { return held_->since; }
  // The watch for a clock standing still begins afresh with the next reply.
  void forgetShown() { held_.reset(); }

 private:
  bool counting_ = false;
  std::int64_t lastSecond_ = 0;
  Instant lastSecondAt_{};

  struct Held {
    int shown;
    Instant since;
  };
  std::optional<Held> held_;
};

}  // namespace rtceval
