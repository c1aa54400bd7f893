#include "main_window/dialog_table.h"

#include <vector>

#include "accuracy/accuracy_dialogs.h"
#include "connection/connection_dialogs.h"
#include "docs_help/docs_help_dialogs.h"
#include "line_monitor/line_monitor_dialogs.h"
#include "register_editors/register_editor_dialogs.h"
#include "snapshot/snapshot_dialogs.h"
#include "time_alarms/time_alarm_dialogs.h"

namespace rtceval {

std::span<const DialogRow> allDialogs() {
  static const std::vector<DialogRow> kAll = [] {
    std::vector<DialogRow> all;
    for (const auto list :
         {connectionDialogs(), timeAlarmDialogs(), registerEditorDialogs(), docsHelpDialogs(),
          snapshotDialogs(), lineMonitorDialogs(), accuracyDialogs()})
      all.insert(all.end(), list.begin(), list.end());
    return all;
  }();
  return kAll;
}

}  // namespace rtceval
