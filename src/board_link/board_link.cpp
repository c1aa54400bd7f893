#include "board_link/board_link.h"

#include <algorithm>
#include <chrono>

#include "board_link/frame_codec.h"
#include "core/device_profile.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kResponseTimeout = 2000ms;
constexpr std::string_view kTextBadChecksum = "帧和校验错";
}  // namespace

BoardLink::BoardLink(SerialPort& port, TimerFactory& timers, const DeviceProfile& profile)
    : port_(port), profile_(profile), responseTimeout_(timers.createTimer()) {
  responseTimeout_->setInterval(kResponseTimeout);
  responseTimeout_->setTickHandler([this] { onTimeout(); });
}

BoardLink::~BoardLink() = default;

void BoardLink::report(const LinkEvent& event) {
  if (listener_) listener_(event);
}

void BoardLink::SendFrame() {
  if (profile_.Is1208Family) sendBuf_[protocol::kPayloadAddrHigh] = protocol::kAddrHigh1208;
  const auto frame = buildRequestFrame(std::span(sendBuf_).first(sendLen_), profile_.Is1208Family);
  if (trace_) trace_(true, frame);
  // Like the board's own serial control, a closed or vanished port simply loses the frame.
  (void)port_.write(frame);
  recvCount_ = 0;
}

void BoardLink::request(std::span<const std::uint8_t> payload, CmdStateCode state,
                        std::string_view text) {
  sendLen_ = std::min(payload.size(), sendBuf_.size());
  std::copy_n(payload.begin(), sendLen_, sendBuf_.begin());
  SendFrame();
  responseTimeout_->setEnabled(true);
  cmdState_ = state;
  showStatus(text);
}

void BoardLink::request(std::initializer_list<std::uint8_t> payload, CmdStateCode state,
                        std::string_view text) {
  request(std::span<const std::uint8_t>(payload.begin(), payload.size()), state, text);
}

void BoardLink::ReadReg(std::uint8_t address, CmdStateCode state, std::string_view text) {
  request({protocol::CMD_READ, protocol::DEV_CCR, 0x00, address, 1}, state, text);
}

void BoardLink::WriteReg(std::uint8_t address, std::uint8_t value, CmdStateCode state,
                         std::string_view text) {
  request({protocol::CMD_WRITE, protocol::DEV_CCR, 0x00, address, 1, value}, state, text);
}

void BoardLink::sendProbe(CmdStateCode state) {
  sendLen_ = 0;
  cmdState_ = state;
  SendFrame();
}

void BoardLink::markPortOpened() {
  cmdState_ = StPortOpened;
}

void BoardLink::showStatus(std::string_view text) {
  report({LinkEvent::Kind::Status, text});
}

bool BoardLink::openPort(int portNo) {
  return port_.open(portNo) && port_.isOpen();
}

void BoardLink::closePort() {
  if (port_.isOpen()) port_.close();
}

bool BoardLink::isPortOpen() const {
  return port_.isOpen();
}

std::string BoardLink::deviceName(int portNo) const {
  return port_.deviceName(portNo);
}

bool BoardLink::awaitingReply() const {
  return responseTimeout_->isEnabled();
}

void BoardLink::stopResponseTimeout() {
  responseTimeout_->setEnabled(false);
}

void BoardLink::onReceived(std::span<const std::uint8_t> chunk) {
  if (chunk.empty()) return;
  bool overflow = false;
  if (recvCount_ + chunk.size() > recvBuf_.size()) {
    // What was received before is dropped; the chunk starts the buffer afresh, and a chunk that
    // is longer than the whole buffer keeps only what fits.
    overflow = true;
    recvCount_ = 0;
  }
  const std::size_t n = std::min(chunk.size(), recvBuf_.size() - recvCount_);
  std::copy_n(chunk.begin(), n, recvBuf_.begin() + static_cast<std::ptrdiff_t>(recvCount_));
  recvCount_ += n;
  if (overflow && !overflowShown_) {
    overflowShown_ = true;
    report({LinkEvent::Kind::Overflow});
    overflowShown_ = false;
  }
  const std::size_t expected = recvBuf_[protocol::kReplyLength] + protocol::kFrameOverhead;
  if (recvCount_ != expected) return;
  if (trace_) trace_(false, std::span<const std::uint8_t>(recvBuf_).first(recvCount_));
  if (!CheckFrame()) {
    report({LinkEvent::Kind::FrameError, kTextBadChecksum});
    return;
  }
  // The reply is taken: the next byte starts a new one, and the time-out is over. The listener
  // reads a copy, so bytes that arrive while it runs (behind a message box) cannot change it.
  std::array<std::uint8_t, protocol::kRecvBufSize> reply;
  std::copy_n(recvBuf_.begin(), recvCount_, reply.begin());
  const auto frame = std::span<const std::uint8_t>(reply).first(recvCount_);
  recvCount_ = 0;
  responseTimeout_->setEnabled(false);
  report({LinkEvent::Kind::Reply, {}, cmdState_, frame});
}

bool BoardLink::CheckFrame() const {
  const auto frame = std::span<const std::uint8_t>(recvBuf_).first(recvCount_);
  return frameSum(frame.first(frame.size() - 1)) == frame.back();
}

void BoardLink::onTimeout() {
  // Stopped before the owner asks anything: the question is modal, and a reply or a newer
  // request that arrives meanwhile must not have its bytes dropped when it closes.
  responseTimeout_->setEnabled(false);
  recvCount_ = 0;
  report({LinkEvent::Kind::Timeout});
}

}  // namespace rtceval
