#pragma once

#include <array>

#include "dialogs/qt/dialog_view.h"
#include "register_editors/user_registers_dialog.h"

class QLineEdit;
class QPushButton;

namespace rtceval::qt {

// Draws the user-register dialog frmUR: the two register boxes under their labels, "读" and
// "写", and the explanation. What the user types and clicks goes to the dialog's model as an
// event of the main window; the boxes show the bytes read.
class UserRegistersDialogView : public DialogViewOf<UserRegistersDialog> {
 public:
  UserRegistersDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  std::array<QLineEdit*, 2> registerBoxes_{};
  QPushButton* readButton_ = nullptr;
  QPushButton* writeButton_ = nullptr;
};

}  // namespace rtceval::qt
