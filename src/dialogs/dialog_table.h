#pragma once

#include <memory>
#include <span>

#include "dialogs/dialog_model.h"

namespace rtceval {

struct DialogContext;

// One row of the dialog table: the sub-form number Load_Sub_Form is given and how the dialog is
// made. Each folder of dialogs lists its rows beside the dialogs; the main window's table joins
// the lists.
struct DialogRow {
  int number;
  std::unique_ptr<DialogModel> (*make)(DialogContext& context);
};

// The factory of a dialog whose constructor takes the context.
template <class Dialog>
std::unique_ptr<DialogModel> makeDialog(DialogContext& context) {
  return std::make_unique<Dialog>(context);
}

// The row for `number` in `table`, or nullptr.
const DialogRow* findDialogRow(std::span<const DialogRow> table, int number);

}  // namespace rtceval
