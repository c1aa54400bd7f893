#include "line_monitor/line_monitor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "line_monitor/line_monitor.h"

namespace rtceval {

std::span<const DialogRow> lineMonitorDialogs() {
  static constexpr DialogRow kRows[] = {
      {tool_window::kLineMonitor, &makeDialog<LineMonitor>},
  };
  return kRows;
}

}  // namespace rtceval
