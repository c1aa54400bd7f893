#include "time_alarms/alarm_dialog.h"

#include <cstdint>
#include <optional>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/register_map.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"
#include "time_alarms/time_fields.h"

namespace rtceval {
namespace {

// Bit 7 of each match register says whether the field takes part in the comparison.
constexpr std::uint8_t kEnable = 0x80;

// Each match field's byte in the record and the mask that takes the flag bits off a byte read
// from the chip, in the order of `kAlarmBounds`.
struct FieldRule {
  std::uint8_t TimeRecord::*byte;
  std::uint8_t valueMask;
};

constexpr FieldRule kRules[AlarmDialog::FieldCount] = {
    {&TimeRecord::month, 0x1F},   {&TimeRecord::date, 0x3F},
    {&TimeRecord::weekday, 0x07}, {&TimeRecord::hour, 0x3F},  // 0x1F in the 12-hour format
    {&TimeRecord::minute, 0x7F},  {&TimeRecord::second, 0x7F},
};
static_assert(AlarmDialog::FieldCount == kAlarmBounds.size());
constexpr std::uint8_t kHour12Mask = 0x1F;
constexpr std::uint16_t kYearMask = 0x3FFF;

std::optional<RegisterBlock> alarmBlock(bool isAlarm0, Layout layout) {
  if (isAlarm0) return alarm0Block(layout);
  return alarm1Block(layout);
}

}  // namespace

const AlarmDialog::Alarm AlarmDialog::kAlarm0{
    .isAlarm0 = true,
    .formName = "frmAlm1",
    .caption = "设置报警 0",
    .readCaption = "读    取",
    .setCaption = "设    置",
    .readState = StReadAL0,
    .writeJob = WriteJob::Kind::Alarm0,
    .record = &TimeAlarmRecords::Alarm0Regs,
};
const AlarmDialog::Alarm AlarmDialog::kAlarm1{
    .isAlarm0 = false,
    .formName = "frmAlm2",
    .caption = "设置报警 1",
    .readCaption = "读      取",
    .setCaption = "设     置",
    .readState = StReadAL1,
    .writeJob = WriteJob::Kind::Alarm1,
    .record = &TimeAlarmRecords::Alarm1Regs,
};

AlarmDialog::AlarmDialog(DialogContext& context, const Alarm& alarm)
    : alarm_(alarm),
      link_(context.link),
      sequencer_(context.sequencer),
      messageBoxes_(context.messageBoxes),
      profile_(context.profile),
      reads_(context.reads),
      record_(context.records.*alarm.record) {}

bool AlarmDialog::hasNoYear() const {
  return alarm_.isAlarm0 && profile_.Is1208Family;
}

void AlarmDialog::Form_Load() {
  readClicked();
  twelveHour = !reads_.time.is24Hour;
  if (hasNoYear()) yearEnabled = false;
  meridiemEnabled = twelveHour;
}

void AlarmDialog::enableClicked(Field field, bool checked) {
  if (field < FieldCount) fields[field].enabled = checked;
}

void AlarmDialog::twelveHourClicked(bool checked) {
  if (twelveHourEnabled) twelveHour = checked;
}

void AlarmDialog::amClicked() {
  if (meridiemEnabled) pm = false;
}

void AlarmDialog::pmClicked() {
  if (meridiemEnabled) pm = true;
}

void AlarmDialog::readClicked() {
  // A chip picked meanwhile that has no such alarm (alarm 1 on an X1208 or X1209) is not asked.
  const auto request =
      requests::readAlarm(layoutOf(profile_.Is1208Family), alarm_.isAlarm0 ? 0 : 1);
  if (request) link_.request(*request);
}

bool AlarmDialog::convert() {
  // Every field is checked, enabled or not, and the year even where the alarm keeps none. Each is
  // stored as soon as it passes, so a later failure leaves the earlier fields converted; nothing
  // is sent then, and the next successful set rewrites them all.
  const std::optional<int> year = readYear(yearText);
  if (!year) {
    messageBoxes_.message(kInvalidYear);
    return false;
  }
  record_.year = BcdYear(*year);
  for (std::size_t i = 0; i < FieldCount; ++i) {
    const FieldBounds& bounds = kAlarmBounds[i];
    const std::optional<int> value = readByteField(fields[i].text, bounds.low, bounds.high);
    if (!value) {
      messageBoxes_.message(bounds.message);
      return false;
    }
    record_.*kRules[i].byte = BcdByte(*value);
  }
  for (std::size_t i = 0; i < FieldCount; ++i)
    if (fields[i].enabled) record_.*kRules[i].byte |= kEnable;
  if (!reads_.time.is24Hour && pm) record_.hour |= kHourPm;
  return true;
}

void AlarmDialog::setClicked() {
  if (!convert()) return;
  if (!alarmBlock(alarm_.isAlarm0, layoutOf(profile_.Is1208Family))) return;
  sequencer_.start(alarm_.writeJob);
}

void AlarmDialog::replyArrived(const ReplyNote& reply) {
  if (reply.request == alarm_.readState && reply.accepted) fill();
}

void AlarmDialog::fill() {
  const bool is24Hour = reads_.time.is24Hour;
  // The X1208 family's alarm keeps no year: the record takes the year of the chip's clock, which
  // is neither shown nor sent.
  if (hasNoYear()) record_.year = reads_.time.time.year;

  if (is24Hour) {
    twelveHour = false;
    twelveHourEnabled = false;
    meridiemEnabled = false;
  } else {
    // Bit 5 of the alarm hour is PM in the 12-hour format, the tens of the hour in the 24-hour.
    twelveHour = true;
    pm = (record_.hour & kHourPm) != 0;
  }

  for (std::size_t i = 0; i < FieldCount; ++i) {
    const FieldRule& rule = kRules[i];
    std::uint8_t& byte = record_.*rule.byte;
    fields[i].enabled = (byte & kEnable) != 0;
    const std::uint8_t mask = (i == Hour && !is24Hour) ? kHour12Mask : rule.valueMask;
    byte &= mask;
    fields[i].text = HexByte(byte);
  }
  record_.year &= kYearMask;
  if (!hasNoYear()) yearText = HexByte(record_.yearHigh()) + HexByte(record_.yearLow());
}

}  // namespace rtceval
