#include "main_window/qt/dialog_view_table.h"

#include <vector>

#include "accuracy/qt/accuracy_views.h"
#include "connection/qt/connection_views.h"
#include "docs_help/qt/docs_help_views.h"
#include "line_monitor/qt/line_monitor_views.h"
#include "register_editors/qt/register_editor_views.h"
#include "snapshot/qt/snapshot_views.h"
#include "time_alarms/qt/time_alarm_views.h"

namespace rtceval::qt {

std::span<const DialogViewRow> allDialogViews() {
  static const std::vector<DialogViewRow> kAll = [] {
    std::vector<DialogViewRow> all;
    for (const auto list : {connectionDialogViews(), timeAlarmDialogViews(),
                            registerEditorDialogViews(), docsHelpDialogViews(),
                            snapshotDialogViews(), lineMonitorDialogViews(), accuracyDialogViews()})
      all.insert(all.end(), list.begin(), list.end());
    return all;
  }();
  return kAll;
}

}  // namespace rtceval::qt
