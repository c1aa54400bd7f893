#include <cstdint>
#include <string>
#include <string_view>

#include "core/value_codecs.h"
#include "snapshot/snapshot_plan.h"

namespace rtceval {
namespace {

constexpr std::uint8_t kAlarmEnable = 0x80;
constexpr std::uint8_t kHourFlags = 0xC0;  // MIL in the clock's hour, the enable in an alarm's
constexpr std::uint8_t kHour12 = 0x1F;     // the 12-hour format's hour, below its PM flag

// The value of a BCD byte, or -1 when a nibble is not a decimal digit.
int bcdValue(std::uint8_t b) {
  const int high = b >> 4;
  const int low = b & 0x0F;
  return high > 9 || low > 9 ? -1 : high * 10 + low;
}

bool bcdWithin(std::uint8_t b, int low, int high) {
  const int v = bcdValue(b);
  return v >= low && v <= high;
}

// An hour as the chip keeps it: 00–23 with MIL, else 01–12 with the PM flag beside it.
bool hourValid(std::uint8_t b, bool twentyFour) {
  if (twentyFour) return bcdWithin(b & static_cast<std::uint8_t>(~kHourFlags), 0, 23);
  return (b & kHourFlags) == 0 || (b & kHourFlags) == kHourPm ? bcdWithin(b & kHour12, 1, 12)
                                                              : false;
}

struct FieldRange {
  std::string_view name;  // the clock register; its alarm field adds "A"
  int low;
  int high;
  const char* rangeText;
};

// The clock's BCD fields. The century byte holds 19, 20 or 21 (the years 1900 to 2100).
constexpr FieldRange kFields[] = {
    {"SC", 0, 59, "00–59"},   {"MN", 0, 59, "00–59"}, {"DT", 1, 31, "01–31"},
    {"MO", 1, 12, "01–12"},   {"YR", 0, 99, "00–99"}, {"DW", 0, 6, "0–6"},
    {"Y2K", 19, 21, "19–21"},
};

std::string refusal(const SnapshotRegister& r, const char* range) {
  return r.name + " 的值 " + byteText(r.value) + " 不是 " + range +
         " 之内的 BCD 数，没有向芯片写入任何内容";
}

}  // namespace

std::optional<std::string> valueRefusal(const Snapshot& snapshot) {
  for (const SnapshotRegister& r : snapshot.registers) {
    const std::string_view name = r.name;
    if (name == "HR") {
      const bool mil = (r.value & kHour24) != 0;
      if (!hourValid(r.value, mil)) return refusal(r, mil ? "00–23" : "01–12");
      continue;
    }
    // An alarm field counts only when enabled; its hour in either format.
    if (name.starts_with("HRA")) {
      if ((r.value & kAlarmEnable) != 0 && !hourValid(r.value, true) && !hourValid(r.value, false))
        return refusal(r, "00–23");
      continue;
    }
    for (const FieldRange& f : kFields) {
      const bool clock = name == f.name;
      const bool alarm = f.name != "YR" && f.name != "Y2K" && name.size() > f.name.size() &&
                         name.starts_with(f.name) && name[f.name.size()] == 'A';
      if (clock && !bcdWithin(r.value, f.low, f.high)) return refusal(r, f.rangeText);
      if (alarm && (r.value & kAlarmEnable) != 0 &&
          !bcdWithin(r.value & static_cast<std::uint8_t>(~kAlarmEnable), f.low, f.high))
        return refusal(r, f.rangeText);
    }
  }
  return std::nullopt;
}

RestoreLeftover restoreLeftover(const std::vector<SnapshotStep>& plan, std::size_t stepsDone) {
  RestoreLeftover left;
  for (const SnapshotStep& step : plan)
    if (step.role == SnapshotStep::Role::EepromWrite) left.eepromTotal += step.eepromCount;
  // Every restore step after the reads but the user registers' unlocks the chip; the last step,
  // SR, locks it.
  std::size_t reads = 0;
  while (reads < plan.size() && plan[reads].role == SnapshotStep::Role::ReadsBefore) ++reads;
  left.writeEnabled = stepsDone >= reads && stepsDone < plan.size();
  for (std::size_t i = 0; i < stepsDone && i < plan.size(); ++i) {
    const SnapshotStep& step = plan[i];
    switch (step.role) {
      case SnapshotStep::Role::ReadsBefore:
        break;
      case SnapshotStep::Role::LiftsProtection:
        left.protectionLifted = true;
        break;
      case SnapshotStep::Role::Unlock:
        break;
      case SnapshotStep::Role::EepromWrite:
        left.eepromWritten = step.eepromAddress + step.eepromCount;
        break;
      case SnapshotStep::Role::Register:
        // BL written from the snapshot sets its protection again.
        if (step.what == "BL") left.protectionLifted = false;
        left.registersWritten.push_back(step.what);
        break;
    }
  }
  return left;
}

std::string leftoverText(const RestoreLeftover& left, const std::string& restoreAgain) {
  std::string text = "芯片现在的状态：";
  text += left.protectionLifted ? "块保护已解除" : "块保护未解除";
  text += left.writeEnabled ? "；写使能仍打开" : "；写使能已关闭";
  if (left.eepromTotal > 0) {
    if (left.eepromWritten == 0)
      text += "；EEPROM 未改写";
    else if (left.eepromWritten >= left.eepromTotal)
      text += "；EEPROM 已全部改写";
    else
      text += "；EEPROM 已改写 " + eepromAddressText(0) + "–" +
              eepromAddressText(left.eepromWritten - 1) + "，其后未改写";
  }
  if (left.registersWritten.empty()) {
    text += "；寄存器未写入";
  } else {
    text += "；已写入的寄存器：";
    for (std::size_t i = 0; i < left.registersWritten.size(); ++i)
      text += (i > 0 ? "、" : "") + left.registersWritten[i];
  }
  return text + "。再次运行" + restoreAgain + "即可完成恢复。";
}

}  // namespace rtceval
