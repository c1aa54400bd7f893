#pragma once

#include <functional>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class MessageBoxes;
class WriteSequencer;
struct DialogContext;
struct TimeRecord;

// The set-time dialog frmTime: the user types date, time and weekday; OK checks each field in a
// fixed order, converts it to the chip's BCD image in NewTime and hands the write to the write
// sequencer, which unlocks the chip first. It opens with the same defaults every time and reads
// nothing from the chip.
class SetTimeDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "设置时间";
    static constexpr const char* kYear = "年";
    static constexpr const char* kMonth = "月";
    static constexpr const char* kDate = "日";
    static constexpr const char* kWeekday = "星期";
    static constexpr const char* kHour = "时";
    static constexpr const char* kMinute = "分";
    static constexpr const char* kSecond = "秒";
    static constexpr const char* kTwelveHour = "12小时制";
    static constexpr const char* kAm = "AM";
    static constexpr const char* kPm = "PM";
    static constexpr const char* kOk = "确     定";
  };

  explicit SetTimeDialog(DialogContext& context);

  void Form_Load() override;
  // The 12-hour tick MIL12 and the options OpAM and OpPM.
  void twelveHourClicked(bool checked);
  void amClicked();
  void pmClicked();
  // The OK button Command1.
  void okClicked();

  // The text boxes, Text1 to Text7 on the form.
  std::string yearText = "2004";
  std::string monthText = "5";
  std::string dateText = "25";
  std::string hourText = "11";
  std::string minuteText = "59";
  std::string secondText = "59";
  std::string weekdayText = "2";

  bool twelveHour = false;
  bool meridiemEnabled = false;  // OpAM and OpPM can be chosen
  bool pm = false;               // OpPM selected (else OpAM)

 private:
  // Checks and converts all fields; false after showing the first failing field's message.
  bool convert();

  TimeRecord& newTime_;
  WriteSequencer& sequencer_;
  MessageBoxes& messageBoxes_;
  std::function<void()> close_;
};

}  // namespace rtceval
