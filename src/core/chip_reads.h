#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/value_codecs.h"

namespace rtceval {

// What replies bring back from the chip besides the register image and the alarm records: the
// clock as last read with its hour format (`ChipTime`, `Is24Hour`), the EEPROM byte last read (the
// EEPROM dialog's), the bytes of the last EEPROM block read (the snapshot's) and the two user
// registers. Open windows take their values from here when a reply arrives.
struct ChipReads {
  DecodedTime time;
  std::uint8_t memoryByte = 0;
  std::vector<std::uint8_t> memoryBlock;
  std::array<std::uint8_t, 2> userRegisters{};
};

}  // namespace rtceval
