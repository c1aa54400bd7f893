#include "snapshot/snapshot_dialogs.h"

#include "snapshot/snapshot_window.h"

namespace rtceval {

std::span<const DialogRow> snapshotDialogs() {
  static constexpr DialogRow kRows[] = {
      {.number = tool_window::kSnapshot,
       .form = "SnapshotWindow",
       .kind = WindowKind::Tool,
       .menu = WindowMenu::Tools,
       .place = 2,
       .item = "SNAPSHOT",
       .caption = "寄存器快照",
       .make = &makeDialog<SnapshotWindow>},
  };
  return kRows;
}

}  // namespace rtceval
