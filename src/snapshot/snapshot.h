#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/device_profile.h"

namespace rtceval {

// The groups of registers a snapshot holds, in the order they are read.
enum class RegisterGroup { Clock, Alarm0, Alarm1, Status, Control, User };

// One register a model holds: its name, its address on the clock/control device and its group.
struct SnapshotSlot {
  std::string name;
  std::uint8_t address;
  RegisterGroup group;
};

struct SnapshotRegister {
  std::string name;
  std::uint8_t address = 0;
  std::uint8_t value = 0;
};

// Everything a chip holds at one moment: the clock, the alarms, SR, the control block, the user
// registers and the EEPROM array, with the model it was read from, when, and by which version of
// the program.
struct Snapshot {
  std::string model;
  std::string takenAt;
  std::string programVersion;
  std::vector<SnapshotRegister> registers;  // in the order of snapshotSlots(model)
  std::vector<std::uint8_t> eeprom;         // empty on a model without one

  const SnapshotRegister* find(std::string_view name) const;
};

inline constexpr std::size_t kEepromSize = 512;

// How the snapshot shows a register's address or value ("0x3F") and an EEPROM address
// ("0x01F0"), in the table, the comparison, the step names and the file alike.
std::string byteText(std::uint8_t b);
std::string eepromAddressText(std::size_t address);

// The registers model `name` holds, in reading order; empty for an unknown model.
std::vector<SnapshotSlot> snapshotSlots(std::string_view model);
// The bytes of the EEPROM array of the model (0 when it has none).
std::size_t eepromSizeOf(std::string_view model);

// The name of bit `bit` of register `name` on `model`: the register map's name for SR and the
// control block, the enable bit of an alarm field, the 24-hour bit of the hour; "位n" otherwise.
std::string bitName(std::string_view model, std::string_view name, int bit);

// The bytes of a clock or alarm read in register order, as the records and reads keep them.
struct TimeRecord;
struct DecodedTime;
std::vector<std::uint8_t> clockBytes(const DecodedTime& time, Layout layout);
std::vector<std::uint8_t> alarmBytes(const TimeRecord& alarm, Layout layout);
// The record a time or alarm write sends, from bytes in register order.
TimeRecord recordOf(const std::vector<std::uint8_t>& bytes, Layout layout, bool alarm);

// The SR value that puts back what SR holds of the settings in `saved`: the write-enable latches
// on layout A (so a restore ends locked as the chip was), ARST, XTOSCB and WRTC on layout B with
// ones in the flags there, which only a written 0 clears.
std::uint8_t statusRestoreValue(std::uint8_t saved, Layout layout);

// The values of one group, in register order.
std::vector<std::uint8_t> groupValues(const Snapshot& snapshot, RegisterGroup group);

// Where two snapshots of one model differ: register by register with the bits named, and byte by
// byte in the EEPROM.
struct RegisterDifference {
  std::string name;
  std::uint8_t address = 0;
  std::uint8_t before = 0;
  std::uint8_t after = 0;
  std::vector<std::string> bits;  // the differing bits, highest first
};
struct EepromDifference {
  std::uint16_t address = 0;
  std::uint8_t before = 0;
  std::uint8_t after = 0;
};
struct Comparison {
  std::vector<RegisterDifference> registers;
  std::vector<EepromDifference> eeprom;
  bool same() const { return registers.empty() && eeprom.empty(); }
};

// Why two snapshots cannot be compared (another model), or nothing.
std::optional<std::string> comparisonRefusal(const Snapshot& before, const Snapshot& after);
// Both snapshots must be of one model (see comparisonRefusal).
Comparison compare(const Snapshot& before, const Snapshot& after);
// The comparison as lines for the window: one per register, the EEPROM bytes in runs.
std::vector<std::string> describe(const Comparison& comparison);

}  // namespace rtceval
