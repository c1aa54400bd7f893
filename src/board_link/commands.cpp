#include "board_link/commands.h"

#include <utility>
#include <vector>

#include "board_link/board_link.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_map.h"
#include "core/time_record.h"

namespace rtceval {
namespace {

using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_CCR;

constexpr const char* kTextReadTime = "读时间...";
constexpr const char* kTextWriteTime = "设置时间...";
constexpr const char* kTextWriteAl0 = "设置AL0";
constexpr const char* kTextWriteAl1 = "设置AL1";

// Payload of a block write: header, then the record's bytes in register order.
std::vector<std::uint8_t> blockWrite(std::uint8_t address, std::uint8_t count) {
  return {CMD_WRITE, DEV_CCR, 0x00, address, count};
}
}  // namespace

MainCommands::MainCommands(BoardLink& link, const DeviceProfile& profile,
                           const RegisterImage& registers, const TimeAlarmRecords& records)
    : link_(link), profile_(profile), registers_(registers), records_(records) {}

void MainCommands::CmdReadTime() {
  const RegisterBlock block = timeBlock(layoutOf(profile_.Is1208Family));
  link_.request({CMD_READ, DEV_CCR, 0x00, block.address, block.count}, StReadTime, kTextReadTime);
}

void MainCommands::CmdGetSR() {
  const RegisterInfo& sr = registerOf(RegisterId::SR);
  link_.ReadReg(*sr.address(layoutOf(profile_.Is1208Family)), sr.read.state, sr.read.text);
}

void MainCommands::CmdSetWEL() {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const WriteEnableStep& step = writeEnableSteps(layout).front();
  link_.WriteReg(*registerOf(RegisterId::SR).address(layout), step.srValue, step.request.state,
                 step.request.text);
}

void MainCommands::CmdSetRWEL() {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const auto steps = writeEnableSteps(layout);
  if (steps.size() < 2) return;  // the X1208 family unlocks in one step
  link_.WriteReg(*registerOf(RegisterId::SR).address(layout), steps[1].srValue,
                 steps[1].request.state, steps[1].request.text);
}

void MainCommands::CmdWriteTime() {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const RegisterBlock block = timeBlock(layout);
  const TimeRecord& t = records_.NewTime;
  auto payload = blockWrite(block.address, block.count);
  payload.insert(payload.end(),
                 {t.second, t.minute, t.hour, t.date, t.month, t.yearLow(), t.weekday});
  if (layout == Layout::A) payload.push_back(t.yearHigh());
  link_.request(payload, StWriteTime, kTextWriteTime);
}

void MainCommands::CmdWriteAL0() {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const RegisterBlock block = alarm0Block(layout);
  const TimeRecord& a = records_.Alarm0Regs;
  auto payload = blockWrite(block.address, block.count);
  if (layout == Layout::A)
    payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.yearLow(),
                                   a.weekday, a.yearHigh()});
  else
    payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.weekday});
  link_.request(payload, StWriteAL0, kTextWriteAl0);
}

void MainCommands::CmdWriteAL1() {
  const auto block = alarm1Block(layoutOf(profile_.Is1208Family));
  if (!block) return;  // the X1208 family has no alarm 1
  const TimeRecord& a = records_.Alarm1Regs;
  auto payload = blockWrite(block->address, block->count);
  payload.insert(payload.end(), {a.second, a.minute, a.hour, a.date, a.month, a.yearLow(),
                                 a.weekday, a.yearHigh()});
  link_.request(payload, StWriteAL1, kTextWriteAl1);
}

void MainCommands::writeRegister(RegisterId id) {
  const RegisterInfo& reg = registerOf(id);
  const auto address = reg.address(layoutOf(profile_.Is1208Family));
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

bool MainCommands::runJob(int job) {
  // The write command of each job code the write sequencer is handed.
  static constexpr std::pair<CmdStateCode, void (MainCommands::*)()> kJobs[] = {
      {StWriteTime, &MainCommands::CmdWriteTime}, {StReadSR, &MainCommands::CmdGetSR},
      {StWriteINT, &MainCommands::CmdWriteINT},   {StWriteBL, &MainCommands::CmdWriteBL},
      {StWriteATR, &MainCommands::CmdWriteATR},   {StWriteDTR, &MainCommands::CmdWriteDTR},
      {StWriteEV, &MainCommands::CmdWriteEV},     {StWriteAL0, &MainCommands::CmdWriteAL0},
      {StWriteAL1, &MainCommands::CmdWriteAL1},
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
