#include "board_link/chip_commands.h"

#include <utility>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "core/device_profile.h"
#include "core/register_map.h"
#include "core/time_record.h"

namespace rtceval {

ChipCommands::ChipCommands(BoardLink& link, const DeviceProfile& profile,
                           const RegisterImage& registers, const TimeAlarmRecords& records)
    : link_(link), profile_(profile), registers_(registers), records_(records) {}

void ChipCommands::send(const std::optional<Request>& request) {
  // A request the selected model has no register for is not sent.
  if (request) link_.request(*request);
}

void ChipCommands::CmdReadTime() {
  link_.request(requests::readTime(layout()));
}

void ChipCommands::CmdGetSR() {
  send(requests::readRegister(layout(), RegisterId::SR));
}

void ChipCommands::CmdSetWEL() {
  link_.request(requests::writeEnable(layout()).front());
}

void ChipCommands::CmdSetRWEL() {
  const auto steps = requests::writeEnable(layout());
  if (steps.size() < 2) return;  // the X1208 family unlocks in one step
  link_.request(steps[1]);
}

void ChipCommands::CmdWriteTime() {
  link_.request(requests::writeTime(layout(), records_.NewTime));
}

void ChipCommands::CmdWriteAL0() {
  send(requests::writeAlarm(layout(), 0, records_.Alarm0Regs));
}

void ChipCommands::CmdWriteAL1() {
  send(requests::writeAlarm(layout(), 1, records_.Alarm1Regs));
}

void ChipCommands::writeRegister(RegisterId id) {
  send(requests::writeRegister(layout(), id, registers_.*registerOf(id).image));
}

Layout ChipCommands::layout() const {
  return layoutOf(profile_.Is1208Family);
}
void ChipCommands::CmdWriteINT() {
  writeRegister(RegisterId::INT);
}
void ChipCommands::CmdWriteBL() {
  writeRegister(RegisterId::BL);
}
void ChipCommands::CmdWriteATR() {
  writeRegister(RegisterId::ATR);
}
void ChipCommands::CmdWriteDTR() {
  writeRegister(RegisterId::DTR);
}
void ChipCommands::CmdWriteEV() {
  writeRegister(RegisterId::EV);
}

bool ChipCommands::runJob(int job) {
  // The write command of each job code the write sequencer is handed.
  static constexpr std::pair<CmdStateCode, void (ChipCommands::*)()> kJobs[] = {
      {StWriteTime, &ChipCommands::CmdWriteTime}, {StReadSR, &ChipCommands::CmdGetSR},
      {StWriteINT, &ChipCommands::CmdWriteINT},   {StWriteBL, &ChipCommands::CmdWriteBL},
      {StWriteATR, &ChipCommands::CmdWriteATR},   {StWriteDTR, &ChipCommands::CmdWriteDTR},
      {StWriteEV, &ChipCommands::CmdWriteEV},     {StWriteAL0, &ChipCommands::CmdWriteAL0},
      {StWriteAL1, &ChipCommands::CmdWriteAL1},
  };
  for (const auto& [code, command] : kJobs) {
    if (code == job) {
      (this->*command)();
      return true;
    }
  }
  return false;
}

}  // namespace rtceval
