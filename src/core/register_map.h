#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "core/cmd_state.h"
#include "core/device_profile.h"
#include "core/register_image.h"

namespace rtceval {

enum class RegisterId { SR, INT, BL, ATR, DTR, EV };

// A bit's caption on the control/status panel and on the bit-field dialogs (the same for most
// bits); nullptr for a bit the program neither names nor lets the user edit.
struct BitName {
  const char* panel = nullptr;
  const char* dialog = nullptr;
};
using BitNames = std::array<BitName, 8>;  // index = bit number

// How one register is read and written one byte at a time: the progress text, the request code
// and the text the reply handling shows on success.
struct RegisterRequest {
  const char* text;
  CmdStateCode state;
  const char* doneText;
};

struct RegisterInfo {
  RegisterId id;
  const char* name;
  std::optional<std::uint8_t> addressA;  // none: the register does not exist on that layout
  std::optional<std::uint8_t> addressB;
  BitNames bitsA;
  BitNames bitsB;
  RegisterRequest read;
  RegisterRequest write;
  std::uint8_t RegisterImage::*image;

  std::optional<std::uint8_t> address(Layout layout) const {
    return layout == Layout::A ? addressA : addressB;
  }
  const BitNames& bits(Layout layout) const { return layout == Layout::A ? bitsA : bitsB; }
};

std::span<const RegisterInfo> registers();
const RegisterInfo& registerOf(RegisterId id);

// Multi-byte blocks of the chip.
struct RegisterBlock {
  std::uint8_t address;
  std::uint8_t count;
};
RegisterBlock timeBlock(Layout layout);
RegisterBlock alarm0Block(Layout layout);
std::optional<RegisterBlock> alarm1Block(Layout layout);  // layout A only
RegisterBlock controlBlock(Layout layout);
std::optional<RegisterBlock> userRegisterBlock(Layout layout);  // layout B only

// The four registers of the control block in address order.
std::array<RegisterId, 4> controlBlockOrder(Layout layout);

// The SR writes that unlock the chip before a register write: WEL then RWEL on layout A, WRTC on
// layout B.
struct WriteEnableStep {
  std::uint8_t srValue;
  RegisterRequest request;
};
std::span<const WriteEnableStep> writeEnableSteps(Layout layout);

// Bits of SR that the main window's indicators show.
struct StatusIndicatorBits {
  std::optional<int> battery;
  std::optional<int> alarm0;
  std::optional<int> alarm1;
  std::optional<int> event;
};
StatusIndicatorBits indicatorBits(Layout layout);

}  // namespace rtceval
