#include "sim/board/board_protocol.h"

namespace rtceval::sim {

std::uint8_t frameSum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return sum;
}

std::vector<std::uint8_t> dataReply(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> frame;
  frame.reserve(data.size() + 4);
  frame.push_back(kLeadByte);
  frame.push_back(kDataReplyFlag);
  frame.push_back(static_cast<std::uint8_t>(data.size()));
  for (std::uint8_t b : data) frame.push_back(b);
  frame.push_back(frameSum(frame));
  return frame;
}

std::vector<std::uint8_t> statusReply(BoardStatus status) {
  std::vector<std::uint8_t> frame{kLeadByte, kStatusReplyFlag, 0x01,
                                  static_cast<std::uint8_t>(status)};
  frame.push_back(frameSum(frame));
  return frame;
}

}  // namespace rtceval::sim
