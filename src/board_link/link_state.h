#pragma once

#include <array>
#include <cstdint>

#include "board_link/cmd_state.h"
#include "board_link/protocol.h"

namespace rtceval {

// The one request slot and the reply being assembled, plus where the board is. One instance,
// owned by the main window, lives as long as the program.
struct LinkState {
  std::array<std::uint8_t, protocol::SEND_BUF_SIZE> SendBuf{};
  std::uint8_t SendLen = 0;
  std::array<std::uint8_t, protocol::RECV_BUF_SIZE> RecvBuf{};
  std::int16_t RecvCount = 0;
  CmdStateCode CmdState = StNone;
  std::int16_t PortNo = 0;
  bool Detecting = false;
};

}  // namespace rtceval
