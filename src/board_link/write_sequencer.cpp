#include "board_link/write_sequencer.h"

#include "board_link/commands.h"
#include "core/device_profile.h"
#include "platform/timer.h"

namespace rtceval {

WriteSequencer::WriteSequencer(Timer& timer, MainCommands& commands, const DeviceProfile& profile)
    : timer_(timer), commands_(commands), profile_(profile) {}

void WriteSequencer::start(std::int16_t job) {
  timer_.setEnabled(true);
  job_ = job;
}

void WriteSequencer::startAtJob(std::int16_t job) {
  timer_.setEnabled(true);
  job_ = job;
  step_ = kStepJob;
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
      timer_.setEnabled(false);
      step_ = kStepWel;
      break;
  }
}

}  // namespace rtceval
