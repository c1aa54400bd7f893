#include "time_alarms/qt/time_alarm_views.h"

#include "dialogs/sub_form_ids.h"
#include "time_alarms/qt/alarm_dialog_view.h"
#include "time_alarms/qt/set_time_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> timeAlarmDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmTime, &makeView<SetTimeDialogView>},
      {sub_form::frmAlm1, &makeView<Alarm0DialogView>},
      {sub_form::frmAlm2, &makeView<Alarm1DialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
