#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/cmd_state.h"
#include "core/device_profile.h"
#include "core/register_map.h"

namespace rtceval {

struct RegisterImage;
struct TimeAlarmRecords;
struct TimeRecord;

// One request to the board as it goes on the line: the payload (command, device, address high
// and low, count, data), the kind of reply it waits for (`CmdState`) and the progress text the
// link panel shows while it is out. Every payload the program sends comes from one of the
// builders below; a builder for something the chip's layout lacks returns nothing.
struct Request {
  std::vector<std::uint8_t> payload;
  CmdStateCode state = StNone;
  std::string_view text;  // static text; empty for a quiet request
};

namespace requests {

// The clock: the time block in register order (second … weekday, and the century on layout A).
Request readTime(Layout layout);
Request writeTime(Layout layout, const TimeRecord& time);

// Alarm 0 or 1; alarm 1 only on layout A.
std::optional<Request> readAlarm(Layout layout, int alarm);
std::optional<Request> writeAlarm(Layout layout, int alarm, const TimeRecord& record);

// One register of the status and control block, read or written by itself with the texts of the
// register map; nothing where the layout has no such register. A bit of ATR the layout lacks (the
// BMATR bits on layout A) is written as 0.
std::optional<Request> readRegister(Layout layout, RegisterId id);
std::optional<Request> writeRegister(Layout layout, RegisterId id, std::uint8_t value);

// The SR writes that unlock the chip before a register write, in order: WEL then RWEL on layout
// A, WRTC on layout B.
std::vector<Request> writeEnable(Layout layout);

// The four registers of the control block in one read, with the snapshot's progress text; the
// control/status panel sends it quietly.
Request readControlBlock(Layout layout);

// The two user registers (layout B only).
std::optional<Request> readUserRegisters(Layout layout);
std::optional<Request> writeUserRegisters(Layout layout, std::uint8_t first, std::uint8_t second);

// EEPROM bytes from `address` on: a read of `count` bytes (one byte is the EEPROM dialog's
// `StReadMem`, more a block read, at most `protocol::kMaxReadCount`), a write of `bytes` (the
// caller keeps a write within one page and at most `protocol::kMaxWriteData` bytes).
Request readEeprom(std::uint16_t address, std::uint8_t count = 1);
Request writeEeprom(std::uint16_t address, std::span<const std::uint8_t> bytes);

// The empty frame that only the board answers (the port search, the reconnect, 连接).
Request probe(CmdStateCode state);

}  // namespace requests

// What the write sequencer sends once the chip is unlocked (the control/status panel's SR read
// goes without unlocking). A job is declared here and built in `requests::job`, nowhere else; the
// compiler holds both switches over `Kind` to every job.
class WriteJob {
 public:
  enum class Kind : CmdStateCode {
    Time = StWriteTime,
    ReadSR = StReadSR,
    INT = StWriteINT,
    BL = StWriteBL,
    ATR = StWriteATR,
    DTR = StWriteDTR,
    EV = StWriteEV,
    Alarm0 = StWriteAL0,
    Alarm1 = StWriteAL1,
  };

  constexpr WriteJob(Kind kind) : kind_(kind) {}
  // A job named by the request code it sends (the bit-field forms, the snapshot's restore): a
  // code that names no job is refused on the spot, as a compile error in a constant expression
  // and as std::invalid_argument otherwise, never as a write that silently does not happen.
  constexpr WriteJob(CmdStateCode code) : kind_(kindOf(code)) {}

  constexpr Kind kind() const { return kind_; }

 private:
  static constexpr Kind kindOf(CmdStateCode code) {
    const auto kind = static_cast<Kind>(code);
    switch (kind) {
      case Kind::Time:
      case Kind::ReadSR:
      case Kind::INT:
      case Kind::BL:
      case Kind::ATR:
      case Kind::DTR:
      case Kind::EV:
      case Kind::Alarm0:
      case Kind::Alarm1:
        return kind;
    }
    throw std::invalid_argument("no write job sends this request code");
  }

  Kind kind_;
};

namespace requests {

// The request of a write job with the values the register image and the records hold as it goes
// out; nothing where the layout lacks the register.
std::optional<Request> job(Layout layout, WriteJob job, const RegisterImage& registers,
                           const TimeAlarmRecords& records);

}  // namespace requests
}  // namespace rtceval
