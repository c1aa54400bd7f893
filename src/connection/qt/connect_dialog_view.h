#pragma once

#include <array>

#include "connection/connect_dialog.h"
#include "dialogs/qt/dialog_view.h"

class QButtonGroup;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace rtceval::qt {

// Draws the port dialog frmComm: the four port options with the device behind each as a
// tooltip, the connect button and the progress of a connection attempt. The user's clicks go to
// the dialog's model.
class ConnectDialogView : public DialogViewOf<ConnectDialog> {
 public:
  ConnectDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  QButtonGroup* group_ = nullptr;
  std::array<QRadioButton*, kPortCount> options_{};
  QPushButton* connectButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace rtceval::qt
