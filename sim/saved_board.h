#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/chip/chip_profile.h"
#include "sim/chip/rtc_chip.h"

namespace rtceval::sim {

// A virtual board's chip as it was when a program let go of it, and when that was on the PC's
// clock (milliseconds since 1970), so that the next run takes up the same chip.
struct SavedBoard {
  ChipModel model = ChipModel::X1226;
  RtcChip::Saved chip;
  std::int64_t savedAtMs = 0;
};

// The saved board as a small text of named lines, the bytes in hexadecimal.
std::string savedBoardText(const SavedBoard& board);

// Reads what savedBoardText wrote; nothing for a text that is damaged in any way, so that a bad
// file starts a fresh chip rather than a half-restored one.
std::optional<SavedBoard> readSavedBoard(std::string_view text);

}  // namespace rtceval::sim
