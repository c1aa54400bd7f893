#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sim/board/i2c_master.h"
#include "sim/chip/rtc_chip.h"

namespace rtceval::sim::testing {

// SR's address on layout A (X1226 family) and on layout B (X1208 family).
inline constexpr std::uint16_t kSrA = 0x3F;
inline constexpr std::uint16_t kSrB = 0x07;

using Bytes = std::vector<std::uint8_t>;

// A chip on the bus at a time the test sets, driven through the board's I2C transactions.
// Layout-B chips get their one-byte register addresses the way the program sends them (0xFF).
class ChipFixture {
 public:
  explicit ChipFixture(ChipModel model, CivilTime start = {2004, 5, 20, 9, 5, 30})
      : chip(model, clockFieldsOf(start), 0) {}

  void at(std::int64_t ms) {
    now = ms;
    chip.advanceTo(ms);
  }
  bool write(std::uint16_t address, const Bytes& data, std::uint8_t device = 0x6F) {
    chip.advanceTo(now);
    return i2cWrite(chip, device, high(address, device), low(address), data).acknowledged;
  }
  // An empty result means the chip refused the transaction.
  Bytes read(std::uint16_t address, std::size_t count, std::uint8_t device = 0x6F) {
    chip.advanceTo(now);
    return i2cRead(chip, device, high(address, device), low(address), count).data;
  }
  std::uint8_t readOne(std::uint16_t address, std::uint8_t device = 0x6F) {
    const Bytes b = read(address, 1, device);
    EXPECT_EQ(b.size(), 1u) << "register " << address << " refused";
    return b.empty() ? 0xEE : b[0];
  }

  RtcChip chip;
  std::int64_t now = 0;

 private:
  std::uint8_t high(std::uint16_t address, std::uint8_t device) const {
    if (device == 0x6F && chip.profile().layout == RegisterLayout::B) return 0xFF;
    return static_cast<std::uint8_t>(address >> 8);
  }
  // The low byte of the register address; the high byte goes out on its own.
  static std::uint8_t low(std::uint16_t address) {
    return static_cast<std::uint8_t>(address & 0xFF);
  }
};

}  // namespace rtceval::sim::testing
