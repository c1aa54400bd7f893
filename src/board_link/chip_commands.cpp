#include "board_link/chip_commands.h"

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "core/device_profile.h"
#include "core/register_map.h"

namespace rtceval {

ChipCommands::ChipCommands(BoardLink& link, const DeviceProfile& profile, RegisterImage& registers,
                           TimeAlarmRecords& records)
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
  run(WriteJob::Kind::Time);
}

void ChipCommands::CmdWriteAL0() {
  run(WriteJob::Kind::Alarm0);
}

void ChipCommands::CmdWriteAL1() {
  run(WriteJob::Kind::Alarm1);
}

void ChipCommands::CmdWriteINT() {
  run(WriteJob::Kind::INT);
}
void ChipCommands::CmdWriteBL() {
  run(WriteJob::Kind::BL);
}
void ChipCommands::CmdWriteATR() {
  run(WriteJob::Kind::ATR);
}
void ChipCommands::CmdWriteDTR() {
  run(WriteJob::Kind::DTR);
}
void ChipCommands::CmdWriteEV() {
  run(WriteJob::Kind::EV);
}

void ChipCommands::run(WriteJob job) {
  send(requests::job(layout(), job, registers_, records_));
}

void ChipCommands::run(WriteJob job, const Values& values) {
  const auto take = [&](RegisterId id) {
    const auto image = registerOf(id).image;
    registers_.*image = values.registers.*image;
  };
  switch (job.kind()) {
    case WriteJob::Kind::Time:
      records_.NewTime = values.records.NewTime;
      break;
    case WriteJob::Kind::ReadSR:
      break;
    case WriteJob::Kind::INT:
      take(RegisterId::INT);
      break;
    case WriteJob::Kind::BL:
      take(RegisterId::BL);
      break;
    case WriteJob::Kind::ATR:
      take(RegisterId::ATR);
      break;
    case WriteJob::Kind::DTR:
      take(RegisterId::DTR);
      break;
    case WriteJob::Kind::EV:
      take(RegisterId::EV);
      break;
    case WriteJob::Kind::Alarm0:
      records_.Alarm0Regs = values.records.Alarm0Regs;
      break;
    case WriteJob::Kind::Alarm1:
      records_.Alarm1Regs = values.records.Alarm1Regs;
      break;
  }
  run(job);
}

Layout ChipCommands::layout() const {
  return layoutOf(profile_.Is1208Family);
}

}  // namespace rtceval
