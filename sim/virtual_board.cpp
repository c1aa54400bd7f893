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

std::size_t VirtualBoard::fromPc(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
  const std::int64_t nowUs = toUs(nowMs);
  // The firmware first takes what it could have taken by now, which frees room in the FIFO.
  advance(nowUs);
  const std::size_t room = kReceiveFifoBytes - std::min(receiveFifo_.size(), kReceiveFifoBytes);
  const std::size_t taken = std::min(room, bytes.size());
  const std::int64_t lineStartUs = std::max(nowUs, pcLineFreeUs_);
  for (std::size_t i = 0; i < taken; ++i) {
    receiveFifo_.push_back({lineStartUs + lineTimeUs(i + 1), bytes[i]});
  }
  if (taken > 0) pcLineFreeUs_ = receiveFifo_.back().arrivesUs;
  overrunBytes_ += bytes.size() - taken;
  return taken;
}

std::vector<std::vector<std::uint8_t>> VirtualBoard::toPc(std::int64_t nowMs) {
  const std::int64_t nowUs = toUs(nowMs);
  advance(nowUs);
  std::vector<std::vector<std::uint8_t>> delivered;
  while (!outbound_.empty() && outbound_.front().dueUs <= nowUs) {
    delivered.push_back(std::move(outbound_.front().bytes));
    outbound_.pop_front();
  }
  return delivered;
}

std::optional<std::int64_t> VirtualBoard::nextByteUs() const {
  if (receiveFifo_.empty()) return std::nullopt;
  return std::max(receiveFifo_.front().arrivesUs, busyUntilUs_);
}

void VirtualBoard::advance(std::int64_t nowUs) {
  // The firmware's events in their order of time: a byte taken from the FIFO, and the time-out of
  // a frame. Bytes go in one at a time, so a request that completes inside a burst keeps the
  // firmware busy before it looks at the next byte.
  for (;;) {
    const std::optional<std::int64_t> timeout = board_.deadline();
    const std::optional<std::int64_t> byteUs = nextByteUs();
    const bool byteDue = byteUs && *byteUs <= nowUs;
    const bool timeoutDue =
        timeout && toUs(*timeout) <= nowUs && (!byteUs || toUs(*timeout) <= *byteUs);
    if (timeoutDue) {
      if (auto reply = board_.poll(*timeout)) send(*reply, toUs(*timeout));
    } else if (byteDue) {
      const std::uint8_t value = receiveFifo_.front().value;
      receiveFifo_.pop_front();
      for (const BoardReply& reply : board_.receive({&value, 1}, toMsRoundingUp(*byteUs))) {
        send(reply, *byteUs);
      }
    } else {
      break;
    }
  }
}

void VirtualBoard::send(const BoardReply& reply, std::int64_t readyUs) {
  std::int64_t startUs = std::max(readyUs + reply.busTime.count(), boardLineFreeUs_);
  // A relay's delay holds the reply back on its way to the PC, not the board: pieces are kept in
  // the order they reach the PC even when the delay was shortened meanwhile.
  const std::int64_t relayUs = toUs(faults_.delayMs());
  for (std::vector<std::uint8_t>& piece : faults_.shape(reply.frame)) {
    startUs += lineTimeUs(piece.size());
    const Piece delayed{startUs + relayUs, std::move(piece)};
    const auto at =
        std::upper_bound(outbound_.begin(), outbound_.end(), delayed.dueUs,
                         [](std::int64_t due, const Piece& p) { return due < p.dueUs; });
    outbound_.insert(at, delayed);
  }
  boardLineFreeUs_ = startUs;
  busyUntilUs_ = startUs;
}

std::optional<std::int64_t> VirtualBoard::nextDue() const {
  std::optional<std::int64_t> due;
  const auto consider = [&due](std::int64_t ms) { due = due ? std::min(*due, ms) : ms; };
  if (const auto byteUs = nextByteUs()) consider(toMsRoundingUp(*byteUs));
  if (!outbound_.empty()) consider(toMsRoundingUp(outbound_.front().dueUs));
  if (const auto timeout = board_.deadline()) consider(*timeout);
  return due;
}

}  // namespace rtceval::sim
