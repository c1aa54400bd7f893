#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rtceval::sim {

enum class ChipModel { X1226, X1227, X1228, X1205, X1208, X1209 };

// Layout A: two-byte register addresses, time block at 0x30, SR at 0x3F, WEL/RWEL unlocking.
// Layout B: one-byte register addresses, time block at 0x00, SR at 0x07, WRTC unlocking.
enum class RegisterLayout { A, B };

// What one chip model carries. The masks give the bits that exist in each register; the others
// read 0 whatever was written.
struct ChipProfile {
  ChipModel model;
  std::string_view name;
  RegisterLayout layout;
  bool hasEeprom;
  bool hasAlarm1;
  bool hasEventInput;
  bool hasUserRegisters;
  std::uint8_t blMask;
  std::uint8_t intMask;
  std::uint8_t evMask;
  std::uint8_t atrMask;
};

const ChipProfile& profileOf(ChipModel model);

// "X1226" .. "X1209", exact spelling; nothing for any other text.
std::optional<ChipModel> chipModelFromName(std::string_view name);

}  // namespace rtceval::sim
