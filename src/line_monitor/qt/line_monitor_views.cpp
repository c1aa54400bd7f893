#include "line_monitor/qt/line_monitor_views.h"

#include "line_monitor/qt/line_monitor_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> lineMonitorDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<LineMonitorView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
