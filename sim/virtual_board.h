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
// Bytes from the PC reach the board's firmware one byte time apart, as the line delivers them;
// those the line and the board's receive FIFO cannot hold are lost. The firmware answers one
// request at a time: while it is on the bus and sending a reply it takes no bytes from the FIFO.
// A reply leaves once the chip's bus transaction is over and arrives piece by piece as its bytes
// cross the line. Nothing here waits: the owner asks what is due at a given time (ms of a
// monotonic clock) and when the next thing will be due, and drives it from a timer or a poll loop.
class VirtualBoard {
 public:
  // Received bytes the firmware has not taken yet, counting those still crossing the line. Room
  // for the longest request (37 bytes) written in one go, with some to spare.
  static constexpr std::size_t kReceiveFifoBytes = 64;

  VirtualBoard(ChipModel model, const ClockFields& start, std::int64_t nowMs);

  // Bytes written by the PC at `nowMs`. Returns how many of them (from the front) the board will
  // receive; the rest found the FIFO full and are lost, as in a UART overrun.
  std::size_t fromPc(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

  // Lets everything due by `nowMs` happen and returns the pieces that reached the PC meanwhile.
  std::vector<std::vector<std::uint8_t>> toPc(std::int64_t nowMs);

  // The next time at which `toPc` has something to do.
  std::optional<std::int64_t> nextDue() const;

  RtcChip& chip() { return chip_; }
  const RtcChip& chip() const { return chip_; }
  FaultInjector& faults() { return faults_; }

  // Bytes lost to receive overruns since the board started.
  std::uint64_t overrunBytes() const { return overrunBytes_; }

  // Time a number of bytes take on the line, in microseconds.
  static std::int64_t lineTimeUs(std::size_t bytes);

 private:
  struct Piece {
    std::int64_t dueUs;
    std::vector<std::uint8_t> bytes;
  };
  struct ReceivedByte {
    std::int64_t arrivesUs;
    std::uint8_t value;
  };
  void advance(std::int64_t nowUs);
  std::optional<std::int64_t> nextByteUs() const;
  void send(const BoardReply& reply, std::int64_t readyUs);

  RtcChip chip_;
  EvalBoard board_;
  FaultInjector faults_;
  std::deque<ReceivedByte> receiveFifo_;
  std::deque<Piece> outbound_;
  std::int64_t pcLineFreeUs_ = 0;
  std::int64_t boardLineFreeUs_ = 0;
  // The firmware is on the bus or sending a reply until then.
  std::int64_t busyUntilUs_ = 0;
  std::uint64_t overrunBytes_ = 0;
};

}  // namespace rtceval::sim
