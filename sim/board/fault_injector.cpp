#include "sim/board/fault_injector.h"

#include <algorithm>

namespace rtceval::sim {

void FaultInjector::set(ReplyFault fault, std::size_t pieceSize) {
  fault_ = fault;
  pieceSize_ = std::max<std::size_t>(pieceSize, 1);
}

std::vector<std::vector<std::uint8_t>> FaultInjector::shape(std::vector<std::uint8_t> reply) const {
  switch (fault_) {
    case ReplyFault::None:
      break;
    case ReplyFault::Drop:
      if (!reply.empty()) reply.pop_back();
      break;
    case ReplyFault::Corrupt:
      if (!reply.empty()) reply.back() = static_cast<std::uint8_t>(reply.back() + 1);
      break;
    case ReplyFault::Stall:
      return {};
    case ReplyFault::Split: {
      std::vector<std::vector<std::uint8_t>> pieces;
      for (std::size_t i = 0; i < reply.size(); i += pieceSize_) {
        const std::size_t end = std::min(reply.size(), i + pieceSize_);
        pieces.emplace_back(reply.begin() + static_cast<std::ptrdiff_t>(i),
                            reply.begin() + static_cast<std::ptrdiff_t>(end));
      }
      return pieces;
    }
  }
  if (reply.empty()) return {};
  return {std::move(reply)};
}

}  // namespace rtceval::sim
