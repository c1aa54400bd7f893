#include "board_link/chip_commands.h"

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "core/device_profile.h"
#include "core/register_map.h"

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
  send(build(job));
}

std::optional<Request> ChipCommands::build(WriteJob job) const {
  return requests::job(layout(), job, registers_, records_);
}

Layout ChipCommands::layout() const {
  return layoutOf(profile_.Is1208Family);
}

}  // namespace rtceval
