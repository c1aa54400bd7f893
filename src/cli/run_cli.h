#pragma once

#include "cli/cli_options.h"
#include "cli/session.h"

namespace rtceval::cli {

// Reads the command's files, connects (the port of --port, the virtual board's, or the search over
// ports 1 to 4) and runs the command; the exit status.
int runCommand(const CliOptions& options, Session& session, int portNo);

}  // namespace rtceval::cli
