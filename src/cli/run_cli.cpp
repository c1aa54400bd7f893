#include "cli/run_cli.h"

#include "cli/exit_codes.h"

namespace rtceval::cli {

int runCommand(const CliOptions& options, Session& session, int portNo) {
  if (const int prepared = options.command->prepare(session.seams().files, session.out());
      prepared != kDone)
    return prepared;
  if (const int connected = session.connect(portNo); connected != kDone) return connected;
  return options.command->run(session);
}

}  // namespace rtceval::cli
