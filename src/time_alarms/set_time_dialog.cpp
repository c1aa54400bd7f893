#include "time_alarms/set_time_dialog.h"

#include "board_link/write_sequencer.h"
#include "core/cmd_state.h"
#include "core/lenient_number.h"
#include "core/time_record.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "dialogs/sub_form_ids.h"
#include "platform/dialogs.h"

namespace rtceval {
namespace {

struct FieldRule {
  std::string SetTimeDialog::*text;
  double low;
  double high;
  const char* message;
};

}  // namespace

SetTimeDialog::SetTimeDialog(DialogContext& context)
    : newTime_(context.records.NewTime),
      sequencer_(context.sequencer),
      dialogs_(context.dialogs),
      close_(context.close) {}

int SetTimeDialog::number() const {
  return sub_form::frmTime;
}

void SetTimeDialog::Form_Load() {
  twelveHour = false;
  meridiemEnabled = false;
}

void SetTimeDialog::twelveHourClicked(bool checked) {
  twelveHour = checked;
  meridiemEnabled = checked;
}

void SetTimeDialog::amClicked() {
  if (meridiemEnabled) pm = false;
}

void SetTimeDialog::pmClicked() {
  if (meridiemEnabled) pm = true;
}

bool SetTimeDialog::convert() {
  // Fields in the order they are checked; each is stored as soon as it passes, so a later failure
  // leaves the earlier fields converted. A month or date of 0 and, in the 12-hour format, an hour
  // outside 1 to 12 would give the chip a date or hour it cannot hold (in that format bit 5 of the
  // hour is PM, so hour 21 would read back as 1 PM).
  const FieldRule rules[] = {
      {&SetTimeDialog::yearText, 1900, 2100, "无效的年份"},
      {&SetTimeDialog::monthText, 1, 12, "无效的月份"},
      {&SetTimeDialog::dateText, 1, 31, "无效的日期"},
      {&SetTimeDialog::hourText, twelveHour ? 1.0 : 0.0, twelveHour ? 12.0 : 23.0, "无效的小时"},
      {&SetTimeDialog::minuteText, 0, 59, "无效的分钟"},
      {&SetTimeDialog::secondText, 0, 59, "无效的秒"},
      {&SetTimeDialog::weekdayText, 0, 6, "无效的星期"},
  };
  std::uint8_t* const bytes[] = {nullptr,          &newTime_.month,  &newTime_.date,
                                 &newTime_.hour,   &newTime_.minute, &newTime_.second,
                                 &newTime_.weekday};
  for (std::size_t i = 0; i < std::size(rules); ++i) {
    const FieldRule& rule = rules[i];
    // The year is checked as typed (1899.9 and 2100.4 fail); the byte fields are checked once
    // rounded to the byte they become (12.4 is month 12, 12.6 would be month 13).
    const double typed = lenientNumber(this->*rule.text);
    const bool isYear = bytes[i] == nullptr;
    const double value = isYear ? typed : roundHalfEven(typed);
    if (!(value >= rule.low && value <= rule.high)) {
      dialogs_.message(rule.message);
      return false;
    }
    const int whole = static_cast<int>(roundHalfEven(typed));
    if (isYear)
      newTime_.year = BcdYear(whole);
    else
      *bytes[i] = BcdByte(whole);
  }
  if (!twelveHour)
    newTime_.hour |= kHour24;
  else if (pm)
    newTime_.hour |= kHourPm;
  return true;
}

void SetTimeDialog::okClicked() {
  if (!convert()) return;
  sequencer_.start(StWriteTime);
  if (close_) close_();
}

}  // namespace rtceval
