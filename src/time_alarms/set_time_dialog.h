#pragma once

#include <functional>
#include <string>

#include "main_window/sub_form_model.h"

namespace rtceval {

class Dialogs;
class WriteSequencer;
struct TimeRecord;

// The set-time dialog frmTime: the user types date, time and weekday; OK checks each field in a
// fixed order, converts it to the chip's BCD image in NewTime and hands the write to the write
// sequencer, which unlocks the chip first. It opens with the same defaults every time and reads
// nothing from the chip.
class SetTimeDialog : public SubFormModel {
 public:
  struct Texts {
    static constexpr const char* Caption = "设置时间";
    static constexpr const char* Year = "年";
    static constexpr const char* Month = "月";
    static constexpr const char* Date = "日";
    static constexpr const char* Weekday = "星期";
    static constexpr const char* Hour = "时";
    static constexpr const char* Minute = "分";
    static constexpr const char* Second = "秒";
    static constexpr const char* MIL12 = "12小时制";
    static constexpr const char* OpAM = "AM";
    static constexpr const char* OpPM = "PM";
    static constexpr const char* Command1 = "确     定";
  };

  // `close` is called when a successful OK unloads the dialog.
  SetTimeDialog(TimeRecord& newTime, WriteSequencer& sequencer, Dialogs& dialogs,
                std::function<void()> close);

  int number() const override;
  void Form_Load();
  void MIL12_Click(bool checked);
  void OpAM_Click();
  void OpPM_Click();
  void Command1_Click();

  // The text boxes: Text1 year, Text2 month, Text3 date, Text4 hour, Text5 minute, Text6 second,
  // Text7 weekday.
  std::string Text1 = "2004";
  std::string Text2 = "5";
  std::string Text3 = "25";
  std::string Text4 = "11";
  std::string Text5 = "59";
  std::string Text6 = "59";
  std::string Text7 = "2";

  bool MIL12 = false;
  bool OptionsEnabled = false;  // OpAM and OpPM
  bool PM = false;              // OpPM selected (else OpAM)

 private:
  // Checks and converts all fields; false after showing the first failing field's message.
  bool convert();

  TimeRecord& newTime_;
  WriteSequencer& sequencer_;
  Dialogs& dialogs_;
  std::function<void()> close_;
};

}  // namespace rtceval
