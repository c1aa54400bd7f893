#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/board/request_assembler.h"
#include "sim/chip/i2c_target.h"

namespace rtceval::sim {

struct BoardReply {
  std::vector<std::uint8_t> frame;
  // How long the board spent on the I2C bus before it could answer.
  std::chrono::microseconds busTime{0};
};

// The evaluation board's firmware: takes request frames in any split, carries each out as I2C
// transactions on the chip and answers it with exactly one reply frame. Times are milliseconds of
// the board's monotonic clock.
class EvalBoard {
 public:
  explicit EvalBoard(I2cTarget& chip) : chip_(chip) {}

  std::vector<BoardReply> receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

  // The answer to a frame left incomplete too long, when its time-out is due.
  std::optional<BoardReply> poll(std::int64_t nowMs);
  std::optional<std::int64_t> deadline() const { return assembler_.deadline(); }

 private:
  BoardReply answer(const ReceivedFrame& frame, std::int64_t nowMs);
  BoardReply execute(std::span<const std::uint8_t> payload, std::int64_t nowMs);

  I2cTarget& chip_;
  RequestAssembler assembler_;
};

}  // namespace rtceval::sim
