#include "snapshot/request_chain.h"

namespace rtceval {

RequestChain::RequestChain(TimerFactory& timers)
    : watchdog_(timers.createTimer()), pause_(timers.createTimer()) {
  watchdog_->setInterval(kStepTimeout);
  watchdog_->setTickHandler([this] {
    watchdog_->setEnabled(false);
    awaiting_ = false;
    retryOrFail();
  });
  pause_->setTickHandler([this] {
    pause_->setEnabled(false);
    sendNext();
  });
}

void RequestChain::start(std::vector<Step> steps, Done done, Failed failed) {
  cancel();
  steps_ = std::move(steps);
  done_ = std::move(done);
  failed_ = std::move(failed);
  next_ = 0;
  retries_ = 0;
  running_ = true;
  sendNext();
}

void RequestChain::cancel() {
  running_ = false;
  awaiting_ = false;
  watchdog_->setEnabled(false);
  pause_->setEnabled(false);
}

void RequestChain::sendNext() {
  if (!running_) return;
  if (next_ == steps_.size()) {
    cancel();
    // The handler may start another chain on this object.
    Done done = std::move(done_);
    if (done) done();
    return;
  }
  awaiting_ = true;
  // A fresh interval for every step.
  watchdog_->setEnabled(false);
  watchdog_->setEnabled(true);
  awaited_ = steps_[next_].send();
}

void RequestChain::retryOrFail() {
  if (!running_) return;
  // A chip busy with a write cycle does not answer, and a reply may be lost on the line; the
  // step is tried again a little later.
  if (++retries_ > kRetries) {
    fail();
    return;
  }
  pause_->setInterval(kRetryPause);
  pause_->setEnabled(true);
}

void RequestChain::fail() {
  if (!running_) return;
  const std::string what = currentStep();
  cancel();
  Failed failed = std::move(failed_);
  if (failed) failed(what);
}

void RequestChain::replyArrived(RequestTicket ticket, bool accepted) {
  if (!running_ || !awaiting_ || ticket != awaited_) return;
  awaiting_ = false;
  watchdog_->setEnabled(false);
  const Step& step = steps_[next_];
  if (!accepted || (step.complete && !step.complete())) {
    retryOrFail();
    return;
  }
  if (step.take) step.take();
  ++next_;
  retries_ = 0;
  if (step.pauseAfter > Millis{0}) {
    pause_->setInterval(step.pauseAfter);
    pause_->setEnabled(true);
  } else {
    sendNext();
  }
}

}  // namespace rtceval
