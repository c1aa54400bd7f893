#include "platform/qt/sub_form_view.h"

#include "main_window/main_window.h"

namespace rtceval::qt {

SubFormView::SubFormView(MainWindow& model, QWidget* owner) : QDialog(owner), model_(model) {
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void SubFormView::runEvent(const std::function<void()>& handler) {
  if (!detached_) model_.RunEvent(handler);
}

void SubFormView::reject() {
  const bool byUser = !detached_;
  detached_ = true;
  // The model closes its dialog; the main window's redraw then removes this view.
  if (byUser) model_.SubForm_Closed();
  QDialog::reject();
}

}  // namespace rtceval::qt
