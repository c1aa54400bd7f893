#include "board_link/frame_codec.h"

#include "core/protocol.h"

namespace rtceval {

std::uint8_t frameSum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::vector<std::uint8_t> buildRequestFrame(std::span<const std::uint8_t> payload,
                                            bool is1208Family) {
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + protocol::kFrameOverhead);
  frame.push_back(protocol::kLeadByte);
  frame.push_back(protocol::kRequestFlag);
  frame.push_back(static_cast<std::uint8_t>(payload.size()));
  frame.insert(frame.end(), payload.begin(), payload.end());
  if (is1208Family && payload.size() > protocol::kPayloadAddrHigh)
    frame[3 + protocol::kPayloadAddrHigh] = protocol::kAddrHigh1208;
  frame.push_back(frameSum(frame));
  return frame;
}

}  // namespace rtceval
