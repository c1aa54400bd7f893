// What each register of the two layouts holds, who may write it and what a write or a read of
// the status register sets off.
#include <array>

#include "sim/chip/register_addresses.h"
#include "sim/chip/rtc_chip.h"

namespace rtceval::sim {

namespace {

constexpr std::uint8_t kDtrMask = 0x07;

// The bytes of the clock in register order: second, minute, hour, date, month, year, weekday,
// century (the last on layout A only).
std::uint8_t& timeField(ClockFields& c, std::uint16_t offset) {
  switch (offset) {
    case 0:
      return c.second;
    case 1:
      return c.minute;
    case 2:
      return c.hour;
    case 3:
      return c.date;
    case 4:
      return c.month;
    case 5:
      return c.year;
    case 6:
      return c.weekday;
    default:
      return c.century;
  }
}

std::uint8_t timeField(const ClockFields& c, std::uint16_t offset) {
  ClockFields copy = c;
  return timeField(copy, offset);
}

// An alarm's match fields: register offsets within its block and the bits compared. Bit 7 of
// each enables the field; the hour keeps its PM bit, which the clock's hour carries the same way.
struct AlarmField {
  std::uint16_t alarmOffset;
  std::uint16_t timeOffset;
  std::uint8_t mask;
};
constexpr std::array<AlarmField, 6> kLayoutAAlarm{
    {{0, 0, 0x7F}, {1, 1, 0x7F}, {2, 2, 0x3F}, {3, 3, 0x3F}, {4, 4, 0x1F}, {6, 6, 0x07}}};
constexpr std::array<AlarmField, 6> kLayoutBAlarm{
    {{0, 0, 0x7F}, {1, 1, 0x7F}, {2, 2, 0x3F}, {3, 3, 0x3F}, {4, 4, 0x1F}, {5, 6, 0x07}}};

bool alarmMatches(const std::uint8_t* alarm, const std::array<AlarmField, 6>& fields,
                  const ClockFields& now) {
  bool anyEnabled = false;
  for (const AlarmField& f : fields) {
    const std::uint8_t a = alarm[f.alarmOffset];
    if (!(a & 0x80)) continue;
    anyEnabled = true;
    if ((a & f.mask) != (timeField(now, f.timeOffset) & f.mask)) return false;
  }
  return anyEnabled;
}

}  // namespace

std::uint16_t RtcChip::statusAddress() const {
  return layoutA_ ? layout_a::kSR : layout_b::kSR;
}

bool RtcChip::acceptsRegisterAddress(std::uint16_t address) const {
  return address < registerCount();
}

std::uint8_t RtcChip::readRegister(std::uint16_t a) const {
  const ClockFields& now = clock_.fields();
  if (layoutA_) {
    using namespace layout_a;
    if (a >= kTime && a < kTime + kTimeBytes) return timeField(now, a - kTime);
    switch (a) {
      case kSR:
        return status_;
      case kBL:
        return registers_[a] & profile_.blMask;
      case kINT:
        return registers_[a] & profile_.intMask;
      case kATR:
        return registers_[a] & profile_.atrMask;
      case kDTR:
        return registers_[a] & kDtrMask;
      default:
        return a < kBL ? registers_[a] : 0x00;
    }
  }
  using namespace layout_b;
  if (a < kTime + kTimeBytes) return timeField(now, a - kTime);
  switch (a) {
    case kSR:
      return status_;
    case kINT:
      return registers_[a] & profile_.intMask;
    case kEV:
      return registers_[a] & profile_.evMask;
    case kATR:
      return registers_[a] & profile_.atrMask;
    case kDTR:
      return registers_[a] & kDtrMask;
    default:
      return a < kRegisterCount ? registers_[a] : 0x00;
  }
}

RtcChip::Verdict RtcChip::judgeWrite(Target target, std::uint16_t a) const {
  if (layoutA_) {
    using namespace layout_a;
    const bool wel = status_ & kWEL;
    const bool rwel = status_ & kRWEL;
    if (target == Target::Memory) return wel ? Verdict::Accept : Verdict::Refuse;
    if (a == kSR) return Verdict::Accept;
    if (!wel || !rwel) return Verdict::Refuse;
    const bool stored = a <= kDTR || (a >= kTime && a < kTime + kTimeBytes);
    return stored ? Verdict::Accept : Verdict::Discard;
  }
  using namespace layout_b;
  if (a < kTime + kTimeBytes) return (status_ & kWRTC) ? Verdict::Accept : Verdict::Discard;
  return Verdict::Accept;
}

void RtcChip::commit(const std::vector<PendingByte>& bytes) {
  const std::uint16_t timeBase = layoutA_ ? layout_a::kTime : layout_b::kTime;
  const std::uint16_t timeBytes = layoutA_ ? layout_a::kTimeBytes : layout_b::kTimeBytes;
  ClockFields newTime = clock_.fields();
  bool timeWritten = false;
  bool nonVolatileWrite = false;
  const auto blockProtect = static_cast<std::uint8_t>(readRegister(layout_a::kBL) >> 5);

  for (const PendingByte& b : bytes) {
    if (b.target == Target::Memory) {
      nonVolatileWrite |= eeprom_.program(b.address, b.value, blockProtect);
    } else if (b.address >= timeBase && b.address < timeBase + timeBytes) {
      timeField(newTime, b.address - timeBase) = b.value;
      timeWritten = true;
    } else if (b.address == statusAddress()) {
      writeStatus(b.value);
    } else {
      registers_[b.address] = b.value;
      // On layout A the alarm and control registers are EEPROM cells.
      nonVolatileWrite |= layoutA_;
    }
  }
  // A trimming byte changes the oscillator's rate from the moment it is stored.
  updateRate();
  if (timeWritten) {
    clock_.set(newTime, nowMs_);
    status_ &= static_cast<std::uint8_t>(~(layoutA_ ? layout_a::kRTCF : layout_b::kRTCF));
  }
  if (nonVolatileWrite) {
    nvBusyUntilMs_ = nowMs_ + kNonVolatileWriteTime.count();
    nvCyclePending_ = true;
  }
}

void RtcChip::writeStatus(std::uint8_t value) {
  if (layoutA_) {
    using namespace layout_a;
    // WEL and RWEL take the written value, but RWEL only rises once WEL stands already.
    const bool wel = value & kWEL;
    const bool rwel = wel && (value & kRWEL) && (status_ & kWEL);
    status_ &= static_cast<std::uint8_t>(~(kWEL | kRWEL));
    status_ |= static_cast<std::uint8_t>((wel ? kWEL : 0) | (rwel ? kRWEL : 0));
    return;
  }
  using namespace layout_b;
  // ARST, XTOSCB and WRTC are plain control bits; the event, alarm and battery flags can only be
  // cleared by writing 0 to them; RTCF belongs to the chip.
  constexpr std::uint8_t kControl = kARST | kXTOSCB | kWRTC;
  constexpr std::uint8_t kClearOnly = kEVT | kALM | kBAT;
  const std::uint8_t cleared = kClearOnly & static_cast<std::uint8_t>(~value);
  status_ = static_cast<std::uint8_t>((status_ & ~kControl & ~cleared) | (value & kControl));
}

void RtcChip::afterStatusRead(std::uint8_t statusAtStart) {
  if (layoutA_) {
    status_ &= static_cast<std::uint8_t>(~(statusAtStart & (layout_a::kAL0 | layout_a::kAL1)));
  } else if (statusAtStart & layout_b::kARST) {
    status_ &= static_cast<std::uint8_t>(~(statusAtStart & layout_b::kALM));
  }
}

void RtcChip::checkAlarms(const ClockFields& now) {
  // A flag rises on the second at which its alarm starts to match, not on every matching second.
  const auto raise = [&](std::size_t index, const std::uint8_t* alarm,
                         const std::array<AlarmField, 6>& fields, std::uint8_t flag) {
    const bool matches = alarmMatches(alarm, fields, now);
    if (matches && !alarmMatched_[index]) status_ |= flag;
    alarmMatched_[index] = matches;
  };
  if (layoutA_) {
    raise(0, &registers_[layout_a::kAlarm0], kLayoutAAlarm, layout_a::kAL0);
    if (profile_.hasAlarm1) raise(1, &registers_[layout_a::kAlarm1], kLayoutAAlarm, layout_a::kAL1);
  } else {
    raise(0, &registers_[layout_b::kAlarm0], kLayoutBAlarm, layout_b::kALM);
  }
}

}  // namespace rtceval::sim
