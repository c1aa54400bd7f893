#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval::testing {

// A serial line with an unsteady latency in front of another port: every write and every
// received chunk is held back by a random 0 to `maxDelayMs` ms (in order), as a PC's serial
// driver and USB adapter do. It also counts requests written while the reply to the previous one
// had not yet come, which the program must never do.
class NoisyLine : public SerialPort {
 public:
  NoisyLine(SerialPort& inner, TimerFactory& timers, const MonotonicClock& clock, int maxDelayMs,
            unsigned seed)
      : inner_(inner),
        clock_(clock),
        random_(seed),
        delay_(0, maxDelayMs),
        outTimer_(timers.createTimer()),
        inTimer_(timers.createTimer()) {
    outTimer_->setTickHandler([this] { flush(out_, *outTimer_, true); });
    inTimer_->setTickHandler([this] { flush(in_, *inTimer_, false); });
    inner_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
      hold(in_, *inTimer_, std::vector<std::uint8_t>(chunk.begin(), chunk.end()));
    });
  }

  // A line opened again owes no reply to a request sent before it was closed.
  bool open(int portNo) override {
    replyBytesDue_ = 0;
    return inner_.open(portNo);
  }
  void close() override {
    replyBytesDue_ = 0;
    inner_.close();
  }
  bool isOpen() const override { return inner_.isOpen(); }
  bool write(std::span<const std::uint8_t> bytes) override {
    if (!inner_.isOpen()) return false;
    if (replyBytesDue_ != 0) ++overlappingRequests;
    reply_.clear();
    replyBytesDue_ = -1;  // unknown until the reply's length byte arrives
    ++requests;
    hold(out_, *outTimer_, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return true;
  }
  void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }
  std::string deviceName(int portNo) const override { return inner_.deviceName(portNo); }

  int requests = 0;
  int overlappingRequests = 0;

 private:
  struct Held {
    std::int64_t dueMs;
    std::vector<std::uint8_t> bytes;
  };

  void hold(std::deque<Held>& queue, Timer& timer, std::vector<std::uint8_t> bytes) {
    std::int64_t due = clock_.elapsedMs() + delay_(random_);
    if (!queue.empty()) due = std::max(due, queue.back().dueMs);
    queue.push_back({due, std::move(bytes)});
    arm(queue, timer);
  }
  void arm(std::deque<Held>& queue, Timer& timer) {
    timer.setEnabled(false);
    if (queue.empty()) return;
    const std::int64_t wait = queue.front().dueMs - clock_.elapsedMs();
    if (wait <= 0) {
      // Due now: the timer's shortest interval is a millisecond, so pass it on at once.
      flush(queue, timer, &queue == &out_);
      return;
    }
    timer.setInterval(Millis(wait));
    timer.setEnabled(true);
  }
  void flush(std::deque<Held>& queue, Timer& timer, bool outgoing) {
    timer.setEnabled(false);
    while (!queue.empty() && queue.front().dueMs <= clock_.elapsedMs()) {
      std::vector<std::uint8_t> bytes = std::move(queue.front().bytes);
      queue.pop_front();
      if (outgoing) {
        (void)inner_.write(bytes);
      } else {
        track(bytes);
        if (handler_) handler_(bytes);
      }
    }
    arm(queue, timer);
  }
  // Follows reply frames (lead, flag, length, data, sum) to know when one is complete.
  void track(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
      reply_.push_back(b);
      if (reply_.size() == 3) replyBytesDue_ = b + 4;
      if (replyBytesDue_ > 0 && static_cast<int>(reply_.size()) == replyBytesDue_) {
        reply_.clear();
        replyBytesDue_ = 0;
      }
    }
  }

  SerialPort& inner_;
  const MonotonicClock& clock_;
  std::mt19937 random_;
  std::uniform_int_distribution<int> delay_;
  std::unique_ptr<Timer> outTimer_;
  std::unique_ptr<Timer> inTimer_;
  std::deque<Held> out_;
  std::deque<Held> in_;
  std::vector<std::uint8_t> reply_;
  int replyBytesDue_ = 0;
  ReceiveHandler handler_;
};

}  // namespace rtceval::testing
