#include "virtual_clock.h"

#include <algorithm>
#include <functional>

namespace rtceval::testing {

struct VirtualClock::Entry {
  Millis interval{0};
  bool enabled = false;
  std::int64_t due = 0;
  std::function<void()> handler;
};

class VirtualTimer : public Timer {
 public:
  explicit VirtualTimer(VirtualClock& clock) : clock_(clock) { clock_.timers_.push_back(&entry_); }
  ~VirtualTimer() override {
    auto& list = clock_.timers_;
    list.erase(std::remove(list.begin(), list.end(), &entry_), list.end());
  }
  void setInterval(Millis interval) override {
    entry_.interval = interval;
    entry_.due = clock_.now_ + interval.count();
  }
  Millis interval() const override { return entry_.interval; }
  void setEnabled(bool enabled) override {
    if (enabled && !entry_.enabled) entry_.due = clock_.now_ + entry_.interval.count();
    entry_.enabled = enabled;
  }
  bool isEnabled() const override { return entry_.enabled; }
  void setTickHandler(std::function<void()> handler) override {
    entry_.handler = std::move(handler);
  }

 private:
  VirtualClock& clock_;
  VirtualClock::Entry entry_;
};

VirtualClock::VirtualClock() = default;
VirtualClock::~VirtualClock() = default;

std::unique_ptr<Timer> VirtualClock::createTimer() {
  return std::make_unique<VirtualTimer>(*this);
}

void VirtualClock::advance(Millis span) {
  const std::int64_t end = now_ + span.count();
  for (;;) {
    Entry* next = nullptr;
    for (Entry* e : timers_) {
      if (e->enabled && e->interval.count() > 0 && e->due <= end && (!next || e->due < next->due))
        next = e;
    }
    if (!next) break;
    now_ = std::max(now_, next->due);
    next->due = now_ + next->interval.count();
    if (next->handler) next->handler();
  }
  now_ = std::max(now_, end);
}

}  // namespace rtceval::testing
