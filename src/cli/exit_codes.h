#pragma once

namespace rtceval::cli {

// The command-line program's exit status, the same for every command.
enum ExitCode : int {
  kDone = 0,           // done, and verified where the command verifies
  kRefused = 1,        // the board or the chip refused; the board's status text went to stderr
  kUsage = 2,          // the command line is wrong; nothing was sent
  kNoBoard = 3,        // no board found, or no reply
  kDiffers = 4,        // what was read back differs from what was written
  kInterrupted = 130,  // stopped by Ctrl+C (SIGINT) or another request to end
};

}  // namespace rtceval::cli
