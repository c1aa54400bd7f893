#pragma once

#include <array>
#include <cstdint>

namespace rtceval::sim {

// The 512-byte EEPROM array of the X1226/X1227/X1228, with its page and block-protect rules.
class Eeprom {
 public:
  static constexpr std::uint16_t kSize = 512;
  static constexpr std::uint16_t kPageSize = 64;

  Eeprom() { bytes_.fill(0xFF); }

  // Addresses past the array wrap onto it, as the chip ignores the upper address bits.
  std::uint8_t read(std::uint16_t address) const { return bytes_[address % kSize]; }

  // Stores `value` unless `blockProtect` (BP2..BP0 as a number 0..7) covers the address.
  // Returns whether the byte was stored.
  bool program(std::uint16_t address, std::uint8_t value, std::uint8_t blockProtect);

  // The protected ranges, scaled from the chip family's table to this array: upper quarter,
  // upper half, everything, or the first 1, 2, 4 or 8 pages of 64 bytes.
  static bool isProtected(std::uint16_t address, std::uint8_t blockProtect);

  // The address after `address` within a page write: it rolls over to the start of its page.
  static std::uint16_t nextInPage(std::uint16_t address);

  // The whole array, as a chip kept between runs of the virtual board saves and restores it.
  const std::array<std::uint8_t, kSize>& bytes() const { return bytes_; }
  void restore(const std::array<std::uint8_t, kSize>& bytes) { bytes_ = bytes; }

 private:
  std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace rtceval::sim
