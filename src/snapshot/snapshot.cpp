#include "snapshot/snapshot.h"

#include <array>
#include <initializer_list>
#include <tuple>

#include "core/register_map.h"
#include "core/time_record.h"
#include "core/value_codecs.h"

namespace rtceval {
namespace {

constexpr std::array<const char*, 8> kClockNames = {"SC", "MN", "HR", "DT",
                                                    "MO", "YR", "DW", "Y2K"};
// The alarm fields in register order on layout A; the X1208 family keeps no year in its alarm.
constexpr std::array<const char*, 8> kAlarmNamesA = {"SCA", "MNA", "HRA", "DTA",
                                                     "MOA", "YRA", "DWA", "Y2K"};
constexpr std::array<const char*, 6> kAlarmNamesB = {"SCA", "MNA", "HRA", "DTA", "MOA", "DWA"};
constexpr std::array<const char*, 2> kUserNames = {"USR1", "USR2"};
// Fields of an alarm whose bit 7 enables the comparison with the clock.
constexpr std::array<const char*, 6> kEnabledAlarmFields = {"SCA", "MNA", "HRA",
                                                            "DTA", "MOA", "DWA"};
constexpr int kEnableBit = 7;
constexpr int kMilBit = 7;
constexpr std::size_t kBytesPerLine = 16;

void addBlock(std::vector<SnapshotSlot>& slots, RegisterBlock block, const char* const* names,
              const std::string& suffix, RegisterGroup group) {
  for (std::uint8_t i = 0; i < block.count; ++i)
    slots.push_back({names[i] + suffix, static_cast<std::uint8_t>(block.address + i), group});
}

const DeviceModel* modelNamed(std::string_view name) {
  return findDeviceModel(name);
}

// An alarm field's name without its alarm number (SCA0 → SCA); "" for any other register.
std::string alarmField(std::string_view name) {
  for (const char* field : kEnabledAlarmFields) {
    const std::string_view f = field;
    if (name.substr(0, f.size()) == f) return std::string(f);
  }
  return {};
}

}  // namespace

std::string byteText(std::uint8_t b) {
  return "0x" + HexByte(b);
}

std::string eepromAddressText(std::size_t address) {
  constexpr int kAddressDigits = 4;
  return "0x" + hexNumber(static_cast<std::uint32_t>(address), kAddressDigits);
}

const SnapshotRegister* Snapshot::find(std::string_view name) const {
  for (const SnapshotRegister& r : registers)
    if (r.name == name) return &r;
  return nullptr;
}

std::vector<SnapshotSlot> snapshotSlots(std::string_view model) {
  std::vector<SnapshotSlot> slots;
  const DeviceModel* m = modelNamed(model);
  if (!m) return slots;
  const DeviceProfile& p = m->profile;
  const Layout layout = layoutOf(p.Is1208Family);
  addBlock(slots, timeBlock(layout), kClockNames.data(), "", RegisterGroup::Clock);
  if (p.HasAlarm0) {
    if (layout == Layout::A)
      addBlock(slots, alarm0Block(layout), kAlarmNamesA.data(), "0", RegisterGroup::Alarm0);
    else
      addBlock(slots, alarm0Block(layout), kAlarmNamesB.data(), "", RegisterGroup::Alarm0);
  }
  if (p.HasAlarm1)
    if (const auto block = alarm1Block(layout))
      addBlock(slots, *block, kAlarmNamesA.data(), "1", RegisterGroup::Alarm1);
  const RegisterInfo& sr = registerOf(RegisterId::SR);
  slots.push_back({sr.name, *sr.address(layout), RegisterGroup::Status});
  for (RegisterId id : controlBlockOrder(layout)) {
    const RegisterInfo& reg = registerOf(id);
    slots.push_back({reg.name, *reg.address(layout), RegisterGroup::Control});
  }
  if (p.HasUserReg)
    if (const auto block = userRegisterBlock(layout))
      addBlock(slots, *block, kUserNames.data(), "", RegisterGroup::User);
  return slots;
}

std::size_t eepromSizeOf(std::string_view model) {
  const DeviceModel* m = modelNamed(model);
  return m && m->profile.HasMemory ? kEepromSize : 0;
}

std::string bitName(std::string_view model, std::string_view name, int bit) {
  const std::string fallback = "位" + std::to_string(bit);
  const DeviceModel* m = modelNamed(model);
  if (!m || bit < 0 || bit > 7) return fallback;
  const Layout layout = layoutOf(m->profile.Is1208Family);
  for (const RegisterInfo& reg : registers()) {
    if (name != reg.name) continue;
    const BitName& b = reg.bits(layout)[static_cast<std::size_t>(bit)];
    if (b.dialog) return b.dialog;
    return b.panel ? b.panel : fallback;
  }
  if (name == "HR" && bit == kMilBit) return "MIL";
  const std::string field = alarmField(name);
  if (!field.empty() && bit == kEnableBit) return "E" + std::string(name);
  return fallback;
}

std::vector<std::uint8_t> clockBytes(const DecodedTime& decoded, Layout layout) {
  const ChipTime& t = decoded.time;
  // The hour comes back without its format flags; they are put back as the chip holds them.
  std::uint8_t hour = t.hour;
  if (decoded.is24Hour)
    hour |= kHour24;
  else if (decoded.display.pmEnabled)
    hour |= kHourPm;
  std::vector<std::uint8_t> bytes = {t.second, t.minute, hour, t.date, t.month, t.year, t.weekday};
  if (layout == Layout::A) bytes.push_back(t.century);
  return bytes;
}

std::vector<std::uint8_t> alarmBytes(const TimeRecord& a, Layout layout) {
  if (layout == Layout::A)
    return {a.second, a.minute, a.hour, a.date, a.month, a.yearLow(), a.weekday, a.yearHigh()};
  return {a.second, a.minute, a.hour, a.date, a.month, a.weekday};
}

TimeRecord recordOf(const std::vector<std::uint8_t>& b, Layout layout, bool alarm) {
  TimeRecord r;
  const auto at = [&b](std::size_t i) -> std::uint8_t { return i < b.size() ? b[i] : 0; };
  r.second = at(0);
  r.minute = at(1);
  r.hour = at(2);
  r.date = at(3);
  r.month = at(4);
  if (layout == Layout::A) {
    r.year = static_cast<std::uint16_t>(at(7) << 8 | at(5));
    r.weekday = at(6);
  } else if (alarm) {
    r.weekday = at(5);
  } else {
    r.year = at(5);
    r.weekday = at(6);
  }
  return r;
}

std::uint8_t statusRestoreValue(std::uint8_t saved, Layout layout) {
  const auto mask = [layout](std::initializer_list<std::string_view> names) {
    std::uint8_t m = 0;
    const BitNames& bits = registerOf(RegisterId::SR).bits(layout);
    for (std::size_t n = 0; n < bits.size(); ++n)
      for (std::string_view name : names)
        if (bits[n].dialog && name == bits[n].dialog) m |= static_cast<std::uint8_t>(1U << n);
    return m;
  };
  if (layout == Layout::A) return saved & mask({"WEL", "RWEL"});
  return static_cast<std::uint8_t>((saved & mask({"ARST", "XTOSCB", "WRTC"})) |
                                   mask({"BAT", "ALM", "EVT"}));
}

std::vector<std::uint8_t> groupValues(const Snapshot& snapshot, RegisterGroup group) {
  std::vector<std::uint8_t> values;
  const std::vector<SnapshotSlot> slots = snapshotSlots(snapshot.model);
  for (std::size_t i = 0; i < slots.size() && i < snapshot.registers.size(); ++i)
    if (slots[i].group == group) values.push_back(snapshot.registers[i].value);
  return values;
}

std::optional<std::string> comparisonRefusal(const Snapshot& before, const Snapshot& after) {
  if (before.model == after.model) return std::nullopt;
  return "两个快照属于不同的器件（" + before.model + " 与 " + after.model + "），不能比较";
}

Comparison compare(const Snapshot& before, const Snapshot& after) {
  Comparison out;
  for (const SnapshotRegister& a : before.registers) {
    const SnapshotRegister* b = after.find(a.name);
    if (!b || b->value == a.value) continue;
    RegisterDifference d{a.name, a.address, a.value, b->value, {}};
    const unsigned changed = static_cast<unsigned>(a.value ^ b->value);
    for (int bit = 7; bit >= 0; --bit)
      if ((changed >> bit) & 1U) d.bits.push_back(bitName(before.model, a.name, bit));
    out.registers.push_back(std::move(d));
  }
  const std::size_t n = std::min(before.eeprom.size(), after.eeprom.size());
  for (std::size_t i = 0; i < n; ++i)
    if (before.eeprom[i] != after.eeprom[i])
      out.eeprom.push_back({static_cast<std::uint16_t>(i), before.eeprom[i], after.eeprom[i]});
  return out;
}

std::vector<std::string> describe(const Comparison& c) {
  std::vector<std::string> lines;
  if (c.same()) {
    lines.emplace_back("两者相同");
    return lines;
  }
  for (const RegisterDifference& d : c.registers) {
    std::string line = d.name + " (" + byteText(d.address) + "): " + byteText(d.before) + " → " +
                       byteText(d.after) + "，不同的位: ";
    for (std::size_t i = 0; i < d.bits.size(); ++i) line += (i ? " " : "") + d.bits[i];
    lines.push_back(std::move(line));
  }
  // EEPROM bytes in runs of consecutive addresses, at most a line's worth each.
  for (std::size_t i = 0; i < c.eeprom.size();) {
    std::size_t end = i + 1;
    while (end < c.eeprom.size() && end - i < kBytesPerLine &&
           c.eeprom[end].address == c.eeprom[end - 1].address + 1)
      ++end;
    std::string was;
    std::string now;
    for (std::size_t k = i; k < end; ++k) {
      was += (k > i ? " " : "") + HexByte(c.eeprom[k].before);
      now += (k > i ? " " : "") + HexByte(c.eeprom[k].after);
    }
    std::string where = "EEPROM " + eepromAddressText(c.eeprom[i].address);
    if (end - i > 1) where += "–" + eepromAddressText(c.eeprom[end - 1].address);
    lines.push_back(where + ": " + was + " → " + now);
    i = end;
  }
  return lines;
}

}  // namespace rtceval
