#pragma once

#include <array>
#include <cstdint>

#include "core/value_codecs.h"

namespace rtceval {

// What replies bring back from the chip besides the register image and the alarm records: the
// clock as last read with its hour format (`ChipTime`, `Is24Hour`), the EEPROM byte last read and
// the two user registers. Open dialogs take their boxes from here when a reply arrives.
struct ChipReads {
  DecodedTime time;
  std::uint8_t memoryByte = 0;
  std::array<std::uint8_t, 2> userRegisters{};
};

}  // namespace rtceval
