#include "snapshot/snapshot_table.h"

#include <cstdint>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

constexpr std::size_t kEepromBytesPerRow = 16;

// The value's bits in two groups of four, with the names of the bits that are set.
std::string bitsText(const std::string& model, const std::string& name, std::uint8_t value) {
  std::string binary;
  std::string named;
  for (int bit = 7; bit >= 0; --bit) {
    const bool set = ((value >> bit) & 1) != 0;
    binary += set ? '1' : '0';
    if (bit == 4) binary += ' ';
    const std::string n = bitName(model, name, bit);
    if (set && n.rfind("位", 0) != 0) named += (named.empty() ? "" : " ") + n;
  }
  return named.empty() ? binary : binary + "  " + named;
}

}  // namespace

std::vector<SnapshotRow> snapshotRows(const Snapshot& snapshot) {
  std::vector<SnapshotRow> out;
  for (const SnapshotRegister& r : snapshot.registers)
    out.push_back({byteText(r.address), r.name, byteText(r.value),
                   bitsText(snapshot.model, r.name, r.value)});
  for (std::size_t a = 0; a < snapshot.eeprom.size(); a += kEepromBytesPerRow) {
    std::string bytes;
    for (std::size_t k = a; k < a + kEepromBytesPerRow && k < snapshot.eeprom.size(); ++k)
      bytes += (k > a ? " " : "") + HexByte(snapshot.eeprom[k]);
    out.push_back({eepromAddressText(a), "EEPROM", bytes, {}});
  }
  return out;
}

}  // namespace rtceval
