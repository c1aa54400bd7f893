#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/timer.h"

namespace rtceval::testing {

// Time that moves only when a test says so. Timers created here tick in order of their due time
// as `advance` passes it; ties go in order of creation. A tick handler may enable, disable or
// re-arm any timer, and may itself call `advance` (as a modal box's nested loop would).
class VirtualClock : public TimerFactory, public MonotonicClock {
 public:
  VirtualClock();
  ~VirtualClock() override;

  std::unique_ptr<Timer> createTimer() override;
  std::int64_t elapsedMs() const override { return now_; }

  void advance(Millis span);
  std::int64_t now() const { return now_; }

  struct Entry;

 private:
  friend class VirtualTimer;
  std::int64_t now_ = 0;
  std::vector<Entry*> timers_;
};

}  // namespace rtceval::testing
