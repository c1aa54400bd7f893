#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace rtceval::qt {

// Modal message boxes over QMessageBox, centred on the main window once it is known.
class QtDialogs : public Dialogs {
 public:
  void setParentWindow(QWidget* window) { parent_ = window; }

  void message(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;
  void beep() override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace rtceval::qt
