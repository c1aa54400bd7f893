#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "board_link/requests.h"
#include "core/cmd_state.h"
#include "core/time_record.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

class BoardLink;
class MessageBoxes;
class WriteSequencer;
struct ChipReads;
struct DeviceProfile;
struct DialogContext;

// The alarm editors frmAlm1 (alarm 0) and frmAlm2 (alarm 1). Each reads its alarm when it opens
// and on 读取, shows every match field with its enable box, and on 设置 checks the fields,
// converts them into the alarm record and hands the write to the write sequencer, which unlocks
// the chip first. It stays open for the next edit. The hour format is the chip's (`Is24Hour`),
// never the dialog's 12-hour tick.
class AlarmDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kYear = "年";
    static constexpr const char* kMonth = "月";
    static constexpr const char* kDate = "日";
    static constexpr const char* kWeekday = "星期";
    static constexpr const char* kHour = "时";
    static constexpr const char* kMinute = "分";
    static constexpr const char* kSecond = "秒";
    static constexpr const char* kEnabled = "有效";
    static constexpr const char* kTwelveHour = "12小时制";
    static constexpr const char* kAm = "AM";
    static constexpr const char* kPm = "PM";
  };

  // What tells the two editors apart.
  struct Alarm {
    bool isAlarm0;
    const char* formName;  // frmAlm1, frmAlm2
    const char* caption;
    const char* readCaption;  // Command1, its blanks differ between the two
    const char* setCaption;   // Command2
    CmdStateCode readState;
    WriteJob writeJob;
    TimeRecord TimeAlarmRecords::*record;
  };
  static const Alarm kAlarm0;
  static const Alarm kAlarm1;

  // The six match fields in the order of their boxes, top to bottom (Check2/Text2 … Check7/Text7);
  // the weekday comes before the hour, as the fields are checked.
  enum Field : std::size_t { Month, Date, Weekday, Hour, Minute, Second, FieldCount };

  // A match field: its text box, and its enable box, which the text box's enabled state follows.
  struct MatchField {
    std::string text;
    bool enabled = true;
  };

  AlarmDialog(DialogContext& context, const Alarm& alarm);

  void Form_Load() override;
  void replyArrived(const ReplyNote& reply) override;

  // The enable box of a field ticked or unticked.
  void enableClicked(Field field, bool checked);
  // MIL12 only shows the chip's format: a click changes its tick and nothing else.
  void twelveHourClicked(bool checked);
  void amClicked();
  void pmClicked();
  // Command1 读取 and Command2 设置.
  void readClicked();
  void setClicked();

  const Alarm& alarm() const { return alarm_; }

  std::string yearText = "2004";  // Text1, no enable box
  bool yearEnabled = true;
  std::array<MatchField, FieldCount> fields{{{"5"}, {"25"}, {"2"}, {"11"}, {"00"}, {"05"}}};

  bool twelveHour = false;        // MIL12 ticked
  bool twelveHourEnabled = true;  // MIL12 can be clicked
  bool meridiemEnabled = false;   // OpAM and OpPM can be chosen
  bool pm = false;                // OpPM selected (else OpAM)

 private:
  // Checks and converts all fields into the record; false after showing the first failing
  // field's message.
  bool convert();
  // Shows the alarm just read and takes its flag bits out of the record.
  void fill();
  bool hasNoYear() const;

  const Alarm& alarm_;
  BoardLink& link_;
  WriteSequencer& sequencer_;
  MessageBoxes& messageBoxes_;
  const DeviceProfile& profile_;
  const ChipReads& reads_;
  TimeRecord& record_;
};

// Alarm 0, sub-form 4, "设置报警 0".
class Alarm0Dialog final : public AlarmDialog {
 public:
  explicit Alarm0Dialog(DialogContext& context) : AlarmDialog(context, kAlarm0) {}
};

// Alarm 1, sub-form 5, "设置报警 1"; the X1208 and X1209 have none.
class Alarm1Dialog final : public AlarmDialog {
 public:
  explicit Alarm1Dialog(DialogContext& context) : AlarmDialog(context, kAlarm1) {}
};

}  // namespace rtceval
