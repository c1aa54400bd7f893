#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/exit_codes.h"
#include "platform/serial_port.h"

namespace rtceval::cli {
namespace {

std::string modelNames() {
  std::string names;
  for (const DeviceModel& m : deviceModels())
    names += std::string(names.empty() ? "" : ", ") + m.name;
  return names;
}

ParsedCli usage(const std::string& text) {
  return {std::nullopt,
          kUsage,
          {},
          "rtceval-cli: " + text + "\nRun with --help for more information.\n"};
}

}  // namespace

std::optional<int> portNumber(const std::string& port) {
  if (port.size() != 1 || port[0] < '0' + kFirstPort || port[0] > '0' + kLastPort)
    return std::nullopt;
  return port[0] - '0';
}

ParsedCli parseCli(const std::vector<std::string>& arguments) {
  const auto parser = std::make_shared<CLI::App>(
      "Every chip operation of the RTC evaluation board from the command line.", "rtceval-cli");
  CLI::App& app = *parser;
  app.footer(
      "Exit status: 0 done (and verified), 1 the board or chip refused, 2 usage error, 3 no board "
      "found or no reply, 4 the read-back differs from what was written, 5 accuracy --apply had no "
      "advice to apply "
      "(nothing written), 130 interrupted.");
  app.set_version_flag("--version", std::string(RTCEVAL_VERSION));
  CliOptions options;
  std::string model;
  long timeoutMs = options.timeout.count();
  app.add_option("--port", options.port, "The board's serial port: a device or 1 to 4")
      ->option_text("DEVICE|N");
  app.add_option("--simulate", options.simulate,
                 "A virtual board with this chip: " + modelNames() +
                     ". The board stays powered between runs: its chip keeps its time, "
                     "registers and EEPROM in $XDG_STATE_HOME/rtceval (delete the file there "
                     "for a chip fresh from power-up)")
      ->option_text("MODEL");
  app.add_option("--ppm", options.ppm, "With --simulate: the virtual crystal's error in ppm")
      ->option_text("X");
  app.add_option("--model", model, "The chip on the board: " + modelNames())->option_text("MODEL");
  app.add_flag("--json", options.json, "One JSON object per result (JSON Lines for watch)");
  app.add_flag("--trace", options.trace, "Every frame sent and received, in hex, on stderr");
  app.add_option("--timeout", timeoutMs, "How long to wait for each reply")
      ->option_text("MS")
      ->check(CLI::Range(10L, 60000L));
  app.require_subcommand(1);
  // The global options may also follow the command, as scripts often put them.
  app.fallthrough();

  std::vector<std::pair<const CommandEntry*, std::unique_ptr<Command>>> commands;
  for (const CommandEntry& entry : commandTable()) {
    auto command = entry.make();
    command->define(*app.add_subcommand(entry.name, entry.description));
    commands.emplace_back(&entry, std::move(command));
  }

  std::vector<std::string> reversed(arguments.begin() + (arguments.empty() ? 0 : 1),
                                    arguments.end());
  std::reverse(reversed.begin(), reversed.end());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {std::nullopt, kDone, app.help(), {}};
  } catch (const CLI::CallForAllHelp&) {
    return {std::nullopt, kDone, app.help("", CLI::AppFormatMode::All), {}};
  } catch (const CLI::CallForVersion&) {
    return {std::nullopt, kDone, "rtceval-cli " RTCEVAL_VERSION "\n", {}};
  } catch (const CLI::ParseError& e) {
    return usage(e.what());
  }

  if (model.empty() && options.simulate) model = *options.simulate;
  if (model.empty()) return usage("--model is required (" + modelNames() + ")");
  options.model = findDeviceModel(model);
  if (!options.model) return usage("unknown model '" + model + "' (" + modelNames() + ")");
  if (options.simulate && !findDeviceModel(*options.simulate))
    return usage("unknown model '" + *options.simulate + "' for --simulate");
  if (options.simulate && options.port) return usage("--port and --simulate exclude each other");
  if (options.ppm && !options.simulate) return usage("--ppm needs --simulate");
  options.timeout = Millis(timeoutMs);

  for (auto& [entry, command] : commands) {
    if (!app.got_subcommand(entry->name)) continue;
    const std::string refusal = command->check(options.model->profile);
    if (!refusal.empty()) return usage(refusal);
    options.commandName = entry->name;
    options.command = std::move(command);
    options.parser = parser;
  }
  return {std::move(options), kDone, {}, {}};
}

}  // namespace rtceval::cli
