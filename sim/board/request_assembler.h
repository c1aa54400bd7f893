#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/board/board_protocol.h"

namespace rtceval::sim {

// What the receive side of the board makes of the incoming bytes: a checked request payload, or
// a framing fault that the board reports with a status reply.
struct ReceivedFrame {
  BoardStatus fault = BoardStatus::Ok;  // Ok: `payload` holds a checked request
  std::vector<std::uint8_t> payload;
};

// Reassembles request frames from bytes arriving in any split. After a fault that leaves the
// frame boundary unknown (bad flag, over-long frame, time-out, stray bytes) it waits quietly for
// the next lead byte. Times are milliseconds of the board's monotonic clock.
class RequestAssembler {
 public:
  // A frame whose next byte has not come for longer than this is dropped with a time-out.
  static constexpr std::chrono::milliseconds kFrameTimeout{100};

  std::vector<ReceivedFrame> feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

  // Reports the time-out of a frame left incomplete, once, when it is due.
  std::optional<ReceivedFrame> poll(std::int64_t nowMs);

  // When `poll` will report a time-out, if a frame is under way.
  std::optional<std::int64_t> deadline() const;

 private:
  enum class State { Idle, Hunting, Flag, Length, Payload, Checksum };

  std::optional<ReceivedFrame> take(std::uint8_t byte);

  State state_ = State::Idle;
  std::vector<std::uint8_t> frame_;
  std::size_t length_ = 0;
  std::int64_t lastByteMs_ = 0;
};

}  // namespace rtceval::sim
