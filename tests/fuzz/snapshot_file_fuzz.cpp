// The register snapshot file reader on any text: the text either opens as a snapshot or is refused
// with a reason. What opens is whole (every register of its model once, at its address, in the
// model's order, and the model's EEPROM array), and saving it again gives a file that opens as
// the same snapshot. Input format: the file's bytes as they are.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "snapshot/snapshot_file.h"

using namespace rtceval;
using namespace rtceval::fuzz;

namespace {

bool same(const Snapshot& a, const Snapshot& b) {
  if (a.model != b.model || a.takenAt != b.takenAt || a.programVersion != b.programVersion ||
      a.eeprom != b.eeprom || a.registers.size() != b.registers.size())
    return false;
  for (std::size_t i = 0; i < a.registers.size(); ++i)
    if (a.registers[i].name != b.registers[i].name ||
        a.registers[i].address != b.registers[i].address ||
        a.registers[i].value != b.registers[i].value)
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const SnapshotLoad loaded = fromJson(text);
  if (!loaded.snapshot) {
    check(!loaded.error.empty(), "a refused file is refused with a reason");
    return 0;
  }
  check(loaded.error.empty(), "a file that opens carries no refusal");
  const Snapshot& s = *loaded.snapshot;
  const std::vector<SnapshotSlot> slots = snapshotSlots(s.model);
  check(!slots.empty(), "what opens is of a known model");
  check(s.registers.size() == slots.size(), "what opens holds every register of its model");
  for (std::size_t i = 0; i < slots.size(); ++i)
    check(s.registers[i].name == slots[i].name && s.registers[i].address == slots[i].address,
          "each register stands at its place and its address");
  check(s.eeprom.size() == eepromSizeOf(s.model), "what opens holds the model's EEPROM array");

  const SnapshotLoad again = fromJson(toJson(s));
  check(again.snapshot.has_value(), "a snapshot saved again opens again");
  check(same(s, *again.snapshot), "a snapshot saved again opens as the same snapshot");
  return 0;
}
