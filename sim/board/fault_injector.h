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

  // The pieces in which a reply goes out on the line; none when it is held back.
  std::vector<std::vector<std::uint8_t>> shape(std::vector<std::uint8_t> reply) const;

 private:
  ReplyFault fault_ = ReplyFault::None;
  std::size_t pieceSize_ = 1;
};

}  // namespace rtceval::sim
