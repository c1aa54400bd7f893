#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/cmd_state.h"
#include "platform/timer.h"

namespace rtceval {

// Requests sent one after another, each only once the reply to the one before has been
// accepted: how a snapshot is read from the chip and written back. A step's reply is the one that
// comes back with the ticket its request was given, so another window's request of the same kind
// is never taken for it. A step that is refused, or whose reply does not come in time, is tried
// again twice, then ends the chain with its text. Each step has its own tries: refusals of earlier
// steps, however many, never count against a later one.
class RequestChain {
 public:
  struct Step {
    std::string what;  // names the step in a failure text
    // Sends the step's requests; returns the ticket of the one whose reply ends the step.
    std::function<RequestTicket()> send;
    std::function<void()> take;  // runs when that reply was accepted
    Millis pauseAfter{0};        // time the chip needs before the next request (a write cycle)
    // Whether an accepted reply carries all the step waits for (a block read's byte count); one
    // that does not counts as refused. None: every accepted reply does.
    std::function<bool()> complete{};
  };
  using Done = std::function<void()>;
  using Failed = std::function<void(const std::string& what)>;

  explicit RequestChain(TimerFactory& timers);

  // Starts the steps; a chain already running is dropped first.
  void start(std::vector<Step> steps, Done done, Failed failed);
  // Stops without a word: the window closed or the user cancelled. A request already on the line
  // still reaches the chip.
  void cancel();
  bool running() const { return running_; }
  std::size_t stepsDone() const { return next_; }
  std::size_t stepsTotal() const { return steps_.size(); }
  // The step being sent or awaited: the one a failure or a cancel names.
  std::string currentStep() const { return next_ < steps_.size() ? steps_[next_].what : ""; }

  void replyArrived(RequestTicket ticket, bool accepted);

  // How long a step may wait for its reply: a write goes out after its write enables, and the
  // link may be answering the timers' reads meanwhile.
  static constexpr Millis kStepTimeout{1500};
  // A refused or unanswered step is sent again this many times, this long after the refusal.
  static constexpr int kRetries = 2;
  static constexpr Millis kRetryPause{30};

 private:
  void sendNext();
  // A try of the current step came to nothing: another try, or the end of the chain.
  void retryOrFail();
  void fail();

  std::unique_ptr<Timer> watchdog_;
  std::unique_ptr<Timer> pause_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int retries_ = 0;
  bool running_ = false;
  bool awaiting_ = false;
  RequestTicket awaited_ = 0;
  Done done_;
  Failed failed_;
};

}  // namespace rtceval
