#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "cli/chip_values.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "core/protocol.h"
#include "platform/files.h"
#include "register_editors/memory_dialog.h"

namespace rtceval::cli {
namespace {

// A page write stays within one page of the array.
constexpr std::uint32_t kPageSize = 64;
// The longest hex text a -i file may hold (the whole address range, spaced).
constexpr std::size_t kInputLimit = 4 * (MemoryDialog::kLastAddress + 1);

// Rows of 16 bytes, address first, then the bytes and their printable characters.
std::string hexDump(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
  std::string text = "     ";
  for (int i = 0; i < 16; ++i) text += " " + hexNumber(static_cast<std::uint32_t>(i), 1) + " ";
  text += "   0123456789ABCDEF";
  const std::uint32_t first = address & ~0xFu;
  const std::uint32_t end = address + static_cast<std::uint32_t>(bytes.size());
  for (std::uint32_t row = first; row < end; row += 16) {
    std::string hex, chars;
    for (std::uint32_t a = row; a < row + 16; ++a) {
      if (a < address || a >= end) {
        hex += "   ";
        chars += ' ';
        continue;
      }
      const std::uint8_t b = bytes[a - address];
      hex += HexByte(b) + " ";
      chars += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
    }
    text += "\n" + hexNumber(row, 4) + ": " + hex + "   " + chars;
  }
  return text;
}

// eeprom read ADDR [COUNT] [-o FILE] / eeprom write ADDR (HEXBYTES | -i FILE)
class EepromCommand : public Command {
 public:
  void define(CLI::App& app) override {
    read_ = app.add_subcommand("read", "Read bytes in blocks; a hex dump, or the dump into a file");
    read_->add_option("address", addressText_, "hex")->required();
    read_->add_option("count", count_, "1 to the end of the array (default 1)");
    read_->add_option("-o,--output", file_, "Write the dump into FILE");
    write_ = app.add_subcommand("write", "Write bytes in page writes and verify them");
    write_->add_option("address", addressText_, "hex")->required();
    auto* bytes = write_->add_option("bytes", bytesText_, "hex bytes, e.g. '01 2a ff'");
    auto* input = write_->add_option("-i,--input", file_, "Take the hex bytes from FILE");
    bytes->excludes(input);
    app.require_subcommand(1);
  }

  std::string check(const DeviceProfile& profile) override {
    if (!profile.HasMemory) return std::string("the ") + profile.name + " has no EEPROM";
    const auto address = readHex(addressText_);
    if (!address || *address > MemoryDialog::kLastAddress)
      return MemoryDialog::Texts::kInvalidAddress;
    address_ = *address;
    if (read_->parsed() && (count_ < 1 || address_ + static_cast<std::uint32_t>(count_) - 1 >
                                              MemoryDialog::kLastAddress))
      return MemoryDialog::Texts::kInvalidAddress;
    if (write_->parsed() && file_.empty()) {
      std::string text;
      for (const std::string& t : bytesText_) text += t + " ";
      const auto bytes = readHexBytes(text);
      if (!bytes) return MemoryDialog::Texts::kInvalidData;
      bytes_ = *bytes;
    }
    return {};
  }

  int run(Session& session) override {
    if (write_->parsed()) return write(session);
    std::vector<std::uint8_t> bytes;
    if (const int done = readBlocks(session, address_, static_cast<std::uint32_t>(count_), bytes);
        done != kDone)
      return done;
    const std::string dump = hexDump(address_, bytes);
    if (!file_.empty()) {
      if (const FileWrite w = session.seams().files.writeFile(file_, dump + "\n"); !w.ok()) {
        session.out().error(file_ + ": " + w.failure);
        return kUsage;
      }
    }
    session.out().result({{"address", address_}, {"count", count_}, {"bytes", bytes}},
                         file_.empty() ? dump : "written " + file_);
    return kDone;
  }

 private:
  static int readBlocks(Session& session, std::uint32_t address, std::uint32_t count,
                        std::vector<std::uint8_t>& bytes) {
    while (count > 0) {
      const auto n =
          static_cast<std::uint8_t>(std::min<std::uint32_t>(count, protocol::kMaxReadCount));
      if (const int done =
              session.transact(requests::readEeprom(static_cast<std::uint16_t>(address), n));
          done != kDone)
        return done;
      const auto& data = session.lastData();
      bytes.insert(bytes.end(), data.data(), data.data() + std::min<std::size_t>(n, data.size()));
      address += n;
      count -= n;
    }
    return kDone;
  }

  int write(Session& session) {
    if (!file_.empty()) {
      const FileRead in = session.seams().files.readFile(file_, kInputLimit);
      const auto bytes = in.text ? readHexBytes(*in.text) : std::nullopt;
      if (!bytes) {
        session.out().error(file_ + ": " +
                            (in.text ? MemoryDialog::Texts::kInvalidData : in.reason));
        return kUsage;
      }
      bytes_ = *bytes;
    }
    if (address_ + bytes_.size() - 1 > MemoryDialog::kLastAddress) {
      session.out().error(MemoryDialog::Texts::kInvalidAddress);
      return kUsage;
    }
    std::uint32_t at = address_;
    for (std::size_t done = 0; done < bytes_.size();) {
      const std::size_t room =
          std::min<std::size_t>(kPageSize - at % kPageSize, protocol::kMaxWriteData);
      const std::size_t n = std::min(room, bytes_.size() - done);
      const std::span<const std::uint8_t> chunk(bytes_.data() + done, n);
      // The array takes data only while the chip is unlocked, and each write cycle locks it.
      for (const Request& unlock : requests::writeEnable(session.layout()))
        if (const int sent = session.transact(unlock); sent != kDone) return sent;
      if (const int sent =
              session.transact(requests::writeEeprom(static_cast<std::uint16_t>(at), chunk));
          sent != kDone)
        return sent;
      if (const int cycle = session.waitWriteCycle(); cycle != kDone) return cycle;
      done += n;
      at += static_cast<std::uint32_t>(n);
    }
    std::vector<std::uint8_t> back;
    if (const int done =
            readBlocks(session, address_, static_cast<std::uint32_t>(bytes_.size()), back);
        done != kDone)
      return done;
    const bool same = back == bytes_;
    session.out().result({{"address", address_}, {"count", bytes_.size()}, {"verified", same}},
                         std::to_string(bytes_.size()) + " bytes written at " +
                             hexNumber(address_, 4) + (same ? ", verified" : ""));
    if (!same) {
      session.out().error("read back differs:\n" + hexDump(address_, back));
      return kDiffers;
    }
    return kDone;
  }

  CLI::App* read_ = nullptr;
  CLI::App* write_ = nullptr;
  std::string addressText_;
  int count_ = 1;
  std::string file_;
  std::vector<std::string> bytesText_;
  std::uint32_t address_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<Command> makeEepromCommand() {
  return std::make_unique<EepromCommand>();
}

}  // namespace rtceval::cli
