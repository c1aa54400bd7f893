#include "sim/chip/rtc_chip.h"

#include <algorithm>

#include "sim/chip/crystal.h"
#include "sim/chip/register_addresses.h"

namespace rtceval::sim {

RtcChip::RtcChip(ChipModel model, const ClockFields& start, std::int64_t nowMs)
    : profile_(profileOf(model)),
      layoutA_(profile_.layout == RegisterLayout::A),
      nowMs_(nowMs),
      clock_(start, nowMs) {
  status_ = layoutA_ ? layout_a::kRTCF : layout_b::kRTCF;
}

void RtcChip::advanceTo(std::int64_t nowMs) {
  if (nowMs <= nowMs_) return;
  nowMs_ = nowMs;
  // The write latch RWEL falls when the non-volatile cycle that a control write started is over.
  if (nvCyclePending_ && nowMs_ >= nvBusyUntilMs_) {
    nvCyclePending_ = false;
    status_ &= static_cast<std::uint8_t>(~layout_a::kRWEL);
  }
  clock_.advanceTo(nowMs_, [this](const ClockFields& now) { checkAlarms(now); });
}

std::uint16_t RtcChip::registerCount() const {
  return layoutA_ ? layout_a::kRegisterCount : layout_b::kRegisterCount;
}

int RtcChip::addressBytesNeeded() const {
  return (target_ == Target::Registers && !layoutA_) ? 1 : 2;
}

std::uint16_t RtcChip::nextAddress(std::uint16_t address) const {
  if (target_ == Target::Memory) {
    return phase_ == Phase::Reading ? static_cast<std::uint16_t>((address + 1) % Eeprom::kSize)
                                    : Eeprom::nextInPage(address);
  }
  return static_cast<std::uint16_t>((address + 1) % registerCount());
}

bool RtcChip::start(std::uint8_t device, bool read) {
  // A repeated START ends a write phase without a STOP: its data never takes effect.
  pending_.clear();
  phase_ = Phase::Idle;
  if (busy()) return false;
  if (device == kClockDevice) {
    target_ = Target::Registers;
  } else if (device == kEepromDevice && profile_.hasEeprom) {
    target_ = Target::Memory;
  } else {
    return false;
  }
  if (read) {
    // The whole register file is latched so that a multi-byte read sees one moment in time.
    if (target_ == Target::Registers) {
      for (std::uint16_t a = 0; a < registerCount(); ++a) latched_[a] = readRegister(a);
    }
    phase_ = Phase::Reading;
  } else {
    phase_ = Phase::Address;
    addressBytesSeen_ = 0;
  }
  return true;
}

bool RtcChip::writeByte(std::uint8_t byte) {
  switch (phase_) {
    case Phase::Address: {
      pointer_ = addressBytesSeen_ == 0 ? byte : static_cast<std::uint16_t>((pointer_ << 8) | byte);
      ++addressBytesSeen_;
      if (addressBytesSeen_ < addressBytesNeeded()) {
        // Only the upper half of the register address space exists, and it is all zero.
        if (target_ == Target::Registers && byte != 0x00) {
          phase_ = Phase::Refused;
          return false;
        }
        return true;
      }
      if (target_ == Target::Registers && !acceptsRegisterAddress(pointer_)) {
        phase_ = Phase::Refused;
        return false;
      }
      phase_ = Phase::Data;
      return true;
    }
    case Phase::Data: {
      const Verdict verdict = judgeWrite(target_, pointer_);
      if (verdict == Verdict::Refuse) {
        // The chip gives up the whole write: nothing of it is stored at STOP.
        pending_.clear();
        phase_ = Phase::Refused;
        return false;
      }
      if (verdict == Verdict::Accept) pending_.push_back({target_, pointer_, byte});
      pointer_ = nextAddress(pointer_);
      return true;
    }
    case Phase::Idle:
    case Phase::Reading:
    case Phase::Refused:
      return false;
  }
  return false;
}

std::uint8_t RtcChip::readByte() {
  if (phase_ != Phase::Reading) return 0xFF;
  std::uint8_t value;
  if (target_ == Target::Memory) {
    value = eeprom_.read(pointer_);
  } else {
    value = latched_[pointer_];
    if (pointer_ == statusAddress()) afterStatusRead(value);
  }
  pointer_ = nextAddress(pointer_);
  return value;
}

void RtcChip::stop() {
  if (phase_ == Phase::Data && !pending_.empty()) commit(pending_);
  pending_.clear();
  phase_ = Phase::Idle;
}

void RtcChip::setBackupSupply(bool onBattery) {
  const std::uint8_t bat = layoutA_ ? layout_a::kBAT : layout_b::kBAT;
  if (onBattery) {
    status_ |= bat;
  } else {
    status_ &= static_cast<std::uint8_t>(~bat);
  }
}

bool RtcChip::raiseEvent() {
  if (!profile_.hasEventInput) return false;
  status_ |= layout_b::kEVT;
  return true;
}

void RtcChip::powerFail() {
  if (layoutA_) {
    status_ &= static_cast<std::uint8_t>(~(layout_a::kWEL | layout_a::kRWEL));
    status_ |= layout_a::kRTCF;
  } else {
    status_ &= static_cast<std::uint8_t>(~layout_b::kWRTC);
    status_ |= layout_b::kRTCF;
  }
  nvCyclePending_ = false;
  nvBusyUntilMs_ = 0;
}

void RtcChip::setCrystalPpm(double ppm) {
  crystalPpm_ = ppm;
  updateRate();
}

void RtcChip::updateRate() {
  const std::uint16_t atr = layoutA_ ? layout_a::kATR : layout_b::kATR;
  const std::uint16_t dtr = layoutA_ ? layout_a::kDTR : layout_b::kDTR;
  clock_.setRatePpm(Crystal::ratePpm(crystalPpm_, readRegister(atr), readRegister(dtr), layoutA_));
}

RtcChip::Saved RtcChip::saved() const {
  Saved s;
  s.time = clock_.fields();
  s.msIntoSecond = clock_.msIntoSecond(nowMs_);
  s.registers = registers_;
  s.status = status_;
  s.eeprom = eeprom_.bytes();
  s.crystalPpm = crystalPpm_;
  return s;
}

void RtcChip::resume(const Saved& saved, std::int64_t elapsedMs) {
  registers_ = saved.registers;
  status_ = saved.status;
  eeprom_.restore(saved.eeprom);
  crystalPpm_ = saved.crystalPpm;
  updateRate();
  // The clock was set as long ago as the part of its second that had run and the time since.
  const auto ran = static_cast<std::int64_t>(std::clamp(saved.msIntoSecond, 0.0, 999.0));
  clock_.set(saved.time, nowMs_ - std::max<std::int64_t>(elapsedMs, 0) - ran);
  clock_.advanceTo(nowMs_, [this](const ClockFields& now) { checkAlarms(now); });
}

std::uint8_t RtcChip::peekRegister(std::uint16_t address) const {
  return address < registerCount() ? readRegister(address) : 0x00;
}

}  // namespace rtceval::sim
