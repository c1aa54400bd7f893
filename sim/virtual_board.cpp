#include "sim/virtual_board.h"

#include <algorithm>

namespace rtceval::sim {

namespace {
constexpr std::int64_t kBaud = 19200;
constexpr std::int64_t kBitsPerByte = 10;  // start, 8 data, stop

std::int64_t toUs(std::int64_t ms) {
  return ms * 1000;
}
std::int64_t toMsRoundingUp(std::int64_t us) {
  return (us + 999) / 1000;
}
}  // namespace

VirtualBoard::VirtualBoard(ChipModel model, const ClockFields& start, std::int64_t nowMs)
    : chip_(model, start, nowMs), board_(chip_) {}

std::int64_t VirtualBoard::lineTimeUs(std::size_t bytes) {
  return static_cast<std::int64_t>(bytes) * kBitsPerByte * 1'000'000 / kBaud;
}

void VirtualBoard::fromPc(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
  if (bytes.empty()) return;
  const std::int64_t arrives = std::max(toUs(nowMs), pcLineFreeUs_) + lineTimeUs(bytes.size());
  pcLineFreeUs_ = arrives;
  inbound_.push_back({arrives, {bytes.begin(), bytes.end()}});
}

std::vector<std::vector<std::uint8_t>> VirtualBoard::toPc(std::int64_t nowMs) {
  const std::int64_t nowUs = toUs(nowMs);
  // The board's events in their order of time: bytes that came in, and the time-out of a frame.
  for (;;) {
    const std::optional<std::int64_t> timeout = board_.deadline();
    const bool inboundDue = !inbound_.empty() && inbound_.front().dueUs <= nowUs;
    const bool timeoutDue = timeout && toUs(*timeout) <= nowUs &&
                            (inbound_.empty() || toUs(*timeout) <= inbound_.front().dueUs);
    if (timeoutDue) {
      if (auto reply = board_.poll(*timeout)) send(*reply, toUs(*timeout));
    } else if (inboundDue) {
      const Piece piece = std::move(inbound_.front());
      inbound_.pop_front();
      const std::int64_t atMs = toMsRoundingUp(piece.dueUs);
      for (const BoardReply& reply : board_.receive(piece.bytes, atMs)) send(reply, piece.dueUs);
    } else {
      break;
    }
  }
  std::vector<std::vector<std::uint8_t>> delivered;
  while (!outbound_.empty() && outbound_.front().dueUs <= nowUs) {
    delivered.push_back(std::move(outbound_.front().bytes));
    outbound_.pop_front();
  }
  return delivered;
}

void VirtualBoard::send(const BoardReply& reply, std::int64_t readyUs) {
  std::int64_t startUs = std::max(readyUs + reply.busTime.count(), boardLineFreeUs_);
  for (std::vector<std::uint8_t>& piece : faults_.shape(reply.frame)) {
    startUs += lineTimeUs(piece.size());
    outbound_.push_back({startUs, std::move(piece)});
  }
  boardLineFreeUs_ = startUs;
}

std::optional<std::int64_t> VirtualBoard::nextDue() const {
  std::optional<std::int64_t> due;
  const auto consider = [&due](std::int64_t ms) { due = due ? std::min(*due, ms) : ms; };
  if (!inbound_.empty()) consider(toMsRoundingUp(inbound_.front().dueUs));
  if (!outbound_.empty()) consider(toMsRoundingUp(outbound_.front().dueUs));
  if (const auto timeout = board_.deadline()) consider(*timeout);
  return due;
}

}  // namespace rtceval::sim
