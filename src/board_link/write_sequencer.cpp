#include "board_link/write_sequencer.h"

#include "board_link/chip_commands.h"
#include "core/device_profile.h"
#include "platform/timer.h"

namespace rtceval {

WriteSequencer::WriteSequencer(Timer& timer, ChipCommands& commands, const DeviceProfile& profile)
    : timer_(timer), commands_(commands), profile_(profile) {}

void WriteSequencer::begin(const Queued& queued) {
  job_ = queued.job;
  step_ = queued.unlock ? Step::Wel : Step::Job;
}

void WriteSequencer::enqueue(const Queued& queued) {
  if (timer_.isEnabled()) {
    waiting_.push_back(queued);
    return;
  }
  begin(queued);
  timer_.setEnabled(true);
}

void WriteSequencer::start(WriteJob job) {
  enqueue({job, true});
}

void WriteSequencer::startAtJob(WriteJob job) {
  enqueue({job, false});
}

void WriteSequencer::tick() {
  switch (step_) {
    case Step::Wel:
      commands_.CmdSetWEL();
      step_ = profile_.Is1208Family ? Step::Job : Step::Rwel;
      break;
    case Step::Rwel:
      commands_.CmdSetRWEL();
      step_ = Step::Job;
      break;
    case Step::Job:
      commands_.run(job_);
      step_ = Step::Wel;
      if (waiting_.empty()) {
        timer_.setEnabled(false);
      } else {
        // The next job's first step goes out on the next tick.
        begin(waiting_.front());
        waiting_.pop_front();
      }
      break;
  }
}

}  // namespace rtceval
