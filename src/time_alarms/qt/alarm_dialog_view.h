#pragma once

#include <array>

#include "dialogs/qt/dialog_view.h"
#include "time_alarms/alarm_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace rtceval::qt {

// Draws an alarm editor: one column of fields, year at the top and second at the bottom, each
// row its enable box, its text box and its unit (the year has no enable box); to their right the
// 12-hour tick, AM above PM, and the read button above the set button. Every edit and click goes
// to the editor's model as an event of the main window.
class AlarmDialogView : public DialogViewOf<AlarmDialog> {
 public:
  AlarmDialogView(DialogHost& host, QWidget* owner, const AlarmDialog::Alarm& alarm);

  void redraw() override;

 private:
  struct Row {
    QCheckBox* enable = nullptr;
    QLineEdit* box = nullptr;
  };

  QLineEdit* yearBox_ = nullptr;
  std::array<Row, AlarmDialog::FieldCount> rows_{};
  QCheckBox* twelveHour_ = nullptr;
  QRadioButton* am_ = nullptr;
  QRadioButton* pm_ = nullptr;
  QPushButton* readButton_ = nullptr;
  QPushButton* setButton_ = nullptr;
};

// frmAlm1, "设置报警 0".
class Alarm0DialogView final : public AlarmDialogView {
 public:
  using ModelType = Alarm0Dialog;
  Alarm0DialogView(DialogHost& host, QWidget* owner)
      : AlarmDialogView(host, owner, AlarmDialog::kAlarm0) {}
};

// frmAlm2, "设置报警 1".
class Alarm1DialogView final : public AlarmDialogView {
 public:
  using ModelType = Alarm1Dialog;
  Alarm1DialogView(DialogHost& host, QWidget* owner)
      : AlarmDialogView(host, owner, AlarmDialog::kAlarm1) {}
};

}  // namespace rtceval::qt
