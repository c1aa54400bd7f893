#pragma once

#include <cstdint>
#include <deque>

namespace rtceval {

class ChipCommands;
class Timer;
struct DeviceProfile;

// Sends a register write as a short sequence, one request per tick of its 50 ms timer and without
// waiting for replies: WEL, then RWEL (layout A) or WRTC (layout B), then the job's command.
class WriteSequencer {
 public:
  static constexpr std::int16_t kStepWel = 0;
  static constexpr std::int16_t kStepRwel = 1;
  static constexpr std::int16_t kStepJob = 2;

  WriteSequencer(Timer& timer, ChipCommands& commands, const DeviceProfile& profile);

  // A dialog hands over a write: the unlock steps come first. A job handed over while a sequence
  // runs waits for it to end and then runs with unlock steps of its own, so no write is lost.
  void start(std::int16_t job);
  // Sends only the job on the next tick (the control/status panel's SR read after its block
  // read); after the running sequence, if one runs.
  void startAtJob(std::int16_t job);
  void tick();

  std::int16_t WriteStep() const { return step_; }
  std::int16_t WriteJob() const { return job_; }

 private:
  Timer& timer_;
  ChipCommands& commands_;
  const DeviceProfile& profile_;
  struct Job {
    std::int16_t code;
    bool unlock;
  };
  void begin(const Job& job);

  std::int16_t step_ = kStepWel;
  std::int16_t job_ = 0;
  std::deque<Job> waiting_;
};

}  // namespace rtceval
