#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rtceval::sim {

// Line faults that a developer switches on to see how the program copes with a poor connection.
// A fault stays on for every following reply until it is switched off.
enum class ReplyFault {
  None,
  Drop,     // the reply loses its last byte
  Corrupt,  // the reply's checksum is wrong
  Stall,    // the reply is never sent
  Split,    // the reply arrives in pieces of a few bytes
};

class FaultInjector {
 public:
  // `pieceSize` counts for Split only; a size of 0 is taken as 1.
  void set(ReplyFault fault, std::size_t pieceSize = 1);
  ReplyFault fault() const { return fault_; }
  // A relay on the line (a network or radio serial link, a loaded USB adapter) that hands each
  // reply to the PC this many milliseconds late; the board itself is not held up. Independent of
  // the fault, and 0 until set.
  void setDelayMs(std::int64_t ms) { delayMs_ = ms < 0 ? 0 : ms; }
  std::int64_t delayMs() const { return delayMs_; }

  // The pieces in which a reply goes out on the line; none when it is held back.
  std::vector<std::vector<std::uint8_t>> shape(std::vector<std::uint8_t> reply) const;

 private:
  ReplyFault fault_ = ReplyFault::None;
  std::size_t pieceSize_ = 1;
  std::int64_t delayMs_ = 0;
};

}  // namespace rtceval::sim
