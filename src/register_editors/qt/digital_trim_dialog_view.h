#pragma once

#include "dialogs/qt/dialog_view.h"
#include "register_editors/digital_trim_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace rtceval::qt {

// Draws the digital trimming dialog frmDTR: DTR2, DTR1 and DTR0 stacked, and beside them the
// ppm box between its labels, the explanation and the OK button. Every click and edit goes to
// the dialog's model as an event of the main window.
class DigitalTrimDialogView : public DialogViewOf<DigitalTrimDialog> {
 public:
  DigitalTrimDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  QCheckBox* dtr2Box_ = nullptr;
  QCheckBox* dtr1Box_ = nullptr;
  QCheckBox* dtr0Box_ = nullptr;
  QLineEdit* valueBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace rtceval::qt
