#pragma once

#include <array>

#include "dialogs/qt/dialog_view.h"
#include "register_editors/control_panel.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace rtceval::qt {

// Draws the control/status panel frmCON: six framed rows, each with its title on the left, the
// bit caption over eight boxes (bit 7 on the left) and the read button above the write button on
// the right. Typed texts and clicks go to the panel's model; the boxes show the model's texts.
class ControlPanelView : public DialogViewOf<ControlPanel> {
 public:
  ControlPanelView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  struct RowWidgets {
    QLabel* title = nullptr;
    QLabel* caption = nullptr;
    std::array<QLineEdit*, ControlPanel::kBits> boxes{};
    QPushButton* read = nullptr;
    QPushButton* write = nullptr;
  };

  QWidget* buildRow(ControlPanel::Row row, int boxPitch);

  std::array<RowWidgets, ControlPanel::kRows> rows_{};
};

}  // namespace rtceval::qt
