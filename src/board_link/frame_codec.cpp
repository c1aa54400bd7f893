#include "board_link/frame_codec.h"

#include "board_link/protocol.h"

namespace rtceval {

std::uint8_t FrameSum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::vector<std::uint8_t> BuildRequestFrame(std::span<const std::uint8_t> payload,
                                            bool is1208Family) {
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + protocol::FRAME_OVERHEAD);
  frame.push_back(protocol::LEAD_BYTE);
  frame.push_back(protocol::REQUEST_FLAG);
  frame.push_back(static_cast<std::uint8_t>(payload.size()));
  frame.insert(frame.end(), payload.begin(), payload.end());
  if (is1208Family && payload.size() > protocol::PAYLOAD_ADDR_HIGH)
    frame[3 + protocol::PAYLOAD_ADDR_HIGH] = protocol::ADDR_HIGH_1208;
  frame.push_back(FrameSum(frame));
  return frame;
}

}  // namespace rtceval
