#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

#include "platform/message_boxes.h"

class QMessageBox;

namespace rtceval::qt {

// Modal message boxes over QMessageBox. A box stands over the program's window the user is working
// in when it is raised (a dialog, or a box already open), so that it appears where the user looks;
// when none of the program's windows is active, over the main window once it is known.
class QtMessageBoxes : public MessageBoxes {
 public:
  void setParentWindow(QWidget* window) { parent_ = window; }

  void message(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;
  void beep() override;

  // The program is ending: closes every open box as the Escape key would (a question is answered
  // No), innermost first, and from now on answers every new box the same way without showing it.
  void dismissAll();
  // How many boxes are open, nested in one another.
  int openBoxes() const { return static_cast<int>(open_.size()); }

 private:
  // The window a new box stands over.
  QWidget* owner() const;
  // Shows `box` until it is closed and frees it; `escapeCode` is what dismissAll closes it with,
  // and the answer when the box went with its window meanwhile.
  int run(QMessageBox* box, int escapeCode);

  struct OpenBox {
    QPointer<QMessageBox> box;
    int escapeCode;
  };
  QPointer<QWidget> parent_;
  std::vector<OpenBox> open_;
  bool ending_ = false;
};

}  // namespace rtceval::qt
