#pragma once

#include <functional>

namespace rtceval {

// Runs the program's events (serial bytes, timer ticks, a signal to stop) one after another on
// the one thread until `done` holds, for a program that works through steps in order, such as
// the command-line program. The caller arms a timer or awaits a reply that makes `done` hold;
// nothing else ends the wait.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void runUntil(const std::function<bool()>& done) = 0;
};

}  // namespace rtceval
