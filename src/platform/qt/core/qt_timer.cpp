#include "platform/qt/core/qt_timer.h"

namespace rtceval::qt {

QtTimer::QtTimer() {
  // The automatic time read runs every 200 ms and the write sequencer every 50 ms; coarse timers
  // would let them drift by up to 5 %.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    if (handler_) handler_();
  });
}

void QtTimer::setInterval(Millis interval) {
  timer_.setInterval(interval);
}

Millis QtTimer::interval() const {
  return timer_.intervalAsDuration();
}

void QtTimer::setEnabled(bool enabled) {
  // Enabling a running timer keeps its phase; only a stopped one starts a fresh interval.
  if (enabled == timer_.isActive()) return;
  if (enabled)
    timer_.start();
  else
    timer_.stop();
}

void QtTimer::setTickHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

std::unique_ptr<Timer> QtTimerFactory::createTimer() {
  return std::make_unique<QtTimer>();
}

QtMonotonicClock::QtMonotonicClock() {
  elapsed_.start();
}

}  // namespace rtceval::qt
