#include "time_alarms/time_alarm_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "time_alarms/alarm_dialog.h"
#include "time_alarms/set_time_dialog.h"

namespace rtceval {

std::span<const DialogRow> timeAlarmDialogs() {
  static constexpr DialogRow kRows[] = {
      {sub_form::frmTime, &makeDialog<SetTimeDialog>},
      {sub_form::frmAlm1, &makeDialog<Alarm0Dialog>},
      {sub_form::frmAlm2, &makeDialog<Alarm1Dialog>},
  };
  return kRows;
}

}  // namespace rtceval
