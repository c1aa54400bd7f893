#include "core/device_profile.h"

namespace rtceval {
namespace {

constexpr bool kT = true;
constexpr bool kF = false;

struct Flags {
  bool is1208Family, hasINT, hasWDT, hasAlarm0, hasAlarm1, hasBP, hasEvent, hasFOUT, hasMemory,
      hasUserReg;
};

// A row of the table: the model's name stands once, in the row and in its profile.
constexpr DeviceModel model(const char* name, Flags f, int applicationNotes) {
  return {name,
          {name, f.is1208Family, f.hasINT, f.hasWDT, f.hasAlarm0, f.hasAlarm1, f.hasBP, f.hasEvent,
           f.hasFOUT, f.hasMemory, f.hasUserReg},
          applicationNotes};
}

// clang-format off
constexpr std::array<DeviceModel, 6> kModels{{
    //            1208 INT WDT AL0 AL1 BP  EV  FOUT MEM UR
    model("X1226", {kF,   kT,  kF,  kT,  kT,  kT,  kF,  kT,   kT,  kF}, 9),
    model("X1227", {kF,   kF,  kT,  kT,  kT,  kT,  kF,  kF,   kT,  kF}, 9),
    model("X1228", {kF,   kT,  kT,  kT,  kT,  kT,  kF,  kT,   kT,  kF}, 9),
    model("X1205", {kF,   kT,  kF,  kT,  kT,  kF,  kF,  kF,   kF,  kF}, 1),
    model("X1208", {kT,   kT,  kF,  kT,  kF,  kF,  kF,  kT,   kF,  kT}, 1),
    model("X1209", {kT,   kT,  kF,  kT,  kF,  kF,  kT,  kT,   kF,  kT}, 1),
}};
// clang-format on

constexpr std::array<const char*, kApplicationNoteCount> kNotes = {
    "AN154", "AN105", "AN106", "AN109", "AN138", "AN81", "AN85", "AN86", "AN87"};

}  // namespace

std::span<const DeviceModel> deviceModels() {
  return kModels;
}

const DeviceModel* findDeviceModel(std::string_view name) {
  for (const DeviceModel& m : kModels)
    if (name == m.name) return &m;
  return nullptr;
}

std::string modelOf(const DeviceProfile& profile) {
  return profile.name;
}

const std::array<const char*, kApplicationNoteCount>& applicationNoteNames() {
  return kNotes;
}

}  // namespace rtceval
