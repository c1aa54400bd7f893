#pragma once

#include <string>
#include <vector>

#include "snapshot/snapshot.h"

namespace rtceval {

// One line of the snapshot window's table, as shown.
struct SnapshotRow {
  std::string address;
  std::string name;
  std::string value;
  std::string bits;
};

// The table of a snapshot: each register in the snapshot's order (its address and value as
// "0x3F", its bits in two groups of four followed by the names of those set, bits with no name of
// their own left out), then the EEPROM sixteen bytes to a line under the address of the first.
std::vector<SnapshotRow> snapshotRows(const Snapshot& snapshot);

}  // namespace rtceval
