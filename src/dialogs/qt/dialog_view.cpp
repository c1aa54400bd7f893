#include "dialogs/qt/dialog_view.h"

namespace rtceval::qt {

DialogView::DialogView(DialogHost& host, QWidget* owner) : QDialog(owner), host_(host) {
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void DialogView::reject() {
  const bool byUser = !detached_;
  detached_ = true;
  // The model closes its dialog; the main window's redraw then removes this view.
  if (byUser) host_.closedByUser();
  QDialog::reject();
}

const DialogViewRow* findDialogViewRow(std::span<const DialogViewRow> table,
                                       const DialogModel& model) {
  for (const DialogViewRow& row : table)
    if (row.shows(model)) return &row;
  return nullptr;
}

}  // namespace rtceval::qt
