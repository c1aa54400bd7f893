#include "time_alarms/qt/time_alarm_views.h"

#include "time_alarms/qt/alarm_dialog_view.h"
#include "time_alarms/qt/set_time_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> timeAlarmDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<SetTimeDialogView>(),
      viewRow<Alarm0DialogView>(),
      viewRow<Alarm1DialogView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
