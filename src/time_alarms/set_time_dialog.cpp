#include "time_alarms/set_time_dialog.h"

#include <array>
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
  FieldBounds bounds;
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
  // leaves the earlier fields converted.
  const std::array<FieldBounds, 6> bounds = setTimeBounds(twelveHour);
  const FieldRule rules[] = {
      {&SetTimeDialog::yearText, {kFirstYear, kLastYear, kInvalidYear}},
      {&SetTimeDialog::monthText, bounds[SetMonth]},
      {&SetTimeDialog::dateText, bounds[SetDate]},
      {&SetTimeDialog::hourText, bounds[SetHour]},
      {&SetTimeDialog::minuteText, bounds[SetMinute]},
      {&SetTimeDialog::secondText, bounds[SetSecond]},
      {&SetTimeDialog::weekdayText, bounds[SetWeekday]},
  };
  std::uint8_t* const bytes[] = {nullptr,          &newTime_.month,  &newTime_.date,
                                 &newTime_.hour,   &newTime_.minute, &newTime_.second,
                                 &newTime_.weekday};
  for (std::size_t i = 0; i < std::size(rules); ++i) {
    const FieldRule& rule = rules[i];
    const std::string& text = this->*rule.text;
    const bool isYear = bytes[i] == nullptr;
    const std::optional<int> value =
        isYear ? readYear(text) : readByteField(text, rule.bounds.low, rule.bounds.high);
    if (!value) {
      messageBoxes_.message(rule.bounds.message);
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
