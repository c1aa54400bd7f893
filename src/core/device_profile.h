#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace rtceval {

// What the selected chip offers, and its model name. All false and no name until the user picks
// a model.
struct DeviceProfile {
  const char* name = "";
  bool Is1208Family = false;
  bool HasINT = false;
  bool HasWDT = false;
  bool HasAlarm0 = false;
  bool HasAlarm1 = false;
  bool HasBP = false;
  bool HasEvent = false;
  bool HasFOUT = false;
  bool HasMemory = false;
  bool HasUserReg = false;
};

// Layout A: X1226, X1227, X1228, X1205. Layout B: X1208, X1209 (the X1208 family).
enum class Layout { A, B };
inline Layout layoutOf(bool is1208Family) {
  return is1208Family ? Layout::B : Layout::A;
}

struct DeviceModel {
  const char* name;
  DeviceProfile profile;
  int applicationNotes;  // how many of the nine note links the model shows, from index 0
};

// The six models in the order of the device menu.
std::span<const DeviceModel> deviceModels();
// nullptr when the name is none of them (exact, case-sensitive).
const DeviceModel* findDeviceModel(std::string_view name);
// The name of the model whose profile is in force, "" before the user has picked one.
std::string modelOf(const DeviceProfile& profile);

inline constexpr int kApplicationNoteCount = 9;
// Captions of the application-note links, index 0 to 8.
const std::array<const char*, kApplicationNoteCount>& applicationNoteNames();

}  // namespace rtceval
