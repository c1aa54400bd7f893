#include "sim/board/board_protocol.h"

namespace rtceval::sim {

std::uint8_t frameSum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return sum;
}

std::vector<std::uint8_t> dataReply(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> frame{kLeadByte, kDataReplyFlag, static_cast<std::uint8_t>(data.size())};
  frame.insert(frame.end(), data.begin(), data.end());
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
