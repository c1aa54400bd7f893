#include "time_alarms/qt/time_alarm_views.h"

#include "dialogs/sub_form_ids.h"
#include "time_alarms/qt/set_time_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> timeAlarmDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmTime, &makeView<SetTimeDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
