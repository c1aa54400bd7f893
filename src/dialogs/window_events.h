#pragma once

#include <functional>
#include <memory>

#include "platform/message_boxes.h"
#include "platform/timer.h"

namespace rtceval {

// The events of the program's windows. Every user action, timer tick and received chunk runs as
// one event: when it ends the views redraw, and when the outermost one ends the dialogs closed
// during it are freed. Timers made here tick as events, and message boxes opened here let the
// views redraw first, so the window behind a box is current.
class WindowEvents {
 public:
  WindowEvents(TimerFactory& timers, MessageBoxes& messageBoxes);
  ~WindowEvents();
  WindowEvents(const WindowEvents&) = delete;
  WindowEvents& operator=(const WindowEvents&) = delete;

  // Marks one event for as long as it lives.
  class Scope {
   public:
    explicit Scope(WindowEvents& events);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    WindowEvents& events_;
  };

  void run(const std::function<void()>& handler);

  // The views' redraw.
  void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
  // Runs when the outermost event has ended.
  void setOutermostEnded(std::function<void()> ended) { outermostEnded_ = std::move(ended); }
  void redraw();

  TimerFactory& timers() { return *timers_; }
  MessageBoxes& messageBoxes() { return *messageBoxes_; }

 private:
  class ScopedTimerFactory;
  class RedrawingMessageBoxes;

  int depth_ = 0;
  std::function<void()> redraw_;
  std::function<void()> outermostEnded_;
  std::unique_ptr<TimerFactory> timers_;
  std::unique_ptr<MessageBoxes> messageBoxes_;
};

}  // namespace rtceval
