#include <CLI/CLI.hpp>
#include <chrono>

#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/time_command.h"
#include "core/register_map.h"

namespace rtceval::cli {
namespace {

struct Flag {
  const char* name;
  std::optional<int> StatusIndicatorBits::*bit;
};
constexpr Flag kFlags[] = {{"alarm0", &StatusIndicatorBits::alarm0},
                           {"alarm1", &StatusIndicatorBits::alarm1},
                           {"event", &StatusIndicatorBits::event},
                           {"battery", &StatusIndicatorBits::battery}};

// watch [--count N] [--interval MS]: reads the clock and SR every interval; prints a line at
// the start and each time a flag changes, and ends after `count` changes.
class WatchCommand : public Command {
 public:
  void define(CLI::App& app) override {
    app.add_option("--count", count_, "End after N changes of the flags (default: never)")
        ->check(CLI::PositiveNumber);
    app.add_option("--interval", intervalMs_, "How often the clock and SR are read")
        ->option_text("MS")
        ->check(CLI::Range(50, 60000));
  }
  std::string check(const DeviceProfile&) override { return {}; }

  int run(Session& session) override {
    const Layout layout = session.layout();
    const StatusIndicatorBits bits = indicatorBits(layout);
    std::optional<std::uint8_t> shown;
    int changes = 0;
    while (true) {
      if (const int done = readClock(session); done != kDone) return done;
      if (const int done = session.transact(*requests::readRegister(layout, RegisterId::SR));
          done != kDone)
        return done;
      std::uint8_t flags = 0;
      nlohmann::json line{{"time", timeText(session.reads.time)}};
      std::string text = timeText(session.reads.time);
      for (const Flag& f : kFlags) {
        const auto bit = bits.*f.bit;
        if (!bit) continue;
        const int on = (session.registers.RegSR >> *bit) & 1;
        flags |= static_cast<std::uint8_t>(on << *bit);
        line[f.name] = on;
        text += std::string(" ") + f.name + "=" + std::to_string(on);
      }
      if (!shown || *shown != flags) {
        if (shown) ++changes;
        shown = flags;
        session.out().result(line, text);
        if (count_ > 0 && changes >= count_) return kDone;
      }
      if (!session.pause(std::chrono::milliseconds(intervalMs_))) return kInterrupted;
    }
  }

 private:
  int count_ = 0;
  int intervalMs_ = 200;
};

}  // namespace

std::unique_ptr<Command> makeWatchCommand() {
  return std::make_unique<WatchCommand>();
}

}  // namespace rtceval::cli
