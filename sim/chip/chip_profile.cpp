#include "sim/chip/chip_profile.h"

#include <array>

namespace rtceval::sim {

namespace {

// BL: BP2..BP0 where the EEPROM can be protected, WD1/WD0 where a watchdog exists.
// INT: IM, AL1E, AL0E on every layout-A chip with an interrupt output, FO1/FO0 where the pin can
// also put out a frequency; layout B has all eight bits.
constexpr std::array<ChipProfile, 6> kProfiles{{
    {ChipModel::X1226, "X1226", RegisterLayout::A, true, true, false, false, 0xE0, 0xF8, 0x00,
     0x3F},
    {ChipModel::X1227, "X1227", RegisterLayout::A, true, true, false, false, 0xF8, 0x00, 0x00,
     0x3F},
    {ChipModel::X1228, "X1228", RegisterLayout::A, true, true, false, false, 0xF8, 0xF8, 0x00,
     0x3F},
    {ChipModel::X1205, "X1205", RegisterLayout::A, false, true, false, false, 0x00, 0xE0, 0x00,
     0x3F},
    {ChipModel::X1208, "X1208", RegisterLayout::B, false, false, false, true, 0x00, 0xFF, 0x00,
     0xFF},
    {ChipModel::X1209, "X1209", RegisterLayout::B, false, false, true, true, 0x00, 0xFF, 0xFF,
     0xFF},
}};

}  // namespace

const ChipProfile& profileOf(ChipModel model) {
  for (const ChipProfile& p : kProfiles) {
    if (p.model == model) return p;
  }
  return kProfiles.front();
}

std::optional<ChipModel> chipModelFromName(std::string_view name) {
  for (const ChipProfile& p : kProfiles) {
    if (p.name == name) return p.model;
  }
  return std::nullopt;
}

}  // namespace rtceval::sim
