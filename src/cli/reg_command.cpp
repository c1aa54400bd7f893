#include <CLI/CLI.hpp>

#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "core/register_map.h"
#include "register_editors/memory_dialog.h"

namespace rtceval::cli {
namespace {

const RegisterInfo* registerNamed(std::string_view name, Layout layout) {
  for (const RegisterInfo& r : registers())
    if (name == r.name && r.address(layout)) return &r;
  return nullptr;
}

// The bit a name stands for in the register map (the dialogs' name or the panel's).
std::optional<int> bitNamed(const RegisterInfo& reg, Layout layout, std::string_view name) {
  const BitNames& bits = reg.bits(layout);
  for (int i = 0; i < 8; ++i) {
    const BitName& b = bits[static_cast<std::size_t>(i)];
    if ((b.dialog && name == b.dialog) || (b.panel && name == b.panel)) return i;
  }
  return std::nullopt;
}

std::string registerNames(Layout layout) {
  std::string names;
  for (const RegisterInfo& r : registers())
    if (r.address(layout)) names += std::string(names.empty() ? "" : ", ") + r.name;
  return names;
}

void printRegister(Session& session, const RegisterInfo& reg) {
  const std::uint8_t value = session.registers.*reg.image;
  const Layout layout = session.layout();
  nlohmann::json bits = nlohmann::json::object();
  std::string text = std::string(reg.name) + " (" + hexNumber(*reg.address(layout), 2) +
                     ") = " + HexByte(value) + " ";
  for (int i = 7; i >= 0; --i) {
    const BitName& b = reg.bits(layout)[static_cast<std::size_t>(i)];
    const int on = (value >> i) & 1;
    if (b.dialog) {
      bits[b.dialog] = on;
      text += std::string(" ") + b.dialog + "=" + std::to_string(on);
    }
  }
  session.out().result(
      {{"register", reg.name}, {"address", *reg.address(layout)}, {"value", value}, {"bits", bits}},
      text);
}

// reg / reg NAME / reg set NAME VALUE / reg set NAME.BIT 0|1
class RegCommand : public Command {
 public:
  void define(CLI::App& app) override {
    app.add_option("name", name_, "A register of the model (SR, INT, BL, ATR, DTR, EV)");
    set_ = app.add_subcommand("set", "Write a register or one named bit, unlocking the chip first");
    set_->add_option("target", target_, "NAME or NAME.BIT")->required();
    set_->add_option("value", value_, "a byte in hex, or 0|1 for a bit")->required();
    app.require_subcommand(0, 1);
  }

  std::string check(const DeviceProfile& profile) override {
    const Layout layout = layoutOf(profile.Is1208Family);
    const std::string name = set_->parsed() ? target_.substr(0, target_.find('.')) : name_;
    if (name.empty()) return {};
    reg_ = registerNamed(name, layout);
    if (!reg_)
      return "no register " + name + " on the " + profile.name + " (" + registerNames(layout) + ")";
    if (!set_->parsed()) return {};
    if (reg_->id == RegisterId::SR) return "SR is written by the chip's own steps, not by reg set";
    if (const auto dot = target_.find('.'); dot != std::string::npos) {
      bit_ = bitNamed(*reg_, layout, std::string_view(target_).substr(dot + 1));
      if (!bit_) return "no bit " + target_ + " in the register map";
      if (value_ != "0" && value_ != "1") return "a bit is 0 or 1";
      return {};
    }
    const auto value = readHex(value_);
    if (!value || *value > 0xFF) return MemoryDialog::Texts::kInvalidData;
    valueByte_ = static_cast<std::uint8_t>(*value);
    return {};
  }

  int run(Session& session) override {
    const Layout layout = session.layout();
    if (!reg_) {
      for (const RegisterInfo& r : registers()) {
        if (!r.address(layout)) continue;
        if (const int done = session.transact(*requests::readRegister(layout, r.id)); done != kDone)
          return done;
        printRegister(session, r);
      }
      return kDone;
    }
    const auto read = [&] { return session.transact(*requests::readRegister(layout, reg_->id)); };
    if (!set_->parsed()) {
      const int done = read();
      if (done == kDone) printRegister(session, *reg_);
      return done;
    }
    std::uint8_t wanted = valueByte_;
    if (bit_) {
      if (const int done = read(); done != kDone) return done;
      const auto mask = static_cast<std::uint8_t>(1u << *bit_);
      wanted = value_ == "1" ? (session.registers.*reg_->image | mask)
                             : (session.registers.*reg_->image & ~mask);
    }
    session.registers.*reg_->image = wanted;
    if (const int done = session.write(WriteJob(reg_->write.state)); done != kDone) return done;
    if (const int done = read(); done != kDone) return done;
    printRegister(session, *reg_);
    if (session.registers.*reg_->image != wanted) {
      session.out().error(std::string(reg_->name) + " read back " +
                          HexByte(session.registers.*reg_->image) + ", written " + HexByte(wanted));
      return kDiffers;
    }
    return kDone;
  }

 private:
  CLI::App* set_ = nullptr;
  std::string name_;
  std::string target_;
  std::string value_;
  const RegisterInfo* reg_ = nullptr;
  std::optional<int> bit_;
  std::uint8_t valueByte_ = 0;
};

}  // namespace

std::unique_ptr<Command> makeRegCommand() {
  return std::make_unique<RegCommand>();
}

}  // namespace rtceval::cli
