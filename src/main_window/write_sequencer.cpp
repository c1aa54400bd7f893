#include "main_window/write_sequencer.h"

#include "main_window/commands.h"
#include "main_window/device_profile.h"
#include "platform/timer.h"

namespace rtceval {

WriteSequencer::WriteSequencer(Timer& timer, MainCommands& commands, const DeviceProfile& profile)
    : timer_(timer), commands_(commands), profile_(profile) {}

void WriteSequencer::Start(std::int16_t job) {
  timer_.setEnabled(true);
  WriteJob = job;
}

void WriteSequencer::StartAtJob(std::int16_t job) {
  timer_.setEnabled(true);
  WriteJob = job;
  WriteStep = STEP_JOB;
}

void WriteSequencer::Tick() {
  switch (WriteStep) {
    case STEP_WEL:
      commands_.CmdSetWEL();
      WriteStep = profile_.Is1208Family ? STEP_JOB : STEP_RWEL;
      break;
    case STEP_RWEL:
      commands_.CmdSetRWEL();
      WriteStep = STEP_JOB;
      break;
    case STEP_JOB:
      commands_.RunJob(WriteJob);
      timer_.setEnabled(false);
      WriteStep = STEP_WEL;
      break;
    default:
      timer_.setEnabled(false);
      WriteStep = STEP_WEL;
      break;
  }
}

}  // namespace rtceval
