#include "board_link/board_status.h"

#include <array>
#include <utility>

namespace rtceval {

const char* boardErrorText(std::uint8_t code) {
  static constexpr std::array<std::pair<std::uint8_t, const char*>, 12> kTexts{{
      {0x01, "评估板接收帧和校验错"},
      {0x02, "评估板接收帧头错"},
      {0x03, "评估板接收帧标志错"},
      {0x04, "评估板接收帧长度超出接收缓冲区"},
      {0x05, "评估板接收状态错"},
      {0x06, "评估板接收到无效的读命令"},
      {0x07, "评估板接收到无效的定命令"},
      {0x08, "评估板接收到无效的命令"},
      {0x81, "评估板接收超时"},
      {0x82, "评估板接收帧超时"},
      {0x84, "评估板读器件错"},
      {0x85, "评估板写器件错"},
  }};
  for (const auto& [c, text] : kTexts)
    if (c == code) return text;
  return "未知的错误";
}

}  // namespace rtceval
