#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/virtual_board.h"

namespace rtceval::sim {

// The board's control channel: the things a developer does to the board with a hand on it, one
// command a line — `event`, `battery on`, `battery off`, `powerfail`,
// `fault drop|corrupt|stall|split N|off`, `dump`, `help`. Returns the text to show in answer
// (never empty; it ends with a newline).
std::string runControlCommand(std::string_view line, VirtualBoard& board, std::int64_t nowMs);

// Every register of the chip as a read would see it, with the clock and status spelt out.
std::string dumpRegisters(const RtcChip& chip);

}  // namespace rtceval::sim
