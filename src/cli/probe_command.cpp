#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"

namespace rtceval::cli {
namespace {

// probe: the board was found by connecting; says where.
class ProbeCommand : public Command {
 public:
  void define(CLI::App&) override {}
  std::string check(const DeviceProfile&) override { return {}; }
  int run(Session& session) override {
    const int port = session.link().PortNo();
    const std::string device = session.link().deviceName(port);
    const std::string model = session.profile().name;
    session.out().result({{"port", port}, {"device", device}, {"model", model}},
                         "board on port " + std::to_string(port) + " (" + device + "), " + model);
    return kDone;
  }
};

}  // namespace

std::unique_ptr<Command> makeProbeCommand() {
  return std::make_unique<ProbeCommand>();
}

}  // namespace rtceval::cli
