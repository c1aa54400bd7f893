#pragma once

#include <array>
#include <string>

#include "dialogs/qt/dialog_view.h"
#include "time_alarms/set_time_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace rtceval::qt {

// Draws the set-time dialog frmTime: the date and weekday boxes in one row, the time of day
// boxes below them, the 12-hour tick with the AM and PM options, and the OK button. Every edit
// and click goes to the dialog's model as an event of the main window; the boxes show the
// model's texts.
class SetTimeDialogView : public DialogViewOf<SetTimeDialog> {
 public:
  SetTimeDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  struct Field {
    QLineEdit* box;
    std::string SetTimeDialog::*text;
  };

  void addField(int number, std::string SetTimeDialog::*text);

  std::array<Field, 7> fields_{};
  QCheckBox* twelveHour_ = nullptr;
  QRadioButton* am_ = nullptr;
  QRadioButton* pm_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace rtceval::qt
