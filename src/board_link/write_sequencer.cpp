#include "board_link/write_sequencer.h"

#include "board_link/chip_commands.h"
#include "core/device_profile.h"
#include "platform/timer.h"

namespace rtceval {

WriteSequencer::WriteSequencer(Timer& timer, ChipCommands& commands, const DeviceProfile& profile)
    : timer_(timer), commands_(commands), profile_(profile) {}

void WriteSequencer::begin(const Job& job) {
  job_ = job.code;
  step_ = job.unlock ? kStepWel : kStepJob;
  timer_.setEnabled(true);
}

void WriteSequencer::start(std::int16_t job) {
  if (timer_.isEnabled()) {
    waiting_.push_back({job, true});
    return;
  }
  begin({job, true});
}

void WriteSequencer::startAtJob(std::int16_t job) {
  if (timer_.isEnabled()) {
    waiting_.push_back({job, false});
    return;
  }
  begin({job, false});
}

void WriteSequencer::tick() {
  switch (step_) {
    case kStepWel:
      commands_.CmdSetWEL();
      step_ = profile_.Is1208Family ? kStepJob : kStepRwel;
      break;
    case kStepRwel:
      commands_.CmdSetRWEL();
      step_ = kStepJob;
      break;
    case kStepJob:
      commands_.runJob(job_);
      step_ = kStepWel;
      if (waiting_.empty()) {
        timer_.setEnabled(false);
      } else {
        // The next job's first step goes out on the next tick.
        const Job next = waiting_.front();
        waiting_.pop_front();
        job_ = next.code;
        step_ = next.unlock ? kStepWel : kStepJob;
      }
      break;
  }
}

}  // namespace rtceval
