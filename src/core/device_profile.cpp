#include "core/device_profile.h"

namespace rtceval {
namespace {

constexpr bool T = true;
constexpr bool F = false;

// clang-format off
constexpr std::array<DeviceModel, 6> kModels{{
    //          1208 INT WDT AL0 AL1 BP  EV  FOUT MEM UR
    {"X1226", {F,   T,  F,  T,  T,  T,  F,  T,   T,  F}, 9},
    {"X1227", {F,   F,  T,  T,  T,  T,  F,  F,   T,  F}, 9},
    {"X1228", {F,   T,  T,  T,  T,  T,  F,  T,   T,  F}, 9},
    {"X1205", {F,   T,  F,  T,  T,  F,  F,  F,   F,  F}, 1},
    {"X1208", {T,   T,  F,  T,  F,  F,  F,  T,   F,  T}, 1},
    {"X1209", {T,   T,  F,  T,  F,  F,  T,  T,   F,  T}, 1},
}};
// clang-format on

constexpr std::array<const char*, kApplicationNoteCount> kNotes = {
    "AN154", "AN105", "AN106", "AN109", "AN138", "AN81", "AN85", "AN86", "AN87"};

}  // namespace

std::span<const DeviceModel> DeviceModels() {
  return kModels;
}

const DeviceModel* FindDeviceModel(std::string_view name) {
  for (const DeviceModel& m : kModels)
    if (name == m.name) return &m;
  return nullptr;
}

const std::array<const char*, kApplicationNoteCount>& ApplicationNoteNames() {
  return kNotes;
}

}  // namespace rtceval
