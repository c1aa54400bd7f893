#include "sim/board/eval_board.h"

#include "sim/board/board_protocol.h"
#include "sim/board/i2c_master.h"

namespace rtceval::sim {

std::vector<BoardReply> EvalBoard::receive(std::span<const std::uint8_t> bytes,
                                           std::int64_t nowMs) {
  std::vector<BoardReply> replies;
  for (const ReceivedFrame& frame : assembler_.feed(bytes, nowMs)) {
    replies.push_back(answer(frame, nowMs));
  }
  return replies;
}

std::optional<BoardReply> EvalBoard::poll(std::int64_t nowMs) {
  if (auto timedOut = assembler_.poll(nowMs)) return answer(*timedOut, nowMs);
  return std::nullopt;
}

BoardReply EvalBoard::answer(const ReceivedFrame& frame, std::int64_t nowMs) {
  if (frame.fault != BoardStatus::Ok) return {statusReply(frame.fault), {}};
  return execute(frame.payload, nowMs);
}

BoardReply EvalBoard::execute(std::span<const std::uint8_t> p, std::int64_t nowMs) {
  // The probe: an empty payload, answered by an empty data reply.
  if (p.empty()) return {dataReply({}), {}};

  const std::uint8_t command = p[0];
  if (command != kCmdRead && command != kCmdWrite)
    return {statusReply(BoardStatus::BadCommand), {}};

  if (command == kCmdRead) {
    const bool wellFormed = p.size() == kRequestHeaderBytes && p[4] != 0 && p[4] <= kMaxReadCount;
    if (!wellFormed) return {statusReply(BoardStatus::BadReadCommand), {}};
    chip_.advanceTo(nowMs);
    I2cResult r = i2cRead(chip_, p[1], p[2], p[3], p[4]);
    if (!r.acknowledged) return {statusReply(BoardStatus::ChipReadFailed), r.busTime};
    return {dataReply(r.data), r.busTime};
  }

  const bool wellFormed = p.size() > kRequestHeaderBytes && p[4] == p.size() - kRequestHeaderBytes;
  if (!wellFormed) return {statusReply(BoardStatus::BadWriteCommand), {}};
  chip_.advanceTo(nowMs);
  I2cResult r = i2cWrite(chip_, p[1], p[2], p[3], p.subspan(kRequestHeaderBytes));
  return {statusReply(r.acknowledged ? BoardStatus::Ok : BoardStatus::ChipWriteFailed), r.busTime};
}

}  // namespace rtceval::sim
