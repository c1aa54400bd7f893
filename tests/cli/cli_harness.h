#pragma once

// The command-line program's logic on the in-process virtual board and the virtual clock: the
// same parse and session as rtceval-cli, time moving only as the session waits.
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "board_link/board_link.h"
#include "cli/cli_options.h"
#include "cli/run_cli.h"
#include "cli/session.h"
#include "fake_desktop.h"
#include "platform/event_pump.h"
#include "platform/pc_clock.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval::testing {

// Advances the virtual clock a millisecond at a time until the condition holds; an hour of
// virtual time without it is a hung command.
class VirtualPump : public EventPump {
 public:
  explicit VirtualPump(VirtualClock& clock) : clock_(clock) {}
  void runUntil(const std::function<bool()>& done) override {
    for (int ms = 0; !done(); ++ms) {
      if (ms > 3'600'000) throw std::runtime_error("the command waits for ever");
      if (onTick && onTick(clock_.now())) continue;
      clock_.advance(Millis(1));
    }
  }
  // Runs before each millisecond; true stops the clock for this turn (an interruption, say).
  std::function<bool(std::int64_t)> onTick;

 private:
  VirtualClock& clock_;
};

// The PC's clock on the virtual time base: `start` ms of the day at virtual time 0.
class VirtualPcClock : public PcClock {
 public:
  VirtualPcClock(const VirtualClock& clock, int startMsOfDay)
      : clock_(clock), start_(startMsOfDay) {}
  PcDate today() const override { return {2026, 12, 8, 2}; }
  std::string timeOfDayText() const override { return {}; }
  PcInstant now() const override { return {clock_.now(), static_cast<int>(start_ + clock_.now())}; }

 private:
  const VirtualClock& clock_;
  int start_;
};

struct CliRun {
  int exitCode = 0;
  std::string out;
  std::string err;
  std::vector<std::vector<std::uint8_t>> sent;  // the frames on the wire, in order
};

// One board for several runs, as one board on the desk takes several commands.
struct CliBench {
  explicit CliBench(sim::ChipModel chip, const sim::CivilTime& start = {2026, 12, 8, 1, 2, 3})
      : board(clock, clock, chip, start) {}

  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "rtceval-cli");
    CliRun result;
    cli::ParsedCli parsed = cli::parseCli(args);
    if (!parsed.options) {
      result.exitCode = parsed.exitCode;
      result.err = parsed.err;
      result.out = parsed.out;
      return result;
    }
    std::ostringstream out, err;
    cli::Output output(out, err, parsed.options->json);
    cli::Session session({board, clock, clock, pc, pump, files}, parsed.options->model->profile,
                         parsed.options->timeout, output);
    session.link().addFrameObserver([&result](const LineFrame& f) {
      if (f.kind == LineFrame::Kind::Sent) result.sent.emplace_back(f.bytes.begin(), f.bytes.end());
    });
    if (interruptAtMs) {
      // Once, as one Ctrl+C: what the command still does after it runs on.
      pump.onTick = [&session, at = clock.now() + *interruptAtMs,
                     fired = false](std::int64_t now) mutable {
        if (fired || now < at) return false;
        fired = true;
        session.interrupt();
        return true;
      };
    }
    result.exitCode = cli::runCommand(*parsed.options, session, 1);
    pump.onTick = {};
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  VirtualClock clock;
  VirtualPump pump{clock};
  VirtualPcClock pc{clock, (1 * 3600 + 2 * 60 + 3) * 1000 + 400};
  FakeDesktop files;
  sim::VirtualBoardPort board;
  std::optional<std::int64_t> interruptAtMs;
};

// The last line a --json run printed, parsed.
inline nlohmann::json lastJson(const std::string& out) {
  const auto end = out.find_last_not_of('\n');
  const auto start = out.rfind('\n', end);
  return nlohmann::json::parse(out.substr(start == std::string::npos ? 0 : start + 1));
}

}  // namespace rtceval::testing
