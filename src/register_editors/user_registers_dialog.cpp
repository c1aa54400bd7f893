#include "register_editors/user_registers_dialog.h"

#include <cstdint>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"
#include "register_editors/hex_box.h"

namespace rtceval {
namespace {
constexpr std::uint32_t kLastByte = 0xFF;
}  // namespace

UserRegistersDialog::UserRegistersDialog(DialogContext& context)
    : link_(context.link),
      messageBoxes_(context.messageBoxes),
      profile_(context.profile),
      reads_(context.reads) {}

void UserRegistersDialog::Form_Load() {
  registerTexts = {"01", "2A"};
}

void UserRegistersDialog::readClicked() {
  // The user registers exist on the X1208 family only: on another chip nothing is asked for.
  if (auto request = requests::readUserRegisters(layoutOf(profile_.Is1208Family)))
    link_.request(*request);
}

void UserRegistersDialog::writeClicked() {
  const std::uint32_t first = readHexBox(registerTexts[0]);
  const std::uint32_t second = readHexBox(registerTexts[1]);
  if (first > kLastByte || second > kLastByte) {
    messageBoxes_.message(Texts::kInvalidData);
    return;
  }
  // On another chip the two addresses hold other registers (ATR and DTR of layout A): nothing is
  // written there.
  if (auto request = requests::writeUserRegisters(layoutOf(profile_.Is1208Family),
                                                  static_cast<std::uint8_t>(first),
                                                  static_cast<std::uint8_t>(second)))
    link_.request(*request);
}

void UserRegistersDialog::replyArrived(const ReplyNote& reply) {
  if (reply.request != StReadUR || !reply.accepted) return;
  for (std::size_t i = 0; i < registerTexts.size(); ++i)
    registerTexts[i] = HexByte(reads_.userRegisters[i]);
}

}  // namespace rtceval
