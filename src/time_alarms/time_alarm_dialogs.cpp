#include "time_alarms/time_alarm_dialogs.h"

#include "time_alarms/alarm_dialog.h"
#include "time_alarms/set_time_dialog.h"

namespace rtceval {

std::span<const DialogRow> timeAlarmDialogs() {
  static constexpr DialogRow kRows[] = {
      {.number = 1,
       .form = "frmTime",
       .menu = WindowMenu::Command,
       .place = 2,
       .item = "SETTIME",
       .caption = "设置时间",
       .needsModel = true,
       .make = &makeDialog<SetTimeDialog>},
      {.number = 4,
       .form = "frmAlm1",
       .menu = WindowMenu::Function,
       .place = 1,
       .item = "ALARM1",
       .caption = "报警 0",
       .offeredBy = &DeviceProfile::HasAlarm0,
       .make = &makeDialog<Alarm0Dialog>},
      {.number = 5,
       .form = "frmAlm2",
       .menu = WindowMenu::Function,
       .place = 2,
       .item = "ALARM2",
       .caption = "报警 1",
       .offeredBy = &DeviceProfile::HasAlarm1,
       .make = &makeDialog<Alarm1Dialog>},
  };
  return kRows;
}

}  // namespace rtceval
