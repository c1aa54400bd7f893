#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace rtceval::app {

// Ends the program as closing its main window does when the system asks it to stop: SIGTERM (a
// service manager, `kill`), SIGINT (Ctrl+C in the terminal) and SIGHUP (the terminal gone). The
// handler only notes the signal; `end` runs afterwards from the event loop, so the port is
// closed, the model unloads and the leak checker sees a normal exit. A second signal while the
// program is ending takes the system's default action. Where there are no such signals it does
// nothing.
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
};

// Holds SIGTERM, SIGINT and SIGHUP back until an EndOnSignal exists, so that a stop asked for
// during start-up ends the program cleanly instead of killing it.
void holdEndSignals();

}  // namespace rtceval::app
