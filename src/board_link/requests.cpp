#include "board_link/requests.h"

#include "core/protocol.h"
#include "core/register_image.h"
#include "core/time_record.h"

namespace rtceval::requests {
namespace {

using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_CCR;
using protocol::DEV_EEPROM;

constexpr std::string_view kTextReadTime = "读时间...";
constexpr std::string_view kTextWriteTime = "设置时间...";
constexpr std::string_view kTextReadAlarm[] = {"读AL0", "读AL1"};
constexpr std::string_view kTextWriteAlarm[] = {"设置AL0", "设置AL1"};
constexpr std::string_view kTextReadControl = "读控制寄存器";
constexpr std::string_view kTextReadUser = "读用户寄存器";
constexpr std::string_view kTextWriteUser = "写用户寄存器";
constexpr std::string_view kTextReadMemory = "读存储器";
constexpr std::string_view kTextWriteMemory = "写存储器";

std::uint8_t high(std::uint16_t address) {
  return static_cast<std::uint8_t>(address >> 8);
}
std::uint8_t low(std::uint16_t address) {
  return static_cast<std::uint8_t>(address & 0xFF);
}

Request blockRead(RegisterBlock block, CmdStateCode state, std::string_view text) {
  return {{CMD_READ, DEV_CCR, 0x00, block.address, block.count}, state, text};
}

Request blockWrite(RegisterBlock block, std::span<const std::uint8_t> bytes, CmdStateCode state,
                   std::string_view text) {
  Request r{{CMD_WRITE, DEV_CCR, 0x00, block.address, block.count}, state, text};
  r.payload.insert(r.payload.end(), bytes.begin(), bytes.end());
  return r;
}

std::uint8_t namedBits(const BitNames& bits) {
  std::uint8_t mask = 0;
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i].panel || bits[i].dialog) mask |= static_cast<std::uint8_t>(1U << i);
  return mask;
}

std::optional<RegisterBlock> alarmBlock(Layout layout, int alarm) {
  if (alarm == 0) return alarm0Block(layout);
  if (alarm == 1) return alarm1Block(layout);
  return std::nullopt;
}

}  // namespace

Request readTime(Layout layout) {
  return blockRead(timeBlock(layout), StReadTime, kTextReadTime);
}

Request writeTime(Layout layout, const TimeRecord& t) {
  std::vector<std::uint8_t> bytes{t.second, t.minute,    t.hour,   t.date,
                                  t.month,  t.yearLow(), t.weekday};
  if (layout == Layout::A) bytes.push_back(t.yearHigh());
  return blockWrite(timeBlock(layout), bytes, StWriteTime, kTextWriteTime);
}

std::optional<Request> readAlarm(Layout layout, int alarm) {
  const auto block = alarmBlock(layout, alarm);
  if (!block) return std::nullopt;
  const auto i = static_cast<std::size_t>(alarm);
  return blockRead(*block, alarm == 0 ? StReadAL0 : StReadAL1, kTextReadAlarm[i]);
}

std::optional<Request> writeAlarm(Layout layout, int alarm, const TimeRecord& a) {
  const auto block = alarmBlock(layout, alarm);
  if (!block) return std::nullopt;
  // Layout B keeps no year in alarm 0: second … month, then the weekday.
  std::vector<std::uint8_t> bytes =
      layout == Layout::A
          ? std::vector<std::uint8_t>{a.second, a.minute,    a.hour,    a.date,
                                      a.month,  a.yearLow(), a.weekday, a.yearHigh()}
          : std::vector<std::uint8_t>{a.second, a.minute, a.hour, a.date, a.month, a.weekday};
  const auto i = static_cast<std::size_t>(alarm);
  return blockWrite(*block, bytes, alarm == 0 ? StWriteAL0 : StWriteAL1, kTextWriteAlarm[i]);
}

std::optional<Request> readRegister(Layout layout, RegisterId id) {
  const RegisterInfo& reg = registerOf(id);
  const auto address = reg.address(layout);
  if (!address) return std::nullopt;
  return Request{{CMD_READ, DEV_CCR, 0x00, *address, 1}, reg.read.state, reg.read.text};
}

std::optional<Request> writeRegister(Layout layout, RegisterId id, std::uint8_t value) {
  const RegisterInfo& reg = registerOf(id);
  const auto address = reg.address(layout);
  if (!address) return std::nullopt;
  // ATR names every bit it has: a bit it lacks on this layout (BMATR1 and BMATR0, which only the
  // X1208 family has) goes out as 0, whatever the image still holds from a chip picked before.
  if (id == RegisterId::ATR) value &= namedBits(reg.bits(layout));
  return Request{{CMD_WRITE, DEV_CCR, 0x00, *address, 1, value}, reg.write.state, reg.write.text};
}

std::vector<Request> writeEnable(Layout layout) {
  const std::uint8_t sr = *registerOf(RegisterId::SR).address(layout);
  std::vector<Request> steps;
  for (const WriteEnableStep& step : writeEnableSteps(layout))
    steps.push_back(
        {{CMD_WRITE, DEV_CCR, 0x00, sr, 1, step.srValue}, step.request.state, step.request.text});
  return steps;
}

Request readControlBlock(Layout layout) {
  return blockRead(controlBlock(layout), StReadCtrlBlock, kTextReadControl);
}

std::optional<Request> readUserRegisters(Layout layout) {
  const auto block = userRegisterBlock(layout);
  if (!block) return std::nullopt;
  return blockRead(*block, StReadUR, kTextReadUser);
}

std::optional<Request> writeUserRegisters(Layout layout, std::uint8_t first, std::uint8_t second) {
  const auto block = userRegisterBlock(layout);
  if (!block) return std::nullopt;
  const std::uint8_t bytes[] = {first, second};
  return blockWrite(*block, bytes, StWriteUR, kTextWriteUser);
}

Request readEeprom(std::uint16_t address, std::uint8_t count) {
  return {{CMD_READ, DEV_EEPROM, high(address), low(address), count},
          count == 1 ? StReadMem : StReadMemBlock,
          kTextReadMemory};
}

Request writeEeprom(std::uint16_t address, std::span<const std::uint8_t> bytes) {
  Request r{
      {CMD_WRITE, DEV_EEPROM, high(address), low(address), static_cast<std::uint8_t>(bytes.size())},
      StWriteMem,
      kTextWriteMemory};
  r.payload.insert(r.payload.end(), bytes.begin(), bytes.end());
  return r;
}

Request probe(CmdStateCode state) {
  return {{}, state, {}};
}

std::optional<Request> job(Layout layout, WriteJob job, const RegisterImage& registers,
                           const TimeAlarmRecords& records) {
  const auto write = [&](RegisterId id) {
    return writeRegister(layout, id, registers.*registerOf(id).image);
  };
  switch (job.kind()) {
    case WriteJob::Kind::Time:
      return writeTime(layout, records.NewTime);
    case WriteJob::Kind::ReadSR:
      return readRegister(layout, RegisterId::SR);
    case WriteJob::Kind::INT:
      return write(RegisterId::INT);
    case WriteJob::Kind::BL:
      return write(RegisterId::BL);
    case WriteJob::Kind::ATR:
      return write(RegisterId::ATR);
    case WriteJob::Kind::DTR:
      return write(RegisterId::DTR);
    case WriteJob::Kind::EV:
      return write(RegisterId::EV);
    case WriteJob::Kind::Alarm0:
      return writeAlarm(layout, 0, records.Alarm0Regs);
    case WriteJob::Kind::Alarm1:
      return writeAlarm(layout, 1, records.Alarm1Regs);
  }
  return std::nullopt;
}

}  // namespace rtceval::requests
