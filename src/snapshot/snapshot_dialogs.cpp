#include "snapshot/snapshot_dialogs.h"

#include <array>

#include "dialogs/sub_form_ids.h"
#include "snapshot/snapshot_window.h"

namespace rtceval {

std::span<const DialogRow> snapshotDialogs() {
  static constexpr std::array<DialogRow, 1> kRows{{
      {tool_window::kSnapshot, &makeDialog<SnapshotWindow>},
  }};
  return kRows;
}

}  // namespace rtceval
