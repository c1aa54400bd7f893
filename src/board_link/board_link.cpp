#include "board_link/board_link.h"

#include <algorithm>
#include <chrono>

#include "board_link/frame_codec.h"
#include "board_link/frame_fault_texts.h"
#include "core/device_profile.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kResponseTimeout = 2000ms;
// The search probe's answer is due within one tick of the main timer.
constexpr Millis kProbeTimeout = 200ms;
constexpr std::size_t kMaxGivenUp = 4;
}  // namespace

BoardLink::BoardLink(SerialPort& port, TimerFactory& timers, const DeviceProfile& profile)
    : port_(port),
      profile_(profile),
      responseTimeout_(timers.createTimer()),
      replyDue_(timers.createTimer()) {
  responseTimeout_->setInterval(kResponseTimeout);
  responseTimeout_->setTickHandler([this] { onTimeout(); });
  replyDue_->setTickHandler([this] { replyOver(); });
}

BoardLink::~BoardLink() = default;

void BoardLink::report(const LinkEvent& event) {
  if (listener_) listener_(event);
}

int BoardLink::addFrameObserver(FrameObserver observer) {
  const int id = nextObserverId_++;
  observers_.emplace_back(id, std::move(observer));
  return id;
}

void BoardLink::removeFrameObserver(int id) {
  // Emptied rather than erased: the list may be being walked right now.
  for (auto& [i, observer] : observers_)
    if (i == id) observer = nullptr;
}

void BoardLink::observe(LineFrame::Kind kind, std::span<const std::uint8_t> bytes) {
  if (observers_.empty() || bytes.empty()) return;
  const LineFrame frame{kind, bytes};
  // Indexed: an observer added while the others are told hears from the next frame on. The
  // removed ones leave the list only when no telling is under way (an observer may make the
  // link send, and so be told again from within).
  const std::size_t n = observers_.size();
  ++telling_;
  for (std::size_t i = 0; i < n; ++i)
    if (observers_[i].second) observers_[i].second(frame);
  if (--telling_ == 0) std::erase_if(observers_, [](const auto& o) { return !o.second; });
}

void BoardLink::dropReceived() {
  const auto received = std::span<const std::uint8_t>(recvBuf_).first(recvCount_);
  observe(LineFrame::Kind::Stray, received.subspan(std::min(shownAsFrame_, recvCount_)));
  recvCount_ = 0;
  shownAsFrame_ = 0;
}

void BoardLink::SendFrame() {
  if (profile_.Is1208Family) sendBuf_[protocol::kPayloadAddrHigh] = protocol::kAddrHigh1208;
  const auto frame = buildRequestFrame(std::span(sendBuf_).first(sendLen_), profile_.Is1208Family);
  // Whatever came in since the last reply was not one: it is given up before this frame goes out.
  dropReceived();
  observe(LineFrame::Kind::Sent, frame);
  // Like the board's own serial control, a closed or vanished port simply loses the frame.
  (void)port_.write(frame);
}

namespace {

// Whether a complete reply can be the answer to a request of this shape. A board error answers
// any request; a success status only a write.
bool fits(std::span<const std::uint8_t> frame, bool data, std::uint8_t count) {
  const std::uint8_t flag = frame[protocol::kReplyFlag];
  const std::uint8_t n = frame[protocol::kReplyLength];
  if (flag == protocol::kFlagStatus && n == 1)
    return frame[protocol::kReplyData] != protocol::kStatusOk || !data;
  return flag == protocol::kFlagData && data && n == count;
}

}  // namespace

RequestTicket BoardLink::submit(Pending request) {
  if (replyDue_->isEnabled() || !waiting_.empty()) {
    // A read that repeats one already waiting would only read the same again.
    const bool read = request.length > 0 && request.payload[0] == protocol::CMD_READ;
    for (const Pending& w : waiting_) {
      if (read && w.state == request.state && w.length == request.length &&
          w.payload == request.payload)
        return w.ticket;
    }
    request.ticket = ++lastTicket_;
    waiting_.push_back(std::move(request));
    return waiting_.back().ticket;
  }
  request.ticket = ++lastTicket_;
  send(request);
  return request.ticket;
}

void BoardLink::send(const Pending& request) {
  sendLen_ = request.length;
  std::copy_n(request.payload.begin(), request.length, sendBuf_.begin());
  SendFrame();
  ticketOnLine_ = request.ticket;
  const auto payload = std::span<const std::uint8_t>(request.payload).first(request.length);
  const bool probe = payload.empty();
  onLineShape_ = {};
  onLineShape_.probe = probe;
  onLineOwed_ = true;
  if (payload.size() > protocol::kPayloadCount) {
    onLineShape_.data = payload[protocol::kPayloadCmd] == protocol::CMD_READ;
    onLineShape_.count = onLineShape_.data ? payload[protocol::kPayloadCount] : 1;
  }
  replyDue_->setEnabled(false);
  replyDue_->setInterval(probe ? kProbeTimeout : kResponseTimeout);
  replyDue_->setEnabled(true);
  if (request.quiet) {
    cmdState_ = request.state;
    return;
  }
  // Each request has its own time-out: the one before it was answered or given up.
  responseTimeout_->setEnabled(false);
  responseTimeout_->setEnabled(true);
  cmdState_ = request.state;
  report({LinkEvent::Kind::Progress, request.text});
}

void BoardLink::sendWaiting() {
  // Each send may be followed by another request from inside the listener; the line takes one.
  if (replyDue_->isEnabled() || waiting_.empty()) return;
  Pending next = std::move(waiting_.front());
  waiting_.pop_front();
  send(next);
}

void BoardLink::replyOver() {
  giveUp();
  sendWaiting();
}

void BoardLink::giveUp() {
  if (!replyDue_->isEnabled()) return;
  answered();
  if (!onLineOwed_) return;
  givenUp_.push_back(onLineShape_);
  if (givenUp_.size() > kMaxGivenUp) givenUp_.pop_front();
}

void BoardLink::answered() {
  replyDue_->setEnabled(false);
}

bool BoardLink::takeLate() {
  if (givenUp_.empty()) return false;
  const auto frame = std::span<const std::uint8_t>(recvBuf_).first(recvCount_);
  // A reply that can be the request on the line's own is taken as its own.
  if (replyDue_->isEnabled() && fits(frame, onLineShape_.data, onLineShape_.count)) return false;
  const auto owed = std::find_if(givenUp_.begin(), givenUp_.end(),
                                 [&](const ReplyShape& s) { return fits(frame, s.data, s.count); });
  if (owed == givenUp_.end()) return false;
  // A probe's answer says no more than that the board is there: while a probe is the last request
  // sent, it is that probe's, however late.
  const bool late = !(owed->probe && onLineShape_.probe);
  givenUp_.erase(owed);
  return late;
}

void BoardLink::forgetLine() {
  // Nothing sent on the line before can be answered on the one opened now.
  givenUp_.clear();
  onLineOwed_ = false;
}

void BoardLink::discardReply() {
  dropReceived();
  giveUp();
}

void BoardLink::withdrawWaiting(CmdStateCode state) {
  std::erase_if(waiting_, [&](const Pending& w) { return w.state == state; });
}

RequestTicket BoardLink::request(const Request& r) {
  Pending p;
  p.length = std::min(r.payload.size(), p.payload.size());
  std::copy_n(r.payload.begin(), p.length, p.payload.begin());
  p.state = r.state;
  p.text = std::string(r.text);
  return submit(std::move(p));
}

RequestTicket BoardLink::requestQuietly(const Request& r) {
  Pending p;
  p.length = std::min(r.payload.size(), p.payload.size());
  std::copy_n(r.payload.begin(), p.length, p.payload.begin());
  p.state = r.state;
  p.quiet = true;
  return submit(std::move(p));
}

void BoardLink::markPortOpened() {
  cmdState_ = StPortOpened;
}

void BoardLink::showStatus(std::string_view text) {
  report({LinkEvent::Kind::Status, text});
}

bool BoardLink::openPort(int portNo) {
  forgetLine();
  if (!port_.open(portNo) || !port_.isOpen()) return false;
  openedPortNo_ = portNo;
  return true;
}

bool BoardLink::openInstead(int portNo) {
  // The working port is let go only once the new one is open: a failure loses neither the board
  // nor a reply on its way.
  if (!port_.switchTo(portNo) || !port_.isOpen()) return false;
  forgetLine();
  openedPortNo_ = portNo;
  return true;
}

void BoardLink::closePort() {
  forgetLine();
  if (port_.isOpen()) port_.close();
}

bool BoardLink::isPortOpen() const {
  return port_.isOpen();
}

std::string BoardLink::deviceName(int portNo) const {
  return port_.deviceName(portNo);
}

bool BoardLink::lineFree() const {
  return !replyDue_->isEnabled() && waiting_.empty();
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
    dropReceived();
  }
  const std::size_t n = std::min(chunk.size(), recvBuf_.size() - recvCount_);
  if (n < chunk.size()) observe(LineFrame::Kind::Stray, chunk.subspan(n));
  std::copy_n(chunk.begin(), n, recvBuf_.begin() + static_cast<std::ptrdiff_t>(recvCount_));
  recvCount_ += n;
  if (overflow && !overflowShown_) {
    overflowShown_ = true;
    report({LinkEvent::Kind::Overflow});
    overflowShown_ = false;
  }
  const std::size_t expected = recvBuf_[protocol::kReplyLength] + protocol::kFrameOverhead;
  if (recvCount_ != expected) return;
  const auto received = std::span<const std::uint8_t>(recvBuf_).first(recvCount_);
  const bool good = CheckFrame();
  if (good && takeLate()) {
    // The answer to a request given up before: it says nothing about the one on the line.
    observe(LineFrame::Kind::Late, received);
    recvCount_ = 0;
    shownAsFrame_ = 0;
    return;
  }
  observe(LineFrame::Kind::Received, received);
  if (!good) {
    // The bad frame stays in the buffer until the next request; only what follows it is stray.
    shownAsFrame_ = recvCount_;
    report({LinkEvent::Kind::FrameError, kTextBadChecksum});
    answered();
    sendWaiting();
    return;
  }
  // The reply is taken: the next byte starts a new one, and the time-out is over. The listener
  // reads a copy, so bytes that arrive while it runs (behind a message box) cannot change it.
  std::array<std::uint8_t, protocol::kRecvBufSize> reply;
  std::copy_n(recvBuf_.begin(), recvCount_, reply.begin());
  const auto frame = std::span<const std::uint8_t>(reply).first(recvCount_);
  recvCount_ = 0;
  shownAsFrame_ = 0;
  responseTimeout_->setEnabled(false);
  answered();
  report({LinkEvent::Kind::Reply, {}, cmdState_, frame, ticketOnLine_});
  sendWaiting();
}

bool BoardLink::CheckFrame() const {
  const auto frame = std::span<const std::uint8_t>(recvBuf_).first(recvCount_);
  return frameSum(frame.first(frame.size() - 1)) == frame.back();
}

void BoardLink::onTimeout() {
  // Stopped before the owner asks anything: the question is modal, and a reply or a newer
  // request that arrives meanwhile must not have its bytes dropped when it closes.
  responseTimeout_->setEnabled(false);
  dropReceived();
  // The request is given up before anyone is told: whatever waits goes out now, and keeps going
  // out while the question stands.
  const CmdStateCode state = cmdState_;
  const RequestTicket ticket = ticketOnLine_;
  giveUp();
  sendWaiting();
  report({LinkEvent::Kind::Timeout, {}, state, {}, ticket});
}

}  // namespace rtceval
