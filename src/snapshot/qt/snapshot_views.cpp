#include "snapshot/qt/snapshot_views.h"

#include "snapshot/qt/snapshot_window_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> snapshotDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<SnapshotWindowView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
