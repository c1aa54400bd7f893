#include "register_editors/memory_dialog.h"

#include <cstdint>

#include "board_link/board_link.h"
#include "core/chip_reads.h"
#include "core/protocol.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"
#include "register_editors/hex_box.h"

namespace rtceval {
namespace {
using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_EEPROM;
constexpr const char* kTextReading = "读存储器";
constexpr const char* kTextWriting = "写存储器";
constexpr std::size_t kBlanksBetween = 15;
constexpr std::uint32_t kLastByte = 0xFF;

std::uint8_t highByte(std::uint32_t address) {
  return static_cast<std::uint8_t>(address >> 8);
}
std::uint8_t lowByte(std::uint32_t address) {
  return static_cast<std::uint8_t>(address & 0xFF);
}
}  // namespace

std::string MemoryDialog::Texts::explanation() {
  return std::string(kArray) + std::string(kBlanksBetween, ' ') + kSingleBytes;
}

MemoryDialog::MemoryDialog(DialogContext& context)
    : link_(context.link), messageBoxes_(context.messageBoxes), reads_(context.reads) {}

void MemoryDialog::Form_Load() {
  addressText = "0001";
  dataText = "35";
}

bool MemoryDialog::readAddress(std::uint32_t& address) {
  address = readHexBox(addressText);
  if (address <= kLastAddress) return true;
  messageBoxes_.message(Texts::kInvalidAddress);
  return false;
}

void MemoryDialog::readClicked() {
  std::uint32_t address = 0;
  if (!readAddress(address)) return;
  link_.request({CMD_READ, DEV_EEPROM, highByte(address), lowByte(address), 1}, StReadMem,
                kTextReading);
}

void MemoryDialog::writeClicked() {
  std::uint32_t address = 0;
  if (!readAddress(address)) return;
  const std::uint32_t data = readHexBox(dataText);
  if (data > kLastByte) {
    messageBoxes_.message(Texts::kInvalidData);
    return;
  }
  link_.request({CMD_WRITE, DEV_EEPROM, highByte(address), lowByte(address), 1,
                 static_cast<std::uint8_t>(data)},
                StWriteMem, kTextWriting);
}

void MemoryDialog::replyArrived(const ReplyNote& reply) {
  if (reply.request == StReadMem && reply.accepted) dataText = HexByte(reads_.memoryByte);
}

}  // namespace rtceval
