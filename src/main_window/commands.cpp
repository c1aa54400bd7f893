#include "main_window/commands.h"

#include <vector>

#include "board_link/board_link.h"
#include "board_link/protocol.h"
#include "main_window/device_profile.h"
#include "register_editors/register_map.h"
#include "time_alarms/time_record.h"

namespace rtceval {
namespace {

using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_CCR;

constexpr const char* TEXT_READ_TIME = "读时间...";
constexpr const char* TEXT_WRITE_TIME = "设置时间...";
constexpr const char* TEXT_WRITE_AL0 = "设置AL0";
constexpr const char* TEXT_WRITE_AL1 = "设置AL1";

// Payload of a block write: header, then the record's bytes in register order.
std::vector<std::uint8_t> blockWrite(std::uint8_t address, std::uint8_t count) {
  return {CMD_WRITE, DEV_CCR, 0x00, address, count};
}
}  // namespace

MainCommands::MainCommands(BoardLink& link, const DeviceProfile& profile,
                           const RegisterImage& registers, const TimeAlarmRecords& records)
    : link_(link), profile_(profile), registers_(registers), records_(records) {}

void MainCommands::CmdReadTime() {
  const RegisterBlock block = TimeBlock(LayoutOf(profile_.Is1208Family));
  link_.Request({CMD_READ, DEV_CCR, 0x00, block.address, block.count}, StReadTime, TEXT_READ_TIME);
}

void MainCommands::CmdGetSR() {
  const RegisterInfo& sr = RegisterOf(RegisterId::SR);
  link_.ReadReg(*sr.address(LayoutOf(profile_.Is1208Family)), sr.read.state, sr.read.text);
}

void MainCommands::CmdSetWEL() {
  const Layout layout = LayoutOf(profile_.Is1208Family);
  const WriteEnableStep& step = WriteEnableSteps(layout).front();
  link_.WriteReg(*RegisterOf(RegisterId::SR).address(layout), step.srValue, step.request.state,
                 step.request.text);
}

void MainCommands::CmdSetRWEL() {
  const Layout layout = LayoutOf(profile_.Is1208Family);
  const auto steps = WriteEnableSteps(layout);
  if (steps.size() < 2) return;  // the X1208 family unlocks in one step
  link_.WriteReg(*RegisterOf(RegisterId::SR).address(layout), steps[1].srValue,
                 steps[1].request.state, steps[1].request.text);
}

void MainCommands::CmdWriteTime() {
  const Layout layout = LayoutOf(profile_.Is1208Family);
  const RegisterBlock block = TimeBlock(layout);
  const TimeRecord& t = records_.NewTime;
  auto payload = blockWrite(block.address, block.count);
  payload.insert(payload.end(),
                 {t.second, t.minute, t.hour, t.date, t.month, t.yearLow(), t.weekday});
  if (layout == Layout::A) payload.push_back(t.yearHigh());
  link_.Request(payload, StWriteTime, TEXT_WRITE_TIME);
}

void MainCommands::CmdWriteAL0() {
  const Layout layout = LayoutOf(profile_.Is1208Family);
  const RegisterBlock block = Alarm0Block(layout);
  const TimeRecord& a = records_.Alarm0Regs;
  auto payload = blockWrite(block.address, block.count);
  if (layout == Layout::A)
    payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.yearLow(),
                                   a.weekday, a.yearHigh()});
  else
    payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.weekday});
  link_.Request(payload, StWriteAL0, TEXT_WRITE_AL0);
}

void MainCommands::CmdWriteAL1() {
  const auto block = Alarm1Block(LayoutOf(profile_.Is1208Family));
  if (!block) return;  // the X1208 family has no alarm 1
  const TimeRecord& a = records_.Alarm1Regs;
  auto payload = blockWrite(block->address, block->count);
  payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.yearLow(),
                                 a.weekday, a.yearHigh()});
  link_.Request(payload, StWriteAL1, TEXT_WRITE_AL1);
}

void MainCommands::writeRegister(RegisterId id) {
  const RegisterInfo& reg = RegisterOf(id);
  const auto address = reg.address(LayoutOf(profile_.Is1208Family));
  if (!address) return;  // the selected model has no such register
  link_.WriteReg(*address, registers_.*reg.image, reg.write.state, reg.write.text);
}

void MainCommands::CmdWriteINT() {
  writeRegister(RegisterId::INT);
}
void MainCommands::CmdWriteBL() {
  writeRegister(RegisterId::BL);
}
void MainCommands::CmdWriteATR() {
  writeRegister(RegisterId::ATR);
}
void MainCommands::CmdWriteDTR() {
  writeRegister(RegisterId::DTR);
}
void MainCommands::CmdWriteEV() {
  writeRegister(RegisterId::EV);
}

bool MainCommands::RunJob(int job) {
  switch (job) {
    case StWriteTime:
      CmdWriteTime();
      return true;
    case StReadSR:
      CmdGetSR();
      return true;
    case StWriteINT:
      CmdWriteINT();
      return true;
    case StWriteBL:
      CmdWriteBL();
      return true;
    case StWriteATR:
      CmdWriteATR();
      return true;
    case StWriteDTR:
      CmdWriteDTR();
      return true;
    case StWriteEV:
      CmdWriteEV();
      return true;
    case StWriteAL0:
      CmdWriteAL0();
      return true;
    case StWriteAL1:
      CmdWriteAL1();
      return true;
    default:
      return false;
  }
}

}  // namespace rtceval
