#pragma once

#include <functional>

#include <QDialog>

namespace rtceval {
class MainWindow;
}

namespace rtceval::qt {

// A dialog the main window opens: modeless, owned by the main window and kept above it. It reads
// its model through the main window, which owns it, and redraws whenever the main window does.
// Once the model has closed the dialog (detach) nothing more goes to the model; closing it by
// the title bar's button or the Escape key tells the main window.
class SubFormView : public QDialog {
 public:
  SubFormView(MainWindow& model, QWidget* owner);

  virtual void redraw() = 0;
  // The model has closed this dialog: nothing more goes to it.
  void detach() { detached_ = true; }

  void reject() override;

 protected:
  bool detached() const { return detached_; }
  // Runs `handler` as an event of the main window, unless the model has closed this dialog.
  void runEvent(const std::function<void()>& handler);

  MainWindow& model_;

 private:
  bool detached_ = false;
};

}  // namespace rtceval::qt
