#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "sim/chip/chip_profile.h"
#include "sim/virtual_board.h"

namespace rtceval::app {

// rtceval-cli's virtual board stays powered between runs, as a real board on the desk does: each
// run takes up the chip the last one left (its time run on meanwhile) and leaves it for the next.
// One file per chip model, in `folder`.
class KeptBoard {
 public:
  KeptBoard(Files& files, const std::string& folder, sim::ChipModel model);

  // Takes up the chip kept in the file, saved `pcNowMs - saved at` ago on the PC's clock
  // (milliseconds since 1970). Returns a line for standard error when there was a file that
  // could not be taken up (the chip then starts fresh), else nothing.
  std::string resume(sim::VirtualBoard& board, std::int64_t pcNowMs, std::int64_t boardNowMs) const;
  // Keeps the chip for the next run; a line for standard error when it could not be kept.
  std::string keep(sim::VirtualBoard& board, std::int64_t pcNowMs, std::int64_t boardNowMs);

  const std::string& path() const { return path_; }

 private:
  Files& files_;
  std::string path_;
  sim::ChipModel model_;
};

// The folder of the kept boards: $XDG_STATE_HOME/rtceval, or ~/.local/state/rtceval.
std::string keptBoardFolder(const char* xdgStateHome, const char* home);

}  // namespace rtceval::app
