#include <CLI/CLI.hpp>

#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "register_editors/user_registers_dialog.h"

namespace rtceval::cli {
namespace {

void printUser(Session& session) {
  const auto& u = session.reads.userRegisters;
  session.out().result({{"user", {u[0], u[1]}}},
                       "user registers: " + HexByte(u[0]) + " " + HexByte(u[1]));
}

// user / user set B0 B1
class UserCommand : public Command {
 public:
  void define(CLI::App& app) override {
    set_ = app.add_subcommand("set", "Write both user registers and read them back");
    set_->add_option("bytes", texts_, "B0 B1 in hex")->expected(2)->required();
    app.require_subcommand(0, 1);
  }

  std::string check(const DeviceProfile& profile) override {
    if (!profile.HasUserReg)
      return std::string("the ") + profile.name + " has no user registers (X1208, X1209 have)";
    for (std::size_t i = 0; i < texts_.size() && i < 2; ++i) {
      const auto value = readHex(texts_[i]);
      if (!value || *value > 0xFF) return UserRegistersDialog::Texts::kInvalidData;
      bytes_[i] = static_cast<std::uint8_t>(*value);
    }
    return {};
  }

  int run(Session& session) override {
    const Layout layout = session.layout();
    if (set_->parsed()) {
      if (const int done =
              session.transact(*requests::writeUserRegisters(layout, bytes_[0], bytes_[1]));
          done != kDone)
        return done;
    }
    if (const int done = session.transact(*requests::readUserRegisters(layout)); done != kDone)
      return done;
    printUser(session);
    if (set_->parsed() && session.reads.userRegisters != bytes_) {
      session.out().error("user registers read back differ from what was written");
      return kDiffers;
    }
    return kDone;
  }

 private:
  CLI::App* set_ = nullptr;
  std::vector<std::string> texts_;
  std::array<std::uint8_t, 2> bytes_{};
};

}  // namespace

std::unique_ptr<Command> makeUserCommand() {
  return std::make_unique<UserCommand>();
}

}  // namespace rtceval::cli
