#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "sim/board/eval_board.h"
#include "sim/board/fault_injector.h"
#include "sim/chip/bcd_calendar.h"
#include "sim/chip/chip_profile.h"
#include "sim/chip/rtc_chip.h"

namespace rtceval::sim {

// The whole evaluation board with its chip at the end of a 19200-baud line (10 bits a byte).
// Bytes from the PC reach the board after their time on the line; a reply leaves once the chip's
// bus transaction is over and arrives piece by piece as its bytes cross the line. Nothing here
// waits: the owner asks what is due at a given time (ms of a monotonic clock) and when the next
// thing will be due, and drives it from a timer or a poll loop.
class VirtualBoard {
 public:
  VirtualBoard(ChipModel model, const ClockFields& start, std::int64_t nowMs);

  // Bytes written by the PC at `nowMs`.
  void fromPc(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

  // Lets everything due by `nowMs` happen and returns the pieces that reached the PC meanwhile.
  std::vector<std::vector<std::uint8_t>> toPc(std::int64_t nowMs);

  // The next time at which `toPc` has something to do.
  std::optional<std::int64_t> nextDue() const;

  RtcChip& chip() { return chip_; }
  const RtcChip& chip() const { return chip_; }
  FaultInjector& faults() { return faults_; }

  // Time a number of bytes take on the line, in microseconds.
  static std::int64_t lineTimeUs(std::size_t bytes);

 private:
  struct Piece {
    std::int64_t dueUs;
    std::vector<std::uint8_t> bytes;
  };
  void send(const BoardReply& reply, std::int64_t readyUs);

  RtcChip chip_;
  EvalBoard board_;
  FaultInjector faults_;
  std::deque<Piece> inbound_;
  std::deque<Piece> outbound_;
  std::int64_t pcLineFreeUs_ = 0;
  std::int64_t boardLineFreeUs_ = 0;
};

}  // namespace rtceval::sim
