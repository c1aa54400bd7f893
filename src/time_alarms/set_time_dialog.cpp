#include "time_alarms/set_time_dialog.h"

#include <optional>

#include "board_link/write_sequencer.h"
#include "core/cmd_state.h"
#include "core/time_record.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"
#include "time_alarms/time_fields.h"

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
      messageBoxes_(context.messageBoxes),
      close_(context.close) {}

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
      {&SetTimeDialog::yearText, kFirstYear, kLastYear, "无效的年份"},
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
    const std::string& text = this->*rule.text;
    const bool isYear = bytes[i] == nullptr;
    const std::optional<int> value =
        isYear ? readYear(text) : readByteField(text, rule.low, rule.high);
    if (!value) {
      messageBoxes_.message(rule.message);
      return false;
    }
    if (isYear)
      newTime_.year = BcdYear(*value);
    else
      *bytes[i] = BcdByte(*value);
  }
  if (!twelveHour)
    newTime_.hour |= kHour24;
  else if (pm)
    newTime_.hour |= kHourPm;
  return true;
}

void SetTimeDialog::okClicked() {
  if (!convert()) return;
  sequencer_.start(WriteJob::Kind::Time);
  if (close_) close_();
}

}  // namespace rtceval
