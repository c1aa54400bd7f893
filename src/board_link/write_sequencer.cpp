#include "board_link/write_sequencer.h"

#include <utility>

#include "board_link/chip_commands.h"
#include "core/device_profile.h"
#include "platform/timer.h"

namespace rtceval {

WriteSequencer::WriteSequencer(Timer& timer, ChipCommands& commands, const DeviceProfile& profile)
    : timer_(timer), commands_(commands), profile_(profile) {}

void WriteSequencer::begin(const Queued& queued) {
  job_ = queued.job;
  kept_ = queued.kept;
  step_ = queued.unlock ? Step::Wel : Step::Job;
}

void WriteSequencer::enqueue(const Queued& queued) {
  if (holding_) {
    // The values go out as they are now: the holder may change the image meanwhile.
    Queued kept = queued;
    kept.kept = commands_.values();
    held_.push_back(kept);
    return;
  }
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
      if (kept_)
        commands_.run(job_, *kept_);
      else
        commands_.run(job_);
      step_ = Step::Wel;
      if (waiting_.empty()) {
        timer_.setEnabled(false);
        if (onHeld_) std::exchange(onHeld_, nullptr)();
      } else {
        // The next job's first step goes out on the next tick.
        begin(waiting_.front());
        waiting_.pop_front();
      }
      break;
  }
}

void WriteSequencer::hold(std::function<void()> held) {
  holding_ = true;
  if (timer_.isEnabled()) {
    onHeld_ = std::move(held);
    return;
  }
  if (held) held();
}

void WriteSequencer::release() {
  holding_ = false;
  onHeld_ = nullptr;
  std::deque<Queued> held;
  held.swap(held_);
  for (const Queued& queued : held) enqueue(queued);
}

}  // namespace rtceval
