#include "line_monitor/qt/line_monitor_views.h"

#include "dialogs/sub_form_ids.h"
#include "line_monitor/qt/line_monitor_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> lineMonitorDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {tool_window::kLineMonitor, &makeView<LineMonitorView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
