#include "snapshot/snapshot_plan.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <span>
#include <string_view>
#include <utility>

#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_image.h"
#include "core/register_map.h"
#include "core/time_record.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;

// A page write rolls over within its 64-byte page: a piece never crosses into the next one.
constexpr std::size_t kEepromPage = 64;
// The chip does not answer while a write cycle runs (up to 10 ms); the next request's own bytes
// on the line take a few milliseconds more.
constexpr Millis kWriteCycle = 10ms;
// The write enables by the names a failure text gives them, in the order they go out.
constexpr std::array<const char*, 2> kUnlockNames = {"WEL", "RWEL"};

std::uint8_t blockProtectMask(Layout layout) {
  std::uint8_t mask = 0;
  const BitNames& bits = registerOf(RegisterId::BL).bits(layout);
  for (std::size_t n = 0; n < bits.size(); ++n)
    if (bits[n].dialog && std::string_view(bits[n].dialog).substr(0, 2) == "BP")
      mask |= static_cast<std::uint8_t>(1U << n);
  return mask;
}

SnapshotStep readStep(std::string what, const std::optional<Request>& request, Gather gather) {
  SnapshotStep step;
  step.what = std::move(what);
  if (request) step.requests.push_back(*request);
  step.gather = gather;
  return step;
}

// A register, alarm or clock write: the write enables first, then the write, as every window's
// register write goes out. On layout A the control registers and the alarms are non-volatile:
// the chip is busy with a write cycle after them, as after an EEPROM page.
SnapshotStep unlockedWrite(std::string what, Layout layout, const Request& write,
                           std::function<void(RegisterImage&, TimeAlarmRecords&)> intoImage,
                           bool nonVolatile = true) {
  SnapshotStep step;
  step.what = std::move(what);
  step.requests = requests::writeEnable(layout);
  step.requests.push_back(write);
  step.intoImage = std::move(intoImage);
  if (nonVolatile && layout == Layout::A) step.pauseAfter = kWriteCycle;
  return step;
}

}  // namespace

std::vector<SnapshotStep> readPlan(const DeviceProfile& profile) {
  const Layout layout = layoutOf(profile.Is1208Family);
  std::vector<SnapshotStep> steps;
  steps.push_back(readStep("时钟", requests::readTime(layout), Gather::Clock));
  if (profile.HasAlarm0)
    steps.push_back(readStep("AL0", requests::readAlarm(layout, 0), Gather::Alarm0));
  if (profile.HasAlarm1)
    if (const auto request = requests::readAlarm(layout, 1))
      steps.push_back(readStep("AL1", request, Gather::Alarm1));
  steps.push_back(readStep("SR", requests::readRegister(layout, RegisterId::SR), Gather::Status));
  steps.push_back(readStep("INT/ATR/DTR", requests::readControlBlock(layout), Gather::Control));
  if (profile.HasUserReg)
    if (const auto request = requests::readUserRegisters(layout))
      steps.push_back(readStep("USR1/USR2", request, Gather::User));
  const std::size_t eepromBytes = profile.HasMemory ? kEepromSize : 0;
  for (std::size_t a = 0; a < eepromBytes; a += protocol::kMaxReadCount) {
    const auto address = static_cast<std::uint16_t>(a);
    const std::size_t count = std::min(protocol::kMaxReadCount, eepromBytes - a);
    SnapshotStep step = readStep("EEPROM " + eepromAddressText(a),
                                 requests::readEeprom(address, static_cast<std::uint8_t>(count)),
                                 Gather::EepromBlock);
    step.eepromAddress = address;
    step.eepromCount = count;
    steps.push_back(std::move(step));
  }
  return steps;
}

std::vector<SnapshotStep> restorePlan(const DeviceProfile& profile, const Snapshot& s,
                                      bool withClock) {
  const Layout layout = layoutOf(profile.Is1208Family);
  const std::vector<std::uint8_t> control = groupValues(s, RegisterGroup::Control);
  const auto order = controlBlockOrder(layout);
  const auto registerWrite = [layout](RegisterId id, std::uint8_t value) {
    const auto image = registerOf(id).image;
    return unlockedWrite(registerOf(id).name, layout, *requests::writeRegister(layout, id, value),
                         [image, value](RegisterImage& r, TimeAlarmRecords&) { r.*image = value; });
  };
  std::vector<SnapshotStep> steps;
  // SR and BL as the chip holds them before anything is written: what a stopped restore offers
  // to put back.
  for (const RegisterId id : {RegisterId::SR, RegisterId::BL})
    if (const auto request = requests::readRegister(layout, id)) {
      SnapshotStep read = readStep(registerOf(id).name, request, Gather::Nothing);
      read.role = SnapshotStep::Role::ReadsBefore;
      steps.push_back(std::move(read));
    }

  if (!s.eeprom.empty()) {
    // Block protection would refuse the array's bytes: it is lifted first and set again with the
    // control block below.
    for (std::size_t i = 0; i < order.size(); ++i)
      if (order[i] == RegisterId::BL) {
        SnapshotStep lift = registerWrite(
            RegisterId::BL, static_cast<std::uint8_t>(control[i] & ~blockProtectMask(layout)));
        lift.what = "BL";
        lift.role = SnapshotStep::Role::LiftsProtection;
        steps.push_back(std::move(lift));
      }
    const std::vector<Request> unlock = requests::writeEnable(layout);
    for (std::size_t a = 0; a < s.eeprom.size();) {
      // The array takes data only while the chip is unlocked, and each write cycle locks it.
      for (std::size_t k = 0; k < unlock.size() && k < kUnlockNames.size(); ++k)
        steps.push_back({kUnlockNames[k],
                         {unlock[k]},
                         Gather::Nothing,
                         0,
                         0,
                         {},
                         {},
                         SnapshotStep::Role::Unlock});
      const std::size_t count =
          std::min({protocol::kMaxWriteData, kEepromPage - a % kEepromPage, s.eeprom.size() - a});
      const std::span<const std::uint8_t> bytes(s.eeprom.data() + a, count);
      steps.push_back({"EEPROM " + eepromAddressText(a),
                       {requests::writeEeprom(static_cast<std::uint16_t>(a), bytes)},
                       Gather::Nothing,
                       static_cast<std::uint16_t>(a),
                       count,
                       {},
                       kWriteCycle,
                       SnapshotStep::Role::EepromWrite});
      a += count;
    }
  }
  for (std::size_t i = 0; i < order.size(); ++i)
    steps.push_back(registerWrite(order[i], control[i]));
  if (profile.HasAlarm0) {
    const TimeRecord alarm = recordOf(groupValues(s, RegisterGroup::Alarm0), layout, true);
    steps.push_back(
        unlockedWrite("AL0", layout, *requests::writeAlarm(layout, 0, alarm),
                      [alarm](RegisterImage&, TimeAlarmRecords& r) { r.Alarm0Regs = alarm; }));
  }
  if (profile.HasAlarm1) {
    const TimeRecord alarm = recordOf(groupValues(s, RegisterGroup::Alarm1), layout, true);
    if (const auto write = requests::writeAlarm(layout, 1, alarm))
      steps.push_back(
          unlockedWrite("AL1", layout, *write,
                        [alarm](RegisterImage&, TimeAlarmRecords& r) { r.Alarm1Regs = alarm; }));
  }
  if (profile.HasUserReg) {
    const std::vector<std::uint8_t> user = groupValues(s, RegisterGroup::User);
    if (user.size() == 2)
      if (const auto write = requests::writeUserRegisters(layout, user[0], user[1]))
        steps.push_back({"USR1/USR2", {*write}, Gather::Nothing, 0, 0, {}, {}});
  }
  if (withClock) {
    const TimeRecord time = recordOf(groupValues(s, RegisterGroup::Clock), layout, false);
    steps.push_back(unlockedWrite(
        "时钟", layout, requests::writeTime(layout, time),
        [time](RegisterImage&, TimeAlarmRecords& r) { r.NewTime = time; }, false));
  }
  // SR last: it locks the chip again as the snapshot had it.
  const std::uint8_t status =
      statusRestoreValue(groupValues(s, RegisterGroup::Status).at(0), layout);
  steps.push_back({registerOf(RegisterId::SR).name,
                   {*requests::writeRegister(layout, RegisterId::SR, status)},
                   Gather::Nothing,
                   0,
                   0,
                   {},
                   {}});
  return steps;
}

std::vector<SnapshotStep> relockPlan(const DeviceProfile& profile, std::uint8_t bl, std::uint8_t sr,
                                     bool protectionLifted) {
  const Layout layout = layoutOf(profile.Is1208Family);
  std::vector<SnapshotStep> steps;
  if (protectionLifted)
    steps.push_back(unlockedWrite("BL", layout,
                                  *requests::writeRegister(layout, RegisterId::BL, bl),
                                  [bl](RegisterImage& r, TimeAlarmRecords&) { r.RegBL = bl; }));
  steps.push_back(
      {registerOf(RegisterId::SR).name,
       {*requests::writeRegister(layout, RegisterId::SR, statusRestoreValue(sr, layout))},
       Gather::Nothing,
       0,
       0,
       {},
       {}});
  return steps;
}

bool replyComplete(const SnapshotStep& step, const ChipReads& reads) {
  return step.gather != Gather::EepromBlock || reads.memoryBlock.size() == step.eepromCount;
}

SnapshotGathering::SnapshotGathering(std::string model, Layout layout)
    : layout_(layout),
      model_(std::move(model)),
      slots_(snapshotSlots(model_)),
      values_(slots_.size(), 0),
      eeprom_(eepromSizeOf(model_), 0) {}

void SnapshotGathering::put(RegisterGroup group, const std::vector<std::uint8_t>& bytes) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < slots_.size() && k < bytes.size(); ++i)
    if (slots_[i].group == group) values_[i] = bytes[k++];
}

void SnapshotGathering::take(const SnapshotStep& step, const ChipReads& reads,
                             const RegisterImage& registers, const TimeAlarmRecords& records) {
  switch (step.gather) {
    case Gather::Nothing:
      break;
    case Gather::Clock:
      put(RegisterGroup::Clock, clockBytes(reads.time, layout_));
      break;
    case Gather::Alarm0:
      put(RegisterGroup::Alarm0, alarmBytes(records.Alarm0Regs, layout_));
      break;
    case Gather::Alarm1:
      put(RegisterGroup::Alarm1, alarmBytes(records.Alarm1Regs, layout_));
      break;
    case Gather::Status:
      put(RegisterGroup::Status, {registers.RegSR});
      break;
    case Gather::Control: {
      std::vector<std::uint8_t> bytes;
      for (RegisterId id : controlBlockOrder(layout_))
        bytes.push_back(registers.*registerOf(id).image);
      put(RegisterGroup::Control, bytes);
      break;
    }
    case Gather::User:
      put(RegisterGroup::User, {reads.userRegisters[0], reads.userRegisters[1]});
      break;
    case Gather::EepromBlock:
      if (replyComplete(step, reads) && step.eepromAddress + step.eepromCount <= eeprom_.size())
        std::copy(reads.memoryBlock.begin(), reads.memoryBlock.end(),
                  eeprom_.begin() + step.eepromAddress);
      break;
  }
}

Snapshot SnapshotGathering::snapshot(std::string takenAt, std::string programVersion) const {
  Snapshot s{model_, std::move(takenAt), std::move(programVersion), {}, eeprom_};
  for (std::size_t i = 0; i < slots_.size(); ++i)
    s.registers.push_back({slots_[i].name, slots_[i].address, values_[i]});
  return s;
}

}  // namespace rtceval
