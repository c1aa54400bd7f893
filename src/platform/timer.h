#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace rtceval {

using Millis = std::chrono::milliseconds;

// An interval timer on the program's one thread, like a window timer: while enabled it ticks once
// per interval. Enabling a disabled timer starts a fresh interval; enabling an enabled one changes
// nothing.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setInterval(Millis interval) = 0;
  virtual Millis interval() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool isEnabled() const = 0;
  virtual void setTickHandler(std::function<void()> handler) = 0;
};

class TimerFactory {
 public:
  virtual ~TimerFactory() = default;
  virtual std::unique_ptr<Timer> createTimer() = 0;
};

// Milliseconds since an arbitrary start, never going back. Lets the virtual board count the chip's
// seconds against the same time source as the timers.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual std::int64_t elapsedMs() const = 0;
};

}  // namespace rtceval
