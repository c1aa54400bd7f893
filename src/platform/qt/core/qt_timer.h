#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include "platform/timer.h"

namespace rtceval::qt {

// A window-style interval timer over QTimer, ticking on the program's one thread.
class QtTimer : public Timer {
 public:
  QtTimer();
  void setInterval(Millis interval) override;
  Millis interval() const override;
  void setEnabled(bool enabled) override;
  bool isEnabled() const override { return timer_.isActive(); }
  void setTickHandler(std::function<void()> handler) override;

 private:
  QTimer timer_;
  std::function<void()> handler_;
};

class QtTimerFactory : public TimerFactory {
 public:
  std::unique_ptr<Timer> createTimer() override;
};

class QtMonotonicClock : public MonotonicClock {
 public:
  QtMonotonicClock();
  std::int64_t elapsedMs() const override { return elapsed_.elapsed(); }

 private:
  QElapsedTimer elapsed_;
};

}  // namespace rtceval::qt
