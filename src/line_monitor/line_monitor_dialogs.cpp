#include "line_monitor/line_monitor_dialogs.h"

#include "line_monitor/line_monitor.h"

namespace rtceval {

std::span<const DialogRow> lineMonitorDialogs() {
  static constexpr DialogRow kRows[] = {
      {.number = tool_window::kLineMonitor,
       .form = "LineMonitor",
       .kind = WindowKind::Tool,
       .menu = WindowMenu::Tools,
       .place = 0,
       .item = "LINEMONITOR",
       .caption = "通信监视",
       .make = &makeDialog<LineMonitor>},
  };
  return kRows;
}

}  // namespace rtceval
