#pragma once

#include <array>

#include "dialogs/qt/dialog_view.h"
#include "register_editors/analog_trim_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace rtceval::qt {

// Draws the analog trimming dialog frmATR: the six ATR boxes stacked with BMATR1 and BMATR0
// below them, and beside them the explanation, the capacitance box and the OK button. Every
// click goes to the dialog's model as an event of the main window.
class AnalogTrimDialogView : public DialogViewOf<AnalogTrimDialog> {
 public:
  AnalogTrimDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  std::array<QCheckBox*, AnalogTrimDialog::kAtrBoxes> atrBoxes_{};
  QCheckBox* bmatr1Box_ = nullptr;
  QCheckBox* bmatr0Box_ = nullptr;
  QLineEdit* valueBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace rtceval::qt
