#include "sim/board/request_assembler.h"

namespace rtceval::sim {

std::vector<ReceivedFrame> RequestAssembler::feed(std::span<const std::uint8_t> bytes,
                                                  std::int64_t nowMs) {
  std::vector<ReceivedFrame> out;
  // A gap that has already run out ends the old frame before these bytes are looked at.
  if (auto timedOut = poll(nowMs)) out.push_back(std::move(*timedOut));
  for (std::uint8_t b : bytes) {
    if (auto frame = take(b)) out.push_back(std::move(*frame));
  }
  if (!bytes.empty()) lastByteMs_ = nowMs;
  return out;
}

std::optional<ReceivedFrame> RequestAssembler::poll(std::int64_t nowMs) {
  const auto due = deadline();
  if (!due || nowMs < *due) return std::nullopt;
  state_ = State::Hunting;
  frame_.clear();
  return ReceivedFrame{BoardStatus::FrameTimeout, {}};
}

std::optional<std::int64_t> RequestAssembler::deadline() const {
  if (state_ == State::Idle || state_ == State::Hunting) return std::nullopt;
  return lastByteMs_ + kFrameTimeout.count() + 1;
}

std::optional<ReceivedFrame> RequestAssembler::take(std::uint8_t byte) {
  const auto fault = [this](BoardStatus status, State next) {
    state_ = next;
    frame_.clear();
    return ReceivedFrame{status, {}};
  };
  switch (state_) {
    case State::Idle:
    case State::Hunting:
      if (byte == kLeadByte) {
        frame_.assign(1, byte);
        state_ = State::Flag;
        return std::nullopt;
      }
      // Stray bytes are reported once; the rest of them go by unanswered.
      if (state_ == State::Idle) return fault(BoardStatus::BadLeadByte, State::Hunting);
      return std::nullopt;
    case State::Flag:
      if (byte != kRequestFlag) return fault(BoardStatus::BadFlagByte, State::Hunting);
      frame_.push_back(byte);
      state_ = State::Length;
      return std::nullopt;
    case State::Length:
      if (byte > kMaxPayload) return fault(BoardStatus::FrameTooLong, State::Hunting);
      frame_.push_back(byte);
      length_ = byte;
      state_ = length_ == 0 ? State::Checksum : State::Payload;
      return std::nullopt;
    case State::Payload:
      frame_.push_back(byte);
      if (frame_.size() == 3 + length_) state_ = State::Checksum;
      return std::nullopt;
    case State::Checksum: {
      if (byte != frameSum(frame_)) return fault(BoardStatus::BadChecksum, State::Idle);
      ReceivedFrame request{BoardStatus::Ok, {frame_.begin() + 3, frame_.end()}};
      frame_.clear();
      state_ = State::Idle;
      return request;
    }
  }
  return std::nullopt;
}

}  // namespace rtceval::sim
