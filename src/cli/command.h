#pragma once

#include <memory>
#include <span>
#include <string>

// The command-line library keeps its own name.
namespace CLI {  // NOLINT(readability-identifier-naming)
class App;
}  // namespace CLI

namespace rtceval {
class Files;
struct DeviceProfile;
}  // namespace rtceval

namespace rtceval::cli {

class Output;
class Session;

// One command of the command-line program (probe, time, reg, ...): its arguments, their check
// against the chip model before anything is sent, and its run on a connected session.
class Command {
 public:
  virtual ~Command() = default;
  // Declares the command's arguments and its own subcommands on `app`.
  virtual void define(CLI::App& app) = 0;
  // The usage error of the given arguments for the model (exit 2, nothing sent), "" when fine.
  virtual std::string check(const DeviceProfile& profile) = 0;
  // Reads the files the command works from before the board is touched, so that a file refused
  // (unreadable, of another model, values the chip cannot hold) sends nothing: 0, or the exit
  // status with the reason said on `out`.
  virtual int prepare(Files& /*files*/, Output& /*out*/) { return 0; }
  // Runs on the connected board and returns the exit status.
  virtual int run(Session& session) = 0;
};

// A row of the command table: adding a command is one file and one row.
struct CommandEntry {
  const char* name;
  const char* description;
  std::unique_ptr<Command> (*make)();
};

std::span<const CommandEntry> commandTable();

}  // namespace rtceval::cli
