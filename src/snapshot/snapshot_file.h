#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "snapshot/snapshot.h"

namespace rtceval {

// A snapshot of the largest model is about 3 KB; a file far larger is not one, and is not read
// past this.
inline constexpr std::size_t kMaxSnapshotFileBytes = 1 << 20;
inline constexpr const char* kSnapshotFileTooLarge = "文件太大，不是寄存器快照文件";

// A snapshot as a JSON file: the model, the time it was taken, the program's version, every
// register by name, address and value, and the EEPROM as one string of hexadecimal digits.
std::string toJson(const Snapshot& snapshot);

// Reads a snapshot file. Anything short of a complete, well-formed snapshot of a known model is
// refused with a reason: a file is taken whole or not at all.
struct SnapshotLoad {
  std::optional<Snapshot> snapshot;
  std::string error;
};
SnapshotLoad fromJson(std::string_view text);

}  // namespace rtceval
