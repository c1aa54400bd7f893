#pragma once

#include "dialogs/qt/dialog_view.h"
#include "register_editors/memory_dialog.h"

class QLineEdit;
class QPushButton;

namespace rtceval::qt {

// Draws the EEPROM dialog frmMem: the address and data boxes with their labels, "读" and "写",
// and the explanation below. What the user types and clicks goes to the dialog's model as an
// event of the main window; the data box shows a byte read.
class MemoryDialogView : public DialogViewOf<MemoryDialog> {
 public:
  MemoryDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  QLineEdit* addressBox_ = nullptr;
  QLineEdit* dataBox_ = nullptr;
  QPushButton* readButton_ = nullptr;
  QPushButton* writeButton_ = nullptr;
};

}  // namespace rtceval::qt
