#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/device_profile.h"
#include "platform/timer.h"

namespace rtceval::cli {

// The whole command line as a plain request: the global options, then the command with its
// arguments, already checked against the chip model.
struct CliOptions {
  std::optional<std::string> port;      // --port DEVICE or N; none: search ports 1 to 4
  std::optional<std::string> simulate;  // --simulate MODEL: the virtual board
  std::optional<std::string> ppm;       // --ppm X: its crystal error (the program checks it)
  const DeviceModel* model = nullptr;   // --model, or the simulated one
  bool json = false;
  bool trace = false;
  Millis timeout{1000};
  std::string commandName;
  std::unique_ptr<Command> command;
  // The parsed command line, which the command's arguments still refer to.
  std::shared_ptr<CLI::App> parser;
};

// What the command line asks for, or what to print and the exit status (help: 0; usage: 2).
struct ParsedCli {
  std::optional<CliOptions> options;
  int exitCode = 0;
  std::string out;  // the help text
  std::string err;  // the usage error
};

// Reads the command line (the program's name first).
ParsedCli parseCli(const std::vector<std::string>& arguments);

// The port number of --port N (1 to 4), or nothing when it names a device.
std::optional<int> portNumber(const std::string& port);

}  // namespace rtceval::cli
