#include "time_alarms/set_time_dialog.h"

#include "board_link/cmd_state.h"
#include "board_link/value_codecs.h"
#include "main_window/sub_forms.h"
#include "main_window/write_sequencer.h"
#include "platform/dialogs.h"
#include "time_alarms/lenient_number.h"
#include "time_alarms/time_record.h"

namespace rtceval {
namespace {

constexpr std::uint8_t HOUR_24 = 0x80;
constexpr std::uint8_t HOUR_PM = 0x20;

struct FieldRule {
  std::string SetTimeDialog::*text;
  double low;
  double high;
  const char* message;
};

}  // namespace

SetTimeDialog::SetTimeDialog(TimeRecord& newTime, WriteSequencer& sequencer, Dialogs& dialogs,
                             std::function<void()> close)
    : newTime_(newTime), sequencer_(sequencer), dialogs_(dialogs), close_(std::move(close)) {}

int SetTimeDialog::number() const {
  return SubForm::frmTime;
}

void SetTimeDialog::Form_Load() {
  MIL12 = false;
  OptionsEnabled = false;
}

void SetTimeDialog::MIL12_Click(bool checked) {
  MIL12 = checked;
  OptionsEnabled = checked;
}

void SetTimeDialog::OpAM_Click() {
  if (OptionsEnabled) PM = false;
}

void SetTimeDialog::OpPM_Click() {
  if (OptionsEnabled) PM = true;
}

bool SetTimeDialog::convert() {
  // Fields in the order they are checked; each is stored as soon as it passes, so a later failure
  // leaves the earlier fields converted.
  const FieldRule rules[] = {
      {&SetTimeDialog::Text1, 1900, 2100, "无效的年份"},
      {&SetTimeDialog::Text2, 0, 12, "无效的月份"},
      {&SetTimeDialog::Text3, 0, 31, "无效的日期"},
      {&SetTimeDialog::Text4, 0, 23, "无效的小时"},
      {&SetTimeDialog::Text5, 0, 59, "无效的分钟"},
      {&SetTimeDialog::Text6, 0, 59, "无效的秒"},
      {&SetTimeDialog::Text7, 0, 6, "无效的星期"},
  };
  std::uint8_t* const bytes[] = {nullptr,          &newTime_.month,  &newTime_.date,
                                 &newTime_.hour,   &newTime_.minute, &newTime_.second,
                                 &newTime_.weekday};
  for (std::size_t i = 0; i < std::size(rules); ++i) {
    const FieldRule& rule = rules[i];
    // The year is checked as typed (1899.9 and 2100.4 fail); the byte fields are checked once
    // rounded to the byte they become (12.4 is month 12, 12.6 would be month 13).
    const double typed = LenientNumber(this->*rule.text);
    const bool isYear = bytes[i] == nullptr;
    const double value = isYear ? typed : RoundHalfEven(typed);
    if (!(value >= rule.low && value <= rule.high)) {
      dialogs_.message(rule.message);
      return false;
    }
    const int whole = static_cast<int>(RoundHalfEven(typed));
    if (isYear)
      newTime_.year = BcdYear(whole);
    else
      *bytes[i] = BcdByte(whole);
  }
  if (!MIL12)
    newTime_.hour |= HOUR_24;
  else if (PM)
    newTime_.hour |= HOUR_PM;
  return true;
}

void SetTimeDialog::Command1_Click() {
  if (!convert()) return;
  sequencer_.Start(StWriteTime);
  if (close_) close_();
}

}  // namespace rtceval
