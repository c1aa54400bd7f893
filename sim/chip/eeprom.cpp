#include "sim/chip/eeprom.h"

namespace rtceval::sim {

namespace {

struct ProtectedRange {
  std::uint16_t first;
  std::uint16_t last;
};

constexpr std::uint16_t kLast = Eeprom::kSize - 1;
constexpr std::uint16_t kPage = Eeprom::kPageSize;

// Indexed by BP2 BP1 BP0; a range with first > last protects nothing.
constexpr ProtectedRange kRanges[8] = {
    {1, 0},                          // none
    {Eeprom::kSize * 3 / 4, kLast},  // upper quarter
    {Eeprom::kSize / 2, kLast},      // upper half
    {0, kLast},                      // all
    {0, kPage - 1},                  // first page
    {0, 2 * kPage - 1},              // first 2 pages
    {0, 4 * kPage - 1},              // first 4 pages
    {0, 8 * kPage - 1},              // first 8 pages
};

}  // namespace

bool Eeprom::isProtected(std::uint16_t address, std::uint8_t blockProtect) {
  const ProtectedRange& r = kRanges[blockProtect & 0x07];
  const std::uint16_t a = address % kSize;
  return a >= r.first && a <= r.last;
}

bool Eeprom::program(std::uint16_t address, std::uint8_t value, std::uint8_t blockProtect) {
  if (isProtected(address, blockProtect)) return false;
  bytes_[address % kSize] = value;
  return true;
}

std::uint16_t Eeprom::nextInPage(std::uint16_t address) {
  const auto pageStart = static_cast<std::uint16_t>(address & ~(kPageSize - 1));
  return static_cast<std::uint16_t>(pageStart | ((address + 1) & (kPageSize - 1)));
}

}  // namespace rtceval::sim
