#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/chip/bcd_calendar.h"
#include "sim/chip/chip_profile.h"
#include "sim/chip/clock_counter.h"
#include "sim/chip/eeprom.h"
#include "sim/chip/i2c_target.h"

namespace rtceval::sim {

// One real-time-clock chip of the family on the I2C bus: the clock, control and status registers
// at device 0x6F and, where the model has one, the EEPROM array at device 0x57. Time is whatever
// the caller says it is: `advanceTo` moves the chip's clock and ends its write cycles, and the
// bus calls act at the time last given.
class RtcChip : public I2cTarget {
 public:
  static constexpr std::uint8_t kClockDevice = 0x6F;
  static constexpr std::uint8_t kEepromDevice = 0x57;
  static constexpr std::chrono::milliseconds kNonVolatileWriteTime{10};

  // Power-up: the clock runs from `start`, RTCF is set, every other register is clear.
  RtcChip(ChipModel model, const ClockFields& start, std::int64_t nowMs);

  const ChipProfile& profile() const { return profile_; }
  void advanceTo(std::int64_t nowMs) override;

  bool start(std::uint8_t device, bool read) override;
  bool writeByte(std::uint8_t byte) override;
  std::uint8_t readByte() override;
  void stop() override;

  // The world around the chip, as the board's control channel changes it.
  void setBackupSupply(bool onBattery);
  // An edge on the event input; false when the model has none.
  bool raiseEvent();
  // Loss of both supplies: the clock is no longer trusted and the write latches are lost.
  void powerFail();
  // The crystal's own error in ppm at the load of ATR = 0; ATR and DTR trim the rate from there.
  void setCrystalPpm(double ppm);
  double crystalPpm() const { return crystalPpm_; }
  // The clock's rate error now, crystal and both trimmings, in ppm (positive: fast).
  double ratePpm() const { return clock_.ratePpm(); }

  // What the chip holds between two runs of a program on the virtual board: the board stays
  // powered meanwhile, so the registers, the write latches, the EEPROM, the crystal and the
  // running second are all kept.
  struct Saved {
    ClockFields time;
    double msIntoSecond = 0.0;
    std::array<std::uint8_t, 0x40> registers{};
    std::uint8_t status = 0;
    std::array<std::uint8_t, Eeprom::kSize> eeprom{};
    double crystalPpm = 0.0;
  };
  Saved saved() const;
  // Takes up a chip saved `elapsedMs` ago: its clock runs on over that time at its trimmed rate,
  // and an alarm that matched meanwhile has set its flag, as on a board left plugged in.
  void resume(const Saved& saved, std::int64_t elapsedMs);

  // The register as a read would see it now, without a read's side effects.
  std::uint8_t peekRegister(std::uint16_t address) const;
  std::uint8_t peekEeprom(std::uint16_t address) const { return eeprom_.read(address); }
  const ClockFields& time() const { return clock_.fields(); }
  std::uint16_t registerCount() const;
  // True while a non-volatile write cycle runs and the chip ignores its address.
  bool busy() const { return nowMs_ < nvBusyUntilMs_; }

 private:
  enum class Phase { Idle, Address, Data, Reading, Refused };
  enum class Target { Registers, Memory };
  enum class Verdict { Accept, Discard, Refuse };
  struct PendingByte {
    Target target;
    std::uint16_t address;
    std::uint8_t value;
  };

  // Register semantics per layout (chip_registers.cpp).
  std::uint8_t readRegister(std::uint16_t address) const;
  bool acceptsRegisterAddress(std::uint16_t address) const;
  Verdict judgeWrite(Target target, std::uint16_t address) const;
  void commit(const std::vector<PendingByte>& bytes);
  void writeStatus(std::uint8_t value);
  void afterStatusRead(std::uint8_t statusAtStart);
  void checkAlarms(const ClockFields& now);
  void updateRate();
  std::uint16_t statusAddress() const;

  std::uint16_t nextAddress(std::uint16_t address) const;
  int addressBytesNeeded() const;

  const ChipProfile& profile_;
  bool layoutA_;
  std::int64_t nowMs_;
  ClockCounter clock_;
  Eeprom eeprom_;
  std::array<std::uint8_t, 0x40> registers_{};
  std::uint8_t status_ = 0;
  std::int64_t nvBusyUntilMs_ = 0;
  bool nvCyclePending_ = false;
  std::array<bool, 2> alarmMatched_{};
  double crystalPpm_ = 0.0;

  // The transaction in progress.
  Phase phase_ = Phase::Idle;
  Target target_ = Target::Registers;
  std::uint16_t pointer_ = 0;
  int addressBytesSeen_ = 0;
  std::vector<PendingByte> pending_;
  std::array<std::uint8_t, 0x40> latched_{};
};

}  // namespace rtceval::sim
