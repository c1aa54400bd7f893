#pragma once

#include <QSocketNotifier>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace rtceval::app {

// Ends the program as closing its main window does when the system asks it to stop: SIGTERM (a
// service manager, `kill`), SIGINT (Ctrl+C in the terminal) and SIGHUP (the terminal gone). The
// handler only notes the signal; `end` runs afterwards from the event loop, so the port is
// closed, the model unloads and the leak checker sees a normal exit. The same stop asked for again
// within a second (sent to the program and to its process group) is the same request; a signal
// later than that, while the program is still ending, takes the system's default action. A
// program ending on a signal holds further ones back once this object is gone, so that its last
// teardown is not cut short. Where there are no such signals it does nothing.
//
// A signal that comes while the program is still starting waits (`holdEndSignals`, the first
// thing main() does) and is taken as soon as this object exists.
class EndOnSignal {
 public:
  explicit EndOnSignal(std::function<void()> end);
  ~EndOnSignal();
  EndOnSignal(const EndOnSignal&) = delete;
  EndOnSignal& operator=(const EndOnSignal&) = delete;

 private:
  std::function<void()> end_;
  std::unique_ptr<QSocketNotifier> notifier_;
  // Since when the program has been ending, once a signal asked it to.
  std::optional<std::chrono::steady_clock::time_point> endingSince_;
};

// Holds SIGTERM, SIGINT and SIGHUP back until an EndOnSignal exists, so that a stop asked for
// during start-up ends the program cleanly instead of killing it.
void holdEndSignals();

}  // namespace rtceval::app
