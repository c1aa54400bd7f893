#pragma once

#include <array>

#include "board_link/connect_dialog.h"
#include "platform/qt/sub_form_view.h"

class QButtonGroup;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace rtceval::qt {

// Draws the port dialog frmComm: the four port options with the device behind each as a
// tooltip, the connect button and the progress of a connection attempt. The user's clicks go to
// the main window's handlers of this dialog.
class ConnectDialogView : public SubFormView {
 public:
  ConnectDialogView(MainWindow& model, QWidget* owner);

  void redraw() override;

 private:
  QButtonGroup* group_ = nullptr;
  std::array<QRadioButton*, ConnectDialog::PORT_COUNT> options_{};
  QPushButton* command1_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace rtceval::qt
