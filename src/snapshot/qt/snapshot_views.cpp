#include "snapshot/qt/snapshot_views.h"

#include "dialogs/sub_form_ids.h"
#include "snapshot/qt/snapshot_window_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> snapshotDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {tool_window::kSnapshot, &makeView<SnapshotWindowView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
