#include "register_editors/user_registers_dialog.h"

#include <cstdint>

#include "board_link/board_link.h"
#include "core/chip_reads.h"
#include "core/protocol.h"
#include "core/register_map.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"
#include "register_editors/hex_box.h"

namespace rtceval {
namespace {
using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_CCR;
constexpr const char* kTextReading = "读用户寄存器";
constexpr const char* kTextWriting = "写用户寄存器";
constexpr std::uint32_t kLastByte = 0xFF;

// The user registers exist on the X1208 family only, where the link sends 0xFF as the address
// high byte.
RegisterBlock userRegisters() {
  return *userRegisterBlock(Layout::B);
}
}  // namespace

UserRegistersDialog::UserRegistersDialog(DialogContext& context)
    : link_(context.link), messageBoxes_(context.messageBoxes), reads_(context.reads) {}

void UserRegistersDialog::Form_Load() {
  registerTexts = {"01", "2A"};
}

void UserRegistersDialog::readClicked() {
  const RegisterBlock block = userRegisters();
  link_.request({CMD_READ, DEV_CCR, 0x00, block.address, block.count}, StReadUR, kTextReading);
}

void UserRegistersDialog::writeClicked() {
  const std::uint32_t first = readHexBox(registerTexts[0]);
  const std::uint32_t second = readHexBox(registerTexts[1]);
  if (first > kLastByte || second > kLastByte) {
    messageBoxes_.message(Texts::kInvalidData);
    return;
  }
  const RegisterBlock block = userRegisters();
  link_.request({CMD_WRITE, DEV_CCR, 0x00, block.address, block.count,
                 static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second)},
                StWriteUR, kTextWriting);
}

void UserRegistersDialog::replyArrived(const ReplyNote& reply) {
  if (reply.request != StReadUR || !reply.accepted) return;
  for (std::size_t i = 0; i < registerTexts.size(); ++i)
    registerTexts[i] = HexByte(reads_.userRegisters[i]);
}

}  // namespace rtceval
