#pragma once

#include <deque>
#include <functional>
#include <optional>

#include "board_link/chip_commands.h"
#include "board_link/requests.h"

namespace rtceval {

class Timer;
struct DeviceProfile;

// Sends a register write as a short sequence, one request per tick of its 50 ms timer and without
// waiting for replies: WEL, then RWEL (layout A) or WRTC (layout B), then the job's request.
class WriteSequencer {
 public:
  WriteSequencer(Timer& timer, ChipCommands& commands, const DeviceProfile& profile);

  // A dialog hands over a write: the unlock steps come first. A job handed over while a sequence
  // runs waits for it to end and then runs with unlock steps of its own, so no write is lost.
  void start(WriteJob job);
  // Sends only the job on the next tick (the control/status panel's SR read after its block
  // read); after the running sequence, if one runs.
  void startAtJob(WriteJob job);
  void tick();

  // Another sequence of writes (a snapshot restore) needs the chip to itself: `held` runs once the
  // writes handed over so far have gone out (at once when none runs). Writes handed over from now
  // on wait, each with the values of the moment it was handed over, until `release`.
  void hold(std::function<void()> held);
  // Sends the writes that waited, in order; drops a `held` that has not run yet.
  void release();
  bool holding() const { return holding_; }

 private:
  enum class Step { Wel, Rwel, Job };
  struct Queued {
    WriteJob job;
    bool unlock;
    std::optional<ChipCommands::Values> kept{};  // the values of a write handed over while held
  };
  void enqueue(const Queued& queued);
  void begin(const Queued& queued);

  Timer& timer_;
  ChipCommands& commands_;
  const DeviceProfile& profile_;
  Step step_ = Step::Wel;
  WriteJob job_ = WriteJob::Kind::ReadSR;
  std::deque<Queued> waiting_;
  std::deque<Queued> held_;  // handed over while holding
  bool holding_ = false;
  std::function<void()> onHeld_;
  std::optional<ChipCommands::Values> kept_;
};

}  // namespace rtceval
