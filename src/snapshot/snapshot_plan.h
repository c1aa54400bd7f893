#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "board_link/requests.h"
#include "platform/timer.h"
#include "snapshot/snapshot.h"

namespace rtceval {

struct ChipReads;
struct DeviceProfile;
struct RegisterImage;
struct TimeAlarmRecords;

// What an accepted reply to a read step leaves for the snapshot: which group of registers the
// reply dispatch stored, or a block of EEPROM bytes.
enum class Gather { Nothing, Clock, Alarm0, Alarm1, Status, Control, User, EepromBlock };

// One step of reading a snapshot from the chip or writing one back: the requests go out in order,
// and the reply to the last of them ends the step (a register write is preceded by the write
// enables, whose replies only the chip's state depends on).
struct SnapshotStep {
  std::string what;  // names the step in a failure text
  std::vector<Request> requests;
  Gather gather = Gather::Nothing;
  std::uint16_t eepromAddress = 0;  // the first byte a Gather::EepromBlock step reads
  std::size_t eepromCount = 0;      // and how many
  // A write leaves the value it sends in the register image or the records as it goes out, where
  // the other windows look for what the chip holds.
  std::function<void(RegisterImage&, TimeAlarmRecords&)> intoImage;
  Millis pauseAfter{0};  // time the chip needs before the next request (a write cycle)
  // What a restore step does beyond its register: a read of SR or BL before anything is written,
  // the BL write that lifts block protection for the EEPROM (set again with the control block),
  // or an EEPROM write (eepromAddress and eepromCount name its bytes).
  enum class Role {
    Register,
    ReadsBefore,
    LiftsProtection,
    Unlock,
    EepromWrite
  } role = Role::Register;
};

// Every register of the selected model, then the EEPROM a page per read: the clock, alarm 0,
// alarm 1 where the model has it, SR, the control block, the user registers of the X1208 family.
std::vector<SnapshotStep> readPlan(const DeviceProfile& profile);

// Writes `snapshot` back: block protection lifted, the EEPROM in the largest pieces a request
// carries, none across a page (each after WEL and RWEL), the control registers, the alarms, the
// user registers, the clock when `withClock`, and SR's settings last, which locks the chip again
// as the snapshot had it.
std::vector<SnapshotStep> restorePlan(const DeviceProfile& profile, const Snapshot& snapshot,
                                      bool withClock);

// What a stopped restore has left on the chip, from the steps whose replies were accepted
// (`stepsDone` of `plan`; the step on the line may have reached the chip too).
struct RestoreLeftover {
  bool protectionLifted = false;  // BL written without its block protect bits, not yet set again
  bool writeEnabled = false;      // the chip unlocked and SR not yet written back
  std::size_t eepromWritten = 0;  // EEPROM bytes rewritten from address 0
  std::size_t eepromTotal = 0;    // and of how many
  std::vector<std::string> registersWritten;
};
RestoreLeftover restoreLeftover(const std::vector<SnapshotStep>& plan, std::size_t stepsDone);
// The leftover in words for the user, ending with how to finish.
// `restoreAgain` names what finishes the restore: the window's button, or a command.
std::string leftoverText(const RestoreLeftover& leftover,
                         const std::string& restoreAgain = "“恢复到芯片”");

// The writes that put block protection and the write enables back as they were before a stopped
// restore (`bl` and `sr` as the chip held them then): BL when the restore lifted protection, then
// SR's settings, which locks the chip.
std::vector<SnapshotStep> relockPlan(const DeviceProfile& profile, std::uint8_t bl, std::uint8_t sr,
                                     bool protectionLifted);

// Why the values of `snapshot` cannot be written to a chip: the first clock register, or enabled
// alarm field, that is not BCD within its range, named with its value. Nothing when all are.
std::optional<std::string> valueRefusal(const Snapshot& snapshot);

// Whether the accepted reply to `step` carries all it asked for: a block read as many bytes.
bool replyComplete(const SnapshotStep& step, const ChipReads& reads);

// The values a read gathers, step by step, until the snapshot is whole.
class SnapshotGathering {
 public:
  SnapshotGathering(std::string model, Layout layout);
  // Takes what the accepted reply to `step` left in the reads, the image and the records.
  void take(const SnapshotStep& step, const ChipReads& reads, const RegisterImage& registers,
            const TimeAlarmRecords& records);
  Snapshot snapshot(std::string takenAt, std::string programVersion) const;

 private:
  void put(RegisterGroup group, const std::vector<std::uint8_t>& bytes);

  Layout layout_;
  std::string model_;
  std::vector<SnapshotSlot> slots_;
  std::vector<std::uint8_t> values_;
  std::vector<std::uint8_t> eeprom_;
};

}  // namespace rtceval
