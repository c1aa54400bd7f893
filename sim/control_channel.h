#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/virtual_board.h"

namespace rtceval::sim {

// The board's control channel: the things a developer does to the board with a hand on it, one
// command a line — `event`, `battery on`, `battery off`, `powerfail`,
// `fault drop|corrupt|stall|split N|off`, `ppm X`, `dump`, `help`. Returns the text to show in
// answer (never empty; it ends with a newline). Every byte of `line` counts, a NUL included; the
// answer shows control bytes of the line as \xNN.
std::string runControlCommand(std::string_view line, VirtualBoard& board, std::int64_t nowMs);

// Every register of the chip as a read would see it, with the clock and status spelt out.
std::string dumpRegisters(const RtcChip& chip);

// Cuts the bytes of the command input, as they are read, into command lines for
// `runControlCommand`. A line longer than `kMaxLineBytes` is answered once, as soon as it is too
// long, and discarded up to its newline; so the channel never holds more than one line's worth,
// and each byte read is looked at once.
class ControlChannel {
 public:
  static constexpr std::size_t kMaxLineBytes = 4096;

  // The commands of the process the board runs in (unplugging its line, say): answers a line
  // that is one of them, and gives "" for a line that is a board command.
  using OwnCommands = std::function<std::string(std::string_view line)>;

  explicit ControlChannel(VirtualBoard& board) : board_(board) {}

  // Lines are offered to `commands` before the board sees them.
  void setOwnCommands(OwnCommands commands) { own_ = std::move(commands); }

  // Takes the next bytes read at `nowMs`; returns the answers to the lines they complete (empty
  // when they complete none).
  std::string take(std::string_view bytes, std::int64_t nowMs);

  // Bytes of an unfinished line held for the next read.
  std::size_t heldBytes() const { return line_.size(); }

 private:
  VirtualBoard& board_;
  OwnCommands own_;
  std::string line_;
  bool discarding_ = false;
};

}  // namespace rtceval::sim
