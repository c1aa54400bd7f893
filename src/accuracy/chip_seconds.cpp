#include "accuracy/chip_seconds.h"

#include <cmath>
#include <cstdlib>

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using Duration = ChipSeconds::Instant;

constexpr Duration kNominalSecond = 1s;
// How long replies may show one minute and second before the clock counts as stopped: two
// seconds and a half, so a slow line still sees one change. Only replies count: lost ones leave a
// gap. Further apart than kRoundOfTheHour, the fields may have come round on a running clock.
constexpr Duration kHeldStill = 2500ms;
constexpr Duration kRoundOfTheHour = 3500s;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsOff = 2;

// The value of a BCD minute or second field, or nothing when it is not one.
std::optional<int> sexagesimal(std::uint8_t field) {
  const int value = (field >> 4) * 10 + (field & 0x0F);
  if (value >= 60 || BcdByte(value) != field) return std::nullopt;
  return value;
}

int shownSecond(const ChipTime& time) {
  return *sexagesimal(time.minute) * 60 + *sexagesimal(time.second);
}

}  // namespace

bool ChipSeconds::readable(const ChipTime& time) {
  return sexagesimal(time.second) && sexagesimal(time.minute);
}

std::optional<std::int64_t> ChipSeconds::counted(const ChipTime& time, Instant at) {
  const int value = shownSecond(time);
  if (!counting_) {
    counting_ = true;
    lastSecond_ = value;
    lastSecondAt_ = at;
    return value;
  }
  // The minute and second fields count round once an hour: the count goes on from the second
  // expected by now to the nearest one that shows these fields. Further off than a read's
  // uncertainty, the chip's time has been set.
  const std::int64_t expected = lastSecond_ + std::llround((at - lastSecondAt_) / kNominalSecond);
  std::int64_t diff = (value - expected) % kSecondsPerHour;
  if (diff < 0) diff += kSecondsPerHour;
  if (diff >= kSecondsPerHour / 2) diff -= kSecondsPerHour;
  if (std::abs(diff) > kSecondsOff) return std::nullopt;
  lastSecond_ = expected + diff;
  lastSecondAt_ = at;
  return lastSecond_;
}

bool ChipSeconds::heldStill(const ChipTime& time, Instant received) {
  // Whether the chip ran is told by replies alone, and before the count: a clock that stopped
  // between two edges shows a second far behind the count, which is no time set.
  const int shown = shownSecond(time);
  if (!held_ || held_->shown != shown || received - held_->since >= kRoundOfTheHour) {
    held_ = Held{shown, received};
    return false;
  }
  return received - held_->since > kHeldStill;
}

}  // namespace rtceval
