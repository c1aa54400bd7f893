#include "dialogs/window_events.h"

#include <string>

#include "platform/message_boxes.h"
#include "platform/timer.h"

namespace rtceval {

WindowEvents::Scope::Scope(WindowEvents& events) : events_(events) {
  ++events_.depth_;
}

WindowEvents::Scope::~Scope() {
  --events_.depth_;
  events_.redraw();
  if (events_.depth_ == 0 && events_.outermostEnded_) events_.outermostEnded_();
}

// Timers whose ticks run as events.
class WindowEvents::ScopedTimerFactory : public TimerFactory {
 public:
  ScopedTimerFactory(WindowEvents& events, TimerFactory& inner) : events_(events), inner_(inner) {}
  std::unique_ptr<Timer> createTimer() override {
    return std::make_unique<ScopedTimer>(events_, inner_.createTimer());
  }

 private:
  class ScopedTimer : public Timer {
   public:
    ScopedTimer(WindowEvents& events, std::unique_ptr<Timer> inner)
        : events_(events), inner_(std::move(inner)) {}
    void setInterval(Millis interval) override { inner_->setInterval(interval); }
    Millis interval() const override { return inner_->interval(); }
    void setEnabled(bool enabled) override { inner_->setEnabled(enabled); }
    bool isEnabled() const override { return inner_->isEnabled(); }
    void setTickHandler(std::function<void()> handler) override {
      inner_->setTickHandler([this, handler = std::move(handler)] {
        Scope scope(events_);
        handler();
      });
    }

   private:
    WindowEvents& events_;
    std::unique_ptr<Timer> inner_;
  };

  WindowEvents& events_;
  TimerFactory& inner_;
};

// Message boxes that first let the views catch up.
class WindowEvents::RedrawingMessageBoxes : public MessageBoxes {
 public:
  RedrawingMessageBoxes(WindowEvents& events, MessageBoxes& inner)
      : events_(events), inner_(inner) {}
  void message(const std::string& text, const std::string& title) override {
    events_.redraw();
    inner_.message(text, title);
  }
  bool askYesNo(const std::string& text, const std::string& title) override {
    events_.redraw();
    return inner_.askYesNo(text, title);
  }
  void beep() override { inner_.beep(); }

 private:
  WindowEvents& events_;
  MessageBoxes& inner_;
};

WindowEvents::WindowEvents(TimerFactory& timers, MessageBoxes& messageBoxes)
    : timers_(std::make_unique<ScopedTimerFactory>(*this, timers)),
      messageBoxes_(std::make_unique<RedrawingMessageBoxes>(*this, messageBoxes)) {}

WindowEvents::~WindowEvents() = default;

void WindowEvents::run(const std::function<void()>& handler) {
  Scope scope(*this);
  handler();
}

void WindowEvents::redraw() {
  if (redraw_) redraw_();
}

}  // namespace rtceval
