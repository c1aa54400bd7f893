#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board_link/board_link.h"
#include "board_link/chip_commands.h"
#include "board_link/requests.h"
#include "board_link/write_sequencer.h"
#include "cli/output.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "core/time_record.h"
#include "platform/timer.h"

namespace rtceval {
class EventPump;
class Files;
class PcClock;
class SerialPort;
}  // namespace rtceval

namespace rtceval::cli {

// The seams a session runs on: the real ones in the program, the fake port or the virtual board
// and the virtual clock in the tests.
struct Seams {
  SerialPort& port;
  TimerFactory& timers;
  MonotonicClock& clock;
  const PcClock& pcClock;
  EventPump& pump;
  Files& files;
};

// The link to the board for one command, worked through in order: each step sends a request,
// then runs the events until its reply, a refusal, the time-out or an interruption. Replies go
// through `ParseReply` into the session's register image, records and chip reads, as they do in
// the main window; writes go through the write sequencer with its unlock steps.
class Session {
 public:
  Session(const Seams& seams, const DeviceProfile& profile, Millis timeout, Output& out);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Opens port `portNo` and probes the board there; with 0 searches ports 1 to 4 as the program
  // does at start. kDone or kNoBoard (said on standard error).
  int connect(int portNo);
  // One request and its reply: kDone, kRefused, kNoBoard or kInterrupted, the failure said on
  // standard error. The reply's data bytes are in `lastData()`.
  int transact(const Request& request);
  // A write job through the write sequencer, unlock steps first, waiting for the job's reply
  // and, for a non-volatile register, its write cycle.
  int write(WriteJob job);
  // Waits for the end of a non-volatile write cycle, after which the chip answers again.
  int waitWriteCycle();
  // Runs the events for `span`: false when interrupted meanwhile.
  bool pause(Millis span);
  // Runs the events until the monotonic clock reaches `ms`, waking every millisecond for the
  // last stretch so that the moment is met closely; false when interrupted.
  bool waitUntil(std::int64_t ms);

  // Called from the program's signal handling: every wait ends and the command stops.
  void interrupt() { interrupted_ = true; }
  bool interrupted() const { return interrupted_; }
  // Work that must still run after an interruption (putting the chip's protection back) carries
  // on: the interruption has been taken, and a further one stops that work too.
  void clearInterrupt() { interrupted_ = false; }

  BoardLink& link() { return link_; }
  const DeviceProfile& profile() const { return profile_; }
  Layout layout() const { return layoutOf(profile_.Is1208Family); }
  Output& out() { return out_; }
  const Seams& seams() const { return seams_; }
  const std::vector<std::uint8_t>& lastData() const { return lastData_; }

  RegisterImage registers;
  TimeAlarmRecords records;
  ChipReads reads;
  // Told of every reply after it went into the image, records and reads, with whether it was
  // accepted: a command that keeps requests of its own on the line (the accuracy measurement's
  // time reads) knows them by their ticket.
  std::function<void(const LinkEvent& event, bool accepted)> replyObserver;
  // Told of every request whose reply did not come within the link's time-out.
  std::function<void(const LinkEvent& event)> timeoutObserver;

 private:
  struct Awaited {
    RequestTicket ticket = 0;     // the reply to this request, or
    CmdStateCode state = StNone;  // the next reply under this request code
    std::optional<int> outcome;   // set when the wait is over
  };
  void onEvent(const LinkEvent& event);
  void onReply(const LinkEvent& event);
  int await(Awaited awaited);

  Seams seams_;
  const DeviceProfile& profile_;
  Millis timeout_;
  Output& out_;
  BoardLink link_;
  ChipCommands commands_;
  std::unique_ptr<Timer> sequencerTimer_;
  WriteSequencer sequencer_;
  std::unique_ptr<Timer> wake_;
  bool woken_ = false;
  bool interrupted_ = false;
  std::optional<Awaited> awaited_;
  std::optional<int> refusedOnTheWay_;  // an unlock step the board or chip refused
  std::vector<std::uint8_t> lastData_;
};

}  // namespace rtceval::cli
