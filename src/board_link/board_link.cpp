#include "board_link/board_link.h"

#include <algorithm>

#include "board_link/frame_codec.h"
#include "main_window/device_profile.h"
#include "main_window/status_bar.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
constexpr const char* TEXT_OVERFLOW = "接收缓冲区溢出";
constexpr const char* TEXT_BAD_CHECKSUM = "帧和校验错";
}  // namespace

BoardLink::BoardLink(SerialPort& port, Timer& responseTimeout, StatusBar& statusBar,
                     Dialogs& dialogs, const DeviceProfile& profile)
    : port_(port),
      responseTimeout_(responseTimeout),
      statusBar_(statusBar),
      dialogs_(dialogs),
      profile_(profile) {}

void BoardLink::SendFrame() {
  if (profile_.Is1208Family) state_.SendBuf[protocol::PAYLOAD_ADDR_HIGH] = protocol::ADDR_HIGH_1208;
  const auto frame =
      BuildRequestFrame(std::span(state_.SendBuf).first(state_.SendLen), profile_.Is1208Family);
  if (trace_) trace_(true, frame);
  // Like the board's own serial control, a closed or vanished port simply loses the frame.
  (void)port_.write(frame);
  state_.RecvCount = 0;
}

void BoardLink::fill(std::span<const std::uint8_t> payload) {
  const std::size_t n = std::min(payload.size(), state_.SendBuf.size());
  std::copy_n(payload.begin(), n, state_.SendBuf.begin());
  state_.SendLen = static_cast<std::uint8_t>(n);
}

void BoardLink::Request(std::span<const std::uint8_t> payload, CmdStateCode state,
                        const std::string& text) {
  fill(payload);
  SendFrame();
  responseTimeout_.setEnabled(true);
  state_.CmdState = state;
  statusBar_.setPanel(StatusBar::LINK, text);
}

void BoardLink::Request(std::initializer_list<std::uint8_t> payload, CmdStateCode state,
                        const std::string& text) {
  Request(std::span<const std::uint8_t>(payload.begin(), payload.size()), state, text);
}

void BoardLink::ReadReg(std::uint8_t address, CmdStateCode state, const std::string& text) {
  Request({protocol::CMD_READ, protocol::DEV_CCR, 0x00, address, 1}, state, text);
}

void BoardLink::WriteReg(std::uint8_t address, std::uint8_t value, CmdStateCode state,
                         const std::string& text) {
  Request({protocol::CMD_WRITE, protocol::DEV_CCR, 0x00, address, 1, value}, state, text);
}

void BoardLink::SendProbe(CmdStateCode state) {
  state_.SendLen = 0;
  state_.CmdState = state;
  SendFrame();
}

bool BoardLink::OpenPort(int portNo) {
  return port_.open(portNo);
}

void BoardLink::ClosePort() {
  if (port_.isOpen()) port_.close();
}

void BoardLink::OnReceived(std::span<const std::uint8_t> chunk) {
  if (chunk.empty()) return;
  auto& s = state_;
  bool overflow = false;
  if (static_cast<std::size_t>(s.RecvCount) + chunk.size() > s.RecvBuf.size()) {
    // What was received before is dropped; the chunk starts the buffer afresh, and a chunk that
    // is longer than the whole buffer keeps only what fits.
    overflow = true;
    s.RecvCount = 0;
  }
  const std::size_t room = s.RecvBuf.size() - static_cast<std::size_t>(s.RecvCount);
  const std::size_t n = std::min(chunk.size(), room);
  std::copy_n(chunk.begin(), n, s.RecvBuf.begin() + s.RecvCount);
  s.RecvCount = static_cast<std::int16_t>(s.RecvCount + n);
  if (overflow && !overflowShown_) {
    overflowShown_ = true;
    dialogs_.message(TEXT_OVERFLOW);
    overflowShown_ = false;
  }
  if (CheckFrame() && onReply_) onReply_();
}

bool BoardLink::CheckFrame() {
  const auto& s = state_;
  if (s.RecvCount != s.RecvBuf[protocol::REPLY_LENGTH] + static_cast<int>(protocol::FRAME_OVERHEAD))
    return false;
  const auto frame = std::span(s.RecvBuf).first(static_cast<std::size_t>(s.RecvCount));
  if (trace_) trace_(false, frame);
  if (FrameSum(frame.first(frame.size() - 1)) == frame.back()) return true;
  statusBar_.setPanel(StatusBar::LINK, TEXT_BAD_CHECKSUM);
  dialogs_.beep();
  return false;
}

}  // namespace rtceval
