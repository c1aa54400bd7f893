#include "line_monitor/line_ring.h"

namespace rtceval {

LineRing::LineRing(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

MonitorLine& LineRing::append() {
  ++appended_;
  if (slots_.size() < capacity_ && count_ == slots_.size()) {
    // Still growing: memory is taken as lines come, not all at once when the window opens.
    ++count_;
    return slots_.emplace_back();
  }
  std::size_t slot = 0;
  if (count_ < capacity_) {
    slot = (oldest_ + count_) % slots_.size();
    ++count_;
  } else {
    slot = oldest_;
    oldest_ = (oldest_ + 1) % capacity_;
  }
  return slots_[slot];
}

const MonitorLine& LineRing::operator[](std::size_t i) const {
  return slots_[(oldest_ + i) % slots_.size()];
}

void LineRing::clear() {
  // The slots stay for reuse; only the count says what is kept.
  count_ = 0;
  oldest_ = 0;
}

}  // namespace rtceval
