#pragma once

#include <memory>

#include "cli/command.h"

namespace rtceval::cli {

// Each command's maker, defined in the command's own file and named in the table of commands.cpp.
std::unique_ptr<Command> makeProbeCommand();
std::unique_ptr<Command> makeTimeCommand();
std::unique_ptr<Command> makeRegCommand();
std::unique_ptr<Command> makeAlarmCommand();
std::unique_ptr<Command> makeEepromCommand();
std::unique_ptr<Command> makeUserCommand();
std::unique_ptr<Command> makeSnapshotCommand();
std::unique_ptr<Command> makeAccuracyCommand();
std::unique_ptr<Command> makeWatchCommand();

}  // namespace rtceval::cli
