#pragma once

#include <array>

#include <QDialog>

#include "board_link/connect_dialog.h"

class QButtonGroup;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace rtceval {
class MainWindow;
}

namespace rtceval::qt {

// Draws the port dialog frmComm, modeless above the main window: the four port options with the
// device behind each as a tooltip, the connect button and the progress of a connection attempt.
// It reads the dialog's model through the main window, which owns it, and sends the user's
// clicks there.
class ConnectDialogView : public QDialog {
 public:
  ConnectDialogView(MainWindow& model, QWidget* owner);

  void redraw();
  // The model has closed this dialog: nothing more goes to it.
  void detach() { detached_ = true; }

  // Closing by the title bar's button or the Escape key.
  void reject() override;

 private:
  MainWindow& model_;
  bool detached_ = false;
  QButtonGroup* group_ = nullptr;
  std::array<QRadioButton*, ConnectDialog::PORT_COUNT> options_{};
  QPushButton* command1_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace rtceval::qt
