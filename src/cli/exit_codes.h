#pragma once

namespace rtceval::cli {

// The command-line program's exit status, the same for every command.
inline constexpr int kDone = 0;     // done, and verified where the command verifies
inline constexpr int kRefused = 1;  // the board or the chip refused; its status on stderr
inline constexpr int kUsage = 2;    // the command line is wrong; nothing was sent
inline constexpr int kNoBoard = 3;  // no board found, or no reply
inline constexpr int kDiffers = 4;  // what was read back differs from what was written
// asked to apply a result the measurement could not yet support: nothing was written
inline constexpr int kNotApplied = 5;
inline constexpr int kInterrupted = 130;  // stopped by Ctrl+C (SIGINT) or another request to end

}  // namespace rtceval::cli
