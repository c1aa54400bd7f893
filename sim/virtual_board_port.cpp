#include "sim/virtual_board_port.h"

#include <algorithm>

namespace rtceval::sim {

VirtualBoardPort::VirtualBoardPort(TimerFactory& timers, MonotonicClock& clock, ChipModel model,
                                   const CivilTime& start, int portNo)
    : clock_(clock),
      timer_(timers.createTimer()),
      board_(model, clockFieldsOf(start), clock.elapsedMs()),
      portNo_(portNo) {
  timer_->setTickHandler([this] { onTimer(); });
}

VirtualBoardPort::~VirtualBoardPort() {
  timer_->setEnabled(false);
}

bool VirtualBoardPort::open(int portNo) {
  close();
  open_ = portNo == portNo_;
  return open_;
}

bool VirtualBoardPort::switchTo(int portNo) {
  if (portNo != portNo_) return false;
  open_ = true;
  return true;
}

void VirtualBoardPort::close() {
  open_ = false;
}

bool VirtualBoardPort::write(std::span<const std::uint8_t> bytes) {
  if (!open_) return false;
  board_.fromPc(bytes, clock_.elapsedMs());
  schedule();
  return true;
}

std::string VirtualBoardPort::deviceName(int portNo) const {
  if (portNo != portNo_) return {};
  return "虚拟评估板 (" + std::string(board_.chip().profile().name) + ")";
}

void VirtualBoardPort::onTimer() {
  timer_->setEnabled(false);
  for (const auto& piece : board_.toPc(clock_.elapsedMs())) {
    if (open_ && handler_) handler_(piece);
  }
  schedule();
}

void VirtualBoardPort::schedule() {
  const auto due = board_.nextDue();
  timer_->setEnabled(false);
  if (!due) return;
  // A timer needs an interval of at least one tick to fire at all.
  const std::int64_t wait = std::max<std::int64_t>(*due - clock_.elapsedMs(), 1);
  timer_->setInterval(Millis(wait));
  timer_->setEnabled(true);
}

}  // namespace rtceval::sim
