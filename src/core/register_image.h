#pragma once

#include <cstdint>

namespace rtceval {

// One byte per editable register, shared by the reply handling, the panel, the dialogs and the
// main window's write commands. All zero at start; a change of model keeps them.
struct RegisterImage {
  std::uint8_t RegSR = 0;
  std::uint8_t RegINT = 0;
  std::uint8_t RegBL = 0;
  std::uint8_t RegATR = 0;
  std::uint8_t RegDTR = 0;
  std::uint8_t RegEV = 0;
};

}  // namespace rtceval
